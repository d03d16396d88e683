// Comparing two tables: values against texts, the ordered list of
// differences with the rows' labels, repeated keys, and taking the other
// table's side (as one undo step).
#include "support/TableCells.h"
#include "table/History.h"
#include "table/TableDiff.h"

#include <gtest/gtest.h>

using namespace orvane;
using orvane::testing::Cells;
using orvane::testing::DataCells;
using orvane::testing::TableOf;

namespace {

struct ValueCase {
    const char *x, *y;
    ValueKind kind;
    char separator;
    bool same;
};

class SameValueTest : public ::testing::TestWithParam<ValueCase> {};

TEST_P(SameValueTest, ComparesAsTheFieldTypeReads) {
    const ValueCase& c = GetParam();
    EXPECT_EQ(SameValue(c.x, c.y, c.kind, c.separator), c.same) << c.x << " / " << c.y;
    EXPECT_EQ(SameValue(c.y, c.x, c.kind, c.separator), c.same) << "both ways";
}

INSTANTIATE_TEST_SUITE_P(Cells, SameValueTest,
                         ::testing::Values(
                             // The record editor writes the shortest text of the same number.
                             ValueCase{"8565.8400", "8565.84", ValueKind::Decimal, '.', true},
                             ValueCase{"8565,8400", "8565,84", ValueKind::Decimal, ',', true},
                             ValueCase{"-0.5000", "-.5", ValueKind::Decimal, '.', true},
                             ValueCase{"8565.8400", "8565.8401", ValueKind::Decimal, '.', false},
                             // Another separator than the session's is no number: texts differ.
                             ValueCase{"1.5", "1,5", ValueKind::Decimal, ',', false},
                             ValueCase{"", "0", ValueKind::Decimal, '.', false},
                             ValueCase{"abc", "abc", ValueKind::Decimal, '.', true},
                             ValueCase{"007", "7", ValueKind::Whole, '.', true},
                             ValueCase{" 12", "+12", ValueKind::Whole, '.', true},
                             ValueCase{"7", "8", ValueKind::Whole, '.', false},
                             ValueCase{"7.0", "7", ValueKind::Whole, '.', false},
                             // Texts by their bytes, blanks and letter case included.
                             ValueCase{"8565.8400", "8565.84", ValueKind::Text, '.', false},
                             ValueCase{"Orly", "Orly ", ValueKind::Text, '.', false},
                             ValueCase{"Orly", "ORLY", ValueKind::Text, '.', false}));

// Key, name, city, latitude (a number) and an integer.
CompareRule Rule() {
    CompareRule rule;
    rule.keyColumn = kFirstFieldColumn;
    rule.kinds = {ValueKind::Text, ValueKind::Text,    ValueKind::Text,
                  ValueKind::Text, ValueKind::Text,    ValueKind::Text,
                  ValueKind::Text, ValueKind::Decimal, ValueKind::Whole};
    return rule;
}

const Cells kHeadings = {{"Key (unique)", "Name", "City", "Latitude", "Elevation"}};

RecordTable Table(Cells rows) {
    rows.insert(rows.begin(), kHeadings[0]);
    return TableOf(rows);
}

TEST(TableDiff, NumbersCompareByValueAndTextsByBytes) {
    const RecordTable a = Table({{"K1", "Orly", "Paris", "8565.8400", "291"}});
    RecordTable b = Table({{"K1", "Orly", "Paris", "8565.84", "0291"}});
    EXPECT_TRUE(CompareTables(a, b, Rule()).Equal());
    // By bytes (no kinds) the same tables differ in both numbers.
    EXPECT_EQ(CompareTables(a, b, kFirstFieldColumn).changed.at(0).cells.size(), 2u);
    b.SetCell(6, 1, "PARIS");
    b.SetCell(7, 1, "8565.85");
    const TableDifference d = CompareTables(a, b, Rule());
    ASSERT_EQ(d.changed.size(), 1u);
    ASSERT_EQ(d.changed[0].cells.size(), 2u);
    EXPECT_EQ(d.changed[0].cells[0].column, 6);
    EXPECT_EQ(d.changed[0].cells[1].after, "8565.85");
}

// A: K1 K2 K3; B: K6 first, K1, K2 changed, K5 after it. K3 only here.
struct Pair {
    RecordTable a = Table({{"K1", "Orly", "Paris", "1", "291"},
                           {"K2", "Bron", "Lyon", "2", "659"},
                           {"K3", "", "Nice", "3", "12"}});
    RecordTable b = Table({{"K6", "Guipavas", "Brest", "6", "325"},
                           {"K1", "Orly", "Paris", "1.0", "291"},
                           {"K2", "Bron", "Lyon", "2.5", "660"},
                           {"K5", "Entzheim", "", "5", "505"}});
};

TEST(TableDiff, ListsEveryDifferenceInTheOrderOfThisTable) {
    Pair p;
    const TableDifference d = CompareTables(p.a, p.b, Rule());
    const auto list = ListDifferences(d);
    ASSERT_EQ(list.size(), 4u);
    // K6 stands before the first row, K5 right after K2, which it follows in B.
    EXPECT_EQ(list[0].kind, DifferenceKind::OnlyThere);
    EXPECT_EQ(list[0].rowB, 1);
    EXPECT_EQ(list[0].at, 0);
    EXPECT_EQ(list[1].kind, DifferenceKind::Changed);
    EXPECT_EQ(list[1].rowA, 2);
    EXPECT_EQ(d.changed[std::size_t(list[1].changed)].cells.size(), 2u);
    EXPECT_EQ(list[2].kind, DifferenceKind::OnlyThere);
    EXPECT_EQ(list[2].rowB, 4);
    EXPECT_EQ(list[2].at, 2);
    EXPECT_EQ(list[3].kind, DifferenceKind::OnlyHere);
    EXPECT_EQ(list[3].rowA, 3);

    // Labels: the key, then the field titled as a name.
    EXPECT_EQ(RowLabel(p.a, 2, Rule()), "K2  Bron");
    EXPECT_EQ(RowLabel(p.a, 3, Rule()), "K3");
    EXPECT_EQ(RowLabel(p.b, 4, Rule()), "K5  Entzheim");
    CompareRule byRow = Rule();
    byRow.keyColumn = kKeyRowNumber;
    EXPECT_EQ(RowLabel(p.a, 2, byRow), "K2  Bron");
    EXPECT_EQ(RowLabel(TableOf({{"n"}, {""}}), 1, byRow), "1");
}

TEST(TableDiff, RowsMatchedByAHexadecimalKeyAreNamedByTheirTexts) {
    const RecordTable t = TableOf({{"Airport key", "ICAO", "Nom", "Unique identifier"},
                                   {"FR00002", "LFPO", "Paris-Orly", "010000013A028CAE"}});
    CompareRule rule;
    rule.keyColumn = kFirstFieldColumn + 3;
    EXPECT_EQ(RowName(t, 1, rule), "FR00002  Paris-Orly");
    EXPECT_EQ(RowLabel(t, 1, rule), "FR00002  Paris-Orly");
    // Without a name field the next texts stand in.
    const RecordTable runways = TableOf({{"Runway key", "End", "Surface"}, {"R1", "09L", "ASPH"}});
    rule.keyColumn = kFirstFieldColumn;
    EXPECT_EQ(RowLabel(runways, 1, rule), "R1  09L  ASPH");
}

TEST(TableDiff, RepeatedKeysAreToldApartFromRowsOfTheirOwn) {
    const RecordTable a = Table({{"K1", "Orly"}, {"K2", "Bron"}});
    const RecordTable b = Table({{"K1", "Orly"}, {"K1", "Orly bis"}, {"K2", "Bron"}, {"K4", ""}});
    const TableDifference d = CompareTables(a, b, Rule());
    EXPECT_EQ(d.onlyInB, (std::vector<int>{2, 4}));
    EXPECT_EQ(d.repeatedInB, (std::vector<int>{2}));
    EXPECT_TRUE(d.repeatedInA.empty());
}

TEST(TableDiff, TakingEveryDifferenceMakesTheTablesEqualInOneStep) {
    for (const int key : {kFirstFieldColumn, kKeyRowNumber}) {
        SCOPED_TRACE(key);
        Pair p;
        CompareRule rule = Rule();
        rule.keyColumn = key;
        p.b.SetCell(kColExport, 4, "1"); // the row taken keeps its mark
        const Cells before = DataCells(p.a);
        History history;
        history.Reset(p.a);
        const TableDifference d = CompareTables(p.a, p.b, rule);
        const auto list = ListDifferences(d);
        std::vector<MergeTake> all;
        for (std::size_t i = 0; i < list.size(); ++i)
            all.push_back({i, -1});
        {
            HistoryStep step(history, p.a, {});
            EXPECT_GT(TakeOtherSide(p.a, p.b, d, list, all), 0);
        }
        EXPECT_TRUE(CompareTables(p.a, p.b, rule).Equal());
        EXPECT_EQ(p.a.RowCount(), p.b.RowCount());
        EXPECT_EQ(p.a.Cell(kColNumber, 4), "4"); // renumbered
        EXPECT_EQ(p.a.SelectedCount, 1);
        EXPECT_EQ(history.StepCount(), 1u);
        history.Undo(p.a);
        EXPECT_EQ(DataCells(p.a), before);
        EXPECT_EQ(p.a.SelectedCount, 0);
    }
}

TEST(TableDiff, TakingOneFieldLeavesTheOthersAndTheRows) {
    Pair p;
    const TableDifference d = CompareTables(p.a, p.b, Rule());
    const auto list = ListDifferences(d);
    // The elevation of K2 only (entry 1 is its change).
    EXPECT_EQ(TakeOtherSide(p.a, p.b, d, list, {{1, 8}}), 1);
    EXPECT_EQ(p.a.Cell(8, 2), "660");
    EXPECT_EQ(p.a.Cell(7, 2), "2");
    EXPECT_EQ(p.a.RowCount(), 4);
    // A row only there lands where the list places it, marked as changed.
    EXPECT_EQ(TakeOtherSide(p.a, p.b, d, list, {{2, -1}}), 1);
    EXPECT_EQ(p.a.Cell(4, 3), "K5");
    EXPECT_EQ(p.a.Cell(kColModif, 3), "X");
    EXPECT_EQ(p.a.Cell(4, 4), "K3");
}

} // namespace
