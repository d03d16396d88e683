// The DEX and CSV commands: open, export all or the selection, add to the table.
//
// Not built yet: its menu items and buttons stay disabled until each of
// them gets its handler here (a control without one is never enabled).
#pragma once

#include "ui/commands/CommandContext.h"

namespace orvane {

class ExchangeCommands {
  public:
    explicit ExchangeCommands(CommandContext context) : c_(context) {}
    // To come: DEX_ouvrirClick, DEX_Enregistrer_toutClick, DEX_Enregistrer_selectClick,
    // DEX_AjouterClick, CSV_ImportClick, CSV_Enregistrer_toutClick,
    // CSV_Enregistrer_selectClick, CSV_AjouterClick.

  private:
    [[maybe_unused]] CommandContext c_;
};

} // namespace orvane
