// What the Clock page shows besides the time: the date in the user's
// locale, the month's name and the system's time zone.
#pragma once

#include "platform/DateTime.h"
#include "platform/Win32.h"

#include <string>

namespace tessel {

// The system's time zone: its name as the system gives it (its daylight
// name while daylight saving time is in force), "Tokyo Standard Time", and
// its offset from UTC, "UTC+09:00".
struct TTimeZone {
    std::string Name;
    std::string Offset;
};
TTimeZone TimeZone();
// The same for a zone as the system describes it, Which being the system's
// answer on whether daylight saving time is in force.
TTimeZone DescribeTimeZone(const TIME_ZONE_INFORMATION& Zone, DWORD Which);

// The date in the locale's long form, always with the weekday: the locale's
// own long form where it names the weekday ("Monday, December 7, 2026"),
// otherwise the weekday before it ("понедельник, 7 декабря 2026 г.").
std::string LongDateText(platform::TDateTime Date, LCID Locale = LOCALE_USER_DEFAULT);

// The month's name in the suite's language (1 January ... 12 December), and
// the month with its year as the calendar's heading ("December 2026").
std::string MonthName(int Month);
std::string MonthTitle(int Year, int Month);

// The first weekday of the locale's calendar week: 0 Sunday ... 6 Saturday.
int FirstDayOfWeek(LCID Locale = LOCALE_USER_DEFAULT);

} // namespace tessel
