// What the core needs to know of the user's locale and time zone. Core
// conversions take these as parameters; only the programs read the system.
#pragma once

#include <string>

namespace orvane {

// strftime-style patterns of the system's short date and long time.
struct DateTimeFormats {
    std::string shortDate = "%d/%m/%Y";
    std::string longTime = "%H:%M:%S";
};

// The parameters of every cell and display conversion.
struct DisplayContext {
    char decimalSeparator = '.';
    long utcOffsetSeconds = 0; // the zone's standard offset, east positive, no daylight saving
    DateTimeFormats formats;
};

// Read from the process's locale and time zone (call after setlocale(LC_ALL, "")).
char SystemDecimalSeparator();
long SystemStandardUtcOffset();
DateTimeFormats SystemDateTimeFormats();
DisplayContext SystemDisplayContext();

} // namespace orvane
