// Starting one of the simulator's companion programs beside this one:
// detached (this program never waits for it and its end leaves nothing
// behind here), in the program's own folder, without arguments. On Linux
// these Windows programs go through wine.
#pragma once

#include <optional>
#include <string>

namespace orvane {

// The program file `name` in `folder`, letter case resolved as Windows
// would; nullopt when the folder is empty or no regular file is there.
std::optional<std::string> FindProgramFile(const std::string& folder, const std::string& name);

// The executable `name` in one of the folders of pathList (a PATH text,
// ':'-separated), nullopt when none holds it.
std::optional<std::string> FindOnPath(const std::string& name, const std::string& pathList);

struct StartResult {
    enum Status { Started, WineMissing, Failed } status = Started;
    std::string reason; // Failed: the system's reason
};

// Opening a document (the help page) in the desktop's program for it.
struct OpenResult {
    enum Status { Opened, NoOpener, Failed } status = Opened;
    std::string reason; // Failed: what went wrong
};

// Elsewhere than on Windows: xdg-open, looked up on the PATH, opens the file
// at path, and its exit status says whether a program was found and
// started (it fails when there is none). An xdg-open still running after
// waitMs runs the program itself in the foreground: the file is open.
// NoOpener: no xdg-open (always on Windows, where the shell opens files).
OpenResult OpenDocument(const std::string& path, int waitMs);

// Starts the program file at path with its folder as working directory and
// returns at once. Windows: the shell's default action on the file name.
// Elsewhere: wine, looked up on the PATH, runs it.
StartResult StartDetached(const std::string& path);

} // namespace orvane
