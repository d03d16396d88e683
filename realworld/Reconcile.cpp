#include "realworld/Reconcile.h"

#include "platform/Cp1252.h"
#include "platform/Errors.h"
#include "table/ValueDisplay.h"
#include "table/WholeNumber.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <functional>
#include <tuple>
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
    Heading2,
    Key,
    Unique,
    Country,
    Elevation1,
    Elevation2,
    Frequency2
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
          {Role::Elevation, "elevation|altitude"},
          {Role::Key, "key&!unique|clé&!unique"},
          {Role::Unique, "unique"},
          {Role::Country, "country|pays"},
          {Role::Type, "type"}},
         {Role::Code},
         {RealDataFile::Airports}},
        {"RUNWAY",
         {{Role::Airport, "icao|oaci"},
          {Role::End1, "end 1&ident"},
          {Role::End2, "end 2&ident"},
          {Role::Length, "length|longueur"},
          {Role::Heading1, "end 1&heading"},
          {Role::Heading2, "end 2&heading"},
          {Role::Elevation1, "end 1&elev|end 1&alti"},
          {Role::Elevation2, "end 2&elev|end 2&alti"},
          {Role::Key, "key&!unique|clé&!unique"},
          {Role::Unique, "unique"}},
         {Role::Airport, Role::End1, Role::End2},
         {RealDataFile::Runways}},
        {"NAVAID",
         {{Role::Code, "ident&!unique&!key"},
          {Role::Name, "name|nom"},
          {Role::Frequency, "freq"},
          {Role::Type, "type"},
          {Role::Elevation, "elevation|altitude"},
          {Role::Key, "key&!unique|clé&!unique"},
          {Role::Unique, "unique"},
          {Role::Country, "country|pays"}},
         {Role::Code, Role::Type},
         {RealDataFile::Navaids}},
        {"COMM",
         {{Role::Airport, "icao|oaci"},
          {Role::Type, "type"},
          {Role::Name, "name|nom"},
          {Role::Frequency, "freq"},
          {Role::Frequency2, "freq&2"},
          {Role::Key, "key&!unique|clé&!unique"},
          {Role::Unique, "unique"}},
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
    case Role::Key:
        return c.key;
    case Role::Unique:
        return c.unique;
    case Role::Country:
        return c.country;
    case Role::Elevation1:
        return c.endElevation[0];
    case Role::Elevation2:
        return c.endElevation[1];
    case Role::Frequency2:
        return c.frequency2;
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

// Letters and digits, letter case and accents aside: "Saint-Exupéry" and
// "SAINT EXUPERY" are one name.
std::string NameKey(std::string_view cp1252) {
    // The base letter of Windows-1252's letters 0xC0..0xFF ('*' for the signs).
    static constexpr char kBase[] = "AAAAAAACEEEEIIIIDNOOOOO*OUUUUYTS"
                                    "AAAAAAACEEEEIIIIDNOOOOO*OUUUUYTY";
    std::string key;
    for (char c : cp1252) {
        const auto u = static_cast<unsigned char>(c);
        if (std::isalnum(u) && u < 0x80)
            key += static_cast<char>(std::toupper(u));
        else if (u >= 0xC0 && kBase[u - 0xC0] != '*')
            key += kBase[u - 0xC0];
        else if (u == 0x8A || u == 0x9A) // Š š
            key += 'S';
        else if (u == 0x8E || u == 0x9E) // Ž ž
            key += 'Z';
        else if (u == 0x8C || u == 0x9C) // Œ œ
            key += "OE";
        else if (u == 0x9F) // Ÿ
            key += 'Y';
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
        // A number past the range of a double reads as infinity: no place,
        // as for a cell that does not read (its wrap would give NaN).
        if (!lat || !lon || !std::isfinite(*lat) || !std::isfinite(*lon) ||
            std::abs(*lat / kArcSecondsPerDegree) > 90)
            return std::nullopt;
        return GeoPoint{WrapLongitude(*lon / kArcSecondsPerDegree), *lat / kArcSecondsPerDegree};
    }
    // An I cell: the table shows a negative value as its unsigned 32-bit
    // twin ("4294967285" for -11 ft).
    std::optional<long long> Whole(int column, int row) const {
        auto value = ParseWholeNumber(Trimmed(table.Cell(column, row)));
        if (value && *value >= 0x80000000LL && *value <= 0xFFFFFFFFLL) *value -= 0x100000000LL;
        return value;
    }
    // The row's place: the first coordinate pair's.
    std::optional<GeoPoint> Place(int row) const {
        if (columns.positions.empty()) return std::nullopt;
        return Position(columns.positions[0], row);
    }
    // The row's country: the real world's, else its country cell, else the
    // two letters its key begins with (keys are a country code and digits).
    std::string CountryOf(int row, const std::string& real) const {
        if (!real.empty()) return real;
        if (columns.country >= 0)
            return Cp1252ToUtf8(Upper(Trimmed(table.Cell(columns.country, row))));
        const std::string key =
            columns.key >= 0 ? Upper(Trimmed(table.Cell(columns.key, row))) : "";
        const auto letter = [](char ch) { return ch >= 'A' && ch <= 'Z'; };
        return key.size() > 2 && letter(key[0]) && letter(key[1]) ? key.substr(0, 2) : "";
    }
    std::string Decimal(double value) const {
        return FormatFixed(value, 4, options.decimalSeparator);
    }
    // A real-world name as the field holds it: 8-bit (letters Windows-1252
    // lacks written as their base letter), cut to the field's width.
    std::string NameText(const std::string& utf8) const {
        return RealTextForField(utf8, columns.name, fields);
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

// The findings of one row, from index `from` on: where the row is, and its country.
void Locate(std::vector<ReconcileFinding>& out, std::size_t from, std::optional<GeoPoint> here,
            const std::string& country) {
    for (std::size_t i = from; i < out.size(); ++i) {
        if (here) out[i].at = *here;
        out[i].placed = here.has_value();
        out[i].country = country;
    }
}

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

// Where the rows are: within kAreaReachMetres of a row, in the countries of
// the records matched. A table of a few regions far apart has their clusters
// for area, not one box spanning an ocean.
constexpr double kAreaReachMetres = 100000;
constexpr double kMetresPerDegree = 111195;

struct Area {
    std::unordered_set<std::string> countries;
    // The rows' places by one-degree cell.
    std::unordered_map<int, std::vector<GeoPoint>> cells;
    static int Cell(int lat, int lon) {
        return (std::clamp(lat, -90, 89) + 90) * 360 + ((lon % 360 + 360) % 360);
    }
    void Add(GeoPoint p) {
        cells[Cell(int(std::floor(p.lat)), int(std::floor(p.lon)))].push_back(p);
    }
    bool Holds(GeoPoint p, const std::string& country) const {
        if (!countries.empty() && !countries.count(country)) return false;
        const int lat = int(std::floor(p.lat)), lon = int(std::floor(p.lon));
        // The cells a reach of 100 km spans around p: one of latitude, more
        // of longitude towards the poles.
        const double across =
            kMetresPerDegree * std::max(0.01, std::cos(p.lat * 3.14159265358979 / 180));
        const int lonCells = std::min(180, int(std::ceil(kAreaReachMetres / across)));
        for (int dLat = -1; dLat <= 1; ++dLat)
            for (int dLon = -lonCells; dLon <= lonCells; ++dLon) {
                const auto it = cells.find(Cell(lat + dLat, lon + dLon));
                if (it == cells.end()) continue;
                for (const GeoPoint& row : it->second)
                    if (SurfaceMetres(row, p) <= kAreaReachMetres) return true;
            }
        return false;
    }
};

// --- Airports -------------------------------------------------------------------

// The real-world records by an upper-case code, each list in the file's order.
template <typename R, typename Code>
std::unordered_map<std::string, std::vector<std::size_t>> IndexBy(const std::vector<R>& records,
                                                                  Code code) {
    std::unordered_map<std::string, std::vector<std::size_t>> index;
    for (std::size_t i = 0; i < records.size(); ++i)
        index[Upper(code(records[i]))].push_back(i);
    return index;
}

const std::vector<std::size_t>&
Listed(const std::unordered_map<std::string, std::vector<std::size_t>>& index,
       const std::string& code) {
    static const std::vector<std::size_t> none;
    const auto it = index.find(code);
    return it == index.end() ? none : it->second;
}

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
        const auto here = c.Place(row);
        const std::size_t from = out.size();
        std::size_t index = real.airports.size();
        if (const auto it = byIdent.find(code); it != byIdent.end())
            index = it->second;
        else if (const auto by = byCode.find(code); by != byCode.end())
            index = by->second;
        if (index == real.airports.size()) {
            out.push_back(At(ReconcileKind::NotInRealWorld, row, ""));
            Locate(out, from, here, c.CountryOf(row, ""));
            continue;
        }
        const RealAirport& a = real.airports[index];
        matched[index] = true;
        const LabelFn label = [&a] { return Label(a.ident, a.name); };
        if (a.Closed()) {
            ReconcileFinding f = At(ReconcileKind::NotInRealWorld, row, label());
            f.closed = true;
            out.push_back(std::move(f));
        } else {
            area.countries.insert(a.country);
            if (here) area.Add(*here);
            if (!c.columns.positions.empty())
                CheckMove(c, row, {{0, GeoPoint{a.lon, a.lat}}}, label, out);
            CheckElevation(c, row, a.elevationFt, label, out);
            CheckName(c, row, a.name, label, out);
        }
        Locate(out, from, here, c.CountryOf(row, a.country));
    }
    if (c.columns.positions.empty()) return;
    for (std::size_t i = 0; i < real.airports.size(); ++i) {
        const RealAirport& a = real.airports[i];
        if (matched[i] || a.Closed() || a.type == "heliport" || a.type == "balloonport") continue;
        if (!area.Holds({a.lon, a.lat}, a.country)) continue;
        ReconcileFinding f = At(ReconcileKind::Missing, 0, Label(a.ident, a.name));
        f.at = {a.lon, a.lat};
        f.placed = true;
        f.country = a.country;
        f.realIndex = i;
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

// How far a real-world type is from the table's: 0 for the same type, then
// its nearest kin, 10 for another type of the family, -1 for another family.
// A VOR/DME beside its TACAN twin is matched to the VOR-DME.
int TypeDistance(long long tableType, const std::string& realType) {
    static const std::pair<long long, std::vector<std::string_view>> kKin[] = {
        {1, {"VOR", "VOR-DME", "VORTAC"}},
        {4, {"TACAN", "VORTAC"}},
        {5, {"VORTAC", "TACAN", "VOR-DME", "VOR"}},
        {16, {"DME", "VOR-DME", "VORTAC", "TACAN"}},
        {17, {"VOR-DME", "VOR", "VORTAC"}},
        {8, {"NDB", "NDB-DME"}},
        {32, {"NDB", "NDB-DME"}},
    };
    for (const auto& [type, kin] : kKin)
        if (type == tableType)
            for (std::size_t i = 0; i < kin.size(); ++i)
                if (kin[i] == realType) return int(i);
    const int family = FamilyOfTableType(tableType);
    return family != 0 && FamilyOfRealType(realType) == family ? 10 : -1;
}

// A navaid of a matched one's identifier this near it is its co-sited twin
// (the TACAN of a VOR-DME on the same field): not a place the table lacks.
constexpr double kTwinMetres = 5000;

void ReconcileNavaids(const Context& c, const RealWorldData& real,
                      std::vector<ReconcileFinding>& out) {
    const auto byIdent = IndexBy(real.navaids, [](const RealNavaid& n) { return n.ident; });
    std::vector<bool> matched(real.navaids.size());
    Area area;
    for (int row = 1; row < c.table.RowCount(); ++row) {
        const std::string code = Upper(Trimmed(c.table.Cell(c.columns.code, row)));
        const auto type = ParseWholeNumber(Trimmed(c.table.Cell(c.columns.type, row)));
        const int family = type ? FamilyOfTableType(*type) : 0;
        if (code.empty() || family == 0) continue;
        const auto here = c.Place(row);
        const std::size_t from = out.size();
        // The type decides first, then the distance, within reach (the only
        // one when the row has no position).
        std::size_t best = real.navaids.size();
        std::pair<int, double> bestRank{0, 0};
        for (std::size_t i : Listed(byIdent, code)) {
            const RealNavaid& n = real.navaids[i];
            const int distance = TypeDistance(*type, n.type);
            const double metres = here ? SurfaceMetres(*here, {n.lon, n.lat}) : 0;
            if (distance < 0 || metres > kNavaidReachMetres) continue;
            if (best == real.navaids.size() || std::make_pair(distance, metres) < bestRank) {
                best = i;
                bestRank = {distance, metres};
            }
        }
        if (best == real.navaids.size()) {
            out.push_back(At(ReconcileKind::NotInRealWorld, row, ""));
            Locate(out, from, here, c.CountryOf(row, ""));
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
        Locate(out, from, here, c.CountryOf(row, n.country));
    }
    if (c.columns.positions.empty()) return;
    const auto twin = [&](const RealNavaid& n) {
        for (std::size_t j : Listed(byIdent, Upper(n.ident)))
            if (matched[j] && SurfaceMetres({n.lon, n.lat}, {real.navaids[j].lon,
                                                             real.navaids[j].lat}) <= kTwinMetres)
                return true;
        return false;
    };
    for (std::size_t i = 0; i < real.navaids.size(); ++i) {
        const RealNavaid& n = real.navaids[i];
        if (matched[i] || FamilyOfRealType(n.type) == 0 || !area.Holds({n.lon, n.lat}, n.country) ||
            twin(n))
            continue;
        ReconcileFinding f =
            At(ReconcileKind::Missing, 0, Label(n.ident, n.name + " (" + n.type + ")"));
        f.at = {n.lon, n.lat};
        f.placed = true;
        f.country = n.country;
        f.realIndex = i;
        out.push_back(std::move(f));
    }
}

// --- Runways ----------------------------------------------------------------------

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// Magnetic drift moves an end by one or two numbers; a runway farther round
// is another runway, whatever its place.
constexpr int kRenumberingReach = 2;

// The number an end's identifier starts with ("27L" -> 27); none for "H1", "N".
std::optional<int> EndNumber(std::string_view key) {
    int number = 0;
    std::size_t i = 0;
    for (; i < key.size() && i < 3 && IsDigit(key[i]); ++i)
        number = number * 10 + (key[i] - '0');
    if (i == 0) return std::nullopt;
    return number;
}

bool WithinRenumbering(std::string_view a, std::string_view b) {
    const auto x = EndNumber(a), y = EndNumber(b);
    if (!x || !y) return true;
    const int apart = std::abs(*x - *y) % 36;
    return std::min(apart, 36 - apart) <= kRenumberingReach;
}

// True for an identifier whose number has one digit ("4R", "9").
bool OneDigit(std::string_view ident) {
    return !ident.empty() && IsDigit(ident[0]) && (ident.size() == 1 || !IsDigit(ident[1]));
}

// A real end's identifier written as the table writes its own: "04R" unless
// the table writes "4R".
std::string InTableStyle(const std::string& real, const std::string (&ends)[2]) {
    const std::string key = RunwayEndKey(real);
    const bool padded = !OneDigit(ends[0]) && !OneDigit(ends[1]);
    return padded && OneDigit(key) ? "0" + key : key;
}

struct RunwayRow {
    int row = 0;
    std::string text[2], key[2]; // the end identifiers as written, and as compared
    std::optional<GeoPoint> at[2];
};

struct RunwayMatch {
    const RealRunway* real = nullptr;
    bool swapped = false; // the real "le" end is the table's end 2
    bool renumbered = false;
};

const RealRunwayEnd& EndOf(const RealRunway& r, bool swapped, int end) {
    return (end == 0) != swapped ? r.low : r.high;
}

// The farther of the two ends from the real ones (in an orientation);
// infinite when an end has no place.
double EndsApart(const RunwayRow& row, const RealRunway& r, bool swapped) {
    double most = 0;
    for (int e = 0; e < 2; ++e) {
        const RealRunwayEnd& end = EndOf(r, swapped, e);
        if (!row.at[e] || !end.Placed()) return HUGE_VAL;
        most = std::max(most, SurfaceMetres(*row.at[e], {*end.lon, *end.lat}));
    }
    return most;
}

// The real runways of an airport matched to its rows: by end identifiers
// first (their order by place when both ends carry one), then, for rows left,
// by the places of both ends within the threshold and a heading within the
// renumbering's reach. Open before closed, then the nearest, then row order;
// one real runway answers one row.
void MatchRunways(const Context& c, const RealWorldData& real,
                  const std::vector<std::size_t>& reals, const std::vector<RunwayRow>& rows,
                  const std::vector<std::size_t>& group, std::vector<RunwayMatch>& match) {
    struct Candidate {
        bool closed;
        double apart;
        std::size_t row, real;
        bool swapped;
        bool operator<(const Candidate& o) const {
            return std::tie(closed, apart, row, real) < std::tie(o.closed, o.apart, o.row, o.real);
        }
    };
    std::vector<bool> taken(reals.size());
    const auto assign = [&](std::vector<Candidate>& candidates, bool renumbered) {
        std::sort(candidates.begin(), candidates.end());
        for (const Candidate& x : candidates) {
            if (match[x.row].real || taken[x.real]) continue;
            taken[x.real] = true;
            match[x.row] = {&real.runways[reals[x.real]], x.swapped, renumbered};
        }
    };
    std::vector<Candidate> byIdent, byPlace;
    for (std::size_t ri : group) {
        const RunwayRow& row = rows[ri];
        for (std::size_t k = 0; k < reals.size(); ++k) {
            const RealRunway& r = real.runways[reals[k]];
            const std::string low = RunwayEndKey(r.low.ident), high = RunwayEndKey(r.high.ident);
            const bool straight = low == row.key[0] && high == row.key[1];
            const bool crossed = low == row.key[1] && high == row.key[0];
            if (!straight && !crossed) continue;
            // Identifiers decide the order unless both orders fit them.
            const double apartStraight = EndsApart(row, r, false),
                         apartCrossed = EndsApart(row, r, true);
            const bool swapped = straight && crossed ? apartCrossed < apartStraight : crossed;
            byIdent.push_back({r.closed, swapped ? apartCrossed : apartStraight, ri, k, swapped});
        }
    }
    assign(byIdent, false);
    for (std::size_t ri : group) {
        if (match[ri].real) continue;
        for (std::size_t k = 0; k < reals.size(); ++k) {
            const RealRunway& r = real.runways[reals[k]];
            if (taken[k]) continue;
            for (const bool swapped : {false, true}) {
                const double apart = EndsApart(rows[ri], r, swapped);
                if (apart <= c.options.thresholdMetres &&
                    WithinRenumbering(rows[ri].key[0], RunwayEndKey(EndOf(r, swapped, 0).ident)) &&
                    WithinRenumbering(rows[ri].key[1], RunwayEndKey(EndOf(r, swapped, 1).ident)))
                    byPlace.push_back({r.closed, apart, ri, k, swapped});
            }
        }
    }
    assign(byPlace, true);
}

void ReconcileRunways(const Context& c, const RealWorldData& real,
                      std::vector<ReconcileFinding>& out) {
    const auto byAirport =
        IndexBy(real.runways, [](const RealRunway& r) { return r.airportIdent; });
    const bool placed = c.columns.positions.size() >= 2;
    std::vector<RunwayRow> rows;
    std::unordered_map<std::string, std::vector<std::size_t>> rowsOf;
    std::vector<std::string> airports; // in the order of their first row
    for (int row = 1; row < c.table.RowCount(); ++row) {
        const std::string airport = Upper(Trimmed(c.table.Cell(c.columns.airport, row)));
        if (airport.empty()) continue;
        RunwayRow r;
        r.row = row;
        for (int e = 0; e < 2; ++e) {
            r.text[e] = Trimmed(c.table.Cell(c.columns.end[e], row));
            r.key[e] = RunwayEndKey(r.text[e]);
            if (placed) r.at[e] = c.Position(c.columns.positions[std::size_t(e)], row);
        }
        auto& group = rowsOf[airport];
        if (group.empty()) airports.push_back(airport);
        group.push_back(rows.size());
        rows.push_back(std::move(r));
    }
    std::vector<RunwayMatch> match(rows.size());
    for (const std::string& airport : airports)
        MatchRunways(c, real, Listed(byAirport, airport), rows, rowsOf[airport], match);

    for (std::size_t ri = 0; ri < rows.size(); ++ri) {
        const RunwayRow& rw = rows[ri];
        const int row = rw.row;
        const std::size_t from = out.size();
        const std::optional<GeoPoint> here = rw.at[0] ? rw.at[0] : rw.at[1];
        const RealRunway* r = match[ri].real;
        if (!r) {
            out.push_back(At(ReconcileKind::NotInRealWorld, row, ""));
            Locate(out, from, here, c.CountryOf(row, ""));
            continue;
        }
        const RealRunwayEnd* realEnd[2] = {&EndOf(*r, match[ri].swapped, 0),
                                           &EndOf(*r, match[ri].swapped, 1)};
        const LabelFn label = [r] {
            return Label(r->airportIdent, r->low.ident + "/" + r->high.ident);
        };
        if (r->closed) {
            ReconcileFinding f = At(ReconcileKind::NotInRealWorld, row, label());
            f.closed = true;
            out.push_back(std::move(f));
            Locate(out, from, here, c.CountryOf(row, ""));
            continue;
        }
        if (match[ri].renumbered) {
            ReconcileFinding f = At(ReconcileKind::Renumbered, row, label());
            for (int e = 0; e < 2; ++e) {
                c.Change(f, c.columns.end[e], InTableStyle(realEnd[e]->ident, rw.text));
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
        if (c.columns.length >= 0 && r->lengthFt) {
            const auto now = c.Whole(c.columns.length, row);
            if (!now || *now != *r->lengthFt) {
                ReconcileFinding f = At(ReconcileKind::Length, row, label());
                c.Change(f, c.columns.length, std::to_string(*r->lengthFt));
                out.push_back(std::move(f));
            }
        }
        Locate(out, from, here, c.CountryOf(row, ""));
    }
}

// --- Airport frequencies -------------------------------------------------------

// The table's frequency types (1 tower, 4 ground, 8 approach, 16 departure,
// 128 ATIS) and the words of the real-world types that mean them: the files
// write "TWR", "TOWER", "A/D", "ARR", "D-ATIS", "APP/DEP", "RKTN_GND"…
bool RealTypeMeans(const std::string& realType, long long tableType) {
    static const std::pair<long long, std::vector<std::string_view>> kWords[] = {
        {1, {"TWR", "TOWER"}},
        {4, {"GND", "GNDC", "GRND", "GROUND", "SMC"}},
        {8, {"APP", "APPR", "APPROACH", "ARR"}},
        {16, {"DEP", "DEPT", "DEPARTURE", "DEPARTURES"}},
        {128, {"ATIS"}},
    };
    const std::string type = Upper(realType);
    // Arrival and departure.
    if ((tableType == 8 || tableType == 16) && type.find("A/D") != std::string::npos) return true;
    for (const auto& [kind, words] : kWords) {
        if (kind != tableType) continue;
        std::size_t i = 0;
        while (i < type.size()) {
            while (i < type.size() && !std::isalnum(static_cast<unsigned char>(type[i])))
                ++i;
            std::size_t end = i;
            while (end < type.size() && std::isalnum(static_cast<unsigned char>(type[end])))
                ++end;
            std::string_view word(type.data() + i, end - i);
            while (!word.empty() && IsDigit(word.back())) // "TWR2", "APPR2"
                word.remove_suffix(1);
            if (!word.empty() && std::find(words.begin(), words.end(), word) != words.end())
                return true;
            i = end;
        }
    }
    return false;
}

bool KnownFrequencyType(long long type) {
    return type == 1 || type == 4 || type == 8 || type == 16 || type == 128;
}

void ReconcileFrequencies(const Context& c, const RealWorldData& real,
                          std::vector<ReconcileFinding>& out) {
    const auto byAirport =
        IndexBy(real.frequencies, [](const RealFrequency& f) { return f.airportIdent; });
    for (int row = 1; row < c.table.RowCount(); ++row) {
        const std::string airport = Upper(Trimmed(c.table.Cell(c.columns.airport, row)));
        const auto type = ParseWholeNumber(Trimmed(c.table.Cell(c.columns.type, row)));
        if (airport.empty() || !type || !KnownFrequencyType(*type)) continue;
        const auto now = c.Number(c.columns.frequency, row);
        const std::size_t from = out.size();
        // Of that kind, in the file's order; the one proposed is the nearest
        // to the table's value (the first when the cell holds none).
        std::vector<const RealFrequency*> kind;
        for (std::size_t i : Listed(byAirport, airport))
            if (RealTypeMeans(real.frequencies[i].type, *type))
                kind.push_back(&real.frequencies[i]);
        const auto gap = [&](const RealFrequency* f) { return std::fabs(*now - f->frequencyMhz); };
        // Either of the row's frequencies may be the real one.
        const auto held = [&](const RealFrequency* f) {
            for (int column : {c.columns.frequency, c.columns.frequency2})
                if (const auto value = c.Number(column, row);
                    value && std::fabs(*value - f->frequencyMhz) < 0.0005)
                    return true;
            return false;
        };
        if (std::any_of(kind.begin(), kind.end(), held)) continue;
        if (kind.empty()) {
            out.push_back(At(ReconcileKind::NotInRealWorld, row, ""));
        } else {
            const RealFrequency* proposed = kind.front();
            for (const RealFrequency* f : kind)
                if (now && gap(f) < gap(proposed)) proposed = f;
            ReconcileFinding f = At(ReconcileKind::Frequency, row,
                                    Label(proposed->airportIdent, proposed->description));
            const std::string value = c.Decimal(proposed->frequencyMhz);
            c.Change(f, c.columns.frequency, value);
            for (const RealFrequency* other : kind) {
                const std::string text = c.Decimal(other->frequencyMhz);
                if (text != value && std::find(f.alternatives.begin(), f.alternatives.end(),
                                               text) == f.alternatives.end())
                    f.alternatives.push_back(text);
            }
            out.push_back(std::move(f));
        }
        Locate(out, from, c.Place(row), c.CountryOf(row, ""));
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

std::optional<int> TableFrequencyType(const std::string& realType) {
    for (int type : {1, 4, 8, 16, 128})
        if (RealTypeMeans(realType, type)) return type;
    return std::nullopt;
}

std::string RunwayEndKey(std::string_view ident) {
    std::string key = Upper(Trimmed(ident));
    std::size_t zeros = 0;
    while (zeros + 1 < key.size() && key[zeros] == '0' && IsDigit(key[zeros + 1]))
        ++zeros;
    return key.substr(zeros);
}

std::string RealTextForField(std::string_view utf8, int column,
                             const std::vector<FieldDef>& fields) {
    std::string text = Utf8ToCp1252Transliterated(utf8);
    const std::size_t f = std::size_t(column - kFirstFieldColumn);
    if (f < fields.size() && fields[f].IsText() && text.size() > std::size_t(fields[f].Width))
        text.resize(std::size_t(fields[f].Width));
    return std::string(Trimmed(text));
}

// --- Reviewing the findings ---------------------------------------------------

int ReconcileKindRank(ReconcileKind kind) {
    switch (kind) {
    case ReconcileKind::NotInRealWorld:
        return 1;
    case ReconcileKind::Missing:
        return 2;
    default:
        return 0;
    }
}

std::vector<int> ReviewOrder(const std::vector<ReconcileFinding>& findings) {
    return FilterFindings(findings, {});
}

ReconcileCounts CountByKind(const std::vector<ReconcileFinding>& findings) {
    ReconcileCounts counts{};
    for (const ReconcileFinding& f : findings)
        ++counts[std::size_t(f.kind)];
    return counts;
}

namespace {
struct KindWords {
    ReconcileKind kind;
    const char* word;
    BiText name;
};
// In the order of the enumeration.
constexpr KindWords kKindWords[kReconcileKindCount] = {
    {ReconcileKind::Moved, "moved", txt::ReconcileKindMoved},
    {ReconcileKind::Elevation, "elevation", txt::ReconcileKindElevation},
    {ReconcileKind::Name, "name", txt::ReconcileKindName},
    {ReconcileKind::Frequency, "frequency", txt::ReconcileKindFrequency},
    {ReconcileKind::Renumbered, "renumbered", txt::ReconcileKindRenumbered},
    {ReconcileKind::Length, "length", txt::ReconcileKindLength},
    {ReconcileKind::NotInRealWorld, "not-in-real-world", txt::ReconcileKindNotInRealWorld},
    {ReconcileKind::Missing, "not-in-table", txt::ReconcileKindMissing},
};
constexpr bool InEnumerationOrder() {
    for (int k = 0; k < kReconcileKindCount; ++k)
        if (kKindWords[k].kind != ReconcileKind(k)) return false;
    return true;
}
static_assert(InEnumerationOrder());
} // namespace

const char* ReconcileKindWord(ReconcileKind kind) {
    return kKindWords[std::size_t(kind)].word;
}

std::optional<ReconcileKind> ReconcileKindOfWord(std::string_view word) {
    for (const KindWords& k : kKindWords)
        if (Upper(word) == Upper(k.word)) return k.kind;
    return std::nullopt;
}

BiText ReconcileKindName(ReconcileKind kind) {
    return kKindWords[std::size_t(kind)].name;
}

bool ReconcileFilter::Accepts(const ReconcileFinding& f) const {
    if (!kinds.empty() && std::find(kinds.begin(), kinds.end(), f.kind) == kinds.end())
        return false;
    if (!countries.empty() &&
        std::none_of(countries.begin(), countries.end(),
                     [&](const std::string& c) { return Upper(c) == Upper(f.country); }))
        return false;
    if (area) {
        const auto& [sw, ne] = *area;
        if (!f.placed || f.at.lat < sw.lat || f.at.lat > ne.lat) return false;
        // An area may cross the date line: its west corner east of its east one.
        const bool inside = sw.lon <= ne.lon ? f.at.lon >= sw.lon && f.at.lon <= ne.lon
                                             : f.at.lon >= sw.lon || f.at.lon <= ne.lon;
        if (!inside) return false;
    }
    return true;
}

std::vector<int> FilterFindings(const std::vector<ReconcileFinding>& findings,
                                const ReconcileFilter& filter) {
    std::vector<int> order;
    for (std::size_t i = 0; i < findings.size(); ++i)
        if (filter.Accepts(findings[i])) order.push_back(int(i));
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
        return ReconcileKindRank(findings[std::size_t(a)].kind) <
               ReconcileKindRank(findings[std::size_t(b)].kind);
    });
    return order;
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

std::string ReconcileAlternativesText(const ReconcileFinding& f, Lang lang) {
    std::string others;
    for (const std::string& value : f.alternatives)
        others += (others.empty() ? "\"" : ", \"") + Cp1252ToUtf8(value) + "\"";
    return others.empty() ? others : Format(txt::ReconcileAlternatives.In(lang), others.c_str());
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
