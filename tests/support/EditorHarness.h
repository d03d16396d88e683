// The main window on a UiWorld, driven through the scripted seam, for the
// window tests (Qt Test, offscreen).
#pragma once

#include "support/ScriptedInteraction.h"
#include "support/UiFixtures.h"
#include "ui/MainWindow.h"
#include "ui/grid/RecordGridModel.h"

#include <QAbstractButton>
#include <QApplication>
#include <QProgressDialog>
#include <QTimer>

#include <memory>

namespace orvane::testing {

struct EditorHarness {
    explicit EditorHarness(int version = 2, const std::string& language = "english") {
        world.WriteStandardIni(version, language);
        session.Display.decimalSeparator = '.';
        window = std::make_unique<TForm_main>(session, ui, &ui, world.Ini());
        window->show();
        QCoreApplication::processEvents();
    }
    // A menu item chosen with the dialogs' answers queued before.
    void Open(QAction* item, const std::optional<std::string>& path) {
        ui.openAnswers.push_back(path);
        item->trigger();
    }
    void Save(QAction* item, const std::optional<std::string>& path) {
        ui.saveAnswers.push_back(path);
        item->trigger();
    }
    RecordGridModel& model() { return *window->Model(); }
    QString Cell(int col, int tableRow) {
        return model().index(tableRow - 1, col).data().toString();
    }

    UiWorld world;
    SessionState session;
    ScriptedInteraction ui;
    std::unique_ptr<TForm_main> window;
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
