// The archive reader on any bytes: EPD, short-header POD and POD3 headers,
// directories and name lists, then every entry read whole, as a DBD header
// and as an index. A damaged archive may only give the project's own errors,
// and every entry read must hold the archive's bytes at its offset.
#include "FuzzSupport.h"

#include "database/Archive.h"
#include "platform/Errors.h"

#include <algorithm>
#include <cstring>

using namespace orvane;

namespace {

// Past this many entries the same code only runs again.
constexpr std::size_t kEntriesRead = 16;

void ReadOneEntry(ArchiveFile& pod, const ArchiveEntry& entry, std::string_view bytes) {
    try {
        if (pod.ReadEntry(entry.name)) {
            // The first entry of that name is the one read.
            const ArchiveEntry& read = pod.Entries()[std::size_t(pod.FindEntry(entry.name))];
            fuzz::Require(std::uint64_t(read.offset) + read.size <= bytes.size(),
                          "an entry read past the end of the archive");
            fuzz::Require(
                pod.EntryData.size() == read.size &&
                    (read.size == 0 ||
                     std::memcmp(pod.EntryData.data(), bytes.data() + read.offset, read.size) == 0),
                "an entry's data differ from the archive's bytes");
        }
    } catch (const OrvaneError&) {
    }
    try {
        const std::int64_t at = pod.ReadDbdHeader(entry.name);
        fuzz::Require(at < 0 || std::uint64_t(at) + DbdHeader::kSize <= bytes.size(),
                      "a DBD header read past the end of the archive");
        if (at >= 0)
            fuzz::Require(std::memcmp(pod.Dbd.bytes.data(), bytes.data() + at, DbdHeader::kSize) ==
                              0,
                          "a DBD header differs from the archive's bytes");
    } catch (const OrvaneError&) {
    }
    try {
        if (pod.ReadIndex(entry.name))
            fuzz::Require(pod.IndexBody.size() ==
                              std::size_t(pod.IndexRowCount()) * std::size_t(pod.IndexRowLength()),
                          "an index body of another size than its header says");
    } catch (const OrvaneError&) {
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::Input in(data, size);
    const char* extension = fuzz::ArchiveExtension(in.Byte());
    const std::string_view bytes = in.Rest();
    UnattendedInteraction ui;
    const std::string& path = fuzz::RamFiles::Get().Put(std::string("ARCHIVE") + extension, bytes);

    ArchiveFile pod(path, &ui);
    fuzz::Require(pod.IsOpen(), "the archive did not open");
    try {
        pod.ReadHeader();
        pod.ReadDirectory();
    } catch (const OrvaneError&) {
        return 0;
    }
    const std::size_t count = std::min(pod.Entries().size(), kEntriesRead);
    for (std::size_t i = 0; i < count; ++i)
        ReadOneEntry(pod, ArchiveEntry(pod.Entries()[i]), bytes);
    try {
        pod.ReadEntry("DATABASE\\MISSING.DBD");
    } catch (const OrvaneError&) {
    }
    unsigned char probe[8];
    pod.ReadRelative(-4, probe, sizeof probe);
    return 0;
}
