// The in-memory record table: a rectangle of 8-bit (Windows-1252) text cells.
// Row 0 holds the headings; rows 1.. hold one record each. Columns 0-3 are
// the flag columns "n°", "Modif", "Suppr", "Export"; column 4 + i holds
// template field i.
//
// Storage is laid out for large tables (100,000 rows of 90 columns): each row
// is one packed buffer (cell offsets followed by the texts), and the rows are
// held by pointer-sized handles, so inserting, removing and sorting rows moves
// handles, never cell texts.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace orvane {

// Column indexes of the flag columns.
inline constexpr int kColNumber = 0; // "n°"
inline constexpr int kColModif = 1;  // "Modif"
inline constexpr int kColSuppr = 2;  // "Suppr"
inline constexpr int kColExport = 3; // "Export"
inline constexpr int kFirstFieldColumn = 4;

// A row whose Export cell holds this goes into the "selection" saves and
// exports, and counts in SelectedCount.
inline bool IsSelectedForExport(std::string_view exportCell) {
    return exportCell == "1";
}

// Headings of the flag columns as the table holds them (Windows-1252).
inline constexpr const char* kHeadingNumber = "n\xB0";

class TableRow;   // one packed row (RecordTable.cpp)
class TableArena; // the memory of the rows of a load

// Rows taken out of a table to be put back later (the undo history): the
// row handles themselves, never a copy of their cells, each with the index
// it had in the table. Positions ascend.
class TakenRows {
  public:
    TakenRows();
    explicit TakenRows(std::vector<int> positions);
    ~TakenRows();
    TakenRows(TakenRows&&) noexcept;
    TakenRows& operator=(TakenRows&&) noexcept;

    const std::vector<int>& Positions() const { return positions_; }
    // A cell of the i-th row held ("" when it holds none).
    std::string_view Cell(std::size_t i, int col) const;
    // Bytes held (the rows and the bookkeeping).
    std::size_t MemoryUsage() const;

  private:
    friend class RecordTable;
    std::vector<int> positions_;
    // Before the rows: rows made by a load live in its arena, which must
    // outlive them, even once the table has loaded another file.
    std::shared_ptr<TableArena> arena_;
    std::vector<std::unique_ptr<TableRow>> rows_;
};

// Told of every change while attached to a table (the undo history records
// a step this way). Each call comes before the table is left in its new
// state and hands over what is needed to take the change back.
class TableJournal {
  public:
    virtual ~TableJournal() = default;
    virtual void CellChanged(int col, int row, std::string_view before) = 0;
    // The rows at rows.Positions() were replaced; rows holds the old ones.
    virtual void RowsReplaced(TakenRows rows) = 0;
    virtual void RowsRemoved(TakenRows rows) = 0;
    // New rows now stand at these (ascending) positions.
    virtual void RowsInserted(std::vector<int> positions) = 0;
    // Data row i is now the row that stood at order[i] (order[0] == 0).
    virtual void RowsReordered(std::vector<int> order) = 0;
    virtual void ColumnsChanged(int before) = 0;
};

struct CellRect {
    int left = 0, top = 1, right = 0, bottom = 1;
    bool Contains(int col, int row) const {
        return col >= left && col <= right && row >= top && row <= bottom;
    }
};

class RecordTable {
  public:
    // The state at window creation: the four headings, four empty data rows,
    // current cell (0, 1).
    RecordTable();
    ~RecordTable();
    RecordTable(RecordTable&&) noexcept;
    RecordTable& operator=(RecordTable&&) noexcept;

    int RowCount() const { return static_cast<int>(rows_.size()); }
    int ColumnCount() const { return columns_; }
    // Growing adds empty cells; shrinking drops rows or columns at the end.
    void SetRowCount(int rows);
    void SetColumnCount(int columns);

    // Out-of-range cells read as empty; writing one is ignored.
    std::string_view Cell(int col, int row) const;
    // Every cell of a row at once (ColumnCount() views), for whole-row readers.
    void RowCells(int row, std::vector<std::string_view>& cells) const;
    // A row's texts back to back, and where each of its first n cells ends
    // in them (n <= ColumnCount(); cells the row lacks are empty).
    std::string_view RowTexts(int row, std::uint32_t* ends, std::size_t n) const;
    void SetCell(int col, int row, std::string_view text);
    // Replaces a whole row's cells at once (cells beyond the list become empty).
    // The fast path of the loaders.
    void SetRowCells(int row, const std::vector<std::string_view>& cells);
    // The same from one block of texts and the end offset of each cell in it
    // (cells beyond the table's columns are dropped): one copy of the texts.
    void SetRowPacked(int row, std::string_view texts, const std::uint32_t* ends,
                      std::size_t count);

    // The same with the texts written straight into the row's storage:
    // BeginPackedRow gives room for `room` bytes of texts of a row of
    // ColumnCount() cells; CommitPackedRow makes them row `row`'s cells,
    // given where each ends (ColumnCount() ends, ascending, within the room).
    // Until the commit the row keeps its cells, which may still be read.
    // Nothing else may change the table in between.
    char* BeginPackedRow(std::size_t room);
    void CommitPackedRow(int row, const std::uint32_t* ends);
    // The bytes of a row's texts (at least the length of any of its cells).
    std::size_t RowTextBytes(int row) const;

    void InsertRow(int row); // an empty row at index row; rows from it move down
    void RemoveRow(int row);
    // Removes every row for which removeRow(index) is true, in one pass (the
    // predicate sees the table as it was before any removal). Returns the count.
    int RemoveRowsIf(const std::function<bool(int row)>& removeRow);
    // Takes over another table's cells (a table loaded aside, so that a load
    // that fails leaves this one as it was). The revision still rises.
    void Replace(RecordTable&& loaded);
    void ClearDataCells(); // rows 1.. emptied, the heading row kept
    void ClearAll();       // every cell emptied, the heading row too

    // The current cell stays inside the table: on a data row when there is one
    // (row 0 only when the table has no data row). Setting it also collapses the
    // selected rectangle onto it, as a click does; set the rectangle afterwards.
    int CurrentRow() const { return currentRow_; }
    int CurrentColumn() const { return currentColumn_; }
    void SetCurrentCell(int col, int row);
    void SetCurrentRow(int row) { SetCurrentCell(currentColumn_, row); }
    void SetCurrentColumn(int col) { SetCurrentCell(col, currentRow_); }

    // The selected rectangle; by default the current cell alone.
    const CellRect& Selection() const { return selection_; }
    void SetSelection(const CellRect& rect) { selection_ = rect; }
    bool InSelection(int col, int row) const { return selection_.Contains(col, row); }

    // Sorts the data rows by one column. Cells that both read as numbers (with
    // the given decimal separator) compare as numbers, others as text (bytes);
    // in ascending order every number comes before every text, so the order is
    // total. Whole rows move, their "n°" cells with them. Stable in both
    // directions.
    void SortByColumn(int col, bool ascending, char decimalSeparator);

    // Counters kept by the row and flag operations (signed 32-bit).
    std::int32_t SelectedCount = 0; // rows whose "Export" cell is "1"
    std::int32_t DeleteCount = 0;   // rows whose "Suppr" cell is "x"
    // Full recounts, used by the loaders.
    std::int32_t CountSelected() const;
    std::int32_t CountDeleted() const;
    // Both counters recounted in one pass over the rows.
    void RecountFlags();
    void Renumber(); // cell (0, r) := r for every data row

    // Rises by one on every change of cells, rows or columns; the window uses
    // it to know the table holds unsaved changes.
    std::uint64_t Revision() const { return revision_; }

    // Hands the rows to the end of the process, which takes all their memory
    // back at once, and leaves the table without rows: for a program about to
    // exit after a large load, instead of freeing its rows one by one.
    void LeaveRowsToProcessExit();

    // Bytes held by the cells (for the benchmarks and memory checks).
    std::size_t MemoryUsage() const;

    // The journal told of every change (none: no one listens). It stays
    // with this table through Replace.
    void SetJournal(TableJournal* journal) { journal_ = journal; }
    TableJournal* Journal() const { return journal_; }

    // Row moves for the undo history; none of them is told to the journal.
    // Takes the rows at the (ascending) positions out of the table.
    TakenRows TakeRows(std::vector<int> positions);
    // Puts taken rows back where they stood; rows keeps the positions only.
    void PutRows(TakenRows& rows);
    // Exchanges the table's rows at rows' positions with the rows held.
    void SwapRows(TakenRows& rows);
    // Data row i becomes the row at order[i]; order is a permutation.
    void ReorderRows(const std::vector<int>& order);
    // Sets the column count without dropping cells (taking a change back).
    void RestoreColumnCount(int columns);

  private:
    using Row = TableRow;
    using Arena = TableArena;
    void ClampCurrent();
    void InstallRow(int row, std::unique_ptr<Row> made);
    void ClearRowsFrom(std::size_t first);
    Arena& RowArena();
    std::vector<std::unique_ptr<Row>> rows_;
    // After rows_: a move assignment replaces the rows before their memory.
    std::shared_ptr<Arena> arena_;
    // The row BeginPackedRow started (in the arena), and its allocation.
    Row* pending_ = nullptr;
    std::size_t pendingBytes_ = 0;
    TableJournal* journal_ = nullptr;
    int columns_ = 4;
    int currentRow_ = 1;
    int currentColumn_ = 0;
    CellRect selection_{0, 1, 0, 1};
    std::uint64_t revision_ = 0;
};

} // namespace orvane
