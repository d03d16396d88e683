// The table as text, one line per row (the heading row first), cells
// separated by tabs, in UTF-8: what 'orvane-cli show' prints.
#pragma once

#include "table/RecordTable.h"

#include <cstring>
#include <functional>
#include <string>
#include <string_view>

namespace orvane {

// A text written on one line of such a listing: TAB, LF, CR and NUL become
// \t, \n, \r and \0, so that no cell or name forges a cell or a line. A
// backslash stays as it is (archive names hold it).
std::string EscapeControls(std::string_view text);

// A cell of a row's texts (RecordTable::RowTexts) copied as it is: short
// cells, the most of them, by one fixed 16-byte copy when the row has the
// bytes to read. The output must have 16 bytes of room past the cell.
inline char* CopyStoredCell(char* out, const char* texts, std::size_t begin, std::size_t end,
                            std::size_t rowBytes) {
    const std::size_t n = end - begin;
    if (n <= 16 && rowBytes - begin >= 16)
        std::memcpy(out, texts + begin, 16);
    else if (n)
        std::memcpy(out, texts + begin, n);
    return out + n;
}

// Hands the text to sink in blocks of whole lines of about blockSize bytes;
// cells are escaped as EscapeControls does.
void WriteTableText(const RecordTable& table, const std::function<void(std::string_view)>& sink,
                    std::size_t blockSize = 1 << 16);

} // namespace orvane
