// The creation of temporary files against names planted beforehand: links to
// a file outside the writer's business, links to nowhere, files and folders
// at the names the writer will draw, links under the names of dead
// processes' temporaries, and a target that is a file, a link or a link to
// nowhere. Whatever is planted, the file outside keeps its bytes, every
// planted name still holds what was planted there, the target gets the
// bytes written (through its link when it is followed) and no temporary of
// the writer stays.
#include "FuzzSupport.h"

#include "platform/AtomicFile.h"
#include "platform/Errors.h"

#include <cstdio>
#include <filesystem>
#include <map>
#include <string>
#include <system_error>
#include <vector>

using namespace orvane;
namespace fs = std::filesystem;

namespace {

constexpr std::size_t kMostPlants = 12;

// The draws the writer takes: the input's first, then ones never planted.
std::vector<std::uint64_t> gDraws;
std::size_t gNext = 0;
std::uint64_t ScriptedDraw() {
    return gNext < gDraws.size() ? gDraws[gNext++] : 0x1000000 + gNext++;
}

enum class Plant { LinkOut, LinkNowhere, File, Folder };

struct Planted {
    Plant kind;
    std::string text; // a link's destination, a file's bytes
};

void Put(const std::string& path, const Planted& p, std::error_code& ec) {
    switch (p.kind) {
    case Plant::LinkOut:
    case Plant::LinkNowhere:
        fs::create_symlink(p.text, path, ec);
        break;
    case Plant::File:
        if (FILE* f = std::fopen(path.c_str(), "wbx")) {
            std::fputs(p.text.c_str(), f);
            std::fclose(f);
        }
        break;
    case Plant::Folder:
        fs::create_directory(path, ec);
        break;
    }
}

bool StillThere(const std::string& path, const Planted& p) {
    std::error_code ec;
    const auto st = fs::symlink_status(path, ec);
    switch (p.kind) {
    case Plant::LinkOut:
    case Plant::LinkNowhere:
        return st.type() == fs::file_type::symlink && fs::read_symlink(path, ec) == p.text;
    case Plant::File:
        return st.type() == fs::file_type::regular && fuzz::RamFiles::Read(path) == p.text;
    case Plant::Folder:
        return st.type() == fs::file_type::directory;
    }
    return false;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::Input in(data, size);
    const std::uint8_t how = in.Byte();
    const LinkAtTarget links = how & 1 ? LinkAtTarget::Replace : LinkAtTarget::Follow;
    const bool commit = !(how & 2);
    const int targetKind = (how >> 2) & 3; // none, a file, a link to a file, a link to nowhere

    fuzz::RamFiles& ram = fuzz::RamFiles::Get();
    const std::string outside = ram.Put("outside.txt", "outside");
    const std::string folder = ram.Folder() + "/work";
    std::error_code ec;
    fs::remove_all(folder, ec);
    fs::create_directory(folder, ec);
    const std::string target = folder + "/out.geojson";
    const std::string real = folder + "/real.geojson";
    if (targetKind == 1) Put(target, {Plant::File, "old"}, ec);
    if (targetKind == 2) {
        Put(real, {Plant::File, "old"}, ec);
        fs::create_symlink("real.geojson", target, ec);
    }
    if (targetKind == 3) fs::create_symlink("later.geojson", target, ec);
    const std::string written = links == LinkAtTarget::Follow && targetKind >= 2
                                    ? (targetKind == 2 ? real : folder + "/later.geojson")
                                    : target;

    // The plants: at the names of the draws the writer will take, and under
    // dead processes' temporary names of the target.
    std::map<std::string, Planted> planted;
    gDraws.clear();
    gNext = 0;
    const std::size_t count = in.Byte() % (kMostPlants + 1);
    for (std::size_t i = 0; i < count; ++i) {
        const std::uint8_t b = in.Byte();
        const std::uint64_t draw = in.Byte() % 8;
        gDraws.push_back(draw);
        const Plant kind = static_cast<Plant>(b & 3);
        Planted p{kind, kind == Plant::LinkOut       ? outside
                        : kind == Plant::LinkNowhere ? folder + "/nowhere"
                                                     : "planted"};
        const bool dead = b & 4;
        // A file under a dead process's name is a stale temporary, which
        // the writer may remove: links alone are planted there.
        if (dead && (kind == Plant::File || kind == Plant::Folder)) continue;
        const std::string name = dead ? AtomicFile::TemporaryPrefixFor(written) + "99999999-" +
                                            std::to_string(draw) + ".tmp"
                                      : AtomicFile::TemporaryPathFor(written, draw);
        if (planted.count(name)) continue;
        Put(name, p, ec);
        if (!ec) planted[name] = p;
        ec.clear();
    }

    const TemporaryNameDraw saved = SetTemporaryNameDraw(&ScriptedDraw);
    bool failed = false;
    try {
        AtomicFile out(target, txt::ReadOnlyTarget, links);
        out.File().Write("new bytes", 9);
        if (commit) out.Commit();
    } catch (const FileError&) {
        failed = true; // a name taken is drawn again: no plant here makes a write fail
    }
    SetTemporaryNameDraw(saved);
    fuzz::Require(!failed, "a write failed on a planted name");

    fuzz::Require(fuzz::RamFiles::Read(outside) == "outside",
                  "a write went through a planted link");
    for (const auto& [name, p] : planted)
        fuzz::Require(StillThere(name, p), "a planted name was changed or removed");
    if (commit) {
        fuzz::Require(fuzz::RamFiles::Read(written) == "new bytes", "the target lacks its bytes");
        if (links == LinkAtTarget::Follow && targetKind >= 2)
            fuzz::Require(fs::is_symlink(target), "a link at the target was replaced");
    }
    for (const auto& entry : fs::directory_iterator(folder, ec)) {
        const std::string path = entry.path().string();
        if (path.find(".orvane-") != std::string::npos)
            fuzz::Require(planted.count(path) == 1, "a temporary of the writer stayed");
    }
    return 0;
}
