// One bounds-checked binary file: every short read throws a FileError naming
// the file and the offset, so a damaged file never yields garbage values.
#pragma once

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace orvane {

enum class OpenMode {
    Read,      // existing file, read only
    ReadWrite, // existing file, read and write (shared with other programs)
    Create,    // new or truncated file, write (and read)
};

class BinaryFile {
  public:
    BinaryFile() = default;
    // Throws FileError when the file cannot be opened.
    BinaryFile(const std::string& path, OpenMode mode);
    ~BinaryFile();
    BinaryFile(const BinaryFile&) = delete;
    BinaryFile& operator=(const BinaryFile&) = delete;
    BinaryFile(BinaryFile&& other) noexcept;
    BinaryFile& operator=(BinaryFile&& other) noexcept;

    // Opens without throwing; false when the file cannot be opened.
    bool TryOpen(const std::string& path, OpenMode mode);
    void Close();
    bool IsOpen() const { return file_ != nullptr; }
    const std::string& Path() const { return path_; }

    std::uint64_t Size() const;
    std::uint64_t Position() const;
    void Seek(std::uint64_t offset);
    // Moves by a signed distance; false (no throw) when that leaves the file.
    bool SeekRelative(std::int64_t distance);

    // Reads exactly n bytes or throws FileError.
    void ReadExact(void* buffer, std::size_t n);
    // Reads up to n bytes; returns how many were read.
    std::size_t ReadSome(void* buffer, std::size_t n);
    void Write(const void* buffer, std::size_t n);
    void Flush();

    std::int32_t ReadI32();

  private:
    std::FILE* file_ = nullptr;
    std::string path_;
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

} // namespace orvane
