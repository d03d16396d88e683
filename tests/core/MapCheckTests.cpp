// The map's geometry (projection, coordinate pairs, visible-item query) and
// the table check, rule by rule, and orvane-cli check.
#include "database/TableCheck.h"
#include "forms/MapView.h"
#include "support/CliRunner.h"
#include "support/DbdFixtures.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

namespace orvane {
namespace {

// A table with the given field titles and rows of field cells (flags empty,
// Export "0").
RecordTable TableOf(const std::vector<std::string>& titles,
                    const std::vector<std::vector<std::string>>& rows) {
    RecordTable t;
    t.SetColumnCount(kFirstFieldColumn + static_cast<int>(titles.size()));
    t.SetRowCount(static_cast<int>(rows.size()) + 1);
    for (std::size_t i = 0; i < titles.size(); ++i)
        t.SetCell(kFirstFieldColumn + static_cast<int>(i), 0, titles[i]);
    for (std::size_t r = 0; r < rows.size(); ++r) {
        const int row = static_cast<int>(r) + 1;
        t.SetCell(kColExport, row, "0");
        for (std::size_t c = 0; c < rows[r].size(); ++c)
            t.SetCell(kFirstFieldColumn + static_cast<int>(c), row, rows[r][c]);
    }
    return t;
}

std::string Seconds(double degrees) {
    return std::to_string(degrees * 3600);
}

// --- Projection --------------------------------------------------------------------

TEST(MapProjection, BothLongitudeConventionsLandInOnePlace) {
    MapProjection view;
    view.SetViewport(720, 360);
    view.ShowWorld();
    const ScreenPoint west = view.ToScreen({-73.78, 40.64});
    const ScreenPoint east = view.ToScreen({360 - 73.78, 40.64});
    EXPECT_NEAR(west.x, east.x, 1e-9);
    EXPECT_NEAR(west.y, east.y, 1e-9);
    EXPECT_NEAR(west.x, 360 - 73.78 * 2, 1e-9); // two pixels a degree, west of the middle
    EXPECT_NEAR(WrapLongitude(540), -180, 1e-12);
    EXPECT_NEAR(WrapLongitude(-190), 170, 1e-12);
}

TEST(MapProjection, TheAntimeridianIsSeamless) {
    MapProjection view;
    view.SetViewport(1000, 1000);
    view.SetView({179.5, -17}, 1000); // Fiji, one degree across
    const ScreenPoint a = view.ToScreen({179.9, -17});
    const ScreenPoint b = view.ToScreen({-179.9, -17}); // just east of the line
    EXPECT_GT(b.x, a.x);
    EXPECT_LT(b.x - a.x, 300);
    const GeoPoint back = view.ToGeo(b);
    EXPECT_NEAR(back.lon, -179.9, 1e-9);
    view.Pan(-800, 0); // dragging left moves the view east, across the line
    EXPECT_LT(view.Centre().lon, -179);
}

TEST(MapProjection, ZoomKeepsThePlaceUnderTheCursorAndStaysInBounds) {
    MapProjection view;
    view.SetViewport(800, 400);
    view.ShowWorld();
    const ScreenPoint cursor{600, 120};
    const GeoPoint before = view.ToGeo(cursor);
    for (int i = 0; i < 40; ++i)
        view.ZoomAt(cursor, 1.5);
    const GeoPoint after = view.ToGeo(cursor);
    EXPECT_NEAR(after.lon, before.lon, 1e-6);
    EXPECT_NEAR(after.lat, before.lat, 1e-6);
    EXPECT_EQ(view.Scale(), MapProjection::kMaxScale);
    EXPECT_LT(view.LatSpan() * 111000, 1000); // a few hundred metres
    for (int i = 0; i < 80; ++i)
        view.ZoomAt(cursor, 0.5);
    EXPECT_EQ(view.Scale(), view.WorldScale());
}

// --- Points ----------------------------------------------------------------------------

TEST(MapPoints, PairsByTitleAndRunwaysAsTwoEnds) {
    const std::vector<std::string_view> titles = {"Key",      "End 1 Latitude", "End 1 Longitude",
                                                  "Heading",  "End 2 LATITUDE", "End 2 longitude",
                                                  "Latitude", "Elevation"};
    const auto pairs = FindCoordinatePairs(titles);
    ASSERT_EQ(pairs.size(), 2u); // a latitude without its longitude is no pair
    EXPECT_EQ(pairs[1].latitude, 4);
    EXPECT_EQ(pairs[1].longitude, 5);

    RecordTable t =
        TableOf({"Key", "End 1 Latitude", "End 1 Longitude", "End 2 Latitude", "End 2 Longitude"},
                {{"A", Seconds(51.47), Seconds(-0.49), Seconds(51.46), Seconds(-0.43)},
                 {"B", "x", "0", Seconds(10), Seconds(350)},
                 {"C", "", "", "", ""},
                 {"D", Seconds(95), "0", "0", "0"}});
    t.SetCell(kColSuppr, 1, "x");
    MapPoints points;
    points.Build(t, '.');
    ASSERT_EQ(points.Items().size(), 3u);
    const MapItem* a = points.ItemOfRow(1);
    ASSERT_NE(a, nullptr);
    EXPECT_EQ(a->endCount, 2);
    EXPECT_TRUE(a->deleted);
    EXPECT_NEAR(points.End(*a, 1).lon, -0.43, 1e-9);
    const MapItem* b = points.ItemOfRow(2);
    ASSERT_NE(b, nullptr);
    EXPECT_EQ(b->endCount, 1);
    EXPECT_NEAR(points.End(*b, 0).lon, -10, 1e-9); // 350 east is 10 west
    EXPECT_EQ(points.ItemOfRow(3), nullptr);
    EXPECT_EQ(points.ItemOfRow(4)->endCount, 1); // the end beyond the pole is left out
}

TEST(MapPoints, QueryFindsWhatAViewShowsAndNothingElse) {
    std::vector<std::vector<std::string>> rows;
    for (int lon = -180; lon < 180; lon += 3)
        for (int lat = -80; lat <= 80; lat += 5)
            rows.push_back({Seconds(lat + 0.5), Seconds(lon + 0.5)});
    rows.push_back({Seconds(-17), Seconds(179.99)}); // beside the antimeridian
    rows.push_back({Seconds(-17), Seconds(-179.99)});
    RecordTable t = TableOf({"Latitude", "Longitude"}, rows);
    MapPoints points;
    points.Build(t, '.');
    std::vector<std::uint32_t> found;
    points.Query(-180, 180, -90, 90, found);
    EXPECT_EQ(found.size(), rows.size());

    const auto inside = [&](double lon0, double lon1, double lat0, double lat1) {
        std::size_t n = 0;
        for (const MapItem& item : points.Items()) {
            const GeoPoint p = points.End(item, 0);
            const double d = WrapLongitude(p.lon - lon0);
            const double w = lon1 >= lon0 ? lon1 - lon0 : lon1 + 360 - lon0;
            n += d >= 0 && d <= w && p.lat >= lat0 && p.lat <= lat1;
        }
        return n;
    };
    for (auto box : std::vector<std::array<double, 4>>{
             {0, 10, 40, 50}, {170, -170, -20, -10}, {-1, 1, -1, 1}, {-120, -60, -90, 90}}) {
        points.Query(box[0], box[1], box[2], box[3], found);
        EXPECT_EQ(found.size(), inside(box[0], box[1], box[2], box[3])) << box[0] << " " << box[1];
    }
    points.Query(179, -179, -18, -16, found); // across the line: both sides
    EXPECT_EQ(found.size(), 2u);

    MapProjection view;
    view.SetViewport(800, 800);
    view.SetView({-179.99, -17}, 100000);
    EXPECT_EQ(points.Nearest(view, view.ToScreen({-179.99, -17}), 6),
              static_cast<int>(rows.size()) - 1);
    EXPECT_EQ(points.Nearest(view, {5, 5}, 6), -1);
}

TEST(MapPoints, ALineCrossingTheViewIsFoundThoughItsEndsAreOutside) {
    RecordTable t =
        TableOf({"End 1 Latitude", "End 1 Longitude", "End 2 Latitude", "End 2 Longitude"},
                {{Seconds(48.0), Seconds(2.0), Seconds(48.0), Seconds(2.8)},
                 {Seconds(10), Seconds(10), Seconds(40), Seconds(60)}});
    MapPoints points;
    points.Build(t, '.');
    std::vector<std::uint32_t> found;
    points.Query(2.3, 2.4, 47.9, 48.1, found);
    EXPECT_EQ(found, std::vector<std::uint32_t>{0});
    points.Query(30, 31, 20, 21, found); // within the long line's box
    EXPECT_EQ(found, std::vector<std::uint32_t>{1});
}

TEST(MapPoints, TheExtentTakesTheShortWayRoundAndTheViewFitsIt) {
    // Fiji and Samoa: across the antimeridian, 10.6 degrees wide, not 349.4.
    RecordTable t = TableOf({"Latitude", "Longitude"}, {{Seconds(-17.7), Seconds(177.4)},
                                                        {Seconds(-13.8), Seconds(360 - 172.0)}});
    MapPoints points;
    points.Build(t, '.');
    double west, width, latMin, latMax;
    ASSERT_TRUE(points.Extent(west, width, latMin, latMax));
    EXPECT_NEAR(west, 177.4, 1e-9);
    EXPECT_NEAR(width, 10.6, 1e-9);
    MapProjection view;
    view.SetViewport(800, 600);
    view.Fit(west, width, latMin, latMax);
    for (const MapItem& item : points.Items()) {
        const ScreenPoint s = view.ToScreen(points.End(item, 0));
        EXPECT_GT(s.x, 0);
        EXPECT_LT(s.x, 800);
        EXPECT_GT(s.y, 0);
        EXPECT_LT(s.y, 600);
    }
}

// --- Check -------------------------------------------------------------------------------

std::vector<FieldDef> CheckFields() {
    return {{"uid", 4, 8, 'C', "Unique identifier"},
            {"nam", 12, 6, 'C', "Name"},
            {"byt", 18, 1, 'C', "Flag"},
            {"int", 19, 4, 'I', "Count"},
            {"lat", 23, 8, 'D', "Latitude"},
            {"lon", 31, 8, 'D', "Longitude"}};
}

struct CheckCase {
    const char* what;
    std::vector<std::string> cells;                    // the second row; the first is sound
    std::vector<std::pair<int, FindingKind>> expected; // field, kind
};

class TableCheckRules : public ::testing::TestWithParam<CheckCase> {};

TEST_P(TableCheckRules, FindsWhatASaveOrTheSimulatorWouldRefuse) {
    const CheckCase& c = GetParam();
    const std::vector<FieldDef> fields = CheckFields();
    std::vector<std::string> titles;
    for (const FieldDef& f : fields)
        titles.push_back(f.Title);
    RecordTable t = TableOf(titles, {{"A1", "Paris", "1", "7", "176400,5", "8400"}, c.cells});
    const std::vector<Finding> found = CheckTable(t, fields, "NAVAID", ',');
    std::vector<std::pair<int, FindingKind>> got;
    for (const Finding& f : found) {
        EXPECT_EQ(f.row, 2) << c.what;
        got.push_back({f.column - kFirstFieldColumn, f.kind});
        EXPECT_FALSE(FindingText(f, t, fields, ',', Lang::English).empty());
    }
    EXPECT_EQ(got, c.expected) << c.what;
}

INSTANTIATE_TEST_SUITE_P(
    Rules, TableCheckRules,
    ::testing::Values(
        CheckCase{"sound", {"A2", "Lyon", "255", "4294967295", "-324000", "-648000"}, {}},
        CheckCase{"decimal", {"A2", "Lyon", "0", "1", "45.5", "0"}, {{4, FindingKind::NotNumber}}},
        CheckCase{
            "empty decimal", {"A2", "Lyon", "0", "1", "0", ""}, {{5, FindingKind::NotNumber}}},
        CheckCase{
            "integer", {"A2", "Lyon", "0", "1,5", "0", "0"}, {{3, FindingKind::NotWholeNumber}}},
        CheckCase{
            "byte text", {"A2", "Lyon", "a", "1", "0", "0"}, {{2, FindingKind::NotWholeNumber}}},
        CheckCase{
            "byte range", {"A2", "Lyon", "256", "1", "0", "0"}, {{2, FindingKind::ByteRange}}},
        CheckCase{
            "negative byte", {"A2", "Lyon", "-1", "1", "0", "0"}, {{2, FindingKind::ByteRange}}},
        CheckCase{"too long", {"A2", "Orleans", "0", "1", "0", "0"}, {{1, FindingKind::TooLong}}},
        CheckCase{
            "latitude", {"A2", "Lyon", "0", "1", "324001", "0"}, {{4, FindingKind::LatitudeRange}}},
        CheckCase{"south pole",
                  {"A2", "Lyon", "0", "1", "-324000,1", "0"},
                  {{4, FindingKind::LatitudeRange}}},
        CheckCase{"longitude west",
                  {"A2", "Lyon", "0", "1", "0", "-648001"},
                  {{5, FindingKind::LongitudeRange}}},
        CheckCase{"longitude east",
                  {"A2", "Lyon", "0", "1", "0", "1296001"},
                  {{5, FindingKind::LongitudeRange}}},
        CheckCase{
            "duplicate key", {"A1", "Lyon", "0", "1", "0", "0"}, {{0, FindingKind::DuplicateKey}}},
        CheckCase{"empty key", {"  ", "Lyon", "0", "1", "0", "0"}, {{0, FindingKind::EmptyKey}}},
        CheckCase{"csv separator",
                  {"A2", "Ly;on", "0", "1", "0", "0"},
                  {{1, FindingKind::CsvUnwritable}}},
        CheckCase{
            "csv line end", {"A2", "L\r\n", "0", "1", "0", "0"}, {{1, FindingKind::CsvUnwritable}}},
        CheckCase{"csv nul",
                  {"A2", std::string("L\0n", 3), "0", "1", "0", "0"},
                  {{1, FindingKind::CsvUnwritable}}},
        // A cell already found is not listed twice.
        CheckCase{"csv in a number",
                  {"A2", "Lyon", "0", "1;2", "0", "0"},
                  {{3, FindingKind::NotWholeNumber}}},
        CheckCase{"several",
                  {"", "Orleans", "300", "x", "1e9", "0"},
                  {{0, FindingKind::EmptyKey},
                   {1, FindingKind::TooLong},
                   {2, FindingKind::ByteRange},
                   {3, FindingKind::NotWholeNumber},
                   {4, FindingKind::LatitudeRange}}}));

TEST(TableCheck, TheKeyIsTheUniqueIdentifierOrAnAirportsKeyOrIcaoCode) {
    const std::vector<FieldDef> withKey = {{"ica", 4, 5, 'C', "ICAO identifier"},
                                           {"key", 9, 10, 'C', "Airport key"}};
    EXPECT_EQ(KeyColumn(withKey, "AIRPORT"), kFirstFieldColumn + 1);
    EXPECT_EQ(KeyColumn(withKey, "RUNWAY"), -1); // runways share their airport's key
    EXPECT_EQ(KeyColumn(CheckFields(), "RUNWAY"), kFirstFieldColumn);

    const std::vector<FieldDef> withIcao = {{"nam", 4, 10, 'C', "Name"},
                                            {"ica", 14, 5, 'C', "ICAO identifier"}};
    RecordTable t =
        TableOf({"Name", "ICAO identifier"}, {{"1", "LFPG"}, {"2", "LFPO"}, {"3", "LFPG"}});
    const auto found = CheckTable(t, withIcao, "AIRPORT", '.');
    ASSERT_EQ(found.size(), 1u);
    EXPECT_EQ(found[0].row, 3);
    EXPECT_EQ(found[0].firstRow, 1);
    EXPECT_EQ(FindingText(found[0], t, withIcao, '.', Lang::English),
              "Row 3, ICAO identifier: key \"LFPG\" already in row 1");
    EXPECT_EQ(FindingText(found[0], t, withIcao, '.', Lang::French),
              "Ligne 3, ICAO identifier : clé « LFPG » déjà en ligne 1");
}

TEST(TableCheck, FollowsEditsRowByRowAsAFullCheckWouldFindThem) {
    // Random edits on a small table whose keys often collide: after each, the
    // rows checked again hold exactly what a check of the whole table finds.
    const std::vector<FieldDef> fields = CheckFields();
    std::vector<std::string> titles;
    for (const FieldDef& f : fields)
        titles.push_back(f.Title);
    std::vector<std::vector<std::string>> rows;
    for (int r = 0; r < 30; ++r)
        rows.push_back({"K" + std::to_string(r % 7), "N", "1", "2", "0", "0"});
    RecordTable t = TableOf(titles, rows);
    TableChecker checker;
    checker.CheckAll(t, fields, "NAVAID", '.');
    const std::vector<std::string> values[] = {{"K1", "K2", "K3", "", " K1 ", "K29"},
                                               {"N", "Toolongname"},
                                               {"1", "300", "a"},
                                               {"2", "x"},
                                               {"0", "324001", "y"},
                                               {"0", "-648001"}};
    std::uint32_t random = 7;
    const auto next = [&](std::uint32_t n) {
        random = random * 1103515245u + 12345u;
        return (random >> 8) % n;
    };
    const auto same = [](const std::vector<Finding>& a, const std::vector<Finding>& b) {
        return std::equal(
            a.begin(), a.end(), b.begin(), b.end(), [](const Finding& x, const Finding& y) {
                return x.row == y.row && x.column == y.column && x.kind == y.kind &&
                       (x.kind != FindingKind::DuplicateKey || x.firstRow == y.firstRow);
            });
    };
    for (int edit = 0; edit < 400; ++edit) {
        // Mostly one cell, sometimes a block of rows changed at once.
        const int first = 1 + static_cast<int>(next(30));
        const int last = edit % 10 == 0 ? std::min(30, first + 4) : first;
        for (int row = first; row <= last; ++row) {
            const std::size_t field = next(6);
            t.SetCell(kFirstFieldColumn + static_cast<int>(field), row,
                      values[field][next(static_cast<std::uint32_t>(values[field].size()))]);
        }
        checker.RecheckRows(t, first, last);
        const std::vector<Finding> full = CheckTable(t, fields, "NAVAID", '.');
        ASSERT_TRUE(same(checker.Findings(), full)) << "edit " << edit;
        ASSERT_EQ(checker.Count(), full.size());
    }
}

TEST(TableCheck, RandomCellsFindWhatTheGeneralReadersFind) {
    // Cell texts near the forms a check takes without converting (signs,
    // both separators, blanks, letters, long digit runs, coordinates near
    // their limits): each finding is what the general readers decide.
    const std::vector<FieldDef> fields = CheckFields();
    std::vector<std::string> titles;
    for (const FieldDef& f : fields)
        titles.push_back(f.Title);
    std::mt19937 random(20261207);
    const auto pick = [&](int n) { return static_cast<int>(random() % static_cast<unsigned>(n)); };
    const std::string alphabet = "0123456789000000000+-.,, \te";
    const auto text = [&] {
        std::string t;
        const int length = pick(8) == 0 ? 30 + pick(20) : pick(12);
        for (int i = 0; i < length; ++i)
            t += alphabet[static_cast<std::size_t>(pick(static_cast<int>(alphabet.size())))];
        return t;
    };
    const auto nearLimit = [&](char separator) {
        const int limits[] = {324000, 648000, 1296000};
        std::string t = (pick(2) ? "-" : "") + std::to_string(limits[pick(3)] + pick(5) - 2);
        if (pick(2)) t += separator + std::to_string(pick(10000));
        return t;
    };
    for (const char separator : {'.', ','}) {
        std::vector<std::vector<std::string>> rows;
        for (int r = 0; r < 3000; ++r)
            rows.push_back({"K" + std::to_string(r), text(), text(), text(),
                            pick(3) ? text() : nearLimit(separator),
                            pick(3) ? text() : nearLimit(separator)});
        const RecordTable t = TableOf(titles, rows);
        std::vector<std::pair<int, FindingKind>> expected, got;
        for (int row = 1; row < t.RowCount(); ++row) {
            const auto cell = [&](int field) { return t.Cell(kFirstFieldColumn + field, row); };
            std::int64_t whole = 0;
            if (cell(1).size() > 6) expected.push_back({row * 8 + 1, FindingKind::TooLong});
            if (!ParseCellInt64(cell(2), whole))
                expected.push_back({row * 8 + 2, FindingKind::NotWholeNumber});
            else if (whole < 0 || whole > 255)
                expected.push_back({row * 8 + 2, FindingKind::ByteRange});
            if (!ParseCellInt64(cell(3), whole))
                expected.push_back({row * 8 + 3, FindingKind::NotWholeNumber});
            for (const int field : {4, 5}) {
                double v = 0;
                const double low = field == 4 ? -90 : -180, high = field == 4 ? 90 : 360;
                if (!ParseCellDouble(cell(field), separator, v))
                    expected.push_back({row * 8 + field, FindingKind::NotNumber});
                else if (v / 3600 < low || v / 3600 > high)
                    expected.push_back({row * 8 + field, field == 4 ? FindingKind::LatitudeRange
                                                                    : FindingKind::LongitudeRange});
            }
        }
        for (const Finding& f : CheckTable(t, fields, "NAVAID", separator))
            got.push_back({f.row * 8 + f.column - kFirstFieldColumn, f.kind});
        EXPECT_EQ(got, expected) << "separator " << separator;
        EXPECT_GT(expected.size(), 1000u); // the texts do reach the general readers
    }
}

struct WordingCase {
    const char* cell; // seconds of arc
    bool latitude;
    const char* expected;
};

class CheckWording : public ::testing::TestWithParam<WordingCase> {};

TEST_P(CheckWording, AValueBeyondItsLimitReadsBeyondIt) {
    const WordingCase& c = GetParam();
    const std::vector<FieldDef> fields = {{"lat", 4, 8, 'D', "Latitude"},
                                          {"lon", 12, 8, 'D', "Longitude"}};
    RecordTable t = TableOf({"Latitude", "Longitude"},
                            {{c.latitude ? c.cell : "0", c.latitude ? "0" : c.cell}});
    const std::vector<Finding> found = CheckTable(t, fields, "NAVAID", '.');
    ASSERT_EQ(found.size(), 1u) << c.cell;
    EXPECT_EQ(FindingText(found[0], t, fields, '.', Lang::English), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, CheckWording,
    ::testing::Values(
        WordingCase{"-324000.036", true, "Row 1, Latitude: latitude -90.00001° beyond ±90°"},
        WordingCase{"324000.0000036", true, "Row 1, Latitude: latitude 90.000000001° beyond ±90°"},
        WordingCase{"400000", true, "Row 1, Latitude: latitude 111.1111° beyond ±90°"},
        WordingCase{"1296000.36", false,
                    "Row 1, Longitude: longitude 360.0001° outside −180° to 360°"},
        WordingCase{"-648000.0216", false,
                    "Row 1, Longitude: longitude -180.00001° outside −180° to 360°"}));

TEST(CountText, SingularAndPluralInBothLanguages) {
    const struct {
        long long count;
        Lang lang;
        const char* expected;
    } rows[] = {
        {0, Lang::French, "Vérification : 0 anomalie"},
        {1, Lang::French, "Vérification : 1 anomalie"},
        {2, Lang::French, "Vérification : 2 anomalies"},
        {0, Lang::English, "Check: 0 findings"},
        {1, Lang::English, "Check: 1 finding"},
        {12, Lang::English, "Check: 12 findings"},
    };
    for (const auto& r : rows)
        EXPECT_EQ(Format(txt::CheckHeading.In(r.lang, r.count), static_cast<int>(r.count)),
                  r.expected);
}

TEST(TableCheck, ACellTheCsvExportRefusesIsNamedOnOneLine) {
    const std::vector<FieldDef> fields = {{"nam", 4, 10, 'C', "Name"}};
    RecordTable t = TableOf({"Name"}, {{"Two\r\nlines"}, {"a;b"}, {"a;" + std::string(1000, 'x')}});
    const auto found = CheckTable(t, fields, "NAVAID", '.');
    ASSERT_EQ(found.size(), 3u);
    // A huge cell is quoted by its start and its length.
    const std::string huge = FindingText(found[2], t, fields, '.', Lang::English);
    EXPECT_NE(huge.find("\"a;" + std::string(38, 'x') + "\xE2\x80\xA6 (1002 characters)\""),
              std::string::npos)
        << huge;
    EXPECT_LT(huge.size(), 200u);
    EXPECT_EQ(FindingText(found[0], t, fields, '.', Lang::English),
              "Row 1, Name: \"Two\\r\\nlines\" holds a carriage return (CR): the CSV export "
              "refuses it");
    EXPECT_EQ(FindingText(found[1], t, fields, '.', Lang::French),
              "Ligne 2, Name : « a;b » contient un « ; » : l'export CSV le refuse");
}

// --- orvane-cli check ---------------------------------------------------------------------

class CliCheck : public testing::CliTest {};

TEST_F(CliCheck, ListsTheFindingsAndFailsOnlyWhenThereAreSome) {
    const std::vector<testing::FieldSpec> spec = {{"uid", 4, 8, 'C', "Unique identifier"},
                                                  {"lat", 12, 8, 'D', "Latitude"},
                                                  {"lon", 20, 8, 'D', "Longitude"}};
    const std::string dbt = dir_.File("NAVAID.DBT");
    testing::WriteBytes(dbt, testing::TemplateText(spec));
    const auto record = [](const std::string& key, double lat, double lon) {
        return testing::RecordBuilder(28).Text(4, key).Double(12, lat).Double(20, lon).Bytes();
    };
    const std::string good = dir_.File("good.dbd"), bad = dir_.File("bad.dbd");
    testing::WriteBytes(good, testing::DbdBytes("naid", 28, {record("N1", 3600, 7200)}));
    testing::WriteBytes(bad,
                        testing::DbdBytes("naid", 28,
                                          {record("N1", 3600, 7200), record("N1", 400 * 3600, 0),
                                           record("", 0, -200 * 3600)}));
    testing::CliResult r = Run({"check", good, "--template", dbt}, "LC_ALL=C");
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "");

    r = Run({"check", bad, "--template", dbt}, "LC_ALL=C");
    EXPECT_EQ(r.status, 1) << r.err;
    EXPECT_EQ(
        testing::SplitLines(r.out),
        (std::vector<std::string>{"Row 2, Unique identifier: key \"N1\" already in row 1",
                                  "Row 2, Latitude: latitude 400.0000° beyond ±90°",
                                  "Row 3, Unique identifier: empty key",
                                  "Row 3, Longitude: longitude -200.0000° outside −180° to 360°"}));
    EXPECT_NE(r.err.find("4 findings in 3 rows"), std::string::npos);

    // An error is no finding: status 2.
    r = Run({"check", dir_.File("none.dbd"), "--template", dbt}, "LC_ALL=C");
    EXPECT_EQ(r.status, 2) << r.err;
    EXPECT_NE(r.err.find("none.dbd"), std::string::npos) << r.err;
}

} // namespace
} // namespace orvane
