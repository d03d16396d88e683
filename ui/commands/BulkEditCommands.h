// The spreadsheet commands of the Edit menu: copy, cut and paste through
// the system clipboard as tab-separated text, fill down, find and replace,
// and the filter row. Every change is one undo step through the session's
// gate; values pass the checks of typing, and a change some cells refuse
// is not made at all: one message lists the first of them.
#pragma once

#include "database/CellEntry.h"
#include "ui/commands/Command.h"
#include "ui/commands/CommandContext.h"

#include <QModelIndexList>

#include <functional>
#include <map>
#include <string>
#include <vector>

namespace orvane {

class Captions;
class FilterBar;
class RecordGridView;
class ReplaceDialog;

class BulkEditCommands {
  public:
    BulkEditCommands(CommandContext context, Captions& captions);
    ~BulkEditCommands();
    CommandTable Commands();
    // The grid whose selection the commands read, its filter row, and the
    // window the find-and-replace dialog belongs to.
    void Attach(RecordGridView* grid, FilterBar* filter, QWidget* window);
    // Makes a cell of the grid current (the window's).
    std::function<void(int column, int row)> GoToCell;
    // Empties cells as Delete does (the edition family's).
    std::function<void(const QModelIndexList&)> EmptyCells;
    // The filter's rows changed: the status shows how many are shown.
    std::function<void()> FilterShown;

    void Copy();
    void Cut();
    void Paste();
    // Pastes a text as the clipboard would give it (the tests' way in).
    void PasteText(const std::string& utf8);
    void FillDown();
    void FindReplace();
    void ToggleFilter();
    // Copies whole rows with the field titles above them.
    bool CopyTitles() const { return copyTitles_; }
    void SetCopyTitles(bool on) { copyTitles_ = on; }

    // The copy's text of the grid's selection (UTF-8).
    std::string SelectionText() const;
    // Sets the filter from the conditions typed (UTF-8), by column.
    void ApplyFilter(const std::map<int, std::string>& conditions);
    // A new table came in: the filter row empties and hides.
    void TableReplaced();
    ReplaceDialog* Replacer() const { return dialog_; }
    // The find-and-replace dialog's buttons.
    void ReplaceAction(int action);

  private:
    // The selected cells as (table row, column), in grid order.
    std::vector<std::pair<int, int>> SelectedCells() const;
    // Applies a plan, or lists its refusals under the message's text.
    bool Apply(const CellPlan& plan, const CountText& step, const BiText& refusedText);
    std::string RefusalText(const std::vector<RefusedCell>& refused) const;
    bool FindNext();
    // The selected cells (table row, column), or else the columns, the
    // find-and-replace dialog looks in.
    std::pair<std::vector<std::pair<int, int>>, std::vector<int>> ReplaceScope() const;

    CommandContext c_;
    Captions& captions_;
    RecordGridView* grid_ = nullptr;
    FilterBar* filter_ = nullptr;
    QWidget* window_ = nullptr;
    ReplaceDialog* dialog_ = nullptr;
    bool copyTitles_ = false;
};

} // namespace orvane
