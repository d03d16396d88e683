// The memo window and the about box: the memo's first showing, save, reload
// in a new window, closing with and without unsaved text, a failed save; the
// about box in both languages.
#include "settings/Texts.h"
#include "support/ScriptedInteraction.h"
#include "support/TempDir.h"
#include "support/Widgets.h"
#include "ui/dialogs/AboutBox.h"
#include "ui/dialogs/MemoWindow.h"
#include "ui/qt/QtText.h"

#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

#include <filesystem>

using namespace orvane;
using namespace orvane::testing;

class MemoAboutTest : public QObject {
    Q_OBJECT
  private slots:
    void firstShowingSaveAndReload();
    void closingAsksOnlyAboutUnsavedText_data();
    void closingAsksOnlyAboutUnsavedText();
    void failedSaveKeepsTheFileAndTheText();
    void aboutBox_data();
    void aboutBox();
};

void MemoAboutTest::firstShowingSaveAndReload() {
    TempDir dir;
    ScriptedInteraction ui;
    const std::string path = dir.File("memo.txt");
    MemoWindow memo(ui, Lang::French, path);
    auto* text = Child<QPlainTextEdit>(&memo, "Memoire");
    auto* close = Child<QPushButton>(&memo, "btnFermerMemo");
    QCOMPARE(memo.windowTitle(), Q("Pour ne pas oublier....."));
    QCOMPARE(close->text(), QString("Fermer"));
    memo.show();
    QCOMPARE(ui.messages.size(), std::size_t(1));
    QCOMPARE(ui.messages[0].kind, MessageKind::Warning);
    QCOMPARE(Q(ui.messages[0].text), Q(txt::MemoNotFound.fr));
    QCOMPARE(dir.Read("memo.txt"), std::string("\r\n")); // one empty line

    QTest::keyClicks(text, "Piste 27 ferm");
    QTest::sendKeyEvent(QTest::Click, text, Qt::Key_Eacute, Q("é"), {});
    QTest::keyClicks(text, "e");
    QTest::keyClick(text, Qt::Key_Return);
    QTest::keyClicks(text, "NDB OL");
    QVERIFY(memo.HasUnsavedText());
    QTest::mouseClick(close, Qt::LeftButton);
    QCOMPARE(dir.Read("memo.txt"), std::string("Piste 27 ferm\xE9"
                                               "e\r\nNDB OL\r\n"));
    QVERIFY(memo.isVisible()); // saving does not close
    QVERIFY(!memo.HasUnsavedText());

    // A new window (as after a restart) shows the saved text.
    MemoWindow again(ui, Lang::English, path);
    again.show();
    QCOMPARE(Child<QPlainTextEdit>(&again, "Memoire")->toPlainText(), Q("Piste 27 fermée\nNDB OL"));
    QCOMPARE(ui.messages.size(), std::size_t(1));
}

void MemoAboutTest::closingAsksOnlyAboutUnsavedText_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("answer"); // a SaveChoice, when asked
    QTest::addColumn<bool>("asked");
    QTest::addColumn<bool>("closed");
    QTest::addColumn<QString>("file");
    AddRow("nothing typed", "", 0, false, true, "old\r\n");
    AddRow("save", "new", int(SaveChoice::Save), true, true, "oldnew\r\n");
    AddRow("discard", "new", int(SaveChoice::Discard), true, true, "old\r\n");
    AddRow("cancel", "new", int(SaveChoice::Cancel), true, false, "old\r\n");
}

void MemoAboutTest::closingAsksOnlyAboutUnsavedText() {
    QFETCH(QString, typed);
    QFETCH(int, answer);
    QFETCH(bool, asked);
    QFETCH(bool, closed);
    QFETCH(QString, file);
    TempDir dir;
    ScriptedInteraction ui;
    ui.saveChoices = {SaveChoice(answer)};
    const std::string path = dir.Write("memo.txt", "old\r\n");
    MemoWindow memo(ui, Lang::English, path);
    memo.show();
    auto* text = Child<QPlainTextEdit>(&memo, "Memoire");
    text->moveCursor(QTextCursor::End);
    QTest::keyClicks(text, typed);
    memo.close(); // the frame's close box
    QCOMPARE(ui.questions.size(), std::size_t(asked ? 1 : 0));
    if (asked) QCOMPARE(Q(ui.questions[0]), Q(txt::MemoUnsaved.en));
    QCOMPARE(memo.isVisible(), !closed);
    QCOMPARE(Q(dir.Read("memo.txt")), file);
    // Shown again, the window holds the file's text; kept open, the typed text.
    memo.show();
    QCOMPARE(text->toPlainText(), closed ? file.chopped(2) : "old" + typed);
    QVERIFY(ui.messages.empty());
}

void MemoAboutTest::failedSaveKeepsTheFileAndTheText() {
    TempDir dir;
    ScriptedInteraction ui;
    const std::string path = dir.Write("memo.txt", "old\r\n");
    std::filesystem::permissions(path, std::filesystem::perms::owner_read);
    MemoWindow memo(ui, Lang::English, path);
    memo.show();
    QTest::keyClicks(Child<QPlainTextEdit>(&memo, "Memoire"), "typed ");
    QTest::mouseClick(Child<QPushButton>(&memo, "btnFermerMemo"), Qt::LeftButton);
    QCOMPARE(ui.messages.size(), std::size_t(1));
    QCOMPARE(ui.messages[0].kind, MessageKind::Error);
    QCOMPARE(Q(ui.messages[0].text), Q(Format(txt::ReadOnlyTarget.en, path.c_str())));
    QCOMPARE(dir.Read("memo.txt"), std::string("old\r\n"));
    QCOMPARE(Child<QPlainTextEdit>(&memo, "Memoire")->toPlainText(), QString("typed old"));
    QVERIFY(memo.HasUnsavedText());
}

void MemoAboutTest::aboutBox_data() {
    QTest::addColumn<bool>("english");
    AddRow("english", true);
    AddRow("français", false);
}

void MemoAboutTest::aboutBox() {
    QFETCH(bool, english);
    const Lang l = english ? Lang::English : Lang::French;
    AboutBox about(l);
    about.show();
    QCOMPARE(about.windowTitle(), Q(english ? "About" : "A propos"));
    QCOMPARE(Child<QPushButton>(&about, "btnFermer")->text(), Q(english ? "Close" : "Fermer"));
    QCOMPARE(Child<QPlainTextEdit>(&about, "Memo")->toPlainText(),
             "Orvane v1.13\n\n" + Q(txt::AboutNotice.In(l)).replace("\r\n", "\n"));
    QVERIFY(Child<QPlainTextEdit>(&about, "Memo")->isReadOnly());
    QCOMPARE(Child<QPlainTextEdit>(&about, "Memo")->palette().color(QPalette::Base),
             QColor(Qt::cyan));
    QCOMPARE(about.minimumSize(), about.maximumSize()); // a fixed frame
    QTest::mouseClick(Child<QPushButton>(&about, "btnFermer"), Qt::LeftButton);
    QVERIFY(!about.isVisible());
}

QTEST_MAIN(MemoAboutTest)
#include "test_memo_about.moc"
