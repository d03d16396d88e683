// The controls built from the command families' tables: a menu item (in its
// menu, after a separator where the row asks for one), a command on the menu
// bar itself, a key without an item, or a button that the window's layout
// places. Each is wired through the error boundary and follows its rule.
#pragma once

#include "ui/commands/Command.h"

#include <map>
#include <string>
#include <vector>

class QAction;
class QMainWindow;
class QMenu;
class QObject;
class QPushButton;

namespace orvane {

class Captions;
class CommandBoundary;

class CommandControls {
  public:
    CommandControls(QMainWindow* window, Captions& captions, const CommandBoundary& boundary)
        : window_(window), captions_(captions), boundary_(boundary) {}

    // A menu of the menu bar, after the ones added before.
    QMenu* AddMenu(const MenuEntry& menu);
    // A submenu at the current end of a menu; rows placed in it go in it.
    QMenu* AddSubmenu(Place parent, const MenuEntry& menu);
    // The table's rows, after the rows added before (within a menu, that
    // order is the items' order). A row placed in a menu not added yet is
    // refused (std::out_of_range).
    void Add(const CommandTable& table);
    QAction* Item(const std::string& name) const;
    QPushButton* Button(const std::string& name) const;
    // Every control enabled as its rule says in this state.
    void ShowAvailable(const EditorState& state) const;

  private:
    QMainWindow* window_;
    Captions& captions_;
    const CommandBoundary& boundary_;
    std::map<Place, QMenu*> menus_; // the menu bar's and their submenus
    QMenu* lastMenu_ = nullptr;     // the menu bar's last
    std::map<std::string, QObject*> controls_;
    std::vector<CommandRule> rules_;
};

} // namespace orvane
