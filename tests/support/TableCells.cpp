#include "support/TableCells.h"

#include "database/Template.h"

#include <algorithm>

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

RecordTable TableOfEqualValues(int rows) {
    RecordTable t;
    t.SetColumnCount(6);
    t.SetRowCount(rows + 1);
    std::uint32_t seed = 12345;
    for (int r = 1; r <= rows; ++r) {
        seed = seed * 1664525u + 1013904223u;
        const std::string value =
            std::to_string(seed >> 22) + "." + std::to_string((seed >> 8) % 2 * 5);
        const std::string number = std::to_string(r);
        t.SetRowCells(r, {number, "", "", "0", value, number});
    }
    return t;
}

void PlaceTable(SessionState& s, const std::string& type, const std::vector<FieldSpec>& fields,
                const Cells& rows) {
    s.DataType = type;
    s.CurrentPod = std::make_unique<ArchiveFile>();
    s.CurrentPod->Fields = ParseTemplate(TemplateText(fields)).Fields;
    s.FieldCount = static_cast<int>(fields.size());
    ApplyColumns(s.Table, s.CurrentPod->Fields);
    s.Table.SetRowCount(static_cast<int>(rows.size()) + 1);
    for (std::size_t r = 0; r < rows.size(); ++r) {
        s.Table.SetCell(kColNumber, static_cast<int>(r) + 1, std::to_string(r + 1));
        for (std::size_t c = 0; c < rows[r].size(); ++c)
            s.Table.SetCell(static_cast<int>(c) + kColSuppr, static_cast<int>(r) + 1, rows[r][c]);
    }
    s.Table.RecountFlags();
}

SessionState EnglishSession(int version, char sep) {
    SessionState s;
    s.Language = "english";
    s.SimulatorVersion = version;
    s.Display.decimalSeparator = sep;
    return s;
}

TableSnapshot Snapshot(const RecordTable& t) {
    TableSnapshot s{{}, t.SelectedCount, t.DeleteCount, t.CurrentColumn(), t.CurrentRow()};
    for (int r = 0; r < t.RowCount(); ++r) {
        s.cells.emplace_back();
        for (int c = 0; c < t.ColumnCount(); ++c)
            s.cells.back().emplace_back(t.Cell(c, r));
    }
    return s;
}

RecordTable TableOf(const Cells& rows) {
    RecordTable t;
    std::size_t width = 0;
    for (const auto& row : rows)
        width = std::max(width, row.size());
    t.SetColumnCount(kFirstFieldColumn + int(width));
    t.SetRowCount(int(rows.size()));
    for (std::size_t r = 0; r < rows.size(); ++r) {
        if (r > 0) t.SetCell(kColNumber, int(r), std::to_string(r));
        for (std::size_t c = 0; c < rows[r].size(); ++c)
            t.SetCell(kFirstFieldColumn + int(c), int(r), rows[r][c]);
    }
    return t;
}

} // namespace orvane::testing
