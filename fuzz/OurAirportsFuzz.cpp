// The OurAirports reader on any text: a choice byte picks the file (airports,
// runways, navaids, frequencies). What reads is written back with every
// field quoted, as published, and must read back identical; what does not
// read is refused with the program's own error.
#include "FuzzSupport.h"

#include "demo/OurAirportsSample.h"
#include "platform/Errors.h"

#include <charconv>

using namespace orvane;

namespace {

// Every digit a double needs to read back as itself.
std::string Exact(double value) {
    char text[64];
    const auto [end, ec] = std::to_chars(text, text + sizeof text, value);
    return ec == std::errc() ? std::string(text, end) : std::string();
}
template <typename T> std::string Exact(const std::optional<T>& value) {
    if (!value) return "";
    if constexpr (std::is_integral_v<T>)
        return std::to_string(*value);
    else
        return Exact(*value);
}

std::vector<RealRecord> Records(RealDataFile file, const RealWorldData& d) {
    std::vector<RealRecord> out;
    switch (file) {
    case RealDataFile::Airports:
        for (const RealAirport& a : d.airports)
            out.push_back({{"ident", a.ident},
                           {"gps_code", a.gpsCode},
                           {"type", a.type},
                           {"name", a.name},
                           {"iso_country", a.country},
                           {"latitude_deg", Exact(a.lat)},
                           {"longitude_deg", Exact(a.lon)},
                           {"elevation_ft", Exact(a.elevationFt)}});
        break;
    case RealDataFile::Runways:
        for (const RealRunway& r : d.runways) {
            RealRecord record = {{"airport_ident", r.airportIdent},
                                 {"length_ft", Exact(r.lengthFt)},
                                 {"closed", r.closed ? "1" : "0"}};
            for (const auto& [prefix, end] :
                 {std::pair{"le_", &r.low}, std::pair{"he_", &r.high}}) {
                const std::string p = prefix;
                record[p + "ident"] = end->ident;
                record[p + "latitude_deg"] = Exact(end->lat);
                record[p + "longitude_deg"] = Exact(end->lon);
                record[p + "elevation_ft"] = Exact(end->elevationFt);
                record[p + "heading_degT"] = Exact(end->headingTrue);
            }
            out.push_back(std::move(record));
        }
        break;
    case RealDataFile::Navaids:
        for (const RealNavaid& n : d.navaids)
            out.push_back({{"ident", n.ident},
                           {"name", n.name},
                           {"type", n.type},
                           {"iso_country", n.country},
                           {"frequency_khz", Exact(n.frequencyKhz)},
                           {"latitude_deg", Exact(n.lat)},
                           {"longitude_deg", Exact(n.lon)},
                           {"elevation_ft", Exact(n.elevationFt)}});
        break;
    case RealDataFile::Frequencies:
        for (const RealFrequency& f : d.frequencies)
            out.push_back({{"airport_ident", f.airportIdent},
                           {"type", f.type},
                           {"description", f.description},
                           {"frequency_mhz", Exact(f.frequencyMhz)}});
        break;
    }
    return out;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::Input input(data, size);
    const auto file = RealDataFile(input.Byte() % 4);
    RealWorldData first;
    try {
        ParseRealDataFile(file, input.Rest(), first);
    } catch (const OrvaneError&) {
        return 0; // a file that does not read, said with file, line and column
    }
    const std::string written = RealFileText(file, Records(file, first));
    RealWorldData again;
    ParseRealDataFile(file, written, again);
    fuzz::Require(again.warnings.empty(), "a written file reads as UTF-8");
    fuzz::Require(RealFileText(file, Records(file, again)) == written,
                  "what was read reads back identical");
    return 0;
}
