#include "table/TableOperations.h"

#include <algorithm>
#include <functional>
#include <vector>

namespace orvane {

namespace {

bool IsDataRow(const RecordTable& table, int row) {
    return row >= 1 && row < table.RowCount();
}

// A new row at index `at` holding the new-row content: "X", "0", "1" in the
// flag columns and "0" in every field cell that exists. Column 0 is left to
// the renumbering.
void InsertNewRow(RecordTable& table, int at, int fieldCount) {
    table.InsertRow(at);
    int lastField = std::min(fieldCount + kFirstFieldColumn - 1, table.ColumnCount() - 1);
    std::vector<std::string_view> cells{"", "X", "0", "1"};
    for (int c = kFirstFieldColumn; c <= lastField; ++c)
        cells.push_back("0");
    table.SetRowCells(at, cells);
}

// After a removal: the row that was current when it lies in the table, else
// the last row.
void RestoreCurrentRow(RecordTable& table, int previous) {
    table.SetCurrentRow(previous < table.RowCount() ? previous : table.RowCount() - 1);
}

} // namespace

SelectionDisplay RefreshSelectionDisplay(const RecordTable& table, Lang lang) {
    return {
        Format(txt::SelectLabel.In(lang, table.SelectedCount),
               static_cast<int>(table.SelectedCount)),
        Format(txt::DeleteLabel.In(lang, table.DeleteCount), static_cast<int>(table.DeleteCount))};
}

void InsertLineAfter(RecordTable& table, int fieldCount) {
    if (table.RowCount() < 1) table.SetRowCount(1); // the heading row at least
    // Without a data row the current row is the heading row: the new row is
    // then the first data row.
    int at = std::clamp(table.CurrentRow(), 0, table.RowCount() - 1) + 1;
    InsertNewRow(table, at, fieldCount);
    table.Renumber();
    table.SetCurrentRow(at);
    table.RecountFlags(); // the new row is selected
}

void AppendLine(RecordTable& table, int fieldCount) {
    AppendLines(table, fieldCount, 1);
}

void AppendLines(RecordTable& table, int fieldCount, int count) {
    if (table.RowCount() < 1) table.SetRowCount(1);
    int current = table.CurrentRow();
    for (int i = 0; i < count; ++i)
        InsertNewRow(table, table.RowCount(), fieldCount);
    table.Renumber();
    // The current row stays. When there was none (the heading row stood in),
    // the table moves it onto the new, only data row.
    table.SetCurrentRow(current);
    table.RecountFlags(); // the new row is selected
}

// Rows that go take their marks with them: the counters follow, so the labels
// and the selection commands never speak of rows that are gone.
static void RecountAfterRemoval(RecordTable& table) {
    table.RecountFlags();
}

bool DeleteLine(RecordTable& table, UserInteraction& ui, Lang lang) {
    if (table.RowCount() < 2) return false; // no data row: nothing to delete, nothing to ask
    if (!ui.Confirm(txt::ConfirmDeleteLine.In(lang))) return false;
    if (table.RowCount() == 2) {
        // The last data row stays, emptied ("n°" included).
        for (int c = 0; c < table.ColumnCount(); ++c)
            table.SetCell(c, 1, "");
        RecountAfterRemoval(table);
        return true;
    }
    int current = std::clamp(table.CurrentRow(), 1, table.RowCount() - 1);
    table.RemoveRow(current);
    table.Renumber();
    RestoreCurrentRow(table, current);
    RecountAfterRemoval(table);
    return true;
}

bool EraseAll(RecordTable& table, UserInteraction& ui, Lang lang) {
    if (!ui.Confirm(txt::ConfirmEraseAll.In(lang))) return false;
    table.SetRowCount(2);
    table.SetColumnCount(kFirstFieldColumn);
    table.ClearAll();
    table.SetCurrentCell(table.CurrentColumn(), 1);
    RecountAfterRemoval(table);
    return true;
}

bool DeleteSelection(RecordTable& table, UserInteraction& ui, Lang lang) {
    if (!ui.Confirm(Format(txt::ConfirmDeleteSelection.In(lang, table.SelectedCount),
                           static_cast<int>(table.SelectedCount))))
        return false;
    int current = table.CurrentRow();
    table.RemoveRowsIf(
        [&](int r) { return r >= 1 && IsSelectedForExport(table.Cell(kColExport, r)); });
    table.Renumber();
    RestoreCurrentRow(table, current);
    RecountAfterRemoval(table);
    return true;
}

namespace {

void ForRows(const RecordTable& table, const std::vector<int>* rows,
             const std::function<void(int)>& act) {
    if (!rows) {
        for (int r = 1; r < table.RowCount(); ++r)
            act(r);
        return;
    }
    for (int r : *rows)
        if (r >= 1 && r < table.RowCount()) act(r);
}

} // namespace

bool SelectAll(RecordTable& table, UserInteraction& ui, Lang lang, const std::vector<int>* rows) {
    if (!ui.Confirm(txt::ConfirmSelectAll.In(lang))) return false;
    ForRows(table, rows, [&](int r) { table.SetCell(kColExport, r, "1"); });
    table.SelectedCount = rows ? table.CountSelected() : std::max(table.RowCount() - 1, 0);
    return true;
}

bool SelectNone(RecordTable& table, UserInteraction& ui, Lang lang, const std::vector<int>* rows) {
    if (!ui.Confirm(txt::ConfirmSelectNone.In(lang))) return false;
    ForRows(table, rows, [&](int r) {
        table.SetCell(kColSuppr, r, "");
        table.SetCell(kColExport, r, "0");
    });
    table.RecountFlags();
    return true;
}

bool SelectPart(RecordTable& table, UserInteraction& ui, Lang lang, const std::vector<int>* rows) {
    if (!ui.Confirm(txt::ConfirmSelectPart.In(lang))) return false;
    ForRows(table, rows, [&](int r) {
        if (table.InSelection(kColExport, r)) table.SetCell(kColExport, r, "1");
    });
    table.SelectedCount = table.CountSelected();
    return true;
}

void ToggleExport(RecordTable& table, int row) {
    if (!IsDataRow(table, row)) return;
    std::string_view exported = table.Cell(kColExport, row);
    if (exported == "0") {
        table.SetCell(kColExport, row, "1");
        ++table.SelectedCount;
        return;
    }
    if (IsSelectedForExport(exported)) --table.SelectedCount;
    table.SetCell(kColExport, row, "0");
    // Unselecting a row marked for deletion unmarks it.
    if (table.Cell(kColSuppr, row) == "x") {
        table.SetCell(kColSuppr, row, "");
        --table.DeleteCount;
    }
}

void ToggleSuppr(RecordTable& table, int row) {
    if (!IsDataRow(table, row)) return;
    bool wasSelected = IsSelectedForExport(table.Cell(kColExport, row));
    if (table.Cell(kColSuppr, row) != "x") {
        // Marking a row for deletion selects it.
        table.SetCell(kColSuppr, row, "x");
        ++table.DeleteCount;
        table.SetCell(kColExport, row, "1");
        if (!wasSelected) ++table.SelectedCount;
    } else {
        table.SetCell(kColSuppr, row, "");
        --table.DeleteCount;
        table.SetCell(kColExport, row, "0");
        if (wasSelected) --table.SelectedCount;
    }
}

} // namespace orvane
