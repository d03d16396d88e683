#include "demo/DemoFolder.h"

#include "database/ArchiveWriter.h"
#include "database/DbdFile.h"
#include "demo/DemoData.h"
#include "demo/OurAirportsSample.h"
#include "exchange/CsvFile.h"
#include "exchange/DexFile.h"
#include "platform/AtomicFile.h"
#include "platform/BinaryFile.h"
#include "platform/Cp1252.h"
#include "platform/Errors.h"
#include "platform/Paths.h"
#include "realworld/Reconcile.h"
#include "settings/Texts.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <string>
#include <variant>
#include <vector>

namespace orvane {

int DemoSummary::TotalRecords() const {
    int total = 0;
    for (const auto& [type, count] : records)
        total += count;
    return total;
}

namespace {

// --- Templates ----------------------------------------------------------------

struct DemoField {
    const char* name;
    int offset;
    int width;
    char type;
    const char* title;
};

struct Layout {
    std::string tag;
    int recordSize;
    std::vector<DemoField> fields;
};

// Fly! II layouts carry a unique identifier; the Fly! 1 ones do not, and the
// Fly! 1 airport and runway records have the sizes the simulator's own tools
// recognise (330 and 251 bytes).
const std::vector<DemoField> kAirportFields = {
    {"akey", 4, 10, 'C', "Airport key"},
    {"afaa", 14, 4, 'C', "FAA identifier"},
    {"aica", 18, 5, 'C', "ICAO identifier"},
    {"anam", 23, 40, 'C', "Name"},
    {"actr", 63, 3, 'C', "Country"},
    {"asta", 66, 3, 'C', "State"},
    {"acty", 69, 20, 'C', "County"},
    {"atyp", 89, 4, 'I', "Type (1 airport, 4 heliport, 8 seaplane base)"},
    {"alat", 93, 8, 'D', "Latitude"},
    {"alon", 101, 8, 'D', "Longitude"},
    {"aelv", 109, 4, 'I', "Elevation (ft)"},
    {"aown", 113, 4, 'I', "Ownership (1 public, 2 private)"},
    {"ause", 117, 4, 'I', "Usage (1 public, 2 private)"},
    {"auid", 121, 17, 'C', "Unique identifier"},
    {"amag", 166, 8, 'D', "Magnetic variation (deg)"},
    {"atpa", 174, 4, 'I', "Pattern altitude (ft)"},
    {"afss", 178, 1, 'C', "FSS on field"},
    {"antm", 179, 1, 'C', "NOTAM service"},
    {"aatc", 180, 1, 'C', "ATC available"},
    {"aseg", 181, 1, 'C', "Segmented circle"},
    {"afee", 182, 1, 'C', "Landing fees"},
    {"ajnt", 183, 1, 'C', "Joint use"},
    {"amil", 184, 1, 'C', "Military landing rights"},
    {"acus", 185, 1, 'C', "Customs entry point"},
    {"afue", 186, 4, 'I', "Fuel types"},
    {"aafs", 190, 4, 'I', "Airframe service"},
    {"apws", 194, 4, 'I', "Engine service"},
    {"abcn", 198, 4, 'I', "Beacon lens colour"},
    {"abas", 202, 4, 'I', "Based aircraft"},
    {"aopc", 206, 4, 'I', "Annual commercial operations"},
    {"aopg", 210, 4, 'I', "Annual general aviation operations"},
    {"aopm", 214, 4, 'I', "Annual military operations"},
    {"aatt", 218, 4, 'I', "Attendance"},
    {"algt", 238, 4, 'I', "Lighting flags"},
};

const std::vector<DemoField> kRunwayFields = {
    {"rkey", 4, 10, 'C', "Airport key"},
    {"rica", 14, 5, 'C', "ICAO identifier"},
    {"rid1", 19, 4, 'C', "End 1 identifier"},
    {"rid2", 23, 4, 'C', "End 2 identifier"},
    {"rlen", 27, 4, 'I', "Length (ft)"},
    {"rwid", 31, 4, 'I', "Width (ft)"},
    {"rsfc", 35, 4, 'C', "Surface"},
    {"r1la", 39, 8, 'D', "End 1 Latitude"},
    {"r1lo", 47, 8, 'D', "End 1 Longitude"},
    {"r1el", 55, 4, 'I', "End 1 elevation (ft)"},
    {"r1hd", 59, 8, 'D', "End 1 true heading"},
    {"r1li", 67, 4, 'I', "End 1 lights"},
    {"r2la", 71, 8, 'D', "End 2 Latitude"},
    {"r2lo", 79, 8, 'D', "End 2 Longitude"},
    {"r2el", 87, 4, 'I', "End 2 elevation (ft)"},
    {"r2hd", 91, 8, 'D', "End 2 true heading"},
    {"r2li", 99, 4, 'I', "End 2 lights"},
    {"ruid", 103, 17, 'C', "Unique identifier"},
};

const std::vector<DemoField> kNavaidFields = {
    {"nkey", 4, 10, 'C', "Navaid key"},
    {"nidt", 14, 5, 'C', "Identifier"},
    {"nnam", 19, 40, 'C', "Name"},
    {"nfrq", 59, 8, 'D', "Frequency (MHz, kHz for NDB)"},
    {"nmag", 67, 8, 'D', "Magnetic variation (deg)"},
    {"nslv", 75, 8, 'D', "Slaved variation (deg)"},
    {"ntyp", 89, 4, 'I', "Type (1 VOR, 5 VORTAC, 8 NDB, 17 VOR/DME)"},
    {"ncls", 93, 4, 'I', "Class (1 high, 2 low, 3 terminal)"},
    {"nuse", 97, 4, 'I', "Usage"},
    {"nlat", 101, 8, 'D', "Latitude"},
    {"nlon", 109, 8, 'D', "Longitude"},
    {"nelv", 117, 4, 'I', "Elevation (ft)"},
    {"nrng", 125, 4, 'I', "Range (nm)"},
    {"nuid", 129, 17, 'C', "Unique identifier"},
};

const std::vector<DemoField> kCommFields = {
    {"ckey", 4, 10, 'C', "Airport key"},
    {"cica", 14, 5, 'C', "ICAO identifier"},
    {"ctyp", 19, 4, 'I', "Type (1 tower, 4 ground, 8 approach, 128 ATIS)"},
    {"cnam", 23, 20, 'C', "Name"},
    {"cfr1", 43, 8, 'D', "Frequency 1 (MHz)"},
    {"cfr2", 51, 8, 'D', "Frequency 2 (MHz)"},
    {"clat", 59, 8, 'D', "Latitude"},
    {"clon", 67, 8, 'D', "Longitude"},
    {"cuid", 75, 17, 'C', "Unique identifier"},
};

const std::vector<DemoField> kIlsFields = {
    {"ikey", 4, 10, 'C', "Airport key"},
    {"iica", 14, 5, 'C', "ICAO identifier"},
    {"irwy", 19, 4, 'C', "Runway end"},
    {"ityp", 23, 4, 'I', "Type (64 localizer, 128 glide slope)"},
    {"iidt", 27, 5, 'C', "Identifier"},
    {"ifrq", 32, 8, 'D', "Frequency (MHz)"},
    {"ilat", 40, 8, 'D', "Latitude"},
    {"ilon", 48, 8, 'D', "Longitude"},
    {"ielv", 56, 4, 'I', "Elevation (ft)"},
    {"igsa", 60, 8, 'D', "Glide slope angle (deg)"},
    {"ibrg", 68, 8, 'D', "Approach bearing (deg true)"},
    {"iuid", 76, 17, 'C', "Unique identifier"},
};

std::vector<DemoField> WithoutUnique(std::vector<DemoField> fields) {
    std::erase_if(fields,
                  [](const DemoField& f) { return std::string(f.title).find("Unique") == 0; });
    return fields;
}

Layout LayoutFor(const std::string& type, int version) {
    const bool fly2 = version == 2;
    auto pick = [&](const std::vector<DemoField>& f) { return fly2 ? f : WithoutUnique(f); };
    if (type == "AIRPORT") return {"aprt", fly2 ? 256 : 330, pick(kAirportFields)};
    if (type == "RUNWAY") return {fly2 ? "rnwy" : "rway", fly2 ? 128 : 251, pick(kRunwayFields)};
    if (type == "NAVAID") return {fly2 ? "naid" : "navd", fly2 ? 148 : 132, pick(kNavaidFields)};
    if (type == "COMM") return {"comm", fly2 ? 96 : 80, pick(kCommFields)};
    return {"ils", fly2 ? 96 : 80, pick(kIlsFields)};
}

std::string TemplateText(const Layout& layout) {
    std::string text = std::to_string(layout.fields.size()) + "\r\n";
    for (const auto& f : layout.fields)
        text += std::string(f.name) + "," + std::to_string(f.offset) + "," +
                std::to_string(f.width) + "," + f.type + "," + f.title + "\r\n";
    return text;
}

// --- Records -------------------------------------------------------------------

using Value = std::variant<std::string, double, std::int64_t>;

struct DemoRecord {
    int deletion = 0; // 42 marks the record deleted
    int exportMark = 0;
    std::vector<std::pair<std::string, Value>> values; // by field name

    DemoRecord& Set(const char* name, Value v) {
        values.emplace_back(name, std::move(v));
        return *this;
    }
};

// The value a D cell shows (4 decimals) read back, so that a table loaded
// and saved unchanged gives the same bytes.
double Canonical(double v) {
    char text[64];
    auto [end, ec] = std::to_chars(text, text + sizeof text, v, std::chars_format::fixed, 4);
    double back = 0;
    std::from_chars(text, end, back);
    (void)ec;
    return back;
}

std::string BuildRecordBytes(const Layout& layout, const DemoRecord& rec, const std::string& type) {
    std::string bytes(static_cast<std::size_t>(layout.recordSize), '\0');
    auto* p = reinterpret_cast<unsigned char*>(bytes.data());
    PutU16(p, static_cast<std::uint16_t>(rec.deletion));
    PutU16(p + 2, static_cast<std::uint16_t>(rec.exportMark));
    for (const auto& f : layout.fields) {
        auto it = std::find_if(rec.values.begin(), rec.values.end(),
                               [&](const auto& nv) { return nv.first == f.name; });
        if (it == rec.values.end()) continue; // stays zero
        const Value& v = it->second;
        unsigned char* at = p + f.offset;
        if (f.type == 'C' && f.width == 1) {
            *at = static_cast<unsigned char>(std::get<std::int64_t>(v));
        } else if (f.type == 'C') {
            const std::string text = Utf8ToCp1252(std::get<std::string>(v));
            // The text and its zero byte stay inside the field.
            if (text.size() >= static_cast<std::size_t>(f.width))
                throw FormatError(txt::DemoTextTooLong, type, std::get<std::string>(v), f.name);
            std::copy(text.begin(), text.end(), bytes.begin() + f.offset);
        } else if (f.type == 'D') {
            PutF64(at, Canonical(std::get<double>(v)));
        } else if (f.type == 'I') {
            PutU32(at, static_cast<std::uint32_t>(std::get<std::int64_t>(v)));
        }
    }
    return bytes;
}

// --- Time stamps ------------------------------------------------------------------

// Seconds since 1970-01-01 UTC of a civil date and time (proleptic Gregorian).
std::int32_t StampOf(int y, int m, int d, int hh = 0, int mm = 0, int ss = 0) {
    y -= m <= 2;
    const int era = (y >= 0 ? y : y - 399) / 400;
    const int yoe = y - era * 400;
    const int doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const int doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    const std::int64_t days = static_cast<std::int64_t>(era) * 146097 + doe - 719468;
    return static_cast<std::int32_t>(days * 86400 + hh * 3600 + mm * 60 + ss);
}

std::string UniqueId(std::uint32_t high, std::uint32_t stamp) {
    char text[24];
    std::snprintf(text, sizeof text, "%08X%08X", high, stamp);
    return text;
}

// --- Geography ---------------------------------------------------------------------

constexpr double kPi = 3.14159265358979323846;
constexpr double kFeetPerDegree = 6076.12 * 60; // one minute of latitude is a nautical mile

struct Point {
    double lat, lon; // degrees
};

Point Move(Point from, double bearingDeg, double feet) {
    const double b = bearingDeg * kPi / 180;
    const double dLat = feet * std::cos(b) / kFeetPerDegree;
    const double dLon = feet * std::sin(b) / (kFeetPerDegree * std::cos(from.lat * kPi / 180));
    return {from.lat + dLat, from.lon + dLon};
}

double Arc(double degrees) {
    return degrees * 3600;
}

// A rough magnetic variation (degrees, east positive) by longitude, enough
// for a plausible value in the demo.
double MagneticVariation(double lon) {
    double v;
    if (lon > -30)
        v = 0.35 * lon + 0.1;
    else if (lon > -90)
        v = -(lon + 90) * 0.8 - 2;
    else
        v = -(lon + 90) * 0.45 - 2;
    return std::round(v * 10) / 10;
}

double Opposite(double heading) {
    return std::fmod(heading + 180, 360);
}

// A stable small number from a text, to pick plausible channels.
std::uint32_t Hash(const std::string& s) {
    std::uint32_t h = 2166136261u;
    for (unsigned char c : s)
        h = (h ^ c) * 16777619u;
    return h;
}

// --- The tables ---------------------------------------------------------------------

struct RunwayEnd {
    std::string id;
    Point threshold;
    double heading;
};

struct RunwayInfo {
    std::size_t airport; // position in the airport table
    std::string icao, key, id1, id2, surface;
    double heading;
    int length, width, elevation;
    Point end1, end2;
};

struct DemoTables {
    std::vector<DemoRecord> airport, runway, navaid, comm, ils;
    std::vector<std::pair<std::string, int>> index; // ICAO, record number (0-based)
};

// The unique identifiers' time stamps, one per record in the order the
// tables are made, so that every record's stays the same from run to run.
class StampClock {
  public:
    explicit StampClock(std::int32_t base) : base_(static_cast<std::uint32_t>(base)) {}
    std::uint32_t Next() { return base_ + 3607u * ++serial_; }

  private:
    std::uint32_t base_;
    std::uint32_t serial_ = 0;
};

const demo::Airport* AirportNamed(const std::string& icao) {
    const auto& airports = demo::Airports();
    auto a = std::find_if(airports.begin(), airports.end(),
                          [&](const demo::Airport& ap) { return icao == ap.icao; });
    return a == airports.end() ? nullptr : &*a;
}

// Airports: the key is the country code and a serial number within the
// country; keys[i] is airport i's.
void MakeAirports(DemoTables& t, std::vector<std::string>& keys, StampClock& clock) {
    const auto& airports = demo::Airports();
    std::vector<std::pair<std::string, int>> perCountry;
    for (std::size_t i = 0; i < airports.size(); ++i) {
        const demo::Airport& a = airports[i];
        auto c = std::find_if(perCountry.begin(), perCountry.end(),
                              [&](const auto& pc) { return pc.first == a.country; });
        if (c == perCountry.end()) c = perCountry.insert(perCountry.end(), {a.country, 0});
        char key[16];
        std::snprintf(key, sizeof key, "%s%05d", a.country, ++c->second);
        keys.push_back(key);

        const bool big = a.length >= 10000;
        DemoRecord r;
        if (std::string(a.icao) == "LFPM") r.deletion = 42; // shows a deleted row
        if (i % 13 == 4) r.exportMark = 1;
        r.Set("akey", std::string(key))
            .Set("afaa", std::string(a.faa))
            .Set("aica", std::string(a.icao))
            .Set("anam", std::string(a.name))
            .Set("actr", std::string(a.country))
            .Set("asta", std::string(a.state))
            .Set("acty", std::string(a.city))
            .Set("atyp", std::int64_t{a.type})
            .Set("alat", Arc(a.lat))
            .Set("alon", Arc(a.lon))
            .Set("aelv", std::int64_t{a.elevation})
            .Set("aown", std::int64_t{a.type == 8 ? 2 : 1})
            .Set("ause", std::int64_t{1})
            .Set("auid", UniqueId(0x01000000u + static_cast<std::uint32_t>(i), clock.Next()))
            .Set("amag", MagneticVariation(a.lon))
            .Set("atpa", std::int64_t{a.type == 4 ? 500 : (big ? 1500 : 1000)})
            .Set("afss", std::int64_t{big ? 1 : 0})
            .Set("antm", std::int64_t{1})
            .Set("aatc", std::int64_t{a.length >= 5000 ? 1 : 0})
            .Set("aseg", std::int64_t{a.length < 7000 ? 1 : 0})
            .Set("afee", std::int64_t{1})
            .Set("ajnt", std::int64_t{0})
            .Set("amil", std::int64_t{0})
            .Set("acus", std::int64_t{big ? 1 : 0})
            .Set("afue", std::int64_t{a.type == 1 ? 3 : 0})
            .Set("aafs", std::int64_t{a.type == 1 ? 1 : 0})
            .Set("apws", std::int64_t{a.type == 1 ? 1 : 0})
            .Set("abcn", std::int64_t{a.type == 1 ? 1 : 0})
            .Set("abas", std::int64_t{20 + Hash(a.name) % 180})
            .Set("aopc", std::int64_t{big ? 50000 + Hash(a.icao) % 400000 : Hash(a.icao) % 20000})
            .Set("aopg", std::int64_t{5000 + Hash(a.faa) % 60000})
            .Set("aopm", std::int64_t{Hash(a.city) % 500})
            .Set("aatt", std::int64_t{1})
            .Set("algt", std::int64_t{a.length >= 5000 ? 1 : 0});
        t.airport.push_back(std::move(r));
        if (*a.icao && std::string(a.icao) != "LFPM")
            t.index.emplace_back(a.icao, static_cast<int>(i));
    }
}

// Every runway: each airport's main one, then the further ones, grouped by
// airport in the airport table's order.
std::vector<RunwayInfo> RunwaysOf(const std::vector<std::string>& keys) {
    const auto& airports = demo::Airports();
    std::vector<RunwayInfo> runways;
    for (std::size_t i = 0; i < airports.size(); ++i) {
        const demo::Airport& a = airports[i];
        if (!*a.id1) continue;
        const Point centre{a.lat, a.lon};
        runways.push_back({i, a.icao, keys[i], a.id1, a.id2, a.surface, a.heading, a.length,
                           a.width, a.elevation, Move(centre, Opposite(a.heading), a.length / 2.0),
                           Move(centre, a.heading, a.length / 2.0)});
    }
    for (const auto& x : demo::ExtraRunways()) {
        const demo::Airport* a = AirportNamed(x.icao);
        if (!a) throw FormatError(txt::DemoNoAirport, x.icao);
        const auto at = static_cast<std::size_t>(a - airports.data());
        Point centre = Move(Move({a->lat, a->lon}, 0, x.north), 90, x.east);
        runways.push_back({at, x.icao, keys[at], x.id1, x.id2, x.surface, x.heading, x.length,
                           x.width, a->elevation, Move(centre, Opposite(x.heading), x.length / 2.0),
                           Move(centre, x.heading, x.length / 2.0)});
    }
    std::stable_sort(runways.begin(), runways.end(), [](const RunwayInfo& a, const RunwayInfo& b) {
        return a.airport < b.airport;
    });
    return runways;
}

void MakeRunways(DemoTables& t, const std::vector<RunwayInfo>& runways, StampClock& clock) {
    for (std::size_t i = 0; i < runways.size(); ++i) {
        const RunwayInfo& w = runways[i];
        const std::int64_t lights = w.length >= 5000 ? 7 : 1;
        DemoRecord r;
        if (i % 17 == 6) r.exportMark = 1;
        r.Set("rkey", w.key)
            .Set("rica", w.icao)
            .Set("rid1", w.id1)
            .Set("rid2", w.id2)
            .Set("rlen", std::int64_t{w.length})
            .Set("rwid", std::int64_t{w.width})
            .Set("rsfc", w.surface)
            .Set("r1la", Arc(w.end1.lat))
            .Set("r1lo", Arc(w.end1.lon))
            .Set("r1el", std::int64_t{w.elevation})
            .Set("r1hd", w.heading)
            .Set("r1li", lights)
            .Set("r2la", Arc(w.end2.lat))
            .Set("r2lo", Arc(w.end2.lon))
            .Set("r2el", std::int64_t{w.elevation})
            .Set("r2hd", Opposite(w.heading))
            .Set("r2li", lights)
            .Set("ruid", UniqueId(0x05000000u + static_cast<std::uint32_t>(i), clock.Next()));
        t.runway.push_back(std::move(r));
    }
}

// Navaids: the key is the country code, N and a serial number.
void MakeNavaids(DemoTables& t, StampClock& clock) {
    const auto& navaids = demo::Navaids();
    for (std::size_t i = 0; i < navaids.size(); ++i) {
        const demo::Navaid& n = navaids[i];
        char key[16];
        std::snprintf(key, sizeof key, "%sN%04d", n.country, static_cast<int>(i + 1));
        const double var = MagneticVariation(n.lon);
        DemoRecord r;
        if (i % 9 == 2) r.exportMark = 1;
        r.Set("nkey", std::string(key))
            .Set("nidt", std::string(n.ident))
            .Set("nnam", std::string(n.name))
            .Set("nfrq", n.frequency)
            .Set("nmag", var)
            .Set("nslv", std::round(var))
            .Set("ntyp", std::int64_t{n.type})
            .Set("ncls", std::int64_t{n.range >= 100 ? 1 : (n.type == 8 ? 2 : 3)})
            .Set("nuse", std::int64_t{1})
            .Set("nlat", Arc(n.lat))
            .Set("nlon", Arc(n.lon))
            .Set("nelv", std::int64_t{n.elevation})
            .Set("nrng", std::int64_t{n.range})
            .Set("nuid", UniqueId(0x04000000u + static_cast<std::uint32_t>(i), clock.Next()));
        t.navaid.push_back(std::move(r));
    }
}

// Frequencies: the published ones where the table has them, else channels on
// the 25 kHz grid picked from the airport's code.
void MakeFrequencies(DemoTables& t, const std::vector<std::string>& keys, StampClock& clock) {
    const auto& airports = demo::Airports();
    for (std::size_t i = 0; i < airports.size(); ++i) {
        const demo::Airport& a = airports[i];
        if (!*a.icao || a.type != 1) continue;
        const std::uint32_t h = Hash(a.icao);
        double tower = 118.000 + 0.025 * (h % 137);
        double ground = 121.600 + 0.025 * ((h >> 8) % 16);
        double atis = 126.000 + 0.025 * ((h >> 12) % 120);
        double approach = 119.000 + 0.025 * ((h >> 20) % 240);
        for (const auto& f : demo::PublishedFrequencies())
            if (std::string(f.icao) == a.icao) {
                tower = f.tower;
                ground = f.ground;
                atis = f.atis;
                approach = f.approach;
            }
        struct Item {
            std::int64_t type;
            const char* name;
            double f1, f2;
        };
        std::vector<Item> items = {
            {1, "Tower", tower, 0}, {4, "Ground", ground, 0}, {128, "ATIS", atis, 0}};
        if (a.length >= 10000) items.push_back({8, "Approach", approach, approach + 1.25});
        for (const auto& it : items) {
            DemoRecord r;
            const std::size_t n = t.comm.size();
            if (n == 10) r.deletion = 42;
            if (n % 19 == 5) r.exportMark = 1;
            r.Set("ckey", keys[i])
                .Set("cica", std::string(a.icao))
                .Set("ctyp", it.type)
                .Set("cnam", std::string(it.name))
                .Set("cfr1", it.f1)
                .Set("cfr2", it.f2)
                .Set("clat", Arc(a.lat))
                .Set("clon", Arc(a.lon))
                .Set("cuid", UniqueId(0x02000000u + static_cast<std::uint32_t>(n), clock.Next()));
            t.comm.push_back(std::move(r));
        }
    }
}

// One ILS: its localizer beyond the far end of the runway and its glide
// slope beside the threshold.
void AddIls(DemoTables& t, const RunwayInfo& w, bool useEnd1, const std::string& ident, double freq,
            StampClock& clock) {
    const RunwayEnd end = useEnd1 ? RunwayEnd{w.id1, w.end1, w.heading}
                                  : RunwayEnd{w.id2, w.end2, Opposite(w.heading)};
    const Point stop = useEnd1 ? w.end2 : w.end1;
    const Point loc = Move(stop, end.heading, 1000);
    const Point gs = Move(Move(end.threshold, end.heading, 1000), end.heading + 90, 400);
    for (int k = 0; k < 2; ++k) {
        const Point at = k == 0 ? loc : gs;
        DemoRecord r;
        const std::size_t n = t.ils.size();
        if (n % 11 == 3) r.exportMark = 1;
        r.Set("ikey", w.key)
            .Set("iica", w.icao)
            .Set("irwy", end.id)
            .Set("ityp", std::int64_t{k == 0 ? 64 : 128})
            .Set("iidt", ident)
            .Set("ifrq", freq)
            .Set("ilat", Arc(at.lat))
            .Set("ilon", Arc(at.lon))
            .Set("ielv", std::int64_t{w.elevation})
            .Set("igsa", 3.0)
            .Set("ibrg", end.heading)
            .Set("iuid", UniqueId(0x03000000u + static_cast<std::uint32_t>(n), clock.Next()));
        t.ils.push_back(std::move(r));
    }
}

// ILS: the published localizers, and one on the main runway of every other
// airport whose runway is 7,000 ft or longer.
void MakeIls(DemoTables& t, const std::vector<RunwayInfo>& runways, StampClock& clock) {
    std::vector<double> channels;
    for (int tenth = 1081; tenth <= 1119; tenth += 2) {
        channels.push_back(tenth / 10.0);
        channels.push_back(tenth / 10.0 + 0.05);
    }
    for (const RunwayInfo& w : runways) {
        bool published = false;
        for (const auto& l : demo::PublishedLocalizers()) {
            if (std::string(l.icao) != w.icao) continue;
            published = true;
            if (l.runway == w.id1 || l.runway == w.id2)
                AddIls(t, w, l.runway == w.id1, l.ident, l.frequency, clock);
        }
        if (published || w.length < 7000) continue;
        // Main runways only: the first runway of each airport in the table.
        const auto main = std::find_if(runways.begin(), runways.end(),
                                       [&](const RunwayInfo& x) { return x.icao == w.icao; });
        const demo::Airport* a = AirportNamed(w.icao);
        if (&*main != &w || !a || w.id1 != a->id1) continue;
        const std::uint32_t h = Hash(w.icao);
        const std::string ident = std::string("I") + (*a->faa ? a->faa : w.icao.c_str() + 1);
        AddIls(t, w, h % 2 == 0, ident, channels[h % channels.size()], clock);
    }
}

// The tables in the order their records take their time stamps.
DemoTables MakeTables(std::int32_t baseStamp) {
    DemoTables t;
    StampClock clock(baseStamp);
    std::vector<std::string> keys;
    MakeAirports(t, keys, clock);
    const std::vector<RunwayInfo> runways = RunwaysOf(keys);
    MakeRunways(t, runways, clock);
    MakeNavaids(t, clock);
    MakeFrequencies(t, keys, clock);
    MakeIls(t, runways, clock);
    return t;
}

std::string DbdBytes(const Layout& layout, const std::vector<DemoRecord>& records,
                     const std::string& type, std::int32_t stamp) {
    DbdHeader header;
    header.SetTag(layout.tag);
    header.SetStamp(stamp);
    header.SetRecordCount(static_cast<std::int32_t>(records.size()));
    header.SetRecordSize(layout.recordSize);
    std::string out(header.bytes.begin(), header.bytes.end());
    for (const auto& r : records)
        out += BuildRecordBytes(layout, r, type);
    return out;
}

// The airport index: a 68-byte header (row count at 16, row length at 20),
// then one 16-byte row per airport, sorted by code: the code zero-padded in
// bytes 0-4, the record's position in the DBD entry (header included) in 5-8.
std::string IndexBytes(std::vector<std::pair<std::string, int>> rows, int recordSize) {
    constexpr int kRowLength = 16;
    std::sort(rows.begin(), rows.end());
    std::string out(kIndexHeaderSize + rows.size() * kRowLength, '\0');
    auto* p = reinterpret_cast<unsigned char*>(out.data());
    PutI32(p + 16, static_cast<std::int32_t>(rows.size()));
    PutI32(p + 20, kRowLength);
    for (std::size_t i = 0; i < rows.size(); ++i) {
        unsigned char* row = p + kIndexHeaderSize + i * kRowLength;
        std::copy_n(rows[i].first.begin(), std::min<std::size_t>(rows[i].first.size(), 5), row);
        PutU32(row + 5, static_cast<std::uint32_t>(DbdHeader::kSize +
                                                   static_cast<std::size_t>(rows[i].second) *
                                                       static_cast<std::size_t>(recordSize)));
    }
    return out;
}

const std::vector<DemoRecord>& RecordsOf(const DemoTables& t, const std::string& type) {
    if (type == "AIRPORT") return t.airport;
    if (type == "RUNWAY") return t.runway;
    if (type == "NAVAID") return t.navaid;
    if (type == "COMM") return t.comm;
    return t.ils;
}

std::string NoteText(const std::string& type, int version) {
    return "Orvane demo data, Fly! " + std::string(version == 2 ? "II" : "1") + " " + type +
           " table.\r\nReal-world airports, runways, navaids and frequencies rounded from "
           "public sources; not for navigation.\r\n";
}

const char* const kTypes[] = {"AIRPORT", "COMM", "ILS", "NAVAID", "RUNWAY"};

} // namespace

DemoSummary MakeDemoFolder(const std::string& dir, char decimalSeparator) {
    if (dir.empty()) throw RefusedError(txt::DemoNoFolder);
    DemoSummary summary;
    summary.folder = dir;

    const std::string fly2System = JoinPath(JoinPath(dir, "fly2"), "system");
    const std::string fly1System = JoinPath(JoinPath(dir, "fly1"), "system");
    const std::string work = JoinPath(dir, "work");
    CreateFolders(fly2System);
    CreateFolders(fly1System);
    CreateFolders(work);

    for (int version : {2, 1}) {
        // Fixed dates keep the folder the same from one run to the next.
        const std::int32_t saved =
            version == 2 ? StampOf(2001, 6, 12, 9, 30) : StampOf(1999, 3, 22, 14, 5);
        const std::int32_t base =
            version == 2 ? StampOf(2000, 11, 3, 8, 0) : StampOf(1998, 9, 14, 8, 0);
        const DemoTables tables = MakeTables(base);
        for (const std::string type : kTypes) {
            const Layout layout = LayoutFor(type, version);
            const auto& records = RecordsOf(tables, type);
            std::vector<ArchiveSourceEntry> entries;
            entries.push_back({"DATABASE\\" + type + ".DBT", TemplateText(layout), saved - 86400});
            const std::string dbd = DbdBytes(layout, records, type, saved);
            entries.push_back({"DATABASE\\" + type + ".DBD", dbd, saved});
            if (type == "AIRPORT")
                entries.push_back({"DATABASE\\APRTICAO.DBI",
                                   IndexBytes(tables.index, layout.recordSize), saved + 60});
            entries.push_back({"DOCS\\" + type + ".TXT", NoteText(type, version), saved - 3600});
            if (version == 2) {
                WriteArchive(JoinPath(fly2System, type + ".POD"), ArchiveLayout::Pod3, entries);
                WriteFileAtomically(JoinPath(work, type + ".dbd"), dbd);
                summary.records[type] = static_cast<int>(records.size());
            } else {
                WriteArchive(JoinPath(fly1System, type + ".EPD"), ArchiveLayout::Epd, entries);
            }
            ++summary.archives;
        }
    }

    // The work folder's exchange files, made as the editor makes them: the
    // DBD loaded with the template of its archive, then exported whole.
    // Loads and exports go through the same seam as in the editor; any
    // message from them means the demo data are wrong.
    UnattendedInteraction ui;
    ui.OnMessage = [](MessageKind, const std::string& text) {
        throw FormatError(txt::DemoFolderFault, text);
    };
    ui.OnBeep = [] { throw FormatError(txt::DemoRecordNotLoaded); };
    RealRecords realWorld;
    for (const std::string type : kTypes) {
        SessionState s;
        s.Language = "english";
        s.SimulatorVersion = 2;
        s.Display.decimalSeparator = decimalSeparator;
        const LoadOutcome out = OpenDbdFromDisk(s, JoinPath(work, type + ".dbd"),
                                                JoinPath(fly2System, type + ".POD"), ui);
        if (!out.loaded) throw FormatError(txt::DemoDbdNotLoaded, type);
        ExportDex(s, JoinPath(work, type + ".dex"), false, ui);
        ExportCsv(s, JoinPath(work, type + ".csv"), false, ui);
        summary.workFiles += 3;
        // The sample real world starts as the very same records.
        for (const RealDataFile file : RealDataFilesFor(type))
            realWorld[file] = MirrorTable(s.Table, type, decimalSeparator);
    }
    PlantDemoDifferences(realWorld);
    WriteRealFiles(JoinPath(dir, "ourairports"), realWorld);
    return summary;
}

} // namespace orvane
