#include "database/Archive.h"

#include "platform/Cp1252.h"
#include "platform/Errors.h"
#include "platform/Paths.h"
#include "settings/Texts.h"

#include <algorithm>
#include <cstring>
#include <optional>
#include <utility>

namespace orvane {

namespace {

constexpr std::size_t kEpdCountAt = 260;
constexpr std::size_t kPodCountAt = 88;
constexpr std::size_t kPod3DirectoryAt = 264;
constexpr std::size_t kEpdNameLength = 64;
// Names are read from the file in blocks of this size, never all at once.
constexpr std::size_t kNameBlock = 4096;

} // namespace

ArchiveKind ArchiveKindOf(const std::string& path) {
    const std::string ext = ToUpperAscii(ExtensionOf(path));
    if (ext == ".EPD") return ArchiveKind::Epd;
    if (ext == ".POD") return ArchiveKind::Pod;
    return ArchiveKind::None;
}

ArchiveFile::ArchiveFile(const std::string& path, UserInteraction* ui) : ui_(ui) {
    OpenArchive(path);
}

ArchiveFile::~ArchiveFile() {
    // A destructor never throws: whoever must know whether a write arrived
    // has called CloseFile() before.
    try {
        file_.Close();
    } catch (const FileError&) {
    }
}

void ArchiveFile::CloseFile() {
    const bool written = std::exchange(written_, false);
    try {
        file_.Close();
    } catch (const FileError& e) {
        if (written) throw FileError(txt::ArchiveCloseAfterWrite, e);
    }
}

bool ArchiveFile::OpenArchive(const std::string& path) {
    CloseFile();
    path_ = path;
    readOnly_ = false;
    entries_.clear();
    headerRead_ = false;
    headerEntryCount_ = 0;
    directoryOffset_ = 0;
    kind_ = ArchiveKindOf(path);
    if (kind_ == ArchiveKind::None) return false;
    // Read/write so that a record can be written back in place; a file that
    // cannot be written (read-only medium or permissions) can still be viewed.
    if (HasNoWritePermission(path) || !file_.TryOpen(path, OpenMode::ReadWrite)) {
        file_.TryOpen(path, OpenMode::Read);
        readOnly_ = true;
    }
    if (!file_.IsOpen()) return false;
    identity_ = file_.Identity();
    return true;
}

void ArchiveFile::MarkChangedByWrite() {
    try {
        file_.MarkChangedSince(identity_.modifiedNs);
    } catch (const FileError&) {
        // The record is written all the same; a time that cannot be moved on
        // leaves only writes within the clock's resolution unseen by others.
    }
    identity_ = file_.Identity();
}

void ArchiveFile::CheckUnchanged(std::string_view entryName) {
    if (!file_.IsOpen()) throw FileError(txt::ArchiveNotOpen, path_);
    // The path must still name the file open here (not one renamed over it,
    // nor none), unchanged since it was loaded or last written through here.
    const auto atPath = IdentityOfPath(path_, LastLink::Follow);
    const FileIdentity now = file_.Identity();
    bool same = atPath && atPath->device == identity_.device && atPath->inode == identity_.inode &&
                now == identity_;
    // A rewrite that kept the size and the time (or came within the time's
    // resolution) may still have moved the entry: its place is read again.
    if (same) {
        const int index = FindEntry(entryName);
        const std::optional<ArchiveEntry> before =
            index < 0 ? std::nullopt
                      : std::optional<ArchiveEntry>(entries_[static_cast<std::size_t>(index)]);
        try {
            ReadHeader();
            ReadDirectory();
        } catch (const OrvaneError&) {
            same = false;
        }
        const int again = FindEntry(entryName);
        const ArchiveEntry* after =
            again < 0 ? nullptr : &entries_[static_cast<std::size_t>(again)];
        if (same && (before.has_value() != (after != nullptr) ||
                     (after && (after->offset != before->offset || after->size != before->size))))
            same = false;
    }
    if (!same) throw ArchiveChangedError(txt::ArchiveChanged, path_);
}

std::uint64_t ArchiveFile::ArchiveSize() const {
    return file_.IsOpen() ? file_.Size() : 0;
}

namespace {

template <typename... A>
[[noreturn]] void Damaged(const std::string& path, BiText fault, const A&... args) {
    throw FormatError(txt::DamagedArchive, path, MessageOf(fault, args...));
}

void RequireOpen(const BinaryFile& file, const std::string& path) {
    if (!file.IsOpen()) throw FileError(txt::ArchiveNotOpen, path);
}

} // namespace

void ArchiveFile::ReadHeader() {
    RequireOpen(file_, path_);
    entries_.clear();
    headerRead_ = false;
    const std::uint64_t fileSize = file_.Size();
    file_.Seek(0);

    std::uint64_t directoryOffset = 0;
    std::uint64_t minEntryBytes = 0; // what one entry needs at least in the file
    if (kind_ == ArchiveKind::Epd) {
        if (fileSize < kEpdHeaderSize) Damaged(path_, txt::ArchiveShorterThanHeader, fileSize, 272);
        file_.ReadExact(epdHeader_.data(), kEpdHeaderSize);
        headerEntryCount_ = GetI32(&epdHeader_[kEpdCountAt]);
        directoryOffset = kEpdHeaderSize;
        minEntryBytes = kEpdEntrySize;
    } else if (kind_ == ArchiveKind::Pod) {
        podHeader_.fill(0);
        if (fileSize < kPodShortHeaderSize)
            Damaged(path_, txt::ArchiveShorterThanHeader, fileSize, 96);
        file_.ReadExact(podHeader_.data(), kPodShortHeaderSize);
        const bool pod3 = std::memcmp(podHeader_.data(), "POD3", 4) == 0;
        if (pod3) {
            if (fileSize < kPod3HeaderSize) Damaged(path_, txt::ArchiveShorterThanPod3, fileSize);
            file_.ReadExact(podHeader_.data() + kPodShortHeaderSize,
                            kPod3HeaderSize - kPodShortHeaderSize);
            directoryOffset = GetU32(&podHeader_[kPod3DirectoryAt]);
        } else {
            directoryOffset = kPodShortHeaderSize;
        }
        headerEntryCount_ = GetI32(&podHeader_[kPodCountAt]);
        // A directory entry and at least the zero byte ending its name.
        minEntryBytes = kPodEntrySize + 1;
    } else {
        throw FileError(txt::NotAnArchive, path_);
    }

    if (headerEntryCount_ < 0) Damaged(path_, txt::NegativeEntryCount, headerEntryCount_);
    if (directoryOffset > fileSize)
        Damaged(path_, txt::DirectoryPastEnd, directoryOffset, fileSize);
    const std::uint64_t needed = std::uint64_t(headerEntryCount_) * minEntryBytes;
    if (needed > fileSize - directoryOffset)
        Damaged(path_, txt::EntryCountTooLarge, headerEntryCount_, fileSize);
    directoryOffset_ = static_cast<std::uint32_t>(directoryOffset);
    headerRead_ = true;
}

void ArchiveFile::ReadDirectory() {
    RequireOpen(file_, path_);
    if (!headerRead_) throw FileError(txt::HeaderNotRead, path_);
    entries_.clear();
    const std::size_t count = static_cast<std::size_t>(headerEntryCount_);
    const std::size_t entrySize = kind_ == ArchiveKind::Epd ? kEpdEntrySize : kPodEntrySize;
    // ReadHeader has checked that count entries fit in the file.
    std::vector<unsigned char> raw(count * entrySize);
    file_.Seek(directoryOffset_);
    file_.ReadExact(raw.data(), raw.size());

    std::vector<ArchiveEntry> entries(count);
    for (std::size_t i = 0; i < count; ++i) {
        const unsigned char* e = raw.data() + i * entrySize;
        ArchiveEntry& entry = entries[i];
        if (kind_ == ArchiveKind::Epd) {
            const auto* name = reinterpret_cast<const char*>(e);
            entry.name.assign(name, std::find(name, name + kEpdNameLength, '\0'));
            entry.size = GetU32(e + 64);
            entry.offset = GetU32(e + 68);
            entry.stamp = GetI32(e + 72);
        } else {
            entry.size = GetU32(e + 4);
            entry.offset = GetU32(e + 8);
            entry.stamp = GetI32(e + 12);
        }
    }

    if (kind_ == ArchiveKind::Pod) {
        // The names follow the directory: count zero-terminated strings.
        std::vector<char> block(kNameBlock);
        std::size_t have = 0, used = 0, next = 0;
        std::string current;
        while (next < count) {
            if (used == have) {
                have = file_.ReadSome(block.data(), block.size());
                used = 0;
                if (have == 0) Damaged(path_, txt::NameListEnds, next, count);
            }
            const char* start = block.data() + used;
            const char* end = block.data() + have;
            const char* zero = std::find(start, end, '\0');
            current.append(start, zero);
            used = static_cast<std::size_t>(zero - block.data());
            if (zero != end) {
                entries[next++].name = std::move(current);
                current.clear();
                ++used;
            }
        }
    }
    entries_ = std::move(entries);
}

int ArchiveFile::FindEntry(std::string_view name) const {
    for (std::size_t i = 0; i < entries_.size(); ++i)
        if (entries_[i].name == name) return static_cast<int>(i);
    return -1;
}

namespace {

// The entry's data must lie inside the file, and at least `least` bytes of it.
void CheckEntry(const ArchiveEntry& entry, std::uint64_t fileSize, const std::string& path,
                std::uint64_t least = 0) {
    const std::uint64_t end = std::uint64_t(entry.offset) + entry.size;
    if (end > fileSize)
        Damaged(path, txt::EntryPastEnd, Cp1252ToUtf8(entry.name), entry.offset, entry.size,
                fileSize);
    if (entry.size < least)
        Damaged(path, txt::EntryShorterThanHeader, Cp1252ToUtf8(entry.name), entry.size, least);
}

} // namespace

const ArchiveEntry* ArchiveFile::LocateEntry(std::string_view name, const BiText& missing,
                                             std::uint32_t least) {
    RequireOpen(file_, path_);
    const int index = FindEntry(name);
    if (index < 0) {
        // Fly! 1 archives say what is missing; Fly! 2 archives stay silent.
        if (kind_ == ArchiveKind::Epd && ui_)
            ui_->Show(MessageKind::Warning, MessageOf(missing, Cp1252ToUtf8(name)));
        return nullptr;
    }
    const ArchiveEntry& entry = entries_[static_cast<std::size_t>(index)];
    CheckEntry(entry, file_.Size(), path_, least);
    file_.Seek(entry.offset);
    return &entry;
}

bool ArchiveFile::ReadEntry(std::string_view name) {
    const ArchiveEntry* entry = LocateEntry(name, txt::EntryNotFound, 0);
    if (!entry) return false;
    EntryData.assign(entry->size, 0);
    file_.ReadExact(EntryData.data(), EntryData.size());
    return true;
}

std::int64_t ArchiveFile::ReadDbdHeader(std::string_view name) {
    if (!LocateEntry(name, txt::EntryNotFound, DbdHeader::kSize)) return -1;
    const std::int64_t position = static_cast<std::int64_t>(file_.Position());
    file_.ReadExact(Dbd.bytes.data(), DbdHeader::kSize);
    return position;
}

bool ArchiveFile::ReadIndex(std::string_view name) {
    const ArchiveEntry* entry = LocateEntry(name, txt::IndexNotFound, kIndexHeaderSize);
    if (!entry) return false;
    const std::uint64_t fileSize = file_.Size();
    file_.ReadExact(IndexHeader.data(), kIndexHeaderSize);
    const std::int32_t rows = IndexRowCount();
    const std::int32_t length = IndexRowLength();
    if (rows < 0 || length < 0)
        Damaged(path_, txt::IndexNegative, Cp1252ToUtf8(name), rows, length);
    const std::uint64_t body = std::uint64_t(rows) * std::uint64_t(length);
    const std::uint64_t room = fileSize - (std::uint64_t(entry->offset) + kIndexHeaderSize);
    if (body > room) Damaged(path_, txt::IndexTooLarge, Cp1252ToUtf8(name), rows, length);
    IndexBody.assign(static_cast<std::size_t>(body), 0);
    file_.ReadExact(IndexBody.data(), IndexBody.size());
    return true;
}

bool ArchiveFile::ReadRelative(std::int64_t distance, void* buffer, std::size_t n) {
    if (!file_.IsOpen()) return false;
    try {
        if (!file_.SeekRelative(distance)) return false;
        if (file_.Position() + n > file_.Size()) return false;
        file_.ReadExact(buffer, n);
        return true;
    } catch (...) {
        return false;
    }
}

} // namespace orvane
