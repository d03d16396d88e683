// Undo and redo in the main window: the Edition items and their captions,
// the grid and labels after each step, the unsaved mark around a save, and
// no undo in direct-write mode. The comparison with another table: its
// colours and hints, the panel's list and keys, taking either side. The
// comparison with the real world: its findings, hints and map lines, and
// its takes, one undoable step each.
#include "database/DbdFile.h"
#include "demo/DemoFolder.h"
#include "exchange/DexFile.h"
#include "settings/Texts.h"
#include "support/DbdFixtures.h"
#include "support/EditorHarness.h"
#include "support/RealWorldFixtures.h"
#include "ui/commands/ReconcileCommands.h"
#include "ui/grid/DifferencePanel.h"
#include "ui/map/CheckPanel.h"
#include "ui/map/MapWidget.h"
#include "ui/qt/QtText.h"

#include <QApplication>
#include <QBrush>
#include <QComboBox>
#include <QDockWidget>
#include <QGroupBox>
#include <QLineEdit>
#include <QPointer>
#include <QSpinBox>
#include <QTreeWidget>

#include <tuple>

using namespace orvane;
using namespace orvane::testing;
using orvane::testing::EditorHarness;

class UndoCompareTest : public QObject {
    Q_OBJECT
  private slots:
    void undoRedoAndTheUnsavedMark();
    void undoInDirectWriteModeMarksWhatDiffersFromTheArchive();
    void directWriteTakesOnlyWhatTheArchiveCarries();
    void compareListsEveryDifference();
    void compareKeysGoToTheRows();
    void compareTakesEitherSide();
    void compareEndsWithALoadAndRefusesOtherTypes();
    void realWorldFindingsAreTakenOneStepAtATime();
    void realWorldPlacesAreAdded();
};

void UndoCompareTest::undoRedoAndTheUnsavedMark() {
    WithPod<EditorHarness> h(2, "french");
    QAction* undo = h.Item("Annuler");
    QAction* redo = h.Item("Retablir");
    QVERIFY(!undo->isEnabled() && !redo->isEnabled());
    QCOMPARE(Read(undo), Q("Annuler"));
    QVERIFY(redo->shortcuts().contains(QKeySequence("Ctrl+Shift+Z")));
    const QString name = h.Cell(5, 1);

    QVERIFY(h.model().setData(h.model().index(0, 5), QString("Roissy")));
    QCOMPARE(Read(undo), Q("Annuler : saisie en ligne 1"));
    h.Grid()->setCurrentIndex(h.model().index(1, 5));
    h.ui.answers = {true};
    h.Button("btnSuppLigne")->click();
    QCOMPARE(h.model().rowCount(), 2);
    QCOMPARE(h.Label("lblSelect")->text(),
             Q("0 ligne sélectionnée")); // the selected row went
    QCOMPARE(Read(undo), Q("Annuler : suppression de la ligne 2"));
    QVERIFY(h.window->HasUnsavedChanges());

    undo->trigger();
    QCOMPARE(h.model().rowCount(), 3);
    QCOMPARE(h.Label("lblSelect")->text(), Q("1 ligne sélectionnée"));
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
    h.Save(h.Item("DBD_Enregistrer_tout"), h.world.dir.File("work/SAVED.dbd"));
    QVERIFY(!h.window->HasUnsavedChanges());
    undo->trigger();
    QVERIFY(h.window->HasUnsavedChanges());
    redo->trigger();
    QVERIFY(!h.window->HasUnsavedChanges());

    // A heading sort is a step; a new load starts a new history.
    h.Commands().grid->HeadingClicked(5);
    QVERIFY(Read(undo).startsWith(Q("Annuler : tri par ")));
    h.ui.answers = {true};
    h.Open(h.Item("POD_ouvrir"), h.world.Pod());
    QVERIFY(!undo->isEnabled());
    QCOMPARE(h.model().rowCount(), 3);
}

void UndoCompareTest::undoInDirectWriteModeMarksWhatDiffersFromTheArchive() {
    WithPod<EditorHarness> h(2, "english");
    QVERIFY(h.model().setData(h.model().index(0, 5), QString("Roissy")));
    QCOMPARE(Read(h.Item("Annuler")), QString("Undo: typing in line 1"));
    h.Open(h.Item("POD_ouvrir_ligne"), h.world.Pod());
    QVERIFY(h.Find<QGroupBox>("gbEdition")->isHidden());
    QVERIFY(!h.Item("Annuler")->isEnabled()); // the steps before the mode are gone
    QVERIFY(h.model().setData(h.model().index(1, 5), QString("Written")));
    QCOMPARE(h.model().UnwrittenRows(), (std::set<int>{2}));
    QVERIFY(h.window->isWindowModified());
    // A step taken in the mode is undone in it: the row is its record again,
    // nothing waits to be written, and leaving asks nothing.
    h.Item("Annuler")->trigger();
    QCOMPARE(h.Cell(5, 2), Q("Orléans Bricy"));
    QVERIFY(h.model().UnwrittenRows().empty());
    QVERIFY(!h.window->isWindowModified());
    // Redone then written: undoing it makes the row differ from the archive.
    h.Item("Retablir")->trigger();
    h.Grid()->setCurrentIndex(h.model().index(1, 5));
    h.Item("POD_Enregistrer_ligne")->trigger();
    QVERIFY(h.model().UnwrittenRows().empty());
    h.Item("Annuler")->trigger();
    QCOMPARE(h.model().UnwrittenRows(), (std::set<int>{2}));
    const std::size_t asked = h.ui.questions.size();
    h.ui.answers = {true};
    h.Item("POD_mode_normal")->trigger();
    QCOMPARE(h.ui.questions.size(), asked + 1);
    QCOMPARE(h.Cell(5, 2), QString("Written")); // the record as the archive holds it
    QVERIFY(!h.Item("Annuler")->isEnabled());   // what was written stays written
}

// Direct write: a take from a comparison brings the values the in-place
// write carries, never rows or the fields it leaves alone, and says so; the
// rows it changed wait to be written, and a write changes only them.
void UndoCompareTest::directWriteTakesOnlyWhatTheArchiveCarries() {
    WithPod<EditorHarness> h(2, "english");
    const QString latitude = h.Cell(6, 1);
    QVERIFY(h.model().setData(h.model().index(0, 5), QString("Roissy")));
    QVERIFY(h.model().setData(h.model().index(0, 6), QString("170000.0000")));
    testing::Button(*h.window, "bntAjoutFin")->click();
    QVERIFY(h.model().setData(h.model().index(3, 4), QString("3A2F1BFF")));
    const std::string other = h.world.dir.File("work/OTHER.dbd");
    h.Save(h.Item("DBD_Enregistrer_tout"), other);

    h.Open(h.Item("POD_ouvrir_ligne"), h.world.Pod());
    h.Open(h.Item("Comparer"), other);
    DifferencePanel& panel = *h.Commands().compare->Panel();
    QCOMPARE(panel.EntryCount(), 2);
    panel.List()->selectAll();
    panel.findChild<QPushButton*>("TakeOther")->click();
    // One row to add left out, one latitude left out, the name taken.
    QCOMPARE(h.ui.messages.back().text,
             Format(txt::DirectWriteRowsLeftOut.one.en, 1) + "\n" +
                 Format(txt::DirectWriteValuesLeftOut.one.en, 1, "Latitude (seconds)") + "\n" +
                 txt::TakeRestTaken.en);
    QCOMPARE(h.model().rowCount(), 3); // no row came
    QCOMPARE(h.Cell(5, 1), QString("Roissy"));
    QCOMPARE(h.Cell(6, 1), latitude);
    QCOMPARE(h.model().UnwrittenRows(), (std::set<int>{1}));
    QVERIFY(h.window->isWindowModified());

    h.Grid()->setCurrentIndex(h.model().index(0, 5));
    h.Item("POD_Enregistrer_ligne")->trigger();
    QVERIFY(h.model().UnwrittenRows().empty());
    QVERIFY(!h.window->isWindowModified());
    SessionState written;
    static_cast<SessionSettings&>(written) = h.session;
    OpenDbdFromArchive(written, h.world.Pod(), "", h.ui);
    QCOMPARE(written.Table.RowCount(), 4);
    QCOMPARE(Q(std::string(written.Table.Cell(5, 1))), QString("Roissy"));
    QCOMPARE(Q(std::string(written.Table.Cell(6, 1))), latitude);
    QCOMPARE(Q(std::string(written.Table.Cell(4, 1))), QString("3A2F1B00"));

    // Closing the panel ends the comparison: no colour, nothing to step through.
    QVERIFY(h.Commands().compare->Active());
    h.Commands().compare->Dock()->close();
    QVERIFY(!h.Commands().compare->Active());
    QVERIFY(!h.model().index(0, 6).data(Qt::BackgroundRole).isValid());
    QVERIFY(!h.Item("EffacerComparaison")->isEnabled());
    QVERIFY(!h.Item("DifferenceSuivante")->isEnabled());
}

namespace {

// The window of the compare tests: the demo airports changed, then compared
// with the archive they came from. Row 1 renamed, row 2's latitude written
// as the record editor writes it (the same value), Brest deleted, a new
// airport appended.
struct ComparedHarness : EditorHarness {
    explicit ComparedHarness(const std::string& language) : EditorHarness(2, language) {
        Open(Item("POD_ouvrir"), world.Pod());
        QVERIFY(model().setData(model().index(0, 5), QString("Roissy")));
        QVERIFY(model().setData(model().index(1, 6), QString("172683.25")));
        Grid()->setCurrentIndex(model().index(2, 5));
        ui.answers = {true};
        testing::Button(*window, "btnSuppLigne")->click();
        testing::Button(*window, "bntAjoutFin")->click();
        QVERIFY(model().setData(model().index(2, 4), QString("3A2F1BFF")));
        Open(Item("Comparer"), world.Pod());
    }
    QColor Colour(int col, int tableRow) {
        return model().index(tableRow - 1, col).data(Qt::BackgroundRole).value<QBrush>().color();
    }
    QString Hint(int col, int tableRow) {
        return model().index(tableRow - 1, col).data(Qt::ToolTipRole).toString();
    }
    DifferencePanel& panel() { return *window->Commands().compare->Panel(); }
    QTreeWidget& list() { return *panel().List(); }
    QStringList Entries() {
        QStringList out;
        for (int i = 0; i < list().topLevelItemCount(); ++i)
            out << list().topLevelItem(i)->text(0);
        return out;
    }
    QPushButton* Button(const char* name) { return panel().findChild<QPushButton*>(name); }
    int Row() const { return session.Table.CurrentRow(); }
};

const QColor kChanged(255, 226, 140), kOnlyHere(198, 239, 198), kNone(Qt::black);

} // namespace

void UndoCompareTest::compareListsEveryDifference() {
    ComparedHarness h("english");
    QVERIFY(h.ui.messages.empty());
    QCOMPARE(h.Colour(5, 1), kChanged);
    QCOMPARE(h.Colour(4, 1), kNone);
    QCOMPARE(h.Colour(6, 2), kNone); // "172683.25" is the value loaded as "172683.2500"
    QCOMPARE(h.Colour(6, 3), kOnlyHere);
    QVERIFY(h.Commands().compare->Dock()->isVisibleTo(h.window.get()));
    QCOMPARE(h.panel().Summary()->text(),
             QString("Compared with AIRPORT.POD: 1 changed row, 1 row only here, "
                     "1 row only in the other"));
    // In the table's order, the missing airport after the one it follows.
    const QStringList entries = h.Entries();
    QCOMPARE(entries.size(), 3);
    QCOMPARE(entries[0], QString("Changed: 3A2F1B00  Roissy (line 1)"));
    QCOMPARE(entries[1],
             QString("Only in the other: 0  Brest Guipavas (line 3 of the other table)"));
    QVERIFY2(entries[2].startsWith("Only here: 3A2F1BFF"), qPrintable(entries[2]));
    QCOMPARE(h.list().topLevelItem(0)->child(0)->text(0),
             QString::fromUtf8("Airport name: \"Roissy\" → \"Charles de Gaulle\""));

    // The other value over a changed cell; the cell's own hint stays.
    QCOMPARE(h.Hint(5, 1), QString("Other table: \"Charles de Gaulle\""));
    QCOMPARE(h.Hint(5, 3), QString("Row not in the other table"));
    QVERIFY(h.Hint(5, 2).isEmpty());
}

void UndoCompareTest::compareKeysGoToTheRows() {
    ComparedHarness h("english");
    QAction* next = h.Item("DifferenceSuivante");
    QAction* previous = h.Item("DifferencePrecedente");
    QCOMPARE(next->shortcut(), QKeySequence(Qt::Key_F8));
    QCOMPARE(previous->shortcut(), QKeySequence(Qt::SHIFT | Qt::Key_F8));
    QCOMPARE(h.panel().CurrentEntry(), -1);
    h.session.Table.SetCurrentCell(8, 2);
    next->trigger();
    QCOMPARE(h.panel().CurrentEntry(), 0);
    QCOMPARE(h.Row(), 1);
    QCOMPARE(h.session.Table.CurrentColumn(), 5); // the changed field
    next->trigger();
    QCOMPARE(h.Row(), 2); // the missing row would come after row 2
    previous->trigger();
    previous->trigger(); // round to the last
    QCOMPARE(h.panel().CurrentEntry(), 2);
    QCOMPARE(h.Row(), 3);

    // Enter and a double click in the list; a field leads to its cell.
    QTreeWidget& list = h.list();
    list.setFocus();
    h.session.Table.SetCurrentCell(8, 2);
    list.setCurrentItem(list.topLevelItem(0)->child(0));
    QTest::keyClick(&list, Qt::Key_Return);
    QCOMPARE(h.Row(), 1);
    QCOMPARE(h.session.Table.CurrentColumn(), 5);
    QTreeWidgetItem* last = list.topLevelItem(2);
    const QPoint at = list.visualItemRect(last).center();
    QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(list.viewport(), Qt::LeftButton, {}, at);
    QCOMPARE(h.Row(), 3);

    // F8 in the middle of typing: the cell keeps what was typed and the
    // step goes through the differences as they now are.
    const QModelIndex elevation = h.model().index(2, 8);
    h.Grid()->setCurrentIndex(elevation);
    static_cast<QAbstractItemView*>(h.Grid())->edit(elevation);
    QPointer<QLineEdit> editor = h.Grid()->viewport()->findChild<QLineEdit*>();
    QVERIFY(editor);
    editor->setText("999");
    next->trigger();
    QCoreApplication::processEvents();
    QCOMPARE(h.Cell(8, 3), QString("999"));
    QVERIFY(!editor || !editor->isVisible()); // the edit is over
    QCOMPARE(h.Entries().size(), 3);          // the row only here changed no count
    QCOMPARE(h.panel().CurrentEntry(), 0);
    QVERIFY(!h.panel().Chosen().empty());

    // The comparison follows an edit: the other colours stay.
    QVERIFY(h.model().setData(h.model().index(1, 5), QString("Other")));
    QCoreApplication::processEvents();
    QCOMPARE(h.Colour(5, 1), kChanged);
    QCOMPARE(h.Colour(5, 2), kChanged);
    QCOMPARE(h.Colour(6, 3), kOnlyHere);
    QVERIFY(h.panel().Summary()->text().contains("2 changed rows"));
    QCOMPARE(h.Entries().size(), 4);

    // Cleared, it ends: no colour, no panel, no F8.
    h.Button("ClearComparison")->click();
    QCOMPARE(h.Colour(5, 1), kNone);
    QCOMPARE(h.Colour(6, 3), kNone);
    QVERIFY(!h.Commands().compare->Dock()->isVisibleTo(h.window.get()));
    QVERIFY(!next->isEnabled());
    QVERIFY(!h.Item("EffacerComparaison")->isEnabled());
}

void UndoCompareTest::compareTakesEitherSide() {
    ComparedHarness h("french");
    QCOMPARE(h.panel().Summary()->text(),
             QString::fromUtf8("Comparé avec AIRPORT.POD : 1 ligne modifiée, 1 ligne seulement "
                               "ici, 1 ligne seulement dans l'autre"));
    QPushButton* take = h.Button("TakeOther");
    QPushButton* keep = h.Button("KeepThis");
    QVERIFY(!take->isEnabled()); // nothing chosen yet
    h.list().setCurrentItem(h.list().topLevelItem(0)->child(0));
    QVERIFY(take->isEnabled());
    take->click();
    QCOMPARE(h.Cell(5, 1), QString("Charles de Gaulle"));
    QCOMPARE(h.Colour(5, 1), kNone);
    QCOMPARE(h.Entries().size(), 2);
    QVERIFY(!take->isEnabled()); // the entry now in its place is not chosen
    QCOMPARE(Read(h.Item("Annuler")),
             QString::fromUtf8("Annuler : reprise d'une différence de l'autre table"));
    h.Item("Annuler")->trigger();
    QCoreApplication::processEvents();
    QCOMPARE(h.Cell(5, 1), QString("Roissy"));
    QCOMPARE(h.Colour(5, 1), kChanged);

    // Every difference at once: one step, the tables then equal.
    h.list().selectAll();
    take->click();
    QCOMPARE(h.model().rowCount(), 3);
    QCOMPARE(h.Cell(5, 3), QString("Brest Guipavas"));
    QCOMPARE(h.panel().Summary()->text(),
             QString::fromUtf8("Comparé avec AIRPORT.POD : aucune différence"));
    // The row only here was selected for export: the counter follows its going.
    const int selected = h.session.Table.CountSelected();
    QCOMPARE(h.Label("lblSelect")->text(),
             Q(Format(txt::SelectLabel.In(Lang::French, selected), selected)));
    QCOMPARE(Read(h.Item("Annuler")),
             QString::fromUtf8("Annuler : reprise de 3 différences de l'autre table"));
    h.Item("Annuler")->trigger();
    QCoreApplication::processEvents();
    QCOMPARE(h.Entries().size(), 3);
    QCOMPARE(h.model().rowCount(), 3);
    QCOMPARE(h.Cell(4, 3), QString("3A2F1BFF"));

    // Keeping this side takes the difference off the list and the grid.
    h.list().setCurrentItem(h.list().topLevelItem(2));
    keep->click();
    QCOMPARE(h.Entries().size(), 2);
    QCOMPARE(h.Colour(6, 3), kNone);
    QCOMPARE(h.Cell(4, 3), QString("3A2F1BFF"));
    // It stays kept through later edits.
    QVERIFY(h.model().setData(h.model().index(1, 5), QString("Autre")));
    QCoreApplication::processEvents();
    QCOMPARE(h.Entries().size(), 3);
    QCOMPARE(h.Colour(6, 3), kNone);
}

void UndoCompareTest::compareEndsWithALoadAndRefusesOtherTypes() {
    ComparedHarness h("english");
    QVERIFY(h.Commands().compare->Active());
    // A DBD of another data type is refused by its header.
    const std::string navaids = h.world.dir.Write(
        "work/NAVAID.dbd", orvane::testing::DbdBytes("naid", 8, {std::string(8, '\0')}));
    h.Open(h.Item("Comparer"), navaids);
    QCOMPARE(h.ui.messages.size(), std::size_t(1));
    QCOMPARE(h.ui.messages[0].text,
             std::string("NAVAID.dbd holds NAVAID records, not AIRPORT: nothing to compare."));
    QVERIFY(h.Commands().compare->Active()); // the comparison under way stays
    h.ui.answers = {true};
    h.Open(h.Item("POD_ouvrir"), h.world.Pod());
    QVERIFY(!h.Commands().compare->Active());
    QCOMPARE(h.Colour(5, 1), kNone);
    // A DBD on disk compares as well.
    QVERIFY(h.model().setData(h.model().index(1, 5), QString("Other")));
    h.Open(h.Item("Comparer"), h.world.DiskDbd());
    QCOMPARE(h.Colour(5, 2), kChanged);
    QCOMPARE(h.Entries().size(), 1);

    // F6 goes from the grid to the panel and back; Escape in the panel
    // closes it, and so ends the comparison.
    h.window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(h.window.get()));
    h.Grid()->setFocus();
    QTest::keyClick(h.window.get(), Qt::Key_F6);
    QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(&h.list()));
    QTest::keyClick(h.window.get(), Qt::Key_F6);
    QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(h.Grid()));
    QTest::keyClick(h.window.get(), Qt::Key_F6, Qt::ShiftModifier);
    QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(&h.list()));
    QTest::keyClick(&h.list(), Qt::Key_Escape);
    QVERIFY(!h.Commands().compare->Active());
    QCOMPARE(h.Colour(5, 2), kNone);
    QVERIFY(!h.Item("EffacerComparaison")->isEnabled());
}

// The item of a filter whose data is `value`; -1 when none.
static int FilterItem(QComboBox* box, const QVariant& value) {
    return box->findData(value);
}

void UndoCompareTest::realWorldFindingsAreTakenOneStepAtATime() {
    EditorHarness h(2, "english");
    const std::string demo = h.world.dir.File("demo");
    MakeDemoFolder(demo);
    const std::string pod = demo + "/fly2/system/NAVAID.POD";
    h.Open(h.Item("POD_ouvrir"), pod);
    auto records = orvane::testing::MirrorTable(h.session.Table, "NAVAID");
    orvane::testing::RecordWhere(records, "ident", "CGN")["frequency_khz"] = "115400";
    orvane::testing::RecordWhere(records, "ident", "RBT")["frequency_khz"] = "114750";
    orvane::testing::MoveNorth(orvane::testing::RecordWhere(records, "ident", "MEL"), 3000);
    // A name no CSV export can write: taking it makes a check finding.
    orvane::testing::RecordWhere(records, "ident", "BRY")["name"] = "Bray; Les Oiseaux";
    orvane::testing::RecordWhere(records, "ident", "ABB")["iso_country"] = "BE";
    records.erase(records.begin() + 2); // PON
    // Two real navaids the table lacks, one in each country.
    records.push_back({{"ident", "XAA"},
                       {"name", "Nord"},
                       {"type", "VOR-DME"},
                       {"frequency_khz", "112100"},
                       {"latitude_deg", "49.1"},
                       {"longitude_deg", "2.4"},
                       {"iso_country", "FR"}});
    records.push_back({{"ident", "XBB"},
                       {"name", "Somme"},
                       {"type", "NDB"},
                       {"frequency_khz", "350"},
                       {"latitude_deg", "50.2"},
                       {"longitude_deg", "1.9"},
                       {"iso_country", "BE"}});
    h.world.dir.Write("real/navaids.csv",
                      orvane::testing::RealFileText(RealDataFile::Navaids, records));
    h.ui.folderAnswers.push_back(h.world.dir.File("real"));
    h.session.WorkDir = demo + "/work/";
    h.Item("CompareOurAirports")->trigger();
    // The first choice starts in the demo's sample beside the work folder.
    QCOMPARE(h.ui.folderStarts.back(), demo + "/ourairports");
    ReconcileCommands& real = *h.window->Commands().reconcile;
    QVERIFY(real.Active() && real.Dock()->isVisible());
    DifferencePanel& panel = *real.Panel();
    QTreeWidget& list = *panel.List();
    // Counted per kind; those a take mends first, in row order, then the
    // unknown row, then the places the table lacks under one collapsed item.
    QCOMPARE(panel.Summary()->text(),
             QString("Compared with OurAirports (real): 7 findings\nMoved: 1, Name changed: 1, "
                     "Frequency changed: 2, Not in the real-world data, or closed: 1, Not in the "
                     "table: 2"));
    QCOMPARE(panel.EntryCount(), 7);
    QCOMPARE(list.topLevelItemCount(), 6);
    QCOMPARE(list.topLevelItem(2)->text(0), QString("Moved 3000 m: MEL  Melun (line 4)"));
    QVERIFY(list.topLevelItem(4)->text(0).startsWith("Not in the real-world data: PON"));
    QCOMPARE(list.topLevelItem(5), panel.GroupItem());
    QCOMPARE(panel.GroupItem()->text(0),
             QString("Not in the table: 2 real-world places (expand to see them)"));
    QVERIFY(!panel.GroupItem()->isExpanded());
    QCOMPARE(panel.GroupItem()->child(0)->text(0),
             QString("Not in the table: XAA  Nord (VOR-DME)"));
    QVERIFY(h.model()
                .index(1, 7)
                .data(Qt::ToolTipRole)
                .toString()
                .contains("Real world: \"114.7500\""));
    QCOMPARE(h.Find<MapWidget>("Carte")->MoveLines().size(), std::size_t(1));
    QCOMPARE(h.model().index(2, 7).data(Qt::ToolTipRole).toString(),
             QString("Row not in the real-world data, or closed"));

    // The filters: by kind, by country (each with its count), and back.
    auto* kinds = real.Dock()->findChild<QComboBox*>("ReconcileKindFilter");
    auto* countries = real.Dock()->findChild<QComboBox*>("ReconcileCountryFilter");
    QCOMPARE(kinds->itemText(0), QString("All kinds (7)"));
    const int frequency = FilterItem(kinds, int(ReconcileKind::Frequency));
    QCOMPARE(kinds->itemText(frequency), QString("Frequency changed (2)"));
    kinds->setCurrentIndex(frequency);
    emit kinds->activated(frequency);
    QCOMPARE(panel.EntryCount(), 2);
    QVERIFY(!panel.GroupItem());
    QVERIFY(panel.Summary()->text().startsWith("Compared with OurAirports (real): 2 shown of 7 "
                                               "findings\n"));
    QCOMPARE(kinds->currentIndex(), frequency); // the list made again keeps the choice
    const int missing = FilterItem(kinds, int(ReconcileKind::Missing));
    emit kinds->activated(missing);
    QCOMPARE(list.topLevelItemCount(), 2); // asked for: listed open, not grouped
    emit kinds->activated(0);
    const int belgium = FilterItem(countries, QString("BE"));
    QCOMPARE(countries->itemText(belgium), QString("BE (1)"));
    emit countries->activated(belgium);
    QCOMPARE(panel.EntryCount(), 1);
    QCOMPARE(panel.GroupItem()->child(0)->text(0), QString("Not in the table: XBB  Somme (NDB)"));
    emit countries->activated(0);
    QCOMPARE(panel.EntryCount(), 7);

    // Every finding of the current one's kind: asked first (two rows
    // change), then one step; the check stays shut, as the take made no finding.
    auto* takeKind = real.Dock()->findChild<QPushButton*>("ReconcileTakeKind");
    QVERIFY(!takeKind->isEnabled()); // no current finding yet
    list.setCurrentItem(list.topLevelItem(0));
    QVERIFY(takeKind->isEnabled());
    h.ui.answers = {false};
    takeKind->click();
    QCOMPARE(h.ui.questions.back(),
             std::string("Take the real-world value of the 2 \"Frequency changed\" findings? 2 "
                         "rows change (one step, which Undo takes back)."));
    QCOMPARE(h.Cell(7, 1), QString("115.3500"));
    QVERIFY(!h.Item("Annuler")->isEnabled());
    h.ui.answers = {true};
    takeKind->click();
    QCOMPARE(h.Cell(7, 1), QString("115.4000"));
    QCOMPARE(h.Cell(7, 2), QString("114.7500"));
    QCOMPARE(panel.EntryCount(), 5);
    CheckPanel* check = h.Find<CheckPanel>("Verification");
    QVERIFY(!check->isVisible());
    QCOMPARE(Read(h.Item("Annuler")), QString("Undo: take 2 real-world values"));
    h.Item("Annuler")->trigger();
    QCoreApplication::processEvents();
    QCOMPARE(h.Cell(7, 1), QString("115.3500"));
    QCOMPARE(panel.EntryCount(), 7);
    // A kind of one row is taken without a question.
    const std::size_t asked = h.ui.questions.size();
    list.setCurrentItem(list.topLevelItem(2));
    takeKind->click();
    QCOMPARE(h.ui.questions.size(), asked);
    QCOMPARE(Read(h.Item("Annuler")), QString("Undo: take one real-world value"));
    h.Item("Annuler")->trigger();
    QCoreApplication::processEvents();

    // "Not in the real-world data" holds no value to take: the button says
    // so by being off, and the take by a message; no step is made.
    QTreeWidgetItem* unknown = list.topLevelItem(4);
    list.setCurrentItem(unknown);
    QVERIFY(!real.Dock()->findChild<QPushButton*>("TakeOther")->isEnabled());
    QVERIFY(!takeKind->isEnabled());
    const QString redo = Read(h.Item("Retablir"));
    panel.TakeOther(panel.Chosen());
    QCOMPARE(h.ui.messages.back().text, std::string(txt::ReconcileNothingToTake.en));
    QCOMPARE(Read(h.Item("Retablir")), redo); // no step taken, so the redo stays
    QCOMPARE(panel.EntryCount(), 7);

    // One finding: the move, which leaves the map.
    list.setCurrentItem(list.topLevelItem(2));
    real.Dock()->findChild<QPushButton*>("TakeOther")->click();
    QCOMPARE(panel.EntryCount(), 6);
    QVERIFY(h.Find<MapWidget>("Carte")->MoveLines().empty());
    QCOMPARE(Read(h.Item("Annuler")), QString("Undo: take one real-world value"));
    QVERIFY(!check->isVisible());
    // A name the check finds fault with: the check opens on it.
    QCOMPARE(list.topLevelItem(2)->text(0), QString("Name changed: BRY  Bray (line 5)"));
    list.setCurrentItem(list.topLevelItem(2));
    real.Dock()->findChild<QPushButton*>("TakeOther")->click();
    QVERIFY(check->isVisible());
    QVERIFY2(check->FindingAt(0).startsWith("Row 5"), qPrintable(check->FindingAt(0)));

    // A longer threshold leaves a move out; a load ends the comparison and
    // shuts the check, which spoke of the table that went.
    h.Item("Annuler")->trigger();
    h.Item("Annuler")->trigger();
    QCoreApplication::processEvents();
    QCOMPARE(panel.EntryCount(), 7);
    real.Dock()->findChild<QSpinBox*>("ReconcileThreshold")->setValue(5000);
    QCOMPARE(panel.EntryCount(), 6);
    h.ui.answers = {true};
    h.Open(h.Item("POD_ouvrir"), pod);
    QVERIFY(!real.Active() && !real.Dock()->isVisible());
    QVERIFY(!check->isVisible());
    QVERIFY(h.model().index(1, 7).data(Qt::ToolTipRole).toString().isEmpty());
    // The next choice starts in the folder read last; cancelling it reads nothing.
    h.ui.folderAnswers.push_back(std::nullopt);
    h.Item("CompareOurAirports")->trigger();
    QCOMPARE(h.ui.folderStarts.back(), h.world.dir.File("real"));
    QVERIFY(!real.Active());

    // A table with no real-world counterpart is refused before any folder is asked.
    h.Open(h.Item("POD_ouvrir"), demo + "/fly2/system/ILS.POD");
    h.Item("CompareOurAirports")->trigger();
    QCOMPARE(h.ui.messages.back().text,
             std::string("ILS records have no counterpart in the OurAirports data."));
    QVERIFY(!real.Active());
}

// The places the table lacks, brought in: the group chosen adds them all as
// one step, marked as any added row; an airport's runways and frequencies
// go into DEX files in the work folder that the RUNWAY and COMM tables read.
void UndoCompareTest::realWorldPlacesAreAdded() {
    EditorHarness h(2, "english");
    const std::string demo = h.world.dir.File("demo");
    MakeDemoFolder(demo);
    const std::string pod = demo + "/fly2/system/AIRPORT.POD";
    h.Open(h.Item("POD_ouvrir"), pod);
    const int rows = h.session.Table.RowCount();
    auto airports = orvane::testing::MirrorTable(h.session.Table, "AIRPORT");
    for (const auto& [ident, name, lat, lon] :
         {std::tuple{"LFQZ", "Nord", "49.05", "2.3"}, std::tuple{"LFQY", "Sud", "48.6", "2.6"}})
        airports.push_back({{"ident", ident},
                            {"type", "small_airport"},
                            {"name", name},
                            {"latitude_deg", lat},
                            {"longitude_deg", lon},
                            {"elevation_ft", "300"},
                            {"iso_country", "FR"}});
    const std::string folder = h.world.dir.File("real");
    const auto write = [&](RealDataFile file, const std::vector<RealRecord>& records) {
        h.world.dir.Write(std::string("real/") + RealDataFileName(file),
                          orvane::testing::RealFileText(file, records));
    };
    write(RealDataFile::Airports, airports);
    write(RealDataFile::Runways, {{{"airport_ident", "LFQZ"},
                                   {"length_ft", "2625"},
                                   {"closed", "0"},
                                   {"le_ident", "09"},
                                   {"le_latitude_deg", "49.05"},
                                   {"le_longitude_deg", "2.29"},
                                   {"he_ident", "27"},
                                   {"he_latitude_deg", "49.05"},
                                   {"he_longitude_deg", "2.31"}}});
    write(RealDataFile::Frequencies,
          {{{"airport_ident", "LFQZ"}, {"type", "TWR"}, {"frequency_mhz", "119.0"}},
           {{"airport_ident", "LFQY"}, {"type", "A/D"}, {"frequency_mhz", "120.05"}}});
    h.session.WorkDir = demo + "/work/";
    h.ui.folderAnswers.push_back(folder);
    h.Item("CompareOurAirports")->trigger();
    ReconcileCommands& real = *h.window->Commands().reconcile;
    DifferencePanel& panel = *real.Panel();
    QCOMPARE(panel.EntryCount(), 2);
    auto* add = real.Dock()->findChild<QPushButton*>("ReconcileAdd");
    QCOMPARE(add->text(), QString("Add from the real world"));
    QVERIFY(!add->isEnabled()); // nothing chosen
    panel.GroupItem()->setSelected(true);
    QVERIFY(add->isEnabled());
    add->click();

    const RecordTable& t = h.session.Table;
    const ReconcileColumns c = FindReconcileColumns(t, "AIRPORT");
    QCOMPARE(t.RowCount(), rows + 2);
    QCOMPARE(std::string(t.Cell(c.code, rows)), std::string("LFQZ"));
    QCOMPARE(std::string(t.Cell(c.code, rows + 1)), std::string("LFQY"));
    for (const int row : {rows, rows + 1}) {
        QCOMPARE(std::string(t.Cell(kColModif, row)), std::string("X"));
        QCOMPARE(std::string(t.Cell(kColExport, row)), std::string("1"));
    }
    QCOMPARE(Read(h.Item("Annuler")), QString("Undo: add 2 real-world places"));
    QCOMPARE(panel.EntryCount(), 0); // both are the table's now
    QVERIFY(!h.Find<CheckPanel>("Verification")->isVisible());
    const std::string runways = demo + "/work/LFQZ+1-RUNWAY.dex";
    const std::string comm = demo + "/work/LFQZ+1-COMM.dex";
    QCOMPARE(h.ui.messages.back().text,
             "The runways and frequencies of the airports added:\nRUNWAY: 1 row written to " +
                 runways + "\nCOMM: 2 rows written to " + comm +
                 "\nAdd them to the RUNWAY and COMM tables with DEX Files → Add a DEX.");
    // The side files read as the DEX files of those tables, keyed to the new airports.
    for (const auto& [path, type, count] :
         {std::tuple{runways, "RUNWAY", 1}, std::tuple{comm, "COMM", 2}}) {
        SessionState side;
        side.SimulatorVersion = 2;
        side.FlyDir = demo + "/fly2/";
        side.Display.decimalSeparator = '.';
        ImportDex(side, path, ImportMode::Open, h.ui);
        QCOMPARE(side.DataType, std::string(type));
        QCOMPARE(side.Table.RowCount(), count + 1);
        const ReconcileColumns sc = FindReconcileColumns(side.Table, type);
        QCOMPARE(std::string(side.Table.Cell(sc.key, 1)), std::string(t.Cell(c.key, rows)));
    }
    // A second add never writes over the first one's files.
    h.Item("Annuler")->trigger();
    QCoreApplication::processEvents();
    QCOMPARE(t.RowCount(), rows);
    QCOMPARE(panel.EntryCount(), 2);
    panel.GroupItem()->child(1)->setSelected(true);
    add->click();
    QCOMPARE(std::string(t.Cell(c.code, rows)), std::string("LFQY"));
    QVERIFY(h.ui.messages.back().text.find("COMM: 1 row written to " + demo +
                                           "/work/LFQY-COMM.dex") != std::string::npos);
    QVERIFY(h.ui.messages.back().text.find("RUNWAY: no row in the real-world data") !=
            std::string::npos);
    // A side file that cannot be made (its archive broken) is an error at
    // the end of the add, whose row stays, one step to undo.
    h.Item("Annuler")->trigger();
    QCoreApplication::processEvents();
    h.world.dir.Write("demo/fly2/system/RUNWAY.POD", "broken");
    panel.GroupItem()->child(1)->setSelected(true);
    add->click();
    QCOMPARE(t.RowCount(), rows + 1);
    QCOMPARE(h.ui.messages.back().kind, MessageKind::Error);
    QCOMPARE(Read(h.Item("Annuler")), QString("Undo: add one real-world place"));

    // Direct write adds no row: the button stays off.
    h.ui.answers = {true};
    h.Open(h.Item("POD_ouvrir_ligne"), pod);
    h.ui.folderAnswers.push_back(folder);
    h.Item("CompareOurAirports")->trigger();
    panel.GroupItem()->setSelected(true);
    QVERIFY(!add->isEnabled());
}

QTEST_MAIN(UndoCompareTest)
#include "test_undo_compare.moc"
