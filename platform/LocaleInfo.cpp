#include "platform/LocaleInfo.h"

#include <clocale>
#include <ctime>
#ifdef _WIN32
#include <windows.h>
#else
#include <langinfo.h>
#endif

namespace orvane {

char SystemDecimalSeparator() {
#ifdef _WIN32
    // The user's choice in the regional settings, which the C runtime's
    // locale does not follow.
    wchar_t sep[8] = {};
    if (GetLocaleInfoEx(LOCALE_NAME_USER_DEFAULT, LOCALE_SDECIMAL, sep, 8) > 0 && sep[0] > 0 &&
        sep[0] < 0x80)
        return static_cast<char>(sep[0]);
#endif
    const std::lconv* lc = std::localeconv();
    if (lc && lc->decimal_point && lc->decimal_point[0]) return lc->decimal_point[0];
    return '.';
}

long SystemStandardUtcOffset() {
#ifdef _WIN32
    // Bias: minutes to add to local standard time to get UTC.
    TIME_ZONE_INFORMATION zone{};
    if (GetTimeZoneInformation(&zone) == TIME_ZONE_ID_INVALID) return 0;
    return -60L * (zone.Bias + zone.StandardBias);
#else
    tzset();
    return -timezone; // seconds west of UTC, standard time
#endif
}

DateTimeFormats SystemDateTimeFormats() {
    DateTimeFormats f;
#ifndef _WIN32
    const char* d = nl_langinfo(D_FMT);
    const char* t = nl_langinfo(T_FMT);
    if (d && *d) f.shortDate = d;
    if (t && *t) f.longTime = t;
#endif
    return f;
}

DisplayContext SystemDisplayContext() {
    DisplayContext c;
    c.decimalSeparator = SystemDecimalSeparator();
    c.utcOffsetSeconds = SystemStandardUtcOffset();
    c.formats = SystemDateTimeFormats();
    return c;
}

} // namespace orvane
