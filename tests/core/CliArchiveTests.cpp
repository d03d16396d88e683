// orvane-cli list and extract, run as a user would: the real program, its
// output, its status and the files it leaves.
#include "database/ArchiveWriter.h"
#include "exchange/TableFormats.h"
#include "platform/Paths.h"
#include "support/ArchiveFixtures.h"
#include "support/CliRunner.h"
#include "support/DbdFixtures.h"
#include "support/DirectWriteFixtures.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#ifndef _WIN32
#include <unistd.h>
#endif

namespace orvane {
namespace {

using testing::TempDir;

using Result = testing::CliResult;

class CliArchive : public testing::CliTest {};

const std::vector<ArchiveSourceEntry> kEntries = {
    {"DATABASE\\AIRPORT.DBT", "template", 1000000000},
    {"DATABASE\\AIRPORT.DBD", "records....", 0},
    {"CAF\xC9\\EMPTY.TXT", "", -1},
    {"TOP.TXT", "top", 86399},
};

TEST_F(CliArchive, ListPrintsNameSizeAndUtcDateForEachKind) {
    const std::string expected = "DATABASE\\AIRPORT.DBT\t8\t2001-09-09 01:46:40\n"
                                 "DATABASE\\AIRPORT.DBD\t11\t1970-01-01 00:00:00\n"
                                 "CAF\xC3\x89\\EMPTY.TXT\t0\t1969-12-31 23:59:59\n"
                                 "TOP.TXT\t3\t1970-01-01 23:59:59\n";
    for (auto layout : {ArchiveLayout::Epd, ArchiveLayout::Pod3, ArchiveLayout::PodShort}) {
        SCOPED_TRACE(testing::LayoutName(layout));
        const std::string path = dir_.File(std::string("X") + testing::LayoutName(layout) +
                                           (layout == ArchiveLayout::Epd ? ".Epd" : ".pOD"));
        WriteArchive(path, layout, kEntries);
        const Result r = Run({"list", path});
        EXPECT_EQ(r.status, 0) << r.err;
        EXPECT_EQ(r.out, expected);
        EXPECT_EQ(r.err, "");
    }
}

// One entry must not forge lines or columns of the listing.
TEST_F(CliArchive, ListEscapesTabsAndLineEndsInNames) {
    const std::string path = dir_.File("FORGED.POD");
    WriteArchive(path, ArchiveLayout::Pod3,
                 {{"A\tB\nFAKE.TXT\t9\t2001-09-09 01:46:40\r", "x", 0}, {"SUB\\OK.TXT", "", 0}});
    const Result r = Run({"list", path});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "A\\tB\\nFAKE.TXT\\t9\\t2001-09-09 01:46:40\\r\t1\t1970-01-01 00:00:00\n"
                     "SUB\\OK.TXT\t0\t1970-01-01 00:00:00\n");
}

TEST_F(CliArchive, ListErrors) {
    WriteArchive(dir_.File("AIRPORT.dat"), ArchiveLayout::Pod3, kEntries);
    ExpectError(Run({"list", dir_.File("AIRPORT.dat")}), "extension must be .epd or .pod");
    ExpectError(Run({"list", dir_.File("NONE.POD")}), "NONE.POD");
    ExpectError(Run({"list"}), "expected one ARCHIVE");
    ExpectError(Run({"list", "--bogus", "A.POD"}), "unknown option");

    std::string bytes = BuildArchive(ArchiveLayout::Pod3, kEntries);
    testing::PatchU32(bytes, testing::EntryCountAt(ArchiveLayout::Pod3), 0x80000000u);
    ExpectError(Run({"list", dir_.Write("HOSTILE.POD", bytes)}), "HOSTILE.POD: damaged archive");
    dir_.Write("TRUNC.EPD", std::string(100, 'x'));
    ExpectError(Run({"list", dir_.File("TRUNC.EPD")}), "TRUNC.EPD: damaged archive");
}

const std::vector<std::string> kCommands = {"list",      "extract",      "show",  "convert",
                                            "lookup",    "write-record", "check", "diff",
                                            "make-demo", "reconcile"};

// "help COMMAND" is "COMMAND --help", byte for byte; "help" alone the list.
TEST_F(CliArchive, HelpOnEachCommand) {
    for (const std::string& command : kCommands) {
        SCOPED_TRACE(command);
        const Result r = Run({command, "--help"});
        EXPECT_EQ(r.status, 0);
        EXPECT_EQ(r.out.rfind("Usage: orvane-cli " + command, 0), 0u) << r.out;
        const Result help = Run({"help", command});
        EXPECT_EQ(help.status, 0);
        EXPECT_EQ(help.out, r.out);
    }
    const Result list = Run({"--help"});
    EXPECT_EQ(list.status, 0);
    for (const std::string& command : kCommands)
        EXPECT_NE(list.out.find("\n  " + command + " "), std::string::npos) << command;
    EXPECT_EQ(Run({"help"}).out, list.out);

    const Result unknown = Run({"help", "frobnicate"});
    EXPECT_EQ(unknown.status, 1);
    EXPECT_NE(unknown.err.find("unknown command 'frobnicate'"), std::string::npos) << unknown.err;
    EXPECT_EQ(Run({"help", "list", "extract"}).status, 1);

    const Result version = Run({"--version"});
    EXPECT_EQ(version.status, 0);
    EXPECT_EQ(version.out, "orvane-cli " ORVANE_VERSION "\n");
}

#ifdef ORVANE_SOURCE_DIR
// The manual page and the shell completion name every command and every
// option the commands take, so neither falls behind the program.
TEST_F(CliArchive, ManualAndCompletionNameEveryCommandAndOption) {
    const std::string manual = testing::ReadBytes(ORVANE_SOURCE_DIR "/docs/man/orvane-cli.1");
    const std::string completion =
        testing::ReadBytes(ORVANE_SOURCE_DIR "/data/orvane-cli.bash-completion");
    ASSERT_FALSE(manual.empty());
    ASSERT_FALSE(completion.empty());
    for (const std::string& command : kCommands) {
        SCOPED_TRACE(command);
        EXPECT_NE(manual.find("\n.BI \"" + command + " "), std::string::npos);
        EXPECT_NE(completion.find(" " + command + " "), std::string::npos);
        // Each option of the command's usage, as groff writes it ("\-\-name").
        const std::string usage = Run({command, "--help"}).out;
        for (std::size_t at = usage.find("--"); at != std::string::npos;
             at = usage.find("--", at + 2)) {
            const std::size_t end = usage.find_first_of(" ,]\n", at);
            const std::string option = usage.substr(at, end - at);
            EXPECT_NE(completion.find(option), std::string::npos) << option;
            EXPECT_NE(manual.find("\\-\\-" + option.substr(2)), std::string::npos) << option;
        }
    }
    // And every extension of the format table that show and convert take.
    for (const TableFormat& format : TableFormats()) {
        if (!format.read && !format.write) continue; // read only as a load's template
        const std::string suffix = format.DefaultSuffix();
        EXPECT_NE(manual.find(".B ." + suffix), std::string::npos) << suffix;
        EXPECT_NE(completion.find(suffix + "|" + ToUpperAscii(suffix)), std::string::npos)
            << suffix;
    }
}
#endif

TEST_F(CliArchive, ExtractEverythingFlatIntoANewFolder) {
    const std::string archive = dir_.File("AIRPORT.POD");
    WriteArchive(archive, ArchiveLayout::Pod3, kEntries);
    const Result r = Run({"extract", archive, dir_.File("a/b/out")});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(dir_.ListFiles(),
              (std::vector<std::string>{"AIRPORT.POD", "a/b/out/AIRPORT.DBD", "a/b/out/AIRPORT.DBT",
                                        "a/b/out/EMPTY.TXT", "a/b/out/TOP.TXT"}));
    EXPECT_EQ(dir_.Read("a/b/out/AIRPORT.DBD"), "records....");
}

TEST_F(CliArchive, ExtractNamedEntriesWithStructure) {
    const std::string archive = dir_.File("AIRPORT.EPD");
    WriteArchive(archive, ArchiveLayout::Epd, kEntries);
    // Options may come anywhere; names are given in UTF-8.
    const Result r = Run({"extract", archive, dir_.File("out"), "DATABASE\\AIRPORT.DBT",
                          "--structure", "CAF\xC3\x89\\EMPTY.TXT"});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(dir_.ListFiles(),
              (std::vector<std::string>{"AIRPORT.EPD", "out/CAF\xC3\x89/EMPTY.TXT",
                                        "out/DATABASE/AIRPORT.DBT"}));
    EXPECT_EQ(dir_.Read("out/DATABASE/AIRPORT.DBT"), "template");
}

TEST_F(CliArchive, ExtractErrors) {
    const std::string archive = dir_.File("AIRPORT.POD");
    WriteArchive(archive, ArchiveLayout::PodShort, kEntries);
    ExpectError(Run({"extract", archive, dir_.File("out"), "TOP.TXT", "database\\airport.dbt"}),
                "no entry named database\\airport.dbt");
    EXPECT_FALSE(dir_.Exists("out"));
    ExpectError(Run({"extract", archive}), "expected ARCHIVE and DEST");
    ExpectError(Run({"extract", dir_.File("A.zip"), dir_.File("out")}), "extension");

    const std::string hostile = dir_.File("HOSTILE.EPD");
    WriteArchive(hostile, ArchiveLayout::Epd,
                 {{"OK.TXT", "ok", 0}, {"..\\..\\EVIL.TXT", "evil", 0}});
    ExpectError(Run({"extract", hostile, dir_.File("x/y"), "--structure"}), "..\\..\\EVIL.TXT");
    EXPECT_EQ(dir_.ListFiles(), (std::vector<std::string>{"AIRPORT.POD", "HOSTILE.EPD"}));
}

#ifndef _WIN32
// Extraction watched by a tracer: the order of its writes, syncs and renames,
// a disk that fills up inside an entry, the folders it scans.

const std::string kNoStrace = "strace is not installed (tools/ensure-packages.sh installs it)";

// Without a failure, every byte is on the disk before the first rename and
// the renames after the last, with no sync per file. A disk full inside an
// entry leaves the files complete before it in place, nothing else under a
// final name, and no temporary.
TEST_F(CliArchive, ExtractionSyncsOnceAndAFailedWriteLeavesOnlyCompleteFiles) {
    const std::string archive = dir_.File("DATA.POD");
    WriteArchive(archive, ArchiveLayout::Pod3,
                 {{"A\\ONE", "one", 0},
                  {"A\\TWO", testing::PatternBytes(200 * 1024), 0}, // written in 4 blocks
                  {"THREE", "3", 0}});
    const TempDir logs;
    const std::string traced =
        testing::UnderStrace("-y -o " + testing::ShellQuote(logs.File("log")) +
                             " -e trace='/^(pwrite64|syncfs|fsync|fdatasync|rename.*)$'");
    if (traced.empty()) GTEST_SKIP() << kNoStrace;
    Result r = Run({"extract", archive, dir_.File("dest"), "--structure"}, traced);
    ASSERT_EQ(r.status, 0) << r.err;
    int writes = 0, writesOfTwo = 0, failAt = 0;
    std::vector<std::string> order; // the calls on the destination, repeats folded
    for (const std::string& line : testing::SplitLines(logs.Read("log"))) {
        std::string call = line.substr(0, line.find('('));
        if (call == "pwrite64" && ++writes && line.find("/.TWO.orvane-") != std::string::npos &&
            ++writesOfTwo == 2)
            failAt = writes;
        if (call.starts_with("rename")) call = "rename";
        if (line.find("/dest") != std::string::npos && (order.empty() || order.back() != call))
            order.push_back(call);
    }
    EXPECT_EQ(order, (std::vector<std::string>{"pwrite64", "syncfs", "rename", "syncfs"}));
    ASSERT_GT(failAt, 0) << logs.Read("log");

    std::filesystem::remove_all(dir_.File("dest"));
    r = Run({"extract", archive, dir_.File("dest"), "--structure"},
            testing::UnderStrace(
                "-o /dev/null -e trace=pwrite64 -e inject=pwrite64:error=ENOSPC:when=" +
                std::to_string(failAt)));
    ExpectError(r, "No space left on device");
    EXPECT_EQ(dir_.ListFiles(), (std::vector<std::string>{"DATA.POD", "dest/A/ONE"}));
    EXPECT_EQ(dir_.Read("dest/A/ONE"), "one");
}

// The files are in place but the sync that puts their names on the disk
// fails (an extraction's second sync, a save's sync of its folder): the
// command says so and fails, and the files stay in place.
TEST_F(CliArchive, AFailedSyncAfterTheRenamesIsReported) {
    const std::string archive = dir_.File("DATA.POD");
    WriteArchive(archive, ArchiveLayout::Pod3, {{"A\\ONE", "one", 0}, {"TWO", "two", 0}});
    const std::string failSecond =
        testing::UnderStrace("-o /dev/null -e trace=syncfs -e inject=syncfs:error=EIO:when=2");
    if (failSecond.empty()) GTEST_SKIP() << kNoStrace;
    Result r = Run({"extract", archive, dir_.File("dest"), "--structure"}, failSecond);
    ExpectError(r, "is in place, but it may not be on the disk yet: Input/output error");
    EXPECT_EQ(dir_.ListFiles(), (std::vector<std::string>{"DATA.POD", "dest/A/ONE", "dest/TWO"}));

    // The save's own file is synced first (fsync 1), then its folder (2).
    const std::string navaid = dir_.File("NAVAID.POD");
    WriteArchive(navaid, ArchiveLayout::PodShort, testing::NavWriteEntries(2));
    r = Run({"convert", navaid, dir_.File("out.csv")},
            testing::UnderStrace("-o /dev/null -e trace=fsync -e inject=fsync:error=EIO:when=2"));
    ExpectError(r, "out.csv is in place, but it may not be on the disk yet: Input/output error");
    EXPECT_TRUE(std::filesystem::exists(dir_.File("out.csv")));
}

// What a killed extraction left is removed by the next one, with one scan
// of each folder however many files go there (the destination too, where
// no file goes here); a running process's stays.
TEST_F(CliArchive, ExtractionScansEachFolderOnceForStaleTemporaries) {
    const std::string archive = dir_.File("DATA.POD");
    WriteArchive(archive, ArchiveLayout::Pod3,
                 {{"A\\ONE", "1", 0}, {"A\\TWO", "2", 0}, {"A\\THREE", "3", 0}});
    const std::string running = ".TWO.orvane-" + std::to_string(::getpid()) + "-0.tmp";
    dir_.Write("dest/.GONE.orvane-99999999-7.tmp", "stale, of a file not extracted");
    dir_.Write("dest/A/.ONE.orvane-99999999-0.tmp", "stale");
    dir_.Write("dest/A/" + running, "in use");
    const TempDir logs;
    const std::string traced = testing::UnderStrace(
        "-y -o " + testing::ShellQuote(logs.File("log")) + " -e trace=getdents64");
    if (traced.empty()) GTEST_SKIP() << kNoStrace;
    const Result r = Run({"extract", archive, dir_.File("dest"), "--structure"}, traced);
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(dir_.ListFiles(),
              (std::vector<std::string>{"DATA.POD", "dest/A/" + running, "dest/A/ONE",
                                        "dest/A/THREE", "dest/A/TWO"}));
    int top = 0, a = 0;
    for (const std::string& line : testing::SplitLines(logs.Read("log"))) {
        top += line.find("/dest>") != std::string::npos;
        a += line.find("/dest/A>") != std::string::npos;
    }
    EXPECT_GT(top, 0) << logs.Read("log");
    EXPECT_EQ(a, top) << "three files in A, none in dest: each folder read alike";
}
#endif

} // namespace
} // namespace orvane
