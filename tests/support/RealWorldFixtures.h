// OurAirports-format files for the tests, written by our own code: the
// records mirror a table's rows (so that they match it with no finding),
// then each test plants its differences by editing the records.
#pragma once

#include "exchange/OurAirports.h"
#include "table/RecordTable.h"

#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace orvane::testing {

// One record: column name -> text (UTF-8).
using RealRecord = std::map<std::string, std::string>;

// The columns of a file, in the order the published files have them.
const std::vector<std::string>& RealColumns(RealDataFile file);
// A file's text: the heading row, then each record with every field quoted
// (as published); columns a record lacks are empty. LF line ends.
std::string RealFileText(RealDataFile file, const std::vector<RealRecord>& records);
// The records of the table's rows as the real world would hold them
// (AIRPORT, RUNWAY, NAVAID or COMM; numbers of the table read with '.').
std::vector<RealRecord> MirrorTable(const RecordTable& table, std::string_view dataType);
// The first record whose column holds a value.
RealRecord& RecordWhere(std::vector<RealRecord>& records, const std::string& column,
                        const std::string& value);
// Writes a file of records into a folder (named as published); returns its path.
std::string WriteRealFile(const std::string& folder, RealDataFile file,
                          const std::vector<RealRecord>& records);
// The table of a data type from the demo folder's Fly! II archive.
RecordTable DemoTable(const std::string& demoFolder, const std::string& dataType);
// A record moved by metres to the north (latitude_deg, or one prefix's end).
void MoveNorth(RealRecord& record, double metres, const std::string& prefix = "");

} // namespace orvane::testing
