// What the libFuzzer targets share: a user interaction that answers yes and
// shows nothing, files in memory for the readers that only take a path, the
// input split into its leading choice bytes and the file, and the check that
// stops a run on a broken invariant.
#pragma once

#include "exchange/DexFile.h"
#include "platform/UserInteraction.h"

#include <cstddef>
#include <cstdint>
#include <deque>
#include <string>
#include <string_view>

namespace orvane::fuzz {

// Files of one fuzzing process in a RAM-backed folder (/dev/shm, else
// $TMPDIR or /tmp; $ORVANE_FUZZ_RAM names it when set). Each name keeps one
// open descriptor and one path for the whole process: a run overwrites the
// bytes in place, so no file is created or removed per run. The folder goes
// when the process ends normally.
class RamFiles {
  public:
    static RamFiles& Get();
    // The folder, without a trailing separator.
    const std::string& Folder() const { return folder_; }
    // Puts exactly these bytes in the file `name` and returns its path.
    const std::string& Put(const std::string& name, std::string_view bytes);
    // The whole content of a file (for the checks after a write).
    static std::string Read(const std::string& path);

  private:
    RamFiles();
    ~RamFiles();
    struct File {
        std::string name, path;
        int fd = -1;
    };
    std::string folder_;
    std::deque<File> files_; // paths handed out stay valid as files are added
};

// The fuzz input: choice bytes taken from its front, the rest the file.
class Input {
  public:
    Input(const std::uint8_t* data, std::size_t size)
        : rest_(reinterpret_cast<const char*>(data), size) {}
    // The next byte (0 once the input is used up).
    std::uint8_t Byte();
    // The next n bytes, fewer at the end of the input.
    std::string_view Bytes(std::size_t n);
    std::string_view Rest() const { return rest_; }

  private:
    std::string_view rest_;
};

// The input as bytes of text.
inline std::string_view AsText(const std::uint8_t* data, std::size_t size) {
    return {reinterpret_cast<const char*>(data), size};
}

// The template the exchange and DBD targets read (the navaid fixtures' fields,
// every kind of field), written once in the RAM folder.
const std::string& NavaidTemplate();

// An exchange-file import (ImportDex, ImportCsv).
using ImportFunction = ImportOutcome (*)(SessionState&, const std::string&, ImportMode,
                                         UserInteraction&, BusyIndicator*, const std::string&,
                                         const ProgressFn&);
// Opens the file at path as a new table (template: NavaidTemplate), then adds
// it below itself: a damaged file is refused with the program's own errors,
// and an addition gives as many rows again or none.
void OpenThenAdd(ImportFunction import, const std::string& path);

// ".pod" or ".epd" from a choice byte: the archive readers tell the kind by
// the extension alone.
const char* ArchiveExtension(std::uint8_t choice);

// Stops the run as a finding when an invariant does not hold.
void Require(bool holds, const char* what);

} // namespace orvane::fuzz
