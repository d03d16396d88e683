// orvane-cli reconcile on the demo folder's navaids beside OurAirports-format
// files mirroring them: no finding, planted findings with the threshold and
// the key, and the errors, each with its exit status.
#include "demo/DemoFolder.h"
#include "realworld/Reconcile.h"
#include "support/CliRunner.h"
#include "support/RealWorldFixtures.h"

#include <gtest/gtest.h>

namespace orvane {
namespace {

using testing::RealRecord;

class CliReconcile : public testing::CliTest {
  protected:
    void SetUp() override {
        CliTest::SetUp();
        if (IsSkipped()) return;
        demo_ = dir_.File("demo");
        MakeDemoFolder(demo_);
        mirror_ = testing::MirrorTable(testing::DemoTable(demo_, "NAVAID"), "NAVAID");
        table_ = demo_ + "/fly2/system/NAVAID.POD";
    }
    testing::CliResult Reconcile(const std::vector<RealRecord>& records,
                                 std::vector<std::string> more = {}) {
        testing::WriteRealFile(io_.Path(), RealDataFile::Navaids, records);
        std::vector<std::string> args = {"reconcile", table_, io_.Path()};
        args.insert(args.end(), more.begin(), more.end());
        return Run(args);
    }
    std::string demo_, table_;
    std::vector<RealRecord> mirror_;
};

TEST_F(CliReconcile, FindingsOneLineEachWithTheExitStatus) {
    const testing::CliResult same = Reconcile(mirror_);
    EXPECT_EQ(same.status, 0) << same.err;
    EXPECT_EQ(same.out.rfind("No finding, ", 0), 0u) << same.out;

    auto planted = mirror_;
    testing::RecordWhere(planted, "ident", "CGN")["frequency_khz"] = "116000";
    testing::MoveNorth(testing::RecordWhere(planted, "ident", "RBT"), 3000);
    planted.erase(planted.begin() + 2); // PON
    const std::vector<std::string> expected = {
        "Frequency changed: CGN  Charles de Gaulle (line 1): Frequency (MHz, kHz for NDB) "
        "\"115.3500\" -> \"116.0000\"",
        "Moved 3000 m: RBT  Rambouillet (line 2): Latitude \"175151.8800\" -> ",
        "Not in the real-world data: PON  Pontoise (line 3)", "3 findings, "};
    for (const auto& [what, more, lines] :
         std::vector<std::tuple<const char*, std::vector<std::string>, std::vector<std::string>>>{
             {"defaults", {}, expected},
             {"the key named", {"--key", "Identifier"}, expected},
             {"a longer threshold",
              {"--threshold", "5000"},
              {expected[0], expected[2], "2 findings, "}},
             {"one kind", {"--kind", "moved"}, {expected[1], "1 finding of 3 shown, "}},
             {"two kinds, one country",
              {"--kind", "not-in-real-world", "--kind", "Frequency", "--country", "fr"},
              {expected[0], expected[2], "2 findings of 3 shown, "}},
             {"the counts",
              {"--summary"},
              {"Moved: 1", "Frequency changed: 1", "Not in the real-world data, or closed: 1",
               "3 findings, "}},
         }) {
        SCOPED_TRACE(what);
        const testing::CliResult r = Reconcile(planted, more);
        EXPECT_EQ(r.status, 1) << r.err;
        const auto out = testing::SplitLines(r.out);
        ASSERT_EQ(out.size(), lines.size()) << r.out;
        for (std::size_t i = 0; i < lines.size(); ++i)
            EXPECT_EQ(out[i].rfind(lines[i], 0), 0u) << out[i];
    }
}

TEST_F(CliReconcile, ErrorsExitTwoAndSayWhere) {
    auto broken = testing::RealFileText(RealDataFile::Navaids, mirror_);
    broken.insert(broken.find('\n', broken.find('\n') + 1) + 1, "\"9\",\"x\",\"PGS\"\n");
    io_.Write("bad/navaids.csv", broken);
    io_.Write("folder/navaids.csv/inside", "");
    const struct {
        std::vector<std::string> args;
        std::string message;
    } cases[] = {
        {{"reconcile", table_, io_.File("none")}, "navaids.csv not found"},
        {{"reconcile", table_, io_.File("bad")}, "navaids.csv, line 3, column \"name\""},
        {{"reconcile", demo_ + "/fly2/system/ILS.POD", io_.File("bad")},
         "ILS records have no counterpart"},
        {{"reconcile", table_, io_.File("bad"), "--threshold", "far"},
         "--threshold needs a distance"},
        {{"reconcile", table_, io_.File("bad"), "--key", "Nothing"}, "no column 'Nothing'"},
        {{"reconcile", table_, io_.File("bad"), "--threshold", ""}, "--threshold needs a distance"},
        {{"reconcile", table_, io_.File("bad"), "--kind", "far"}, "--kind needs one of"},
        {{"reconcile", table_, io_.File("folder")}, "navaids.csv is a folder, not a file"},
        {{"reconcile", table_, io_.File("bad"), "--add", "VOR"}, "--add needs --out FILE"},
        {{"reconcile", demo_ + "/fly2/system/RUNWAY.POD", io_.File("bad"), "--add", "all", "--out",
          io_.File("x.dbd")},
         "--add needs an AIRPORT or NAVAID table, not RUNWAY"},
        {{"reconcile", table_}, "reconcile takes TABLE and OURAIRPORTS_FOLDER"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.message);
        const testing::CliResult r = Run(c.args);
        EXPECT_EQ(r.status, 2);
        EXPECT_NE(r.err.find(c.message), std::string::npos) << r.err;
    }
}

// --add brings the navaids of a type the table lacks into a copy of it, which
// a second comparison finds complete.
TEST_F(CliReconcile, AddWritesTheMissingPlacesOfATypeAndWarnsOfText) {
    auto real = mirror_;
    for (const char* type : {"VOR-DME", "NDB"})
        real.push_back({{"ident", type[0] == 'V' ? "BVX" : "BV"},
                        {"name", "Beauvais"},
                        {"type", type},
                        {"frequency_khz", type[0] == 'V' ? "115900" : "375"},
                        {"latitude_deg", "49.45"},
                        {"longitude_deg", "2.1"},
                        {"iso_country", "FR"}});
    real.back()["name"] = "Beauvais Till\xE9"; // saved as Windows-1252
    const std::string out = io_.File("added.dbd");
    const testing::CliResult added = Reconcile(real, {"--add", "vor-dme", "--out", out});
    EXPECT_EQ(added.status, 0) << added.err;
    EXPECT_NE(added.out.find("Added FRN0023: BVX  Beauvais (VOR-DME) (line "), std::string::npos)
        << added.out;
    EXPECT_NE(added.out.find("1 row added, " + out + " written"), std::string::npos) << added.out;
    EXPECT_NE(added.err.find("warning: navaids.csv, line "), std::string::npos) << added.err;

    const testing::CliResult again =
        Run({"reconcile", out, io_.Path(), "--template", table_, "--kind", "not-in-table"});
    EXPECT_EQ(again.status, 1) << again.err;
    EXPECT_EQ(again.out.find("BVX"), std::string::npos) << again.out;
    EXPECT_NE(again.out.find("Not in the table: BV  Beauvais Till\xC3\xA9 (NDB)"),
              std::string::npos)
        << again.out;
}

// An airport added brings its runways and frequencies as DEX files made
// with the templates of the archives beside the table's.
TEST_F(CliReconcile, AnAirportAddedBringsItsRunwaysAndFrequenciesAsDexFiles) {
    auto airports = testing::MirrorTable(testing::DemoTable(demo_, "AIRPORT"), "AIRPORT");
    airports.push_back({{"ident", "LFPZ"},
                        {"type", "small_airport"},
                        {"name", "Saint-Cyr"},
                        {"latitude_deg", "48.8114"},
                        {"longitude_deg", "2.0747"},
                        {"iso_country", "FR"}});
    testing::WriteRealFile(io_.Path(), RealDataFile::Airports, airports);
    testing::WriteRealFile(io_.Path(), RealDataFile::Runways,
                           {{{"airport_ident", "LFPZ"}, {"le_ident", "7"}, {"he_ident", "25"}}});
    testing::WriteRealFile(
        io_.Path(), RealDataFile::Frequencies,
        {{{"airport_ident", "LFPZ"}, {"type", "A/D"}, {"frequency_mhz", "120.0"}}});
    const std::string out = io_.File("added.dbd");
    const testing::CliResult r = Run({"reconcile", demo_ + "/fly2/system/AIRPORT.POD", io_.Path(),
                                      "--add", "small_airport", "--out", out});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.out.find("1 row of RUNWAY written to " + io_.File("added-RUNWAY.dex")),
              std::string::npos)
        << r.out;
    EXPECT_NE(r.out.find("1 row of COMM written"), std::string::npos) << r.out;
    const testing::CliResult runway = Run(
        {"show", io_.File("added-RUNWAY.dex"), "--template", demo_ + "/fly2/system/RUNWAY.POD"});
    const auto lines = testing::SplitLines(runway.out);
    ASSERT_EQ(lines.size(), 2u) << runway.out << runway.err;
    EXPECT_NE(lines[1].find("\tLFPZ\t07\t25\t"), std::string::npos) << lines[1];
}

} // namespace
} // namespace orvane
