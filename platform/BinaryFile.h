// One bounds-checked binary file: every short read throws a FileError naming
// the file and the offset, so a damaged file never yields garbage values.
// Reads and writes go through one 64 KiB buffer each; every system call's
// result is checked, and a failed write or flush is a FileError naming the
// file and the system's reason. Offsets are 64-bit throughout.
#pragma once

#include "platform/Wording.h"

#include <cstdint>
#include <cstring>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace orvane {

enum class OpenMode {
    Read,      // existing file, read only
    ReadWrite, // existing file, read and write (shared with other programs)
    Create,    // a new file, write (and read): a name already taken, even by a
               // link or by a link to nowhere, fails with EEXIST and is never opened
};

// What tells one file on the disk from another: a file replaced by a rename
// has another device or inode (on Windows: volume and file index), one
// rewritten in place another size or modification time.
struct FileIdentity {
    std::uint64_t device = 0;
    std::uint64_t inode = 0;
    std::uint64_t size = 0;
    std::int64_t modifiedNs = 0;
    bool operator==(const FileIdentity&) const = default;
};

// Whether a path's last component is followed when it is a symbolic link.
enum class LastLink { Follow, Keep };
// The identity of the file that path names now; nullopt when it names none.
std::optional<FileIdentity> IdentityOfPath(const std::string& path, LastLink link);

// The file-system path of a UTF-8 path text (wide on Windows).
std::filesystem::path PathFromUtf8(std::string_view utf8);
// The system's text for an errno value.
std::string SystemReason(int error);

class BinaryFile {
  public:
    static constexpr std::size_t kBufferSize = 64 * 1024;

    BinaryFile() = default;
    // Throws FileError when the file cannot be opened.
    BinaryFile(const std::string& path, OpenMode mode);
    // Writes what is buffered and closes, without reporting a failure: call
    // Close() to learn whether the last buffered bytes reached the file.
    ~BinaryFile();
    BinaryFile(const BinaryFile&) = delete;
    BinaryFile& operator=(const BinaryFile&) = delete;
    BinaryFile(BinaryFile&& other) noexcept;
    BinaryFile& operator=(BinaryFile&& other) noexcept;

    // Opens without throwing; false (errno set) when the file cannot be opened.
    bool TryOpen(const std::string& path, OpenMode mode);
    // Writes what is buffered and closes; throws FileError when that fails
    // (the file is closed all the same).
    void Close();
    // Closes and drops what is still buffered (a file being abandoned).
    void Abandon() noexcept { CloseQuietly(); }
    bool IsOpen() const { return fd_ >= 0; }
    const std::string& Path() const { return path_; }
    // The name write errors give (a temporary file's target, say).
    void SetShownName(std::string name) { shownName_ = std::move(name); }

    std::uint64_t Size() const;
    std::uint64_t Position() const;
    void Seek(std::uint64_t offset);
    // Moves by a signed distance; false (no throw) when that leaves the file.
    bool SeekRelative(std::int64_t distance);

    // Reads exactly n bytes or throws FileError.
    void ReadExact(void* buffer, std::size_t n);
    // Reads up to n bytes; returns how many were read (fewer only at the end).
    std::size_t ReadSome(void* buffer, std::size_t n);
    void Write(const void* buffer, std::size_t n);
    // Hands the buffered bytes to the system.
    void Flush();
    // Flush, then ask the system to put the file's bytes on the disk.
    void Sync();
    // Flush, then let the system start putting the bytes written so far on
    // the disk while the writer goes on (a large file's Sync() then finds
    // little left to do). Does not wait and reports nothing: only Sync() tells
    // that the bytes arrived.
    void StartWriteback();

    std::int32_t ReadI32();

    // The identity of the open file (what the system says of it now).
    FileIdentity Identity() const;
    // An advisory lock on the whole file for writing, taken at once or not at
    // all: false (errno set) when another writer holds one, or cannot be had.
    // Other programs that take such locks wait for it; it goes with Unlock()
    // or the file's close.
    bool TryLockForWrite();
    void Unlock() noexcept;
    // After a write: makes the file's modification time differ from
    // modifiedNs (a write within the clock's resolution leaves it as it was),
    // so that whoever remembers the file as it was before sees a change.
    void MarkChangedSince(std::int64_t modifiedNs);

  private:
    [[noreturn]] void ThrowWriteError(int error) const;
    void RequireOpen(const BiText& what) const;
    void WriteAt(std::uint64_t offset, const unsigned char* data, std::size_t n);
    std::size_t ReadAt(std::uint64_t offset, unsigned char* data, std::size_t n);
    void CloseQuietly() noexcept;

    int fd_ = -1;
    std::string path_;
    std::string shownName_;
    std::uint64_t pos_ = 0;
    // Bytes written but not yet handed to the system, from file offset wstart_.
    std::vector<unsigned char> wbuf_;
    std::uint64_t wstart_ = 0;
    // Bytes read ahead, from file offset rstart_: rlen_ of them in rbuf_,
    // which is allocated on the first read and never zero-filled.
    std::unique_ptr<unsigned char[]> rbuf_;
    std::size_t rlen_ = 0;
    std::uint64_t rstart_ = 0;
};

// Little-endian helpers over byte buffers (memcpy, never casts).
inline std::int32_t GetI32(const unsigned char* p) {
    std::uint32_t v = std::uint32_t(p[0]) | std::uint32_t(p[1]) << 8 | std::uint32_t(p[2]) << 16 |
                      std::uint32_t(p[3]) << 24;
    std::int32_t r;
    std::memcpy(&r, &v, 4);
    return r;
}
inline std::uint32_t GetU32(const unsigned char* p) {
    return std::uint32_t(p[0]) | std::uint32_t(p[1]) << 8 | std::uint32_t(p[2]) << 16 |
           std::uint32_t(p[3]) << 24;
}
inline std::uint16_t GetU16(const unsigned char* p) {
    return std::uint16_t(p[0] | p[1] << 8);
}
inline double GetF64(const unsigned char* p) {
    std::uint64_t v = 0;
    for (int i = 7; i >= 0; --i)
        v = v << 8 | p[i];
    double d;
    std::memcpy(&d, &v, 8);
    return d;
}
inline void PutU32(unsigned char* p, std::uint32_t v) {
    p[0] = static_cast<unsigned char>(v);
    p[1] = static_cast<unsigned char>(v >> 8);
    p[2] = static_cast<unsigned char>(v >> 16);
    p[3] = static_cast<unsigned char>(v >> 24);
}
inline void PutI32(unsigned char* p, std::int32_t v) {
    PutU32(p, static_cast<std::uint32_t>(v));
}
inline void PutU16(unsigned char* p, std::uint16_t v) {
    p[0] = static_cast<unsigned char>(v);
    p[1] = static_cast<unsigned char>(v >> 8);
}
inline void PutF64(unsigned char* p, double d) {
    std::uint64_t v;
    std::memcpy(&v, &d, 8);
    for (int i = 0; i < 8; ++i)
        p[i] = static_cast<unsigned char>(v >> (8 * i));
}

// Whole-file helpers.
std::vector<unsigned char> ReadWholeFile(const std::string& path);
bool FileExists(const std::string& path);
bool DirectoryExists(const std::string& path);
std::uint64_t FileSizeOf(const std::string& path);
// True when the file exists and no one has write permission on it: the
// user's mark that it stays as it is, honoured whoever runs the program.
bool HasNoWritePermission(const std::string& path);

} // namespace orvane
