// Decimal texts of doubles, exact and fast for the values navigation data
// holds: the four-decimal text of every D field a load shows, and the reading
// of such texts back when a table is saved. Both give the very bytes and
// values of the standard library (std::to_chars / std::from_chars), which
// they fall back on outside their fast range.
#pragma once

#include <cstdint>
#include <cstring>
#include <string_view>

namespace orvane {

// The longest text WriteFixed4 writes: the largest double with four decimals.
inline constexpr std::size_t kFixed4Room = 330;

// value (finite) as std::to_chars(..., std::chars_format::fixed, 4) writes
// it, into out (kFixed4Room bytes); returns the end of the text.
char* WriteFixed4(char* out, double value);

// A text of the form [-]digits[<separator>digits], with at most 15 digits
// once leading zeros are dropped and at most 22 after the separator, read
// exactly as std::from_chars reads it (with '.' for the separator). False,
// and value untouched, for any other text: the caller reads it its own way.
bool ParsePlainDecimal(std::string_view text, char separator, double& value);

// Whether every byte of x (characters read as one word) is a decimal
// digit: a byte is one when its high nibble is 3 and adding 6 keeps it so.
template <class Word> constexpr bool AllDigitBytes(Word x) {
    constexpr Word kHigh = static_cast<Word>(0xF0F0F0F0F0F0F0F0u),
                   kThrees = static_cast<Word>(0x3030303030303030u),
                   kSixes = static_cast<Word>(0x0606060606060606u);
    return (x & kHigh) == kThrees && static_cast<Word>((x + kSixes) & kHigh) == kThrees;
}

namespace detail {

inline constexpr std::uint64_t kDigitZeros = 0x3030303030303030;

// The number eight digit characters so read make, the first one the highest.
inline std::uint64_t EightDigitsValue(std::uint64_t w) {
    w -= kDigitZeros;
    w = (w * 10 + (w >> 8)) & 0x00FF00FF00FF00FF;   // pairs
    w = (w * 100 + (w >> 16)) & 0x0000FFFF0000FFFF; // fours
    return (w * 10000 + (w >> 32)) & 0xFFFFFFFF;    // all eight
}

inline std::uint64_t Load8(const char* p) {
    std::uint64_t w;
    std::memcpy(&w, p, 8);
#if defined(__BYTE_ORDER__) && __BYTE_ORDER__ == __ORDER_BIG_ENDIAN__
    w = __builtin_bswap64(w);
#endif
    return w;
}

} // namespace detail

// A text of 1 to 16 digits and nothing else (no sign, no blank) as its
// value; false, and value untouched, for any other text. Eight digits are
// checked and read at a time: the whole numbers of decoded records are
// mostly ten digits long.
inline bool ParseDigits(std::string_view text, std::uint64_t& value) {
    const std::size_t n = text.size();
    const char* p = text.data();
    if (n >= 8) {
        if (n > 16) return false;
        const std::uint64_t head = detail::Load8(p);
        // The last eight characters, those already in head taken for zeros.
        const unsigned overlap = static_cast<unsigned>(16 - n) * 8; // 0..64 bits
        const std::uint64_t low =
            overlap == 64 ? ~std::uint64_t{0} : (std::uint64_t{1} << overlap) - 1;
        const std::uint64_t tail = (detail::Load8(p + n - 8) & ~low) | (detail::kDigitZeros & low);
        if (!AllDigitBytes(head) || !AllDigitBytes(tail)) return false;
        static constexpr std::uint64_t kScale[] = {1,      10,      100,      1000,     10000,
                                                   100000, 1000000, 10000000, 100000000};
        value = detail::EightDigitsValue(head) * kScale[n - 8] + detail::EightDigitsValue(tail);
        return true;
    }
    if (n == 0) return false;
    std::uint64_t v = 0;
    for (std::size_t i = 0; i < n; ++i) {
        const unsigned digit = static_cast<unsigned char>(p[i] - '0');
        if (digit > 9) return false;
        v = v * 10 + digit;
    }
    value = v;
    return true;
}

} // namespace orvane
