#include "ui/commands/EditionCommands.h"

#include "ui/commands/UndoCommands.h"
#include "ui/grid/RecordGridModel.h"

#include <optional>

namespace orvane {

CommandTable EditionCommands::Commands() {
    return {
        {"btnEffacerTout",
         txt::BtnEffacerTout,
         "gbEdition",
         {},
         When::Always,
         [this] { btnEffacerToutClick(); }},
        {"btnInserLigne",
         txt::BtnInserLigne,
         "gbEdition",
         {},
         When::Always,
         [this] { btnInserLigneClick(); }},
        {"bntAjoutFin",
         txt::BtnAjoutFin,
         "gbEdition",
         {},
         When::Always,
         [this] { bntAjoutFinClick(); }},
        {"btnSuppSelect",
         txt::BtnSuppSelect,
         "gbEdition",
         {},
         When::Always,
         [this] { btnSuppSelectClick(); }},
        {"btnSuppLigne",
         txt::BtnSuppLigne,
         "gbEdition",
         {},
         When::Always,
         [this] { btnSuppLigneClick(); }},
        {"btnSelectionAll",
         txt::BtnSelectionAll,
         "gbExport",
         {},
         When::Always,
         [this] { btnSelectionAllClick(); }},
        {"btnSelectionNone",
         txt::BtnSelectionNone,
         "gbExport",
         {},
         When::Always,
         [this] { btnSelectionNoneClick(); }},
        {"btnSelectPart",
         txt::BtnSelectPart,
         "gbExport",
         {},
         When::Always,
         [this] { btnSelectPartClick(); }},
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

template <typename Op> bool EditionCommands::Confirmed(Op op) {
    ResetOnConfirm ui(c_.ui, c_.model);
    return op(ui);
}

void EditionCommands::btnEffacerToutClick() {
    SessionStep step(c_.session, Step(txt::StepEraseAll));
    if (Confirmed([&](UserInteraction& ui) { return EraseAll(c_.session.Table, ui, c_.lang()); }))
        RowsRemoved(true);
}

void EditionCommands::btnInserLigneClick() {
    {
        SessionStep step(c_.session,
                         Step(txt::StepInsertLine, std::max(c_.session.Table.CurrentRow(), 0) + 1));
        RecordGridModel::Reset reset(c_.model);
        InsertLineAfter(c_.session.Table, c_.session.FieldCount);
    }
    RowsAdded();
}

void EditionCommands::bntAjoutFinClick() {
    {
        SessionStep step(c_.session, Step(txt::StepAppendLine));
        RecordGridModel::Reset reset(c_.model);
        AppendLine(c_.session.Table, c_.session.FieldCount);
    }
    RowsAdded();
    // The new row is the last one: the grid shows it, the current row stays.
    c_.view.ScrollToRow(c_.session.Table.RowCount() - 1);
}

void EditionCommands::btnSuppSelectClick() {
    SessionStep step(c_.session, Step(txt::StepDeleteLines, c_.session.Table.SelectedCount));
    if (Confirmed(
            [&](UserInteraction& ui) { return DeleteSelection(c_.session.Table, ui, c_.lang()); }))
        RowsRemoved(false);
}

void EditionCommands::btnSuppLigneClick() {
    SessionStep step(c_.session, Step(txt::StepDeleteLine, c_.session.Table.CurrentRow()));
    if (Confirmed([&](UserInteraction& ui) { return DeleteLine(c_.session.Table, ui, c_.lang()); }))
        RowsRemoved(false);
}

// A new row comes selected: the counters were recounted.
void EditionCommands::RowsAdded() {
    c_.view.ShowRows(false);
    c_.view.ShowSelection(true, true);
}

// The core recounted both counters: both labels and the selection menu
// items show the new counts at once.
void EditionCommands::RowsRemoved(bool refitColumns) {
    c_.view.ShowRows(refitColumns);
    c_.view.ShowSelection(true, true);
}

void EditionCommands::SelectionChanged(bool (*op)(RecordTable&, UserInteraction&, Lang),
                                       bool deleteLabel, BiText stepName) {
    {
        SessionStep step(c_.session, Step(stepName));
        if (!op(c_.session.Table, c_.ui, c_.lang())) return;
    }
    c_.model.AllFlagsChanged();
    c_.view.ShowSelection(true, deleteLabel);
}

void EditionCommands::btnSelectionAllClick() {
    SelectionChanged(&SelectAll, false, txt::StepSelectAll);
}

void EditionCommands::btnSelectionNoneClick() {
    SelectionChanged(&SelectNone, true, txt::StepSelectNone);
}

void EditionCommands::btnSelectPartClick() {
    SelectionChanged(&SelectPart, false, txt::StepSelectPart);
}

void EditionCommands::DataGridMouseDown() {
    RecordTable& t = c_.session.Table;
    const int col = t.CurrentColumn();
    const int row = t.CurrentRow();
    if (row < 1 || row >= t.RowCount()) return;
    SessionStep step(c_.session, Step(txt::StepToggleFlag, row));
    if (col == kColExport)
        ToggleExport(t, row);
    else if (col == kColSuppr)
        ToggleSuppr(t, row);
    else
        return;
    c_.model.FlagsChanged(row);
    c_.view.ShowSelection(true, true);
}

void EditionCommands::EmptyCells(const QModelIndexList& cells) {
    int fields = 0;
    for (const QModelIndex& index : cells)
        fields += index.column() >= kFirstFieldColumn;
    // One step for them all.
    SessionStep step(c_.session,
                     Step(fields == 1 ? txt::StepEmptyCell : txt::StepEmptyCells, fields));
    for (const QModelIndex& index : cells)
        if (index.column() >= kFirstFieldColumn) c_.model.setData(index, QString());
}

} // namespace orvane
