#include "settings/IniFile.h"

#include "platform/Errors.h"

#include "support/DbdFixtures.h"
#include "support/NamedCase.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <ostream>
#include <string>

namespace orvane {
namespace {

namespace fs = std::filesystem;

using IniTempDir = testing::TempDir;
using testing::ReadBytes;
using testing::WriteBytes;

// --- Reading ---------------------------------------------------------------------

struct LookupCase : testing::NamedCase {
    std::string bytes;
    const char* section;
    const char* key;
    std::optional<std::string> expected;
};

class IniLookup : public ::testing::TestWithParam<LookupCase> {};

TEST_P(IniLookup, FindsTheValueAsTheProfileFunctionsDo) {
    const LookupCase& c = GetParam();
    EXPECT_EQ(IniFile::FromBytes(c.bytes).Get(c.section, c.key), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Ini, IniLookup,
    ::testing::Values(
        // Start-up and dialog spell the same entry differently.
        LookupCase{"WrittenLowerReadMixed", "[deximport]\r\ndeximportdir=c:\\Dex\\\r\n",
                   "DexImport", "DexImportdir", "c:\\Dex\\"},
        LookupCase{"WrittenMixedReadLower", "[DexImport]\r\nDexImportdir=c:\\Dex\\\r\n",
                   "deximport", "deximportdir", "c:\\Dex\\"},
        LookupCase{"AccentedCapitalsFold", "[R\xC9GLAGES]\nCL\xC9=1\n", "r\xE9glages", "cl\xE9",
                   "1"},
        LookupCase{"ValueTrimmed", "[a]\n  k \t=  v w \t\n", "a", "k", "v w"},
        LookupCase{"QuotesDropped", "[a]\nk=\"  v  \"\n", "a", "k", "  v  "},
        LookupCase{"UnpairedQuoteKept", "[a]\nk=\"v\n", "a", "k", "\"v"},
        LookupCase{"EqualsInValue", "[a]\nk=x=y\n", "a", "k", "x=y"},
        LookupCase{"EmptyValueIsPresent", "[a]\nk=\n", "a", "k", ""},
        LookupCase{"KeyWithoutEquals", "[a]\nk\n", "a", "k", ""},
        LookupCase{"BlanksInsideBrackets", "[ init ]\nversion=1\n", "init", "version", "1"},
        LookupCase{"LfOnly", "[a]\nx=1\nk=2\n", "a", "k", "2"},
        LookupCase{"CrOnly", "[a]\rx=1\rk=2\r", "a", "k", "2"},
        LookupCase{"NoFinalLineEnd", "[a]\r\nk=2", "a", "k", "2"},
        LookupCase{"Utf8Signature", "\xEF\xBB\xBF[a]\nk=2\n", "a", "k", "2"},
        LookupCase{"Cp1252Bytes",
                   "[init]\nlangage=fran\xE7"
                   "ais\n",
                   "init", "langage",
                   "fran\xE7"
                   "ais"},
        LookupCase{"FirstKeyWins", "[a]\nk=1\nk=2\n", "a", "k", "1"},
        LookupCase{"MissingKey", "[a]\nx=1\n", "a", "k", std::nullopt},
        LookupCase{"KeyOfAnotherSection", "[a]\nx=1\n[b]\nk=1\n", "a", "k", std::nullopt},
        LookupCase{"MissingSection", "[a]\nk=1\n", "b", "k", std::nullopt},
        LookupCase{"CommentIsNoKey", "[a]\n;k=1\n", "a", ";k", std::nullopt},
        LookupCase{"KeyBeforeAnySection", "k=1\n[a]\n", "a", "k", std::nullopt},
        LookupCase{"EmptyFile", "", "a", "k", std::nullopt}),
    testing::CaseName);

struct NumberCase : testing::NamedCase {
    const char* text; // nullptr: the key is missing
    int expectedInt;  // with 7 as the default
    bool boolWhenDefaultFalse;
    bool boolWhenDefaultTrue;
};

class IniNumbers : public ::testing::TestWithParam<NumberCase> {};

TEST_P(IniNumbers, WholeNumbersOrTheDefault) {
    const NumberCase& c = GetParam();
    std::string bytes = "[a]\r\n";
    if (c.text) bytes += std::string("k=") + c.text + "\r\n";
    IniFile ini = IniFile::FromBytes(bytes);
    EXPECT_EQ(ini.GetInt("a", "k", 7), c.expectedInt);
    EXPECT_EQ(ini.GetBool("a", "k", false), c.boolWhenDefaultFalse);
    EXPECT_EQ(ini.GetBool("a", "k", true), c.boolWhenDefaultTrue);
}

INSTANTIATE_TEST_SUITE_P(
    Ini, IniNumbers,
    ::testing::Values(
        NumberCase{"Missing", nullptr, 7, false, true}, NumberCase{"One", "1", 1, true, true},
        NumberCase{"Zero", "0", 0, false, false}, NumberCase{"Zeros", "000", 0, false, false},
        NumberCase{"Twelve", "12", 12, true, true}, NumberCase{"Negative", "-3", -3, true, true},
        NumberCase{"Plus", "+4", 4, true, true}, NumberCase{"Blanks", " \t 5 \t", 5, true, true},
        NumberCase{"TrailingLetters", "12abc", 7, false, true},
        NumberCase{"Word", "yes", 7, false, true}, NumberCase{"Decimal", "1.5", 7, false, true},
        NumberCase{"InnerBlank", "1 2", 7, false, true},
        NumberCase{"SignAlone", "-", 7, false, true}, NumberCase{"Empty", "", 7, false, true},
        NumberCase{"TooBigForInt", "99999999999", 7, true, true},
        NumberCase{"IntMax", "2147483647", 2147483647, true, true},
        NumberCase{"IntMin", "-2147483648", -2147483647 - 1, true, true},
        NumberCase{"Huge", "123456789012345678901234567890", 7, true, true}),
    testing::CaseName);

TEST(IniRead, StringDefaultOnlyForAMissingKey) {
    IniFile ini = IniFile::FromBytes("[a]\nempty=\n");
    EXPECT_EQ(ini.GetString("a", "empty", "dflt"), "");
    EXPECT_EQ(ini.GetString("a", "missing", "dflt"), "dflt");
}

// --- Writing: every byte but the value's stays ----------------------------------

struct SetCase : testing::NamedCase {
    std::string before;
    const char* section;
    const char* key;
    std::string value;
    std::string after;
};

class IniSet : public ::testing::TestWithParam<SetCase> {};

TEST_P(IniSet, ChangesOnlyWhatItMust) {
    const SetCase& c = GetParam();
    IniFile ini = IniFile::FromBytes(c.before);
    ini.Set(c.section, c.key, c.value);
    EXPECT_EQ(ini.Bytes(), c.after);
    EXPECT_EQ(ini.Get(c.section, c.key), c.value);
}

const std::string kMixed = "; Orvane settings\r\n"
                           "[init]\r\n"
                           "first=1\r\n"
                           "Version = 1\r\n"
                           "\r\n"
                           "[fly1]\n" // a line end of another style, kept
                           "flydir=c:\\Fly\\\r\n"
                           "[custom]\r\n"
                           "other=\xE9t\xE9\r\n";

INSTANTIATE_TEST_SUITE_P(
    Ini, IniSet,
    ::testing::Values(
        SetCase{"ReplaceKeepsSpellingAndBlanks", kMixed, "INIT", "version", "2",
                "; Orvane settings\r\n[init]\r\nfirst=1\r\nVersion = 2\r\n\r\n[fly1]\n"
                "flydir=c:\\Fly\\\r\n[custom]\r\nother=\xE9t\xE9\r\n"},
        SetCase{"ReplaceOnLineWithOtherEnd", kMixed, "init", "first", "0",
                "; Orvane settings\r\n[init]\r\nfirst=0\r\nVersion = 1\r\n\r\n[fly1]\n"
                "flydir=c:\\Fly\\\r\n[custom]\r\nother=\xE9t\xE9\r\n"},
        SetCase{"LongerValue", kMixed, "fly1", "FLYDIR", "d:\\Jeux\\Fly!\\",
                "; Orvane settings\r\n[init]\r\nfirst=1\r\nVersion = 1\r\n\r\n[fly1]\n"
                "flydir=d:\\Jeux\\Fly!\\\r\n[custom]\r\nother=\xE9t\xE9\r\n"},
        SetCase{"NewKeyBeforeBlankLines", kMixed, "init", "langage",
                "fran\xE7"
                "ais",
                "; Orvane settings\r\n[init]\r\nfirst=1\r\nVersion = 1\r\nlangage=fran\xE7"
                "ais\r\n\r\n[fly1]\n"
                "flydir=c:\\Fly\\\r\n[custom]\r\nother=\xE9t\xE9\r\n"},
        SetCase{"NewKeyInMiddleSection", kMixed, "fly1", "extra", "x",
                "; Orvane settings\r\n[init]\r\nfirst=1\r\nVersion = 1\r\n\r\n[fly1]\n"
                "flydir=c:\\Fly\\\r\nextra=x\r\n[custom]\r\nother=\xE9t\xE9\r\n"},
        SetCase{"NewSection", kMixed, "work1", "workdir", "c:\\W\\",
                "; Orvane settings\r\n[init]\r\nfirst=1\r\nVersion = 1\r\n\r\n[fly1]\n"
                "flydir=c:\\Fly\\\r\n[custom]\r\nother=\xE9t\xE9\r\n\r\n[work1]\r\n"
                "workdir=c:\\W\\\r\n"},
        SetCase{"NewSectionLfFile", "[a]\nx=1\n", "b", "y", "2", "[a]\nx=1\n\n[b]\ny=2\n"},
        SetCase{"NewSectionAfterBlankLine", "[a]\nx=1\n\n", "b", "y", "2",
                "[a]\nx=1\n\n[b]\ny=2\n"},
        SetCase{"EmptyFileGetsCrLf", "", "init", "langage", "english",
                "[init]\r\nlangage=english\r\n"},
        SetCase{"NoFinalLineEndNewKey", "[a]\r\nx=1", "a", "y", "2", "[a]\r\nx=1\r\ny=2"},
        SetCase{"NoFinalLineEndNewSection", "[a]\r\nx=1", "b", "y", "2",
                "[a]\r\nx=1\r\n\r\n[b]\r\ny=2\r\n"},
        SetCase{"EmptySection", "[a]\n[b]\nz=0\n", "a", "k", "v", "[a]\nk=v\n[b]\nz=0\n"},
        SetCase{"KeyWithoutEquals", "[a]\nflag \nz=0\n", "a", "flag", "1", "[a]\nflag=1\nz=0\n"},
        SetCase{"EmptyValue", "[a]\r\nk=old\r\n", "a", "k", "", "[a]\r\nk=\r\n"},
        SetCase{"CommentWithKeyNameUntouched", "[a]\n;k=old\n", "a", "k", "new",
                "[a]\n;k=old\nk=new\n"},
        SetCase{"SecondSectionOfSameNameUntouched", "[a]\nx=1\n[A]\nk=old\n", "a", "k", "new",
                "[a]\nx=1\nk=new\n[A]\nk=old\n"}),
    testing::CaseName);

TEST(IniWrite, RefusesTextsThatWouldBreakTheFile) {
    IniFile ini = IniFile::FromBytes("[a]\r\nk=1\r\n");
    EXPECT_THROW(ini.Set("a", "k", "1\r\n[evil]"), RefusedError);
    EXPECT_THROW(ini.Set("a", "k=x", "1"), RefusedError);
    EXPECT_THROW(ini.Set("a]", "k", "1"), RefusedError);
    EXPECT_THROW(ini.Set("a", "", "1"), RefusedError);
    EXPECT_EQ(ini.Bytes(), "[a]\r\nk=1\r\n");
}

// --- Files --------------------------------------------------------------------------

TEST(IniFileOnDisk, MissingFileReadsEmptyAndWriteCreatesIt) {
    IniTempDir dir;
    const std::string path = dir.File("Orvane.ini");
    EXPECT_EQ(IniFile::Load(path).Bytes(), "");
    WriteProfileString(path, "init", "langage",
                       "fran\xE7"
                       "ais");
    EXPECT_EQ(ReadBytes(path), "[init]\r\nlangage=fran\xE7"
                               "ais\r\n");
}

TEST(IniFileOnDisk, WriteLeavesEveryOtherByte) {
    IniTempDir dir;
    const std::string path = dir.File("Orvane.ini");
    WriteBytes(path, kMixed);
    WriteProfileString(path, "Fly1", "FlyDir", "e:\\F\\");
    EXPECT_EQ(ReadBytes(path), "; Orvane settings\r\n[init]\r\nfirst=1\r\nVersion = 1\r\n\r\n"
                               "[fly1]\nflydir=e:\\F\\\r\n[custom]\r\nother=\xE9t\xE9\r\n");
    // The save went through a temporary file that is gone now.
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.Path()), fs::directory_iterator()), 1);
}

TEST(IniFileOnDisk, UnwritableTargetThrowsAndCreatesNothing) {
    IniTempDir dir;
    const std::string path = dir.File("missing-folder/Orvane.ini");
    EXPECT_THROW(WriteProfileString(path, "a", "k", "v"), FileError);
    EXPECT_FALSE(fs::exists(dir.File("missing-folder")));
}

TEST(IniFileOnDisk, FolderInsteadOfFileThrows) {
    IniTempDir dir;
    EXPECT_THROW(IniFile::Load(dir.Path()), FileError);
}

} // namespace
} // namespace orvane
