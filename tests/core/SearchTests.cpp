// The exact and partial search of the main window: matching, first/next,
// the shared last hit, button states and the no-hit messages.
#include "support/ScriptedInteraction.h"
#include "table/Search.h"

#include <gtest/gtest.h>

using namespace orvane;
using namespace orvane::testing;

namespace {

constexpr int kCol = kFirstFieldColumn;

class Search : public ::testing::Test {
  protected:
    void SetUp() override {
        t.SetColumnCount(kCol + 2);
        t.SetRowCount(21); // rows 1-20
        t.Renumber();
        for (int r = 1; r <= 20; ++r)
            t.SetCell(kCol, r, "Z");
        t.SetCell(kCol, 2, "ABCD");
        t.SetCell(kCol, 5, "ABC");
        t.SetCell(kCol, 7, "ABC");
        t.SetCell(kCol, 10, "ABC");
        t.SetCell(kCol, 14, "xABCx");
        state.SearchColumn = kCol;
    }

    int Press(SearchMode mode, const std::string& text) {
        SearchResult r = state.Press(mode, t, text, ui);
        return r.found ? r.hit.row : 0;
    }

    RecordTable t;
    SearchState state;
    ScriptedInteraction ui;
};

// Before a field is chosen every column is searched, the row number first;
// the hit says which column matched.
TEST_F(Search, EveryColumnIsSearchedBeforeAnyClick) {
    SearchState fresh;
    EXPECT_EQ(fresh.SearchColumn, kAllColumns);
    SearchResult r = fresh.Press(SearchMode::Exact, t, "12", ui);
    ASSERT_TRUE(r.found);
    EXPECT_EQ(r.hit.row, 12);
    EXPECT_EQ(r.hit.column, kColNumber);
    r = fresh.Press(SearchMode::Partial, t, "xAB", ui);
    ASSERT_TRUE(r.found);
    EXPECT_EQ(r.hit.row, 14);
    EXPECT_EQ(r.hit.column, kCol);
    t.SetCell(kColExport, 3, "ABC"); // the marks are not searched
    fresh.TextChanged();
    EXPECT_EQ(fresh.Press(SearchMode::Exact, t, "ABC", ui).hit.row, 5);
}

// Exact passes over longer cells, partial finds the text inside them; each
// press goes on below the last hit, which both buttons share, and past it
// says so and turns only the pressed button back to find.
TEST_F(Search, PressesGoOnBelowTheSharedLastHitUntilTheEnd) {
    using enum SearchMode;
    struct Step {
        SearchMode mode;
        const char* text;
        int row; // 0: not found
        const char* exact;
        const char* partial;
        const char* message; // shown by this step, or nullptr
    };
    const Step steps[] = {
        {Exact, "ABC", 5, "Next =", "Find *", nullptr},
        {Exact, "ABC", 7, "Next =", "Find *", nullptr},
        {Exact, "ABC", 10, "Next =", "Find *", nullptr},
        {Exact, "ABC", 0, "Find =", "Find *", "Value not in file"},
        {Exact, "ABC", 5, "Next =", "Find *", nullptr}, // from the top again
        // A find-state press starts from the top, whatever the last hit.
        {Partial, "ABC", 2, "Next =", "Next *", nullptr},
        {Partial, "ABC", 5, "Next =", "Next *", nullptr},
        {Partial, "BC", 7, "Next =", "Next *", nullptr},
        {Exact, "ABC", 10, "Next =", "Next *", nullptr},
        {Partial, "BC", 14, "Next =", "Next *", nullptr}, // from row 11, not its own last hit
        {Partial, "BC", 0, "Next =", "Find *", "Value not in file. Search ended"},
    };
    int lastHit = 0;
    for (const Step& step : steps) {
        SCOPED_TRACE(std::string(step.text) + " " + std::to_string(int(step.mode)));
        const std::size_t shown = ui.messages.size();
        EXPECT_EQ(Press(step.mode, step.text), step.row);
        EXPECT_EQ(state.Caption(Exact, Lang::English), step.exact);
        EXPECT_EQ(state.Caption(Partial, Lang::English), step.partial);
        ASSERT_EQ(ui.messages.size(), shown + (step.message ? 1 : 0));
        if (step.message) {
            EXPECT_EQ(ui.messages.back().text, step.message);
        }
        lastHit = step.row ? step.row : lastHit;
        EXPECT_EQ(state.LastFoundRow, lastHit); // only a hit changes it
    }
    EXPECT_EQ(ui.messages[0].kind, MessageKind::Information);
    EXPECT_EQ(ui.messages[0].title, "Search ended");
    EXPECT_EQ(ui.messages[1].kind, MessageKind::Warning);
}

TEST_F(Search, CaseCountsAndEmptyTextMatchesNothing) {
    for (auto mode : {SearchMode::Exact, SearchMode::Partial}) {
        EXPECT_EQ(Press(mode, "Abc"), 0);
        EXPECT_EQ(Press(mode, ""), 0);
        EXPECT_FALSE(state.InNextState(mode));
    }
    EXPECT_EQ(ui.messages.size(), 4u);
    // An empty cell is not found by an empty text either.
    t.SetCell(kCol + 1, 3, "");
    state.SearchColumn = kCol + 1;
    EXPECT_EQ(Press(SearchMode::Exact, ""), 0);
}

TEST_F(Search, HitSelectsTheWholeRowAndNamesItInTheCaptions) {
    t.SetCurrentCell(kCol, 1);
    SearchResult r = state.Press(SearchMode::Exact, t, "ABC", ui);
    ASSERT_TRUE(r.found);
    const int last = t.ColumnCount() - 1;
    EXPECT_EQ(r.hit.row, 5);
    EXPECT_EQ(r.hit.currentColumn, last);
    EXPECT_EQ(t.CurrentRow(), 5);
    EXPECT_EQ(t.CurrentColumn(), last);
    const CellRect& sel = t.Selection();
    EXPECT_EQ(sel.left, 0);
    EXPECT_EQ(sel.right, last);
    EXPECT_EQ(sel.top, 5);
    EXPECT_EQ(sel.bottom, 5);
    EXPECT_EQ(state.LastFoundRow, 5);

    r = state.Press(SearchMode::Exact, t, "ABC", ui);
    EXPECT_EQ(r.hit.row, 7);
    EXPECT_EQ(state.Caption(SearchMode::Exact, Lang::French), "Suivant =");
}

TEST_F(Search, TypingResetsBothButtonsAClickOnlyTheExactOne) {
    Press(SearchMode::Exact, "ABC");
    Press(SearchMode::Partial, "ABC");
    state.FieldCellClicked(kCol + 1);
    EXPECT_EQ(state.SearchColumn, kCol + 1);
    EXPECT_EQ(state.Caption(SearchMode::Exact, Lang::French), "Cherche =");
    EXPECT_EQ(state.Caption(SearchMode::Partial, Lang::French), "Suivant *");
    state.TextChanged();
    EXPECT_EQ(state.Caption(SearchMode::Partial, Lang::French), "Cherche *");
    // A find-state press starts from the top again, whatever LastFoundRow says.
    state.SearchColumn = kCol;
    EXPECT_EQ(Press(SearchMode::Partial, "ABC"), 2);
}

// The lookup's text is a key: its column is searched whatever was clicked;
// a table without a key column keeps the column chosen.
TEST_F(Search, LookupSearchesTheKeyColumn) {
    t.SetCell(kCol + 1, 9, "FR00009");
    Press(SearchMode::Exact, "ABC");
    state.LookupFilled(kCol + 1);
    EXPECT_EQ(state.SearchColumn, kCol + 1);
    EXPECT_EQ(Press(SearchMode::Exact, "FR00009"), 9);
    state.LookupFilled(0);
    EXPECT_EQ(state.SearchColumn, kCol + 1);
    EXPECT_EQ(state.Caption(SearchMode::Exact, Lang::English), "Find =");
}

TEST_F(Search, ColumnThatNoLongerExistsFindsNothing) {
    state.SearchColumn = kCol + 1;
    t.SetCell(kCol + 1, 4, "gone");
    t.SetColumnCount(kCol + 1);
    EXPECT_EQ(Press(SearchMode::Exact, "gone"), 0);
    EXPECT_EQ(Press(SearchMode::Partial, "g"), 0);
    state.SearchColumn = -1;
    EXPECT_EQ(Press(SearchMode::Exact, "gone"), 0);
    EXPECT_EQ(ui.messages.size(), 3u);
}

TEST_F(Search, NextStateStartingPastTheEndReportsTheEndAtOnce) {
    EXPECT_EQ(Press(SearchMode::Exact, "ABC"), 5);
    t.SetRowCount(4); // the rows below were removed
    EXPECT_EQ(Press(SearchMode::Exact, "ABC"), 0);
    EXPECT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(state.Caption(SearchMode::Exact, Lang::English), "Find =");
}

} // namespace
