// The table as text, one line per row (the heading row first), cells
// separated by tabs, in UTF-8: what 'orvane-cli show' prints.
#pragma once

#include "table/RecordTable.h"

#include <functional>
#include <string_view>

namespace orvane {

// Hands the text to sink in blocks of whole lines of about blockSize bytes.
void WriteTableText(const RecordTable& table, const std::function<void(std::string_view)>& sink,
                    std::size_t blockSize = 1 << 16);

} // namespace orvane
