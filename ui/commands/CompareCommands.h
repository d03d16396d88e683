// "Comparer avec…": the loaded table against another file of the same data
// type. Changed cells and rows only here are coloured in the grid (the
// other value shows over a changed cell), and the panel lists every
// difference to go through (F8 / Shift+F8) and resolve: take the other
// table's side (one undoable step) or keep this one. The comparison follows
// the table's edits until it is cleared or another table is loaded.
#pragma once

#include "table/TableDiff.h"
#include "ui/commands/CommandContext.h"
#include "ui/grid/FindingsDock.h"

#include <functional>
#include <memory>
#include <set>
#include <string>
#include <vector>

class QAction;
class QDockWidget;
class QMainWindow;

namespace orvane {

class Captions;
class DifferencePanel;

class CompareCommands {
  public:
    CompareCommands(CommandContext context, QMainWindow* window, Captions& captions);
    ~CompareCommands();
    CommandTable Commands();

    void CompareWithClick();
    // F8 / Shift+F8: the next or previous difference, its row made current.
    void NextDifferenceClick();
    void PreviousDifferenceClick();
    void ClearClick();
    // The table changed: the comparison is worked out again once the change
    // under way is over; meanwhile no stale colour is painted.
    void Refresh();
    // Another table was loaded: the comparison ends.
    void TableReplaced();
    bool Active() const { return dock_.Active(); }

    // Makes a table cell current and shows it (the window's); column -1
    // keeps the current column.
    std::function<void(int row, int column)> GoToCell;
    // Ends a cell edit under way (the window's), so that a step through the
    // differences starts from the table as typed.
    std::function<void()> CommitEdit;
    // Runs the panel's commands (the window's error boundary).
    std::function<void(const std::function<void()>&)> RunCommand;
    // Before a comparison starts (another comparison colouring the grid ends).
    std::function<void()> Starting;

    QDockWidget* Dock() const { return dock_.Dock(); }
    DifferencePanel* Panel() const { return dock_.Panel(); }

  private:
    // An entry of the list as shown: for a changed row, the fields the user
    // has not kept.
    struct Shown {
        DifferenceEntry entry;
        std::vector<int> columns;
    };
    void Recompute();
    void Step(int delta);
    void Show(int current);
    void TakeOther(const std::vector<std::pair<int, int>>& choices);
    void KeepThis(const std::vector<std::pair<int, int>>& choices);
    std::string KeptKey(const DifferenceEntry& e, int column) const;
    bool Repeated(const DifferenceEntry& e) const;

    CommandContext c_;
    FindingsDock dock_;

    std::unique_ptr<SessionState> other_;
    std::string otherName_; // UTF-8
    CompareRule rule_;
    TableDifference diff_;
    std::vector<Shown> shown_;
};

} // namespace orvane
