// The archive reader: the three header forms, lookups, the missing-entry
// messages, and damaged or hostile archives.
#include "database/Archive.h"
#include "platform/Errors.h"
#include "support/ArchiveFixtures.h"
#include "support/ScriptedInteraction.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <functional>
#include <sys/stat.h>
#ifndef _WIN32
#include <unistd.h>
#endif

namespace orvane {
namespace {

using testing::EntryCountAt;
using testing::EntryField;
using testing::EntryFieldAt;
using testing::PatchU32;
using testing::ScriptedInteraction;
using testing::TempDir;

const std::string kDbt = "DATABASE\\AIRPORT.DBT";
const std::string kDbd = "DATABASE\\AIRPORT.DBD";
const std::string kDbi = "DATABASE\\APRTICAO.DBI";

std::string DbdBytes() {
    std::string header(56, '\0');
    header.replace(0, 4, "AIRP");
    PatchU32(header, 16, 2); // records
    PatchU32(header, 20, 8); // record size
    return header + testing::PatternBytes(16, 3);
}

std::vector<ArchiveSourceEntry> SampleEntries() {
    return {
        {"DATABASE\\AIRPORT.DBT", "ANAM 4 8 C Name\r\n", 1000000000},
        {"DATABASE\\EMPTY.DAT", "", 0},
        {kDbd, DbdBytes(), 1234567890},
        {kDbi, testing::IndexEntryBytes(3, 8), -5},
        {"README.TXT", "last entry", 42},
    };
}

struct Opened {
    std::unique_ptr<ArchiveFile> pod;
    std::string path;
};

Opened OpenBytes(const TempDir& dir, const std::string& name, const std::string& bytes,
                 UserInteraction* ui = nullptr) {
    Opened o;
    o.path = dir.Write(name, bytes);
    o.pod = std::make_unique<ArchiveFile>(o.path, ui);
    return o;
}

class ArchiveLayouts : public ::testing::TestWithParam<ArchiveLayout> {
  protected:
    std::string FileName() const { return "AIRPORT" + testing::ExtensionFor(GetParam()); }
    TempDir dir;
};

TEST_P(ArchiveLayouts, ReadsDirectoryAndEveryEntry) {
    const auto entries = SampleEntries();
    auto o = OpenBytes(dir, FileName(), BuildArchive(GetParam(), entries));
    ASSERT_TRUE(o.pod->IsOpen());
    EXPECT_EQ(o.pod->Kind(),
              GetParam() == ArchiveLayout::Epd ? ArchiveKind::Epd : ArchiveKind::Pod);
    o.pod->ReadHeader();
    o.pod->ReadDirectory();
    ASSERT_EQ(o.pod->EntryCount(), static_cast<int>(entries.size()));
    for (std::size_t i = 0; i < entries.size(); ++i) {
        SCOPED_TRACE(entries[i].name);
        const ArchiveEntry& e = o.pod->Entries()[i];
        EXPECT_EQ(e.name, entries[i].name);
        EXPECT_EQ(e.size, entries[i].data.size());
        EXPECT_EQ(e.stamp, entries[i].stamp);
        EXPECT_EQ(o.pod->FindEntry(entries[i].name), static_cast<int>(i));
        ASSERT_TRUE(o.pod->ReadEntry(entries[i].name));
        EXPECT_EQ(std::string(o.pod->EntryData.begin(), o.pod->EntryData.end()), entries[i].data);
    }
}

TEST_P(ArchiveLayouts, DbdHeaderLeavesFileOnFirstRecord) {
    auto o = OpenBytes(dir, FileName(), BuildArchive(GetParam(), SampleEntries()));
    o.pod->ReadHeader();
    o.pod->ReadDirectory();
    const auto& entry = o.pod->Entries()[static_cast<std::size_t>(o.pod->FindEntry(kDbd))];
    EXPECT_EQ(o.pod->ReadDbdHeader(kDbd), static_cast<std::int64_t>(entry.offset));
    EXPECT_EQ(o.pod->Dbd.Tag(), "AIRP");
    EXPECT_EQ(o.pod->Dbd.RecordCount(), 2);
    EXPECT_EQ(o.pod->File().Position(), entry.offset + 56u);
    unsigned char record[8];
    ASSERT_TRUE(o.pod->ReadRelative(0, record, sizeof record));
    EXPECT_EQ(std::string(reinterpret_cast<char*>(record), 8),
              testing::PatternBytes(16, 3).substr(0, 8));
}

TEST_P(ArchiveLayouts, IndexHeaderAndBody) {
    auto o = OpenBytes(dir, FileName(), BuildArchive(GetParam(), SampleEntries()));
    o.pod->ReadHeader();
    o.pod->ReadDirectory();
    ASSERT_TRUE(o.pod->ReadIndex(kDbi));
    EXPECT_EQ(o.pod->IndexRowCount(), 3);
    EXPECT_EQ(o.pod->IndexRowLength(), 8);
    EXPECT_EQ(std::string(o.pod->IndexBody.begin(), o.pod->IndexBody.end()),
              testing::IndexEntryBytes(3, 8).substr(68));
}

TEST_P(ArchiveLayouts, LookupIsExactAndCaseSensitive) {
    auto entries = SampleEntries();
    entries.push_back({kDbt, "second copy", 0}); // a duplicate name: the first one wins
    auto o = OpenBytes(dir, FileName(), BuildArchive(GetParam(), entries));
    o.pod->ReadHeader();
    o.pod->ReadDirectory();
    EXPECT_EQ(o.pod->FindEntry("database\\airport.dbt"), -1);
    EXPECT_EQ(o.pod->FindEntry("DATABASE\\AIRPORT.DB"), -1);
    EXPECT_EQ(o.pod->FindEntry("DATABASE/AIRPORT.DBT"), -1);
    EXPECT_EQ(o.pod->FindEntry(kDbt), 0);
    EXPECT_EQ(o.pod->FindEntry("README.TXT"), static_cast<int>(entries.size()) - 2);
}

TEST_P(ArchiveLayouts, EmptyArchiveFindsNothing) {
    auto o = OpenBytes(dir, FileName(), BuildArchive(GetParam(), {}));
    o.pod->ReadHeader();
    o.pod->ReadDirectory();
    EXPECT_EQ(o.pod->EntryCount(), 0);
    EXPECT_EQ(o.pod->FindEntry(kDbt), -1);
}

TEST_P(ArchiveLayouts, ReadRelativeNeverThrows) {
    auto o = OpenBytes(dir, FileName(), BuildArchive(GetParam(), SampleEntries()));
    o.pod->ReadHeader();
    o.pod->ReadDirectory();
    const auto size = static_cast<std::int64_t>(o.pod->ArchiveSize());
    unsigned char buffer[16];
    o.pod->File().Seek(0);
    EXPECT_FALSE(o.pod->ReadRelative(size + 10, buffer, 1));
    o.pod->File().Seek(0);
    EXPECT_FALSE(o.pod->ReadRelative(size - 4, buffer, 16)); // starts inside, ends past the end
    o.pod->File().Seek(0);
    EXPECT_FALSE(o.pod->ReadRelative(-1, buffer, 1));
    o.pod->File().Seek(0);
    EXPECT_TRUE(o.pod->ReadRelative(size - 4, buffer, 4)); // the last four bytes
    ArchiveFile closed;
    EXPECT_FALSE(closed.ReadRelative(0, buffer, 1));
}

TEST_P(ArchiveLayouts, MissingEntryWarnsForEpdOnly) {
    ScriptedInteraction ui;
    ui.SetLanguage(Lang::French); // the seam words the warnings
    auto o = OpenBytes(dir, FileName(), BuildArchive(GetParam(), SampleEntries()), &ui);
    o.pod->ReadHeader();
    o.pod->ReadDirectory();
    const std::string missing = "DATABASE\\COMM\xC9.DBT"; // 8-bit name: shown as UTF-8
    EXPECT_FALSE(o.pod->ReadEntry(missing));
    EXPECT_EQ(o.pod->ReadDbdHeader(missing), -1);
    EXPECT_FALSE(o.pod->ReadIndex("DATABASE\\NONE.DBI"));
    ui.SetLanguage(Lang::English);
    EXPECT_FALSE(o.pod->ReadEntry(missing));
    EXPECT_FALSE(o.pod->ReadIndex("DATABASE\\NONE.DBI"));

    if (GetParam() != ArchiveLayout::Epd) {
        EXPECT_TRUE(ui.messages.empty());
        return;
    }
    const std::vector<std::string> expected = {
        "Fichier DATABASE\\COMM\xC3\x89.DBT non trouvé",
        "Fichier DATABASE\\COMM\xC3\x89.DBT non trouvé",
        "Index DATABASE\\NONE.DBI non trouvé",
        "DATABASE\\COMM\xC3\x89.DBT file not found",
        "Index DATABASE\\NONE.DBI not found",
    };
    ASSERT_EQ(ui.messages.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(ui.messages[i].text, expected[i]);
        EXPECT_EQ(ui.messages[i].kind, MessageKind::Warning);
    }
}

INSTANTIATE_TEST_SUITE_P(Archive, ArchiveLayouts,
                         ::testing::Values(ArchiveLayout::Epd, ArchiveLayout::Pod3,
                                           ArchiveLayout::PodShort),
                         [](const auto& info) { return testing::LayoutName(info.param); });

TEST(Archive, WrongExtensionIsRefusedSilentlyWhateverTheContents) {
    TempDir dir;
    ScriptedInteraction ui;
    const std::string path =
        dir.Write("AIRPORT.dat", BuildArchive(ArchiveLayout::Pod3, SampleEntries()));
    ArchiveFile pod(path, &ui);
    EXPECT_EQ(pod.Kind(), ArchiveKind::None);
    EXPECT_FALSE(pod.IsOpen());
    EXPECT_FALSE(pod.OpenArchive(path));
    EXPECT_THROW(pod.ReadHeader(), FileError);
    EXPECT_THROW(pod.ReadEntry(kDbt), FileError);
    EXPECT_TRUE(ui.messages.empty());
}

TEST(Archive, MissingFileGivesFalseThenReadErrors) {
    TempDir dir;
    ArchiveFile pod;
    EXPECT_FALSE(pod.OpenArchive(dir.File("NONE.POD")));
    EXPECT_EQ(pod.Kind(), ArchiveKind::Pod);
    EXPECT_THROW(pod.ReadHeader(), FileError);
    EXPECT_THROW(pod.ReadDirectory(), FileError);
    EXPECT_THROW(pod.ReadEntry(kDbt), FileError);
    EXPECT_THROW(pod.ReadDbdHeader(kDbd), FileError);
    EXPECT_THROW(pod.ReadIndex(kDbi), FileError);
    EXPECT_EQ(pod.ArchiveSize(), 0u);
}

// Opened read-only whoever runs the program (root could write it): the
// direct write then says so.
TEST(Archive, ReadOnlyFileStillOpensForViewing) {
    TempDir dir;
    const std::string path =
        dir.Write("AIRPORT.POD", BuildArchive(ArchiveLayout::Pod3, SampleEntries()));
    ASSERT_EQ(chmod(path.c_str(), 0444), 0);
    ArchiveFile pod(path);
    ASSERT_TRUE(pod.IsOpen());
    EXPECT_TRUE(pod.IsReadOnly());
    pod.ReadHeader();
    pod.ReadDirectory();
    EXPECT_TRUE(pod.ReadEntry(kDbt));
}

TEST(Archive, EpdNameFillingAll64BytesIsComparedWhole) {
    TempDir dir;
    const std::string name64 = "DATABASE\\" + std::string(51, 'N') + ".DBT";
    ASSERT_EQ(name64.size(), 64u);
    auto o =
        OpenBytes(dir, "LONG.EPD",
                  BuildArchive(ArchiveLayout::Epd, {{"FIRST.TXT", "a", 0}, {name64, "long", 0}}));
    o.pod->ReadHeader();
    o.pod->ReadDirectory();
    EXPECT_EQ(o.pod->Entries()[1].name, name64); // does not run on into the size field
    EXPECT_EQ(o.pod->FindEntry(name64), 1);
    EXPECT_EQ(o.pod->FindEntry(name64.substr(0, 63)), -1);
    ASSERT_TRUE(o.pod->ReadEntry(name64));
    EXPECT_EQ(std::string(o.pod->EntryData.begin(), o.pod->EntryData.end()), "long");
}

TEST(Archive, ShortPodWithAnotherMagicReadsDirectoryAfterByte96) {
    TempDir dir;
    std::string bytes = BuildArchive(ArchiveLayout::PodShort, SampleEntries());
    bytes.replace(0, 4, "POD2");
    auto o = OpenBytes(dir, "OLD.POD", bytes);
    o.pod->ReadHeader();
    o.pod->ReadDirectory();
    EXPECT_EQ(o.pod->EntryCount(), 5);
    EXPECT_TRUE(o.pod->ReadEntry("README.TXT"));
}

// --- Damaged and hostile archives ------------------------------------------

struct Damage {
    const char* what;
    ArchiveLayout layout;
    std::function<void(std::string&)> harm;
    const char* message; // part of the error text
};

void PrintTo(const Damage& d, std::ostream* os) {
    *os << d.what;
}

std::vector<Damage> HeaderDamages() {
    using L = ArchiveLayout;
    auto count = [](L l, std::uint32_t v) {
        return [l, v](std::string& b) { PatchU32(b, EntryCountAt(l), v); };
    };
    auto cut = [](std::size_t n) { return [n](std::string& b) { b.resize(n); }; };
    return {
        {"EpdShorterThanHeader", L::Epd, cut(271), "shorter than its 272-byte header"},
        {"PodShorterThan96", L::PodShort, cut(95), "shorter than its 96-byte header"},
        {"Pod3ShorterThan288", L::Pod3, cut(200), "shorter than its 288-byte POD3 header"},
        {"EpdCount2pow31", L::Epd, count(L::Epd, 0x80000000u), "negative entry count"},
        {"EpdCountMaxInt", L::Epd, count(L::Epd, 0x7FFFFFFFu),
         "entry count 2147483647 does not fit"},
        {"EpdCountMinusOne", L::Epd, count(L::Epd, 0xFFFFFFFFu), "negative entry count -1"},
        {"Pod3Count2pow31", L::Pod3, count(L::Pod3, 0x80000000u), "negative entry count"},
        {"PodShortCountHuge", L::PodShort, count(L::PodShort, 0x10000000u), "does not fit"},
        {"Pod3DirectoryPastEnd", L::Pod3,
         [](std::string& b) { PatchU32(b, testing::kPod3DirectoryOffsetAt, 0xFFFFFF00u); },
         "directory offset 4294967040 is past the end"},
        {"EpdDirectoryTruncated", L::Epd, cut(272 + 80 * 2 + 10), "does not fit"},
    };
}

std::vector<Damage> DirectoryDamages() {
    using L = ArchiveLayout;
    return {
        // The name list loses its last zero byte: the names run off the end.
        {"PodShortNamesUnterminated", L::PodShort,
         [](std::string& b) {
             b = BuildArchive(L::PodShort, {{"A.TXT", "", 0}, {"B.TXT", "", 0}});
             b.pop_back();
         },
         "name list ends with the file after 1 of 2 names"},
        {"Pod3NamesCut", L::Pod3,
         [](std::string& b) {
             b = BuildArchive(L::Pod3, {{"A.TXT", "xx", 0}, {"BBBBBBBB.TXT", "yy", 0}});
             b.resize(b.size() - 6);
         },
         "name list ends with the file"},
    };
}

class ArchiveDamagedHeader : public ::testing::TestWithParam<Damage> {};

TEST_P(ArchiveDamagedHeader, IsAClearFormatErrorNamingTheArchive) {
    const Damage& d = GetParam();
    TempDir dir;
    std::string bytes = BuildArchive(d.layout, SampleEntries());
    d.harm(bytes);
    const std::string name = "DAMAGED" + testing::ExtensionFor(d.layout);
    auto o = OpenBytes(dir, name, bytes);
    ASSERT_TRUE(o.pod->IsOpen());
    try {
        o.pod->ReadHeader();
        o.pod->ReadDirectory();
        FAIL() << "no error for " << d.what;
    } catch (const FormatError& e) {
        const std::string text = e.what();
        EXPECT_NE(text.find(name), std::string::npos) << text;
        EXPECT_NE(text.find("damaged archive"), std::string::npos) << text;
        EXPECT_NE(text.find(d.message), std::string::npos) << text;
    }
    EXPECT_EQ(o.pod->EntryCount(), 0);
}

INSTANTIATE_TEST_SUITE_P(Archive, ArchiveDamagedHeader, ::testing::ValuesIn(HeaderDamages()),
                         [](const auto& info) { return std::string(info.param.what); });
INSTANTIATE_TEST_SUITE_P(ArchiveNames, ArchiveDamagedHeader,
                         ::testing::ValuesIn(DirectoryDamages()),
                         [](const auto& info) { return std::string(info.param.what); });

// Entries whose data lie outside the file: every read of them is refused
// before anything is allocated, whichever lookup asks.
struct BadEntry {
    const char* what;
    std::uint32_t offset; // 0: keep
    std::uint32_t size;   // 0: keep
};

void PrintTo(const BadEntry& b, std::ostream* os) {
    *os << b.what;
}

class ArchiveDamagedEntry : public ::testing::TestWithParam<std::tuple<ArchiveLayout, BadEntry>> {};

TEST_P(ArchiveDamagedEntry, EveryLookupGivesFormatError) {
    const auto& [layout, bad] = GetParam();
    TempDir dir;
    std::string bytes = BuildArchive(layout, SampleEntries());
    for (int index : {0, 2, 3}) { // the template, the DBD and the index
        if (bad.offset)
            PatchU32(bytes, EntryFieldAt(bytes, layout, index, EntryField::Offset), bad.offset);
        if (bad.size)
            PatchU32(bytes, EntryFieldAt(bytes, layout, index, EntryField::Size), bad.size);
    }
    auto o = OpenBytes(dir, "BAD" + testing::ExtensionFor(layout), bytes);
    o.pod->ReadHeader();
    o.pod->ReadDirectory(); // the directory itself is readable
    EXPECT_THROW(o.pod->ReadEntry(kDbt), FormatError);
    EXPECT_THROW(o.pod->ReadDbdHeader(kDbd), FormatError);
    EXPECT_THROW(o.pod->ReadIndex(kDbi), FormatError);
    EXPECT_TRUE(o.pod->ReadEntry("README.TXT")); // the sound entries still read
}

INSTANTIATE_TEST_SUITE_P(
    Archive, ArchiveDamagedEntry,
    ::testing::Combine(::testing::Values(ArchiveLayout::Epd, ArchiveLayout::Pod3,
                                         ArchiveLayout::PodShort),
                       ::testing::Values(BadEntry{"OffsetPastEnd", 0x7FFFFFF0u, 0},
                                         BadEntry{"SizePastEnd", 0, 0xFFFFFFF0u},
                                         BadEntry{"OffsetPlusSizeWraps", 0xFFFFFFF0u, 0x20u})),
    [](const auto& info) {
        return std::string(testing::LayoutName(std::get<0>(info.param))) +
               std::get<1>(info.param).what;
    });

TEST(Archive, DbdEntryTooShortForItsHeader) {
    TempDir dir;
    auto o = OpenBytes(dir, "SHORT.POD",
                       BuildArchive(ArchiveLayout::Pod3, {{kDbd, std::string(40, 'x'), 0}}));
    o.pod->ReadHeader();
    o.pod->ReadDirectory();
    EXPECT_THROW(o.pod->ReadDbdHeader(kDbd), FormatError);
}

TEST(Archive, IndexRowsThatDoNotFitAreRefused) {
    const std::vector<std::tuple<const char*, std::int32_t, std::int32_t>> cases = {
        {"huge product", 0x7FFFFFFF, 0x7FFFFFFF},
        {"one row too many", 4, 8},
        {"negative rows", -1, 8},
        {"negative length", 3, -8},
    };
    for (const auto& [what, rows, length] : cases) {
        SCOPED_TRACE(what);
        TempDir dir;
        // The body holds 3 rows of 8 bytes whatever the header claims.
        auto o = OpenBytes(dir, "AIRPORT.EPD",
                           BuildArchive(ArchiveLayout::Epd,
                                        {{kDbi, testing::IndexEntryBytes(rows, length, 24), 0}}));
        o.pod->ReadHeader();
        o.pod->ReadDirectory();
        EXPECT_THROW(o.pod->ReadIndex(kDbi), FormatError);
        EXPECT_LE(o.pod->IndexBody.size(), 24u);
    }
}

} // namespace
} // namespace orvane
