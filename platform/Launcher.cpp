#include "platform/Launcher.h"

#include "platform/BinaryFile.h"
#include "platform/Paths.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>

#ifdef _WIN32
#include <windows.h>

#include <shellapi.h>
#else
#include <csignal>
#include <ctime>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

namespace orvane {

std::optional<std::string> FindProgramFile(const std::string& folder, const std::string& name) {
    if (folder.empty()) return std::nullopt; // not the current folder by accident
    const std::string path = ResolvePathCase(JoinPath(folder, name));
    if (!FileExists(path)) return std::nullopt;
    return path;
}

std::optional<std::string> FindOnPath(const std::string& name, const std::string& pathList) {
#ifdef _WIN32
    (void)name;
    (void)pathList;
    return std::nullopt;
#else
    std::size_t start = 0;
    while (start <= pathList.size()) {
        std::size_t end = pathList.find(':', start);
        if (end == std::string::npos) end = pathList.size();
        const std::string folder = pathList.substr(start, end - start);
        start = end + 1;
        if (folder.empty()) continue; // an empty entry would mean the current folder
        const std::string candidate = JoinPath(folder, name);
        struct stat st {};
        if (stat(candidate.c_str(), &st) == 0 && S_ISREG(st.st_mode) &&
            access(candidate.c_str(), X_OK) == 0)
            return candidate;
    }
    return std::nullopt;
#endif
}

#ifdef _WIN32

OpenResult OpenDocument(const std::string&, int) {
    return {OpenResult::NoOpener, {}};
}

StartResult StartDetached(const std::string& path) {
    const std::string folder = FolderOf(path);
    const std::string name = FileNameOf(path);
    const auto code = reinterpret_cast<INT_PTR>(
        ShellExecuteA(nullptr, nullptr, name.c_str(), "", folder.c_str(), SW_SHOWNORMAL));
    if (code > 32) return {};
    return {StartResult::Failed, "ShellExecute error " + std::to_string(code)};
}

#else

namespace {

void WriteErrno(int fd) {
    const int e = errno;
    [[maybe_unused]] ssize_t n = write(fd, &e, sizeof e);
}

// A pipe whose ends close on exec, for a child's report, and a fork: the
// child's id (0 in the child), or -1 with the system's reason.
pid_t ForkWithReport(int report[2], std::string& reason) {
    if (pipe2(report, O_CLOEXEC) != 0) {
        reason = std::strerror(errno);
        return -1;
    }
    const pid_t child = fork();
    if (child < 0) {
        reason = std::strerror(errno);
        close(report[0]);
        close(report[1]);
    }
    return child;
}

// In the parent: the child's report read (whether a whole value came) and
// the child reaped.
bool ReadReport(int report[2], pid_t child, int& value) {
    close(report[1]);
    ssize_t n;
    while ((n = read(report[0], &value, sizeof value)) < 0 && errno == EINTR) {
    }
    close(report[0]);
    int status = 0;
    while (waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    return n == static_cast<ssize_t>(sizeof value);
}

// Double fork: the intermediate child ends at once and is reaped here, the
// program itself is adopted by init and never becomes our zombie. A pipe
// closed on exec tells whether the exec worked.
StartResult Spawn(const char* const argv[], const std::string& folder) {
    int report[2];
    std::string reason;
    const pid_t child = ForkWithReport(report, reason);
    if (child < 0) return {StartResult::Failed, reason};
    if (child == 0) {
        // Only async-signal-safe calls from here on.
        setsid();
        const pid_t program = fork();
        if (program < 0) WriteErrno(report[1]);
        if (program != 0) _exit(0);
        sigset_t none;
        sigemptyset(&none);
        sigprocmask(SIG_SETMASK, &none, nullptr);
        if (chdir(folder.c_str()) != 0) {
            WriteErrno(report[1]);
            _exit(127);
        }
        const int null = open("/dev/null", O_RDONLY);
        if (null >= 0) dup2(null, STDIN_FILENO);
        execv(argv[0], const_cast<char* const*>(argv));
        WriteErrno(report[1]);
        _exit(127);
    }
    int error = 0;
    if (ReadReport(report, child, error)) return {StartResult::Failed, std::strerror(error)};
    return {};
}

} // namespace

namespace {

constexpr int kStillRunning = -1;

// In a child of a fork: only async-signal-safe calls. Runs argv, waits for
// it up to waitMs and writes its exit status (or kStillRunning) to fd.
[[noreturn]] void RunAndReport(const char* const argv[], int waitMs, int fd) {
    setsid();
    const pid_t program = fork();
    if (program == 0) {
        sigset_t none;
        sigemptyset(&none);
        sigprocmask(SIG_SETMASK, &none, nullptr);
        const int null = open("/dev/null", O_RDONLY);
        if (null >= 0) dup2(null, STDIN_FILENO);
        execv(argv[0], const_cast<char* const*>(argv));
        _exit(127);
    }
    int code = program < 0 ? 127 : kStillRunning;
    for (int waited = 0; program > 0 && waited <= waitMs; waited += 20) {
        int status = 0;
        const pid_t r = waitpid(program, &status, WNOHANG);
        if (r == program) {
            code = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
            break;
        }
        if (r < 0 && errno != EINTR) break;
        const timespec step{0, 20'000'000};
        nanosleep(&step, nullptr);
    }
    [[maybe_unused]] ssize_t n = write(fd, &code, sizeof code);
    _exit(0); // a program still running is left to init
}

} // namespace

OpenResult OpenDocument(const std::string& path, int waitMs) {
    const char* pathList = std::getenv("PATH");
    const std::optional<std::string> opener = FindOnPath("xdg-open", pathList ? pathList : "");
    if (!opener) return {OpenResult::NoOpener, {}};
    const char* const argv[] = {opener->c_str(), path.c_str(), nullptr};
    int report[2];
    std::string reason;
    const pid_t child = ForkWithReport(report, reason);
    if (child < 0) return {OpenResult::Failed, reason};
    if (child == 0) {
        close(report[0]);
        RunAndReport(argv, waitMs, report[1]);
    }
    int code = 127;
    if (ReadReport(report, child, code) && (code == 0 || code == kStillRunning)) return {};
    return {OpenResult::Failed, "xdg-open: " + std::to_string(code)};
}

StartResult StartDetached(const std::string& path) {
    const char* pathList = std::getenv("PATH");
    const std::optional<std::string> wine = FindOnPath("wine", pathList ? pathList : "");
    if (!wine) return {StartResult::WineMissing, {}};
    const char* const argv[] = {wine->c_str(), path.c_str(), nullptr};
    return Spawn(argv, FolderOf(path));
}

#endif

} // namespace orvane
