// The one error boundary of the windows. Every command slot (menu items,
// buttons, heading clicks, dialog buttons) runs through Run: a core error is
// worded in the user's language and shown by the general error display, and
// the program carries on. No exception ever leaves a Qt slot.
#pragma once

#include "platform/UserInteraction.h"
#include "platform/Wording.h"

#include <QAbstractButton>
#include <QAction>

#include <functional>
#include <utility>

namespace orvane {

class CommandBoundary {
  public:
    // language: the user's language, asked when an error is shown.
    CommandBoundary(UserInteraction& ui, std::function<Lang()> language)
        : ui_(ui), language_(std::move(language)) {}

    void Run(const std::function<void()>& command) const noexcept;
    // Runs first in every wired command (a window ends its open cell
    // editing there), inside the same boundary.
    void SetBeforeCommand(std::function<void()> before) { before_ = std::move(before); }
    // Runs after every command run through Run, whatever became of it (the
    // window shows there which commands the new state allows).
    void SetAfterCommand(std::function<void()> after) { after_ = std::move(after); }

    // Connects a menu item or a button to a command run through Run, and
    // marks it as having one: only such controls are ever enabled.
    template <typename F> void Wire(QAction* action, F command) const {
        MarkWired(action);
        QObject::connect(action, &QAction::triggered, action,
                         [this, command = std::move(command)] { RunWired(command); });
    }
    template <typename F> void Wire(QAbstractButton* button, F command) const {
        MarkWired(button);
        QObject::connect(button, &QAbstractButton::clicked, button,
                         [this, command = std::move(command)] { RunWired(command); });
    }

    // A control with a command follows `on`; one whose command is not built
    // yet stays disabled, so no enabled control does nothing.
    static void SetAvailable(QObject* control, bool on);
    static bool IsWired(const QObject* control);

  private:
    template <typename F> void RunWired(const F& command) const {
        Run([&] {
            if (before_) before_();
            command();
        });
    }
    static void MarkWired(QObject* control);
    UserInteraction& ui_;
    std::function<Lang()> language_;
    std::function<void()> before_;
    std::function<void()> after_;
};

} // namespace orvane
