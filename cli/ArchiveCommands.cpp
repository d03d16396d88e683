// orvane-cli list / extract: the archive viewer without its window.
#include "cli/CliSupport.h"

#include "database/Archive.h"
#include "database/Extraction.h"
#include "platform/Cp1252.h"
#include "platform/Errors.h"
#include "settings/Texts.h"
#include "table/TableText.h"
#include "table/ValueDisplay.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <exception>
#include <iostream>
#include <set>

namespace orvane::cli {

namespace {

constexpr const char* kListUsage =
    "Usage: orvane-cli list ARCHIVE\n"
    "\n"
    "Lists the entries of an EPD (Fly! 1) or POD (Fly! 2) archive, one line per\n"
    "entry in directory order: NAME<TAB>SIZE<TAB>DATE, the date in UTC as\n"
    "YYYY-MM-DD HH:MM:SS. A tab, line feed, carriage return or NUL in a name is\n"
    "written as \\t, \\n, \\r or \\0 (a backslash as it is).\n";

constexpr const char* kExtractUsage =
    "Usage: orvane-cli extract ARCHIVE DEST [--structure] [NAME ...]\n"
    "\n"
    "Extracts the named entries (every entry when none is named) of an EPD or\n"
    "POD archive into the folder DEST, created when missing. Each file goes to\n"
    "DEST/<file name>; with --structure to DEST/<full entry name>, its folders\n"
    "recreated. Entry names are given as stored, e.g. DATABASE\\AIRPORT.DBT.\n";

int Fail(const std::string& message) {
    std::cerr << "orvane-cli: " << message << '\n';
    return 1;
}

bool WantsHelp(const Args& args) {
    for (const auto& a : args) {
        if (a == "--") return false;
        if (a == "--help" || a == "-h") return true;
    }
    return false;
}

// Opens the archive and reads its directory; throws with a clear text.
void OpenForReading(ArchiveFile& pod, const std::string& path) {
    if (ArchiveKindOf(path) == ArchiveKind::None) throw RefusedError(txt::CliNotArchive, path);
    if (!pod.OpenArchive(path))
        throw FileError(txt::CliCannotOpenArchive, path, std::strerror(errno));
    pod.ReadHeader();
    pod.ReadDirectory();
}

template <class Body> int Guarded(Body body) {
    try {
        return body();
    } catch (const std::bad_alloc&) {
        return Fail("not enough memory");
    } catch (const std::exception& e) {
        return Fail(ErrorText(e));
    }
}

} // namespace

int RunList(const Args& args) {
    if (WantsHelp(args)) {
        std::cout << kListUsage;
        return 0;
    }
    std::vector<std::string> positional;
    bool options = true;
    for (const auto& a : args) {
        if (options && a == "--") {
            options = false;
        } else if (options && a.size() > 1 && a[0] == '-') {
            return Fail("list: unknown option '" + a + "' (see 'orvane-cli list --help')");
        } else {
            positional.push_back(a);
        }
    }
    if (positional.size() != 1)
        return Fail("list: expected one ARCHIVE (see 'orvane-cli list --help')");

    return Guarded([&] {
        ArchiveFile pod;
        OpenForReading(pod, positional[0]);
        std::string out;
        for (const ArchiveEntry& e : pod.Entries()) {
            out += EscapeControls(Cp1252ToUtf8(e.name));
            out += '\t';
            out += std::to_string(e.size);
            out += '\t';
            out += UtcStampText(e.stamp);
            out += '\n';
        }
        PrintBlock(out);
        return OutputWritten("the listing") ? 0 : 1;
    });
}

int RunExtract(const Args& args) {
    if (WantsHelp(args)) {
        std::cout << kExtractUsage;
        return 0;
    }
    std::vector<std::string> positional;
    bool structure = false;
    bool options = true;
    for (const auto& a : args) {
        if (options && a == "--") {
            options = false;
        } else if (options && a == "--structure") {
            structure = true;
        } else if (options && a.size() > 1 && a[0] == '-') {
            return Fail("extract: unknown option '" + a + "' (see 'orvane-cli extract --help')");
        } else {
            positional.push_back(a);
        }
    }
    if (positional.size() < 2)
        return Fail("extract: expected ARCHIVE and DEST (see 'orvane-cli extract --help')");

    return Guarded([&] {
        const std::string& archivePath = positional[0];
        const std::string& dest = positional[1];
        ArchiveFile pod;
        OpenForReading(pod, archivePath);

        std::vector<int> chosen;
        if (positional.size() == 2) {
            for (int i = 0; i < pod.EntryCount(); ++i)
                chosen.push_back(i);
        } else {
            for (std::size_t k = 2; k < positional.size(); ++k) {
                // Names on the command line are UTF-8, names in the archive 8-bit.
                const int index = pod.FindEntry(Utf8ToCp1252(positional[k]));
                if (index < 0) return Fail(archivePath + ": no entry named " + positional[k]);
                chosen.push_back(index);
            }
        }
        ExtractEntries(pod, chosen, dest, structure);
        return 0;
    });
}

} // namespace orvane::cli
