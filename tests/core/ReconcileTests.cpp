// The OurAirports reader and the comparison with the real world: files
// written by the fixture builders mirror a small table, then each case
// plants its differences and names the findings it expects. Taking every
// finding's values must leave nothing but what cannot be taken.
#include "demo/DemoFolder.h"
#include "platform/Cp1252.h"
#include "platform/Errors.h"
#include "realworld/Reconcile.h"
#include "support/RealWorldFixtures.h"
#include "support/TableCells.h"
#include "support/TempDir.h"
#include "table/ValueDisplay.h"

#include <gtest/gtest.h>

#include <cmath>

#include <functional>
#include <set>

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
        // Counted past the heading's count, never kept: no memory for a
        // line of commas.
        {"a line of commas", RealDataFile::Frequencies,
         heading + "1,LFPG,TWR,Tower,118.65" + std::string(100000, ',') + "\n",
         "line 2: more fields than the heading names (100005 for 5)"},
        {"a heading of commas", RealDataFile::Runways, std::string(5000, ',') + "\n",
         "runways.csv, line 1: the heading names more than 1000 columns"},
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

TEST(RealWorldReader, TextThatIsNotUtf8IsReadAsWindows1252AndSaidOnce) {
    const std::string text = "ident,name,type,frequency_khz,latitude_deg,longitude_deg,"
                             "elevation_ft\n"
                             "TRO,Troyes,VOR,116000,48.25,3.96,\n"
                             "ZUE,Z\xFCrich,VOR,110050,47.59,8.81,\n"
                             "GVA,Gen\xE8ve,VOR,114600,46.25,6.13,\n";
    RealWorldData data;
    ParseRealDataFile(RealDataFile::Navaids, text, data);
    ASSERT_EQ(data.navaids.size(), 3u);
    EXPECT_EQ(data.navaids[1].name, "Z\xC3\xBCrich");
    EXPECT_EQ(data.navaids[2].name, "Gen\xC3\xA8ve");
    ASSERT_EQ(data.warnings.size(), 1u);
    EXPECT_EQ(
        data.warnings[0].In(Lang::English).rfind("navaids.csv, line 3: text that is not UTF-8", 0),
        0u);
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

// Two ends of one identifier: a helipad's.
testing::Cells Helipads() {
    testing::Cells cells = kRunways;
    cells[4][2] = cells[4][3] = "H1";
    return cells;
}

const testing::Cells kComm = {
    {"Airport key", "ICAO identifier", "Type (1 tower, 4 ground, 8 approach, 128 ATIS)", "Name",
     "Frequency 1 (MHz)", "Frequency 2 (MHz)", "Latitude", "Longitude"},
    {"FR1", "LFPG", "1", "DE GAULLE TWR", "118.6500", "", Arc(49.0), Arc(2.5)},
    {"FR1", "LFPG", "128", "DE GAULLE ATIS", "128.0000", "", Arc(49.0), Arc(2.5)},
    {"FR2", "LFPO", "4", "ORLY GND", "121.8000", "", Arc(48.7), Arc(2.3)},
};

// The ATIS row with a second frequency.
testing::Cells CommWithSecondFrequency() {
    testing::Cells cells = kComm;
    cells[2][5] = "127.1250";
    return cells;
}

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
         // In the country and the rows' box, far from any row: not the table's area.
         r.push_back({{"ident", "XYZ"},
                      {"name", "Far"},
                      {"type", "VOR"},
                      {"frequency_khz", "113000"},
                      {"latitude_deg", "47.5"},
                      {"longitude_deg", "4.0"},
                      {"iso_country", "FR"}});
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
    {"airports: names compared without case or accents",
     "AIRPORT",
     kAirports,
     [](Records& r) {
         testing::RecordWhere(r, "ident", "LFLL")["name"] = "Lyon Satol\xC3\xA1s";
         testing::RecordWhere(r, "ident", "LFPO")["name"] = "orly";
     },
     {}},
    {"runways: renumbered, found by swapped places",
     "RUNWAY",
     kRunways,
     [](Records& r) {
         RealRecord& orly = testing::RecordWhere(r, "airport_ident", "LFPO");
         std::swap(orly["le_latitude_deg"], orly["he_latitude_deg"]);
         std::swap(orly["le_longitude_deg"], orly["he_longitude_deg"]);
         orly["le_ident"] = "25";
         orly["he_ident"] = "7";
     },
     {{ReconcileKind::Renumbered, 2}},
     5000},
    {"runways: two ends of one identifier listed the other way round",
     "RUNWAY",
     Helipads(),
     [](Records& r) {
         RealRecord& pad = testing::RecordWhere(r, "airport_ident", "LFZZ");
         std::swap(pad["le_latitude_deg"], pad["he_latitude_deg"]);
         std::swap(pad["le_longitude_deg"], pad["he_longitude_deg"]);
     },
     {}},
    {"frequencies: the real one is the row's second",
     "COMM",
     CommWithSecondFrequency(),
     [](Records& r) { testing::RecordWhere(r, "type", "ATIS")["frequency_mhz"] = "127.125"; },
     {}},
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
        // Nothing left, at the threshold of the take or the default one.
        for (const double threshold : {c.threshold, 500.0}) {
            options.thresholdMetres = threshold;
            for (const auto& f : Reconcile(table, {}, c.dataType, real, options))
                EXPECT_TRUE(f.kind == ReconcileKind::NotInRealWorld ||
                            f.kind == ReconcileKind::Missing)
                    << ReconcileLine(f, table, FindReconcileColumns(table, c.dataType),
                                     Lang::English);
        }
    }
}

// A coordinate past the range of a double (a CSV import takes any digits)
// is no place: no move of half the earth, no NaN.
TEST(Reconcile, ACoordinateThatIsNoFiniteNumberIsNoPlace) {
    const FindingCase& mirror = kCases[0];
    RecordTable table = testing::TableOf(mirror.table);
    const RealWorldData real = RealData(mirror, table);
    for (const int column : {kFirstFieldColumn + 3, kFirstFieldColumn + 4}) {
        RecordTable changed = testing::TableOf(mirror.table);
        changed.SetCell(column, 1, std::string(400, '9'));
        for (const auto& f : Reconcile(changed, {}, "AIRPORT", real, {})) {
            EXPECT_NE(f.kind, ReconcileKind::Moved) << f.metres;
            EXPECT_FALSE(std::isnan(f.metres));
        }
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

// A take writes a readable name and the table's way of writing an end.
TEST(Reconcile, TakesWriteReadableNamesAndTheTablesEnds) {
    RecordTable airports = testing::TableOf(kAirports);
    Records mirror = testing::MirrorTable(airports, "AIRPORT");
    testing::RecordWhere(mirror, "ident", "LFPG")["name"] =
        "\xC5\x81\xC3\xB3\x64\xC5\xBA W\xC5\x82\x61\x64ys\xC5\x82\x61w Reymont";
    RealWorldData real;
    ParseRealDataFile(RealDataFile::Airports, testing::RealFileText(RealDataFile::Airports, mirror),
                      real);
    auto findings = Reconcile(airports, {}, "AIRPORT", real, {});
    ASSERT_EQ(findings.size(), 1u);
    ASSERT_EQ(findings[0].changes.size(), 1u);
    EXPECT_EQ(findings[0].changes[0].after, "L\xF3"
                                            "dz Wladyslaw Reymont");

    RecordTable runways = testing::TableOf(kRunways);
    mirror = testing::MirrorTable(runways, "RUNWAY");
    testing::RecordWhere(mirror, "airport_ident", "LFPO")["le_ident"] = "7";
    testing::RecordWhere(mirror, "airport_ident", "LFPO")["he_ident"] = "25";
    real = {};
    ParseRealDataFile(RealDataFile::Runways, testing::RealFileText(RealDataFile::Runways, mirror),
                      real);
    findings = Reconcile(runways, {}, "RUNWAY", real, {});
    ASSERT_EQ(findings.size(), 1u);
    ASSERT_GE(findings[0].changes.size(), 2u);
    EXPECT_EQ(findings[0].changes[0].after, "07");
    EXPECT_EQ(findings[0].changes[1].after, "25");
}

// What a user acts on first, the counts of each kind, and the filters.
TEST(ReconcileReview, ActionableFirstCountsAndFilters) {
    std::vector<ReconcileFinding> findings(5);
    const ReconcileKind kinds[] = {ReconcileKind::NotInRealWorld, ReconcileKind::Moved,
                                   ReconcileKind::Missing, ReconcileKind::Name,
                                   ReconcileKind::Moved};
    const GeoPoint places[] = {{2, 48}, {179.5, 10}, {-179.5, 10}, {2, 49}, {0, 0}};
    for (std::size_t i = 0; i < findings.size(); ++i) {
        findings[i].kind = kinds[i];
        findings[i].at = places[i];
        findings[i].placed = i != 4;
        findings[i].country = i < 2 ? "FR" : "fj";
    }
    EXPECT_EQ(ReviewOrder(findings), (std::vector<int>{1, 3, 4, 0, 2}));
    const ReconcileCounts counts = CountByKind(findings);
    EXPECT_EQ(counts[std::size_t(ReconcileKind::Moved)], 2);
    EXPECT_EQ(counts[std::size_t(ReconcileKind::Missing)], 1);

    ReconcileFilter byKind;
    byKind.kinds = {ReconcileKind::Missing, ReconcileKind::Moved};
    EXPECT_EQ(FilterFindings(findings, byKind), (std::vector<int>{1, 4, 2}));
    ReconcileFilter byCountry;
    byCountry.countries = {"FJ"};
    EXPECT_EQ(FilterFindings(findings, byCountry), (std::vector<int>{3, 4, 2}));
    ReconcileFilter acrossTheDateLine; // an unplaced finding lies in no area
    acrossTheDateLine.area = {GeoPoint{179, 5}, GeoPoint{-179, 15}};
    EXPECT_EQ(FilterFindings(findings, acrossTheDateLine), (std::vector<int>{1, 2}));
    for (int k = 0; k < kReconcileKindCount; ++k)
        EXPECT_EQ(ReconcileKindOfWord(ReconcileKindWord(ReconcileKind(k))), ReconcileKind(k));
    EXPECT_FALSE(ReconcileKindOfWord("nothing"));
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

// --- On the published files --------------------------------------------------------

// What a row's findings say, one "kind real-world-label: before -> after"
// each, so that a case names what it expects and what it must not see.
std::string RowFindings(const std::vector<ReconcileFinding>& findings, int row) {
    std::string text;
    for (const ReconcileFinding& f : findings) {
        if (f.row != row) continue;
        text += std::string(ReconcileKindWord(f.kind)) + " " + f.realWorld;
        for (const FieldChange& c : f.changes)
            text += " " + c.before + "->" + c.after;
        for (const std::string& other : f.alternatives)
            text += " also " + other;
        text += "; ";
    }
    return text;
}

struct RealFileCase {
    const char* what;
    const char* dataType;
    testing::Cells table;                          // empty: the demo's Fly! II table
    std::vector<std::string> row;                  // texts the row holds (its code, ends, type…)
    std::vector<std::string> expected, unexpected; // texts of its findings
    double threshold = 500;
};

// The cells of a real navaid as a table row of kNavaids' columns, placed
// where the navaid of placedAs's type stands (its twin's place).
std::vector<std::string> NavaidRow(const RealWorldData& real, const std::string& ident,
                                   const std::string& name, const std::string& realType,
                                   const std::string& tableType, const std::string& frequency,
                                   const std::string& placedAs = "") {
    const auto find = [&](const std::string& type) {
        for (const RealNavaid& n : real.navaids)
            if (n.ident == ident && n.name == name && n.type == type) return n;
        throw std::invalid_argument("no " + ident + " " + type);
    };
    const RealNavaid n = find(realType), at = find(placedAs.empty() ? realType : placedAs);
    return {"K" + ident + tableType,
            ident,
            n.name,
            frequency,
            tableType,
            Arc(at.lat),
            Arc(at.lon),
            std::to_string(n.elevationFt.value_or(0)),
            "U" + ident + tableType};
}

std::vector<RealFileCase> RealFileCases(const RealWorldData& real) {
    const testing::Cells navaids = {
        kNavaids[0],
        NavaidRow(real, "MEN", "Menderes", "VOR-DME", "17", "117.9000", "TACAN"),
        NavaidRow(real, "MEN", "Menderes", "TACAN", "4", "115.1000", "VOR-DME"),
        NavaidRow(real, "AYT", "Antalya", "VOR-DME", "17", "114.0000"),
        NavaidRow(real, "VGE", "Getafe", "VOR", "1", "112.5000"),
        NavaidRow(real, "DAL", "Dalaman", "VOR-DME", "17", "114.7000"),
    };
    const testing::Cells comm = {
        kComm[0],
        {"US1", "KCLT", "8", "CHARLOTTE APP", "120.0500", "", Arc(35.21), Arc(-80.94)},
        {"US2", "KSEA", "128", "SEATTLE ATIS", "118.0000", "", Arc(47.45), Arc(-122.3)},
        {"CA1", "CYEG", "8", "EDMONTON ARR", "120.5000", "", Arc(53.3), Arc(-113.6)},
        {"FR1", "LFPG", "1", "DE GAULLE TWR", "119.3000", "", Arc(49.0), Arc(2.5)},
        {"FR1", "LFPG", "1", "DE GAULLE TWR", "120.6000", "", Arc(49.0), Arc(2.5)},
    };
    const std::vector<std::string> noFalse = {"not-in-real-world", "renumbered"};
    const std::vector<std::string> known = {"not-in-real-world", "frequency"};
    return {
        {"04R is the real 4R", "RUNWAY", {}, {"KEWR", "04R", "22L"}, {}, noFalse},
        {"06R is the real 6R", "RUNWAY", {}, {"KCLE", "06R", "24L"}, {}, noFalse},
        {"06L is the real 6L", "RUNWAY", {}, {"KLAX", "06L", "24R"}, {}, noFalse},
        {"07L is the real 7L", "RUNWAY", {}, {"KLAX", "07L", "25R"}, {}, noFalse},
        {"01R is the real 1R", "RUNWAY", {}, {"KSFO", "01R", "19L"}, {}, noFalse},
        {"the open runway nearer than the closed one",
         "RUNWAY",
         {},
         {"KMDW", "13C", "31C"},
         {"renumbered KMDW  13L/31R 13C->13L 31C->31R"},
         {"13LC", "not-in-real-world"}},
        {"no crossing runway however far the threshold",
         "RUNWAY",
         {},
         {"EIDW", "10", "28"},
         {},
         {"16/34"},
         5000},
        {"no runway thirty degrees round", "RUNWAY", {}, {"LFPT", "05", "23"}, {}, {"12/30"}, 5000},
        {"one real runway answers one row",
         "RUNWAY",
         {},
         {"KLAX", "06L", "24R"},
         {},
         {"7R/25L"},
         5000},
        {"one real runway answers one row, the other row",
         "RUNWAY",
         {},
         {"KLAX", "07L", "25R"},
         {},
         {"7R/25L"},
         5000},
        // Placed nearer the twin than their own: the type decides first.
        {"a VOR-DME is not its TACAN twin",
         "NAVAID",
         navaids,
         {"MEN", "17"},
         {},
         {"frequency", "moved", " MEN "}},
        {"a TACAN is not its VOR-DME twin",
         "NAVAID",
         navaids,
         {"MEN", "4"},
         {},
         {"frequency", "moved", " MEN "}},
        {"Antalya's VOR-DME, its TACAN twin not missing",
         "NAVAID",
         navaids,
         {"AYT"},
         {},
         {" AYT "}},
        {"Dalaman's VOR-DME, its TACAN twin not missing",
         "NAVAID",
         navaids,
         {"DAL"},
         {},
         {" DAL "}},
        {"Getafe's VOR, its TACAN twin not missing", "NAVAID", navaids, {"VGE"}, {}, {" VGE "}},
        {"A/D is approach", "COMM", comm, {"KCLT"}, {}, known},
        {"D-ATIS is ATIS", "COMM", comm, {"KSEA"}, {}, known},
        {"ARR is approach", "COMM", comm, {"CYEG"}, {}, known},
        {"the nearest tower frequency, the other named",
         "COMM",
         comm,
         {"LFPG", "119.3000"},
         {"119.3000->119.2500 also 120.6500"},
         {}},
        {"the nearest tower frequency, the other row",
         "COMM",
         comm,
         {"LFPG", "120.6000"},
         {"120.6000->120.6500 also 119.2500"},
         {}},
    };
}

// The first row whose cells hold every text a case names.
int RowOf(const RecordTable& table, const std::vector<std::string>& texts) {
    for (int r = 1; r < table.RowCount(); ++r) {
        std::size_t found = 0;
        for (const std::string& text : texts)
            for (int c = kFirstFieldColumn; c < table.ColumnCount(); ++c)
                if (table.Cell(c, r) == text) {
                    ++found;
                    break;
                }
        if (found == texts.size()) return r;
    }
    return -1;
}

TEST(ReconcileRealFiles, NoFalseFindingOnTheDemoOrTheRealFiles) {
    const RealWorldData* real = testing::SharedRealData();
    if (!real) GTEST_SKIP() << testing::kNoSharedRealData;
    testing::TempDir dir;
    MakeDemoFolder(dir.Path());
    for (const RealFileCase& c : RealFileCases(*real)) {
        SCOPED_TRACE(c.what);
        const RecordTable table = c.table.empty() ? testing::DemoTable(dir.Path(), c.dataType)
                                                  : testing::TableOf(c.table);
        ReconcileOptions options;
        options.thresholdMetres = c.threshold;
        const auto findings = Reconcile(table, {}, c.dataType, *real, options);
        const int row = RowOf(table, c.row);
        ASSERT_GT(row, 0);
        std::string text = RowFindings(findings, row);
        for (const ReconcileFinding& f : findings)
            if (f.kind == ReconcileKind::Missing) text += "not-in-table " + f.realWorld + "; ";
        for (const std::string& want : c.expected)
            EXPECT_NE(text.find(want), std::string::npos) << text;
        for (const std::string& never : c.unexpected)
            EXPECT_EQ(text.find(never), std::string::npos) << text;
    }
}

// Every open, placed real runway, every real navaid and every frequency of
// a kind COMM holds, written as the simulator writes them ("04R", its type's
// number): the real files against themselves give no finding at all.
TEST(ReconcileRealFiles, TheRealFilesAsATableMatchThemselves) {
    const RealWorldData* real = testing::SharedRealData();
    if (!real) GTEST_SKIP() << testing::kNoSharedRealData;
    testing::Cells runways = {kRunways[0]};
    for (const RealRunway& r : real->runways) {
        if (r.closed || !r.low.Placed() || !r.high.Placed()) continue;
        const auto end = [](const std::string& ident) {
            const std::string key = RunwayEndKey(ident);
            const bool oneDigit =
                !key.empty() && std::isdigit(key[0]) && (key.size() == 1 || !std::isdigit(key[1]));
            return oneDigit ? "0" + key : key;
        };
        runways.push_back({"K", r.airportIdent, end(r.low.ident), end(r.high.ident),
                           r.lengthFt ? std::to_string(*r.lengthFt) : "", Arc(*r.low.lat),
                           Arc(*r.low.lon), "", Arc(*r.high.lat), Arc(*r.high.lon), ""});
    }
    const std::map<std::string, std::string> types = {
        {"VOR", "1"},  {"TACAN", "4"},    {"VORTAC", "5"}, {"NDB", "8"},
        {"DME", "16"}, {"VOR-DME", "17"}, {"NDB-DME", "8"}};
    testing::Cells navaids = {kNavaids[0]};
    for (const RealNavaid& n : real->navaids)
        if (types.count(n.type))
            navaids.push_back(
                {"K", n.ident, Utf8ToCp1252Transliterated(n.name),
                 FormatFixed(n.type.rfind("NDB", 0) == 0 ? n.frequencyKhz : n.frequencyKhz / 1000,
                             4, '.'),
                 types.at(n.type), Arc(n.lat), Arc(n.lon),
                 n.elevationFt ? std::to_string(*n.elevationFt) : "", "U"});
    testing::Cells comm = {kComm[0]};
    for (const RealFrequency& f : real->frequencies)
        if (const auto type = TableFrequencyType(f.type))
            comm.push_back({"K", f.airportIdent, std::to_string(*type), "",
                            FormatFixed(f.frequencyMhz, 4, '.'), "", "", ""});
    ASSERT_GT(runways.size(), 10000u);
    for (const auto& [dataType, cells] :
         {std::pair{"RUNWAY", &runways}, {"NAVAID", &navaids}, {"COMM", &comm}}) {
        SCOPED_TRACE(dataType);
        const RecordTable table = testing::TableOf(*cells);
        const auto findings = Reconcile(table, {}, dataType, *real, {});
        EXPECT_TRUE(findings.empty())
            << findings.size() << " findings, the first: "
            << (findings.empty() ? "" : RowFindings(findings, findings[0].row));
    }
}

// Every open, placed real runway one number round (magnetic drift: 09/27
// written 10/28): each row is its own runway renumbered back, never a
// neighbour's, unless its new numbers are another runway's of the airport.
TEST(ReconcileRealFiles, RunwaysOneNumberRoundAreRenumberedBackToThemselves) {
    const RealWorldData* real = testing::SharedRealData();
    if (!real) GTEST_SKIP() << testing::kNoSharedRealData;
    const auto turned = [](const std::string& ident) {
        const std::string key = RunwayEndKey(ident);
        std::size_t digits = 0;
        while (digits < key.size() && std::isdigit(key[digits]))
            ++digits;
        const int number = digits ? std::stoi(key.substr(0, digits)) % 36 + 1 : 0;
        return digits ? (number < 10 ? "0" : "") + std::to_string(number) + key.substr(digits) : "";
    };
    std::set<std::string> ends; // airport and end, as compared
    for (const RealRunway& r : real->runways)
        for (const RealRunwayEnd* e : {&r.low, &r.high})
            ends.insert(r.airportIdent + " " + RunwayEndKey(e->ident));
    testing::Cells cells = {kRunways[0]};
    std::vector<std::string> was = {""};
    for (const RealRunway& r : real->runways) {
        const std::string low = turned(r.low.ident), high = turned(r.high.ident);
        if (r.closed || !r.low.Placed() || !r.high.Placed() || low.empty() || high.empty() ||
            ends.count(r.airportIdent + " " + RunwayEndKey(low)) ||
            ends.count(r.airportIdent + " " + RunwayEndKey(high)))
            continue;
        cells.push_back({"K", r.airportIdent, low, high,
                         r.lengthFt ? std::to_string(*r.lengthFt) : "", Arc(*r.low.lat),
                         Arc(*r.low.lon), "", Arc(*r.high.lat), Arc(*r.high.lon), ""});
        was.push_back(r.low.ident + "/" + r.high.ident);
    }
    ASSERT_GT(cells.size(), 5000u);
    const RecordTable table = testing::TableOf(cells);
    const auto findings = Reconcile(table, {}, "RUNWAY", *real, {});
    int wrong = 0;
    std::string first;
    for (int row = 1; row < table.RowCount(); ++row) {
        const std::string text = RowFindings(findings, row);
        if (text.rfind("renumbered ", 0) == 0 &&
            text.find(' ' + was[std::size_t(row)] + ' ') != std::string::npos &&
            text.find(';') == text.size() - 2)
            continue;
        if (wrong++ == 0) first = text + " (was " + was[std::size_t(row)] + ")";
    }
    EXPECT_EQ(wrong, 0) << "of " << table.RowCount() - 1 << ", the first: " << first;
}

} // namespace
} // namespace orvane
