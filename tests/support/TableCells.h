// Readers of a record table's cells and the session most core tests start
// from, shared by the test files.
#pragma once

#include "database/SessionState.h"
#include "support/DbdFixtures.h"

#include <string>
#include <vector>

namespace orvane::testing {

using Cells = std::vector<std::vector<std::string>>;

// The cells of one column, data rows only.
std::vector<std::string> Column(const RecordTable& t, int col);
// Every cell of the data rows from column firstColumn on.
Cells DataCells(const RecordTable& t, int firstColumn = kColSuppr);
// A table of rows data rows whose column 4 holds few distinct numbers (so
// many rows compare equal) and columns 0 and 5 the row number.
RecordTable TableOfEqualValues(int rows);
// A table whose field columns hold the given rows: rows[0] the headings,
// the others the records (flag cells "n°" numbered, the others empty).
RecordTable TableOf(const Cells& rows);
// Everything an operation may change and undo must restore: every cell
// (headings and flags included), the counters and where the user was.
struct TableSnapshot {
    Cells cells;
    std::int32_t selected, deleted;
    int column, row;
    bool operator==(const TableSnapshot&) const = default;
};
TableSnapshot Snapshot(const RecordTable& t);
// Places in s a `type` table of these fields, as a load leaves it: each
// row's cells from Suppr on, the rows numbered, the flags counted.
void PlaceTable(SessionState& s, const std::string& type, const std::vector<FieldSpec>& fields,
                const Cells& rows);
// An English session of a simulator version, numbers with separator sep.
SessionState EnglishSession(int version = 2, char sep = '.');

} // namespace orvane::testing
