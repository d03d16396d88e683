#include "table/History.h"

#include "support/ScriptedInteraction.h"
#include "support/TableCells.h"
#include "table/TableOperations.h"

#include <gtest/gtest.h>

#include <functional>
#include <random>
#include <string>
#include <vector>

using namespace orvane;
using orvane::testing::ScriptedInteraction;
using orvane::testing::Snapshot;
using orvane::testing::TableSnapshot;

namespace {

// A loaded table of `rows` rows over three fields, built as the loaders do
// (rows packed in the table's arena); every third row selected, every fifth
// marked for deletion.
RecordTable Loaded(int rows) {
    RecordTable t;
    t.SetColumnCount(kFirstFieldColumn + 3);
    t.SetRowCount(rows + 1);
    t.SetCell(4, 0, "Ident");
    t.SetCell(5, 0, "Name");
    t.SetCell(6, 0, "Elev");
    for (int r = 1; r <= rows; ++r) {
        const std::string cells[] = {std::to_string(r),
                                     "0",
                                     r % 5 == 0 ? "x" : "",
                                     r % 3 == 0 ? "1" : "0",
                                     "K" + std::to_string(1000 + r * 7 % 13),
                                     "Field " + std::to_string(r),
                                     std::to_string(r * 37 % 11)};
        std::string texts;
        std::vector<std::uint32_t> ends;
        for (const auto& c : cells)
            texts += c, ends.push_back(static_cast<std::uint32_t>(texts.size()));
        t.SetRowPacked(r, texts, ends.data(), ends.size());
    }
    t.SelectedCount = t.CountSelected();
    t.DeleteCount = t.CountDeleted();
    t.SetCurrentCell(5, 2);
    return t;
}

struct Kind {
    const char* name;
    std::function<void(RecordTable&, UserInteraction&)> op;
};

const std::vector<Kind>& Kinds() {
    static const std::vector<Kind> kinds = {
        {"typed cell",
         [](RecordTable& t, UserInteraction&) { t.SetCell(5, 3, "Longer name typed here"); }},
        {"cell emptied", [](RecordTable& t, UserInteraction&) { t.SetCell(4, 2, ""); }},
        {"export toggled", [](RecordTable& t, UserInteraction&) { ToggleExport(t, 4); }},
        {"suppr toggled", [](RecordTable& t, UserInteraction&) { ToggleSuppr(t, 3); }},
        {"insert line", [](RecordTable& t, UserInteraction&) { InsertLineAfter(t, 3); }},
        {"append line", [](RecordTable& t, UserInteraction&) { AppendLine(t, 3); }},
        {"delete line",
         [](RecordTable& t, UserInteraction& ui) { DeleteLine(t, ui, Lang::English); }},
        {"delete selection",
         [](RecordTable& t, UserInteraction& ui) { DeleteSelection(t, ui, Lang::English); }},
        {"erase all", [](RecordTable& t, UserInteraction& ui) { EraseAll(t, ui, Lang::English); }},
        {"select all",
         [](RecordTable& t, UserInteraction& ui) { SelectAll(t, ui, Lang::English); }},
        {"select none",
         [](RecordTable& t, UserInteraction& ui) { SelectNone(t, ui, Lang::English); }},
        {"select part",
         [](RecordTable& t, UserInteraction& ui) {
             t.SetSelection({0, 2, 6, 7});
             SelectPart(t, ui, Lang::English);
         }},
        {"sort descending",
         [](RecordTable& t, UserInteraction&) { t.SortByColumn(6, false, '.'); }},
        {"record carried back",
         [](RecordTable& t, UserInteraction&) {
             t.SetRowCells(2, {"2", "X", "", "1", "KNEW", "New field", "1234"});
             t.SelectedCount = t.CountSelected();
         }},
        {"rows added",
         [](RecordTable& t, UserInteraction&) {
             const int first = t.RowCount();
             t.SetRowCount(first + 2);
             const std::string texts = "0"
                                       "1"
                                       "KADD"
                                       "Added";
             const std::uint32_t ends[] = {0, 1, 2, 6, 11};
             t.SetRowPacked(first, texts, ends, 5);
             t.SetRowPacked(first + 1, texts, ends, 5);
             t.Renumber();
             t.SelectedCount = t.CountSelected();
         }},
        {"columns narrowed", [](RecordTable& t, UserInteraction&) { t.SetColumnCount(5); }},
        {"data cleared", [](RecordTable& t, UserInteraction&) { t.ClearDataCells(); }},
    };
    return kinds;
}

TEST(History, EveryKindOfStepUndoesAndRedoesExactly) {
    for (const Kind& kind : Kinds()) {
        SCOPED_TRACE(kind.name);
        RecordTable t = Loaded(12);
        ScriptedInteraction ui;
        History h;
        h.Reset(t);
        const TableSnapshot before = Snapshot(t);
        {
            HistoryStep step(h, t, {txt::StepTyping});
            kind.op(t, ui);
        }
        const TableSnapshot after = Snapshot(t);
        ASSERT_NE(after, before);
        ASSERT_TRUE(h.CanUndo(t));
        EXPECT_FALSE(h.IsClean(t));
        ASSERT_TRUE(h.Undo(t));
        EXPECT_EQ(Snapshot(t), before);
        EXPECT_TRUE(h.IsClean(t)); // back at the loaded state: no unsaved mark
        ASSERT_TRUE(h.Redo(t));
        EXPECT_EQ(Snapshot(t), after);
        ASSERT_TRUE(h.Undo(t));
        EXPECT_EQ(Snapshot(t), before);
        EXPECT_FALSE(h.CanUndo(t));
    }
}

TEST(History, RandomSequenceUndoneToTheStartGivesTheOriginalBack) {
    std::mt19937 random(20261207);
    RecordTable t = Loaded(40);
    ScriptedInteraction ui;
    History h(5000);
    h.Reset(t);
    const TableSnapshot original = Snapshot(t);
    const auto pick = [&](int n) { return static_cast<int>(random() % static_cast<unsigned>(n)); };
    for (int i = 0; i < 1000; ++i) {
        if (pick(10) == 0) { // now and then an undo, which drops what could be redone
            h.Undo(t);
            continue;
        }
        int kind = pick(static_cast<int>(Kinds().size()));
        if (Kinds()[kind].name == std::string("erase all") && pick(4)) kind = 0; // seldom
        HistoryStep step(h, t, {txt::StepTyping});
        t.SetCurrentCell(pick(t.ColumnCount()), 1 + pick(std::max(1, t.RowCount() - 1)));
        if (t.RowCount() < 6) {
            AppendLine(t, 3);
            t.SetCell(4 + pick(3), t.RowCount() - 1, "R" + std::to_string(i));
        } else {
            Kinds()[kind].op(t, ui);
            if (pick(2)) t.SetCell(pick(t.ColumnCount()), pick(t.RowCount()), std::to_string(i));
        }
    }
    const TableSnapshot last = Snapshot(t);
    int undone = 0;
    while (h.Undo(t))
        ++undone;
    EXPECT_GT(undone, 100) << h.StepCount();
    EXPECT_EQ(Snapshot(t), original);
    EXPECT_TRUE(h.IsClean(t));
    while (h.Redo(t)) {
    }
    EXPECT_EQ(Snapshot(t), last);
}

TEST(History, CleanPointAndChangesBesideTheHistory) {
    RecordTable t = Loaded(5);
    History h;
    h.Reset(t);
    {
        HistoryStep s(h, t, {txt::StepTyping});
        t.SetCell(5, 1, "a");
    }
    {
        HistoryStep s(h, t, {txt::StepTyping});
        t.SetCell(5, 1, "b");
    }
    h.MarkClean(t); // saved with "b"
    EXPECT_TRUE(h.IsClean(t));
    h.Undo(t);
    EXPECT_FALSE(h.IsClean(t));
    h.Redo(t);
    EXPECT_TRUE(h.IsClean(t));
    h.Undo(t);
    {
        HistoryStep s(h, t, {txt::StepTyping});
        t.SetCell(5, 1, "c");
    } // the saved state is gone
    EXPECT_FALSE(h.CanRedo(t));
    h.Undo(t);
    EXPECT_FALSE(h.IsClean(t));
    EXPECT_EQ(t.Cell(5, 1), "a");

    // An empty step is no step.
    {
        HistoryStep s(h, t, {txt::StepTyping});
        t.SetCell(5, 1, "a");
    }
    EXPECT_STREQ(h.RedoName()->text.en, txt::StepTyping.en);

    // A change made beside the history: undo would take back the wrong
    // rows, so there is none.
    t.RemoveRow(1);
    EXPECT_FALSE(h.CanUndo(t));
    EXPECT_FALSE(h.Undo(t));
    EXPECT_FALSE(h.IsClean(t));
    {
        HistoryStep s(h, t, {txt::StepTyping});
        t.SetCell(5, 1, "d");
    }
    EXPECT_EQ(h.StepCount(), 1u);
}

TEST(History, ErasedRowsOutliveAFollowingLoadOfTheirArena) {
    RecordTable t = Loaded(30);
    ScriptedInteraction ui;
    History h;
    h.Reset(t);
    {
        HistoryStep s(h, t, {txt::StepEraseAll});
        EraseAll(t, ui, Lang::English);
    }
    t.Replace(Loaded(3)); // the erased rows' arena leaves the table
    EXPECT_FALSE(h.CanUndo(t));
    h.Reset(t); // sanitizer runs catch a row freed with its arena
    EXPECT_EQ(t.RowCount(), 4);
}

TEST(History, CaptionsNameTheStepInBothLanguages) {
    const auto deleted = [](int n) {
        return StepName{txt::StepDeleteLines.many, n, {}, &txt::StepDeleteLines};
    };
    EXPECT_EQ(Format(txt::UndoCaption.In(Lang::English), deleted(12).In(Lang::English).c_str()),
              "Undo: delete 12 lines");
    EXPECT_EQ(Format(txt::UndoCaption.In(Lang::French), deleted(12).In(Lang::French).c_str()),
              "Annuler : suppression de 12 lignes");
    EXPECT_EQ(deleted(1).In(Lang::English), "delete 1 line");
    EXPECT_EQ(deleted(1).In(Lang::French), "suppression de 1 ligne");
    const StepName sorted{txt::StepSort, 0, "Ident"};
    EXPECT_EQ(sorted.In(Lang::English), "sort by Ident");
}

} // namespace
