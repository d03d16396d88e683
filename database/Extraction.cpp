#include "database/Extraction.h"

#include "platform/AtomicFile.h"
#include "platform/Cp1252.h"
#include "platform/Errors.h"
#include "platform/Paths.h"
#include "settings/Texts.h"
#include "table/ValueDisplay.h"

#include <algorithm>
#include <filesystem>
#include <system_error>
#include <unordered_set>

namespace orvane {

namespace {

constexpr std::size_t kCopyBlock = 64 * 1024;

bool IsSeparator(char c) {
    return c == '\\' || c == '/';
}

[[noreturn]] void Refuse(const std::string& entryName, BiText why) {
    throw RefusedError(txt::EntryRefused, Cp1252ToUtf8(entryName), why);
}

// The name's components, checked so that none of them can lead out of the
// destination folder. Both '\' and '/' separate: a '/' would separate on
// this platform whatever the archive meant by it.
std::vector<std::string> SafeComponents(const std::string& entryName) {
    if (entryName.empty()) Refuse(entryName, txt::RefusedEmptyName);
    if (IsSeparator(entryName.front())) Refuse(entryName, txt::RefusedAbsolute);
    if (entryName.size() >= 2 && entryName[1] == ':') Refuse(entryName, txt::RefusedDrive);
    std::vector<std::string> parts;
    std::string part;
    for (std::size_t i = 0; i <= entryName.size(); ++i) {
        if (i == entryName.size() || IsSeparator(entryName[i])) {
            if (part == "..") Refuse(entryName, txt::RefusedParent);
            if (part.find(':') != std::string::npos) Refuse(entryName, txt::RefusedColon);
            if (!part.empty() && part != ".") parts.push_back(part);
            part.clear();
        } else {
            part += entryName[i];
        }
    }
    if (IsSeparator(entryName.back()) || parts.empty() || parts.back() == ".")
        Refuse(entryName, txt::RefusedNotFile);
    return parts;
}

// The files the first `count` paths name.
int Distinct(std::vector<std::string> paths, int count) {
    paths.resize(static_cast<std::size_t>(count));
    std::sort(paths.begin(), paths.end());
    return static_cast<int>(std::unique(paths.begin(), paths.end()) - paths.begin());
}

} // namespace

std::vector<EntryRow> EntryRows(const ArchiveFile& archive, const DisplayContext& context) {
    std::vector<EntryRow> rows;
    rows.reserve(archive.Entries().size());
    for (const ArchiveEntry& e : archive.Entries()) {
        EntryRow row;
        row.name = e.name;
        const auto last = e.name.find_last_of('\\');
        if (last != std::string::npos) row.folder = e.name.substr(0, last + 1);
        // Unsigned: a size above 2^31 - 1 must not show as a negative number.
        row.size = std::to_string(e.size);
        row.date = DateDecode(e.stamp, context);
        rows.push_back(std::move(row));
    }
    return rows;
}

std::string EntryListStatus(const ArchiveFile& archive, const std::string& fileName, Lang lang) {
    std::uint64_t total = 0;
    for (const ArchiveEntry& e : archive.Entries())
        total += e.size;
    // The total is given as text: entry sizes of a large archive can add up
    // beyond what "%d" holds.
    std::string format = txt::ArchiveListStatus.In(lang);
    const auto last = format.rfind("%d");
    if (last != std::string::npos) format.replace(last, 2, "%s");
    return Format(format.c_str(), fileName.c_str(), archive.EntryCount(),
                  std::to_string(total).c_str());
}

namespace {

// Creates each folder of parts in turn below folder (which exists). A
// symbolic link in the way is removed (the link alone, never what it points
// to) and a real folder made in its place: an extraction never writes
// through a link out of the chosen folder. Returns the folder made. Levels
// already in `ready` were made (or checked) by this extraction and are not
// looked at again; each new level joins it, and the group when it was
// created now.
std::string CreateFoldersBelow(const std::string& folder, const std::vector<std::string>& parts,
                               std::unordered_set<std::string>& ready, AtomicFileGroup& group) {
    std::string at = folder;
    for (const std::string& part : parts) {
        at = JoinPath(at, Cp1252ToUtf8(part));
        if (ready.contains(at)) continue;
        const std::filesystem::path p = PathFromUtf8(at);
        std::error_code ec, probe;
        if (std::filesystem::is_symlink(p, probe)) std::filesystem::remove(p, ec);
        const bool made = !ec && std::filesystem::create_directory(p, ec);
        const auto st = std::filesystem::symlink_status(p, probe);
        if (st.type() != std::filesystem::file_type::directory)
            throw FileError(txt::CannotCreateFolder, at,
                            ec ? TextArg(ec.message()) : TextArg(txt::FileInTheWay));
        if (made) group.AddFolder(at);
        ready.insert(at);
    }
    return at;
}

// Writes one entry to its temporary file and hands it to the group. False
// when progress asked to stop inside the entry (its temporary is dropped).
bool CopyEntry(BinaryFile& in, const ArchiveEntry& e, const std::string& path,
               std::vector<char>& buffer, AtomicFileGroup& group, const ProgressFn& progress,
               std::int64_t& done, std::int64_t total) {
    // A link already at the file's place is replaced by the file. Stale
    // temporaries were removed from the folder before its first file.
    AtomicFile out(path, txt::ReadOnlyTarget, LinkAtTarget::Replace,
                   StaleTemporaries::LeftToCaller);
    in.Seek(e.offset);
    std::uint64_t left = e.size;
    while (left > 0) {
        const std::size_t n = static_cast<std::size_t>(std::min<std::uint64_t>(left, kCopyBlock));
        in.ReadExact(buffer.data(), n);
        out.File().Write(buffer.data(), n);
        left -= n;
        done += static_cast<std::int64_t>(n);
        if (left > 0 && progress && !progress(done, total)) return false;
    }
    group.Add(out);
    return true;
}

} // namespace

std::string ExtractionPath(const std::string& folder, const std::string& entryName,
                           bool structure) {
    const std::vector<std::string> parts = SafeComponents(entryName);
    std::string relative;
    if (structure) {
        for (const std::string& p : parts) {
            if (!relative.empty()) relative += kNativeSeparator;
            relative += p;
        }
    } else {
        relative = parts.back();
    }
    // Entry names are Windows-1252; file names here are UTF-8.
    return JoinPath(folder, Cp1252ToUtf8(relative));
}

int ExtractEntries(ArchiveFile& archive, const std::vector<int>& entries, const std::string& folder,
                   bool structure, const ProgressFn& progress) {
    if (!archive.IsOpen()) throw FileError(txt::ArchiveNotOpen, archive.Path());

    std::vector<int> chosen = entries;
    std::sort(chosen.begin(), chosen.end());
    chosen.erase(std::unique(chosen.begin(), chosen.end()), chosen.end());

    // Everything is checked before the first file is written: a refused name
    // or a damaged entry leaves the destination untouched.
    const auto& all = archive.Entries();
    const std::uint64_t archiveSize = archive.ArchiveSize();
    std::vector<std::string> paths;
    std::vector<std::vector<std::string>> folders; // below folder, with the structure
    paths.reserve(chosen.size());
    folders.reserve(chosen.size());
    for (int index : chosen) {
        if (index < 0 || static_cast<std::size_t>(index) >= all.size())
            throw RefusedError(txt::NoEntryNumber, index, archive.Path());
        const ArchiveEntry& e = all[static_cast<std::size_t>(index)];
        if (std::uint64_t(e.offset) + e.size > archiveSize)
            throw FormatError(
                txt::DamagedArchive, archive.Path(),
                MessageOf(txt::EntryPastEnd, Cp1252ToUtf8(e.name), e.offset, e.size, archiveSize));
        paths.push_back(ExtractionPath(folder, e.name, structure));
        std::vector<std::string> parts = SafeComponents(e.name);
        parts.pop_back();
        if (!structure) parts.clear();
        folders.push_back(std::move(parts));
    }

    CreateFolders(folder);
    BinaryFile& in = archive.File();
    std::vector<char> buffer(kCopyBlock);
    std::int64_t total = 0, done = 0;
    for (int index : chosen)
        total += all[static_cast<std::size_t>(index)].size;
    // The copies take the progress to about 90%; putting every file on the
    // disk and into place at the end takes the rest.
    const std::int64_t shown = total + (total + 8) / 9;
    // Each file is written once under a temporary name; the group puts them
    // all on the disk and into place at the end, also after a stop or an
    // error: the files complete by then stay.
    AtomicFileGroup group;
    std::unordered_set<std::string> ready{folder}; // folders made or checked
    // Folders cleared of stale temporaries: the destination always (a flat
    // extraction killed there leaves them where a structured one writes none).
    std::unordered_set<std::string> scanned{folder};
    RemoveStaleTemporariesIn(folder);
    int written = 0;
    bool stopped = false;
    try {
        for (std::size_t i = 0; i < chosen.size(); ++i) {
            const std::string at = CreateFoldersBelow(folder, folders[i], ready, group);
            if (scanned.insert(at).second) RemoveStaleTemporariesIn(at);
            const ArchiveEntry& e = all[static_cast<std::size_t>(chosen[i])];
            if (!CopyEntry(in, e, paths[i], buffer, group, progress, done, shown)) break;
            ++written;
            if (progress && !progress(done, shown)) {
                stopped = true;
                break;
            }
        }
    } catch (...) {
        try {
            group.Commit();
        } catch (const FileError&) {
            // The first failure is the one to report.
        }
        throw;
    }
    group.Commit();
    if (progress && !stopped && written == static_cast<int>(chosen.size())) progress(shown, shown);
    return Distinct(paths, written);
}

} // namespace orvane
