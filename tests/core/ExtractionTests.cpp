// The archive viewer's logic: entry rows, the status text, output paths and
// the extraction itself, flat and with folders, safe against hostile names.
#include "database/Extraction.h"
#include "platform/Errors.h"
#include "platform/Paths.h"
#include "support/ArchiveFixtures.h"
#include "support/TempDir.h"
#include "table/ValueDisplay.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <system_error>

namespace orvane {
namespace {

using testing::TempDir;

std::unique_ptr<ArchiveFile> Open(const TempDir& dir, const std::string& name, ArchiveLayout layout,
                                  const std::vector<ArchiveSourceEntry>& entries) {
    auto pod = std::make_unique<ArchiveFile>(dir.Write(name, BuildArchive(layout, entries)));
    pod->ReadHeader();
    pod->ReadDirectory();
    return pod;
}

std::vector<int> All(const ArchiveFile& pod) {
    std::vector<int> v;
    for (int i = 0; i < pod.EntryCount(); ++i)
        v.push_back(i);
    return v;
}

TEST(ExtractionRows, FolderSizeAndDate) {
    TempDir dir;
    auto pod = Open(dir, "AIRPORT.POD", ArchiveLayout::Pod3,
                    {{"DATABASE\\AIRPORT.DBT", "0123456789", 1000000000},
                     {"ROOT.TXT", "", 0},
                     {"A\\B\\C.DAT", std::string(10020, 'c'), 86400}});
    DisplayContext context;
    const auto rows = EntryRows(*pod, context);
    ASSERT_EQ(rows.size(), 3u);
    const std::vector<std::tuple<std::string, std::string, std::string>> expected = {
        {"DATABASE\\AIRPORT.DBT", "DATABASE\\", "10"},
        {"ROOT.TXT", "", "0"},
        {"A\\B\\C.DAT", "A\\B\\", "10020"},
    };
    for (std::size_t i = 0; i < rows.size(); ++i) {
        EXPECT_EQ(rows[i].mark, "");
        EXPECT_EQ(rows[i].name, std::get<0>(expected[i]));
        EXPECT_EQ(rows[i].folder, std::get<1>(expected[i]));
        EXPECT_EQ(rows[i].size, std::get<2>(expected[i]));
        EXPECT_EQ(rows[i].date, DateDecode(pod->Entries()[i].stamp, context));
    }
    EXPECT_EQ(EntryListStatus(*pod, "AIRPORT.POD", Lang::French),
              "AIRPORT.POD - 3 fichiers pour 10030 octets");
    EXPECT_EQ(EntryListStatus(*pod, "AIRPORT.POD", Lang::English),
              "AIRPORT.POD - 3 files for 10030 bytes");
}

TEST(ExtractionRows, TotalBeyond32BitsIsNotNegative) {
    TempDir dir;
    std::string bytes = BuildArchive(ArchiveLayout::Epd, {{"A", "", 0}, {"B", "", 0}});
    // Sizes that the directory claims (listing reads no data).
    testing::PatchU32(
        bytes, testing::EntryFieldAt(bytes, ArchiveLayout::Epd, 0, testing::EntryField::Size),
        0xF0000000u);
    testing::PatchU32(
        bytes, testing::EntryFieldAt(bytes, ArchiveLayout::Epd, 1, testing::EntryField::Size),
        0x20000000u);
    ArchiveFile pod(dir.Write("BIG.EPD", bytes));
    pod.ReadHeader();
    pod.ReadDirectory();
    EXPECT_EQ(EntryRows(pod, {})[0].size, "4026531840");
    EXPECT_EQ(EntryListStatus(pod, "BIG.EPD", Lang::English),
              "BIG.EPD - 2 files for 4563402752 bytes");
}

TEST(ExtractionPath, FlatAndStructured) {
    // "/out" then the parts joined with the platform's separator.
    auto in = [](std::string parts) {
        std::replace(parts.begin(), parts.end(), '/', kNativeSeparator);
        return "/out" + std::string(1, kNativeSeparator) + parts;
    };
    EXPECT_EQ(ExtractionPath("/out", "DATABASE\\AIRPORT.DBT", false), in("AIRPORT.DBT"));
    EXPECT_EQ(ExtractionPath("/out/", "DATABASE\\AIRPORT.DBT", true),
              "/out/" + in("DATABASE/AIRPORT.DBT").substr(5));
    EXPECT_EQ(ExtractionPath("/out", "A\\B\\C\\D.X", true), in("A/B/C/D.X"));
    EXPECT_EQ(ExtractionPath("/out", "ROOT.TXT", true), in("ROOT.TXT"));
    // 8-bit names become UTF-8 file names.
    EXPECT_EQ(ExtractionPath("/out", "CAF\xC9.TXT", false), in("CAF\xC3\x89.TXT"));
}

TEST(ExtractionPath, NamesLeavingTheFolderAreRefused) {
    const std::vector<std::string> hostile = {
        "",
        "..\\EVIL.TXT",
        "DATABASE\\..\\..\\EVIL.TXT",
        "..",
        "A\\..",
        "C:\\EVIL.TXT",
        "c:EVIL.TXT",
        "\\EVIL.TXT",
        "/etc/EVIL",
        "DATABASE\\",
        "A/../../EVIL.TXT",
        "A\\B:STREAM",
    };
    for (const std::string& name : hostile) {
        for (bool structure : {false, true}) {
            try {
                const std::string path = ExtractionPath("/out", name, structure);
                ADD_FAILURE() << "'" << name << "' accepted as " << path;
            } catch (const RefusedError& e) {
                if (!name.empty()) {
                    EXPECT_NE(std::string(e.what()).find(name), std::string::npos) << e.what();
                }
            }
        }
    }
}

// --- Extraction per archive kind --------------------------------------------

class ExtractionLayouts : public ::testing::TestWithParam<ArchiveLayout> {
  protected:
    std::string Name(const std::string& base) const {
        return base + testing::ExtensionFor(GetParam());
    }
    TempDir dir;
};

TEST_P(ExtractionLayouts, CopiesExactBytesFlat) {
    const std::vector<ArchiveSourceEntry> entries = {
        {"DATABASE\\EMPTY.DAT", "", 0},
        {"DATABASE\\BIG.DAT", testing::PatternBytes(10000, 1), 0},
        {"HUGE.DAT", testing::PatternBytes(200000, 2), 0}, // several copy blocks
        {"LAST.DAT", testing::PatternBytes(333, 3), 0},    // EPD and short POD: ends at EOF
    };
    auto pod = Open(dir, Name("SRC"), GetParam(), entries);
    ExtractEntries(*pod, All(*pod), dir.File("out"), false);
    EXPECT_EQ(dir.ListFiles(),
              (std::vector<std::string>{"SRC" + testing::ExtensionFor(GetParam()), "out/BIG.DAT",
                                        "out/EMPTY.DAT", "out/HUGE.DAT", "out/LAST.DAT"}));
    EXPECT_EQ(dir.Read("out/EMPTY.DAT"), "");
    EXPECT_EQ(dir.Read("out/BIG.DAT"), entries[1].data);
    EXPECT_EQ(dir.Read("out/HUGE.DAT"), entries[2].data);
    EXPECT_EQ(dir.Read("out/LAST.DAT"), entries[3].data);
}

TEST_P(ExtractionLayouts, StructureCreatesEveryFolderLevel) {
    auto pod =
        Open(dir, Name("SRC"), GetParam(),
             {{"A\\B\\C\\DEEP.DAT", "deep", 0}, {"DATABASE\\X.DBT", "x", 0}, {"TOP", "t", 0}});
    ExtractEntries(*pod, All(*pod), dir.File("new/dest"), true);
    EXPECT_EQ(dir.Read("new/dest/A/B/C/DEEP.DAT"), "deep");
    EXPECT_EQ(dir.Read("new/dest/DATABASE/X.DBT"), "x");
    EXPECT_EQ(dir.Read("new/dest/TOP"), "t");
}

TEST_P(ExtractionLayouts, FlatDuplicatesEndAsTheLaterEntry) {
    auto pod = Open(dir, Name("SRC"), GetParam(),
                    {{"B\\SAME.DAT", "from B, longer", 0}, {"A\\SAME.DAT", "from A", 0}});
    dir.Write("out/SAME.DAT", "an older file that is replaced");
    // Given out of order: extraction still runs in directory order.
    EXPECT_EQ(ExtractEntries(*pod, {1, 0}, dir.File("out"), false), 1) << "one file written";
    EXPECT_EQ(dir.Read("out/SAME.DAT"), "from A");
    EXPECT_EQ(ExtractEntries(*pod, {1, 0}, dir.File("tree"), true), 2);
}

TEST_P(ExtractionLayouts, OnlyTheChosenEntries) {
    auto pod =
        Open(dir, Name("SRC"), GetParam(), {{"ONE", "1", 0}, {"TWO", "2", 0}, {"THREE", "3", 0}});
    ExtractEntries(*pod, {2}, dir.File("out"), false);
    EXPECT_EQ(dir.ListFiles(),
              (std::vector<std::string>{"SRC" + testing::ExtensionFor(GetParam()), "out/THREE"}));
}

TEST_P(ExtractionLayouts, HostileNameWritesNothingAnywhere) {
    for (const std::string hostile :
         {"..\\..\\EVIL.DAT", "C:\\EVIL.DAT", "\\EVIL.DAT", "/EVIL.DAT", "SUB\\..\\..\\EVIL.DAT"}) {
        SCOPED_TRACE(hostile);
        TempDir scratch;
        auto pod =
            Open(scratch, Name("SRC"), GetParam(), {{"GOOD.DAT", "good", 0}, {hostile, "evil", 0}});
        for (bool structure : {false, true})
            EXPECT_THROW(ExtractEntries(*pod, All(*pod), scratch.File("a/b"), structure),
                         RefusedError);
        // Not even the sound entry before it, nor the destination folder.
        EXPECT_EQ(scratch.ListFiles(),
                  std::vector<std::string>{"SRC" + testing::ExtensionFor(GetParam())});
        EXPECT_FALSE(scratch.Exists("a"));
    }
}

TEST_P(ExtractionLayouts, EntryPastTheEndIsFormatErrorAndWritesNothing) {
    std::string bytes =
        BuildArchive(GetParam(), {{"GOOD.DAT", "good", 0}, {"CUT.DAT", "0123456789", 0}});
    testing::PatchU32(bytes, testing::EntryFieldAt(bytes, GetParam(), 1, testing::EntryField::Size),
                      static_cast<std::uint32_t>(bytes.size()));
    ArchiveFile pod(dir.Write(Name("SRC"), bytes));
    pod.ReadHeader();
    pod.ReadDirectory();
    EXPECT_THROW(ExtractEntries(pod, All(pod), dir.File("out"), false), FormatError);
    EXPECT_FALSE(dir.Exists("out/GOOD.DAT"));
    EXPECT_FALSE(dir.Exists("out/CUT.DAT"));
}

INSTANTIATE_TEST_SUITE_P(Extraction, ExtractionLayouts,
                         ::testing::Values(ArchiveLayout::Epd, ArchiveLayout::Pod3,
                                           ArchiveLayout::PodShort),
                         [](const auto& info) { return testing::LayoutName(info.param); });

TEST(Extraction, ProgressCanStopAndUnknownIndexIsRefused) {
    TempDir dir;
    auto pod = Open(dir, "SRC.POD", ArchiveLayout::Pod3, {{"ONE", "1", 0}, {"TWO", "2", 0}});
    std::vector<std::pair<int, int>> calls;
    // Two bytes copied are not the end: the files still go on the disk and
    // into place, after which the progress is full.
    ExtractEntries(*pod, All(*pod), dir.File("all"), false, [&](int done, int total) {
        calls.emplace_back(done, total);
        return true;
    });
    EXPECT_EQ(calls, (std::vector<std::pair<int, int>>{{1, 3}, {2, 3}, {3, 3}}));
    calls.clear();
    ExtractEntries(*pod, All(*pod), dir.File("out"), false, [&](int done, int total) {
        calls.emplace_back(done, total);
        return false;
    });
    EXPECT_EQ(calls, (std::vector<std::pair<int, int>>{{1, 3}}));
    EXPECT_TRUE(dir.Exists("out/ONE"));
    EXPECT_FALSE(dir.Exists("out/TWO"));
    EXPECT_THROW(ExtractEntries(*pod, {2}, dir.File("out"), false), RefusedError);
    EXPECT_THROW(ExtractEntries(*pod, {-1}, dir.File("out"), false), RefusedError);
}

TEST(Extraction, StopInsideAnEntryKeepsTheFinishedFilesAndDropsThatOne) {
    TempDir dir;
    const std::string big = testing::PatternBytes(200 * 1024);
    auto pod = Open(dir, "SRC.POD", ArchiveLayout::Pod3,
                    {{"A\\SMALL", "s", 0}, {"B\\BIG", big, 0}, {"C\\LAST", "l", 0}});
    std::vector<std::int64_t> done;
    const int written = ExtractEntries(*pod, All(*pod), dir.File("out"), true,
                                       [&](std::int64_t d, std::int64_t total) {
                                           // The bytes, and a ninth more for the end.
                                           const auto bytes = std::int64_t(big.size()) + 2;
                                           EXPECT_EQ(total, bytes + (bytes + 8) / 9);
                                           done.push_back(d);
                                           return done.size() < 3;
                                       });
    EXPECT_EQ(written, 1);
    EXPECT_EQ(done, (std::vector<std::int64_t>{1, 1 + 65536, 1 + 2 * 65536}));
    EXPECT_EQ(dir.ListFiles(), (std::vector<std::string>{"SRC.POD", "out/A/SMALL"}));
    EXPECT_EQ(ExtractEntries(*pod, All(*pod), dir.File("out"), true), 3);
    EXPECT_EQ(dir.Read("out/B/BIG"), big);
}

TEST(Extraction, TargetThatIsAFolderIsAFileErrorAndLeavesNoTemporary) {
    TempDir dir;
    auto pod = Open(dir, "SRC.EPD", ArchiveLayout::Epd, {{"FIRST.DAT", "1", 0}, {"DATA", "d", 0}});
    dir.Write("out/DATA/keep.txt", "k"); // DATA is a folder in the destination
    EXPECT_THROW(ExtractEntries(*pod, All(*pod), dir.File("out"), false), FileError);
    EXPECT_EQ(dir.ListFiles(),
              (std::vector<std::string>{"SRC.EPD", "out/DATA/keep.txt", "out/FIRST.DAT"}));
}

// A link in the destination is replaced by the file or a real folder, never
// followed: what it points to, outside the folder, stays as it was.
TEST(Extraction, LinksInTheDestinationAreReplacedNeverFollowed) {
    struct Case {
        const char* link;   // below dest
        const char* target; // what the link points to, relative to its folder
        bool structure;
        const char* written; // the file the entry becomes, below dest
    };
    for (const Case& c : {
             Case{"COMM.DBT", "../outside/victim.txt", false, "COMM.DBT"},
             Case{"COMM.DBT", "../outside/missing.txt", false, "COMM.DBT"}, // dangling
             Case{"COMM.DBT", "../outside", false, "COMM.DBT"},             // to a folder
             Case{"DATABASE", "../outside", true, "DATABASE/COMM.DBT"},
             Case{"DATABASE/COMM.DBT", "../../outside/victim.txt", true, "DATABASE/COMM.DBT"},
         }) {
        SCOPED_TRACE(std::string(c.link) + " -> " + c.target);
        TempDir dir;
        auto pod = Open(dir, "COMM.POD", ArchiveLayout::Pod3, {{"DATABASE\\COMM.DBT", "dbt", 0}});
        dir.Write("outside/victim.txt", "victim");
        std::filesystem::create_directories(
            std::filesystem::path(dir.File(std::string("dest/") + c.link)).parent_path());
        std::error_code ec;
        std::filesystem::create_symlink(c.target, dir.File(std::string("dest/") + c.link), ec);
        if (ec) GTEST_SKIP() << "symbolic links cannot be made here: " << ec.message();

        EXPECT_EQ(ExtractEntries(*pod, All(*pod), dir.File("dest"), c.structure), 1);
        const auto written =
            std::filesystem::symlink_status(dir.File(std::string("dest/") + c.written));
        EXPECT_EQ(written.type(), std::filesystem::file_type::regular);
        EXPECT_EQ(dir.Read(std::string("dest/") + c.written), "dbt");
        EXPECT_EQ(dir.Read("outside/victim.txt"), "victim");
        EXPECT_EQ(dir.ListFiles(),
                  (std::vector<std::string>{"COMM.POD", std::string("dest/") + c.written,
                                            "outside/victim.txt"}));
    }
}

} // namespace
} // namespace orvane
