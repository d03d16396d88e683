// The main window on a UiWorld, for every window test (Qt Test, offscreen):
// driven through the scripted seam (EditorHarness) or through the real
// dialogs (RealEditorHarness). The window's controls are private: tests
// find them by their component names, as automation does.
#pragma once

#include "support/ScriptedInteraction.h"
#include "support/UiFixtures.h"
#include "support/Widgets.h"
#include "ui/MainWindow.h"
#include "ui/commands/CommandFamilies.h"
#include "ui/commands/CompareCommands.h"
#include "ui/commands/FileCommands.h"
#include "ui/commands/GridCommands.h"
#include "ui/commands/PrintCommands.h"
#include "ui/dialogs/DirectoriesDialog.h"
#include "ui/grid/RecordGridModel.h"
#include "ui/grid/RecordGridView.h"
#include "ui/qt/Captions.h"
#include "ui/qt/QtUserInteraction.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QProgressDialog>
#include <QPushButton>
#include <QStringList>
#include <QTest>
#include <QTimer>

#include <memory>
#include <optional>
#include <type_traits>

namespace orvane::testing {

// A control of the window by its name; a missing one fails the test run.
template <typename T> T* Find(const QObject& window, const char* name) {
    return Child<T>(&window, name);
}
inline QAction* Item(const QObject& w, const char* name) {
    return Find<QAction>(w, name);
}
inline QPushButton* Button(const QObject& w, const char* name) {
    return Find<QPushButton>(w, name);
}
inline QLabel* Label(const QObject& w, const char* name) {
    return Find<QLabel>(w, name);
}
inline RecordGridView* Grid(const QObject& w) {
    return Find<RecordGridView>(w, "DataGrid");
}
// A caption as the user reads it (without its mnemonic mark).
inline QString Read(const QAction* a) {
    return Captions::Plain(a->text());
}
inline QString Read(const QMenu* m) {
    return Captions::Plain(m->title());
}

struct HarnessOptions {
    int version = 2;
    std::string language = "english";
    bool writeIni = true;    // false: a first start without settings
    bool first = true;       // the settings' first-run mark
    bool initDialog = false; // the directories dialog made and handed to the window
};

template <typename Interaction> struct BasicEditorHarness {
    explicit BasicEditorHarness(int version = 2, const std::string& language = "english")
        : BasicEditorHarness(HarnessOptions{version, language}) {}
    explicit BasicEditorHarness(const HarnessOptions& o) {
        if (o.writeIni) world.WriteStandardIni(o.version, o.language, o.first);
        session.Display.decimalSeparator = '.';
        BusyIndicator* busy = nullptr;
        if constexpr (std::is_base_of_v<BusyIndicator, Interaction>) busy = &ui;
        window = std::make_unique<MainWindow>(session, ui, busy, world.Ini());
        if (o.initDialog) {
            init = new DirectoriesDialog(session, ui, world.Ini(), window.get());
            window->SetInitDialog(init);
        }
        window->show();
        QCoreApplication::processEvents();
    }
    // A menu item chosen with the dialogs' answers queued before.
    void Open(QAction* item, const std::optional<std::string>& path) {
        ui.openAnswers.push_back(path);
        item->trigger();
    }
    void Open(const char* item, const std::optional<std::string>& path) { Open(Item(item), path); }
    void Save(QAction* item, const std::optional<std::string>& path) {
        ui.saveAnswers.push_back(path);
        item->trigger();
    }
    void OpenArchive(const std::string& path) { Open(Item("POD_ouvrir"), path); }

    template <typename T> T* Find(const char* name) const {
        return testing::Find<T>(*window, name);
    }
    QAction* Item(const char* name) const { return testing::Item(*window, name); }
    QPushButton* Button(const char* name) const { return testing::Button(*window, name); }
    QLabel* Label(const char* name) const { return testing::Label(*window, name); }
    RecordGridView* Grid() const { return testing::Grid(*window); }
    CommandFamilies& Commands() const { return window->Commands(); }

    RecordGridModel& model() { return *window->Model(); }
    QString Cell(int col, int tableRow) {
        return model().index(tableRow - 1, col).data().toString();
    }
    QString Column(int col) {
        QStringList out;
        for (int r = 0; r < model().rowCount(); ++r)
            out << model().index(r, col).data().toString();
        return out.join(',');
    }
    QPoint CellCenter(int col, int tableRow) {
        return Grid()->visualRect(model().index(tableRow - 1, col)).center();
    }
    void PressCell(int col, int tableRow) {
        QTest::mouseClick(Grid()->viewport(), Qt::LeftButton, {}, CellCenter(col, tableRow));
    }
    void Key(int key, Qt::KeyboardModifiers modifiers = {}) {
        QWidget* target = QApplication::focusWidget() ? QApplication::focusWidget() : Grid();
        QTest::keyClick(target, Qt::Key(key), modifiers);
        QCoreApplication::processEvents();
    }
    void ClickHeading(int col) {
        Grid()->scrollTo(model().index(0, col));
        QHeaderView* h = Grid()->horizontalHeader();
        const QPoint at(h->sectionViewportPosition(col) + h->sectionSize(col) / 2, h->height() / 2);
        QTest::mouseClick(h->viewport(), Qt::LeftButton, {}, at);
    }

    UiWorld world;
    SessionState session;
    Interaction ui;
    std::unique_ptr<MainWindow> window;
    DirectoriesDialog* init = nullptr; // owned by the window
};

using EditorHarness = BasicEditorHarness<ScriptedInteraction>;
// The window on the Qt side of the seam: real message boxes and dialogs.
using RealEditorHarness = BasicEditorHarness<QtUserInteraction>;

// A harness whose window has opened the world's Fly! II archive, as a user
// does first: WithPod<EditorHarness> h(2, "french");
template <typename Harness> struct WithPod : Harness {
    template <typename... Args> explicit WithPod(Args&&... args) : Harness(args...) {
        this->OpenArchive(this->world.Pod());
    }
};

// Presses Cancel on the first progress dialog that shows under `owner`
// while the timer runs; `pressed` tells whether it did.
class CancelProgress : public QObject {
  public:
    explicit CancelProgress(QWidget* owner) : owner_(owner) {
        connect(&timer_, &QTimer::timeout, this, [this] {
            for (auto* d : owner_->findChildren<QProgressDialog*>())
                if (d->isVisible() && !pressed) {
                    for (auto* b : d->findChildren<QAbstractButton*>())
                        b->click();
                    pressed = true;
                }
        });
        timer_.start(0);
    }
    bool pressed = false;

  private:
    QWidget* owner_;
    QTimer timer_;
};

} // namespace orvane::testing
