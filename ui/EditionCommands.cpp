#include "ui/EditionCommands.h"

#include "database/SessionState.h"
#include "ui/RecordGridModel.h"

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

// The core operations ask and act in one call. To keep the grid steady while
// the question is open, the question is first collected by a dry run that
// answers Cancel (which leaves the table as it was), asked for real, and
// only then is the operation run, answered OK, inside the grid's reset.
class QuestionProbe : public UserInteraction {
  public:
    QuestionProbe(UserInteraction& real, bool answer) : real_(real), answer_(answer) {}
    void ShowMessage(MessageKind kind, const std::string& text, const std::string& title) override {
        real_.ShowMessage(kind, text, title);
    }
    bool Confirm(const std::string& text) override {
        question = text;
        asked = true;
        return answer_;
    }
    void Beep() override { real_.Beep(); }
    std::string question;
    bool asked = false;

  private:
    UserInteraction& real_;
    bool answer_;
};

} // namespace

template <typename Op> bool EditionCommands::Confirmed(Op op) {
    QuestionProbe probe(ui_, false);
    if (!op(probe)) {
        if (!probe.asked || !ui_.Confirm(probe.question)) return false;
    } else {
        // Acted without a question: tell the grid afterwards.
        model_.BeginReset();
        model_.EndReset();
        return true;
    }
    QuestionProbe yes(ui_, true);
    return Reshaping([&] { return op(yes); });
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
