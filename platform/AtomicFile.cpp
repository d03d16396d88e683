#include "platform/AtomicFile.h"

#include "platform/Errors.h"
#include "platform/FileTexts.h"

#include <atomic>
#include <cerrno>
#include <filesystem>
#include <system_error>

#ifdef _WIN32
#include <process.h>
#include <windows.h>
#else
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace orvane {

namespace fs = std::filesystem;

namespace {

constexpr std::string_view kTag = ".orvane-";

std::string Utf8Of(const fs::path& p) {
#ifdef _WIN32
    auto u8 = p.u8string();
    return std::string(u8.begin(), u8.end());
#else
    return p.string();
#endif
}

long ProcessId() {
#ifdef _WIN32
    return static_cast<long>(_getpid());
#else
    return static_cast<long>(::getpid());
#endif
}

bool ProcessIsRunning(long pid) {
    if (pid <= 0) return true; // not ours to judge
#ifdef _WIN32
    HANDLE h = OpenProcess(SYNCHRONIZE, FALSE, static_cast<DWORD>(pid));
    if (!h) return GetLastError() == ERROR_ACCESS_DENIED;
    DWORD code = WaitForSingleObject(h, 0);
    CloseHandle(h);
    return code == WAIT_TIMEOUT;
#else
    return ::kill(static_cast<pid_t>(pid), 0) == 0 || errno != ESRCH;
#endif
}

// The real file a target names: a symbolic link is followed, so the link
// stays and the file it points to is replaced.
std::string ResolveLinks(const std::string& target) {
    std::error_code ec;
    const fs::path p = PathFromUtf8(target);
    if (!fs::is_symlink(p, ec)) return target;
    fs::path resolved = fs::weakly_canonical(p, ec);
    return ec ? target : Utf8Of(resolved);
}

bool IsReadOnly(const std::string& target) {
    if (HasNoWritePermission(target)) return true;
#ifndef _WIN32
    if (::access(PathFromUtf8(target).c_str(), W_OK) != 0 && errno == EACCES) return true;
#endif
    return false;
}

// Removes ".<name>.orvane-<pid>-<n>.tmp" files beside the target whose
// process no longer runs: what a save killed half-way left behind.
void RemoveStaleTemporaries(const std::string& target) {
    const fs::path p = PathFromUtf8(target);
    const std::string prefix = "." + Utf8Of(p.filename()) + std::string(kTag);
    fs::path folder = p.parent_path();
    if (folder.empty()) folder = ".";
    std::error_code ec;
    fs::directory_iterator it(folder, ec), end;
    for (; !ec && it != end; it.increment(ec)) {
        const std::string name = Utf8Of(it->path().filename());
        if (name.size() <= prefix.size() + 4 || name.compare(0, prefix.size(), prefix) != 0 ||
            name.compare(name.size() - 4, 4, ".tmp") != 0)
            continue;
        long pid = 0;
        std::size_t i = prefix.size();
        while (i < name.size() && name[i] >= '0' && name[i] <= '9' && pid < 100000000L)
            pid = pid * 10 + (name[i++] - '0');
        if (i == prefix.size() || i >= name.size() || name[i] != '-') continue;
        if (ProcessIsRunning(pid)) continue;
        std::error_code ignored;
        fs::remove(it->path(), ignored);
    }
}

std::string TemporaryNameFor(const std::string& target) {
    static std::atomic<unsigned> counter{0};
    return AtomicFile::TemporaryPrefixFor(target) + std::to_string(ProcessId()) + "-" +
           std::to_string(counter++) + ".tmp";
}

void SyncFolderOf(const std::string& path) {
#ifndef _WIN32
    fs::path folder = PathFromUtf8(path).parent_path();
    if (folder.empty()) folder = ".";
    int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    ::fsync(fd); // some file systems cannot sync a folder; the rename is done either way
    ::close(fd);
#else
    (void)path;
#endif
}

// The replaced file's permissions, and its owner where the system lets us.
void CopyModeAndOwner(const std::string& from, const std::string& to) {
    std::error_code ec;
    auto old = fs::status(PathFromUtf8(from), ec);
    if (ec || !fs::exists(old)) return;
    fs::permissions(PathFromUtf8(to), old.permissions(), ec);
#ifndef _WIN32
    // As an ordinary user only the group can be kept; a failure leaves ours.
    struct stat st, mine;
    if (::stat(from.c_str(), &st) == 0 && ::stat(to.c_str(), &mine) == 0 &&
        (mine.st_uid != st.st_uid || mine.st_gid != st.st_gid) &&
        ::chown(to.c_str(), st.st_uid, st.st_gid) != 0)
        (void)!::chown(to.c_str(), static_cast<uid_t>(-1), st.st_gid);
#endif
}

} // namespace

std::string AtomicFile::TemporaryPrefixFor(const std::string& target) {
    const fs::path p = PathFromUtf8(target);
    return Utf8Of(p.parent_path() / PathFromUtf8("." + Utf8Of(p.filename()) + std::string(kTag)));
}

AtomicFile::AtomicFile(std::string target, BiText readOnlyText, LinkAtTarget links)
    : target_(links == LinkAtTarget::Follow ? ResolveLinks(target) : target) {
    std::error_code ec;
    // A link to be replaced is neither a folder nor read-only: what it
    // points to does not count.
    replacesLink_ = links == LinkAtTarget::Replace && fs::is_symlink(PathFromUtf8(target_), ec);
    if (!replacesLink_ && fs::is_directory(PathFromUtf8(target_), ec))
        throw FileError(txt::CannotCreateOverFolder, target);
    if (!replacesLink_ && IsReadOnly(target_)) throw FileError(readOnlyText, target);
    RemoveStaleTemporaries(target_);
    temp_ = TemporaryNameFor(target_);
    if (!file_.TryOpen(temp_, OpenMode::Create)) {
        const int error = errno;
        throw FileError(txt::CannotCreateFile, target, SystemReason(error));
    }
    file_.SetShownName(target);
}

AtomicFile::~AtomicFile() {
    if (!done_) Discard();
}

void AtomicFile::Commit() {
    if (done_) return;
    try {
        file_.Sync();
        file_.Close();
    } catch (...) {
        Discard();
        throw;
    }
    if (!replacesLink_) CopyModeAndOwner(target_, temp_);
    std::error_code renameError;
    fs::rename(PathFromUtf8(temp_), PathFromUtf8(target_), renameError);
    if (renameError) {
        std::error_code ignored;
        fs::remove(PathFromUtf8(temp_), ignored);
        done_ = true;
        throw FileError(txt::CannotWriteFile, target_, renameError.message());
    }
    done_ = true;
    SyncFolderOf(target_);
}

void AtomicFile::Discard() {
    if (done_) return;
    file_.Abandon();
    std::error_code ec;
    fs::remove(PathFromUtf8(temp_), ec);
    done_ = true;
}

void WriteFileAtomically(const std::string& path, const std::string& bytes, BiText readOnlyText) {
    AtomicFile out(path, readOnlyText);
    out.File().Write(bytes.data(), bytes.size());
    out.Commit();
}

} // namespace orvane
