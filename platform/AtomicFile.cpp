#include "platform/AtomicFile.h"

#include "platform/Errors.h"

#include <atomic>
#include <chrono>
#include <filesystem>
#include <system_error>

namespace orvane {

namespace fs = std::filesystem;

namespace {
std::string TemporaryNameFor(const std::string& target) {
    static std::atomic<unsigned> counter{0};
    auto tick = std::chrono::steady_clock::now().time_since_epoch().count();
    fs::path p(target);
    std::string name = "." + p.filename().string() + ".orvane-" +
                       std::to_string(tick % 1000000007) + "-" + std::to_string(counter++) + ".tmp";
    return (p.parent_path() / name).string();
}
} // namespace

AtomicFile::AtomicFile(std::string target) : target_(std::move(target)) {
    std::error_code ec;
    if (fs::is_directory(target_, ec))
        throw FileError("Cannot create file " + target_ + ": it is a folder");
    temp_ = TemporaryNameFor(target_);
    if (!file_.TryOpen(temp_, OpenMode::Create))
        throw FileError("Cannot create file " + target_ + ": " +
                        std::generic_category().message(errno));
}

AtomicFile::~AtomicFile() {
    if (!done_) Discard();
}

void AtomicFile::Commit() {
    if (done_) return;
    file_.Flush();
    file_.Close();
    std::error_code ec;
    // A replaced file keeps its permissions (a private file stays private).
    auto old = fs::status(target_, ec);
    if (!ec && fs::exists(old)) fs::permissions(temp_, old.permissions(), ec);
    ec.clear();
    fs::rename(temp_, target_, ec);
    if (ec) {
        fs::remove(temp_, ec);
        done_ = true;
        throw FileError("Cannot write file " + target_ + ": " + ec.message());
    }
    done_ = true;
}

void AtomicFile::Discard() {
    if (done_) return;
    file_.Close();
    std::error_code ec;
    fs::remove(temp_, ec);
    done_ = true;
}

void WriteFileAtomically(const std::string& path, const std::string& bytes) {
    AtomicFile out(path);
    out.File().Write(bytes.data(), bytes.size());
    out.Commit();
}

} // namespace orvane
