// A command as data: each command family declares its commands as rows of
// one table, and the main window builds its menu items and buttons from
// the rows, wiring each handler through its error boundary. Adding a
// command is one row and one handler.
#pragma once

#include "settings/Texts.h"
#include "ui/commands/Availability.h"

#include <functional>
#include <string>
#include <vector>

namespace orvane {

struct Command {
    const char* name;              // the control's object name
    BiText caption;                // empty for a command of the keyboard only
    const char* place;             // the menu or group box it goes in; "" for the keyboard
                                   // only, kMenuBar for a command on the menu bar itself
    std::vector<const char*> keys; // portable key texts ("Ctrl+Shift+O"), the first shown
    When when = When::Always;
    std::function<void()> run;
    bool separatorBefore = false;

    static constexpr const char* kMenuBar = "MainMenu";
};

using CommandTable = std::vector<Command>;

// The names and rules of a table's rows.
std::vector<CommandRule> RulesOf(const CommandTable& table);

} // namespace orvane
