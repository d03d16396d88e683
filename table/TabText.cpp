#include "table/TabText.h"

namespace orvane {

namespace {

bool NeedsQuotes(std::string_view cell) {
    return cell.find_first_of("\t\r\n\"") != std::string_view::npos;
}

} // namespace

std::string WriteTabText(const TextBlock& rows) {
    std::string out;
    for (const auto& row : rows) {
        for (std::size_t c = 0; c < row.size(); ++c) {
            if (c) out += '\t';
            const std::string& cell = row[c];
            if (!NeedsQuotes(cell)) {
                out += cell;
                continue;
            }
            out += '"';
            for (char ch : cell) {
                if (ch == '"') out += '"';
                out += ch;
            }
            out += '"';
        }
        out += '\n';
    }
    return out;
}

TextBlock ReadTabText(std::string_view text) {
    TextBlock rows;
    std::vector<std::string> row;
    std::string cell;
    std::size_t i = 0;
    const std::size_t n = text.size();
    const auto endLine = [&] {
        row.push_back(std::move(cell));
        cell.clear();
        rows.push_back(std::move(row));
        row.clear();
    };
    while (i < n) {
        // A cell begins here.
        if (text[i] == '"') {
            ++i;
            while (i < n) {
                if (text[i] == '"') {
                    if (i + 1 < n && text[i + 1] == '"') {
                        cell += '"';
                        i += 2;
                        continue;
                    }
                    ++i;
                    break;
                }
                cell += text[i++];
            }
        }
        // The rest of the cell, up to a tab or a line break.
        while (i < n && text[i] != '\t' && text[i] != '\n' && text[i] != '\r')
            cell += text[i++];
        if (i == n) break;
        if (text[i] == '\t') {
            row.push_back(std::move(cell));
            cell.clear();
            ++i;
            if (i == n) break; // a last empty cell, closed below
            continue;
        }
        if (text[i] == '\r' && i + 1 < n && text[i + 1] == '\n') ++i;
        ++i;
        endLine();
    }
    if (!row.empty() || !cell.empty() || (n > 0 && text[n - 1] == '\t')) endLine();
    return rows;
}

} // namespace orvane
