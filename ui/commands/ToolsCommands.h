// The "Outils" and "Aide" menus: the archive viewer, the simulator's two import tools, the memo,
// the about box and the help.
//
// Not built yet: its menu items and buttons stay disabled until each of
// them gets its handler here (a control without one is never enabled).
#pragma once

#include "ui/commands/CommandContext.h"

namespace orvane {

class ToolsCommands {
  public:
    explicit ToolsCommands(CommandContext context) : c_(context) {}
    // To come: Extraction_PODClick, LancerDexImportClick, LancerDBImportClick,
    // PournepasoublierClick, AproposClick, AideHTMLClick (F1).

  private:
    [[maybe_unused]] CommandContext c_;
};

} // namespace orvane
