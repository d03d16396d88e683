// The record editor and its two entry dialogs driven as a user would: real
// key and mouse events on the page grids, the scripted seam for messages, and
// the real message boxes where a message shows while a value is being typed.
#include "settings/Texts.h"
#include "support/EditorFixtures.h"
#include "support/EditorHarness.h"
#include "support/RealDialogs.h"
#include "ui/dialogs/ByteEntryDialog.h"
#include "ui/dialogs/CoordinateDialog.h"
#include "ui/dialogs/RecordEditorDialog.h"
#include "ui/qt/QtText.h"
#include "ui/qt/UpDown.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QMessageBox>
#include <QRadioButton>
#include <QStackedWidget>
#include <QTabBar>
#include <QToolButton>

using namespace orvane;
using namespace orvane::testing;

namespace {

// The byte dialog's mode buttons are its only radio buttons, in EntryMode's order.
QRadioButton* Mode(QDialog* d, int mode) {
    return d->findChildren<QRadioButton*>()[mode];
}

// The editor on the scripted seam, or on the real message boxes.
struct Editor {
    explicit Editor(std::vector<FieldDef> fields, const std::string& language = "francais",
                    bool realBoxes = false) {
        FillSession(session, fields, 2, language);
        session.Display.decimalSeparator = '.';
        form = realBoxes ? std::make_unique<RecordEditorDialog>(session, qtUi)
                         : std::make_unique<RecordEditorDialog>(session, ui);
    }
    void Open() {
        form->show();
        form->activateWindow();
        QCoreApplication::processEvents();
        QVERIFY(QTest::qWaitForWindowActive(form.get()));
    }
    QTabBar* Tabs() { return Child<QTabBar>(form.get(), "TabControl"); }
    QPushButton* Button(const char* name) { return Child<QPushButton>(form.get(), name); }
    QString Value(int page, int row) { return form->Grid(page)->item(row - 1, 3)->text(); }
    QString Text(int page, int row, int col) {
        return form->Grid(page)->item(row - 1, col)->text();
    }
    EditorPageGrid* Goto(int page, int row) {
        Tabs()->setCurrentIndex(page - 1);
        EditorPageGrid* g = form->Grid(page);
        g->setCurrentCell(row - 1, 3);
        g->setFocus();
        return g;
    }
    void TypeText(int page, int row, const QString& text) {
        EditorPageGrid* g = Goto(page, row);
        for (QChar ch : text)
            Stroke(g, ch.toLatin1());
    }
    void Key(int page, Qt::Key key) {
        Stroke(form->Grid(page), key);
        QCoreApplication::processEvents();
    }
    // A key pressed and released on the page's open cell editor, or on the
    // page when none is open.
    template <typename K> static void Stroke(EditorPageGrid* g, K key) {
        const auto target = [g] {
            return g->OpenEditor() ? static_cast<QWidget*>(g->OpenEditor()) : g;
        };
        QTest::keyPress(target(), key);
        QCoreApplication::processEvents(); // what the key started, before its release
        QTest::keyRelease(target(), key);
    }
    void Press(int page, int row, Qt::MouseButton button, int col = 3) {
        Tabs()->setCurrentIndex(page - 1);
        EditorPageGrid* g = form->Grid(page);
        const QPoint at = g->visualRect(g->model()->index(row - 1, col)).center();
        QTest::mousePress(g->viewport(), button, {}, at);
        QTest::mouseRelease(g->viewport(), button, {}, at);
    }
    std::vector<std::string> Texts() const {
        std::vector<std::string> out;
        for (const auto& m : ui.messages)
            out.push_back(m.text);
        return out;
    }

    SessionState session;
    ScriptedInteraction ui;
    QtUserInteraction qtUi;
    std::unique_ptr<RecordEditorDialog> form;
};

FieldDef Field(const char* title, char type, int width) {
    return {"x", 0, width, type, title};
}

// The first `before` plain fields, then the given ones.
std::vector<FieldDef> With(int before, std::vector<FieldDef> extra) {
    std::vector<FieldDef> fields = PlainFields(before);
    fields.insert(fields.end(), extra.begin(), extra.end());
    return fields;
}

} // namespace

class RecordEditorTest : public QObject {
    Q_OBJECT
  private slots:
    void fill_data();
    void fill();
    void carryBackAndCancel();
    void checks_data();
    void checks();
    void leaveCheckWithRealBoxes();
    void validateOnLeave();
    void oneBoxPerWrongValue_data();
    void oneBoxPerWrongValue();
    void presses_data();
    void presses();
    void coordinatePairAcrossPages();
    void longValuesShowWhole();
    void doubleClickEditsTheCurrentRow();
    void byteEntryRoundTrips();
    void byteEntryEdges();
    void coordinateRoundTrips_data();
    void coordinateRoundTrips();
    void coordinateRangeWhileTyping();
    void entryDialogsWithRealBoxes();
};

void RecordEditorTest::fill_data() {
    QTest::addColumn<int>("count");
    AddRow("29 fields", 29);
    AddRow("30 fields", 30);
    AddRow("90 fields", 90);
}

void RecordEditorTest::fill() {
    QFETCH(int, count);
    Editor e(PlainFields(count));
    e.session.Table.SetCurrentCell(5, 2);
    e.Open();
    // Field i at its page and row, the four columns; read-only but the value.
    for (int i = 0; i < std::min(count, 87); ++i) {
        const int page = i / 29 + 1, row = i % 29 + 1;
        QCOMPARE(e.Text(page, row, 0), QString("Field %1").arg(i));
        QCOMPARE(e.Text(page, row, 1), QString("C"));
        QCOMPARE(e.Text(page, row, 2), QString("8"));
        QCOMPARE(e.Value(page, row), QString("v%1.2").arg(i));
        for (int c = 0; c < 3; ++c)
            QVERIFY(!(e.form->Grid(page)->item(row - 1, c)->flags() & Qt::ItemIsEditable));
        QVERIFY(e.form->Grid(page)->item(row - 1, 3)->flags() & Qt::ItemIsEditable);
    }
    // Rows without a field are empty and cannot be typed into.
    if (count < 87) {
        const int page = count / 29 + 1, row = count % 29 + 1;
        QVERIFY(e.Text(page, row, 0).isEmpty());
        QVERIFY(!(e.form->Grid(page)->item(row - 1, 3)->flags() & Qt::ItemIsEditable));
    }
    // Fields 87 on are nowhere and keep their cells after "Fermer".
    e.Button("btnOK")->click();
    QCOMPARE(e.form->result(), int(QDialog::Accepted));
    if (count == 90) QCOMPARE(std::string(e.session.Table.Cell(4 + 88, 2)), std::string("v88.2"));
    QCOMPARE(std::string(e.session.Table.Cell(kColModif, 2)), std::string("x"));
}

void RecordEditorTest::carryBackAndCancel() {
    Editor e(PlainFields(40));
    e.Open();
    QCOMPARE(e.Tabs()->currentIndex(), 0);
    e.TypeText(2, 3, "abc"); // field 31
    e.Key(2, Qt::Key_Return);
    QCOMPARE(e.Value(2, 3), QString("abc"));
    // Cancel writes nothing, once the user agrees to lose the value.
    e.Button("btnCancel")->click();
    QCOMPARE(e.ui.questions, std::vector<std::string>{txt::EditorDiscardChanges.fr});
    QCOMPARE(std::string(e.session.Table.Cell(4 + 31, 1)), std::string("v31.1"));
    QCOMPARE(std::string(e.session.Table.Cell(kColModif, 1)), std::string());
    // Reopened on the page last shown, filled again from the table.
    e.Open();
    QCOMPARE(e.Tabs()->currentIndex(), 1);
    QVERIFY(e.form->Grid(2)->isVisible() && !e.form->Grid(1)->isVisible());
    QCOMPARE(e.Value(2, 3), QString("v31.1"));
    e.TypeText(2, 3, "xyz");
    // Ctrl+Enter is "Fermer"; the open editing ends first.
    QTest::keyClick(e.form->Grid(2)->OpenEditor(), Qt::Key_Return, Qt::ControlModifier);
    QVERIFY(!e.form->isVisible());
    QCOMPARE(std::string(e.session.Table.Cell(4 + 31, 1)), std::string("xyz"));
    QCOMPARE(std::string(e.session.Table.Cell(kColModif, 1)), std::string("x"));
    QCOMPARE(std::string(e.session.Table.Cell(kColExport, 1)), std::string("1"));
    QCOMPARE(e.session.Table.SelectedCount, 1);
    QVERIFY(e.ui.messages.empty());
}

// Each row runs on the scripted seam and on the real boxes. With the real
// boxes each box takes the focus from the cell editor while it is open: one
// message per key at most, and once it is answered the editing goes on in
// the same cell, with the text the rule left and the cursor at its end.
void RecordEditorTest::checks_data() {
    QTest::addColumn<bool>("realBoxes");
    QTest::addColumn<int>("page");
    QTest::addColumn<char>("type");
    QTest::addColumn<int>("width");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("value");
    QTest::addColumn<QStringList>("messages");
    QTest::addColumn<QStringList>("titles");
    QTest::addColumn<int>("beeps");
    const auto row = [](const char* name, int page, char type, int width, const char* typed,
                        const char* value, const QStringList& messages, const QStringList& titles,
                        int beeps) {
        for (bool real : {false, true})
            AddRow(qPrintable(QString(name) + (real ? " (real boxes)" : "")), real, page, type,
                   width, QString(typed), QString(value), messages, titles, beeps);
    };
    const QString err = Q(txt::InputErrorTitle);
    const QStringList byteRange{Q(txt::ByteRangeOnly)},
        lineLimited{Q(Format(txt::LineLimited, "4"))}, integer{Q(txt::IntegerRequested.fr)};
    row("page 1 byte 300", 1, 'C', 1, "300", "30", byteRange, {""}, 0);
    row("page 1 byte 200", 1, 'C', 1, "200", "200", {}, {}, 0);
    row("page 1 fifth character", 1, 'C', 4, "abcde", "abcd", lineLimited, {err}, 0);
    row("page 1 letter in a decimal", 1, 'D', 8, "1x", "1", {Q(txt::DecimalRequested)}, {err}, 1);
    row("page 1 letter in an integer", 1, 'I', 4, "7y", "7", integer, {err}, 0);
    // Pages 2 and 3 check the value before each key: the fifth character is
    // seen at the sixth key, which then goes in.
    row("page 2 sixth character", 2, 'C', 4, "abcdef", "abcdf", lineLimited, {err}, 0);
    row("page 1 integer emptied by Backspace", 1, 'I', 4, "7\b", "", integer, {err}, 0);
    row("page 2 letter in an integer, seen at the next key", 2, 'I', 4, "7yz", "7z", integer, {err},
        0);
    row("page 3 byte 3000", 3, 'C', 1, "3000", "300", byteRange, {""}, 0);
}

void RecordEditorTest::checks() {
    QFETCH(bool, realBoxes);
    QFETCH(int, page);
    QFETCH(char, type);
    QFETCH(int, width);
    QFETCH(QString, typed);
    QFETCH(QString, value);
    QFETCH(QStringList, messages);
    QFETCH(QStringList, titles);
    QFETCH(int, beeps);
    std::optional<RealMessageBoxes> boxes; // outlives the editor, which may speak as it goes
    if (realBoxes) boxes.emplace();
    Editor e(With((page - 1) * 29 + 1, {Field("Checked", type, width)}), "francais", realBoxes);
    // A value the rule accepts: the first key's check sees it.
    e.session.Table.SetCell(4 + (page - 1) * 29 + 1, 1, type == 'C' && width != 1 ? "" : "1");
    e.Open();
    if (!realBoxes) {
        e.TypeText(page, 2, typed);
        QCOMPARE(e.form->Grid(page)->OpenEditor()->text(), value);
        QStringList shown, shownTitles;
        for (const auto& m : e.ui.messages) {
            shown << Q(m.text);
            shownTitles << Q(m.title);
        }
        QCOMPARE(shown.join("|"), messages.join("|"));
        QCOMPARE(shownTitles, titles);
        QCOMPARE(e.ui.beeps, beeps);
        return;
    }
    EditorPageGrid* g = e.Goto(page, 2);
    UserTypes(typed);
    QCOMPARE(boxes->texts, messages);
    QCOMPARE(boxes->mostAtOnce, messages.isEmpty() ? 0 : 1);
    QVERIFY(g->OpenEditor());
    QCOMPARE(QApplication::focusWidget(), g->OpenEditor());
    QCOMPARE(g->currentRow(), 1);
    QCOMPARE(g->OpenEditor()->text(), value);
    QCOMPARE(g->OpenEditor()->cursorPosition(), value.size());
    QCOMPARE(CellToQString(e.form->Editor().Line(page, 2).value), value);
}

void RecordEditorTest::leaveCheckWithRealBoxes() {
    // F2, End and a letter in an integer on page 1, then Enter: the key's
    // message, then the end of the editing's own, one at a time; the cell
    // keeps what the rule left.
    RealMessageBoxes boxes;
    Editor e(With(1, {Field("Elevation (ft)", 'I', 6), Field("Name", 'C', 4)}), "english", true);
    e.session.Table.SetCell(5, 1, "312");
    e.Open();
    EditorPageGrid* g = e.Goto(1, 2);
    UserKey(Qt::Key_F2);
    UserKey(Qt::Key_End);
    UserTypes("x");
    QCOMPARE(boxes.texts, QStringList{Q(txt::IntegerRequested.fr)});
    QVERIFY(g->OpenEditor());
    QCOMPARE(g->OpenEditor()->text(), QString("312"));
    // A letter in the middle stays there until the editing ends.
    UserKey(Qt::Key_Left);
    g->OpenEditor()->insert("z"); // pasted: no key check
    UserKey(Qt::Key_Return);
    QCOMPARE(boxes.texts.size(), 2);
    QCOMPARE(boxes.texts[1], Q(txt::IntegerRequested.en));
    QCOMPARE(boxes.mostAtOnce, 1);
    QCOMPARE(e.Value(1, 2), QString("31z2"));
    QTRY_COMPARE(g->currentRow(), 1);
    QTRY_COMPARE(QApplication::focusWidget(), g);
    // Five characters in a text of four, then another page.
    UserKey(Qt::Key_Down);
    UserTypes("abcde");
    QCOMPARE(boxes.texts.size(), 3);
    QCOMPARE(boxes.texts[2], Q(Format(txt::LineLimited, "4")));
    e.Tabs()->setCurrentIndex(1);
    QCOMPARE(boxes.mostAtOnce, 1);
    QCOMPARE(e.Value(1, 3), QString("abcd"));
    // "Fermer" refuses the integer, once.
    const int before = int(boxes.texts.size());
    e.Button("btnOK")->click();
    QCOMPARE(boxes.texts.size(), before + 1);
    QVERIFY(e.form->isVisible());
    QCOMPARE(std::string(e.session.Table.Cell(5, 1)), std::string("312"));
}

// An integer emptied with Backspace on page 1: one box, whichever key
// closes it (the key's release reaches the cell and checks nothing). Escape
// then ends the cell editing, not the editor; closing with changed values asks.
void RecordEditorTest::oneBoxPerWrongValue_data() {
    QTest::addColumn<int>("key");
    AddRow("Enter", int(Qt::Key_Return));
    AddRow("Escape", int(Qt::Key_Escape));
}

void RecordEditorTest::oneBoxPerWrongValue() {
    QFETCH(int, key);
    RealMessageBoxes boxes;
    QList<bool> discard{false, true}; // the answers to the question, in turn
    const QString question = Q(txt::EditorDiscardChanges.en).replace("\r\n", "\n");
    boxes.answer = [&](QMessageBox* box) {
        if (box->text() == question)
            box->button(discard.takeFirst() ? QMessageBox::Ok : QMessageBox::Cancel)->click();
        else if (boxes.texts.size() > 3) // the way out of a trap
            box->buttons().first()->click();
        else
            PressInBox(box, Qt::Key(key));
        return true;
    };
    Editor e(With(1, {Field("Usage (1 public, 2 private)", 'I', 1)}), "english", true);
    e.session.Table.SetCell(5, 1, "1");
    e.Open();
    EditorPageGrid* g = e.Goto(1, 2);
    UserKey(Qt::Key_F2);
    UserKey(Qt::Key_End);
    UserKey(Qt::Key_Backspace);
    QCOMPARE(boxes.texts, QStringList{Q(txt::IntegerRequested.fr)});
    QVERIFY(g->OpenEditor());
    // The box went on the key's press; its release reaches the cell editor
    // under it, and checks nothing again.
    QTest::keyRelease(g->OpenEditor(), Qt::Key(key));
    QCOMPARE(boxes.texts, QStringList{Q(txt::IntegerRequested.fr)});
    QVERIFY(g->OpenEditor());
    QCOMPARE(g->OpenEditor()->text(), QString());
    // Escape ends the editing, the value comes back, the editor stays.
    UserKey(Qt::Key_Escape);
    QVERIFY(e.form->isVisible());
    QTRY_VERIFY(!g->OpenEditor());
    QCOMPARE(e.Value(1, 2), QString("1"));
    // A changed value: Escape asks; the first answer keeps the editor open.
    UserTypes("2");
    UserKey(Qt::Key_Return);
    QCOMPARE(e.Value(1, 2), QString("2"));
    UserKey(Qt::Key_Escape);
    QVERIFY(e.form->isVisible());
    UserKey(Qt::Key_Escape);
    QVERIFY(!e.form->isVisible());
    QCOMPARE(boxes.texts.size(), 3);
    QCOMPARE(boxes.texts.back(), question);
    QCOMPARE(std::string(e.session.Table.Cell(5, 1)), std::string("1"));
}

void RecordEditorTest::validateOnLeave() {
    // Emptying an integer with Backspace on page 1: the check after the key
    // speaks, the next key warns first and then goes in.
    Editor e(With(1, {Field("Elevation", 'I', 4), Field("Name", 'C', 4)}), "english");
    e.session.Table.SetCell(5, 1, "5");
    e.Open();
    EditorPageGrid* g = e.Goto(1, 2);
    QTest::keyClick(g, Qt::Key_F2); // edit without replacing
    QVERIFY(g->OpenEditor());
    e.Key(1, Qt::Key_Backspace);
    QCOMPARE(g->OpenEditor()->text(), QString());
    QCOMPARE(e.Texts(), std::vector<std::string>{txt::IntegerRequested.fr});
    QTest::keyPress(g->OpenEditor(), '8');
    QTest::keyRelease(g->OpenEditor(), '8');
    QCOMPARE(e.ui.messages.size(), std::size_t(2));
    QCOMPARE(e.ui.beeps, 1);
    QCOMPARE(g->OpenEditor()->text(), QString("8"));
    // The end of the editing: its own check, in the user's language for an integer.
    e.ui.messages.clear();
    g->OpenEditor()->setText("8z");
    e.Key(1, Qt::Key_Return);
    QCOMPARE(e.Value(1, 2), QString("8z"));
    QCOMPARE(e.ui.messages.size(), std::size_t(1));
    QCOMPARE(Q(e.ui.messages[0].text), Q(txt::IntegerRequested.en));
    QCOMPARE(e.ui.messages[0].kind, MessageKind::Error);
    QTest::qWait(20);
    QCOMPARE(g->currentRow(), 1); // back to the row
    // On page 2 a text too long is cut when its editing ends.
    e.ui.messages.clear();
    e.TypeText(1, 3, "abcdefg");
    e.Key(1, Qt::Key_Return);
    QCOMPARE(e.Value(1, 3), QString("abcd"));
    // "Fermer" refuses the changed integer that is not a number.
    e.ui.messages.clear();
    e.Button("btnOK")->click();
    QVERIFY(e.form->isVisible());
    QCOMPARE(e.ui.messages.size(), std::size_t(1));
    QCOMPARE(std::string(e.session.Table.Cell(5, 1)), std::string("5"));
}

void RecordEditorTest::presses_data() {
    QTest::addColumn<char>("type");
    QTest::addColumn<int>("width");
    QTest::addColumn<QString>("title");
    QTest::addColumn<int>("button");
    QTest::addColumn<QString>("opens");
    AddRow("right on I", 'I', 4, "Elevation", int(Qt::RightButton), "TForm_Hexa");
    AddRow("left on I", 'I', 4, "Elevation", int(Qt::LeftButton), "");
    AddRow("right on byte", 'C', 1, "Type", int(Qt::RightButton), "TForm_Hexa");
    AddRow("right on C2", 'C', 2, "Code", int(Qt::RightButton), "");
    AddRow("right on D", 'D', 8, "Range", int(Qt::RightButton), "");
    AddRow("left on latitude", 'D', 8, "LATITUDE of it", int(Qt::LeftButton), "TForm_latlon");
    AddRow("right on longitude (title)", 'D', 8, "Its Longitude", int(Qt::RightButton),
           "TForm_latlon");
    // F4 (button 0 here) opens what a right click opens.
    AddRow("F4 on latitude", 'D', 8, "Latitude", 0, "TForm_latlon");
    AddRow("F4 on I", 'I', 4, "Elevation", 0, "TForm_Hexa");
    AddRow("F4 on D", 'D', 8, "Range", 0, "");
}

void RecordEditorTest::presses() {
    QFETCH(char, type);
    QFETCH(int, width);
    QFETCH(QString, title);
    QFETCH(int, button);
    QFETCH(QString, opens);
    // A latitude needs the next field, a longitude the previous one.
    Editor e({Field("Lat before", 'D', 8), Field(title.toLatin1().constData(), type, width),
              Field("Lon after", 'D', 8)});
    for (int c = 4; c <= 6; ++c)
        e.session.Table.SetCell(c, 1, "65");
    e.Open();
    QString opened;
    if (!opens.isEmpty())
        OnNextDialog([&](QDialog* d) {
            opened = d->objectName();
            d->reject();
        });
    if (button) {
        e.Press(1, 2, Qt::MouseButton(button));
    } else {
        // While the value is being typed: the typed value stays.
        e.TypeText(1, 2, "65");
        QTest::keyClick(e.form->Grid(1)->OpenEditor(), Qt::Key_F4);
        QVERIFY(!e.form->Grid(1)->OpenEditor());
    }
    QCOMPARE(opened, opens);
    QVERIFY(e.ui.messages.empty());
    if (opens == "TForm_Hexa")
        QCOMPARE(!Child<QGroupBox>(e.form->ByteDialog(), "RadioGroup")->isHidden(), type == 'C');
    // Cancel wrote nothing.
    QCOMPARE(e.Value(1, 2), QString("65"));
}

void RecordEditorTest::coordinatePairAcrossPages() {
    Editor e(With(28, {Field("Latitude (seconds)", 'D', 8), Field("Longitude (seconds)", 'D', 8)}));
    e.session.Table.SetCell(4 + 28, 1, "178200");  // 49.5 N
    e.session.Table.SetCell(4 + 29, 1, "-264600"); // 73.5 W, stored below 0
    e.Open();
    OnNextDialog([](QDialog* d) {
        QCOMPARE(Child<QComboBox>(d, "cbLon")->currentText(), QString("W"));
        QCOMPARE(Child<QLineEdit>(d, "edDegLon")->text(), QString("73"));
        Child<QComboBox>(d, "cbLat")->setEditText("S");
        Child<QPushButton>(d, "btnOK")->click();
    });
    e.Press(1, 29, Qt::LeftButton);
    QCOMPARE(e.Value(1, 29), QString("-178200"));
    QCOMPARE(e.Value(2, 1), QString("-264600"));
    // And from the longitude's side, on page 2.
    OnNextDialog([](QDialog* d) {
        QCOMPARE(Child<QComboBox>(d, "cbLat")->currentText(), QString("S"));
        Child<QPushButton>(d, "btnOK")->click();
    });
    e.Press(2, 1, Qt::RightButton);
    QCOMPARE(e.Value(1, 29), QString("-178200"));
    e.Button("btnOK")->click();
    QCOMPARE(std::string(e.session.Table.Cell(4 + 28, 1)), std::string("-178200"));
}

// The value column widens to the longest value; one longer than the screen
// allows shows whole in its tooltip, and so does one typed later.
void RecordEditorTest::longValuesShowWhole() {
    Editor e({Field("Name", 'C', 60), Field("Remarks", 'C', 250), Field("Code", 'C', 4)});
    const QString name = "Aerodrome de Saint-Pierre-des-Corps, Tours Val de Loire";
    const QString remarks = QString("Runway 02/20 closed on Sundays; ").repeated(7);
    e.session.Table.SetCell(4, 1, S(name));
    e.session.Table.SetCell(5, 1, S(remarks));
    e.Open();
    EditorPageGrid* g = e.form->Grid(1);
    const QFontMetrics fm(g->font());
    QVERIFY(g->columnWidth(3) > fm.horizontalAdvance(name));
    QVERIFY(g->columnWidth(3) > kEditorColumnWidths[3]);
    QCOMPARE(g->columnWidth(3), e.form->Grid(2)->columnWidth(3));
    QVERIFY(g->width() >=
            g->columnWidth(0) + g->columnWidth(1) + g->columnWidth(2) + g->columnWidth(3));
    QVERIFY(e.form->width() <= e.form->screen()->availableGeometry().width());
    QCOMPARE(g->item(0, 3)->toolTip(), QString());
    QCOMPARE(g->item(1, 3)->toolTip(), remarks);
    QCOMPARE(g->item(2, 3)->toolTip(), QString());
    e.TypeText(1, 3, "ABCD");
    e.Key(1, Qt::Key_Return);
    QCOMPARE(g->item(2, 3)->toolTip(), QString());
    g->item(0, 3)->setText(remarks);
    QCOMPARE(g->item(0, 3)->toolTip(), remarks);
}

void RecordEditorTest::doubleClickEditsTheCurrentRow() {
    EditorHarness h;
    MainWindow& window = *h.window;
    h.OpenArchive(h.world.Pod());
    QVERIFY(!window.HasUnsavedChanges());
    RecordGridView* v = Grid(window);
    const QPoint at = v->visualRect(window.Model()->index(2, 5)).center();
    bool opened = false;
    OnNextDialog([&](QDialog* d) {
        opened = true;
        auto* editor = static_cast<RecordEditorDialog*>(d);
        QCOMPARE(editor->windowTitle(), Q(txt::EditorCaption.en));
        QCOMPARE(editor->Grid(1)->item(1, 3)->text(), QString("Brest Guipavas"));
        editor->Grid(1)->item(1, 3)->setText("Brest Bretagne");
        editor->Editor().SetValue(1, 2, "Brest Bretagne");
        Child<QPushButton>(editor, "btnOK")->click();
    });
    // A double click: press and release, then the second press.
    QTest::mouseClick(v->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(v->viewport(), Qt::LeftButton, {}, at);
    QVERIFY(opened);
    QCOMPARE(window.Model()->index(2, 5).data().toString(), QString("Brest Bretagne"));
    QCOMPARE(window.Model()->index(2, 1).data().toString(), QString("x"));
    QCOMPARE(window.Model()->index(2, 3).data().toString(), QString("1"));
    QCOMPARE(Label(window, "lblSelect")->text(), QString("2 selected lines"));
    QVERIFY(window.HasUnsavedChanges());
    // Cancel changes nothing.
    OnNextDialog([](QDialog* d) { Child<QPushButton>(d, "btnCancel")->click(); });
    const QPoint first = v->visualRect(window.Model()->index(0, 5)).center();
    QTest::mouseClick(v->viewport(), Qt::LeftButton, {}, first);
    QTest::mouseDClick(v->viewport(), Qt::LeftButton, {}, first);
    QCOMPARE(window.Model()->index(0, 1).data().toString(), QString());
    // Ctrl+Enter opens it on the current row too, even from the search
    // box, and F4 on a
    // coordinate row opens the coordinate dialog.
    window.activateWindow();
    QTRY_COMPARE(QApplication::activeWindow(), &window);
    v->setFocus();
    v->setCurrentIndex(window.Model()->index(2, 5));
    bool coordinates = false;
    OnNextDialog([&](QDialog* d) {
        auto* editor = static_cast<RecordEditorDialog*>(d);
        QCOMPARE(editor->Grid(1)->item(1, 3)->text(), QString("Brest Bretagne"));
        OnNextDialog([&](QDialog* latlon) {
            coordinates = latlon->objectName() == "TForm_latlon";
            latlon->reject();
        });
        editor->Grid(1)->setCurrentCell(2, 3); // the latitude
        QTest::keyClick(editor->Grid(1), Qt::Key_F4);
        Child<QPushButton>(editor, "btnCancel")->click();
    });
    v->setCurrentIndex(window.Model()->index(2, 5));
    Find<QComboBox>(window, "cbSrch")->setFocus();
    QTest::keyClick(Find<QComboBox>(window, "cbSrch")->lineEdit(), Qt::Key_Return,
                    Qt::ControlModifier);
    QVERIFY(coordinates);
    QVERIFY(h.ui.messages.empty());
}

void RecordEditorTest::byteEntryRoundTrips() {
    ScriptedInteraction ui;
    ByteEntryDialog d(Lang::English, ui);
    for (int mode : {0, 1, 2}) {
        for (int n = 0; n <= 255; ++n) {
            d.Entry().Preset(BytePreset("Type", n, std::to_string(n)));
            d.show();
            Mode(&d, mode)->click();
            Child<QPushButton>(&d, "btnOK")->click();
            if (mode == 2 && n == 0) {
                // No character for 0: the dialog stays open and says so.
                QVERIFY(d.isVisible());
                QCOMPARE(Q(ui.messages.back().text), Q(txt::NoCharacterChosen.en));
                d.reject();
                continue;
            }
            QVERIFY2(!d.isVisible(), qPrintable(QString("mode %1 value %2").arg(mode).arg(n)));
            QCOMPARE(d.Entry().ResultText, std::to_string(n));
        }
    }
    QCOMPARE(ui.messages.size(), std::size_t(1));
    QCOMPARE(Child<QComboBox>(&d, "cbAlpha")->count(), 26);
}

void RecordEditorTest::byteEntryEdges() {
    ScriptedInteraction ui;
    ByteEntryDialog d(Lang::French, ui);
    auto* hex = Child<QLineEdit>(&d, "edhexa");
    auto* decimal = Child<QLineEdit>(&d, "edDecimal");
    auto* character = Child<QComboBox>(&d, "cbAlpha");
    auto* ok = Child<QPushButton>(&d, "btnOK");
    d.Entry().Preset(IntegerPreset("Elevation", 4294967295LL));
    d.show();
    QCOMPARE(hex->text(), QString("FFFFFFFF"));
    QVERIFY(!Child<QGroupBox>(&d, "RadioGroup")->isVisible());
    QVERIFY(hex->isEnabled());
    // A refused key: the message, and the field as it was.
    hex->setFocus();
    QTest::keyClick(hex, Qt::Key_Backspace);
    QTest::keyClick(hex, 'g');
    QCOMPARE(hex->text(), QString("FFFFFFF"));
    QCOMPARE(ui.messages.size(), std::size_t(1));
    QCOMPARE(Q(ui.messages[0].text), Q(txt::BadHexCharacter));
    QTest::keyClick(hex, 'f');
    ok->click();
    QCOMPARE(d.Entry().ResultText, std::string("4294967295"));

    // A one-byte field: every view, decimal mode; typing a letter, the yes/no box.
    d.Entry().Preset(BytePreset("Type", 65, "65"));
    d.show();
    QCOMPARE(decimal->text(), QString("65"));
    QCOMPARE(hex->text(), QString("00000041"));
    QCOMPARE(character->currentText(), QString("A"));
    QVERIFY(Child<QCheckBox>(&d, "cbYN")->isChecked());
    QVERIFY(decimal->isEnabled() && !hex->isEnabled() && !character->isEnabled());
    QVERIFY(QTest::qWaitForWindowActive(&d));
    Mode(&d, 2)->click();
    // Clicked and typed into as a user does: the key reaches the focused box.
    QTest::mouseClick(character->lineEdit(), Qt::LeftButton);
    UserKey('B');
    QCOMPARE(character->currentText(), QString("B"));
    QCOMPARE(decimal->text(), QString("66"));
    QCOMPARE(hex->text(), QString("00000042"));
    ok->click();
    QCOMPARE(d.Entry().ResultText, std::string("66"));
    // Decimal typed above 255: the counter's bound; the arrows step it.
    d.show();
    Mode(&d, 1)->click();
    decimal->selectAll();
    QTest::keyClicks(decimal, "300");
    QCOMPARE(decimal->text(), QString("255"));
    Child<UpDown>(&d, "UpDown")->Down()->click();
    QCOMPARE(decimal->text(), QString("254"));
    QCOMPARE(hex->text(), QString("000000FE"));
    // Cancel keeps the last result.
    Child<QPushButton>(&d, "btnCancel")->click();
    QCOMPARE(d.Entry().ResultText, std::string("66"));
    d.show();
    Mode(&d, 3)->click();
    Child<QCheckBox>(&d, "cbYN")->click(); // cleared
    ok->click();
    QCOMPARE(d.Entry().ResultText, std::string("0"));
}

void RecordEditorTest::coordinateRoundTrips_data() {
    QTest::addColumn<double>("lat");
    QTest::addColumn<double>("lon");
    QTest::addColumn<QString>("fill");
    AddRow("south, west above 180", -49.5 * 3600, 286.5 * 3600, "S49 30 0.0000 W73");
    AddRow("north, west below 0", 49.5 * 3600, -73.5 * 3600, "N49 30 0.0000 W73");
    AddRow("north, east", 176435.0, 9081.5, "N49 0 35.0000 E2");
    AddRow("zero", 0.0, 0.0, "N0 0 0.0000 E0");
    AddRow("seconds with decimals", -(10 * 3600 + 12.3456), 180.0 * 3600, "S10 0 12.3456 E180");
}

void RecordEditorTest::coordinateRoundTrips() {
    QFETCH(double, lat);
    QFETCH(double, lon);
    QFETCH(QString, fill);
    ScriptedInteraction ui;
    CoordinateDialog d(Lang::English, '.', ui);
    d.Entry().Latitude = lat;
    d.Entry().Longitude = lon;
    d.show();
    QCOMPARE(
        Child<QComboBox>(&d, "cbLat")->currentText() + Child<QLineEdit>(&d, "edDegLat")->text() +
            " " + Child<QLineEdit>(&d, "edMinLat")->text() + " " +
            Child<QLineEdit>(&d, "edSecLat")->text() + " " +
            Child<QComboBox>(&d, "cbLon")->currentText() + Child<QLineEdit>(&d, "edDegLon")->text(),
        fill);
    Child<QPushButton>(&d, "btnOK")->click();
    QCOMPARE(d.result(), int(QDialog::Accepted));
    QVERIFY(std::abs(d.Entry().Latitude - lat) < 1e-6);
    QVERIFY(std::abs(d.Entry().Longitude - lon) < 1e-6);
    QVERIFY(ui.messages.empty());
}

void RecordEditorTest::coordinateRangeWhileTyping() {
    ScriptedInteraction ui;
    CoordinateDialog d(Lang::French, '.', ui);
    auto* degLat = Child<QLineEdit>(&d, "edDegLat");
    auto* minLon = Child<QLineEdit>(&d, "edMinLon");
    d.Entry().Latitude = 3600;
    d.Entry().Longitude = 7200;
    d.show();
    degLat->selectAll();
    QTest::keyClicks(degLat, "91");
    QCOMPARE(degLat->text(), QString("9"));
    QCOMPARE(ui.messages.size(), std::size_t(1));
    QCOMPARE(Q(ui.messages[0].text), Q(txt::LatitudeDegreesRange));
    QCOMPARE(Q(ui.messages[0].title), Q(txt::InputErrorTitle));
    minLon->selectAll();
    QTest::keyClicks(minLon, "60");
    QCOMPARE(minLon->text(), QString("60"));
    // A lower-case hemisphere is refused at "Fermer"; the longitude is computed.
    Child<QComboBox>(&d, "cbLat")->setEditText("n");
    Child<QPushButton>(&d, "btnOK")->click();
    QCOMPARE(Q(ui.messages.back().text), Q(txt::NorthSouthOnly));
    QCOMPARE(d.Entry().Latitude, 3600.0);
    QCOMPARE(d.Entry().Longitude, 2 * 3600.0 + 60 * 60);
    // Cancel and the close box leave the pair as given.
    d.Entry().Latitude = 100;
    d.show();
    Child<QLineEdit>(&d, "edSecLat")->setText("5");
    d.close();
    QCOMPARE(d.result(), int(QDialog::Rejected));
    QCOMPARE(d.Entry().Latitude, 100.0);
}

// The entry dialogs' messages with the real boxes: the refused key stays out,
// the focus comes back to the field, and typing goes on there.
void RecordEditorTest::entryDialogsWithRealBoxes() {
    RealMessageBoxes boxes;
    QtUserInteraction ui;
    ByteEntryDialog hexa(Lang::English, ui);
    auto* hex = Child<QLineEdit>(&hexa, "edhexa");
    hexa.Entry().Preset(IntegerPreset("Elevation", 255));
    hexa.show();
    QVERIFY(QTest::qWaitForWindowActive(&hexa));
    hex->setFocus();
    hex->end(false);
    UserTypes("\bg1");
    QCOMPARE(boxes.texts, QStringList{Q(txt::BadHexCharacter)});
    QCOMPARE(QApplication::focusWidget(), hex);
    QCOMPARE(hex->text(), QString("000000F1"));
    hexa.reject();

    CoordinateDialog latlon(Lang::French, '.', ui);
    auto* degLat = Child<QLineEdit>(&latlon, "edDegLat");
    latlon.Entry().Latitude = 3600;
    latlon.show();
    QVERIFY(QTest::qWaitForWindowActive(&latlon));
    QCOMPARE(QApplication::focusWidget(), degLat);
    degLat->selectAll();
    UserTypes("910");
    QCOMPARE(boxes.texts.size(), 2);
    QCOMPARE(boxes.texts[1], Q(txt::LatitudeDegreesRange));
    QCOMPARE(QApplication::focusWidget(), degLat);
    QCOMPARE(degLat->text(), QString("90"));
    QCOMPARE(boxes.mostAtOnce, 1);
    latlon.reject();
}

QTEST_MAIN(RecordEditorTest)
#include "test_record_editor.moc"
