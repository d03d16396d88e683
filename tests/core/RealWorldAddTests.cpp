// Bringing the places a table lacks in from the real world: the demo's tables
// beside their own mirror with a few places more. The rows added hold the
// real world's fields and new keys by the table's scheme, and a second
// comparison finds nothing left to do for them.
#include "demo/DemoFolder.h"
#include "realworld/RealWorldAdd.h"
#include "support/RealWorldFixtures.h"
#include "support/TempDir.h"
#include "table/History.h"
#include "table/ValueDisplay.h"

#include <gtest/gtest.h>

namespace orvane {
namespace {

using testing::RealRecord;

RealWorldData Parse(const std::map<RealDataFile, std::vector<RealRecord>>& files) {
    RealWorldData real;
    for (const auto& [file, records] : files)
        ParseRealDataFile(file, testing::RealFileText(file, records), real);
    return real;
}

// The Missing findings whose real-world label begins with code.
std::vector<int> MissingOf(const std::vector<ReconcileFinding>& findings, const std::string& code) {
    std::vector<int> chosen;
    for (std::size_t i = 0; i < findings.size(); ++i)
        if (findings[i].kind == ReconcileKind::Missing && findings[i].realWorld.rfind(code, 0) == 0)
            chosen.push_back(int(i));
    return chosen;
}

class RealWorldAdd : public ::testing::Test {
  protected:
    void SetUp() override { MakeDemoFolder(dir_.Path()); }
    testing::TempDir dir_;
};

TEST_F(RealWorldAdd, NavaidsGetTheRealFieldsANewKeyAndNothingLeftToFind) {
    SessionState s = testing::DemoSession(dir_.Path(), "NAVAID");
    auto navaids = testing::MirrorTable(s.Table, "NAVAID");
    navaids.push_back({{"ident", "BVX"},
                       {"name", "Beauvais \xC5\x81\xC3\xA9ger"},
                       {"type", "VOR-DME"},
                       {"frequency_khz", "115900"},
                       {"latitude_deg", "49.45"},
                       {"longitude_deg", "2.1"},
                       {"elevation_ft", "350"},
                       {"iso_country", "FR"}});
    const RealWorldData real = Parse({{RealDataFile::Navaids, navaids}});
    const auto findings = Reconcile(s.Table, s.Fields(), "NAVAID", real, {});
    const std::vector<int> chosen = MissingOf(findings, "BVX");
    ASSERT_EQ(chosen.size(), 1u);
    const int rows = s.Table.RowCount();
    // One step of the history: taken back and made again whole.
    History history;
    history.Reset(s.Table);
    history.Begin(s.Table, StepName{txt::StepTakeRealWorld.one, 1});
    const auto added =
        AddFromRealWorld(s.Table, s.Fields(), "NAVAID", real, findings, chosen, '.', 0x12345678);
    history.End(s.Table);
    ASSERT_TRUE(history.Undo(s.Table));
    EXPECT_EQ(s.Table.RowCount(), rows);
    ASSERT_TRUE(history.Redo(s.Table));
    ASSERT_EQ(added.size(), 1u);
    EXPECT_EQ(added[0].row, rows);
    EXPECT_EQ(added[0].key, "FRN0023"); // the next of the French keys FRN0001..FRN0022
    const ReconcileColumns c = FindReconcileColumns(s.Table, "NAVAID");
    const int row = added[0].row;
    EXPECT_EQ(s.Table.Cell(c.key, row), "FRN0023");
    EXPECT_EQ(s.Table.Cell(c.code, row), "BVX");
    EXPECT_EQ(s.Table.Cell(c.name, row), "Beauvais L\xE9ger");
    EXPECT_EQ(s.Table.Cell(c.type, row), "17");
    EXPECT_EQ(s.Table.Cell(c.frequency, row), "115.9000");
    EXPECT_EQ(s.Table.Cell(c.elevation, row), "350");
    const std::string unique(s.Table.Cell(c.unique, row));
    EXPECT_EQ(unique.size(), 16u);
    EXPECT_EQ(unique.substr(8), "12345678");
    for (int r = 1; r < row; ++r)
        EXPECT_NE(s.Table.Cell(c.unique, r), unique);
    // Every other field at its neutral value.
    for (const char* title : {"Range (nm)", "Magnetic variation (deg)", "Usage"}) {
        int column = kFirstFieldColumn;
        while (column < s.Table.ColumnCount() && s.Table.Cell(column, 0) != title)
            ++column;
        ASSERT_LT(column, s.Table.ColumnCount()) << title;
        EXPECT_EQ(ParseDecimal(s.Table.Cell(column, row), '.'), 0.0) << title;
    }

    for (const ReconcileFinding& f : Reconcile(s.Table, s.Fields(), "NAVAID", real, {}))
        EXPECT_TRUE(f.row != row && f.realWorld.rfind("BVX", 0) != 0) << f.realWorld;
}

TEST_F(RealWorldAdd, AnAirportBringsItsRunwaysAndFrequenciesKeyedToIt) {
    SessionState s = testing::DemoSession(dir_.Path(), "AIRPORT");
    auto airports = testing::MirrorTable(s.Table, "AIRPORT");
    airports.push_back({{"ident", "LFPZ"},
                        {"type", "small_airport"},
                        {"name", "Saint-Cyr-l'\xC3\x89"
                                 "cole"},
                        {"latitude_deg", "48.8114"},
                        {"longitude_deg", "2.0747"},
                        {"elevation_ft", "371"},
                        {"iso_country", "FR"}});
    const std::vector<RealRecord> runways = {
        {{"airport_ident", "LFPZ"},
         {"length_ft", "2625"},
         {"closed", "0"},
         {"le_ident", "7"},
         {"le_latitude_deg", "48.8100"},
         {"le_longitude_deg", "2.0650"},
         {"le_heading_degT", "70"},
         {"he_ident", "25"},
         {"he_latitude_deg", "48.8125"},
         {"he_longitude_deg", "2.0800"}},
        {{"airport_ident", "LFPZ"}, {"closed", "1"}, {"le_ident", "11"}, {"he_ident", "29"}},
        {{"airport_ident", "LFPG"}, {"le_ident", "9L"}, {"he_ident", "27R"}}};
    const std::vector<RealRecord> frequencies = {
        {{"airport_ident", "LFPZ"},
         {"type", "TWR"},
         {"description", "ST CYR TWR"},
         {"frequency_mhz", "119.0"}},
        {{"airport_ident", "LFPZ"}, {"type", "UNIC"}, {"frequency_mhz", "122.8"}}};
    const RealWorldData real = Parse({{RealDataFile::Airports, airports},
                                      {RealDataFile::Runways, runways},
                                      {RealDataFile::Frequencies, frequencies}});
    const auto findings = Reconcile(s.Table, s.Fields(), "AIRPORT", real, {});
    const auto added = AddFromRealWorld(s.Table, s.Fields(), "AIRPORT", real, findings,
                                        MissingOf(findings, "LFPZ"), '.', 7);
    ASSERT_EQ(added.size(), 1u);
    // The French airports are FR00001.. in the demo: the next one.
    EXPECT_EQ(added[0].key.substr(0, 2), "FR");
    const ReconcileColumns c = FindReconcileColumns(s.Table, "AIRPORT");
    int french = 0;
    for (int r = 1; r < added[0].row; ++r) {
        french += s.Table.Cell(c.country, r) == "FR";
        EXPECT_NE(s.Table.Cell(c.key, r), added[0].key);
    }
    EXPECT_EQ(added[0].key,
              "FR" + std::string(french + 1 < 10 ? "0000" : "000") + std::to_string(french + 1));
    EXPECT_EQ(s.Table.Cell(c.name, added[0].row), "Saint-Cyr-l'\xC9"
                                                  "cole");
    EXPECT_EQ(s.Table.Cell(c.type, added[0].row), "1");
    for (const ReconcileFinding& f : Reconcile(s.Table, s.Fields(), "AIRPORT", real, {}))
        EXPECT_TRUE(f.row != added[0].row && f.realWorld.rfind("LFPZ", 0) != 0) << f.realWorld;

    const std::vector<AddedAirport> parts = {{added[0].key, real.airports.back()}};
    SessionState r = testing::DemoSession(dir_.Path(), "RUNWAY");
    r.Table.SetRowCount(1);
    EXPECT_EQ(AddRealAirportParts(r.Table, r.Fields(), "RUNWAY", real, parts, '.', 7), 1);
    const ReconcileColumns rc = FindReconcileColumns(r.Table, "RUNWAY");
    EXPECT_EQ(r.Table.Cell(rc.key, 1), added[0].key);
    EXPECT_EQ(r.Table.Cell(rc.airport, 1), "LFPZ");
    EXPECT_EQ(r.Table.Cell(rc.end[0], 1), "07");
    EXPECT_EQ(r.Table.Cell(rc.length, 1), "2625");
    EXPECT_TRUE(Reconcile(r.Table, r.Fields(), "RUNWAY", real, {}).empty());

    SessionState m = testing::DemoSession(dir_.Path(), "COMM");
    m.Table.SetRowCount(1);
    EXPECT_EQ(AddRealAirportParts(m.Table, m.Fields(), "COMM", real, parts, '.', 7), 1);
    const ReconcileColumns mc = FindReconcileColumns(m.Table, "COMM");
    EXPECT_EQ(m.Table.Cell(mc.type, 1), "1");
    EXPECT_EQ(m.Table.Cell(mc.frequency, 1), "119.0000");
    EXPECT_TRUE(Reconcile(m.Table, m.Fields(), "COMM", real, {}).empty());
}

} // namespace
} // namespace orvane
