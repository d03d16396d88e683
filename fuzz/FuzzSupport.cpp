#include "FuzzSupport.h"

#include "platform/Errors.h"
#include "support/DirectWriteFixtures.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>

namespace orvane::fuzz {

namespace fs = std::filesystem;

namespace {

[[noreturn]] void Fail(const std::string& what) {
    std::fprintf(stderr, "fuzz support: %s: %s\n", what.c_str(), std::strerror(errno));
    std::abort();
}

std::string RamFolder() {
    if (const char* chosen = std::getenv("ORVANE_FUZZ_RAM"); chosen && *chosen) return chosen;
    std::error_code ec;
    std::string base = "/dev/shm";
    if (!fs::is_directory(base, ec)) {
        const char* tmp = std::getenv("TMPDIR");
        base = tmp && *tmp ? tmp : "/tmp";
    }
    return base + "/orvane-fuzz-" + std::to_string(::getpid());
}

} // namespace

RamFiles& RamFiles::Get() {
    static RamFiles files;
    return files;
}

RamFiles::RamFiles() : folder_(RamFolder()) {
    std::error_code ec;
    fs::create_directories(folder_, ec);
    if (ec) Fail("cannot create " + folder_);
}

RamFiles::~RamFiles() {
    for (const File& f : files_)
        ::close(f.fd);
    std::error_code ec;
    fs::remove_all(folder_, ec);
}

const std::string& RamFiles::Put(const std::string& name, std::string_view bytes) {
    File* file = nullptr;
    for (File& f : files_)
        if (f.name == name) file = &f;
    if (!file) {
        // A tmpfs file kept open and rewritten in place: measured faster than
        // a memfd behind a link, and far faster than a new file per run.
        File f{name, folder_ + "/" + name, -1};
        f.fd = ::open(f.path.c_str(), O_RDWR | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
        if (f.fd < 0) Fail("cannot create " + f.path);
        files_.push_back(std::move(f));
        file = &files_.back();
    }
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n =
            ::pwrite(file->fd, bytes.data() + done, bytes.size() - done, static_cast<off_t>(done));
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) Fail("cannot write " + file->path);
        done += static_cast<std::size_t>(n);
    }
    if (::ftruncate(file->fd, static_cast<off_t>(bytes.size())) != 0)
        Fail("cannot size " + file->path);
    return file->path;
}

std::string RamFiles::Read(const std::string& path) {
    std::string bytes;
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) Fail("cannot open " + path);
    char block[65536];
    for (;;) {
        const ssize_t n = ::read(fd, block, sizeof block);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) Fail("cannot read " + path);
        if (n == 0) break;
        bytes.append(block, static_cast<std::size_t>(n));
    }
    ::close(fd);
    return bytes;
}

std::uint8_t Input::Byte() {
    if (rest_.empty()) return 0;
    const auto b = static_cast<std::uint8_t>(rest_.front());
    rest_.remove_prefix(1);
    return b;
}

std::string_view Input::Bytes(std::size_t n) {
    const std::string_view taken = rest_.substr(0, n);
    rest_.remove_prefix(taken.size());
    return taken;
}

const std::string& NavaidTemplate() {
    static const std::string path =
        RamFiles::Get().Put("NAVAID.DBT", testing::TemplateText(testing::NavWriteFields()));
    return path;
}

void OpenThenAdd(ImportFunction import, const std::string& path) {
    UnattendedInteraction ui;
    SessionState s;
    s.SimulatorVersion = 2; // Fly! 1 AIRPORT and RUNWAY data are converted
    try {
        if (!import(s, path, ImportMode::Open, ui, &ui, NavaidTemplate(), {}).tableChanged) return;
    } catch (const OrvaneError&) {
        return;
    }
    const int rows = s.Table.RowCount();
    try {
        if (import(s, path, ImportMode::Add, ui, &ui, "", {}).tableChanged)
            Require(s.Table.RowCount() == 2 * rows - 1,
                    "an added file gave another number of rows than its open");
    } catch (const OrvaneError&) {
        Require(s.Table.RowCount() == rows, "a refused addition left rows behind");
    }
}

const char* ArchiveExtension(std::uint8_t choice) {
    return choice & 1 ? ".epd" : ".pod";
}

void Require(bool holds, const char* what) {
    if (holds) return;
    std::fprintf(stderr, "fuzz: invariant broken: %s\n", what);
    std::abort();
}

} // namespace orvane::fuzz
