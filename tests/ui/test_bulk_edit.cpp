// The spreadsheet commands in the main window: the clipboard both ways
// with a spreadsheet's text, paste refusals and rows added, fill down,
// find and replace, the filter row, and the search of every field.
#include "settings/Texts.h"
#include "support/EditorHarness.h"
#include "ui/commands/BulkEditCommands.h"
#include "ui/dialogs/ReplaceDialog.h"
#include "ui/grid/FilterBar.h"
#include "ui/qt/QtText.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QItemSelectionModel>
#include <QLineEdit>
#include <QStatusBar>

using namespace orvane;
using namespace orvane::testing;

class BulkEditTest : public QObject {
    Q_OBJECT
  private slots:
    void copyAndPasteASpreadsheetBlock();
    void pasteRefusesAsAWholeAndAsksBeforeAddingRows();
    void fillDownAndCut();
    void replaceAllIsOneStep();
    void filterRowShowsTheMatchingRows();
    void searchFindsAnyFieldAndSaysWhere();
};

namespace {

// Selects the rectangle of grid cells from (col1, row1) to (col2, row2),
// table rows, the first cell current.
void SelectCells(EditorHarness& h, int col1, int row1, int col2, int row2) {
    QItemSelectionModel* s = h.Grid()->selectionModel();
    s->setCurrentIndex(h.model().index(row1 - 1, col1), QItemSelectionModel::ClearAndSelect);
    s->select(QItemSelection(h.model().index(row1 - 1, col1), h.model().index(row2 - 1, col2)),
              QItemSelectionModel::ClearAndSelect);
}

} // namespace

void BulkEditTest::copyAndPasteASpreadsheetBlock() {
    WithPod<EditorHarness> h;
    const int first = kFirstFieldColumn;
    SelectCells(h, first, 1, first + 1, 2);
    h.Item("Copier")->trigger();
    const QString copied = QApplication::clipboard()->text();
    QCOMPARE(copied, h.Cell(first, 1) + "\t" + h.Cell(first + 1, 1) + "\n" + h.Cell(first, 2) +
                         "\t" + h.Cell(first + 1, 2) + "\n");

    // A spreadsheet's text: CR LF, a quoted cell with a tab, an accent.
    QApplication::clipboard()->setText("EGLL\t\"Heath\trow\"\r\nLFPG\tRoissy-é\r\n");
    SelectCells(h, first, 3, first, 3);
    h.Item("Coller")->trigger();
    QCOMPARE(h.Cell(first, 3), QString("EGLL"));
    QCOMPARE(h.Cell(first + 1, 3), QString("Heath\trow"));
    QCOMPARE(h.Cell(first + 1, 4), QString("Roissy-é"));
    QVERIFY(h.window->isWindowModified());
    QCOMPARE(Read(h.Item("Annuler")), Q(Format(txt::UndoCaption.en, "paste 4 cells")));
    h.Item("Annuler")->trigger();
    QVERIFY(h.Cell(first, 3) != "EGLL");
    QVERIFY(!h.window->isWindowModified());

    // Whole rows carry their fields, with the titles when asked.
    h.Item("CopierTitres")->trigger();
    QVERIFY(h.Item("CopierTitres")->isChecked());
    SelectCells(h, 0, 2, h.model().columnCount() - 1, 2);
    h.Item("Copier")->trigger();
    const QStringList lines = QApplication::clipboard()->text().split('\n');
    QCOMPARE(lines.size(), 3); // titles, the row, the last break
    QCOMPARE(lines[0].split('\t').first(), h.model().headerData(first, Qt::Horizontal).toString());
    QCOMPARE(lines[1].split('\t').first(), h.Cell(first, 2));
    QCOMPARE(lines[1].count('\t'), h.model().columnCount() - first - 1);
}

void BulkEditTest::pasteRefusesAsAWholeAndAsksBeforeAddingRows() {
    WithPod<EditorHarness> h;
    const int rows = h.model().rowCount();
    const QString before = h.Column(kColExport);
    // The Export marks change through their buttons only: nothing is pasted.
    SelectCells(h, kColExport - 1, 1, kColExport - 1, 1);
    h.Commands().bulk->PasteText("x\t1\tok\n");
    QCOMPARE(h.ui.messages.size(), std::size_t(1));
    QVERIFY(h.ui.messages[0].text.find("row 1, field Export") != std::string::npos);
    QCOMPARE(h.Column(kColExport), before);
    QVERIFY(!h.window->isWindowModified());

    // Past the last row: asked; Cancel pastes nothing, OK adds the rows.
    SelectCells(h, kFirstFieldColumn, rows, kFirstFieldColumn, rows);
    h.ui.answers = {false, true};
    h.Commands().bulk->PasteText("A\nB\nC\n");
    QCOMPARE(h.model().rowCount(), rows);
    QCOMPARE(h.ui.questions.size(), std::size_t(1));
    QCOMPARE(h.ui.questions[0], Format(txt::PasteAppendRows.en, 2, 2));
    h.Commands().bulk->PasteText("A\nB\nC\n");
    QCOMPARE(h.model().rowCount(), rows + 2);
    QCOMPARE(h.Cell(kFirstFieldColumn, rows + 2), QString("C"));
    h.Item("Annuler")->trigger();
    QCOMPARE(h.model().rowCount(), rows);
}

void BulkEditTest::fillDownAndCut() {
    WithPod<EditorHarness> h;
    const int col = kFirstFieldColumn + 1;
    const int last = h.model().rowCount();
    QVERIFY(last >= 3);
    const QString top = h.Cell(col, 1);
    SelectCells(h, col, 1, col, last);
    h.Item("RecopierBas")->trigger();
    QVERIFY(h.ui.messages.empty());
    for (int r = 1; r <= last; ++r)
        QCOMPARE(h.Cell(col, r), top);
    QCOMPARE(Read(h.Item("Annuler")),
             Q(Format(txt::UndoCaption.en,
                      Format(txt::StepFillDown.In(Lang::English, last - 1), last - 1).c_str())));
    SelectCells(h, col, 2, col, 2);
    h.Item("Couper")->trigger();
    QCOMPARE(QApplication::clipboard()->text(), top + "\n");
    QCOMPARE(h.Cell(col, 2), QString());
}

void BulkEditTest::replaceAllIsOneStep() {
    WithPod<EditorHarness> h;
    const int col = kFirstFieldColumn;
    h.window->GoToCell(col, 1);
    h.Item("Remplacer")->trigger();
    ReplaceDialog* d = h.Commands().bulk->Replacer();
    QVERIFY(d && d->isVisible());
    QCOMPARE(d->FindText(), h.Cell(col, 1)); // the current cell's text to start with
    // Every key of the column: a letter in front, by a regular expression.
    d->FindBox()->setEditText("^(.+)$");
    d->ReplaceBox()->setEditText("Z$1");
    d->findChild<QCheckBox*>("ReplaceRegex")->setChecked(true);
    d->findChild<QComboBox*>("ReplaceScope")->setCurrentIndex(1); // the column
    const QString first = h.Cell(col, 1), last = h.Cell(col, h.model().rowCount());
    d->Button(ReplaceDialog::Action::ReplaceAll)->click();
    QCOMPARE(h.Cell(col, 1), "Z" + first);
    QCOMPARE(h.Cell(col, h.model().rowCount()), "Z" + last);
    const int n = h.model().rowCount();
    QCOMPARE(d->findChild<QLabel*>("ReplaceOutcome")->text(),
             Q(Format(txt::ReplaceDone.In(Lang::English, n), n)));
    h.Item("Annuler")->trigger();
    QCOMPARE(h.Cell(col, 1), first);
    QVERIFY(!h.window->isWindowModified());
    // A broken expression says so and changes nothing.
    d->FindBox()->setEditText("(");
    d->Button(ReplaceDialog::Action::ReplaceAll)->click();
    QVERIFY(d->findChild<QLabel*>("ReplaceOutcome")->text().startsWith("Invalid regular"));
    d->close();
}

void BulkEditTest::filterRowShowsTheMatchingRows() {
    WithPod<EditorHarness> h;
    const int rows = h.model().rowCount();
    const int col = kFirstFieldColumn;
    const QString key = h.Cell(col, 3);
    h.Item("Filtrer")->trigger();
    auto* bar = h.Find<FilterBar>("FilterBar");
    QVERIFY(bar->isVisible());
    QLineEdit* box = bar->Box(col);
    QVERIFY(box);
    box->setText("=" + key);
    emit box->returnPressed();
    QCOMPARE(h.model().rowCount(), 1);
    QCOMPARE(h.model().index(0, col).data().toString(), key);
    QCOMPARE(h.Label("StatusFilter")->text(), Q(Format(txt::FilterShown.en, 1, rows)));
    // Select all takes the row shown only.
    QStringList exportBefore;
    for (int r = 1; r <= rows; ++r)
        exportBefore << Q(std::string(h.session.Table.Cell(kColExport, r)));
    h.Button("btnSelectionNone")->click(); // the row shown: none
    QCOMPARE(Q(std::string(h.session.Table.Cell(kColExport, h.model().TableRowAt(0)))),
             QString("0"));
    h.Button("btnSelectionAll")->click();
    const int shownRow = h.model().TableRowAt(0);
    for (int r = 1; r <= rows; ++r)
        QCOMPARE(Q(std::string(h.session.Table.Cell(kColExport, r))),
                 r == shownRow ? QString("1") : exportBefore[r - 1]);
    // Ctrl+Shift+L again: every row comes back.
    h.Item("Filtrer")->trigger();
    QVERIFY(!bar->isVisible());
    QCOMPARE(h.model().rowCount(), rows);
    QVERIFY(!h.Label("StatusFilter")->isVisible());
}

void BulkEditTest::searchFindsAnyFieldAndSaysWhere() {
    WithPod<EditorHarness> h;
    const int col = kFirstFieldColumn + 1;
    const QString name = h.Cell(col, 3);
    auto* box = h.Find<QComboBox>("cbSrch");
    box->setEditText(name);
    h.Button("btnChercher1")->click();
    QVERIFY(h.ui.messages.empty());
    QCOMPARE(h.session.Table.CurrentRow(), 3);
    const QString title = h.model().headerData(col, Qt::Horizontal).toString();
    QCOMPARE(h.window->statusBar()->currentMessage(),
             Q(Format(txt::SearchHitNote.en, 3, S(title).c_str())));
    // Ctrl+Shift+F: the current cell's field only.
    h.window->GoToCell(col + 1, 1);
    h.Item("ChercherColonne")->trigger();
    QCOMPARE(h.Label("lblNom")->text(), h.model().headerData(col + 1, Qt::Horizontal).toString());
    box->setEditText(name);
    h.Button("btnChercher1")->click();
    QCOMPARE(h.ui.messages.size(), std::size_t(1)); // not in that field
}

QTEST_MAIN(BulkEditTest)
#include "test_bulk_edit.moc"
