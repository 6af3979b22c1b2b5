#include "platform/DateTime.h"
#include "platform/Exceptions.h"
#include "platform/Win32.h"

#include <cmath>

namespace platform {

namespace {

constexpr int64_t MSecsPerDay = 86400000;
// Days from 1 January 1970 to 30 December 1899.
constexpr int64_t EpochOffset = -25569;

bool IsLeapYear(int year)
{
    return year % 4 == 0 && (year % 100 != 0 || year % 400 == 0);
}

int DaysInMonth(int year, int month)
{
    static const int days[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return month == 2 && IsLeapYear(year) ? 29 : days[month - 1];
}

// Days since 1 January 1970 in the proleptic Gregorian calendar, counted in
// 400-year eras of 146097 days starting on 1 March.
int64_t DaysFromCivil(int64_t y, int m, int d)
{
    y -= m <= 2;
    const int64_t era = (y >= 0 ? y : y - 399) / 400;
    const int64_t yoe = y - era * 400;
    const int64_t doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
}

void CivilFromDays(int64_t z, int& year, int& month, int& day)
{
    z += 719468;
    const int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const int64_t doe = z - era * 146097;
    const int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const int64_t mp = (5 * doy + 2) / 153;
    day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    year = static_cast<int>(yoe + era * 400 + (month <= 2));
}

const double MinDateTime = -693593.0;     // 1 January 1, 00:00
const double MaxDateTime = 2958466.0;     // 1 January 10000, 00:00 (exclusive)

// Splits a value into its day and the milliseconds into that day. A time
// that rounds up to a whole day carries into the date, so the two halves
// never disagree (no 24:00:00).
void Split(TDateTime dateTime, int64_t& days, int64_t& msecs)
{
    const double value = dateTime;
    if (!(value >= MinDateTime && value < MaxDateTime))
        throw EConvertError("Invalid date and time value");
    const double whole = std::trunc(value);
    days = static_cast<int64_t>(whole);
    msecs = std::llround(std::fabs(value - whole) * MSecsPerDay);
    if (msecs >= MSecsPerDay) {
        msecs -= MSecsPerDay;
        days += value < 0 ? -1 : 1;
    }
}

} // namespace

TDateTime EncodeDate(int Year, int Month, int Day)
{
    if (Year < 1 || Year > 9999 || Month < 1 || Month > 12 || Day < 1 || Day > DaysInMonth(Year, Month))
        throw EConvertError(Format("Invalid date: %d-%d-%d", Year, Month, Day));
    return static_cast<double>(DaysFromCivil(Year, Month, Day) - EpochOffset);
}

TDateTime EncodeTime(int Hour, int Min, int Sec, int MSec)
{
    if (Hour < 0 || Hour > 23 || Min < 0 || Min > 59 || Sec < 0 || Sec > 59 || MSec < 0 || MSec > 999)
        throw EConvertError(Format("Invalid time: %d:%d:%d.%d", Hour, Min, Sec, MSec));
    const int64_t msecs = ((Hour * 60 + Min) * 60 + Sec) * 1000 + MSec;
    return static_cast<double>(msecs) / MSecsPerDay;
}

void DecodeDate(TDateTime DateTime, int& Year, int& Month, int& Day)
{
    int64_t days = 0, msecs = 0;
    Split(DateTime, days, msecs);
    CivilFromDays(days + EpochOffset, Year, Month, Day);
}

void DecodeTime(TDateTime DateTime, int& Hour, int& Min, int& Sec, int& MSec)
{
    int64_t days = 0, msecs = 0;
    Split(DateTime, days, msecs);
    MSec = static_cast<int>(msecs % 1000);
    Sec = static_cast<int>(msecs / 1000 % 60);
    Min = static_cast<int>(msecs / 60000 % 60);
    Hour = static_cast<int>(msecs / 3600000);
}

TDateTime Now()
{
    SYSTEMTIME t{};
    GetLocalTime(&t);
    return EncodeDate(t.wYear, t.wMonth, t.wDay) + EncodeTime(t.wHour, t.wMinute, t.wSecond, t.wMilliseconds);
}

} // namespace platform
