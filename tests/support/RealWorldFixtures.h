// OurAirports-format files for the tests, written by the demo's own writer:
// the records mirror a table's rows (so that they match it with no finding),
// then each test plants its differences by editing the records.
#pragma once

#include "database/SessionState.h"
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
// The published OurAirports files shipped beside the sources
// (../shared/data/ourairports/: runways, navaids, frequencies), read once;
// null when the folder is absent.
const RealWorldData* SharedRealData();
// The reason a test gives when it skips for want of them.
inline constexpr const char* kNoSharedRealData = "../shared/data/ourairports/ is absent";

// The session holding a data type's table from the demo folder's Fly! II
// archive, and that table alone.
SessionState DemoSession(const std::string& demoFolder, const std::string& dataType);
RecordTable DemoTable(const std::string& demoFolder, const std::string& dataType);

} // namespace orvane::testing
