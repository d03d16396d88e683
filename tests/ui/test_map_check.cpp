// The map page and the check, as a user meets them: the points of the loaded
// airports, a click that makes a row current, a longitude whose sign changes,
// the map's commands and keys, the hover hint, the coasts; the findings
// beside the grid, walked through from the keyboard, following the edits.
#include "database/TableCheck.h"
#include "demo/DemoFolder.h"
#include "support/EditorHarness.h"
#include "ui/map/CheckPanel.h"
#include "ui/map/MapWidget.h"
#include "ui/qt/QtText.h"

#include <QImage>
#include <QLineEdit>
#include <QListView>
#include <QPainter>
#include <QTabWidget>

using namespace orvane;
using namespace orvane::testing;
using orvane::testing::EditorHarness;

class TestMapCheck : public QObject {
    Q_OBJECT
  private slots:
    void landIsCompiledIn();
    void clickOnAPointMakesItsRowCurrent();
    void aLongitudeChangedMovesThePoint();
    void marksAndTheCurrentRowAreDrawn();
    void findingsAreWalkedThroughFromTheKeyboard();
    void findingsGoToTheCellAndFollowTheEdits();
    void mapCommandsAndKeys();
    void hintNamesTheRowByItsCode();
    void coastsHaveNoSeams();
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
    WithPod<EditorHarness> h;
    MapWidget* map = h.Find<MapWidget>("Carte");
    h.Find<QTabWidget>("PageControl")->setCurrentWidget(map);
    QCoreApplication::processEvents();
    QCOMPARE(h.Find<QTabWidget>("PageControl")->tabText(2), QString("Map"));
    QCOMPARE(map->Points().Items().size(), std::size_t(3));

    const MapItem* brest = map->Points().ItemOfRow(3);
    QVERIFY(brest);
    const ScreenPoint at = map->View().ToScreen(map->Points().End(*brest, 0));
    QVERIFY(at.x > 0 && at.x < map->width() && at.y > 0 && at.y < map->height());
    QTest::mouseClick(map, Qt::LeftButton, {}, QPoint(int(at.x), int(at.y)));
    QCOMPARE(h.session.Table.CurrentRow(), 3);
    QCOMPARE(h.Find<QTabWidget>("PageControl")->currentWidget(), h.Find<QWidget>("vue_globale"));
    QCOMPARE(h.Grid()->currentIndex().row(), 2);
    QVERIFY(map->RowHint(3).contains("Brest Guipavas"));
    QVERIFY2(map->RowHint(3).contains(QString::fromUtf8("Lon W4\xC2\xB0 27'")),
             qPrintable(map->RowHint(3)));
}

void TestMapCheck::aLongitudeChangedMovesThePoint() {
    WithPod<EditorHarness> h;
    MapWidget* map = h.Find<MapWidget>("Carte");
    const double before = map->Points().End(*map->Points().ItemOfRow(3), 0).lon;
    QVERIFY(h.model().setData(h.model().index(2, kFirstFieldColumn + 3), "16037.75"));
    const double after = map->Points().End(*map->Points().ItemOfRow(3), 0).lon;
    QVERIFY(before < -4 && after > 4);
}

void TestMapCheck::marksAndTheCurrentRowAreDrawn() {
    WithPod<EditorHarness> h;
    MapWidget* map = h.Find<MapWidget>("Carte");
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

void TestMapCheck::findingsAreWalkedThroughFromTheKeyboard() {
    WithPod<EditorHarness> h;
    h.window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(h.window.get()));
    CheckPanel* panel = h.Find<CheckPanel>("Verification");
    h.model().setData(h.model().index(0, kFirstFieldColumn + 2), "400000");
    h.model().setData(h.model().index(1, kFirstFieldColumn + 5), "300");
    h.model().setData(h.model().index(2, kFirstFieldColumn), "3A2F1B01");
    h.session.Table.SetCurrentCell(kFirstFieldColumn + 1, 2);

    // F7 from the map page: the Records page, the list in hand on its first
    // finding, the grid where it was.
    h.Find<QTabWidget>("PageControl")->setCurrentWidget(h.Find<MapWidget>("Carte"));
    h.Item("Verifier")->trigger();
    QCOMPARE(h.Find<QTabWidget>("PageControl")->currentWidget(), h.Find<QWidget>("vue_globale"));
    QCOMPARE(panel->FindingCount(), 3);
    QVERIFY(panel->List()->hasFocus());
    QCOMPARE(panel->List()->currentIndex().row(), 0);
    QCOMPARE(h.session.Table.CurrentColumn(), kFirstFieldColumn + 1);

    // The arrows show each finding's cell and keep the list in hand...
    QTest::keyClick(panel->List(), Qt::Key_Down);
    QCOMPARE(h.session.Table.CurrentRow(), 2);
    QCOMPARE(h.session.Table.CurrentColumn(), kFirstFieldColumn + 5);
    QCOMPARE(h.Grid()->currentIndex(), h.model().index(1, kFirstFieldColumn + 5));
    QTest::keyClick(panel->List(), Qt::Key_Down);
    QCOMPARE(h.session.Table.CurrentRow(), 3);
    QVERIFY(panel->List()->hasFocus());
    QTest::keyClick(panel->List(), Qt::Key_Up);
    QCOMPARE(h.session.Table.CurrentRow(), 2);
    // ...Enter goes to the cell.
    QTest::keyClick(panel->List(), Qt::Key_Return);
    QVERIFY(h.Grid()->hasFocus());
    QCOMPARE(h.Grid()->currentIndex(), h.model().index(1, kFirstFieldColumn + 5));
    // F7 again keeps the place in the list.
    h.Item("Verifier")->trigger();
    QCOMPARE(panel->List()->currentIndex().row(), 1);

    // F7 while a cell is being typed: the typed text is what gets checked.
    const QModelIndex latitude = h.model().index(0, kFirstFieldColumn + 2);
    h.Grid()->setFocus();
    h.Grid()->setCurrentIndex(latitude);
    QTest::keyClick(h.Grid(), Qt::Key_F2);
    auto* editor = qobject_cast<QLineEdit*>(QApplication::focusWidget());
    QVERIFY(editor);
    editor->setText("176435");
    h.Item("Verifier")->trigger();
    QCOMPARE(h.session.Table.Cell(kFirstFieldColumn + 2, 1), "176435");
    QCOMPARE(panel->FindingCount(), 2);
    QVERIFY(panel->FindingAt(0).startsWith("Row 2"));
    QVERIFY(panel->List()->hasFocus());
}

// The check lists its findings, a double click goes to the cell, and the
// list follows the edits.
void TestMapCheck::findingsGoToTheCellAndFollowTheEdits() {
    WithPod<EditorHarness> h;
    CheckPanel* panel = h.Find<CheckPanel>("Verification");
    h.Item("Verifier")->trigger();
    QVERIFY(panel->isVisible());
    QCOMPARE(panel->FindingCount(), 0);
    h.model().setData(h.model().index(0, kFirstFieldColumn + 2), "400000");
    h.model().setData(h.model().index(2, kFirstFieldColumn), "3A2F1B01");
    h.Item("Verifier")->trigger();
    QCOMPARE(panel->Heading(), QString("Check: 2 findings"));
    QCOMPARE(panel->FindingAt(0), QString("Row 1, Latitude (seconds): latitude "
                                          "111.1111° beyond ±90°"));
    QVERIFY(panel->FindingAt(1).startsWith("Row 3, Unique identifier: key"));
    h.Find<QTabWidget>("PageControl")->setCurrentIndex(2);
    emit panel->List()->doubleClicked(panel->List()->model()->index(1, 0));
    QCOMPARE(h.Find<QTabWidget>("PageControl")->currentIndex(), 0);
    QCOMPARE(h.session.Table.CurrentRow(), 3);
    QCOMPARE(h.session.Table.CurrentColumn(), kFirstFieldColumn);
    panel->List()->setCurrentIndex(panel->List()->model()->index(0, 0));

    // Fixed in the grid: the finding goes, the next one becomes current.
    h.model().setData(h.model().index(0, kFirstFieldColumn + 2), "176435");
    QCOMPARE(panel->FindingCount(), 1);
    QCOMPARE(panel->Heading(), QString("Check: 1 finding"));
    QVERIFY(panel->FindingAt(0).startsWith("Row 3, Unique identifier"));
    QCOMPARE(panel->List()->currentIndex().row(), 0);
    // The first holder of the key changes it: the repeat is no repeat any more.
    h.model().setData(h.model().index(1, kFirstFieldColumn), "3A2F1B07");
    QCOMPARE(panel->FindingCount(), 0);
    QCOMPARE(panel->Heading(), QString("Check: nothing found"));
    // Undo brings the repeat back; a deleted row takes its findings along.
    h.Item("Annuler")->trigger();
    QCOMPARE(panel->FindingCount(), 1);
    h.model().setData(h.model().index(1, kFirstFieldColumn + 4), "x");
    QCOMPARE(panel->FindingCount(), 2);
    h.session.Table.SetCurrentRow(2);
    h.Button("btnSuppLigne")->click();
    QCOMPARE(panel->FindingCount(), 0);
    // A closed panel does not follow; F7 checks afresh.
    panel->hide();
    h.model().setData(h.model().index(0, kFirstFieldColumn + 2), "400000");
    QCOMPARE(panel->FindingCount(), 0);
    h.Item("Verifier")->trigger();
    QCOMPARE(panel->FindingCount(), 1);
}

void TestMapCheck::mapCommandsAndKeys() {
    WithPod<EditorHarness> h;
    MapWidget* map = h.Find<MapWidget>("Carte");
    h.Find<QTabWidget>("PageControl")->setCurrentWidget(map);
    QCoreApplication::processEvents();
    const auto inView = [&](int row) {
        const ScreenPoint s =
            map->View().ToScreen(map->Points().End(*map->Points().ItemOfRow(row), 0));
        return s.x > 0 && s.x < map->width() && s.y > 0 && s.y < map->height();
    };
    QVERIFY(inView(1) && inView(2) && inView(3));
    const double fitted = map->View().Scale();

    // The arrows pan: Right looks east, Up north.
    const GeoPoint start = map->View().Centre();
    QTest::keyClick(map, Qt::Key_Right);
    QVERIFY(map->View().Centre().lon > start.lon);
    QTest::keyClick(map, Qt::Key_Up);
    QVERIFY(map->View().Centre().lat > start.lat);
    // + and - zoom by two about the centre, as the buttons do.
    QTest::keyClick(map, Qt::Key_Plus);
    QCOMPARE(map->View().Scale(), fitted * 2);
    QTest::keyClick(map, Qt::Key_Minus);
    QCOMPARE(map->View().Scale(), fitted);
    map->ZoomInAction()->trigger();
    QCOMPARE(map->View().Scale(), fitted * 2);

    // Far away: Home brings every point back.
    map->View().SetView({140, -30}, fitted / 2);
    QVERIFY(!inView(3));
    QTest::keyClick(map, Qt::Key_Home);
    QVERIFY(inView(1) && inView(2) && inView(3));
    QCOMPARE(map->View().Scale(), fitted);

    // C centres the current row, close enough to tell it from its neighbours.
    map->View().ShowWorld();
    h.session.Table.SetCurrentRow(3);
    QTest::keyClick(map, Qt::Key_C);
    const GeoPoint brest = map->Points().End(*map->Points().ItemOfRow(3), 0);
    QVERIFY(std::abs(map->View().Centre().lon - brest.lon) < 1e-9);
    QVERIFY(std::abs(map->View().Centre().lat - brest.lat) < 1e-9);
    QVERIFY(map->View().Scale() >= 200);
    // The buttons carry the commands, named in the window's language.
    QCOMPARE(map->FitAllAction()->text(), QString("Fit all (Home)"));
    QCOMPARE(map->CentreAction()->text(), QString("Centre on current row (C)"));
    QVERIFY(map->findChild<QAction*>("MapZoomOut"));
}

void TestMapCheck::hintNamesTheRowByItsCode() {
    orvane::testing::TempDir dir;
    MakeDemoFolder(dir.Path());
    for (const char* type : {"AIRPORT", "NAVAID"}) {
        EditorHarness h;
        h.Open(h.Item("POD_ouvrir"), dir.Path() + "/fly2/system/" + type + ".POD");
        MapWidget* map = h.Find<MapWidget>("Carte");
        const RecordTable& t = h.session.Table;
        QVERIFY(t.RowCount() > 1);
        const int code = map->LabelColumn();
        QVERIFY(code >= 0);
        const QString title = CellToQString(t.Cell(code, 0));
        QCOMPARE(title,
                 QString(std::string_view(type) == "AIRPORT" ? "ICAO identifier" : "Identifier"));
        const QString hint = map->RowHint(1);
        const QString firstLine = hint.section('\n', 0, 0);
        QVERIFY2(firstLine.startsWith(CellToQString(TrimCell(t.Cell(code, 1))) + " - "),
                 qPrintable(hint));
        QVERIFY2(!firstLine.contains(
                     CellToQString(TrimCell(t.Cell(KeyColumn(h.session.Fields(), "NAVAID"), 1)))),
                 qPrintable(hint)); // not the hexadecimal identifier
        QVERIFY(hint.contains("Lat "));
    }
}

void TestMapCheck::coastsHaveNoSeams() {
    // The rings' closing edges along the antimeridian and along the south
    // pole (y = 90 here, southward) are filled but not stroked.
    const QPainterPath& coast = MapWidget::Coast();
    QVERIFY(coast.elementCount() > 4000);
    int seams = 0;
    for (int i = 1; i < coast.elementCount(); ++i) {
        const QPainterPath::Element a = coast.elementAt(i - 1), b = coast.elementAt(i);
        if (!b.isLineTo()) continue;
        const bool meridian = std::abs(std::abs(a.x) - 180) < 1e-3 && a.x == b.x;
        const bool pole = a.y >= 89.999 && b.y >= 89.999;
        seams += meridian || pole;
    }
    QCOMPARE(seams, 0);
    // The land still holds them: the fill reaches the antimeridian and the pole.
    QVERIFY(MapWidget::Land().contains(QPointF(179.9, 89.5)));
}

QTEST_MAIN(TestMapCheck)
#include "test_map_check.moc"
