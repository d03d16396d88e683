// Which commands the editor's state makes available: the rules of the
// commands' rows as one table, state -> commands available.
#include "ui/commands/Availability.h"

#include <gtest/gtest.h>

namespace orvane {
namespace {

// A command of each rule, under the names the menus give them.
const std::vector<CommandRule> kRows = {
    {"POD_ouvrir", When::Always},
    {"DBD_Enregistrer_tout", When::DbdLoaded},
    {"DBD_Enregistrer_select", When::DbdSelection},
    {"DEX_Enregistrer_tout", When::TableLoaded},
    {"CSV_Enregistrer_select", When::Selection},
    {"DEX_Ajouter", When::AddToTable},
    {"POD_Enregistrer_ligne", When::DirectWrite},
    {"Annuler", When::Undo},
    {"Retablir", When::Redo},
    {"DifferenceSuivante", When::Comparing},
};

struct Case {
    const char* what;
    EditorState state;
    std::set<std::string> available;
};

EditorState Loaded(bool dbd, int selected = 0) {
    EditorState s;
    s.tableLoaded = true;
    s.dbdLoaded = dbd;
    s.selectedCount = selected;
    return s;
}

EditorState With(EditorState s, void (*change)(EditorState&)) {
    change(s);
    return s;
}

TEST(Availability, FollowsTheEditorState) {
    const Case cases[] = {
        {"at start only what needs no table", {}, {"POD_ouvrir"}},
        {"a DBD loaded, nothing marked",
         Loaded(true),
         {"POD_ouvrir", "DBD_Enregistrer_tout", "DEX_Enregistrer_tout", "DEX_Ajouter"}},
        {"a DBD loaded, rows marked",
         Loaded(true, 2),
         {"POD_ouvrir", "DBD_Enregistrer_tout", "DBD_Enregistrer_select", "DEX_Enregistrer_tout",
          "CSV_Enregistrer_select", "DEX_Ajouter"}},
        {"a DEX or CSV opened: no DBD save",
         Loaded(false, 1),
         {"POD_ouvrir", "DEX_Enregistrer_tout", "CSV_Enregistrer_select", "DEX_Ajouter"}},
        {"marked rows without a table save nothing",
         With({}, [](EditorState& s) { s.selectedCount = 3; }),
         {"POD_ouvrir"}},
        {"direct write: the write and no add, no undo",
         With(Loaded(true), [](EditorState& s) { s.directWrite = s.canUndo = s.canRedo = true; }),
         {"POD_ouvrir", "DBD_Enregistrer_tout", "DEX_Enregistrer_tout", "POD_Enregistrer_ligne"}},
        {"a step to undo and one to redo",
         With(Loaded(true), [](EditorState& s) { s.canUndo = s.canRedo = true; }),
         {"POD_ouvrir", "DBD_Enregistrer_tout", "DEX_Enregistrer_tout", "DEX_Ajouter", "Annuler",
          "Retablir"}},
        {"a comparison open",
         With(Loaded(false), [](EditorState& s) { s.comparing = true; }),
         {"POD_ouvrir", "DEX_Enregistrer_tout", "DEX_Ajouter", "DifferenceSuivante"}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(AvailableCommands(c.state, kRows), c.available) << c.what;
}

} // namespace
} // namespace orvane
