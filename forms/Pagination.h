// Printing a rectangle of the record table, as plain data: which rows and
// which columns (or parts of a column wider than a page) land on which page,
// the heading row repeated at the top of every page; and the rules of the
// print range window ("Imprimer sélection", "Imprimer tout"). Sizes are in the
// printer's device units; the window measures, this lays out.
#pragma once

#include "forms/EditorNotice.h"
#include "settings/Texts.h"
#include "table/RecordTable.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace orvane {

struct PageLayout {
    int pageWidth = 0, pageHeight = 0; // the whole printable page
    int leftMargin = 0, topMargin = 0, rightMargin = 0, bottomMargin = 0;
    int headerHeight = 0; // title, date and page number above the grid
};

// A rectangle of the table, both ends included. The heading row (row 0) is
// not part of it: it heads every page.
struct PrintRange {
    int firstColumn = 0, lastColumn = -1;
    int firstRow = 1, lastRow = 0;
    bool operator==(const PrintRange&) const = default;
};

// The part of a table column a page shows: all of it (offset 0, its width),
// or a slice of a column wider than the page.
struct ColumnPart {
    int column = 0;
    int offset = 0; // from the column's left edge
    int width = 0;
    bool operator==(const ColumnPart&) const = default;
};

struct PrintPage {
    int number = 0;        // from 1
    std::vector<int> rows; // data rows, below the repeated heading row
    std::vector<ColumnPart> columns;
};

// Lays out a range: column widths per table column, row heights per table row
// (row 0 the heading). The range is clamped to the table; an empty range gives
// no page. Pages go down the rows first, then across to the next columns. A
// column wider than the page is spread over following pages, left part first;
// a row taller than the page gets a page of its own. repeatedColumns: the
// columns that tell the rows apart (the number, the first field); the pages
// of the later column bands show them again at their left, so each page can
// be matched to its rows (when they fit whole in half a page).
std::vector<PrintPage> Paginate(const std::vector<int>& columnWidths,
                                const std::vector<int>& rowHeights, const PageLayout& layout,
                                PrintRange range, const std::vector<int>& repeatedColumns = {});

// "3/7" in the page header.
std::string PageNumberText(int number, int total);

// The print range window: the column box's preset (the field column count).
int MaxiColumnPreset(const RecordTable& table);

struct PrintSelectionResult {
    std::optional<PrintRange> range;    // print this
    std::optional<EditorNotice> notice; // show this (nothing printed then)
    bool closeWindow = true;
};

// "Imprimer sélection" with the texts of the three boxes (maximum column
// count, first and last row). Last before first: the error, and the window
// closes. A box that is not a whole number, no column or no row of the table in
// the range: a message, nothing printed, the window stays open for a correction.
PrintSelectionResult PrintSelection(const RecordTable& table, std::string_view maxiColumns,
                                    std::string_view firstRow, std::string_view lastRow, Lang lang);

// "Imprimer tout": the question (OK prints, the window stays open) and what
// it prints: every column, flag columns included, and every row.
EditorNotice PrintAllQuestion(const RecordTable& table, Lang lang);
PrintRange PrintAllRange(const RecordTable& table);

} // namespace orvane
