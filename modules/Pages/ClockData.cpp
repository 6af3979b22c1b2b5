#include "modules/Pages/ClockData.h"

#include "platform/Win32.h"

#include <cstdio>
#include <cstdlib>

namespace tessel {

std::string TimeZoneText()
{
    TIME_ZONE_INFORMATION zone{};
    const DWORD which = GetTimeZoneInformation(&zone);
    const WCHAR* wide = which == TIME_ZONE_ID_DAYLIGHT ? zone.DaylightName : zone.StandardName;
    char name[128] = {};
    WideCharToMultiByte(CP_ACP, 0, wide, -1, name, sizeof name - 1, nullptr, nullptr);
    // Bias is minutes to add to local time to get UTC.
    const LONG bias = -(zone.Bias + (which == TIME_ZONE_ID_DAYLIGHT ? zone.DaylightBias : 0));
    char text[192];
    std::snprintf(text, sizeof text, "%s (UTC%c%02ld:%02ld)", name[0] ? name : "UTC", bias < 0 ? '-' : '+',
                  std::labs(bias) / 60, std::labs(bias) % 60);
    return text;
}

} // namespace tessel
