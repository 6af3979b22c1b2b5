#include "modules/Pages/ClockData.h"
#include "modules/Suite/SuiteText.h"

#include <cstdio>
#include <cstdlib>
#include <cwchar>
#include <iterator>

namespace tessel {

TTimeZone TimeZone()
{
    TIME_ZONE_INFORMATION zone{};
    const DWORD which = GetTimeZoneInformation(&zone);
    return DescribeTimeZone(zone, which);
}

TTimeZone DescribeTimeZone(const TIME_ZONE_INFORMATION& Zone, DWORD Which)
{
    const bool daylight = Which == TIME_ZONE_ID_DAYLIGHT;
    // A name that fills its field has no terminator: it is read to the field's end and no further.
    const WCHAR* wide = daylight ? Zone.DaylightName : Zone.StandardName;
    const int length = static_cast<int>(wcsnlen(wide, std::size(Zone.StandardName)));
    char name[128] = {};
    WideCharToMultiByte(CP_ACP, 0, wide, length, name, sizeof name - 1, nullptr, nullptr);
    // Bias is minutes to add to local time to get UTC.
    const LONG bias = -(Zone.Bias + (daylight ? Zone.DaylightBias : 0));
    char offset[16];
    std::snprintf(offset, sizeof offset, "UTC%c%02ld:%02ld", bias < 0 ? '-' : '+', std::labs(bias) / 60,
                  std::labs(bias) % 60);
    return {name[0] ? name : "UTC", offset};
}

std::string LongDateText(platform::TDateTime Date, LCID Locale)
{
    SYSTEMTIME day{};
    int year, month, dayOfMonth;
    platform::DecodeDate(Date, year, month, dayOfMonth);
    day.wYear = static_cast<WORD>(year);
    day.wMonth = static_cast<WORD>(month);
    day.wDay = static_cast<WORD>(dayOfMonth);
    char picture[128] = {};
    GetLocaleInfoA(Locale, LOCALE_SLONGDATE, picture, sizeof picture);
    std::string format = picture;
    if (format.find("ddd") == std::string::npos)
        format = "dddd, " + format;
    char text[256] = {};
    if (!GetDateFormatA(Locale, 0, &day, format.c_str(), text, sizeof text))
        GetDateFormatA(Locale, DATE_LONGDATE, &day, nullptr, text, sizeof text);
    return text;
}

std::string MonthName(int Month)
{
    static const char* const Names[] = {"January", "February", "March",     "April",   "May",      "June",
                                        "July",    "August",   "September", "October", "November", "December"};
    return Month >= 1 && Month <= 12 ? Tr(Names[Month - 1]) : std::string();
}

// The heading's order is the language's: "%1 %2" puts the month's name
// first, a translation may put the year first.
std::string MonthTitle(int Year, int Month)
{
    return Tr("%1 %2", {MonthName(Month), std::to_string(Year)});
}

int FirstDayOfWeek(LCID Locale)
{
    char value[8] = {};
    // The locale counts from Monday (0) to Sunday (6).
    if (!GetLocaleInfoA(Locale, LOCALE_IFIRSTDAYOFWEEK, value, sizeof value) || value[0] < '0' || value[0] > '6')
        return 0;
    return (value[0] - '0' + 1) % 7;
}

} // namespace tessel
