// The main window driven as a user would: opens through the scripted seam,
// presses on cells and headings, the Edition and Export buttons, saves, the
// language and version commands and the first-run check.
#include "database/DbdFile.h"
#include "exchange/CsvFile.h"
#include "exchange/DexFile.h"
#include "platform/Cp1252.h"
#include "platform/Paths.h"
#include "settings/Settings.h"
#include "settings/Texts.h"
#include "support/DbdFixtures.h"
#include "support/DirectWriteFixtures.h"
#include "support/EditorHarness.h"
#include "table/ValueDisplay.h"
#include "ui/commands/ToolsCommands.h"
#include "ui/dialogs/AboutBox.h"
#include "ui/dialogs/ArchiveViewer.h"
#include "ui/grid/DefinitionsPage.h"
#include "ui/qt/CommandBoundary.h"
#include "ui/qt/QtText.h"

#include <QComboBox>
#include <QDesktopServices>
#include <QDialog>
#include <QDockWidget>
#include <QGroupBox>
#include <QLineEdit>
#include <QMenuBar>
#include <QMessageBox>
#include <QRadioButton>
#include <QRegularExpression>
#include <QSet>
#include <QStatusBar>
#include <QStyle>
#include <QTabWidget>
#include <QTableView>
#include <QTableWidget>
#include <QUrl>
#include <filesystem>
#include <fstream>
#include <map>

using namespace orvane;
using namespace orvane::testing;
using orvane::testing::ScriptedInteraction;
using orvane::testing::UiWorld;

namespace {

// Whether an action has a command: the boundary connects it and marks it.
bool HasCommand(const QAction* a) {
    return CommandBoundary::IsWired(a);
}

const std::string kFrancais = "fran\xE7"
                              "ais";

// The French window of the first start, with its directories dialog.
struct Harness : EditorHarness {
    explicit Harness(int version = 2, const std::string& language = kFrancais, bool writeIni = true,
                     bool first = true)
        : EditorHarness(HarnessOptions{version, language, writeIni, first, true}) {}
};

// The airport archives of both versions, with an ICAO index whose keys point
// at the world's three airports, or without one.
const QStringList kIcaoKeys = {"LFPG", "LFOJ", "LFRBX"};
void WriteAirportArchives(const UiWorld& world, bool withIndex) {
    std::vector<ArchiveSourceEntry> entries = {
        {"DATABASE\\AIRPORT.DBT", testing::UiTemplateText(), 0},
        {"DATABASE\\AIRPORT.DBD", world.dbd, 0}};
    if (withIndex) {
        std::vector<testing::AirportRow> rows;
        std::vector<std::uint32_t> at;
        for (const QString& key : kIcaoKeys) {
            at.push_back(std::uint32_t(56 + rows.size() * testing::kUiRecordSize));
            rows.push_back({key.toStdString(), ""});
        }
        entries.push_back(testing::AirportEntries(rows, 12, at)[0]); // the index alone
    }
    WriteArchive(world.Pod(), ArchiveLayout::Pod3, entries);
    WriteArchive(world.Epd(), ArchiveLayout::Epd, entries);
}

// Collects what the desktop is asked to open, and how many messages were
// shown by then.
class UrlCatcher : public QObject {
    Q_OBJECT
  public:
    explicit UrlCatcher(const ScriptedInteraction& ui) : ui_(ui) {
        QDesktopServices::setUrlHandler("file", this, "open");
    }
    ~UrlCatcher() override { QDesktopServices::unsetUrlHandler("file"); }
    QList<QUrl> urls;
    std::size_t messagesBefore = 0;
  public slots:
    void open(const QUrl& url) {
        urls << url;
        messagesBefore = ui_.messages.size();
    }

  private:
    const ScriptedInteraction& ui_;
};

// PATH for one test, restored after it.
struct PathScope {
    explicit PathScope(const std::string& path) : old(qgetenv("PATH")) {
        qputenv("PATH", QByteArray::fromStdString(path));
    }
    ~PathScope() { qputenv("PATH", old); }
    QByteArray old;
};

} // namespace

class MainWindowTest : public QObject {
    Q_OBJECT
  private slots:
    void helpCoversEveryMenuItemAndKey();
    void openFromArchive_data();
    void openFilesFromTheCommandLine_data();
    void openFilesFromTheCommandLine();
    void openTemplateAndForeignArchiveFromTheCommandLine();
    void openFromArchive();
    void openFromDisk();
    void openFailuresKeepTheWindowAsItWas();
    void unsavedChangesAskBeforeLoad();
    void typingChangesOnlyText();
    void flagPressesToggle();
    void cellClickAndHints();
    void defGridDoubleClickMovesColumn();
    void editionButtons_data();
    void editionButtons();
    void sortByHeadingClicks();
    void saveAllAndSelection();
    void saveGoesBackToTheFile_data();
    void saveGoesBackToTheFile();
    void saveInDirectWriteWritesACopy();
    void unsavedQuestionOffersSave_data();
    void unsavedQuestionOffersSave();
    void recentFilesAndReopenAtStart();
    void viewMenuBringsPanelsBack();
    void captions_data();
    void captions();
    void everyRowSitsInItsPlace();
    void languageCommandWritesSettings();
    void firstRunCheck();
    void fileGivenToAFirstRunOpensAfterTheCheck();
    void noNoticeWhenSetUp();
    void versionCommands();
    void dragSetsTheRectangleOfSelectPart();
    void rowCaptionsFollowTheKeyboard();
    void gridKeys();
    void everyEnabledMenuItemHasAHandler();
    void searchButtonsAndBox();
    void icaoLookup_data();
    void icaoLookup();
    void companionPrograms_data();
    void companionPrograms();
    void helpShowsTheMessageThenThePage_data();
    void helpShowsTheMessageThenThePage();
    void memoAndAboutOpenFromTheMenus();
    void messageBoxesFitTheirTitles_data();
    void messageBoxesFitTheirTitles();
};

void MainWindowTest::openFromArchive_data() {
    QTest::addColumn<int>("version");
    QTest::addColumn<bool>("epd");
    AddRow("Fly! II POD", 2, false);
    AddRow("Fly! 1 EPD", 1, true);
}

void MainWindowTest::openFromArchive() {
    QFETCH(int, version);
    QFETCH(bool, epd);
    Harness h(version);
    const std::string archive = epd ? h.world.Epd() : h.world.Pod();
    h.OpenArchive(archive);

    QCOMPARE(h.ui.openRequests.size(), std::size_t(1));
    const FileDialogRequest& r = h.ui.openRequests[0];
    QCOMPARE(Q(r.filter), Q(version == 1 ? txt::OpenFilterFly1.fr : txt::OpenFilterFly2.fr));
    QCOMPARE(Q(r.initialFolder), Q((epd ? h.world.Fly1() : h.world.Fly2()) + "system/"));
    QVERIFY(h.ui.messages.empty());

    // Contents: three rows, the template's six fields after the flag columns.
    QCOMPARE(h.model().rowCount(), 3);
    QCOMPARE(h.model().columnCount(), 4 + testing::kUiFieldCount);
    QCOMPARE(h.model().headerData(5, Qt::Horizontal).toString(), QString("Airport name"));
    QCOMPARE(h.model().headerData(0, Qt::Horizontal).toString(), Q("n°"));
    QCOMPARE(h.Cell(5, 1), QString("Charles de Gaulle"));
    QCOMPARE(h.Cell(5, 2), Q("Orléans Bricy"));
    QCOMPARE(h.Cell(6, 2), QString("172683.2500"));
    QCOMPARE(h.Cell(8, 1), QString("392"));
    QCOMPARE(h.Column(0), QString("1,2,3"));
    QCOMPARE(h.Column(3), QString("0,1,0"));
    // Numeric fields right-aligned, texts left, flags as designed.
    auto align = [&](int col) {
        return Qt::Alignment(h.model().index(0, col).data(Qt::TextAlignmentRole).toInt()) &
               Qt::AlignHorizontal_Mask;
    };
    QCOMPARE(align(0), Qt::AlignRight);
    QCOMPARE(align(2), Qt::AlignHCenter);
    QCOMPARE(align(5), Qt::AlignLeft);
    QCOMPARE(align(6), Qt::AlignRight);

    // Status text, definitions page, menus and labels.
    const std::uint64_t size = std::filesystem::file_size(archive);
    const std::string status =
        Format((epd ? txt::StatusEpdDbd : txt::StatusPodDbd).fr, "AIRPORT.dbd", "aprt", 3,
               DateDecode(0x3B9ACA00, h.session.Display).c_str(), int(size));
    QCOMPARE(h.Label("StatusPanel0")->text(), Q(status));
    QCOMPARE(h.Find<DefinitionsPage>("Def_grid")->rowCount(), 7);
    QCOMPARE(h.Find<DefinitionsPage>("Def_grid")->item(0, 1)->text(),
             QString("AIRPORT.dbt - 6 champs"));
    QCOMPARE(h.Find<DefinitionsPage>("Def_grid")->item(2, 1)->text(),
             QString("anam,16,20,C,Airport name"));
    QVERIFY(h.Item("DBD_Enregistrer_tout")->isEnabled());
    QVERIFY(h.Item("DBD_Enregistrer_select")->isEnabled());
    QVERIFY(h.Item("DEX_Enregistrer_tout")->isEnabled());
    QVERIFY(h.Item("CSV_Ajouter")->isEnabled());
    QVERIFY(!h.Item("POD_Enregistrer_ligne")->isEnabled());
    QVERIFY(!h.Item("POD_mode_normal")->isEnabled());
    QCOMPARE(h.Label("lblSelect")->text(), Q("1 ligne sélectionnée"));
    QCOMPARE(h.session.DataType, std::string("AIRPORT"));
    QVERIFY(h.ui.busyCount > 0);
    QCOMPARE(h.ui.busyDepth, 0);
    // The current cell is the first field of the first row.
    QCOMPARE(h.Grid()->currentIndex(), h.model().index(0, 4));
}

// Files named on the command line (a double click in a file manager): each
// kind opens through its menu command's work, without a dialog.
void MainWindowTest::openFilesFromTheCommandLine_data() {
    QTest::addColumn<QStringList>("files"); // below the world's folder
    QTest::addColumn<bool>("opens");        // the world's three airports
    QTest::addColumn<QString>("message");   // part of the one message shown, "" for none
    QTest::addColumn<QString>("question");  // part of the one question asked, "" for none
    const QString none;
    AddRow("dbd", QStringList{"work/AIRPORT.dbd"}, true, none, none);
    AddRow("pod", QStringList{"fly2/system/AIRPORT.POD"}, true, none, none);
    AddRow("epd", QStringList{"fly1/system/AIRPORT.EPD"}, true, none, none);
    AddRow("dex", QStringList{"work/AIRPORT.DEX"}, true, none, none);
    AddRow("csv", QStringList{"work/airport.csv"}, true, none, none);
    AddRow("two: the first", QStringList{"work/airport.csv", "work/AIRPORT.dbd"}, true,
           "the file given after airport.csv was left aside", none);
    AddRow("several: the first",
           QStringList{"work/AIRPORT.dbd", "fly2/system/AIRPORT.POD", "work/airport.csv"}, true,
           "the 2 files given after AIRPORT.dbd were left aside", none);
    AddRow("missing", QStringList{"work/NAVAID.dbd"}, false, "NAVAID.dbd", none);
    AddRow("unknown kind", QStringList{"work/notes.txt"}, false,
           "notes.txt is not a file Orvane opens", none);
    AddRow("damaged archive", QStringList{"work/AIRPORT.POD"}, false, "AIRPORT.POD", none);
    AddRow("archive without its table", QStringList{"work/TEXTURES.POD"}, false, none,
           "holds no table DATABASE\\TEXTURES.DBD");
}

void MainWindowTest::openFilesFromTheCommandLine() {
    QFETCH(QStringList, files);
    QFETCH(bool, opens);
    QFETCH(QString, message);
    QFETCH(QString, question);
    Harness h(2, "english");
    {
        // The exchange files, as the editor exports them.
        SessionState other;
        other.Display.decimalSeparator = '.';
        ScriptedInteraction quiet;
        StartupRead(other, h.world.Ini());
        OpenDbdFromArchive(other, h.world.Pod(), {}, quiet);
        ExportDex(other, h.world.Work() + "AIRPORT.DEX", false, quiet);
        ExportCsv(other, h.world.Work() + "airport.csv", false, quiet);
        QVERIFY(quiet.messages.empty());
    }
    std::ofstream(h.world.Work() + "notes.txt") << "text\n";
    std::ofstream(h.world.Work() + "AIRPORT.POD") << "POD3 but nothing else";
    WriteArchive(h.world.Work() + "TEXTURES.POD", ArchiveLayout::Pod3,
                 {{"ART\\RUNWAY.PBM", std::string(64, 'x'), 0}});
    h.ui.defaultAnswer = false;

    std::vector<std::string> paths;
    for (const QString& f : files)
        paths.push_back(h.world.dir.File(f.toStdString()));
    h.window->OpenFiles(paths);

    QCOMPARE(h.session.DataType, std::string(opens ? "AIRPORT" : ""));
    QCOMPARE(h.model().rowCount() == 3, opens); // an empty window has no three rows
    QCOMPARE(h.ui.messages.size(), std::size_t(message.isEmpty() ? 0 : 1));
    if (!message.isEmpty())
        QVERIFY2(Q(h.ui.messages[0].text).contains(message), h.ui.messages[0].text.c_str());
    QCOMPARE(h.ui.questions.size(), std::size_t(question.isEmpty() ? 0 : 1));
    if (!question.isEmpty())
        QVERIFY2(Q(h.ui.questions[0]).contains(question), h.ui.questions[0].c_str());
    // No dialog: the file came from the command line.
    QVERIFY(h.ui.openRequests.empty());
    if (opens) {
        QCOMPARE(h.Cell(5, 1), QString("Charles de Gaulle"));
        QVERIFY(h.Item("DEX_Enregistrer_tout")->isEnabled());
    }
}

// A template alone shows its fields on the definitions page; an archive
// without its table goes to the archive viewer when the user says so.
void MainWindowTest::openTemplateAndForeignArchiveFromTheCommandLine() {
    Harness h(2, "english");
    const std::string dbt = h.world.Work() + "Airport.dbt";
    std::ofstream(dbt, std::ios::binary) << testing::UiTemplateText();
    h.window->OpenFiles({dbt});
    QVERIFY(h.ui.messages.empty());
    QCOMPARE(h.session.DataType, std::string());
    QCOMPARE(h.Find<QTabWidget>("PageControl")->currentWidget(), h.Find<QWidget>("TabSheet2"));
    QCOMPARE(h.Find<DefinitionsPage>("Def_grid")->rowCount(), 7);
    QCOMPARE(h.Find<DefinitionsPage>("Def_grid")->item(2, 1)->text(),
             QString("anam,16,20,C,Airport name"));

    const std::string textures = h.world.Work() + "TEXTURES.POD";
    WriteArchive(textures, ArchiveLayout::Pod3,
                 {{"ART\\RUNWAY.PBM", std::string(64, 'x'), 0},
                  {"ART\\TAXIWAY.PBM", std::string(32, 'y'), 0}});
    h.ui.defaultAnswer = true;
    int listed = -1;
    QTimer::singleShot(100, h.window.get(), [&] {
        listed = h.window->PodViewer()->findChild<QTableView*>("sgPodview")->model()->rowCount();
        h.window->PodViewer()->reject();
    });
    h.window->OpenFiles({textures});
    QCOMPARE(h.ui.questions.size(), std::size_t(1));
    QCOMPARE(listed, 2);
    QCOMPARE(h.session.DataType, std::string());
}

void MainWindowTest::openFromDisk() {
    Harness h(2, "english");
    h.ui.openAnswers.push_back(h.world.DiskDbd());
    h.Item("DBD_ouvrir")->trigger();
    QCOMPARE(h.ui.openRequests.size(), std::size_t(1));
    QCOMPARE(Q(h.ui.openRequests[0].filter), Q(txt::OpenDbdFilter.en));
    QCOMPARE(Q(h.ui.openRequests[0].initialFolder), Q(h.world.Work()));
    QCOMPARE(h.model().rowCount(), 3);
    QCOMPARE(h.Cell(7, 3), QString("-16037.7500"));
    const std::string status = Format(txt::StatusDiskDbd.en, "AIRPORT.dbd", "aprt", 3,
                                      int(std::filesystem::file_size(h.world.DiskDbd())));
    QCOMPARE(h.Label("StatusPanel0")->text(), Q(status));
    QCOMPARE(h.Label("lblSelect")->text(), QString("1 selected line"));
    QCOMPARE(h.Find<DefinitionsPage>("Def_grid")->item(0, 1)->text(),
             QString("AIRPORT.dbt - 6 fields"));
    QVERIFY(h.Item("DBD_Enregistrer_tout")->isEnabled());

    // WorkDir follows the folder of the opened file.
    testing::TempDir other;
    const std::string moved = other.Write("elsewhere/airport.DBD", h.world.dbd);
    h.ui.openAnswers.push_back(moved);
    h.Item("DBD_ouvrir")->trigger();
    QCOMPARE(Q(h.session.WorkDir), Q(other.File("elsewhere") + "/"));
}

// A cancelled dialog and files of another kind open nothing; an archive
// that cannot be read is said and the loaded table stays.
void MainWindowTest::openFailuresKeepTheWindowAsItWas() {
    Harness h;
    h.ui.openAnswers.push_back(std::nullopt);
    h.Item("POD_ouvrir")->trigger();
    h.OpenArchive(h.world.dir.Write("notes.txt", "hello"));
    h.ui.openAnswers.push_back(h.world.Pod()); // a POD is not a DBD
    h.Item("DBD_ouvrir")->trigger();
    QCOMPARE(h.ui.openRequests.size(), std::size_t(3));
    QVERIFY(h.ui.messages.empty());
    QVERIFY(h.Label("StatusPanel0")->text().isEmpty());
    QVERIFY(!h.Item("DBD_Enregistrer_tout")->isEnabled());
    QCOMPARE(h.model().rowCount(), 4); // the four empty rows of a new window

    h.OpenArchive(h.world.Pod());
    QCOMPARE(h.model().rowCount(), 3);
    // A damaged archive: the error is shown and the loaded table stays.
    const std::string damaged = h.world.dir.Write("fly2/system/COMM.POD", std::string(40, '\x7F'));
    h.OpenArchive(damaged);
    QCOMPARE(h.ui.messages.size(), std::size_t(1));
    QCOMPARE(h.ui.messages[0].kind, MessageKind::Error);
    // Worded in the user's language where it is shown, the fault within too.
    const std::string fault = Format(txt::ArchiveShorterThanHeader.fr, 40ULL, 96);
    QCOMPARE(Q(h.ui.messages[0].text),
             Q(Format(txt::DamagedArchive.fr, damaged.c_str(), fault.c_str())));
    QCOMPARE(h.model().rowCount(), 3);
    QCOMPARE(h.Cell(5, 1), QString("Charles de Gaulle"));
    QCOMPARE(h.session.DataType, std::string("AIRPORT"));
    // The program carries on: the next command works.
    h.OpenArchive(h.world.Pod());
    QCOMPARE(h.ui.messages.size(), std::size_t(1));
}

void MainWindowTest::unsavedChangesAskBeforeLoad() {
    Harness h;
    // The title's mark says what HasUnsavedChanges says, at every step.
    const auto unsaved = [&] {
        const bool marked = h.window->isWindowModified();
        if (marked != h.window->HasUnsavedChanges()) QTest::qFail("title mark", __FILE__, __LINE__);
        return marked;
    };
    QVERIFY(h.window->windowTitle().contains("[*]"));
    h.OpenArchive(h.world.Pod());
    QVERIFY(!unsaved());
    // Writing the same text back is no change.
    QVERIFY(h.model().setData(h.model().index(0, 5), QString("Charles de Gaulle")));
    QVERIFY(!unsaved());
    QVERIFY(h.model().setData(h.model().index(0, 5), QString("Roissy")));
    QVERIFY(unsaved());

    h.ui.answers = {false};
    h.Item("POD_ouvrir")->trigger();
    QCOMPARE(h.ui.questions.size(), std::size_t(1));
    QCOMPARE(Q(h.ui.questions[0]), Q(txt::UnsavedChangesSave.fr));
    QCOMPARE(h.ui.openRequests.size(), std::size_t(1)); // no dialog after Cancel
    QCOMPARE(h.Cell(5, 1), QString("Roissy"));
    QVERIFY(unsaved());

    // Undone back to the loaded table, redone, saved, undone and redone
    // around the saved point.
    h.Item("Annuler")->trigger();
    QVERIFY(!unsaved());
    h.Item("Retablir")->trigger();
    QVERIFY(unsaved());
    h.ui.saveAnswers.push_back(h.world.Work() + "SAVED.dbd");
    h.Item("DBD_Enregistrer_tout")->trigger();
    QVERIFY(!unsaved());
    h.Item("Annuler")->trigger();
    QVERIFY(unsaved());
    h.Item("Retablir")->trigger();
    QVERIFY(!unsaved());
    QVERIFY(h.model().setData(h.model().index(0, 5), QString("Roissy 2")));
    QVERIFY(unsaved());

    h.ui.answers = {true};
    h.OpenArchive(h.world.Pod());
    QCOMPARE(h.Cell(5, 1), QString("Charles de Gaulle"));
    QVERIFY(!unsaved());
}

void MainWindowTest::typingChangesOnlyText() {
    WithPod<Harness> h;
    // "Suppr" and "Export" refuse typing.
    QVERIFY(!(h.model().flags(h.model().index(0, 3)) & Qt::ItemIsEditable));
    QVERIFY(!h.model().setData(h.model().index(0, 3), QString("1")));
    QVERIFY(!h.model().setData(h.model().index(0, 2), QString("x")));
    QCOMPARE(h.Column(3), QString("0,1,0"));

    // Typing into a field through the view's editor.
    RecordGridView* v = h.Grid();
    h.window->activateWindow();
    v->setFocus();
    v->setCurrentIndex(h.model().index(2, 5));
    for (QChar c : QString("Brest 2")) {
        QWidget* target = QApplication::focusWidget() ? QApplication::focusWidget() : v;
        QTest::keyClick(target, c.toLatin1());
    }
    QVERIFY(QApplication::focusWidget() != v); // an editor is open on the cell
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    QCoreApplication::processEvents(); // the editor commits after the key
    QCOMPARE(h.Cell(5, 3), QString("Brest 2"));
    // Unicode in, Windows-1252 in the table.
    QVERIFY(h.model().setData(h.model().index(2, 5), Q("Brest é")));
    QCOMPARE(std::string(h.session.Table.Cell(5, 3)), std::string("Brest \xE9"));
    QCOMPARE(h.session.Table.SelectedCount, 1);
    QCOMPARE(h.Label("lblSelect")->text(), Q("1 ligne sélectionnée"));
    QCOMPARE(h.Cell(1, 3), QString());
}

void MainWindowTest::flagPressesToggle() {
    WithPod<Harness> h;
    h.PressCell(3, 1); // Export of row 1: selected
    QCOMPARE(h.Column(3), QString("1,1,0"));
    QCOMPARE(h.Label("lblSelect")->text(), Q("2 lignes sélectionnées"));
    QCOMPARE(h.Label("lblDelete")->text(), Q("0 ligne à supprimer"));
    h.PressCell(2, 3); // Suppr of row 3: marked and selected
    QCOMPARE(h.Column(2), QString(",,x"));
    QCOMPARE(h.Column(3), QString("1,1,1"));
    QCOMPARE(h.Label("lblDelete")->text(), Q("1 ligne à supprimer"));
    QCOMPARE(h.Label("lblSelect")->text(), Q("3 lignes sélectionnées"));
    QCOMPARE(h.model().index(2, 2).data(Qt::ForegroundRole).value<QBrush>().color(),
             QColor(Qt::red));
    h.PressCell(3, 3); // unselecting a marked row unmarks it
    QCOMPARE(h.Column(2), QString(",,"));
    QCOMPARE(h.Column(3), QString("1,1,0"));
    h.PressCell(3, 1);
    h.PressCell(3, 2);
    QCOMPARE(h.Column(3), QString("0,0,0"));
    QVERIFY(!h.Item("DBD_Enregistrer_select")->isEnabled());
    QVERIFY(!h.Item("CSV_Enregistrer_select")->isEnabled());
    QVERIFY(h.Item("DBD_Enregistrer_tout")->isEnabled());
    // A press on a field cell toggles nothing.
    h.PressCell(5, 2);
    QCOMPARE(h.Column(3), QString("0,0,0"));
    QCOMPARE(h.session.Table.SelectedCount, 0);
}

void MainWindowTest::cellClickAndHints() {
    WithPod<Harness> h;
    const char sep = h.session.DecimalSeparator();
    const std::string coordinate = *CoordinateText("176435.0000", "9081.5000", sep);
    // A latitude cell: the pair with the cell to its right.
    h.PressCell(6, 1);
    QCOMPARE(h.Label("StatusPanel1")->text(), Q(coordinate));
    QCOMPARE(h.Label("lblNom")->text(), QString("Latitude (seconds)"));
    QCOMPARE(h.window->SearchColumn(), 6);
    QCOMPARE(h.Button("btnSuppLigne")->text(), Q("Supprimer ligne n°1"));
    QCOMPARE(h.Button("btnInserLigne")->text(), Q("Insérer ligne après n°1"));
    QCOMPARE(Read(h.Item("POD_Enregistrer_ligne")), Q("Enregistrer la ligne n°1 dans le POD"));
    QCOMPARE(h.Find<DefinitionsPage>("Def_grid")->currentRow(), 3);
    // A flag column: panel 1 emptied, search column kept; the captions name
    // the row now current, the one a delete would remove.
    h.PressCell(0, 2);
    QVERIFY(h.Label("StatusPanel1")->text().isEmpty());
    QCOMPARE(h.window->SearchColumn(), 6);
    QCOMPARE(h.Button("btnSuppLigne")->text(), Q("Supprimer ligne n°2"));
    // A longitude cell: the pair with the cell to its left.
    h.PressCell(7, 1);
    QCOMPARE(h.Label("StatusPanel1")->text(), Q(coordinate));
    // Hints: coordinates, dates of unique identifiers, nothing elsewhere.
    QCOMPARE(h.model().index(0, 6).data(Qt::ToolTipRole).toString(), Q(coordinate));
    QCOMPARE(h.model().index(0, 4).data(Qt::ToolTipRole).toString(),
             Q(DateDecode(std::int32_t(0x3A2F1B00), h.session.Display)));
    QCOMPARE(h.model().index(2, 4).data(Qt::ToolTipRole).toString(), Q(txt::NotADate));
    QVERIFY(!h.model().index(0, 5).data(Qt::ToolTipRole).isValid());
    // Hovering a text cell empties panel 1.
    h.Commands().grid->CellHovered(h.model().index(0, 5));
    QVERIFY(h.Label("StatusPanel1")->text().isEmpty());
    h.Commands().grid->CellHovered(h.model().index(0, 7));
    QCOMPARE(h.Label("StatusPanel1")->text(), Q(coordinate));
}

void MainWindowTest::defGridDoubleClickMovesColumn() {
    WithPod<Harness> h;
    h.Grid()->setCurrentIndex(h.model().index(1, 4));
    h.Find<DefinitionsPage>("Def_grid")->setCurrentCell(2, 1);
    h.Commands().grid->DefinitionDoubleClicked();
    QCOMPARE(h.Grid()->currentIndex(), h.model().index(1, 5));
    QCOMPARE(h.session.Table.CurrentColumn(), 5);
    QCOMPARE(h.Find<QTabWidget>("PageControl")->currentIndex(), 0);
    // The summary row leads to the "Export" column.
    h.Find<DefinitionsPage>("Def_grid")->setCurrentCell(0, 1);
    h.Commands().grid->DefinitionDoubleClicked();
    QCOMPARE(h.session.Table.CurrentColumn(), 3);
    // The page's grid takes the page's width, however wide the window.
    h.window->resize(1200, 600);
    h.Find<QTabWidget>("PageControl")->setCurrentWidget(h.Find<QWidget>("TabSheet2"));
    QCoreApplication::processEvents();
    QCOMPARE(h.Find<DefinitionsPage>("Def_grid")->width(), h.Find<QWidget>("TabSheet2")->width());
}

void MainWindowTest::editionButtons_data() {
    QTest::addColumn<QString>("button");
    QTest::addColumn<bool>("answer");
    QTest::addColumn<QString>("question");
    QTest::addColumn<QString>("numbers");
    QTest::addColumn<QString>("exports");
    QTest::addColumn<QString>("selectLabel");
    QTest::addColumn<bool>("selectionCommands");
    QTest::addColumn<int>("records"); // the count in the status bar
    const QString none = Q("0 ligne sélectionnée"), one = Q("1 ligne sélectionnée"),
                  two = Q("2 lignes sélectionnées");
    // A confirmed command, then the same command cancelled: nothing changes.
    const auto confirmed = [&](const char* name, const char* button, const QString& question,
                               const char* numbers, const char* exports, const QString& label,
                               bool selection, int records) {
        AddRow(qPrintable(QString(name) + " OK"), button, true, question, numbers, exports, label,
               selection, records);
        AddRow(qPrintable(QString(name) + " Cancel"), button, false, question, "1,2,3", "0,1,0",
               one, true, 3);
    };
    const QString deleteSelection = Q("Vous allez supprimer 1 ligne");
    confirmed("delete line", "btnSuppLigne", Q(txt::ConfirmDeleteLine.fr), "1,2", "1,0", one, true,
              2);
    confirmed("erase all", "btnEffacerTout", Q(txt::ConfirmEraseAll.fr), "", "", none, false, 1);
    confirmed("delete selection", "btnSuppSelect", deleteSelection, "1,2", "0,0", none, false, 2);
    confirmed("select all", "btnSelectionAll", Q(txt::ConfirmSelectAll.fr), "1,2,3", "1,1,1",
              Q("3 lignes sélectionnées"), true, 3);
    confirmed("select none", "btnSelectionNone", Q(txt::ConfirmSelectNone.fr), "1,2,3", "0,0,0",
              none, false, 3);
    confirmed("select part", "btnSelectPart", Q(txt::ConfirmSelectPart.fr), "1,2,3", "0,1,1", two,
              true, 3);
    AddRow("insert line", "btnInserLigne", true, "", "1,2,3,4", "0,1,1,0", two, true, 4);
    AddRow("append line", "bntAjoutFin", true, "", "1,2,3,4", "0,1,0,1", two, true, 4);
}

void MainWindowTest::editionButtons() {
    QFETCH(QString, button);
    QFETCH(bool, answer);
    QFETCH(QString, question);
    QFETCH(QString, numbers);
    QFETCH(QString, exports);
    QFETCH(QString, selectLabel);
    QFETCH(bool, selectionCommands);
    QFETCH(int, records);
    WithPod<Harness> h;
    // A dragged rectangle over the "Export" cells of rows 2 and 3; the
    // current cell stays on row 1.
    RecordGridView* v = h.Grid();
    v->selectionModel()->select(QItemSelection(h.model().index(1, 3), h.model().index(2, 3)),
                                QItemSelectionModel::ClearAndSelect);
    QCOMPARE(h.session.Table.CurrentRow(), 1);

    h.ui.answers = {answer};
    auto* b = h.window->findChild<QPushButton*>(button);
    QVERIFY(b);
    QTest::mouseClick(b, Qt::LeftButton);

    if (question.isEmpty())
        QVERIFY(h.ui.questions.empty());
    else {
        QCOMPARE(h.ui.questions.size(), std::size_t(1));
        QCOMPARE(Q(h.ui.questions[0]), question);
    }
    QCOMPARE(h.Column(0), numbers.isEmpty() ? QString() : numbers);
    QCOMPARE(h.Column(3), exports);
    QCOMPARE(h.Label("lblSelect")->text(), selectLabel);
    QCOMPARE(h.Item("DBD_Enregistrer_select")->isEnabled(), selectionCommands);
    const std::string count = Format(txt::RecordCount.In(Lang::French, records), records);
    QVERIFY2(h.Label("StatusPanel0")->text().contains(Q("- " + count + " -")),
             qPrintable(h.Label("StatusPanel0")->text()));
    if (button == "btnEffacerTout" && answer) {
        QCOMPARE(h.model().columnCount(), 4);
        QCOMPARE(h.model().headerData(0, Qt::Horizontal).toString(), QString());
        // The next load writes the flag headings again.
        h.OpenArchive(h.world.Pod());
        QCOMPARE(h.model().headerData(0, Qt::Horizontal).toString(), Q("n°"));
        QCOMPARE(h.model().headerData(3, Qt::Horizontal).toString(), QString("Export"));
    }
    if (button == "btnInserLigne") {
        QCOMPARE(h.Cell(1, 2), QString("X"));
        QCOMPARE(h.Grid()->currentIndex().row(), 1); // the new row is current
    }
    if (!question.isEmpty()) return;
    // The new row is selected and counted: unselecting it counts down to what
    // was there before, and a deletion of the selection says how many go.
    h.ui.answers = {true};
    QTest::mouseClick(h.Button("btnSelectionNone"), Qt::LeftButton);
    QTest::mouseClick(h.window->findChild<QPushButton*>(button), Qt::LeftButton);
    QCOMPARE(h.Label("lblSelect")->text(), Q("1 ligne sélectionnée"));
    h.PressCell(3, button == "btnInserLigne" ? 3 : 5);
    QCOMPARE(h.Label("lblSelect")->text(), Q("0 ligne sélectionnée"));
    QTest::mouseClick(h.window->findChild<QPushButton*>(button), Qt::LeftButton);
    h.ui.answers = {true};
    QTest::mouseClick(h.Button("btnSuppSelect"), Qt::LeftButton);
    QCOMPARE(Q(h.ui.questions.back()), Q("Vous allez supprimer 1 ligne"));
    QCOMPARE(h.model().rowCount(), 5);
    if (button == "btnSelectionNone" && answer)
        QCOMPARE(h.Label("lblDelete")->text(), Q("0 ligne à supprimer"));
}

void MainWindowTest::sortByHeadingClicks() {
    WithPod<Harness> h;
    // Column 4 is the sort column at start, ascending: the first click flips it.
    h.ClickHeading(4);
    QCOMPARE(h.Column(4), QString("3A2F1B01,3A2F1B00,0"));
    QCOMPARE(h.Column(0), QString("2,1,3")); // whole rows move with their numbers
    QHeaderView* heading = h.Grid()->horizontalHeader();
    QCOMPARE(heading->sortIndicatorSection(), 4);
    QCOMPARE(heading->sortIndicatorOrder(), Qt::DescendingOrder);
    h.ClickHeading(4);
    QCOMPARE(h.Column(0), QString("3,1,2"));
    // Another column sorts ascending, numbers as numbers.
    h.ClickHeading(7);
    QCOMPARE(h.Column(7), QString("-16037.7500,6440.0000,9081.5000"));
    QCOMPARE(h.Commands().grid->SortColumn(), 7);
    QVERIFY(h.Commands().grid->SortAscending());
    h.ClickHeading(8);
    QCOMPARE(h.Column(8), QString("325,392,412"));
    h.ClickHeading(8);
    QCOMPARE(h.Column(8), QString("412,392,325"));
    QCOMPARE(heading->sortIndicatorSection(), 8);
    QCOMPARE(heading->sortIndicatorOrder(), Qt::DescendingOrder);
    // Off in direct-write mode.
    h.Commands().grid->SetSortingAllowed(false);
    h.ClickHeading(8);
    QCOMPARE(h.Column(8), QString("412,392,325"));
    h.Commands().grid->SetSortingAllowed(true);
    // The arrow covers no text: beside it, a narrow heading's every word
    // still fits (its column widens), in the style's own label margins.
    WrapHeaderView* head = h.Grid()->Heading();
    const int margin = 2 * head->style()->pixelMetric(QStyle::PM_HeaderMargin, nullptr, head);
    for (int column : {int(kColSuppr), int(kColNumber), 5}) {
        h.ClickHeading(column);
        const QString title = h.model().headerData(column, Qt::Horizontal).toString();
        const int room = head->TextRect(QRect(0, 0, head->sectionSize(column), 10), column).width();
        for (const QString& word : title.split(' '))
            QVERIFY2(head->fontMetrics().horizontalAdvance(word) + margin <= room,
                     qPrintable(title));
    }
}

void MainWindowTest::saveAllAndSelection() {
    WithPod<Harness> h;
    const std::string all = h.world.dir.File("work/ALL.dbd");
    h.ui.saveAnswers.push_back(all);
    h.Item("DBD_Enregistrer_tout")->trigger();
    QVERIFY2(h.ui.messages.empty(), h.ui.messages.empty() ? "" : h.ui.messages[0].text.c_str());
    QCOMPARE(h.ui.saveRequests.size(), std::size_t(1));
    const FileDialogRequest& r = h.ui.saveRequests[0];
    QCOMPARE(Q(r.title), Q(txt::SaveDbdTitle.fr));
    QCOMPARE(Q(r.filter), Q(txt::SaveDbdFilter.fr));
    QCOMPARE(Q(r.fileName), QString("AIRPORT.dbd"));
    QCOMPARE(Q(r.initialFolder), Q(h.session.WorkDir));
    QVERIFY(r.confirmOverwrite);

    // Unchanged records come back byte for byte; the header differs only in
    // its save time.
    const std::string saved = testing::ReadBytes(all);
    const std::string& original = h.world.dbd;
    QCOMPARE(saved.size(), original.size());
    QCOMPARE(saved.substr(0, 12), original.substr(0, 12));
    QCOMPARE(saved.substr(16), original.substr(16));

    const std::string part = h.world.dir.File("work/PART.dbd");
    h.ui.saveAnswers.push_back(part);
    h.Item("DBD_Enregistrer_select")->trigger();
    const std::string selected = testing::ReadBytes(part);
    QCOMPARE(selected.size(), std::size_t(56 + testing::kUiRecordSize));
    QCOMPARE(int(static_cast<unsigned char>(selected[16])), 1); // record count
    QCOMPARE(selected.substr(56), testing::UiRecord(testing::UiAirports()[1]));

    // Cancel writes nothing.
    h.ui.saveAnswers.push_back(std::nullopt);
    h.Item("DBD_Enregistrer_tout")->trigger();
    QVERIFY(!h.world.dir.Exists("work/AIRPORT.dbd.tmp"));

    // A cell that does not convert: the error is shown and the old file stays.
    QVERIFY(h.model().setData(h.model().index(1, 6), QString("north")));
    h.ui.saveAnswers.push_back(all);
    h.Item("DBD_Enregistrer_tout")->trigger();
    QCOMPARE(h.ui.messages.size(), std::size_t(1));
    QCOMPARE(h.ui.messages[0].kind, MessageKind::Error);
    QCOMPARE(testing::ReadBytes(all), saved);
}

// The title as a window with a file shows it, before Qt puts in its mark.
QString TitleOf(const std::string& name) {
    return Q(name) + "[*]" + Q(" \xE2\x80\x94 Orvane");
}

// The table of a DBD file, read as the editor reads it.
std::string SavedCell(const SessionState& s, const std::string& path, int col, int row) {
    SessionState other;
    static_cast<SessionSettings&>(other) = s;
    ScriptedInteraction quiet;
    OpenDbdFromDisk(other, path, {}, quiet);
    return std::string(other.Table.Cell(col, row));
}

void MainWindowTest::saveGoesBackToTheFile_data() {
    QTest::addColumn<QString>("kind");
    AddRow("DBD on disk", QString("dbd"));
    AddRow("archive entry", QString("archive"));
    AddRow("DEX file", QString("dex"));
}

// Save writes back to the DBD the table came from without a question; a
// table out of an archive or a DEX file asks where once, then Save goes
// there. The title and the status bar name the file edited at every step.
void MainWindowTest::saveGoesBackToTheFile() {
    QFETCH(QString, kind);
    Harness h(2, "english");
    const std::string dex = h.world.Work() + "OLD.dex";
    if (kind == "dbd") {
        h.Open("DBD_ouvrir", h.world.DiskDbd());
        QCOMPARE(h.window->windowTitle(), TitleOf("AIRPORT.dbd"));
    } else {
        h.OpenArchive(h.world.Pod());
        QCOMPARE(h.window->windowTitle(),
                 TitleOf("AIRPORT.POD \xE2\x96\xB8 DATABASE\\AIRPORT.DBD"));
    }
    if (kind == "dex") {
        h.Save(h.Item("DEX_Enregistrer_tout"), dex);
        h.Open("DEX_ouvrir", dex);
        QCOMPARE(h.window->windowTitle(), TitleOf("OLD.dex"));
    }
    const std::string archive = testing::ReadBytes(h.world.Pod());
    const std::string target = kind == "dbd" ? h.world.DiskDbd() : h.world.Work() + "CHOSEN.dbd";
    const std::size_t asked = h.ui.saveRequests.size();
    for (const char* name : {"Roissy", "Roissy 2"}) {
        QVERIFY(h.model().setData(h.model().index(0, 5), QString(name)));
        QVERIFY(h.window->isWindowModified());
        h.ui.saveAnswers = {target}; // answers a dialog only if one shows
        h.Item("Enregistrer")->trigger();
        QVERIFY2(h.ui.messages.empty(), h.ui.messages.empty() ? "" : h.ui.messages[0].text.c_str());
        QCOMPARE(h.ui.saveRequests.size(), asked + (kind == "dbd" ? 0 : 1)); // once at most
        QVERIFY(!h.window->isWindowModified());
        QCOMPARE(Q(SavedCell(h.session, target, 5, 1)), QString(name));
        QCOMPARE(h.window->windowTitle(), TitleOf(FileNameOf(target)));
        QCOMPARE(h.Label("StatusPanel0")->text(),
                 Q(Format(txt::StatusDiskDbd.en, FileNameOf(target).c_str(), "aprt", 3,
                          int(std::filesystem::file_size(target)))));
    }
    QCOMPARE(testing::ReadBytes(h.world.Pod()), archive); // never written over
    // Save as asks, and the file it names is the one edited from then on.
    const std::string copy = h.world.Work() + "COPY.dbd";
    h.ui.saveAnswers.clear();
    QVERIFY(h.model().setData(h.model().index(0, 5), QString("Roissy 3")));
    h.Save(h.Item("DBD_Enregistrer_tout"), copy);
    QCOMPARE(h.ui.saveRequests.size(), asked + (kind == "dbd" ? 1 : 2));
    QCOMPARE(h.window->windowTitle(), TitleOf("COPY.dbd"));
    QVERIFY(h.Label("StatusPanel0")->text().startsWith("File COPY.dbd - "));
    QCOMPARE(Q(SavedCell(h.session, target, 5, 1)), QString("Roissy 2"));
    h.Item("Annuler")->trigger(); // undone past the save: the mark is back, the file stays named
    QVERIFY(h.window->isWindowModified());
    QCOMPARE(h.window->windowTitle(), TitleOf("COPY.dbd"));
    h.Item("Enregistrer")->trigger();
    QCOMPARE(Q(SavedCell(h.session, copy, 5, 1)), QString("Roissy 2"));
}

// In direct-write mode the archive is the file edited: Save never writes it,
// asks where to put a DBD copy each time, and the title keeps the archive.
void MainWindowTest::saveInDirectWriteWritesACopy() {
    Harness h(2, "english");
    h.Open("POD_ouvrir_ligne", h.world.Pod());
    QCOMPARE(h.session.Mode, EditMode::DirectWrite);
    const QString title = TitleOf("AIRPORT.POD \xE2\x96\xB8 DATABASE\\AIRPORT.DBD");
    QCOMPARE(h.window->windowTitle(), title);
    const std::string archive = testing::ReadBytes(h.world.Pod());
    const std::string copy = h.world.Work() + "COPY.dbd";
    QVERIFY(h.model().setData(h.model().index(0, 5), QString("Roissy")));
    for (std::size_t n = 1; n <= 2; ++n) {
        h.ui.saveAnswers = {copy};
        h.Item("Enregistrer")->trigger();
        QCOMPARE(h.ui.saveRequests.size(), n);
        QCOMPARE(Q(SavedCell(h.session, copy, 5, 1)), QString("Roissy"));
        QCOMPARE(h.window->windowTitle(), title);
        QVERIFY(h.window->isWindowModified()); // the row still waits to be written
    }
    QCOMPARE(testing::ReadBytes(h.world.Pod()), archive);
}

void MainWindowTest::unsavedQuestionOffersSave_data() {
    QTest::addColumn<int>("choice");
    QTest::addColumn<bool>("placeGiven"); // the save dialog's answer
    QTest::addColumn<bool>("replaced");
    AddRow("save", int(SaveChoice::Save), true, true);
    AddRow("save, its dialog cancelled", int(SaveChoice::Save), false, false);
    AddRow("discard", int(SaveChoice::Discard), false, true);
    AddRow("cancel", int(SaveChoice::Cancel), false, false);
}

// Before another table replaces it or the window closes, an edited table
// asks Save, Discard or Cancel; Save goes on only once the table is saved.
void MainWindowTest::unsavedQuestionOffersSave() {
    QFETCH(int, choice);
    QFETCH(bool, placeGiven);
    QFETCH(bool, replaced);
    WithPod<Harness> h(2, "english");
    const std::string target = h.world.Work() + "KEPT.dbd";
    QVERIFY(h.model().setData(h.model().index(0, 5), QString("Roissy")));
    h.ui.saveChoices = {SaveChoice(choice)};
    h.ui.saveAnswers = {placeGiven ? std::optional(target) : std::nullopt};
    h.Open("DBD_ouvrir", h.world.DiskDbd());
    QCOMPARE(h.ui.questions.size(), std::size_t(1));
    QCOMPARE(Q(h.ui.questions[0]), Q(txt::UnsavedChangesSave.en));
    QCOMPARE(h.ui.saveRequests.size(), std::size_t(choice == int(SaveChoice::Save)));
    QCOMPARE(std::filesystem::exists(target), placeGiven);
    if (placeGiven) QCOMPARE(Q(SavedCell(h.session, target, 5, 1)), QString("Roissy"));
    QCOMPARE(h.ui.openRequests.size(), std::size_t(replaced ? 2 : 1));
    QCOMPARE(h.Cell(5, 1), QString(replaced ? "Charles de Gaulle" : "Roissy"));
    QCOMPARE(h.window->isWindowModified(), !replaced);
    if (replaced) return;
    // Closing asks the same; a save that fails (a cell that does not
    // convert) shows its error and keeps the window.
    QVERIFY(h.model().setData(h.model().index(1, 6), QString("north")));
    h.ui.saveChoices = {SaveChoice::Save};
    h.ui.saveAnswers = {target};
    QVERIFY(!h.window->close());
    QCOMPARE(h.ui.messages.size(), std::size_t(1));
    QCOMPARE(h.ui.messages[0].kind, MessageKind::Error);
    h.ui.saveChoices = {SaveChoice::Discard};
    QVERIFY(h.window->close());
}

// File > recent files: the tables opened, last first, each once; a file gone
// says so and leaves the list; with the option on, the next start without a
// file reopens the last table at the row it was left on.
void MainWindowTest::recentFilesAndReopenAtStart() {
    Harness h(2, "english");
    const QString pod = QString::fromUtf8("AIRPORT.POD \xE2\x96\xB8 DATABASE\\AIRPORT.DBD");
    QVERIFY(!h.Find<QMenu>("Recents")->menuAction()->isEnabled());
    h.OpenArchive(h.world.Pod());
    h.Open("DBD_ouvrir", h.world.DiskDbd());
    QVERIFY(h.Find<QMenu>("Recents")->menuAction()->isEnabled());
    QCOMPARE(Read(h.Item("Recent1")), QString("1 AIRPORT.dbd"));
    QCOMPARE(Read(h.Item("Recent2")), "2 " + pod);
    QVERIFY(!h.Item("Recent3")->isVisible());
    h.Item("Recent2")->trigger();
    QCOMPARE(h.window->windowTitle(), TitleOf(pod.toStdString()));
    QCOMPARE(Read(h.Item("Recent1")), "1 " + pod);
    QCOMPARE(Read(h.Item("Recent2")), QString("2 AIRPORT.dbd"));

    std::filesystem::remove(h.world.DiskDbd());
    h.Item("Recent2")->trigger();
    QCOMPARE(h.ui.messages.size(), std::size_t(1));
    QCOMPARE(Q(h.ui.messages[0].text),
             Q(Format(txt::RecentFileMissing.en, h.world.DiskDbd().c_str())));
    QVERIFY(!h.Item("Recent2")->isVisible());
    QCOMPARE(h.window->windowTitle(), TitleOf(pod.toStdString())); // the table stays

    QVERIFY(!h.Item("RouvrirDernier")->isChecked()); // off until chosen
    h.Item("RouvrirDernier")->trigger();
    QVERIFY(h.Item("RouvrirDernier")->isChecked());
    h.window->GoToCell(5, 3);
    QVERIFY(h.window->close());

    SessionState session;
    session.Display.decimalSeparator = '.';
    ScriptedInteraction ui;
    MainWindow next(session, ui, nullptr, h.world.Ini());
    next.show();
    QVERIFY(Item(next, "RouvrirDernier")->isChecked());
    next.ReopenLastTable();
    QVERIFY(ui.messages.empty());
    QCOMPARE(next.windowTitle(), TitleOf(pod.toStdString()));
    QCOMPARE(session.Table.CurrentRow(), 3);
    QCOMPARE(Read(Item(next, "Recent1")), "1 " + pod);
}

// View: each panel's item is checked while the panel shows; a closed panel
// comes back from it, and a comparison's item starts the comparison.
void MainWindowTest::viewMenuBringsPanelsBack() {
    WithPod<Harness> h(2, "english");
    QMenu* view = h.Find<QMenu>("Affichage");
    QAction* check = h.Item("VoirVerification");
    auto* panel = h.Find<QWidget>("Verification");
    QVERIFY(check->isCheckable() && !check->isChecked());
    check->trigger();
    QVERIFY(!panel->isHidden() && check->isChecked());
    panel->hide(); // its own close button
    emit view->aboutToShow();
    QVERIFY(!check->isChecked());
    check->trigger();
    QVERIFY(!panel->isHidden() && check->isChecked());
    check->trigger();
    QVERIFY(panel->isHidden() && !check->isChecked());

    QAction* map = h.Item("VoirCarte");
    auto* pages = h.Find<QTabWidget>("PageControl");
    QVERIFY(map->isChecked());
    map->trigger();
    QVERIFY(!pages->isTabVisible(2) && !map->isChecked());
    map->trigger();
    QVERIFY(pages->isTabVisible(2) && map->isChecked());
    QCOMPARE(pages->currentIndex(), 2);

    QAction* compare = h.Item("VoirComparaison");
    auto* dock = h.Find<QDockWidget>("ComparePanel");
    h.ui.openAnswers = {std::nullopt}; // the comparison's own question, cancelled
    compare->trigger();
    QCOMPARE(h.ui.openRequests.size(), std::size_t(2));
    QVERIFY(dock->isHidden() && !compare->isChecked());
    h.ui.openAnswers = {h.world.DiskDbd()};
    compare->trigger();
    QVERIFY(!dock->isHidden() && compare->isChecked());
    QVERIFY(h.Item("EffacerComparaison")->isEnabled());
    compare->trigger(); // closed as its own close box closes it: the comparison ends
    QVERIFY(dock->isHidden() && !compare->isChecked());
    QVERIFY(!h.Item("EffacerComparaison")->isEnabled());
}

void MainWindowTest::captions_data() {
    QTest::addColumn<QString>("language");
    QTest::addColumn<bool>("english");
    AddRow("english", "english", true);
    AddRow("français", QString::fromLatin1(kFrancais.c_str()), false);
    AddRow("English (capital)", "English", false);
}

void MainWindowTest::captions() {
    QFETCH(QString, language);
    QFETCH(bool, english);
    Harness h(2, language.toLatin1().toStdString());
    const Lang l = english ? Lang::English : Lang::French;
    MainWindow& w = *h.window;
    QCOMPARE(w.windowTitle(), Captions::kUnsavedMark + Q(txt::MainCaption.In(l)));
    QCOMPARE(Read(Find<QMenu>(w, "FichierDBD")), Q(txt::MenuFichierDBD.In(l)));
    QCOMPARE(Read(Item(w, "POD_ouvrir")), Q(txt::MenuPodOuvrir.In(l)));
    QCOMPARE(Read(Item(w, "CSV_Enregistrer_select")), Q(txt::MenuCsvEnregistrerSelect.In(l)));
    QCOMPARE(Read(Item(w, "Langage")), Q(english ? "Français" : "English"));
    QCOMPARE(Read(Item(w, "Imprimer")), Q(txt::MenuImprimer.In(l)));
    // Every item of a menu (and every menu of the bar) has its own mnemonic,
    // a letter a keyboard types: an "É" would read as the "E" of another item.
    // The recent files shown are numbered 1 to 0 instead.
    const auto mnemonicsDiffer = [&w] {
        QList<QWidget*> containers{w.menuBar()};
        for (QMenu* menu : w.menuBar()->findChildren<QMenu*>())
            containers << menu;
        for (QWidget* container : containers) {
            QSet<QChar> letters;
            const bool numbered = container->objectName() == "Recents";
            for (QAction* a : container->actions()) {
                if (a->isSeparator() || !a->isVisible()) continue;
                const qsizetype at = a->text().indexOf(QLatin1Char('&'));
                QVERIFY2(at >= 0, qPrintable(a->text()));
                const QChar letter = a->text()[at + 1].toUpper();
                QVERIFY2(numbered ? letter.isDigit() : letter >= 'A' && letter <= 'Z',
                         qPrintable(a->text()));
                QVERIFY2(!letters.contains(letter), qPrintable(a->text()));
                letters.insert(letter);
            }
        }
    };
    mnemonicsDiffer();
    QCOMPARE(Find<QTabWidget>(w, "PageControl")->tabText(0), Q(txt::TabVueGlobale.In(l)));
    QCOMPARE(Find<QTabWidget>(w, "PageControl")->tabText(1), Q(txt::TabDefinitions.In(l)));
    QCOMPARE(Find<QGroupBox>(w, "gbEdition")->title(), Q(txt::GbEdition.In(l)));
    QCOMPARE(Button(w, "btnSelectionNone")->text(), Q(txt::BtnSelectionNone.In(l)));
    QCOMPARE(Label(w, "lblNom")->text(), Q(txt::LblNomUndefined.In(l)));
    QCOMPARE(w.Model()->headerData(1, Qt::Horizontal).toString(), Q(english ? "Change" : "Modif"));
    // Left in French by the English start-up.
    QCOMPARE(Find<QGroupBox>(w, "gbExport")->title(), QString("Export"));
    QCOMPARE(Read(Item(w, "POD_ouvrir_ligne")), Q("Ouvrir un DBD pour écriture directe (Fly2!)"));
    QCOMPARE(w.Model()->headerData(2, Qt::Horizontal).toString(), QString("Suppr"));
    // The directories dialog follows the same language.
    QCOMPARE(h.init->windowTitle(), Q(txt::InitTitle.In(l)));
    QCOMPARE(Child<QPushButton>(h.init, "btnFly2")->text(), Q(txt::InitBrowse.In(l)));
    // Messages are chosen when shown.
    h.OpenArchive(h.world.Pod());
    QCOMPARE(Label(w, "lblSelect")->text(), Q(Format(txt::SelectLabel.In(l, 1), 1)));
    // Items named at run time keep their own letters.
    h.ClickHeading(5);
    emit Find<QMenu>(w, "Edition")->aboutToShow();
    mnemonicsDiffer();
}

// The menu bar shows the menus in the listed order (the print command
// before the last one), and each row's control sits where its place says:
// in its menu, on the bar, in its group box, or on the window alone.
void MainWindowTest::everyRowSitsInItsPlace() {
    Harness h(2, "english");
    MainWindow& w = *h.window;
    QStringList bar;
    for (QAction* a : w.menuBar()->actions())
        bar << (a->menu() ? a->menu()->objectName() : a->objectName());
    QStringList listed;
    for (const MenuEntry& menu : CommandFamilies::Menus())
        listed << menu.name;
    listed.insert(listed.size() - 1, "Imprimer");
    QCOMPARE(bar, listed);
    std::map<Place, QWidget*> holders = {{Place::MenuBar, w.menuBar()},
                                         {Place::KeyboardOnly, &w},
                                         {Place::SearchBox, Find<QGroupBox>(w, "gbChercher")},
                                         {Place::EditBox, Find<QGroupBox>(w, "gbEdition")},
                                         {Place::ExportBox, Find<QGroupBox>(w, "gbExport")}};
    for (const MenuEntry& menu : CommandFamilies::Menus())
        holders[menu.place] = Find<QMenu>(w, menu.name);
    holders[Place::RecentMenu] = Find<QMenu>(w, CommandFamilies::RecentMenu().name);
    int rows = 0;
    for (const CommandTable& table : h.Commands().Tables())
        for (const Command& c : table) {
            QWidget* holder = holders.at(c.place);
            const bool there = IsButton(c.place) ? holder->isAncestorOf(Button(w, c.name))
                                                 : holder->actions().contains(Item(w, c.name));
            QVERIFY2(there, c.name);
            ++rows;
        }
    QVERIFY(rows > 60);
}

void MainWindowTest::languageCommandWritesSettings() {
    Harness h(2, "english");
    QCOMPARE(Read(h.Item("Langage")), Q("Français"));
    h.Item("Langage")->trigger();
    std::string ini = testing::ReadBytes(h.world.Ini());
    QVERIFY(ini.find("langage=" + kFrancais) != std::string::npos);
    QVERIFY(ini.find("flydir=" + h.world.Fly2()) != std::string::npos);
    QCOMPARE(Read(h.Item("Langage")), QString("English"));
    QCOMPARE(h.ui.messages.size(), std::size_t(1));
    QCOMPARE(h.ui.messages[0].kind, MessageKind::Warning);
    QCOMPARE(Q(h.ui.messages[0].text), Q(txt::RestartForLanguage));
    // Everything else stays English until the next start.
    QCOMPARE(Read(h.Find<QMenu>("FichierDBD")), QString("DBD Files"));
    QCOMPARE(h.session.Language, std::string("english"));

    h.Item("Langage")->trigger();
    ini = testing::ReadBytes(h.world.Ini());
    QVERIFY(ini.find("langage=english") != std::string::npos);
    QVERIFY(ini.find(kFrancais) == std::string::npos);
    QCOMPARE(Read(h.Item("Langage")), Q("Français"));
    QCOMPARE(h.ui.messages.size(), std::size_t(2));
}

void MainWindowTest::firstRunCheck() {
    Harness h(2, kFrancais, /*writeIni=*/false);
    MainWindow& w = *h.window;
    QCOMPARE(Label(w, "FlyVersion")->text(), QString("Fly! version ?"));
    QVERIFY(!Item(w, "Fly11")->isChecked() && !Item(w, "Fly21")->isChecked());
    QVERIFY(h.session.OpenFilter.empty());
    QCOMPARE(Read(Find<QMenu>(w, "FichierDBD")), QString("Fichier DBD"));

    // The directories dialog shown by the check is closed by "the user".
    int dialogShowings = 0;
    QTimer closer;
    QObject::connect(&closer, &QTimer::timeout, [&] {
        if (h.init->isVisible()) {
            ++dialogShowings;
            h.init->reject();
        }
    });
    closer.start(10);

    auto activate = [&] {
        QEvent e(QEvent::WindowActivate);
        QApplication::sendEvent(&w, &e);
        QTest::qWait(60);
    };
    activate();
    QTRY_COMPARE(h.ui.messages.size(), std::size_t(1));
    QCOMPARE(h.ui.messages[0].kind, MessageKind::Warning);
    QCOMPARE(Q(h.ui.messages[0].text), Q(txt::FirstRunNotice.fr));
    QTRY_COMPARE(dialogShowings, 1);
    // Back from its own notice and dialog: no new check.
    activate();
    activate();
    QCOMPARE(h.ui.messages.size(), std::size_t(1));
    // Back from another program: the check fires again (nothing was saved).
    w.ApplicationStateChanged(Qt::ApplicationInactive);
    activate();
    QTRY_COMPARE(h.ui.messages.size(), std::size_t(2));
    QTRY_COMPARE(dialogShowings, 2);
    // Cancel in the dialog wrote nothing.
    QVERIFY(!h.world.dir.Exists("Orvane.ini"));
}

// A file given to a first start opens once the first-run check has set up
// the folders its template is read from.
void MainWindowTest::fileGivenToAFirstRunOpensAfterTheCheck() {
    Harness h(2, kFrancais, /*writeIni=*/false);
    h.window->OpenFiles({h.world.DiskDbd()});
    QVERIFY(h.ui.messages.empty());
    QCOMPARE(h.session.DataType, std::string());

    // "The user" sets the Fly! II folder in the dialog the check shows.
    QTimer closer;
    QObject::connect(&closer, &QTimer::timeout, [&] {
        if (!h.init->isVisible()) return;
        h.session.SimulatorVersion = 2;
        h.session.FlyDir = h.world.Fly2();
        h.init->accept();
    });
    closer.start(10);
    QEvent e(QEvent::WindowActivate);
    QApplication::sendEvent(h.window.get(), &e);
    QTRY_COMPARE(h.session.DataType, std::string("AIRPORT"));
    QCOMPARE(h.ui.messages.size(), std::size_t(1)); // the first-run notice alone
    QCOMPARE(h.model().rowCount(), 3);
}

void MainWindowTest::noNoticeWhenSetUp() {
    Harness h(2, kFrancais, true, /*first=*/true);
    QEvent e(QEvent::WindowActivate);
    h.window->ApplicationStateChanged(Qt::ApplicationInactive);
    QApplication::sendEvent(h.window.get(), &e);
    QTest::qWait(50);
    QVERIFY(h.ui.messages.empty());
    QVERIFY(!h.init->isVisible());
}

void MainWindowTest::versionCommands() {
    Harness h(1, "english");
    MainWindow& w = *h.window;
    QVERIFY(Item(w, "Fly11")->isChecked());
    QVERIFY(!Item(w, "Fly21")->isChecked());
    QCOMPARE(Label(w, "FlyVersion")->text(), QString("Fly! version 1"));
    QCOMPARE(Q(h.session.OpenFilter), Q(txt::OpenFilterFly1.en));
    QCOMPARE(Q(h.session.FlyDir), Q(h.world.Fly1()));

    h.session.Fly2Dir = h.world.dir.File("fly2"); // no separator: the command adds one
    Item(w, "Fly21")->trigger();
    QCOMPARE(Label(w, "FlyVersion")->text(), QString("Fly! version 2"));
    QVERIFY(Item(w, "Fly21")->isChecked());
    QVERIFY(!Item(w, "Fly11")->isChecked());
    QCOMPARE(Q(h.session.FlyDir), Q(h.world.Fly2()));
    QCOMPARE(Q(h.session.WorkDir), Q(h.world.Work()));
    QCOMPARE(h.session.SimulatorVersion, 2);
    // The open dialog offers this version's archives first.
    QCOMPARE(Q(h.session.OpenFilter), Q(txt::OpenFilterFly2.en));
    // Nothing written.
    QVERIFY(testing::ReadBytes(h.world.Ini()).find("version=1") != std::string::npos);

    Item(w, "Fly11")->trigger();
    QCOMPARE(Label(w, "FlyVersion")->text(), QString("Fly! version 1"));
    QVERIFY(Item(w, "Fly11")->isChecked());
    QCOMPARE(Q(h.session.FlyDir), Q(h.world.Fly1()));
    QCOMPARE(Q(h.session.OpenFilter), Q(txt::OpenFilterFly1.en));

    // A version chosen in the directories dialog, then Cancel: as before.
    Item(w, "Fly21")->trigger();
    h.init->show();
    h.init->findChildren<QRadioButton*>()[0]->click();
    QVERIFY(Item(w, "Fly11")->isChecked());
    Find<QPushButton>(*h.init, "btnCancel")->click();
    QVERIFY(Item(w, "Fly21")->isChecked() && !Item(w, "Fly11")->isChecked());
    QCOMPARE(h.session.SimulatorVersion, 2);
    QCOMPARE(Label(w, "FlyVersion")->text(), QString("Fly! version 2"));
}

void MainWindowTest::dragSetsTheRectangleOfSelectPart() {
    WithPod<Harness> h;
    h.ui.answers = {true, true};
    h.Button("btnSelectionNone")->click();
    QCOMPARE(h.Column(3), QString("0,0,0"));
    // A drag from the "Export" cell of row 1 to the name of row 3; the
    // press itself selects row 1.
    QWidget* grid = h.Grid()->viewport();
    QTest::mousePress(grid, Qt::LeftButton, {}, h.CellCenter(3, 1));
    QTest::mouseMove(grid, h.CellCenter(4, 2));
    QTest::mouseMove(grid, h.CellCenter(5, 3));
    QTest::mouseRelease(grid, Qt::LeftButton, {}, h.CellCenter(5, 3));
    QCOMPARE(h.session.Table.Selection().top, 1);
    QCOMPARE(h.session.Table.Selection().bottom, 3);
    h.Button("btnSelectPart")->click();
    QCOMPARE(h.Column(3), QString("1,1,1"));
    QCOMPARE(h.Label("lblSelect")->text(), Q("3 lignes sélectionnées"));
}

void MainWindowTest::rowCaptionsFollowTheKeyboard() {
    WithPod<Harness> h(2, "english");
    h.PressCell(5, 1);
    QCOMPARE(h.Button("btnSuppLigne")->text(), QString("Erase line n°1"));
    h.Key(Qt::Key_End, Qt::ControlModifier);
    QCOMPARE(h.Grid()->currentIndex().row(), 2);
    QCOMPARE(h.Button("btnSuppLigne")->text(), QString("Erase line n°3"));
    QCOMPARE(h.Button("btnInserLigne")->text(), QString("Insert line after n°3"));
    QCOMPARE(Read(h.Item("POD_Enregistrer_ligne")), QString("Save line n°3 in POD"));
    h.Key(Qt::Key_Up);
    QCOMPARE(h.Button("btnSuppLigne")->text(), QString("Erase line n°2"));
    // The row named is the row removed.
    h.ui.answers = {true};
    h.Button("btnSuppLigne")->click();
    QCOMPARE(h.Column(5), Q("Charles de Gaulle,Brest Guipavas"));
}

void MainWindowTest::gridKeys() {
    WithPod<Harness> h;
    RecordGridView* v = h.Grid();
    h.window->activateWindow();
    v->setFocus();
    v->setCurrentIndex(h.model().index(0, 5));
    // F2 goes on with the text; Enter commits and moves down.
    h.Key(Qt::Key_F2);
    auto* editor = qobject_cast<QLineEdit*>(QApplication::focusWidget());
    QVERIFY(editor);
    QVERIFY(!editor->hasSelectedText());
    QCOMPARE(editor->cursorPosition(), editor->text().size());
    h.Key(Qt::Key_X);
    h.Key(Qt::Key_Return);
    QCOMPARE(h.Cell(5, 1), QString("Charles de Gaullex"));
    QCOMPARE(v->currentIndex(), h.model().index(1, 5));
    // Delete empties the selected field cells, not the flags, through the
    // edit path: the unsaved mark follows.
    const std::uint64_t revision = h.session.Table.Revision();
    v->selectionModel()->select(QItemSelection(h.model().index(1, 3), h.model().index(2, 5)),
                                QItemSelectionModel::ClearAndSelect);
    h.Key(Qt::Key_Delete);
    QCOMPARE(h.Column(5), QString("Charles de Gaullex,,"));
    QCOMPARE(h.Column(4), QString("3A2F1B00,,"));
    QCOMPARE(h.Column(3), QString("0,1,0"));
    QVERIFY(h.session.Table.Revision() > revision);
    QVERIFY(h.window->HasUnsavedChanges());
}

void MainWindowTest::everyEnabledMenuItemHasAHandler() {
    WithPod<Harness> h;
    int enabled = 0;
    for (QMenu* menu : h.window->menuBar()->findChildren<QMenu*>())
        for (QAction* a : menu->actions()) {
            if (a->isSeparator() || a->menu() || !a->isEnabled()) continue;
            ++enabled;
            QVERIFY2(HasCommand(a), qPrintable(a->objectName()));
        }
    QVERIFY(enabled >= 8);
    // Every control of the left column works (the comparison panel, hidden
    // until a comparison, enables its buttons once a difference is chosen).
    for (QPushButton* b : h.window->findChildren<QPushButton*>())
        if (b->window() == h.window.get() && b->isVisibleTo(h.window.get()))
            QVERIFY2(b->isEnabled(), qPrintable(b->objectName()));
    QCOMPARE(h.Item("POD_ouvrir")->shortcut(), QKeySequence("Ctrl+O"));
    QCOMPARE(h.Item("DBD_ouvrir")->shortcut(), QKeySequence("Ctrl+Shift+O"));
    QCOMPARE(h.Item("Enregistrer")->shortcut(), QKeySequence("Ctrl+S"));
    QCOMPARE(h.Item("DBD_Enregistrer_tout")->shortcut(), QKeySequence("Ctrl+Shift+S"));
    QCOMPARE(h.Item("Quitter")->shortcut(), QKeySequence("Ctrl+Q"));
    // "Imprimer" sits on the menu bar itself.
    QVERIFY(h.Item("Imprimer")->isEnabled() && HasCommand(h.Item("Imprimer")));
    QCOMPARE(h.Item("Imprimer")->shortcut(), QKeySequence("Ctrl+P"));
    QCOMPARE(h.Item("EditRecord")->shortcut(), QKeySequence("Ctrl+Return"));
    // No two commands share a key.
    QSet<QString> keys;
    for (QAction* a : h.window->findChildren<QAction*>())
        for (const QKeySequence& k : a->shortcuts()) {
            QVERIFY2(!keys.contains(k.toString()), qPrintable(k.toString()));
            keys.insert(k.toString());
        }
    // Ctrl+F goes to the search box.
    h.Item("FocusSearch")->trigger();
    QVERIFY(h.Find<QComboBox>("cbSrch")->hasFocus());
}

// A scripted session through the real box and buttons: each step types a
// text (or clicks a cell), presses, and reads the row, captions and message.
void MainWindowTest::searchButtonsAndBox() {
    WithPod<Harness> h(2, "english");
    MainWindow& w = *h.window;
    struct Step {
        const char* text;  // typed first; nullptr: a click on the name of row 1
        const char* press; // "=", "*", "Enter", "F3" or ""
        int row;
        const char* exact;
        const char* partial;
        const char* message; // shown by this step, or nullptr
    };
    const Step steps[] = {
        {"2", "=", 2, "Next =", "Find *", nullptr}, // the "n°" column before any click
        {nullptr, "", 1, "Find =", "Find *", nullptr},
        {"Br", "*", 2, "Find =", "Next *", nullptr},
        {nullptr, "", 1, "Find =", "Next *", nullptr}, // a click resets only the exact one
        {"Br", "*", 2, "Find =", "Next *", nullptr},
        {"", "*", 3, "Find =", "Next *", nullptr},
        {"", "*", 3, "Find =", "Find *", txt::ValueNotInFileEnded.en},
        {"Brest", "=", 3, "Find =", "Find *", txt::ValueNotInFile.en}, // not "Brest Guipavas"
        {"brest guipavas", "*", 3, "Find =", "Find *", txt::ValueNotInFileEnded.en},
        {"Brest Guipavas", "Enter", 3, "Next =", "Find *", nullptr},
        {"Charles de Gaulle", "F3", 1, "Next =", "Find *", nullptr},
    };
    for (const Step& s : steps) {
        const std::size_t shown = h.ui.messages.size();
        if (!s.text) h.PressCell(5, 1);
        if (s.text && *s.text) {
            Find<QComboBox>(w, "cbSrch")->clearEditText();
            QTest::keyClicks(Find<QComboBox>(w, "cbSrch"), s.text);
        }
        const QString press = s.press;
        if (press == "=" || press == "*")
            QTest::mouseClick(press == "=" ? Button(w, "btnChercher1") : Button(w, "btnChercher2"),
                              Qt::LeftButton);
        if (press == "Enter") QTest::keyClick(Find<QComboBox>(w, "cbSrch"), Qt::Key_Return);
        if (press == "F3") Item(w, "FindNext")->trigger();
        const QString at = QString("%1 %2").arg(s.text ? s.text : "click", press);
        QVERIFY2(Grid(w)->currentIndex().row() + 1 == s.row, qPrintable(at));
        QCOMPARE(Button(w, "btnChercher1")->text(), QString(s.exact));
        QCOMPARE(Button(w, "btnChercher2")->text(), QString(s.partial));
        QCOMPARE(h.ui.messages.size(), shown + (s.message ? 1 : 0));
        if (s.message) QCOMPARE(Q(h.ui.messages.back().text), Q(s.message));
    }
    // The last hit: its row selected whole, current on its last cell, named
    // by the row captions and the direct-write item.
    const int last = h.model().columnCount() - 1;
    QCOMPARE(Grid(w)->currentIndex().column(), last);
    QCOMPARE(Grid(w)->selectionModel()->selectedIndexes().size(), last + 1);
    QCOMPARE(Button(w, "btnSuppLigne")->text(), Q("Erase line n°1"));
    QCOMPARE(Button(w, "btnInserLigne")->text(), Q("Insert line n°1"));
    QCOMPARE(Read(Item(w, "POD_Enregistrer_ligne")), Q("Save line n°1 in POD"));
    QCOMPARE(Label(w, "lblNom")->text(), QString("Airport name"));

    // Another load of the same table keeps the column searched; a table
    // without a field of that title has none until a click chooses one.
    h.OpenArchive(h.world.Pod());
    QCOMPARE(Label(w, "lblNom")->text(), QString("Airport name"));
    QCOMPARE(w.SearchColumn(), 5);
    QCOMPARE(Button(w, "btnChercher1")->text(), QString("Find ="));
    const std::string navaids = h.world.dir.File("fly2/system/NAVAID.POD");
    WriteArchive(navaids, ArchiveLayout::Pod3, testing::NavWriteEntries(3));
    h.OpenArchive(navaids);
    QCOMPARE(h.ui.messages.size(), std::size_t(3));
    QCOMPARE(Label(w, "lblNom")->text(), Q(txt::LblNomUndefined.en));
    QCOMPARE(w.SearchColumn(), 0);
    Find<QComboBox>(w, "cbSrch")->setEditText("2");
    QTest::mouseClick(Button(w, "btnChercher1"), Qt::LeftButton);
    QCOMPARE(Grid(w)->currentIndex().row(), 1);

    // Leaving the box adds its text to the list, every time.
    w.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&w));
    Find<QComboBox>(w, "cbSrch")->clear();
    for (int i = 0; i < 3; ++i) {
        Find<QComboBox>(w, "cbSrch")->setFocus();
        Grid(w)->setFocus();
    }
    QCOMPARE(Find<QComboBox>(w, "cbSrch")->count(), 3);
}

void MainWindowTest::icaoLookup_data() {
    QTest::addColumn<int>("version");
    QTest::addColumn<QString>("archive"); // "index", "no index" or "missing"
    QTest::addColumn<QString>("code");
    QTest::addColumn<QString>("found"); // the search box's text; empty: unchanged
    QTest::addColumn<int>("foundRow");
    QTest::addColumn<QStringList>("messages");
    const QString noDbd = Q(txt::AirportDbdNotFound.en);
    AddRow("Fly! II", 2, "index", "lfoj", "3A2F1B01", 2, QStringList());
    AddRow("Fly! 1, five characters", 1, "index", "lfrbx", "0", 3, QStringList());
    AddRow("unknown code", 2, "index", "LFXX", "", 0,
           QStringList{Q(Format(txt::IcaoNotFound.en, "LFXX"))});
    AddRow("Fly! II, no index", 2, "no index", "LFPG", "", 0, QStringList{noDbd});
    AddRow("Fly! 1, no index", 1, "no index", "LFPG", "", 0,
           QStringList{Q(Format(txt::IndexNotFound.en, "DATABASE\\APRTICAO.DBI")), noDbd});
    AddRow("no archive", 2, "missing", "LFPG", "", 0, QStringList{"Cannot open the archive %1"});
}

void MainWindowTest::icaoLookup() {
    QFETCH(int, version);
    QFETCH(QString, archive);
    QFETCH(QString, code);
    QFETCH(QString, found);
    QFETCH(int, foundRow);
    QFETCH(QStringList, messages);
    WithPod<Harness> h(version, "english");
    WriteAirportArchives(h.world, archive == "index");
    const std::string path = version == 1 ? h.world.Epd() : h.world.Pod();
    if (archive == "missing") std::filesystem::remove(path);
    MainWindow& w = *h.window;
    Find<QComboBox>(w, "cbSrch")->setEditText("1");
    QTest::mouseClick(Button(w, "btnChercher1"), Qt::LeftButton);
    QCOMPARE(Button(w, "btnChercher1")->text(), QString("Next ="));

    QTest::keyClicks(Find<QLineEdit>(w, "edOACI"), code);
    QTest::keyClick(Find<QLineEdit>(w, "edOACI"), Qt::Key_Return);
    QStringList shown;
    for (const auto& m : h.ui.messages)
        shown << Q(m.text);
    if (archive == "missing") {
        messages[0] = messages[0].arg(Q(h.world.Fly2() + "system/Airport.POD"));
        QCOMPARE(h.ui.messages[0].kind, MessageKind::Error);
    }
    QCOMPARE(shown, messages);
    if (found.isEmpty()) {
        QCOMPARE(Find<QComboBox>(w, "cbSrch")->currentText(), QString("1"));
        QCOMPARE(Button(w, "btnChercher1")->text(), QString("Next ="));
        return;
    }
    QCOMPARE(Find<QComboBox>(w, "cbSrch")->currentText(), found);
    QCOMPARE(Button(w, "btnChercher1")->text(), QString("Find ="));
    // No column was chosen: the lookup chose the key's, and Find = goes to
    // the airport.
    QCOMPARE(Label(w, "lblNom")->text(), QString("Unique identifier"));
    QTest::mouseClick(Button(w, "btnChercher1"), Qt::LeftButton);
    QCOMPARE(Grid(w)->currentIndex().row() + 1, foundRow);
    QCOMPARE(h.ui.messages.size(), std::size_t(0));
    // Another column clicked: the lookup's key is still searched in the key's column.
    h.PressCell(5, 1);
    QCOMPARE(Label(w, "lblNom")->text(), QString("Airport name"));
    QTest::mouseClick(Button(w, "btnOACI"), Qt::LeftButton);
    QCOMPARE(Label(w, "lblNom")->text(), QString("Unique identifier"));
    QTest::mouseClick(Button(w, "btnChercher1"), Qt::LeftButton);
    QCOMPARE(Grid(w)->currentIndex().row() + 1, foundRow);
    QCOMPARE(h.ui.messages.size(), std::size_t(0));
}

void MainWindowTest::companionPrograms_data() {
    QTest::addColumn<QString>("item");
    QTest::addColumn<QString>("onDisk"); // the program file in the folder, or none
    QTest::addColumn<bool>("wine");
    QTest::addColumn<QString>("message"); // none: the program ran
    AddRow("DBImport", "LancerDBImport", "DBImport.EXE", true, "");
    AddRow("DexImport", "LancerDexImport", "DexImportGUI.exe", true, "");
    AddRow("DBImport missing", "LancerDBImport", "", true, Q(txt::DbImportNotFound.en));
    AddRow("DexImport missing", "LancerDexImport", "dbimport.exe", true,
           Q(txt::DexImportNotFound.en));
    AddRow("no wine", "LancerDBImport", "dbimport.exe", false, Q(txt::WineNeeded.en));
}

// A script stands in for the Windows program and one for wine; the program
// waits for a "go" file, so a command that waited for it would never return.
void MainWindowTest::companionPrograms() {
    QFETCH(QString, item);
    QFETCH(QString, onDisk);
    QFETCH(bool, wine);
    QFETCH(QString, message);
    Harness h(2, "english");
    testing::TempDir& dir = h.world.dir;
    const std::string folder = dir.File("Fly II") + "/";
    h.session.DbImportDir = h.session.DexImportDir = dir.File("fly ii") + "/"; // case resolved
    dir.Write("Fly II/.keep", "");
    std::string program;
    if (!onDisk.isEmpty())
        program =
            dir.Write("Fly II/" + onDisk.toStdString(),
                      "PATH=/usr/bin:/bin\n"
                      "i=0; while [ ! -e go ] && [ $i -lt 200 ]; do sleep 0.05; i=$((i+1)); done\n"
                      "{ pwd -P; echo \"$#\"; cut -d' ' -f4 /proc/$$/stat; } > ran.tmp; mv ran.tmp "
                      "ran.txt\n");
    dir.Write("bin/wine", "#!/bin/sh\necho \"$# $1\" > wine.txt\nexec /bin/sh \"$1\"\n");
    std::filesystem::permissions(dir.File("bin/wine"), std::filesystem::perms::owner_all);
    dir.Write("nowine/.keep", "");
    PathScope path(dir.File(wine ? "bin" : "nowine"));

    h.window->findChild<QAction*>(item)->trigger();
    const bool waited = dir.Exists("Fly II/ran.txt");
    dir.Write("Fly II/go", "");
    QVERIFY(!waited);
    if (!message.isEmpty()) {
        QCOMPARE(h.ui.messages.size(), std::size_t(1));
        QCOMPARE(h.ui.messages[0].kind, MessageKind::Warning);
        QCOMPARE(Q(h.ui.messages[0].text),
                 wine ? message : Q(Format(S(message).c_str(), program.c_str())));
        QTest::qWait(300);
        QVERIFY(!dir.Exists("Fly II/ran.txt"));
        return;
    }
    QVERIFY(h.ui.messages.empty());
    QCOMPARE(h.window->statusBar()->currentMessage(),
             Q(Format(txt::ProgramStarted.en, onDisk.toStdString().c_str())));
    QTRY_VERIFY_WITH_TIMEOUT(dir.Exists("Fly II/ran.txt"), 10000);
    const QStringList ran = Q(dir.Read("Fly II/ran.txt")).split('\n');
    QCOMPARE(ran[0], Q(std::filesystem::canonical(folder).string()));   // in its folder
    QCOMPARE(ran[1], QString("0"));                                     // without arguments
    QVERIFY(ran[2].toLongLong() != QCoreApplication::applicationPid()); // not our child
    QCOMPARE(Q(dir.Read("Fly II/wine.txt")), Q("1 " + program + "\n"));
}

void MainWindowTest::helpShowsTheMessageThenThePage_data() {
    QTest::addColumn<QString>("language");
    QTest::addColumn<int>("xdgOpen"); // its exit status; -1: none on the PATH
    const QString french = QString::fromLatin1(kFrancais.c_str());
    AddRow("english, opened", "english", 0);
    AddRow("français, opened", french, 0);
    AddRow("english, no browser", "english", 3);
    AddRow("français, no browser", french, 3);
    AddRow("no xdg-open: the desktop's own opening", "english", -1);
}

// F1: the page of the user's language, installed beside the program, then
// one message that says what became of it: open, or where it is when no
// browser could be started (xdg-open found none).
void MainWindowTest::helpShowsTheMessageThenThePage() {
    QFETCH(QString, language);
    QFETCH(int, xdgOpen);
    Harness h(2, language.toLatin1().toStdString());
    const Lang l = h.session.Language_();
    testing::TempDir& dir = h.world.dir;
    dir.Write("bin/xdg-open", "#!/bin/sh\necho \"$1\" > '" + dir.File("opened.txt") + "'\nexit " +
                                  std::to_string(xdgOpen) + "\n");
    std::filesystem::permissions(dir.File("bin/xdg-open"), std::filesystem::perms::owner_all);
    dir.Write("none/.keep", "");
    PathScope path(dir.File(xdgOpen >= 0 ? "bin" : "none"));
    UrlCatcher desktop(h.ui);
    h.window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(h.window.get()));
    QTest::keyClick(h.window.get(), Qt::Key_F1);
    const std::string page = ToolsCommands::HelpPagePath(l);
    const bool opened = xdgOpen <= 0;
    QCOMPARE(h.ui.messages.size(), std::size_t(1));
    QCOMPARE(h.ui.messages[0].kind, opened ? MessageKind::Information : MessageKind::Warning);
    QCOMPARE(Q(h.ui.messages[0].text),
             Q(std::string(txt::HelpMessage.In(l)) + "\r\n\r\n" +
               Format((opened ? txt::HelpPageAt : txt::HelpNoBrowser).In(l), page.c_str())));
    if (xdgOpen >= 0) {
        QCOMPARE(dir.Read("opened.txt"), page + "\n");
        QVERIFY(desktop.urls.isEmpty());
    } else {
        QCOMPARE(desktop.urls, QList<QUrl>{QUrl::fromLocalFile(Q(page))});
        QCOMPARE(desktop.messagesBefore, std::size_t(0));
    }
    const std::string html = testing::ReadBytes(page);
    QVERIFY(html.find(l == Lang::English ? "<html lang=\"en\">" : "<html lang=\"fr\">") !=
            std::string::npos);
}

// The help pages name every menu, menu item and key of the program, in the
// page's language: a command added without its help fails here. Captions
// with a number written in at run time count up to the number.
void MainWindowTest::helpCoversEveryMenuItemAndKey() {
    Harness h(2, "english");
    const auto pageText = [](Lang l) {
        QString html = Q(testing::ReadBytes(ToolsCommands::HelpPagePath(l)));
        html.remove(QRegularExpression("<[^>]*>"));
        html.replace("&amp;", "&").replace("&lt;", "<").replace("&gt;", ">");
        html.replace("&quot;", "\"").replace("&#39;", "'").replace("&minus;", "-");
        html.replace("&nbsp;", " ");
        return html.simplified();
    };
    const auto caption = [](const char* text) {
        QString c = Captions::Plain(Q(text));
        if (const qsizetype at = c.indexOf('%'); at >= 0) c = c.left(at);
        return c.trimmed();
    };
    QStringList missing;
    for (const Lang l : {Lang::French, Lang::English}) {
        const QString page = pageText(l);
        const auto need = [&](const QString& text, const char* what) {
            if (!text.isEmpty() && !page.contains(text))
                missing << QString("%1 help lacks %2 \"%3\"")
                               .arg(l == Lang::English ? "English" : "French", what, text);
        };
        for (const MenuEntry& menu : CommandFamilies::Menus())
            need(caption(menu.title.In(l)), "the menu");
        for (const CommandTable& table : h.Commands().Tables())
            for (const Command& c : table) {
                if (c.caption.fr && !IsButton(c.place) && c.place != Place::KeyboardOnly)
                    need(caption(c.caption.In(l)), "the item");
                if (l == Lang::English && !c.keys.empty())
                    need(QString(c.keys.front()).replace("Return", "Enter"), "the key");
            }
    }
    QVERIFY2(missing.isEmpty(), qPrintable(missing.join('\n')));
}

void MainWindowTest::memoAndAboutOpenFromTheMenus() {
    Harness h(2, "english");
    QStringList seen;
    auto closeWhenShown = [&] {
        QTimer::singleShot(0, [&] {
            QWidget* modal = QApplication::activeModalWidget();
            QVERIFY(modal);
            seen << modal->objectName() + ":" + modal->windowTitle();
            static_cast<QDialog*>(modal)->reject();
        });
    };
    closeWhenShown();
    h.Item("Pournepasoublier")->trigger();
    closeWhenShown();
    h.Item("Apropos")->trigger();
    QCOMPARE(seen, QStringList({"TForm_Memoire:Leaflet", "TForm_about:About"}));
    // The memo's first showing created memo.txt beside the settings file.
    QCOMPARE(h.ui.messages.size(), std::size_t(1));
    QCOMPARE(Q(h.ui.messages[0].text), Q(txt::MemoNotFound.en));
    QCOMPARE(h.world.dir.Read("memo.txt"), std::string("\r\n"));
}

void MainWindowTest::messageBoxesFitTheirTitles_data() {
    QTest::addColumn<QString>("title");
    AddRow("French", Q(txt::SearchEndedTitle.fr));
    AddRow("English", Q(txt::SearchEndedTitle.en));
    AddRow("program", Q(txt::MainCaption.fr));
}

// A one-letter message under a long title: the box is as wide as the title.
void MainWindowTest::messageBoxesFitTheirTitles() {
    QFETCH(QString, title);
    QMessageBox box(QMessageBox::Information, title, "Z", QMessageBox::Ok);
    WidenForTitle(box);
    box.show();
    QCoreApplication::processEvents();
    QFont bold = box.font();
    bold.setBold(true);
    QVERIFY(box.width() > QFontMetrics(bold).horizontalAdvance(title) + 100);
    box.close();
}

QTEST_MAIN(MainWindowTest)
#include "test_main_window.moc"
