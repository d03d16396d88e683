#include "support/TableCells.h"
#include "table/RecordTable.h"
#include "table/ValueDisplay.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

using namespace orvane;
using orvane::testing::Column;

namespace {

// A table whose column 4 holds the given texts and column 5 a tag per row.
RecordTable TableWith(const std::vector<std::string>& values) {
    RecordTable t;
    t.SetColumnCount(6);
    t.SetRowCount(static_cast<int>(values.size()) + 1);
    t.SetCell(4, 0, "Value");
    for (int r = 1; r <= static_cast<int>(values.size()); ++r) {
        std::string number = std::to_string(r);
        std::string tag = "row" + number;
        t.SetRowCells(r, {number, "", "", "0", values[static_cast<std::size_t>(r - 1)], tag});
    }
    return t;
}

} // namespace

TEST(RecordTable, StartsWithFlagHeadingsFourEmptyRowsAndCurrentCellOnFirstRow) {
    RecordTable t;
    EXPECT_EQ(t.RowCount(), 5);
    EXPECT_EQ(t.ColumnCount(), 4);
    EXPECT_EQ(t.Cell(0, 0), "n\xB0");
    EXPECT_EQ(t.Cell(1, 0), "Modif");
    EXPECT_EQ(t.Cell(2, 0), "Suppr");
    EXPECT_EQ(t.Cell(3, 0), "Export");
    for (int r = 1; r < 5; ++r)
        for (int c = 0; c < 4; ++c)
            EXPECT_EQ(t.Cell(c, r), "") << c << "," << r;
    EXPECT_EQ(t.CurrentColumn(), 0);
    EXPECT_EQ(t.CurrentRow(), 1);
    EXPECT_EQ(t.SelectedCount, 0);
    EXPECT_EQ(t.DeleteCount, 0);
}

TEST(RecordTable, EditsOfOneCellKeepItsNeighbours) {
    RecordTable t;
    t.SetColumnCount(8);
    t.SetRowCells(1, {"1", "", "", "0", "alpha", "beta", "gamma", "delta"});
    t.SetCell(5, 1, "a much longer text than before, forcing the row to grow");
    t.SetCell(4, 1, "");
    t.SetCell(7, 1, "d");
    t.SetCell(6, 1, "g");
    EXPECT_EQ(t.Cell(4, 1), "");
    EXPECT_EQ(t.Cell(5, 1), "a much longer text than before, forcing the row to grow");
    EXPECT_EQ(t.Cell(6, 1), "g");
    EXPECT_EQ(t.Cell(7, 1), "d");
    EXPECT_EQ(t.Cell(3, 1), "0");
    // Copying a cell of the same row onto another must not read moved bytes.
    t.SetCell(4, 1, t.Cell(5, 1));
    t.SetCell(7, 1, t.Cell(4, 1).substr(2, 4));
    EXPECT_EQ(t.Cell(4, 1), t.Cell(5, 1));
    EXPECT_EQ(t.Cell(7, 1), "much");
    // The same with room to spare in the row, so the edit happens in place and
    // the copied text lies beyond the bytes that move.
    t.SetCell(4, 2, std::string(300, 'a'));
    t.SetCell(4, 2, "");
    t.SetCell(5, 2, "middle");
    t.SetCell(6, 2, "source");
    t.SetCell(4, 2, t.Cell(6, 2));
    EXPECT_EQ(t.Cell(4, 2), "source");
    EXPECT_EQ(t.Cell(5, 2), "middle");
    EXPECT_EQ(t.Cell(6, 2), "source");
}

TEST(RecordTable, FillingARowCellByCellReadsBack) {
    RecordTable t;
    t.SetColumnCount(90);
    for (int c = 0; c < 90; ++c)
        t.SetCell(c, 2, "cell" + std::to_string(c));
    for (int c = 0; c < 90; ++c)
        EXPECT_EQ(t.Cell(c, 2), "cell" + std::to_string(c));
    EXPECT_EQ(t.Cell(0, 1), "");
}

TEST(RecordTable, RowsBeyond64KiBOfTextReadBack) {
    RecordTable t;
    t.SetColumnCount(6);
    std::string big(70000, 'a');
    t.SetRowCells(1, {"1", "", "", "0", big, "tail"});
    EXPECT_EQ(t.Cell(4, 1), big);
    EXPECT_EQ(t.Cell(5, 1), "tail");
    // Growing a narrow row past 64 KiB by a cell edit.
    t.SetRowCells(2, {"2", "", "", "0", "x", "tail"});
    t.SetCell(4, 2, big);
    EXPECT_EQ(t.Cell(4, 2), big);
    EXPECT_EQ(t.Cell(5, 2), "tail");
    t.SetCell(4, 2, "short");
    EXPECT_EQ(t.Cell(4, 2), "short");
    EXPECT_EQ(t.Cell(5, 2), "tail");
}

TEST(RecordTable, OutOfRangeCellsReadEmptyAndIgnoreWrites) {
    RecordTable t;
    auto before = t.Revision();
    t.SetCell(4, 1, "x");
    t.SetCell(0, 5, "x");
    t.SetCell(-1, 1, "x");
    t.SetCell(0, -1, "x");
    EXPECT_EQ(t.Revision(), before);
    EXPECT_EQ(t.Cell(4, 1), "");
    EXPECT_EQ(t.Cell(0, 5), "");
    EXPECT_EQ(t.Cell(-1, -1), "");
}

TEST(RecordTable, ShrinkingDropsCellsSoRegrowingFindsThemEmpty) {
    RecordTable t;
    t.SetColumnCount(6);
    t.SetRowCells(1, {"1", "X", "0", "1", "field0", "field1"});
    t.SetCell(5, 4, "last");
    t.SetColumnCount(5);
    t.SetRowCount(3);
    t.SetColumnCount(6);
    t.SetRowCount(5);
    EXPECT_EQ(t.Cell(4, 1), "field0");
    EXPECT_EQ(t.Cell(5, 1), "");
    EXPECT_EQ(t.Cell(5, 4), "");
    EXPECT_EQ(t.Cell(0, 0), "n\xB0");
}

TEST(RecordTable, SetRowCellsEmptiesCellsBeyondTheListAndDropsExtraCells) {
    RecordTable t;
    t.SetColumnCount(6);
    t.SetRowCells(1, {"1", "x", "x", "1", "a", "b"});
    t.SetRowCells(1, {"1", "", "", "0"});
    EXPECT_EQ(t.Cell(4, 1), "");
    EXPECT_EQ(t.Cell(5, 1), "");
    t.SetRowCells(2, {"2", "", "", "0", "a", "b", "beyond"});
    t.SetColumnCount(7);
    EXPECT_EQ(t.Cell(5, 2), "b");
    EXPECT_EQ(t.Cell(6, 2), "");
}

TEST(RecordTable, InsertAndRemoveMoveWholeRows) {
    RecordTable t = TableWith({"a", "b", "c"});
    t.InsertRow(2);
    EXPECT_EQ(Column(t, 4), (std::vector<std::string>{"a", "", "b", "c"}));
    t.RemoveRow(1);
    EXPECT_EQ(Column(t, 4), (std::vector<std::string>{"", "b", "c"}));
    EXPECT_EQ(Column(t, 5), (std::vector<std::string>{"", "row2", "row3"}));
    // The predicate sees the rows as they were before any removal.
    EXPECT_EQ(t.RemoveRowsIf([&](int r) { return t.Cell(4, r) == "b" || t.Cell(4, r) == ""; }), 2);
    EXPECT_EQ(t.RowCount(), 2);
    EXPECT_EQ(t.Cell(4, 0), "Value");
    EXPECT_EQ(t.Cell(4, 1), "c");
}

TEST(RecordTable, CurrentCellStaysInsideTheTable) {
    RecordTable t = TableWith({"a", "b", "c", "d"});
    t.SetCurrentCell(5, 4);
    t.RemoveRow(4);
    EXPECT_EQ(t.CurrentRow(), 3);
    t.SetRowCount(2);
    EXPECT_EQ(t.CurrentRow(), 1);
    t.SetColumnCount(4);
    EXPECT_EQ(t.CurrentColumn(), 3);
    t.SetRowCount(1); // no data row left
    EXPECT_EQ(t.CurrentRow(), 0);
    t.SetRowCount(3);
    t.SetCurrentCell(99, 99);
    EXPECT_EQ(t.CurrentRow(), 2);
    EXPECT_EQ(t.CurrentColumn(), 3);
    t.SetCurrentCell(-5, 0); // the heading row is never current while data rows exist
    EXPECT_EQ(t.CurrentRow(), 1);
    EXPECT_EQ(t.CurrentColumn(), 0);
}

TEST(RecordTable, SettingTheCurrentCellCollapsesTheSelection) {
    RecordTable t = TableWith({"a", "b", "c"});
    t.SetSelection({0, 1, 5, 3});
    EXPECT_TRUE(t.InSelection(3, 2));
    t.SetCurrentCell(4, 2);
    EXPECT_FALSE(t.InSelection(3, 2));
    EXPECT_TRUE(t.InSelection(4, 2));
}

TEST(RecordTable, RevisionRisesOnEveryChange) {
    RecordTable t = TableWith({"a", "b"});
    auto r = t.Revision();
    auto changed = [&] {
        bool rose = t.Revision() > r;
        r = t.Revision();
        return rose;
    };
    t.SetCell(4, 1, "z");
    EXPECT_TRUE(changed());
    t.SetCell(4, 1, "z"); // the same text: no change
    EXPECT_FALSE(changed());
    t.InsertRow(1);
    EXPECT_TRUE(changed());
    t.RemoveRow(1);
    EXPECT_TRUE(changed());
    t.SetColumnCount(7);
    EXPECT_TRUE(changed());
    t.SortByColumn(4, true, '.');
    EXPECT_TRUE(changed());
    t.ClearDataCells();
    EXPECT_TRUE(changed());
}

TEST(RecordTable, CountsAndRenumbering) {
    RecordTable t = TableWith({"a", "b", "c"});
    t.SetCell(3, 1, "1");
    t.SetCell(3, 3, "1");
    t.SetCell(3, 2, "x"); // not "1": not selected
    t.SetCell(2, 2, "x");
    t.SetCell(2, 3, "X"); // only lower-case marks
    EXPECT_EQ(t.CountSelected(), 2);
    EXPECT_EQ(t.CountDeleted(), 1);
    t.SetCell(0, 2, "77");
    t.InsertRow(1);
    t.Renumber();
    EXPECT_EQ(Column(t, 0), (std::vector<std::string>{"1", "2", "3", "4"}));
    EXPECT_EQ(t.Cell(0, 0), "n\xB0");
}

TEST(RecordTable, ClearsKeepOrDropTheHeadingRow) {
    RecordTable t = TableWith({"a", "b"});
    t.ClearDataCells();
    EXPECT_EQ(t.Cell(4, 0), "Value");
    EXPECT_EQ(t.Cell(4, 1), "");
    EXPECT_EQ(t.RowCount(), 3);
    t.ClearAll();
    EXPECT_EQ(t.Cell(0, 0), "");
    EXPECT_EQ(t.Cell(4, 0), "");
    EXPECT_EQ(t.ColumnCount(), 6);
}

// --- Sorting -------------------------------------------------------------------

struct SortCase {
    const char* name;
    std::vector<std::string> values;
    bool ascending;
    char separator;
    std::vector<std::string> expected;
};

class RecordTableSort : public ::testing::TestWithParam<SortCase> {};

TEST_P(RecordTableSort, OrdersTheColumn) {
    const SortCase& c = GetParam();
    RecordTable t = TableWith(c.values);
    t.SortByColumn(4, c.ascending, c.separator);
    EXPECT_EQ(Column(t, 4), c.expected);
    EXPECT_EQ(t.Cell(4, 0), "Value");
}

INSTANTIATE_TEST_SUITE_P(
    RecordTable, RecordTableSort,
    ::testing::Values(
        SortCase{"NumbersAsNumbers",
                 {"10", "9", "-2", "100", "9.5"},
                 true,
                 '.',
                 {"-2", "9", "9.5", "10", "100"}},
        SortCase{"Descending", {"10", "9", "-2", "100"}, false, '.', {"100", "10", "9", "-2"}},
        SortCase{"CommaSeparator", {"10,5", "9,75", "10,25"}, true, ',', {"9,75", "10,25", "10,5"}},
        // With '.' as separator "9,75" is a text, so it sorts after the numbers.
        SortCase{"CommaIsTextWithPoint", {"10,5", "3", "9,75"}, true, '.', {"3", "10,5", "9,75"}},
        SortCase{"TextsByBytes",
                 {"b", "B", "a", "\xE9t\xE9", "A"},
                 true,
                 '.',
                 {"A", "B", "a", "b", "\xE9t\xE9"}},
        SortCase{"NumbersBeforeTexts",
                 {"abc", "5", "", "-1", "12a"},
                 true,
                 '.',
                 {"-1", "5", "", "12a", "abc"}},
        SortCase{
            "TextsFirstDescending", {"abc", "5", "", "-1"}, false, '.', {"abc", "", "5", "-1"}},
        SortCase{"BlanksAroundNumbers", {" 20", "3 ", "+4"}, true, '.', {"3 ", "+4", " 20"}},
        SortCase{"NegativesAndDecimals",
                 {"-1.5", "-10", "0.25", "-0.5", ".5", "-.5", "1."},
                 true,
                 '.',
                 {"-10", "-1.5", "-0.5", "-.5", "0.25", ".5", "1."}},
        SortCase{"NegativesAndDecimalsDescending",
                 {"-1.5", "-10", "0.25", "-0.5", ".5", "-.5", "1."},
                 false,
                 '.',
                 {"1.", ".5", "0.25", "-0.5", "-.5", "-1.5", "-10"}},
        // Texts of one value keep the order they had, whichever way they
        // are written.
        SortCase{"EqualNumbersKeepTheirOrder",
                 {"1.50", "+1.5", "2", "01.5", " 1.5", "1.5", "-0", "0"},
                 true,
                 '.',
                 {"-0", "0", "1.50", "+1.5", "01.5", " 1.5", "1.5", "2"}},
        SortCase{"EqualNumbersKeepTheirOrderDescending",
                 {"1.50", "+1.5", "2", "01.5", " 1.5", "1.5", "-0", "0"},
                 false,
                 '.',
                 {"2", "1.50", "+1.5", "01.5", " 1.5", "1.5", "-0", "0"}},
        SortCase{"CommaDecimalsWithEqualValues",
                 {"-1,5", "1,50", "-1,25", "1,5", "0,0", "-0"},
                 true,
                 ',',
                 {"-1,5", "-1,25", "0,0", "-0", "1,50", "1,5"}},
        // Long digit runs are read as exactly as short ones: the 17-digit
        // text is the same double as "0.1", so the two keep their order.
        SortCase{"LongNumbersAndLoneSigns",
                 {"12345678901234567.5", "0.10000000000000001", "0.1", "9007199254740993", "1e5",
                  "-", ".", " ", "5"},
                 true,
                 '.',
                 {"0.10000000000000001", "0.1", "5", "9007199254740993", "12345678901234567.5", " ",
                  "-", ".", "1e5"}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(RecordTable, SortMovesWholeRowsWithTheirNumbersAndIsStable) {
    RecordTable t = TableWith({"2", "1", "2", "1", "2"});
    t.SortByColumn(4, true, '.');
    EXPECT_EQ(Column(t, 0), (std::vector<std::string>{"2", "4", "1", "3", "5"}));
    EXPECT_EQ(Column(t, 5), (std::vector<std::string>{"row2", "row4", "row1", "row3", "row5"}));
    // Descending keeps equal rows in their present order too.
    t.SortByColumn(4, false, '.');
    EXPECT_EQ(Column(t, 0), (std::vector<std::string>{"1", "3", "5", "2", "4"}));
}

TEST(RecordTable, SortingAHundredThousandRowsIsStable) {
    const int n = 100000;
    RecordTable t = orvane::testing::TableOfEqualValues(n);
    for (bool ascending : {true, false}) {
        t.SortByColumn(4, ascending, '.');
        double previousValue = ascending ? -1 : 1e9;
        int previousNumber = 0;
        for (int r = 1; r <= n; ++r) {
            double v = std::stod(std::string(t.Cell(4, r)));
            int number = std::stoi(std::string(t.Cell(0, r)));
            ASSERT_TRUE(ascending ? previousValue <= v : previousValue >= v) << "row " << r;
            // Equal values keep the order they had: the first sort left them
            // by row number, and so does the second.
            if (v == previousValue) {
                ASSERT_LT(previousNumber, number) << "row " << r;
            }
            ASSERT_EQ(t.Cell(0, r), t.Cell(5, r)); // rows moved whole
            previousValue = v;
            previousNumber = number;
        }
    }
}

// Rows of a load live in the table's blocks; an edit that outgrows one moves
// that row out of them. Left to the end of the process, none of them is
// freed: a text read before stays readable, and the table starts over empty.
TEST(RecordTable, PackedRowsTakeEditsAndCanBeLeftToTheProcessExit) {
    RecordTable t;
    t.SetColumnCount(6);
    t.SetRowCount(3);
    const std::uint32_t ends[] = {1, 1, 1, 2, 8, 9};
    t.SetRowPacked(1, "112.5000A", ends, 6);
    t.SetRowPacked(2, "213.2500B", ends, 6);
    t.SetCell(4, 1, "a longer text than the row had room for");
    EXPECT_EQ(t.Cell(4, 1), "a longer text than the row had room for");
    EXPECT_EQ(t.Cell(5, 1), "A");
    EXPECT_EQ(t.Cell(4, 2), "3.2500");
    const std::string_view packed = t.Cell(4, 2), edited = t.Cell(4, 1);
    t.LeaveRowsToProcessExit();
    EXPECT_EQ(t.RowCount(), 0);
    EXPECT_EQ(packed, "3.2500");
    EXPECT_EQ(edited, "a longer text than the row had room for");
    t.SetRowCount(2);
    t.SetCell(4, 1, "new");
    EXPECT_EQ(t.Cell(4, 1), "new");
}

// A large table of awkward cells sorts as a plain stable sort of the cells'
// values does: numbers (negatives, zeros of either sign, blanks, long digit
// runs) by value before texts by bytes, equal ones in their present order.
TEST(RecordTable, SortingManyAwkwardCellsMatchesAStableSortOfTheirValues) {
    const char* const awkward[] = {
        "-0", "0", "0.0", "-1.5", "1,5", "",     "abc",   " 7",
        "+3", "-", ".",   "1e3",  "7.",  "-.25", "-7.25", "12345678901234567.25"};
    std::vector<std::string> values;
    std::uint32_t seed = 99;
    for (int i = 0; i < 6000; ++i) {
        seed = seed * 1664525u + 1013904223u;
        if (seed >> 28 < 4)
            values.push_back(awkward[(seed >> 8) % std::size(awkward)]);
        else
            values.push_back(std::to_string(static_cast<int>(seed >> 16) % 2000 - 1000) + "." +
                             std::to_string(seed % 4 * 25));
    }
    RecordTable t = TableWith(values);
    for (bool ascending : {true, false}) {
        std::vector<int> expected(values.size());
        for (std::size_t i = 0; i < expected.size(); ++i)
            expected[i] = std::stoi(std::string(t.Cell(0, static_cast<int>(i) + 1))) - 1;
        std::stable_sort(expected.begin(), expected.end(), [&](int a, int b) {
            const auto x = ParseDecimal(values[a], '.'), y = ParseDecimal(values[b], '.');
            if (x.has_value() != y.has_value()) return x.has_value() == ascending;
            if (x) return ascending ? *x < *y : *y < *x;
            return ascending ? values[a] < values[b] : values[b] < values[a];
        });
        t.SortByColumn(4, ascending, '.');
        for (std::size_t i = 0; i < expected.size(); ++i)
            ASSERT_EQ(std::stoi(std::string(t.Cell(0, static_cast<int>(i) + 1))) - 1, expected[i])
                << (ascending ? "ascending" : "descending") << ", row " << i + 1;
    }
}

TEST(RecordTable, HoldsAHundredThousandRowsOfNinetyColumnsCompactly) {
    const int rows = 100000, columns = 90;
    RecordTable t;
    t.SetColumnCount(columns);
    t.SetRowCount(rows + 1);
    std::vector<std::string> texts(columns);
    std::vector<std::string_view> views(columns);
    for (int r = 1; r <= rows; ++r) {
        for (int c = 0; c < columns; ++c) {
            texts[c] = std::to_string((r * 31 + c * 7) % 100000) + ".1250";
            views[c] = texts[c];
        }
        t.SetRowCells(r, views);
    }
    EXPECT_LT(t.MemoryUsage(), 120u * 1024 * 1024);
    EXPECT_GT(t.MemoryUsage(), 50u * 1024 * 1024); // the texts alone are ~89 MB
    for (int r = 1; r <= rows; r += 997)
        for (int c = 0; c < columns; c += 13)
            ASSERT_EQ(t.Cell(c, r), std::to_string((r * 31 + c * 7) % 100000) + ".1250");
}
