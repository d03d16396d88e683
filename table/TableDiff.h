// Two tables of the same data type compared record by record: rows are
// matched by a key column (or by their row number), and every field cell of
// a matched pair is compared. The flag columns are the editor's own marks
// and are left out.
#pragma once

#include "table/RecordTable.h"

#include <string>
#include <vector>

namespace orvane {

inline constexpr int kKeyRowNumber = -1;

struct CellDifference {
    int column;
    std::string before, after; // as the tables hold them (8-bit)
};

struct RowDifference {
    int rowA, rowB;
    std::vector<CellDifference> cells;
};

struct TableDifference {
    int keyColumn = kKeyRowNumber;
    std::vector<int> onlyInA;           // rows of A, in A's order
    std::vector<int> onlyInB;           // rows of B, in B's order
    std::vector<RowDifference> changed; // in A's order
    std::vector<int> rowInA;            // per row of B, the row of A it matched (0: none)
    bool Equal() const { return onlyInA.empty() && onlyInB.empty() && changed.empty(); }
};

// The default key: the field whose heading names a unique key ("unique"),
// else the ICAO code ("ICAO", "OACI"), else kKeyRowNumber.
int DefaultKeyColumn(const RecordTable& table);

// Rows whose key repeats are matched in their order of appearance (the
// second "LFPG" of A with the second of B). The tables should have the same
// columns; cells beyond the narrower one compare as empty.
TableDifference CompareTables(const RecordTable& a, const RecordTable& b, int keyColumn);

} // namespace orvane
