// The directories dialog: what each showing reads, the folder pickers, the
// version choice, Save and Open.
#include "platform/Paths.h"
#include "settings/Settings.h"
#include "settings/Texts.h"
#include "support/DbdFixtures.h"
#include "support/ScriptedInteraction.h"
#include "support/UiFixtures.h"
#include "ui/dialogs/DirectoriesDialog.h"
#include "ui/qt/QtText.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

using namespace orvane;
using orvane::testing::ScriptedInteraction;
using orvane::testing::UiWorld;

namespace {

struct Harness {
    Harness() {
        dialog = std::make_unique<TForm_init>(session, ui, world.Ini());
        dialog->MarkVersion = [this](int v) { marked = v; };
        dialog->ShowVersion = [this](int v) { shown = v; };
    }
    UiWorld world;
    SessionState session;
    ScriptedInteraction ui;
    std::unique_ptr<TForm_init> dialog;
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
    h.dialog->FormActivate();
    QCOMPARE(h.dialog->edFly2->text(), Q(NativeDefaultFolder(defaults::kFly2)));
    QCOMPARE(h.dialog->edWork2->text(), Q(NativeDefaultFolder(defaults::kFly2Data)));
    QCOMPARE(h.dialog->edFly1->text(), Q(NativeDefaultFolder(defaults::kFly1)));
    QCOMPARE(h.dialog->edDex->text(), Q(NativeDefaultFolder(defaults::kFly2)));
    QVERIFY(h.dialog->cbVersionItem2->isChecked());
    QVERIFY(h.dialog->edFly1->isReadOnly());
    QCOMPARE(h.dialog->windowTitle(), QString::fromUtf8("Initialisation répertoires"));
    h.dialog->show();
    QTest::mouseClick(h.dialog->btnCancel, Qt::LeftButton);
    QCOMPARE(h.dialog->result(), int(QDialog::Rejected));
    QVERIFY(!h.world.dir.Exists("Orvane.ini"));
}

void InitDialogTest::pickersFillTheirBoxes() {
    Harness h;
    h.dialog->FormActivate();
    const std::string before = h.dialog->edWork1->text().toStdString();
    h.ui.folderAnswers = {h.world.dir.File("fly1"), std::nullopt, h.world.Work()};
    QTest::mouseClick(h.dialog->btnFly1, Qt::LeftButton);
    QCOMPARE(h.dialog->edFly1->text(), Q(h.world.Fly1())); // separator appended
    QTest::mouseClick(h.dialog->btnWork1, Qt::LeftButton); // cancelled
    QCOMPARE(h.dialog->edWork1->text(), Q(before));
    QTest::mouseClick(h.dialog->btnDex, Qt::LeftButton);
    QCOMPARE(h.dialog->edDex->text(), Q(h.world.Work()));
    QCOMPARE(h.ui.folderTitles.size(), std::size_t(3));
    QCOMPARE(Q(h.ui.folderTitles[0]), QString::fromUtf8("Choisissez un répertoire"));
    // The session keeps its values until Save.
    QCOMPARE(Q(h.session.Fly1Dir), Q(NativeDefaultFolder(defaults::kFly1)));
}

void InitDialogTest::saveWritesSettingsAndSetsFolders() {
    Harness h;
    h.world.WriteStandardIni(2, "english");
    h.dialog->FormActivate();
    QVERIFY(h.dialog->cbVersionItem2->isChecked());
    h.session.WorkDir = "/kept/work/";
    h.ui.folderAnswers = {h.world.dir.File("other1"), h.world.dir.File("tools")};
    QTest::mouseClick(h.dialog->btnFly1, Qt::LeftButton);
    QTest::mouseClick(h.dialog->btnDB, Qt::LeftButton);
    QTest::mouseClick(h.dialog->cbVersionItem1, Qt::LeftButton);
    QCOMPARE(h.session.SimulatorVersion, 1);
    QCOMPARE(h.marked, 1);
    QTest::mouseClick(h.dialog->btnOK, Qt::LeftButton);
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
    h.dialog->FormActivate();
    h.session.WorkDir = h.world.dir.File("current") + "/";
    h.ui.openAnswers = {chosen};
    QTest::mouseClick(h.dialog->btnOpen, Qt::LeftButton);
    QCOMPARE(h.ui.openRequests.size(), std::size_t(1));
    QCOMPARE(Q(h.ui.openRequests[0].filter), Q(txt::InitIniFilter.fr));
    QCOMPARE(Q(h.ui.openRequests[0].fileName), QString("Orvane"));
    QCOMPARE(Q(h.ui.openRequests[0].defaultExtension), QString("ini"));
    QCOMPARE(h.dialog->result(), int(QDialog::Accepted));
    QVERIFY(h.dialog->cbVersionItem1->isChecked());
    QCOMPARE(h.dialog->edFly1->text(), QString("/sim/fly1/"));
    // No "work2" section: the box shows the current work folder.
    QCOMPARE(h.dialog->edWork2->text(), Q(h.world.dir.File("current") + "/"));
    QCOMPARE(testing::ReadBytes(h.world.Ini()), ownBefore);

    // The next showing brings back the program's own settings.
    h.dialog->FormActivate();
    QVERIFY(h.dialog->cbVersionItem2->isChecked());
    QCOMPARE(h.dialog->edFly1->text(), Q(h.world.Fly1()));

    // A cancelled file dialog also closes the dialog with OK.
    h.dialog->setResult(0);
    h.ui.openAnswers = {std::nullopt};
    QTest::mouseClick(h.dialog->btnOpen, Qt::LeftButton);
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
    QVERIFY(h.dialog->cbVersionItem2->isChecked());
    QCOMPARE(Q(h.session.FlyDir), Q(h.world.Fly2()));
    QTest::mouseClick(h.dialog->btnCancel, Qt::LeftButton);
    QCOMPARE(h.session.SimulatorVersion, 1);
    QCOMPARE(h.marked, 1);
    QCOMPARE(Q(h.session.FlyDir), Q(before.FlyDir));
    QCOMPARE(Q(h.session.WorkDir), Q(before.WorkDir));
    QCOMPARE(Q(h.session.DexImportDir), Q(before.DexImportDir));
}

void InitDialogTest::englishCaptions() {
    UiWorld world;
    SessionState session;
    session.Language = "english";
    ScriptedInteraction ui;
    TForm_init dialog(session, ui, world.Ini());
    QCOMPARE(dialog.windowTitle(), QString("Directory init"));
    QCOMPARE(dialog.Label5->text(), QString("Fly! Directory"));
    QCOMPARE(dialog.Label3->text(), QString("DBImport Directory"));
    QCOMPARE(dialog.btnOK->text(), QString("Save"));
    QCOMPARE(dialog.btnWork2->text(), QString("Browse"));
    QCOMPARE(dialog.cbVersionItem2->text(), QString("2 - Fly!II"));
    dialog.btnOpenClick();
    QCOMPARE(Q(ui.openRequests[0].filter), QString("ini files|*.ini|All files|*.*"));
    dialog.FormActivate();
    ui.folderAnswers = {std::nullopt};
    dialog.btnFly1Click();
    QCOMPARE(Q(ui.folderTitles[0]), QString("Select a directory"));
}

QTEST_MAIN(InitDialogTest)
#include "test_init_dialog.moc"
