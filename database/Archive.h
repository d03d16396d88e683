// The archive object: reads a Fly! 1 EPD or Fly! 2 POD archive (header,
// directory, entries) and carries the state of the table loaded from it
// (template field list, DBD header, exchange-file header). Every size, count
// and offset is checked against the file before anything is allocated or read.
#pragma once

#include "database/Headers.h"
#include "database/Template.h"
#include "platform/BinaryFile.h"
#include "platform/UserInteraction.h"
#include "settings/Texts.h"

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace orvane {

enum class ArchiveKind { None = 0, Epd = 1, Pod = 2 };

// One directory entry, whatever the archive kind.
struct ArchiveEntry {
    std::string name; // as stored, with '\' separators (8-bit)
    std::uint32_t size = 0;
    std::uint32_t offset = 0;
    std::int32_t stamp = 0;
};

inline constexpr std::size_t kEpdHeaderSize = 272;
inline constexpr std::size_t kEpdEntrySize = 80;
inline constexpr std::size_t kPodShortHeaderSize = 96;
inline constexpr std::size_t kPod3HeaderSize = 288;
inline constexpr std::size_t kPodEntrySize = 20;
inline constexpr std::size_t kIndexHeaderSize = 68;

class ArchiveFile {
  public:
    // An archive object with no archive (a table loaded from exchange files
    // or a template read from a loose file).
    ArchiveFile() = default;
    // Calls OpenArchive; reports nothing. ui may be null (no messages shown).
    ArchiveFile(const std::string& path, UserInteraction* ui = nullptr);
    // Closes the file without reporting anything: call CloseFile() first to
    // learn whether a record written into the archive reached it.
    ~ArchiveFile();
    ArchiveFile(const ArchiveFile&) = delete;
    ArchiveFile& operator=(const ArchiveFile&) = delete;

    // Kind from the extension (".EPD"/".POD", any letter case); opens the file
    // read/write, or read-only when it cannot be written or has no write
    // permission at all (a file the user marked read-only stays unchanged,
    // whoever runs the program). False when the kind is None or the file
    // cannot be opened.
    bool OpenArchive(const std::string& path);

    // Both throw FileError (file not open, short file) or FormatError (counts
    // or offsets that do not fit in the file), naming the archive.
    void ReadHeader();
    void ReadDirectory();

    int FindEntry(std::string_view name) const; // exact, case-sensitive; -1 when absent
    // False when the entry is missing (a warning through the seam for EPD).
    bool ReadEntry(std::string_view name);
    // The entry's offset, the file left on its first record; -1 when missing.
    std::int64_t ReadDbdHeader(std::string_view name);
    bool ReadIndex(std::string_view name);
    // Moves by distance from the current position and reads n bytes; false on any failure.
    bool ReadRelative(std::int64_t distance, void* buffer, std::size_t n);

    ArchiveKind Kind() const { return kind_; }
    const std::string& Path() const { return path_; }
    bool IsOpen() const { return file_.IsOpen(); }
    BinaryFile& File() { return file_; }
    // True when the file was opened read-only.
    bool IsReadOnly() const { return readOnly_; }
    // Called before bytes are written into the archive through File().
    void MarkWritten() { written_ = true; }
    // Closes the file. After a write into it, a failed close throws FileError
    // saying that the bytes written may not be on the disk; a file that was
    // only read closes without a report.
    void CloseFile();
    std::uint64_t ArchiveSize() const; // 0 when no file is open

    // Throws RefusedError (ArchiveChanged) unless the file the path names is
    // still the one opened, unchanged since it was opened or last written
    // through here, and the directory read again gives entryName the same
    // place. The entries are then those read again.
    void CheckUnchanged(std::string_view entryName);
    // After a write through File(): the file as it is now is the one loaded,
    // and its modification time differs from the one before the write.
    void MarkChangedByWrite();

    const std::vector<ArchiveEntry>& Entries() const { return entries_; }
    int EntryCount() const { return static_cast<int>(entries_.size()); }

    // State of the table loaded from this archive.
    std::vector<unsigned char> EntryData; // the last entry read whole (the template)
    std::vector<FieldDef> Fields;         // the template's field list
    DbdHeader Dbd;
    std::array<unsigned char, kIndexHeaderSize> IndexHeader{};
    std::vector<unsigned char> IndexBody;
    DexHeader Dex;
    std::int32_t IndexRowCount() const { return GetI32(&IndexHeader[16]); }
    std::int32_t IndexRowLength() const { return GetI32(&IndexHeader[20]); }

    void SetInteraction(UserInteraction* ui) { ui_ = ui; }

  private:
    // Finds an entry, checks it against the file (at least `least` bytes) and
    // moves the file to its data; null when missing (a warning for EPD).
    const ArchiveEntry* LocateEntry(std::string_view name, const BiText& missing,
                                    std::uint32_t least);

    std::string path_;
    ArchiveKind kind_ = ArchiveKind::None;
    BinaryFile file_;
    std::vector<ArchiveEntry> entries_;
    std::array<unsigned char, kPod3HeaderSize> podHeader_{};
    std::array<unsigned char, kEpdHeaderSize> epdHeader_{};
    std::int32_t headerEntryCount_ = 0;
    std::uint32_t directoryOffset_ = 0;
    bool headerRead_ = false;
    bool readOnly_ = false;
    bool written_ = false;
    FileIdentity identity_; // the file as opened, or as last written
    UserInteraction* ui_ = nullptr;
};

// Kind of an archive file name by its extension alone.
ArchiveKind ArchiveKindOf(const std::string& path);

} // namespace orvane
