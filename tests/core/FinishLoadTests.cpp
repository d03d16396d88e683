// Every load ends alike in the core, whoever runs it (the editor or the
// batch tool): the flag headings as the window wrote them, a new history in
// which the table as loaded is the saved state, rows that are again the
// records of their file, and one "table replaced" event.
#include "exchange/TableFormats.h"
#include "support/DbdFixtures.h"
#include "support/ScriptedInteraction.h"
#include "support/TableCells.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

using namespace orvane;
using namespace orvane::testing;

namespace {

TEST(FinishedLoad, EveryReaderLeavesTheTableAsLoadedAndSaysSoOnce) {
    TempDir dir;
    const std::string dbt = dir.Write("AIRPORT.dbt", TemplateText(AirportLikeFields()));
    const std::vector<std::string> records = {AirportLikeRecord(0), AirportLikeRecord(1)};
    const std::string files[] = {
        dir.Write("AIRPORT.dbd", DbdBytes("aprt", kAirportLikeRecordSize, records)),
        dir.Write("AIRPORT.dex", DexBytes("AIRPORT.DBD", kAirportLikeRecordSize, records)),
    };
    for (const std::string& path : files) {
        // The window writes the headings in its language once; the batch
        // tool never does, and keeps the table's own.
        for (const bool window : {true, false}) {
            SCOPED_TRACE(path + (window ? " (window)" : " (batch)"));
            SessionState s = EnglishSession(1);
            if (window) {
                s.WriteFlagHeadings();
                s.Table.SetCell(kColModif, 0, "?");
            }
            int replaced = 0;
            s.TableReplaced = [&] { ++replaced; };
            s.Table.SetCell(kColModif, 1, "X"); // a change beside the history
            s.Unwritten = {1};
            s.RowsAreRecords = false;
            ScriptedInteraction ui;
            ASSERT_TRUE(FormatOfPath(path)->read(s, path, dbt, ui, &ui, {}).loaded);
            EXPECT_EQ(replaced, 1);
            EXPECT_EQ(s.Table.RowCount(), 3);
            EXPECT_EQ(s.Table.Cell(kColNumber, 0), kHeadingNumber);
            EXPECT_EQ(s.Table.Cell(kColModif, 0), window ? "Change" : "Modif");
            EXPECT_TRUE(s.Undo.IsClean(s.Table));
            EXPECT_FALSE(s.Undo.CanUndo(s.Table));
            EXPECT_FALSE(s.HasUnsavedChanges());
            EXPECT_TRUE(s.RowsAreRecords);
            EXPECT_TRUE(s.Unwritten.empty());
        }
    }
}

} // namespace
