#include "ui/commands/CommandFamilies.h"

#include "settings/Memo.h"
#include "ui/commands/BulkEditCommands.h"
#include "ui/commands/CompareCommands.h"
#include "ui/commands/DirectWriteCommands.h"
#include "ui/commands/ExchangeCommands.h"
#include "ui/commands/FileCommands.h"
#include "ui/commands/GridCommands.h"
#include "ui/commands/OptionsCommands.h"
#include "ui/commands/PrintCommands.h"
#include "ui/commands/RecentCommands.h"
#include "ui/commands/ReconcileCommands.h"
#include "ui/commands/RowCommands.h"
#include "ui/commands/SearchCommands.h"
#include "ui/commands/ToolsCommands.h"
#include "ui/commands/UndoCommands.h"
#include "ui/commands/ViewCommands.h"

#include <QMainWindow>

namespace orvane {

CommandFamilies::CommandFamilies(const CommandContext& context, QMainWindow* window,
                                 const std::string& iniPath, Captions& captions)
    : files(std::make_unique<FileCommands>(context)), rows(std::make_unique<RowCommands>(context)),
      exchange(std::make_unique<ExchangeCommands>(context)),
      directWrite(std::make_unique<DirectWriteCommands>(context)),
      search(std::make_unique<SearchCommands>(context)),
      print(std::make_unique<PrintCommands>(context)),
      tools(std::make_unique<ToolsCommands>(context, window, MemoFilePath(iniPath))),
      options(std::make_unique<OptionsCommands>(context, iniPath, captions)),
      undo(std::make_unique<UndoCommands>(context)),
      bulk(std::make_unique<BulkEditCommands>(context, captions)),
      grid(std::make_unique<GridCommands>(context, *search)),
      compare(std::make_unique<CompareCommands>(context, window, captions)),
      reconcile(std::make_unique<ReconcileCommands>(context, window, captions)),
      recent(std::make_unique<RecentCommands>(context, iniPath, *files, *exchange)),
      view(std::make_unique<ViewCommands>()) {
    exchange->LeaveDirectWrite = [this] { directWrite->Leave(); };
    directWrite->OpenArchive = [this] { files->OpenFromArchive(); };
    recent->LeaveDirectWrite = exchange->LeaveDirectWrite;
    // A DBD the table was saved to is a recent file too: it is the one edited now.
    exchange->Saved = [this](const std::string& path) {
        recent->Opened({SourceKind::Dbd, path, {}});
    };
    directWrite->ReloadArchive = [this](const std::string& path) { files->LoadArchive(path); };
    undo->RowsReordered = [this] { grid->RowsUnsorted(); };
    bulk->EmptyCells = [this](const QModelIndexList& cells) { rows->EmptyCells(cells); };
    // One comparison at a time colours the grid.
    compare->Starting = [this] { reconcile->TableReplaced(); };
    reconcile->Started = [this] { compare->TableReplaced(); };
    // The real-world findings are walked, committed and checked as the
    // comparison's are.
    reconcile->GoToCell = [this](int row, int column) { compare->GoToCell(row, column); };
    reconcile->CommitEdit = [this] { compare->CommitEdit(); };
    reconcile->CheckTable = [this] { Check(); };
}

CommandFamilies::~CommandFamilies() = default;

void CommandFamilies::TableReplaced() {
    bulk->TableReplaced();
    compare->TableReplaced();
    reconcile->TableReplaced();
    search->TableLoaded();
    grid->RowsUnsorted(); // rows in file order
}

void CommandFamilies::TableChanged() {
    compare->Refresh();
    reconcile->Refresh();
}

const std::vector<MenuEntry>& CommandFamilies::Menus() {
    static const std::vector<MenuEntry> menus = {
        {Place::DbdMenu, "FichierDBD", txt::MenuFichierDBD},
        {Place::DexMenu, "FichierDEX", txt::MenuFichierDEX},
        {Place::CsvMenu, "FichierCSV", txt::MenuFichierCSV},
        {Place::GisExportMenu, "AutresFormats", txt::MenuAutresFormats},
        {Place::EditMenu, "Edition", txt::MenuEdition},
        {Place::ViewMenu, "Affichage", txt::MenuAffichage},
        {Place::ToolsMenu, "Outils", txt::MenuOutils},
        {Place::OptionsMenu, "Options", txt::MenuOptions},
        {Place::HelpMenu, "Aide", txt::MenuAide}};
    return menus;
}

const MenuEntry& CommandFamilies::RecentMenu() {
    static const MenuEntry recent = {Place::RecentMenu, "Recents", txt::MenuRecents};
    return recent;
}

std::vector<CommandTable> CommandFamilies::Tables() const {
    const CommandTable window = {
        {"Quitter", txt::MenuQuitter, Place::DbdMenu, {"Ctrl+Q"}, When::Always, Quit, true},
        {"Verifier", txt::MenuVerifier, Place::ToolsMenu, {"F7"}, When::Always, Check, true}};
    return {files->Commands(),
            exchange->Commands(),
            directWrite->Commands(),
            undo->Commands(),
            bulk->Commands(),
            compare->Commands(),
            grid->Commands(),
            tools->Commands(),
            options->Commands(),
            print->Commands(),
            search->Commands(),
            rows->Commands(),
            window,
            reconcile->Commands(),
            recent->Commands(),
            view->Commands()};
}

} // namespace orvane
