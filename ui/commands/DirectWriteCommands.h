// The direct-write mode of Fly! II: open an archive's DBD for writing, write the current row's
// record back into it, return to the normal mode.
//
// Not built yet: its menu items and buttons stay disabled until each of
// them gets its handler here (a control without one is never enabled).
#pragma once

#include "ui/commands/CommandContext.h"

namespace orvane {

class DirectWriteCommands {
  public:
    explicit DirectWriteCommands(CommandContext context) : c_(context) {}
    // To come: POD_ouvrir_ligneClick, POD_Enregistrer_ligneClick, POD_mode_normalClick.

  private:
    [[maybe_unused]] CommandContext c_;
};

} // namespace orvane
