#include "platform/AtomicFile.h"
#include "platform/BinaryFile.h"
#include "platform/ByteScan.h"
#include "platform/Cp1252.h"
#include "platform/Errors.h"
#include "platform/Launcher.h"
#include "platform/Paths.h"
#include "support/DbdFixtures.h"
#include "support/NamedCase.h"
#include "support/TempDir.h"
#include "support/ThrownText.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <ostream>
#include <set>
#include <string>
#ifdef _WIN32
#include <process.h>
#include <windows.h>
#else
#include <unistd.h>
#endif

namespace orvane {
namespace {

namespace fs = std::filesystem;

long RunningProcessId() {
#ifdef _WIN32
    return static_cast<long>(_getpid());
#else
    return static_cast<long>(getpid());
#endif
}

class PlatformTest : public ::testing::Test {
  protected:
    std::string PathOf(const std::string& name) const { return (dir_ / name).string(); }
    std::set<std::string> Listing() const {
        std::set<std::string> names;
        for (const auto& e : fs::directory_iterator(dir_))
            names.insert(e.path().filename().string());
        return names;
    }

    testing::TempDir folder_;
    fs::path dir_ = folder_.Path();
};

using testing::ReadBytes;
using testing::WriteBytes;

// --- AtomicFile ---------------------------------------------------------------------------

TEST_F(PlatformTest, AtomicFileCommitReplacesTheTarget) {
    const std::string target = PathOf("AIRPORT.DBD");
    WriteBytes(target, "old contents, longer than the new");
    {
        AtomicFile out(target);
        out.File().Write("new", 3);
        // Until the commit, the target is as it was.
        EXPECT_EQ(ReadBytes(target), "old contents, longer than the new");
        EXPECT_TRUE(fs::exists(out.TemporaryPath()));
        EXPECT_EQ(FolderOf(out.TemporaryPath()), FolderOf(target));
        out.Commit();
        EXPECT_FALSE(fs::exists(out.TemporaryPath()));
    }
    EXPECT_EQ(ReadBytes(target), "new");
    EXPECT_EQ(Listing(), std::set<std::string>{"AIRPORT.DBD"});
}

TEST_F(PlatformTest, AtomicFileWithoutCommitLeavesTheTargetAndNoTemporaryFile) {
    const std::string target = PathOf("AIRPORT.DBD");
    WriteBytes(target, "old");
    {
        AtomicFile out(target);
        out.File().Write("half-writ", 9);
    }
    EXPECT_EQ(ReadBytes(target), "old");
    EXPECT_EQ(Listing(), std::set<std::string>{"AIRPORT.DBD"});

    {
        AtomicFile out(PathOf("new.dbd"));
        out.File().Write("x", 1);
        out.Discard();
    }
    EXPECT_EQ(Listing(), std::set<std::string>{"AIRPORT.DBD"});
}

TEST_F(PlatformTest, AtomicFileKeepsThePermissionsOfTheFileItReplaces) {
#ifdef _WIN32
    GTEST_SKIP() << "POSIX modes and owners: Windows files have neither";
#else
    const std::string target = PathOf("Orvane.ini");
    WriteBytes(target, "old");
    fs::permissions(target, fs::perms::owner_read | fs::perms::owner_write);
    WriteFileAtomically(target, "new");
    EXPECT_EQ(ReadBytes(target), "new");
    EXPECT_EQ(fs::status(target).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write);
#endif
}

TEST_F(PlatformTest, AtomicFileCreatesAMissingTargetAndRefusesImpossibleOnes) {
    WriteFileAtomically(PathOf("fresh.csv"), std::string("a;b\r\n\0\xE7", 7));
    EXPECT_EQ(ReadBytes(PathOf("fresh.csv")), std::string("a;b\r\n\0\xE7", 7));
    EXPECT_THROW(WriteFileAtomically(PathOf("no-such-folder/x.dbd"), "x"), FileError);
    fs::create_directory(PathOf("folder"));
    EXPECT_THROW(WriteFileAtomically(PathOf("folder"), "x"), FileError);
    EXPECT_TRUE(fs::is_directory(PathOf("folder")));
    EXPECT_EQ(Listing(), (std::set<std::string>{"folder", "fresh.csv"}));
}

// Targets a save must not replace as a plain rename would: a read-only file
// stays as it was, a link stays a link and its file takes the new bytes.
TEST_F(PlatformTest, AtomicFileRefusesReadOnlyTargetsAndKeepsLinks) {
#ifdef _WIN32
    GTEST_SKIP() << "read-only modes by chmod and symbolic links (which need administrator rights) "
                    "are POSIX";
#else
    const std::string locked = PathOf("locked.dbd");
    WriteBytes(locked, "old");
    fs::permissions(locked, fs::perms::owner_read | fs::perms::group_read);
    try {
        WriteFileAtomically(locked, "new", "%s est en lecture seule");
        ADD_FAILURE() << "a read-only target was replaced";
    } catch (const FileError& e) {
        EXPECT_EQ(std::string(e.what()), locked + " est en lecture seule");
    }
    EXPECT_EQ(ReadBytes(locked), "old");

    const std::string real = PathOf("real.dbd"), link = PathOf("link.dbd");
    WriteBytes(real, "old");
    fs::create_symlink("real.dbd", link);
    WriteFileAtomically(link, "new");
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(ReadBytes(real), "new");
    // A link to a file not made yet stays a link too, through a second link.
    fs::create_symlink("later.dbd", PathOf("dangling.dbd"));
    fs::create_symlink("dangling.dbd", PathOf("twice.dbd"));
    WriteFileAtomically(PathOf("twice.dbd"), "made");
    EXPECT_TRUE(fs::is_symlink(PathOf("twice.dbd")));
    EXPECT_TRUE(fs::is_symlink(PathOf("dangling.dbd")));
    EXPECT_EQ(ReadBytes(PathOf("later.dbd")), "made");
    EXPECT_EQ(Listing(), (std::set<std::string>{"dangling.dbd", "later.dbd", "link.dbd",
                                                "locked.dbd", "real.dbd", "twice.dbd"}));
#endif
}

// A save killed half-way leaves its temporary; the next save of that target
// removes it when its process is gone, and leaves a running one's alone.
TEST_F(PlatformTest, AtomicFileRemovesStaleTemporariesOfItsTarget) {
    const std::string prefix = AtomicFile::TemporaryPrefixFor(PathOf("AIRPORT.dbd"));
    WriteBytes(prefix + "99999999-0.tmp", "left by a dead save");
    const std::string running = std::to_string(RunningProcessId()) + "-999999.tmp";
    WriteBytes(prefix + running, "this test's own process runs");
    WriteBytes(PathOf(".OTHER.dbd.orvane-99999999-0.tmp"), "another target's");
    WriteFileAtomically(PathOf("AIRPORT.dbd"), "new");
    EXPECT_EQ(Listing(), (std::set<std::string>{"AIRPORT.dbd", ".AIRPORT.dbd.orvane-" + running,
                                                ".OTHER.dbd.orvane-99999999-0.tmp"}));
}

// Links planted where a writer's temporaries could go, pointing at a victim
// outside the writer's business: no write goes through one, whether the
// writer keeps a link at its target (a save) or replaces it (an
// extraction), and no cleanup of stale temporaries removes one.
TEST_F(PlatformTest, AtomicFileNeverWritesThroughOrRemovesAPlantedLink) {
#ifdef _WIN32
    GTEST_SKIP() << "symbolic links need administrator rights on Windows";
#else
    const std::string victim = PathOf("victim.txt"), target = PathOf("out.geojson");
    WriteBytes(victim, "victim");
    const std::string prefix = AtomicFile::TemporaryPrefixFor(target);
    std::set<std::string> planted{"victim.txt"};
    auto plant = [&](const std::string& path) {
        fs::create_symlink("victim.txt", path);
        planted.insert(fs::path(path).filename().string());
    };
    // The names a process id and a counter would give, and a dead
    // process's temporary that the cleanup would remove.
    for (int n = 0; n < 500; ++n)
        plant(prefix + std::to_string(RunningProcessId()) + "-" + std::to_string(n) + ".tmp");
    plant(prefix + "99999999-0.tmp");
    for (LinkAtTarget links : {LinkAtTarget::Follow, LinkAtTarget::Replace}) {
        if (links == LinkAtTarget::Replace) RemoveStaleTemporariesIn(folder_.Path());
        AtomicFile out(target, txt::ReadOnlyTarget, links);
        out.File().Write("export", 6);
        out.Commit();
        EXPECT_EQ(ReadBytes(victim), "victim");
        EXPECT_FALSE(fs::is_symlink(target));
        EXPECT_EQ(ReadBytes(target), "export");
        std::set<std::string> expected = planted;
        expected.insert("out.geojson");
        EXPECT_EQ(Listing(), expected);
    }
#endif
}

// The names a writer draws are taken by someone else: a link to a victim, a
// link to nowhere, a file, a folder. Each is left as it was and the next name
// drawn; when every draw is taken, the write fails and says why.
std::uint64_t gDraws[4];
std::size_t gDrawn = 0;
std::uint64_t ScriptedDraw() {
    return gDraws[std::min(gDrawn++, std::size(gDraws) - 1)];
}

TEST_F(PlatformTest, AtomicFileDrawsAnotherNameWhenOneIsTaken) {
#ifdef _WIN32
    GTEST_SKIP() << "symbolic links need administrator rights on Windows";
#else
    const std::string victim = PathOf("victim.txt"), target = PathOf("out.geojson");
    WriteBytes(victim, "victim");
    for (std::uint64_t i = 0; i < 4; ++i)
        gDraws[i] = i + 1;
    fs::create_symlink("victim.txt", AtomicFile::TemporaryPathFor(target, 1));
    fs::create_symlink("nowhere", AtomicFile::TemporaryPathFor(target, 2));
    fs::create_directory(AtomicFile::TemporaryPathFor(target, 3));
    const std::set<std::string> planted = Listing();
    const TemporaryNameDraw saved = SetTemporaryNameDraw(&ScriptedDraw);
    gDrawn = 0;
    WriteFileAtomically(target, "export");
    EXPECT_EQ(gDrawn, 4u);
    EXPECT_EQ(ReadBytes(victim), "victim");
    EXPECT_FALSE(fs::exists(PathOf("nowhere")));
    std::set<std::string> expected = planted;
    expected.insert("out.geojson");
    EXPECT_EQ(Listing(), expected);
    EXPECT_EQ(ReadBytes(target), "export");

    WriteBytes(AtomicFile::TemporaryPathFor(target, 4), "someone's file");
    gDrawn = 0;
    const std::string refusal =
        testing::ThrownText<FileError>([&] { WriteFileAtomically(target, "again"); });
    SetTemporaryNameDraw(saved);
    EXPECT_NE(refusal.find("Cannot create file " + target + ": File exists"), std::string::npos)
        << refusal;
    EXPECT_EQ(ReadBytes(target), "export");
    EXPECT_EQ(ReadBytes(AtomicFile::TemporaryPathFor(target, 4)), "someone's file");
#endif
}

// A group puts its files in place together at its commit, in the order they
// came; a rename that fails keeps the files before it and drops the rest; a
// group never committed leaves every target as it was.
TEST_F(PlatformTest, AtomicFileGroupPutsItsFilesInPlaceTogether) {
    WriteBytes(PathOf("A"), "old");
    auto add = [&](AtomicFileGroup& group, const std::string& name, const std::string& bytes) {
        AtomicFile out(PathOf(name));
        out.File().Write(bytes.data(), bytes.size());
        group.Add(out);
    };
    {
        AtomicFileGroup group;
        add(group, "A", "new");
        add(group, "B", "new");
        EXPECT_EQ(ReadBytes(PathOf("A")), "old");
        EXPECT_EQ(Listing().size(), 3u) << "the target and two temporaries";
    }
    EXPECT_EQ(Listing(), std::set<std::string>{"A"});
    EXPECT_EQ(ReadBytes(PathOf("A")), "old");

    AtomicFileGroup group;
    for (const char* name : {"A", "B", "C", "D"})
        add(group, name, std::string("new ") + name);
    fs::create_directories(PathOf("C/inside")); // C's rename must fail
    EXPECT_THROW(group.Commit(), FileError);
    EXPECT_EQ(Listing(), (std::set<std::string>{"A", "B", "C"}));
    EXPECT_EQ(ReadBytes(PathOf("A")), "new A");
    EXPECT_EQ(ReadBytes(PathOf("B")), "new B");
}

// Every failure names the system's real reason, and the old file survives.
TEST_F(PlatformTest, FailedWritesToAFullDiskSayWhy) {
#ifdef _WIN32
    GTEST_SKIP() << "no /dev/full on Windows to fill a disk with";
#else
    BinaryFile full("/dev/full", OpenMode::ReadWrite);
    const std::string block(BinaryFile::kBufferSize, 'x');
    EXPECT_THROW(
        {
            full.Write(block.data(), block.size()); // large writes go straight through
            full.Write("y", 1);
            full.Flush();
        },
        FileError);
    try {
        full.Write("y", 1);
        full.Close();
        ADD_FAILURE() << "a write to a full disk was swallowed";
    } catch (const FileError& e) {
        EXPECT_NE(std::string(e.what()).find("No space left on device"), std::string::npos)
            << e.what();
    }
#endif
}

TEST_F(PlatformTest, FailedRenamesSayWhyAndKeepTheOldFile) {
    const std::string target = PathOf("AIRPORT.dbd");
    // The commit's error: it names the target and a reason; no temporary is left.
    auto expectCommitFails = [&](AtomicFile& out, const std::string& reason) {
        try {
            out.Commit();
            ADD_FAILURE() << "the rename's failure was not reported";
        } catch (const FileError& e) {
            const std::string what = e.what();
            EXPECT_EQ(what.find("Success"), std::string::npos) << what;
            EXPECT_NE(what.find(target), std::string::npos) << what;
            EXPECT_NE(what.find(reason), std::string::npos) << what;
        }
        EXPECT_EQ(Listing(), (std::set<std::string>{"AIRPORT.dbd"}));
    };
    {
        WriteBytes(target, "old");
        AtomicFile out(target);
        out.File().Write("new", 3);
        // The target becomes a folder with a file in it: the rename must fail.
        fs::remove(target);
        fs::create_directories(PathOf("AIRPORT.dbd/inside"));
        expectCommitFails(out, "");
        fs::remove_all(target);
    }
#ifdef _WIN32
    // Another program (the simulator) holds the file open without sharing it.
    WriteBytes(target, "old");
    AtomicFile out(target);
    out.File().Write("new", 3);
    HANDLE held = CreateFileW(PathFromUtf8(target).c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    expectCommitFails(out, "Permission denied");
    CloseHandle(held);
    EXPECT_EQ(ReadBytes(target), "old");
#endif
}

// --- BinaryFile ---------------------------------------------------------------------------

// Two opens of one file are two writers: one holds the write lock until it
// lets go or closes. A file renamed over a path, or rewritten, is another
// file for the identity.
TEST_F(PlatformTest, BinaryFileLocksAndIdentity) {
    const std::string path = PathOf("NAVAID.POD");
    WriteBytes(path, "archive");
    BinaryFile first(path, OpenMode::ReadWrite), second(path, OpenMode::ReadWrite);
    ASSERT_TRUE(first.TryLockForWrite());
    EXPECT_FALSE(second.TryLockForWrite());
    first.Unlock();
    ASSERT_TRUE(second.TryLockForWrite());
    EXPECT_FALSE(first.TryLockForWrite());
    second.Close();
    EXPECT_TRUE(first.TryLockForWrite());

    const FileIdentity opened = first.Identity();
    EXPECT_EQ(IdentityOfPath(path, LastLink::Follow), opened);
    first.Write("A", 1);
    first.Flush();
    first.MarkChangedSince(opened.modifiedNs);
    EXPECT_NE(first.Identity().modifiedNs, opened.modifiedNs);
#ifndef _WIN32 // Windows renames nothing over a file held open
    WriteBytes(PathOf("new"), "Archive");
    fs::rename(PathOf("new"), path);
    EXPECT_NE(IdentityOfPath(path, LastLink::Follow)->inode, first.Identity().inode);
#endif
    EXPECT_EQ(IdentityOfPath(PathOf("none"), LastLink::Follow), std::nullopt);
}

TEST_F(PlatformTest, BinaryFileShortReadThrowsNamingTheFile) {
    const std::string path = PathOf("short.pod");
    WriteBytes(path, std::string("\x01\x02\x03\x04\x05\x06", 6));
    BinaryFile f(path, OpenMode::Read);
    EXPECT_EQ(f.Size(), 6u);
    EXPECT_EQ(f.ReadI32(), 0x04030201);
    unsigned char buf[4];
    try {
        f.ReadExact(buf, 4);
        FAIL() << "a read past the end must throw";
    } catch (const FileError& e) {
        EXPECT_NE(std::string(e.what()).find(path), std::string::npos) << e.what();
        EXPECT_NE(std::string(e.what()).find("offset 4"), std::string::npos) << e.what();
    }
}

TEST_F(PlatformTest, BinaryFileOpenErrorsNameTheFile) {
    const std::string missing = PathOf("missing.epd");
    try {
        BinaryFile f(missing, OpenMode::Read);
        FAIL() << "opening a missing file must throw";
    } catch (const FileError& e) {
        EXPECT_NE(std::string(e.what()).find(missing), std::string::npos) << e.what();
    }
    BinaryFile f;
    EXPECT_FALSE(f.TryOpen(dir_.string(), OpenMode::Read)); // a folder is no file
    EXPECT_FALSE(f.IsOpen());
}

TEST_F(PlatformTest, BinaryFileSeekRelativeStaysInsideTheFile) {
    const std::string path = PathOf("ten.bin");
    WriteBytes(path, "0123456789");
    BinaryFile f(path, OpenMode::Read);
    f.Seek(4);
    EXPECT_FALSE(f.SeekRelative(7)); // past the end
    EXPECT_EQ(f.Position(), 4u);
    EXPECT_FALSE(f.SeekRelative(-5)); // before the start
    EXPECT_EQ(f.Position(), 4u);
    EXPECT_TRUE(f.SeekRelative(-4));
    EXPECT_EQ(f.Position(), 0u);
    EXPECT_TRUE(f.SeekRelative(10)); // exactly the end
    EXPECT_EQ(f.Position(), 10u);
    char c;
    EXPECT_EQ(f.ReadSome(&c, 1), 0u);
}

TEST_F(PlatformTest, BinaryFileReadWriteChangesOnlyTheBytesWritten) {
    const std::string path = PathOf("rec.pod");
    WriteBytes(path, "AAAABBBBCCCC");
    {
        BinaryFile f(path, OpenMode::ReadWrite);
        f.Seek(4);
        char got[4];
        f.ReadExact(got, 4);
        EXPECT_EQ(std::string(got, 4), "BBBB");
        f.Write("xy", 2); // right after a read
    }
    EXPECT_EQ(ReadBytes(path), "AAAABBBBxyCC");
}

// --- Windows-1252 -------------------------------------------------------------------------

struct CharCase : testing::NamedCase {
    std::string cp1252;
    std::string utf8;
};

class PlatformCp1252 : public ::testing::TestWithParam<CharCase> {};

TEST_P(PlatformCp1252, ConvertsBothWays) {
    const CharCase& c = GetParam();
    EXPECT_EQ(Cp1252ToUtf8(c.cp1252), c.utf8);
    EXPECT_EQ(Utf8ToCp1252(c.utf8), c.cp1252);
}

INSTANTIATE_TEST_SUITE_P(Platform, PlatformCp1252,
                         ::testing::Values(CharCase{"Ascii", "AIRPORT.DBD", "AIRPORT.DBD"},
                                           CharCase{"CCedilla",
                                                    "fran\xE7"
                                                    "ais",
                                                    "fran\xC3\xA7"
                                                    "ais"},
                                           CharCase{"Euro", "\x80", "\xE2\x82\xAC"},
                                           CharCase{"LowQuote", "\x82", "\xE2\x80\x9A"},
                                           CharCase{"CapitalYDiaeresis", "\x9F", "\xC5\xB8"},
                                           CharCase{"Undefined81", "\x81", "\xC2\x81"},
                                           CharCase{"Undefined9D", "\x9D", "\xC2\x9D"},
                                           CharCase{"NoBreakSpace", "\xA0", "\xC2\xA0"},
                                           CharCase{"YDiaeresis", "\xFF", "\xC3\xBF"},
                                           CharCase{"Degree", "45\xB0", "45\xC2\xB0"}),
                         testing::CaseName);

TEST(PlatformCp1252Text, EveryByteSurvivesTheRoundTrip) {
    std::string all;
    for (int b = 0; b < 256; ++b)
        all += static_cast<char>(b);
    EXPECT_EQ(Utf8ToCp1252(Cp1252ToUtf8(all)), all);
}

// The row scan of the exports: every byte value at every place of texts of
// every length around its 16- and 32-byte steps, against a byte loop.
TEST(PlatformByteScan, LowBytesAndTheExtraOneAreFoundWherever) {
    for (std::size_t length = 0; length <= 70; ++length)
        for (std::size_t at = 0; at < length; ++at)
            for (int b = 0; b < 256; ++b) {
                std::string text(length, 'a');
                text[at] = static_cast<char>(b);
                const bool expected = b <= '\r' || b == ';';
                ASSERT_EQ(HoldsLowByteOr(text, '\r', ';'), expected)
                    << "length " << length << ", byte " << b << " at " << at;
            }
    EXPECT_FALSE(HoldsLowByteOr(std::string(70, '\xFF'), '\r', ';'));
    EXPECT_FALSE(HoldsLowByteOr({}, '\r', ';'));
}

TEST(PlatformCp1252Text, ForeignAndBrokenUtf8) {
    EXPECT_EQ(Utf8ToCp1252("\xE4\xB8\xAD"), "?");     // a character Windows-1252 lacks
    EXPECT_EQ(Utf8ToCp1252("\xF0\x9F\x98\x80"), "?"); // outside the basic plane
    EXPECT_EQ(Utf8ToCp1252("fran\xE7"
                           "ais"),
              "fran\xE7"
              "ais");                          // already 8-bit
    EXPECT_EQ(Utf8ToCp1252("a\xC3"), "a\xC3"); // cut sequence
    // Transliterated: a Latin letter Windows-1252 lacks as its base letter,
    // a combining accent dropped, the rest as above.
    EXPECT_EQ(Utf8ToCp1252Transliterated("\xC5\x81\xC3\xB3\x64\xC5\xBA"), "L\xF3"
                                                                          "dz");
    EXPECT_EQ(Utf8ToCp1252Transliterated("Cluj-Napoca Ro\xC8\x99ia e\xCC\x81"),
              "Cluj-Napoca Rosia e");
    EXPECT_EQ(Utf8ToCp1252Transliterated("\xE4\xB8\xAD\xC5\x93"), "?\x9C");
    // Where the first byte that is no UTF-8 stands.
    EXPECT_EQ(InvalidUtf8At("Z\xC3\xBCrich"), std::string::npos);
    EXPECT_EQ(InvalidUtf8At("Z\xFCrich"), 1u);
    EXPECT_EQ(InvalidUtf8At("ab\xC0\xAF"), 2u);
}

TEST(PlatformCp1252Text, OverlongFormsAndSurrogatesAreNoCharacters) {
    // An overlong '/' or '.' must not slip a separator into a name.
    EXPECT_EQ(Utf8ToCp1252("\xC0\xAF"), "\xC0\xAF");
    EXPECT_EQ(Utf8ToCp1252("\xE0\x80\xAE"), "\xE0\x80\xAE");
    EXPECT_EQ(Utf8ToCp1252("\xED\xA0\x80"), "\xED\xA0\x80");         // a lone surrogate
    EXPECT_EQ(Utf8ToCp1252("\xF4\x90\x80\x80"), "\xF4\x90\x80\x80"); // past U+10FFFF
}

// --- Paths ------------------------------------------------------------------------------------

TEST_F(PlatformTest, ResolvePathCaseMatchesEachPartIgnoringCase) {
    fs::create_directories(dir_ / "Fly II" / "System");
    WriteBytes((dir_ / "Fly II" / "System" / "Airport.POD").string(), "x");
    const std::string actual = (dir_ / "Fly II" / "System" / "Airport.POD").string();
    const std::string written = (dir_ / "fly ii" / "SYSTEM" / "AIRPORT.pod").string();
#ifdef _WIN32
    // The file system ignores letter case itself: the path opens as written.
    EXPECT_EQ(ResolvePathCase(written), written);
    EXPECT_TRUE(fs::equivalent(written, actual));
#else
    EXPECT_EQ(ResolvePathCase(written), actual);
#endif
    EXPECT_EQ(ResolvePathCase(actual), actual);
    // Nothing matches: the path comes back as written.
    const std::string missing = (dir_ / "FLY II" / "system" / "NAVAID.POD").string();
    EXPECT_EQ(ResolvePathCase(missing), missing);
    const std::string wrongFolder = (dir_ / "Fly 2" / "System" / "Airport.POD").string();
    EXPECT_EQ(ResolvePathCase(wrongFolder), wrongFolder);
}

TEST_F(PlatformTest, CompanionProgramFileIsFoundWhateverItsLetterCase) {
    fs::create_directories(dir_ / "Fly II");
    WriteBytes(PathOf("Fly II/DBImport.EXE"), "MZ");
    const std::string actual = PathOf("Fly II/DBImport.EXE");
#ifdef _WIN32
    // Found as written: Windows opens it whatever the letter case.
    EXPECT_EQ(FindProgramFile(PathOf("fly ii/"), "dbimport.exe"), PathOf("fly ii/dbimport.exe"));
    EXPECT_EQ(FindProgramFile(PathOf("Fly II"), "DBIMPORT.exe"),
              PathOf("Fly II") + "\\DBIMPORT.exe");
#else
    EXPECT_EQ(FindProgramFile(PathOf("fly ii/"), "dbimport.exe"), actual);
    EXPECT_EQ(FindProgramFile(PathOf("Fly II"), "DBIMPORT.exe"), actual);
#endif
    EXPECT_EQ(FindProgramFile(PathOf("Fly II/"), "deximportgui.exe"), std::nullopt);
    // An empty folder names no folder, not the current one.
    EXPECT_EQ(FindProgramFile("", "dbimport.exe"), std::nullopt);
    // A folder of that name is no program.
    fs::create_directories(dir_ / "Fly II" / "deximportgui.exe");
    EXPECT_EQ(FindProgramFile(PathOf("Fly II/"), "deximportgui.exe"), std::nullopt);
}

TEST_F(PlatformTest, FindOnPathTakesTheFirstExecutableFile) {
#ifdef _WIN32
    GTEST_SKIP() << "the shell starts companion programs there, no PATH search";
#else
    for (const char* folder : {"a", "b", "c"})
        fs::create_directories(dir_ / folder);
    WriteBytes(PathOf("a/wine"), "not executable");
    fs::create_directories(dir_ / "b" / "wine"); // a folder
    WriteBytes(PathOf("c/wine"), "#!/bin/sh\n");
    fs::permissions(PathOf("c/wine"), fs::perms::owner_all);
    const std::string list = PathOf("a") + "::" + PathOf("b") + ":" + PathOf("c");
    EXPECT_EQ(FindOnPath("wine", list), PathOf("c/wine"));
    EXPECT_EQ(FindOnPath("wine", PathOf("a") + ":" + PathOf("b")), std::nullopt);
    EXPECT_EQ(FindOnPath("wine", ""), std::nullopt);
#endif
}

TEST(PlatformPaths, NativeDefaultFolderIsInsideTheWinePrefix) {
#ifdef _WIN32
    EXPECT_EQ(NativeDefaultFolder("c:\\Program Files\\x\\"), "c:\\Program Files\\x\\");
#else
    std::optional<std::string> old;
    if (const char* h = std::getenv("HOME")) old = h;
    setenv("HOME", "/home/pilot", 1);
    EXPECT_EQ(NativeDefaultFolder("c:\\Program Files\\Terminal Reality\\Fly!\\"),
              "/home/pilot/.wine/drive_c/Program Files/Terminal Reality/Fly!/");
    EXPECT_EQ(NativeDefaultFolder("D:\\Jeux\\Fly! II"), "/home/pilot/.wine/drive_d/Jeux/Fly! II");
    EXPECT_EQ(NativeDefaultFolder("data\\x"), "data/x");
    if (old)
        setenv("HOME", old->c_str(), 1);
    else
        unsetenv("HOME");
#endif
}

TEST(PlatformPaths, WithTrailingSeparator) {
    const std::string sep(1, kNativeSeparator);
    EXPECT_EQ(WithTrailingSeparator(""), "");
    EXPECT_EQ(WithTrailingSeparator("fly"), "fly" + sep);
    EXPECT_EQ(WithTrailingSeparator("fly" + sep), "fly" + sep);
    EXPECT_EQ(WithTrailingSeparator(sep), sep);
#ifdef _WIN32
    EXPECT_EQ(WithTrailingSeparator("c:/fly/"), "c:/fly/"); // '/' separates there too
#endif
}

// The settings file goes beside the program: the folder of the running
// program itself, not the current folder.
TEST(PlatformPaths, ProgramFolderHoldsTheRunningProgram) {
#ifdef _WIN32
    const std::string program = "orvane_core_tests.exe";
#else
    const std::string program = "orvane_core_tests";
#endif
    const std::string folder = ProgramFolder();
    ASSERT_FALSE(folder.empty());
    EXPECT_EQ(folder.back(), kNativeSeparator);
    EXPECT_TRUE(FileExists(folder + program)) << folder;
    EXPECT_EQ(ProgramFilePath("Orvane.ini"), folder + "Orvane.ini"); // a build folder is writable
}

// An installed program (bin/ beside share/orvane/) finds its shared files
// there and keeps its settings in the user's folder; any other folder is
// where the program was built or unpacked.
TEST(PlatformPaths, InstalledDataFolderIsShareOrvaneBesideBin) {
    testing::TempDir root;
    const std::string prefix = root.File("usr");
    fs::create_directories(PathFromUtf8(prefix + "/bin"));
    fs::create_directories(PathFromUtf8(prefix + "/share/orvane/help"));
    fs::create_directories(PathFromUtf8(root.File("opt/bin")));
    fs::create_directories(PathFromUtf8(root.File("opt/share/other")));
    fs::create_directories(PathFromUtf8(root.File("build/share/orvane")));
    const std::string bin = WithTrailingSeparator(prefix + kNativeSeparator + "bin");
    const std::string shared =
        WithTrailingSeparator(PathFromUtf8(prefix + "/share/orvane").make_preferred().string());
    EXPECT_EQ(InstalledDataFolder(bin), shared);
    EXPECT_EQ(InstalledDataFolder(WithTrailingSeparator(root.File("opt/bin"))), "");
    EXPECT_EQ(InstalledDataFolder(WithTrailingSeparator(root.File("build"))), "");
    EXPECT_EQ(InstalledDataFolder(WithTrailingSeparator(prefix)), "");
    // The tests run from their build folder: not installed.
    EXPECT_EQ(ProgramDataFolder(), ProgramFolder());
}

struct PathPartsCase : testing::NamedCase {
    std::string path, folder, file, extension;
};

class PlatformPathParts : public ::testing::TestWithParam<PathPartsCase> {};

TEST_P(PlatformPathParts, Splits) {
    const PathPartsCase& c = GetParam();
    EXPECT_EQ(FolderOf(c.path), c.folder);
    EXPECT_EQ(FileNameOf(c.path), c.file);
    EXPECT_EQ(ExtensionOf(c.path), c.extension);
}

INSTANTIATE_TEST_SUITE_P(
    Platform, PlatformPathParts,
    ::testing::Values(
        PathPartsCase{"Windows", "c:\\Fly\\system\\AIRPORT.POD", "c:\\Fly\\system\\", "AIRPORT.POD",
                      ".POD"},
        PathPartsCase{"Native", "/home/p/work/airport.dbd", "/home/p/work/", "airport.dbd", ".dbd"},
        PathPartsCase{"ArchiveEntry", "DATABASE\\AIRPORT.DBT", "DATABASE\\", "AIRPORT.DBT", ".DBT"},
        PathPartsCase{"Mixed", "c:\\a/b\\c.d", "c:\\a/b\\", "c.d", ".d"},
        PathPartsCase{"NameOnly", "memo.txt", "", "memo.txt", ".txt"},
        PathPartsCase{"TwoDots", "AIRPORT.DBD.bak", "", "AIRPORT.DBD.bak", ".bak"},
        PathPartsCase{"DotInFolderOnly", "/a.b/README", "/a.b/", "README", ""},
        PathPartsCase{"FolderOnly", "/work/", "/work/", "", ""},
        PathPartsCase{"Empty", "", "", "", ""}),
    testing::CaseName);

} // namespace
} // namespace orvane
