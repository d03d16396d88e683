// The demo simulator folder, read back through the loaders the editor uses:
// every archive of both versions, the airport index, the work folder's DBD,
// DEX and CSV files, and the make-demo command as a user runs it.
#include "database/DbdFile.h"
#include "demo/DemoFolder.h"
#include "exchange/CsvFile.h"
#include "exchange/DexFile.h"
#include "platform/Errors.h"
#include "platform/Paths.h"
#include "realworld/OurAirports.h"
#include "realworld/Reconcile.h"
#include "support/CliRunner.h"
#include "support/ScriptedInteraction.h"
#include "support/TableCells.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <memory>

namespace orvane {
namespace {

using testing::Cells;
using testing::DataCells;
using testing::ScriptedInteraction;
using testing::TempDir;

const char* const kTypes[] = {"AIRPORT", "COMM", "ILS", "NAVAID", "RUNWAY"};

// One demo folder for the whole suite: building it takes a moment.
class DemoFolder : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        dir_ = new TempDir;
        summary_ = MakeDemoFolder(dir_->Path());
    }
    static void TearDownTestSuite() {
        delete dir_;
        dir_ = nullptr;
    }

    static std::string Archive(int version, const std::string& type) {
        return dir_->File(version == 2 ? "fly2/system/" + type + ".POD"
                                       : "fly1/system/" + type + ".EPD");
    }
    static std::string Work(const std::string& name) { return dir_->File("work/" + name); }

    // A session loaded from an archive, with no message or beep on the way.
    static std::unique_ptr<SessionState> Load(int version, const std::string& type) {
        auto s = std::make_unique<SessionState>();
        s->Language = "english";
        s->SimulatorVersion = version;
        ScriptedInteraction ui;
        const LoadOutcome out = OpenDbdFromArchive(*s, Archive(version, type), "", ui);
        EXPECT_TRUE(out.loaded) << type;
        EXPECT_TRUE(ui.messages.empty()) << type << ": " << ui.messages.front().text;
        EXPECT_EQ(ui.beeps, 0) << type;
        return s;
    }

    static int Column(const SessionState& s, const std::string& title) {
        for (int c = kFirstFieldColumn; c < s.Table.ColumnCount(); ++c)
            if (s.Table.Cell(c, 0) == title) return c;
        ADD_FAILURE() << "no column " << title;
        return 0;
    }

    static TempDir* dir_;
    static DemoSummary summary_;
};

TempDir* DemoFolder::dir_ = nullptr;
DemoSummary DemoFolder::summary_;

std::vector<unsigned char> EntryBytes(const std::string& archive, const std::string& name) {
    ArchiveFile pod(archive);
    pod.ReadHeader();
    pod.ReadDirectory();
    EXPECT_TRUE(pod.ReadEntry(name)) << name;
    return pod.EntryData;
}

TEST_F(DemoFolder, EveryTableOfBothVersionsLoadsCleanlyWithSaneValues) {
    for (int version : {1, 2}) {
        for (const std::string type : kTypes) {
            SCOPED_TRACE(type + " Fly! " + std::to_string(version));
            auto s = Load(version, type);
            const ArchiveFile& pod = *s->CurrentPod;
            const int size = pod.Dbd.RecordSize();
            EXPECT_EQ(s->DataType, type);
            EXPECT_GT(pod.Dbd.RecordCount(), 40);
            EXPECT_EQ(s->Table.RowCount(), pod.Dbd.RecordCount() + 1);
            EXPECT_EQ(DataTypeFromTag(pod.Dbd.Tag()), type);
            EXPECT_NE(pod.Dbd.Stamp(), 0);

            // The DEX importer tells Fly! 1 data by these two sizes alone.
            if (type == "AIRPORT") {
                EXPECT_EQ(size == 330, version == 1) << size;
            }
            if (type == "RUNWAY") {
                EXPECT_EQ(size == 251, version == 1) << size;
            }

            bool hasUnique = false, hasLat = false;
            for (const FieldDef& f : pod.Fields) {
                EXPECT_LE(f.Offset + f.ByteWidth(), size) << f.Name;
                EXPECT_EQ(f.Name.size(), 4u);
                EXPECT_EQ(f.Name, ToLowerAscii(f.Name));
                EXPECT_TRUE(f.IsConverted()) << f.Name;
            }
            for (int c = kFirstFieldColumn; c < s->Table.ColumnCount(); ++c) {
                const std::string title(s->Table.Cell(c, 0));
                const bool lat = title.find("Latitude") != std::string::npos;
                const bool lon = title.find("Longitude") != std::string::npos;
                const bool unique = title.find("Unique") != std::string::npos;
                hasLat |= lat;
                hasUnique |= unique;
                // A latitude column is read with the column on its right.
                if (lat) {
                    EXPECT_NE(std::string(s->Table.Cell(c + 1, 0)).find("Longitude"),
                              std::string::npos);
                }
                for (int r = 1; r < s->Table.RowCount(); ++r) {
                    const std::string cell(s->Table.Cell(c, r));
                    if (lat || lon) {
                        const double deg = std::strtod(cell.c_str(), nullptr) / 3600;
                        EXPECT_LE(std::fabs(deg), lat ? 90.0 : 180.0) << cell;
                        EXPECT_NE(deg, 0.0) << title << " row " << r; // never left unset
                    }
                    if (unique) {
                        ASSERT_EQ(cell.size(), 16u) << cell;
                        EXPECT_EQ(cell.find_first_not_of("0123456789ABCDEF"), std::string::npos);
                        const auto stamp = std::strtoul(cell.substr(8).c_str(), nullptr, 16);
                        EXPECT_GT(stamp, 883612800u);  // 1998
                        EXPECT_LT(stamp, 1009843200u); // 2002
                    }
                }
            }
            EXPECT_TRUE(hasLat);
            EXPECT_EQ(hasUnique, version == 2);
        }
    }
}

TEST_F(DemoFolder, TablesHoldRealPlacesAndShowEveryFlag) {
    auto s = Load(2, "AIRPORT");
    const RecordTable& t = s->Table;
    const int icao = Column(*s, "ICAO identifier"), name = Column(*s, "Name"),
              lat = Column(*s, "Latitude"), lon = Column(*s, "Longitude"),
              elev = Column(*s, "Elevation (ft)");
    EXPECT_GE(t.RowCount() - 1, 120);
    bool orly = false, beziers = false;
    for (int r = 1; r < t.RowCount(); ++r) {
        if (t.Cell(icao, r) == "LFPO") {
            orly = true;
            EXPECT_EQ(t.Cell(name, r), "Paris-Orly");
            EXPECT_NEAR(std::strtod(std::string(t.Cell(lat, r)).c_str(), nullptr) / 3600, 48.72,
                        0.02);
            EXPECT_NEAR(std::strtod(std::string(t.Cell(lon, r)).c_str(), nullptr) / 3600, 2.38,
                        0.02);
            EXPECT_EQ(t.Cell(elev, r), "291");
        }
        // Names are Windows-1252 bytes: é is the single byte E9.
        if (t.Cell(icao, r) == "LFMU") beziers = t.Cell(name, r) == "B\xE9ziers-Vias";
    }
    EXPECT_TRUE(orly);
    EXPECT_TRUE(beziers);

    for (const std::string type : kTypes) {
        auto table = Load(2, type);
        EXPECT_GT(table->Table.SelectedCount, 0) << type;
        if (type == "AIRPORT" || type == "COMM") {
            EXPECT_GT(table->Table.CountDeleted(), 0) << type;
        }
    }
}

TEST_F(DemoFolder, IndexRowsPointAtTheirAirportRecords) {
    for (int version : {1, 2}) {
        SCOPED_TRACE(version);
        auto s = Load(version, "AIRPORT");
        const int keyCol = Column(*s, "Airport key"), icaoCol = Column(*s, "ICAO identifier");
        const int size = s->CurrentPod->Dbd.RecordSize();

        ArchiveFile pod(Archive(version, "AIRPORT"));
        pod.ReadHeader();
        pod.ReadDirectory();
        ASSERT_TRUE(pod.ReadIndex("DATABASE\\APRTICAO.DBI"));
        const int rows = pod.IndexRowCount(), length = pod.IndexRowLength();
        EXPECT_GE(rows, 120);
        EXPECT_GE(length, 9);
        ASSERT_EQ(pod.IndexBody.size(), static_cast<std::size_t>(rows) * length);
        std::string previous;
        for (int i = 0; i < rows; ++i) {
            const unsigned char* row = pod.IndexBody.data() + static_cast<std::size_t>(i) * length;
            std::string code(reinterpret_cast<const char*>(row), 5);
            code = code.substr(0, code.find('\0'));
            const std::uint32_t position = GetU32(row + 5);
            EXPECT_LT(previous, code);
            previous = code;
            ASSERT_GE(position, DbdHeader::kSize);
            ASSERT_EQ((position - DbdHeader::kSize) % size, 0u) << code;
            const int record = static_cast<int>((position - DbdHeader::kSize) / size) + 1;
            ASSERT_LT(record, s->Table.RowCount()) << code;
            EXPECT_EQ(s->Table.Cell(icaoCol, record), code);
            EXPECT_NE(s->Table.Cell(kColSuppr, record), "x") << code;

            // What the airport lookup reads: 8 bytes at position + 4 of the entry.
            const std::int64_t entry = pod.ReadDbdHeader("DATABASE\\AIRPORT.DBD");
            ASSERT_GE(entry, 0);
            pod.File().Seek(static_cast<std::uint64_t>(entry));
            char text[9] = {};
            ASSERT_TRUE(pod.ReadRelative(position + 4, text, 8));
            EXPECT_EQ(std::string(text), s->Table.Cell(keyCol, record)) << code;
        }
    }
}

TEST_F(DemoFolder, WorkFilesLoadAndSaveAgain) {
    for (const std::string type : kTypes) {
        SCOPED_TRACE(type);
        const std::string archive = Archive(2, type);
        // The work DBD is the archive's entry, byte for byte.
        const std::vector<unsigned char> entry = EntryBytes(archive, "DATABASE\\" + type + ".DBD");
        const std::string dbd = dir_->Read("work/" + type + ".dbd");
        ASSERT_EQ(dbd, std::string(entry.begin(), entry.end()));

        SessionState s = testing::EnglishSession(2);
        ScriptedInteraction ui;
        ASSERT_TRUE(OpenDbdFromDisk(s, Work(type + ".dbd"), archive, ui).loaded);
        const Cells fromDbd = DataCells(s.Table);
        ASSERT_FALSE(fromDbd.empty());

        // Saved again unchanged: the same bytes but for the save time.
        TempDir out;
        SaveDbd(s, out.File("again.dbd"), false, ui);
        std::string again = out.Read("again.dbd");
        ASSERT_EQ(again.size(), dbd.size());
        EXPECT_NE(again.substr(12, 4), dbd.substr(12, 4));
        again.replace(12, 4, dbd.substr(12, 4));
        EXPECT_TRUE(again == dbd);

        EXPECT_TRUE(ui.messages.empty()) << ui.messages.front().text;
        EXPECT_EQ(ui.beeps, 0);
    }
}

TEST_F(DemoFolder, RerunGivesTheSameFilesAndCommaCsv) {
    TempDir again;
    const DemoSummary first = MakeDemoFolder(again.Path(), ',');
    const std::vector<std::string> files = again.ListFiles();
    EXPECT_EQ(files, dir_->ListFiles());
    // Same archives, DBD and real-world sample whatever the separator; the
    // work folder's CSV follows it.
    for (const auto& f : files) {
        if (f.starts_with("work/") && f.ends_with(".csv")) continue;
        EXPECT_TRUE(again.Read(f) == dir_->Read(f)) << f;
    }
    const std::string csv = again.Read("work/NAVAID.csv");
    EXPECT_NE(csv.find(";115,3500;"), std::string::npos);
    EXPECT_EQ(csv.find(";115.3500;"), std::string::npos);

    // Replaced in place on a second run, nothing added.
    const DemoSummary second = MakeDemoFolder(again.Path(), ',');
    EXPECT_EQ(again.ListFiles(), files);
    EXPECT_EQ(second.records, first.records);
    EXPECT_EQ(first.records, summary_.records);
    EXPECT_EQ(summary_.archives, 10);
    EXPECT_EQ(summary_.workFiles, 15);
    EXPECT_GE(summary_.TotalRecords(), 500);
}

// The sample real world differs from the tables in exactly the planted places.
TEST_F(DemoFolder, OurAirportsSampleReadsAndShowsEachPlantedFinding) {
    using K = ReconcileKind;
    const RealWorldData real = ReadRealWorldData(
        dir_->File("ourairports"), {RealDataFile::Airports, RealDataFile::Runways,
                                    RealDataFile::Navaids, RealDataFile::Frequencies});
    EXPECT_FALSE(real.frequencies.empty());
    const struct {
        const char* type;
        std::vector<std::pair<K, int>> findings; // kind, table row (0: missing)
        std::string missing;                     // the missing record's label
    } cases[] = {
        {"AIRPORT", {{K::Moved, 4}, {K::Elevation, 7}, {K::Name, 9}}, ""},
        {"RUNWAY", {{K::Renumbered, 178}}, ""},
        {"NAVAID", {{K::Frequency, 8}, {K::NotInRealWorld, 36}, {K::Missing, 0}}, "BVS  Beauvais"},
        {"COMM", {}, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.type);
        const auto s = Load(2, c.type);
        const auto found = Reconcile(s->Table, s->Fields(), c.type, real, {});
        std::vector<std::pair<K, int>> got;
        for (const ReconcileFinding& f : found) {
            got.emplace_back(f.kind, f.row);
            if (f.kind == K::Missing) {
                EXPECT_EQ(f.realWorld.rfind(c.missing, 0), 0u) << f.realWorld;
            }
        }
        EXPECT_EQ(got, c.findings);
    }
}

TEST_F(DemoFolder, UnwritableFolderFails) {
    const std::string blocker = dir_->Write("blocker", "a file, not a folder");
    EXPECT_THROW(MakeDemoFolder(blocker + "/demo"), OrvaneError);
}

// make-demo run as a user would.
class DemoCommand : public testing::CliTest {};

TEST_F(DemoCommand, PrintsOneSummaryLineAndFailsOnOneStderrLine) {
    const testing::CliResult made = Run({"make-demo", dir_.File("demo")});
    ASSERT_EQ(made.status, 0) << made.err;
    EXPECT_EQ(std::count(made.out.begin(), made.out.end(), '\n'), 1) << made.out;
    EXPECT_NE(made.out.find("10 archives"), std::string::npos) << made.out;
    EXPECT_TRUE(dir_.Exists("demo/fly2/system/AIRPORT.POD"));
    EXPECT_TRUE(dir_.Exists("demo/work/RUNWAY.csv"));

    for (const std::vector<std::string>& bad :
         std::vector<std::vector<std::string>>{{"make-demo"},
                                               {"make-demo", "a", "b"},
                                               {"make-demo", "--bogus", "x"},
                                               {"make-demo", dir_.Write("file", "x") + "/sub"}})
        ExpectError(Run(bad), "");
    const testing::CliResult help = Run({"make-demo", "--help"});
    EXPECT_EQ(help.status, 0);
    EXPECT_NE(help.out.find("Usage: orvane-cli make-demo DIR"), std::string::npos);
}

} // namespace
} // namespace orvane
