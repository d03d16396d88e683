// The DBD file commands: the two opens (the saves are rows of the exchange
// family, beside the other writers). Each is split into the question (a file
// dialog through the seam) and the work (one core call inside one model
// reset), so tests can reach both halves.
#pragma once

#include "database/DbdFile.h"
#include "ui/commands/Command.h"
#include "ui/commands/CommandContext.h"

#include <functional>
#include <optional>
#include <string>

namespace orvane {

class FileCommands {
  public:
    explicit FileCommands(CommandContext context) : c_(context) {}

    // The family's menu items.
    CommandTable Commands();
    void OpenFromArchive();
    void OpenDbdFile();

    // "Ouvrir un DBD à partir d'un EPD ou POD": the archive the user picked,
    // nullopt on Cancel or for a file that is not an EPD or POD archive.
    std::optional<std::string> ChooseArchive();
    // "Ouvrir un DBD": the DBD file picked (extension .DBD in any case).
    std::optional<std::string> ChooseDbd();
    // Loads without a dialog; true when the table was replaced.
    bool LoadArchive(const std::string& path);
    // Also moves WorkDir to the file's folder.
    bool LoadDbd(const std::string& path);

    // The folder the dialogs of "Ouvrir un DBD à partir d'un EPD ou POD" start in.
    std::string ArchiveFolder() const;

  private:
    bool Apply(const std::function<LoadOutcome()>& load);
    CommandContext c_;
};

} // namespace orvane
