#include "forms/Pagination.h"

#include "table/WholeNumber.h"

#include <algorithm>
#include <climits>

namespace orvane {

namespace {

using Band = std::vector<ColumnPart>;

// Bands after the first start with `repeat` (the columns that tell the
// rows apart), which takes that much of their room.
std::vector<Band> ColumnBands(const std::vector<int>& widths, int first, int last, int room,
                              const Band& repeat = {}) {
    int repeatWidth = 0;
    for (const ColumnPart& part : repeat)
        repeatWidth += part.width;
    std::vector<Band> bands(1);
    int used = 0;
    const auto startBand = [&] {
        bands.push_back(repeat);
        used = repeatWidth;
    };
    for (int c = first; c <= last; ++c) {
        int width = std::max(widths[static_cast<std::size_t>(c)], 0);
        const int fresh = bands.size() > 1 ? repeatWidth : 0; // what a new band starts with
        if (width > room - used && used > fresh) startBand();
        int offset = 0;
        // A column wider than the room left: one full page per slice; the
        // last slice leaves its room to the columns that follow.
        while (width - offset > room - used) {
            const int slice = room - used;
            bands.back().push_back({c, offset, slice});
            startBand();
            offset += slice;
        }
        bands.back().push_back({c, offset, width - offset});
        used += width - offset;
    }
    return bands;
}

std::vector<std::vector<int>> RowBands(const std::vector<int>& heights, int first, int last,
                                       int room) {
    std::vector<std::vector<int>> bands(1);
    int used = 0;
    for (int r = first; r <= last; ++r) {
        int height = std::max(heights[static_cast<std::size_t>(r)], 0);
        if (height > room - used && !bands.back().empty()) {
            bands.emplace_back();
            used = 0;
        }
        bands.back().push_back(r);
        used += height;
    }
    return bands;
}

EditorNotice NotWholeNumber(std::string_view text, Lang lang) {
    return {Format(txt::PrintNotWholeNumber.In(lang), std::string(text).c_str()),
            {},
            NoticeIcon::Error};
}

int Clamp32(std::int64_t v) {
    return static_cast<int>(std::clamp<std::int64_t>(v, INT_MIN, INT_MAX));
}

} // namespace

std::vector<PrintPage> Paginate(const std::vector<int>& columnWidths,
                                const std::vector<int>& rowHeights, const PageLayout& layout,
                                PrintRange range, const std::vector<int>& repeatedColumns) {
    range.firstColumn = std::max(range.firstColumn, 0);
    range.lastColumn = std::min(range.lastColumn, static_cast<int>(columnWidths.size()) - 1);
    range.firstRow = std::max(range.firstRow, 1);
    range.lastRow = std::min(range.lastRow, static_cast<int>(rowHeights.size()) - 1);
    if (range.firstColumn > range.lastColumn || range.firstRow > range.lastRow) return {};

    // At least one unit of room, so that every page shows something.
    int roomWidth = std::max(layout.pageWidth - layout.leftMargin - layout.rightMargin, 1);
    int roomHeight = std::max(layout.pageHeight - layout.topMargin - layout.bottomMargin -
                                  layout.headerHeight - std::max(rowHeights[0], 0),
                              1);
    std::vector<Band> columnBands =
        ColumnBands(columnWidths, range.firstColumn, range.lastColumn, roomWidth);
    // The later bands repeat the key columns of the first one, when the first
    // band holds them whole and they leave at least half of the room.
    if (columnBands.size() > 1 && !repeatedColumns.empty()) {
        Band repeat;
        int width = 0;
        for (const ColumnPart& part : columnBands.front())
            if (std::find(repeatedColumns.begin(), repeatedColumns.end(), part.column) !=
                repeatedColumns.end()) {
                repeat.push_back(part);
                width += part.width;
            }
        const bool whole = std::all_of(repeat.begin(), repeat.end(), [&](const ColumnPart& p) {
            return p.offset == 0 && p.width == columnWidths[static_cast<std::size_t>(p.column)];
        });
        if (!repeat.empty() && whole && width <= roomWidth / 2)
            columnBands =
                ColumnBands(columnWidths, range.firstColumn, range.lastColumn, roomWidth, repeat);
    }
    std::vector<std::vector<int>> rowBands =
        RowBands(rowHeights, range.firstRow, range.lastRow, roomHeight);

    std::vector<PrintPage> pages;
    pages.reserve(columnBands.size() * rowBands.size());
    for (const Band& columns : columnBands)
        for (const auto& rows : rowBands)
            pages.push_back({static_cast<int>(pages.size()) + 1, rows, columns});
    return pages;
}

std::string PageNumberText(int number, int total) {
    return Format(txt::PrintPageNumber, number, total);
}

int MaxiColumnPreset(const RecordTable& table) {
    return table.ColumnCount() - kFirstFieldColumn;
}

PrintSelectionResult PrintSelection(const RecordTable& table, std::string_view maxiColumns,
                                    std::string_view firstRow, std::string_view lastRow,
                                    Lang lang) {
    PrintSelectionResult result;
    result.closeWindow = false;
    auto maxi = ParseWholeNumber(maxiColumns);
    if (!maxi) return result.notice = NotWholeNumber(maxiColumns, lang), result;
    auto first = ParseWholeNumber(firstRow);
    if (!first) return result.notice = NotWholeNumber(firstRow, lang), result;
    auto last = ParseWholeNumber(lastRow);
    if (!last) return result.notice = NotWholeNumber(lastRow, lang), result;

    if (*last < *first) {
        result.notice = EditorNotice{txt::PrintLastBeforeFirst.In(lang), {}, NoticeIcon::Error};
        result.closeWindow = true;
        return result;
    }
    int lastColumn =
        Clamp32(std::min<std::int64_t>(*maxi + kFirstFieldColumn - 1, table.ColumnCount() - 1));
    if (lastColumn < kFirstFieldColumn) {
        result.notice = EditorNotice{txt::PrintNoColumn.In(lang), {}, NoticeIcon::Warning};
        return result;
    }
    int lastDataRow = table.RowCount() - 1;
    PrintRange range{kFirstFieldColumn, lastColumn, Clamp32(std::max<std::int64_t>(*first, 1)),
                     Clamp32(std::min<std::int64_t>(*last, lastDataRow))};
    if (range.firstRow > range.lastRow) {
        result.notice = EditorNotice{
            Format(txt::PrintNoRow.In(lang), Clamp32(*first), Clamp32(*last), lastDataRow),
            {},
            NoticeIcon::Warning};
        return result;
    }
    result.range = range;
    result.closeWindow = true;
    return result;
}

EditorNotice PrintAllQuestion(const RecordTable& table, Lang lang) {
    return {Format(txt::PrintAllQuestion.In(lang), table.RowCount()), {}, NoticeIcon::Warning};
}

PrintRange PrintAllRange(const RecordTable& table) {
    return {0, table.ColumnCount() - 1, 1, table.RowCount() - 1};
}

} // namespace orvane
