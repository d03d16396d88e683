#include "ui/commands/UndoCommands.h"

#include "ui/grid/RecordGridModel.h"
#include "ui/qt/CommandBoundary.h"
#include "ui/qt/QtText.h"

#include <QAction>

namespace orvane {

CommandTable UndoCommands::Commands() {
    return {
        {"Annuler",
         txt::MenuUndo,
         Place::EditMenu,
         {"Ctrl+Z"},
         When::Undo,
         [this] { UndoClick(); }},
        {"Retablir",
         txt::MenuRedo,
         Place::EditMenu,
         {"Ctrl+Y", "Ctrl+Shift+Z"},
         When::Redo,
         [this] { RedoClick(); }},
    };
}

void UndoCommands::UndoClick() {
    Apply(true);
    if (RowsReordered) RowsReordered();
}

void UndoCommands::RedoClick() {
    Apply(false);
    if (RowsReordered) RowsReordered();
}

// A step may change the shape of the table (erase all, columns): the grid
// is reset and the columns refitted; the counters came back with the step
// and their labels follow through the session's change event.
void UndoCommands::Apply(bool undo) {
    bool applied = false;
    {
        RecordGridModel::Reset reset(c_.model);
        applied = undo ? c_.session.UndoStep() : c_.session.RedoStep();
    }
    if (!applied) return;
    c_.view.ShowRows(true);
}

void UndoCommands::ShowItems(QAction* undo, QAction* redo, const Captions& captions) const {
    const History& h = c_.session.Undo;
    const RecordTable& t = c_.session.Table;
    const Lang lang = c_.lang();
    const auto show = [&](QAction* item, bool can, const StepName* name, BiText plain,
                          BiText named) {
        captions.SetItemText(item, Q(can && name ? Format(named.In(lang), name->In(lang).c_str())
                                                 : std::string(plain.In(lang))));
    };
    show(undo, h.CanUndo(t), h.UndoName(), txt::MenuUndo, txt::UndoCaption);
    show(redo, h.CanRedo(t), h.RedoName(), txt::MenuRedo, txt::RedoCaption);
}

} // namespace orvane
