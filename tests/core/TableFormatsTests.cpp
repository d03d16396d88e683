// The format table and what every writer shares: a file's format by its
// name, the data type a file tells, the round trip of a table through each
// exchange format, the writes' common refusals, and the map exports.
#include "database/DbdFile.h"
#include "exchange/CsvFile.h"
#include "exchange/DexFile.h"
#include "exchange/GeoJsonFile.h"
#include "exchange/KmlFile.h"
#include "exchange/TableFormats.h"
#include "platform/Errors.h"
#include "platform/Paths.h"
#include "support/DbdFixtures.h"
#include "support/ScriptedInteraction.h"
#include "support/TableCells.h"
#include "support/TempDir.h"
#include "support/ThrownText.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <optional>

using namespace orvane;
using namespace orvane::testing;

namespace {

// --- The table ------------------------------------------------------------------------

// The archive reader's layout, decided below the table by the extension
// alone, agrees with the table's archive row.
TEST(TableFormats, AFileNameGivesItsFormatWhateverItsLetterCase) {
    struct Case {
        const char* path;
        std::optional<TableFormatId> format;
        ArchiveKind kind = ArchiveKind::None;
    };
    const Case cases[] = {
        {"/fly/work/AIRPORT.dbd", TableFormatId::Dbd},
        {"system/airport.Pod", TableFormatId::Archive, ArchiveKind::Pod},
        {"AIRPORT.POD", TableFormatId::Archive, ArchiveKind::Pod},
        {"system/AIRPORT.EPD", TableFormatId::Archive, ArchiveKind::Epd},
        {"comm.ePd", TableFormatId::Archive, ArchiveKind::Epd},
        {"out/RUNWAY.dex", TableFormatId::Dex},
        {"RUNWAY.CSV", TableFormatId::Csv},
        {"map.GeoJSON", TableFormatId::GeoJson},
        {"globe.KmL", TableFormatId::Kml},
        {"AIRPORT.dbt", TableFormatId::Template},
        {"work.dbd/AIRPORT", std::nullopt},
        {"/a.pod/COMM.dat", std::nullopt},
        {"AIRPORT.dbd.bak", std::nullopt},
        {"AIRPORT.POD.bak", std::nullopt},
        {"AIRPORT.PODX", std::nullopt},
        {"AIRPORT", std::nullopt},
        {"", std::nullopt},
    };
    for (const Case& c : cases) {
        const TableFormat* format = FormatOfPath(c.path);
        ASSERT_EQ(format != nullptr, c.format.has_value()) << c.path;
        if (format) {
            EXPECT_EQ(format->id, *c.format) << c.path;
        }
        EXPECT_EQ(ArchiveKindOf(c.path), c.kind) << c.path;
    }
    EXPECT_EQ(ReadablePatterns(), "*.dbd;*.pod;*.epd;*.dex;*.csv");
    EXPECT_EQ(FormatById(TableFormatId::Archive).DefaultSuffix(), "pod");
    EXPECT_EQ(FormatById(TableFormatId::GeoJson).DefaultSuffix(), "geojson");
}

TEST(TableFormats, AFileTellsItsDataTypeWithoutItsTemplate) {
    TempDir dir;
    const std::string dex = DexHeaderBytes("runway.dbd", 0, 0);
    struct Case {
        std::string path;
        const char* type;
    };
    const Case cases[] = {
        {dir.Write("a.dbd", DbdHeaderBytes("aprt", 0, 4)), "AIRPORT"},
        {dir.Write("b.DEX", dex), "RUNWAY"},
        {dir.Write("c.csv", "COMM\r\n;Export;Key ; \r\n"), "COMM"},
        {dir.File("system/ILS.POD"), "ILS"},
        {dir.Write("short.dex", "RUNWAY.DBD"), ""},
        {dir.File("missing.csv"), ""},
        {dir.Write("f.txt", "AIRPORT\r\n"), ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(DataTypeOfTableFile(c.path), c.type) << c.path;
}

// --- Round trips ------------------------------------------------------------------------

// The tables of the round trips, as DBD files of their own template.
struct RoundTripTable {
    std::string type, tag;
    std::vector<FieldSpec> fields;
    int recordSize;
    std::vector<std::string> records;
    std::string accented; // a text of one record, in Windows-1252
};

RoundTripTable Airports() {
    RoundTripTable t{"AIRPORT",
                     "aprt",
                     AirportLikeFields(),
                     kAirportLikeRecordSize,
                     {},
                     "A\xE9roport de Montr\xE9"
                     "al"};
    for (int n = 1; n <= 30; ++n)
        t.records.push_back(AirportLikeRecord(n));
    t.records[4] =
        RecordBuilder(kAirportLikeRecordSize).Raw(0, t.records[4]).Text(23, t.accented).Bytes();
    return t;
}

// Frequencies: export marks up to 255, a deletion mark, bytes, texts and
// integers at their limits; never Fly! 1 data to convert, whatever the size.
RoundTripTable Frequencies() {
    RoundTripTable t{"COMM",
                     "comm",
                     {{"ckey", 4, 10, 'C', "Key"},
                      {"ctyp", 14, 1, 'C', "Type"},
                      {"cfrq", 15, 8, 'D', "Frequency"},
                      {"cnam", 23, 20, 'C', "Name"},
                      {"cflg", 43, 4, 'I', "Flags"}},
                     47,
                     {},
                     "Tower \xE7"};
    const std::uint16_t marks[] = {0, 1, 2, 255};
    for (int k = 0; k < 4; ++k)
        t.records.push_back(RecordBuilder(t.recordSize)
                                .Marks(k == 2 ? 42 : 0, marks[k])
                                .Text(4, "C" + std::to_string(k))
                                .Byte(14, static_cast<unsigned char>(250 + k))
                                .Double(15, 118.1 + k * 0.25)
                                .Text(23, t.accented)
                                .Int(43, 0xFFFFFFFFu - static_cast<unsigned>(k))
                                .Bytes());
    return t;
}

struct RoundTrip {
    RoundTripTable (*table)();
    TableFormatId format;
    int version;
    char separator;
    bool selection;
};

class TableRoundTrip : public ::testing::TestWithParam<RoundTrip> {};

// DBD -> exchange file -> table: the same cells, and the file written again
// from them is the same, byte for byte; a DBD saved from them holds the
// original records.
TEST_P(TableRoundTrip, DbdToExchangeFileToTableGivesTheSameCellsAndBytes) {
    const auto [table, id, version, sep, selection] = GetParam();
    const RoundTripTable t = table();
    const TableFormat& format = FormatById(id);
    TempDir dir;
    const std::string dbt = dir.Write(t.type + ".DBT", TemplateText(t.fields));
    const std::string dbd = dir.Write(t.type + ".dbd", DbdBytes(t.tag, t.recordSize, t.records));
    SessionState s = EnglishSession(version, sep);
    ScriptedInteraction ui;
    ASSERT_TRUE(OpenDbdFromDisk(s, dbd, dbt, ui).loaded);
    if (selection)
        for (int r = 1; r < s.Table.RowCount(); ++r)
            s.Table.SetCell(kColExport, r, "1");
    s.Table.RecountFlags();
    const auto before = DataCells(s.Table);
    const int rows = static_cast<int>(t.records.size());

    const std::string file = dir.File(t.type + "." + format.DefaultSuffix());
    ASSERT_EQ(format.write(s, file, selection, ui, &ui, {}), rows);
    EXPECT_NE(ReadBytes(file).find(t.accented), std::string::npos) << "Windows-1252 as it is";
    if (id == TableFormatId::Dex) {
        // The DBD's records, rows marked for deletion too, behind a header
        // that the table keeps for the next export.
        if (!selection) {
            EXPECT_EQ(ReadBytes(file).substr(40), ReadBytes(dbd).substr(56));
        }
        EXPECT_EQ(s.CurrentPod->Dex.Name(), t.type + ".DBD");
        EXPECT_EQ(s.CurrentPod->Dex.RecordCount(), rows);
    }

    SessionState again = EnglishSession(version, sep);
    const ImportOutcome out = id == TableFormatId::Dex
                                  ? ImportDex(again, file, ImportMode::Open, ui, &ui, dbt)
                                  : ImportCsv(again, file, ImportMode::Open, ui, &ui, dbt);
    ASSERT_TRUE(out.tableChanged);
    EXPECT_TRUE(out.templateLoaded);
    EXPECT_FALSE(out.converted);
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_EQ(again.DataType, t.type);
    EXPECT_EQ(again.FieldCount, static_cast<int>(t.fields.size()));
    EXPECT_EQ(DataCells(again.Table), before);
    EXPECT_EQ(again.Table.Cell(kColModif, 1), "");
    EXPECT_EQ(again.Table.CurrentRow(), 1);
    EXPECT_EQ(again.Table.CurrentColumn(), kFirstFieldColumn);
    EXPECT_EQ(again.Table.SelectedCount, s.Table.SelectedCount);
    EXPECT_EQ(again.Table.DeleteCount, s.Table.DeleteCount);
    EXPECT_EQ(out.definitions.Summary,
              t.type + ".dbt - " + std::to_string(t.fields.size()) + " fields");
    EXPECT_EQ(again.CurrentPod->Dex.RecordSize(), t.recordSize);

    const std::string second = dir.File("AGAIN." + format.DefaultSuffix());
    ASSERT_EQ(format.write(again, second, selection, ui, &ui, {}), rows);
    EXPECT_EQ(ReadBytes(second), ReadBytes(file));

    ASSERT_EQ(SaveDbd(again, dir.File("BACK.dbd"), false, ui), rows);
    const std::string back = ReadBytes(dir.File("BACK.dbd"));
    for (std::size_t k = 0; k < t.records.size(); ++k) {
        std::string expected = t.records[k];
        if (selection) expected[2] = 1;
        EXPECT_EQ(back.substr(56 + k * t.recordSize, t.recordSize), expected) << "record " << k;
    }
}

INSTANTIATE_TEST_SUITE_P(FormatsSeparatorsAndForms, TableRoundTrip,
                         ::testing::Values(
                             // A 330-byte AIRPORT record is Fly! 1 data.
                             RoundTrip{Airports, TableFormatId::Dex, 1, '.', false},
                             RoundTrip{Airports, TableFormatId::Dex, 1, ',', true},
                             RoundTrip{Airports, TableFormatId::Csv, 1, '.', false},
                             RoundTrip{Airports, TableFormatId::Csv, 1, ',', false},
                             RoundTrip{Airports, TableFormatId::Csv, 2, '.', true},
                             RoundTrip{Airports, TableFormatId::Csv, 2, ',', true},
                             RoundTrip{Frequencies, TableFormatId::Dex, 1, '.', false},
                             RoundTrip{Frequencies, TableFormatId::Dex, 2, ',', false},
                             RoundTrip{Frequencies, TableFormatId::Csv, 2, '.', false}));

// --- What every writer shares ---------------------------------------------------------------

const std::vector<FieldSpec> kPlaceFields = {
    {"name", 4, 24, 'C', "Name"},          {"plat", 28, 8, 'D', "Latitude"},
    {"plon", 36, 8, 'D', "Longitude"},     {"elev", 44, 4, 'I', "Elevation"},
    {"kind", 48, 1, 'C', "Kind"},          {"blat", 49, 8, 'D', "End latitude"},
    {"blon", 57, 8, 'D', "End longitude"},
};

TEST(TableWrites, NoTableAnEmptySelectionAnEmptyTableAndACancel) {
    struct Case {
        TableFormatId format;
        const char* noSelection; // in English
        const char* emptyTable;  // the file of a table without rows; nullptr: no file
    };
    const Case cases[] = {
        {TableFormatId::Dbd, "No selected records", "naid"},
        {TableFormatId::Dex, "No selected records", nullptr},
        {TableFormatId::Csv, "No selected record", "NAVAID\r\n;Export;Name ; Latitude ; "},
        {TableFormatId::GeoJson, "No selected records",
         "{\"type\":\"FeatureCollection\",\"features\":[\n]}\n"},
        {TableFormatId::Kml, "No selected records",
         "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<kml "
         "xmlns=\"http://www.opengis.net/kml/2.2\">\n<Document>\n<name>NAVAID</name>\n"
         "</Document>\n</kml>\n"},
    };
    for (const Case& c : cases) {
        const TableFormat& f = FormatById(c.format);
        SCOPED_TRACE(std::string(f.extensions));
        EXPECT_EQ(f.writesEmptyTable, c.emptyTable != nullptr);
        TempDir dir;
        const std::string target = dir.Write("out." + f.DefaultSuffix(), "earlier");
        ScriptedInteraction ui;
        SessionState none = EnglishSession();
        EXPECT_THROW(f.write(none, target, false, ui, &ui, {}), RefusedError);

        // "01" is not "1": no row is selected.
        SessionState s = EnglishSession();
        PlaceTable(s, "NAVAID", kPlaceFields,
                   {{"", "01", "Brest", "174600", "-16200", "100", "1", "", ""}});
        const auto writeSelection = [&] { f.write(s, target, true, ui, &ui, {}); };
        EXPECT_EQ(ThrownText<RefusedError>(writeSelection), c.noSelection);
        EXPECT_EQ(ThrownText<RefusedError>(writeSelection, Lang::French),
                  "Aucun enregistrement s\xC3\xA9lectionn\xC3\xA9");
        EXPECT_TRUE(ui.messages.empty());

        const ProgressFn cancel = [](std::int64_t, std::int64_t) { return false; };
        EXPECT_THROW(f.write(s, target, false, ui, &ui, cancel), Cancelled);
        EXPECT_EQ(ReadBytes(target), "earlier");
        EXPECT_EQ(dir.ListFiles().size(), 1u) << "no other file, no temporary file";
        EXPECT_EQ(ui.busyDepth, 0);

        s.Table.SetRowCount(1);
        const std::string empty = dir.File("empty." + f.DefaultSuffix());
        EXPECT_EQ(f.write(s, empty, false, ui, &ui, {}), 0);
        if (!c.emptyTable) {
            EXPECT_FALSE(std::filesystem::exists(empty));
        } else {
            EXPECT_EQ(ReadBytes(empty).rfind(c.emptyTable, 0), 0u) << ReadBytes(empty);
        }
    }
}

// --- GeoJSON ----------------------------------------------------------------------------------

TEST(GeoJsonExport, FeaturesGeometriesAndProperties) {
    SessionState s = EnglishSession(2, ',');
    PlaceTable(s, "NAVAID", kPlaceFields,
               {
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
}

// Coordinates that read as numbers but are no place (a longitude too large
// for a double, a latitude beyond the poles) give a null geometry and one
// warning naming the first such row. Titles that hold characters JSON
// escapes are numbered when repeated as any other.
TEST(GeoJsonExport, RowsWithoutAPlaceAndTitlesThatNeedEscaping) {
    SessionState s = EnglishSession(2, '.');
    const std::vector<FieldSpec> fields = {
        {"say1", 4, 8, 'C', "Say \"hi\""}, {"say2", 12, 8, 'C', "Say \"hi\""},
        {"back", 20, 8, 'C', "A\\B"},      {"tab1", 28, 8, 'C', "Tab\there"},
        {"tab2", 36, 8, 'C', "Tab\there"}, {"plat", 44, 8, 'D', "Latitude"},
        {"plon", 52, 8, 'D', "Longitude"}};
    const std::string huge(400, '9');
    const auto row = [](std::string lat, std::string lon) {
        return std::vector<std::string>{"", "1", "a", "b", "c", "d", "e", lat, lon};
    };
    PlaceTable(s, "NAVAID", fields,
               {row("3600", "7200"), row("3600", huge), row("-" + huge, "0"), row("324000.5", "0"),
                row("", "")});
    TempDir dir;
    ScriptedInteraction ui;
    ASSERT_EQ(ExportGeoJson(s, dir.File("places.geojson"), false, ui), 5);
    const std::string json = dir.Read("places.geojson");
    EXPECT_EQ(json.find("nan"), std::string::npos) << json;
    EXPECT_EQ(json.find("inf"), std::string::npos) << json;
    std::size_t nulls = 0;
    for (auto at = json.find("\"geometry\":null"); at != std::string::npos;
         at = json.find("\"geometry\":null", at + 1))
        ++nulls;
    EXPECT_EQ(nulls, 4u) << json;
    EXPECT_NE(json.find("{\"type\":\"Point\",\"coordinates\":[2,1]}"), std::string::npos);
    EXPECT_NE(json.find("{\"Say \\\"hi\\\"\":\"a\",\"Say \\\"hi\\\" 2\":\"b\",\"A\\\\B\":\"c\","
                        "\"Tab\\u0009here\":\"d\",\"Tab\\u0009here 2\":\"e\","),
              std::string::npos)
        << json;
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].kind, MessageKind::Warning);
    EXPECT_EQ(ui.messages[0].text, Format(txt::GeoJsonRowsWithoutPlace.en, 2, 3));
}

// --- KML ---------------------------------------------------------------------------------

// A placemark a row, named by its ICAO code: a point (longitude first, east
// of 180 degrees wrapped), a runway's line, none where no place reads or
// one is out of range (one warning). Texts and titles are escaped, the
// control characters XML cannot carry replaced.
TEST(KmlExport, PlacemarksGeometriesAndEscapedTexts) {
    SessionState s = EnglishSession(2, ',');
    const std::vector<FieldSpec> fields = {
        {"icao", 4, 5, 'C', "ICAO"},          {"name", 9, 24, 'C', "Name & <code>"},
        {"plat", 33, 8, 'D', "Latitude"},     {"plon", 41, 8, 'D', "Longitude"},
        {"blat", 49, 8, 'D', "End latitude"}, {"blon", 57, 8, 'D', "End longitude"}};
    PlaceTable(s, "RUNWAY", fields,
               {{"", "1", "LFRB", "Caf\xE9 \"O'\" <&>", "72000", "720000", "", ""},
                {"", "1", " 09 ", "Tab\there\x01", "180000,5", "-647640", "180360", "648000"},
                {"", "0", "", "none", "north", "", "", ""},
                {"", "0", "LFXX", "pole", "324000,5", "0", "", ""}});
    TempDir dir;
    ScriptedInteraction ui;
    ASSERT_EQ(ExportKml(s, dir.File("all.kml"), false, ui), 4);
    const auto placemark = [](const char* name, std::vector<const char*> values,
                              const std::string& geometry) {
        const char* titles[] = {"ICAO",         "Name &amp; &lt;code&gt;",
                                "Latitude",     "Longitude",
                                "End latitude", "End longitude"};
        std::string p = "<Placemark><name>" + std::string(name) + "</name><ExtendedData>";
        for (std::size_t i = 0; i < values.size(); ++i)
            p += "<Data name=\"" + std::string(titles[i]) + "\"><value>" + values[i] +
                 "</value></Data>";
        return p + "</ExtendedData>" + geometry + "</Placemark>\n";
    };
    EXPECT_EQ(dir.Read("all.kml"),
              "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
              "<kml xmlns=\"http://www.opengis.net/kml/2.2\">\n<Document>\n<name>RUNWAY</name>\n" +
                  placemark("LFRB",
                            {"LFRB", "Caf\xC3\xA9 &quot;O&apos;&quot; &lt;&amp;&gt;", "72000",
                             "720000", "", ""},
                            "<Point><coordinates>-160,20</coordinates></Point>") +
                  placemark("09",
                            {" 09 ", "Tab&#9;here\xEF\xBF\xBD", "180000,5", "-647640", "180360",
                             "648000"},
                            "<LineString><coordinates>-179.9,50.000138889 -180,50.1"
                            "</coordinates></LineString>") +
                  placemark("", {"", "none", "north", "", "", ""}, "") +
                  placemark("LFXX", {"LFXX", "pole", "324000,5", "0", "", ""}, "") +
                  "</Document>\n</kml>\n");
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text, Format(txt::GeoJsonRowsWithoutPlace.en, 4, 1));
}

} // namespace
