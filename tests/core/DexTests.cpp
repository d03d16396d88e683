#include "database/ArchiveWriter.h"
#include "database/DbdFile.h"
#include "exchange/DexFile.h"
#include "exchange/ExchangeShared.h"
#include "platform/Errors.h"
#include "support/DbdFixtures.h"
#include "support/ScriptedInteraction.h"
#include "support/TableCells.h"
#include "support/TempDir.h"
#include "support/ThrownText.h"

#include <gtest/gtest.h>

#include <limits>
#include <new>

using namespace orvane;
using namespace orvane::testing;

namespace {

// An AIRPORT table loaded from a DBD of the airport-like template.
struct AirportTable {
    TempDir dir;
    std::string dbt, dbd;
    std::vector<std::string> records;
    AirportTable(int count) {
        for (int n = 1; n <= count; ++n)
            records.push_back(AirportLikeRecord(n));
        dbt = dir.Write("AIRPORT.DBT", TemplateText(AirportLikeFields()));
        dbd = dir.Write("AIRPORT.dbd", DbdBytes("aprt", kAirportLikeRecordSize, records));
    }
    void Load(SessionState& s) {
        ScriptedInteraction ui;
        ASSERT_TRUE(OpenDbdFromDisk(s, dbd, dbt, ui).loaded);
    }
};

// --- Export ----------------------------------------------------------------------

TEST(DexExport, AConversionErrorLeavesNoFileAndKeepsTheEarlierOne) {
    AirportTable f(3);
    SessionState s = EnglishSession(2);
    f.Load(s);
    ScriptedInteraction ui;
    const std::string target = f.dir.Write("AIRPORT.dex", "earlier export");
    s.Table.SetCell(4 + 8, 2, "north"); // Latitude (seconds), a D field
    try {
        ExportDex(s, target, false, ui);
        FAIL() << "no conversion error";
    } catch (const ConversionError& e) {
        EXPECT_EQ(std::string(e.what()),
                  "Row 2, field \"Latitude (seconds)\": \"north\" is not a valid number");
    }
    // A huge cell is quoted by its start and its length, in either language.
    s.Table.SetCell(4 + 8, 2, std::string(100000, '7') + "x");
    try {
        ExportDex(s, target, false, ui);
        FAIL() << "no conversion error";
    } catch (const ConversionError& e) {
        const std::string start = "\"" + std::string(40, '7') + "\xE2\x80\xA6 ";
        EXPECT_EQ(std::string(e.what()), "Row 2, field \"Latitude (seconds)\": " + start +
                                             "(100001 characters)\" is not a valid number");
        EXPECT_NE(e.In(Lang::French).find(start.substr(1) + "(100001 caract\xC3\xA8res)"),
                  std::string::npos)
            << e.In(Lang::French);
    }
    EXPECT_EQ(ReadBytes(target), "earlier export");
    EXPECT_EQ(f.dir.ListFiles(),
              (std::vector<std::string>{"AIRPORT.DBT", "AIRPORT.dbd", "AIRPORT.dex"}));
    EXPECT_EQ(s.CurrentPod->Dex.RecordCount(), 0) << "the held header is not updated";
}

// --- Round trips -------------------------------------------------------------------

const std::vector<FieldSpec> kCommFields = {
    {"ckey", 4, 10, 'C', "Key"},   {"ctyp", 14, 1, 'C', "Type"},  {"cfrq", 15, 8, 'D', "Frequency"},
    {"cnam", 23, 20, 'C', "Name"}, {"cflg", 43, 4, 'I', "Flags"},
};
constexpr int kCommSize = 47;

// --- Versions ---------------------------------------------------------------------

// A simulator folder with both archives of a data type: the EPD (Fly! 1) and
// the POD (Fly! 2) templates differ in their last title so a test sees which
// one was read.
struct SimulatorFolder {
    TempDir dir;
    std::string fly;
    SimulatorFolder(const std::string& type, std::vector<FieldSpec> fly1,
                    std::vector<FieldSpec> fly2) {
        fly = dir.Path() + "/Fly";
        dir.Write("Fly/system/" + type + ".EPD",
                  BuildArchive(ArchiveLayout::Epd,
                               {{"DATABASE\\" + type + ".DBT", TemplateText(fly1), 0}}));
        dir.Write("Fly/system/" + type + ".POD",
                  BuildArchive(ArchiveLayout::Pod3,
                               {{"DATABASE\\" + type + ".DBT", TemplateText(fly2), 0}}));
    }
    SessionState Session_(int version) {
        SessionState s = EnglishSession(version);
        s.FlyDir = fly + "/";
        return s;
    }
};

// Runways: Fly! 1 records of 251 bytes; the Fly! 2 template goes further.
std::vector<FieldSpec> RunwayFields(bool fly2) {
    std::vector<FieldSpec> f = {{"rkey", 4, 10, 'C', "Runway key"},
                                {"rlen", 14, 4, 'I', "Length"},
                                {"rhdg", 18, 8, 'D', "Heading"},
                                {"rsfc", 250, 1, 'C', "Surface"}};
    if (fly2) {
        f.push_back({"rils", 251, 4, 'I', "ILS flags"});
        f.push_back({"rend", 255, 6, 'C', "End name"});
    }
    return f;
}

std::string RunwayRecord(const std::string& key, std::uint32_t length) {
    return RecordBuilder(251)
        .Marks(0, 1)
        .Text(4, key)
        .Int(14, length)
        .Double(18, 92.5)
        .Byte(250, 7)
        .Bytes();
}

TEST(DexVersions, DetectionByTypeAndRecordSize) {
    struct Case {
        const char* name;
        int size, simulator, expected;
    } cases[] = {
        {"AIRPORT.DBD", 330, 2, 1}, {"AIRPORT.DBD", 331, 1, 2}, {"airport.dbd", 330, 2, 1},
        {"RUNWAY.DBD", 251, 2, 1},  {"RUNWAY.DBD", 330, 1, 2},  {"COMM.DBD", 330, 1, 1},
        {"COMM.DBD", 251, 2, 2},    {"NAVAID.DBD", 100, 1, 1},
    };
    for (const auto& c : cases) {
        DexHeader h;
        h.SetName(c.name);
        h.SetRecordSize(c.size);
        EXPECT_EQ(DetectDexVersion(h, c.simulator), c.expected) << c.name << " " << c.size;
    }
}

TEST(DexVersions, Fly1AirportUnderFly2AsksAndCancelLeavesEverything) {
    SimulatorFolder sim("AIRPORT", AirportLikeFields(), AirportLikeFields());
    AirportTable other(2);
    SessionState s = sim.Session_(2);
    other.Load(s);
    s.Table.SetCell(4, 1, "mine");
    const ArchiveFile* pod = s.CurrentPod.get();
    const std::string dex =
        sim.dir.Write("AIRPORT.dex", DexBytes("AIRPORT.DBD", 330, {AirportLikeRecord(5)}));

    ScriptedInteraction ui;
    ui.answers = {false};
    ImportOutcome out = ImportDex(s, dex, ImportMode::Open, ui);
    ASSERT_EQ(ui.questions.size(), 1u);
    EXPECT_EQ(ui.questions[0],
              "DEX file in Fly!1 version.\r\nData will be converted in Fly!2 version.\r\n"
              "Original DEX file unchanged.\r\nClick OK to continue or Cancel to abort.");
    EXPECT_FALSE(out.tableChanged);
    EXPECT_EQ(s.Table.Cell(4, 1), "mine");
    EXPECT_EQ(s.Table.RowCount(), 3);
    EXPECT_EQ(s.CurrentPod.get(), pod);
    EXPECT_EQ(s.DataType, "AIRPORT");
    EXPECT_EQ(out.selectLabel, "0 selected lines");

    ui.answers = {true};
    out = ImportDex(s, dex, ImportMode::Open, ui);
    ASSERT_TRUE(out.tableChanged);
    EXPECT_TRUE(out.converted);
    EXPECT_EQ(s.Table.RowCount(), 2);
    EXPECT_EQ(s.Table.Cell(4, 1), "akey5");
    EXPECT_NE(s.CurrentPod.get(), pod);
    EXPECT_FALSE(s.CurrentPod->IsOpen()) << "an exchange-file table keeps no archive open";
}

TEST(DexVersions, Fly2DataUnderFly1AreRefused) {
    SimulatorFolder sim("AIRPORT", AirportLikeFields(), AirportLikeFields());
    SessionState s = sim.Session_(1);
    s.DataType = "NAVAID";
    s.Table.SetColumnCount(8);
    s.Table.SetCell(4, 1, "mine");
    const std::string dex = sim.dir.Write(
        "AIRPORT.dex", DexBytes("AIRPORT.DBD", 340, {AirportLikeRecord(5) + "0123456789"}));
    ScriptedInteraction ui;
    const auto open = [&] { ImportDex(s, dex, ImportMode::Open, ui); };
    EXPECT_EQ(ThrownText<RefusedError>(open),
              "The data you want to import are in the Fly!2 format.\r\n"
              "They cannot be imported while Fly! 1 is the current version.");
    EXPECT_EQ(s.Table.Cell(4, 1), "mine");
    EXPECT_EQ(s.DataType, "NAVAID") << "a refused import changes nothing";
    EXPECT_FALSE(s.CurrentPod);
    EXPECT_EQ(ThrownText<RefusedError>(open, Lang::French),
              "Les données que vous voulez importez sont au format Fly!2\r\nL'importation est "
              "impossible");
}

TEST(DexVersions, TheArchiveOfTheVersionGivesTheTemplate) {
    auto fly1 = RunwayFields(false);
    fly1.back().title = "Surface (Fly! 1)";
    SimulatorFolder sim("RUNWAY", fly1, RunwayFields(true));
    const std::string dex =
        sim.dir.Write("RUNWAY.dex", DexBytes("RUNWAY.DBD", 251, {RunwayRecord("09", 5000)}));
    SessionState s1 = sim.Session_(1);
    ScriptedInteraction ui;
    ASSERT_TRUE(ImportDex(s1, dex, ImportMode::Open, ui).tableChanged);
    EXPECT_EQ(s1.FieldCount, 4);
    EXPECT_EQ(s1.Table.Cell(7, 0), "Surface (Fly! 1)");
    EXPECT_TRUE(ui.questions.empty());

    // No archive where the version says: a clear error, the table stays.
    SessionState s = EnglishSession(2);
    s.FlyDir = sim.dir.Path() + "/nowhere/";
    s.Table.SetColumnCount(8);
    s.Table.SetCell(4, 1, "mine");
    try {
        ImportDex(s, dex, ImportMode::Open, ui);
        FAIL() << "no error";
    } catch (const FileError& e) {
        EXPECT_NE(std::string(e.what()).find("Cannot open the archive"), std::string::npos);
    }
    EXPECT_EQ(s.Table.Cell(4, 1), "mine");
    EXPECT_EQ(s.DataType, "");
}

TEST(DexVersions, Fly1RunwaysGetZeroInTheFieldBeforeTheLastInOpenAndAddMode) {
    SimulatorFolder sim("RUNWAY", RunwayFields(false), RunwayFields(true));
    const std::string dex =
        sim.dir.Write("RUNWAY.dex", DexBytes("RUNWAY.DBD", 251,
                                             {RunwayRecord("09", 5000), RunwayRecord("27", 6000)}));
    SessionState s = sim.Session_(2);
    ScriptedInteraction ui;
    ImportOutcome out = ImportDex(s, dex, ImportMode::Open, ui);
    ASSERT_TRUE(out.tableChanged);
    ASSERT_EQ(s.FieldCount, 6);
    for (int r = 1; r <= 2; ++r) {
        EXPECT_EQ(s.Table.Cell(7, r), "7");
        EXPECT_EQ(s.Table.Cell(8, r), "0") << "the runway rule";
        EXPECT_EQ(s.Table.Cell(9, r), "") << "beyond the record: zero bytes, an empty text";
    }
    // The held size covers the whole Fly! 2 template, so an export keeps every field.
    EXPECT_EQ(s.CurrentPod->Dex.RecordSize(), 261);

    // Added to the converted table: the rule again, below the rows in memory.
    s.Table.SetCell(8, 1, "3");
    out = ImportDex(s, dex, ImportMode::Add, ui);
    ASSERT_TRUE(out.tableChanged);
    EXPECT_TRUE(out.converted);
    EXPECT_EQ(ui.questions.size(), 1u) << "add mode asks nothing";
    EXPECT_EQ(s.Table.RowCount(), 5);
    EXPECT_EQ(s.Table.Cell(8, 1), "3");
    EXPECT_EQ(s.Table.Cell(8, 3), "0");
    EXPECT_EQ(s.Table.Cell(8, 4), "0");
    EXPECT_EQ(s.Table.Cell(4, 4), "27");
    EXPECT_EQ(s.Table.Cell(0, 4), "4");
    EXPECT_EQ(s.Table.CurrentRow(), 3);
    EXPECT_EQ(s.CurrentPod->Dex.RecordSize(), 261);
    ASSERT_EQ(ExportDex(s, sim.dir.File("OUT.dex"), false, ui), 4);
    EXPECT_EQ(ReadBytes(sim.dir.File("OUT.dex")).size(), 40u + 4 * 261);
}

// --- Add mode and status -------------------------------------------------------------

// Memory running out half-way through an import: the rows an add appended
// are taken back, an open never touched the session's table, and the error
// says what happened.
TEST(DexImport, RunningOutOfMemoryLeavesTheTableAsItWas) {
    for (const bool add : {true, false}) {
        RecordTable session;
        session.SetColumnCount(5);
        session.SetCell(4, 1, "mine");
        const std::vector<FieldDef> fields{{"nkey", 4, 10, 'C', "Key"}};
        try {
            ImportRows rows(session, add ? nullptr : &fields, 5, Lang::English);
            rows.Table().SetCell(4, rows.FirstRow(), "new");
            try {
                throw std::bad_alloc();
            } catch (...) {
                rows.Abandon();
            }
        } catch (const OrvaneError& e) {
            EXPECT_STREQ(e.what(), "not enough memory to load 5 records");
        }
        EXPECT_EQ(session.RowCount(), 5) << add;
        EXPECT_EQ(session.Cell(4, 1), "mine") << add;
        EXPECT_EQ(session.Cell(4, 5), "") << add;
    }
}

TEST(DexImport, AddingAnotherDataTypeIsRefusedAndTheTableStays) {
    AirportTable f(2);
    SessionState s = EnglishSession(1);
    f.Load(s);
    const auto before = DataCells(s.Table);
    // Another type, and no type at all.
    for (const char* name : {"NAVAID.DBD", ""}) {
        const std::string dex =
            f.dir.Write("NAVAID.dex", DexBytes(name, 20, {std::string(20, 'n')}));
        ScriptedInteraction ui;
        EXPECT_EQ(ThrownText<RefusedError>([&] { ImportDex(s, dex, ImportMode::Add, ui); }),
                  "Added data inconciliable with those in memory")
            << name;
        EXPECT_EQ(DataCells(s.Table), before);
        EXPECT_EQ(s.DataType, "AIRPORT");
        EXPECT_EQ(s.CurrentPod->Dex.RecordSize(), kAirportLikeRecordSize);
    }
}

TEST(DexImport, StatusNamesTheUpperCaseBaseNameAndTheFileSize) {
    AirportTable f(0);
    const std::string dex =
        f.dir.Write("sub/airport.dex",
                    DexBytes("AIRPORT.DBD", 330, {AirportLikeRecord(1), AirportLikeRecord(2)}));
    ASSERT_EQ(ReadBytes(dex).size(), 700u);
    SessionState s = EnglishSession(1);
    ScriptedInteraction ui;
    ImportOutcome out = ImportDex(s, dex, ImportMode::Open, ui, nullptr, f.dbt);
    ASSERT_TRUE(out.tableChanged);
    EXPECT_EQ(out.status, "File AIRPORT.dex - Data type : AIRPORT.DBD - 2 records -  700 bytes");
    s.Language = "french";
    out = ImportDex(s, dex, ImportMode::Add, ui);
    EXPECT_EQ(
        out.status,
        "Fichier AIRPORT.dex - Type de données : AIRPORT.DBD - 2 enregistrements -  700 octets");
    EXPECT_EQ(s.Table.RowCount(), 5);
    EXPECT_EQ(s.WorkDir, f.dir.Path() + "/sub/");

    // Another extension: nothing happens.
    const std::string txt = f.dir.Write("airport.txt", ReadBytes(dex));
    out = ImportDex(s, txt, ImportMode::Open, ui, nullptr, f.dbt);
    EXPECT_FALSE(out.tableChanged);
    EXPECT_EQ(s.Table.RowCount(), 5);
}

TEST(DexImport, ZeroRecordsOpenAnEmptyTable) {
    AirportTable f(0);
    const std::string dex = f.dir.Write("AIRPORT.DEX", DexHeaderBytes("AIRPORT.DBD", 330, 0));
    SessionState s = EnglishSession(1);
    s.Table.SetCell(4, 1, "old");
    ScriptedInteraction ui;
    ImportOutcome out = ImportDex(s, dex, ImportMode::Open, ui, nullptr, f.dbt);
    ASSERT_TRUE(out.tableChanged);
    EXPECT_EQ(s.Table.RowCount(), 1);
    EXPECT_EQ(out.status, "File AIRPORT.dex - Data type : AIRPORT.DBD - 0 records -  40 bytes");
}

TEST(DexImport, ARecordWithAnUnreadableDoubleBeepsAndKeepsItsLaterFieldsEmpty) {
    TempDir dir;
    const std::string dbt = dir.Write("COMM.DBT", TemplateText(kCommFields));
    std::string bad = RecordBuilder(kCommSize)
                          .Text(4, "BAD")
                          .Double(15, std::numeric_limits<double>::quiet_NaN())
                          .Text(23, "lost")
                          .Bytes();
    std::string good =
        RecordBuilder(kCommSize).Text(4, "GOOD").Double(15, 1).Text(23, "kept").Bytes();
    const std::string dex = dir.Write("COMM.dex", DexBytes("COMM.DBD", kCommSize, {bad, good}));
    SessionState s = EnglishSession(2);
    ScriptedInteraction ui;
    ASSERT_TRUE(ImportDex(s, dex, ImportMode::Open, ui, nullptr, dbt).tableChanged);
    EXPECT_EQ(ui.beeps, 1);
    EXPECT_TRUE(ui.messages.empty()) << "no \"Erreur en ligne\" warning here";
    EXPECT_EQ(s.Table.Cell(4, 1), "BAD");
    EXPECT_EQ(s.Table.Cell(6, 1), "");
    EXPECT_EQ(s.Table.Cell(7, 1), "");
    EXPECT_EQ(s.Table.Cell(7, 2), "kept");
}

// --- Damaged files --------------------------------------------------------------------

TEST(DexImport, DamagedFilesAreRefusedBeforeTheTableChanges) {
    TempDir dir;
    const std::string dbt = dir.Write("COMM.DBT", TemplateText(kCommFields));
    const std::string rec(kCommSize, '\0');
    struct Case {
        const char* name;
        std::string bytes;
    } cases[] = {
        {"empty", ""},
        {"short header", DexHeaderBytes("COMM.DBD", kCommSize, 1).substr(0, 30)},
        {"truncated", DexHeaderBytes("COMM.DBD", kCommSize, 3) + rec + rec},
        {"size zero", DexHeaderBytes("COMM.DBD", 0, 1) + rec},
        {"size 3", DexHeaderBytes("COMM.DBD", 3, 1) + rec},
        {"size 600", DexHeaderBytes("COMM.DBD", 600, 1) + std::string(600, '\0')},
        {"huge count", DexHeaderBytes("COMM.DBD", kCommSize, 2147483647) + rec},
        {"negative count", DexHeaderBytes("COMM.DBD", kCommSize, -5) + rec},
        {"no name", DexHeaderBytes("", kCommSize, 1) + rec},
    };
    for (const auto& c : cases) {
        for (ImportMode mode : {ImportMode::Open, ImportMode::Add}) {
            SessionState s = EnglishSession(2);
            s.DataType = "COMM";
            s.CurrentPod = std::make_unique<ArchiveFile>();
            s.CurrentPod->Fields = ParseTemplate(TemplateText(kCommFields)).Fields;
            ApplyColumns(s.Table, s.CurrentPod->Fields);
            s.Table.SetCell(4, 1, "mine");
            s.Table.SetCell(kColExport, 1, "1");
            s.Table.SelectedCount = 1;
            ScriptedInteraction ui;
            const std::string path = dir.Write(std::string(c.name) + ".dex", c.bytes);
            if (std::string(c.name) == "no name" && mode == ImportMode::Add) {
                // Added to a table, it is data that does not match the table.
                EXPECT_EQ(ThrownText<RefusedError>([&] { ImportDex(s, path, mode, ui, &ui, dbt); }),
                          txt::AddedDataMismatch.en);
            } else {
                EXPECT_THROW(ImportDex(s, path, mode, ui, &ui, dbt), FormatError) << c.name;
            }
            EXPECT_EQ(s.Table.Cell(4, 1), "mine") << c.name;
            EXPECT_EQ(s.Table.RowCount(), 5) << c.name;
            EXPECT_EQ(s.Table.SelectedCount, 1) << c.name;
            EXPECT_EQ(s.CurrentPod->Dex.RecordSize(), 0) << c.name;
            EXPECT_EQ(ui.busyDepth, 0);
        }
    }
}

} // namespace
