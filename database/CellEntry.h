// Values entered into cells in bulk: pasted from the clipboard, replaced by
// "Find and replace", filled down. Each is planned first (which cells get
// which text, which cells refuse and why), then applied whole as one undo
// step through the session's gate, or not at all.
#pragma once

#include "database/SessionState.h"
#include "table/CellReplace.h"
#include "table/TabText.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace orvane {

// Why a cell refuses a value.
enum class EntryRefusal {
    NoSuchColumn,   // past the table's last column
    FlagColumn,     // "Suppr" and "Export" change through their buttons only
    NotWritten,     // direct-write mode: the field is not written into the archive
    NotWindows1252, // a character the 8-bit cells cannot hold
};

struct CellWrite {
    int column = 0;
    int row = 0;      // table row; rows past the end are appended first
    std::string text; // 8-bit
};

struct RefusedCell {
    int column = 0;
    int row = 0;
    std::string value; // UTF-8, as entered
    EntryRefusal reason = EntryRefusal::NoSuchColumn;
};

struct CellPlan {
    std::vector<CellWrite> writes;
    std::vector<RefusedCell> refused;
    int rowsToAppend = 0; // new rows at the end of the table the writes reach
    // Cells the rule found, whether or not their text changes.
    int cellsFound = 0;
};

// The checks of a value entered into a cell, typed or pasted or replaced.
std::optional<EntryRefusal> CheckEntryColumn(const SessionState& session, int column);
// A UTF-8 value as the cell's 8-bit text; nullopt when a character has no
// Windows-1252 form.
std::optional<std::string> CellTextOf(std::string_view utf8);

// Where a paste goes. Rows are counted in the grid's order: viewRows lists
// the table rows the grid shows (all, or those the filter keeps).
struct PasteTarget {
    std::vector<int> viewRows;
    int anchorRow = 0; // index into viewRows of the current cell
    int anchorColumn = 0;
    // The selected cells as (index into viewRows, column); a single value
    // pasted over more than one of them fills them all.
    std::vector<std::pair<int, int>> selection;
};

// A block of UTF-8 texts at the target: right and down from the current
// cell; past the last row shown, onto new rows at the table's end.
CellPlan PlanPaste(const SessionState& session, const TextBlock& block, const PasteTarget& target);

// Fill down: in each column of the cells given (table row, column), the
// topmost one's text goes into the others.
CellPlan PlanFillDown(const SessionState& session,
                      const std::vector<std::pair<int, int>>& rowColumnCells);

// Replace over the cells given (table row, column), or over every data cell
// of the columns given when cells is empty.
CellPlan PlanReplace(const SessionState& session, const CellReplacer& replacer,
                     const std::vector<std::pair<int, int>>& cells,
                     const std::vector<int>& columns);

// Applies a plan without refusals as one undo step (nothing when it
// writes nothing). The gate may still refuse it (direct-write mode and new
// rows). Returns the number of cells whose text changed.
int ApplyCellPlan(SessionState& session, StepName name, const CellPlan& plan);

} // namespace orvane
