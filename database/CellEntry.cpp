#include "database/CellEntry.h"

#include "platform/Cp1252.h"
#include "table/TableOperations.h"

#include <algorithm>
#include <map>

namespace orvane {

std::optional<EntryRefusal> CheckEntryColumn(const SessionState& session, int column) {
    if (column < 0 || column >= session.Table.ColumnCount()) return EntryRefusal::NoSuchColumn;
    if (column == kColSuppr || column == kColExport) return EntryRefusal::FlagColumn;
    if (!session.MayChangeColumn(column)) return EntryRefusal::NotWritten;
    return std::nullopt;
}

std::optional<std::string> CellTextOf(std::string_view utf8) {
    std::string text = Utf8ToCp1252(utf8);
    if (Cp1252ToUtf8(text) != utf8) return std::nullopt;
    return text;
}

namespace {

// One value for one cell: a write, or a refusal.
void Enter(const SessionState& session, CellPlan& plan, int column, int row,
           const std::string& utf8) {
    const RecordTable& t = session.Table;
    // A value a cell already holds changes nothing, whatever the cell: a
    // whole row pasted back keeps its marks.
    if (row < t.RowCount() && column >= 0 && column < t.ColumnCount() &&
        Cp1252ToUtf8(t.Cell(column, row)) == utf8)
        return;
    if (auto refusal = CheckEntryColumn(session, column)) {
        plan.refused.push_back({column, row, utf8, *refusal});
        return;
    }
    auto text = CellTextOf(utf8);
    if (!text) {
        plan.refused.push_back({column, row, utf8, EntryRefusal::NotWindows1252});
        return;
    }
    plan.writes.push_back({column, row, std::move(*text)});
}

} // namespace

CellPlan PlanPaste(const SessionState& session, const TextBlock& block, const PasteTarget& target) {
    CellPlan plan;
    if (block.empty()) return plan;
    const int shown = int(target.viewRows.size());
    const int tableEnd = session.Table.RowCount();
    const auto tableRowAt = [&](int viewIndex) {
        return viewIndex < shown ? target.viewRows[std::size_t(viewIndex)]
                                 : tableEnd + (viewIndex - shown);
    };
    const bool single = block.size() == 1 && block.front().size() == 1;
    if (single && target.selection.size() > 1) {
        for (const auto& [viewIndex, column] : target.selection)
            Enter(session, plan, column, tableRowAt(viewIndex), block.front().front());
        return plan;
    }
    for (std::size_t r = 0; r < block.size(); ++r) {
        const int viewIndex = target.anchorRow + int(r);
        const int row = tableRowAt(viewIndex);
        if (viewIndex >= shown) plan.rowsToAppend = viewIndex - shown + 1;
        for (std::size_t c = 0; c < block[r].size(); ++c)
            Enter(session, plan, target.anchorColumn + int(c), row, block[r][c]);
    }
    return plan;
}

CellPlan PlanFillDown(const SessionState& session, const std::vector<std::pair<int, int>>& cells) {
    CellPlan plan;
    std::map<int, std::vector<int>> rowsByColumn;
    for (const auto& [row, column] : cells)
        rowsByColumn[column].push_back(row);
    for (auto& [column, rows] : rowsByColumn) {
        std::sort(rows.begin(), rows.end());
        rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
        if (rows.size() < 2) continue;
        const std::string top(session.Table.Cell(column, rows.front()));
        const std::string utf8 = Cp1252ToUtf8(top);
        for (std::size_t i = 1; i < rows.size(); ++i)
            Enter(session, plan, column, rows[i], utf8);
    }
    return plan;
}

CellPlan PlanReplace(const SessionState& session, const CellReplacer& replacer,
                     const std::vector<std::pair<int, int>>& cells,
                     const std::vector<int>& columns) {
    CellPlan plan;
    const RecordTable& t = session.Table;
    const auto consider = [&](int row, int column) {
        if (column < 0 || column >= t.ColumnCount() || row < 1 || row >= t.RowCount()) return;
        const std::string_view cell = t.Cell(column, row);
        auto replaced = replacer.Replace(cell);
        if (!replaced) return;
        ++plan.cellsFound;
        if (*replaced == cell) return;
        if (auto refusal = CheckEntryColumn(session, column)) {
            plan.refused.push_back({column, row, Cp1252ToUtf8(*replaced), *refusal});
            return;
        }
        plan.writes.push_back({column, row, std::move(*replaced)});
    };
    if (!cells.empty()) {
        for (const auto& [row, column] : cells)
            consider(row, column);
    } else {
        for (int r = 1; r < t.RowCount(); ++r)
            for (int column : columns)
                consider(r, column);
    }
    return plan;
}

int ApplyCellPlan(SessionState& session, StepName name, const CellPlan& plan) {
    if (plan.writes.empty() && plan.rowsToAppend == 0) return 0;
    int changed = 0;
    const int fieldCount = int(session.Fields().size());
    session.ChangeTable(std::move(name), [&](RecordTable& t) {
        if (plan.rowsToAppend > 0) AppendLines(t, fieldCount, plan.rowsToAppend);
        for (const CellWrite& w : plan.writes) {
            if (w.row >= t.RowCount() || w.column >= t.ColumnCount()) continue;
            if (t.Cell(w.column, w.row) == w.text) continue;
            t.SetCell(w.column, w.row, w.text);
            ++changed;
        }
        return changed > 0 || plan.rowsToAppend > 0;
    });
    return changed;
}

} // namespace orvane
