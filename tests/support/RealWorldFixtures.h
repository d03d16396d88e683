// OurAirports-format files for the tests, written by the demo's own writer:
// the records mirror a table's rows (so that they match it with no finding),
// then each test plants its differences by editing the records.
#pragma once

#include "demo/OurAirportsSample.h"

#include <string>
#include <vector>

namespace orvane::testing {

using orvane::MirrorTable;
using orvane::MoveNorth;
using orvane::RealColumns;
using orvane::RealFileText;
using orvane::RealRecord;
using orvane::RecordWhere;

// Writes a file of records into a folder (named as published); returns its path.
std::string WriteRealFile(const std::string& folder, RealDataFile file,
                          const std::vector<RealRecord>& records);
// The table of a data type from the demo folder's Fly! II archive.
RecordTable DemoTable(const std::string& demoFolder, const std::string& dataType);

} // namespace orvane::testing
