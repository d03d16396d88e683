#include "ui/grid/FindingsDock.h"

#include "ui/qt/Captions.h"

#include <QDockWidget>
#include <QEvent>
#include <QKeyEvent>
#include <QMainWindow>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace orvane {

namespace {

// Tells when the user closes the dock, and closes it on Escape.
class CloseWatch : public QObject {
  public:
    CloseWatch(QDockWidget* dock, std::function<void()> closed)
        : QObject(dock), dock_(dock), closed_(std::move(closed)) {}

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == dock_ && event->type() == QEvent::Close) {
            closed_();
        } else if (event->type() == QEvent::ShortcutOverride || event->type() == QEvent::KeyPress) {
            auto* key = static_cast<QKeyEvent*>(event);
            if (key->key() == Qt::Key_Escape && key->modifiers() == Qt::NoModifier) {
                if (event->type() == QEvent::KeyPress) dock_->close();
                event->accept();
                return true;
            }
        }
        return QObject::eventFilter(watched, event);
    }

  private:
    QDockWidget* dock_;
    std::function<void()> closed_;
};

} // namespace

FindingsDock::FindingsDock(QMainWindow* window, Captions& captions, const char* objectName,
                           BiText title, QWidget* above)
    : dock_(new QDockWidget(window)), panel_(new DifferencePanel(nullptr, captions)) {
    dock_->setObjectName(objectName);
    captions.Title(dock_, title);
    if (above) {
        auto* page = new QWidget(dock_);
        auto* layout = new QVBoxLayout(page);
        layout->setContentsMargins(0, 4, 0, 0);
        layout->addWidget(above);
        panel_->setParent(page);
        layout->addWidget(panel_, 1);
        dock_->setWidget(page);
    } else {
        panel_->setParent(dock_);
        dock_->setWidget(panel_);
    }
    dock_->setMinimumWidth(420);
    dock_->setFeatures(QDockWidget::DockWidgetClosable | QDockWidget::DockWidgetMovable);
    window->addDockWidget(Qt::RightDockWidgetArea, dock_);
    dock_->hide();
    auto* watch = new CloseWatch(dock_, [this] {
        if (!ending_) End();
    });
    dock_->installEventFilter(watch);
    panel_->List()->installEventFilter(watch);
}

void FindingsDock::Begin() {
    kept_.clear();
    active_ = true;
    Relist(-1);
    dock_->show();
}

void FindingsDock::Refresh() {
    if (!active_) return;
    panel_->RelistLater(pending_, [this](int current) { Relist(current); });
}

void FindingsDock::BringUpToDate() {
    if (pending_) Relist(panel_->CurrentEntry());
}

void FindingsDock::Relist(int current) {
    pending_ = false;
    if (!active_) return;
    if (Recompute) Recompute();
    if (active_ && Show) Show(current); // Recompute may have ended it
}

void FindingsDock::End() {
    const bool was = active_;
    active_ = false;
    pending_ = false;
    kept_.clear();
    panel_->SetEntries({}, 0);
    panel_->SetSummary({});
    ending_ = true;
    dock_->hide();
    ending_ = false;
    if (was && Ended) Ended();
}

} // namespace orvane
