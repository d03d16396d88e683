// The archive viewer and the extraction on any archive: the entry list, the
// output path of every entry in both forms, and the extraction of the first
// entries into a RAM folder. Nothing may be written outside that folder, not
// even through a link planted where the first file goes, and each extracted
// file holds its entry's bytes.
#include "FuzzSupport.h"

#include "database/Extraction.h"
#include "platform/Errors.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

using namespace orvane;
namespace fs = std::filesystem;

namespace {

constexpr std::size_t kEntriesChecked = 16;
constexpr std::size_t kEntriesExtracted = 4;

bool Inside(const std::string& folder, const std::string& path) {
    if (path.compare(0, folder.size() + 1, folder + "/") != 0) return false;
    const fs::path relative = fs::path(path.substr(folder.size() + 1));
    for (const fs::path& part : relative)
        if (part == ".." || part.empty()) return false;
    return !relative.empty();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::Input in(data, size);
    const std::uint8_t choice = in.Byte();
    const bool structure = choice & 2;
    const std::string_view bytes = in.Rest();
    fuzz::RamFiles& ram = fuzz::RamFiles::Get();
    const std::string& path =
        ram.Put(std::string("ARCHIVE") + fuzz::ArchiveExtension(choice), bytes);
    const std::string out = ram.Folder() + "/out";

    UnattendedInteraction ui;
    ArchiveFile pod(path, &ui);
    try {
        pod.ReadHeader();
        pod.ReadDirectory();
    } catch (const OrvaneError&) {
        return 0;
    }
    EntryRows(pod, DisplayContext{});
    EntryListStatus(pod, "ARCHIVE.POD", Lang::French);

    std::vector<int> chosen;
    std::vector<std::string> targets;
    const std::size_t count = std::min(pod.Entries().size(), kEntriesChecked);
    for (std::size_t i = 0; i < count; ++i) {
        try {
            const std::string target = ExtractionPath(out, pod.Entries()[i].name, structure);
            fuzz::Require(Inside(out, target), "an output path outside the chosen folder");
            if (chosen.size() < kEntriesExtracted) {
                chosen.push_back(static_cast<int>(i));
                targets.push_back(target);
            }
        } catch (const RefusedError&) {
        }
    }
    if (chosen.empty()) return 0;

    // A link where the first file goes, to a file beside the folder: it is
    // replaced by the file, never followed.
    const std::string sentinel = ram.Put("ARCHIVE.sentinel", "sentinel");
    std::error_code linkError;
    fs::create_directories(fs::path(targets[0]).parent_path(), linkError);
    fs::create_symlink(sentinel, targets[0], linkError);

    bool extracted = false;
    try {
        ExtractEntries(pod, chosen, out, structure);
        extracted = true;
    } catch (const OrvaneError&) {
    }
    // Only the chosen folder may have gained files.
    std::error_code ec;
    for (const auto& item : fs::directory_iterator(ram.Folder(), ec))
        fuzz::Require(item.path().filename() == "out" ||
                          item.path().filename().string().rfind("ARCHIVE", 0) == 0,
                      "a file written beside the chosen folder");
    fuzz::Require(fuzz::RamFiles::Read(sentinel) == "sentinel",
                  "a file written through a link out of the chosen folder");
    if (extracted) {
        for (std::size_t k = 0; k < chosen.size(); ++k) {
            // Two entries of the same output path: the later one stays.
            if (std::count(targets.begin(), targets.end(), targets[k]) != 1) continue;
            const ArchiveEntry& e = pod.Entries()[std::size_t(chosen[k])];
            fuzz::Require(fuzz::RamFiles::Read(targets[k]) == bytes.substr(e.offset, e.size),
                          "an extracted file differs from its entry");
        }
    }
    fs::remove_all(out, ec);
    return 0;
}
