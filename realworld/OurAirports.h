// The world's airports, runways, navaids and airport frequencies as
// OurAirports publishes them (https://ourairports.com/data/, public domain):
// four CSV files with a heading row naming their columns, UTF-8, fields
// quoted when they hold a comma, a quote or a line break. Columns are found
// by their names, so files with more or reordered columns read alike.
#pragma once

#include "platform/Wording.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace orvane {

// Texts are UTF-8 as the files hold them; coordinates in degrees, heights
// and lengths in feet.
struct RealAirport {
    std::string ident, gpsCode, icaoCode, type, name, country;
    double lat = 0, lon = 0;
    std::optional<int> elevationFt;
    bool Closed() const { return type == "closed"; }
};

struct RealRunwayEnd {
    std::string ident;
    std::optional<double> lat, lon, headingTrue;
    std::optional<int> elevationFt;
    bool Placed() const { return lat && lon; }
};

struct RealRunway {
    std::string airportIdent;
    std::optional<int> lengthFt;
    bool closed = false;
    RealRunwayEnd low, high; // the "le_" and "he_" ends
};

struct RealNavaid {
    std::string ident, name, type, country; // type: VOR, VOR-DME, VORTAC, TACAN, DME, NDB, NDB-DME
    double frequencyKhz = 0;
    double lat = 0, lon = 0;
    std::optional<int> elevationFt;
};

struct RealFrequency {
    std::string airportIdent, type, description; // type: TWR, GND, APP, DEP, ATIS, ...
    double frequencyMhz = 0;
};

// Which of the files a reconciliation reads.
enum class RealDataFile { Airports, Runways, Navaids, Frequencies };
const char* RealDataFileName(RealDataFile file); // "airports.csv", ...

struct RealWorldData {
    std::vector<RealAirport> airports;
    std::vector<RealRunway> runways;
    std::vector<RealNavaid> navaids;
    std::vector<RealFrequency> frequencies;
    // What the reader let pass: a file whose text is not all UTF-8, read
    // as Windows-1252 (once per file, naming its first such line).
    std::vector<Message> warnings;
};

// The fields of one CSV record (RFC 4180: "" is a quote inside a quoted
// field). Throws FormatError naming the file, the line and the column when a
// quote is left open, text follows a closing quote, or a record has more
// fields than the heading (counted, not kept) or a heading more than 1000. `line` is the record's
// first line; it moves past every line the record spans.
std::vector<std::string> SplitCsvRecord(std::string_view& text, int& line, std::string_view file,
                                        const std::vector<std::string>& heading);

// Reads one of the files from its text. Throws FormatError naming the file,
// the line and the column for a missing column, a record with fewer or more
// fields than the heading, or a coordinate or number that does not read.
void ParseRealDataFile(RealDataFile file, std::string_view text, RealWorldData& into);
// Reads the files from a folder (a file whose name differs in letter case is
// found too). Throws FileError when one cannot be read.
RealWorldData ReadRealWorldData(const std::string& folder, const std::vector<RealDataFile>& files);

} // namespace orvane
