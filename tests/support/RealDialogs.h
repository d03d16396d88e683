// The real message boxes in window tests: the window under test uses the Qt
// side of the user-interaction seam, and a timer answers each box as a user
// would, with a key pressed in the box. The box takes the focus while it is
// open, so whatever the focus loss does to an open cell editor happens here
// as it does on a desktop. Keys are typed into the focused widget, never
// into a widget named by the test. Header only: the core tests do not link Qt.
#pragma once

#include <QApplication>
#include <QMessageBox>
#include <QPointer>
#include <QStringList>
#include <QTest>
#include <QTimer>
#include <QWidget>

#include <functional>

namespace orvane::testing {

class RealMessageBoxes : public QObject {
  public:
    // `key` is pressed in every box (Enter: its default button).
    explicit RealMessageBoxes(Qt::Key key = Qt::Key_Return) : key_(key) {
        connect(&timer_, &QTimer::timeout, this, [this] { Poll(); });
        timer_.start(5);
    }

    // Each box's text, in the order they opened.
    QStringList texts;
    QStringList titles;
    // The most boxes open on top of each other.
    int mostAtOnce = 0;
    // Decides the answer instead of the key; return true when it answered.
    std::function<bool(QMessageBox*)> answer;

  private:
    void Poll() {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box || !box->isVisible() || box == answered_) return;
        answered_ = box;
        texts << box->text();
        titles << box->windowTitle();
        int open = 0;
        for (QWidget* w : QApplication::topLevelWidgets())
            if (qobject_cast<QMessageBox*>(w) && w->isVisible()) ++open;
        mostAtOnce = std::max(mostAtOnce, open);
        if (answer && answer(box)) return;
        QWidget* target = QApplication::focusWidget();
        if (!target || target->window() != box) target = box;
        QTest::keyClick(target, key_);
    }

    Qt::Key key_;
    QPointer<QMessageBox> answered_;
    QTimer timer_;
};

// A key pressed and released on the keyboard: each event goes to the widget
// that has the focus at that moment (as the window system sends it), and
// what the press started runs before the release.
inline QWidget* KeyboardTarget() {
    if (QWidget* w = QApplication::focusWidget()) return w;
    return QApplication::activeWindow();
}
template <typename Key> void UserKey(Key key, Qt::KeyboardModifiers modifiers = {}) {
    if (QWidget* w = KeyboardTarget()) QTest::keyPress(w, key, modifiers);
    QCoreApplication::processEvents();
    if (QWidget* w = KeyboardTarget()) QTest::keyRelease(w, key, modifiers);
    QCoreApplication::processEvents();
}

// A key pressed in a box, once the box has the focus; a box closes on the
// press of Enter or Escape, and the release then goes elsewhere.
inline void PressInBox(QMessageBox* box, Qt::Key key) {
    for (int i = 0; i < 200 && !(KeyboardTarget() && KeyboardTarget()->window() == box); ++i)
        QTest::qWait(10);
    QTest::keyPress(KeyboardTarget(), key);
}

// Characters typed one after another ('\b' is Backspace).
inline void UserTypes(const QString& text) {
    for (QChar c : text) {
        if (c == QLatin1Char('\b'))
            UserKey(Qt::Key_Backspace);
        else
            UserKey(c.toLatin1());
    }
}

} // namespace orvane::testing
