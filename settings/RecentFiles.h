// Where a table comes from, and the list of the last tables opened (File >
// recent files), kept in the settings file's [recent] section.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace orvane {

// The kinds of file a table is opened from.
enum class SourceKind { None, Dbd, Archive, Dex, Csv };

// A table's file: a DBD, DEX or CSV file, or the DBD entry of an archive.
struct TableSource {
    SourceKind kind = SourceKind::None;
    std::string path;  // UTF-8, as the system names it
    std::string entry; // of an archive: the entry's name as stored (8-bit, '\' separators)
    bool operator==(const TableSource&) const = default;
};

// How the title and the recent list name a source (UTF-8): "AIRPORT.dbd",
// "AIRPORT.POD ▸ DATABASE\AIRPORT.DBD"; "" for none.
std::string SourceName(const TableSource& source);

struct RecentFile {
    TableSource source;
    int row = 0; // the row current when the editor last closed on it (0: none)
};

inline constexpr std::size_t kRecentFilesKept = 10;

// A table opened goes first; the same file further down goes, and the list
// keeps the last kRecentFilesKept. A source of no kind changes nothing.
void AddRecentFile(std::vector<RecentFile>& list, const TableSource& source);
// Takes the file out of the list (it no longer exists).
void RemoveRecentFile(std::vector<RecentFile>& list, const TableSource& source);
// Whether the file is still there (an archive's entry is looked for when it loads).
bool RecentFileExists(const RecentFile& file);

// The list as the settings file holds it (none for a missing file); entries
// without a path or of an unknown kind are left out.
std::vector<RecentFile> ReadRecentFiles(const std::string& iniPath);
// Writes the list, in one save. Only into settings that exist: a file made
// here would stand for a first-run setup never done. Throws FileError.
void WriteRecentFiles(const std::string& iniPath, const std::vector<RecentFile>& list);

// "Reopen the last table at start" (off unless the settings say 1).
bool ReadReopenLast(const std::string& iniPath);
void WriteReopenLast(const std::string& iniPath, bool on);

} // namespace orvane
