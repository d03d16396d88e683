#include "support/TableCells.h"

namespace orvane::testing {

std::vector<std::string> Column(const RecordTable& t, int col) {
    std::vector<std::string> out;
    for (int r = 1; r < t.RowCount(); ++r)
        out.emplace_back(t.Cell(col, r));
    return out;
}

Cells DataCells(const RecordTable& t, int firstColumn) {
    Cells cells;
    for (int r = 1; r < t.RowCount(); ++r) {
        cells.emplace_back();
        for (int c = firstColumn; c < t.ColumnCount(); ++c)
            cells.back().emplace_back(t.Cell(c, r));
    }
    return cells;
}

SessionState EnglishSession(int version, char sep) {
    SessionState s;
    s.Language = "english";
    s.SimulatorVersion = version;
    s.Display.decimalSeparator = sep;
    return s;
}

} // namespace orvane::testing
