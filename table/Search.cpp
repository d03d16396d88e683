#include "table/Search.h"

#include <algorithm>

namespace orvane {

bool CellMatches(std::string_view cell, std::string_view text, SearchMode mode) {
    if (text.empty()) return false;
    return mode == SearchMode::Exact ? cell == text : cell.find(text) != std::string_view::npos;
}

int FindMatchingRow(const RecordTable& table, int column, std::string_view text, SearchMode mode,
                    int fromRow, int* hitColumn) {
    if (text.empty() || column < 0 || column >= table.ColumnCount()) return 0;
    const bool everywhere = column == kAllColumns;
    for (int r = std::max(fromRow, 1); r < table.RowCount(); ++r) {
        if (!everywhere) {
            if (!CellMatches(table.Cell(column, r), text, mode)) continue;
            if (hitColumn) *hitColumn = column;
            return r;
        }
        // Every column, the row number first: "12" still finds row 12.
        for (int c = 0; c < table.ColumnCount(); ++c) {
            if (c == kColSuppr || c == kColExport) continue; // marks, not values
            if (!CellMatches(table.Cell(c, r), text, mode)) continue;
            if (hitColumn) *hitColumn = c;
            return r;
        }
    }
    return 0;
}

bool SearchState::InNextState(SearchMode mode) const {
    return mode == SearchMode::Exact ? exactNext_ : partialNext_;
}

std::string SearchState::Caption(SearchMode mode, Lang lang) const {
    if (mode == SearchMode::Exact)
        return (exactNext_ ? txt::BtnSuivant1 : txt::BtnChercher1).In(lang);
    return (partialNext_ ? txt::BtnSuivant2 : txt::BtnChercher2).In(lang);
}

SearchResult SearchState::Press(SearchMode mode, RecordTable& table, std::string_view text,
                                UserInteraction& ui) {
    bool& next = mode == SearchMode::Exact ? exactNext_ : partialNext_;
    const int from = next ? LastFoundRow + 1 : 1;
    int column = 0;
    const int row = FindMatchingRow(table, SearchColumn, text, mode, from, &column);

    SearchResult result;
    if (row == 0) {
        if (mode == SearchMode::Exact)
            ui.Show(MessageKind::Information, MessageOf(txt::ValueNotInFile),
                    txt::SearchEndedTitle);
        else
            ui.Show(MessageKind::Warning, MessageOf(txt::ValueNotInFileEnded));
        next = false;
        return result;
    }

    SearchHit& hit = result.hit;
    hit.row = row;
    hit.column = column;
    hit.currentColumn = table.ColumnCount() - 1;
    hit.selection = {0, row, table.ColumnCount() - 1, row};
    // Setting the current cell collapses the selection; the row is selected after.
    table.SetCurrentCell(hit.currentColumn, row);
    table.SetSelection(hit.selection);
    LastFoundRow = row;
    next = true;
    result.found = true;
    return result;
}

void SearchState::TextChanged() {
    exactNext_ = false;
    partialNext_ = false;
}

void SearchState::FieldCellClicked(int column) {
    SearchColumn = column;
    exactNext_ = false;
}

} // namespace orvane
