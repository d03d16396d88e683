// "Affichage" / "View": the panels beside the grid and the map page shown or
// hidden, each a checkable item that follows whether its panel shows, so a
// panel closed comes back. A comparison's panel is its comparison (closing
// it ends the comparison): shown again, it starts the comparison command.
#pragma once

#include "ui/commands/Command.h"

#include <array>
#include <functional>

class QAction;

namespace orvane {

class ViewCommands {
  public:
    // What the window does for one panel.
    struct Panel {
        std::function<bool()> shown;
        std::function<void()> show;
        std::function<void()> hide;
    };
    enum Which { Check, Comparison, RealWorld, Map, kPanels };

    CommandTable Commands();
    // The window's halves of each panel.
    Panel& Of(Which which) { return panels_[which]; }
    // The items made from the rows (checkable from now on).
    void SetItems(const std::array<QAction*, kPanels>& items);
    // Each item checked while its panel shows.
    void ShowMarks() const;

    void Toggle(Which which);

  private:
    std::array<Panel, kPanels> panels_;
    std::array<QAction*, kPanels> items_{};
};

} // namespace orvane
