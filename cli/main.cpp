// orvane-cli: the batch tool. Loads, converts, lists and extracts the
// simulator's files as the editor does, without a window.
#include "cli/CliSupport.h"
#include "cli/Commands.h"

#include <clocale>
#include <cstring>
#include <iostream>
#include <map>
#include <string>
#include <vector>

#ifdef _WIN32
#include <fcntl.h>
#include <filesystem>
#include <io.h>
#include <windows.h>

#include <shellapi.h>
#endif

namespace {

void PrintUsage(std::ostream& out) {
    out << "Usage: orvane-cli COMMAND [ARGUMENTS]\n"
           "\n"
           "Commands:\n"
           "  list ARCHIVE                     list the entries of an EPD or POD archive\n"
           "  extract ARCHIVE DEST [--structure] [NAME ...]\n"
           "                                   extract entries into a folder\n"
           "  show INPUT [--template SOURCE] [--decimal SEP]\n"
           "                                   print a table as tab-separated text\n"
           "  convert INPUT OUTPUT [--template SOURCE] [--selection] [--decimal SEP]\n"
           "                                   load a table and save it in another file\n"
           "  lookup ARCHIVE CODE              print the search text of an airport's ICAO code\n"
           "  write-record ARCHIVE ROW FROM [--decimal SEP]\n"
           "                                   write row ROW of FROM over its record in a POD\n"
           "  make-demo DIR [--decimal SEP]    write a demo simulator folder and work folder\n"
           "  check INPUT [--template SOURCE] [--decimal SEP]\n"
           "                                   list what a save or the simulator would refuse\n"
           "  diff A B [--key COLUMN] [--template SOURCE]\n"
           "                                   compare two tables record by record\n"
           "  reconcile TABLE OURAIRPORTS_FOLDER [--threshold M] [--key COLUMN]\n"
           "                                   compare a table with the OurAirports files\n"
           "\n"
           "  help [COMMAND]                   print this list, or the usage of a command\n"
           "\n"
           "Options: --help (of a command: its usage), --version.\n"
           "Run 'orvane-cli help COMMAND' for the details of a command.\n";
}

#ifdef _WIN32
// The arguments as UTF-8, the core's encoding of paths: argv holds them in
// the ANSI code page, where a name outside it has already become '?'.
std::vector<std::string> Utf8Arguments() {
    std::vector<std::string> args;
    int n = 0;
    if (wchar_t** wide = CommandLineToArgvW(GetCommandLineW(), &n)) {
        for (int i = 0; i < n; ++i) {
            const auto u8 = std::filesystem::path(wide[i]).u8string();
            args.emplace_back(u8.begin(), u8.end());
        }
        LocalFree(wide);
    }
    return args;
}
#endif

} // namespace

int main(int argc, char** argv) {
    // The locale gives the default decimal separator and the date formats;
    // numbers are formatted by the core itself, independent of the C locale.
    std::setlocale(LC_ALL, "");
#ifdef _WIN32
    // Tables, lists and messages: the same bytes as on every system, LF lines
    // (a text-mode stream would make them CR LF).
    _setmode(_fileno(stdout), _O_BINARY);
    _setmode(_fileno(stderr), _O_BINARY);
    std::vector<std::string> utf8 = Utf8Arguments();
    std::vector<char*> pointers;
    for (auto& a : utf8)
        pointers.push_back(a.data());
    if (static_cast<int>(pointers.size()) == argc) argv = pointers.data();
#endif

    if (argc < 2 || std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0 ||
        (std::strcmp(argv[1], "help") == 0 && argc == 2)) {
        PrintUsage(argc < 2 ? std::cerr : std::cout);
        if (argc < 2) return 1;
        return orvane::cli::OutputWritten("the usage") ? 0 : 1;
    }
    if (std::strcmp(argv[1], "--version") == 0) {
        std::cout << "orvane-cli " << ORVANE_VERSION << '\n';
        return orvane::cli::OutputWritten("the version") ? 0 : 1;
    }
    const std::map<std::string, int (*)(const orvane::cli::Args&)> commands = {
        {"list", orvane::cli::RunList},
        {"extract", orvane::cli::RunExtract},
        {"show", orvane::cli::RunShow},
        {"convert", orvane::cli::RunConvert},
        {"make-demo", orvane::cli::RunMakeDemo},
        {"lookup", orvane::cli::RunLookup},
        {"write-record", orvane::cli::RunWriteRecord},
        {"check", orvane::cli::RunCheck},
        {"diff", orvane::cli::RunDiff},
        {"reconcile", orvane::cli::RunReconcile},
    };
    // "help COMMAND" prints what "COMMAND --help" prints.
    const bool help = std::strcmp(argv[1], "help") == 0;
    const char* name = help ? argv[2] : argv[1];
    auto it = commands.find(name);
    if (it == commands.end() || (help && argc > 3)) {
        if (it == commands.end())
            std::cerr << "orvane-cli: unknown command '" << name << "'\n";
        else
            std::cerr << "orvane-cli: help takes one COMMAND\n";
        PrintUsage(std::cerr);
        return 1;
    }
    orvane::cli::Args args(argv + 2, argv + argc);
    const int status = help ? it->second({"--help"}) : it->second(args);
    // A command's usage (--help) is printed without a check of its own: a
    // success whose output did not arrive is a failure.
    if (status == 0 && !orvane::cli::OutputWritten("the usage")) return 1;
    return status;
}
