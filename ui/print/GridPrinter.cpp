#include "ui/print/GridPrinter.h"

#include "platform/Errors.h"
#include "settings/Texts.h"
#include "ui/qt/QtText.h"

#include <QFontDatabase>
#include <QPageLayout>
#include <QPainter>
#include <QPrinter>

#include <algorithm>
#include <cmath>

namespace orvane {

namespace {

constexpr int kScreenDpi = 96;
constexpr int kScreenPadding = 3; // pixels between a cell's border and its text

// Device units of the painter's device.
struct Units {
    double dpiX, dpiY;
    int FromTenthMm(int tenths, bool vertical) const {
        return int(std::lround(tenths * (vertical ? dpiY : dpiX) / 254.0));
    }
    int FromScreen(int pixels) const { return int(std::lround(pixels * dpiX / kScreenDpi)); }
};

constexpr int kHeadingFlags = int(Qt::AlignCenter) | int(Qt::TextWordWrap);
// A long value on an editor page wraps anywhere, so no long word is cut.
constexpr int kWrapFlags = int(Qt::AlignVCenter) | int(Qt::TextWrapAnywhere);

} // namespace

QFont PrintFont(bool bold) {
    QFont font = QFontDatabase::systemFont(QFontDatabase::GeneralFont);
    font.setStyleHint(QFont::SansSerif);
    font.setPointSizeF(8);
    font.setBold(bold);
    return font;
}

std::vector<PrintPage> PaintSheet(QPainter& painter, QSize pageSize,
                                  const std::function<bool()>& newPage, const PrintSheet& sheet,
                                  PrintRange range, const PrintLook& look) {
    QPaintDevice* device = painter.device();
    const Units u{double(device->logicalDpiX()), double(device->logicalDpiY())};
    const QFont font(PrintFont(), device);
    const QFont bold(PrintFont(true), device);
    const QFontMetrics fm(font, device);
    const QFontMetrics bfm(bold, device);
    const int pad = std::max(1, u.FromScreen(kScreenPadding));

    // Measure: columns at their screen widths, rows one line high, the
    // heading row as tall as its tallest wrapped title.
    std::vector<int> widths(std::size_t(std::max(sheet.columnCount, 0)), 0);
    range.lastColumn = std::min(range.lastColumn, sheet.columnCount - 1);
    range.firstColumn = std::max(range.firstColumn, 0);
    for (int c = range.firstColumn; c <= range.lastColumn; ++c)
        widths[std::size_t(c)] = std::max(u.FromScreen(sheet.screenWidth(c)), 2 * pad + 1);
    const int rowHeight = fm.height() + 2 * pad;
    int headingHeight = rowHeight;
    for (int c = range.firstColumn; c <= range.lastColumn; ++c) {
        const QRect r = fm.boundingRect(QRect(0, 0, widths[std::size_t(c)] - 2 * pad, 1 << 20),
                                        kHeadingFlags, sheet.cell(c, 0));
        headingHeight = std::max(headingHeight, r.height() + 2 * pad);
    }
    std::vector<int> heights(std::size_t(std::max(sheet.rowCount, 0)), rowHeight);
    if (!heights.empty()) heights[0] = headingHeight;
    // An editor page is one page wide: its last column takes the rest of the
    // page, and a value longer than its cell wraps onto more lines, its row
    // as tall as they need.
    const bool wrap = look.editorPage && range.firstColumn <= range.lastColumn;
    if (wrap) {
        int total = 0;
        for (int c = range.firstColumn; c <= range.lastColumn; ++c)
            total += widths[std::size_t(c)];
        int& last = widths[std::size_t(range.lastColumn)];
        last = std::max(last, last + pageSize.width() - total);
        const int lastRow = std::min(range.lastRow, sheet.rowCount - 1);
        for (int r = std::max(range.firstRow, 1); r <= lastRow; ++r)
            for (int c = range.firstColumn; c <= range.lastColumn; ++c) {
                const QRect text =
                    fm.boundingRect(QRect(0, 0, widths[std::size_t(c)] - 2 * pad, 1 << 20),
                                    kWrapFlags, sheet.cell(c, r));
                heights[std::size_t(r)] =
                    std::max(heights[std::size_t(r)], text.height() + 2 * pad);
            }
    }

    const int headerBand = std::max(u.FromTenthMm(kPrintHeaderHeight, true), bfm.height());
    const int gridTop = headerBand + u.FromTenthMm(kPrintTitleSpacing, true);
    PageLayout layout;
    layout.pageWidth = pageSize.width();
    layout.pageHeight = pageSize.height();
    layout.headerHeight = gridTop;
    const std::vector<PrintPage> pages =
        Paginate(widths, heights, layout, range, sheet.repeatedColumns);

    QPen pen(Qt::black);
    pen.setWidth(std::max(1, int(u.dpiX / 200)));
    const QString date = look.date.toString(QStringLiteral("dd/MM/yyyy"));
    for (const PrintPage& page : pages) {
        if (page.number > 1 && !newPage()) break;
        // The header line.
        painter.setClipping(false);
        painter.setFont(bold);
        painter.setPen(Qt::black);
        const QRect band(0, 0, pageSize.width(), headerBand);
        const int middle = int(Qt::AlignVCenter) | int(Qt::TextSingleLine);
        if (look.editorPage) {
            painter.drawText(band, int(Qt::AlignLeft) | middle, date);
            painter.drawText(band, int(Qt::AlignHCenter) | middle, look.title);
        } else {
            painter.drawText(band, int(Qt::AlignLeft) | middle, look.title);
            painter.drawText(band, int(Qt::AlignHCenter) | middle, date);
            painter.drawText(band, int(Qt::AlignRight) | middle,
                             Q(PageNumberText(page.number, int(pages.size()))));
        }

        // The heading row, then the page's rows.
        painter.setFont(font);
        auto drawRow = [&](int row, int top, int height) {
            int x = 0;
            for (const ColumnPart& part : page.columns) {
                const QRect cellRect(x, top, part.width, height);
                const int fullWidth = widths[std::size_t(part.column)];
                // The whole column, of which this page shows [offset, offset + width).
                const QRect column(x - part.offset, top, fullWidth, height);
                painter.setClipRect(cellRect);
                if (row == 0) painter.fillRect(cellRect, QColor(235, 235, 235));
                painter.setPen(Qt::black);
                const int align = row == 0 ? kHeadingFlags
                                           : int(sheet.alignment ? sheet.alignment(part.column)
                                                                 : Qt::Alignment(Qt::AlignLeft)) |
                                                 (wrap ? kWrapFlags : middle);
                painter.drawText(column.adjusted(pad, pad, -pad, -pad), align,
                                 sheet.cell(part.column, row));
                painter.setClipping(false);
                painter.setPen(pen);
                painter.drawRect(cellRect);
                x += part.width;
            }
        };
        int y = gridTop;
        drawRow(0, y, headingHeight);
        y += headingHeight;
        for (int row : page.rows) {
            drawRow(row, y, heights[std::size_t(row)]);
            y += heights[std::size_t(row)];
        }
    }
    return pages;
}

void SetUpPrinter(QPrinter& printer, const PrinterChoice& choice, const PrintLook& look) {
    if (!choice.outputFile.empty()) {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(Q(choice.outputFile));
    } else if (!choice.printerName.empty()) {
        printer.setPrinterName(Q(choice.printerName));
    }
    printer.setCopyCount(std::max(choice.copies, 1));
    printer.setColorMode(choice.color ? QPrinter::Color : QPrinter::GrayScale);
    printer.setPageSize(QPageSize(QSizeF(choice.paperWidthMm, choice.paperHeightMm),
                                  QPageSize::Millimeter, QString(), QPageSize::FuzzyMatch));
    printer.setPageOrientation(look.landscape ? QPageLayout::Landscape : QPageLayout::Portrait);
    printer.setFullPage(false);
    printer.setPageMargins(QMarginsF(kPrintLeftMargin / 10.0, kPrintOtherMargins / 10.0,
                                     kPrintOtherMargins / 10.0, kPrintOtherMargins / 10.0),
                           QPageLayout::Millimeter);
}

std::string SuggestedPrintFile(const std::string& folder, const std::string& dataType) {
    return folder + (dataType.empty() ? std::string(txt::PrintDefaultFile) : dataType + ".pdf");
}

std::vector<PrintPage> PrintRangeOf(const PrinterChoice& choice, const PrintSheet& sheet,
                                    PrintRange range, const PrintLook& look) {
    if (range.firstColumn > range.lastColumn || range.firstRow > range.lastRow ||
        range.firstRow >= sheet.rowCount)
        return {};
    QPrinter printer(QPrinter::HighResolution);
    SetUpPrinter(printer, choice, look);
    QPainter painter;
    if (!painter.begin(&printer)) {
        const std::string target =
            choice.outputFile.empty() ? choice.printerName : choice.outputFile;
        throw FileError(txt::PrintCannotStart, target);
    }
    const QSize page = printer.pageLayout().paintRectPixels(printer.resolution()).size();
    std::vector<PrintPage> pages = PaintSheet(
        painter, page, [&] { return printer.newPage(); }, sheet, range, look);
    painter.end();
    return pages;
}

} // namespace orvane
