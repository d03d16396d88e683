// orvane-cli lookup and write-record, run as a user would: the real program,
// its output, its status and the archive it leaves.
#include "database/ArchiveWriter.h"
#include "platform/BinaryFile.h"
#include "support/ArchiveFixtures.h"
#include "support/CliRunner.h"
#include "support/DirectWriteFixtures.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>

namespace orvane {
namespace {

using testing::TempDir;

using Result = testing::CliResult;

class CliLookup : public testing::CliTest {
  protected:
    Result Run(const std::vector<std::string>& args) { return CliTest::Run(args, "LC_ALL=C"); }
};

// --- lookup ----------------------------------------------------------------------

TEST_F(CliLookup, LookupPrintsTheRecordTextInUtf8) {
    const std::string path = dir_.File("Airport.POD");
    WriteArchive(path, ArchiveLayout::Pod3,
                 testing::AirportEntries({{"KJFK", "KENNEDY"}, {"LFPG", "CAF\xC9"}}));
    Result r = Run({"lookup", path, "kjfk"});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "KENNEDY\n");
    EXPECT_EQ(r.err, "");
    r = Run({"lookup", path, "LFPG"});
    EXPECT_EQ(r.out, "CAF\xC3\x89\n");

    const std::string epd = dir_.File("AIRPORT.EPD");
    WriteArchive(epd, ArchiveLayout::Epd, testing::AirportEntries({{"EGLL", "HEATHROW"}}));
    r = Run({"lookup", epd, "egll"});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "HEATHROW\n");
}

TEST_F(CliLookup, LookupFailuresAreOneErrorLine) {
    const std::string path = dir_.File("Airport.POD");
    WriteArchive(path, ArchiveLayout::Pod3, testing::AirportEntries({{"KJFK", "KENNEDY"}}));
    ExpectError(Run({"lookup", path, "KJFK "}), "ICAO code \"KJFK \" is not in the airport index");
    ExpectError(Run({"lookup", path}), "lookup takes ARCHIVE and CODE");
    ExpectError(Run({"lookup", dir_.File("none.pod"), "KJFK"}), "none.pod");

    auto entries = testing::AirportEntries({{"KJFK", "KENNEDY"}});
    entries.erase(entries.begin());
    const std::string noIndex = dir_.File("NoIndex.EPD");
    WriteArchive(noIndex, ArchiveLayout::Epd, entries);
    ExpectError(Run({"lookup", noIndex, "KJFK"}), "AIRPORT.DBD file not found");
}

// --- write-record -----------------------------------------------------------------

class CliWriteRecord : public CliLookup {
  protected:
    void SetUp() override {
        CliLookup::SetUp();
        archive = dir_.File("navaid.pod");
        WriteArchive(archive, ArchiveLayout::PodShort, testing::NavWriteEntries(4));
        before = testing::ReadBytes(archive);
    }

    // Archive bytes [first, last] that changed.
    std::pair<std::size_t, std::size_t> Changed() const {
        return testing::ChangedRange(before, archive);
    }

    std::string archive, before;
};

TEST_F(CliWriteRecord, RowOfADbdFileReplacesOnlyItsRecord) {
    // The DBD holds other values in row 2, in every field.
    std::vector<std::string> records;
    for (int n = 1; n <= 4; ++n)
        records.push_back(testing::NavWriteRecord(n == 2 ? 9 : n));
    const std::string from =
        dir_.Write("edited.dbd", testing::DbdBytes("navd", testing::kNavWriteRecordSize, records));

    Result r = Run({"write-record", archive, "2", from, "--decimal", ","});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err, "");

    // Record 2 lies at 200 + 56 + 100: bytes 356-455.
    const auto [first, last] = Changed();
    EXPECT_GE(first, 356u);
    EXPECT_LE(last, 455u);
    const std::string got = testing::ReadBytes(archive).substr(356, 100);
    const std::string old = before.substr(356, 100);
    const std::string wanted = testing::NavWriteRecord(9);
    EXPECT_EQ(got.substr(0, 4), old.substr(0, 4));      // same marks in both
    EXPECT_EQ(got.substr(4, 10), old.substr(4, 10));    // key: protected
    EXPECT_EQ(got.substr(14, 6), wanted.substr(14, 6)); // the name and its zero byte
    EXPECT_EQ(got.substr(20, 14), old.substr(20, 14));  // the rest of the name field
    EXPECT_EQ(got.substr(34, 9), wanted.substr(34, 9)); // class, frequency
    EXPECT_EQ(got.substr(43, 16), old.substr(43, 16));  // latitude, longitude: protected
    EXPECT_EQ(got.substr(59, 4), wanted.substr(59, 4)); // variation
    EXPECT_EQ(got.substr(63), old.substr(63));          // other type, protected, uncovered
}

TEST_F(CliWriteRecord, RowOfADexFileIsWritten) {
    const std::string dex = testing::DexBytes(
        "NAVAID.DBD", testing::kNavWriteRecordSize,
        {testing::NavWriteRecord(1), testing::NavWriteRecord(2), testing::NavWriteRecord(9)});
    Result r = Run({"write-record", archive, "3", dir_.Write("edited.dex", dex)});
    ASSERT_EQ(r.status, 0) << r.err;
    // Record 3 lies at 200 + 56 + 200: bytes 456-555.
    const auto [first, last] = Changed();
    EXPECT_GE(first, 456u);
    EXPECT_LE(last, 555u);
    const std::string got = testing::ReadBytes(archive).substr(456, 100);
    EXPECT_EQ(got.substr(14, 6), std::string("NAME9\0", 6));
    EXPECT_EQ(got.substr(43, 16), before.substr(456 + 43, 16));
}

TEST_F(CliWriteRecord, RowOfACsvFileIsWritten) {
    const std::string csv = "NAVAID\r\n;Export; Key ; Name ; Class ; Frequency ; Latitude ; "
                            "Longitude ; Variation ; Other ; Airport ; ICAO ; \r\n"
                            ";2305;KEY1;FIRST;11;111.5000;0;0;301;;0;K\r\n"
                            "x;2305;KEY2;SECOND;12;112,2500;0;0;302;;0;K\r\n";
    const std::string from = dir_.Write("edited.csv", csv);
    Result r = Run({"write-record", archive, "2", from, "--decimal", ","});
    ASSERT_EQ(r.status, 0) << r.err;
    const std::string got = testing::ReadBytes(archive).substr(356, 100);
    EXPECT_EQ(got[0], 42);
    EXPECT_EQ(got.substr(14, 7), std::string("SECOND\0", 7));
    EXPECT_EQ(got.substr(35, 8), testing::RecordBuilder(8).Double(0, 112.25).Bytes());
    const auto [first, last] = Changed();
    EXPECT_GE(first, 356u);
    EXPECT_LE(last, 455u);
}

TEST_F(CliWriteRecord, RefusalsLeaveTheArchiveUntouched) {
    const std::string dbd = dir_.Write(
        "ok.dbd", testing::DbdBytes("navd", testing::kNavWriteRecordSize,
                                    {testing::NavWriteRecord(7), testing::NavWriteRecord(8)}));
    // Row 3 of the archive exists, but not in the file.
    ExpectError(Run({"write-record", archive, "3", dbd}), "Row 3 has no record");
    ExpectError(Run({"write-record", archive, "5", dbd}), "Row 5 has no record");
    ExpectError(Run({"write-record", archive, "0", dbd}), "ROW must be a whole number");
    ExpectError(Run({"write-record", archive, "2x", dbd}), "ROW must be a whole number");

    const std::string airport =
        dir_.Write("airport.dbd", testing::DbdBytes("aprt", testing::kNavWriteRecordSize,
                                                    {testing::NavWriteRecord(1)}));
    ExpectError(Run({"write-record", archive, "1", airport}), "holds AIRPORT data");

    const std::string wide = dir_.Write(
        "wide.dbd",
        testing::DbdBytes("navd", 120, {testing::NavWriteRecord(1) + std::string(20, '\0')}));
    ExpectError(Run({"write-record", archive, "1", wide}), "records of 120 bytes");

    // An I value above the signed range, as a DBD shows 0xFFFFFFFF.
    const std::string big = dir_.Write(
        "big.dbd", testing::DbdBytes("navd", testing::kNavWriteRecordSize,
                                     {testing::RecordBuilder(testing::kNavWriteRecordSize)
                                          .Raw(0, testing::NavWriteRecord(1))
                                          .Int(59, 0xFFFFFFFFu)
                                          .Bytes()}));
    ExpectError(Run({"write-record", archive, "1", big}), "4294967295");

    const std::string epd = dir_.File("NAVAID.EPD");
    WriteArchive(epd, ArchiveLayout::Epd, testing::NavWriteEntries(2));
    ExpectError(Run({"write-record", epd, "1", dbd}), ".pod archives (Fly! II) only");
    ExpectError(Run({"write-record", archive, "1", dir_.Write("x.txt", "")}), ".dbd, .dex or .csv");
    ExpectError(Run({"write-record", archive, "1", dbd, "--template", archive}), "--template");
    ExpectError(Run({"write-record", archive, "1"}), "takes ARCHIVE, ROW and FROM");

    // Marked read-only: refused as such, whoever runs the program.
    namespace fs = std::filesystem;
    fs::permissions(archive,
                    fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    ExpectError(Run({"write-record", archive, "1", dbd}), "navaid.pod is read-only");
    fs::permissions(archive, fs::perms::owner_read | fs::perms::owner_write);

    EXPECT_EQ(testing::ReadBytes(archive), before);
}

// LeakSanitizer cannot run under a tracer; the sanitizers' other checks can.
const std::string kUnderStrace = "LC_ALL=C ASAN_OPTIONS=detect_leaks=0 ";

// The system may report a failed write only at the close: the record is
// written, and the command says it may not be on the disk, never aborts.
TEST_F(CliWriteRecord, AFailedCloseAfterTheWriteIsAnError) {
#ifdef _WIN32
    GTEST_SKIP() << "the close failure is injected with strace";
#endif
    if (std::system("strace -V >/dev/null 2>&1") != 0)
        GTEST_SKIP() << "strace is not installed (tools/ensure-packages.sh installs it)";
    const std::string dbd = dir_.Write(
        "ok.dbd", testing::DbdBytes("navd", testing::kNavWriteRecordSize,
                                    {testing::NavWriteRecord(7), testing::NavWriteRecord(8)}));
    // Which close is the archive's last: a first run, traced with each
    // descriptor's path.
    const std::string log = dir_.File("close.log");
    Result r =
        CliTest::Run({"write-record", archive, "2", dbd},
                     kUnderStrace + "strace -qq -y -e trace=close -o " + testing::ShellQuote(log));
    ASSERT_EQ(r.status, 0) << r.err;
    int calls = 0, last = 0;
    for (const std::string& line : testing::SplitLines(dir_.Read("close.log"))) {
        if (line.find("close(") == std::string::npos) continue;
        ++calls;
        if (line.find("navaid.pod>") != std::string::npos) last = calls;
    }
    ASSERT_GT(last, 0) << dir_.Read("close.log");

    testing::WriteBytes(archive, before);
    r = CliTest::Run({"write-record", archive, "2", dbd},
                     kUnderStrace +
                         "strace -qq -o /dev/null -e trace=close -e inject=close:error=EIO:when=" +
                         std::to_string(last));
    ExpectError(r, "Input/output error: the record written may not be on the disk");
    EXPECT_NE(testing::ReadBytes(archive), before);
}

// Every command that prints fails, saying so, when its output cannot be written.
TEST_F(CliWriteRecord, PrintingCommandsFailWhenTheirOutputCannotBeWritten) {
    if (!std::filesystem::exists("/dev/full")) GTEST_SKIP() << "no /dev/full here";
    const std::string airport = dir_.File("Airport.POD");
    WriteArchive(airport, ArchiveLayout::Pod3, testing::AirportEntries({{"KJFK", "KENNEDY"}}));
    // A name the CSV export would refuse: one finding to print.
    const std::string finding = dir_.Write(
        "semi.dbd", testing::DbdBytes("navd", testing::kNavWriteRecordSize,
                                      {testing::RecordBuilder(testing::kNavWriteRecordSize)
                                           .Raw(0, testing::NavWriteRecord(1))
                                           .Text(14, std::string("A;B\0", 4))
                                           .Bytes()}));
    struct Case {
        std::vector<std::string> args;
        int status;
        const char* what;
    };
    for (const Case& c : std::vector<Case>{
             {{"list", archive}, 1, "cannot write the listing"},
             {{"show", archive}, 1, "cannot write the table"},
             {{"check", finding, "--template", archive}, 2, "cannot write the findings"},
             {{"diff", archive, archive}, 2, "cannot write the differences"},
             {{"lookup", airport, "KJFK"}, 1, "cannot write the search text"},
             {{"--help"}, 1, "cannot write the usage"},
             {{"help", "check"}, 1, "cannot write the usage"},
             {{"list", "--help"}, 1, "cannot write the usage"},
             {{"--version"}, 1, "cannot write the version"},
         }) {
        SCOPED_TRACE(c.args[0]);
        const Result r = CliTest::Run(c.args, "LC_ALL=C", "/dev/full");
        EXPECT_EQ(r.status, c.status) << r.err;
        EXPECT_NE(r.err.find(c.what), std::string::npos) << r.err;
        EXPECT_NE(r.err.find("No space left on device"), std::string::npos) << r.err;
    }
}

// A writer that holds the archive's lock makes write-record wait, then say
// the archive is busy and write nothing; once the lock is gone it writes.
TEST_F(CliWriteRecord, AnArchiveAnotherWriterHoldsIsBusy) {
    const std::string dbd = dir_.Write(
        "ok.dbd", testing::DbdBytes("navd", testing::kNavWriteRecordSize,
                                    {testing::NavWriteRecord(7), testing::NavWriteRecord(8)}));
    {
        BinaryFile writer(archive, OpenMode::ReadWrite);
        ASSERT_TRUE(writer.TryLockForWrite());
        ExpectError(Run({"write-record", archive, "2", dbd}),
                    "navaid.pod is busy: another program is writing into it");
        EXPECT_EQ(testing::ReadBytes(archive), before);
    }
    const Result r = Run({"write-record", archive, "2", dbd});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_NE(testing::ReadBytes(archive), before);
}

TEST_F(CliWriteRecord, HelpOfBothCommands) {
    for (const char* command : {"lookup", "write-record"}) {
        Result r = Run({command, "--help"});
        EXPECT_EQ(r.status, 0);
        EXPECT_EQ(r.out.rfind(std::string("Usage: orvane-cli ") + command, 0), 0u) << r.out;
    }
    Result r = Run({"--help"});
    EXPECT_NE(r.out.find("lookup ARCHIVE CODE"), std::string::npos);
    EXPECT_NE(r.out.find("write-record ARCHIVE ROW FROM"), std::string::npos);
}

} // namespace
} // namespace orvane
