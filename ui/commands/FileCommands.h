// The DBD file commands of the main window: the two opens and the two saves.
// Each is split into the question (a file dialog through the seam) and the
// work (one core call), so the window wraps the work in one model reset and
// tests can reach both halves.
#pragma once

#include "database/DbdFile.h"

#include <optional>
#include <string>

namespace orvane {

class FileCommands {
  public:
    FileCommands(SessionState& session, UserInteraction& ui, BusyIndicator* busy)
        : s_(session), ui_(ui), busy_(busy) {}

    // "Ouvrir un DBD à partir d'un EPD ou POD": the archive the user picked,
    // nullopt on Cancel or for a file that is not an EPD or POD archive.
    std::optional<std::string> ChooseArchive();
    // "Ouvrir un DBD": the DBD file picked (extension .DBD in any case).
    std::optional<std::string> ChooseDbd();
    LoadOutcome LoadArchive(const std::string& path);
    // Also moves WorkDir to the file's folder.
    LoadOutcome LoadDbd(const std::string& path);

    // The save dialog: DataType + ".dbd" proposed in WorkDir.
    std::optional<std::string> ChooseSaveTarget();
    int Save(const std::string& path, bool selectionOnly);

    // The folder the dialogs of "Ouvrir un DBD à partir d'un EPD ou POD" start in.
    std::string ArchiveFolder() const;

  private:
    SessionState& s_;
    UserInteraction& ui_;
    BusyIndicator* busy_;
};

} // namespace orvane
