// orvane-cli make-demo: writes a demo simulator folder for trying the editor.
#include "cli/CliSupport.h"
#include "demo/DemoFolder.h"
#include "platform/LocaleInfo.h"

#include <iostream>
#include <stdexcept>

namespace orvane::cli {

namespace {

const char* kMakeDemoUsage =
    "Usage: orvane-cli make-demo DIR [--decimal SEP]\n"
    "\n"
    "Writes a demo simulator folder below DIR (created when missing; files of\n"
    "the same names are replaced):\n"
    "  DIR/fly2/system/<TYPE>.POD   Fly! II archives: template, records and, for\n"
    "                               AIRPORT, the index DATABASE\\APRTICAO.DBI\n"
    "  DIR/fly1/system/<TYPE>.EPD   the same for Fly! 1\n"
    "  DIR/work/<TYPE>.dbd .dex .csv  the Fly! II tables as the editor saves them\n"
    "for TYPE = AIRPORT, COMM, ILS, NAVAID, RUNWAY.\n"
    "  --decimal SEP      '.' or ',', the decimal separator of the CSV files\n"
    "                     (default: the locale's)\n";

} // namespace

int RunMakeDemo(const Args& args) {
    return Guarded([&] {
        std::string dir;
        char decimal = SystemDisplayContext().decimalSeparator;
        for (std::size_t i = 0; i < args.size(); ++i) {
            const std::string& a = args[i];
            if (a == "--help" || a == "-h") {
                std::cout << kMakeDemoUsage;
                return 0;
            }
            if (a == "--decimal") {
                if (i + 1 >= args.size() || (args[i + 1] != "." && args[i + 1] != ","))
                    throw std::invalid_argument("--decimal takes '.' or ','");
                decimal = args[++i][0];
            } else if (a.size() > 1 && a[0] == '-') {
                throw std::invalid_argument("make-demo: unknown option " + a);
            } else if (dir.empty()) {
                dir = a;
            } else {
                throw std::invalid_argument(
                    "make-demo takes one DIR (see 'orvane-cli make-demo --help')");
            }
        }
        if (dir.empty())
            throw std::invalid_argument(
                "make-demo needs a DIR (see 'orvane-cli make-demo --help')");
        const DemoSummary d = MakeDemoFolder(dir, decimal);
        std::cout << "Demo folder " << d.folder << ": " << d.archives
                  << " archives (Fly! II and Fly! 1), " << d.TotalRecords()
                  << " records per version (";
        const char* sep = "";
        for (const auto& [type, count] : d.records) {
            std::cout << sep << count << ' ' << type;
            sep = ", ";
        }
        std::cout << "), " << d.workFiles << " work files\n";
        return 0;
    });
}

} // namespace orvane::cli
