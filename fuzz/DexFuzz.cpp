// The DEX import on any bytes, opened as a new table and then added below
// it, with the template of the navaid fixtures. Fly! 1 AIRPORT and RUNWAY
// data are converted (the question is answered yes).
#include "FuzzSupport.h"

#include "exchange/DexFile.h"

using namespace orvane;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::OpenThenAdd(ImportDex, fuzz::RamFiles::Get().Put("NAVAID.dex", fuzz::AsText(data, size)));
    return 0;
}
