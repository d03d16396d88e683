// Paints a grid of text cells on printed pages. The core decides which rows
// and columns go on which page (Paginate); this layer measures the cells in
// the printer's units, and draws each page: a bold header line, the heading
// row, then the page's rows, every cell framed by a thin solid line, in the
// platform's sans-serif font at 8 points.
#pragma once

#include "forms/Pagination.h"
#include "platform/UserInteraction.h"

#include <QDate>
#include <QString>

#include <functional>
#include <vector>

class QPainter;
class QPrinter;

namespace orvane {

// What to print: cells by column and row (row 0 the heading row), and each
// column's width on screen in pixels (printed at the same size).
struct PrintSheet {
    int columnCount = 0;
    int rowCount = 0;
    std::function<QString(int column, int row)> cell;
    std::function<int(int column)> screenWidth;
    std::function<Qt::Alignment(int column)> alignment; // left when not set
    // Shown again at the left of the pages of later column bands.
    std::vector<int> repeatedColumns;
};

// The look of a printout: the table (landscape; title left, date centred,
// page number right) or an editor page (portrait; date left, title centred,
// no page number).
struct PrintLook {
    bool landscape = true;
    bool editorPage = false;
    QString title;
    QDate date = QDate::currentDate();
};

// Sizes of the page layout, in tenths of a millimetre.
inline constexpr int kPrintHeaderHeight = 100; // the header line's band
inline constexpr int kPrintLeftMargin = 150;
inline constexpr int kPrintOtherMargins = 100; // top, right, bottom
inline constexpr int kPrintTitleSpacing = 50;  // between the header and the grid

// The 8-point font of every printout (bold for the header).
QFont PrintFont(bool bold = false);

// Lays out and paints every page of a range. The painter is open on a device
// whose drawing area (origin at its top left) is pageSize; newPage moves to
// a fresh page and says whether it could. Returns the pages painted.
std::vector<PrintPage> PaintSheet(QPainter& painter, QSize pageSize,
                                  const std::function<bool()>& newPage, const PrintSheet& sheet,
                                  PrintRange range, const PrintLook& look);

// A printer set up as chosen: a printer or a PDF file, the paper, the
// orientation and the margins of the look.
void SetUpPrinter(QPrinter& printer, const PrinterChoice& choice, const PrintLook& look);

// Prints a range on the chosen printer. Nothing starts for an empty range.
// Throws when the printer (or the file) cannot be opened.
std::vector<PrintPage> PrintRangeOf(const PrinterChoice& choice, const PrintSheet& sheet,
                                    PrintRange range, const PrintLook& look);

// The PDF file proposed for printing to a file: the data type's name in the
// work folder.
std::string SuggestedPrintFile(const std::string& folder, const std::string& dataType);

} // namespace orvane
