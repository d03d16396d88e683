#include "ui/commands/EditionCommands.h"

#include "database/SessionState.h"
#include "ui/grid/RecordGridModel.h"

namespace orvane {

// Operations that add, remove or empty rows: the grid is reset around them.
// The confirmation comes first, so Cancel leaves the view untouched.
template <typename Op> bool EditionCommands::Reshaping(Op op) {
    model_.BeginReset();
    bool changed = false;
    try {
        changed = op();
    } catch (...) {
        model_.EndReset();
        throw;
    }
    model_.EndReset();
    return changed;
}

void EditionCommands::InsertLine() {
    Reshaping([&] {
        orvane::InsertLineAfter(s_.Table, s_.FieldCount);
        return true;
    });
}

void EditionCommands::AppendLine() {
    Reshaping([&] {
        orvane::AppendLine(s_.Table, s_.FieldCount);
        return true;
    });
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
        model_.BeginReset();
        resetting = true;
        return true;
    }
    void Beep() override { real_.Beep(); }
    bool resetting = false;

  private:
    UserInteraction& real_;
    RecordGridModel& model_;
};

} // namespace

template <typename Op> bool EditionCommands::Confirmed(Op op) {
    ResetOnConfirm ui(ui_, model_);
    bool changed = false;
    try {
        changed = op(ui);
    } catch (...) {
        if (ui.resetting) model_.EndReset();
        throw;
    }
    if (ui.resetting) model_.EndReset();
    return changed;
}

bool EditionCommands::DeleteLine() {
    return Confirmed(
        [&](UserInteraction& ui) { return orvane::DeleteLine(s_.Table, ui, s_.Language_()); });
}

bool EditionCommands::EraseAll() {
    return Confirmed(
        [&](UserInteraction& ui) { return orvane::EraseAll(s_.Table, ui, s_.Language_()); });
}

bool EditionCommands::DeleteSelection() {
    return Confirmed(
        [&](UserInteraction& ui) { return orvane::DeleteSelection(s_.Table, ui, s_.Language_()); });
}

bool EditionCommands::SelectAll() {
    if (!orvane::SelectAll(s_.Table, ui_, s_.Language_())) return false;
    model_.AllFlagsChanged();
    return true;
}

bool EditionCommands::SelectNone() {
    if (!orvane::SelectNone(s_.Table, ui_, s_.Language_())) return false;
    model_.AllFlagsChanged();
    return true;
}

bool EditionCommands::SelectPart() {
    if (!orvane::SelectPart(s_.Table, ui_, s_.Language_())) return false;
    model_.AllFlagsChanged();
    return true;
}

bool EditionCommands::ToggleAtCurrentCell() {
    const int col = s_.Table.CurrentColumn();
    const int row = s_.Table.CurrentRow();
    if (row < 1 || row >= s_.Table.RowCount()) return false;
    if (col == kColExport)
        orvane::ToggleExport(s_.Table, row);
    else if (col == kColSuppr)
        orvane::ToggleSuppr(s_.Table, row);
    else
        return false;
    model_.FlagsChanged(row);
    return true;
}

SelectionDisplay EditionCommands::Display() const {
    return RefreshSelectionDisplay(s_.Table, s_.Language_());
}

} // namespace orvane
