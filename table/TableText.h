// The table as text, one line per row (the heading row first), cells
// separated by tabs, in UTF-8: what 'orvane-cli show' prints.
#pragma once

#include "table/RecordTable.h"

#include <functional>
#include <string>
#include <string_view>

namespace orvane {

// A text written on one line of such a listing: TAB, LF, CR and NUL become
// \t, \n, \r and \0, so that no cell or name forges a cell or a line. A
// backslash stays as it is (archive names hold it).
std::string EscapeControls(std::string_view text);

// Hands the text to sink in blocks of whole lines of about blockSize bytes;
// cells are escaped as EscapeControls does.
void WriteTableText(const RecordTable& table, const std::function<void(std::string_view)>& sink,
                    std::size_t blockSize = 1 << 16);

} // namespace orvane
