#include "ui/qt/CommandBoundary.h"

#include "platform/Errors.h"
#include "platform/Progress.h"
#include "settings/Texts.h"

#include <QWidget>

#include <exception>

namespace orvane {

namespace {
constexpr const char* kWired = "orvaneCommand";
}

void CommandBoundary::Run(const std::function<void()>& command) const noexcept {
    try {
        try {
            command();
        } catch (const Cancelled&) {
            // The user stopped the work; it put back what it had changed.
        } catch (const std::exception& e) {
            ui_.ShowMessage(MessageKind::Error, MessageIn(e, language_()));
        } catch (...) {
            ui_.ShowMessage(MessageKind::Error, txt::UnexpectedError);
        }
        if (after_) after_();
    } catch (...) {
        // The error display itself failed: nothing more can be shown.
    }
}

void CommandBoundary::MarkWired(QObject* control) {
    control->setProperty(kWired, true);
}

bool CommandBoundary::IsWired(const QObject* control) {
    return control && control->property(kWired).toBool();
}

void CommandBoundary::SetAvailable(QObject* control, bool on) {
    const bool enabled = on && IsWired(control);
    if (auto* a = qobject_cast<QAction*>(control))
        a->setEnabled(enabled);
    else if (auto* w = qobject_cast<QWidget*>(control))
        w->setEnabled(enabled);
}

} // namespace orvane
