// The OurAirports reader and the comparison with the real world: files
// written by the fixture builders mirror a small table, then each case
// plants its differences and names the findings it expects. Taking every
// finding's values must leave nothing but what cannot be taken.
#include "exchange/Reconcile.h"
#include "platform/Errors.h"
#include "support/RealWorldFixtures.h"
#include "support/TableCells.h"
#include "table/ValueDisplay.h"

#include <gtest/gtest.h>

#include <functional>

namespace orvane {
namespace {

using testing::RealRecord;
using Records = std::vector<RealRecord>;

std::string Arc(double degrees) {
    return FormatFixed(degrees * 3600, 4, '.');
}

// --- Reading the files -------------------------------------------------------------

TEST(RealWorldReader, ReadsByColumnNameWithQuotesCommasAndUtf8) {
    // Columns in another order than published, a BOM, CR LF, a quoted comma,
    // a doubled quote, a line break inside quotes and an accented name.
    const std::string text = "\xEF\xBB\xBFname,ident,latitude_deg,longitude_deg,elevation_ft,"
                             "type,gps_code\r\n"
                             "\"Lyon Saint-Exup\xC3\xA9ry\",LFLL,45.7256,5.0811,821,large_airport,"
                             "LFLL\r\n"
                             "\"Field, the \"\"old\"\" one\nnorth\",FR-0001,45.1,4.9,,closed,\r\n";
    RealWorldData data;
    ParseRealDataFile(RealDataFile::Airports, text, data);
    ASSERT_EQ(data.airports.size(), 2u);
    EXPECT_EQ(data.airports[0].name, "Lyon Saint-Exup\xC3\xA9ry");
    EXPECT_DOUBLE_EQ(data.airports[0].lon, 5.0811);
    EXPECT_EQ(data.airports[0].elevationFt, 821);
    EXPECT_EQ(data.airports[1].name, "Field, the \"old\" one\nnorth");
    EXPECT_FALSE(data.airports[1].elevationFt);
    EXPECT_TRUE(data.airports[1].Closed());
}

TEST(RealWorldReader, ErrorsNameTheFileLineAndColumn) {
    const std::string heading =
        "\"ident\",\"airport_ident\",\"type\",\"description\",\"frequency_mhz\"\n";
    struct Case {
        const char* what;
        RealDataFile file;
        std::string text;
        std::string expected;
    } cases[] = {
        {"missing column", RealDataFile::Frequencies,
         "airport_ident,type,frequency_mhz\nLFPG,TWR,1\n",
         "airport-frequencies.csv, line 1, column \"description\": no such column"},
        {"short line", RealDataFile::Frequencies, heading + "1,LFPG,TWR,Tower,118.65\n2,LFPO,TWR\n",
         "airport-frequencies.csv, line 3, column \"description\": the line ends"},
        {"long line", RealDataFile::Frequencies, heading + "1,LFPG,TWR,Tower,118.65,9\n",
         "airport-frequencies.csv, line 2: more fields"},
        {"open quote", RealDataFile::Frequencies, heading + "1,LFPG,TWR,\"Tower,118.65\n",
         "airport-frequencies.csv, line 2, column \"description\": a quote is never closed"},
        {"text after a quote", RealDataFile::Frequencies, heading + "1,LFPG,\"TWR\"x,T,118.65\n",
         "line 2, column \"type\": text after the closing quote"},
        {"bad number", RealDataFile::Frequencies, heading + "\n1,LFPG,TWR,Tower,11a\n",
         "line 3, column \"frequency_mhz\": \"11a\" is no number"},
        {"latitude out of range", RealDataFile::Navaids,
         testing::RealFileText(
             RealDataFile::Navaids,
             {{{"ident", "PGS"}, {"latitude_deg", "91"}, {"longitude_deg", "2"}}}),
         "navaids.csv, line 2, column \"latitude_deg\": \"91\" is beyond 90 degrees"},
        {"empty file", RealDataFile::Runways, "", "runways.csv, line 1: the file is empty"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        RealWorldData data;
        try {
            ParseRealDataFile(c.file, c.text, data);
            ADD_FAILURE() << "no error";
        } catch (const FormatError& e) {
            EXPECT_NE(std::string(e.what()).find(c.expected), std::string::npos) << e.what();
        }
    }
}

// --- Findings -------------------------------------------------------------------

struct Expected {
    ReconcileKind kind;
    int row;
};

struct FindingCase {
    const char* what;
    const char* dataType;
    testing::Cells table;
    std::function<void(Records&)> plant; // on the mirror of the table
    std::vector<Expected> expected;      // in the order found
    double threshold = 500;
};

const testing::Cells kAirports = {
    {"Airport key", "ICAO identifier", "Name", "Latitude", "Longitude", "Elevation (ft)"},
    {"FR00001", "LFPG", "CHARLES DE GAULLE", Arc(49.0097), Arc(2.5479), "392"},
    {"FR00002", "LFPO", "ORLY", Arc(48.7233), Arc(2.3794), "291"},
    {"FR00003", "LFLL", "LYON SATOLAS", Arc(45.7256), Arc(5.0811), "821"},
    {"FR00004", "LFOB", "BEAUVAIS", Arc(49.4544), Arc(2.1128), "359"},
    {"FR00005", "LFXX", "GONE", Arc(47.0), Arc(3.0), "500"},
    {"FR00006", "LFQQ", "LILLE", Arc(50.5633), Arc(3.0869), "157"},
};

const testing::Cells kNavaids = {
    {"Navaid key", "Identifier", "Name", "Frequency (MHz, kHz for NDB)", "Type", "Latitude",
     "Longitude", "Elevation (ft)", "Unique identifier"},
    {"N1", "PGS", "PONTOISE", "116.2000", "17", Arc(49.0900), Arc(2.0400), "300", "A1"},
    {"N2", "OL", "ORLY NDB", "342.0000", "8", Arc(48.7300), Arc(2.3800), "290", "A2"},
    {"N3", "CHW", "CHARLIE WEST", "113.1000", "1", Arc(47.0), Arc(1.0), "100", "A3"},
    {"N4", "CHW", "CHARLIE EAST", "113.1000", "1", Arc(47.0), Arc(6.0), "100", "A4"},
    {"N5", "ABC", "NOWHERE", "110.0000", "1", Arc(46.0), Arc(2.0), "100", "A5"},
    {"N6", "LOC", "LOCALIZER", "110.1000", "64", Arc(46.0), Arc(2.0), "100", "A6"},
};

const testing::Cells kRunways = {
    {"Airport key", "ICAO identifier", "End 1 identifier", "End 2 identifier", "Length (ft)",
     "End 1 Latitude", "End 1 Longitude", "End 1 true heading", "End 2 Latitude", "End 2 Longitude",
     "End 2 true heading"},
    {"FR1", "LFPG", "09L", "27R", "13829", Arc(49.0247), Arc(2.5248), "85.0", Arc(49.0266),
     Arc(2.5619), "265.0"},
    {"FR2", "LFPO", "06", "24", "11975", Arc(48.7228), Arc(2.3210), "62.0", Arc(48.7376),
     Arc(2.3627), "242.0"},
    {"FR3", "LFLL", "17R", "35L", "13123", Arc(45.7400), Arc(5.0900), "175.0", Arc(45.7050),
     Arc(5.0950), "355.0"},
    {"FR4", "LFZZ", "01", "19", "3000", Arc(45.0), Arc(5.0), "10.0", Arc(45.01), Arc(5.0), "190.0"},
};

const testing::Cells kComm = {
    {"Airport key", "ICAO identifier", "Type (1 tower, 4 ground, 8 approach, 128 ATIS)", "Name",
     "Frequency 1 (MHz)", "Frequency 2 (MHz)", "Latitude", "Longitude"},
    {"FR1", "LFPG", "1", "DE GAULLE TWR", "118.6500", "", Arc(49.0), Arc(2.5)},
    {"FR1", "LFPG", "128", "DE GAULLE ATIS", "128.0000", "", Arc(49.0), Arc(2.5)},
    {"FR2", "LFPO", "4", "ORLY GND", "121.8000", "", Arc(48.7), Arc(2.3)},
};

RealRecord Airport(const std::string& ident, const std::string& type, double lat, double lon) {
    return {{"ident", ident},
            {"type", type},
            {"name", ident + " field"},
            {"latitude_deg", std::to_string(lat)},
            {"longitude_deg", std::to_string(lon)},
            {"iso_country", "FR"}};
}

const FindingCase kCases[] = {
    {"airports: the mirror has no finding", "AIRPORT", kAirports, [](Records&) {}, {}},
    {"airports: every kind",
     "AIRPORT",
     kAirports,
     [](Records& r) {
         testing::MoveNorth(testing::RecordWhere(r, "ident", "LFPG"), 2000);
         testing::MoveNorth(testing::RecordWhere(r, "ident", "LFLL"), 300); // below the threshold
         testing::RecordWhere(r, "ident", "LFLL")["name"] = "Lyon Saint-Exup\xC3\xA9ry";
         // Known by its GPS code only.
         testing::RecordWhere(r, "ident", "LFOB")["ident"] = "FR-0042";
         testing::RecordWhere(r, "ident", "LFPO")["elevation_ft"] = "300";
         r.erase(r.begin() + 4); // LFXX
         testing::RecordWhere(r, "ident", "LFQQ")["type"] = "closed";
         // In the area: listed; a heliport and a field abroad are not.
         r.push_back(Airport("LFPB", "medium_airport", 48.9694, 2.4414));
         r.push_back(Airport("LFPI", "heliport", 48.83, 2.27));
         r.push_back(Airport("EGLL", "large_airport", 51.47, -0.46));
     },
     {{ReconcileKind::Moved, 1},
      {ReconcileKind::Elevation, 2},
      {ReconcileKind::Name, 3},
      {ReconcileKind::NotInRealWorld, 5},
      {ReconcileKind::NotInRealWorld, 6},
      {ReconcileKind::Missing, 0}}},
    {"airports: a lower threshold counts a shorter move",
     "AIRPORT",
     kAirports,
     [](Records& r) { testing::MoveNorth(testing::RecordWhere(r, "ident", "LFLL"), 300); },
     {{ReconcileKind::Moved, 3}},
     200},
    {"navaids: frequency, repeated identifier, missing",
     "NAVAID",
     kNavaids,
     [](Records& r) {
         testing::RecordWhere(r, "ident", "PGS")["frequency_khz"] = "117000";
         // The eastern CHW moved; the western one matches its own row.
         testing::MoveNorth(r[3], 1000);
         r.erase(r.begin() + 4); // ABC
         r.erase(r.begin() + 4); // the localizer, which the real-world list lacks
         r.push_back({{"ident", "RBT"},
                      {"name", "Rambouillet"},
                      {"type", "VOR-DME"},
                      {"frequency_khz", "114700"},
                      {"latitude_deg", "48.65"},
                      {"longitude_deg", "1.99"},
                      {"iso_country", "FR"}});
     },
     {{ReconcileKind::Frequency, 1},
      {ReconcileKind::Moved, 4},
      {ReconcileKind::NotInRealWorld, 5},
      {ReconcileKind::Missing, 0}}},
    {"runways: renumbered, lengthened, unknown",
     "RUNWAY",
     kRunways,
     [](Records& r) {
         RealRecord& orly = testing::RecordWhere(r, "airport_ident", "LFPO");
         orly["le_ident"] = "07";
         orly["he_ident"] = "25";
         testing::RecordWhere(r, "airport_ident", "LFLL")["length_ft"] = "13780";
         r.pop_back(); // LFZZ
     },
     {{ReconcileKind::Renumbered, 2},
      {ReconcileKind::Length, 3},
      {ReconcileKind::NotInRealWorld, 4}}},
    {"runways: ends listed the other way round, one moved",
     "RUNWAY",
     kRunways,
     [](Records& r) {
         RealRecord& g = testing::RecordWhere(r, "airport_ident", "LFPG");
         std::swap(g["le_ident"], g["he_ident"]);
         std::swap(g["le_latitude_deg"], g["he_latitude_deg"]);
         std::swap(g["le_longitude_deg"], g["he_longitude_deg"]);
         testing::MoveNorth(g, 800, "le_"); // end 2 in the table
     },
     {{ReconcileKind::Moved, 1}}},
    {"frequencies: changed tower, no ground frequency",
     "COMM",
     kComm,
     [](Records& r) {
         testing::RecordWhere(r, "type", "TWR")["frequency_mhz"] = "119.25";
         testing::RecordWhere(r, "type", "GND")["type"] = "CLD";
     },
     {{ReconcileKind::Frequency, 1}, {ReconcileKind::NotInRealWorld, 3}}},
};

RealWorldData RealData(const FindingCase& c, const RecordTable& table) {
    Records records = testing::MirrorTable(table, c.dataType);
    c.plant(records);
    RealWorldData data;
    const RealDataFile file = RealDataFilesFor(c.dataType).at(0);
    ParseRealDataFile(file, testing::RealFileText(file, records), data);
    return data;
}

TEST(Reconcile, FindsWhatWasPlantedAndTakingItLeavesOnlyWhatCannotBeTaken) {
    for (const FindingCase& c : kCases) {
        SCOPED_TRACE(c.what);
        RecordTable table = testing::TableOf(c.table);
        const RealWorldData real = RealData(c, table);
        ReconcileOptions options;
        options.thresholdMetres = c.threshold;
        const auto findings = Reconcile(table, {}, c.dataType, real, options);
        std::vector<std::pair<ReconcileKind, int>> got, want;
        for (const auto& f : findings)
            got.emplace_back(f.kind, f.row);
        for (const auto& e : c.expected)
            want.emplace_back(e.kind, e.row);
        EXPECT_EQ(got, want);

        std::vector<std::pair<int, int>> all;
        for (std::size_t i = 0; i < findings.size(); ++i)
            all.emplace_back(int(i), -1);
        TakeRealWorld(table, findings, all);
        for (const auto& f : Reconcile(table, {}, c.dataType, real, options))
            EXPECT_TRUE(f.kind == ReconcileKind::NotInRealWorld || f.kind == ReconcileKind::Missing)
                << ReconcileLine(f, table, FindReconcileColumns(table, c.dataType), Lang::English);
    }
}

// What a take writes: converted units, one field at a time.
TEST(Reconcile, TakesRealWorldValuesInTheTablesUnits) {
    const FindingCase& navaids = kCases[3];
    RecordTable table = testing::TableOf(navaids.table);
    const auto findings = Reconcile(table, {}, "NAVAID", RealData(navaids, table), {});
    ASSERT_EQ(findings.size(), 4u);
    EXPECT_EQ(TakeRealWorld(table, findings, {{0, -1}}), 1);
    EXPECT_EQ(table.Cell(7, 1), "117.0000"); // MHz, from 117000 kHz

    const ReconcileFinding& moved = findings[1];
    ASSERT_EQ(moved.changes.size(), 1u); // due north: the longitude stays
    EXPECT_NEAR(moved.metres, 1000, 2);
    EXPECT_EQ(TakeRealWorld(table, findings, {{1, moved.changes[0].column}}), 1);
    EXPECT_NEAR(std::stod(std::string(table.Cell(9, 4))), (47.0 + 1000 / 111195.0) * 3600, 0.01);
    EXPECT_EQ(table.Cell(10, 4), Arc(6.0));
    EXPECT_EQ(ReconcileLine(moved, table, FindReconcileColumns(table, "NAVAID"), Lang::English),
              "Moved 1000 m: CHW  CHARLIE EAST (line 4)");
}

TEST(Reconcile, FieldsAreFoundByTheirTitles) {
    const RecordTable runways = testing::TableOf(kRunways);
    const ReconcileColumns c = FindReconcileColumns(runways, "RUNWAY");
    EXPECT_EQ(c.airport, 5);
    EXPECT_EQ((std::vector<int>{c.end[0], c.end[1], c.length, c.heading[0], c.heading[1]}),
              (std::vector<int>{6, 7, 8, 11, 14}));
    ASSERT_EQ(c.positions.size(), 2u);
    EXPECT_EQ(c.positions[1].latitude, 12);

    // A navaid's identifier is not its unique identifier; a table without
    // the fields matching needs is refused; ILS has no counterpart.
    EXPECT_EQ(FindReconcileColumns(testing::TableOf(kNavaids), "NAVAID").code, 5);
    EXPECT_THROW(
        FindReconcileColumns(testing::TableOf({{"Name", "Latitude", "Longitude"}}), "AIRPORT"),
        RefusedError);
    EXPECT_THROW(FindReconcileColumns(runways, "ILS"), RefusedError);
    EXPECT_TRUE(RealDataFilesFor("ILS").empty());
}

} // namespace
} // namespace orvane
