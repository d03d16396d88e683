#include "realworld/RealWorldAdd.h"

#include "database/DbdFile.h"
#include "database/RecordConversion.h"
#include "exchange/DexFile.h"
#include "platform/Errors.h"
#include "platform/Paths.h"
#include "table/ValueDisplay.h"

#include <algorithm>
#include <cstdio>
#include <map>
#include <set>

namespace orvane {

namespace {

constexpr double kArcSeconds = 3600;

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// A key split as the simulator's keys are made: a prefix, then a number
// ("FRN0012": "FRN", 12, four digits).
struct KeyShape {
    std::string prefix;
    long long number = 0;
    std::size_t digits = 0;
};

KeyShape ShapeOf(std::string_view key) {
    std::size_t end = key.size();
    while (end > 0 && IsDigit(key[end - 1]))
        --end;
    KeyShape shape{std::string(key.substr(0, end)), 0, key.size() - end};
    for (std::size_t i = end; i < key.size() && i < end + 15; ++i)
        shape.number = shape.number * 10 + (key[i] - '0');
    return shape;
}

// The keys and unique identifiers of a table, and the next free ones.
class NewKeys {
  public:
    NewKeys(const RecordTable& table, const ReconcileColumns& c) : c_(c) {
        for (int row = 1; row < table.RowCount(); ++row) {
            if (c.key >= 0) {
                const std::string key = ToUpperAscii(TrimCell(table.Cell(c.key, row)));
                if (key.empty()) continue;
                keys_.insert(key);
                const KeyShape shape = ShapeOf(key);
                most_[shape.prefix] = std::max(most_[shape.prefix], shape.number);
                const std::string country =
                    c.country >= 0 ? ToUpperAscii(TrimCell(table.Cell(c.country, row))) : "";
                shapes_.push_back({country, shape});
            }
            if (c.unique >= 0) {
                const std::string_view id = TrimCell(table.Cell(c.unique, row));
                uniques_.insert(std::string(id));
                if (id.size() == 16)
                    high_ = std::max(high_, std::uint32_t(HexValue(id.substr(0, 8))));
            }
        }
    }

    // The next free key of a country: the prefix its rows' keys share most
    // (rows of its country, or keys that begin with its code), else the
    // table's most common shape with the country's code in front.
    std::string Key(const std::string& country, int width) {
        const std::string code = ToUpperAscii(country);
        std::map<std::string, int> ofCountry, all;
        std::map<std::string, std::size_t> digits;
        for (const auto& [rowCountry, shape] : shapes_) {
            ++all[shape.prefix];
            digits[shape.prefix] = std::max(digits[shape.prefix], shape.digits);
            const bool mine =
                c_.country >= 0 ? rowCountry == code : shape.prefix.rfind(code, 0) == 0;
            if (mine && !code.empty()) ++ofCountry[shape.prefix];
        }
        const auto commonest = [](const std::map<std::string, int>& counts) {
            std::string best;
            int most = 0;
            for (const auto& [prefix, n] : counts)
                if (n > most) best = prefix, most = n;
            return best;
        };
        std::string prefix = commonest(ofCountry);
        std::size_t digitCount = digits[prefix];
        if (ofCountry.empty()) {
            const std::string shape = commonest(all);
            // "FRN" in a table of navaids: a two-letter code, then "N".
            prefix = code + (shape.size() > 2 ? shape.substr(2) : "");
            digitCount = all.empty() ? 0 : digits[shape];
        }
        if (digitCount == 0) digitCount = std::size_t(std::max(1, width - int(prefix.size())));
        long long number = most_[prefix];
        std::string key;
        do {
            const std::string n = std::to_string(++number);
            key = prefix + std::string(digitCount > n.size() ? digitCount - n.size() : 0, '0') + n;
        } while (keys_.count(key));
        most_[prefix] = number;
        keys_.insert(key);
        shapes_.push_back({code, ShapeOf(key)});
        return key;
    }

    // A unique identifier as the table's are made (eight hexadecimal digits,
    // then the time stamp's eight) that no row holds.
    std::string Unique(std::int32_t stamp) {
        std::string id;
        do {
            char text[24];
            std::snprintf(text, sizeof text, "%08X%08X", ++high_, std::uint32_t(stamp));
            id = text;
        } while (uniques_.count(id));
        uniques_.insert(id);
        return id;
    }

  private:
    const ReconcileColumns& c_;
    std::set<std::string> keys_, uniques_;
    std::map<std::string, long long> most_;
    std::vector<std::pair<std::string, KeyShape>> shapes_;
    std::uint32_t high_ = 0x00FFFFFF;
};

// A new row at the table's end, every field at its neutral value.
int NeutralRow(RecordTable& table, const std::vector<FieldDef>& fields, char separator) {
    const int row = table.RowCount();
    table.SetRowCount(row + 1);
    static const RecordBuffer zero{};
    RecordToCells(zero, fields, table, row, separator, BadDoublePolicy::Warn, nullptr);
    table.SetCell(kColNumber, row, std::to_string(row));
    return row;
}

// Writes the cells of one new row; a column the table lacks (-1) is skipped.
struct RowWriter {
    RecordTable& table;
    const std::vector<FieldDef>& fields;
    char separator;
    int row;
    void Text(int column, const std::string& text) const {
        if (column >= 0) table.SetCell(column, row, text);
    }
    void Utf8(int column, const std::string& utf8) const {
        if (column >= 0) Text(column, RealTextForField(utf8, column, fields));
    }
    void Whole(int column, std::optional<long long> value) const {
        if (value) Text(column, std::to_string(*value));
    }
    void Decimal(int column, std::optional<double> value) const {
        if (value) Text(column, FormatFixed(*value, 4, separator));
    }
    void Place(const CoordinateFields* p, std::optional<double> lat,
               std::optional<double> lon) const {
        if (!p || !lat || !lon) return;
        Decimal(p->latitude, *lat * kArcSeconds);
        Decimal(p->longitude, *lon * kArcSeconds);
    }
};

const CoordinateFields* PairAt(const ReconcileColumns& c, std::size_t i) {
    return i < c.positions.size() ? &c.positions[i] : nullptr;
}

int AirportType(const std::string& realType) {
    if (realType == "heliport") return 4;
    if (realType == "seaplane_base") return 8;
    if (realType == "balloonport") return 16;
    return 1;
}

int NavaidType(const std::string& realType) {
    static const std::pair<const char*, int> kTypes[] = {
        {"VOR", 1},     {"TACAN", 4}, {"VORTAC", 5},  {"NDB", 8},
        {"NDB-DME", 8}, {"DME", 16},  {"VOR-DME", 17}};
    for (const auto& [name, type] : kTypes)
        if (realType == name) return type;
    return 0;
}

int FieldWidth(const std::vector<FieldDef>& fields, int column) {
    const std::size_t f = std::size_t(column - kFirstFieldColumn);
    return f < fields.size() ? fields[f].Width : 10;
}

} // namespace

std::vector<RealWorldAdded>
AddFromRealWorld(RecordTable& table, const std::vector<FieldDef>& fields, std::string_view dataType,
                 const RealWorldData& real, const std::vector<ReconcileFinding>& findings,
                 const std::vector<int>& chosen, char decimalSeparator, std::int32_t stamp) {
    const ReconcileColumns c = FindReconcileColumns(table, dataType);
    const bool airports = dataType == "AIRPORT";
    if (!airports && dataType != "NAVAID") return {};
    NewKeys keys(table, c);
    std::vector<RealWorldAdded> added;
    for (int index : chosen) {
        if (index < 0 || std::size_t(index) >= findings.size()) continue;
        const ReconcileFinding& f = findings[std::size_t(index)];
        const std::size_t count = airports ? real.airports.size() : real.navaids.size();
        if (f.kind != ReconcileKind::Missing || f.realIndex >= count) continue;
        const int row = NeutralRow(table, fields, decimalSeparator);
        const RowWriter w{table, fields, decimalSeparator, row};
        const std::string& country =
            airports ? real.airports[f.realIndex].country : real.navaids[f.realIndex].country;
        const std::string key = c.key >= 0 ? keys.Key(country, FieldWidth(fields, c.key)) : "";
        w.Text(c.key, key);
        w.Text(c.unique, keys.Unique(stamp));
        w.Utf8(c.country, country);
        if (airports) {
            const RealAirport& a = real.airports[f.realIndex];
            w.Utf8(c.code, a.icaoCode.empty() ? a.ident : a.icaoCode);
            w.Utf8(c.name, a.name);
            w.Whole(c.type, AirportType(a.type));
            w.Place(PairAt(c, 0), a.lat, a.lon);
            w.Whole(c.elevation, a.elevationFt);
        } else {
            const RealNavaid& n = real.navaids[f.realIndex];
            const int type = NavaidType(n.type);
            w.Utf8(c.code, n.ident);
            w.Utf8(c.name, n.name);
            w.Whole(c.type, type);
            // MHz for the VOR family, kHz for NDBs.
            if (n.frequencyKhz > 0)
                w.Decimal(c.frequency, type == 8 ? n.frequencyKhz : n.frequencyKhz / 1000);
            w.Place(PairAt(c, 0), n.lat, n.lon);
            w.Whole(c.elevation, n.elevationFt);
        }
        added.push_back({row, index, key, f.realIndex});
    }
    return added;
}

int AddRealAirportParts(RecordTable& table, const std::vector<FieldDef>& fields,
                        std::string_view dataType, const RealWorldData& real,
                        const std::vector<AddedAirport>& airports, char decimalSeparator,
                        std::int32_t stamp) {
    const ReconcileColumns c = FindReconcileColumns(table, dataType);
    const bool runways = dataType == "RUNWAY";
    if (!runways && dataType != "COMM") return 0;
    NewKeys keys(table, c);
    const int before = table.RowCount();
    for (const AddedAirport& added : airports) {
        const RealAirport& a = added.airport;
        const std::string ident = ToUpperAscii(a.ident);
        const auto start = [&] {
            const int row = NeutralRow(table, fields, decimalSeparator);
            const RowWriter w{table, fields, decimalSeparator, row};
            w.Text(c.key, added.key);
            w.Utf8(c.airport, a.icaoCode.empty() ? a.ident : a.icaoCode);
            w.Text(c.unique, keys.Unique(stamp));
            return w;
        };
        if (runways) {
            for (const RealRunway& r : real.runways) {
                if (r.closed || ToUpperAscii(r.airportIdent) != ident) continue;
                const RowWriter w = start();
                const RealRunwayEnd* ends[2] = {&r.low, &r.high};
                for (int e = 0; e < 2; ++e) {
                    // "04R", as the simulator writes its ends.
                    std::string end = RunwayEndKey(ends[e]->ident);
                    if (!end.empty() && IsDigit(end[0]) && (end.size() == 1 || !IsDigit(end[1])))
                        end = "0" + end;
                    w.Text(c.end[e], end);
                    w.Place(PairAt(c, std::size_t(e)), ends[e]->lat, ends[e]->lon);
                    w.Decimal(c.heading[e], ends[e]->headingTrue);
                    w.Whole(c.endElevation[e], ends[e]->elevationFt);
                }
                w.Whole(c.length, r.lengthFt);
            }
        } else {
            for (const RealFrequency& f : real.frequencies) {
                if (ToUpperAscii(f.airportIdent) != ident) continue;
                const auto type = TableFrequencyType(f.type);
                if (!type) continue;
                const RowWriter w = start();
                w.Whole(c.type, *type);
                w.Utf8(c.name, f.description.empty() ? f.type : f.description);
                w.Decimal(c.frequency, f.frequencyMhz);
                w.Place(PairAt(c, 0), a.lat, a.lon);
            }
        }
    }
    return table.RowCount() - before;
}

int WriteAirportPartsDex(const SessionState& like, const std::string& archive,
                         const std::string& path, const RealWorldData& real,
                         const std::vector<AddedAirport>& airports, std::int32_t stamp,
                         UserInteraction& ui) {
    SessionState s;
    static_cast<SessionSettings&>(s) = like;
    s.Display = like.Display;
    // A load that fails without an error has said why (the archive's warning).
    if (!OpenDbdFromArchive(s, archive, "", ui).loaded) return 0;
    s.Table.SetRowCount(1);
    const int rows = AddRealAirportParts(s.Table, s.Fields(), s.DataType, real, airports,
                                         s.DecimalSeparator(), stamp);
    s.Table.RecountFlags();
    return rows > 0 ? ExportDex(s, path, false, ui) : 0;
}

} // namespace orvane
