// Values entered in bulk: the clipboard's tab-separated text, the filter's
// conditions, find and replace, and the paste, fill and replace plans
// applied through the session as one undo step.
#include "database/CellEntry.h"
#include "support/NamedCase.h"
#include "support/TableCells.h"

#include <gtest/gtest.h>

using namespace orvane;
using namespace orvane::testing;

namespace {

// --- Tab-separated text ---------------------------------------------------------------

struct TabCase : NamedCase {
    std::string text;
    TextBlock rows;
};

class TabTextRead : public ::testing::TestWithParam<TabCase> {};

TEST_P(TabTextRead, ReadsAsSpreadsheetsWrite) {
    EXPECT_EQ(ReadTabText(GetParam().text), GetParam().rows);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, TabTextRead,
    ::testing::Values(TabCase{{"Empty"}, "", {}}, TabCase{{"OneCellNoBreak"}, "KLAX", {{"KLAX"}}},
                      TabCase{{"TrailingLineFeed"}, "a\tb\n", {{"a", "b"}}},
                      TabCase{{"CrLf"}, "a\tb\r\nc\td\r\n", {{"a", "b"}, {"c", "d"}}},
                      TabCase{{"LoneCr"}, "a\rb", {{"a"}, {"b"}}},
                      TabCase{{"EmptyCells"}, "\tb\t\n\t\t\n", {{"", "b", ""}, {"", "", ""}}},
                      TabCase{{"EmptyLineInside"}, "a\n\nb\n", {{"a"}, {""}, {"b"}}},
                      TabCase{
                          {"QuotedTabAndBreak"}, "\"x\ty\"\t\"l1\nl2\"\n", {{"x\ty", "l1\nl2"}}},
                      TabCase{{"DoubledQuotes"}, "\"say \"\"hi\"\"\"\tz", {{"say \"hi\"", "z"}}},
                      TabCase{{"QuoteInsideUnquoted"}, "5'10\"\tok", {{"5'10\"", "ok"}}},
                      TabCase{{"NonAscii"}, "Zürich\tŁódź\n", {{"Zürich", "Łódź"}}}),
    CaseName);

TEST(TabText, WriteReadsBackEveryCell) {
    const TextBlock rows = {
        {"plain", "", "tab\there"}, {"line\nbreak", "\"quoted\"", "é"}, {"", "", ""}};
    const std::string text = WriteTabText(rows);
    EXPECT_EQ(text.substr(0, 10), "plain\t\t\"ta");
    EXPECT_EQ(text.back(), '\n');
    EXPECT_EQ(ReadTabText(text), rows);
}

// --- Filter conditions -----------------------------------------------------------------

struct ConditionCase : NamedCase {
    std::string condition, cell;
    bool keeps;
    char separator = '.';
};

class FilterCondition : public ::testing::TestWithParam<ConditionCase> {};

TEST_P(FilterCondition, KeepsWhatItSays) {
    const ConditionCase& c = GetParam();
    EXPECT_EQ(ConditionKeeps(c.condition, c.cell, c.separator), c.keeps);
}

INSTANTIATE_TEST_SUITE_P(
    Conditions, FilterCondition,
    ::testing::Values(ConditionCase{{"ContainsAnyCase"}, "lax", "KLAX", true},
                      ConditionCase{
                          {"ContainsAccentedAnyCase"}, "\xE9", "A\xC9ROPORT", true}, // é in É
                      ConditionCase{{"ContainsNot"}, "lhr", "KLAX", false},
                      ConditionCase{{"EqualText"}, "=KLAX", "KLAX", true},
                      ConditionCase{{"EqualIsNotContains"}, "=KLA", "KLAX", false},
                      ConditionCase{{"EqualNumberByValue"}, "=5", "5.000", true},
                      ConditionCase{{"EqualCommaSession"}, "=2,5", "2,50", true, ','},
                      ConditionCase{{"NotEqual"}, "<>0", "12", true},
                      ConditionCase{{"LessNumber"}, "<100", "99.5", true},
                      ConditionCase{{"LessIsNotText"}, "<100", "abc", false},
                      ConditionCase{{"GreaterNegative"}, ">-10", "-9", true},
                      ConditionCase{{"GreaterEqualBoundary"}, ">=3", "3", true},
                      ConditionCase{{"GreaterPointInCommaSession"}, ">1.5", "2,0", true, ','},
                      ConditionCase{{"HalfTypedKeepsNothing"}, ">", "5", false}),
    CaseName);

// --- Find and replace --------------------------------------------------------------------

struct ReplaceCase : NamedCase {
    ReplaceRule rule;
    std::string cell;
    std::optional<std::string> result;
};

class CellReplace : public ::testing::TestWithParam<ReplaceCase> {};

TEST_P(CellReplace, ReplacesAsTheRuleSays) {
    EXPECT_EQ(CellReplacer(GetParam().rule).Replace(GetParam().cell), GetParam().result);
}

INSTANTIATE_TEST_SUITE_P(
    Rules, CellReplace,
    ::testing::Values(
        ReplaceCase{{"EveryOccurrence"}, {"a", "o"}, "banana", "bonono"},
        ReplaceCase{{"NoMatch"}, {"x", "o"}, "banana", std::nullopt},
        ReplaceCase{{"CaseMatters"}, {"A", "o", false, false, true}, "banana", std::nullopt},
        ReplaceCase{{"CaseFoldsAccents"}, {"\xC9", "E"}, "a\xE9roport", "aEroport"},
        ReplaceCase{{"WholeCellOnly"}, {"118.3", "118.30", false, true}, "118.35", std::nullopt},
        ReplaceCase{{"WholeCellHit"}, {"ksfo", "KSFO", false, true}, "KSFO", "KSFO"},
        ReplaceCase{{"RegexGroups"}, {"(\\d+)\\.(\\d+)", "$2.$1", true}, "118.30", "30.118"},
        ReplaceCase{{"RegexWholeCell"}, {"K(...)", "$1", true, true}, "KLAX", "LAX"},
        ReplaceCase{{"RegexWholeCellMisses"}, {"K(..)", "$1", true, true}, "KLAX", std::nullopt},
        ReplaceCase{{"RegexIgnoringCase"}, {"^k", "C", true}, "klax", "Clax"},
        ReplaceCase{{"RegexEmptyCell"}, {"^$", "0", true, true}, "", "0"}),
    CaseName);

TEST(CellReplace, BadRegexThrows) {
    EXPECT_THROW(CellReplacer({"(", "x", true}), std::regex_error);
}

// --- Plans over a session -------------------------------------------------------------

const std::vector<FieldSpec> kFields = {
    {"icao", 4, 6, 'C', "ICAO"}, {"name", 10, 20, 'C', "Name"}, {"elev", 30, 8, 'D', "Elev"}};

SessionState Session() {
    SessionState s = EnglishSession();
    PlaceTable(s, "AIRPORT", kFields,
               {{"", "0", "KLAX", "Los Angeles", "38.0"},
                {"", "0", "KSFO", "San Francisco", "4.0"},
                {"", "0", "KSEA", "Seattle", "131.0"}});
    s.FinishLoad();
    return s;
}

PasteTarget At(const SessionState& s, int row, int column) {
    PasteTarget t;
    t.viewRows = s.ShownRows();
    t.anchorRow = row - 1;
    t.anchorColumn = column;
    return t;
}

TEST(CellPaste, BlockFillsRightAndDownAsOneStep) {
    SessionState s = Session();
    const CellPlan plan = PlanPaste(s, ReadTabText("EGLL\tHeathrow\nLFPG\tCharles de Gaulle\n"),
                                    At(s, 2, kFirstFieldColumn));
    ASSERT_TRUE(plan.refused.empty());
    EXPECT_EQ(ApplyCellPlan(s, {txt::StepTyping, 0, {}}, plan), 4);
    EXPECT_EQ(Column(s.Table, kFirstFieldColumn),
              (std::vector<std::string>{"KLAX", "EGLL", "LFPG"}));
    EXPECT_EQ(s.Table.Cell(kFirstFieldColumn + 1, 3), "Charles de Gaulle");
    EXPECT_EQ(s.Table.Cell(kFirstFieldColumn + 2, 3), "131.0");
    ASSERT_TRUE(s.UndoStep());
    EXPECT_EQ(Column(s.Table, kFirstFieldColumn),
              (std::vector<std::string>{"KLAX", "KSFO", "KSEA"}));
    EXPECT_FALSE(s.HasUnsavedChanges());
}

TEST(CellPaste, RefusalsAreListedAndNothingIsWritten) {
    SessionState s = Session();
    // Flag columns, a character Windows-1252 lacks, and a cell past the last column.
    const CellPlan plan =
        PlanPaste(s, ReadTabText("x\t0\tok\tŁódź\t1\tpast\n"), At(s, 1, kColSuppr));
    // The Export cell already holds 0: no change, no refusal.
    ASSERT_EQ(plan.refused.size(), 3u);
    EXPECT_EQ(plan.refused[0].reason, EntryRefusal::FlagColumn);
    EXPECT_EQ(plan.refused[1].reason, EntryRefusal::NotWindows1252);
    EXPECT_EQ(plan.refused[1].value, "Łódź");
    EXPECT_EQ(plan.refused[2].reason, EntryRefusal::NoSuchColumn);
    EXPECT_EQ(plan.refused[2].row, 1);
    // A mark pasted as it stands changes nothing and refuses nothing.
    EXPECT_TRUE(PlanPaste(s, ReadTabText("0\n"), At(s, 1, kColExport)).refused.empty());
    // Accented Latin-1 letters are fine.
    const CellPlan accents = PlanPaste(s, ReadTabText("Zürich"), At(s, 1, kFirstFieldColumn + 1));
    ASSERT_TRUE(accents.refused.empty());
    EXPECT_EQ(accents.writes[0].text, "Z\xFCrich");
}

TEST(CellPaste, PastTheLastRowAppendsRows) {
    SessionState s = Session();
    const CellPlan plan = PlanPaste(s, ReadTabText("A\nB\nC\n"), At(s, 3, kFirstFieldColumn));
    EXPECT_EQ(plan.rowsToAppend, 2);
    ApplyCellPlan(s, {txt::StepTyping, 0, {}}, plan);
    EXPECT_EQ(Column(s.Table, kFirstFieldColumn),
              (std::vector<std::string>{"KLAX", "KSFO", "A", "B", "C"}));
    EXPECT_EQ(s.Table.Cell(kColNumber, 5), "5");
    EXPECT_EQ(s.Table.SelectedCount, s.Table.CountSelected());
    ASSERT_TRUE(s.UndoStep());
    EXPECT_EQ(s.Table.RowCount(), 4);
}

TEST(CellPaste, OneValueFillsTheSelectionAndFillDownCopiesTheTop) {
    SessionState s = Session();
    PasteTarget target = At(s, 1, kFirstFieldColumn + 2);
    target.selection = {{0, kFirstFieldColumn + 2}, {2, kFirstFieldColumn + 2}};
    ApplyCellPlan(s, {txt::StepTyping, 0, {}}, PlanPaste(s, ReadTabText("0\n"), target));
    EXPECT_EQ(Column(s.Table, kFirstFieldColumn + 2), (std::vector<std::string>{"0", "4.0", "0"}));

    const CellPlan fill = PlanFillDown(
        s, {{1, kFirstFieldColumn + 1}, {2, kFirstFieldColumn + 1}, {3, kFirstFieldColumn + 1}});
    EXPECT_EQ(ApplyCellPlan(s, {txt::StepTyping, 0, {}}, fill), 2);
    EXPECT_EQ(Column(s.Table, kFirstFieldColumn + 1),
              (std::vector<std::string>{"Los Angeles", "Los Angeles", "Los Angeles"}));
}

TEST(CellPaste, GoesIntoTheRowsTheFilterShows) {
    SessionState s = Session();
    RowFilter filter;
    filter.Set(kFirstFieldColumn, "=KLAX");
    filter.Set(kFirstFieldColumn, "ks"); // KSFO and KSEA
    s.SetFilter(filter);
    ASSERT_EQ(s.ShownRows(), (std::vector<int>{2, 3}));
    ApplyCellPlan(s, {txt::StepTyping, 0, {}},
                  PlanPaste(s, ReadTabText("1\n2\n3\n"), At(s, 1, kFirstFieldColumn + 2)));
    EXPECT_EQ(Column(s.Table, kFirstFieldColumn + 2),
              (std::vector<std::string>{"38.0", "1", "2", "3"}));
    // The appended row does not meet the filter, yet stays shown.
    EXPECT_EQ(s.ShownRows(), (std::vector<int>{2, 3, 4}));
    s.SetFilter(filter);
    EXPECT_EQ(s.ShownRows(), (std::vector<int>{2, 3}));
}

TEST(CellReplace, OverColumnsSelectionAndOneStep) {
    SessionState s = Session();
    const CellReplacer rule({"^K", "C", true});
    const CellPlan all = PlanReplace(s, rule, {}, {kFirstFieldColumn, kFirstFieldColumn + 1});
    EXPECT_EQ(all.cellsFound, 3);
    EXPECT_EQ(ApplyCellPlan(s, {txt::StepTyping, 0, {}}, all), 3);
    EXPECT_EQ(Column(s.Table, kFirstFieldColumn),
              (std::vector<std::string>{"CLAX", "CSFO", "CSEA"}));
    // The selection only: one cell.
    const CellReplacer back({"C", "K", false, false, true});
    EXPECT_EQ(ApplyCellPlan(s, {txt::StepTyping, 0, {}},
                            PlanReplace(s, back, {{2, kFirstFieldColumn}}, {})),
              1);
    EXPECT_EQ(Column(s.Table, kFirstFieldColumn),
              (std::vector<std::string>{"CLAX", "KSFO", "CSEA"}));
    // Into a flag column: refused, listed.
    const CellPlan flags = PlanReplace(s, CellReplacer({"0", "1"}), {}, {kColExport});
    EXPECT_EQ(flags.refused.size(), 3u);
    ASSERT_TRUE(s.UndoStep());
    ASSERT_TRUE(s.UndoStep());
    EXPECT_FALSE(s.HasUnsavedChanges());
}

} // namespace
