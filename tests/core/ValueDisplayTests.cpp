#include "table/ValueDisplay.h"

#include "support/NamedCase.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <ctime>
#include <limits>
#include <string>

using namespace orvane;

namespace {

DisplayContext Context(long offset = 0, char separator = '.', std::string date = "%d/%m/%Y",
                       std::string time = "%H:%M:%S") {
    DisplayContext c;
    c.decimalSeparator = separator;
    c.utcOffsetSeconds = offset;
    c.formats.shortDate = std::move(date);
    c.formats.longTime = std::move(time);
    return c;
}

} // namespace

// --- Numbers ---------------------------------------------------------------------------

struct ParseCase {
    const char* text;
    char separator;
    std::optional<double> expected;
};

class ValueDisplayParse : public ::testing::TestWithParam<ParseCase> {};

TEST_P(ValueDisplayParse, ReadsStrictDecimals) {
    const ParseCase& c = GetParam();
    EXPECT_EQ(ParseDecimal(c.text, c.separator), c.expected) << '"' << c.text << '"';
}

INSTANTIATE_TEST_SUITE_P(
    ValueDisplay, ValueDisplayParse,
    ::testing::Values(ParseCase{"12.5", '.', 12.5}, ParseCase{"12,5", ',', 12.5},
                      ParseCase{"12,5", '.', std::nullopt}, ParseCase{"12.5", ',', std::nullopt},
                      ParseCase{"  -3.25\t", '.', -3.25}, ParseCase{"+7", '.', 7.0},
                      ParseCase{"5.", '.', 5.0}, ParseCase{".5", '.', 0.5},
                      ParseCase{"-0", '.', 0.0}, ParseCase{"", '.', std::nullopt},
                      ParseCase{"   ", '.', std::nullopt}, ParseCase{"-", '.', std::nullopt},
                      ParseCase{".", '.', std::nullopt}, ParseCase{"1.2.3", '.', std::nullopt},
                      ParseCase{"1e5", '.', std::nullopt}, ParseCase{"0x10", '.', std::nullopt},
                      ParseCase{"1 2", '.', std::nullopt}, ParseCase{"+-1", '.', std::nullopt},
                      ParseCase{"nan", '.', std::nullopt}, ParseCase{"inf", '.', std::nullopt}));

TEST(ValueDisplay, HugeDigitStringsReadAsInfinity) {
    std::string huge(400, '9');
    auto v = ParseDecimal("-" + huge, '.');
    ASSERT_TRUE(v);
    EXPECT_TRUE(std::isinf(*v) && *v < 0);
}

TEST(ValueDisplay, FormatFixedUsesTheGivenSeparatorWhateverTheLocale) {
    EXPECT_EQ(FormatFixed(12.5, 4, '.'), "12.5000");
    EXPECT_EQ(FormatFixed(12.5, 4, ','), "12,5000");
    EXPECT_EQ(FormatFixed(-1.23456, 4, ','), "-1,2346");
    EXPECT_EQ(FormatFixed(3.0, 0, ','), "3");
    EXPECT_EQ(FormatFixed(1e20, 1, '.'), "100000000000000000000.0");
}

// --- Coordinates ------------------------------------------------------------------------

struct AngleCase : orvane::testing::NamedCase {
    bool latitude;
    const char* cell;
    char separator;
    const char* expected; // nullptr: not a number
};

class ValueDisplayAngle : public ::testing::TestWithParam<AngleCase> {};

TEST_P(ValueDisplayAngle, FollowsTheDegreesMinutesSecondsRule) {
    const AngleCase& c = GetParam();
    auto text = c.latitude ? LatitudeText(c.cell, c.separator) : LongitudeText(c.cell, c.separator);
    if (c.expected) {
        ASSERT_TRUE(text) << c.cell;
        EXPECT_EQ(*text, c.expected);
    } else {
        EXPECT_FALSE(text) << *text;
    }
}

#define DEG "\xC2\xB0"

INSTANTIATE_TEST_SUITE_P(
    ValueDisplay, ValueDisplayAngle,
    ::testing::Values(
        AngleCase{"FortyFiveNorth", true, "162000", '.', "Lat N45" DEG " 0' 0.0000\""},
        AngleCase{"MinusFortyFiveHundredWest", false, "-4500", '.', "Lon W1" DEG " 15' 0.0000\""},
        AngleCase{"HalfDegreeNorth", true, "1800", '.', "Lat N0" DEG " 30' 0.0000\""},
        AngleCase{"HalfDegreeSouth", true, "-1800", '.', "Lat S0" DEG " 30' 0.0000\""},
        AngleCase{"ZeroIsSouth", true, "0", '.', "Lat S0" DEG " 0' 0.0000\""},
        AngleCase{"ZeroIsWest", false, "0.0000", '.', "Lon W0" DEG " 0' 0.0000\""},
        AngleCase{"HundredDegreesLatitude", true, "360000", '.', "Lat S80" DEG " 0' 0.0000\""},
        AngleCase{"HundredNinetyDegreesLongitude", false, "684000", '.',
                  "Lon W170" DEG " 0' 0.0000\""},
        AngleCase{"ThreeHundredDegreesLatitude", true, "1080000", '.',
                  "Lat S60" DEG " 0' 0.0000\""},
        AngleCase{"NinetyIsStillNorth", true, "324000", '.', "Lat N90" DEG " 0' 0.0000\""},
        AngleCase{"SecondsNoCarry", true, "59.99999", '.', "Lat N0" DEG " 0' 60.0000\""},
        AngleCase{"FractionalSeconds", true, "163845.5", '.', "Lat N45" DEG " 30' 45.5000\""},
        AngleCase{"CommaSeparator", true, "163845,5", ',', "Lat N45" DEG " 30' 45,5000\""},
        AngleCase{"CommaWithPointSeparator", true, "163845,5", '.', nullptr},
        AngleCase{"SmallWest", false, "-0.5", '.', "Lon W0" DEG " 0' 0.5000\""},
        AngleCase{"EastLongitude", false, "8226", '.', "Lon E2" DEG " 17' 6.0000\""},
        AngleCase{"NotANumber", true, "N45", '.', nullptr},
        AngleCase{"Empty", false, "", '.', nullptr}),
    orvane::testing::CaseName);

TEST(ValueDisplay, CoordinateTextJoinsBothHalves) {
    EXPECT_EQ(CoordinateText("162000", "-4500", '.'),
              "Lat N45" DEG " 0' 0.0000\" - Lon W1" DEG " 15' 0.0000\"");
    EXPECT_FALSE(CoordinateText("162000", "", '.'));
    EXPECT_FALSE(CoordinateText("abc", "-4500", '.'));
}

// --- Time stamps ---------------------------------------------------------------------------

struct DateCase : orvane::testing::NamedCase {
    std::int64_t stamp; // taken as 32 bits
    long offset;
    const char* date;
    const char* time;
    const char* expected;
};

class ValueDisplayDate : public ::testing::TestWithParam<DateCase> {};

TEST_P(ValueDisplayDate, ShowsTheLocalMoment) {
    const DateCase& c = GetParam();
    auto stamp = static_cast<std::int32_t>(static_cast<std::uint32_t>(c.stamp));
    EXPECT_EQ(DateDecode(stamp, Context(c.offset, '.', c.date, c.time)), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    ValueDisplay, ValueDisplayDate,
    ::testing::Values(
        DateCase{"EpochIsMidnight", 0, 0, "%d/%m/%Y", "%H:%M:%S", "01/01/1970"},
        DateCase{"OneHourEast", 0, 3600, "%d/%m/%Y", "%H:%M:%S", "01/01/1970 01:00:00"},
        DateCase{"OneHourWest", 0, -3600, "%d/%m/%Y", "%H:%M:%S", "31/12/1969 23:00:00"},
        DateCase{"MidnightLocal", 1700000000 - 22 * 3600 - 13 * 60 - 20 + 5 * 3600, -5 * 3600,
                 "%d/%m/%Y", "%H:%M:%S", "14/11/2023"},
        DateCase{"HalfHourZone", 1700000000, 5 * 3600 + 1800, "%Y-%m-%d", "%H:%M:%S",
                 "2023-11-15 03:43:20"},
        DateCase{"OtherFormats", 1700000000, -10 * 3600, "%m/%d/%y", "%I:%M %p",
                 "11/14/23 12:13 PM"},
        DateCase{"LeapDay", 951782400, 0, "%d/%m/%Y", "%H:%M:%S", "29/02/2000"},
        DateCase{"Before1970", -299590200, 0, "%d/%m/%Y", "%H:%M:%S", "04/07/1960 12:30:00"},
        DateCase{"HighBitIsBefore1970", 0x80000000LL, 0, "%Y-%m-%d", "%H:%M:%S",
                 "1901-12-13 20:45:52"},
        DateCase{"AllBitsIsOneSecondBefore", 0xFFFFFFFFLL, 0, "%d/%m/%Y", "%H:%M:%S",
                 "31/12/1969 23:59:59"},
        DateCase{"WeekdayAndYearDay", 951782400 + 3600, 0, "%a %j", "%H", "Tue 060 01"}),
    orvane::testing::CaseName);

TEST(ValueDisplay, UtcStampTextAlwaysShowsTheTime) {
    EXPECT_EQ(UtcStampText(0), "1970-01-01 00:00:00");
    EXPECT_EQ(UtcStampText(1700000000), "2023-11-14 22:13:20");
    EXPECT_EQ(UtcStampText(std::numeric_limits<std::int32_t>::max()), "2038-01-19 03:14:07");
    EXPECT_EQ(UtcStampText(std::numeric_limits<std::int32_t>::min()), "1901-12-13 20:45:52");
}

TEST(ValueDisplay, DateCodeAtKeepsThirtyTwoBits) {
    EXPECT_EQ(DateCodeAt(1700000000, 3600), 1700000000);
    EXPECT_EQ(DateCodeAt(1700000000, -18000), 1700000000);
    // After January 2038 the stamp wraps, and reads back as a date before 1970.
    EXPECT_EQ(DateCodeAt((std::int64_t{1} << 31) + 5, 0),
              std::numeric_limits<std::int32_t>::min() + 5);
    DisplayContext c = Context(7200);
    EXPECT_EQ(DateDecode(DateCodeAt(1700000000, 7200), c), "15/11/2023 00:13:20");
}

// DateDecode of DateCode shows the computer's wall clock, whatever offset the
// two share.
TEST(ValueDisplay, DateCodeRoundTripShowsTheLocalClock) {
    auto localClock = [] {
        // The same clock as DateCode: time() may lag a tick behind it.
        std::time_t now = std::chrono::system_clock::to_time_t(
            std::chrono::floor<std::chrono::seconds>(std::chrono::system_clock::now()));
        std::tm tm{};
#ifdef _WIN32
        localtime_s(&tm, &now);
#else
        localtime_r(&now, &tm);
#endif
        char buffer[64];
        std::size_t n = std::strftime(buffer, sizeof buffer, "%d/%m/%Y %H:%M:%S", &tm);
        std::string text(buffer, n);
        if (text.size() > 10 && text.substr(11) == "00:00:00") text.resize(10);
        return text;
    };
    for (long offset : {0L, 3600L, -5L * 3600, 5L * 3600 + 1800}) {
        std::string before = localClock();
        std::string decoded = DateDecode(DateCode(offset), Context(offset));
        std::string after = localClock();
        EXPECT_TRUE(decoded == before || decoded == after)
            << decoded << " vs " << before << " / " << after << " (offset " << offset << ")";
    }
}

// --- Identifiers -------------------------------------------------------------------------------

TEST(ValueDisplay, HexValueReadsUpperCaseHexadecimalOnly) {
    struct {
        const char* text;
        std::uint64_t expected;
    } cases[] = {
        {"", 0},
        {"0", 0},
        {"FF", 255},
        {"1A2B", 0x1A2B},
        {"6553F100", 0x6553F100},
        {"ff", 0},
        {"1a", 0},
        {" 1", 0},
        {"1 ", 0},
        {"G1", 0},
        {"-1", 0},
        {"FFFFFFFFFFFFFFFF", ~std::uint64_t{0}},
        {"10000000000000000", 0}, // 16^16 wraps to zero
        {"20000000000000003", 3}, // wraps, keeping the low digits
        {"1FFFFFFFFFFFFFFFF", ~std::uint64_t{0}},
        {"z000000000000000F", 0}, // a bad character still counts past the 16th digit
    };
    for (const auto& c : cases)
        EXPECT_EQ(HexValue(c.text), c.expected) << '"' << c.text << '"';
}

// --- Hints and status panel
// ------------------------------------------------------------------------

class ValueDisplayHint : public ::testing::Test {
  protected:
    void SetUp() override {
        table.SetColumnCount(11);
        table.SetRowCount(3);
        const std::vector<std::string_view> headings{"n\xB0",
                                                     "Modif",
                                                     "Suppr",
                                                     "Export",
                                                     "Latitude",
                                                     "LONGITUDE",
                                                     "Unique ID",
                                                     "Name",
                                                     "latitude_longitude",
                                                     "Elevation",
                                                     "Airport longitude"};
        table.SetRowCells(0, headings);
        table.SetRowCells(
            1, {"1", "", "", "0", "162000", "-4500", "6553F100", "Paris", "1800", "-1800", "12.5"});
        table.SetRowCells(2, {"2", "", "", "0", "n/a", "-4500", "ab12", "Lyon", "", "", "7"});
    }
    RecordTable table;
    DisplayContext context = Context(3600);
    const std::string pair = "Lat N45" DEG " 0' 0.0000\" - Lon W1" DEG " 15' 0.0000\"";
};

// What a hover shows as hint and does to the panel, and what a click does
// to it: coordinates set it (the cell's pair), unique identifiers leave it
// on hover, other fields and unreadable coordinates empty it, the heading row
// and cells outside the table leave it alone.
TEST_F(ValueDisplayHint, HoverAndClickPerColumnAndRow) {
    using enum PanelAction;
    struct Case {
        std::vector<std::pair<int, int>> cells; // column, row
        const char* text; // the cell's text instead of the set-up's, or nullptr
        std::string hint;
        PanelAction hover, click;
    };
    const std::string date = "14/11/2023 23:13:20";
    const Case cases[] = {
        {{{4, 1}, {5, 1}}, nullptr, pair, Set, Set},
        // A heading with both words is a latitude paired with the cell on its
        // right, whatever that holds; a longitude with the cell on its left.
        {{{8, 1}}, nullptr, "Lat N0" DEG " 30' 0.0000\" - Lon W0" DEG " 30' 0.0000\"", Set, Set},
        {{{10, 1}}, nullptr, "Lat S0" DEG " 30' 0.0000\" - Lon E0" DEG " 0' 12.5000\"", Set, Set},
        {{{4, 2}, {5, 2}, {8, 2}}, nullptr, "", Clear, Clear},
        // The unique column: a click is not a hover.
        {{{6, 1}}, nullptr, date, Leave, Clear},
        {{{6, 2}}, nullptr, "pas une date", Leave, Clear}, // lower-case hexadecimal
        {{{6, 2}}, "0", "pas une date", Leave, Clear},
        {{{6, 2}}, "ABC6553F100", date, Leave, Clear}, // only the low 32 bits are the stamp
        {{{6, 2}}, "FFFFFFFF", "01/01/1970 00:59:59", Leave, Clear}, // one second before 1970
        {{{0, 1}, {1, 1}, {2, 1}, {3, 1}, {7, 1}}, nullptr, "", Clear, Clear},
        {{{4, 0}, {0, 0}, {6, 0}, {4, 3}, {11, 1}, {-1, 1}}, nullptr, "", Leave, Leave},
    };
    for (const Case& c : cases) {
        for (const auto& [col, row] : c.cells) {
            SCOPED_TRACE(std::to_string(col) + "," + std::to_string(row) + " " +
                         (c.text ? c.text : ""));
            const std::string kept(table.Cell(col, row));
            if (c.text) table.SetCell(col, row, c.text);
            const HintResult hover = GridHint(table, col, row, context);
            EXPECT_EQ(hover.hint, c.hint);
            EXPECT_EQ(hover.panel, c.hover);
            if (c.hover == Set) {
                EXPECT_EQ(hover.panelText, c.hint);
            }
            const HintResult click = ClickPanel(table, col, row, context);
            EXPECT_EQ(click.hint, "");
            EXPECT_EQ(click.panel, c.click);
            if (c.click == Set) {
                EXPECT_EQ(click.panelText, c.hint);
            }
            table.SetCell(col, row, kept);
        }
    }
}

TEST_F(ValueDisplayHint, TheCommaSeparatorReadsCommaCells) {
    table.SetCell(4, 1, "163845,5");
    table.SetCell(5, 1, "-4500,0");
    DisplayContext comma = Context(0, ',');
    EXPECT_EQ(GridHint(table, 4, 1, comma).hint,
              "Lat N45" DEG " 30' 45,5000\" - Lon W1" DEG " 15' 0,0000\"");
    EXPECT_EQ(GridHint(table, 4, 1, context).panel, PanelAction::Clear);
}
