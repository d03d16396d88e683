#include "table/TableText.h"

#include "platform/ByteScan.h"
#include "platform/Cp1252.h"

#include <cstring>
#include <vector>

namespace orvane {

namespace {

bool IsControl(char c) {
    return c == '\t' || c == '\n' || c == '\r' || c == '\0';
}

// Whether a row's texts hold a character to escape (all lie at or below CR).
bool MayHoldControls(std::string_view texts) {
    if (!HoldsLowByteOr(texts, '\r', '\0')) return false;
    for (char c : texts)
        if (IsControl(c)) return true;
    return false;
}

} // namespace

std::string EscapeControls(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        if (!IsControl(c)) {
            out += c;
            continue;
        }
        out += '\\';
        out += c == '\t' ? 't' : c == '\n' ? 'n' : c == '\r' ? 'r' : '0';
    }
    return out;
}

void WriteTableText(const RecordTable& table, const std::function<void(std::string_view)>& sink,
                    std::size_t blockSize) {
    const auto columns = static_cast<std::size_t>(table.ColumnCount());
    std::vector<std::uint32_t> ends(columns);
    std::vector<char> block(blockSize + 4096);
    std::size_t used = 0;
    for (int r = 0; r < table.RowCount(); ++r) {
        const std::string_view texts = table.RowTexts(r, ends.data(), columns);
        const bool ascii = IsAscii(texts);
        const bool controls = MayHoldControls(texts);
        // A tab or the line's end per cell, three bytes per Windows-1252 byte
        // at most (two per escaped one), and the spill of a fixed-size copy.
        const std::size_t room = columns + 1 + (ascii && !controls ? 1 : 3) * texts.size() + 16;
        if (block.size() < used + room) block.resize(used + room);
        char* p = block.data() + used;
        std::size_t begin = 0;
        for (std::size_t c = 0; c < columns; ++c) {
            if (c) *p++ = '\t';
            const std::string_view cell = texts.substr(begin, ends[c] - begin);
            if (controls) {
                // Rare: at most two bytes per escaped byte, within the room.
                const std::string escaped = EscapeControls(Cp1252ToUtf8(cell));
                std::memcpy(p, escaped.data(), escaped.size());
                p += escaped.size();
            } else {
                p = ascii ? CopyStoredCell(p, texts.data(), begin, ends[c], texts.size())
                          : Cp1252ToUtf8Into(p, cell);
            }
            begin = ends[c];
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
