// Whole-number reading of a typed text, shared by the editing dialogs: blanks
// around and a leading sign allowed, 64-bit signed range.
#pragma once

#include <charconv>
#include <cstdint>
#include <optional>
#include <string_view>

namespace orvane {

inline std::optional<std::int64_t> ParseWholeNumber(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t'))
        text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t'))
        text.remove_suffix(1);
    if (!text.empty() && text.front() == '+') text.remove_prefix(1);
    std::int64_t value = 0;
    auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || ec != std::errc() || end != text.data() + text.size()) return std::nullopt;
    return value;
}

} // namespace orvane
