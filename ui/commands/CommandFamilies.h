// Every command family of the main window, made once with the window's
// context, the menus in their order, and the families' tables in the order
// each menu shows its rows.
#pragma once

#include "ui/commands/CommandContext.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

class QMainWindow;

namespace orvane {

class BulkEditCommands;
class Captions;
class CompareCommands;
class DirectWriteCommands;
class RowCommands;
class ExchangeCommands;
class FileCommands;
class GridCommands;
class OptionsCommands;
class PrintCommands;
class RecentCommands;
class ReconcileCommands;
class SearchCommands;
class ToolsCommands;
class UndoCommands;
class ViewCommands;

struct CommandFamilies {
    CommandFamilies(const CommandContext& context, QMainWindow* window, const std::string& iniPath,
                    Captions& captions);
    ~CommandFamilies();
    // The menu bar's menus, in their order (a menu's items keep the order
    // of the tables below).
    static const std::vector<MenuEntry>& Menus();
    // The recent files' submenu of the DBD menu, after the opens.
    static const MenuEntry& RecentMenu();
    // Within a menu, the rows' order is the menu's.
    std::vector<CommandTable> Tables() const;
    // The window's own commands: quitting, and the check beside the grid.
    std::function<void()> Quit;
    std::function<void()> Check;
    // The families follow the table: another table ends the comparisons and
    // starts the search and the rows' order afresh, a change of this one
    // recomputes the comparisons.
    void TableReplaced();
    void TableChanged();

    std::unique_ptr<FileCommands> files;
    std::unique_ptr<RowCommands> rows; // the Edition and Export boxes' buttons
    std::unique_ptr<ExchangeCommands> exchange;
    std::unique_ptr<DirectWriteCommands> directWrite;
    std::unique_ptr<SearchCommands> search;
    std::unique_ptr<PrintCommands> print;
    std::unique_ptr<ToolsCommands> tools;
    std::unique_ptr<OptionsCommands> options;
    std::unique_ptr<UndoCommands> undo;
    std::unique_ptr<BulkEditCommands> bulk; // clipboard, fill down, replace, filter
    std::unique_ptr<GridCommands> grid;
    std::unique_ptr<CompareCommands> compare;
    std::unique_ptr<ReconcileCommands> reconcile; // the table beside OurAirports' data
    std::unique_ptr<RecentCommands> recent;
    std::unique_ptr<ViewCommands> view;
};

} // namespace orvane
