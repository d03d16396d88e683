#include "demo/OurAirportsSample.h"

#include "platform/AtomicFile.h"
#include "platform/Cp1252.h"
#include "platform/Errors.h"
#include "platform/Paths.h"
#include "realworld/Reconcile.h"
#include "settings/Texts.h"
#include "table/ValueDisplay.h"

#include <algorithm>
#include <charconv>
#include <stdexcept>

namespace orvane {

const std::vector<std::string>& RealColumns(RealDataFile file) {
    static const std::map<RealDataFile, std::vector<std::string>> columns = {
        {RealDataFile::Airports,
         {"id", "ident", "type", "name", "latitude_deg", "longitude_deg", "elevation_ft",
          "continent", "iso_country", "iso_region", "municipality", "scheduled_service", "gps_code",
          "iata_code", "local_code", "home_link", "wikipedia_link", "keywords"}},
        {RealDataFile::Runways,
         {"id",
          "airport_ref",
          "airport_ident",
          "length_ft",
          "width_ft",
          "surface",
          "lighted",
          "closed",
          "le_ident",
          "le_latitude_deg",
          "le_longitude_deg",
          "le_elevation_ft",
          "le_heading_degT",
          "le_displaced_threshold_ft",
          "he_ident",
          "he_latitude_deg",
          "he_longitude_deg",
          "he_elevation_ft",
          "he_heading_degT",
          "he_displaced_threshold_ft"}},
        {RealDataFile::Navaids,
         {"id", "filename", "ident", "name", "type", "frequency_khz", "latitude_deg",
          "longitude_deg", "elevation_ft", "iso_country", "dme_frequency_khz", "dme_channel",
          "magnetic_variation_deg", "usageType", "power", "associated_airport"}},
        {RealDataFile::Frequencies,
         {"id", "airport_ref", "airport_ident", "type", "description", "frequency_mhz"}},
    };
    return columns.at(file);
}

std::string RealFileText(RealDataFile file, const std::vector<RealRecord>& records) {
    const auto& columns = RealColumns(file);
    const auto quoted = [](const std::string& text) {
        std::string out = "\"";
        for (char c : text)
            out += c == '"' ? std::string("\"\"") : std::string(1, c);
        return out + "\"";
    };
    std::string text;
    for (std::size_t i = 0; i < columns.size(); ++i)
        text += (i ? "," : "") + quoted(columns[i]);
    text += '\n';
    for (const RealRecord& r : records) {
        for (std::size_t i = 0; i < columns.size(); ++i) {
            const auto it = r.find(columns[i]);
            text += (i ? "," : "") + quoted(it == r.end() ? "" : it->second);
        }
        text += '\n';
    }
    return text;
}

namespace {

// Twelve digits, as far below a metre as a file needs, without the binary
// tail of a division ("2.5479", not "2.5479000000000003").
std::string Number(double value) {
    char buffer[64];
    const auto [end, ec] =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, 12);
    return std::string(buffer, end);
}

std::string Trim(std::string_view cell) {
    const std::size_t first = cell.find_first_not_of(' ');
    if (first == std::string_view::npos) return {};
    return std::string(cell.substr(first, cell.find_last_not_of(' ') + 1 - first));
}

// An I cell as a signed number (the table shows -11 as 4294967285).
std::string Signed(const std::string& whole) {
    if (whole.empty()) return whole;
    const long long value = std::stoll(whole);
    return std::to_string(value >= 0x80000000LL ? value - 0x100000000LL : value);
}

std::string Degrees(const std::string& arcSeconds, bool longitude) {
    double value = ParseDecimal(arcSeconds, '.').value() / 3600;
    if (longitude && value >= 180) value -= 360;
    return Number(value);
}

const char* NavaidType(const std::string& flyType) {
    static const std::map<std::string, const char*> types = {
        {"1", "VOR"},  {"4", "TACAN"},    {"5", "VORTAC"}, {"8", "NDB"},
        {"16", "DME"}, {"17", "VOR-DME"}, {"32", "NDB"}};
    const auto it = types.find(flyType);
    return it == types.end() ? "" : it->second;
}

const char* FrequencyType(const std::string& flyType) {
    static const std::map<std::string, const char*> types = {
        {"1", "TWR"}, {"4", "GND"}, {"8", "APP"}, {"16", "DEP"}, {"128", "ATIS"}};
    const auto it = types.find(flyType);
    return it == types.end() ? "" : it->second;
}

} // namespace

std::vector<RealRecord> MirrorTable(const RecordTable& t, std::string_view dataType,
                                    char decimalSeparator) {
    const ReconcileColumns c = FindReconcileColumns(t, dataType);
    const auto cell = [&](int column, int row) {
        return column < 0 ? std::string() : Cp1252ToUtf8(Trim(t.Cell(column, row)));
    };
    // The published files write numbers with '.', whatever the table shows.
    const auto number = [&](int column, int row) {
        std::string text = cell(column, row);
        std::replace(text.begin(), text.end(), decimalSeparator, '.');
        return text;
    };
    int country = -1;
    for (int column = kFirstFieldColumn; column < t.ColumnCount(); ++column)
        if (t.Cell(column, 0) == "Country") country = column;
    std::vector<RealRecord> out;
    for (int row = 1; row < t.RowCount(); ++row) {
        RealRecord r{{"id", std::to_string(row)}};
        const auto place = [&](std::size_t pair, const std::string& prefix) {
            if (pair >= c.positions.size()) return;
            r[prefix + "latitude_deg"] = Degrees(number(c.positions[pair].latitude, row), false);
            r[prefix + "longitude_deg"] = Degrees(number(c.positions[pair].longitude, row), true);
        };
        if (dataType == "AIRPORT") {
            // A field without an ICAO code has nothing to be matched on.
            if (cell(c.code, row).empty()) continue;
            r["ident"] = r["gps_code"] = cell(c.code, row);
            r["type"] = "small_airport";
            r["name"] = cell(c.name, row);
            r["elevation_ft"] = Signed(cell(c.elevation, row));
            r["iso_country"] = country < 0 ? "FR" : cell(country, row);
            place(0, "");
        } else if (dataType == "RUNWAY") {
            r["airport_ident"] = cell(c.airport, row);
            r["length_ft"] = number(c.length, row);
            r["closed"] = "0";
            r["le_ident"] = cell(c.end[0], row);
            r["he_ident"] = cell(c.end[1], row);
            r["le_heading_degT"] = number(c.heading[0], row);
            r["he_heading_degT"] = number(c.heading[1], row);
            place(0, "le_");
            place(1, "he_");
        } else if (dataType == "NAVAID") {
            const std::string type = cell(c.type, row);
            const double frequency = ParseDecimal(number(c.frequency, row), '.').value_or(0);
            r["ident"] = cell(c.code, row);
            r["name"] = cell(c.name, row);
            r["type"] = NavaidType(type);
            r["frequency_khz"] =
                Number(r["type"].rfind("NDB", 0) == 0 ? frequency : frequency * 1000);
            r["elevation_ft"] = Signed(cell(c.elevation, row));
            r["iso_country"] = "FR";
            place(0, "");
        } else {
            r["airport_ident"] = cell(c.airport, row);
            r["type"] = FrequencyType(cell(c.type, row));
            r["description"] = r["type"];
            r["frequency_mhz"] = number(c.frequency, row);
        }
        out.push_back(std::move(r));
    }
    return out;
}

RealRecord& RecordWhere(std::vector<RealRecord>& records, const std::string& column,
                        const std::string& value) {
    for (RealRecord& r : records)
        if (r[column] == value) return r;
    throw RefusedError(txt::DemoNoRecord, column, value);
}

void MoveNorth(RealRecord& record, double metres, const std::string& prefix) {
    std::string& lat = record[prefix + "latitude_deg"];
    lat = Number(std::stod(lat) + metres / 111195.0);
}

void PlantDemoDifferences(RealRecords& records) {
    auto& airports = records[RealDataFile::Airports];
    MoveNorth(RecordWhere(airports, "ident", "LFPN"), 1500);
    RecordWhere(airports, "ident", "LFOB")["elevation_ft"] = "371";
    RecordWhere(airports, "ident", "LFLY")["name"] = "Lyon-Bron Aéroport";

    auto& runways = records[RealDataFile::Runways];
    RealRecord& san = RecordWhere(runways, "airport_ident", "KSAN");
    san["le_ident"] = "10";
    san["he_ident"] = "28";

    auto& navaids = records[RealDataFile::Navaids];
    RecordWhere(navaids, "ident", "TRO")["frequency_khz"] = "116250";
    navaids.erase(navaids.begin() + (&RecordWhere(navaids, "ident", "WCO") - navaids.data()));
    navaids.push_back({{"id", std::to_string(navaids.size() + 1000)},
                       {"ident", "BVS"},
                       {"name", "Beauvais"},
                       {"type", "VOR-DME"},
                       {"frequency_khz", "115900"},
                       {"latitude_deg", "49.4378"},
                       {"longitude_deg", "2.156"},
                       {"elevation_ft", "360"},
                       {"iso_country", "FR"}});
}

void WriteRealFiles(const std::string& folder, const RealRecords& records) {
    CreateFolders(folder);
    for (const RealDataFile file : {RealDataFile::Airports, RealDataFile::Runways,
                                    RealDataFile::Navaids, RealDataFile::Frequencies}) {
        const auto it = records.find(file);
        WriteFileAtomically(
            JoinPath(folder, RealDataFileName(file)),
            RealFileText(file, it == records.end() ? std::vector<RealRecord>{} : it->second));
    }
}

} // namespace orvane
