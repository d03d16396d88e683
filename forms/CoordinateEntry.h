// The latitude and longitude entry: a coordinate pair in seconds of arc split
// into hemisphere, degrees, minutes and seconds for editing, the range checks
// of the six number fields while typing, and the pair computed back on
// "Fermer". The dialog sets Latitude and Longitude, calls Fill when it shows,
// forwards each field change, and on "Fermer" calls Ok and shows its notices.
#pragma once

#include "forms/EditorNotice.h"
#include "settings/Texts.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace orvane {

enum class CoordinateField { DegLat, MinLat, SecLat, DegLon, MinLon, SecLon };

// The texts of the dialog's fields.
struct CoordinateTexts {
    std::string latHemisphere, degLat, minLat, secLat; // cbLat, edDegLat, edMinLat, edSecLat
    std::string lonHemisphere, degLon, minLon, secLon; // cbLon, edDegLon, edMinLon, edSecLon

    std::string& operator[](CoordinateField field);
    const std::string& operator[](CoordinateField field) const;
    bool operator==(const CoordinateTexts&) const = default;
};

struct FieldCheckResult {
    std::string text;                   // the field's text after the check
    std::optional<EditorNotice> notice; // out of range: shown once
};

// The range check after a change of a number field. Out of range, the last
// character goes until the rest is in range (one message for the lot). A text
// that is not a number yet (empty, a lone sign) is left as typed, silently.
FieldCheckResult CheckCoordinateField(CoordinateField field, std::string_view text,
                                      char decimalSeparator);

struct CoordinateOkResult {
    bool closes = true;                // false: a number field does not convert
    std::vector<EditorNotice> notices; // shown in order
};

class CoordinateEntry {
  public:
    // Seconds of arc; north and east positive. A longitude may be stored from
    // 0 to 360 degrees (above 180 is west) or from -180 to 180 (below 0 is west).
    double Latitude = 0;
    double Longitude = 0;

    // Splits the pair into the fields (seconds rounded to four decimals) and
    // runs the range checks on them. Latitude and Longitude are not changed.
    std::vector<EditorNotice> Fill(char decimalSeparator);
    const CoordinateTexts& Texts() const { return texts_; }

    // A hemisphere box edited (any text; checked on "Fermer").
    void SetHemisphere(bool latitude, std::string text);
    // A number field changed: its text becomes the checked text.
    std::optional<EditorNotice> FieldChanged(CoordinateField field, std::string_view text,
                                             char decimalSeparator);

    // "Fermer". A number field that does not convert keeps the dialog open and
    // changes nothing. A hemisphere other than N/S (E/W) leaves that coordinate
    // as it was given; the dialog still closes, as with success.
    CoordinateOkResult Ok(char decimalSeparator, Lang lang);

  private:
    CoordinateTexts texts_;
    bool negativeLongitude_ = false; // the longitude was given below 0: west stays negative
};

} // namespace orvane
