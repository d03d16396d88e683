#include "database/ArchiveWriter.h"

#include "database/Archive.h"
#include "platform/AtomicFile.h"
#include "platform/BinaryFile.h"
#include "platform/Errors.h"
#include "settings/Texts.h"

#include <cstring>
#include <limits>

namespace orvane {

namespace {

void Put32(std::string& out, std::size_t at, std::uint32_t v) {
    PutU32(reinterpret_cast<unsigned char*>(out.data() + at), v);
}

std::uint32_t Checked32(std::uint64_t v) {
    if (v > std::numeric_limits<std::uint32_t>::max()) throw FormatError(txt::ArchiveTooLarge);
    return static_cast<std::uint32_t>(v);
}

void CheckName(const ArchiveSourceEntry& e, std::size_t maxLength) {
    if (e.name.find('\0') != std::string::npos) throw FormatError(txt::EntryNameZero, e.name);
    if (e.name.size() > maxLength) throw FormatError(txt::EntryNameTooLong, maxLength, e.name);
}

std::string BuildEpd(const std::vector<ArchiveSourceEntry>& entries) {
    const std::size_t count = entries.size();
    std::string out(kEpdHeaderSize + count * kEpdEntrySize, '\0');
    Put32(out, 260, Checked32(count));
    std::uint64_t offset = out.size();
    for (std::size_t i = 0; i < count; ++i) {
        const auto& e = entries[i];
        CheckName(e, 64);
        const std::size_t at = kEpdHeaderSize + i * kEpdEntrySize;
        std::memcpy(out.data() + at, e.name.data(), e.name.size());
        Put32(out, at + 64, Checked32(e.data.size()));
        Put32(out, at + 68, Checked32(offset));
        Put32(out, at + 72, static_cast<std::uint32_t>(e.stamp));
        offset += e.data.size();
    }
    Checked32(offset);
    for (const auto& e : entries)
        out += e.data;
    return out;
}

std::string BuildPod(bool pod3, const std::vector<ArchiveSourceEntry>& entries) {
    const std::size_t count = entries.size();
    const std::size_t headerSize = pod3 ? kPod3HeaderSize : kPodShortHeaderSize;
    std::string header(headerSize, '\0');
    if (pod3) std::memcpy(header.data(), "POD3", 4);
    Put32(header, 88, Checked32(count));

    std::string names;
    std::uint64_t dataSize = 0;
    for (const auto& e : entries) {
        CheckName(e, std::numeric_limits<std::size_t>::max());
        names += e.name;
        names += '\0';
        dataSize += e.data.size();
    }
    const std::uint64_t directorySize = count * kPodEntrySize + names.size();
    // POD3: header, data, directory. Short form: header, directory, data.
    const std::uint64_t dataStart = pod3 ? headerSize : headerSize + directorySize;
    const std::uint64_t directoryStart = pod3 ? headerSize + dataSize : headerSize;
    Checked32(dataStart + dataSize + (pod3 ? directorySize : 0));
    if (pod3) Put32(header, 264, Checked32(directoryStart));

    std::string directory(count * kPodEntrySize, '\0');
    std::uint64_t offset = dataStart;
    for (std::size_t i = 0; i < count; ++i) {
        const auto& e = entries[i];
        const std::size_t at = i * kPodEntrySize;
        Put32(directory, at + 4, Checked32(e.data.size()));
        Put32(directory, at + 8, Checked32(offset));
        Put32(directory, at + 12, static_cast<std::uint32_t>(e.stamp));
        offset += e.data.size();
    }

    std::string out = header;
    if (!pod3) out += directory + names;
    for (const auto& e : entries)
        out += e.data;
    if (pod3) out += directory + names;
    return out;
}

} // namespace

std::string BuildArchive(ArchiveLayout layout, const std::vector<ArchiveSourceEntry>& entries) {
    switch (layout) {
    case ArchiveLayout::Epd:
        return BuildEpd(entries);
    case ArchiveLayout::Pod3:
        return BuildPod(true, entries);
    case ArchiveLayout::PodShort:
        return BuildPod(false, entries);
    }
    return {};
}

void WriteArchive(const std::string& path, ArchiveLayout layout,
                  const std::vector<ArchiveSourceEntry>& entries) {
    WriteFileAtomically(path, BuildArchive(layout, entries));
}

} // namespace orvane
