#include "platform/BinaryFile.h"

#include "platform/Errors.h"

#include <cerrno>
#include <filesystem>
#include <system_error>
#include <utility>

namespace orvane {

namespace {
std::string SystemReason() {
    return std::generic_category().message(errno);
}

std::FILE* OpenFile(const std::string& path, OpenMode mode) {
    const char* m = mode == OpenMode::Read ? "rb" : mode == OpenMode::ReadWrite ? "r+b" : "w+b";
    return std::fopen(path.c_str(), m);
}
} // namespace

BinaryFile::BinaryFile(const std::string& path, OpenMode mode) {
    if (!TryOpen(path, mode)) {
        const char* what = mode == OpenMode::Create ? "Cannot create file " : "Cannot open file ";
        throw FileError(what + path + ": " + SystemReason());
    }
}

BinaryFile::~BinaryFile() {
    Close();
}

BinaryFile::BinaryFile(BinaryFile&& other) noexcept
    : file_(std::exchange(other.file_, nullptr)), path_(std::move(other.path_)) {}

BinaryFile& BinaryFile::operator=(BinaryFile&& other) noexcept {
    if (this != &other) {
        Close();
        file_ = std::exchange(other.file_, nullptr);
        path_ = std::move(other.path_);
    }
    return *this;
}

bool BinaryFile::TryOpen(const std::string& path, OpenMode mode) {
    Close();
    path_ = path;
    // A folder opens as a FILE* on Linux; it is not a file for us.
    std::error_code ec;
    if (mode != OpenMode::Create && std::filesystem::is_directory(path, ec)) {
        errno = EISDIR;
        return false;
    }
    file_ = OpenFile(path, mode);
    return file_ != nullptr;
}

void BinaryFile::Close() {
    if (file_) {
        std::fclose(file_);
        file_ = nullptr;
    }
}

std::uint64_t BinaryFile::Size() const {
    if (!file_) throw FileError("File not open: " + path_);
    long here = std::ftell(file_);
    std::fseek(file_, 0, SEEK_END);
    long end = std::ftell(file_);
    std::fseek(file_, here, SEEK_SET);
    if (end < 0) throw FileError("Cannot read the size of " + path_);
    return static_cast<std::uint64_t>(end);
}

std::uint64_t BinaryFile::Position() const {
    if (!file_) throw FileError("File not open: " + path_);
    long here = std::ftell(file_);
    if (here < 0) throw FileError("Cannot read the position in " + path_);
    return static_cast<std::uint64_t>(here);
}

void BinaryFile::Seek(std::uint64_t offset) {
    if (!file_) throw FileError("Read error: file not open: " + path_);
    if (std::fseek(file_, static_cast<long>(offset), SEEK_SET) != 0)
        throw FileError("Cannot seek to offset " + std::to_string(offset) + " in " + path_);
}

bool BinaryFile::SeekRelative(std::int64_t distance) {
    if (!file_) return false;
    long here = std::ftell(file_);
    if (here < 0) return false;
    std::int64_t target = here + distance;
    if (target < 0 || static_cast<std::uint64_t>(target) > Size()) return false;
    return std::fseek(file_, static_cast<long>(target), SEEK_SET) == 0;
}

void BinaryFile::ReadExact(void* buffer, std::size_t n) {
    if (!file_) throw FileError("Read error: file not open: " + path_);
    if (n == 0) return;
    long here = std::ftell(file_);
    std::size_t got = std::fread(buffer, 1, n, file_);
    if (got != n)
        throw FileError("Read error in " + path_ + ": " + std::to_string(n) +
                        " bytes wanted at offset " + std::to_string(here) +
                        ", the file ends after " + std::to_string(got));
}

std::size_t BinaryFile::ReadSome(void* buffer, std::size_t n) {
    if (!file_) throw FileError("Read error: file not open: " + path_);
    return std::fread(buffer, 1, n, file_);
}

void BinaryFile::Write(const void* buffer, std::size_t n) {
    if (!file_) throw FileError("Write error: file not open: " + path_);
    if (n == 0) return;
    // A read followed by a write needs a positioning call in between.
    std::fseek(file_, 0, SEEK_CUR);
    if (std::fwrite(buffer, 1, n, file_) != n)
        throw FileError("Write error in " + path_ + ": " + SystemReason());
}

void BinaryFile::Flush() {
    if (file_ && std::fflush(file_) != 0)
        throw FileError("Write error in " + path_ + ": " + SystemReason());
}

std::int32_t BinaryFile::ReadI32() {
    unsigned char b[4];
    ReadExact(b, 4);
    return GetI32(b);
}

std::vector<unsigned char> ReadWholeFile(const std::string& path) {
    BinaryFile f(path, OpenMode::Read);
    std::vector<unsigned char> bytes(static_cast<std::size_t>(f.Size()));
    f.ReadExact(bytes.data(), bytes.size());
    return bytes;
}

bool FileExists(const std::string& path) {
    std::error_code ec;
    return std::filesystem::is_regular_file(path, ec);
}

bool DirectoryExists(const std::string& path) {
    std::error_code ec;
    return std::filesystem::is_directory(path, ec);
}

std::uint64_t FileSizeOf(const std::string& path) {
    std::error_code ec;
    auto n = std::filesystem::file_size(path, ec);
    if (ec) throw FileError("Cannot read the size of " + path + ": " + ec.message());
    return n;
}

} // namespace orvane
