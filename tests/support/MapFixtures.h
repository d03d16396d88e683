// A table of many places for the map and check benchmarks: key, name, a
// one-byte flag, latitude and longitude (seconds of arc), half of them
// crowded around a few cities as real airports and navaids are.
#pragma once

#include "database/Template.h"
#include "table/RecordTable.h"

#include <vector>

namespace orvane::testing {

struct PlacesTable {
    RecordTable table;
    std::vector<FieldDef> fields;
};
PlacesTable ManyPlaces(int rows);

} // namespace orvane::testing
