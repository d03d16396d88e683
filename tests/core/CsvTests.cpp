#include "database/ArchiveWriter.h"
#include "database/DbdFile.h"
#include "exchange/CsvFile.h"
#include "platform/Errors.h"
#include "support/DbdFixtures.h"
#include "support/ScriptedInteraction.h"
#include "support/TableCells.h"
#include "support/TempDir.h"
#include "support/ThrownText.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace orvane;
using namespace orvane::testing;

namespace {

// A table of three fields titled A, B and C, set up as a load leaves it.
const std::vector<FieldSpec> kAbcFields = {
    {"aaaa", 4, 6, 'C', "A"}, {"bbbb", 10, 4, 'I', "B"}, {"cccc", 14, 8, 'D', "C"}};

// --- Export ---------------------------------------------------------------------------

TEST(CsvExport, BothLineFormats) {
    TempDir dir;
    SessionState s = EnglishSession();
    // Cells longer than a fixed-size copy, empty ones, and a short row.
    PlaceTable(s, "NAVAID", kAbcFields,
               {{"x", "1", "10", "20", "30"},
                {"", "0", "é", "21", "1,5000"},
                {"", "0", "Aéroport de Montréal-Trudeau", "", "-0,0625"},
                {"", "0"}});
    ScriptedInteraction ui;
    EXPECT_EQ(ExportCsv(s, dir.File("all.csv"), false, ui, &ui), 4);
    EXPECT_EQ(dir.Read("all.csv"), "NAVAID\r\n"
                                   ";Export;A ; B ; C ; \r\n"
                                   "x;1;10;20;30\r\n"
                                   ";0;é;21;1,5000\r\n"
                                   ";0;Aéroport de Montréal-Trudeau;;-0,0625\r\n"
                                   ";0;;;\r\n");
    EXPECT_EQ(ExportCsv(s, dir.File("sel.csv"), true, ui, &ui), 1);
    EXPECT_EQ(dir.Read("sel.csv"), "NAVAID\r\n"
                                   ";Export;A ; B ; C ; \r\n"
                                   "x;1;10;20;30;\r\n");
    EXPECT_EQ(ui.busyDepth, 0);
    EXPECT_TRUE(ui.messages.empty());
}

// The format has no quoting: a text it cannot hold refuses the whole export,
// naming the first such cell, and the earlier file stays.
TEST(CsvExport, TextsTheFormatCannotHoldRefuseTheExport) {
    struct Case {
        std::vector<std::string> cells; // Suppr, Export, A, B, C of row 2
        const char* message;
    };
    for (const Case& c : {
             Case{{"", "1", "a;b", "2", "3"}, "Row 2, field A: the text holds a \";\""},
             Case{{"", "1", "two\r\nlines", "2", "3"}, "Row 2, field A: the text holds a carriage"},
             Case{{"", "1", "a\nb", "2", "3"}, "Row 2, field A: the text holds a line feed"},
             Case{{"", "1", std::string("a\0b", 3), "2", "3"},
                  "Row 2, field A: the text holds a NUL"},
             Case{{"x;", "1", "a", "2", "3"}, "Row 2, field Suppr: the text holds a \";\""},
             Case{{"", "1", "a", "2", "3;"}, "Row 2, field C: the text holds a \";\""},
             // Past the first 32 bytes of the row, and after a tab it may hold.
             Case{{"", "1", std::string(40, '\xE9') + "\t" + "x\ry", "2", "3"},
                  "Row 2, field A: the text holds a carriage"},
         }) {
        SCOPED_TRACE(c.message);
        TempDir dir;
        SessionState s = EnglishSession();
        PlaceTable(s, "NAVAID", kAbcFields, {{"", "1", "sound", "1", "2"}, c.cells});
        ScriptedInteraction ui;
        const std::string target = dir.Write("out.csv", "earlier");
        for (bool selection : {false, true}) {
            try {
                ExportCsv(s, target, selection, ui);
                ADD_FAILURE() << "exported";
            } catch (const RefusedError& e) {
                EXPECT_EQ(std::string(e.what()).rfind(c.message, 0), 0u) << e.what();
            }
        }
        EXPECT_EQ(dir.ListFiles(), std::vector<std::string>{"out.csv"});
        EXPECT_EQ(dir.Read("out.csv"), "earlier");
    }
}

// --- Splitting ------------------------------------------------------------------------------

TEST(CsvSplit, Pieces) {
    using V = std::vector<std::string_view>;
    EXPECT_EQ(SplitCsvLine("x;1;A;B", 2), (V{"x", "1", "A", "B"}));
    EXPECT_EQ(SplitCsvLine("x;1;A;B;", 2), (V{"x", "1", "A", "B", ""}));
    EXPECT_EQ(SplitCsvLine(";0;A", 2), (V{"", "0", "A"}));
    // No ";" at all: Suppr and Export empty, the whole line the next piece.
    EXPECT_EQ(SplitCsvLine("lonely", 2), (V{"", "", "lonely"}));
    EXPECT_EQ(SplitCsvLine("x;lonely", 2), (V{"x", "", "lonely"}));
    EXPECT_EQ(SplitCsvLine("", 2), (V{"", "", ""}));
    // Blanks and quotes are data.
    EXPECT_EQ(SplitCsvLine(" x ;\"1\"; A ", 1), (V{" x ", "\"1\"", " A "}));
    // At most fieldCount + 5 pieces; the rest of the line is dropped.
    EXPECT_EQ(SplitCsvLine("a;b;c;d;e;f;g;h;i", 1), (V{"a", "b", "c", "d", "e", "f"}));
}

// --- Import ---------------------------------------------------------------------------------

struct CsvFiles {
    TempDir dir;
    std::string dbt;
    CsvFiles() { dbt = dir.Write("NAVAID.dbt", TemplateText(kAbcFields)); }
};

TEST(CsvImport, ShortLongAndBareLinesWithEitherLineEnd) {
    CsvFiles f;
    const std::string path = f.dir.Write("navaid.csv", "NAVAID\n"
                                                       "ignored heading line\r\n"
                                                       "x;1;A;2;3,5\r\n"
                                                       "x;1\n"
                                                       ";0;A;2;3;extra;more\n"
                                                       "lonely\r\n"
                                                       "\n"
                                                       ";1;last;9;9");
    SessionState s = EnglishSession();
    s.Table.SetRowCount(30);
    s.Table.SetCell(6, 3, "stale"); // a short line must not show the old table's cells
    ScriptedInteraction ui;
    ImportOutcome out = ImportCsv(s, path, ImportMode::Open, ui, &ui, f.dbt);
    ASSERT_TRUE(out.tableChanged);
    EXPECT_EQ(DataCells(s.Table, kColModif),
              (std::vector<std::vector<std::string>>{
                  {"", "x", "1", "A", "2", "3,5"},
                  {"", "x", "", "1", "", ""}, // "1" is not the Export piece
                  {"", "", "0", "A", "2", "3"},
                  {"", "", "", "lonely", "", ""},
                  {"", "", "", "", "", ""},
                  {"", "", "1", "last", "9", "9"},
              }));
    EXPECT_EQ(out.status, "File NAVAID.csv - Data type : NAVAID - 6 records");
    EXPECT_EQ(s.Table.SelectedCount, 2);
    EXPECT_EQ(s.Table.DeleteCount, 2);
    EXPECT_EQ(out.selectLabel, "2 selected lines");
    EXPECT_EQ(s.CurrentPod->Dex.RecordSize(), 22);
    EXPECT_EQ(s.WorkDir, f.dir.Path() + "/");
}

TEST(CsvImport, OnlyTheHeaderLinesGiveAnEmptyTable) {
    CsvFiles f;
    SessionState s = EnglishSession();
    ScriptedInteraction ui;
    for (const char* text :
         {"NAVAID\r\n;Export;A ; B ; C ; \r\n", "NAVAID\r\n;Export;A ; B ; C ; ", "NAVAID"}) {
        const std::string path = f.dir.Write("NAVAID.csv", text);
        ImportOutcome out = ImportCsv(s, path, ImportMode::Open, ui, nullptr, f.dbt);
        ASSERT_TRUE(out.tableChanged);
        EXPECT_EQ(s.Table.RowCount(), 1) << text;
        EXPECT_EQ(out.status, "File NAVAID.csv - Data type : NAVAID - 0 records");
    }
    // Without even a data type line the file is refused.
    const std::string empty = f.dir.Write("EMPTY.csv", "\r\nsecond\r\nx;1;a;1;1\r\n");
    EXPECT_THROW(ImportCsv(s, empty, ImportMode::Open, ui, nullptr, f.dbt), FormatError);
    EXPECT_EQ(s.DataType, "NAVAID");
}

TEST(CsvImport, AddModeChecksTheDataTypeAndAppends) {
    CsvFiles f;
    SessionState s = EnglishSession();
    ScriptedInteraction ui;
    const std::string first = f.dir.Write("ONE.csv", "NAVAID\r\nh\r\nx;1;A;1;1\r\n");
    ASSERT_TRUE(ImportCsv(s, first, ImportMode::Add, ui, nullptr, f.dbt).tableChanged)
        << "add mode with no table opens";

    // Another type, and no type at all.
    for (const char* type : {"AIRPORT", ""}) {
        const std::string other =
            f.dir.Write("TWO.csv", std::string(type) + "\r\nh\r\n;1;B;2;2\r\n");
        EXPECT_EQ(ThrownText<RefusedError>([&] { ImportCsv(s, other, ImportMode::Add, ui); }),
                  "Added data inconciliable with those in memory")
            << type;
        EXPECT_EQ(s.Table.RowCount(), 2);
    }

    const std::string more = f.dir.Write("THREE.csv", "NAVAID\r\nh\r\n;1;B;2;2;\r\n;0;C;3;3\r\n");
    const ImportOutcome out = ImportCsv(s, more, ImportMode::Add, ui);
    ASSERT_TRUE(out.tableChanged);
    EXPECT_FALSE(out.templateLoaded);
    EXPECT_EQ(s.Table.RowCount(), 4);
    EXPECT_EQ(s.Table.Cell(0, 3), "3");
    EXPECT_EQ(s.Table.Cell(4, 3), "C");
    EXPECT_EQ(s.Table.CurrentRow(), 2);
    EXPECT_EQ(s.Table.SelectedCount, 2);
    EXPECT_EQ(out.status, "File THREE.csv - Data type : NAVAID - 3 records");

    // A lower-case type is the data type as written.
    const std::string lower = f.dir.Write("four.csv", "navaid\r\nh\r\n;1;D;4;4\r\n");
    EXPECT_THROW(ImportCsv(s, lower, ImportMode::Add, ui), RefusedError);
    EXPECT_EQ(s.Table.RowCount(), 4);
}

TEST(CsvImport, AMissingTemplateOrArchiveLeavesTheSession) {
    TempDir dir;
    // A POD archive without the entry: no message, nothing changes.
    dir.Write("Fly/system/NAVAID.POD",
              BuildArchive(ArchiveLayout::Pod3, {{"DATABASE\\OTHER.DBT", "1\r\n", 0}}));
    const std::string csv = dir.Write("NAVAID.csv", "NAVAID\r\nh\r\nx;1;A;1;1\r\n");
    SessionState s = EnglishSession();
    s.FlyDir = dir.Path() + "/Fly/";
    s.DataType = "AIRPORT";
    s.Table.SetColumnCount(8);
    s.Table.SetCell(4, 1, "mine");
    ScriptedInteraction ui;
    ImportOutcome out = ImportCsv(s, csv, ImportMode::Open, ui);
    EXPECT_FALSE(out.tableChanged);
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_EQ(s.DataType, "AIRPORT");
    EXPECT_EQ(s.Table.Cell(4, 1), "mine");

    s.FlyDir = dir.Path() + "/Nowhere/";
    EXPECT_THROW(ImportCsv(s, csv, ImportMode::Open, ui), FileError);
    s.SimulatorVersion = 0;
    EXPECT_THROW(ImportCsv(s, csv, ImportMode::Open, ui), RefusedError);
    EXPECT_EQ(s.DataType, "AIRPORT");
    EXPECT_EQ(s.Table.Cell(4, 1), "mine");
}

} // namespace
