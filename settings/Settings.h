// The settings file Orvane.ini and the five operations on it. Everything
// read lands in SessionSettings; the rest of the program never reads the file.
#pragma once

#include <string>

namespace orvane {

// The program-wide values kept in the settings file (part of SessionState).
struct SessionSettings {
    std::string Language;         // "english" selects English; any other value French
    std::string Fly1Dir, Fly2Dir; // simulator folders
    std::string Work1Dir, Work2Dir;
    std::string FlyDir, WorkDir; // of the current version, ending with a separator
    std::string DbImportDir, DexImportDir;
    int SimulatorVersion = 0; // 1 or 2; 0 before the settings are read
    bool FirstRunDone = false;
};

// The six folder boxes of the directories dialog, as shown.
struct FolderBoxes {
    std::string fly1, work1, fly2, work2, dbImport, dexImport;
};

// Built-in folders (Windows texts; see NativeDefaultFolder for this platform).
namespace defaults {
inline constexpr const char* kFly1 = "c:\\Program Files\\Terminal Reality\\Fly!\\";
inline constexpr const char* kFly1Database =
    "c:\\Program Files\\Terminal Reality\\Fly!\\database\\";
inline constexpr const char* kFly1Data = "c:\\Program Files\\Terminal Reality\\Fly!\\data\\";
inline constexpr const char* kFly2 = "c:\\Program Files\\Terminal Reality\\Fly! II\\";
inline constexpr const char* kFly2Data = "c:\\Program Files\\Terminal Reality\\Fly! II\\data\\";
} // namespace defaults

// The settings file's place: beside the program, or the user's configuration
// folder when the program's folder cannot be written.
std::string SettingsFilePath();

// 1. Start-up read. Returns false when the file does not exist (then only
//    FirstRunDone := false). The caller applies English captions when
//    LangOf(Language) is English.
bool StartupRead(SessionSettings& s, const std::string& iniPath);
// 2. Dialog read (the directories dialog's activation).
void DialogRead(SessionSettings& s, const std::string& iniPath);
// 3. Read of a chosen file (the dialog's Open button).
void ReadChosenFile(SessionSettings& s, const std::string& path);
// 4. Dialog write (the dialog's Save button). Throws FileError.
void DialogWrite(const std::string& iniPath, const SessionSettings& s, const FolderBoxes& boxes);
// 5. Language write: "init"/"langage" := "english" or "français" (byte 0xE7).
void LanguageWrite(const std::string& iniPath, bool english);

// Folders and file paths are UTF-8 in the session (the system's paths) and
// Windows-1252 in the settings file, as the simulator's world writes it. A
// path with a character Windows-1252 lacks is stored as UTF-8, which reads
// back as such.
std::string FolderFromIni(const std::string& bytes);
std::string FolderToIni(const std::string& utf8);

// The version's folders into FlyDir and WorkDir, with trailing separators
// (the Fly! 1 / Fly! 2 menu commands).
void SelectVersion(SessionSettings& s, int version);

} // namespace orvane
