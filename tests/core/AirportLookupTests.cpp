// The airport lookup by ICAO code: the index walk, the record text, the
// archive of the simulator version and the damaged or incomplete archives.
#include "database/AirportLookup.h"
#include "database/ArchiveWriter.h"
#include "platform/Errors.h"
#include "platform/Paths.h"
#include "support/ArchiveFixtures.h"
#include "support/DirectWriteFixtures.h"
#include "support/ScriptedInteraction.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

using namespace orvane;
using namespace orvane::testing;

namespace {

const std::vector<AirportRow> kRows = {
    {"KJFK", "JFK\0xxxx"}, // text ends at its zero byte
    {"LFPG", "CDGAULLE"},  // 8 characters, no zero byte within 8
    {"EGLL", "FIRST"},     // a duplicate key: the first row counts
    {"EGLL", "SECOND"},    //
    {"EDDFX", "FIVE"},     // a key of all 5 bytes
    {"K1", "CAF\xC9"},     // 8-bit text passes unchanged
};

class AirportLookupTest : public ::testing::Test {
  protected:
    std::string Write(const std::string& name, const std::vector<ArchiveSourceEntry>& entries,
                      ArchiveLayout layout = ArchiveLayout::Pod3) {
        const std::string path = dir.File(name);
        WriteArchive(path, layout, entries);
        return path;
    }
    std::optional<std::string> Lookup(const std::string& path, const std::string& code) {
        return LookupAirport(path, code, ui);
    }

    TempDir dir;
    ScriptedInteraction ui;
};

TEST_F(AirportLookupTest, CodeFindsTheTextOfItsRecord) {
    std::vector<AirportRow> rows = kRows;
    rows[0].text = std::string("JFK\0xxxx", 8);
    rows[1].text = "CDGAULLEZZ"; // runs past 8 bytes: only 8 are taken
    const std::string path = Write("Airport.POD", AirportEntries(rows));
    EXPECT_EQ(Lookup(path, "KJFK"), "JFK");
    EXPECT_EQ(Lookup(path, "kjfk"), "JFK"); // upper-cased before the comparison
    EXPECT_EQ(Lookup(path, "lfPg"), "CDGAULLE");
    EXPECT_EQ(Lookup(path, "EGLL"), "FIRST");
    EXPECT_EQ(Lookup(path, "eddfx"), "FIVE");
    EXPECT_EQ(Lookup(path, "k1"), "CAF\xC9");
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(AirportLookupTest, CodeMustBeTheWholeKey) {
    const std::string path = Write("Airport.POD", AirportEntries(kRows));
    for (const char* code : {"KJFK ", "KJF", "EDDFXY", "KJFKAB", "", "K\xC9"}) {
        SCOPED_TRACE(code);
        ui.messages.clear();
        EXPECT_EQ(Lookup(path, code), std::nullopt);
        ASSERT_EQ(ui.messages.size(), 1u);
        EXPECT_EQ(ui.messages[0].kind, MessageKind::Warning);
    }
    ui.messages.clear();
    Lookup(path, "zzzz");
    EXPECT_EQ(ui.messages[0].text, "ICAO code \"ZZZZ\" is not in the airport index");
    ui.SetLanguage(Lang::French); // worded where it is shown
    LookupAirport(path, "zzzz", ui);
    EXPECT_EQ(ui.messages[1].text, "Code OACI « ZZZZ » absent de l'index des aéroports");
}

TEST_F(AirportLookupTest, VersionChoosesTheArchiveWhateverItsLetterCase) {
    SessionState s;
    s.Language = "english";
    s.FlyDir = dir.Path() + "/Fly";
    CreateFolders(s.FlyDir + "/SYSTEM");
    WriteArchive(s.FlyDir + "/SYSTEM/AIRPORT.EPD", ArchiveLayout::Epd,
                 AirportEntries({{"KJFK", "EPDTEXT"}}));
    WriteArchive(s.FlyDir + "/SYSTEM/airport.pod", ArchiveLayout::PodShort,
                 AirportEntries({{"KJFK", "PODTEXT"}}));
    s.SimulatorVersion = 1;
    EXPECT_EQ(LookupAirport(s, "kjfk", ui), "EPDTEXT");
    s.SimulatorVersion = 2;
    EXPECT_EQ(LookupAirport(s, "kjfk", ui), "PODTEXT");
    s.SimulatorVersion = 0;
    EXPECT_THROW(LookupAirport(s, "kjfk", ui), RefusedError);
    s.SimulatorVersion = 3;
    EXPECT_THROW(AirportArchivePath(s), RefusedError);
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(AirportLookupTest, MissingIndexSaysTheAirportFileIsNotFound) {
    auto entries = AirportEntries(kRows);
    entries.erase(entries.begin()); // the index
    ui.messages.clear();
    EXPECT_EQ(Lookup(Write("Airport.POD", entries), "KJFK"), std::nullopt);
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text, "AIRPORT.DBD file not found");

    // EPD: the archive's own warning about the index comes first.
    ui.messages.clear();
    ui.SetLanguage(Lang::French);
    LookupAirport(Write("Airport.EPD", entries, ArchiveLayout::Epd), "KJFK", ui);
    ASSERT_EQ(ui.messages.size(), 2u);
    EXPECT_EQ(ui.messages[0].text, "Index DATABASE\\APRTICAO.DBI non trouvé");
    EXPECT_EQ(ui.messages[1].text, "Fichier AIRPORT.DBD non trouvé");
}

TEST_F(AirportLookupTest, MissingDbdEntryGivesOneWarningForBothKinds) {
    auto entries = AirportEntries(kRows);
    entries.pop_back(); // the DBD entry
    for (auto layout : {ArchiveLayout::Pod3, ArchiveLayout::Epd}) {
        SCOPED_TRACE(LayoutName(layout));
        ui.messages.clear();
        const std::string path = Write("Airport" + ExtensionFor(layout), entries, layout);
        EXPECT_EQ(Lookup(path, "KJFK"), std::nullopt);
        ASSERT_EQ(ui.messages.size(), 1u);
        EXPECT_EQ(ui.messages[0].text, "DATABASE\\AIRPORT.DBD file not found");
    }
}

TEST_F(AirportLookupTest, DamagedIndexIsAnErrorNotAWildRead) {
    // Rows too short to hold a record position.
    EXPECT_THROW(Lookup(Write("short.pod", AirportEntries({{"KJFK", "X"}}, 8)), "KJFK"),
                 FormatError);
    // Positions outside the DBD entry (its size: 56 + 20 bytes).
    for (std::uint32_t position : {65u, 1000u, 0xFFFFFFF0u}) {
        SCOPED_TRACE(position);
        const std::string path = Write("far.pod", AirportEntries({{"KJFK", "X"}}, 12, {position}));
        EXPECT_THROW(Lookup(path, "KJFK"), FormatError);
    }
    // The last position whose 8 bytes still lie inside the entry.
    EXPECT_EQ(Lookup(Write("edge.pod", AirportEntries({{"KJFK", "X"}}, 12, {64u})), "KJFK"),
              std::string(""));
    // A row count the index entry cannot hold.
    auto entries = AirportEntries({{"KJFK", "X"}});
    PatchU32(entries[0].data, 16, 1000000);
    EXPECT_THROW(Lookup(Write("count.pod", entries), "KJFK"), FormatError);
    // An archive that is not there.
    EXPECT_THROW(Lookup(dir.File("none.pod"), "KJFK"), FileError);
}

} // namespace
