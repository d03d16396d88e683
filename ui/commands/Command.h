// A command as data: each command family declares its commands as rows of
// one table, and the main window builds its menu items and buttons from
// the rows, wiring each handler through its error boundary. Adding a
// command is one row and one handler.
#pragma once

#include "forms/Availability.h"
#include "settings/Texts.h"

#include <functional>
#include <vector>

namespace orvane {

// Where a command's control goes: a menu of the menu bar (or the recent
// files' submenu), the menu bar itself, a group box of the left column
// (a button), or nowhere (a key without an item).
enum class Place {
    KeyboardOnly,
    MenuBar,
    DbdMenu,
    DexMenu,
    CsvMenu,
    GisExportMenu,
    EditMenu,
    ViewMenu,
    ToolsMenu,
    OptionsMenu,
    HelpMenu,
    RecentMenu, // within the DBD menu
    SearchBox,
    EditBox,
    ExportBox,
};

// A button of a group box rather than an action.
constexpr bool IsButton(Place place) {
    return place == Place::SearchBox || place == Place::EditBox || place == Place::ExportBox;
}

struct Command {
    const char* name;              // the control's object name
    BiText caption;                // empty for a command of the keyboard only
    Place place;                   // the menu or group box it goes in
    std::vector<const char*> keys; // portable key texts ("Ctrl+Shift+O"), the first shown
    When when = When::Always;
    std::function<void()> run;
    bool separatorBefore = false;
};

using CommandTable = std::vector<Command>;

// A menu of the menu bar: its place, object name and title.
struct MenuEntry {
    Place place;
    const char* name;
    BiText title;
};

} // namespace orvane
