// Readable forms of coordinates (seconds of arc), time stamps and unique
// identifiers, and the grid's hint rule. Decimal separator, time-zone offset
// and date formats come in through DisplayContext.
#pragma once

#include "platform/LocaleInfo.h"
#include "table/RecordTable.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace orvane {

// Strict number reading of a cell: optional blanks around, an optional sign,
// digits with the given decimal separator. nullopt when the text is not a number.
std::optional<double> ParseDecimal(std::string_view text, char decimalSeparator);
// "%.*f" with the given separator, independent of the C locale.
std::string FormatFixed(double value, int decimals, char decimalSeparator);
// The same, appended to out (nothing for a value that cannot be formatted).
void AppendFixed(std::string& out, double value, int decimals, char decimalSeparator);

// nullopt when the cell is not a number.
std::optional<std::string> LatitudeText(std::string_view cell, char decimalSeparator);
std::optional<std::string> LongitudeText(std::string_view cell, char decimalSeparator);
std::optional<std::string> CoordinateText(std::string_view latitudeCell,
                                          std::string_view longitudeCell, char decimalSeparator);

// Local date and time of a time stamp (UTF-8 text).
std::string DateDecode(std::int32_t stamp, const DisplayContext& context);
// The current moment as a time stamp.
std::int32_t DateCode(long utcOffsetSeconds);
// The same for a given moment (seconds since 1970 UTC), for tests.
std::int32_t DateCodeAt(std::int64_t unixSeconds, long utcOffsetSeconds);
// A moment as UTC "YYYY-MM-DD HH:MM:SS".
std::string UtcStampText(std::int32_t stamp);

std::uint64_t HexValue(std::string_view text);

// What status panel 1 does after a hover or a click.
enum class PanelAction { Leave, Set, Clear };

struct HintResult {
    std::string hint; // empty: no hint
    PanelAction panel = PanelAction::Leave;
    std::string panelText; // with PanelAction::Set
};

// The hint of a hovered cell (DataGridGridHint).
HintResult GridHint(const RecordTable& table, int col, int row, const DisplayContext& context);
// Status panel 1 after a click on a cell (DataGridClickCell, step 1).
HintResult ClickPanel(const RecordTable& table, int col, int row, const DisplayContext& context);

} // namespace orvane
