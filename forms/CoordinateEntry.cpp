#include "forms/CoordinateEntry.h"

#include "table/ValueDisplay.h"
#include "table/WholeNumber.h"

#include <array>
#include <cmath>
#include <cstdint>

namespace orvane {

namespace {

constexpr double kFullCircle = 360.0 * 3600.0;

struct FieldRule {
    bool integer;
    double limit;
    const char* message;
    const char* coordinateCaption;
    const char* unitCaption;
};

// By CoordinateField: reading, range, message, and the captions naming the field.
constexpr std::array<FieldRule, 6> kRules{{
    {true, 90, txt::LatitudeDegreesRange, txt::LatLonLabelLatitude, txt::LatLonLabelDegrees},
    {true, 60, txt::MinutesSecondsRange, txt::LatLonLabelLatitude, txt::LatLonLabelMinutes},
    {false, 60, txt::MinutesSecondsRange, txt::LatLonLabelLatitude, txt::LatLonLabelSeconds},
    {true, 180, txt::LongitudeDegreesRange, txt::LatLonLabelLongitude, txt::LatLonLabelDegrees},
    {true, 60, txt::MinutesSecondsRange, txt::LatLonLabelLongitude, txt::LatLonLabelMinutes},
    {false, 60, txt::MinutesSecondsRange, txt::LatLonLabelLongitude, txt::LatLonLabelSeconds},
}};

const FieldRule& RuleOf(CoordinateField field) {
    return kRules[static_cast<std::size_t>(field)];
}

constexpr std::array<std::string CoordinateTexts::*, 6> kFieldTexts{
    &CoordinateTexts::degLat, &CoordinateTexts::minLat, &CoordinateTexts::secLat,
    &CoordinateTexts::degLon, &CoordinateTexts::minLon, &CoordinateTexts::secLon};

std::optional<double> ReadField(CoordinateField field, std::string_view text, char separator) {
    if (RuleOf(field).integer) {
        auto whole = ParseWholeNumber(text);
        if (!whole) return std::nullopt;
        return static_cast<double>(*whole);
    }
    return ParseDecimal(text, separator);
}

// "Latitude   :" without its colon and padding, for messages.
std::string CaptionWord(const char* caption) {
    std::string word(caption);
    while (!word.empty() && (word.back() == ':' || word.back() == ' '))
        word.pop_back();
    return word;
}

struct Sexagesimal {
    std::string degrees, minutes, seconds;
};

// A non-negative angle in seconds of arc as degrees, minutes and seconds, the
// seconds rounded to four decimals with the carry into minutes and degrees
// (never "60.0000" seconds).
Sexagesimal Split(double seconds, char separator) {
    constexpr std::int64_t kPerSecond = 10000;
    constexpr std::int64_t kPerMinute = 60 * kPerSecond;
    constexpr std::int64_t kPerDegree = 60 * kPerMinute;
    if (!(seconds < 1e12)) { // not a real coordinate: no rounding to do
        double degrees = std::trunc(seconds / 3600);
        double rest = seconds - degrees * 3600;
        double minutes = std::trunc(rest / 60);
        return {FormatFixed(degrees, 0, separator), FormatFixed(minutes, 0, separator),
                FormatFixed(rest - minutes * 60, 4, separator)};
    }
    std::int64_t units = std::llround(seconds * kPerSecond);
    std::int64_t rest = units % kPerMinute;
    std::string fraction = std::to_string(rest % kPerSecond);
    fraction.insert(0, 4 - fraction.size(), '0');
    return {std::to_string(units / kPerDegree), std::to_string(units % kPerDegree / kPerMinute),
            std::to_string(rest / kPerSecond) + separator + fraction};
}

} // namespace

std::string& CoordinateTexts::operator[](CoordinateField field) {
    return this->*kFieldTexts[static_cast<std::size_t>(field)];
}

const std::string& CoordinateTexts::operator[](CoordinateField field) const {
    return this->*kFieldTexts[static_cast<std::size_t>(field)];
}

FieldCheckResult CheckCoordinateField(CoordinateField field, std::string_view text,
                                      char decimalSeparator) {
    const FieldRule& rule = RuleOf(field);
    FieldCheckResult result{std::string(text), std::nullopt};
    for (;;) {
        auto value = ReadField(field, result.text, decimalSeparator);
        if (!value || (*value >= -rule.limit && *value <= rule.limit)) break;
        if (!result.notice)
            result.notice = EditorNotice{rule.message, txt::InputErrorTitle, NoticeIcon::None};
        result.text.pop_back();
    }
    return result;
}

std::vector<EditorNotice> CoordinateEntry::Fill(char decimalSeparator) {
    negativeLongitude_ = false;
    double latitude = Latitude;
    texts_.latHemisphere = latitude >= 0 ? "N" : "S";
    double longitude = Longitude;
    texts_.lonHemisphere = "E";
    if (longitude > 180 * 3600.0) {
        longitude = std::abs(longitude - kFullCircle);
        texts_.lonHemisphere = "W";
    } else if (longitude < 0) {
        longitude = -longitude;
        texts_.lonHemisphere = "W";
        negativeLongitude_ = true;
    }
    Sexagesimal lat = Split(std::abs(latitude), decimalSeparator);
    Sexagesimal lon = Split(longitude, decimalSeparator);
    const std::array<std::pair<CoordinateField, std::string*>, 6> fields{{
        {CoordinateField::DegLat, &lat.degrees},
        {CoordinateField::MinLat, &lat.minutes},
        {CoordinateField::SecLat, &lat.seconds},
        {CoordinateField::DegLon, &lon.degrees},
        {CoordinateField::MinLon, &lon.minutes},
        {CoordinateField::SecLon, &lon.seconds},
    }};
    std::vector<EditorNotice> notices;
    for (const auto& [field, text] : fields)
        if (auto notice = FieldChanged(field, *text, decimalSeparator)) notices.push_back(*notice);
    return notices;
}

void CoordinateEntry::SetHemisphere(bool latitude, std::string text) {
    (latitude ? texts_.latHemisphere : texts_.lonHemisphere) = std::move(text);
}

std::optional<EditorNotice>
CoordinateEntry::FieldChanged(CoordinateField field, std::string_view text, char decimalSeparator) {
    FieldCheckResult checked = CheckCoordinateField(field, text, decimalSeparator);
    texts_[field] = std::move(checked.text);
    return checked.notice;
}

CoordinateOkResult CoordinateEntry::Ok(char decimalSeparator, Lang lang) {
    std::array<double, 6> v{};
    for (int i = 0; i < 6; ++i) {
        auto field = static_cast<CoordinateField>(i);
        const std::string& text = texts_[field];
        auto value = ParseDecimal(text, decimalSeparator);
        if (!value) {
            const FieldRule& rule = RuleOf(field);
            return {false,
                    {EditorNotice{Format(txt::LatLonNotANumber.In(lang),
                                         CaptionWord(rule.coordinateCaption).c_str(),
                                         rule.unitCaption, text.c_str()),
                                  txt::InputErrorTitle, NoticeIcon::Error}}};
        }
        v[static_cast<std::size_t>(i)] = *value;
    }
    CoordinateOkResult result;
    double latitude = v[0] * 3600 + v[1] * 60 + v[2];
    if (texts_.latHemisphere == "N")
        Latitude = latitude;
    else if (texts_.latHemisphere == "S")
        Latitude = -latitude;
    else
        result.notices.push_back({txt::NorthSouthOnly, txt::InputErrorTitle, NoticeIcon::Error});

    double west = std::abs(v[3]) * 3600 + v[4] * 60 + v[5];
    if (texts_.lonHemisphere == "W")
        Longitude = negativeLongitude_ ? -west : kFullCircle - west;
    else if (texts_.lonHemisphere == "E")
        Longitude = v[3] * 3600 + v[4] * 60 + v[5];
    else
        result.notices.push_back({txt::EastWestOnly, txt::InputErrorTitle, NoticeIcon::Error});
    return result;
}

} // namespace orvane
