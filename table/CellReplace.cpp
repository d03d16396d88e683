#include "table/CellReplace.h"

namespace orvane {

namespace {

unsigned char LowerByte(unsigned char c) {
    if (c >= 'A' && c <= 'Z') return static_cast<unsigned char>(c + 32);
    if (c >= 0xC0 && c <= 0xDE && c != 0xD7) return static_cast<unsigned char>(c + 32);
    if (c == 0x8A || c == 0x8C || c == 0x8E) return static_cast<unsigned char>(c + 16);
    if (c == 0x9F) return 0xFF;
    return c;
}

} // namespace

std::string FoldCase(std::string_view text) {
    std::string out(text);
    for (char& c : out)
        c = static_cast<char>(LowerByte(static_cast<unsigned char>(c)));
    return out;
}

CellReplacer::CellReplacer(ReplaceRule rule) : rule_(std::move(rule)) {
    if (rule_.regex) {
        auto flags = std::regex::ECMAScript;
        if (!rule_.matchCase) flags |= std::regex::icase;
        regex_.emplace(rule_.find, flags);
    } else if (!rule_.matchCase) {
        foldedFind_ = FoldCase(rule_.find);
    }
}

bool CellReplacer::Finds(std::string_view cell) const {
    if (regex_) {
        if (rule_.wholeCell) return std::regex_match(cell.begin(), cell.end(), *regex_);
        return std::regex_search(cell.begin(), cell.end(), *regex_);
    }
    if (rule_.find.empty()) return rule_.wholeCell && cell.empty();
    if (rule_.matchCase)
        return rule_.wholeCell ? cell == rule_.find
                               : cell.find(rule_.find) != std::string_view::npos;
    const std::string folded = FoldCase(cell);
    return rule_.wholeCell ? folded == foldedFind_ : folded.find(foldedFind_) != std::string::npos;
}

std::optional<std::string> CellReplacer::Replace(std::string_view cell) const {
    if (!Finds(cell)) return std::nullopt;
    if (regex_) {
        std::string out;
        if (rule_.wholeCell) {
            std::match_results<std::string_view::const_iterator> m;
            std::regex_match(cell.begin(), cell.end(), m, *regex_);
            return m.format(rule_.replacement);
        }
        std::regex_replace(std::back_inserter(out), cell.begin(), cell.end(), *regex_,
                           rule_.replacement);
        return out;
    }
    if (rule_.wholeCell) return rule_.replacement;
    // Every occurrence, left to right, none overlapping.
    const std::string haystack = rule_.matchCase ? std::string(cell) : FoldCase(cell);
    const std::string& needle = rule_.matchCase ? rule_.find : foldedFind_;
    std::string out;
    std::size_t from = 0;
    for (std::size_t at = haystack.find(needle); at != std::string::npos;
         at = haystack.find(needle, from)) {
        out.append(cell.substr(from, at - from));
        out += rule_.replacement;
        from = at + needle.size();
    }
    out.append(cell.substr(from));
    return out;
}

} // namespace orvane
