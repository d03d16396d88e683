// The Qt side of the core's progress callback: a QProgressDialog with a
// Cancel button that shows only when the work runs longer than about half a
// second. Until then, and while it shows, the windows keep repainting.
#pragma once

#include "platform/Progress.h"
#include "settings/Texts.h"

#include <QElapsedTimer>
#include <QPointer>
#include <QProgressDialog>
#include <QString>

class QWidget;

namespace orvane {

// Where a window's progress dialogs go and how soon they show.
struct ProgressSettings {
    QWidget* parent = nullptr;
    int showAfterMs = 500;
};

// One long task: Callback() goes to the core; the dialog closes when this
// object goes away.
class QtProgress {
  public:
    QtProgress(const ProgressSettings& settings, const QString& label, const QString& cancelText);
    // label: a catalogue text whose %s is `what` (a file or folder name);
    // settings may be null (the defaults).
    QtProgress(const ProgressSettings* settings, BiText label, const std::string& what, Lang lang);
    ~QtProgress();
    QtProgress(const QtProgress&) = delete;
    QtProgress& operator=(const QtProgress&) = delete;

    ProgressFn Callback();
    bool WasCancelled() const { return cancelled_; }
    // The dialog while it shows (null before).
    QProgressDialog* Dialog() const { return dialog_; }

  private:
    bool Report(std::int64_t done, std::int64_t total);
    void Show();

    ProgressSettings settings_;
    QString label_, cancelText_;
    QElapsedTimer started_, pumped_;
    QPointer<QProgressDialog> dialog_;
    bool cancelled_ = false;
};

} // namespace orvane
