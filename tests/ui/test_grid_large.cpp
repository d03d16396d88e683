// The grid on a table of 100,000 records: opening, sorting by a heading and
// scrolling to the end must stay in the range of a second or two, not grow
// with per-row work in the window. Prints the times it measured.
#include "database/ArchiveWriter.h"
#include "support/DbdFixtures.h"
#include "support/ScriptedInteraction.h"
#include "support/TempDir.h"
#include "ui/MainWindow.h"
#include "ui/grid/RecordGridModel.h"
#include "ui/grid/RecordGridView.h"

#include <QElapsedTimer>
#include <QHeaderView>
#include <QScrollBar>
#include <QTest>

using namespace orvane;
using namespace orvane::testing;

class GridLargeTest : public QObject {
    Q_OBJECT
  private slots:
    void openSortScroll();
};

void GridLargeTest::openSortScroll() {
    constexpr int kRows = 100000;
    TempDir dir;
    std::vector<std::string> records;
    records.reserve(kRows);
    for (int n = 0; n < kRows; ++n)
        records.push_back(AirportLikeRecord(n));
    const std::string archive = dir.File("AIRPORT.POD");
    WriteArchive(archive, ArchiveLayout::Pod3,
                 {{"DATABASE\\AIRPORT.DBT", TemplateText(AirportLikeFields()), 0},
                  {"DATABASE\\AIRPORT.DBD", DbdBytes("aprt", kAirportLikeRecordSize, records), 0}});
    records.clear();

    SessionState session;
    ScriptedInteraction ui;
    TForm_main window(session, ui, &ui, dir.File("Orvane.ini"));
    window.show();
    QCoreApplication::processEvents();

    QElapsedTimer t;
    t.start();
    QVERIFY(window.LoadArchive(archive));
    QCoreApplication::processEvents();
    const qint64 open = t.restart();
    QCOMPARE(window.Model()->rowCount(), kRows);

    // A text column, then a numeric one, by heading clicks.
    QHeaderView* h = window.DataGrid->horizontalHeader();
    auto click = [&](int col) {
        window.DataGrid->scrollTo(window.Model()->index(0, col));
        QTest::mouseClick(
            h->viewport(), Qt::LeftButton, {},
            QPoint(h->sectionViewportPosition(col) + h->sectionSize(col) / 2, h->height() / 2));
        QCoreApplication::processEvents();
    };
    click(5);
    click(6);
    const qint64 sort = t.restart();
    QVERIFY(window.SortColumn() == 6);
    // The rows really are in order of column 6 (numbers as numbers).
    auto value = [&](int row) { return window.Model()->index(row, 6).data().toString(); };
    for (int row = 1; row < kRows; row += 997) {
        bool a = false, b = false;
        const double x = value(row - 1).toDouble(&a), y = value(row).toDouble(&b);
        if (a && b)
            QVERIFY(x <= y);
        else
            QVERIFY(value(row - 1) <= value(row) || a);
    }

    QScrollBar* bar = window.DataGrid->verticalScrollBar();
    for (int step = 0; step <= 50; ++step) {
        bar->setValue(bar->maximum() * step / 50);
        window.DataGrid->viewport()->repaint();
    }
    const qint64 scroll = t.restart();
    QCOMPARE(bar->value(), bar->maximum());

    qInfo("100,000 rows: open %lld ms, two heading sorts %lld ms, 51 scroll steps %lld ms", open,
          sort, scroll);
    // Generous bounds: they fail on work per row in the window, not on a busy machine.
    QVERIFY2(open < 15000, "open");
    QVERIFY2(sort < 15000, "sort");
    QVERIFY2(scroll < 5000, "scroll");
}

QTEST_MAIN(GridLargeTest)
#include "test_grid_large.moc"
