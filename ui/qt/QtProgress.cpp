#include "ui/qt/QtProgress.h"

#include "ui/qt/QtText.h"

#include <QApplication>
#include <QProgressDialog>

namespace orvane {

namespace {
// Events are handled this often while the work runs (milliseconds): ten
// times a second keeps the windows and the bar alive, and each repaint of
// the dialog costs the work about half a millisecond.
constexpr int kPumpEveryMs = 100;
constexpr int kSteps = 1000;
} // namespace

QtProgress::QtProgress(const ProgressSettings& settings, const QString& label,
                       const QString& cancelText)
    : settings_(settings), label_(label), cancelText_(cancelText) {
    started_.start();
    pumped_.start();
}

QtProgress::QtProgress(const ProgressSettings* settings, BiText label, const std::string& what,
                       Lang lang)
    : QtProgress(settings ? *settings : ProgressSettings{}, Q(Format(label.In(lang), what.c_str())),
                 Q(txt::ProgressCancel.In(lang))) {}

QtProgress::~QtProgress() {
    if (!dialog_) return;
    delete dialog_.data();
    QApplication::restoreOverrideCursor(); // the arrow given for the Cancel button
}

ProgressFn QtProgress::Callback() {
    return [this](std::int64_t done, std::int64_t total) { return Report(done, total); };
}

void QtProgress::Show() {
    auto* d = new QProgressDialog(label_, cancelText_, 0, kSteps, settings_.parent);
    d->setWindowTitle(QApplication::applicationName());
    d->setWindowModality(Qt::WindowModal);
    d->setMinimumDuration(0);
    d->setAutoClose(false);
    d->setAutoReset(false);
    d->setMinimumWidth(360);
    dialog_ = d;
    // The work holds the hourglass; the Cancel button wants the arrow.
    QApplication::setOverrideCursor(Qt::ArrowCursor);
    d->show();
}

bool QtProgress::Report(std::int64_t done, std::int64_t total) {
    if (cancelled_) return false;
    const bool due = pumped_.elapsed() >= kPumpEveryMs;
    if (!dialog_) {
        if (started_.elapsed() < settings_.showAfterMs) {
            // Not long yet: repaint, but no click may start another command.
            if (due) {
                QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
                pumped_.restart();
            }
            return true;
        }
        Show();
    } else if (!due && done < total) {
        return true;
    }
    dialog_->setValue(total > 0 ? static_cast<int>(done * kSteps / total) : 0);
    // The dialog is window-modal: the Cancel button is the only control the
    // user can reach.
    QCoreApplication::processEvents();
    pumped_.restart();
    if (!dialog_ || dialog_->wasCanceled()) cancelled_ = true;
    return !cancelled_;
}

} // namespace orvane
