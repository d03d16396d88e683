// Archive fixtures: well-formed archives from ArchiveWriter, and the byte
// positions needed to damage them on purpose (counts, offsets, sizes).
#pragma once

#include "database/ArchiveWriter.h"

#include <cstdint>
#include <string>
#include <vector>

namespace orvane::testing {

// ".epd" for Epd, ".pod" for both POD layouts.
std::string ExtensionFor(ArchiveLayout layout);
const char* LayoutName(ArchiveLayout layout);

// Where the entry count is (EPD 260, POD 88).
std::size_t EntryCountAt(ArchiveLayout layout);
// Where a POD3 archive keeps its directory offset.
inline constexpr std::size_t kPod3DirectoryOffsetAt = 264;

enum class EntryField { Size, Offset, Stamp };
// Position of one field of directory entry `index` in archive bytes built by
// BuildArchive (the POD3 directory offset is read from the bytes).
std::size_t EntryFieldAt(const std::string& archive, ArchiveLayout layout, int index,
                         EntryField field);

void PatchU32(std::string& bytes, std::size_t at, std::uint32_t value);
std::uint32_t ReadU32(const std::string& bytes, std::size_t at);

// count bytes of a recognisable pattern (position-dependent, seeded).
std::string PatternBytes(std::size_t count, unsigned seed = 1);

// An index entry: the 68-byte header with rows and row length, then
// rows x length pattern bytes (bodyBytes overrides the body's length when >= 0).
std::string IndexEntryBytes(std::int32_t rows, std::int32_t rowLength, long bodyBytes = -1);

} // namespace orvane::testing
