// The direct write of one row over its record inside a POD archive: the
// whole archive is compared before and after every write.
#include "database/ArchiveWriter.h"
#include "database/DirectWrite.h"
#include "platform/Errors.h"
#include "support/DirectWriteFixtures.h"
#include "support/ScriptedInteraction.h"
#include "support/TempDir.h"
#include "support/ThrownText.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <system_error>
#ifdef __linux__
#include <unistd.h>
#endif

using namespace orvane;
using namespace orvane::testing;

namespace {

constexpr int kRecords = 5;
constexpr std::size_t kEntryAt = 200; // the DBD entry's offset in the short-header POD

// Column of template field i.
int Col(int field) {
    return kFirstFieldColumn + field;
}
enum Field { Key, Name, Class, Freq, Lat, Lon, Var, Other, Apt, Icao };

class DirectWrite : public ::testing::Test {
  protected:
    void SetUp() override {
        s.Language = "english";
        s.SimulatorVersion = 2;
        s.Display.decimalSeparator = '.';
    }

    // Builds the archive, opens it as the editor does and keeps its bytes.
    void Open(ArchiveLayout layout = ArchiveLayout::PodShort, int records = kRecords) {
        path = dir.File(layout == ArchiveLayout::Epd ? "NAVAID.EPD" : "NAVAID.POD");
        WriteArchive(path, layout, NavWriteEntries(records));
        before = ReadBytes(path);
        ASSERT_TRUE(OpenDbdFromArchive(s, path, "", ui).loaded);
        ASSERT_TRUE(s.CurrentPod->IsOpen());
        if (layout == ArchiveLayout::PodShort) {
            const int index = s.CurrentPod->FindEntry("DATABASE\\NAVAID.DBD");
            ASSERT_GE(index, 0);
            ASSERT_EQ(s.CurrentPod->Entries()[index].offset, kEntryAt);
        }
    }

    // Bytes [first, last] of the archive that differ from `before`.
    std::pair<std::size_t, std::size_t> ChangedRange() const {
        return orvane::testing::ChangedRange(before, path);
    }

    SessionState s;
    ScriptedInteraction ui;
    TempDir dir;
    std::string path, before;
};

TEST_F(DirectWrite, UnchangedRowRewritesTheSameBytes) {
    Open();
    for (char sep : {'.', ','}) {
        SCOPED_TRACE(sep);
        s.Display.decimalSeparator = sep;
        ASSERT_TRUE(OpenDbdFromArchive(s, path, "", ui).loaded);
        for (int row = 1; row <= kRecords; ++row)
            EXPECT_EQ(WriteCurrentRow(s, row, ui), DirectWriteOutcome::Written);
        EXPECT_EQ(ReadBytes(path), before);
    }
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(DirectWrite, EditedRowChangesOnlyItsRecordAndKeepsProtectedFields) {
    Open();
    RecordTable& t = s.Table;
    t.SetCell(kColSuppr, 3, "x");
    t.SetCell(kColExport, 3, "258"); // low 8 bits: 2
    t.SetCell(Col(Key), 3, "CHANGED");
    t.SetCell(Col(Name), 3, "NEW");
    t.SetCell(Col(Class), 3, "300"); // low 8 bits: 44
    t.SetCell(Col(Freq), 3, "115.25");
    t.SetCell(Col(Lat), 3, "1.0000");
    t.SetCell(Col(Lon), 3, "2.0000");
    t.SetCell(Col(Var), 3, "-5");
    t.SetCell(Col(Other), 3, "99");
    t.SetCell(Col(Apt), 3, "1");
    t.SetCell(Col(Icao), 3, "ZZZZ");

    ASSERT_EQ(WriteCurrentRow(s, 3, ui), DirectWriteOutcome::Written);

    // Row 3 of records of 100 bytes behind the entry at 200: bytes 456-555.
    const auto [first, last] = ChangedRange();
    EXPECT_GE(first, 456u);
    EXPECT_LE(last, 555u);

    const std::string after = ReadBytes(path);
    const std::string old = before.substr(456, 100);
    std::string expected = old;
    expected[0] = 42;                                 // "x"; byte 1 keeps 7
    expected[2] = 2;                                  // byte 3 keeps 9
    expected.replace(14, 4, std::string("NEW\0", 4)); // bytes 18-33 keep the archive's
    expected[34] = 44;
    expected.replace(35, 8, RecordBuilder(8).Double(0, 115.25).Bytes());
    expected.replace(59, 4, RecordBuilder(4).Int(0, 0xFFFFFFFBu).Bytes());
    EXPECT_EQ(after.substr(456, 100), expected);
    EXPECT_EQ(after[457], 7);
    EXPECT_EQ(after[459], 9);
}

TEST_F(DirectWrite, TextFillingItsFieldHasNoZeroByteAndLongerTextIsRefused) {
    Open();
    s.Table.SetCell(Col(Name), 2, std::string(20, 'N'));
    ASSERT_EQ(WriteCurrentRow(s, 2, ui), DirectWriteOutcome::Written);
    const std::string after = ReadBytes(path);
    const std::size_t record = kEntryAt + 56 + 100;
    EXPECT_EQ(after.substr(record + 14, 20), std::string(20, 'N'));
    EXPECT_EQ(after[record + 34], before[record + 34]); // the next field is untouched

    const std::string written = after;
    s.Table.SetCell(Col(Name), 2, std::string(21, 'M'));
    EXPECT_THROW(WriteCurrentRow(s, 2, ui), ConversionError);
    EXPECT_EQ(ReadBytes(path), written);
}

TEST_F(DirectWrite, IntegerFieldsAreSigned32Bit) {
    Open();
    // Accepted at both ends of the signed range.
    s.Table.SetCell(Col(Var), 1, "2147483647");
    s.Table.SetCell(Col(Var), 2, "-2147483648");
    ASSERT_EQ(WriteCurrentRow(s, 1, ui), DirectWriteOutcome::Written);
    ASSERT_EQ(WriteCurrentRow(s, 2, ui), DirectWriteOutcome::Written);
    const std::string accepted = ReadBytes(path);
    EXPECT_EQ(accepted.substr(kEntryAt + 56 + 59, 4), RecordBuilder(4).Int(0, 0x7FFFFFFF).Bytes());
    EXPECT_EQ(accepted.substr(kEntryAt + 156 + 59, 4), RecordBuilder(4).Int(0, 0x80000000).Bytes());

    // A "%u" text above the signed range (the DBD writer takes it) is refused
    // with the row, field and text named, and nothing is written.
    s.Table.SetCell(Col(Freq), 4, "120.5"); // converts before the bad field
    s.Table.SetCell(Col(Var), 4, "4294967295");
    try {
        WriteCurrentRow(s, 4, ui);
        ADD_FAILURE() << "no conversion error";
    } catch (const ConversionError& e) {
        const std::string what = e.what();
        EXPECT_NE(what.find("Row 4"), std::string::npos) << what;
        EXPECT_NE(what.find("Variation"), std::string::npos) << what;
        EXPECT_NE(what.find("4294967295"), std::string::npos) << what;
    }
    s.Table.SetCell(Col(Var), 4, "2147483648");
    EXPECT_THROW(WriteCurrentRow(s, 4, ui), ConversionError);
    s.Table.SetCell(Col(Var), 4, "abc");
    EXPECT_THROW(WriteCurrentRow(s, 4, ui), ConversionError);
    EXPECT_EQ(ReadBytes(path), accepted);
}

TEST_F(DirectWrite, BadCellOfAnyKindWritesNothing) {
    Open();
    const std::pair<int, const char*> cases[] = {
        {kColExport, "one"},
        {Col(Class), "x"},
        {Col(Freq), ""},
        {Col(Freq), "1,5"},
    };
    for (auto [col, text] : cases) {
        SCOPED_TRACE(text);
        ASSERT_TRUE(OpenDbdFromArchive(s, path, "", ui).loaded);
        s.Table.SetCell(Col(Name), 5, "CHANGED"); // a good cell before the bad one
        s.Table.SetCell(col, 5, text);
        EXPECT_THROW(WriteCurrentRow(s, 5, ui), ConversionError);
        EXPECT_EQ(ReadBytes(path), before);
    }
    // A bad cell in a protected field is never read.
    ASSERT_TRUE(OpenDbdFromArchive(s, path, "", ui).loaded);
    s.Table.SetCell(Col(Lat), 5, "not a number");
    EXPECT_EQ(WriteCurrentRow(s, 5, ui), DirectWriteOutcome::Written);
    EXPECT_EQ(ReadBytes(path), before);
}

TEST_F(DirectWrite, RowWithoutRecordIsRefused) {
    Open();
    s.Table.SetRowCount(kRecords + 3); // rows beyond the records exist in the table
    for (int row : {0, -1, kRecords + 1, kRecords + 2}) {
        SCOPED_TRACE(row);
        try {
            WriteCurrentRow(s, row, ui);
            ADD_FAILURE() << "not refused";
        } catch (const RefusedError& e) {
            EXPECT_EQ(std::string(e.what()), Format(txt::RowWithoutRecord.en, row, kRecords));
        }
    }
    EXPECT_EQ(ReadBytes(path), before);
}

TEST_F(DirectWrite, RecordCountIsReadAgainFromTheArchive) {
    Open();
    // The archive's header now says 2 records: row 3 has no record any more.
    // (Its time is put back: a change the file's identity does not show.)
    std::string changed = before;
    changed[kEntryAt + 16] = 2;
    const auto time = std::filesystem::last_write_time(path);
    WriteBytes(path, changed);
    std::filesystem::last_write_time(path, time);
    EXPECT_THROW(WriteCurrentRow(s, 3, ui), RefusedError);
    EXPECT_EQ(ReadBytes(path), changed);
    EXPECT_EQ(s.CurrentPod->Dbd.RecordCount(), 2);
}

// The archive under the open table is swapped by another program: nothing
// is written into whatever the path names now, nor into the file loaded, and
// the refusal says so; a reload makes the write possible again.
TEST_F(DirectWrite, AnArchiveThatChangedSinceItWasOpenedIsRefused) {
    const std::string reordered = BuildArchive(
        ArchiveLayout::PodShort,
        {NavWriteEntries(kRecords)[1], NavWriteEntries(kRecords)[0], NavWriteEntries(kRecords)[2]});
    const std::string backupFirst = [] {
        auto entries = NavWriteEntries(kRecords);
        entries.insert(entries.begin(), {"BACKUP\\NAVAID.DBD", NavWriteDbd(kRecords), 0});
        return BuildArchive(ArchiveLayout::PodShort, entries);
    }();
    namespace fs = std::filesystem;
    const std::pair<const char*, std::function<void(const std::string&)>> swaps[] = {
#ifndef _WIN32 // Windows renames nothing over a file held open
        {"replaced by a rename, byte for byte",
         [&](const std::string& p) {
             WriteBytes(p + ".new", ReadBytes(p));
             fs::rename(p + ".new", p);
         }},
#endif
        {"rewritten in place with an entry before the DBD",
         [&](const std::string& p) { WriteBytes(p, backupFirst); }},
        {"entries reordered in place, same size and time",
         [&](const std::string& p) {
             ASSERT_EQ(reordered.size(), before.size());
             const auto time = fs::last_write_time(p);
             WriteBytes(p, reordered);
             fs::last_write_time(p, time);
         }},
    };
    for (const auto& [what, swap] : swaps) {
        SCOPED_TRACE(what);
        Open();
        s.Table.SetCell(Col(Name), 3, "CHANGED");
        swap(path);
        const std::string swapped = ReadBytes(path);
        EXPECT_EQ(ThrownText<RefusedError>([&] { WriteCurrentRow(s, 3, ui); }),
                  Format(txt::ArchiveChanged.en, path.c_str()));
        EXPECT_EQ(ReadBytes(path), swapped);
        // Reloaded, the archive as it is now takes the write.
        ASSERT_TRUE(OpenDbdFromArchive(s, path, "", ui).loaded);
        s.Table.SetCell(Col(Name), 3, "CHANGED");
        EXPECT_EQ(WriteCurrentRow(s, 3, ui), DirectWriteOutcome::Written);
        EXPECT_NE(ReadBytes(path), swapped);
    }
#ifndef _WIN32 // nor removes one
    Open();
    std::filesystem::remove(path);
    EXPECT_THROW(WriteCurrentRow(s, 1, ui), RefusedError);
#endif
}

// Two writers of one archive: while one holds the write lock the other waits,
// then says the archive is busy; one that opened the archive before the
// other wrote into it refuses, even within the clock's resolution. Nothing
// is locked while the archive is merely open.
TEST_F(DirectWrite, AnotherWriterMakesTheArchiveBusyOrChanged) {
    Open();
    SessionState other;
    other.Language = "english";
    other.SimulatorVersion = 2;
    other.Display.decimalSeparator = '.';
    ASSERT_TRUE(OpenDbdFromArchive(other, path, "", ui).loaded);
    {
        BinaryFile writer(path, OpenMode::ReadWrite);
        ASSERT_TRUE(writer.TryLockForWrite()) << "an open archive holds no lock";
        EXPECT_EQ(ThrownText<RefusedError>(
                      [&] { WriteCurrentRow(s, 2, ui, std::chrono::milliseconds(60)); }),
                  Format(txt::ArchiveBusy.en, path.c_str()));
    }
    EXPECT_EQ(ReadBytes(path), before);
    const auto time = std::filesystem::last_write_time(path);
    s.Table.SetCell(Col(Name), 2, "FIRST");
    ASSERT_EQ(WriteCurrentRow(s, 2, ui), DirectWriteOutcome::Written);
    EXPECT_NE(std::filesystem::last_write_time(path), time);
    const std::string first = ReadBytes(path);
    other.Table.SetCell(Col(Class), 2, "1");
    EXPECT_THROW(WriteCurrentRow(other, 2, ui), RefusedError);
    EXPECT_EQ(ReadBytes(path), first);
    // The first writer goes on writing: its own writes are no change to it.
    s.Table.SetCell(Col(Name), 4, "AGAIN");
    EXPECT_EQ(WriteCurrentRow(s, 4, ui), DirectWriteOutcome::Written);
}

TEST_F(DirectWrite, TableLoadedFromDiskIsRefused) {
    Open();
    const std::string dbd = dir.Write("work/NAVAID.dbd", NavWriteDbd(kRecords));
    ASSERT_TRUE(OpenDbdFromDisk(s, dbd, path, ui).loaded);
    EXPECT_FALSE(s.CurrentPod->IsOpen());
    EXPECT_THROW(WriteCurrentRow(s, 1, ui), RefusedError);
    EXPECT_EQ(ReadBytes(path), before);
    EXPECT_EQ(ReadBytes(dbd), NavWriteDbd(kRecords));

    SessionState empty;
    EXPECT_THROW(WriteCurrentRow(empty, 1, ui), RefusedError);
}

TEST_F(DirectWrite, EpdArchiveIsNeverWritten) {
    Open(ArchiveLayout::Epd);
    s.Table.SetCell(Col(Name), 1, "CHANGED");
    s.CurrentPod->Dbd.SetRecordCount(0);
    EXPECT_EQ(WriteCurrentRow(s, 1, ui), DirectWriteOutcome::NotWritten);
    EXPECT_EQ(ReadBytes(path), before);
    EXPECT_EQ(s.CurrentPod->Dbd.RecordCount(), kRecords); // the header was read again
    EXPECT_TRUE(ui.messages.empty());
}

#ifdef __linux__
// Closes the descriptor that holds path open behind its owner's back: the
// owner's own close of it then fails (EBADF), as a failing disk's would.
bool CloseBehindItsBack(const std::string& path) {
    const auto wanted = std::filesystem::canonical(path);
    for (const auto& fd : std::filesystem::directory_iterator("/proc/self/fd")) {
        std::error_code ec;
        if (std::filesystem::read_symlink(fd.path(), ec) == wanted)
            return ::close(std::stoi(fd.path().filename().string())) == 0;
    }
    return false;
}
#endif

// The close of an archive a record was written into is checked when the
// archive is released, and a failure is shown; an archive only read closes
// without a word. No destructor throws.
TEST_F(DirectWrite, AFailedCloseIsShownOnlyAfterAWrite) {
#ifndef __linux__
    GTEST_SKIP() << "the close is made to fail through /proc/self/fd";
#else
    for (bool written : {false, true}) {
        SCOPED_TRACE(written ? "written" : "only read");
        ui.messages.clear();
        Open();
        if (written) {
            ASSERT_EQ(WriteCurrentRow(s, 1, ui), DirectWriteOutcome::Written);
        }
        ASSERT_TRUE(CloseBehindItsBack(path));
        s.ReleaseArchive(ui);
        if (written) {
            ASSERT_EQ(ui.messages.size(), 1u);
            EXPECT_EQ(ui.messages[0].kind, MessageKind::Error);
            EXPECT_NE(ui.messages[0].text.find(path + ": Bad file descriptor: the record written "
                                                      "may not be on the disk"),
                      std::string::npos)
                << ui.messages[0].text;
        } else {
            EXPECT_TRUE(ui.messages.empty());
        }
        Open();
        ASSERT_TRUE(CloseBehindItsBack(path));
        s.CurrentPod.reset(); // the destructor's close fails quietly
    }
#endif
}

TEST_F(DirectWrite, Pod3ArchiveWritesAtItsEntry) {
    Open(ArchiveLayout::Pod3);
    s.Table.SetCell(Col(Class), 2, "1");
    ASSERT_EQ(WriteCurrentRow(s, 2, ui), DirectWriteOutcome::Written);
    const std::size_t at = kPod3HeaderSize + 56 + 100 + 34; // POD3: data right after the header
    const auto [first, last] = ChangedRange();
    EXPECT_EQ(first, at);
    EXPECT_EQ(last, at);
}

TEST(DirectWriteFields, ProtectedNamesAreCaseSensitive) {
    const std::pair<const char*, bool> cases[] = {
        {"nkey", true},  {"aica", true},  {"alat", true},  {"nlon", true},  {"apt1", true},
        {"NKEY", false}, {"nLat", false}, {"nlo1", false}, {"nfrq", false}, {"ap t", false},
    };
    for (auto [name, protectedField] : cases) {
        FieldDef f;
        f.Name = name;
        EXPECT_EQ(IsProtectedField(f), protectedField) << name;
    }
}

TEST(DirectWriteMode, EnteringNeedsFly2) {
    SessionState s;
    s.SimulatorVersion = 1;
    EditMode mode = EditMode::Normal;
    try {
        EnterDirectWriteMode(s, mode);
        ADD_FAILURE() << "entered under Fly! 1";
    } catch (const RefusedError& e) {
        EXPECT_EQ(e.In(Lang::English), "Fly! 2 only");
        EXPECT_EQ(e.In(Lang::French), "Fly! 2 seulement");
    }
    EXPECT_EQ(mode, EditMode::Normal);

    s.SimulatorVersion = 2;
    EnterDirectWriteMode(s, mode);
    EXPECT_EQ(mode, EditMode::DirectWrite);
}

} // namespace
