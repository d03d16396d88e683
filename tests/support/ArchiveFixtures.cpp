#include "support/ArchiveFixtures.h"

#include "database/Archive.h"

#include <stdexcept>

namespace orvane::testing {

std::string ExtensionFor(ArchiveLayout layout) {
    return layout == ArchiveLayout::Epd ? ".epd" : ".pod";
}

const char* LayoutName(ArchiveLayout layout) {
    switch (layout) {
    case ArchiveLayout::Epd:
        return "Epd";
    case ArchiveLayout::Pod3:
        return "Pod3";
    case ArchiveLayout::PodShort:
        return "PodShort";
    }
    return "?";
}

std::size_t EntryCountAt(ArchiveLayout layout) {
    return layout == ArchiveLayout::Epd ? 260 : 88;
}

std::size_t EntryFieldAt(const std::string& archive, ArchiveLayout layout, int index,
                         EntryField field) {
    const std::size_t i = static_cast<std::size_t>(index);
    const std::size_t f = field == EntryField::Size ? 0 : field == EntryField::Offset ? 4 : 8;
    switch (layout) {
    case ArchiveLayout::Epd:
        return kEpdHeaderSize + i * kEpdEntrySize + 64 + f;
    case ArchiveLayout::Pod3:
        return ReadU32(archive, kPod3DirectoryOffsetAt) + i * kPodEntrySize + 4 + f;
    case ArchiveLayout::PodShort:
        return kPodShortHeaderSize + i * kPodEntrySize + 4 + f;
    }
    throw std::logic_error("unknown layout");
}

void PatchU32(std::string& bytes, std::size_t at, std::uint32_t value) {
    if (at + 4 > bytes.size()) throw std::out_of_range("patch past the end of the fixture");
    for (int k = 0; k < 4; ++k)
        bytes[at + k] = static_cast<char>(value >> (8 * k));
}

std::uint32_t ReadU32(const std::string& bytes, std::size_t at) {
    if (at + 4 > bytes.size()) throw std::out_of_range("read past the end of the fixture");
    std::uint32_t v = 0;
    for (int k = 3; k >= 0; --k)
        v = v << 8 | static_cast<unsigned char>(bytes[at + k]);
    return v;
}

std::string PatternBytes(std::size_t count, unsigned seed) {
    std::string s(count, '\0');
    std::uint32_t x = seed * 2654435761u + 1;
    for (std::size_t i = 0; i < count; ++i) {
        x = x * 1103515245u + 12345u;
        s[i] = static_cast<char>(x >> 16);
    }
    return s;
}

std::string IndexEntryBytes(std::int32_t rows, std::int32_t rowLength, long bodyBytes) {
    std::string header(kIndexHeaderSize, '\0');
    PatchU32(header, 16, static_cast<std::uint32_t>(rows));
    PatchU32(header, 20, static_cast<std::uint32_t>(rowLength));
    const std::size_t body =
        bodyBytes >= 0 ? static_cast<std::size_t>(bodyBytes)
                       : static_cast<std::size_t>(rows) * static_cast<std::size_t>(rowLength);
    return header + PatternBytes(body, 7);
}

} // namespace orvane::testing
