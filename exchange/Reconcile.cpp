#include "exchange/Reconcile.h"

#include "platform/Cp1252.h"
#include "platform/Errors.h"
#include "table/ValueDisplay.h"
#include "table/WholeNumber.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <functional>
#include <unordered_map>
#include <unordered_set>

namespace orvane {

namespace {

// --- Which field holds what, per data type ----------------------------------

enum class Role : std::uint8_t {
    Code,
    Airport,
    Name,
    Elevation,
    Frequency,
    Type,
    Length,
    End1,
    End2,
    Heading1,
    Heading2
};

// A title holds the role when it matches one of the alternatives ('|'); an
// alternative is words ('&') the title contains, letter case aside, or must
// not contain ('!'). The first field that matches holds the role.
struct RoleTitle {
    Role role;
    const char* titles;
};

struct DataTypeFields {
    const char* dataType;
    std::vector<RoleTitle> roles;
    std::vector<Role> required;
    std::vector<RealDataFile> files;
};

const std::vector<DataTypeFields>& FieldTables() {
    static const std::vector<DataTypeFields> tables = {
        {"AIRPORT",
         {{Role::Code, "icao|oaci"},
          {Role::Name, "name|nom"},
          {Role::Elevation, "elevation|altitude"}},
         {Role::Code},
         {RealDataFile::Airports}},
        {"RUNWAY",
         {{Role::Airport, "icao|oaci"},
          {Role::End1, "end 1&ident"},
          {Role::End2, "end 2&ident"},
          {Role::Length, "length|longueur"},
          {Role::Heading1, "end 1&heading"},
          {Role::Heading2, "end 2&heading"}},
         {Role::Airport, Role::End1, Role::End2},
         {RealDataFile::Runways}},
        {"NAVAID",
         {{Role::Code, "ident&!unique&!key"},
          {Role::Name, "name|nom"},
          {Role::Frequency, "freq"},
          {Role::Type, "type"},
          {Role::Elevation, "elevation|altitude"}},
         {Role::Code, Role::Type},
         {RealDataFile::Navaids}},
        {"COMM",
         {{Role::Airport, "icao|oaci"},
          {Role::Type, "type"},
          {Role::Name, "name|nom"},
          {Role::Frequency, "freq"}},
         {Role::Airport, Role::Type, Role::Frequency},
         {RealDataFile::Frequencies}},
    };
    return tables;
}

const DataTypeFields* FieldTableOf(std::string_view dataType) {
    for (const DataTypeFields& t : FieldTables())
        if (dataType == t.dataType) return &t;
    return nullptr;
}

bool ContainsNoCase(std::string_view text, std::string_view word) {
    return std::search(text.begin(), text.end(), word.begin(), word.end(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) ==
                      std::tolower(static_cast<unsigned char>(y));
           }) != text.end();
}

bool TitleMatches(std::string_view title, std::string_view pattern) {
    while (!pattern.empty()) {
        const std::size_t bar = pattern.find('|');
        std::string_view alternative = pattern.substr(0, bar);
        pattern = bar == std::string_view::npos ? std::string_view{} : pattern.substr(bar + 1);
        bool all = true;
        while (!alternative.empty() && all) {
            const std::size_t amp = alternative.find('&');
            std::string_view word = alternative.substr(0, amp);
            alternative =
                amp == std::string_view::npos ? std::string_view{} : alternative.substr(amp + 1);
            const bool negated = !word.empty() && word.front() == '!';
            if (negated) word.remove_prefix(1);
            all = ContainsNoCase(title, word) != negated;
        }
        if (all) return true;
    }
    return false;
}

int& ColumnOfRole(ReconcileColumns& c, Role role) {
    switch (role) {
    case Role::Code:
        return c.code;
    case Role::Airport:
        return c.airport;
    case Role::Name:
        return c.name;
    case Role::Elevation:
        return c.elevation;
    case Role::Frequency:
        return c.frequency;
    case Role::Type:
        return c.type;
    case Role::Length:
        return c.length;
    case Role::End1:
        return c.end[0];
    case Role::End2:
        return c.end[1];
    case Role::Heading1:
        return c.heading[0];
    case Role::Heading2:
        return c.heading[1];
    }
    return c.code;
}

BiText RoleName(Role role) {
    switch (role) {
    case Role::Code:
        return txt::RoleIdentifier;
    case Role::Airport:
    case Role::End1:
    case Role::End2:
        return txt::RoleAirportOrEnd;
    case Role::Type:
        return txt::RoleType;
    case Role::Frequency:
        return txt::RoleFrequency;
    default:
        return txt::RoleField;
    }
}

// --- Values -------------------------------------------------------------------

constexpr double kArcSecondsPerDegree = 3600;
constexpr double kNavaidReachMetres = 50000; // same identifier farther away: another navaid

std::string_view Trimmed(std::string_view cell) {
    const std::size_t first = cell.find_first_not_of(' ');
    if (first == std::string_view::npos) return {};
    return cell.substr(first, cell.find_last_not_of(' ') + 1 - first);
}

std::string Upper(std::string_view text) {
    std::string out(text);
    for (char& c : out)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return out;
}

// Letters and digits, letter case aside: "Saint-Exupéry" and "SAINT EXUPÉRY" are one name.
std::string NameKey(std::string_view cp1252) {
    std::string key;
    for (char c : cp1252) {
        const auto u = static_cast<unsigned char>(c);
        if (std::isalnum(u) || u >= 0x80) key += static_cast<char>(std::toupper(u));
    }
    return key;
}

struct Context {
    const RecordTable& table;
    const std::vector<FieldDef>& fields;
    const ReconcileColumns& columns;
    const ReconcileOptions& options;

    std::optional<double> Number(int column, int row) const {
        if (column < 0) return std::nullopt;
        return ParseDecimal(Trimmed(table.Cell(column, row)), options.decimalSeparator);
    }
    std::optional<GeoPoint> Position(const CoordinateFields& p, int row) const {
        const auto lat = Number(p.latitude, row), lon = Number(p.longitude, row);
        if (!lat || !lon) return std::nullopt;
        return GeoPoint{WrapLongitude(*lon / kArcSecondsPerDegree), *lat / kArcSecondsPerDegree};
    }
    // An I cell: the table shows a negative value as its unsigned 32-bit
    // twin ("4294967285" for -11 ft).
    std::optional<long long> Whole(int column, int row) const {
        auto value = ParseWholeNumber(Trimmed(table.Cell(column, row)));
        if (value && *value >= 0x80000000LL && *value <= 0xFFFFFFFFLL) *value -= 0x100000000LL;
        return value;
    }
    std::string Decimal(double value) const {
        return FormatFixed(value, 4, options.decimalSeparator);
    }
    // A real-world name as the field holds it: 8-bit, cut to the field's width.
    std::string NameText(const std::string& utf8) const {
        std::string text = Utf8ToCp1252(utf8);
        const std::size_t f = std::size_t(columns.name - kFirstFieldColumn);
        if (f < fields.size() && fields[f].IsText() && text.size() > std::size_t(fields[f].Width))
            text.resize(std::size_t(fields[f].Width));
        return std::string(Trimmed(text));
    }
    // A field the take writes; none when it holds the value already.
    void Change(ReconcileFinding& f, int column, std::string after) const {
        const std::string_view before = table.Cell(column, f.row);
        const auto x = ParseDecimal(Trimmed(before), options.decimalSeparator);
        const auto y = ParseDecimal(after, options.decimalSeparator);
        if (Trimmed(before) == after || (x && y && *x == *y)) return;
        f.changes.push_back({column, std::string(table.Cell(column, f.row)), std::move(after)});
    }
};

ReconcileFinding At(ReconcileKind kind, int row, std::string realWorld) {
    ReconcileFinding f;
    f.kind = kind;
    f.row = row;
    f.realWorld = std::move(realWorld);
    return f;
}

std::string Label(std::string_view code, std::string_view name) {
    return name.empty() ? std::string(code) : std::string(code) + "  " + std::string(name);
}

// The real-world record's code and name, made only for a finding.
using LabelFn = std::function<std::string()>;

// A point moved: the finding, and the cells that place it.
void CheckMove(const Context& c, int row, const std::vector<std::pair<int, GeoPoint>>& real,
               const LabelFn& label, std::vector<ReconcileFinding>& out) {
    ReconcileFinding f = At(ReconcileKind::Moved, row, "");
    for (const auto& [pair, to] : real) {
        const CoordinateFields& p = c.columns.positions[std::size_t(pair)];
        const auto from = c.Position(p, row);
        if (!from) continue;
        const double metres = SurfaceMetres(*from, to);
        if (metres <= c.options.thresholdMetres) continue;
        f.metres = std::max(f.metres, metres);
        f.moves.emplace_back(*from, to);
        c.Change(f, p.latitude, c.Decimal(to.lat * kArcSecondsPerDegree));
        c.Change(f, p.longitude, c.Decimal(to.lon * kArcSecondsPerDegree));
    }
    if (f.moves.empty()) return;
    f.realWorld = label();
    out.push_back(std::move(f));
}

void CheckElevation(const Context& c, int row, std::optional<int> real, const LabelFn& label,
                    std::vector<ReconcileFinding>& out) {
    if (!real || c.columns.elevation < 0) return;
    const auto now = c.Whole(c.columns.elevation, row);
    if (now && *now == *real) return;
    ReconcileFinding f = At(ReconcileKind::Elevation, row, label());
    c.Change(f, c.columns.elevation, std::to_string(*real));
    out.push_back(std::move(f));
}

void CheckName(const Context& c, int row, const std::string& real, const LabelFn& label,
               std::vector<ReconcileFinding>& out) {
    if (c.columns.name < 0 || real.empty()) return;
    const std::string text = c.NameText(real);
    if (NameKey(c.table.Cell(c.columns.name, row)) == NameKey(text)) return;
    ReconcileFinding f = At(ReconcileKind::Name, row, label());
    c.Change(f, c.columns.name, text);
    out.push_back(std::move(f));
}

// --- The area of the table: where the missing records are sought --------------

struct Area {
    double latMin = 90, latMax = -90, lonMin = 180, lonMax = -180;
    std::unordered_set<std::string> countries; // of the records matched
    void Add(GeoPoint p) {
        latMin = std::min(latMin, p.lat);
        latMax = std::max(latMax, p.lat);
        lonMin = std::min(lonMin, p.lon);
        lonMax = std::max(lonMax, p.lon);
    }
    bool Holds(GeoPoint p, const std::string& country) const {
        return p.lat >= latMin && p.lat <= latMax && p.lon >= lonMin && p.lon <= lonMax &&
               (countries.empty() || countries.count(country));
    }
};

// --- Airports -------------------------------------------------------------------

void ReconcileAirports(const Context& c, const RealWorldData& real,
                       std::vector<ReconcileFinding>& out) {
    std::unordered_map<std::string, std::size_t> byIdent, byCode;
    for (std::size_t i = 0; i < real.airports.size(); ++i) {
        const RealAirport& a = real.airports[i];
        byIdent.emplace(Upper(a.ident), i);
        for (const std::string* code : {&a.icaoCode, &a.gpsCode})
            if (!code->empty()) byCode.emplace(Upper(*code), i);
    }
    std::vector<bool> matched(real.airports.size());
    Area area;
    for (int row = 1; row < c.table.RowCount(); ++row) {
        const std::string code = Upper(Trimmed(c.table.Cell(c.columns.code, row)));
        if (code.empty()) continue;
        std::size_t index = real.airports.size();
        if (const auto it = byIdent.find(code); it != byIdent.end())
            index = it->second;
        else if (const auto by = byCode.find(code); by != byCode.end())
            index = by->second;
        if (index == real.airports.size()) {
            out.push_back(At(ReconcileKind::NotInRealWorld, row, ""));
            continue;
        }
        const RealAirport& a = real.airports[index];
        matched[index] = true;
        const LabelFn label = [&a] { return Label(a.ident, a.name); };
        if (a.Closed()) {
            ReconcileFinding f = At(ReconcileKind::NotInRealWorld, row, label());
            f.closed = true;
            out.push_back(std::move(f));
            continue;
        }
        area.countries.insert(a.country);
        if (!c.columns.positions.empty()) {
            if (const auto p = c.Position(c.columns.positions[0], row)) area.Add(*p);
            CheckMove(c, row, {{0, GeoPoint{a.lon, a.lat}}}, label, out);
        }
        CheckElevation(c, row, a.elevationFt, label, out);
        CheckName(c, row, a.name, label, out);
    }
    if (c.columns.positions.empty()) return;
    for (std::size_t i = 0; i < real.airports.size(); ++i) {
        const RealAirport& a = real.airports[i];
        if (matched[i] || a.Closed() || a.type == "heliport" || a.type == "balloonport") continue;
        if (!area.Holds({a.lon, a.lat}, a.country)) continue;
        ReconcileFinding f = At(ReconcileKind::Missing, 0, Label(a.ident, a.name));
        f.at = {a.lon, a.lat};
        out.push_back(std::move(f));
    }
}

// --- Navaids --------------------------------------------------------------------

// The family of a navaid type: VOR-like (MHz) or NDB-like (kHz); 0 for the
// types the real-world list does not hold (ILS parts, markers).
int FamilyOfTableType(long long type) {
    switch (type) {
    case 1:
    case 4:
    case 5:
    case 16:
    case 17:
        return 1;
    case 8:
    case 32:
        return 2;
    default:
        return 0;
    }
}
int FamilyOfRealType(const std::string& type) {
    if (type == "NDB" || type == "NDB-DME") return 2;
    if (type == "VOR" || type == "VOR-DME" || type == "VORTAC" || type == "TACAN" || type == "DME")
        return 1;
    return 0;
}

void ReconcileNavaids(const Context& c, const RealWorldData& real,
                      std::vector<ReconcileFinding>& out) {
    std::unordered_multimap<std::string, std::size_t> byIdent;
    for (std::size_t i = 0; i < real.navaids.size(); ++i)
        byIdent.emplace(Upper(real.navaids[i].ident), i);
    std::vector<bool> matched(real.navaids.size());
    Area area;
    for (int row = 1; row < c.table.RowCount(); ++row) {
        const std::string code = Upper(Trimmed(c.table.Cell(c.columns.code, row)));
        const auto type = ParseWholeNumber(Trimmed(c.table.Cell(c.columns.type, row)));
        const int family = type ? FamilyOfTableType(*type) : 0;
        if (code.empty() || family == 0) continue;
        const auto here =
            c.columns.positions.empty() ? std::nullopt : c.Position(c.columns.positions[0], row);
        // The nearest of the same identifier and family within reach (the
        // only one when the row has no position).
        std::size_t best = real.navaids.size();
        double bestMetres = kNavaidReachMetres;
        const auto [first, last] = byIdent.equal_range(code);
        for (auto it = first; it != last; ++it) {
            const RealNavaid& n = real.navaids[it->second];
            if (FamilyOfRealType(n.type) != family) continue;
            const double metres = here ? SurfaceMetres(*here, {n.lon, n.lat}) : 0;
            if (metres <= bestMetres) {
                best = it->second;
                bestMetres = metres;
            }
        }
        if (best == real.navaids.size()) {
            out.push_back(At(ReconcileKind::NotInRealWorld, row, ""));
            continue;
        }
        const RealNavaid& n = real.navaids[best];
        matched[best] = true;
        area.countries.insert(n.country);
        if (here) area.Add(*here);
        const LabelFn label = [&n] { return Label(n.ident, n.name); };
        if (here) CheckMove(c, row, {{0, GeoPoint{n.lon, n.lat}}}, label, out);
        if (c.columns.frequency >= 0 && n.frequencyKhz > 0) {
            // The table holds MHz for the VOR family, kHz for NDBs.
            const double realValue = family == 1 ? n.frequencyKhz / 1000 : n.frequencyKhz;
            const auto now = c.Number(c.columns.frequency, row);
            if (!now || std::fabs(*now - realValue) > (family == 1 ? 0.0005 : 0.05)) {
                ReconcileFinding f = At(ReconcileKind::Frequency, row, label());
                c.Change(f, c.columns.frequency, c.Decimal(realValue));
                out.push_back(std::move(f));
            }
        }
        CheckElevation(c, row, n.elevationFt, label, out);
        CheckName(c, row, n.name, label, out);
    }
    if (c.columns.positions.empty()) return;
    for (std::size_t i = 0; i < real.navaids.size(); ++i) {
        const RealNavaid& n = real.navaids[i];
        if (matched[i] || FamilyOfRealType(n.type) == 0 || !area.Holds({n.lon, n.lat}, n.country))
            continue;
        ReconcileFinding f =
            At(ReconcileKind::Missing, 0, Label(n.ident, n.name + " (" + n.type + ")"));
        f.at = {n.lon, n.lat};
        out.push_back(std::move(f));
    }
}

// --- Runways ----------------------------------------------------------------------

void ReconcileRunways(const Context& c, const RealWorldData& real,
                      std::vector<ReconcileFinding>& out) {
    std::unordered_multimap<std::string, std::size_t> byAirport;
    for (std::size_t i = 0; i < real.runways.size(); ++i)
        byAirport.emplace(Upper(real.runways[i].airportIdent), i);
    const bool placed = c.columns.positions.size() >= 2;
    for (int row = 1; row < c.table.RowCount(); ++row) {
        const std::string airport = Upper(Trimmed(c.table.Cell(c.columns.airport, row)));
        if (airport.empty()) continue;
        const std::string ends[2] = {Upper(Trimmed(c.table.Cell(c.columns.end[0], row))),
                                     Upper(Trimmed(c.table.Cell(c.columns.end[1], row)))};
        std::optional<GeoPoint> at[2];
        for (int e = 0; e < 2 && placed; ++e)
            at[e] = c.Position(c.columns.positions[std::size_t(e)], row);
        // The real runway, and whether its "le" end is the table's end 2.
        const RealRunway* match = nullptr;
        bool swapped = false, renumbered = false;
        const auto [first, last] = byAirport.equal_range(airport);
        for (auto it = first; it != last && !match; ++it) {
            const RealRunway& r = real.runways[it->second];
            if (Upper(r.low.ident) == ends[0] && Upper(r.high.ident) == ends[1])
                match = &r;
            else if (Upper(r.low.ident) == ends[1] && Upper(r.high.ident) == ends[0])
                match = &r, swapped = true;
        }
        // Renumbered: other identifiers, but both ends where the table has them.
        for (auto it = first; it != last && !match && at[0] && at[1]; ++it) {
            const RealRunway& r = real.runways[it->second];
            if (!r.low.Placed() || !r.high.Placed()) continue;
            const GeoPoint low{*r.low.lon, *r.low.lat}, high{*r.high.lon, *r.high.lat};
            const double limit = c.options.thresholdMetres;
            if (SurfaceMetres(*at[0], low) <= limit && SurfaceMetres(*at[1], high) <= limit)
                match = &r, renumbered = true;
            else if (SurfaceMetres(*at[0], high) <= limit && SurfaceMetres(*at[1], low) <= limit)
                match = &r, renumbered = true, swapped = true;
        }
        if (!match) {
            out.push_back(At(ReconcileKind::NotInRealWorld, row, ""));
            continue;
        }
        const RealRunwayEnd* realEnd[2] = {swapped ? &match->high : &match->low,
                                           swapped ? &match->low : &match->high};
        const LabelFn label = [match] {
            return Label(match->airportIdent, match->low.ident + "/" + match->high.ident);
        };
        if (match->closed) {
            ReconcileFinding f = At(ReconcileKind::NotInRealWorld, row, label());
            f.closed = true;
            out.push_back(std::move(f));
            continue;
        }
        if (renumbered) {
            ReconcileFinding f = At(ReconcileKind::Renumbered, row, label());
            for (int e = 0; e < 2; ++e) {
                c.Change(f, c.columns.end[e], realEnd[e]->ident);
                if (c.columns.heading[e] >= 0 && realEnd[e]->headingTrue)
                    c.Change(f, c.columns.heading[e], c.Decimal(*realEnd[e]->headingTrue));
            }
            out.push_back(std::move(f));
        }
        std::vector<std::pair<int, GeoPoint>> moves;
        for (int e = 0; e < 2 && placed; ++e)
            if (realEnd[e]->Placed())
                moves.emplace_back(e, GeoPoint{*realEnd[e]->lon, *realEnd[e]->lat});
        CheckMove(c, row, moves, label, out);
        if (c.columns.length >= 0 && match->lengthFt) {
            const auto now = c.Whole(c.columns.length, row);
            if (!now || *now != *match->lengthFt) {
                ReconcileFinding f = At(ReconcileKind::Length, row, label());
                c.Change(f, c.columns.length, std::to_string(*match->lengthFt));
                out.push_back(std::move(f));
            }
        }
    }
}

// --- Airport frequencies -------------------------------------------------------

const char* RealFrequencyType(long long type) {
    switch (type) {
    case 1:
        return "TWR";
    case 4:
        return "GND";
    case 8:
        return "APP";
    case 16:
        return "DEP";
    case 128:
        return "ATIS";
    default:
        return nullptr;
    }
}

void ReconcileFrequencies(const Context& c, const RealWorldData& real,
                          std::vector<ReconcileFinding>& out) {
    std::unordered_multimap<std::string, std::size_t> byAirport;
    for (std::size_t i = 0; i < real.frequencies.size(); ++i)
        byAirport.emplace(Upper(real.frequencies[i].airportIdent), i);
    for (int row = 1; row < c.table.RowCount(); ++row) {
        const std::string airport = Upper(Trimmed(c.table.Cell(c.columns.airport, row)));
        const auto type = ParseWholeNumber(Trimmed(c.table.Cell(c.columns.type, row)));
        const char* realType = type ? RealFrequencyType(*type) : nullptr;
        if (airport.empty() || !realType) continue;
        const auto now = c.Number(c.columns.frequency, row);
        const RealFrequency* first = nullptr;
        bool same = false;
        const auto [from, to] = byAirport.equal_range(airport);
        for (auto it = from; it != to && !same; ++it) {
            const RealFrequency& f = real.frequencies[it->second];
            if (Upper(f.type) != realType) continue;
            if (!first) first = &f;
            same = now && std::fabs(*now - f.frequencyMhz) < 0.0005;
        }
        if (same) continue;
        if (!first) {
            out.push_back(At(ReconcileKind::NotInRealWorld, row, ""));
            continue;
        }
        ReconcileFinding f =
            At(ReconcileKind::Frequency, row, Label(first->airportIdent, first->description));
        c.Change(f, c.columns.frequency, c.Decimal(first->frequencyMhz));
        out.push_back(std::move(f));
    }
}

} // namespace

std::vector<RealDataFile> RealDataFilesFor(std::string_view dataType) {
    const DataTypeFields* t = FieldTableOf(dataType);
    return t ? t->files : std::vector<RealDataFile>{};
}

ReconcileColumns FindReconcileColumns(const RecordTable& table, std::string_view dataType) {
    const DataTypeFields* t = FieldTableOf(dataType);
    if (!t) throw RefusedError(txt::ReconcileNoCounterpart, Cp1252ToUtf8(dataType));
    ReconcileColumns columns;
    std::vector<std::string_view> titles;
    for (int c = kFirstFieldColumn; c < table.ColumnCount(); ++c)
        titles.push_back(table.Cell(c, 0));
    for (const RoleTitle& r : t->roles) {
        int& column = ColumnOfRole(columns, r.role);
        for (std::size_t f = 0; f < titles.size() && column < 0; ++f)
            if (TitleMatches(titles[f], r.titles)) column = int(f) + kFirstFieldColumn;
    }
    for (CoordinateFields p : FindCoordinatePairs(titles))
        columns.positions.push_back(
            {p.latitude + kFirstFieldColumn, p.longitude + kFirstFieldColumn});
    for (Role role : t->required)
        if (ColumnOfRole(columns, role) < 0)
            throw RefusedError(txt::ReconcileNoRoleField, RoleName(role));
    return columns;
}

std::vector<ReconcileFinding> Reconcile(const RecordTable& table,
                                        const std::vector<FieldDef>& fields,
                                        std::string_view dataType, const RealWorldData& real,
                                        const ReconcileOptions& options) {
    ReconcileColumns columns = FindReconcileColumns(table, dataType);
    if (options.keyColumn >= kFirstFieldColumn && options.keyColumn < table.ColumnCount())
        (columns.code >= 0 ? columns.code : columns.airport) = options.keyColumn;
    const Context c{table, fields, columns, options};
    std::vector<ReconcileFinding> out;
    if (dataType == "AIRPORT")
        ReconcileAirports(c, real, out);
    else if (dataType == "NAVAID")
        ReconcileNavaids(c, real, out);
    else if (dataType == "RUNWAY")
        ReconcileRunways(c, real, out);
    else
        ReconcileFrequencies(c, real, out);
    return out;
}

double SurfaceMetres(GeoPoint a, GeoPoint b) {
    constexpr double kEarthRadius = 6371008.8;
    constexpr double kRadians = 3.14159265358979323846 / 180;
    const double dLat = (b.lat - a.lat) * kRadians;
    const double dLon = WrapLongitude(b.lon - a.lon) * kRadians;
    const double h = std::sin(dLat / 2) * std::sin(dLat / 2) +
                     std::cos(a.lat * kRadians) * std::cos(b.lat * kRadians) * std::sin(dLon / 2) *
                         std::sin(dLon / 2);
    return 2 * kEarthRadius * std::asin(std::min(1.0, std::sqrt(h)));
}

std::string DistanceText(double metres) {
    if (metres < 10000) return std::to_string(std::lround(metres)) + " m";
    return FormatFixed(metres / 1000, 1, '.') + " km";
}

std::string ReconcileLine(const ReconcileFinding& f, const RecordTable& table,
                          const ReconcileColumns& columns, Lang lang) {
    if (f.kind == ReconcileKind::Missing)
        return Format(txt::ReconcileMissingItem.In(lang), f.realWorld.c_str());
    const int codeColumn = columns.code >= 0 ? columns.code : columns.airport;
    std::string label(Trimmed(table.Cell(codeColumn, f.row)));
    for (int extra : {columns.end[0], columns.end[1], columns.name})
        if (extra >= 0 && !Trimmed(table.Cell(extra, f.row)).empty())
            label += (extra == columns.end[1] ? "/" : "  ") +
                     std::string(Trimmed(table.Cell(extra, f.row)));
    label = Cp1252ToUtf8(label);
    const BiText* text = nullptr;
    switch (f.kind) {
    case ReconcileKind::Moved:
        return Format(txt::ReconcileMovedItem.In(lang), DistanceText(f.metres).c_str(),
                      label.c_str(), f.row);
    case ReconcileKind::Elevation:
        text = &txt::ReconcileElevationItem;
        break;
    case ReconcileKind::Name:
        text = &txt::ReconcileNameItem;
        break;
    case ReconcileKind::Frequency:
        text = &txt::ReconcileFrequencyItem;
        break;
    case ReconcileKind::Renumbered:
        text = &txt::ReconcileRenumberedItem;
        break;
    case ReconcileKind::Length:
        text = &txt::ReconcileLengthItem;
        break;
    case ReconcileKind::NotInRealWorld:
        text = f.closed ? &txt::ReconcileClosedItem : &txt::ReconcileUnknownItem;
        break;
    case ReconcileKind::Missing:
        break;
    }
    return Format(text->In(lang), label.c_str(), f.row);
}

int TakeRealWorld(RecordTable& table, const std::vector<ReconcileFinding>& findings,
                  const std::vector<std::pair<int, int>>& choices) {
    int taken = 0;
    for (const auto& [index, column] : choices) {
        if (index < 0 || std::size_t(index) >= findings.size()) continue;
        const ReconcileFinding& f = findings[std::size_t(index)];
        if (f.row < 1 || f.row >= table.RowCount()) continue;
        for (const FieldChange& change : f.changes)
            if ((column < 0 || column == change.column) &&
                table.Cell(change.column, f.row) != change.after) {
                table.SetCell(change.column, f.row, change.after);
                ++taken;
            }
    }
    return taken;
}

} // namespace orvane
