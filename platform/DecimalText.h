// Decimal texts of doubles, exact and fast for the values navigation data
// holds: the four-decimal text of every D field a load shows, and the reading
// of such texts back when a table is saved. Both give the very bytes and
// values of the standard library (std::to_chars / std::from_chars), which
// they fall back on outside their fast range.
#pragma once

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

} // namespace orvane
