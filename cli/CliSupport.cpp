#include "cli/CliSupport.h"

#include "platform/BinaryFile.h"
#include "platform/Cp1252.h"
#include "platform/Errors.h"
#include "platform/Paths.h"

#include <cerrno>

#include <iostream>
#include <stdexcept>

namespace orvane::cli {

void CliInteraction::ShowMessage(MessageKind kind, const std::string& text, const std::string&) {
    const char* what = kind == MessageKind::Error     ? "error: "
                       : kind == MessageKind::Warning ? "warning: "
                                                      : "";
    std::string flat = text;
    for (char& c : flat)
        if (c == '\r' || c == '\n') c = ' ';
    std::cerr << "orvane-cli: " << what << flat << '\n';
}

bool CliInteraction::Confirm(const std::string& text) {
    std::string flat = text;
    for (char& c : flat)
        if (c == '\r' || c == '\n') c = ' ';
    std::cerr << "orvane-cli: " << flat << " -> OK\n";
    return true;
}

void CliInteraction::Beep() {
    std::cerr << "orvane-cli: warning: a record could not be converted\n";
}

TableOptions ParseTableOptions(const Args& args, bool allowSelection) {
    TableOptions o;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        auto value = [&](const char* name) {
            if (i + 1 >= args.size())
                throw std::invalid_argument(std::string(name) + " needs a value");
            return args[++i];
        };
        if (a == "--help" || a == "-h") {
            o.help = true;
        } else if (a == "--template") {
            o.templateSource = value("--template");
        } else if (a == "--decimal") {
            std::string sep = value("--decimal");
            if (sep != "." && sep != ",") throw std::invalid_argument("--decimal takes '.' or ','");
            o.decimal = sep[0];
        } else if (a == "--selection" && allowSelection) {
            o.selection = true;
        } else if (a == "--fly1") {
            o.fly1 = true;
        } else if (a.size() > 1 && a[0] == '-' && a[1] == '-') {
            throw std::invalid_argument("unknown option " + a);
        } else {
            o.positional.push_back(a);
        }
    }
    return o;
}

std::string ErrorText(const std::exception& e) {
    return MessageIn(e, Lang::English);
}

int Guarded(const std::function<int()>& body) {
    return Guarded(1, body);
}

int Guarded(int errorStatus, const std::function<int()>& body) {
    try {
        return body();
    } catch (const std::invalid_argument& e) {
        std::cerr << "orvane-cli: " << e.what() << '\n';
    } catch (const std::bad_alloc&) {
        std::cerr << "orvane-cli: error: not enough memory\n";
    } catch (const std::exception& e) {
        std::cerr << "orvane-cli: error: " << ErrorText(e) << '\n';
    }
    return errorStatus;
}

namespace {

// The system's reason for the first write to stdout that failed (0: none yet).
int outputError = 0;

void NoteOutputError() {
    if (!std::cout && outputError == 0) outputError = errno != 0 ? errno : EIO;
}

} // namespace

bool OutputWritten(const std::string& what) {
    errno = 0;
    std::cout.flush();
    NoteOutputError();
    if (std::cout) return true;
    const int error = outputError;
    std::cerr << "orvane-cli: error: cannot write " << what << " to the standard output"
              << ": " << SystemReason(error) << '\n';
    return false;
}

void PrintLine(const std::string& line) {
    errno = 0;
    std::cout << line << '\n';
    NoteOutputError();
}

void PrintBlock(std::string_view block) {
    if (!std::cout) return; // already failed: said at the end
    errno = 0;
    std::cout.write(block.data(), static_cast<std::streamsize>(block.size()));
    NoteOutputError();
}

int NamedColumn(const SessionState& s, const std::string& name) {
    const auto& fields = s.Fields();
    for (int c = kFirstFieldColumn; c < s.Table.ColumnCount(); ++c) {
        const std::size_t f = std::size_t(c - kFirstFieldColumn);
        if (EqualsIgnoreCaseAscii(Cp1252ToUtf8(s.Table.Cell(c, 0)), name) ||
            (f < fields.size() && EqualsIgnoreCaseAscii(fields[f].Name, name)))
            return c;
    }
    throw std::invalid_argument("no column '" + name + "' in the table (see --help)");
}

} // namespace orvane::cli
