#include "platform/AtomicFile.h"

#include "platform/Errors.h"
#include "platform/FileTexts.h"

#include <algorithm>
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

// The process that wrote a temporary named ".<target>.orvane-<pid>-<n>.tmp",
// or 0 when name is not such a temporary. With a prefix (".<target>.orvane-"),
// only the temporaries of that target count.
long TemporaryOwner(const std::string& name, const std::string& prefix) {
    if (name.size() < 2 || name[0] != '.' || !name.ends_with(".tmp")) return 0;
    const std::size_t tag = name.rfind(kTag);
    if (tag == std::string::npos || tag == 0) return 0;
    std::size_t i = tag + kTag.size();
    if (!prefix.empty() && (i != prefix.size() || name.compare(0, i, prefix) != 0)) return 0;
    auto digits = [&](long* value) {
        const std::size_t from = i;
        long v = 0;
        while (i < name.size() && name[i] >= '0' && name[i] <= '9' && v < 100000000L)
            v = v * 10 + (name[i++] - '0');
        if (value) *value = v;
        return i > from;
    };
    long pid = 0;
    if (!digits(&pid) || i >= name.size() || name[i++] != '-' || !digits(nullptr) ||
        name.compare(i, std::string::npos, ".tmp") != 0)
        return 0;
    return pid;
}

// Removes the temporaries in folder (of the target of prefix alone, when one
// is given) whose process no longer runs: what a save killed half-way left.
void RemoveStaleTemporaries(fs::path folder, const std::string& prefix) {
    if (folder.empty()) folder = ".";
    std::error_code ec;
    fs::directory_iterator it(folder, ec), end;
    for (; !ec && it != end; it.increment(ec)) {
        const long pid = TemporaryOwner(Utf8Of(it->path().filename()), prefix);
        if (pid <= 0 || ProcessIsRunning(pid)) continue;
        std::error_code ignored;
        fs::remove(it->path(), ignored);
    }
}

std::string TemporaryNameFor(const std::string& target) {
    static std::atomic<unsigned> counter{0};
    return AtomicFile::TemporaryPrefixFor(target) + std::to_string(ProcessId()) + "-" +
           std::to_string(counter++) + ".tmp";
}

fs::path ParentFolderOf(const std::string& path) {
    fs::path folder = PathFromUtf8(path).parent_path();
    return folder.empty() ? fs::path(".") : folder;
}

// Puts the renames done in folder on the disk. Windows cannot open a folder
// to flush it: there each rename reaches the disk before it returns.
void SyncFolder(const fs::path& folder) {
#ifndef _WIN32
    int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    ::fsync(fd); // some file systems cannot sync a folder; the rename is done either way
    ::close(fd);
#else
    (void)folder;
#endif
}

#ifdef _WIN32
// The errno of a failed Windows call, so that its reason is worded as every
// other file error's.
int ErrnoOf(DWORD error) {
    switch (error) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
        return ENOENT;
    case ERROR_ACCESS_DENIED:
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
        return EACCES;
    case ERROR_WRITE_PROTECT:
        return EROFS;
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
        return ENOSPC;
    case ERROR_NOT_SAME_DEVICE:
        return EXDEV;
    case ERROR_DIR_NOT_EMPTY:
        return ENOTEMPTY;
    case ERROR_FILENAME_EXCED_RANGE:
        return ENAMETOOLONG;
    default:
        return EIO;
    }
}
#endif

// Renames from over to, replacing what to names. On Windows the rename is
// written through to the disk before the call returns, in place of the sync
// of its folder.
std::error_code RenameOver(const fs::path& from, const fs::path& to) {
    std::error_code ec;
#ifdef _WIN32
    if (!MoveFileExW(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        ec.assign(ErrnoOf(GetLastError()), std::generic_category());
#else
    fs::rename(from, to, ec);
#endif
    return ec;
}

#ifdef __linux__
// One sync of each file system that holds one of the folders: the bytes of
// every file written there reach the disk, with far fewer flushes of the
// journal than a sync per file. Returns the first error (0 when none).
int SyncFileSystemsOf(const std::vector<fs::path>& folders) {
    std::vector<dev_t> done;
    int firstError = 0;
    for (const fs::path& folder : folders) {
        const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (fd < 0) continue;
        struct stat st;
        if (::fstat(fd, &st) == 0 && std::find(done.begin(), done.end(), st.st_dev) == done.end()) {
            done.push_back(st.st_dev);
            if (::syncfs(fd) != 0 && firstError == 0) firstError = errno;
        }
        ::close(fd);
    }
    return firstError;
}
#endif

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

// Renames a complete temporary over its target, with the replaced file's
// permissions. On failure the temporary is removed.
void MoveIntoPlace(const std::string& temp, const std::string& target, bool replacesLink) {
    if (!replacesLink) CopyModeAndOwner(target, temp);
    const std::error_code renameError = RenameOver(PathFromUtf8(temp), PathFromUtf8(target));
    if (renameError) {
        std::error_code ignored;
        fs::remove(PathFromUtf8(temp), ignored);
        throw FileError(txt::CannotWriteFile, target, renameError.message());
    }
}

} // namespace

void RemoveStaleTemporariesIn(const std::string& folder) {
    RemoveStaleTemporaries(PathFromUtf8(folder), {});
}

std::string AtomicFile::TemporaryPrefixFor(const std::string& target) {
    const fs::path p = PathFromUtf8(target);
    return Utf8Of(p.parent_path() / PathFromUtf8("." + Utf8Of(p.filename()) + std::string(kTag)));
}

AtomicFile::AtomicFile(std::string target, BiText readOnlyText, LinkAtTarget links,
                       StaleTemporaries stale)
    : target_(links == LinkAtTarget::Follow ? ResolveLinks(target) : target) {
    std::error_code ec;
    // A link to be replaced is neither a folder nor read-only: what it
    // points to does not count.
    replacesLink_ = links == LinkAtTarget::Replace && fs::is_symlink(PathFromUtf8(target_), ec);
    if (!replacesLink_ && fs::is_directory(PathFromUtf8(target_), ec))
        throw FileError(txt::CannotCreateOverFolder, target);
    if (!replacesLink_ && IsReadOnly(target_)) throw FileError(readOnlyText, target);
    if (stale == StaleTemporaries::Remove)
        RemoveStaleTemporaries(ParentFolderOf(target_),
                               "." + Utf8Of(PathFromUtf8(target_).filename()) + std::string(kTag));
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
    done_ = true;
    MoveIntoPlace(temp_, target_, replacesLink_);
    SyncFolder(ParentFolderOf(target_));
}

void AtomicFile::Discard() {
    if (done_) return;
    file_.Abandon();
    std::error_code ec;
    fs::remove(PathFromUtf8(temp_), ec);
    done_ = true;
}

AtomicFileGroup::~AtomicFileGroup() {
    Discard();
}

void AtomicFileGroup::Add(AtomicFile& file) {
    if (file.done_) return;
    try {
#ifndef __linux__
        // Without a sync of the whole file system, each file syncs itself.
        file.file_.Sync();
#endif
        file.file_.Close();
    } catch (...) {
        file.Discard();
        throw;
    }
    file.done_ = true;
    pending_.push_back({file.temp_, file.target_, file.replacesLink_});
}

void AtomicFileGroup::AddFolder(const std::string& folder) {
    folders_.push_back(folder);
}

void AtomicFileGroup::Commit() {
    // Every folder whose entries change: the files' folders and the parents
    // of the folders made.
    std::vector<fs::path> folders;
    {
        std::vector<std::string> names;
        names.reserve(pending_.size() + folders_.size());
        for (const Pending& p : pending_)
            names.push_back(Utf8Of(ParentFolderOf(p.target)));
        for (const std::string& f : folders_)
            names.push_back(Utf8Of(ParentFolderOf(f)));
        std::sort(names.begin(), names.end());
        names.erase(std::unique(names.begin(), names.end()), names.end());
        for (const std::string& n : names)
            folders.push_back(PathFromUtf8(n));
    }
    folders_.clear();
    auto syncRenames = [&folders] {
#ifdef __linux__
        SyncFileSystemsOf(folders);
#else
        for (const fs::path& f : folders)
            SyncFolder(f);
#endif
    };
#ifdef __linux__
    // The bytes first: no file is renamed into place before it is on the disk.
    if (const int error = SyncFileSystemsOf(folders); error != 0 && !pending_.empty()) {
        const std::string target = pending_.front().target;
        Discard();
        throw FileError(txt::CannotWriteFile, target, SystemReason(error));
    }
#endif
    for (std::size_t i = 0; i < pending_.size(); ++i) {
        try {
            MoveIntoPlace(pending_[i].temp, pending_[i].target, pending_[i].replacesLink);
        } catch (...) {
            pending_.erase(pending_.begin(), pending_.begin() + std::ptrdiff_t(i + 1));
            Discard();
            syncRenames();
            throw;
        }
    }
    pending_.clear();
    syncRenames();
}

void AtomicFileGroup::Discard() {
    for (const Pending& p : pending_) {
        std::error_code ignored;
        fs::remove(PathFromUtf8(p.temp), ignored);
    }
    pending_.clear();
    folders_.clear();
}

void WriteFileAtomically(const std::string& path, const std::string& bytes, BiText readOnlyText) {
    AtomicFile out(path, readOnlyText);
    out.File().Write(bytes.data(), bytes.size());
    out.Commit();
}

} // namespace orvane
