#include "forms/Availability.h"

namespace orvane {

bool IsAvailable(When rule, const EditorState& s) {
    switch (rule) {
    case When::Always:
        return true;
    case When::DbdLoaded:
        return s.dbdLoaded;
    case When::TableLoaded:
        return s.tableLoaded || s.dbdLoaded;
    case When::DbdSelection:
        return s.dbdLoaded && s.selectedCount > 0;
    case When::Selection:
        return (s.tableLoaded || s.dbdLoaded) && s.selectedCount > 0;
    case When::AddToTable:
        return (s.tableLoaded || s.dbdLoaded) && !s.directWrite;
    case When::RowsMayMove:
        return !s.directWrite;
    case When::DirectWrite:
        return s.directWrite;
    case When::Undo:
        return s.canUndo;
    case When::Redo:
        return s.canRedo;
    case When::Comparing:
        return s.comparing;
    }
    return false;
}

std::set<std::string> AvailableCommands(const EditorState& state,
                                        const std::vector<CommandRule>& rules) {
    std::set<std::string> names;
    for (const CommandRule& r : rules)
        if (IsAvailable(r.when, state)) names.insert(r.name);
    return names;
}

} // namespace orvane
