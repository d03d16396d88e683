#include "table/TableOperations.h"

#include "support/ScriptedInteraction.h"
#include "support/TableCells.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

using namespace orvane;
using orvane::testing::Column;
using orvane::testing::ScriptedInteraction;
using orvane::testing::Snapshot;
using orvane::testing::TableSnapshot;

namespace {

constexpr int kFields = 2;

// A loaded table: two fields, `rows` data rows, row r holding "v<r>" in its
// first field. Flags per row: Suppr and Export texts.
RecordTable Loaded(const std::vector<std::pair<std::string, std::string>>& flags) {
    RecordTable t;
    t.SetColumnCount(kFirstFieldColumn + kFields);
    t.SetRowCount(static_cast<int>(flags.size()) + 1);
    t.SetCell(4, 0, "Ident");
    t.SetCell(5, 0, "Name");
    for (int r = 1; r <= static_cast<int>(flags.size()); ++r) {
        std::string number = std::to_string(r), value = "v" + number;
        const auto& f = flags[static_cast<std::size_t>(r - 1)];
        t.SetRowCells(r, {number, "", f.first, f.second, value, "name"});
    }
    t.SelectedCount = t.CountSelected();
    t.DeleteCount = t.CountDeleted();
    return t;
}

RecordTable Plain(int rows) {
    return Loaded(std::vector<std::pair<std::string, std::string>>(rows, {"", "0"}));
}

std::vector<std::string> Row(const RecordTable& t, int row) {
    std::vector<std::string> out;
    for (int c = 0; c < t.ColumnCount(); ++c)
        out.emplace_back(t.Cell(c, row));
    return out;
}

using Strings = std::vector<std::string>;

} // namespace

// --- Insert and append -------------------------------------------------------------

TEST(TableOperations, InsertPutsANewRowBelowTheCurrentOneAndMakesItCurrent) {
    RecordTable t = Loaded({{"", "1"}, {"x", "1"}, {"", "0"}});
    t.SetCurrentCell(5, 1);
    RefreshSelectionDisplay(t, Lang::French);
    InsertLineAfter(t, kFields);
    EXPECT_EQ(t.RowCount(), 5);
    EXPECT_EQ(Row(t, 2), (Strings{"2", "X", "0", "1", "0", "0"}));
    EXPECT_EQ(Column(t, 4), (Strings{"v1", "0", "v2", "v3"}));
    EXPECT_EQ(Column(t, 0), (Strings{"1", "2", "3", "4"}));
    EXPECT_EQ(t.CurrentRow(), 2);
    EXPECT_EQ(t.CurrentColumn(), 5);
    // The new row is selected, and counted.
    EXPECT_EQ(t.SelectedCount, 3);
    EXPECT_EQ(t.DeleteCount, 1);
}

TEST(TableOperations, InsertOnTheLastRowAddsAtTheEnd) {
    RecordTable t = Plain(3);
    t.SetCurrentCell(4, 3);
    InsertLineAfter(t, kFields);
    EXPECT_EQ(t.RowCount(), 5);
    EXPECT_EQ(t.CurrentRow(), 4);
    EXPECT_EQ(Row(t, 4), (Strings{"4", "X", "0", "1", "0", "0"}));
    EXPECT_EQ(t.Cell(4, 3), "v3");
}

TEST(TableOperations, NewRowsFillOnlyTheFieldCellsThatExist) {
    RecordTable t = Plain(1);
    t.SetColumnCount(8); // more columns than fields
    AppendLine(t, kFields);
    EXPECT_EQ(Row(t, 2), (Strings{"2", "X", "0", "1", "0", "0", "", ""}));
    RecordTable narrow = Plain(1);
    AppendLine(narrow, 10); // more fields than columns
    EXPECT_EQ(narrow.ColumnCount(), 6);
    EXPECT_EQ(Row(narrow, 2), (Strings{"2", "X", "0", "1", "0", "0"}));
}

TEST(TableOperations, AppendKeepsTheCurrentRow) {
    RecordTable t = Plain(3);
    t.SetCurrentCell(4, 2);
    AppendLine(t, kFields);
    EXPECT_EQ(t.RowCount(), 5);
    EXPECT_EQ(t.CurrentRow(), 2);
    EXPECT_EQ(Row(t, 4), (Strings{"4", "X", "0", "1", "0", "0"}));
    EXPECT_EQ(t.SelectedCount, 1);
}

// --- Confirmations ------------------------------------------------------------------

struct ConfirmedCase {
    const char* name;
    std::function<bool(RecordTable&, UserInteraction&, Lang)> run;
    const char* french;
    const char* english;
};

class TableOperationsConfirmed : public ::testing::TestWithParam<ConfirmedCase> {};

TEST_P(TableOperationsConfirmed, CancelChangesNothing) {
    RecordTable t = Loaded({{"x", "1"}, {"", "0"}, {"", "1"}, {"", "7"}});
    t.SetCurrentCell(4, 2);
    t.SetSelection({0, 1, 5, 4});
    TableSnapshot before = Snapshot(t);
    auto revision = t.Revision();
    ScriptedInteraction ui;
    ui.answers = {false};
    EXPECT_FALSE(GetParam().run(t, ui, Lang::French));
    EXPECT_EQ(ui.questions, (Strings{GetParam().french}));
    EXPECT_TRUE(Snapshot(t) == before);
    EXPECT_EQ(t.Revision(), revision);
}

TEST_P(TableOperationsConfirmed, AsksInTheSessionLanguage) {
    RecordTable t = Loaded({{"x", "1"}, {"", "0"}, {"", "1"}});
    ScriptedInteraction ui;
    EXPECT_TRUE(GetParam().run(t, ui, Lang::English));
    EXPECT_EQ(ui.questions, (Strings{GetParam().english}));
}

INSTANTIATE_TEST_SUITE_P(
    TableOperations, TableOperationsConfirmed,
    ::testing::Values(ConfirmedCase{"DeleteLine", DeleteLine,
                                    "Vous allez supprimer une ligne. Confirmer en cliquant sur OK",
                                    "You are deleting a line. Please confirm if OK"},
                      ConfirmedCase{"EraseAll", EraseAll,
                                    "Vous allez effacer toutes vos donn\xC3\xA9"
                                    "es",
                                    "You are deleting all data"},
                      ConfirmedCase{"DeleteSelection", DeleteSelection,
                                    "Vous allez supprimer 2 lignes", "You are deleting 2 lines"},
                      ConfirmedCase{"SelectAll",
                                    [](RecordTable& t, UserInteraction& ui, Lang l) {
                                        return SelectAll(t, ui, l);
                                    },
                                    "Attention vous allez modifier la s\xC3\xA9lection",
                                    "Caution, you are modifying selection"},
                      ConfirmedCase{"SelectNone",
                                    [](RecordTable& t, UserInteraction& ui, Lang l) {
                                        return SelectNone(t, ui, l);
                                    },
                                    "Attention, vous allez effacer la s\xC3\xA9lection en cours",
                                    "Caution, you are deleting selection"},
                      ConfirmedCase{"SelectPart",
                                    [](RecordTable& t, UserInteraction& ui, Lang l) {
                                        return SelectPart(t, ui, l);
                                    },
                                    "Attention, vous allez modifier la s\xC3\xA9lection en cours",
                                    "Caution, you are changing selection"}),
    [](const auto& info) { return std::string(info.param.name); });

// --- Delete ----------------------------------------------------------------------------

TEST(TableOperations, DeletingTheOnlyDataRowEmptiesIt) {
    RecordTable t = Loaded({{"x", "1"}});
    ScriptedInteraction ui;
    EXPECT_TRUE(DeleteLine(t, ui, Lang::French));
    EXPECT_EQ(t.RowCount(), 2);
    EXPECT_EQ(Row(t, 1), Strings(6, ""));
    EXPECT_EQ(t.Cell(4, 0), "Ident");
    // The counters follow the rows that went.
    EXPECT_EQ(t.SelectedCount, 0);
    EXPECT_EQ(t.DeleteCount, 0);
}

TEST(TableOperations, DeletingRowsRenumbersAndKeepsTheCurrentIndex) {
    RecordTable t = Plain(4);
    t.SetCurrentCell(4, 2);
    ScriptedInteraction ui;
    DeleteLine(t, ui, Lang::French);
    EXPECT_EQ(Column(t, 4), (Strings{"v1", "v3", "v4"}));
    EXPECT_EQ(Column(t, 0), (Strings{"1", "2", "3"}));
    EXPECT_EQ(t.CurrentRow(), 2);
    // The current last row: the new last row becomes current.
    t.SetCurrentCell(4, 3);
    DeleteLine(t, ui, Lang::French);
    EXPECT_EQ(Column(t, 4), (Strings{"v1", "v3"}));
    EXPECT_EQ(t.CurrentRow(), 2);
}

TEST(TableOperations, EraseAllEmptiesEveryCellHeadingsIncluded) {
    RecordTable t = Loaded({{"x", "1"}, {"", "1"}, {"", "0"}});
    t.SetCurrentCell(5, 3);
    ScriptedInteraction ui;
    EXPECT_TRUE(EraseAll(t, ui, Lang::French));
    EXPECT_EQ(t.RowCount(), 2);
    EXPECT_EQ(t.ColumnCount(), 4);
    EXPECT_EQ(Row(t, 0), Strings(4, ""));
    EXPECT_EQ(Row(t, 1), Strings(4, ""));
    EXPECT_EQ(t.CurrentRow(), 1);
    EXPECT_LT(t.CurrentColumn(), 4);
    EXPECT_EQ(t.SelectedCount, 0);
    EXPECT_EQ(t.DeleteCount, 0);
    // Growing back (as a load does) finds the old cells gone.
    t.SetColumnCount(6);
    t.SetRowCount(4);
    EXPECT_EQ(Row(t, 3), Strings(6, ""));
    EXPECT_EQ(t.Cell(4, 0), "");
}

TEST(TableOperations, DeleteSelectionRemovesSelectedRowsOnly) {
    // Marked-but-unselected rows stay; selected rows go whether marked or not.
    RecordTable t = Loaded({{"x", "1"}, {"x", "0"}, {"", "1"}, {"", "0"}, {"", "2"}});
    t.SetCurrentCell(4, 4);
    ScriptedInteraction ui;
    EXPECT_TRUE(DeleteSelection(t, ui, Lang::French));
    EXPECT_EQ(ui.questions, (Strings{"Vous allez supprimer 2 lignes"}));
    EXPECT_EQ(Column(t, 4), (Strings{"v2", "v4", "v5"}));
    EXPECT_EQ(Column(t, 0), (Strings{"1", "2", "3"}));
    EXPECT_EQ(t.CurrentRow(), 3); // row index 4 is gone: the last row
    // The counters speak of the rows that stay: none selected, one marked.
    EXPECT_EQ(t.SelectedCount, 0);
    EXPECT_EQ(t.DeleteCount, 1);
}

TEST(TableOperations, DeleteSelectionWithNothingSelectedStillRenumbers) {
    RecordTable t = Plain(3);
    t.SetCell(0, 2, "99");
    t.SetCurrentCell(4, 2);
    ScriptedInteraction ui;
    DeleteSelection(t, ui, Lang::French);
    EXPECT_EQ(Column(t, 4), (Strings{"v1", "v2", "v3"}));
    EXPECT_EQ(Column(t, 0), (Strings{"1", "2", "3"}));
    EXPECT_EQ(t.CurrentRow(), 2);
}

// Every data row selected: only the heading row is left; the row operations
// then create the first data row or do nothing, without failing.
TEST(TableOperations, TableWithoutDataRows) {
    auto emptied = [] {
        RecordTable t = Loaded({{"", "1"}, {"", "1"}});
        t.SetCurrentCell(5, 2);
        ScriptedInteraction ui;
        DeleteSelection(t, ui, Lang::French);
        return t;
    };
    RecordTable t = emptied();
    ASSERT_EQ(t.RowCount(), 1);
    EXPECT_EQ(t.Cell(4, 0), "Ident");

    ScriptedInteraction ui;
    EXPECT_FALSE(DeleteLine(t, ui, Lang::French));
    EXPECT_TRUE(ui.questions.empty()); // no question for a delete that cannot happen
    ToggleExport(t, 1);
    ToggleSuppr(t, 0);
    EXPECT_TRUE(SelectAll(t, ui, Lang::French));
    EXPECT_EQ(t.SelectedCount, 0);
    EXPECT_EQ(t.RowCount(), 1);

    InsertLineAfter(t, kFields);
    EXPECT_EQ(t.RowCount(), 2);
    EXPECT_EQ(Row(t, 1), (Strings{"1", "X", "0", "1", "0", "0"}));
    EXPECT_EQ(t.CurrentRow(), 1);
    EXPECT_EQ(t.CurrentColumn(), 5);

    RecordTable appended = emptied();
    AppendLine(appended, kFields);
    EXPECT_EQ(appended.RowCount(), 2);
    EXPECT_EQ(Row(appended, 1), (Strings{"1", "X", "0", "1", "0", "0"}));
    EXPECT_EQ(appended.CurrentRow(), 1);
}

// --- Selection commands --------------------------------------------------------------

// The selection commands: the Suppr and Export columns they leave, and the
// selection counter recounted from them (a stale count is not kept).
TEST(TableOperations, SelectionCommandsSetTheExportColumnAndRecount) {
    using Flags = std::vector<std::pair<std::string, std::string>>;
    struct Case {
        const char* name;
        bool (*op)(RecordTable&, UserInteraction&, Lang, const std::vector<int>*);
        Flags flags;
        CellRect selection; // the dragged range, for the part
        Strings suppr, exports;
        int selected, deleted;
    };
    const Case cases[] = {
        {"all leaves the marks",
         SelectAll,
         {{"x", "1"}, {"", "0"}, {"", ""}},
         {},
         {"x", "", ""},
         {"1", "1", "1"},
         3,
         1},
        {"none clears the marks",
         SelectNone,
         {{"x", "1"}, {"", "1"}, {"0", "0"}},
         {},
         {"", "", ""},
         {"0", "0", "0"},
         0,
         0},
        {"part adds the rows of the range",
         SelectPart,
         {{"", "0"}, {"", "0"}, {"", "0"}, {"", "1"}, {"", "0"}},
         {2, 2, 5, 3},
         {"", "", "", "", ""},
         {"0", "1", "1", "1", "0"},
         3,
         0},
        {"part outside the Export column only recounts",
         SelectPart,
         {{"", "0"}, {"", "1"}, {"", "0"}},
         {4, 1, 5, 3},
         {"", "", ""},
         {"0", "1", "0"},
         1,
         0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        RecordTable t = Loaded(c.flags);
        t.SelectedCount = 7;
        t.SetSelection(c.selection);
        ScriptedInteraction ui;
        c.op(t, ui, Lang::French, nullptr);
        EXPECT_EQ(Column(t, 2), c.suppr);
        EXPECT_EQ(Column(t, 3), c.exports);
        EXPECT_EQ(t.SelectedCount, c.selected);
        EXPECT_EQ(t.DeleteCount, c.deleted);
    }
}

// Zero is singular in French, plural in English.
TEST(TableOperations, SelectionLabelsCountInEachLanguage) {
    RecordTable t = Loaded({{"", "0"}, {"", "1"}});
    EXPECT_EQ(RefreshSelectionDisplay(t, Lang::English).selectLabel, "1 selected line");
    t.SetCell(kColExport, 2, "0");
    t.SelectedCount = 0;
    const SelectionDisplay fr = RefreshSelectionDisplay(t, Lang::French);
    EXPECT_EQ(fr.selectLabel, "0 ligne s\xC3\xA9lectionn\xC3\xA9"
                              "e");
    EXPECT_EQ(fr.deleteLabel, "0 ligne \xC3\xA0 supprimer");
    const SelectionDisplay en = RefreshSelectionDisplay(t, Lang::English);
    EXPECT_EQ(en.selectLabel, "0 selected lines");
    EXPECT_EQ(en.deleteLabel, "0 lines to delete");
}

TEST(TableOperations, SelectionCommandsOverTheRowsAFilterShows) {
    RecordTable t = Loaded({{"x", "1"}, {"", "0"}, {"", "1"}, {"", "0"}});
    ScriptedInteraction ui;
    const std::vector<int> shown = {2, 3};
    SelectAll(t, ui, Lang::English, &shown);
    EXPECT_EQ(Column(t, 3), (Strings{"1", "1", "1", "0"}));
    EXPECT_EQ(t.SelectedCount, 3);
    const std::vector<int> first = {1};
    SelectNone(t, ui, Lang::English, &first);
    EXPECT_EQ(Column(t, 2), (Strings{"", "", "", ""}));
    EXPECT_EQ(Column(t, 3), (Strings{"0", "1", "1", "0"}));
    EXPECT_EQ(t.SelectedCount, 2);
    EXPECT_EQ(t.DeleteCount, 0);
    t.SetSelection({kColExport, 1, kColExport, 4}); // a drag over the rows shown and hidden
    SelectPart(t, ui, Lang::English, &first);
    EXPECT_EQ(Column(t, 3), (Strings{"1", "1", "1", "0"}));
}

// --- Toggles ----------------------------------------------------------------------------

struct ToggleCase {
    const char* name;
    bool suppr; // which toggle
    const char* supprBefore;
    const char* exportBefore;
    const char* supprAfter;
    const char* exportAfter;
    int selectedDelta;
    int deletedDelta;
};

class TableOperationsToggle : public ::testing::TestWithParam<ToggleCase> {};

TEST_P(TableOperationsToggle, UpdatesCellsAndCounters) {
    const ToggleCase& c = GetParam();
    RecordTable t = Loaded({{"", "0"}, {c.supprBefore, c.exportBefore}, {"", "0"}});
    t.SelectedCount = 10;
    t.DeleteCount = 20;
    if (c.suppr)
        ToggleSuppr(t, 2);
    else
        ToggleExport(t, 2);
    EXPECT_EQ(t.Cell(2, 2), c.supprAfter);
    EXPECT_EQ(t.Cell(3, 2), c.exportAfter);
    EXPECT_EQ(t.SelectedCount, 10 + c.selectedDelta);
    EXPECT_EQ(t.DeleteCount, 20 + c.deletedDelta);
    EXPECT_EQ(Row(t, 1), (Strings{"1", "", "", "0", "v1", "name"}));
}

INSTANTIATE_TEST_SUITE_P(
    TableOperations, TableOperationsToggle,
    ::testing::Values(ToggleCase{"ExportSelects", false, "", "0", "", "1", +1, 0},
                      ToggleCase{"ExportUnselects", false, "", "1", "", "0", -1, 0},
                      ToggleCase{"ExportOnMarkedRowUnmarks", false, "x", "1", "", "0", -1, -1},
                      ToggleCase{"ExportNeitherZeroNorOne", false, "", "?", "", "0", 0, 0},
                      ToggleCase{"ExportEmpty", false, "", "", "", "0", 0, 0},
                      ToggleCase{"SupprMarksAndSelects", true, "", "0", "x", "1", +1, +1},
                      ToggleCase{"SupprOnSelectedRow", true, "", "1", "x", "1", 0, +1},
                      ToggleCase{"SupprOnInsertedRow", true, "0", "1", "x", "1", 0, +1},
                      ToggleCase{"SupprUnmarksAndUnselects", true, "x", "1", "", "0", -1, -1},
                      ToggleCase{"SupprUnmarksUnselectedRow", true, "x", "0", "", "0", 0, -1}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(TableOperations, SecondSupprPressUndoesTheFirst) {
    RecordTable t = Loaded({{"", "1"}});
    ToggleSuppr(t, 1);
    EXPECT_EQ(t.SelectedCount, 1);
    EXPECT_EQ(t.DeleteCount, 1);
    ToggleSuppr(t, 1);
    EXPECT_EQ(t.Cell(2, 1), "");
    EXPECT_EQ(t.Cell(3, 1), "0");
    EXPECT_EQ(t.SelectedCount, 0);
    EXPECT_EQ(t.DeleteCount, 0);
    EXPECT_TRUE(RefreshSelectionDisplay(t, Lang::French).selectLabel ==
                "0 ligne s\xC3\xA9lectionn\xC3\xA9"
                "e");
}

TEST(TableOperations, TogglesIgnoreRowsOutsideTheData) {
    RecordTable t = Plain(2);
    TableSnapshot before = Snapshot(t);
    for (int row : {-1, 0, 3, 1000}) {
        ToggleExport(t, row);
        ToggleSuppr(t, row);
    }
    EXPECT_TRUE(Snapshot(t) == before);
}
