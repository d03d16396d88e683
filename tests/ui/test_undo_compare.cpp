// Undo and redo in the main window: the Edition items and their captions,
// the grid and labels after each step, the unsaved mark around a save, and
// no undo in direct-write mode.
#include "settings/Texts.h"
#include "support/EditorHarness.h"
#include "ui/Captions.h"
#include "ui/commands/CompareCommands.h"
#include "ui/grid/RecordGridView.h"
#include "ui/qt/QtText.h"

#include <QAction>
#include <QBrush>
#include <QDockWidget>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTest>

using namespace orvane;
using orvane::testing::EditorHarness;

class UndoCompareTest : public QObject {
    Q_OBJECT
  private slots:
    void undoRedoAndTheUnsavedMark();
    void noUndoInDirectWriteMode();
    void compareColoursTheChanges();
};

namespace {
QString Read(const QAction* a) {
    return Captions::Plain(a->text());
}
} // namespace

void UndoCompareTest::undoRedoAndTheUnsavedMark() {
    EditorHarness h(2, "french");
    h.Open(h.window->POD_ouvrir, h.world.Pod());
    QAction* undo = h.window->Annuler;
    QAction* redo = h.window->Retablir;
    QVERIFY(!undo->isEnabled() && !redo->isEnabled());
    QCOMPARE(Read(undo), Q("Annuler"));
    QVERIFY(redo->shortcuts().contains(QKeySequence("Ctrl+Shift+Z")));
    const QString name = h.Cell(5, 1);

    QVERIFY(h.model().setData(h.model().index(0, 5), QString("Roissy")));
    QCOMPARE(Read(undo), Q("Annuler : saisie en ligne 1"));
    h.window->DataGrid->setCurrentIndex(h.model().index(1, 5));
    h.ui.answers = {true};
    h.window->btnSuppLigne->click();
    QCOMPARE(h.model().rowCount(), 2);
    QCOMPARE(h.window->lblSelect->text(), Q("0 ligne sélectionnée")); // the selected row went
    QCOMPARE(Read(undo), Q("Annuler : suppression de la ligne 2"));
    QVERIFY(h.window->HasUnsavedChanges());

    undo->trigger();
    QCOMPARE(h.model().rowCount(), 3);
    QCOMPARE(h.window->lblSelect->text(), Q("1 ligne sélectionnée"));
    QCOMPARE(Read(redo), Q("Rétablir : suppression de la ligne 2"));
    undo->trigger();
    QCOMPARE(h.Cell(5, 1), name);
    QVERIFY(!h.window->HasUnsavedChanges()); // back to the state loaded
    QVERIFY(!undo->isEnabled());

    redo->trigger();
    redo->trigger();
    QCOMPARE(h.Cell(5, 1), QString("Roissy"));
    QCOMPARE(h.model().rowCount(), 2);
    QVERIFY(!redo->isEnabled());

    // The save is the new clean point.
    h.Save(h.window->DBD_Enregistrer_tout, h.world.dir.File("work/SAVED.dbd"));
    QVERIFY(!h.window->HasUnsavedChanges());
    undo->trigger();
    QVERIFY(h.window->HasUnsavedChanges());
    redo->trigger();
    QVERIFY(!h.window->HasUnsavedChanges());

    // A heading sort is a step; a new load starts a new history.
    h.window->DataGridHeadingClick(5);
    QVERIFY(Read(undo).startsWith(Q("Annuler : tri par ")));
    h.ui.answers = {true};
    h.Open(h.window->POD_ouvrir, h.world.Pod());
    QVERIFY(!undo->isEnabled());
    QCOMPARE(h.model().rowCount(), 3);
}

void UndoCompareTest::noUndoInDirectWriteMode() {
    EditorHarness h(2, "english");
    h.Open(h.window->POD_ouvrir, h.world.Pod());
    QVERIFY(h.model().setData(h.model().index(0, 5), QString("Roissy")));
    QVERIFY(h.window->Annuler->isEnabled());
    QCOMPARE(Read(h.window->Annuler), QString("Undo: typing in line 1"));
    h.Open(h.window->POD_ouvrir_ligne, h.world.Pod());
    QVERIFY(h.window->gbEdition->isHidden());
    QVERIFY(h.model().setData(h.model().index(1, 5), QString("Written")));
    QVERIFY(!h.window->Annuler->isEnabled());
    h.window->POD_mode_normal->trigger();
    QVERIFY(!h.window->Annuler->isEnabled()); // what was written stays written
}

void UndoCompareTest::compareColoursTheChanges() {
    EditorHarness h(2, "english");
    h.Open(h.window->POD_ouvrir, h.world.Pod());
    QVERIFY(h.model().setData(h.model().index(0, 5), QString("Roissy")));
    h.window->DataGrid->setCurrentIndex(h.model().index(2, 5));
    h.ui.answers = {true};
    h.window->btnSuppLigne->click(); // the third airport goes
    h.window->btnAjoutFin->click();  // a new row, under a key of its own
    QVERIFY(h.model().setData(h.model().index(2, 4), QString("3A2F1BFF")));
    const auto colour = [&](int col, int tableRow) {
        return h.model().index(tableRow - 1, col).data(Qt::BackgroundRole).value<QBrush>().color();
    };
    QCOMPARE(colour(5, 1), QColor(Qt::black)); // no comparison yet

    h.Open(h.window->Comparer, h.world.Pod());
    QCOMPARE(colour(5, 1), QColor(255, 226, 140)); // the changed name
    QCOMPARE(colour(4, 1), QColor(Qt::black));
    QCOMPARE(colour(5, 2), QColor(Qt::black));     // unchanged row
    QCOMPARE(colour(6, 3), QColor(198, 239, 198)); // the row added
    QListWidget* missing = h.window->Compare()->MissingList();
    QVERIFY(h.window->Compare()->Panel()->isVisibleTo(h.window.get()));
    QCOMPARE(missing->count(), 1);
    QVERIFY(missing->item(0)->text().endsWith("(line 3 of the other table)"));
    emit missing->itemClicked(missing->item(0));
    QCOMPARE(h.session.Table.CurrentRow(), 2); // where the missing row stood

    // The next change clears the colours and the panel.
    QVERIFY(h.model().setData(h.model().index(1, 5), QString("Other")));
    QCoreApplication::processEvents();
    QCOMPARE(colour(6, 3), QColor(Qt::black));
    QVERIFY(!h.window->Compare()->Panel()->isVisibleTo(h.window.get()));

    // A DBD on disk compares as well; the grid now differs in two rows.
    h.Open(h.window->Comparer, h.world.DiskDbd());
    QVERIFY(h.ui.messages.empty());
    QCOMPARE(colour(5, 2), QColor(255, 226, 140));
}

QTEST_MAIN(UndoCompareTest)
#include "test_undo_compare.moc"
