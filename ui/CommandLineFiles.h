// Files named on the editor's command line (and so double-clicked in a file
// manager): each opens through the menu command that opens its kind.
#pragma once

#include "ui/commands/CommandContext.h"

#include <functional>
#include <string>
#include <vector>

namespace orvane {

class ExchangeCommands;
class FileCommands;

class CommandLineFiles {
  public:
    CommandLineFiles(CommandContext context, FileCommands& files, ExchangeCommands& exchange)
        : c_(context), files_(files), exchange_(exchange) {}

    // The archive viewer on an archive (for an archive without its table).
    std::function<void(const std::string&)> ShowArchiveEntries;
    // The definitions page brought forward (after a template was read).
    std::function<void()> ShowDefinitions;

    // Opens the first file, then says that the others were left aside. An
    // unreadable file gives the open's own message and leaves the window
    // empty. Errors propagate (to the window's error boundary).
    void Open(const std::vector<std::string>& paths);

  private:
    void OpenOne(const std::string& path);
    void OpenArchive(const std::string& path);
    void OpenTemplate(const std::string& path);

    CommandContext c_;
    FileCommands& files_;
    ExchangeCommands& exchange_;
};

} // namespace orvane
