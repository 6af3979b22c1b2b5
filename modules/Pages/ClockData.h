// What the Clock page shows besides the time and date: the system's time zone.
#pragma once

#include <string>

namespace tessel {

// The zone's name as the system gives it (its daylight name while daylight
// saving time is in force) with its offset from UTC: "Tokyo Standard Time (UTC+09:00)".
std::string TimeZoneText();

} // namespace tessel
