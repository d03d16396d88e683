#include "settings/Settings.h"

#include "platform/BinaryFile.h"
#include "platform/Cp1252.h"
#include "platform/Paths.h"
#include "settings/IniFile.h"

namespace orvane {

namespace {

bool IsUtf8(std::string_view text) {
    for (std::size_t i = 0; i < text.size();) {
        const auto c = static_cast<unsigned char>(text[i]);
        const std::size_t n = c < 0x80         ? 1
                              : (c >> 5) == 6  ? 2
                              : (c >> 4) == 14 ? 3
                              : (c >> 3) == 30 ? 4
                                               : 0;
        if (n == 0 || i + n > text.size()) return false;
        for (std::size_t k = 1; k < n; ++k)
            if ((static_cast<unsigned char>(text[i + k]) >> 6) != 2) return false;
        i += n;
    }
    return true;
}

} // namespace

std::string FolderFromIni(const std::string& bytes) {
    return IsUtf8(bytes) ? bytes : Cp1252ToUtf8(bytes);
}
std::string FolderToIni(const std::string& utf8) {
    std::string cp1252 = Utf8ToCp1252(utf8);
    return Cp1252ToUtf8(cp1252) == utf8 ? cp1252 : utf8;
}

namespace {

// A folder entry that is missing or holds no text gives the default: an empty
// folder names nothing the program could use.
std::string Folder(const IniFile& ini, std::string_view section, std::string_view key,
                   const std::string& fallback) {
    auto v = ini.Get(section, key);
    return v && !v->empty() ? FolderFromIni(*v) : fallback;
}

// Only 1 and 2 are simulator versions; anything else is taken as Fly! 2, the
// default, so that FlyDir and WorkDir always name the folders of a version.
int KnownVersion(int version) {
    return version == 1 ? 1 : 2;
}

void FoldersOfVersion(SessionSettings& s) {
    s.FlyDir = WithTrailingSeparator(s.SimulatorVersion == 1 ? s.Fly1Dir : s.Fly2Dir);
    s.WorkDir = WithTrailingSeparator(s.SimulatorVersion == 1 ? s.Work1Dir : s.Work2Dir);
}

void AddSeparatorsToSixFolders(SessionSettings& s) {
    for (std::string* f :
         {&s.Fly1Dir, &s.Work1Dir, &s.Fly2Dir, &s.Work2Dir, &s.DbImportDir, &s.DexImportDir})
        *f = WithTrailingSeparator(*f);
}

// The keys both dialog reads share; the defaults are the session's values
// before the read.
void ReadFolders(SessionSettings& s, const IniFile& ini) {
    const SessionSettings before = s;
    s.SimulatorVersion = KnownVersion(ini.GetInt("init", "version", before.SimulatorVersion));
    s.Fly1Dir = Folder(ini, "fly1", "flydir", before.FlyDir);
    s.Work1Dir = Folder(ini, "work1", "workdir", before.WorkDir);
    s.Fly2Dir = Folder(ini, "fly2", "flydir", before.FlyDir);
    s.Work2Dir = Folder(ini, "work2", "workdir", before.WorkDir);
    s.DbImportDir = Folder(ini, "dbimport", "dbimportdir", before.DbImportDir);
    s.DexImportDir = Folder(ini, "deximport", "deximportdir", before.DexImportDir);
}

} // namespace

std::string SettingsFilePath() {
    return ProgramFilePath("Orvane.ini");
}

bool StartupRead(SessionSettings& s, const std::string& iniPath) {
    if (!FileExists(iniPath)) {
        s.FirstRunDone = false;
        return false;
    }
    const IniFile ini = IniFile::Load(iniPath);
    const std::string fly1 = NativeDefaultFolder(defaults::kFly1);
    const std::string database1 = NativeDefaultFolder(defaults::kFly1Database);

    s.FirstRunDone = ini.GetBool("init", "first", false);
    s.SimulatorVersion = KnownVersion(ini.GetInt("init", "version", 2));
    s.Language = ini.GetString("init", "langage", "english");
    // The four version folders stay as read; the dialog adds their separators.
    s.Fly1Dir = Folder(ini, "fly1", "flydir", fly1);
    s.Work1Dir = Folder(ini, "work1", "workdir", database1);
    s.Fly2Dir = Folder(ini, "fly2", "flydir", fly1);
    s.Work2Dir = Folder(ini, "work2", "workdir", database1);
    FoldersOfVersion(s);
    s.DbImportDir = WithTrailingSeparator(Folder(ini, "dbimport", "dbimportdir", fly1));
    s.DexImportDir = WithTrailingSeparator(Folder(ini, "DexImport", "DexImportdir", fly1));
    return true;
}

void DialogRead(SessionSettings& s, const std::string& iniPath) {
    if (FileExists(iniPath)) {
        ReadFolders(s, IniFile::Load(iniPath));
    } else {
        // First run: the Fly! II installation, nothing written to disk.
        s.Fly1Dir = NativeDefaultFolder(defaults::kFly1);
        s.Work1Dir = NativeDefaultFolder(defaults::kFly1Data);
        s.Fly2Dir = NativeDefaultFolder(defaults::kFly2);
        s.Work2Dir = NativeDefaultFolder(defaults::kFly2Data);
        s.DbImportDir = NativeDefaultFolder(defaults::kFly2);
        s.DexImportDir = NativeDefaultFolder(defaults::kFly2);
        s.SimulatorVersion = 2;
    }
    AddSeparatorsToSixFolders(s);
    // FlyDir and WorkDir always end with a separator: paths are built by
    // appending names to them.
    FoldersOfVersion(s);
}

void ReadChosenFile(SessionSettings& s, const std::string& path) {
    ReadFolders(s, IniFile::Load(path));
    AddSeparatorsToSixFolders(s);
}

void DialogWrite(const std::string& iniPath, const SessionSettings& s, const FolderBoxes& boxes) {
    // All keys in one save: the file is replaced once, complete.
    IniFile ini = IniFile::Load(iniPath);
    ini.Set("init", "first", "1");
    ini.Set("init", "version", std::to_string(s.SimulatorVersion));
    ini.Set("fly1", "flydir", FolderToIni(boxes.fly1));
    ini.Set("work1", "workdir", FolderToIni(boxes.work1));
    ini.Set("fly2", "flydir", FolderToIni(boxes.fly2));
    ini.Set("work2", "workdir", FolderToIni(boxes.work2));
    ini.Set("dbimport", "dbimportdir", FolderToIni(boxes.dbImport));
    ini.Set("deximport", "deximportdir", FolderToIni(boxes.dexImport));
    ini.Save(iniPath);
}

void LanguageWrite(const std::string& iniPath, bool english) {
    WriteProfileString(iniPath, "init", "langage",
                       english ? "english"
                               : "fran\xE7"
                                 "ais");
}

void SelectVersion(SessionSettings& s, int version) {
    s.SimulatorVersion = KnownVersion(version);
    FoldersOfVersion(s);
}

} // namespace orvane
