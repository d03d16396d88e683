// One comparison's panel beside the grid, whatever the table is compared
// with (another file, the real world): the dock, its list of findings, and
// the life cycle both comparisons share. The panel is its comparison: when
// the user closes it (its ×, or Escape in it) the comparison ends, and with
// it whatever it painted on the grid and the map.
#pragma once

#include "settings/Texts.h"
#include "ui/grid/DifferencePanel.h"

#include <functional>
#include <set>
#include <string>
#include <vector>

class QDockWidget;
class QMainWindow;
class QWidget;

namespace orvane {

class Captions;

class FindingsDock {
  public:
    // `above`: the owner's own controls over the list (none: the list alone).
    FindingsDock(QMainWindow* window, Captions& captions, const char* objectName, BiText title,
                 QWidget* above = nullptr);

    QDockWidget* Dock() const { return dock_; }
    DifferencePanel* Panel() const { return panel_; }

    // The owner's halves: work the findings out again from the table (and
    // repaint its marks), list them with the entry at `current` made
    // current, and drop its data and marks when the comparison ends.
    std::function<void()> Recompute;
    std::function<void(int current)> Show;
    std::function<void()> Ended;

    // A comparison begins: nothing kept, the findings listed, the panel shown.
    void Begin();
    // The table changed: the findings are worked out again once the change
    // under way is over; meanwhile no stale mark is painted.
    void Refresh();
    // Before acting on the list: a relist still on its way is done now.
    void BringUpToDate();
    // Recompute and Show, the entry at `current` made current.
    void Relist(int current);
    // The comparison ends (Clear, another table, the panel closed).
    void End();
    bool Active() const { return active_; }
    bool Pending() const { return pending_; }
    // Findings the user chose to keep this side of, by the owner's keys.
    std::set<std::string>& Kept() { return kept_; }

  private:
    QDockWidget* dock_;
    DifferencePanel* panel_;
    std::set<std::string> kept_;
    bool pending_ = false;
    bool active_ = false;
    bool ending_ = false;
};

} // namespace orvane
