// The map page and the check, as a user meets them: the points of the loaded
// airports, a click that makes a row current, a longitude whose sign changes,
// the findings beside the grid and a double click that goes to the cell.
#include "support/EditorHarness.h"
#include "ui/grid/RecordGridView.h"
#include "ui/map/CheckPanel.h"
#include "ui/map/MapWidget.h"

#include <QImage>
#include <QListWidget>
#include <QPainter>
#include <QTabWidget>
#include <QTest>

using namespace orvane;
using orvane::testing::EditorHarness;

class TestMapCheck : public QObject {
    Q_OBJECT
  private slots:
    void landIsCompiledIn();
    void clickOnAPointMakesItsRowCurrent();
    void aLongitudeChangedMovesThePoint();
    void marksAndTheCurrentRowAreDrawn();
    void checkListsFindingsAndGoesToTheCell();
};

void TestMapCheck::landIsCompiledIn() {
    const QRectF box = MapWidget::Land().boundingRect();
    QVERIFY(MapWidget::Land().elementCount() > 4000);
    QVERIFY(box.left() <= -179 && box.right() >= 179);
    QVERIFY(box.top() <= -83 && box.bottom() >= 85); // Greenland to Antarctica, y southward
    // Paris is on land, the middle of the Atlantic is not.
    QVERIFY(MapWidget::Land().contains(QPointF(2.35, -48.85)));
    QVERIFY(!MapWidget::Land().contains(QPointF(-30, -40)));
}

void TestMapCheck::clickOnAPointMakesItsRowCurrent() {
    EditorHarness h;
    h.Open(h.window->POD_ouvrir, h.world.Pod());
    MapWidget* map = h.window->Carte;
    h.window->PageControl->setCurrentWidget(map);
    QCoreApplication::processEvents();
    QCOMPARE(h.window->PageControl->tabText(2), QString("Map"));
    QCOMPARE(map->Points().Items().size(), std::size_t(3));

    const MapItem* brest = map->Points().ItemOfRow(3);
    QVERIFY(brest);
    const ScreenPoint at = map->View().ToScreen(map->Points().End(*brest, 0));
    QVERIFY(at.x > 0 && at.x < map->width() && at.y > 0 && at.y < map->height());
    QTest::mouseClick(map, Qt::LeftButton, {}, QPoint(int(at.x), int(at.y)));
    QCOMPARE(h.session.Table.CurrentRow(), 3);
    QCOMPARE(h.window->PageControl->currentWidget(), h.window->vue_globale);
    QCOMPARE(h.window->DataGrid->currentIndex().row(), 2);
    QVERIFY(map->RowHint(3).contains("Brest Guipavas"));
    QVERIFY2(map->RowHint(3).contains(QString::fromUtf8("Lon W4\xC2\xB0 27'")),
             qPrintable(map->RowHint(3)));
}

void TestMapCheck::aLongitudeChangedMovesThePoint() {
    EditorHarness h;
    h.Open(h.window->POD_ouvrir, h.world.Pod());
    MapWidget* map = h.window->Carte;
    const double before = map->Points().End(*map->Points().ItemOfRow(3), 0).lon;
    QVERIFY(h.model().setData(h.model().index(2, kFirstFieldColumn + 3), "16037.75"));
    const double after = map->Points().End(*map->Points().ItemOfRow(3), 0).lon;
    QVERIFY(before < -4 && after > 4);
}

void TestMapCheck::marksAndTheCurrentRowAreDrawn() {
    EditorHarness h;
    h.Open(h.window->POD_ouvrir, h.world.Pod());
    MapWidget* map = h.window->Carte;
    h.session.Table.SetCell(kColSuppr, 3, "x"); // Brest marked for deletion
    h.session.Table.SetCurrentRow(1);
    map->resize(600, 400);
    map->View().SetViewport(600, 400);
    map->FitToPoints();
    QImage image(600, 400, QImage::Format_RGB32);
    QPainter painter(&image);
    map->Render(painter);
    painter.end();
    const auto pixel = [&](int row) {
        const ScreenPoint s =
            map->View().ToScreen(map->Points().End(*map->Points().ItemOfRow(row), 0));
        return image.pixelColor(int(s.x), int(s.y));
    };
    QCOMPARE(pixel(3), QColor(210, 20, 20)); // red
    QCOMPARE(pixel(2), QColor(230, 130, 0)); // selected for export: orange
    QCOMPARE(pixel(1), QColor(25, 70, 160)); // the current row's own colour...
    const ScreenPoint c = map->View().ToScreen(map->Points().End(*map->Points().ItemOfRow(1), 0));
    QCOMPARE(image.pixelColor(int(c.x) + 5, int(c.y)), QColor(255, 230, 0)); // ...in a yellow ring
}

void TestMapCheck::checkListsFindingsAndGoesToTheCell() {
    EditorHarness h;
    h.Open(h.window->POD_ouvrir, h.world.Pod());
    CheckPanel* panel = h.window->Verification;
    h.window->Verifier->trigger();
    QVERIFY(panel->isVisible());
    QCOMPARE(panel->FindingCount(), 0);

    h.model().setData(h.model().index(0, kFirstFieldColumn + 2), "400000");
    h.model().setData(h.model().index(2, kFirstFieldColumn), "3A2F1B01");
    h.window->Verifier->trigger();
    QCOMPARE(panel->FindingCount(), 2);
    QCOMPARE(panel->List()->item(0)->text(), QString("Row 1, Latitude (seconds): latitude "
                                                     "111.1111° beyond ±90°"));
    QListWidgetItem* dup = panel->List()->item(1);
    QVERIFY(dup->text().startsWith("Row 3, Unique identifier: key"));
    h.window->PageControl->setCurrentIndex(2);
    emit panel->List()->itemDoubleClicked(dup);
    QCOMPARE(h.window->PageControl->currentIndex(), 0);
    QCOMPARE(h.session.Table.CurrentRow(), 3);
    QCOMPARE(h.session.Table.CurrentColumn(), kFirstFieldColumn);
}

QTEST_MAIN(TestMapCheck)
#include "test_map_check.moc"
