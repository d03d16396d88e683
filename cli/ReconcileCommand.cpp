// reconcile: a table beside the real world (the OurAirports files).
#include "cli/CliSupport.h"
#include "exchange/TableFormats.h"
#include "platform/BinaryFile.h"
#include "platform/Cp1252.h"
#include "platform/LocaleInfo.h"
#include "platform/Paths.h"
#include "realworld/RealWorldAdd.h"
#include "realworld/Reconcile.h"
#include "table/ValueDisplay.h"

#include <charconv>
#include <cmath>
#include <iostream>
#include <sstream>
#include <stdexcept>

namespace orvane::cli {

namespace {

const char* kReconcileUsage =
    "Usage: orvane-cli reconcile TABLE OURAIRPORTS_FOLDER [--threshold M] [--key COLUMN]\n"
    "                  [--kind KIND]... [--country CODE]... [--summary]\n"
    "                  [--add TYPE]... [--out FILE]\n"
    "                  [--template SOURCE] [--decimal SEP] [--fly1]\n"
    "\n"
    "Loads TABLE as 'show' does and compares it with the OurAirports files of a\n"
    "folder (https://ourairports.com/data/, public domain): airports.csv for an\n"
    "AIRPORT table, runways.csv for RUNWAY, navaids.csv for NAVAID,\n"
    "airport-frequencies.csv for COMM. Airports match by ICAO code (ident, else\n"
    "gps_code); runways by airport and end identifiers (04R is 4R; two ends of\n"
    "one identifier are told apart by their places), else, renumbered, by the\n"
    "places of both ends within the threshold and a heading at most two numbers\n"
    "round (the nearest first, open before closed, one real runway per row);\n"
    "navaids by identifier, the type first (a VOR/DME is the VOR-DME, not its\n"
    "TACAN twin), then the nearest within 50 km; frequencies by airport and the\n"
    "kind a real type means (A/D and ARR approach, D-ATIS ATIS...), the nearest\n"
    "in value proposed and the others named. Prints one line per finding, those\n"
    "a take mends first, then the rows not in the real-world data (closed or\n"
    "unknown), then the real-world airports and navaids within 100 km of the\n"
    "table's rows (in the countries of the records matched) that it lacks.\n"
    "Exits 0 when there is no finding, 1 when there are findings, 2 on error.\n"
    "  --threshold M      a move shorter than M metres is no finding (default 500);\n"
    "                     a renumbered runway's ends must lie within it too\n"
    "  --key COLUMN       the column holding the code matched: a column title or a\n"
    "                     template field name (default: found by the titles)\n"
    "  --kind KIND        only the findings of that kind (repeatable): moved,\n"
    "                     elevation, name, frequency, renumbered, length,\n"
    "                     not-in-real-world, not-in-table\n"
    "  --country CODE     only the findings of that country (ISO code, repeatable)\n"
    "  --summary          the count of each kind instead of the findings\n"
    "  --add TYPE         adds the real-world places the table lacks of that type\n"
    "                     (repeatable; a navaid type such as VOR-DME or NDB, an\n"
    "                     airport type such as small_airport, or all) to an\n"
    "                     AIRPORT or NAVAID table, with a new key and unique\n"
    "                     identifier, and writes it to FILE (--out, as 'convert'\n"
    "                     does); for airports, their runways and frequencies go to\n"
    "                     FILE's name with -RUNWAY.dex and -COMM.dex, read with the\n"
    "                     templates of the RUNWAY and COMM archives beside TABLE's\n"
    "                     (or SOURCE). Exits 0 once written.\n"
    "  --template, --decimal, --fly1  as for 'show'\n";

double Threshold(const std::string& text) {
    double value = -1;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || ec != std::errc() || end != text.data() + text.size() || !(value >= 0) ||
        !std::isfinite(value))
        throw std::invalid_argument("--threshold needs a distance in metres, not '" + text + "'");
    return value;
}

struct ReconcileArgs {
    Args rest;
    std::optional<std::string> threshold;
    std::string key, out;
    ReconcileFilter filter;
    std::vector<std::string> add;
    bool summary = false;
};

ReconcileArgs ParseReconcileArgs(const Args& given) {
    ReconcileArgs a;
    for (std::size_t i = 0; i < given.size(); ++i) {
        const std::string& option = given[i];
        if (option == "--summary") {
            a.summary = true;
            continue;
        }
        if (option != "--key" && option != "--threshold" && option != "--kind" &&
            option != "--country" && option != "--add" && option != "--out") {
            a.rest.push_back(option);
            continue;
        }
        if (i + 1 >= given.size()) throw std::invalid_argument(option + " needs a value");
        const std::string& value = given[++i];
        if (option == "--key") {
            a.key = value;
        } else if (option == "--threshold") {
            a.threshold = value;
        } else if (option == "--out") {
            a.out = value;
        } else if (option == "--country") {
            a.filter.countries.push_back(value);
        } else if (option == "--add") {
            a.add.push_back(value);
        } else if (const auto kind = ReconcileKindOfWord(value)) {
            a.filter.kinds.push_back(*kind);
        } else {
            throw std::invalid_argument("--kind needs one of moved, elevation, name, frequency, "
                                        "renumbered, length, not-in-real-world, not-in-table, "
                                        "not '" +
                                        value + "'");
        }
    }
    if (!a.add.empty() && a.out.empty()) throw std::invalid_argument("--add needs --out FILE");
    if (a.add.empty() && !a.out.empty()) throw std::invalid_argument("--out goes with --add TYPE");
    return a;
}

std::string FindingLine(const ReconcileFinding& f, const SessionState& s,
                        const ReconcileColumns& columns) {
    std::string line = ReconcileLine(f, s.Table, columns, Lang::English);
    for (std::size_t i = 0; i < f.changes.size(); ++i) {
        const FieldChange& c = f.changes[i];
        line += (i ? ", " : ": ") + Cp1252ToUtf8(s.Table.Cell(c.column, 0)) + " \"" +
                Cp1252ToUtf8(c.before) + "\" -> \"" + Cp1252ToUtf8(c.after) + "\"";
    }
    const std::string others = ReconcileAlternativesText(f, Lang::English);
    if (!others.empty()) line += " (" + others + ")";
    return line;
}

// The archive of another data type beside the table's: RUNWAY.POD beside
// AIRPORT.POD. Empty when there is none.
std::string SiblingArchive(const TableOptions& o, const std::string& dataType) {
    const std::string& archive = o.templateSource.empty() ? o.positional[0] : o.templateSource;
    if (!IsFormat(archive, TableFormatId::Archive)) return "";
    const std::string path =
        ResolvePathCase(FolderOf(archive) + dataType + ToUpperAscii(ExtensionOf(archive)));
    return FileExists(path) ? path : "";
}

// The part of FILE before its extension.
std::string Stem(const std::string& path) {
    return path.substr(0, path.size() - ExtensionOf(path).size());
}

bool TypeChosen(const std::vector<std::string>& types, const std::string& type) {
    for (const std::string& t : types)
        if (EqualsIgnoreCaseAscii(t, "all") || EqualsIgnoreCaseAscii(t, type)) return true;
    return false;
}

// --add: the chosen places the table lacks into it, written to --out; for
// airports, their runways and frequencies into two DEX files beside it.
void AddAndWrite(SessionState& s, const TableOptions& o, const ReconcileArgs& a,
                 const RealWorldData& real, const std::vector<ReconcileFinding>& findings,
                 CliInteraction& ui) {
    const bool airports = s.DataType == "AIRPORT";
    const TableFormat* format = FormatOfPath(a.out);
    if (!format || !format->write)
        throw std::invalid_argument("cannot write " + a.out +
                                    ": the output must be a .dbd, .dex, .csv or .geojson file");
    std::vector<int> chosen;
    for (int i : FilterFindings(findings, a.filter)) {
        const ReconcileFinding& f = findings[std::size_t(i)];
        if (f.kind != ReconcileKind::Missing) continue;
        const std::string& type =
            airports ? real.airports[f.realIndex].type : real.navaids[f.realIndex].type;
        if (TypeChosen(a.add, type)) chosen.push_back(i);
    }
    const std::int32_t stamp = DateCode(SystemStandardUtcOffset());
    const auto added = AddFromRealWorld(s.Table, s.Fields(), s.DataType, real, findings, chosen,
                                        s.DecimalSeparator(), stamp);
    s.Table.RecountFlags();
    format->write(s, a.out, false, ui, nullptr, {});
    std::ostringstream out;
    std::vector<AddedAirport> parts;
    for (const RealWorldAdded& r : added) {
        out << "Added " << Cp1252ToUtf8(r.key) << ": " << findings[std::size_t(r.finding)].realWorld
            << " (line " << r.row << ")\n";
        if (airports) parts.push_back({r.key, real.airports[r.realIndex]});
    }
    out << added.size() << (added.size() == 1 ? " row" : " rows") << " added, " << a.out
        << " written\n";
    for (const char* type : {"RUNWAY", "COMM"}) {
        if (parts.empty()) break;
        const std::string archive = SiblingArchive(o, type);
        if (archive.empty()) {
            std::cerr << "orvane-cli: no " << type << " archive beside "
                      << (o.templateSource.empty() ? o.positional[0] : o.templateSource)
                      << ": the added airports' " << (type[0] == 'R' ? "runways" : "frequencies")
                      << " are not written\n";
            continue;
        }
        const std::string path = Stem(a.out) + "-" + type + ".dex";
        const int rows = WriteAirportPartsDex(s, archive, path, real, parts, stamp, ui);
        out << rows << (rows == 1 ? " row" : " rows") << " of " << type
            << (rows > 0 ? " written to " + path : std::string(": none to write")) << '\n';
    }
    PrintBlock(out.str());
}

} // namespace

int RunReconcile(const Args& given) {
    try {
        const ReconcileArgs a = ParseReconcileArgs(given);
        TableOptions o = ParseTableOptions(a.rest, false);
        if (o.help) {
            std::cout << kReconcileUsage;
            return 0;
        }
        if (o.positional.size() != 2)
            throw std::invalid_argument(
                std::string("reconcile takes TABLE and OURAIRPORTS_FOLDER\n") + kReconcileUsage);
        ReconcileOptions options;
        if (a.threshold) options.thresholdMetres = Threshold(*a.threshold);
        SessionState s;
        CliInteraction ui;
        LoadInput(s, ui, o, o.positional[0]);
        auto files = RealDataFilesFor(s.DataType);
        if (files.empty())
            throw std::invalid_argument(Cp1252ToUtf8(s.DataType) +
                                        " records have no counterpart in the OurAirports data");
        if (!a.add.empty() && s.DataType != "AIRPORT" && s.DataType != "NAVAID")
            throw std::invalid_argument("--add needs an AIRPORT or NAVAID table, not " +
                                        Cp1252ToUtf8(s.DataType));
        // An airport brought in brings its runways and frequencies.
        if (!a.add.empty() && s.DataType == "AIRPORT")
            for (RealDataFile more : {RealDataFile::Runways, RealDataFile::Frequencies}) {
                if (FileExists(ResolvePathCase(JoinPath(o.positional[1], RealDataFileName(more)))))
                    files.push_back(more);
                else
                    std::cerr << "orvane-cli: no " << RealDataFileName(more) << " in "
                              << o.positional[1] << ": the added airports get none\n";
            }
        options.decimalSeparator = s.DecimalSeparator();
        if (!a.key.empty()) options.keyColumn = NamedColumn(s, a.key);
        const RealWorldData real = ReadRealWorldData(o.positional[1], files);
        for (const Message& warning : real.warnings)
            std::cerr << "orvane-cli: warning: " << warning.In(Lang::English) << '\n';
        const auto findings = Reconcile(s.Table, s.Fields(), s.DataType, real, options);
        const ReconcileColumns columns = FindReconcileColumns(s.Table, s.DataType);
        const std::vector<int> shown = FilterFindings(findings, a.filter);
        const bool filtered = !a.filter.kinds.empty() || !a.filter.countries.empty();
        std::ostringstream out;
        if (a.summary) {
            std::vector<ReconcileFinding> kept;
            for (int i : shown)
                kept.push_back(findings[std::size_t(i)]);
            const ReconcileCounts counts = CountByKind(kept);
            for (int rank = 0; rank < 3; ++rank)
                for (int k = 0; k < kReconcileKindCount; ++k)
                    if (counts[std::size_t(k)] > 0 && ReconcileKindRank(ReconcileKind(k)) == rank)
                        out << ReconcileKindName(ReconcileKind(k)).In(Lang::English) << ": "
                            << counts[std::size_t(k)] << '\n';
        } else {
            for (int i : shown)
                out << FindingLine(findings[std::size_t(i)], s, columns) << '\n';
        }
        out << (shown.empty()
                    ? "No finding"
                    : std::to_string(shown.size()) + (shown.size() == 1 ? " finding" : " findings"))
            << (filtered ? " of " + std::to_string(findings.size()) + " shown" : "") << ", "
            << s.Table.RowCount() - 1 << " rows compared\n";
        PrintBlock(out.str());
        if (!OutputWritten("the findings")) return 2;
        if (!a.add.empty()) {
            AddAndWrite(s, o, a, real, findings, ui);
            return OutputWritten("the rows added") ? 0 : 2;
        }
        return shown.empty() ? 0 : 1;
    } catch (const std::invalid_argument& e) {
        std::cerr << "orvane-cli: " << e.what() << '\n';
    } catch (const std::exception& e) {
        std::cerr << "orvane-cli: error: " << ErrorText(e) << '\n';
    }
    return 2;
}

} // namespace orvane::cli
