// Dates and times as days since 30 December 1899, the time of day in the
// fraction. Before that day the value is negative and the fraction still
// counts forward from midnight: -1.25 is 29 December 1899, 06:00.
#pragma once

#include <cstdint>

namespace platform {

// A type of its own so that overloads can tell a time from a plain number;
// it converts to and from double freely.
class TDateTime {
public:
    constexpr TDateTime() = default;
    constexpr TDateTime(double Value) : FValue(Value) {}
    constexpr operator double() const { return FValue; }

private:
    double FValue = 0.0;
};

// The local date and time.
TDateTime Now();
// Raise EConvertError for a date outside 1 January 1 to 31 December 9999 or
// a time outside 00:00:00.000 to 23:59:59.999.
TDateTime EncodeDate(int Year, int Month, int Day);
TDateTime EncodeTime(int Hour, int Min, int Sec, int MSec);
// Raise EConvertError for a value outside the years 1 to 9999, or NaN.
void DecodeDate(TDateTime DateTime, int& Year, int& Month, int& Day);
void DecodeTime(TDateTime DateTime, int& Hour, int& Min, int& Sec, int& MSec);

} // namespace platform
