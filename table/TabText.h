// Tab-separated text as spreadsheet programs put it on the clipboard: one
// line per row, cells separated by tabs. A cell holding a tab, a line break
// or a quote is written between quotes, its quotes doubled, and read back
// the same way, so a round trip through a spreadsheet keeps every cell.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace orvane {

using TextBlock = std::vector<std::vector<std::string>>;

// Every row ends with a line feed; cells are written as they are.
std::string WriteTabText(const TextBlock& rows);

// Lines may end with LF, CR LF or CR; the last line's break is optional
// and an empty text is no row. A quoted cell may hold tabs and line
// breaks; a quote inside an unquoted cell is kept as it is. Short rows are
// not padded: a row has the cells its line has.
TextBlock ReadTabText(std::string_view text);

} // namespace orvane
