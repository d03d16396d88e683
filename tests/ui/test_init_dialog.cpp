// The directories dialog: what each showing reads, the folder pickers, the
// version choice, Save and Open.
#include "platform/Paths.h"
#include "settings/Settings.h"
#include "settings/Texts.h"
#include "support/DbdFixtures.h"
#include "support/ScriptedInteraction.h"
#include "support/UiFixtures.h"
#include "support/Widgets.h"
#include "ui/dialogs/DirectoriesDialog.h"
#include "ui/qt/QtText.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

using namespace orvane;
using namespace orvane::testing;

namespace {

struct Harness {
    explicit Harness(const char* language = "") {
        session.Language = language;
        dialog = std::make_unique<DirectoriesDialog>(session, ui, world.Ini());
        dialog->MarkVersion = [this](int v) { marked = v; };
        dialog->ShowVersion = [this](int v) { shown = v; };
    }
    QLineEdit* Box(const char* name) { return Child<QLineEdit>(dialog.get(), name); }
    QPushButton* Button(const char* name) { return Child<QPushButton>(dialog.get(), name); }
    // The default version's radio button of Fly! 1 or Fly! II.
    QRadioButton* Version(int v) { return dialog->findChildren<QRadioButton*>()[v - 1]; }
    UiWorld world;
    SessionState session;
    ScriptedInteraction ui;
    std::unique_ptr<DirectoriesDialog> dialog;
    int marked = 0, shown = 0;
};

} // namespace

class InitDialogTest : public QObject {
    Q_OBJECT
  private slots:
    void firstRunShowsDefaultsAndCancelWritesNothing();
    void pickersFillTheirBoxes();
    void saveWritesSettingsAndSetsFolders();
    void openReadsAnotherFileWithoutWriting();
    void cancelPutsBackTheSessionAsItWas();
    void englishCaptions();
};

void InitDialogTest::firstRunShowsDefaultsAndCancelWritesNothing() {
    Harness h;
    h.dialog->ShowSettings();
    QCOMPARE(h.Box("edFly2")->text(), Q(NativeDefaultFolder(defaults::kFly2)));
    QCOMPARE(h.Box("edWork2")->text(), Q(NativeDefaultFolder(defaults::kFly2Data)));
    QCOMPARE(h.Box("edFly1")->text(), Q(NativeDefaultFolder(defaults::kFly1)));
    QCOMPARE(h.Box("edDex")->text(), Q(NativeDefaultFolder(defaults::kFly2)));
    QVERIFY(h.Version(2)->isChecked());
    QVERIFY(h.Box("edFly1")->isReadOnly());
    QCOMPARE(h.dialog->windowTitle(), QString::fromUtf8("Initialisation répertoires"));
    h.dialog->show();
    QTest::mouseClick(h.Button("btnCancel"), Qt::LeftButton);
    QCOMPARE(h.dialog->result(), int(QDialog::Rejected));
    QVERIFY(!h.world.dir.Exists("Orvane.ini"));
}

void InitDialogTest::pickersFillTheirBoxes() {
    Harness h;
    h.dialog->ShowSettings();
    const std::string before = h.Box("edWork1")->text().toStdString();
    h.ui.folderAnswers = {h.world.dir.File("fly1"), std::nullopt, h.world.Work()};
    QTest::mouseClick(h.Button("btnFly1"), Qt::LeftButton);
    QCOMPARE(h.Box("edFly1")->text(), Q(h.world.Fly1()));    // separator appended
    QTest::mouseClick(h.Button("btnWork1"), Qt::LeftButton); // cancelled
    QCOMPARE(h.Box("edWork1")->text(), Q(before));
    QTest::mouseClick(h.Button("btnDex"), Qt::LeftButton);
    QCOMPARE(h.Box("edDex")->text(), Q(h.world.Work()));
    QCOMPARE(h.ui.folderTitles.size(), std::size_t(3));
    QCOMPARE(Q(h.ui.folderTitles[0]), QString::fromUtf8("Choisissez un répertoire"));
    // The session keeps its values until Save.
    QCOMPARE(Q(h.session.Fly1Dir), Q(NativeDefaultFolder(defaults::kFly1)));
}

void InitDialogTest::saveWritesSettingsAndSetsFolders() {
    Harness h;
    h.world.WriteStandardIni(2, "english");
    h.dialog->ShowSettings();
    QVERIFY(h.Version(2)->isChecked());
    h.session.WorkDir = "/kept/work/";
    h.ui.folderAnswers = {h.world.dir.File("other1"), h.world.dir.File("tools")};
    QTest::mouseClick(h.Button("btnFly1"), Qt::LeftButton);
    QTest::mouseClick(h.Button("btnDB"), Qt::LeftButton);
    QTest::mouseClick(h.Version(1), Qt::LeftButton);
    QCOMPARE(h.session.SimulatorVersion, 1);
    QCOMPARE(h.marked, 1);
    QTest::mouseClick(h.Button("btnOK"), Qt::LeftButton);
    QCOMPARE(h.dialog->result(), int(QDialog::Accepted));

    const std::string other1 = h.world.dir.File("other1") + "/";
    QCOMPARE(Q(h.session.FlyDir), Q(other1));
    QCOMPARE(Q(h.session.DbImportDir), Q(h.world.dir.File("tools") + "/"));
    QCOMPARE(Q(h.session.WorkDir), QString("/kept/work/"));
    QCOMPARE(h.shown, 1);
    QVERIFY(h.ui.messages.empty());

    // What the next start reads.
    SessionSettings next;
    QVERIFY(StartupRead(next, h.world.Ini()));
    QVERIFY(next.FirstRunDone);
    QCOMPARE(next.SimulatorVersion, 1);
    QCOMPARE(Q(next.Fly1Dir), Q(other1));
    QCOMPARE(Q(next.DexImportDir), Q(h.world.Fly2()));
    QCOMPARE(next.Language, std::string("english")); // untouched
}

void InitDialogTest::openReadsAnotherFileWithoutWriting() {
    Harness h;
    h.world.WriteStandardIni(2, "english");
    const std::string ownBefore = testing::ReadBytes(h.world.Ini());
    const std::string chosen =
        h.world.dir.Write("other.ini", "[init]\r\nversion=1\r\n[fly1]\r\nflydir=/sim/fly1\r\n");
    h.dialog->ShowSettings();
    h.session.WorkDir = h.world.dir.File("current") + "/";
    h.ui.openAnswers = {chosen};
    QTest::mouseClick(h.Button("btnOpen"), Qt::LeftButton);
    QCOMPARE(h.ui.openRequests.size(), std::size_t(1));
    QCOMPARE(Q(h.ui.openRequests[0].filter), Q(txt::InitIniFilter.fr));
    QCOMPARE(Q(h.ui.openRequests[0].fileName), QString("Orvane"));
    QCOMPARE(Q(h.ui.openRequests[0].defaultExtension), QString("ini"));
    QCOMPARE(h.dialog->result(), int(QDialog::Accepted));
    QVERIFY(h.Version(1)->isChecked());
    QCOMPARE(h.Box("edFly1")->text(), QString("/sim/fly1/"));
    // No "work2" section: the box shows the current work folder.
    QCOMPARE(h.Box("edWork2")->text(), Q(h.world.dir.File("current") + "/"));
    QCOMPARE(testing::ReadBytes(h.world.Ini()), ownBefore);

    // The next showing brings back the program's own settings.
    h.dialog->ShowSettings();
    QVERIFY(h.Version(2)->isChecked());
    QCOMPARE(h.Box("edFly1")->text(), Q(h.world.Fly1()));

    // A cancelled file dialog also closes the dialog with OK.
    h.dialog->setResult(0);
    h.ui.openAnswers = {std::nullopt};
    QTest::mouseClick(h.Button("btnOpen"), Qt::LeftButton);
    QCOMPARE(h.dialog->result(), int(QDialog::Accepted));
}

// Fly! 1 chosen in the menu while the file says version 2: the showing reads
// the file's version and folders; Cancel gives both up.
void InitDialogTest::cancelPutsBackTheSessionAsItWas() {
    Harness h;
    h.world.WriteStandardIni(2, "english");
    QVERIFY(StartupRead(h.session, h.world.Ini()));
    SelectVersion(h.session, 1);
    const SessionSettings before = h.session;
    QCOMPARE(Q(before.FlyDir), Q(h.world.Fly1()));
    h.dialog->show();
    QVERIFY(h.Version(2)->isChecked());
    QCOMPARE(Q(h.session.FlyDir), Q(h.world.Fly2()));
    QTest::mouseClick(h.Button("btnCancel"), Qt::LeftButton);
    QCOMPARE(h.session.SimulatorVersion, 1);
    QCOMPARE(h.marked, 1);
    QCOMPARE(Q(h.session.FlyDir), Q(before.FlyDir));
    QCOMPARE(Q(h.session.WorkDir), Q(before.WorkDir));
    QCOMPARE(Q(h.session.DexImportDir), Q(before.DexImportDir));
}

void InitDialogTest::englishCaptions() {
    Harness h("english");
    QCOMPARE(h.dialog->windowTitle(), QString("Directory init"));
    QCOMPARE(Child<QLabel>(h.dialog.get(), "Label5")->text(), QString("Fly! Directory"));
    QCOMPARE(Child<QLabel>(h.dialog.get(), "Label3")->text(), QString("DBImport Directory"));
    QCOMPARE(h.Button("btnOK")->text(), QString("Save"));
    QCOMPARE(h.Button("btnWork2")->text(), QString("Browse"));
    QCOMPARE(h.Version(2)->text(), QString("2 - Fly!II"));
    h.dialog->OpenOtherSettings();
    QCOMPARE(Q(h.ui.openRequests[0].filter), QString("ini files|*.ini|All files|*.*"));
    h.dialog->ShowSettings();
    h.ui.folderAnswers = {std::nullopt};
    h.Button("btnFly1")->click();
    QCOMPARE(Q(h.ui.folderTitles[0]), QString("Select a directory"));
}

QTEST_MAIN(InitDialogTest)
#include "test_init_dialog.moc"
