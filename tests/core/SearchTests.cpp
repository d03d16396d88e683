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
        SearchResult r = state.Press(mode, t, text, ui, Lang::English);
        return r.found ? r.hit.row : 0;
    }

    RecordTable t;
    SearchState state;
    ScriptedInteraction ui;
};

TEST_F(Search, NumberColumnIsSearchedBeforeAnyClick) {
    SearchState fresh;
    EXPECT_EQ(fresh.SearchColumn, 0);
    SearchResult r = fresh.Press(SearchMode::Exact, t, "12", ui, Lang::English);
    ASSERT_TRUE(r.found);
    EXPECT_EQ(r.hit.row, 12);
}

TEST_F(Search, ExactPassesOverLongerCellsAndGoesOnBelowTheLastHit) {
    EXPECT_EQ(Press(SearchMode::Exact, "ABC"), 5);
    EXPECT_EQ(state.Caption(SearchMode::Exact, Lang::English), "Next =");
    EXPECT_EQ(Press(SearchMode::Exact, "ABC"), 7);
    EXPECT_EQ(Press(SearchMode::Exact, "ABC"), 10);
    EXPECT_TRUE(ui.messages.empty());

    // Past the last hit: the message, and the button is back to find.
    EXPECT_EQ(Press(SearchMode::Exact, "ABC"), 0);
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].kind, MessageKind::Information);
    EXPECT_EQ(ui.messages[0].text, "Value not in file");
    EXPECT_EQ(ui.messages[0].title, "Search ended");
    EXPECT_EQ(state.Caption(SearchMode::Exact, Lang::English), "Find =");
    EXPECT_EQ(state.LastFoundRow, 10); // only a hit changes it

    // From the top again.
    EXPECT_EQ(Press(SearchMode::Exact, "ABC"), 5);
}

TEST_F(Search, PartialFindsTheTextInsideCells) {
    EXPECT_EQ(Press(SearchMode::Partial, "ABC"), 2);
    EXPECT_EQ(state.Caption(SearchMode::Partial, Lang::English), "Next *");
    EXPECT_EQ(state.Caption(SearchMode::Exact, Lang::English), "Find =");
    EXPECT_EQ(Press(SearchMode::Partial, "ABC"), 5);
    EXPECT_EQ(Press(SearchMode::Partial, "BC"), 7);
    EXPECT_EQ(Press(SearchMode::Partial, "BC"), 10);
    EXPECT_EQ(Press(SearchMode::Partial, "BC"), 14);

    EXPECT_EQ(Press(SearchMode::Partial, "BC"), 0);
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].kind, MessageKind::Warning);
    EXPECT_EQ(ui.messages[0].text, "Value not in file. Search ended");
    EXPECT_EQ(state.Caption(SearchMode::Partial, Lang::English), "Find *");
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

TEST_F(Search, BothButtonsShareTheLastHit) {
    EXPECT_EQ(Press(SearchMode::Partial, "ABC"), 2);
    EXPECT_EQ(Press(SearchMode::Exact, "ABC"), 5);
    EXPECT_EQ(Press(SearchMode::Exact, "ABC"), 7);
    EXPECT_EQ(Press(SearchMode::Exact, "ABC"), 10);
    // "Next *" goes on from row 11, not from its own last hit.
    EXPECT_EQ(Press(SearchMode::Partial, "ABC"), 14);
    // The last hit again: only the pressed button returns to find.
    EXPECT_EQ(Press(SearchMode::Partial, "ABC"), 0);
    EXPECT_EQ(state.Caption(SearchMode::Partial, Lang::English), "Find *");
    EXPECT_EQ(state.Caption(SearchMode::Exact, Lang::English), "Next =");
}

TEST_F(Search, HitSelectsTheWholeRowAndNamesItInTheCaptions) {
    t.SetCurrentCell(kCol, 1);
    SearchResult r = state.Press(SearchMode::Exact, t, "ABC", ui, Lang::English);
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
    EXPECT_EQ(r.hit.deleteCaption, "Erase line n°5");
    EXPECT_EQ(r.hit.insertCaption, "Insert line n°5");
    EXPECT_EQ(r.hit.writeCaption, "Save line n°5 in POD");

    r = state.Press(SearchMode::Exact, t, "ABC", ui, Lang::French);
    EXPECT_EQ(r.hit.deleteCaption, "Supprimer ligne n°7");
    EXPECT_EQ(r.hit.insertCaption, "Insérer ligne n°7");
    EXPECT_EQ(r.hit.writeCaption, "Enregistrer la ligne n°7 dans le POD");
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
