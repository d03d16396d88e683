#include "table/TableEffect.h"

#include <algorithm>
#include <utility>

namespace orvane {

EffectJournal::EffectJournal(RecordTable& table, std::function<bool(int col)> guarded)
    : table_(table), inner_(table.Journal()), guarded_(std::move(guarded)) {
    table_.SetJournal(this);
}

EffectJournal::~EffectJournal() {
    if (attached_) table_.SetJournal(inner_);
}

void EffectJournal::Touch(int col, int row) {
    if (col >= 0) {
        if (effect_.columns.size() <= std::size_t(col))
            effect_.columns.resize(std::size_t(col) + 1);
        effect_.columns[std::size_t(col)] = true;
    }
    if (row > 0 && (effect_.rows.empty() || effect_.rows.back() != row))
        effect_.rows.push_back(row);
}

void EffectJournal::CellChanged(int col, int row, std::string_view before) {
    if (guarded_ && guarded_(col)) before_.push_back({col, row, std::string(before)});
    Touch(col, row);
    if (inner_) inner_->CellChanged(col, row, before);
}

void EffectJournal::RowsReplaced(TakenRows rows) {
    const auto& positions = rows.Positions();
    const int columns = table_.ColumnCount();
    for (int c = 0; c < columns; ++c)
        Touch(c, positions.empty() ? 0 : positions.front());
    for (std::size_t i = 0; i < positions.size(); ++i) {
        Touch(-1, positions[i]);
        if (!guarded_) continue;
        for (int c = 0; c < columns; ++c)
            if (guarded_(c)) before_.push_back({c, positions[i], std::string(rows.Cell(i, c))});
    }
    if (inner_) inner_->RowsReplaced(std::move(rows));
}

void EffectJournal::RowsRemoved(TakenRows rows) {
    effect_.rowsRemoved = true;
    effect_.insertedRows.clear();
    followInserted_ = false;
    if (inner_) inner_->RowsRemoved(std::move(rows));
}

void EffectJournal::RowsInserted(std::vector<int> positions) {
    effect_.rowsInserted = true;
    if (followInserted_) {
        // Rows inserted before others shift them down.
        // Rows added below every row followed so far (appends, row by
        // row) shift none: no pass over them.
        std::vector<int> sorted = positions;
        std::sort(sorted.begin(), sorted.end());
        if (!sorted.empty() && sorted.front() <= lastInserted_) {
            lastInserted_ = 0;
            for (int& row : effect_.insertedRows) {
                for (int p : sorted)
                    if (p <= row) ++row;
                lastInserted_ = std::max(lastInserted_, row);
            }
        }
        if (!sorted.empty()) lastInserted_ = std::max(lastInserted_, sorted.back());
        effect_.insertedRows.insert(effect_.insertedRows.end(), positions.begin(), positions.end());
    }
    if (inner_) inner_->RowsInserted(std::move(positions));
}

void EffectJournal::RowsReordered(std::vector<int> order) {
    effect_.rowsReordered = true;
    effect_.insertedRows.clear();
    followInserted_ = false;
    if (inner_) inner_->RowsReordered(std::move(order));
}

void EffectJournal::ColumnsChanged(int before) {
    effect_.columnsChanged = true;
    if (inner_) inner_->ColumnsChanged(before);
}

TableEffect EffectJournal::Finish() {
    if (attached_) table_.SetJournal(inner_);
    attached_ = false;
    std::sort(effect_.rows.begin(), effect_.rows.end());
    effect_.rows.erase(std::unique(effect_.rows.begin(), effect_.rows.end()), effect_.rows.end());
    if (effect_.RowsMoved()) effect_.rows.clear(); // positions no longer say which row
    // The first text a guarded cell had is its text before the change.
    std::stable_sort(before_.begin(), before_.end(), [](const Before& a, const Before& b) {
        return std::pair(a.col, a.row) < std::pair(b.col, b.row);
    });
    for (std::size_t i = 0; i < before_.size(); ++i) {
        const Before& b = before_[i];
        if (i > 0 && before_[i - 1].col == b.col && before_[i - 1].row == b.row) continue;
        if (table_.Cell(b.col, b.row) != b.text) effect_.guardedChanges.emplace_back(b.col, b.row);
    }
    before_.clear();
    return std::move(effect_);
}

} // namespace orvane
