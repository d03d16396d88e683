#include "platform/LocaleInfo.h"

#include <clocale>
#include <ctime>
#ifndef _WIN32
#include <langinfo.h>
#endif

namespace orvane {

char SystemDecimalSeparator() {
    const std::lconv* lc = std::localeconv();
    if (lc && lc->decimal_point && lc->decimal_point[0]) return lc->decimal_point[0];
    return '.';
}

long SystemStandardUtcOffset() {
#ifdef _WIN32
    _tzset();
    long tz = 0;
    _get_timezone(&tz);
    return -tz;
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
