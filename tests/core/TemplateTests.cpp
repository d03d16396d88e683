#include "database/DbdFile.h"
#include "database/Template.h"
#include "platform/Errors.h"
#include "support/DbdFixtures.h"
#include "support/ScriptedInteraction.h"
#include "support/TempDir.h"
#include "table/RecordTable.h"

#include <gtest/gtest.h>

using namespace orvane;
using orvane::testing::FieldSpec;
using orvane::testing::TemplateText;

namespace {

const std::vector<FieldSpec> kFields = {
    {"nkey", 4, 10, 'C', "Navaid key (Unique)"},
    {"nfrq", 59, 8, 'D', "Frequency"},
    {"ntyp", 89, 4, 'I', "Type"},
};

class TemplateLineEnds : public ::testing::TestWithParam<const char*> {};

TEST_P(TemplateLineEnds, EveryLineEndStyleKeepsEveryCharacter) {
    TemplateInfo info = ParseTemplate(TemplateText(kFields, GetParam()));
    ASSERT_EQ(info.FieldCount, 3);
    ASSERT_EQ(info.Fields.size(), 3u);
    EXPECT_EQ(info.Fields[0].Name, "nkey");
    EXPECT_EQ(info.Fields[0].Title, "Navaid key (Unique)");
    EXPECT_EQ(info.Fields[1].Name, "nfrq");
    EXPECT_EQ(info.Fields[1].Offset, 59);
    EXPECT_EQ(info.Fields[1].Type, 'D');
    EXPECT_EQ(info.Fields[2].Width, 4);
    EXPECT_EQ(info.Lines[1], "nkey,4,10,C,Navaid key (Unique)");
}

INSTANTIATE_TEST_SUITE_P(Styles, TemplateLineEnds, ::testing::Values("\r\n", "\n", "\r"));

TEST(Template, ZeroFieldsGiveAnEmptyListAndFourColumns) {
    TemplateInfo info = ParseTemplate("0\r\n");
    EXPECT_EQ(info.FieldCount, 0);
    EXPECT_TRUE(info.Fields.empty());
    RecordTable table;
    ApplyColumns(table, info.Fields);
    EXPECT_EQ(table.ColumnCount(), 4);
    DefinitionPage page = MakeDefinitionPage("COMM", info, false);
    EXPECT_EQ(page.Summary, "COMM.dbt - 0 champ");
    EXPECT_TRUE(page.Lines.empty());
}

TEST(Template, TitleKeepsCommasAndTypeTakesFirstLetter) {
    FieldDef f = ParseFieldLine("anam,23,40,Ch,Name, city, state");
    EXPECT_EQ(f.Name, "anam");
    EXPECT_EQ(f.Type, 'C');
    EXPECT_EQ(f.Title, "Name, city, state");
    EXPECT_TRUE(f.IsText());
}

TEST(Template, OffsetsAboveTwoHundredFiftyFiveKeepTheirValue) {
    FieldDef f = ParseFieldLine("rlen,300,4,I,Length");
    EXPECT_EQ(f.Offset, 300);
    EXPECT_EQ(f.ByteWidth(), 4);
}

TEST(Template, FieldsThatDoNotFitARecordAreRefused) {
    for (const char* line : {"xxxx,600,4,I,Far", "xxxx,508,8,D,Double past the end",
                             "xxxx,500,20,C,Text past the end", "xxxx,-1,4,I,Negative",
                             // offset + width past 2^31 must not wrap into a small end
                             "cbig,100,2147483647,C,Big", "cbig,2147483600,100,C,Wraps",
                             "cbig,2147483647,2147483647,C,Both"})
        EXPECT_THROW(ParseFieldLine(line), FormatError) << line;
    EXPECT_NO_THROW(ParseFieldLine("xxxx,504,8,D,Last double"));
}

TEST(Template, BadNumbersAndMissingLinesAreFormatErrors) {
    EXPECT_THROW(ParseTemplate("x\r\n"), FormatError);
    EXPECT_THROW(ParseTemplate(""), FormatError);
    EXPECT_THROW(ParseTemplate("1\r\nabcd,1O,4,I,Letter O in the offset\r\n"), FormatError);
    EXPECT_THROW(ParseTemplate("3\r\nabcd,4,4,I,One\r\n"), FormatError);
    EXPECT_THROW(ParseTemplate("1\r\nabcd,4,4\r\n"), FormatError);
}

TEST(Template, LastLineWithoutLineEndIsKeptAndExtraLinesIgnored) {
    TemplateInfo info = ParseTemplate("2\r\nabcd,4,4,I,One\r\nefgh,8,4,I,Two");
    ASSERT_EQ(info.Fields.size(), 2u);
    EXPECT_EQ(info.Fields[1].Title, "Two");
    info = ParseTemplate("1\r\nabcd,4,4,I,One\r\nnot a definition\r\n");
    EXPECT_EQ(info.Fields.size(), 1u);
}

// Two fields sharing bytes lose one's bytes on a save: found, in offset order.
TEST(Template, OverlappingFieldsAreFoundInOffsetOrder) {
    using Pair = std::optional<std::pair<std::size_t, std::size_t>>;
    struct Case {
        const char* what;
        std::vector<FieldDef> fields;
        Pair expected;
    };
    for (const Case& c : std::vector<Case>{
             {"apart", ParseTemplate(TemplateText(kFields)).Fields, std::nullopt},
             {"adjacent", {{"a", 4, 4, 'C', ""}, {"b", 8, 4, 'I', ""}}, std::nullopt},
             {"text over text", {{"KEY1", 4, 4, 'C', ""}, {"KE", 6, 2, 'C', ""}}, Pair{{0, 1}}},
             {"double over integer", {{"d", 10, 0, 'D', ""}, {"i", 14, 4, 'I', ""}}, Pair{{0, 1}}},
             {"listed backwards", {{"b", 20, 4, 'I', ""}, {"a", 4, 20, 'C', ""}}, Pair{{1, 0}}},
             {"inside a longer one",
              {{"a", 4, 20, 'C', ""}, {"b", 8, 2, 'C', ""}, {"c", 16, 2, 'C', ""}},
              Pair{{0, 1}}},
             {"same offset", {{"a", 4, 1, 'C', ""}, {"b", 4, 1, 'C', ""}}, Pair{{0, 1}}},
             {"not converted", {{"x", 4, 40, 'X', ""}, {"a", 8, 4, 'I', ""}}, std::nullopt},
             {"empty text", {{"e", 6, 0, 'C', ""}, {"a", 4, 4, 'I', ""}}, std::nullopt},
         })
        EXPECT_EQ(FirstOverlap(c.fields), c.expected) << c.what;
}

TEST(Template, ALoadWarnsOfOverlappingFieldsNamingBoth) {
    orvane::testing::TempDir dir;
    const std::string dbt = dir.Write(
        "NAVAID.dbt", TemplateText({{"KEY1", 4, 4, 'C', "Key"}, {"KE", 6, 2, 'C', "Part"}}));
    orvane::testing::ScriptedInteraction ui;
    ArchiveFile pod;
    ASSERT_TRUE(LoadTemplate(pod, dbt, "NAVAID", ui, nullptr));
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].kind, MessageKind::Warning);
    EXPECT_EQ(ui.messages[0].text, "Template: the fields KEY1 (bytes 4 to 7) and KE (bytes 6 to "
                                   "7) overlap; a record written again may change");
    EXPECT_EQ(pod.Fields.size(), 2u);
}

TEST(Template, ColumnsAndDefinitionsPage) {
    TemplateInfo info = ParseTemplate(TemplateText(kFields));
    RecordTable table;
    ApplyColumns(table, info.Fields);
    ASSERT_EQ(table.ColumnCount(), 7);
    EXPECT_EQ(table.Cell(0, 0), kHeadingNumber);
    EXPECT_EQ(table.Cell(4, 0), "Navaid key (Unique)");
    EXPECT_EQ(table.Cell(6, 0), "Type");
    EXPECT_FALSE(info.Fields[0].RightAligned());
    EXPECT_TRUE(info.Fields[1].RightAligned());
    EXPECT_TRUE(info.Fields[2].RightAligned());

    DefinitionPage en = MakeDefinitionPage("NAVAID", info, true);
    EXPECT_EQ(en.Summary, "NAVAID.dbt - 3 fields");
    ASSERT_EQ(en.Lines.size(), 3u);
    EXPECT_EQ(en.Lines[2], "ntyp,89,4,I,Type");
}

} // namespace
