// What the Clock page shows: the local time and date and the system's time zone.
#pragma once

#include "platform/Win32.h"

#include <string>

namespace tessel {

// "13:05:09"
std::string ClockTime(const SYSTEMTIME& Time);
// "2026-12-07"
std::string ClockDate(const SYSTEMTIME& Time);
// The zone's name as the system gives it (its daylight name while daylight
// saving time is in force) with its offset from UTC: "Tokyo Standard Time (UTC+09:00)".
std::string TimeZoneText();

} // namespace tessel
