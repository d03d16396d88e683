// The direct-write mode of Fly! II: open an archive's DBD for writing, write
// the current row's record back into it, return to the normal mode.
#pragma once

#include "database/DirectWrite.h"
#include "ui/commands/Command.h"
#include "ui/commands/CommandContext.h"

#include <functional>

namespace orvane {

class DirectWriteCommands {
  public:
    explicit DirectWriteCommands(CommandContext context) : c_(context) {}
    CommandTable Commands();
    // The archive open of the DBD menu, run once the mode is on.
    std::function<void()> OpenArchive;
    // Loads an archive again, without a question (the archive changed on disk).
    std::function<void(const std::string& path)> ReloadArchive;

    // Fly! 2 only: the mode goes on, then openArchive runs (the archive
    // open of the DBD menu); the mode stays on when its dialog is cancelled.
    void OpenForDirectWrite(const std::function<void()>& openArchive);
    // Writes the current row over its record in the open archive; the
    // status bar says so, and the row is no longer marked as unwritten
    // (with no such row left, the table is as saved). Refusals (a row
    // without a record, a table not from the open archive) are shown and
    // change nothing.
    void WriteRowToArchive();
    // Asks first when rows changed in the mode are not written yet.
    void BackToNormalMode();
    // Leaves the mode without asking (the caller has asked, and a load
    // replaces the table).
    void Leave();

    EditMode Mode() const { return c_.session.Mode; }

  private:
    CommandContext c_;
};

} // namespace orvane
