#include "platform/AtomicFile.h"

#include "platform/Errors.h"
#include "platform/FileTexts.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <filesystem>
#include <mutex>
#include <random>
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
// stays and the file it points to is replaced, or made when the link points
// to nothing yet.
std::string ResolveLinks(const std::string& target) {
    std::error_code ec;
    fs::path p = PathFromUtf8(target);
    if (!fs::is_symlink(p, ec)) return target;
    // As many links in a row as the system itself follows.
    for (int hops = 0; hops < 40 && fs::is_symlink(p, ec); ++hops) {
        const fs::path next = fs::read_symlink(p, ec);
        if (ec) break;
        p = next.is_absolute() ? next : p.parent_path() / next;
    }
    return Utf8Of(p);
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
    // The random part: hexadecimal digits (decimal ones in older names).
    auto draw = [&] {
        const std::size_t from = i;
        while (i < name.size() && i - from < 16 &&
               ((name[i] >= '0' && name[i] <= '9') || (name[i] >= 'a' && name[i] <= 'f')))
            ++i;
        return i > from;
    };
    long pid = 0;
    if (!digits(&pid) || i >= name.size() || name[i++] != '-' || !draw() ||
        name.compare(i, std::string::npos, ".tmp") != 0)
        return 0;
    return pid;
}

// Removes the temporaries in folder (of the target of prefix alone, when one
// is given) whose process no longer runs: what a save killed half-way left.
// Regular files alone: a link under such a name was planted by someone
// else, and removing it is not ours to do (removing never follows it).
void RemoveStaleTemporaries(fs::path folder, const std::string& prefix) {
    if (folder.empty()) folder = ".";
    std::error_code ec;
    fs::directory_iterator it(folder, ec), end;
    for (; !ec && it != end; it.increment(ec)) {
        const long pid = TemporaryOwner(Utf8Of(it->path().filename()), prefix);
        if (pid <= 0 || ProcessIsRunning(pid)) continue;
        std::error_code ignored;
        if (it->symlink_status(ignored).type() != fs::file_type::regular) continue;
        fs::remove(it->path(), ignored);
    }
}

// The system's random numbers: a name no one can guess before it is made.
std::uint64_t SystemDraw() {
    static std::mutex guard;
    static std::random_device device;
    const std::lock_guard<std::mutex> hold(guard);
    return std::uint64_t(device()) << 32 ^ device();
}

std::atomic<TemporaryNameDraw> nameDraw{&SystemDraw};

// Attempts at a new temporary's name before the folder is taken to refuse
// new files for good (names taken by someone else are drawn again).
constexpr int kNameAttempts = 64;

// True when path still names the file made as `made` (not a file or link
// put in its place since).
bool StillTheFileMade(const std::string& path, const FileIdentity& made) {
    const auto now = IdentityOfPath(path, LastLink::Keep);
    return now && now->device == made.device && now->inode == made.inode;
}

// Removes a temporary this process made, unless something else took its name.
void RemoveTemporary(const std::string& path, const FileIdentity& made) {
    std::error_code ignored;
    if (StillTheFileMade(path, made)) fs::remove(PathFromUtf8(path), ignored);
}

fs::path ParentFolderOf(const std::string& path) {
    fs::path folder = PathFromUtf8(path).parent_path();
    return folder.empty() ? fs::path(".") : folder;
}

#ifndef _WIN32
// A sync's failure that says the bytes may not be on the disk; some file
// systems cannot sync a folder at all, which tells nothing of that kind.
int SyncFailure(int error) {
    return error == EINVAL || error == ENOTSUP || error == EOPNOTSUPP ? 0 : error;
}
#endif

// Puts the renames done in folder on the disk; returns the failure's errno (0
// when none). Windows cannot open a folder to flush it: there each rename
// reaches the disk before it returns. A folder that cannot be opened for
// reading (write and search permission alone) cannot be synced either.
int SyncFolder(const fs::path& folder) {
#ifndef _WIN32
    int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return 0;
    const int error = ::fsync(fd) == 0 ? 0 : SyncFailure(errno);
    ::close(fd);
    return error;
#else
    (void)folder;
    return 0;
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
            if (::syncfs(fd) != 0 && firstError == 0) firstError = SyncFailure(errno);
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
// permissions. On failure the temporary is removed. A temporary whose name
// now holds another file (a link put in its place) is never moved.
void MoveIntoPlace(const std::string& temp, const std::string& target, bool replacesLink,
                   const FileIdentity& made) {
    if (!StillTheFileMade(temp, made))
        throw FileError(txt::CannotWriteFile, target, MessageOf(txt::TemporaryReplaced, temp));
    if (!replacesLink) CopyModeAndOwner(target, temp);
    const std::error_code renameError = RenameOver(PathFromUtf8(temp), PathFromUtf8(target));
    if (renameError) {
        RemoveTemporary(temp, made);
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

std::string AtomicFile::TemporaryPathFor(const std::string& target, std::uint64_t draw) {
    static constexpr char kHex[] = "0123456789abcdef";
    std::string random(16, '0');
    for (int i = 15; i >= 0; --i, draw >>= 4)
        random[static_cast<std::size_t>(i)] = kHex[draw & 15];
    return TemporaryPrefixFor(target) + std::to_string(ProcessId()) + "-" + random + ".tmp";
}

TemporaryNameDraw SetTemporaryNameDraw(TemporaryNameDraw draw) {
    return nameDraw.exchange(draw ? draw : &SystemDraw);
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
    // A new file under a name no one could guess; a name taken meanwhile
    // (whatever holds it) is left alone and another one drawn.
    for (int attempt = 0;; ++attempt) {
        temp_ = TemporaryPathFor(target_, nameDraw.load()());
        if (file_.TryOpen(temp_, OpenMode::Create)) break;
        const int error = errno;
        if (error != EEXIST || attempt + 1 == kNameAttempts)
            throw FileError(txt::CannotCreateFile, target, SystemReason(error));
    }
    try {
        made_ = file_.Identity();
    } catch (...) {
        file_.Abandon();
        std::error_code ignored;
        fs::remove(PathFromUtf8(temp_), ignored); // just made: no one else's yet
        throw;
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
    MoveIntoPlace(temp_, target_, replacesLink_, made_);
    if (const int error = SyncFolder(ParentFolderOf(target_)))
        throw FileError(txt::InPlaceNotOnDisk, target_, SystemReason(error));
}

void AtomicFile::Discard() {
    if (done_) return;
    file_.Abandon();
    RemoveTemporary(temp_, made_);
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
    pending_.push_back({file.temp_, file.target_, file.replacesLink_, file.made_});
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
    // Returns the first failure's errno (0 when none).
    auto syncRenames = [&folders] {
#ifdef __linux__
        return SyncFileSystemsOf(folders);
#else
        int first = 0;
        for (const fs::path& f : folders)
            if (const int error = SyncFolder(f); first == 0) first = error;
        return first;
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
            MoveIntoPlace(pending_[i].temp, pending_[i].target, pending_[i].replacesLink,
                          pending_[i].made);
        } catch (...) {
            pending_.erase(pending_.begin(), pending_.begin() + std::ptrdiff_t(i + 1));
            Discard();
            syncRenames();
            throw;
        }
    }
    pending_.clear();
    // The files are in place; whether the disk holds their names is unknown.
    if (const int error = syncRenames(); error != 0 && !folders.empty())
        throw FileError(txt::InPlaceNotOnDisk, Utf8Of(folders.front()), SystemReason(error));
}

void AtomicFileGroup::Discard() {
    for (const Pending& p : pending_)
        RemoveTemporary(p.temp, p.made);
    pending_.clear();
    folders_.clear();
}

void WriteFileAtomically(const std::string& path, const std::string& bytes, BiText readOnlyText) {
    AtomicFile out(path, readOnlyText);
    out.File().Write(bytes.data(), bytes.size());
    out.Commit();
}

} // namespace orvane
