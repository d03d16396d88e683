// The DEX import on any bytes, opened as a new table and then added below
// it, with the template of the navaid fixtures. Fly! 1 AIRPORT and RUNWAY
// data are converted (the question is answered yes).
#include "FuzzSupport.h"

#include "exchange/DexFile.h"
#include "platform/Errors.h"
#include "support/DirectWriteFixtures.h"

using namespace orvane;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const std::string dbt =
        fuzz::RamFiles::Get().Put("NAVAID.DBT", testing::TemplateText(testing::NavWriteFields()));
    const std::string& path = fuzz::RamFiles::Get().Put(
        "NAVAID.dex", std::string_view(reinterpret_cast<const char*>(data), size));

    fuzz::NullInteraction ui;
    SessionState s;
    s.SimulatorVersion = 2;
    try {
        if (!ImportDex(s, path, ImportMode::Open, ui, &ui, dbt).tableChanged) return 0;
    } catch (const OrvaneError&) {
        return 0;
    }
    const int rows = s.Table.RowCount();
    const int records = s.CurrentPod->Dex.RecordCount();
    try {
        if (ImportDex(s, path, ImportMode::Add, ui, &ui).tableChanged)
            fuzz::Require(s.Table.RowCount() == rows + records,
                          "an added file gave another number of rows than its records");
    } catch (const OrvaneError&) {
        fuzz::Require(s.Table.RowCount() == rows, "a refused addition left rows behind");
    }
    return 0;
}
