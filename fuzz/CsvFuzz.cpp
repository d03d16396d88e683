// The CSV import on any text, opened as a new table and then added below
// it, with the template of the navaid fixtures.
#include "FuzzSupport.h"

#include "exchange/CsvFile.h"

using namespace orvane;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::OpenThenAdd(ImportCsv, fuzz::RamFiles::Get().Put("NAVAID.csv", fuzz::AsText(data, size)));
    return 0;
}
