// The main window with the real message boxes and file dialogs, on the paths
// where a message shows while a grid cell is being typed into: a command
// chosen with the cell editor still open, the search that finds nothing, the
// direct write of a value the field refuses. Each box takes the focus as on
// a desktop; a timer answers it with a key.
#include "settings/Texts.h"
#include "support/DbdFixtures.h"
#include "support/EditorFixtures.h"
#include "support/EditorHarness.h"
#include "support/RealDialogs.h"
#include "support/TempDir.h"
#include "ui/dialogs/RecordEditorDialog.h"
#include "ui/qt/QtText.h"

#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QLineEdit>

using namespace orvane;
using namespace orvane::testing;

namespace {

constexpr int kNameColumn = kFirstFieldColumn + 1;
constexpr int kLatitudeColumn = kFirstFieldColumn + 2;
constexpr int kElevationColumn = kFirstFieldColumn + 4;

// The real message boxes answered while the window lives.
struct AnsweredBoxes {
    RealMessageBoxes boxes;
};

// The window on the Qt seam, the demo world's archive open.
struct RealWindow : AnsweredBoxes, RealEditorHarness {
    explicit RealWindow(bool directWrite = false) {
        ui.SetFallbackParent(window.get());
        window->show();
        window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(window.get()));
        if (!directWrite) {
            QVERIFY(window->Commands().files->LoadArchive(world.Pod()));
            return;
        }
        // The archive chosen in the real file dialog.
        const std::string pod = world.Pod();
        OnNextDialog([pod](QDialog* d) {
            auto* files = qobject_cast<QFileDialog*>(d);
            QVERIFY(files);
            files->selectFile(Q(pod));
            static_cast<QDialog*>(files)->accept();
        });
        Item("POD_ouvrir_ligne")->trigger();
        QCOMPARE(window->Model()->rowCount(), 3);
    }
    // Types into a cell as a user does: a click on it, then the keys; the
    // cell editor stays open.
    void TypeInto(int column, int tableRow, const QString& text) {
        RecordGridView* v = Grid();
        const QModelIndex at = window->Model()->index(tableRow - 1, column);
        v->scrollTo(at);
        QVERIFY(QTest::qWaitForWindowActive(window.get()));
        QTest::mouseClick(v->viewport(), Qt::LeftButton, {}, v->visualRect(at).center());
        UserTypes(text);
        QVERIFY(v->indexWidget(at));
    }
};

} // namespace

class RealDialogsTest : public QObject {
    Q_OBJECT
  private slots:
    void commandWithCellOpen_data();
    void commandWithCellOpen();
    void directWriteRefusesValue_data();
    void directWriteRefusesValue();
    void typingIntoAReadOnlyCellKeepsTheRow();
    void editorRecordIntoAnErasedTable();
    void dialogsGiveSystemPaths_data();
    void dialogsGiveSystemPaths();
};

// A command chosen while a cell editor is open works on what the cell shows:
// the typed text is committed first, as one step, and any message comes once.
void RealDialogsTest::commandWithCellOpen_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("search");
    QTest::addColumn<int>("foundRow"); // 0: the search says it found nothing
    AddRow("the typed name is found", "Zulu Field", "Zulu", 2);
    AddRow("nothing found", "Zulu Field", "Yankee", 0);
}

void RealDialogsTest::commandWithCellOpen() {
    QFETCH(QString, typed);
    QFETCH(QString, search);
    QFETCH(int, foundRow);
    RealWindow w;
    MainWindow& win = *w.window;
    // The name column is the search column; a partial search sets F3's kind.
    QTest::mouseClick(Grid(win)->viewport(), Qt::LeftButton, {},
                      Grid(win)->visualRect(w.window->Model()->index(0, kNameColumn)).center());
    Find<QComboBox>(win, "cbSrch")->setEditText(search);
    Button(win, "btnChercher2")->click();
    const int before = int(w.boxes.texts.size());
    const QString name = w.Cell(kNameColumn, 2);
    w.TypeInto(kNameColumn, 2, typed);
    UserKey(Qt::Key_F3);
    QCOMPARE(w.Cell(kNameColumn, 2), typed);
    QCOMPARE(w.boxes.mostAtOnce, 1);
    if (foundRow) {
        QCOMPARE(w.boxes.texts.size(), before);
        QCOMPARE(Grid(win)->currentIndex().row() + 1, foundRow);
    } else {
        QCOMPARE(w.boxes.texts.size(), before + 1);
        QCOMPARE(w.boxes.texts.back(), Q(txt::ValueNotInFileEnded.en));
    }
    QVERIFY(!Grid(win)->indexWidget(win.Model()->index(1, kNameColumn)));
    QTRY_COMPARE(QApplication::focusWidget(), static_cast<QWidget*>(Grid(win)));
    // One step takes the typing back.
    Item(win, "Annuler")->trigger();
    QCOMPARE(w.Cell(kNameColumn, 2), name);
}

// An elevation that is no number: the row is not written, one message says
// why, and the archive keeps its bytes, whether the cell was closed with
// Enter or was still open when the item was chosen.
void RealDialogsTest::directWriteRefusesValue_data() {
    QTest::addColumn<bool>("enter");
    AddRow("cell closed with Enter", true);
    AddRow("cell still open", false);
}

void RealDialogsTest::directWriteRefusesValue() {
    QFETCH(bool, enter);
    RealWindow w(true);
    const std::string archive = ReadBytes(w.world.Pod());
    w.TypeInto(kElevationColumn, 1, "12x4");
    if (enter) UserKey(Qt::Key_Return);
    w.Grid()->setCurrentIndex(w.window->Model()->index(0, kElevationColumn));
    const int before = int(w.boxes.texts.size());
    w.Item("POD_Enregistrer_ligne")->trigger();
    QCOMPARE(w.boxes.texts.size(), before + 1);
    QCOMPARE(w.boxes.mostAtOnce, 1);
    QCOMPARE(w.Cell(kElevationColumn, 1), QString("12x4"));
    QCOMPARE(ReadBytes(w.world.Pod()), archive);
    QVERIFY(!w.Grid()->indexWidget(w.window->Model()->index(0, kElevationColumn)));
}

// In direct write, a character typed into a field the write leaves alone
// changes nothing and goes nowhere: the row edited stays the one to write.
void RealDialogsTest::typingIntoAReadOnlyCellKeepsTheRow() {
    RealWindow w(true);
    w.TypeInto(kNameColumn, 1, "Zulu");
    UserKey(Qt::Key_Return);
    const QModelIndex latitude = w.window->Model()->index(0, kLatitudeColumn);
    const QString before = w.Cell(kLatitudeColumn, 1);
    QTest::mouseClick(w.Grid()->viewport(), Qt::LeftButton, {},
                      w.Grid()->visualRect(latitude).center());
    UserTypes("1");
    QCOMPARE(w.Grid()->currentIndex(), latitude);
    QVERIFY(!w.Grid()->indexWidget(latitude));
    QCOMPARE(w.Cell(kLatitudeColumn, 1), before);
    QCOMPARE(Read(w.Item("POD_Enregistrer_ligne")), Q(Format(txt::MenuPodEnregistrerLigneN.en, 1)));
    QVERIFY(w.boxes.texts.isEmpty());
}

// Erase all, a new line, its record typed in the editor: "Fermer" gives the
// table its field columns back, with the value the user typed.
void RealDialogsTest::editorRecordIntoAnErasedTable() {
    RealWindow w;
    w.Button("btnEffacerTout")->click();
    QCOMPARE(w.boxes.texts, QStringList{Q(txt::ConfirmEraseAll.en)});
    w.Button("btnInserLigne")->click();
    QCOMPARE(w.window->Model()->columnCount(), kFirstFieldColumn);
    QCOMPARE(w.session.Table.CurrentRow(), 2);
    QString shown;
    OnNextDialog([](QDialog* d) {
        auto* editor = static_cast<RecordEditorDialog*>(d);
        QVERIFY(QTest::qWaitForWindowActive(editor));
        editor->Grid(1)->setCurrentCell(0, 3);
        UserTypes("ZZ001");
        Child<QPushButton>(editor, "btnOK")->click();
    });
    w.Item("EditRecord")->trigger();
    QCOMPARE(w.Cell(kFirstFieldColumn, 2), QString("ZZ001")); // the new line
    QCOMPARE(w.window->Model()->headerData(kFirstFieldColumn, Qt::Horizontal).toString(),
             QString("Unique identifier"));
    OnNextDialog([&shown](QDialog* d) {
        shown = static_cast<RecordEditorDialog*>(d)->Grid(1)->item(0, 3)->text();
        d->reject();
    });
    w.Item("EditRecord")->trigger();
    QCOMPARE(shown, QString("ZZ001"));
    QCOMPARE(w.boxes.texts.size(), 1);
}

// The folder or file picked in a real dialog comes back written as the system
// writes paths, the way the folders dialog and the messages show it: Qt's
// dialogs give '/' on Windows too.
void RealDialogsTest::dialogsGiveSystemPaths_data() {
    QTest::addColumn<bool>("folder");
    AddRow("a folder", true);
    AddRow("a file", false);
}

void RealDialogsTest::dialogsGiveSystemPaths() {
    QFETCH(bool, folder);
    TempDir dir;
    const std::string pod = dir.Write("fly2/system/AIRPORT.POD", "POD3");
    const QString qtFolder = QDir::cleanPath(Q(dir.File("fly2/system")));
    QtUserInteraction ui;
    OnNextDialog([folder](QDialog* d) {
        auto* files = qobject_cast<QFileDialog*>(d);
        QVERIFY(files);
        if (!folder) files->selectFile(QStringLiteral("AIRPORT.POD"));
        static_cast<QDialog*>(files)->accept();
    });
    std::optional<std::string> picked;
    if (folder) {
        picked = ui.PickFolder("Fly! II", dir.File("fly2/system"));
    } else {
        FileDialogRequest request;
        request.title = "Open";
        request.initialFolder = dir.File("fly2/system");
        picked = ui.OpenFile(request);
    }
    QVERIFY(picked);
    const QString expected = folder ? qtFolder : qtFolder + QStringLiteral("/AIRPORT.POD");
    QCOMPARE(Q(*picked), QDir::toNativeSeparators(expected));
#ifdef _WIN32
    QVERIFY(!picked->empty() && picked->find('/') == std::string::npos);
#endif
}

QTEST_MAIN(RealDialogsTest)
#include "test_real_dialogs.moc"
