// OurAirports-format files made from our own tables: each row of a table
// written as the published files would hold it (so that the two match with
// no finding), and the demo's sample folder, where a handful of real-world
// records differ on purpose so that every kind of finding shows.
#pragma once

#include "realworld/OurAirports.h"
#include "table/RecordTable.h"

#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace orvane {

// One record: column name -> text (UTF-8).
using RealRecord = std::map<std::string, std::string>;
using RealRecords = std::map<RealDataFile, std::vector<RealRecord>>;

// The columns of a file, in the order the published files have them.
const std::vector<std::string>& RealColumns(RealDataFile file);
// A file's text: the heading row, then each record with every field quoted
// (as published); columns a record lacks are empty. LF line ends.
std::string RealFileText(RealDataFile file, const std::vector<RealRecord>& records);
// The records of the table's rows as the real world would hold them
// (AIRPORT, RUNWAY, NAVAID or COMM; the table's numbers shown with
// decimalSeparator). A row without a code to match on is left out.
std::vector<RealRecord> MirrorTable(const RecordTable& table, std::string_view dataType,
                                    char decimalSeparator = '.');
// The first record whose column holds a value; throws std::invalid_argument
// when there is none.
RealRecord& RecordWhere(std::vector<RealRecord>& records, const std::string& column,
                        const std::string& value);
// A record moved by metres to the north (latitude_deg, or one prefix's end).
void MoveNorth(RealRecord& record, double metres, const std::string& prefix = "");

// The demo's differences from its own tables, planted into their mirrors:
// LFPN moved 1.5 km, LFOB 12 ft higher, LFLY renamed "Lyon-Bron Aéroport",
// the TRO VOR on 116.25 MHz, KSAN's 09/27 renumbered 10/28 (same ends),
// a VOR BVS near Beauvais the table lacks, and the WCO NDB gone.
void PlantDemoDifferences(RealRecords& records);

// Writes the four files into folder (created when missing). Throws FileError.
void WriteRealFiles(const std::string& folder, const RealRecords& records);

} // namespace orvane
