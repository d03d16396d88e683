// Which commands the editor's state makes available: state -> commands.
#include "forms/Availability.h"

#include <gtest/gtest.h>

namespace orvane {
namespace {

TEST(Availability, FollowsTheEditorState) {
    // A command of each rule, under its menu name.
    const std::vector<CommandRule> rows = {{"POD_ouvrir", When::Always},
                                           {"DBD_Enregistrer_tout", When::DbdLoaded},
                                           {"DBD_Enregistrer_select", When::DbdSelection},
                                           {"DEX_Enregistrer_tout", When::TableLoaded},
                                           {"CSV_Enregistrer_select", When::Selection},
                                           {"DEX_Ajouter", When::AddToTable},
                                           {"POD_Enregistrer_ligne", When::DirectWrite},
                                           {"Annuler", When::Undo},
                                           {"Retablir", When::Redo},
                                           {"DifferenceSuivante", When::Comparing}};
    const std::string always = "POD_ouvrir", dbdSave = "DBD_Enregistrer_tout",
                      export_ = "DEX_Enregistrer_tout", add = "DEX_Ajouter";
    const struct {
        const char* what;
        EditorState state;
        std::set<std::string> available;
    } cases[] = {
        {"at start, what needs no table", {}, {always}},
        {"a DBD loaded", {.tableLoaded = true, .dbdLoaded = true}, {always, dbdSave, export_, add}},
        {"a DBD loaded, rows marked",
         {.tableLoaded = true, .dbdLoaded = true, .selectedCount = 2},
         {always, dbdSave, "DBD_Enregistrer_select", export_, "CSV_Enregistrer_select", add}},
        {"a DEX or CSV opened: no DBD save",
         {.tableLoaded = true, .selectedCount = 1},
         {always, export_, "CSV_Enregistrer_select", add}},
        {"rows marked without a table", {.selectedCount = 3}, {always}},
        {"direct write: the write and the steps taken in it, no add",
         {.tableLoaded = true,
          .dbdLoaded = true,
          .directWrite = true,
          .canUndo = true,
          .canRedo = true},
         {always, dbdSave, export_, "POD_Enregistrer_ligne", "Annuler", "Retablir"}},
        {"steps to undo and redo",
         {.tableLoaded = true, .canUndo = true, .canRedo = true},
         {always, export_, add, "Annuler", "Retablir"}},
        {"a comparison open",
         {.tableLoaded = true, .comparing = true},
         {always, export_, add, "DifferenceSuivante"}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(AvailableCommands(c.state, rows), c.available) << c.what;
}

} // namespace
} // namespace orvane
