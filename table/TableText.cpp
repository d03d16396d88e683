#include "table/TableText.h"

#include "platform/Cp1252.h"

#include <algorithm>
#include <vector>

namespace orvane {

void WriteTableText(const RecordTable& table, const std::function<void(std::string_view)>& sink,
                    std::size_t blockSize) {
    std::vector<char> block(blockSize + 4096);
    std::vector<std::string_view> cells;
    std::size_t used = 0;
    for (int r = 0; r < table.RowCount(); ++r) {
        table.RowCells(r, cells);
        std::size_t room = cells.size() + 1;
        for (const auto& cell : cells)
            room += 3 * cell.size();
        if (block.size() < used + room) block.resize(used + room);
        char* p = block.data() + used;
        for (std::size_t c = 0; c < cells.size(); ++c) {
            if (c) *p++ = '\t';
            p = Cp1252ToUtf8Into(p, cells[c]);
        }
        *p++ = '\n';
        used = static_cast<std::size_t>(p - block.data());
        if (used >= blockSize) {
            sink(std::string_view(block.data(), used));
            used = 0;
        }
    }
    if (used) sink(std::string_view(block.data(), used));
}

} // namespace orvane
