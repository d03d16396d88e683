// The tables behind the demo simulator folder: real-world airports, runways,
// radio navigation aids and a few published frequencies, written by hand from
// public sources. Texts are UTF-8 here; the demo writer turns them into
// Windows-1252 bytes.
#pragma once

#include <vector>

namespace orvane::demo {

struct Airport {
    const char* icao; // "" for a field without an ICAO code
    const char* faa;  // FAA identifier in the United States, else the IATA code
    const char* name;
    const char* country; // two-letter country code
    const char* state;   // US state or Canadian province, else ""
    const char* city;
    int type;        // 1 airport, 4 heliport, 8 seaplane base
    double lat, lon; // degrees, north and east positive
    int elevation;   // feet
    // Main runway: end identifiers, true heading of end 1, length and width in
    // feet, surface code. id1 empty: no runway (heliport, seaplane base).
    const char* id1;
    const char* id2;
    double heading;
    int length, width;
    const char* surface;
};

// A further runway of an airport of the table above.
struct ExtraRunway {
    const char* icao;
    const char* id1;
    const char* id2;
    double heading;
    int length, width;
    const char* surface;
    // Offset of the runway's centre from the airport's reference point, in
    // feet north and east (parallel runways lie apart).
    double north, east;
};

struct Navaid {
    const char* ident;
    const char* name;
    const char* country;
    int type;         // 1 VOR, 5 VORTAC, 8 NDB, 17 VOR/DME
    double frequency; // MHz, kHz for an NDB
    double lat, lon;
    int elevation;
    int range; // nm
};

// Published frequencies of a few airports (MHz); the others get plausible
// channels made from their position in the table.
struct Frequencies {
    const char* icao;
    double tower, ground, atis, approach;
};

// Published localizers; the other long runways get plausible channels.
struct Localizer {
    const char* icao;
    const char* runway;
    const char* ident;
    double frequency;
};

const std::vector<Airport>& Airports();
const std::vector<ExtraRunway>& ExtraRunways();
const std::vector<Navaid>& Navaids();
const std::vector<Frequencies>& PublishedFrequencies();
const std::vector<Localizer>& PublishedLocalizers();

} // namespace orvane::demo
