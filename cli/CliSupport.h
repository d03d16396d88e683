// What the commands of orvane-cli share: the stderr side of the
// user-interaction seam, option parsing and error reporting.
#pragma once

#include "cli/Commands.h"
#include "database/SessionState.h"
#include "platform/UserInteraction.h"

#include <functional>
#include <optional>
#include <string>

namespace orvane::cli {

// Messages and warnings go to stderr; questions are answered with OK.
class CliInteraction : public UserInteraction {
  public:
    void ShowMessage(MessageKind kind, const std::string& text, const std::string& title) override;
    bool Confirm(const std::string& text) override;
    void Beep() override;
};

// Options of the table commands.
struct TableOptions {
    std::vector<std::string> positional;
    std::string templateSource;
    std::optional<char> decimal;
    bool selection = false;
    bool fly1 = false;
    bool help = false;
};

// Parses the options; throws std::invalid_argument with a clear text.
TableOptions ParseTableOptions(const Args& args, bool allowSelection);

// Loads a table input as 'show' does (a .dbd, a .pod/.epd archive, a .dex
// or .csv file); throws when no table could be loaded.
void LoadInput(SessionState& s, CliInteraction& ui, const TableOptions& o,
               const std::string& input);

// The table column a --key option names: a column title or a template field
// name, letter case ignored; throws std::invalid_argument when none has it.
int NamedColumn(const SessionState& s, const std::string& name);

// The text of an error as the batch tool prints it (in English).
std::string ErrorText(const std::exception& e);

// Runs body, turning every error into one stderr line and status 1, or
// errorStatus for the commands whose 1 means "found something".
int Guarded(const std::function<int()>& body);
int Guarded(int errorStatus, const std::function<int()>& body);

// The end of every command that prints: flushes stdout and checks that all
// that was written to it arrived. When not (a full disk, a closed stream),
// says "cannot write WHAT" on stderr and returns false: the command fails.
bool OutputWritten(const std::string& what);

// Writes UTF-8 text to stdout as is.
void PrintLine(const std::string& line);
// Writes a block of whole lines to stdout.
void PrintBlock(std::string_view block);

} // namespace orvane::cli
