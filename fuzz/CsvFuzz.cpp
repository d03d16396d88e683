// The CSV import on any text, opened as a new table and then added below
// it, with the template of the navaid fixtures.
#include "FuzzSupport.h"

#include "exchange/CsvFile.h"
#include "platform/Errors.h"
#include "support/DirectWriteFixtures.h"

using namespace orvane;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const std::string dbt =
        fuzz::RamFiles::Get().Put("NAVAID.DBT", testing::TemplateText(testing::NavWriteFields()));
    const std::string& path = fuzz::RamFiles::Get().Put(
        "NAVAID.csv", std::string_view(reinterpret_cast<const char*>(data), size));

    fuzz::NullInteraction ui;
    SessionState s;
    s.SimulatorVersion = 2;
    try {
        if (!ImportCsv(s, path, ImportMode::Open, ui, &ui, dbt).tableChanged) return 0;
    } catch (const OrvaneError&) {
        return 0;
    }
    const int rows = s.Table.RowCount();
    try {
        if (ImportCsv(s, path, ImportMode::Add, ui, &ui).tableChanged)
            fuzz::Require(s.Table.RowCount() == 2 * rows - 1,
                          "an added file gave another number of rows than its first open");
    } catch (const OrvaneError&) {
        fuzz::Require(s.Table.RowCount() == rows, "a refused addition left rows behind");
    }
    return 0;
}
