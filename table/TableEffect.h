// What one change did to a table, as the table's journal tells it: which
// rows and columns it touched and whether rows came, went or moved. The
// session reads it to hold its rules (direct write) and to keep its marks
// (counters, unwritten rows) whatever command made the change.
#pragma once

#include "table/RecordTable.h"

#include <functional>
#include <string>
#include <vector>

namespace orvane {

struct TableEffect {
    // Rows whose cells changed, at their positions after the change (only
    // kept while no row came, went or moved: then positions are stable).
    std::vector<int> rows;
    std::vector<bool> columns; // per column: a cell of it changed
    bool rowsInserted = false;
    bool rowsRemoved = false;
    bool rowsReordered = false;
    bool columnsChanged = false;
    // Rows the change inserted, at their positions after it (empty when
    // rows also went or moved, so positions cannot be followed).
    std::vector<int> insertedRows;
    // The cells of a guarded column (see EffectJournal) that hold another
    // text than before: (column, row).
    std::vector<std::pair<int, int>> guardedChanges;

    bool Changed() const {
        return !rows.empty() || rowsInserted || rowsRemoved || rowsReordered || columnsChanged;
    }
    bool RowsMoved() const { return rowsInserted || rowsRemoved || rowsReordered; }
    bool ColumnChanged(int col) const {
        return col >= 0 && std::size_t(col) < columns.size() && columns[std::size_t(col)];
    }
    // The flag counters may no longer match the rows.
    bool FlagsMayDiffer() const {
        return RowsMoved() || columnsChanged || ColumnChanged(kColSuppr) ||
               ColumnChanged(kColExport);
    }
};

// Records a change's effect while passing every call on to the journal
// that was attached before it (the undo step). Cells of the guarded
// columns are compared before and after, so a cell written back to its own
// text counts as no change.
class EffectJournal : public TableJournal {
  public:
    EffectJournal(RecordTable& table, std::function<bool(int col)> guarded);
    ~EffectJournal() override;
    EffectJournal(const EffectJournal&) = delete;
    EffectJournal& operator=(const EffectJournal&) = delete;

    // Detaches itself (the previous journal is attached again) and returns
    // what the change did, with duplicate rows folded.
    TableEffect Finish();

    void CellChanged(int col, int row, std::string_view before) override;
    void RowsReplaced(TakenRows rows) override;
    void RowsRemoved(TakenRows rows) override;
    void RowsInserted(std::vector<int> positions) override;
    void RowsReordered(std::vector<int> order) override;
    void ColumnsChanged(int before) override;

  private:
    void Touch(int col, int row);
    RecordTable& table_;
    TableJournal* inner_;
    std::function<bool(int col)> guarded_;
    bool attached_ = true;
    bool followInserted_ = true;
    int lastInserted_ = 0; // the bottom-most row of insertedRows
    TableEffect effect_;
    // Guarded cells as they were before the change: (column, row, text).
    struct Before {
        int col, row;
        std::string text;
    };
    std::vector<Before> before_;
};

} // namespace orvane
