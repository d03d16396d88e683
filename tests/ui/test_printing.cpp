// Printing driven as a user would: "Imprimer" with a scripted printer choice
// (a PDF file), the print range window's buttons, the editor's page print.
// The pages painted are checked twice: the PDF's page count against the
// pagination, and the texts each page carries (header and heading row)
// through a paint device that records them.
#include "settings/Texts.h"
#include "support/DbdFixtures.h"
#include "support/EditorFixtures.h"
#include "support/EditorHarness.h"
#include "ui/dialogs/PrintRangeDialog.h"
#include "ui/dialogs/RecordEditorDialog.h"
#include "ui/print/GridPrinter.h"
#include "ui/qt/QtText.h"

#include <QLineEdit>
#include <QPaintEngine>
#include <QPainter>

#include <fstream>
#include <regex>
#include <set>

using namespace orvane;
using namespace orvane::testing;

namespace {

// A paint device that keeps the texts drawn on each page.
class TextPages : public QPaintDevice {
  public:
    QList<QStringList> pages{QStringList()};
    QPaintEngine* paintEngine() const override { return &engine_; }

  protected:
    int metric(PaintDeviceMetric m) const override {
        switch (m) {
        case PdmWidth:
            return 3300;
        case PdmHeight:
            return 2300;
        case PdmDpiX:
        case PdmDpiY:
        case PdmPhysicalDpiX:
        case PdmPhysicalDpiY:
            return 300;
        case PdmDepth:
            return 32;
        case PdmDevicePixelRatio:
            return 1;
        case PdmDevicePixelRatioScaled:
            return int(devicePixelRatioFScale());
        default:
            return 1000;
        }
    }

  private:
    struct Engine : QPaintEngine {
        explicit Engine(TextPages* d) : QPaintEngine(AllFeatures), device(d) {}
        bool begin(QPaintDevice*) override { return true; }
        bool end() override { return true; }
        void updateState(const QPaintEngineState&) override {}
        void drawPixmap(const QRectF&, const QPixmap&, const QRectF&) override {}
        void drawPath(const QPainterPath&) override {}
        void drawRects(const QRectF*, int) override {}
        void drawLines(const QLineF*, int) override {}
        void drawPolygon(const QPointF*, int, PolygonDrawMode) override {}
        void drawTextItem(const QPointF&, const QTextItem& item) override {
            device->pages.back() << item.text();
        }
        Type type() const override { return User; }
        TextPages* device;
    };
    mutable Engine engine_{this};
};

struct Printing : EditorHarness {
    explicit Printing(const std::string& language = "francais") : EditorHarness(2, language) {}
    // A table of rows x fields, filled through the grid's reset guard.
    void Table(int rows, int fields) {
        RecordGridModel::Reset reset(*window->Model());
        FillSession(session, PlainFields(fields), rows, session.Language);
    }
    std::string Pdf(const char* name) {
        const std::string path = dir.File(name);
        PrinterChoice choice;
        choice.outputFile = path;
        ui.printerAnswers.push_back(choice);
        return path;
    }
    const std::vector<PrintPage>& Pages() { return window->Commands().print->LastPages(); }

    TempDir dir;
};

} // namespace

class PrintingTest : public QObject {
    Q_OBJECT
  private slots:
    void wholeTableToPdf();
    void everyPageHasHeaderAndHeadings();
    void printRangeWindow();
    void editorPagePrint();
    void editorPageWrapsLongValues();
};

void PrintingTest::wholeTableToPdf() {
    Printing p;
    p.Table(250, 60);
    const std::string pdf = p.Pdf("table.pdf");
    OnNextDialog([](QDialog* d) {
        QCOMPARE(Child<QLineEdit>(d, "edMaxiCol")->text(), QString("60"));
        Child<QPushButton>(d, "btnPrintAll")->click();
        QVERIFY(d->isVisible()); // stays open after printing everything
        Child<QPushButton>(d, "Button1")->click();
    });
    p.Item("Imprimer")->trigger();
    QCOMPARE(p.ui.printerRequests.size(), std::size_t(1));
    QCOMPARE(Q(p.ui.printerRequests[0].suggestedFile), Q(p.world.Work() + "AIRPORT.pdf"));
    QCOMPARE(p.ui.questions, std::vector<std::string>{Format(txt::PrintAllQuestion.fr, 251)});
    QVERIFY(p.ui.messages.empty());

    // The PDF holds the pages laid out: rows down, then the columns that did
    // not fit across, every row and every column exactly once per band.
    const auto& pages = p.Pages();
    QVERIFY(pages.size() > 2);
    QCOMPARE(PdfPageCount(pdf), int(pages.size()));
    std::set<int> columns;
    std::map<int, int> rowsSeen;
    for (const PrintPage& page : pages) {
        QVERIFY(!page.rows.empty() && !page.columns.empty());
        for (const ColumnPart& part : page.columns)
            columns.insert(part.column);
        for (int r : page.rows)
            ++rowsSeen[r];
    }
    QCOMPARE(int(columns.size()), 64);
    QCOMPARE(int(rowsSeen.size()), 250);
    const int bands = rowsSeen[1];
    QVERIFY(bands > 1); // 64 columns do not fit on one landscape page
    for (const auto& [row, count] : rowsSeen)
        QCOMPARE(count, bands);
    // Every page starts with "n°"; the later bands then repeat the first field.
    for (const PrintPage& page : pages) {
        QCOMPARE(page.columns.at(0).column, kColNumber);
        if (page.columns.at(1).column != kColModif)
            QCOMPARE(page.columns.at(1).column, kFirstFieldColumn);
    }

    // The next print proposes the file chosen last.
    p.Pdf("again.pdf");
    OnNextDialog([](QDialog* d) { Child<QPushButton>(d, "Button1")->click(); });
    p.Item("Imprimer")->trigger();
    QCOMPARE(p.ui.printerRequests.size(), std::size_t(2));
    QCOMPARE(Q(p.ui.printerRequests[1].suggestedFile), Q(pdf));
}

void PrintingTest::everyPageHasHeaderAndHeadings() {
    SessionState session;
    FillSession(session, PlainFields(60), 250);
    const RecordTable& t = session.Table;
    PrintSheet sheet{t.ColumnCount(),
                     t.RowCount(),
                     [&t](int c, int r) { return CellToQString(t.Cell(c, r)); },
                     [](int) { return 90; },
                     {}};
    TextPages device;
    QPainter painter(&device);
    PrintLook look;
    look.date = QDate(2024, 3, 9);
    const auto pages = PaintSheet(
        painter, QSize(3300, 2300),
        [&] {
            device.pages << QStringList();
            return true;
        },
        sheet, PrintAllRange(t), look);
    painter.end();
    QCOMPARE(device.pages.size(), qsizetype(pages.size()));
    for (const PrintPage& page : pages) {
        const QStringList& texts = device.pages[page.number - 1];
        QVERIFY(texts.contains("09/03/2024"));
        QVERIFY(texts.contains(QString("%1/%2").arg(page.number).arg(pages.size())));
        for (const ColumnPart& part : page.columns)
            QVERIFY2(texts.contains(CellToQString(t.Cell(part.column, 0))),
                     qPrintable(QString("page %1 column %2").arg(page.number).arg(part.column)));
        QVERIFY(
            texts.contains(CellToQString(t.Cell(page.columns.front().column, page.rows.back()))));
    }
}

void PrintingTest::printRangeWindow() {
    Printing p("english");
    p.Table(20, 10);
    const std::string pdf = p.Pdf("range.pdf");
    OnNextDialog([](QDialog* d) {
        QCOMPARE(d->windowTitle(), Q(txt::PrintRangeCaption.en));
        Child<QLineEdit>(d, "edMaxiCol")->setText("0"); // nothing to print: says so, stays open
        Child<QPushButton>(d, "btnPrintSel")->click();
        QVERIFY(d->isVisible());
        Child<QLineEdit>(d, "edMaxiCol")->setText("3");
        Child<QLineEdit>(d, "edPLigne")->setText("4");
        Child<QLineEdit>(d, "edDLigne")->setText("6");
        Child<QPushButton>(d, "btnPrintSel")->click(); // prints and closes
    });
    p.Item("Imprimer")->trigger();
    QCOMPARE(p.ui.messages.size(), std::size_t(1));
    QCOMPARE(Q(p.ui.messages[0].text), Q(txt::PrintNoColumn.en));
    QCOMPARE(p.Pages().size(), std::size_t(1));
    QCOMPARE(p.Pages()[0].rows, (std::vector<int>{4, 5, 6}));
    QCOMPARE(p.Pages()[0].columns.front().column, 4);
    QCOMPARE(p.Pages()[0].columns.back().column, 6);
    QCOMPARE(PdfPageCount(pdf), 1);

    // The row boxes keep their values, the column box is preset; last before
    // first: the error, nothing printed, the window closes.
    p.Pdf("again.pdf");
    OnNextDialog([](QDialog* d) {
        QCOMPARE(Child<QLineEdit>(d, "edPLigne")->text(), QString("4"));
        QCOMPARE(Child<QLineEdit>(d, "edMaxiCol")->text(), QString("10"));
        Child<QLineEdit>(d, "edDLigne")->setText("2");
        Child<QPushButton>(d, "btnPrintSel")->click();
    });
    p.Item("Imprimer")->trigger();
    QCOMPARE(Q(p.ui.messages.back().text), Q(txt::PrintLastBeforeFirst.en));
    QVERIFY(!p.Commands().print->Form()->isVisible());
    QVERIFY(!std::ifstream(p.dir.File("again.pdf")).good());
    // The printer dialog cancelled: no window.
    p.Item("Imprimer")->trigger();
    QCOMPARE(p.ui.printerRequests.size(), std::size_t(3));
}

void PrintingTest::editorPagePrint() {
    Printing p;
    p.Table(3, 40);
    RecordEditorDialog& editor = *p.window->RecordEditor();
    const std::string pdf = p.Pdf("page.pdf");
    editor.show();
    Child<QTabBar>(&editor, "TabControl")->setCurrentIndex(1);
    Child<QPushButton>(&editor, "btnPrint")->click();
    QCOMPARE(PdfPageCount(pdf), 1);
    // Portrait: the page is taller than wide.
    const std::string bytes = ReadBytes(pdf);
    std::smatch box;
    QVERIFY(std::regex_search(bytes, box, std::regex(R"(/MediaBox \[0 0 ([0-9.]+) ([0-9.]+)\])")));
    QVERIFY(std::stod(box[1]) < std::stod(box[2]));
    editor.reject();
}

// A value longer than its cell: the value column takes the page's width and
// the value wraps, every character printed.
void PrintingTest::editorPageWrapsLongValues() {
    const QString remarks = QString("Runway 02/20 closed on Sundays; ").repeated(8);
    const QString texts[3][4] = {{"Title", "Type", "Width", "Value"},
                                 {"Name", "C", "40", "Tours Val de Loire"},
                                 {"Remarks", "C", "250", remarks}};
    PrintSheet sheet{4,
                     3,
                     [&](int c, int r) { return texts[r][c]; },
                     [](int c) { return kEditorColumnWidths[std::size_t(c)]; },
                     {}};
    TextPages device;
    QPainter painter(&device);
    PrintLook look;
    look.landscape = false;
    look.editorPage = true;
    const QSize page(2300, 3300);
    const auto pages = PaintSheet(
        painter, page, [] { return false; }, sheet, {0, 3, 1, 2}, look);
    painter.end();
    QCOMPARE(pages.size(), std::size_t(1));
    int width = 0;
    for (const ColumnPart& part : pages[0].columns)
        width += part.width;
    QCOMPARE(width, page.width());
    QString printed = device.pages[0].join(QString());
    printed.remove(' ');
    QVERIFY(printed.contains(QString(remarks).remove(' ')));
    QVERIFY(printed.contains("ToursValdeLoire"));
    QVERIFY(device.pages[0].filter("Runway").size() > 1); // on several lines
}

QTEST_MAIN(PrintingTest)
#include "test_printing.moc"
