#include "table/ValueDisplay.h"

#include "settings/Texts.h"

#include <charconv>
#include <chrono>
#include <cmath>
#include <ctime>
#include <limits>

namespace orvane {

namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}
bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// Days since 1970-01-01 of a proleptic Gregorian date, and back.
std::int64_t DaysFromCivil(std::int64_t y, unsigned m, unsigned d) {
    y -= m <= 2;
    const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
    const auto yoe = static_cast<unsigned>(y - era * 400);
    const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + static_cast<std::int64_t>(doe) - 719468;
}

struct CivilDate {
    std::int64_t year;
    unsigned month, day;
};

CivilDate CivilFromDays(std::int64_t z) {
    z += 719468;
    const std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const auto doe = static_cast<unsigned>(z - era * 146097);
    const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const unsigned mp = (5 * doy + 2) / 153;
    const unsigned d = doy - (153 * mp + 2) / 5 + 1;
    const unsigned m = mp < 10 ? mp + 3 : mp - 9;
    return {static_cast<std::int64_t>(yoe) + era * 400 + (m <= 2), m, d};
}

std::int64_t FloorDiv(std::int64_t a, std::int64_t b) {
    std::int64_t q = a / b;
    return (a % b != 0 && (a < 0) != (b < 0)) ? q - 1 : q;
}

// Broken-down time of a count of seconds since 1970 (no time zone applied).
std::tm BrokenDown(std::int64_t seconds) {
    std::int64_t days = FloorDiv(seconds, 86400);
    auto secondOfDay = static_cast<int>(seconds - days * 86400);
    CivilDate date = CivilFromDays(days);
    std::tm tm{};
    tm.tm_year = static_cast<int>(date.year - 1900);
    tm.tm_mon = static_cast<int>(date.month) - 1;
    tm.tm_mday = static_cast<int>(date.day);
    tm.tm_hour = secondOfDay / 3600;
    tm.tm_min = secondOfDay / 60 % 60;
    tm.tm_sec = secondOfDay % 60;
    tm.tm_wday = static_cast<int>(((days % 7) + 11) % 7); // 1970-01-01 was a Thursday
    tm.tm_yday = static_cast<int>(days - DaysFromCivil(date.year, 1, 1));
    tm.tm_isdst = 0;
    return tm;
}

std::string StrFTime(const std::string& pattern, const std::tm& tm) {
    if (pattern.empty()) return {};
    // A trailing mark tells an empty result from a buffer too small.
    std::string format = pattern + "|";
    std::string out(64 + 4 * format.size(), '\0');
    for (int attempt = 0; attempt < 8; ++attempt) {
        std::size_t n = std::strftime(out.data(), out.size(), format.c_str(), &tm);
        if (n > 0) {
            out.resize(n - 1);
            return out;
        }
        out.resize(out.size() * 4);
    }
    return {};
}

std::int32_t Wrap32(std::int64_t seconds) {
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(seconds));
}

// The shared half of LatitudeText and LongitudeText: `half` is 90 or 180.
std::optional<std::string> AngleText(std::string_view cell, char decimalSeparator, double half,
                                     const char* prefix, char positive, char negative) {
    std::optional<double> seconds = ParseDecimal(cell, decimalSeparator);
    if (!seconds) return std::nullopt;
    double v = *seconds / 3600.0;
    if (!std::isfinite(v) || std::fabs(v) >= 1e15) return std::nullopt;
    if (v > half) v -= 2 * half;
    double d = std::trunc(v);
    double minutes = (v - d) * 60.0;
    double m = std::trunc(minutes);
    double s = (minutes - m) * 60.0;
    if (d > half) d -= 2 * half;
    char letter = (d > 0 || (d == 0 && v > 0)) ? positive : negative;
    return Format("%s %c%lld\xC2\xB0 %lld' %s\"", prefix, letter,
                  static_cast<long long>(std::fabs(d)), static_cast<long long>(std::fabs(m)),
                  FormatFixed(std::fabs(s), 4, decimalSeparator).c_str());
}

std::string LowerAscii(std::string_view text) {
    std::string out(text);
    for (char& c : out)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return out;
}

enum class ColumnKind { Latitude, Longitude, Unique, Other };

ColumnKind KindOf(const RecordTable& table, int col) {
    std::string heading = LowerAscii(table.Cell(col, 0));
    if (heading.find("latitude") != std::string::npos) return ColumnKind::Latitude;
    if (heading.find("longitude") != std::string::npos) return ColumnKind::Longitude;
    if (heading.find("unique") != std::string::npos) return ColumnKind::Unique;
    return ColumnKind::Other;
}

// The coordinate pair of a latitude or longitude cell. A cell or partner that
// is not a number gives no text: the panel is emptied and no hint shows.
HintResult CoordinatePanel(const RecordTable& table, int col, int row, ColumnKind kind,
                           const DisplayContext& context) {
    int latitudeColumn = kind == ColumnKind::Latitude ? col : col - 1;
    auto text = CoordinateText(table.Cell(latitudeColumn, row), table.Cell(latitudeColumn + 1, row),
                               context.decimalSeparator);
    HintResult result;
    if (text) {
        result.hint = *text;
        result.panel = PanelAction::Set;
        result.panelText = *text;
    } else {
        result.panel = PanelAction::Clear;
    }
    return result;
}

bool IsDataCell(const RecordTable& table, int col, int row) {
    return row >= 1 && row < table.RowCount() && col >= 0 && col < table.ColumnCount();
}

} // namespace

std::optional<double> ParseDecimal(std::string_view text, char decimalSeparator) {
    std::size_t begin = 0, end = text.size();
    while (begin < end && IsBlank(text[begin]))
        ++begin;
    while (end > begin && IsBlank(text[end - 1]))
        --end;
    bool negative = false;
    if (begin < end && (text[begin] == '+' || text[begin] == '-')) negative = text[begin++] == '-';
    std::size_t intBegin = begin;
    while (begin < end && IsDigit(text[begin]))
        ++begin;
    std::string_view integer = text.substr(intBegin, begin - intBegin);
    std::string_view fraction;
    if (begin < end && text[begin] == decimalSeparator) {
        std::size_t fracBegin = ++begin;
        while (begin < end && IsDigit(text[begin]))
            ++begin;
        fraction = text.substr(fracBegin, begin - fracBegin);
    }
    if (begin != end || (integer.empty() && fraction.empty())) return std::nullopt;

    std::string normal;
    normal.reserve(integer.size() + fraction.size() + 3);
    if (negative) normal += '-';
    normal += integer.empty() ? std::string_view("0") : integer;
    if (!fraction.empty()) (normal += '.') += fraction;
    double value = 0;
    auto result = std::from_chars(normal.data(), normal.data() + normal.size(), value,
                                  std::chars_format::fixed);
    if (result.ec == std::errc::result_out_of_range) {
        bool huge = integer.find_first_not_of('0') != std::string_view::npos;
        value = huge ? std::numeric_limits<double>::infinity() : 0.0;
        if (negative) value = -value;
    } else if (result.ec != std::errc()) {
        return std::nullopt;
    }
    return value;
}

void AppendFixed(std::string& out, double value, int decimals, char decimalSeparator) {
    decimals = decimals < 0 ? 0 : (decimals > 60 ? 60 : decimals);
    char buffer[400];
    auto result =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, decimals);
    if (result.ec != std::errc()) return;
    if (decimalSeparator != '.')
        for (char* c = buffer; c != result.ptr; ++c)
            if (*c == '.') *c = decimalSeparator;
    out.append(buffer, result.ptr);
}

std::string FormatFixed(double value, int decimals, char decimalSeparator) {
    std::string out;
    AppendFixed(out, value, decimals, decimalSeparator);
    return out;
}

std::optional<std::string> LatitudeText(std::string_view cell, char decimalSeparator) {
    return AngleText(cell, decimalSeparator, 90.0, "Lat", 'N', 'S');
}

std::optional<std::string> LongitudeText(std::string_view cell, char decimalSeparator) {
    return AngleText(cell, decimalSeparator, 180.0, "Lon", 'E', 'W');
}

std::optional<std::string> CoordinateText(std::string_view latitudeCell,
                                          std::string_view longitudeCell, char decimalSeparator) {
    auto latitude = LatitudeText(latitudeCell, decimalSeparator);
    auto longitude = LongitudeText(longitudeCell, decimalSeparator);
    if (!latitude || !longitude) return std::nullopt;
    return *latitude + " - " + *longitude;
}

std::string DateDecode(std::int32_t stamp, const DisplayContext& context) {
    std::tm tm = BrokenDown(std::int64_t{stamp} + context.utcOffsetSeconds);
#if defined(__GLIBC__)
    tm.tm_gmtoff = context.utcOffsetSeconds;
    tm.tm_zone = "";
#endif
    std::string text = StrFTime(context.formats.shortDate, tm);
    if (tm.tm_hour == 0 && tm.tm_min == 0 && tm.tm_sec == 0) return text;
    return text + " " + StrFTime(context.formats.longTime, tm);
}

std::int32_t DateCodeAt(std::int64_t unixSeconds, long utcOffsetSeconds) {
    // The local clock of the moment at the zone's standard offset, moved back.
    std::int64_t local = unixSeconds + utcOffsetSeconds;
    return Wrap32(local - utcOffsetSeconds);
}

std::int32_t DateCode(long utcOffsetSeconds) {
    using namespace std::chrono;
    std::time_t now =
        static_cast<std::time_t>(floor<seconds>(system_clock::now()).time_since_epoch().count());
    std::tm local{};
#if defined(_WIN32)
    bool ok = localtime_s(&local, &now) == 0;
#else
    bool ok = localtime_r(&now, &local) != nullptr;
#endif
    if (!ok) return DateCodeAt(now, utcOffsetSeconds);
    // The wall clock as it reads now (daylight saving included), taken back to
    // UTC by the standard offset, so that DateDecode shows this very clock.
    std::int64_t wall =
        DaysFromCivil(std::int64_t{local.tm_year} + 1900, static_cast<unsigned>(local.tm_mon + 1),
                      static_cast<unsigned>(local.tm_mday)) *
            86400 +
        local.tm_hour * 3600 + local.tm_min * 60 + local.tm_sec;
    return Wrap32(wall - utcOffsetSeconds);
}

std::string UtcStampText(std::int32_t stamp) {
    std::tm tm = BrokenDown(stamp);
    return Format("%04d-%02d-%02d %02d:%02d:%02d", tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday,
                  tm.tm_hour, tm.tm_min, tm.tm_sec);
}

std::uint64_t HexValue(std::string_view text) {
    std::uint64_t value = 0, weight = 1;
    for (auto it = text.rbegin(); it != text.rend(); ++it) {
        char c = *it;
        std::uint64_t digit;
        if (c >= '0' && c <= '9')
            digit = static_cast<std::uint64_t>(c - '0');
        else if (c >= 'A' && c <= 'F')
            digit = static_cast<std::uint64_t>(c - 'A' + 10);
        else
            return 0;
        value += digit * weight;
        weight *= 16;
    }
    return value;
}

HintResult GridHint(const RecordTable& table, int col, int row, const DisplayContext& context) {
    if (!IsDataCell(table, col, row)) return {};
    switch (ColumnKind kind = KindOf(table, col)) {
    case ColumnKind::Latitude:
    case ColumnKind::Longitude:
        return CoordinatePanel(table, col, row, kind, context);
    case ColumnKind::Unique: {
        HintResult result;
        std::uint64_t x = HexValue(table.Cell(col, row));
        result.hint =
            x == 0 ? std::string(txt::NotADate)
                   : DateDecode(static_cast<std::int32_t>(static_cast<std::uint32_t>(x)), context);
        return result;
    }
    case ColumnKind::Other:
        break;
    }
    HintResult result;
    result.panel = PanelAction::Clear;
    return result;
}

HintResult ClickPanel(const RecordTable& table, int col, int row, const DisplayContext& context) {
    if (!IsDataCell(table, col, row)) return {};
    ColumnKind kind = KindOf(table, col);
    if (kind == ColumnKind::Latitude || kind == ColumnKind::Longitude) {
        HintResult result = CoordinatePanel(table, col, row, kind, context);
        result.hint.clear();
        return result;
    }
    HintResult result;
    result.panel = PanelAction::Clear;
    return result;
}

} // namespace orvane
