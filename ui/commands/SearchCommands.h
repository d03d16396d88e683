// The "Chercher" box: search the search column for the text of cbSrch (equal or containing, then
// the next hit: F3), and the airport lookup by ICAO code.
//
// Not built yet: its menu items and buttons stay disabled until each of
// them gets its handler here (a control without one is never enabled).
#pragma once

#include "ui/commands/CommandContext.h"

namespace orvane {

class SearchCommands {
  public:
    explicit SearchCommands(CommandContext context) : c_(context) {}
    // To come: btnChercher1Click, btnChercher2Click, btnOACIClick, and FindNext (F3).

  private:
    [[maybe_unused]] CommandContext c_;
};

} // namespace orvane
