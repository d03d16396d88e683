// "Annuler" and "Rétablir" of the "Edition" menu over the session's undo
// history, and the one way every table-changing command records its step.
#pragma once

#include "table/History.h"
#include "ui/commands/CommandContext.h"
#include "ui/qt/Captions.h"

class QAction;

namespace orvane {

class UndoCommands {
  public:
    explicit UndoCommands(CommandContext context) : c_(context) {}
    CommandTable Commands();
    // Rows may come back in another order than a heading sort left them.
    std::function<void()> RowsReordered;

    void UndoClick();
    void RedoClick();
    // The two items' captions, naming the step each would take.
    void ShowItems(QAction* undo, QAction* redo, const Captions& captions) const;

  private:
    void Apply(bool undo);
    CommandContext c_;
};

// A text with a singular and a plural, chosen by the number when shown.
inline StepName Step(const CountText& text, int number) {
    return {text.many, number, {}, &text};
}
inline StepName Step(BiText text, int number = 0) {
    return {text, number, {}};
}
} // namespace orvane
