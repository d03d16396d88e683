// The airport lookup on any archive and code: the ICAO index is walked and
// the record's text read, or a clear error is given.
#include "FuzzSupport.h"

#include "database/AirportLookup.h"
#include "platform/Errors.h"

using namespace orvane;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::Input in(data, size);
    const char* extension = fuzz::ArchiveExtension(in.Byte());
    const std::string code(in.Bytes(in.Byte() % 8));
    const std::string& path =
        fuzz::RamFiles::Get().Put(std::string("AIRPORT") + extension, in.Rest());

    UnattendedInteraction ui;
    try {
        const auto text = LookupAirport(path, code, ui);
        fuzz::Require(!text || text->size() <= 8, "a record text longer than 8 bytes");
    } catch (const OrvaneError&) {
    }
    return 0;
}
