#include "platform/BinaryFile.h"

#include "platform/Errors.h"
#include "platform/FileTexts.h"

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <system_error>
#include <utility>

#ifdef _WIN32
#include <io.h>
#ifndef NOMINMAX
#define NOMINMAX // std::min below, not the header's macro
#endif
#include <windows.h>
#else
#include <unistd.h>
#endif

namespace orvane {

namespace fs = std::filesystem;

std::filesystem::path PathFromUtf8(std::string_view utf8) {
#ifdef _WIN32
    return fs::path(std::u8string(utf8.begin(), utf8.end()));
#else
    return fs::path(std::string(utf8));
#endif
}

std::string SystemReason(int error) {
    return std::generic_category().message(error);
}

namespace {

// The system calls, one place for each platform.
#ifdef _WIN32
int OpenFd(const fs::path& p, OpenMode mode) {
    int flags = _O_BINARY | _O_NOINHERIT;
    flags |= mode == OpenMode::Read        ? _O_RDONLY
             : mode == OpenMode::ReadWrite ? _O_RDWR
                                           : _O_RDWR | _O_CREAT | _O_EXCL;
    return _wopen(p.c_str(), flags, _S_IREAD | _S_IWRITE);
}
long long PRead(int fd, void* data, std::size_t n, std::uint64_t offset) {
    if (_lseeki64(fd, static_cast<long long>(offset), SEEK_SET) < 0) return -1;
    return _read(fd, data, static_cast<unsigned>(std::min<std::size_t>(n, 1u << 30)));
}
long long PWrite(int fd, const void* data, std::size_t n, std::uint64_t offset) {
    if (_lseeki64(fd, static_cast<long long>(offset), SEEK_SET) < 0) return -1;
    return _write(fd, data, static_cast<unsigned>(std::min<std::size_t>(n, 1u << 30)));
}
int SyncFd(int fd) {
    return _commit(fd);
}
int CloseFd(int fd) {
    return _close(fd);
}
bool FdSize(int fd, std::uint64_t& size) {
    long long end = _filelengthi64(fd);
    if (end < 0) return false;
    size = static_cast<std::uint64_t>(end);
    return true;
}
HANDLE HandleOf(int fd) {
    return reinterpret_cast<HANDLE>(_get_osfhandle(fd));
}
// FILETIME counts 100 ns steps from 1601; the identity, nanoseconds from 1970.
constexpr std::int64_t kFileTimeOf1970 = 116444736000000000LL;
// The volume and the file index stand for the device and the inode.
FileIdentity IdentityOf(const BY_HANDLE_FILE_INFORMATION& i) {
    const auto written = static_cast<std::int64_t>(
        std::uint64_t(i.ftLastWriteTime.dwHighDateTime) << 32 | i.ftLastWriteTime.dwLowDateTime);
    return {i.dwVolumeSerialNumber, std::uint64_t(i.nFileIndexHigh) << 32 | i.nFileIndexLow,
            std::uint64_t(i.nFileSizeHigh) << 32 | i.nFileSizeLow,
            (written - kFileTimeOf1970) * 100};
}
bool FdIdentity(int fd, FileIdentity& id) {
    BY_HANDLE_FILE_INFORMATION info;
    if (!GetFileInformationByHandle(HandleOf(fd), &info)) {
        errno = EIO;
        return false;
    }
    id = IdentityOf(info);
    return true;
}
bool PathIdentity(const fs::path& p, LastLink link, FileIdentity& id) {
    const DWORD flags =
        FILE_FLAG_BACKUP_SEMANTICS | (link == LastLink::Keep ? FILE_FLAG_OPEN_REPARSE_POINT : 0);
    HANDLE h = CreateFileW(p.c_str(), FILE_READ_ATTRIBUTES,
                           FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                           OPEN_EXISTING, flags, nullptr);
    if (h == INVALID_HANDLE_VALUE) return false;
    BY_HANDLE_FILE_INFORMATION info;
    const bool found = GetFileInformationByHandle(h, &info) != 0;
    CloseHandle(h);
    if (found) id = IdentityOf(info);
    return found;
}
int SetModifiedNs(int fd, std::int64_t ns) {
    const auto steps = static_cast<std::uint64_t>(ns / 100 + kFileTimeOf1970);
    FILETIME written{static_cast<DWORD>(steps), static_cast<DWORD>(steps >> 32)};
    return SetFileTime(HandleOf(fd), nullptr, nullptr, &written) ? 0 : EIO;
}
// The whole file, locked against other writers (LockFileEx, which Windows
// enforces on every handle).
bool LockFd(int fd) {
    OVERLAPPED at{};
    if (LockFileEx(HandleOf(fd), LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, MAXDWORD,
                   MAXDWORD, &at))
        return true;
    errno = GetLastError() == ERROR_LOCK_VIOLATION ? EAGAIN : EINVAL;
    return false;
}
void UnlockFd(int fd) {
    OVERLAPPED at{};
    UnlockFileEx(HandleOf(fd), 0, MAXDWORD, MAXDWORD, &at);
}
#else
int OpenFd(const fs::path& p, OpenMode mode) {
    int flags = O_CLOEXEC;
    flags |= mode == OpenMode::Read ? O_RDONLY
             : mode == OpenMode::ReadWrite ? O_RDWR
                                           : O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW;
    int fd;
    do
        fd = ::open(p.c_str(), flags, 0666);
    while (fd < 0 && errno == EINTR);
    return fd;
}
long long PRead(int fd, void* data, std::size_t n, std::uint64_t offset) {
    return ::pread(fd, data, n, static_cast<off_t>(offset));
}
long long PWrite(int fd, const void* data, std::size_t n, std::uint64_t offset) {
    return ::pwrite(fd, data, n, static_cast<off_t>(offset));
}
int SyncFd(int fd) {
    return ::fsync(fd);
}
int CloseFd(int fd) {
    return ::close(fd);
}
bool FdSize(int fd, std::uint64_t& size) {
    struct stat st;
    if (::fstat(fd, &st) != 0) return false;
    size = static_cast<std::uint64_t>(st.st_size);
    return true;
}
FileIdentity IdentityOf(const struct stat& st) {
    return {static_cast<std::uint64_t>(st.st_dev), static_cast<std::uint64_t>(st.st_ino),
            static_cast<std::uint64_t>(st.st_size),
            static_cast<std::int64_t>(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec};
}
bool FdIdentity(int fd, FileIdentity& id) {
    struct stat st;
    if (::fstat(fd, &st) != 0) return false;
    id = IdentityOf(st);
    return true;
}
bool PathIdentity(const fs::path& p, LastLink link, FileIdentity& id) {
    struct stat st;
    if ((link == LastLink::Follow ? ::stat(p.c_str(), &st) : ::lstat(p.c_str(), &st)) != 0)
        return false;
    id = IdentityOf(st);
    return true;
}
int SetModifiedNs(int fd, std::int64_t ns) {
    const struct timespec times[2] = {{0, UTIME_OMIT}, {ns / 1000000000, ns % 1000000000}};
    return ::futimens(fd, times) == 0 ? 0 : errno;
}
// A write lock on the whole file. On Linux the lock belongs to this open
// file, not to the process: a second open of the same file in this process
// is a writer of its own, and closing another descriptor of the file does
// not drop the lock. Elsewhere, the process's record lock.
bool LockFd(int fd) {
    struct flock lock {};
    lock.l_type = F_WRLCK;
    lock.l_whence = SEEK_SET;
#ifdef F_OFD_SETLK
    return ::fcntl(fd, F_OFD_SETLK, &lock) == 0;
#else
    return ::fcntl(fd, F_SETLK, &lock) == 0;
#endif
}
void UnlockFd(int fd) {
    struct flock lock {};
    lock.l_type = F_UNLCK;
    lock.l_whence = SEEK_SET;
#ifdef F_OFD_SETLK
    ::fcntl(fd, F_OFD_SETLK, &lock);
#else
    ::fcntl(fd, F_SETLK, &lock);
#endif
}
#endif

} // namespace

BinaryFile::BinaryFile(const std::string& path, OpenMode mode) {
    if (!TryOpen(path, mode)) {
        const int error = errno;
        throw FileError(mode == OpenMode::Create ? txt::CannotCreateFile : txt::CannotOpenFile,
                        path, SystemReason(error));
    }
}

BinaryFile::~BinaryFile() {
    // Best effort, as a stream's destructor does; writers that must know
    // whether their bytes arrived call Flush() or Close() themselves.
    try {
        Flush();
    } catch (const FileError&) {
    }
    CloseQuietly();
}

BinaryFile::BinaryFile(BinaryFile&& other) noexcept {
    *this = std::move(other);
}

BinaryFile& BinaryFile::operator=(BinaryFile&& other) noexcept {
    if (this != &other) {
        CloseQuietly();
        fd_ = std::exchange(other.fd_, -1);
        path_ = std::move(other.path_);
        shownName_ = std::move(other.shownName_);
        pos_ = other.pos_;
        wbuf_ = std::move(other.wbuf_);
        wstart_ = other.wstart_;
        rbuf_ = std::move(other.rbuf_);
        rlen_ = std::exchange(other.rlen_, 0);
        rstart_ = other.rstart_;
        other.wbuf_.clear();
    }
    return *this;
}

bool BinaryFile::TryOpen(const std::string& path, OpenMode mode) {
    CloseQuietly();
    path_ = path;
    shownName_.clear();
    const fs::path p = PathFromUtf8(path);
    // A folder opens as a descriptor on Linux; it is not a file for us.
    std::error_code ec;
    if (mode != OpenMode::Create && fs::is_directory(p, ec)) {
        errno = EISDIR;
        return false;
    }
    fd_ = OpenFd(p, mode);
    pos_ = 0;
    return fd_ >= 0;
}

void BinaryFile::CloseQuietly() noexcept {
    if (fd_ < 0) return;
    wbuf_.clear();
    rlen_ = 0;
    CloseFd(fd_);
    fd_ = -1;
}

void BinaryFile::Close() {
    if (fd_ < 0) return;
    int error = 0;
    try {
        Flush();
    } catch (const FileError&) {
        CloseQuietly();
        throw;
    }
    if (CloseFd(fd_) != 0) error = errno;
    fd_ = -1;
    rlen_ = 0;
    if (error != 0) ThrowWriteError(error);
}

void BinaryFile::RequireOpen(const BiText& what) const {
    if (fd_ < 0) throw FileError(txt::FileNotOpen, what, path_);
}

void BinaryFile::ThrowWriteError(int error) const {
    throw FileError(txt::WriteErrorIn, shownName_.empty() ? path_ : shownName_,
                    SystemReason(error));
}

std::uint64_t BinaryFile::Size() const {
    RequireOpen(txt::ReadErrorWord);
    std::uint64_t size = 0;
    if (!FdSize(fd_, size)) throw FileError(txt::CannotReadSize, path_, SystemReason(errno));
    // Bytes still in the write buffer count: they are part of the file.
    if (!wbuf_.empty()) size = std::max<std::uint64_t>(size, wstart_ + wbuf_.size());
    return size;
}

std::uint64_t BinaryFile::Position() const {
    RequireOpen(txt::ReadErrorWord);
    return pos_;
}

void BinaryFile::Seek(std::uint64_t offset) {
    RequireOpen(txt::ReadErrorWord);
    if (offset > static_cast<std::uint64_t>(INT64_MAX))
        throw FileError(txt::CannotSeek, offset, path_);
    pos_ = offset;
    // Another program may have changed the file since it was read ahead (a
    // shared archive): a positioning drops what was read ahead, as stdio does.
    rlen_ = 0;
}

bool BinaryFile::SeekRelative(std::int64_t distance) {
    if (fd_ < 0) return false;
    const std::uint64_t size = Size();
    if (distance < 0) {
        const std::uint64_t back = static_cast<std::uint64_t>(-(distance + 1)) + 1;
        if (back > pos_) return false;
        pos_ -= back;
    } else {
        const std::uint64_t forward = static_cast<std::uint64_t>(distance);
        if (pos_ > size || forward > size - pos_) return false;
        pos_ += forward;
    }
    rlen_ = 0;
    return true;
}

void BinaryFile::WriteAt(std::uint64_t offset, const unsigned char* data, std::size_t n) {
    while (n > 0) {
        long long done = PWrite(fd_, data, n, offset);
        if (done < 0) {
            if (errno == EINTR) continue;
            ThrowWriteError(errno);
        }
        if (done == 0) ThrowWriteError(ENOSPC);
        data += done;
        n -= static_cast<std::size_t>(done);
        offset += static_cast<std::uint64_t>(done);
    }
}

std::size_t BinaryFile::ReadAt(std::uint64_t offset, unsigned char* data, std::size_t n) {
    std::size_t got = 0;
    while (got < n) {
        long long done = PRead(fd_, data + got, n - got, offset + got);
        if (done < 0) {
            if (errno == EINTR) continue;
            throw FileError(txt::ReadErrorAt, path_, offset + got, SystemReason(errno));
        }
        if (done == 0) break; // the end of the file
        got += static_cast<std::size_t>(done);
    }
    return got;
}

void BinaryFile::Flush() {
    if (fd_ < 0 || wbuf_.empty()) return;
    // The buffer is dropped whether or not the write succeeds: a failed
    // write is reported once, and the caller abandons the file.
    std::vector<unsigned char> pending;
    pending.swap(wbuf_);
    WriteAt(wstart_, pending.data(), pending.size());
    pending.clear();
    wbuf_.swap(pending); // keeps the capacity for the next writes
}

void BinaryFile::Sync() {
    RequireOpen(txt::WriteErrorWord);
    Flush();
    if (SyncFd(fd_) != 0) ThrowWriteError(errno);
}

void BinaryFile::StartWriteback() {
    RequireOpen(txt::WriteErrorWord);
    Flush();
#ifdef __linux__
    ::sync_file_range(fd_, 0, 0, SYNC_FILE_RANGE_WRITE);
#endif
}

std::size_t BinaryFile::ReadSome(void* buffer, std::size_t n) {
    RequireOpen(txt::ReadErrorWord);
    Flush();
    auto* out = static_cast<unsigned char*>(buffer);
    std::size_t done = 0;
    while (done < n) {
        if (pos_ >= rstart_ && pos_ < rstart_ + rlen_) {
            const std::size_t at = static_cast<std::size_t>(pos_ - rstart_);
            const std::size_t k = std::min(n - done, rlen_ - at);
            std::memcpy(out + done, rbuf_.get() + at, k);
            done += k;
            pos_ += k;
            continue;
        }
        if (n - done >= kBufferSize) {
            // Large reads go straight into the caller's buffer.
            const std::size_t got = ReadAt(pos_, out + done, n - done);
            done += got;
            pos_ += got;
            break;
        }
        if (!rbuf_) rbuf_.reset(new unsigned char[kBufferSize]);
        rstart_ = pos_;
        rlen_ = 0; // kept empty should the read throw
        rlen_ = ReadAt(pos_, rbuf_.get(), kBufferSize);
        if (rlen_ == 0) break;
    }
    return done;
}

void BinaryFile::ReadExact(void* buffer, std::size_t n) {
    RequireOpen(txt::ReadErrorWord);
    if (n == 0) return;
    const std::uint64_t here = pos_;
    const std::size_t got = ReadSome(buffer, n);
    if (got != n) throw FileError(txt::ShortRead, path_, n, here, got);
}

void BinaryFile::Write(const void* buffer, std::size_t n) {
    RequireOpen(txt::WriteErrorWord);
    if (n == 0) return;
    rlen_ = 0; // what was read ahead may be overwritten now
    const auto* data = static_cast<const unsigned char*>(buffer);
    if (!wbuf_.empty() && pos_ != wstart_ + wbuf_.size()) Flush();
    if (wbuf_.empty()) {
        wstart_ = pos_;
        wbuf_.reserve(kBufferSize);
    }
    if (wbuf_.size() + n > kBufferSize) {
        Flush();
        wstart_ = pos_;
        if (n >= kBufferSize) {
            WriteAt(pos_, data, n);
            pos_ += n;
            return;
        }
    }
    wbuf_.insert(wbuf_.end(), data, data + n);
    pos_ += n;
}

std::int32_t BinaryFile::ReadI32() {
    unsigned char b[4];
    ReadExact(b, 4);
    return GetI32(b);
}

FileIdentity BinaryFile::Identity() const {
    RequireOpen(txt::ReadErrorWord);
    FileIdentity id;
    if (!FdIdentity(fd_, id)) throw FileError(txt::CannotReadSize, path_, SystemReason(errno));
    return id;
}

bool BinaryFile::TryLockForWrite() {
    if (fd_ < 0) {
        errno = EBADF;
        return false;
    }
    return LockFd(fd_);
}

void BinaryFile::Unlock() noexcept {
    if (fd_ >= 0) UnlockFd(fd_);
}

void BinaryFile::MarkChangedSince(std::int64_t modifiedNs) {
    const FileIdentity now = Identity();
    if (now.modifiedNs != modifiedNs) return;
#ifdef _WIN32
    const std::int64_t later = modifiedNs + 100; // the system's step
#else
    const std::int64_t later = modifiedNs + 1;
#endif
    if (const int error = SetModifiedNs(fd_, later)) ThrowWriteError(error);
}

std::optional<FileIdentity> IdentityOfPath(const std::string& path, LastLink link) {
    FileIdentity id;
    if (!PathIdentity(PathFromUtf8(path), link, id)) return std::nullopt;
    return id;
}

std::vector<unsigned char> ReadWholeFile(const std::string& path) {
    BinaryFile f(path, OpenMode::Read);
    std::vector<unsigned char> bytes(static_cast<std::size_t>(f.Size()));
    f.ReadExact(bytes.data(), bytes.size());
    return bytes;
}

bool FileExists(const std::string& path) {
    std::error_code ec;
    return fs::is_regular_file(PathFromUtf8(path), ec);
}

bool DirectoryExists(const std::string& path) {
    std::error_code ec;
    return fs::is_directory(PathFromUtf8(path), ec);
}

std::uint64_t FileSizeOf(const std::string& path) {
    std::error_code ec;
    auto n = fs::file_size(PathFromUtf8(path), ec);
    if (ec) throw FileError(txt::CannotReadSize, path, ec.message());
    return n;
}

bool HasNoWritePermission(const std::string& path) {
    std::error_code ec;
    const auto st = fs::status(PathFromUtf8(path), ec);
    if (ec || !fs::exists(st)) return false;
    const auto writeBits =
        fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write;
    return (st.permissions() & writeBits) == fs::perms::none;
}

} // namespace orvane
