#include "settings/Settings.h"

#include "platform/Paths.h"
#include "settings/IniFile.h"
#include "settings/Memo.h"
#include "settings/RecentFiles.h"
#include "settings/Texts.h"

#include "support/DbdFixtures.h"
#include "support/NamedCase.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <ostream>
#include <string>

namespace orvane {
namespace {

namespace fs = std::filesystem;

using testing::ReadBytes;
using testing::WriteBytes;

#ifdef _WIN32
// The built-in folders, as Windows has them.
constexpr const char* kWineFly1 = defaults::kFly1;
constexpr const char* kWineFly1Database = defaults::kFly1Database;
constexpr const char* kWineFly1Data = defaults::kFly1Data;
constexpr const char* kWineFly2 = defaults::kFly2;
constexpr const char* kWineFly2Data = defaults::kFly2Data;
#else
// The built-in folders inside the Wine prefix of HOME=/home/pilot.
constexpr const char* kWineFly1 = "/home/pilot/.wine/drive_c/Program Files/Terminal Reality/Fly!/";
constexpr const char* kWineFly1Database =
    "/home/pilot/.wine/drive_c/Program Files/Terminal Reality/Fly!/database/";
constexpr const char* kWineFly1Data =
    "/home/pilot/.wine/drive_c/Program Files/Terminal Reality/Fly!/data/";
constexpr const char* kWineFly2 =
    "/home/pilot/.wine/drive_c/Program Files/Terminal Reality/Fly! II/";
constexpr const char* kWineFly2Data =
    "/home/pilot/.wine/drive_c/Program Files/Terminal Reality/Fly! II/data/";
#endif

// A folder text with the separator the program adds ('\\' on Windows).
std::string Added(const std::string& folder) {
    return folder + kNativeSeparator;
}

// A settings file in a folder of its own, and HOME pointing at a known place so
// that the built-in folders inside the Wine prefix are known texts.
class SettingsTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ini_ = (dir_ / "Orvane.ini").string();
#ifndef _WIN32
        if (const char* home = std::getenv("HOME")) oldHome_ = home;
        setenv("HOME", "/home/pilot", 1);
#endif
    }
    void TearDown() override {
#ifndef _WIN32
        if (oldHome_)
            setenv("HOME", oldHome_->c_str(), 1);
        else
            unsetenv("HOME");
#endif
    }

    void Write(const std::string& bytes) {
        WriteBytes(ini_, bytes);
    }

    testing::TempDir folder_;
    fs::path dir_ = folder_.Path();
    std::string ini_;
    std::optional<std::string> oldHome_;
};

// A session as the dialog leaves it, to see what each read changes.
SessionSettings Filled() {
    SessionSettings s;
    s.Language = "english";
    s.Fly1Dir = "/old/fly1/";
    s.Work1Dir = "/old/work1/";
    s.Fly2Dir = "/old/fly2/";
    s.Work2Dir = "/old/work2/";
    s.FlyDir = "/old/fly/";
    s.WorkDir = "/old/work/";
    s.DbImportDir = "/old/dbi/";
    s.DexImportDir = "/old/dex/";
    s.SimulatorVersion = 2;
    s.FirstRunDone = true;
    return s;
}

// The folders of a session in one list, to compare them at once: Fly1Dir,
// Work1Dir, Fly2Dir, Work2Dir, DbImportDir, DexImportDir, FlyDir, WorkDir.
using Folders = std::array<std::string, 8>;
Folders FoldersOf(const SessionSettings& s) {
    return {s.Fly1Dir,     s.Work1Dir,     s.Fly2Dir, s.Work2Dir,
            s.DbImportDir, s.DexImportDir, s.FlyDir,  s.WorkDir};
}

// --- Start-up read ------------------------------------------------------------------

TEST_F(SettingsTest, StartupWithoutFileOnlyClearsFirstRun) {
    SessionSettings s = Filled();
    EXPECT_FALSE(StartupRead(s, ini_));
    EXPECT_FALSE(s.FirstRunDone);
    SessionSettings expected = Filled();
    EXPECT_EQ(s.Language, expected.Language);
    EXPECT_EQ(FoldersOf(s), FoldersOf(expected));
    EXPECT_EQ(s.SimulatorVersion, 2);
    EXPECT_FALSE(fs::exists(ini_));
}

TEST_F(SettingsTest, StartupWithOnlyLanguageTakesTheBuiltInFolders) {
    Write("[init]\r\nlangage=english\r\n");
    SessionSettings s;
    EXPECT_TRUE(StartupRead(s, ini_));
    EXPECT_EQ(LangOf(s.Language), Lang::English);
    EXPECT_EQ(s.SimulatorVersion, 2);
    EXPECT_FALSE(s.FirstRunDone);
    EXPECT_EQ(FoldersOf(s), (Folders{kWineFly1, kWineFly1Database, kWineFly1, kWineFly1Database,
                                     kWineFly1, kWineFly1, kWineFly1, kWineFly1Database}));
}

struct StartupCase : testing::NamedCase {
    std::string file;
    std::string language;
    Lang lang;
    int version;
    bool firstRunDone;
    std::string flyDir, workDir, fly1Dir;
};

class SettingsStartup : public SettingsTest, public ::testing::WithParamInterface<StartupCase> {};

TEST_P(SettingsStartup, Reads) {
    const StartupCase& c = GetParam();
    Write(c.file);
    SessionSettings s;
    ASSERT_TRUE(StartupRead(s, ini_));
    EXPECT_EQ(s.Language, c.language);
    EXPECT_EQ(LangOf(s.Language), c.lang);
    EXPECT_EQ(s.SimulatorVersion, c.version);
    EXPECT_EQ(s.FirstRunDone, c.firstRunDone);
    EXPECT_EQ(s.FlyDir, c.flyDir);
    EXPECT_EQ(s.WorkDir, c.workDir);
    EXPECT_EQ(s.Fly1Dir, c.fly1Dir);
}

const std::string kFolders = "[fly1]\r\nflydir=/f1\r\n[work1]\r\nworkdir=/w1\r\n"
                             "[fly2]\r\nflydir=/f2/\r\n[work2]\r\nworkdir=/w2\r\n";

INSTANTIATE_TEST_SUITE_P(
    Settings, SettingsStartup,
    ::testing::Values(
        // Letter case counts for the language, not for the names.
        StartupCase{"CapitalEnglishIsFrench", "[INIT]\r\nLangage=English\r\n", "English",
                    Lang::French, 2, false, kWineFly1, kWineFly1Database, kWineFly1},
        StartupCase{"French",
                    "[init]\r\nlangage=fran\xE7"
                    "ais\r\nfirst=1\r\n",
                    "fran\xE7"
                    "ais",
                    Lang::French, 2, true, kWineFly1, kWineFly1Database, kWineFly1},
        // The version's folders get their separator, Fly1Dir stays as read.
        StartupCase{"Version1", "[init]\r\nversion=1\r\nfirst=1\r\n" + kFolders, "english",
                    Lang::English, 1, true, Added("/f1"), Added("/w1"), "/f1"},
        StartupCase{"Version2", "[init]\r\nversion=2\r\n" + kFolders, "english", Lang::English, 2,
                    false, "/f2/", Added("/w2"), "/f1"},
        StartupCase{"UnknownVersionIsFly2", "[init]\r\nversion=3\r\n" + kFolders, "english",
                    Lang::English, 2, false, "/f2/", Added("/w2"), "/f1"},
        StartupCase{"UnreadableVersionIsFly2", "[init]\r\nversion=1x\r\n" + kFolders, "english",
                    Lang::English, 2, false, "/f2/", Added("/w2"), "/f1"},
        StartupCase{"UnreadableFirstIsFalse", "[init]\r\nfirst=yes\r\n", "english", Lang::English,
                    2, false, kWineFly1, kWineFly1Database, kWineFly1},
        StartupCase{"EmptyFolderIsTheDefault",
                    "[init]\r\nversion=1\r\n[fly1]\r\nflydir=\r\n[work1]\r\nworkdir=  \r\n",
                    "english", Lang::English, 1, false, kWineFly1, kWineFly1Database, kWineFly1}),
    testing::CaseName);

TEST_F(SettingsTest, StartupReadsTheDexImportFolderTheDialogWrote) {
    FolderBoxes boxes{"/f1", "/w1", "/f2", "/w2", "/dbi", "/dex"};
    SessionSettings written;
    written.SimulatorVersion = 1;
    DialogWrite(ini_, written, boxes);
    SessionSettings s;
    ASSERT_TRUE(StartupRead(s, ini_));
    EXPECT_TRUE(s.FirstRunDone);
    EXPECT_EQ(s.SimulatorVersion, 1);
    EXPECT_EQ(s.DexImportDir, Added("/dex"));
    EXPECT_EQ(s.DbImportDir, Added("/dbi"));
    EXPECT_EQ(s.FlyDir, Added("/f1"));
    EXPECT_EQ(s.Work2Dir, "/w2");
}

// --- Dialog reads ---------------------------------------------------------------------

TEST_F(SettingsTest, DialogReadWithoutFileSetsFirstRunValuesAndWritesNothing) {
    SessionSettings s = Filled();
    s.SimulatorVersion = 1;
    DialogRead(s, ini_);
    EXPECT_EQ(FoldersOf(s), (Folders{kWineFly1, kWineFly1Data, kWineFly2, kWineFly2Data, kWineFly2,
                                     kWineFly2, kWineFly2, kWineFly2Data}));
    EXPECT_EQ(s.SimulatorVersion, 2);
    EXPECT_TRUE(s.FirstRunDone); // only the start-up read sets it
    EXPECT_FALSE(fs::exists(ini_));
}

TEST_F(SettingsTest, DialogReadDefaultsAreTheSessionsFoldersAndSeparatorsAreAdded) {
    // Only the Fly! 1 simulator folder and the version are in the file.
    Write("[init]\nversion=1\n[FLY1]\nFLYDIR=/sims/fly1\n");
    SessionSettings s = Filled();
    s.FlyDir = "/cur/fly"; // without separator: the dialog read adds it
    s.WorkDir = "/cur/work/";
    DialogRead(s, ini_);
    EXPECT_EQ(s.SimulatorVersion, 1);
    // FlyDir always ends with a separator, even when the file's folder did not.
    EXPECT_EQ(FoldersOf(s),
              (Folders{Added("/sims/fly1"), "/cur/work/", Added("/cur/fly"), "/cur/work/",
                       "/old/dbi/", "/old/dex/", Added("/sims/fly1"), "/cur/work/"}));
}

TEST_F(SettingsTest, StartupKeepsFly1DirAsReadUntilTheDialogRead) {
    Write("[init]\r\nversion=1\r\n[fly1]\r\nflydir=/sims/Fly\r\n");
    SessionSettings s;
    StartupRead(s, ini_);
    EXPECT_EQ(s.FlyDir, Added("/sims/Fly"));
    EXPECT_EQ(s.Fly1Dir, "/sims/Fly");
    DialogRead(s, ini_);
    EXPECT_EQ(s.Fly1Dir, Added("/sims/Fly"));
    EXPECT_EQ(s.FlyDir, Added("/sims/Fly"));
}

TEST_F(SettingsTest, ChosenFileChangesTheSixFoldersButNotFlyDirOrWorkDir) {
    const std::string chosen = (dir_ / "other.ini").string();
    WriteBytes(chosen,
               "[init]\r\nversion=1\r\n[fly1]\r\nflydir=/b/f1\r\n[work2]\r\nworkdir=/b/w2\r\n"
               "[DexImport]\r\nDexImportDir=/b/dex\r\n");
    SessionSettings s = Filled();
    ReadChosenFile(s, chosen);
    EXPECT_EQ(s.SimulatorVersion, 1);
    EXPECT_EQ(FoldersOf(s), (Folders{Added("/b/f1"), "/old/work/", "/old/fly/", Added("/b/w2"),
                                     "/old/dbi/", Added("/b/dex"), "/old/fly/", "/old/work/"}));
}

// --- Writes ---------------------------------------------------------------------------

TEST_F(SettingsTest, DialogWriteReplacesItsKeysAndKeepsTheRest) {
    Write("; mine\n[init]\nlangage=english\nversion=2\n[fly1]\nflydir=/a\n[other]\nx=1\n");
    SessionSettings s;
    s.SimulatorVersion = 1;
    DialogWrite(ini_, s, FolderBoxes{"/f1", "/w1/", "/f2", "/w2", "/dbi", "/dex"});
    EXPECT_EQ(ReadBytes(ini_), "; mine\n[init]\nlangage=english\nversion=1\nfirst=1\n"
                               "[fly1]\nflydir=/f1\n[other]\nx=1\n"
                               "\n[work1]\nworkdir=/w1/\n"
                               "\n[fly2]\nflydir=/f2\n"
                               "\n[work2]\nworkdir=/w2\n"
                               "\n[dbimport]\ndbimportdir=/dbi\n"
                               "\n[deximport]\ndeximportdir=/dex\n");
}

// A folder with accents is Windows-1252 in the file and UTF-8 in the session,
// so it survives the save, a restart and a file written by the Windows build;
// a character Windows-1252 lacks is kept as UTF-8 rather than lost.
TEST_F(SettingsTest, FoldersWithAccentsSurviveTheSaveAndARestart) {
    const std::string chloe = "/home/chlo\xC3\xA9/Fly II/", kana = "/home/\xE3\x81\x82/";
    SessionSettings s;
    s.SimulatorVersion = 2;
    DialogWrite(ini_, s, FolderBoxes{chloe, chloe, chloe, chloe, kana, chloe});
    EXPECT_NE(ReadBytes(ini_).find("flydir=/home/chlo\xE9/Fly II/"), std::string::npos);
    SessionSettings back;
    ASSERT_TRUE(StartupRead(back, ini_));
    EXPECT_EQ(back.Fly2Dir, chloe);
    EXPECT_EQ(back.FlyDir, chloe);
    EXPECT_EQ(back.DbImportDir, kana);
    DialogRead(back, ini_);
    EXPECT_EQ(back.Work2Dir, chloe);
}

TEST_F(SettingsTest, LanguageWriteOnNewFileWritesCedillaAsE7) {
    LanguageWrite(ini_, false);
    EXPECT_EQ(ReadBytes(ini_), "[init]\r\nlangage=fran\xE7"
                               "ais\r\n");
    LanguageWrite(ini_, true);
    EXPECT_EQ(ReadBytes(ini_), "[init]\r\nlangage=english\r\n");
}

TEST_F(SettingsTest, LanguageWriteLeavesFolderEntriesUntouched) {
    const std::string before = "[init]\r\nfirst=1\r\nversion=1\r\nlangage=english\r\n\r\n"
                               "[fly1]\r\nflydir=c:\\Fly\\\r\n[deximport]\r\n"
                               "deximportdir=c:\\Program Files\\Terminal Reality\\Fly! II\\\r\n";
    Write(before);
    SessionSettings s;
    StartupRead(s, ini_);
    LanguageWrite(ini_, false);
    std::string expected = before;
    expected.replace(expected.find("english"), 7,
                     "fran\xE7"
                     "ais");
    EXPECT_EQ(ReadBytes(ini_), expected);
    // In memory the language changes only at the next start.
    EXPECT_EQ(s.Language, "english");
}

// --- Version commands -------------------------------------------------------------------

TEST_F(SettingsTest, SelectVersionTakesThatVersionsFoldersWithSeparators) {
    SessionSettings s = Filled();
    s.Fly1Dir = "/f1";
    s.Work1Dir = "/w1/";
    s.Fly2Dir = "/f2";
    s.Work2Dir = "/w2";
    SelectVersion(s, 1);
    EXPECT_EQ(s.SimulatorVersion, 1);
    EXPECT_EQ(s.FlyDir, Added("/f1"));
    EXPECT_EQ(s.WorkDir, "/w1/");
    EXPECT_EQ(s.Fly1Dir, "/f1");
    SelectVersion(s, 2);
    EXPECT_EQ(s.SimulatorVersion, 2);
    EXPECT_EQ(s.FlyDir, Added("/f2"));
    EXPECT_EQ(s.WorkDir, Added("/w2"));
}

// --- Recent files -----------------------------------------------------------------

TEST_F(SettingsTest, RecentFilesPutTheLastFirstOnceAndKeepTen) {
    std::vector<RecentFile> list;
    const auto dbd = [&](int n) {
        return TableSource{
            SourceKind::Dbd, (dir_ / ("T" + std::to_string(n) + ".dbd")).string(), {}};
    };
    for (int n = 1; n <= 12; ++n)
        AddRecentFile(list, dbd(n));
    ASSERT_EQ(list.size(), kRecentFilesKept);
    EXPECT_EQ(list.front().source, dbd(12));
    EXPECT_EQ(list.back().source, dbd(3)); // the two oldest went
    // Opened again: moved to the top, not listed twice.
    AddRecentFile(list, dbd(7));
    EXPECT_EQ(list.size(), kRecentFilesKept);
    EXPECT_EQ(list[0].source, dbd(7));
    EXPECT_EQ(list[1].source, dbd(12));
    // The same path as another kind, or another entry, is another table.
    const TableSource pod{SourceKind::Archive, dbd(7).path, "DATABASE\\AIRPORT.DBD"};
    AddRecentFile(list, pod);
    EXPECT_EQ(list[0].source, pod);
    EXPECT_EQ(list[1].source, dbd(7));
    AddRecentFile(list, {});
    EXPECT_EQ(list[0].source, pod);
}

TEST_F(SettingsTest, RecentFilesSurviveARestartAndAGoneFileLeaves) {
    // Nothing is written before the first-run setup made the settings.
    WriteRecentFiles(ini_, {{{SourceKind::Dbd, "/a.dbd", {}}, 3}});
    EXPECT_FALSE(fs::exists(ini_));
    Write("[init]\r\nfirst=1\r\n");
    const std::string kept = (dir_ / "caf\xC3\xA9.dex").string(); // non-ASCII: UTF-8 path
    WriteBytes(kept, "x");
    std::vector<RecentFile> list = {
        {{SourceKind::Archive, (dir_ / "AIRPORT.POD").string(), "DATABASE\\AIRPORT.DBD"}, 12},
        {{SourceKind::Dex, kept, {}}, 0},
        {{SourceKind::Csv, (dir_ / "gone.csv").string(), {}}, 0}};
    WriteRecentFiles(ini_, list);
    EXPECT_EQ(ReadRecentFiles(ini_).size(), 3u);
    EXPECT_EQ(ReadRecentFiles(ini_)[0].source, list[0].source);
    EXPECT_EQ(ReadRecentFiles(ini_)[0].row, 12);
    EXPECT_EQ(ReadRecentFiles(ini_)[1].source.path, kept);
    EXPECT_FALSE(RecentFileExists(list[2]));
    EXPECT_TRUE(RecentFileExists(list[1]));
    // A shorter list leaves no older entry behind; the other sections stay.
    RemoveRecentFile(list, list[2].source);
    RemoveRecentFile(list, list[0].source);
    WriteRecentFiles(ini_, list);
    const std::vector<RecentFile> back = ReadRecentFiles(ini_);
    ASSERT_EQ(back.size(), 1u);
    EXPECT_EQ(back[0].source.kind, SourceKind::Dex);
    EXPECT_EQ(ReadBytes(ini_).rfind("[init]\r\nfirst=1\r\n", 0), 0u);
    // The option is off until it is set.
    EXPECT_FALSE(ReadReopenLast(ini_));
    WriteReopenLast(ini_, true);
    EXPECT_TRUE(ReadReopenLast(ini_));
}

TEST(SourceName, NamesTheFileOrTheArchiveAndItsEntry) {
    EXPECT_EQ(SourceName({}), "");
    EXPECT_EQ(SourceName({SourceKind::Dbd, "/w/AIRPORT.dbd", {}}), "AIRPORT.dbd");
    EXPECT_EQ(SourceName({SourceKind::Csv, "/w/x.csv", {}}), "x.csv");
    // The entry as the archive stores it, 8-bit.
    EXPECT_EQ(SourceName({SourceKind::Archive, "/s/AIRPORT.POD", "DATABASE\\A\xC9.DBD"}),
              "AIRPORT.POD \xE2\x96\xB8 DATABASE\\A\xC3\x89.DBD");
}

// --- memo.txt -----------------------------------------------------------------------

TEST_F(SettingsTest, MemoLinesAreCrLfWindows1252BothWays) {
    const std::string memo = (dir_ / "memo.txt").string();
    EXPECT_EQ(ReadMemo(memo), std::nullopt);
    struct Case {
        const char* text; // as the window holds it
        const char* file;
    };
    for (const Case& c : {Case{"", "\r\n"}, Case{"a\nb", "a\r\nb\r\n"},
                          Case{"\xC3\xA9t\xC3\xA9\n", "\xE9t\xE9\r\n\r\n"}}) {
        WriteMemo(memo, c.text, Lang::English);
        EXPECT_EQ(ReadBytes(memo), c.file);
        EXPECT_EQ(ReadMemo(memo), std::string(c.text));
    }
    // Lines ended by LF or CR alone read the same.
    WriteBytes(memo, "one\ntwo\rthree");
    EXPECT_EQ(ReadMemo(memo), std::string("one\ntwo\nthree"));
    // Outside Windows-1252: a question mark.
    EXPECT_EQ(MemoBytes("\xE2\x82\xAC \xE4\xB8\xAD"), "\x80 ?\r\n");
}

} // namespace
} // namespace orvane
