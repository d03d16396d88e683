// Builds EPD and POD archives from a list of entries. Used by the demo folder
// and by the test fixtures; the editor itself never builds archives.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace orvane {

struct ArchiveSourceEntry {
    std::string name; // with '\' separators, e.g. DATABASE\AIRPORT.DBD
    std::string data; // the entry's bytes
    std::int32_t stamp = 0;
};

enum class ArchiveLayout {
    Epd,      // 272-byte header, 80-byte entries
    Pod3,     // "POD3" 288-byte header, directory at the offset in bytes 264-267
    PodShort, // 96-byte header, directory right after it
};

// The archive's bytes. For Pod3 the directory is placed after the entry data.
std::string BuildArchive(ArchiveLayout layout, const std::vector<ArchiveSourceEntry>& entries);
// Writes it to path (through a temporary file).
void WriteArchive(const std::string& path, ArchiveLayout layout,
                  const std::vector<ArchiveSourceEntry>& entries);

} // namespace orvane
