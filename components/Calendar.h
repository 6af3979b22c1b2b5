// A calendar grid: one month as a grid of day cells under a row of weekday
// names, with the selected day highlighted.
#pragma once

#include "platform/Control.h"
#include "platform/DateTime.h"

namespace components {

class TCalendar : public platform::TCustomControl {
    PLATFORM_CLASS(TCalendar, platform::TCustomControl)
public:
    explicit TCalendar(platform::TComponent* AOwner);

    static bool IsLeapYear(int Year);
    // ERangeError for a year outside 1 .. 9999 or a month outside 1 .. 12.
    static int DaysInMonth(int Year, int Month);

    // Year 1 .. 9999 and Month 1 .. 12 (ERangeError otherwise). A day past the
    // end of the month is clamped to its last day, also when a change of
    // year or month shortens the month (31 March to February gives the 28th
    // or 29th); Day below 1 raises ERangeError. Setting any of them, or the
    // whole date, turns UseCurrentDate off.
    int Year() const { return FYear; }
    void SetYear(int Value) { ChooseDate(Value, FMonth, FDay); }
    int Month() const { return FMonth; }
    void SetMonth(int Value) { ChooseDate(FYear, Value, FDay); }
    int Day() const { return FDay; }
    void SetDay(int Value) { ChooseDate(FYear, FMonth, Value); }
    platform::TDateTime CalendarDate() const;
    void SetCalendarDate(platform::TDateTime Value);
    // Shows today's date when the calendar is created and whenever this is turned on.
    bool UseCurrentDate() const { return FUseCurrentDate; }
    void SetUseCurrentDate(bool Value);
    // The first column's weekday: 0 Sunday ... 6 Saturday (ERangeError otherwise).
    int StartOfWeek() const { return FStartOfWeek; }
    void SetStartOfWeek(int Value);
    // Read-only: the user cannot change the date (the program still can).
    bool ReadOnly() const { return FReadOnly; }
    void SetReadOnly(bool Value) { FReadOnly = Value; }

    void PrevMonth() { MoveMonths(-1); }
    void NextMonth() { MoveMonths(1); }
    void PrevYear() { MoveMonths(-12); }
    void NextYear() { MoveMonths(12); }

    // The cell of a day of the shown month, and the day at a point (0 for none).
    platform::TRect DayRect(int ADay) const;
    int DayAt(int X, int Y) const;

    // Raised whenever the date changes.
    platform::TNotifyEvent OnChange;

protected:
    void Paint() override;
    void MouseDown(platform::TMouseButton Button, platform::TShiftState Shift, int X, int Y) override;
    void KeyDown(WORD& Key, platform::TShiftState Shift) override;
    void DoEnter() override;
    void DoExit() override;
    void Dispatch(platform::TMessage& Message) override;
    virtual void Change();

private:
    void ChooseDate(int AYear, int AMonth, int ADay);
    void SetDate(int AYear, int AMonth, int ADay);
    void MoveMonths(int Count);
    // The column of the month's first day.
    int FirstColumn() const;
    platform::TRect CellRect(int Column, int Row) const;

    int FYear = 1, FMonth = 1, FDay = 1;
    bool FUseCurrentDate = true;
    int FStartOfWeek = 0;
    bool FReadOnly = false;
};

} // namespace components
