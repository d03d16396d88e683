// The record grid's own events: a cell's click and hint (the coordinate
// panel, the search column), a heading's click (the sort, one undo step),
// the current cell and the dragged rectangle kept in the table, the
// definitions page's double click, and the record editor on the current row
// (double click or Ctrl+Enter).
#pragma once

#include "ui/commands/CommandContext.h"

#include <functional>

class QLabel;
class QModelIndex;
class QTabWidget;

namespace orvane {

class DefinitionsPage;
class RecordGridView;
class SearchCommands;
class RecordEditorDialog;

struct GridControls {
    RecordGridView* grid = nullptr;
    DefinitionsPage* definitions = nullptr;
    QLabel* coordinatePanel = nullptr; // the status bar's panel 1
    RecordEditorDialog* recordEditor = nullptr;
};

class GridCommands {
  public:
    GridCommands(CommandContext context, SearchCommands& search) : c_(context), search_(search) {}
    // "Edit the record…" of the Edition menu.
    CommandTable Commands();
    // Connects the grid's and the definitions page's events, each through the boundary.
    void Attach(const GridControls& controls,
                const std::function<void(std::function<void()>)>& run);
    // The row captions follow the current row (the window's).
    std::function<void()> ShowRowCaptions;

    void CellClicked(int column, int row);
    void CellHovered(const QModelIndex& index);
    // Sorts by the column (again: the other way) in one undo step.
    void HeadingClicked(int column);
    void DefinitionDoubleClicked();
    // The record editor on the current row, modal.
    void EditRecord();

    // The view's current cell made the table's; the table's made the view's.
    void CurrentChanged(const QModelIndex& current);
    void SelectionChanged();
    void SyncViewToTable();

    // A search hit: the row current (its last cell) and selected whole; the
    // grid keeps its horizontal place. False for a row the grid has not.
    bool ShowFoundRow(int tableRow);
    // Scrolls to a table row without making it current.
    void ScrollToRow(int tableRow);
    // In direct-write mode the row edited is the row to write: Enter stays
    // on it, heading clicks do not sort, and the fields the write leaves
    // alone cannot be edited.
    void SetDirectWrite(bool on);

    int SortColumn() const { return sortColumn_; }
    bool SortAscending() const { return sortAscending_; }
    // Heading clicks sort only while this is on (off in direct-write mode).
    void SetSortingAllowed(bool on) { sortingAllowed_ = on; }
    // The rows are in file order again (a load), or in an order no arrow
    // can say (an undo).
    void RowsUnsorted();
    void ShowSortArrow();

  private:
    void ShowPanel(int action, const std::string& text);
    CommandContext c_;
    SearchCommands& search_;
    GridControls w_;
    int sortColumn_ = 4;
    bool sortAscending_ = true;
    bool sortingAllowed_ = true;
    bool rowsSorted_ = false; // by a heading click since the load
};

} // namespace orvane
