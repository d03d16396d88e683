// Long work stopped through its progress callback puts back what it changed:
// no export file (an earlier one stays), the table as it was, no half
// extracted file.
#include "database/DbdFile.h"
#include "exchange/CsvFile.h"
#include "exchange/DexFile.h"
#include "platform/Progress.h"
#include "support/DbdFixtures.h"
#include "support/NamedCase.h"
#include "support/ScriptedInteraction.h"
#include "support/TableCells.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

using namespace orvane;
using namespace orvane::testing;

namespace {

TEST(ProgressSteps, ReportsEveryStepAndTheLastUnitThenStopsOnFalse) {
    std::vector<std::int64_t> seen;
    ProgressFn fn = [&](std::int64_t done, std::int64_t total) {
        EXPECT_EQ(total, 10);
        seen.push_back(done);
        return done < 8;
    };
    ProgressSteps steps(fn, 10, 4);
    for (int k = 1; k <= 7; ++k)
        steps.At(k);
    EXPECT_EQ(seen, (std::vector<std::int64_t>{4}));
    EXPECT_THROW(steps.At(8), Cancelled);
    ProgressFn none;
    ProgressSteps silent(none, 3, 1);
    EXPECT_NO_THROW(silent.At(3));
}

constexpr int kRows = 1200; // several reports before the last

// The loads and imports; the writes' cancel is a test of every format's
// writer (TableFormatsTests).
struct Work : NamedCase {
    const char* file; // IN.dex, IN.csv or AIRPORT.dbd, beside the template
    ImportMode mode;  // for the imports
};

class CancelledWork : public ::testing::TestWithParam<Work> {};

TEST_P(CancelledWork, LeavesFilesAndTableAsTheyWere) {
    TempDir dir;
    std::vector<std::string> records;
    for (int n = 1; n <= kRows; ++n)
        records.push_back(AirportLikeRecord(n));
    const std::string dbt = dir.Write("AIRPORT.DBT", TemplateText(AirportLikeFields()));
    const std::string dbd =
        dir.Write("AIRPORT.dbd", DbdBytes("aprt", kAirportLikeRecordSize, records));
    SessionState s = EnglishSession(2);
    ScriptedInteraction ui;
    ASSERT_TRUE(OpenDbdFromDisk(s, dbd, dbt, ui).loaded);
    // The exchange files an import reads.
    ExportDex(s, dir.File("IN.dex"), false, ui);
    ExportCsv(s, dir.File("IN.csv"), false, ui);
    s.Table.SetRowCount(6); // a table that differs from every file
    s.Table.SetCell(5, 5, "mine");
    const Cells before = DataCells(s.Table);
    const auto files = dir.ListFiles();

    std::vector<std::int64_t> reports;
    const ProgressFn stop = [&](std::int64_t done, std::int64_t total) {
        EXPECT_EQ(total, kRows);
        reports.push_back(done);
        return reports.size() < 2;
    };
    const Work& w = GetParam();
    const std::string file = dir.File(w.file), dbtOfOpen = w.mode == ImportMode::Open ? dbt : "";
    const auto run = [&] {
        if (file.ends_with(".dex"))
            ImportDex(s, file, w.mode, ui, nullptr, dbtOfOpen, stop);
        else if (file.ends_with(".csv"))
            ImportCsv(s, file, w.mode, ui, nullptr, dbtOfOpen, stop);
        else
            OpenDbdFromDisk(s, file, dbt, ui, nullptr, stop);
    };
    EXPECT_THROW(run(), Cancelled);
    EXPECT_EQ(reports, (std::vector<std::int64_t>{512, 1024}));
    EXPECT_EQ(DataCells(s.Table), before);
    EXPECT_EQ(s.Table.RowCount(), 6);
    EXPECT_EQ(dir.ListFiles(), files) << "no temporary file is left";
}

INSTANTIATE_TEST_SUITE_P(Progress, CancelledWork,
                         ::testing::Values(Work{"DexOpen", "IN.dex", ImportMode::Open},
                                           Work{"DexAdd", "IN.dex", ImportMode::Add},
                                           Work{"CsvOpen", "IN.csv", ImportMode::Open},
                                           Work{"CsvAdd", "IN.csv", ImportMode::Add},
                                           Work{"DbdLoad", "AIRPORT.dbd", ImportMode::Open}),
                         CaseName);

} // namespace
