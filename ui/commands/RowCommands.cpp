#include "ui/commands/RowCommands.h"

#include "ui/commands/UndoCommands.h"
#include "ui/grid/RecordGridModel.h"

#include <optional>

namespace orvane {

CommandTable RowCommands::Commands() {
    return {
        {"btnEffacerTout",
         txt::BtnEffacerTout,
         Place::EditBox,
         {},
         When::RowsMayMove,
         [this] { EraseAllRows(); }},
        {"btnInserLigne",
         txt::BtnInserLigne,
         Place::EditBox,
         {},
         When::RowsMayMove,
         [this] { InsertRowAfterCurrent(); }},
        {"bntAjoutFin",
         txt::BtnAjoutFin,
         Place::EditBox,
         {},
         When::RowsMayMove,
         [this] { AppendRow(); }},
        {"btnSuppSelect",
         txt::BtnSuppSelect,
         Place::EditBox,
         {},
         When::RowsMayMove,
         [this] { DeleteSelectedRows(); }},
        {"btnSuppLigne",
         txt::BtnSuppLigne,
         Place::EditBox,
         {},
         When::RowsMayMove,
         [this] { DeleteCurrentRow(); }},
        {"btnSelectionAll",
         txt::BtnSelectionAll,
         Place::ExportBox,
         {},
         When::Always,
         [this] { SelectAllRows(); }},
        {"btnSelectionNone",
         txt::BtnSelectionNone,
         Place::ExportBox,
         {},
         When::Always,
         [this] { UnselectAllRows(); }},
        {"btnSelectPart",
         txt::BtnSelectPart,
         Place::ExportBox,
         {},
         When::Always,
         [this] { SelectPartOfRows(); }},
    };
}

namespace {

// The core operations ask and act in one call. The grid is told a reset
// begins only once the user has said OK, so it stays steady while the
// question is open and is untouched after Cancel.
class ResetOnConfirm : public UserInteraction {
  public:
    ResetOnConfirm(UserInteraction& real, RecordGridModel& model) : real_(real), model_(model) {}
    void ShowMessage(MessageKind kind, const std::string& text, const std::string& title) override {
        real_.ShowMessage(kind, text, title);
    }
    bool Confirm(const std::string& text) override {
        if (!real_.Confirm(text)) return false;
        reset_.emplace(model_);
        return true;
    }
    void Beep() override { real_.Beep(); }

  private:
    UserInteraction& real_;
    RecordGridModel& model_;
    std::optional<RecordGridModel::Reset> reset_;
};

} // namespace

template <typename Op> bool RowCommands::Confirmed(Op op) {
    ResetOnConfirm ui(c_.ui, c_.model);
    return op(ui);
}

void RowCommands::EraseAllRows() {
    const TableEffect done = c_.session.ChangeTable(Step(txt::StepEraseAll), [&](RecordTable& t) {
        return Confirmed([&](UserInteraction& ui) { return EraseAll(t, ui, c_.lang()); });
    });
    if (done.Changed()) c_.view.ShowRows(true);
}

void RowCommands::InsertRowAfterCurrent() {
    const int after = std::max(c_.session.Table.CurrentRow(), 0) + 1;
    {
        RecordGridModel::Reset reset(c_.model);
        c_.session.ChangeTable(Step(txt::StepInsertLine, after), [&](RecordTable& t) {
            InsertLineAfter(t, c_.session.FieldCount);
            return true;
        });
    }
    c_.view.ShowRows(false); // the counters follow through the change event
}

void RowCommands::AppendRow() {
    {
        RecordGridModel::Reset reset(c_.model);
        c_.session.ChangeTable(Step(txt::StepAppendLine), [&](RecordTable& t) {
            AppendLine(t, c_.session.FieldCount);
            return true;
        });
    }
    c_.view.ShowRows(false); // the counters follow through the change event
    // The new row is the last one: the grid shows it, the current row stays.
    c_.view.ScrollToRow(c_.session.Table.RowCount() - 1);
}

void RowCommands::DeleteSelectedRows() {
    const TableEffect done = c_.session.ChangeTable(
        Step(txt::StepDeleteLines, c_.session.Table.SelectedCount), [&](RecordTable& t) {
            return Confirmed(
                [&](UserInteraction& ui) { return DeleteSelection(t, ui, c_.lang()); });
        });
    if (done.Changed()) c_.view.ShowRows(false);
}

void RowCommands::DeleteCurrentRow() {
    const TableEffect done = c_.session.ChangeTable(
        Step(txt::StepDeleteLine, c_.session.Table.CurrentRow()), [&](RecordTable& t) {
            return Confirmed([&](UserInteraction& ui) { return DeleteLine(t, ui, c_.lang()); });
        });
    if (done.Changed()) c_.view.ShowRows(false);
}

// The grid and the labels follow through the session's change event.
// With a filter on, they act on the rows it shows.
void RowCommands::SelectionChanged(bool (*op)(RecordTable&, UserInteraction&, Lang,
                                              const std::vector<int>*),
                                   BiText stepName) {
    const std::vector<int>* shown = c_.session.Filtering() ? &c_.session.KeptRows() : nullptr;
    c_.session.ChangeTable(Step(stepName),
                           [&](RecordTable& t) { return op(t, c_.ui, c_.lang(), shown); });
}

void RowCommands::SelectAllRows() {
    SelectionChanged(&SelectAll, txt::StepSelectAll);
}

void RowCommands::UnselectAllRows() {
    SelectionChanged(&SelectNone, txt::StepSelectNone);
}

void RowCommands::SelectPartOfRows() {
    SelectionChanged(&SelectPart, txt::StepSelectPart);
}

void RowCommands::DataGridMouseDown() {
    RecordTable& t = c_.session.Table;
    const int col = t.CurrentColumn();
    const int row = t.CurrentRow();
    if (row < 1 || row >= t.RowCount() || (col != kColExport && col != kColSuppr)) return;
    c_.session.ChangeTable(Step(txt::StepToggleFlag, row), [&](RecordTable& table) {
        col == kColExport ? ToggleExport(table, row) : ToggleSuppr(table, row);
        return true;
    });
}

void RowCommands::EmptyCells(const QModelIndexList& cells) {
    int fields = 0;
    for (const QModelIndex& index : cells)
        fields += index.column() >= kFirstFieldColumn && c_.session.MayChangeColumn(index.column());
    // One step for them all; in direct-write mode the cells the write
    // leaves alone stay as they are, as they do for typing.
    c_.session.ChangeTable(Step(fields == 1 ? txt::StepEmptyCell : txt::StepEmptyCells, fields),
                           [&](RecordTable& t) {
                               for (const QModelIndex& index : cells)
                                   if (index.column() >= kFirstFieldColumn &&
                                       c_.session.MayChangeColumn(index.column()))
                                       t.SetCell(index.column(), c_.model.TableRow(index), {});
                               return true;
                           });
}

} // namespace orvane
