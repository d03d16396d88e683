// Printing of the table or of a range of it, through the print range dialog (ui/dialogs/) and a
// print preview.
//
// Not built yet: its menu items and buttons stay disabled until each of
// them gets its handler here (a control without one is never enabled).
#pragma once

#include "ui/commands/CommandContext.h"

namespace orvane {

class PrintCommands {
  public:
    explicit PrintCommands(CommandContext context) : c_(context) {}
    // To come: ImprimerClick (Ctrl+P).

  private:
    [[maybe_unused]] CommandContext c_;
};

} // namespace orvane
