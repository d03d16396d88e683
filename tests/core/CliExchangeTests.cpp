// orvane-cli show and convert with DEX and CSV files, run as a user would:
// the real program, its output, its status and the files it leaves.
#include "database/ArchiveWriter.h"
#include "exchange/TableFormats.h"
#include "support/CliRunner.h"
#include "support/DbdFixtures.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace orvane {
namespace {

using testing::TempDir;

using Result = testing::CliResult;

using testing::SplitLines;

const std::vector<testing::FieldSpec> kRunwayFields = {
    {"rkey", 4, 10, 'C', "Runway key"},
    {"rlen", 14, 4, 'I', "Length"},
    {"rhdg", 18, 8, 'D', "Heading"},
    {"rsfc", 26, 1, 'C', "Surface"},
};
constexpr int kRunwaySize = 27;

std::string RunwayRecord(const std::string& key, std::uint16_t exportMark, double heading) {
    return testing::RecordBuilder(kRunwaySize)
        .Marks(0, exportMark)
        .Text(4, key)
        .Int(14, 5000)
        .Double(18, heading)
        .Byte(26, 3)
        .Bytes();
}

class CliExchange : public testing::CliTest {
  protected:
    void SetUp() override {
        CliTest::SetUp();
        if (IsSkipped()) return;
        dbt_ = dir_.Write("RUNWAY.dbt", testing::TemplateText(kRunwayFields));
        dbd_ = dir_.Write("RUNWAY.dbd", testing::DbdBytes("rway", kRunwaySize,
                                                          {RunwayRecord("09L", 1, 92.5),
                                                           RunwayRecord("27R", 0, 272.25)}));
    }

    std::string dbt_, dbd_;
};

TEST_F(CliExchange, DbdToDexAndCsvAndBackShowTheSameTable) {
    const Result fromDbd = Run({"show", dbd_, "--template", dbt_, "--decimal", ","});
    ASSERT_EQ(fromDbd.status, 0) << fromDbd.err;
    EXPECT_EQ(SplitLines(fromDbd.out).size(), 3u);
    EXPECT_NE(fromDbd.out.find("\t92,5000\t"), std::string::npos) << fromDbd.out;

    for (const char* name : {"OUT.dex", "OUT.csv"}) {
        const std::string out = dir_.File(name);
        Result r = Run({"convert", dbd_, out, "--template", dbt_, "--decimal", ","});
        ASSERT_EQ(r.status, 0) << name << r.err;
        EXPECT_EQ(r.out, "");
        r = Run({"show", out, "--template", dbt_, "--decimal", ","});
        ASSERT_EQ(r.status, 0) << name << r.err;
        EXPECT_EQ(r.out, fromDbd.out) << name;
    }
    EXPECT_EQ(dir_.Read("OUT.dex").size(), 40u + 2 * kRunwaySize);
}

TEST_F(CliExchange, SelectionFormsAndTheEmptySelection) {
    Result r = Run({"convert", dbd_, dir_.File("SEL.csv"), "--template", dbt_, "--selection",
                    "--decimal", "."});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(SplitLines(dir_.Read("SEL.csv")).back(), ";1;09L;5000;92.5000;3;\r");
    r = Run({"convert", dbd_, dir_.File("SEL.dex"), "--template", dbt_, "--selection"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(dir_.Read("SEL.dex").size(), 40u + kRunwaySize);
    r = Run({"convert", dbd_, dir_.File("SEL.geojson"), "--template", dbt_, "--selection"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(SplitLines(dir_.Read("SEL.geojson")).size(), 3u) << "one Feature";

    const std::string none = dir_.Write(
        "NONE.dbd", testing::DbdBytes("rway", kRunwaySize, {RunwayRecord("09L", 0, 92.5)}));
    for (const char* name : {"EMPTY.dbd", "EMPTY.dex", "EMPTY.csv", "EMPTY.geojson"}) {
        r = Run({"convert", none, dir_.File(name), "--template", dbt_, "--selection"});
        EXPECT_EQ(r.status, 1) << name;
        EXPECT_EQ(r.out, "");
        EXPECT_EQ(r.err, std::string("orvane-cli: error: ") + (std::string(name).ends_with("csv")
                                                                   ? "No selected record\n"
                                                                   : "No selected records\n"));
        EXPECT_FALSE(dir_.Exists(name)) << name;
    }
}

TEST_F(CliExchange, Fly1OptionSteersTheDexVersion) {
    // A 251-byte RUNWAY DEX holds Fly! 1 data.
    std::vector<testing::FieldSpec> fly2 = kRunwayFields;
    fly2.push_back({"rils", 251, 4, 'I', "ILS flags"});
    fly2.push_back({"rend", 255, 4, 'C', "End"});
    const std::string dbt2 = dir_.Write("fly2/RUNWAY.dbt", testing::TemplateText(fly2));
    const std::string path =
        dir_.Write("old.dex", testing::DexBytes("RUNWAY.DBD", 251, {RunwayRecord("09L", 1, 92.5)}));

    Result r = Run({"show", path, "--template", dbt2, "--decimal", "."});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.err.find("converted"), std::string::npos) << r.err;
    EXPECT_EQ(SplitLines(r.out).at(1), "1\t\t\t1\t09L\t5000\t92.5000\t3\t0\t");

    r = Run({"show", path, "--template", dbt_, "--fly1", "--decimal", "."});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(SplitLines(r.out).at(1), "1\t\t\t1\t09L\t5000\t92.5000\t3");

    // Fly! 2 data under Fly! 1: refused, nothing written.
    const std::string fly2dex = dir_.File("NEW.dex");
    r = Run({"convert", path, fly2dex, "--template", dbt2});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(dir_.Read("NEW.dex").size(), 40u + 259);
    r = Run({"convert", fly2dex, dir_.File("NEVER.csv"), "--template", dbt2, "--fly1"});
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("Fly!2 format"), std::string::npos) << r.err;
    EXPECT_FALSE(dir_.Exists("NEVER.csv"));
}

TEST_F(CliExchange, InputsThatCannotBeRead) {
    const std::string csv = dir_.Write("RUNWAY.csv", "RUNWAY\r\nh\r\n;1;09L;5000;92.5;3\r\n");
    Result r = Run({"show", csv});
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("--template"), std::string::npos) << r.err;

    const std::string bad = dir_.Write("BAD.dex", std::string(40, '\0') + "abc");
    r = Run({"convert", bad, dir_.File("X.csv"), "--template", dbt_});
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("invalid record size 0"), std::string::npos) << r.err;
    EXPECT_FALSE(dir_.Exists("X.csv"));

    // An archive without the template: the load's error, once.
    const std::string noDbt = dir_.Write(
        "RUNWAY.pod", BuildArchive(ArchiveLayout::Pod3, {{"DATABASE\\OTHER.DBT", "1\r\n", 0}}));
    r = Run({"convert", dbd_, dir_.File("X.csv"), "--template", noDbt});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "orvane-cli: error: DBT file not found\n");
    EXPECT_FALSE(dir_.Exists("X.csv"));

    r = Run({"convert", csv, dir_.File("X.txt"), "--template", dbt_});
    EXPECT_EQ(r.status, 1);
    // The formats the table writes, named from it.
    EXPECT_NE(r.err.find("must be a " + WritableExtensions() + " file"), std::string::npos)
        << r.err;

    r = Run({"convert", "--help"});
    EXPECT_EQ(r.status, 0);
    EXPECT_NE(r.out.find("(DEX export)"), std::string::npos);
    r = Run({"show", "--help"});
    EXPECT_NE(r.out.find("--fly1"), std::string::npos);
}

// A template whose offset + width wraps past 2^31 is refused before any
// record is read or written; nothing is left beside the target.
TEST_F(CliExchange, HostileTemplatesAreRefusedThroughEveryCommand) {
    const std::string hostile = dir_.Write("HOSTILE.dbt", "2\r\nrkey,4,10,C,Key\r\n"
                                                          "cbig,100,2147483647,C,Big\r\n");
    const std::string csv =
        dir_.Write("RUNWAY.csv", "RUNWAY\r\nh\r\n;1;09L;" + std::string(3000, 'A') + "\r\n");
    for (const auto& args : std::vector<std::vector<std::string>>{
             {"convert", csv, dir_.File("OUT.dbd"), "--template", hostile},
             {"convert", csv, dir_.File("OUT.dex"), "--template", hostile},
             {"convert", dbd_, dir_.File("OUT.csv"), "--template", hostile},
             {"show", dbd_, "--template", hostile}}) {
        Result r = Run(args);
        ExpectError(r, "does not fit in a record of 512 bytes");
    }
    std::vector<std::string> left;
    for (const auto& e : std::filesystem::directory_iterator(dir_.Path()))
        left.push_back(e.path().filename().string());
    std::sort(left.begin(), left.end());
    EXPECT_EQ(left,
              (std::vector<std::string>{"HOSTILE.dbt", "RUNWAY.csv", "RUNWAY.dbd", "RUNWAY.dbt"}));
}

// Memory running out while a huge table loads is a clear error, not an abort.
TEST_F(CliExchange, RunningOutOfMemoryIsAClearError) {
#ifdef ORVANE_SANITIZED
    GTEST_SKIP() << "AddressSanitizer's shadow memory does not fit under ulimit -v";
#endif
#ifdef _WIN32
    GTEST_SKIP() << "cmd.exe has no ulimit: without a memory limit the load would succeed";
#endif
    const int count = 20'000'000;
    const std::string big = dir_.File("BIG.dbd");
    testing::WriteBytes(big, testing::DbdHeaderBytes("rway", count, kRunwaySize));
    std::filesystem::resize_file(big, 56 + std::uint64_t(count) * kRunwaySize); // sparse zeros
    Result r = Run({"show", big, "--template", dbt_}, "ulimit -v 600000;");
    ExpectError(r, "not enough memory to load 20000000 records");

    // Blank lines make empty rows, at no more than a row's cost.
    const std::string blank = dir_.File("BLANK.csv");
    {
        std::ofstream out(blank, std::ios::binary);
        out << "RUNWAY\r\nheadings\r\n" << std::string(14'000'000, '\n');
    }
    r = Run({"show", blank, "--template", dbt_}, "ulimit -v 300000;");
    ExpectError(r, "not enough memory to load 14000000 records");
}

} // namespace
} // namespace orvane
