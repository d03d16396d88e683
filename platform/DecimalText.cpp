#include "platform/DecimalText.h"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>

namespace orvane {

namespace {

#ifdef __SIZEOF_INT128__
__extension__ using Wide = unsigned __int128; // GCC and Clang, on 64-bit targets
#define ORVANE_FAST_FIXED4 1
#endif

// Values below this, times 10^4, fit an unsigned 64-bit integer with room.
constexpr double kFixedLimit = 1e14;

// The four digits of n (< 10000), zeros in front.
inline char* FourDigits(char* out, unsigned n) {
    out[0] = static_cast<char>('0' + n / 1000);
    out[1] = static_cast<char>('0' + n / 100 % 10);
    out[2] = static_cast<char>('0' + n / 10 % 10);
    out[3] = static_cast<char>('0' + n % 10);
    return out + 4;
}

// |value| * 10^4 rounded to the nearest integer, ties to the even one, from
// the exact binary value: |value| = m * 2^e, and m * 10^4 < 2^67.
#ifdef ORVANE_FAST_FIXED4
std::uint64_t ScaledRounded(double magnitude) {
    std::uint64_t bits;
    std::memcpy(&bits, &magnitude, sizeof bits);
    const int biased = static_cast<int>(bits >> 52 & 0x7FF);
    std::uint64_t m = bits & ((std::uint64_t{1} << 52) - 1);
    int e;
    if (biased == 0) {
        e = -1074; // subnormal
    } else {
        m |= std::uint64_t{1} << 52;
        e = biased - 1075;
    }
    if (e >= 0) return (m << e) * 10000; // an integer below kFixedLimit
    const unsigned shift = static_cast<unsigned>(-e);
    if (shift >= 68) return 0; // below 2^-1 * 10^-4 once scaled: rounds to 0
    const Wide n = static_cast<Wide>(m) * 10000u;
    const auto q = static_cast<std::uint64_t>(n >> shift);
    const Wide rest = n - (static_cast<Wide>(q) << shift);
    const Wide half = static_cast<Wide>(1) << (shift - 1);
    return q + (rest > half || (rest == half && (q & 1)));
}
#endif

} // namespace

char* WriteFixed4(char* out, double value) {
#ifdef ORVANE_FAST_FIXED4
    const double magnitude = std::fabs(value);
    if (magnitude < kFixedLimit) {
        if (std::signbit(value)) *out++ = '-';
        const std::uint64_t scaled = ScaledRounded(magnitude);
        out = std::to_chars(out, out + 24, scaled / 10000).ptr;
        *out++ = '.';
        return FourDigits(out, static_cast<unsigned>(scaled % 10000));
    }
#endif
    return std::to_chars(out, out + kFixed4Room, value, std::chars_format::fixed, 4).ptr;
}

bool ParsePlainDecimal(std::string_view text, char separator, double& value) {
    static constexpr double kPowers[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                         1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                                         1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
    const char* p = text.data();
    const char* const end = p + text.size();
    const bool negative = p != end && *p == '-';
    if (negative) ++p;
    std::uint64_t digits = 0;
    int count = 0, decimals = 0;
    bool point = false, any = false;
    for (; p != end; ++p) {
        const char c = *p;
        if (c >= '0' && c <= '9') {
            any = true;
            if (point) ++decimals;
            if (digits == 0 && c == '0') continue; // leading zeros add nothing
            if (++count > 15) return false;        // beyond an exact double
            digits = digits * 10 + static_cast<unsigned>(c - '0');
        } else if (c == separator && !point) {
            point = true;
        } else {
            return false;
        }
    }
    if (!any || decimals > 22) return false;
    // Both operands exact, one correctly rounded division: the nearest
    // double, which is what the library finds too.
    const double v = static_cast<double>(digits) / kPowers[decimals];
    value = negative ? -v : v;
    return true;
}

} // namespace orvane
