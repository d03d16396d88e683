#include "database/ArchiveWriter.h"
#include "database/DbdFile.h"
#include "platform/Errors.h"
#include "support/DbdFixtures.h"
#include "support/ScriptedInteraction.h"
#include "support/TableCells.h"
#include "support/TempDir.h"
#include "support/ThrownText.h"

#include <gtest/gtest.h>

#include <filesystem>

#include <cmath>
#include <limits>

using namespace orvane;
using namespace orvane::testing;

namespace {

// A small navaid-like template covering every field kind.
const std::vector<FieldSpec> kNavFields = {
    {"nkey", 4, 10, 'C', "Navaid key"}, {"nidt", 14, 5, 'C', "Identifier"},
    {"ncls", 19, 1, 'C', "Class"},      {"nfrq", 20, 8, 'D', "Frequency"},
    {"nlat", 28, 8, 'D', "Latitude"},   {"nlon", 36, 8, 'D', "Longitude"},
    {"ntyp", 44, 4, 'I', "Type"},       {"nxxx", 48, 4, 'X', "Not converted"},
};
constexpr int kNavSize = 52;

std::vector<FieldDef> NavDefs() {
    return ParseTemplate(TemplateText(kNavFields)).Fields;
}

std::string NavRecord(const std::string& key, double freq, std::uint32_t type,
                      std::uint16_t del = 0, std::uint16_t exp = 0) {
    return RecordBuilder(kNavSize)
        .Marks(del, exp)
        .Text(4, key)
        .Text(14, "ABC")
        .Byte(19, 200)
        .Double(20, freq)
        .Double(28, 45.5 * 3600)
        .Double(36, -73.25 * 3600)
        .Int(44, type)
        .Bytes();
}

RecordBuffer Buffer(const std::string& bytes) {
    RecordBuffer b{};
    std::copy(bytes.begin(), bytes.end(), b.begin());
    return b;
}

TEST(DbdTags, DataTypesFromTags) {
    const std::pair<const char*, const char*> cases[] = {
        {"aprt", "AIRPORT"}, {"comm", "COMM"},   {"ils", "ILS"},     {"ilsx", "ILS"},
        {"naid", "NAVAID"},  {"navd", "NAVAID"}, {"rnwy", "RUNWAY"}, {"rway", "RUNWAY"},
        {"APRT", ""},        {"apr", ""},        {"xyz", ""},
    };
    for (auto [tag, type] : cases)
        EXPECT_EQ(DataTypeFromTag(tag), type) << tag;
    EXPECT_EQ(DataTypeFromTag(TagForDataType("NAVAID")), "NAVAID");
}

TEST(DbdRecordToCells, ConvertsEveryFieldKind) {
    RecordTable t;
    auto defs = NavDefs();
    ApplyColumns(t, defs);
    t.SetCell(4 + 7, 1, "kept");
    std::string rec = NavRecord("KEY0123456", 112.5, 0xFFFFFFFFu, 42, 0x0100);
    rec[4 + 10] = 'Z'; // the key fills its 10 bytes; the next field starts right after
    ASSERT_TRUE(RecordToCells(Buffer(rec), defs, t, 1, '.', BadDoublePolicy::Warn, nullptr));
    EXPECT_EQ(t.Cell(0, 1), "1");
    EXPECT_EQ(t.Cell(2, 1), "x");
    EXPECT_EQ(t.Cell(3, 1), "256");
    EXPECT_EQ(t.Cell(4, 1), "KEY0123456"); // confined to its own 10 bytes
    EXPECT_EQ(t.Cell(5, 1), "ZBC");
    EXPECT_EQ(t.Cell(6, 1), "200");
    EXPECT_EQ(t.Cell(7, 1), "112.5000");
    EXPECT_EQ(t.Cell(10, 1), "4294967295");
    EXPECT_EQ(t.Cell(11, 1), "kept"); // other types are not touched

    ASSERT_TRUE(RecordToCells(Buffer(NavRecord("K", 12.5, 1)), defs, t, 1, ',',
                              BadDoublePolicy::Warn, nullptr));
    EXPECT_EQ(t.Cell(7, 1), "12,5000");
    EXPECT_EQ(t.Cell(2, 1), "");
}

// The texts are written straight into the row's storage: kept cells of any
// length (here past 64 KiB, so the row's offsets are wide), columns past the
// template, and a row outside the table, all come through as they were.
TEST(DbdRecordToCells, KeptCellsOfAnyLengthSurviveTheDecoding) {
    auto defs = NavDefs();
    for (const std::size_t length : {std::size_t{3}, std::size_t{70000}}) {
        RecordTable t;
        ApplyColumns(t, defs);
        t.SetColumnCount(14);
        const std::string modif(length, 'm'), other(length, 'o');
        t.SetCell(1, 1, modif);
        t.SetCell(4 + 7, 1, other); // the field of a type that is not converted
        t.SetCell(13, 1, "past the template");
        ASSERT_TRUE(RecordToCells(Buffer(NavRecord("K", 112.5, 9)), defs, t, 1, '.',
                                  BadDoublePolicy::Warn, nullptr));
        EXPECT_EQ(t.Cell(1, 1), modif);
        EXPECT_EQ(t.Cell(4, 1), "K");
        EXPECT_EQ(t.Cell(9, 1), "-263700.0000");
        EXPECT_EQ(t.Cell(10, 1), "9");
        EXPECT_EQ(t.Cell(11, 1), other);
        EXPECT_EQ(t.Cell(12, 1), "");
        EXPECT_EQ(t.Cell(13, 1), "past the template");

        const std::uint64_t revision = t.Revision();
        RecordToCells(Buffer(NavRecord("K", 1, 1)), defs, t, t.RowCount(), '.',
                      BadDoublePolicy::Warn, nullptr);
        EXPECT_EQ(t.Revision(), revision) << "a row outside the table is no change";
        EXPECT_EQ(t.Cell(4, 1), "K");
    }
}

TEST(DbdRecordToCells, DeletionMarkNeedsTheZeroByte) {
    RecordTable t;
    auto defs = NavDefs();
    ApplyColumns(t, defs);
    std::string rec = NavRecord("K", 1, 1);
    rec[0] = '*';
    rec[1] = 'A';
    RecordToCells(Buffer(rec), defs, t, 1, '.', BadDoublePolicy::Warn, nullptr);
    EXPECT_EQ(t.Cell(2, 1), "");
}

TEST(DbdRecordToCells, DoublesThatCannotBeShownFollowThePolicy) {
    auto defs = NavDefs();
    for (double bad :
         {std::numeric_limits<double>::quiet_NaN(), std::numeric_limits<double>::infinity()}) {
        RecordTable t;
        ApplyColumns(t, defs);
        t.SetRowCount(4);
        t.SetCell(7, 3, "before");
        ScriptedInteraction ui;
        std::string rec = NavRecord("K", bad, 7);
        EXPECT_TRUE(RecordToCells(Buffer(rec), defs, t, 3, '.', BadDoublePolicy::Warn, &ui));
        ASSERT_EQ(ui.messages.size(), 1u);
        EXPECT_EQ(ui.messages[0].text, "Erreur en ligne 3");
        EXPECT_EQ(ui.messages[0].kind, MessageKind::Warning);
        EXPECT_EQ(t.Cell(7, 3), "before");
        EXPECT_EQ(t.Cell(10, 3), "7"); // the load goes on with the next field

        RecordTable u;
        ApplyColumns(u, defs);
        EXPECT_FALSE(RecordToCells(Buffer(rec), defs, u, 1, '.', BadDoublePolicy::FailRecord, &ui));
        EXPECT_EQ(u.Cell(6, 1), "200"); // filled before the bad field
        EXPECT_EQ(u.Cell(10, 1), "");   // not reached
    }
}

TEST(DbdBuildRecord, FlagsAndFields) {
    RecordTable t;
    auto defs = NavDefs();
    ApplyColumns(t, defs);
    const char* cells[] = {"1",   "",     "x",  "1",    "KEY",        "ABCDE",
                           "200", "12.5", "-1", "3600", "4294967295", "junk"};
    for (int c = 0; c < 12; ++c)
        t.SetCell(c, 1, cells[c]);
    RecordBuffer rec;
    BuildRecord(t, 1, defs, '.', rec);
    EXPECT_EQ(rec[0], 42);
    EXPECT_EQ(rec[1], 0);
    EXPECT_EQ(rec[2], 1);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(&rec[4]), 4), std::string("KEY\0", 4));
    // A text of exactly its width has no terminator and leaves the next field alone.
    EXPECT_EQ(std::string(reinterpret_cast<char*>(&rec[14]), 5), "ABCDE");
    EXPECT_EQ(rec[19], 200);
    EXPECT_DOUBLE_EQ(GetF64(&rec[20]), 12.5);
    EXPECT_DOUBLE_EQ(GetF64(&rec[28]), -1.0);
    EXPECT_EQ(GetU32(&rec[44]), 0xFFFFFFFFu);
    EXPECT_EQ(GetU32(&rec[48]), 0u); // other types are written as zeros

    t.SetCell(10, 1, "-1");
    t.SetCell(2, 1, "0");
    BuildRecord(t, 1, defs, '.', rec);
    EXPECT_EQ(GetU32(&rec[44]), 0xFFFFFFFFu);
    EXPECT_EQ(rec[0], 0);
}

TEST(DbdBuildRecord, ConversionErrorsNameRowFieldAndText) {
    RecordTable t;
    auto defs = NavDefs();
    ApplyColumns(t, defs);
    const char* row[] = {"1", "", "", "0", "K", "I", "1", "12,5", "0", "0", "1", ""};
    for (int c = 0; c < 12; ++c)
        t.SetCell(c, 1, row[c]);
    RecordBuffer rec;
    try {
        BuildRecord(t, 1, defs, '.', rec);
        FAIL() << "12,5 converted under a decimal point";
    } catch (const ConversionError& e) {
        std::string what = e.what();
        EXPECT_NE(what.find("Row 1"), std::string::npos) << what;
        EXPECT_NE(what.find("Frequency"), std::string::npos) << what;
        EXPECT_NE(what.find("12,5"), std::string::npos) << what;
    }
    BuildRecord(t, 1, defs, ',', rec);
    EXPECT_DOUBLE_EQ(GetF64(&rec[20]), 12.5);

    struct Bad {
        int col;
        const char* text;
    } bads[] = {{4, "ELEVENCHARS"}, {10, ""},   {10, "12x"}, {6, "two"},
                {3, "yes"},         {7, "nan"}, {7, ""}};
    for (auto b : bads) {
        RecordTable u;
        ApplyColumns(u, defs);
        for (int c = 0; c < 12; ++c)
            u.SetCell(c, 1, row[c]);
        u.SetCell(7, 1, "1,5");
        u.SetCell(b.col, 1, b.text);
        EXPECT_THROW(BuildRecord(u, 1, defs, ',', rec), ConversionError) << b.col << " " << b.text;
    }
}

// Field lists that bypass the template's checks still cannot reach past the
// record buffer: a text is cut at its end, a number that does not fit whole
// is left alone.
TEST(DbdBuildRecord, FieldsPastTheBufferAreBoundedByIt) {
    std::vector<FieldDef> defs(3);
    defs[0] = {"ctxt", 500, 100, 'C', "Text"};
    defs[1] = {"ddbl", 508, 8, 'D', "Double"};
    defs[2] = {"cbyt", 600, 1, 'C', "Byte"};
    RecordTable t;
    ApplyColumns(t, defs);
    RecordBuffer rec{};
    std::fill(rec.begin() + 500, rec.end(), 'A');
    t.SetCell(5, 1, "kept");
    ASSERT_TRUE(RecordToCells(rec, defs, t, 1, '.', BadDoublePolicy::Warn, nullptr));
    EXPECT_EQ(t.Cell(4, 1), std::string(12, 'A'));
    EXPECT_EQ(t.Cell(5, 1), "kept");

    t.SetCell(3, 1, "0");
    t.SetCell(4, 1, std::string(13, 'B'));
    EXPECT_THROW(BuildRecord(t, 1, defs, '.', rec), ConversionError);
    t.SetCell(4, 1, std::string(12, 'B'));
    BuildRecord(t, 1, defs, '.', rec);
    EXPECT_EQ(rec[kMaxRecordSize - 1], 'B');
}

// The cell readers behind every writer: what converts and what is refused,
// at the edges of their fast paths.
TEST(DbdBuildRecord, CellReadersAcceptAndRefuse) {
    struct IntCase {
        const char* text;
        bool ok;
        std::int64_t value;
    } ints[] = {{" 42\t", true, 42},
                {"+7", true, 7},
                {"-0", true, 0},
                {"+-5", true, -5},
                {"123456789012345678", true, 123456789012345678},
                {"9223372036854775807", true, INT64_MAX},
                {"-9223372036854775808", true, INT64_MIN},
                {"9223372036854775808", false, 0},
                {"-", false, 0},
                {"+", false, 0},
                {"", false, 0},
                {"1 2", false, 0},
                {"0x10", false, 0},
                {"1.5", false, 0}};
    for (const auto& c : ints) {
        std::int64_t v = 0;
        EXPECT_EQ(ParseCellInt64(c.text, v), c.ok) << c.text;
        if (c.ok) {
            EXPECT_EQ(v, c.value) << c.text;
        }
    }
    const std::string longNumber = "1" + std::string(80, '0') + ",5";
    struct DoubleCase {
        std::string text;
        char separator;
        bool ok;
        double value;
    } doubles[] = {{"12,5", ',', true, 12.5},        {" -1e3 ", '.', true, -1000},
                   {"1.5", ',', false, 0},           {"nan", '.', false, 0},
                   {"1e999", '.', false, 0},         {longNumber, ',', true, 1e80},
                   {longNumber + "x", ',', false, 0}};
    for (const auto& c : doubles) {
        double v = 0;
        EXPECT_EQ(ParseCellDouble(c.text, c.separator, v), c.ok) << c.text;
        if (c.ok) {
            EXPECT_DOUBLE_EQ(v, c.value) << c.text;
        }
    }
}

// The encoder reads the cells of decoded records by a digits-only path of
// its own: every cell must give the very bytes the general cell readers
// give, and a cell they refuse must still be refused.
TEST(DbdBuildRecord, FastPathWritesWhatTheCellReadersRead) {
    struct Case {
        int col; // 6 byte, 7 double, 10 integer, 4 text (kNavFields)
        std::string text;
        char separator = '.';
        bool signed32 = false;
    };
    const Case cases[] = {
        {10, "0"},
        {10, "0042"},
        {10, "4294967295"},
        {10, "4294967296"},
        {10, "9999999999"},
        {10, "123456789012345678"},
        {10, "-1"},
        {10, "-2147483648", '.', true},
        {10, "2147483647", '.', true},
        {10, "2147483648", '.', true},
        {10, "0002147483647", '.', true},
        {10, " 7"},
        {10, "+7"},
        {10, ""},
        {10, "7a"},
        {6, "255"},
        {6, "256"},
        {6, "007"},
        {6, "1000"},
        {6, "-1"},
        {6, ""},
        {7, "12.5000"},
        {7, "-0.0625"},
        {7, "12,5000", ','},
        {7, "12,5000"},
        {7, "0012.5"},
        {7, "-0"},
        {7, "1e3"},
        {7, "+1.5"},
        {7, " 1.5 "},
        {7, "."},
        {7, ""},
        {4, "Montr\xE9"
            "al"},
        {4, ""},
        {4, "ELEVENCHARS"},
    };
    const auto defs = NavDefs();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text + " in column " + std::to_string(c.col));
        RecordTable t;
        ApplyColumns(t, defs);
        const char* row[] = {"1", "", "", "0", "K", "I", "1", "0", "0", "0", "1", ""};
        for (int col = 0; col < 12; ++col)
            t.SetCell(col, 1, row[col]);
        t.SetCell(c.col, 1, c.text);
        const FieldDef& f = defs[static_cast<std::size_t>(c.col - kFirstFieldColumn)];

        // What the general readers make of the cell.
        RecordBuffer expected{};
        bool converts = true;
        std::int64_t whole = 0;
        double number = 0;
        if (f.Type == 'D') {
            converts = ParseCellDouble(c.text, c.separator, number);
            PutF64(&expected[f.Offset], number);
        } else if (f.Type == 'I') {
            converts = ParseCellInt64(c.text, whole) &&
                       (!c.signed32 || (whole >= INT32_MIN && whole <= INT32_MAX));
            PutU32(&expected[f.Offset], static_cast<std::uint32_t>(whole & 0xFFFFFFFF));
        } else if (f.Width == 1) {
            converts = ParseCellInt64(c.text, whole);
            expected[f.Offset] = static_cast<unsigned char>(whole & 0xFF);
        } else {
            converts = c.text.size() <= static_cast<std::size_t>(f.Width);
            std::copy(c.text.begin(), c.text.end(), expected.begin() + f.Offset);
        }

        RowConversion how;
        how.signedIntegers = c.signed32;
        RecordEncoder encoder(defs, c.separator, Lang::English, how);
        RecordBuffer rec;
        if (!converts) {
            EXPECT_THROW(encoder.Build(t, 1, rec), ConversionError);
            continue;
        }
        encoder.Build(t, 1, rec);
        const auto at = rec.begin() + f.Offset;
        EXPECT_TRUE(std::equal(at, at + f.ByteWidth(), expected.begin() + f.Offset));
    }
}

TEST(DbdBuildRecord, InsertedRowOfZeros) {
    RecordTable t;
    auto defs = NavDefs();
    ApplyColumns(t, defs);
    for (int c = 4; c < 12; ++c)
        t.SetCell(c, 1, "0");
    t.SetCell(1, 1, "X");
    t.SetCell(2, 1, "0");
    t.SetCell(3, 1, "1");
    RecordBuffer rec;
    BuildRecord(t, 1, defs, '.', rec);
    EXPECT_EQ(rec[4], '0');
    EXPECT_EQ(rec[5], 0);
    EXPECT_EQ(rec[19], 0);
    EXPECT_EQ(GetF64(&rec[20]), 0.0);
    EXPECT_EQ(GetU32(&rec[44]), 0u);
}

// --- Whole files ---------------------------------------------------------------

struct DiskFixture {
    TempDir dir;
    std::string dbt, dbd;
    DiskFixture(const std::vector<std::string>& records, const std::string& tag = "naid") {
        dbt = dir.Write("NAVAID.dbt", TemplateText(kNavFields));
        dbd = dir.Write("work/NAVAID.dbd", DbdBytes(tag, kNavSize, records, 1000000));
    }
};

TEST(DbdLoad, DiskOpenFillsTableAndSession) {
    DiskFixture f({NavRecord("K1", 110.5, 1, 0, 1), NavRecord("K2", 111.25, 8, 42, 1),
                   NavRecord("K3", 112, 16)});
    SessionState s = EnglishSession();
    ScriptedInteraction ui;
    LoadOutcome out = OpenDbdFromDisk(s, f.dbd, f.dbt, ui, &ui);
    ASSERT_TRUE(out.loaded);
    EXPECT_EQ(s.DataType, "NAVAID");
    EXPECT_EQ(s.FieldCount, 8);
    EXPECT_EQ(s.Table.RowCount(), 4);
    EXPECT_EQ(s.Table.ColumnCount(), 12);
    EXPECT_EQ(s.Table.Cell(4, 2), "K2");
    EXPECT_EQ(s.Table.Cell(2, 2), "x");
    EXPECT_EQ(s.Table.SelectedCount, 2);
    EXPECT_EQ(s.Table.DeleteCount, 1);
    EXPECT_EQ(s.Table.CurrentColumn(), 4);
    EXPECT_EQ(s.Table.CurrentRow(), 1);
    ASSERT_TRUE(s.CurrentPod);
    EXPECT_EQ(s.CurrentPod->Dex.RecordSize(), kNavSize);
    // The file opened, with its own size (not the template's source).
    EXPECT_EQ(out.status, "File NAVAID.dbd - Data type : naid - 3 records - " +
                              std::to_string(std::filesystem::file_size(f.dbd)) + " bytes");
    EXPECT_EQ(s.StatusText(), out.status);
    EXPECT_EQ(out.definitions.Summary, "NAVAID.dbt - 8 fields");
    EXPECT_EQ(ui.busyDepth, 0);
    EXPECT_GT(ui.busyCount, 0);
    EXPECT_EQ(s.WorkDir, f.dir.Path() + "/work/");
}

TEST(DbdLoad, RecordsShorterThanTheTemplateAreSaidOnceAndKeptAtSave) {
    DiskFixture f({});
    std::vector<std::string> records;
    for (const char* key : {"K1", "K2"})
        records.push_back(NavRecord(key, 110.5, 7).substr(0, 44)); // no Type, no last field
    const std::string original = DbdBytes("naid", 44, records, 1000000);
    WriteBytes(f.dbd, original);
    SessionState s = EnglishSession();
    ScriptedInteraction ui;
    ASSERT_TRUE(OpenDbdFromDisk(s, f.dbd, f.dbt, ui).loaded);
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].kind, MessageKind::Warning);
    EXPECT_EQ(ui.messages[0].text, Format(txt::ShortRecords.en, 48, "NAVAID.dbd", 44));
    EXPECT_EQ(s.Table.Cell(10, 2), "0");
    const std::string saved = f.dir.File("saved.dbd");
    EXPECT_EQ(SaveDbd(s, saved, false, ui), 2);
    const std::string back = ReadBytes(saved);
    ASSERT_EQ(back.size(), original.size());
    EXPECT_EQ(back.substr(16), original.substr(16)); // all but the save time
}

TEST(DbdLoad, StatusTextStopsAtTheFirstControlByte) {
    // A four-letter tag with no zero after it: the record size follows.
    DiskFixture f({NavRecord("K1", 110.5, 1)});
    std::string bytes = ReadBytes(f.dbd);
    bytes.replace(4, 8,
                  "\x01\x02\x03\x04"
                  "abcd");
    WriteBytes(f.dbd, bytes);
    SessionState s = EnglishSession();
    ScriptedInteraction ui;
    const LoadOutcome out = OpenDbdFromDisk(s, f.dbd, f.dbt, ui);
    EXPECT_NE(out.status.find("Data type : naid - 1 records"), std::string::npos) << out.status;
}

TEST(DbdLoad, CountZeroLeavesOnlyTheHeadingRow) {
    DiskFixture f({});
    SessionState s = EnglishSession();
    ScriptedInteraction ui;
    ASSERT_TRUE(OpenDbdFromDisk(s, f.dbd, f.dbt, ui).loaded);
    EXPECT_EQ(s.Table.RowCount(), 1);
}

TEST(DbdLoad, TheChosenFileIsLoadedWhateverItsName) {
    TempDir dir;
    std::string dbt = dir.Write("RUNWAY.dbt", TemplateText({{"rkey", 4, 6, 'C', "Key"}}));
    std::string rec = RecordBuilder(10).Text(4, "RW01").Bytes();
    std::string chosen = dir.Write("my-runways.dbd", DbdBytes("rway", 10, {rec}));
    dir.Write("RUNWAY.dbd", DbdBytes("rway", 10, {RecordBuilder(10).Text(4, "OTHER").Bytes()}));
    SessionState s = EnglishSession();
    ScriptedInteraction ui;
    ASSERT_TRUE(OpenDbdFromDisk(s, chosen, dbt, ui).loaded);
    EXPECT_EQ(s.DataType, "RUNWAY");
    EXPECT_EQ(s.Table.Cell(4, 1), "RW01");
}

TEST(DbdLoad, DamagedFilesAreRefusedAndTheTableStays) {
    TempDir dir;
    std::string dbt = dir.Write("NAVAID.dbt", TemplateText(kNavFields));
    std::string rec = NavRecord("K", 1, 1);
    struct Case {
        const char* name;
        std::string bytes;
    } cases[] = {
        {"short header", std::string(20, 'a')},
        {"truncated", DbdHeaderBytes("naid", 3, kNavSize) + rec + rec},
        {"size zero", DbdHeaderBytes("naid", 1, 0) + rec},
        {"size 600", DbdHeaderBytes("naid", 1, 600) + std::string(600, '\0')},
        {"size 3", DbdHeaderBytes("naid", 1, 3) + "abc"},
        {"huge count", DbdHeaderBytes("naid", 2147483647, kNavSize) + rec},
        {"negative count", DbdHeaderBytes("naid", -1, kNavSize) + rec},
        {"unknown tag", DbdHeaderBytes("wxyz", 1, kNavSize) + rec},
    };
    for (const auto& c : cases) {
        SessionState s = EnglishSession();
        s.Table.SetCell(0, 1, "mine");
        ScriptedInteraction ui;
        std::string path = dir.Write(std::string(c.name) + ".dbd", c.bytes);
        EXPECT_THROW(OpenDbdFromDisk(s, path, dbt, ui), OrvaneError) << c.name;
        EXPECT_EQ(s.Table.Cell(0, 1), "mine") << c.name;
        EXPECT_FALSE(s.CurrentPod) << c.name;
        EXPECT_EQ(ui.busyDepth, 0);
    }
}

TEST(DbdSave, CanonicalFileComesBackByteForByte) {
    for (char sep : {'.', ','}) {
        TempDir dir;
        std::vector<std::string> records;
        for (int n = 0; n < 40; ++n)
            records.push_back(AirportLikeRecord(n));
        std::string original = DbdBytes("aprt", kAirportLikeRecordSize, records, 123456);
        // Header bytes the program does not interpret must pass through.
        std::string header = DbdHeaderBytes("aprt", 40, kAirportLikeRecordSize, 123456,
                                            "v2.1....ABCDEFGHIJKLMNOPQRSTUVWXYZ012345");
        original.replace(0, 56, header);
        std::string dbt = dir.Write("AIRPORT.DBT", TemplateText(AirportLikeFields()));
        std::string in = dir.Write("in.dbd", original);
        SessionState s = EnglishSession(2, sep);
        ScriptedInteraction ui;
        ASSERT_TRUE(OpenDbdFromDisk(s, in, dbt, ui).loaded);
        EXPECT_EQ(SaveDbd(s, dir.File("out.dbd"), false, ui), 40);
        std::string saved = ReadBytes(dir.File("out.dbd"));
        ASSERT_EQ(saved.size(), original.size());
        EXPECT_EQ(saved.substr(0, 12), original.substr(0, 12));
        EXPECT_EQ(saved.substr(16), original.substr(16)) << "separator " << sep;
        EXPECT_EQ(s.CurrentPod->Dbd.RecordCount(), 40);
    }
}

TEST(DbdSave, SelectionWritesTheMarkedRows) {
    DiskFixture f(
        {NavRecord("K1", 1, 1, 0, 1), NavRecord("K2", 2, 2, 0, 0), NavRecord("K3", 3, 3, 42, 1)});
    SessionState s = EnglishSession();
    ScriptedInteraction ui;
    ASSERT_TRUE(OpenDbdFromDisk(s, f.dbd, f.dbt, ui).loaded);
    std::string target = f.dir.Write("out/SEL.dbd", "previous contents");
    EXPECT_EQ(SaveDbd(s, target, true, ui), 2);
    std::string saved = ReadBytes(target);
    ASSERT_EQ(saved.size(), 56u + 2 * kNavSize);
    EXPECT_EQ(GetI32(reinterpret_cast<const unsigned char*>(saved.data()) + 16), 2);
    EXPECT_EQ(saved.substr(56 + kNavSize + 4, 2), "K3");
    EXPECT_EQ(static_cast<unsigned char>(saved[56 + kNavSize]), 42);
}

TEST(DbdSave, HeaderNeverReadFromADbdIsMadeForTheDataType) {
    const std::vector<FieldSpec> fields = {{"rkey", 4, 6, 'C', "Key"},
                                           {"rlen", 10, 4, 'I', "Length"}};
    SessionState s = EnglishSession();
    PlaceTable(s, "RUNWAY", fields, {{"", "1", "RW09", "5000"}});
    TempDir dir;
    ScriptedInteraction ui;
    EXPECT_EQ(SaveDbd(s, dir.File("RUNWAY.dbd"), false, ui), 1);
    std::string saved = ReadBytes(dir.File("RUNWAY.dbd"));
    ASSERT_EQ(saved.size(), 56u + 14);
    EXPECT_EQ(DataTypeFromTag(saved.substr(0, 4)), "RUNWAY");
    EXPECT_EQ(GetI32(reinterpret_cast<const unsigned char*>(saved.data()) + 20), 14);

    // And it loads back.
    std::string dbt = dir.Write("RUNWAY.dbt", TemplateText(fields));
    SessionState again = EnglishSession();
    ASSERT_TRUE(OpenDbdFromDisk(again, dir.File("RUNWAY.dbd"), dbt, ui).loaded);
    EXPECT_EQ(again.Table.Cell(5, 1), "5000");
}

// --- Archives --------------------------------------------------------------------

std::string NavArchive(ArchiveLayout layout, bool withTemplate, bool withDbd,
                       const std::vector<std::string>& records) {
    std::vector<ArchiveSourceEntry> entries;
    entries.push_back({"DATABASE\\README.TXT", "demo", 0});
    if (withTemplate) entries.push_back({"DATABASE\\NAVAID.DBT", TemplateText(kNavFields), 0});
    if (withDbd)
        entries.push_back(
            {"DATABASE\\NAVAID.DBD", DbdBytes("navd", kNavSize, records, 86400 * 365), 0});
    return BuildArchive(layout, entries);
}

TEST(DbdArchiveLoad, PodAndEpdStatusTexts) {
    std::vector<std::string> records = {NavRecord("K1", 110.5, 1, 0, 1), NavRecord("K2", 111, 2)};
    struct Case {
        ArchiveLayout layout;
        const char* file;
        const char* version;
    } cases[] = {{ArchiveLayout::Pod3, "Navaid.pod", "(Fly! 2)"},
                 {ArchiveLayout::PodShort, "NAVAID.POD", "(Fly! 2)"},
                 {ArchiveLayout::Epd, "navaid.Epd", "(Fly! 1)"}};
    for (const auto& c : cases) {
        TempDir dir;
        std::string bytes = NavArchive(c.layout, true, true, records);
        std::string path = dir.Write(c.file, bytes);
        SessionState s = EnglishSession();
        s.Display.formats = {"%Y-%m-%d", "%H:%M:%S"};
        ScriptedInteraction ui;
        LoadOutcome out = OpenDbdFromArchive(s, path, "", ui);
        ASSERT_TRUE(out.loaded) << c.file;
        EXPECT_EQ(s.DataType, "NAVAID");
        EXPECT_EQ(s.Table.RowCount(), 3);
        EXPECT_EQ(s.Table.Cell(7, 1), "110.5000");
        EXPECT_EQ(out.status, std::string("File NAVAID.dbd ") + c.version +
                                  " - Data type : navd - 2 records - 1971-01-01 - " +
                                  std::to_string(bytes.size()) + " bytes");
        ASSERT_TRUE(s.CurrentPod);
        EXPECT_TRUE(s.CurrentPod->IsOpen()) << "the archive stays open for the direct write";
        EXPECT_EQ(s.Table.SelectedCount, 1);
    }
}

TEST(DbdArchiveLoad, MissingEntriesLeaveTheTable) {
    std::vector<std::string> records = {NavRecord("K1", 1, 1)};
    for (ArchiveLayout layout : {ArchiveLayout::Pod3, ArchiveLayout::Epd}) {
        const bool epd = layout == ArchiveLayout::Epd;
        TempDir dir;
        std::string noTemplate =
            dir.Write(epd ? "NAVAID.EPD" : "NAVAID.POD", NavArchive(layout, false, true, records));
        SessionState s = EnglishSession();
        s.Table.SetCell(0, 1, "mine");
        ScriptedInteraction ui;
        EXPECT_EQ(ThrownText<FileError>([&] { OpenDbdFromArchive(s, noTemplate, "", ui); }),
                  "DBT file not found");
        ASSERT_EQ(ui.messages.size(), epd ? 1u : 0u);
        if (epd) {
            EXPECT_EQ(ui.messages[0].text, "DATABASE\\NAVAID.DBT file not found");
        }
        EXPECT_EQ(s.Table.Cell(0, 1), "mine");
        EXPECT_FALSE(s.CurrentPod);

        TempDir dir2;
        std::string noDbd =
            dir2.Write(epd ? "NAVAID.EPD" : "NAVAID.POD", NavArchive(layout, true, false, records));
        ScriptedInteraction ui2;
        ui2.SetLanguage(Lang::French); // where the warning is shown
        EXPECT_FALSE(OpenDbdFromArchive(s, noDbd, "", ui2).loaded);
        ASSERT_EQ(ui2.messages.size(), epd ? 1u : 0u);
        if (epd) {
            EXPECT_EQ(ui2.messages[0].text, "Fichier DATABASE\\NAVAID.DBD non trouvé");
        }
        EXPECT_EQ(s.Table.Cell(0, 1), "mine");
    }
}

TEST(DbdArchiveLoad, RecordsPastTheEntryAreRefused) {
    TempDir dir;
    std::vector<ArchiveSourceEntry> entries = {
        {"DATABASE\\NAVAID.DBT", TemplateText(kNavFields), 0},
        // The header claims 5 records, the entry holds 1.
        {"DATABASE\\NAVAID.DBD", DbdHeaderBytes("navd", 5, kNavSize) + NavRecord("K", 1, 1), 0},
        {"DATABASE\\OTHER.BIN", std::string(4 * kNavSize, 'z'), 0},
    };
    std::string path = dir.Write("NAVAID.POD", BuildArchive(ArchiveLayout::Pod3, entries));
    SessionState s = EnglishSession();
    ScriptedInteraction ui;
    EXPECT_THROW(OpenDbdFromArchive(s, path, "", ui), FormatError);
    EXPECT_FALSE(s.CurrentPod);
}

} // namespace
