#include "settings/RecentFiles.h"

#include "platform/BinaryFile.h"
#include "platform/Cp1252.h"
#include "platform/Paths.h"
#include "settings/IniFile.h"
#include "settings/Settings.h"
#include "settings/Texts.h"

#include <algorithm>
#include <array>

namespace orvane {

namespace {

constexpr const char* kSection = "recent";

// The kinds as the settings file names them.
constexpr std::array<std::pair<SourceKind, const char*>, 4> kKindNames{{
    {SourceKind::Dbd, "dbd"},
    {SourceKind::Archive, "archive"},
    {SourceKind::Dex, "dex"},
    {SourceKind::Csv, "csv"},
}};

SourceKind KindNamed(const std::string& name) {
    for (const auto& [kind, text] : kKindNames)
        if (name == text) return kind;
    return SourceKind::None;
}

const char* NameOf(SourceKind kind) {
    for (const auto& [k, text] : kKindNames)
        if (k == kind) return text;
    return "";
}

std::string Key(const char* what, std::size_t n) {
    return what + std::to_string(n + 1);
}

} // namespace

std::string SourceName(const TableSource& source) {
    if (source.kind == SourceKind::None) return {};
    std::string name = FileNameOf(source.path);
    if (source.kind == SourceKind::Archive && !source.entry.empty())
        name += txt::ArchiveEntrySeparator + Cp1252ToUtf8(source.entry);
    return name;
}

void AddRecentFile(std::vector<RecentFile>& list, const TableSource& source) {
    if (source.kind == SourceKind::None || source.path.empty()) return;
    RemoveRecentFile(list, source);
    list.insert(list.begin(), RecentFile{source, 0});
    if (list.size() > kRecentFilesKept) list.resize(kRecentFilesKept);
}

void RemoveRecentFile(std::vector<RecentFile>& list, const TableSource& source) {
    list.erase(std::remove_if(list.begin(), list.end(),
                              [&](const RecentFile& f) { return f.source == source; }),
               list.end());
}

bool RecentFileExists(const RecentFile& file) {
    return FileExists(file.source.path);
}

std::vector<RecentFile> ReadRecentFiles(const std::string& iniPath) {
    const IniFile ini = IniFile::Load(iniPath);
    std::vector<RecentFile> list;
    for (std::size_t n = 0; n < kRecentFilesKept; ++n) {
        RecentFile f;
        f.source.kind = KindNamed(ini.GetString(kSection, Key("kind", n), ""));
        f.source.path = FolderFromIni(ini.GetString(kSection, Key("file", n), ""));
        f.source.entry = ini.GetString(kSection, Key("entry", n), "");
        f.row = std::max(ini.GetInt(kSection, Key("row", n), 0), 0);
        if (f.source.kind == SourceKind::None || f.source.path.empty()) continue;
        if (std::none_of(list.begin(), list.end(),
                         [&](const RecentFile& g) { return g.source == f.source; }))
            list.push_back(std::move(f));
    }
    return list;
}

void WriteRecentFiles(const std::string& iniPath, const std::vector<RecentFile>& list) {
    if (!FileExists(iniPath)) return;
    IniFile ini = IniFile::Load(iniPath);
    // Every place written, so that a shorter list leaves no older entry behind.
    for (std::size_t n = 0; n < kRecentFilesKept; ++n) {
        const RecentFile* f = n < list.size() ? &list[n] : nullptr;
        ini.Set(kSection, Key("kind", n), f ? NameOf(f->source.kind) : "");
        ini.Set(kSection, Key("file", n), f ? FolderToIni(f->source.path) : "");
        ini.Set(kSection, Key("entry", n), f ? f->source.entry : "");
        ini.Set(kSection, Key("row", n), f ? std::to_string(f->row) : "0");
    }
    ini.Save(iniPath);
}

bool ReadReopenLast(const std::string& iniPath) {
    return IniFile::Load(iniPath).GetBool(kSection, "reopen", false);
}

void WriteReopenLast(const std::string& iniPath, bool on) {
    if (FileExists(iniPath)) WriteProfileString(iniPath, kSection, "reopen", on ? "1" : "0");
}

} // namespace orvane
