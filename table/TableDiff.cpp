#include "table/TableDiff.h"

#include <algorithm>
#include <cctype>
#include <string_view>
#include <unordered_map>

namespace orvane {

namespace {

bool ContainsNoCase(std::string_view text, std::string_view word) {
    const auto it =
        std::search(text.begin(), text.end(), word.begin(), word.end(), [](char x, char y) {
            return std::tolower(static_cast<unsigned char>(x)) ==
                   std::tolower(static_cast<unsigned char>(y));
        });
    return it != text.end();
}

std::string_view KeyOf(const RecordTable& t, int keyColumn, int row, std::string& scratch) {
    if (keyColumn != kKeyRowNumber) return t.Cell(keyColumn, row);
    scratch = std::to_string(row);
    return scratch;
}

} // namespace

int DefaultKeyColumn(const RecordTable& table) {
    for (const char* word : {"unique", "ICAO", "OACI"})
        for (int c = kFirstFieldColumn; c < table.ColumnCount(); ++c)
            if (ContainsNoCase(table.Cell(c, 0), word)) return c;
    return kKeyRowNumber;
}

TableDifference CompareTables(const RecordTable& a, const RecordTable& b, int keyColumn) {
    TableDifference d;
    d.keyColumn = keyColumn;
    if (keyColumn == kKeyRowNumber) {
        // Matched by position: no keys to hash.
        const int common = std::min(a.RowCount(), b.RowCount());
        for (int r = common; r < a.RowCount(); ++r)
            d.onlyInA.push_back(r);
        for (int r = common; r < b.RowCount(); ++r)
            d.onlyInB.push_back(r);
    }
    // The rows of B under each key, in order; a match takes the first left.
    std::unordered_map<std::string_view, std::vector<int>> rowsOfB;
    d.rowInA.assign(static_cast<std::size_t>(std::max(b.RowCount(), 0)), 0);
    if (keyColumn != kKeyRowNumber) {
        rowsOfB.reserve(static_cast<std::size_t>(b.RowCount()));
        for (int r = b.RowCount() - 1; r >= 1; --r)
            rowsOfB[b.Cell(keyColumn, r)].push_back(r); // reversed: pop_back takes the first
    }
    const int columns = std::max(a.ColumnCount(), b.ColumnCount());
    std::vector<std::string_view> cellsA, cellsB;
    std::string scratch;
    const int lastA =
        keyColumn == kKeyRowNumber ? std::min(a.RowCount(), b.RowCount()) : a.RowCount();
    for (int ra = 1; ra < lastA; ++ra) {
        int rb = ra;
        if (keyColumn != kKeyRowNumber) {
            auto it = rowsOfB.find(KeyOf(a, keyColumn, ra, scratch));
            if (it == rowsOfB.end() || it->second.empty()) {
                d.onlyInA.push_back(ra);
                continue;
            }
            rb = it->second.back();
            it->second.pop_back();
        }
        d.rowInA[static_cast<std::size_t>(rb)] = ra;
        a.RowCells(ra, cellsA);
        b.RowCells(rb, cellsB);
        RowDifference row{ra, rb, {}};
        for (int c = kFirstFieldColumn; c < columns; ++c) {
            const std::string_view x = c < int(cellsA.size()) ? cellsA[std::size_t(c)] : "";
            const std::string_view y = c < int(cellsB.size()) ? cellsB[std::size_t(c)] : "";
            if (x != y) row.cells.push_back({c, std::string(x), std::string(y)});
        }
        if (!row.cells.empty()) d.changed.push_back(std::move(row));
    }
    if (keyColumn != kKeyRowNumber)
        for (int rb = 1; rb < b.RowCount(); ++rb)
            if (!d.rowInA[static_cast<std::size_t>(rb)]) d.onlyInB.push_back(rb);
    return d;
}

} // namespace orvane
