// The DBD load from disk on any bytes, with the template of the navaid
// fixtures (every kind of field): a damaged file is refused before the table
// changes; a file that loads gives one row per record.
#include "FuzzSupport.h"

#include "database/DbdFile.h"
#include "platform/Errors.h"

using namespace orvane;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string& dbt = fuzz::NavaidTemplate();
    const std::string& path = fuzz::RamFiles::Get().Put("NAVAID.dbd", fuzz::AsText(data, size));

    UnattendedInteraction ui;
    SessionState s;
    s.SimulatorVersion = 2;
    const int rowsBefore = s.Table.RowCount();
    try {
        const LoadOutcome out = OpenDbdFromDisk(s, path, dbt, ui, &ui);
        if (out.loaded)
            fuzz::Require(s.Table.RowCount() == s.CurrentPod->Dbd.RecordCount() + 1,
                          "a table of another size than the file's record count");
    } catch (const OrvaneError&) {
        fuzz::Require(s.Table.RowCount() == rowsBefore && !s.CurrentPod,
                      "a refused file changed the session");
    }
    return 0;
}
