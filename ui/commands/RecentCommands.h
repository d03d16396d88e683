// File > recent files: the last tables opened (DBD files, archives' DBD
// entries, DEX and CSV files) and the DBD files saved, kept in the settings
// file and handed to the desktop's own recent list; and the option that
// reopens the last table, at its last row, when the editor starts without a
// file.
#pragma once

#include "settings/RecentFiles.h"
#include "ui/commands/CommandContext.h"

#include <functional>
#include <string>
#include <vector>

class QAction;
class QMenu;

namespace orvane {

class ExchangeCommands;
class FileCommands;

class RecentCommands {
  public:
    RecentCommands(CommandContext context, std::string iniPath, FileCommands& files,
                   ExchangeCommands& exchange);
    // The list's items (in the "Recents" submenu) and the option's (in "Options").
    CommandTable Commands();
    // The items the rows made and their submenu: the list is written into
    // them from now on.
    void SetItems(std::vector<QAction*> items, QMenu* menu, QAction* reopenItem);

    // A table came in from this file, or was saved whole to it: first in the list.
    void Opened(const TableSource& source);
    // Opens the list's entry at `index`, as its menu command opens its kind;
    // an entry whose file is gone says so and leaves the list.
    void OpenRecent(std::size_t index);
    void ToggleReopenLast();
    // Start-up without a file: with the option on, the last table, at its row.
    void ReopenLast();
    // The window closes on this table row: the last table's row to come back to.
    void Closing(int row);

    bool ReopensLast() const { return reopen_; }
    const std::vector<RecentFile>& List() const { return list_; }

    // The desktop's recent list (the application's: none in tests).
    std::function<void(const std::string& path)> ToDesktop;
    // The window's: a table row made current.
    std::function<void(int row)> GoToRow;
    // The DEX and CSV opens leave the direct-write mode first, as their menus do.
    std::function<void()> LeaveDirectWrite;

  private:
    bool Open(const RecentFile& file);
    // The file being edited: the DBD saved last, else the file loaded.
    TableSource Current() const;
    void Write();
    void Show();

    CommandContext c_;
    std::string iniPath_;
    FileCommands& files_;
    ExchangeCommands& exchange_;
    std::vector<RecentFile> list_;
    bool reopen_ = false;
    std::vector<QAction*> items_;
    QMenu* menu_ = nullptr;
    QAction* reopenItem_ = nullptr;
};

} // namespace orvane
