// When a command can be used, worked out from the editor's state alone.
// Plain C++ (no Qt), so the rules are tested as a table without a window:
// each command's row names its rule, and after every command the window
// asks IsAvailable for each row.
#pragma once

#include <set>
#include <string>
#include <vector>

namespace orvane {

// What the editor is doing, as far as the commands' availability goes.
struct EditorState {
    bool tableLoaded = false; // a table came in this run (DBD, archive, DEX or CSV)
    bool dbdLoaded = false;   // one of them was a DBD (from disk or from an archive)
    bool directWrite = false; // the direct-write mode is on
    int selectedCount = 0;    // rows marked for export
    bool canUndo = false;
    bool canRedo = false;
    bool comparing = false; // a comparison with another file is open
};

// The rules a command's row can name.
enum class When {
    Always,
    DbdLoaded,    // the DBD saves: a DBD table was loaded
    TableLoaded,  // the exports: any table was loaded
    DbdSelection, // the DBD save of the selection: as DbdLoaded, with rows marked
    Selection,    // the exports of the selection: as TableLoaded, with rows marked
    AddToTable,   // adding a DEX or CSV: a table loaded, not in direct-write mode
    RowsMayMove,  // the row operations: not in direct-write mode
    DirectWrite,  // writing a row back, leaving the mode
    Undo,         // undo and redo: a step to take
    Redo,
    Comparing, // stepping through and clearing a comparison
};

bool IsAvailable(When rule, const EditorState& state);

// A command's name and rule, as its family's table declares them.
struct CommandRule {
    std::string name;
    When when = When::Always;
};

// The names of the commands available in a state.
std::set<std::string> AvailableCommands(const EditorState& state,
                                        const std::vector<CommandRule>& rules);

} // namespace orvane
