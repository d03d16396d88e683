#include "support/TempDir.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <system_error>
#include <vector>
#ifdef _WIN32
#include <process.h>
#else
#include <unistd.h>
#endif

namespace orvane::testing {

namespace fs = std::filesystem;

TempDir::TempDir() {
#ifdef _WIN32
    // The process id keeps two test programs, or a folder a killed run left,
    // apart; create_directory tells whether the name was free.
    static int counter = 0;
    for (;;) {
        const fs::path p = fs::temp_directory_path() / ("orvane-test-" + std::to_string(_getpid()) +
                                                        "-" + std::to_string(++counter));
        if (fs::create_directory(p)) {
            path_ = p.string();
            break;
        }
    }
#else
    const char* base = std::getenv("TMPDIR");
    std::string pattern = std::string(base && *base ? base : "/tmp") + "/orvane-test-XXXXXX";
    std::vector<char> buffer(pattern.begin(), pattern.end());
    buffer.push_back('\0');
    if (!mkdtemp(buffer.data())) throw std::runtime_error("cannot create a folder from " + pattern);
    path_ = buffer.data();
#endif
}

TempDir::~TempDir() {
    std::error_code ec;
    // Tests may leave read-only files behind; removal works on the folder.
    fs::remove_all(path_, ec);
}

std::string TempDir::File(const std::string& name) const {
    return path_ + "/" + name;
}

std::string TempDir::Write(const std::string& name, const std::string& bytes) const {
    const std::string path = File(name);
    fs::create_directories(fs::path(path).parent_path());
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out) throw std::runtime_error("cannot write " + path);
    return path;
}

std::string TempDir::Read(const std::string& name) const {
    const std::string path = File(name);
    std::ifstream in(path, std::ios::binary);
    if (!in) throw std::runtime_error("cannot read " + path);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

bool TempDir::Exists(const std::string& name) const {
    std::error_code ec;
    return fs::exists(File(name), ec);
}

std::vector<std::string> TempDir::ListFiles() const {
    std::vector<std::string> files;
    std::error_code ec;
    for (const auto& e : fs::recursive_directory_iterator(path_, ec))
        if (e.is_regular_file()) files.push_back(fs::relative(e.path(), path_).generic_string());
    std::sort(files.begin(), files.end());
    return files;
}

} // namespace orvane::testing
