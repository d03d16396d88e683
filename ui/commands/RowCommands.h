// The buttons of the "Edition" and "Export" boxes, the flag toggles of a
// mouse press and the Delete key: one core operation each, with the grid
// told what changed and the window asked to show the labels that follow.
#pragma once

#include "table/TableOperations.h"
#include "ui/commands/CommandContext.h"

#include <QModelIndexList>

namespace orvane {

class RowCommands {
  public:
    explicit RowCommands(CommandContext context) : c_(context) {}
    // The "Edition" and "Export" boxes' buttons.
    CommandTable Commands();

    // "Edition" box.
    void EraseAllRows();
    void InsertRowAfterCurrent();
    void AppendRow();
    void DeleteSelectedRows();
    void DeleteCurrentRow();
    // "Export" box.
    void SelectAllRows();
    void UnselectAllRows();
    void SelectPartOfRows();
    // The press rule: the current cell in "Export" or "Suppr" toggles that
    // flag on the current row.
    void DataGridMouseDown();
    // Delete: the selected field cells become empty, through the grid's edit
    // path (so the unsaved mark follows, as for typing).
    void EmptyCells(const QModelIndexList& cells);

  private:
    template <typename Op> bool Confirmed(Op op);
    void SelectionChanged(bool (*op)(RecordTable&, UserInteraction&, Lang, const std::vector<int>*),
                          BiText stepName);

    CommandContext c_;
};

} // namespace orvane
