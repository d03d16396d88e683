// reconcile: a table beside the real world (the OurAirports files).
#include "cli/CliSupport.h"
#include "exchange/Reconcile.h"
#include "platform/Cp1252.h"

#include <charconv>
#include <cmath>
#include <iostream>
#include <sstream>
#include <stdexcept>

namespace orvane::cli {

namespace {

const char* kReconcileUsage =
    "Usage: orvane-cli reconcile TABLE OURAIRPORTS_FOLDER [--threshold M] [--key COLUMN]\n"
    "                  [--template SOURCE] [--decimal SEP] [--fly1]\n"
    "\n"
    "Loads TABLE as 'show' does and compares it with the OurAirports files of a\n"
    "folder (https://ourairports.com/data/, public domain): airports.csv for an\n"
    "AIRPORT table, runways.csv for RUNWAY, navaids.csv for NAVAID,\n"
    "airport-frequencies.csv for COMM. Airports match by ICAO code (ident, else\n"
    "gps_code), runways by airport and end identifiers (or, renumbered, by the\n"
    "position of their ends), navaids by identifier and type (the nearest within\n"
    "50 km), frequencies by airport and type. Prints one line per finding: moved,\n"
    "elevation, name, frequency or length changed, runway renumbered, not in the\n"
    "real-world data (closed or unknown), and the real-world airports and navaids\n"
    "of the table's area that it lacks. Exits 0 when there is no finding, 1 when\n"
    "there are findings, 2 on error.\n"
    "  --threshold M      a move shorter than M metres is no finding (default 500)\n"
    "  --key COLUMN       the column holding the code matched: a column title or a\n"
    "                     template field name (default: found by the titles)\n"
    "  --template, --decimal, --fly1  as for 'show'\n";

double Threshold(const std::string& text) {
    double value = -1;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc() || end != text.data() + text.size() || !(value >= 0) ||
        !std::isfinite(value))
        throw std::invalid_argument("--threshold needs a distance in metres, not '" + text + "'");
    return value;
}

} // namespace

int RunReconcile(const Args& given) {
    try {
        Args args;
        std::string key, threshold;
        for (std::size_t i = 0; i < given.size(); ++i) {
            if (given[i] == "--key" || given[i] == "--threshold") {
                if (i + 1 >= given.size()) throw std::invalid_argument(given[i] + " needs a value");
                (given[i] == "--key" ? key : threshold) = given[i + 1];
                ++i;
            } else {
                args.push_back(given[i]);
            }
        }
        TableOptions o = ParseTableOptions(args, false);
        if (o.help) {
            std::cout << kReconcileUsage;
            return 0;
        }
        if (o.positional.size() != 2)
            throw std::invalid_argument(
                std::string("reconcile takes TABLE and OURAIRPORTS_FOLDER\n") + kReconcileUsage);
        ReconcileOptions options;
        if (!threshold.empty()) options.thresholdMetres = Threshold(threshold);
        SessionState s;
        CliInteraction ui;
        LoadInput(s, ui, o, o.positional[0]);
        const auto files = RealDataFilesFor(s.DataType);
        if (files.empty())
            throw std::invalid_argument(Cp1252ToUtf8(s.DataType) +
                                        " records have no counterpart in the OurAirports data");
        options.decimalSeparator = s.DecimalSeparator();
        if (!key.empty()) options.keyColumn = NamedColumn(s, key);
        const RealWorldData real = ReadRealWorldData(o.positional[1], files);
        const auto findings = Reconcile(s.Table, s.Fields(), s.DataType, real, options);
        const ReconcileColumns columns = FindReconcileColumns(s.Table, s.DataType);
        std::ostringstream out;
        for (const ReconcileFinding& f : findings) {
            out << ReconcileLine(f, s.Table, columns, Lang::English);
            for (std::size_t i = 0; i < f.changes.size(); ++i) {
                const FieldChange& c = f.changes[i];
                out << (i ? ", " : ": ") << Cp1252ToUtf8(s.Table.Cell(c.column, 0)) << " \""
                    << Cp1252ToUtf8(c.before) << "\" -> \"" << Cp1252ToUtf8(c.after) << "\"";
            }
            out << '\n';
        }
        out << (findings.empty() ? "No finding"
                                 : std::to_string(findings.size()) +
                                       (findings.size() == 1 ? " finding" : " findings"))
            << ", " << s.Table.RowCount() - 1 << " rows compared\n";
        PrintBlock(out.str());
        return OutputWritten("the findings") ? (findings.empty() ? 0 : 1) : 2;
    } catch (const std::invalid_argument& e) {
        std::cerr << "orvane-cli: " << e.what() << '\n';
    } catch (const std::exception& e) {
        std::cerr << "orvane-cli: error: " << e.what() << '\n';
    }
    return 2;
}

} // namespace orvane::cli
