// orvane-cli diff on tables made by the fixture builders: equal tables,
// changed fields, rows only on one side (with their names), repeated keys,
// another key, and the errors.
#include "database/ArchiveWriter.h"
#include "support/CliRunner.h"
#include "support/DbdFixtures.h"

#include <gtest/gtest.h>

namespace orvane {
namespace {

const std::vector<testing::FieldSpec> kFields = {
    {"rkey", 4, 10, 'C', "Runway key (unique)"},
    {"rlen", 14, 4, 'I', "Length"},
    {"rhdg", 18, 8, 'D', "Heading"},
    {"rsur", 26, 8, 'C', "Surface"},
};
constexpr int kSize = 34;

struct Runway {
    std::string key;
    int length;
    double heading;
    std::string surface = "Asphalt";
};

std::string Dbd(const std::vector<Runway>& runways, const std::string& tag = "rway") {
    std::vector<std::string> records;
    for (const Runway& r : runways)
        records.push_back(testing::RecordBuilder(kSize)
                              .Text(4, r.key)
                              .Int(14, r.length)
                              .Double(18, r.heading)
                              .Text(26, r.surface)
                              .Bytes());
    return testing::DbdBytes(tag, kSize, records);
}

const std::vector<Runway> kStock = {{"09L", 3000, 92.5}, {"27R", 3000, 272.5}, {"04", 1800, 40}};

class CliDiff : public testing::CliTest {
  protected:
    void SetUp() override {
        CliTest::SetUp();
        if (IsSkipped()) return;
        dbt_ = dir_.Write("RUNWAY.dbt", testing::TemplateText(kFields));
        stock_ = dir_.Write("RUNWAY.dbd", Dbd(kStock));
    }
    testing::CliResult Diff(const std::vector<Runway>& mine, std::vector<std::string> more = {}) {
        const std::string path = io_.Write("RUNWAY.dbd", Dbd(mine));
        std::vector<std::string> args = {"diff", stock_,      path, "--template",
                                         dbt_,   "--decimal", "."};
        args.insert(args.end(), more.begin(), more.end());
        return Run(args);
    }
    std::string dbt_, stock_;
};

TEST_F(CliDiff, EqualTablesExitZero) {
    const auto r = Diff(kStock);
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "Key: Runway key (unique)\n\n"
                     "Equal: 0 only in A, 0 only in B, 0 changed, 3 rows in A, 3 rows in B\n");
}

TEST_F(CliDiff, ChangedFieldsAndRowsOnEitherSide) {
    // 27R gone, 18 added, 09L lengthened and turned: listed in a stable order.
    const auto r = Diff({{"04", 1800, 40}, {"09L", 3200, 93}, {"18", 2100, 180, "Grass"}});
    EXPECT_EQ(r.status, 1) << r.err;
    EXPECT_EQ(r.out, "Key: Runway key (unique)\n"
                     "\nOnly in A (1):\n- \"27R\" Asphalt (A row 2)\n"
                     "\nOnly in B (1):\n+ \"18\" Grass (B row 3)\n"
                     "\nChanged (1):\n~ \"09L\" Asphalt (A row 1, B row 2)\n"
                     "    Length: \"3000\" -> \"3200\"\n"
                     "    Heading: \"92.5000\" -> \"93.0000\"\n"
                     "\nDiffer: 1 only in A, 1 only in B, 1 changed, 3 rows in A, 3 rows in B\n");
}

TEST_F(CliDiff, KeyColumnChoosesHowRowsMatch) {
    const std::vector<Runway> reordered = {kStock[2], kStock[0], kStock[1]};
    EXPECT_EQ(Diff(reordered).status, 0); // matched by the unique key
    const auto byRow = Diff(reordered, {"--key", "row"});
    EXPECT_EQ(byRow.status, 1);
    EXPECT_NE(byRow.out.find("Key: row number\n"), std::string::npos) << byRow.out;
    // The row's name now starts with its first text, the key field.
    EXPECT_NE(byRow.out.find("~ row 1 09L  Asphalt (A row 1, B row 1)\n"), std::string::npos)
        << byRow.out;
    // By length: both 3000 runways pair in order, the 1800 one too.
    EXPECT_EQ(Diff(reordered, {"--key", "rlen"}).status, 0);
    const auto unknown = Diff(reordered, {"--key", "Owner"});
    EXPECT_EQ(unknown.status, 2);
    EXPECT_NE(unknown.err.find("no column 'Owner'"), std::string::npos) << unknown.err;
}

TEST_F(CliDiff, ARepeatedKeyIsNoRowOnlyOnOneSide) {
    const auto r = Diff({kStock[0], kStock[1], {"09L", 3000, 92.5, "Concrete"}, kStock[2]});
    EXPECT_EQ(r.status, 1) << r.err;
    EXPECT_EQ(r.out, "Key: Runway key (unique)\n"
                     "\nKey repeated in B (1):\n"
                     "! \"09L\" Concrete (B row 3, the key of B row 1)\n"
                     "\nDiffer: 0 only in A, 0 only in B, 0 changed, 1 repeated key, "
                     "3 rows in A, 4 rows in B\n");
}

TEST_F(CliDiff, DifferentDataTypesAndUnreadableInputsAreErrors) {
    const std::string other = io_.Write("COMM.dbd", Dbd(kStock, "comm"));
    auto r = Run({"diff", stock_, other, "--template", dbt_});
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.out, "");
    EXPECT_NE(r.err.find("RUNWAY records and B COMM"), std::string::npos) << r.err;
    // Two DBD files whatever the template source: the archive that holds
    // only the runway template is not searched for the other one.
    const std::string pod = dir_.File("RUNWAY.POD");
    WriteArchive(pod, ArchiveLayout::Pod3,
                 {{"DATABASE\\RUNWAY.DBT", testing::TemplateText(kFields), 0}});
    for (const auto& [first, second] : {std::pair{stock_, other}, std::pair{other, stock_}}) {
        r = Run({"diff", first, second, "--template", pod});
        EXPECT_EQ(r.status, 2);
        EXPECT_EQ(r.out, "");
        EXPECT_NE(r.err.find(" holds "), std::string::npos) << r.err;
        EXPECT_EQ(r.err.find("DBT"), std::string::npos) << r.err;
    }
    r = Run({"diff", stock_, io_.File("missing.dbd"), "--template", dbt_});
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(Run({"diff", stock_}).status, 2);
}

} // namespace
} // namespace orvane
