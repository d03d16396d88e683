// show and convert: load a table as the editor does, print it or save it.
#include "cli/CliSupport.h"
#include "database/Orvane_DBD.h"
#include "platform/Cp1252.h"
#include "platform/Errors.h"
#include "platform/Paths.h"

#include <iostream>
#include <stdexcept>

namespace orvane::cli {

namespace {

const char* kShowUsage =
    "Usage: orvane-cli show INPUT [--template SOURCE] [--decimal SEP]\n"
    "\n"
    "Loads INPUT into the record table as the editor does and prints it as\n"
    "tab-separated UTF-8 lines: the heading row, then one line per record.\n"
    "  INPUT              a .dbd file, or a .pod/.epd archive whose entry\n"
    "                     DATABASE\\<TYPE>.DBD is loaded (TYPE: the archive's name)\n"
    "  --template SOURCE  where DATABASE\\<TYPE>.DBT is read: an archive or a .dbt\n"
    "                     file (default: INPUT when it is an archive)\n"
    "  --decimal SEP      '.' or ',', the decimal separator of D cells\n"
    "                     (default: the locale's)\n";

const char* kConvertUsage =
    "Usage: orvane-cli convert INPUT OUTPUT [--template SOURCE] [--selection] [--decimal SEP]\n"
    "\n"
    "Loads INPUT as 'show' does and writes OUTPUT as the editor saves it.\n"
    "  OUTPUT             a .dbd file\n"
    "  --selection        only the rows whose Export cell is \"1\"\n"
    "  --template, --decimal  as for 'show'\n";

// Loads INPUT into the session as the editor's open commands do.
void LoadInput(SessionState& s, CliInteraction& ui, const TableOptions& o,
               const std::string& input) {
    s.Language = "english";
    s.SimulatorVersion = o.fly1 ? 1 : 2;
    s.Display = SystemDisplayContext();
    if (o.decimal) s.Display.decimalSeparator = *o.decimal;

    const std::string ext = ToUpperAscii(ExtensionOf(input));
    LoadOutcome outcome;
    if (ext == ".DBD") {
        if (o.templateSource.empty())
            throw std::invalid_argument(
                "a .dbd input needs --template SOURCE (an archive or a .dbt file)");
        outcome = OpenDbdFromDisk(s, input, o.templateSource, ui);
    } else if (ext == ".POD" || ext == ".EPD") {
        outcome = OpenDbdFromArchive(s, input, o.templateSource, ui);
    } else {
        throw std::invalid_argument("cannot read " + input +
                                    ": the input must be a .dbd file or a .pod/.epd archive");
    }
    if (!outcome.loaded) {
        if (!ui.errorShown) throw FormatError("no table could be loaded from " + input);
        throw RefusedError("no table loaded from " + input);
    }
}

} // namespace

int RunShow(const Args& args) {
    return Guarded([&] {
        TableOptions o = ParseTableOptions(args, false);
        if (o.help) {
            std::cout << kShowUsage;
            return 0;
        }
        if (o.positional.size() != 1)
            throw std::invalid_argument(std::string("show takes one INPUT\n") + kShowUsage);
        SessionState s;
        CliInteraction ui;
        LoadInput(s, ui, o, o.positional[0]);
        const RecordTable& t = s.Table;
        std::string line;
        for (int r = 0; r < t.RowCount(); ++r) {
            line.clear();
            for (int c = 0; c < t.ColumnCount(); ++c) {
                if (c) line += '\t';
                line += Cp1252ToUtf8(t.Cell(c, r));
            }
            PrintLine(line);
        }
        return 0;
    });
}

int RunConvert(const Args& args) {
    return Guarded([&] {
        TableOptions o = ParseTableOptions(args, true);
        if (o.help) {
            std::cout << kConvertUsage;
            return 0;
        }
        if (o.positional.size() != 2)
            throw std::invalid_argument(std::string("convert takes INPUT and OUTPUT\n") +
                                        kConvertUsage);
        const std::string& output = o.positional[1];
        const std::string ext = ToUpperAscii(ExtensionOf(output));
        if (ext != ".DBD")
            throw std::invalid_argument("cannot write " + output +
                                        ": the output must be a .dbd file");
        SessionState s;
        CliInteraction ui;
        LoadInput(s, ui, o, o.positional[0]);
        SaveDbd(s, output, o.selection);
        return 0;
    });
}

} // namespace orvane::cli
