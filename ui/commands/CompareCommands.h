// "Comparer avec…": the loaded table against another file of the same data
// type. Changed cells and added rows are coloured in the grid; the rows
// missing from the loaded table are listed in a side panel, each leading
// to where it would stand. Any change of the table clears it all.
#pragma once

#include "ui/commands/CommandContext.h"

#include <functional>

class QDockWidget;
class QListWidget;
class QMainWindow;

namespace orvane {

class Captions;

class CompareCommands {
  public:
    CompareCommands(CommandContext context, QMainWindow* window, Captions& captions);

    void CompareWithClick();
    // The colours and the panel go once the table changed.
    void Refresh();
    // Makes a table row current and shows it (the window's).
    std::function<void(int row)> GoToRow;

    QDockWidget* Panel() const { return panel_; }
    QListWidget* MissingList() const { return list_; }

  private:
    CommandContext c_;
    QDockWidget* panel_;
    QListWidget* list_;
};

} // namespace orvane
