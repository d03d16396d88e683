// Path texts and the file-system decisions for running beside Windows:
// native separators, letter case of the simulator's file names, the Wine
// prefix that stands in for c:\ on Linux, and where settings live.
#pragma once

#include <string>
#include <string_view>

namespace orvane {

#ifdef _WIN32
inline constexpr char kNativeSeparator = '\\';
#else
inline constexpr char kNativeSeparator = '/';
#endif

// Appends the native separator when the text does not end with one.
// An empty text stays empty (it names no folder).
std::string WithTrailingSeparator(std::string folder);

// Joins folder texts with the native separator (the folder may end with one).
std::string JoinPath(const std::string& folder, const std::string& name);

// The folder part of a path, ending with a separator ("" when there is none).
std::string FolderOf(const std::string& path);
// The last component of a path (after the last '/' or '\').
std::string FileNameOf(const std::string& path);
// The extension of a file name including the dot, "" when there is none.
std::string ExtensionOf(const std::string& path);

std::string ToUpperAscii(std::string_view s);
std::string ToLowerAscii(std::string_view s);
bool EqualsIgnoreCaseAscii(std::string_view a, std::string_view b);

// Windows treats file names without regard to letter case. When path does not
// exist as written, each component is matched ignoring case; the first match
// found is used. Returns the path as written when nothing matches.
std::string ResolvePathCase(const std::string& path);

// A Windows folder of the simulator's defaults ("c:\Program Files\...") in the
// place it has on this platform: unchanged on Windows, inside the default
// Wine prefix ($HOME/.wine/drive_c/...) elsewhere, with '/' separators.
std::string NativeDefaultFolder(const std::string& windowsFolder);

// The folder holding the running program, ending with a separator.
std::string ProgramFolder();
// The user's configuration folder for Orvane ($XDG_CONFIG_HOME/Orvane or
// $HOME/.config/Orvane), ending with a separator.
std::string UserConfigFolder();
// Where a file that lives beside the program is read and written: the
// program's folder when it can be written and the program is not installed
// (see InstalledDataFolder), else the configuration folder.
std::string ProgramFilePath(const std::string& fileName);

// An installed program lives in <prefix>/bin/ with its shared files in
// <prefix>/share/orvane/: that folder, ending with a separator, when the
// program folder is such a bin/ folder; "" for a program run where it was
// built or unpacked. programFolder as ProgramFolder() gives it.
std::string InstalledDataFolder(const std::string& programFolder);
// The folder of the files shipped with the program (the help pages):
// InstalledDataFolder when installed, else the program's own folder.
std::string ProgramDataFolder();

// Creates a folder and every missing level above it. Throws FileError.
void CreateFolders(const std::string& folder);

} // namespace orvane
