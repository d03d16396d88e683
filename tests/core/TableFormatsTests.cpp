// The format table and what every writer shares: a file's format by its
// name, the data type a file tells, the round trip of a table through each
// exchange format, the writes' common refusals, and the GeoJSON export.
#include "database/DbdFile.h"
#include "exchange/CsvFile.h"
#include "exchange/DexFile.h"
#include "exchange/GeoJsonFile.h"
#include "exchange/TableFormats.h"
#include "platform/Errors.h"
#include "platform/Paths.h"
#include "support/DbdFixtures.h"
#include "support/ScriptedInteraction.h"
#include "support/TableCells.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <optional>

using namespace orvane;
using namespace orvane::testing;

namespace {

// --- The table ------------------------------------------------------------------------

TEST(TableFormats, AFileNameGivesItsFormatWhateverItsLetterCase) {
    struct Case {
        const char* path;
        std::optional<TableFormatId> format;
    };
    const Case cases[] = {
        {"/fly/work/AIRPORT.dbd", TableFormatId::Dbd},
        {"AIRPORT.DBD", TableFormatId::Dbd},
        {"system/airport.Pod", TableFormatId::Archive},
        {"system/AIRPORT.EPD", TableFormatId::Archive},
        {"out/RUNWAY.dex", TableFormatId::Dex},
        {"RUNWAY.CSV", TableFormatId::Csv},
        {"map.GeoJSON", TableFormatId::GeoJson},
        {"AIRPORT.dbt", std::nullopt},
        {"AIRPORT", std::nullopt},
        {"work.dbd/AIRPORT", std::nullopt},
        {"AIRPORT.dbd.bak", std::nullopt},
    };
    for (const Case& c : cases) {
        const TableFormat* format = FormatOfPath(c.path);
        ASSERT_EQ(format != nullptr, c.format.has_value()) << c.path;
        if (format) {
            EXPECT_EQ(format->id, *c.format) << c.path;
        }
    }
    EXPECT_EQ(ReadablePatterns(), "*.dbd;*.pod;*.epd;*.dex;*.csv");
    EXPECT_EQ(FormatById(TableFormatId::Archive).DefaultSuffix(), "pod");
    EXPECT_EQ(FormatById(TableFormatId::GeoJson).DefaultSuffix(), "geojson");
}

TEST(TableFormats, EveryRowIsWholeAndItsFiltersNameItsExtension) {
    for (const TableFormat& f : TableFormats()) {
        SCOPED_TRACE(std::string(f.extensions));
        EXPECT_EQ(&FormatById(f.id), &f);
        EXPECT_TRUE(f.read || f.write);
        EXPECT_EQ(f.openFilter != nullptr, f.read != nullptr);
        EXPECT_EQ(f.saveFilter != nullptr, f.write != nullptr);
        EXPECT_TRUE(!f.exportTarget || f.write);
        const std::string pattern = "*." + f.DefaultSuffix();
        for (const BiText* filter : {f.openFilter, f.saveFilter}) {
            if (!filter) continue;
            for (Lang lang : {Lang::French, Lang::English})
                EXPECT_NE(ToLowerAscii(filter->In(lang)).find(pattern), std::string::npos)
                    << filter->In(lang);
        }
    }
}

TEST(TableFormats, AFileTellsItsDataTypeWithoutItsTemplate) {
    TempDir dir;
    std::string dex(40, '\0');
    dex.replace(0, 10, "runway.dbd");
    struct Case {
        std::string path;
        const char* type;
    };
    const Case cases[] = {
        {dir.Write("a.dbd", DbdHeaderBytes("aprt", 0, 4)), "AIRPORT"},
        {dir.Write("b.DEX", dex), "RUNWAY"},
        {dir.Write("c.csv", "COMM\r\n;Export;Key ; \r\n"), "COMM"},
        {dir.Write("d.csv", "NAVAID"), "NAVAID"},
        {dir.File("system/ILS.POD"), "ILS"},
        {dir.Write("short.dex", "RUNWAY.DBD"), ""},
        {dir.File("missing.csv"), ""},
        {dir.Write("e.geojson", "{}"), ""},
        {dir.Write("f.txt", "AIRPORT\r\n"), ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(DataTypeOfTableFile(c.path), c.type) << c.path;
}

// --- Round trips ------------------------------------------------------------------------

struct RoundTrip {
    TableFormatId format;
    char separator;
    bool selection;
};

class TableRoundTrip : public ::testing::TestWithParam<RoundTrip> {};

// DBD -> exchange file -> table: the same cells, and the file written again
// from them is the same, byte for byte; a DBD saved from them holds the
// original records.
TEST_P(TableRoundTrip, DbdToExchangeFileToTableGivesTheSameCellsAndBytes) {
    const auto [id, sep, selection] = GetParam();
    const TableFormat& format = FormatById(id);
    TempDir dir;
    std::vector<std::string> records;
    for (int n = 1; n <= 30; ++n)
        records.push_back(AirportLikeRecord(n));
    records[4] = RecordBuilder(kAirportLikeRecordSize)
                     .Raw(0, records[4])
                     .Text(23, "A\xE9roport de Montr\xE9"
                               "al")
                     .Bytes();
    const std::string dbt = dir.Write("AIRPORT.DBT", TemplateText(AirportLikeFields()));
    const std::string dbd =
        dir.Write("AIRPORT.dbd", DbdBytes("aprt", kAirportLikeRecordSize, records));
    SessionState s = EnglishSession(1, sep); // a 330-byte AIRPORT record is Fly! 1 data
    ScriptedInteraction ui;
    ASSERT_TRUE(OpenDbdFromDisk(s, dbd, dbt, ui).loaded);
    if (selection)
        for (int r = 1; r < s.Table.RowCount(); ++r)
            s.Table.SetCell(kColExport, r, "1");
    s.Table.RecountFlags();
    const auto before = DataCells(s.Table);

    const std::string file = dir.File("AIRPORT." + format.DefaultSuffix());
    ASSERT_EQ(format.write(s, file, selection, ui, &ui, {}), 30);
    EXPECT_NE(ReadBytes(file).find("A\xE9roport de Montr\xE9"
                                   "al"),
              std::string::npos)
        << "Windows-1252 bytes as they are";

    SessionState again = EnglishSession(1, sep);
    const ImportOutcome out = id == TableFormatId::Dex
                                  ? ImportDex(again, file, ImportMode::Open, ui, &ui, dbt)
                                  : ImportCsv(again, file, ImportMode::Open, ui, &ui, dbt);
    ASSERT_TRUE(out.tableChanged);
    EXPECT_TRUE(out.templateLoaded);
    EXPECT_FALSE(out.converted);
    EXPECT_TRUE(ui.questions.empty());
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_EQ(again.DataType, "AIRPORT");
    EXPECT_EQ(again.FieldCount, static_cast<int>(AirportLikeFields().size()));
    EXPECT_EQ(DataCells(again.Table), before);
    EXPECT_EQ(again.Table.Cell(0, 30), "30");
    EXPECT_EQ(again.Table.Cell(kColModif, 1), "");
    EXPECT_EQ(again.Table.CurrentRow(), 1);
    EXPECT_EQ(again.Table.CurrentColumn(), kFirstFieldColumn);
    EXPECT_EQ(again.Table.SelectedCount, s.Table.SelectedCount);
    EXPECT_EQ(again.Table.DeleteCount, s.Table.DeleteCount);
    EXPECT_EQ(out.selectLabel, std::to_string(s.Table.SelectedCount) + " selected lines");
    EXPECT_EQ(out.definitions.Summary, "AIRPORT.dbt - 61 fields");
    EXPECT_EQ(again.CurrentPod->Dex.RecordSize(), kAirportLikeRecordSize);
    EXPECT_EQ(again.WorkDir, dir.Path() + "/");
    EXPECT_EQ(ui.busyDepth, 0);

    const std::string second = dir.File("AGAIN." + format.DefaultSuffix());
    ASSERT_EQ(format.write(again, second, selection, ui, &ui, {}), 30);
    EXPECT_EQ(ReadBytes(second), ReadBytes(file));

    ASSERT_EQ(SaveDbd(again, dir.File("BACK.dbd"), false, ui), 30);
    const std::string back = ReadBytes(dir.File("BACK.dbd"));
    for (std::size_t k = 0; k < records.size(); ++k) {
        std::string expected = records[k];
        if (selection) expected[2] = 1;
        EXPECT_EQ(back.substr(56 + k * kAirportLikeRecordSize, kAirportLikeRecordSize), expected)
            << "record " << k;
    }
}

INSTANTIATE_TEST_SUITE_P(FormatsSeparatorsAndForms, TableRoundTrip,
                         ::testing::Values(RoundTrip{TableFormatId::Dex, '.', false},
                                           RoundTrip{TableFormatId::Dex, ',', true},
                                           RoundTrip{TableFormatId::Csv, '.', false},
                                           RoundTrip{TableFormatId::Csv, ',', false},
                                           RoundTrip{TableFormatId::Csv, '.', true},
                                           RoundTrip{TableFormatId::Csv, ',', true}));

// --- What every writer shares ---------------------------------------------------------------

const std::vector<FieldSpec> kPlaceFields = {
    {"name", 4, 24, 'C', "Name"},          {"plat", 28, 8, 'D', "Latitude"},
    {"plon", 36, 8, 'D', "Longitude"},     {"elev", 44, 4, 'I', "Elevation"},
    {"kind", 48, 1, 'C', "Kind"},          {"blat", 49, 8, 'D', "End latitude"},
    {"blon", 57, 8, 'D', "End longitude"},
};

// A NAVAID table of the place fields, as a load leaves it; each row's cells
// from Suppr on.
void PlaceTable(SessionState& s, const std::vector<std::vector<std::string>>& rows) {
    s.DataType = "NAVAID";
    s.CurrentPod = std::make_unique<TPOD>();
    s.CurrentPod->Fields = ParseTemplate(TemplateText(kPlaceFields)).Fields;
    s.FieldCount = static_cast<int>(kPlaceFields.size());
    ApplyColumns(s.Table, s.CurrentPod->Fields);
    s.Table.SetRowCount(static_cast<int>(rows.size()) + 1);
    for (std::size_t r = 0; r < rows.size(); ++r) {
        s.Table.SetCell(kColNumber, static_cast<int>(r) + 1, std::to_string(r + 1));
        for (std::size_t c = 0; c < rows[r].size(); ++c)
            s.Table.SetCell(static_cast<int>(c) + kColSuppr, static_cast<int>(r) + 1, rows[r][c]);
    }
    s.Table.RecountFlags();
}

TEST(TableWrites, EveryWriterRefusesNoTableAnEmptySelectionAndACancel) {
    for (const TableFormat& f : TableFormats()) {
        if (!f.write) continue;
        SCOPED_TRACE(std::string(f.extensions));
        TempDir dir;
        const std::string target = dir.Write("out." + f.DefaultSuffix(), "earlier");
        ScriptedInteraction ui;
        SessionState none = EnglishSession();
        EXPECT_THROW(f.write(none, target, false, ui, &ui, {}), RefusedError);

        SessionState s = EnglishSession();
        PlaceTable(s, {{"", "0", "Brest", "174600", "-16200", "100", "1", "", ""}});
        EXPECT_EQ(f.write(s, target, true, ui, &ui, {}), 0);
        ASSERT_EQ(ui.messages.size(), 1u);
        EXPECT_EQ(ui.messages[0].kind, MessageKind::Error);
        EXPECT_EQ(ui.messages[0].text.rfind("No selected record", 0), 0u) << ui.messages[0].text;

        const ProgressFn cancel = [](std::int64_t, std::int64_t) { return false; };
        EXPECT_THROW(f.write(s, target, false, ui, &ui, cancel), Cancelled);
        EXPECT_EQ(ReadBytes(target), "earlier");
        EXPECT_EQ(dir.ListFiles().size(), 1u) << "no temporary file is left";
        EXPECT_EQ(ui.busyDepth, 0);
    }
}

// --- GeoJSON ----------------------------------------------------------------------------------

TEST(GeoJsonExport, FeaturesGeometriesAndProperties) {
    SessionState s = EnglishSession(2, ',');
    PlaceTable(s, {
                      // A point east of 180 degrees (200 E: 160 W), an accented
                      // name, a number in a text field.
                      {"", "1", "Caf\xE9 \"Ouest\"\\", "72000", "720000", "-12", "7", "", ""},
                      // A runway: both ends, the line's second end wrapped too.
                      {"x", "1", "09/27", "180000,5", "-647640", "1500", "255", "180360", "648000"},
                      // No coordinates that read: null geometry; numbers that
                      // do not read keep their text, empty ones are null.
                      {"", "0", "Tab\there", "north", "", "high", "", "", ""},
                  });
    TempDir dir;
    ScriptedInteraction ui;
    ASSERT_EQ(ExportGeoJson(s, dir.File("all.geojson"), false, ui), 3);
    const std::string properties =
        "\"Name\":%s,\"Latitude\":%s,\"Longitude\":%s,\"Elevation\":%s,\"Kind\":%s,"
        "\"End latitude\":%s,\"End longitude\":%s";
    EXPECT_EQ(dir.Read("all.geojson"),
              "{\"type\":\"FeatureCollection\",\"features\":[\n"
              "{\"type\":\"Feature\",\"geometry\":{\"type\":\"Point\",\"coordinates\":[-160,20]},"
              "\"properties\":{" +
                  Format(properties.c_str(), "\"Caf\xC3\xA9 \\\"Ouest\\\"\\\\\"", "72000", "720000",
                         "-12", "7", "null", "null") +
                  "}},\n"
                  "{\"type\":\"Feature\",\"geometry\":{\"type\":\"LineString\",\"coordinates\":"
                  "[[-179.9,50.000138889],[-180,50.1]]},\"properties\":{" +
                  Format(properties.c_str(), "\"09/27\"", "180000.5", "-647640", "1500", "255",
                         "180360", "648000") +
                  "}},\n"
                  "{\"type\":\"Feature\",\"geometry\":null,\"properties\":{" +
                  Format(properties.c_str(), "\"Tab\\u0009here\"", "\"north\"", "null", "\"high\"",
                         "null", "null", "null") +
                  "}}\n]}\n");

    // The selection: the rows whose Export cell is 1.
    ASSERT_EQ(ExportGeoJson(s, dir.File("sel.geojson"), true, ui), 2);
    const std::string selected = dir.Read("sel.geojson");
    EXPECT_NE(selected.find("\"09/27\""), std::string::npos);
    EXPECT_EQ(selected.find("north"), std::string::npos);
}

} // namespace
