#include "forms/Pagination.h"

#include "support/NamedCase.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace orvane;

namespace {

// A page of 100 x 100 inside margins of 10, a page header of 10 and a
// heading row of 10: room for 100 wide and 60 high.
PageLayout Page() {
    return {120, 100, 10, 10, 10, 10, 10};
}

// Pages as "rows|columns" texts: "1-3|0,1" or, for column slices, "1|1@100+100".
std::vector<std::string> Describe(const std::vector<PrintPage>& pages,
                                  const std::vector<int>& widths) {
    std::vector<std::string> out;
    for (const PrintPage& p : pages) {
        std::string s = std::to_string(p.rows.front()) + "-" + std::to_string(p.rows.back()) + "|";
        for (const ColumnPart& c : p.columns) {
            if (s.back() != '|') s += ",";
            s += std::to_string(c.column);
            if (c.width != widths[static_cast<std::size_t>(c.column)]) // a slice
                s += "@" + std::to_string(c.offset) + "+" + std::to_string(c.width);
        }
        EXPECT_EQ(p.number, static_cast<int>(out.size()) + 1);
        out.push_back(s);
    }
    return out;
}

} // namespace

struct PaginateCase : orvane::testing::NamedCase {
    std::vector<int> widths;
    int rows; // data rows of height 20 below a heading row of 10
    PrintRange range;
    std::vector<std::string> expected;
    std::vector<int> repeated = {}; // the key columns repeated on later bands
};

class Pagination : public ::testing::TestWithParam<PaginateCase> {};

TEST_P(Pagination, LaysRowsAndColumnsOnPages) {
    const PaginateCase& c = GetParam();
    std::vector<int> heights(static_cast<std::size_t>(c.rows) + 1, 20);
    heights[0] = 10;
    EXPECT_EQ(Describe(Paginate(c.widths, heights, Page(), c.range, c.repeated), c.widths),
              c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Printing, Pagination,
    ::testing::Values(
        PaginateCase{"OnePage", {40, 60}, 3, {0, 1, 1, 3}, {"1-3|0,1"}},
        PaginateCase{"RowsDownThreePages", {40}, 7, {0, 0, 1, 7}, {"1-3|0", "4-6|0", "7-7|0"}},
        PaginateCase{"DownThenAcross",
                     {40, 50, 30},
                     4,
                     {0, 2, 1, 4},
                     {"1-3|0,1", "4-4|0,1", "1-3|2", "4-4|2"}},
        PaginateCase{"WideColumnSpillsLeftPartFirst",
                     {50, 250, 30},
                     1,
                     {0, 2, 1, 1},
                     {"1-1|0", "1-1|1@0+100", "1-1|1@100+100", "1-1|1@200+50,2"}},
        PaginateCase{"LaterBandsRepeatTheKeyColumns",
                     {20, 20, 50, 30, 45, 45},
                     4,
                     {0, 5, 1, 4},
                     {"1-3|0,1,2", "4-4|0,1,2", "1-3|0,1,3", "4-4|0,1,3", "1-3|0,1,4", "4-4|0,1,4",
                      "1-3|0,1,5", "4-4|0,1,5"},
                     {0, 1}},
        PaginateCase{"KeyColumnsRepeatedWithinTheRange",
                     {20, 20, 50, 60},
                     1,
                     {1, 3, 1, 1},
                     {"1-1|1,2", "1-1|1,3"},
                     {0, 1}},
        PaginateCase{"KeyColumnsWiderThanHalfAPageAreNotRepeated",
                     {60, 50, 30},
                     1,
                     {0, 2, 1, 1},
                     {"1-1|0", "1-1|1,2"},
                     {0}},
        PaginateCase{"RowsClampedToTheTable", {40}, 2, {-3, 9, -5, 1000}, {"1-2|0"}},
        PaginateCase{"SelectedPartOnly", {40, 40, 40, 40}, 5, {2, 3, 2, 4}, {"2-4|2,3"}},
        PaginateCase{"LastBeforeFirstPrintsNothing", {40}, 5, {0, 0, 4, 3}, {}},
        PaginateCase{"NoColumnPrintsNothing", {40}, 5, {1, 0, 1, 5}, {}},
        PaginateCase{"RowsOutsideTheTable", {40}, 5, {0, 0, 50, 60}, {}}),
    orvane::testing::CaseName);

TEST(Printing, ARowTallerThanThePageGetsItsOwnPage) {
    std::vector<PrintPage> pages = Paginate({40}, {10, 20, 500, 20}, Page(), {0, 0, 1, 3});
    EXPECT_EQ(Describe(pages, {40}), (std::vector<std::string>{"1-1|0", "2-2|0", "3-3|0"}));
    EXPECT_EQ(PageNumberText(2, 3), "2/3");
}

struct SelectionCase : orvane::testing::NamedCase {
    const char *maxi, *first, *last;
    std::optional<PrintRange> range;
    std::string message; // English
    bool close;
};

class PrintSelectionRules : public ::testing::TestWithParam<SelectionCase> {};

TEST_P(PrintSelectionRules, FollowTheBoxes) {
    const SelectionCase& c = GetParam();
    RecordTable table; // 6 fields, 10 data rows
    table.SetColumnCount(kFirstFieldColumn + 6);
    table.SetRowCount(11);
    PrintSelectionResult r = PrintSelection(table, c.maxi, c.first, c.last, Lang::English);
    EXPECT_EQ(r.range, c.range);
    EXPECT_EQ(r.notice ? r.notice->text : "", c.message);
    EXPECT_EQ(r.closeWindow, c.close);
}

INSTANTIATE_TEST_SUITE_P(
    Printing, PrintSelectionRules,
    ::testing::Values(
        SelectionCase{"ThreeColumns", "3", "2", "5", PrintRange{4, 6, 2, 5}, "", true},
        SelectionCase{"SameRowOnce", "6", "7", "7", PrintRange{4, 9, 7, 7}, "", true},
        SelectionCase{"MaxiAboveFieldCount", "99", "1", "10", PrintRange{4, 9, 1, 10}, "", true},
        SelectionCase{"RowsClamped", "2", "-5", "40", PrintRange{4, 5, 1, 10}, "", true},
        SelectionCase{"LastBeforeFirst", "3", "5", "4", std::nullopt,
                      "Last line number must be greater than first one", true},
        SelectionCase{"NoColumn", "0", "1", "2", std::nullopt,
                      "Nothing to print: the maximum column number must be 1 or more", false},
        SelectionCase{"RowsOutside", "3", "50", "60", std::nullopt,
                      "Nothing to print: lines 50 to 60 are outside the table (lines 1 to 10)",
                      false},
        SelectionCase{"NotAWholeNumber", "3", "1x", "4", std::nullopt,
                      "\"1x\" is not a valid whole number", false}),
    orvane::testing::CaseName);

TEST(Printing, PrintAllAsksWithTheHeadingRowCounted) {
    RecordTable table;
    table.SetColumnCount(7);
    table.SetRowCount(11);
    EXPECT_EQ(PrintAllQuestion(table, Lang::French).text,
              "Attention vous allez imprimer 11 lignes.\r\nConfirmez ou annulez.");
    EXPECT_EQ(PrintAllRange(table), (PrintRange{0, 6, 1, 10}));
    EXPECT_EQ(MaxiColumnPreset(table), 3);
}
