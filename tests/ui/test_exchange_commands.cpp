// The DEX and CSV menus, the direct-write mode, the archive viewer and the
// progress dialogs, driven as a user would through the scripted seam.
#include "database/Archive.h"
#include "database/ArchiveWriter.h"
#include "demo/DemoFolder.h"
#include "exchange/KmlFile.h"
#include "exchange/TableFormats.h"
#include "platform/Progress.h"
#include "support/ArchiveFixtures.h"
#include "support/DbdFixtures.h"
#include "support/EditorHarness.h"
#include "ui/dialogs/ArchiveViewer.h"
#include "ui/dialogs/RecordEditorDialog.h"
#include "ui/qt/QtText.h"

#include <QCheckBox>
#include <QFile>
#include <QGroupBox>
#include <QProcess>
#include <QStatusBar>
#include <QTableView>
#include <QTableWidget>
#include <QXmlStreamReader>

#include <filesystem>
#include <set>

using namespace orvane;
using namespace orvane::testing;
using orvane::testing::EditorHarness;
using orvane::testing::ReadBytes;

namespace {

// What orvane-cli convert writes for the same table.
std::string Convert(const std::string& in, const std::string& out, bool selection) {
    QStringList args{"convert", Q(in), Q(out), "--decimal", "."};
    if (selection) args << "--selection";
    QProcess cli;
    cli.start(qEnvironmentVariable("ORVANE_CLI"), args);
    if (!cli.waitForFinished(30000) || cli.exitCode() != 0) return "cli failed";
    return ReadBytes(out);
}

// An AIRPORT DEX of 330-byte records (Fly! 1 data) from the window's airports.
std::string Fly1Dex() {
    std::vector<std::string> records;
    for (const auto& a : testing::UiAirports())
        records.push_back(testing::UiRecord(a));
    return DexBytes("AIRPORT.DBD", 330, records);
}

} // namespace

class ExchangeTest : public QObject {
    Q_OBJECT
  private slots:
    void exportsMatchTheBatchTool_data();
    void exportsMatchTheBatchTool();
    void kmlOfTheDemoTablesIsWellFormed();
    void fly1DexAsksThenOpensAndAdds();
    void csvRoundTripAndMenus();
    void directWriteChangesOneRecord();
    void directWriteMarksRowsUntilWritten();
    void directWriteRefusalsLeaveTheArchive();
    void viewerListsMarksSortsAndExtracts_data();
    void viewerListsMarksSortsAndExtracts();
    void cancelAtEachProgressDialog();
};

void ExchangeTest::exportsMatchTheBatchTool_data() {
    QTest::addColumn<QString>("extension");
    QTest::addColumn<bool>("selection");
    // Every export of the format table, in its menu's items.
    for (const TableFormat& f : TableFormats()) {
        if (!f.write || f.exportMenu == ExportMenu::None || f.id == TableFormatId::Dbd) continue;
        const QString ext = Q(f.DefaultSuffix());
        for (bool selection : {false, true})
            AddRow(qPrintable(QString("%1 %2").arg(ext, selection ? "selection" : "all")), ext,
                   selection);
    }
}

void ExchangeTest::exportsMatchTheBatchTool() {
    QFETCH(QString, extension);
    QFETCH(bool, selection);
    const TableFormat& format = *FormatOfPath("x." + S(extension));
    WithPod<EditorHarness> h(2, "english");
    QAction* item = h.Item(
        (std::string(format.name) + (selection ? "_Enregistrer_select" : "_Enregistrer_tout"))
            .c_str());
    QVERIFY(item->isEnabled());
    const std::string target = h.world.Work() + "OUT." + S(extension);

    h.Save(item, std::nullopt); // Cancel: nothing written
    QVERIFY(!std::filesystem::exists(target));
    const FileDialogRequest& r = h.ui.saveRequests.at(0);
    QCOMPARE(Q(r.title), Q(txt::ExportSaveTitle.en));
    QCOMPARE(Q(r.filter), Q(format.SaveFilter(Lang::English)));
    QCOMPARE(Q(r.initialFolder), Q(h.world.Work()));
    QCOMPARE(Q(r.fileName), QString("AIRPORT"));
    QCOMPARE(Q(r.defaultExtension), extension);

    h.Save(item, target);
    QCOMPARE(ReadBytes(target),
             Convert(h.world.Pod(), h.world.Work() + "CLI." + S(extension), selection));
    QCOMPARE(h.window->statusBar()->currentMessage(),
             Q(Format(txt::ExportDone.In(Lang::English, selection ? 1 : 3), selection ? 1 : 3,
                      ("OUT." + S(extension)).c_str())));

    // An empty selection: the message, and the earlier file stays.
    h.session.Table.SetCell(kColExport, 2, "0");
    if (selection) {
        const std::size_t shown = h.ui.messages.size();
        h.Save(item, target);
        QCOMPARE(h.ui.messages.size(), shown + 1); // one box, from the boundary
        QCOMPARE(h.ui.messages.back().kind, MessageKind::Error);
        QCOMPARE(
            Q(h.ui.messages.back().text),
            Q((format.id == TableFormatId::Csv ? txt::NoSelectedRecord : txt::NoSelectedRecords)
                  .en));
        QVERIFY(ReadBytes(target).size() > 40);
    }
}

// The KML a user gets from the demo's airports and runways reads as XML in
// the KML namespace: a placemark a record, a point an airport, a line a
// runway.
void ExchangeTest::kmlOfTheDemoTablesIsWellFormed() {
    TempDir dir;
    MakeDemoFolder(dir.Path());
    for (const char* type : {"AIRPORT", "RUNWAY"}) {
        SessionState s;
        ScriptedInteraction ui;
        const std::string pod = dir.File(std::string("fly2/system/") + type + ".POD");
        QVERIFY(FormatById(TableFormatId::Archive).read(s, pod, {}, ui, &ui, {}).loaded);
        const std::string kml = dir.File(std::string(type) + ".kml");
        QCOMPARE(ExportKml(s, kml, false, ui), s.Table.RowCount() - 1);
        QFile file(Q(kml));
        QVERIFY(file.open(QIODevice::ReadOnly));
        QXmlStreamReader xml(&file);
        int placemarks = 0, points = 0, lines = 0;
        while (!xml.atEnd()) {
            if (xml.readNext() != QXmlStreamReader::StartElement) continue;
            QCOMPARE(xml.namespaceUri().toString(), QString("http://www.opengis.net/kml/2.2"));
            placemarks += xml.name() == QLatin1String("Placemark");
            points += xml.name() == QLatin1String("Point");
            lines += xml.name() == QLatin1String("LineString");
        }
        QVERIFY2(!xml.hasError(), qPrintable(xml.errorString()));
        QCOMPARE(placemarks, s.Table.RowCount() - 1);
        QCOMPARE(std::string(type) == "AIRPORT" ? points : lines, placemarks);
        QVERIFY(ui.messages.empty());
    }
}

void ExchangeTest::fly1DexAsksThenOpensAndAdds() {
    EditorHarness h(2, "english");
    const std::string dex = h.world.dir.Write("work/old.DEX", Fly1Dex());
    h.ui.answers = {false};
    h.Open(h.Item("DEX_ouvrir"), dex);
    QCOMPARE(Q(h.ui.questions.at(0)), Q(txt::DexFly1Question.en));
    QCOMPARE(h.model().rowCount(), 4); // the new window's empty rows
    QVERIFY(!h.Item("DEX_Ajouter")->isEnabled());
    QCOMPARE(Q(h.ui.openRequests.at(0).filter), Q(txt::DexOpenFilter.en));
    QCOMPARE(Q(h.ui.openRequests.at(0).defaultExtension), QString("dex"));

    h.Open(h.Item("DEX_ouvrir"), dex); // OK this time
    QCOMPARE(h.model().rowCount(), 3);
    QCOMPARE(h.Cell(5, 2), Q("Orléans Bricy"));
    QCOMPARE(h.Label("StatusPanel0")->text(),
             Q(Format(txt::StatusDex.en, "OLD.dex", "AIRPORT.DBD", 3, "", int(Fly1Dex().size()))));
    QCOMPARE(h.Label("lblSelect")->text(), QString("1 selected line"));
    for (QAction* a : {h.Item("DEX_Ajouter"), h.Item("CSV_Ajouter"), h.Item("DEX_Enregistrer_tout"),
                       h.Item("DEX_Enregistrer_select"), h.Item("CSV_Enregistrer_tout")})
        QVERIFY2(a->isEnabled(), qPrintable(a->objectName()));

    h.Open(h.Item("DEX_Ajouter"), dex); // no question: the rows go below
    QCOMPARE(h.ui.questions.size(), std::size_t(2));
    QCOMPARE(h.model().rowCount(), 6);
    QCOMPARE(h.Cell(5, 6), QString("Brest Guipavas"));
    QCOMPARE(h.Label("lblSelect")->text(), QString("2 selected lines"));
    QVERIFY(h.window->HasUnsavedChanges());
    // The status still names the file the table is, and counts what it holds.
    const auto status = [&](int records) {
        return Q(Format(txt::StatusDex.en, "OLD.dex", "AIRPORT.DBD", records, "",
                        int(Fly1Dex().size())));
    };
    QCOMPARE(h.Label("StatusPanel0")->text(), status(6));
    QCOMPARE(h.window->statusBar()->currentMessage(), QString("3 records added from old.DEX"));
    h.Item("Annuler")->trigger();
    QCOMPARE(h.Label("StatusPanel0")->text(), status(3));
    QVERIFY(h.window->statusBar()->currentMessage().isEmpty()); // the note went with the rows
    QCOMPARE(h.Label("lblSelect")->text(), QString("1 selected line"));
}

void ExchangeTest::csvRoundTripAndMenus() {
    WithPod<EditorHarness> h(2, "french");
    const std::string csv = h.world.Work() + "AIRPORT.csv";
    h.Save(h.Item("CSV_Enregistrer_tout"), csv);
    const QString before = h.Cell(5, 2) + h.Cell(6, 3) + h.Cell(3, 2);
    h.Open(h.Item("CSV_Import"), csv);
    QCOMPARE(h.model().rowCount(), 3);
    QCOMPARE(h.Cell(5, 2) + h.Cell(6, 3) + h.Cell(3, 2), before);
    QCOMPARE(h.Label("StatusPanel0")->text(),
             Q(Format(txt::StatusCsv.fr, "AIRPORT.csv", "AIRPORT", 3)));
    h.Open(h.Item("CSV_Ajouter"), csv);
    QCOMPARE(h.model().rowCount(), 6);
    QCOMPARE(h.Label("lblSelect")->text(), Q("2 lignes sélectionnées"));
    // Another data type is refused and nothing is added.
    h.Open(h.Item("CSV_Ajouter"), h.world.dir.Write("work/NAV.csv", "NAVAID\r\nx\r\n;0;a\r\n"));
    QCOMPARE(Q(h.ui.messages.back().text), Q(txt::AddedDataMismatch.fr));
    QCOMPARE(h.model().rowCount(), 6);
    // A text the format cannot hold: the error display names its row and
    // field, and no file is written.
    QVERIFY(h.model().setData(h.model().index(1, 5), QString("a;b")));
    const std::string refused = h.world.Work() + "REFUSED.csv";
    h.Save(h.Item("CSV_Enregistrer_tout"), refused);
    QCOMPARE(h.ui.messages.back().kind, MessageKind::Error);
    const QString title = h.model().headerData(5, Qt::Horizontal).toString();
    QCOMPARE(Q(h.ui.messages.back().text),
             Q(Format(txt::CsvUnwritableCell.fr, 2, title.toStdString().c_str(),
                      txt::CsvCharSemicolon.fr)));
    QVERIFY(!h.world.dir.Exists("work/REFUSED.csv"));
    // The format table's other exports have items of their own: one Feature a row.
    QAction* geoJson = h.Item("GeoJSON_Enregistrer_tout");
    QCOMPARE(geoJson->text().remove('&'), QString("Exporter tout (GeoJSON)"));
    QVERIFY(h.Item("GeoJSON_Enregistrer_select")->isEnabled()); // two rows are marked
    h.model().setData(h.model().index(1, 5), QString("ab"));
    h.Save(geoJson, h.world.Work() + "AIRPORT.geojson");
    const std::string features = h.world.dir.Read("work/AIRPORT.geojson");
    QCOMPARE(QString::fromStdString(features).count("{\"type\":\"Feature\""), 6);
}

void ExchangeTest::directWriteChangesOneRecord() {
    EditorHarness fly1(1, "french");
    fly1.Item("POD_ouvrir_ligne")->trigger();
    QCOMPARE(fly1.ui.messages.size(), std::size_t(1));
    QCOMPARE(Q(fly1.ui.messages.at(0).text), QString("Fly! 2 seulement"));
    QVERIFY(!fly1.Item("POD_Enregistrer_ligne")->isEnabled());
    QVERIFY(fly1.ui.openRequests.empty());

    EditorHarness h(2, "french");
    const std::string original = ReadBytes(h.world.Pod());
    h.Open(h.Item("POD_ouvrir_ligne"), h.world.Pod());
    QVERIFY(h.Find<QGroupBox>("gbEdition")->isHidden());
    QVERIFY(h.Item("POD_Enregistrer_ligne")->isEnabled());
    QVERIFY(h.Item("POD_mode_normal")->isEnabled());
    QVERIFY(!h.Item("DEX_Ajouter")->isEnabled() && !h.Item("CSV_Ajouter")->isEnabled());
    h.Commands().grid->HeadingClicked(8); // no sort in this mode
    QCOMPARE(h.Cell(0, 1), QString("1"));

    QVERIFY(h.model().setData(h.model().index(1, 8), QString("1500"))); // elevation
    // The write leaves the latitude alone: its cells are read-only, and say why.
    QVERIFY(!(h.model().flags(h.model().index(1, 6)) & Qt::ItemIsEditable));
    QVERIFY(!h.model().setData(h.model().index(1, 6), QString("99.5")));
    QVERIFY(h.model()
                .index(1, 6)
                .data(Qt::ToolTipRole)
                .toString()
                .contains(Q(txt::ProtectedFieldHint.fr)));
    // So is it in the record editor, whose entry dialogs stay shut on it.
    {
        h.Grid()->setCurrentIndex(h.model().index(1, 6));
        RecordEditorDialog& editor = *h.window->RecordEditor();
        editor.show();
        const auto valueOf = [&](int column) -> QTableWidgetItem* {
            const QString title = h.model().headerData(column, Qt::Horizontal).toString();
            for (int r = 0; r < editor.Grid(1)->rowCount(); ++r)
                if (editor.Grid(1)->item(r, 0)->text() == title) return editor.Grid(1)->item(r, 3);
            return nullptr;
        };
        QVERIFY(valueOf(6) && valueOf(8));
        QVERIFY(!(valueOf(6)->flags() & Qt::ItemIsEditable));
        QVERIFY(editor.Grid(1)
                    ->item(valueOf(6)->row(), 0)
                    ->toolTip()
                    .contains(Q(txt::ProtectedFieldHint.fr)));
        QVERIFY(valueOf(8)->flags() & Qt::ItemIsEditable);
        editor.Grid(1)->setCurrentCell(valueOf(6)->row(), 3);
        auto opened = std::make_shared<bool>(false); // a dialog shown is closed again
        QTimer::singleShot(0, [opened] {
            if (QWidget* w = QApplication::activeModalWidget()) *opened = w->close();
        });
        editor.OpenEntryDialog(editor.Grid(1), Qt::RightButton);
        QCoreApplication::processEvents();
        QVERIFY(!*opened);
        editor.reject();
    }
    h.Grid()->setCurrentIndex(h.model().index(1, 5));
    QCOMPARE(Captions::Plain(h.Item("POD_Enregistrer_ligne")->text()),
             Q("Enregistrer la ligne n°2 dans le POD"));
    h.Item("POD_Enregistrer_ligne")->trigger();
    QVERIFY(h.ui.messages.empty());
    QCOMPARE(h.window->statusBar()->currentMessage(), Q("Ligne 2 écrite dans AIRPORT.POD"));

    ArchiveFile pod(h.world.Pod());
    pod.ReadHeader();
    pod.ReadDirectory();
    const auto& entry = pod.Entries()[std::size_t(pod.FindEntry("DATABASE\\AIRPORT.DBD"))];
    std::string expected = original;
    PutI32(reinterpret_cast<unsigned char*>(expected.data()) + entry.offset + 56 +
               testing::kUiRecordSize + testing::kUiElev,
           1500);
    QVERIFY(ReadBytes(h.world.Pod()) == expected);

    // The written row is saved: nothing to ask before another load.
    QVERIFY(!h.window->isWindowModified());
    h.Open(h.Item("POD_ouvrir"), h.world.Pod());
    QVERIFY(h.ui.questions.empty());
    QCOMPARE(h.Cell(8, 2), QString("1500"));
    h.Item("POD_mode_normal")->trigger();
    QVERIFY(!h.Find<QGroupBox>("gbEdition")->isHidden());
    QVERIFY(h.model().flags(h.model().index(1, 6)) & Qt::ItemIsEditable);
    QVERIFY(h.Item("DEX_Ajouter")->isEnabled());
    QVERIFY(!h.Item("POD_Enregistrer_ligne")->isEnabled());
}

// Enter commits and stays on the row, which is then the row written; rows
// changed and not written are marked and asked about before they are lost.
void ExchangeTest::directWriteMarksRowsUntilWritten() {
    EditorHarness h(2, "english");
    h.Open(h.Item("POD_ouvrir_ligne"), h.world.Pod());
    RecordGridView* v = h.Grid();
    h.window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(h.window.get()));
    v->setFocus();
    v->setCurrentIndex(h.model().index(1, 8));
    for (QChar c : QString("777"))
        QTest::keyClick(QApplication::focusWidget(), c.toLatin1());
    QVERIFY(QApplication::focusWidget() != v); // an editor is open on the cell
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    QCoreApplication::processEvents(); // the editor commits after the key
    QCOMPARE(h.Cell(8, 2), QString("777"));
    QCOMPARE(v->currentIndex().row(), 1);
    QCOMPARE(h.model().UnwrittenRows(), (std::set<int>{2}));
    QVERIFY(h.model().index(1, 5).data(Qt::BackgroundRole).isValid());
    QVERIFY(!h.model().index(0, 5).data(Qt::BackgroundRole).isValid());
    QVERIFY(h.window->isWindowModified());

    // Another table, or the normal mode: asked first, No keeps everything.
    h.ui.answers = {false, false};
    h.Open(h.Item("POD_ouvrir"), h.world.Pod());
    h.Item("POD_mode_normal")->trigger();
    QCOMPARE(h.ui.questions,
             (std::vector<std::string>(2, Format(txt::UnwrittenRowQuestion.en, "2"))));
    QCOMPARE(h.ui.openRequests.size(), std::size_t(1));
    QVERIFY(h.Item("POD_Enregistrer_ligne")->isEnabled());
    QCOMPARE(h.Cell(8, 2), QString("777"));

    // Text still being typed when a command asks or writes is part of its row.
    v->setCurrentIndex(h.model().index(2, 5));
    QTest::keyClick(QApplication::focusWidget(), 'Z');
    QVERIFY(QApplication::focusWidget() != v);
    h.ui.answers = {false};
    h.Item("POD_mode_normal")->trigger();
    QCOMPARE(Q(h.ui.questions.back()), Q(Format(txt::UnwrittenRowsQuestion.en, "2, 3")));
    QCOMPARE(h.Cell(5, 3), QString("Z"));
    h.window->setFocus();
    v->setCurrentIndex(h.model().index(2, 5));
    QTest::keyClick(v, 'Y');
    QVERIFY(QApplication::focusWidget() != v);
    h.Item("POD_Enregistrer_ligne")->trigger();
    QCOMPARE(h.Cell(5, 3), QString("Y"));
    QCOMPARE(h.model().UnwrittenRows(), (std::set<int>{2}));
    h.ui.answers = {false};
    h.Open(h.Item("POD_ouvrir"), h.world.Pod()); // asks first, answered No
    QCOMPARE(h.ui.questions.size(), std::size_t(4));

    // A flag pressed is a change of its record too.
    v->setCurrentIndex(h.model().index(0, 3));
    const QRect export1 = v->visualRect(h.model().index(0, 3));
    QTest::mouseClick(v->viewport(), Qt::LeftButton, {}, export1.center());
    QCOMPARE(h.model().UnwrittenRows(), (std::set<int>{1, 2}));
    h.ui.answers = {false};
    h.Item("POD_mode_normal")->trigger();
    QCOMPARE(Q(h.ui.questions.back()), Q(Format(txt::UnwrittenRowsQuestion.en, "1, 2")));

    // Written one after the other: the marks go, then the unsaved mark.
    v->setCurrentIndex(h.model().index(1, 8));
    h.Item("POD_Enregistrer_ligne")->trigger();
    QCOMPARE(h.window->statusBar()->currentMessage(), Q("Line 2 written to AIRPORT.POD"));
    QCOMPARE(h.model().UnwrittenRows(), (std::set<int>{1}));
    QVERIFY(h.window->isWindowModified());
    v->setCurrentIndex(h.model().index(0, 8));
    h.Item("POD_Enregistrer_ligne")->trigger();
    QVERIFY(h.model().UnwrittenRows().empty());
    QVERIFY(!h.window->isWindowModified());
    const std::size_t asked = h.ui.questions.size();
    h.Item("POD_mode_normal")->trigger();
    QCOMPARE(h.ui.questions.size(), asked);
    QVERIFY(!h.Item("POD_Enregistrer_ligne")->isEnabled());
    h.Open(h.Item("POD_ouvrir"), h.world.Pod());
    QCOMPARE(h.Cell(8, 2), QString("777"));
    QCOMPARE(h.Cell(3, 1), QString("1"));
    QVERIFY(h.ui.messages.empty());

    // Leaving with a row not written discards its change, as asked.
    h.Open(h.Item("POD_ouvrir_ligne"), h.world.Pod());
    QVERIFY(h.model().setData(h.model().index(2, 8), QString("4242")));
    h.ui.answers = {true};
    h.Item("POD_mode_normal")->trigger();
    QCOMPARE(Q(h.ui.questions.back()), Q(Format(txt::UnwrittenRowQuestion.en, "3")));
    QVERIFY(!h.Item("POD_Enregistrer_ligne")->isEnabled());
    QCOMPARE(h.Cell(8, 3), QString("325"));
    QVERIFY(h.model().UnwrittenRows().empty());
    QVERIFY(!h.window->isWindowModified());
}

void ExchangeTest::directWriteRefusalsLeaveTheArchive() {
    EditorHarness h(2, "english");
    const std::string original = ReadBytes(h.world.Pod());
    // A table opened before the mode (it might have been sorted).
    h.Open(h.Item("POD_ouvrir"), h.world.Pod());
    h.Open(h.Item("POD_ouvrir_ligne"), std::nullopt);
    h.Item("POD_Enregistrer_ligne")->trigger();
    QCOMPARE(Q(h.ui.messages.back().text), Q(txt::LoadedBeforeDirectWrite.en));
    // A table from disk in the mode: its archive is not open.
    h.Open(h.Item("DBD_ouvrir"), h.world.DiskDbd());
    h.Item("POD_Enregistrer_ligne")->trigger();
    QCOMPARE(Q(h.ui.messages.back().text), Q(txt::ArchiveNotOpenForWrite.en));
    // A row beyond the archive's records.
    h.Open(h.Item("POD_ouvrir"), h.world.Pod());
    h.session.Table.SetRowCount(5);
    h.session.Table.SetCurrentCell(4, 4);
    h.Item("POD_Enregistrer_ligne")->trigger();
    QCOMPARE(Q(h.ui.messages.back().text), Q(Format(txt::RowWithoutRecord.en, 4, 3)));
    QCOMPARE(h.ui.messages.size(), std::size_t(3));
    QVERIFY(ReadBytes(h.world.Pod()) == original);

    // Another program replaces the archive under the open table: the write
    // is refused with a question, and Yes loads the archive as it now is.
    h.Open(h.Item("POD_ouvrir"), h.world.Pod());
    QVERIFY(h.model().setData(h.model().index(0, 5), QString("Mine")));
    const std::string theirs = h.world.dir.Write("fly2/system/theirs.tmp", original);
    std::filesystem::rename(theirs, h.world.Pod());
    h.Grid()->setCurrentIndex(h.model().index(0, 5));
    h.ui.answers = {true};
    h.Item("POD_Enregistrer_ligne")->trigger();
    QCOMPARE(h.ui.questions.back(), Format(txt::ArchiveChanged.en, h.world.Pod().c_str()) + "\n\n" +
                                        txt::ReloadChangedArchive.en);
    QCOMPARE(h.Cell(5, 1), QString("Charles de Gaulle"));
    QVERIFY(h.model().UnwrittenRows().empty());
    QVERIFY(h.Item("POD_Enregistrer_ligne")->isEnabled()); // still in the mode
    QVERIFY(ReadBytes(h.world.Pod()) == original);
}

void ExchangeTest::viewerListsMarksSortsAndExtracts_data() {
    QTest::addColumn<QString>("language");
    QTest::addColumn<bool>("structure");
    AddRow("French, flat",
           Q("fran\xC3\xA7"
             "ais"),
           false);
    AddRow("English, with folders", QString("english"), true);
}

void ExchangeTest::viewerListsMarksSortsAndExtracts() {
    QFETCH(QString, language);
    QFETCH(bool, structure);
    EditorHarness h(2, S(language) == "english" ? "english"
                                                : "fran\xE7"
                                                  "ais");
    const Lang lang = h.session.Language_();
    const std::string archive = h.world.dir.Write(
        "fly2/system/MIX.POD",
        BuildArchive(ArchiveLayout::Pod3,
                     {{"B\\TWO.TXT", "two", 200}, {"A\\ONE.TXT", "one!", 100}, {"TOP", "t", 300}}));
    ArchiveViewer& v = *h.window->PodViewer();
    auto* extract = Child<QPushButton>(&v, "tbExtraire");
    auto* list = Child<QTableView>(&v, "sgPodview");
    v.show();
    QCOMPARE(v.windowTitle(), Q(txt::PodviewCaption.In(lang)));
    QCOMPARE(Child<QCheckBox>(&v, "cbStruct")->text(), Q(txt::PodviewStructure.In(lang)));
    QVERIFY(!extract->isEnabled());
    h.ui.openAnswers.push_back(archive);
    Child<QPushButton>(&v, "tbOuvrir")->click();
    QCOMPARE(Q(h.ui.openRequests.back().initialFolder), Q(h.world.Fly2() + "system/"));
    ArchiveEntryModel& m = *v.Model();
    QCOMPARE(m.rowCount(), 3);
    QCOMPARE(m.index(0, 1).data().toString(), QString("B\\TWO.TXT"));
    QCOMPARE(m.index(0, 2).data().toString(), QString("B\\"));
    QCOMPARE(m.index(1, 3).data().toString(), QString("4"));
    QCOMPARE(m.headerData(2, Qt::Horizontal).toString(), Q(txt::PodviewHeadingFolder.In(lang)));
    QCOMPARE(v.StatusText(), Q(Format(txt::ArchiveListStatus.In(lang), "MIX.POD", 3, 8)));

    // Mark all, then none, by the "sel" heading; a click marks one row.
    v.HeadingClick(0);
    QCOMPARE(m.Marked(), (std::vector<int>{0, 1, 2}));
    v.HeadingClick(0);
    QVERIFY(m.Marked().empty());
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                      list->visualRect(m.index(1, 1)).center());
    QCOMPARE(m.Marked(), (std::vector<int>{1}));
    // Sorting by name moves the mark with its entry.
    v.HeadingClick(1);
    QCOMPARE(m.index(0, 1).data().toString(), QString("A\\ONE.TXT"));
    QCOMPARE(m.index(0, 0).data().toString(), QString("x"));
    v.HeadingClick(3); // size: 1, 3, 4 bytes
    QCOMPARE(m.index(2, 1).data().toString(), QString("A\\ONE.TXT"));
    v.ToggleMark(0); // TOP
    QCOMPARE(m.Marked(), (std::vector<int>{1, 2}));

    Child<QCheckBox>(&v, "cbStruct")->setChecked(structure);
    testing::TempDir out;
    h.ui.folderAnswers.push_back(out.Path());
    extract->click();
    QCOMPARE(out.ListFiles(), structure ? (std::vector<std::string>{"A/ONE.TXT", "TOP"})
                                        : (std::vector<std::string>{"ONE.TXT", "TOP"}));
    QCOMPARE(out.Read(structure ? "A/ONE.TXT" : "ONE.TXT"), std::string("one!"));
    QCOMPARE(Child<QStatusBar>(&v, "StatusBar")->currentMessage(),
             Q(Format(txt::PodviewExtracted.In(lang, 2), 2, (out.Path() + "/").c_str())));

    // The "sel" heading under the mouse marks all; the arrow stays on the sort.
    QHeaderView* header = list->horizontalHeader();
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                      QPoint(header->sectionViewportPosition(0) + 5, header->height() / 2));
    QCOMPARE(m.Marked(), (std::vector<int>{0, 1, 2}));
    QCOMPARE(header->sortIndicatorSection(), 3);
    Child<QPushButton>(&v, "tbEfface")->click();
    QCOMPARE(m.rowCount(), 0);
    QVERIFY(v.StatusText().isEmpty());
    QVERIFY(!extract->isEnabled());
    v.hide();
}

void ExchangeTest::cancelAtEachProgressDialog() {
    EditorHarness h(2, "english");
    h.window->Progress().showAfterMs = 0;
    h.Open(h.Item("POD_ouvrir"), h.world.Pod());
    QVERIFY(h.model().setData(h.model().index(0, 5), QString("Mine")));
    const auto cancelled = [&](QWidget* owner, auto&& command) {
        testing::CancelProgress cancel(owner);
        command();
        return cancel.pressed;
    };
    const std::string dex = h.world.dir.Write("work/AIRPORT.dex", "earlier");
    QVERIFY(cancelled(h.window.get(), [&] { h.Save(h.Item("DEX_Enregistrer_tout"), dex); }));
    QVERIFY(cancelled(h.window.get(),
                      [&] { h.Save(h.Item("CSV_Enregistrer_tout"), h.world.Work() + "A.csv"); }));
    QCOMPARE(ReadBytes(dex), std::string("earlier"));
    QCOMPARE(h.world.dir.ListFiles(),
             (std::vector<std::string>{"Orvane.ini", "fly1/system/.keep", "fly1/system/AIRPORT.EPD",
                                       "fly2/system/.keep", "fly2/system/AIRPORT.POD",
                                       "work/AIRPORT.dbd", "work/AIRPORT.dex"}));
    const std::string good = h.world.dir.Write("work/GOOD.DEX", Fly1Dex());
    h.ui.defaultAnswer = true; // the unsaved-changes and Fly! 1 questions
    const QString undo = h.Item("Annuler")->text();
    for (QAction* item : {h.Item("DEX_ouvrir"), h.Item("DEX_Ajouter"), h.Item("POD_ouvrir")}) {
        QVERIFY(cancelled(h.window.get(), [&] {
            h.Open(item, item == h.Item("POD_ouvrir") ? h.world.Pod() : good);
        }));
        QCOMPARE(h.model().rowCount(), 3);
        QCOMPARE(h.Cell(5, 1), QString("Mine"));
        QCOMPARE(h.Item("Annuler")->text(), undo); // no step for what did not happen
    }
    QVERIFY(h.ui.messages.empty());
    // Saved, then a cancelled add: still saved.
    h.Save(h.Item("DBD_Enregistrer_tout"), h.world.Work() + "SAVED.dbd");
    QVERIFY(!h.window->HasUnsavedChanges());
    QVERIFY(cancelled(h.window.get(), [&] { h.Open(h.Item("DEX_Ajouter"), good); }));
    QVERIFY(!h.window->HasUnsavedChanges());
    QVERIFY(!h.window->isWindowModified());
    QVERIFY(h.ui.messages.empty());

    // An extraction stopped inside its second entry keeps the first.
    const std::string archive = h.world.dir.Write(
        "fly2/system/BIG.POD",
        BuildArchive(ArchiveLayout::Pod3,
                     {{"SMALL", "s", 0}, {"BIG", testing::PatternBytes(300 * 1024), 0}}));
    ArchiveViewer& v = *h.window->PodViewer();
    v.show();
    v.Progress().showAfterMs = 0;
    v.OpenArchive(archive);
    v.HeadingClick(0);
    testing::TempDir out;
    h.ui.folderAnswers.push_back(out.Path());
    QVERIFY(cancelled(&v, [&] { Child<QPushButton>(&v, "tbExtraire")->click(); }));
    QCOMPARE(out.ListFiles(), std::vector<std::string>{"SMALL"});
    QCOMPARE(
        Child<QStatusBar>(&v, "StatusBar")->currentMessage(),
        Q(Format(txt::PodviewExtractStopped.In(Lang::English, 1), 1, (out.Path() + "/").c_str())));
}

QTEST_MAIN(ExchangeTest)
#include "test_exchange_commands.moc"
