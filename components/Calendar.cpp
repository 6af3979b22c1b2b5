#include "components/Calendar.h"

#include <algorithm>
#include <cmath>

using namespace platform;

namespace components {

namespace {

const int Columns = 7, Rows = 7; // a row of weekday names, then six weeks

void CheckYearMonth(int Year, int Month)
{
    if (Year < 1 || Year > 9999)
        throw ERangeError(Format("Year %d is outside 1 to 9999", Year));
    if (Month < 1 || Month > 12)
        throw ERangeError(Format("Month %d is outside 1 to 12", Month));
}

// 0 Sunday ... 6 Saturday; day 0 (30 December 1899) was a Saturday.
int DayOfWeek(int Year, int Month, int Day)
{
    const long days = std::lround(std::floor(double(EncodeDate(Year, Month, Day))));
    return static_cast<int>(((days + 6) % 7 + 7) % 7);
}

// The system's abbreviated weekday name.
std::string DayName(int DayOfWeek)
{
    char name[32] = {};
    const LCTYPE item = DayOfWeek == 0 ? LOCALE_SABBREVDAYNAME7 : LOCALE_SABBREVDAYNAME1 + DayOfWeek - 1;
    GetLocaleInfoA(LOCALE_USER_DEFAULT, item, name, sizeof name);
    return name;
}

} // namespace

const TClassInfo& TCalendar::StaticClassInfo()
{
    // The date is stored only when it is not today's: a calendar that shows
    // the current date reads back showing the day it is read on.
    static const TClassInfo& info = TClassBuilder<TCalendar, TCustomControl>("TCalendar")
        .Publish({"Anchors", "Color", "Enabled", "ParentFont", "Font", "ParentShowHint", "ShowHint", "Visible",
                  "TabOrder", "TabStop", "OnClick", "OnDblClick", "OnMouseDown", "OnMouseMove", "OnMouseUp",
                  "OnEnter", "OnExit", "OnKeyDown", "OnKeyPress", "OnKeyUp"})
        .Int("Year", [](const TCalendar& c) { return c.FUseCurrentDate ? 0 : c.FYear; }, &TCalendar::SetYear, 0)
        .Int("Month", [](const TCalendar& c) { return c.FUseCurrentDate ? 0 : c.FMonth; }, &TCalendar::SetMonth, 0)
        .Int("Day", [](const TCalendar& c) { return c.FUseCurrentDate ? 0 : c.FDay; }, &TCalendar::SetDay, 0)
        .Bool("UseCurrentDate", &TCalendar::UseCurrentDate, &TCalendar::SetUseCurrentDate, true)
        .Int("StartOfWeek", &TCalendar::StartOfWeek, &TCalendar::SetStartOfWeek, 0)
        .Bool("ReadOnly", &TCalendar::ReadOnly, &TCalendar::SetReadOnly, false)
        .Event("OnChange", &TCalendar::OnChange)
        .Build();
    return info;
}

TCalendar::TCalendar(TComponent* AOwner) : TCustomControl(AOwner)
{
    FControlStyle.Include(csOpaque);
    SetColor(clWindow);
    SetTabStop(true);
    SetBounds(Left(), Top(), 320, 120);
    DecodeDate(Now(), FYear, FMonth, FDay);
}

bool TCalendar::IsLeapYear(int Year)
{
    return Year % 4 == 0 && (Year % 100 != 0 || Year % 400 == 0);
}

int TCalendar::DaysInMonth(int Year, int Month)
{
    CheckYearMonth(Year, Month);
    static const int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return Month == 2 && IsLeapYear(Year) ? 29 : days[Month - 1];
}

void TCalendar::ChooseDate(int AYear, int AMonth, int ADay)
{
    SetDate(AYear, AMonth, ADay);
    FUseCurrentDate = false;
}

void TCalendar::SetDate(int AYear, int AMonth, int ADay)
{
    if (ADay < 1)
        throw ERangeError(Format("Day %d is below 1", ADay));
    ADay = std::min(ADay, DaysInMonth(AYear, AMonth));
    if (AYear == FYear && AMonth == FMonth && ADay == FDay)
        return;
    // Within the month only the two cells change.
    if (AYear == FYear && AMonth == FMonth) {
        InvalidateArea(DayRect(FDay));
        InvalidateArea(DayRect(ADay));
    } else {
        Invalidate();
    }
    FYear = AYear;
    FMonth = AMonth;
    FDay = ADay;
    Change();
}

TDateTime TCalendar::CalendarDate() const
{
    return EncodeDate(FYear, FMonth, FDay);
}

void TCalendar::SetCalendarDate(TDateTime Value)
{
    int year, month, day;
    DecodeDate(Value, year, month, day);
    ChooseDate(year, month, day);
}

void TCalendar::SetUseCurrentDate(bool Value)
{
    FUseCurrentDate = Value;
    if (Value) {
        int year, month, day;
        DecodeDate(Now(), year, month, day);
        SetDate(year, month, day);
    }
}

void TCalendar::SetStartOfWeek(int Value)
{
    if (Value < 0 || Value > 6)
        throw ERangeError(Format("StartOfWeek %d is outside 0 (Sunday) to 6 (Saturday)", Value));
    if (Value == FStartOfWeek)
        return;
    FStartOfWeek = Value;
    Invalidate();
}

void TCalendar::MoveMonths(int Count)
{
    const int months = FYear * 12 + (FMonth - 1) + Count;
    ChooseDate(months / 12, months % 12 + 1, FDay);
}

void TCalendar::Change()
{
    if (OnChange && !ComponentState().Contains(csLoading))
        OnChange(this);
}

int TCalendar::FirstColumn() const
{
    return (DayOfWeek(FYear, FMonth, 1) - FStartOfWeek + 7) % 7;
}

TRect TCalendar::CellRect(int Column, int Row) const
{
    const TRect client = ClientRect();
    return Rect(client.right * Column / Columns, client.bottom * Row / Rows, client.right * (Column + 1) / Columns,
                client.bottom * (Row + 1) / Rows);
}

TRect TCalendar::DayRect(int ADay) const
{
    if (ADay < 1 || ADay > DaysInMonth(FYear, FMonth))
        throw ERangeError(Format("Day %d is not in the month shown", ADay));
    const int cell = FirstColumn() + ADay - 1;
    return CellRect(cell % Columns, 1 + cell / Columns);
}

int TCalendar::DayAt(int X, int Y) const
{
    const TRect client = ClientRect();
    if (X < 0 || Y < 0 || X >= client.right || Y >= client.bottom)
        return 0;
    const int column = X * Columns / client.right, row = Y * Rows / client.bottom;
    if (row == 0)
        return 0;
    const int day = (row - 1) * Columns + column - FirstColumn() + 1;
    return day >= 1 && day <= DaysInMonth(FYear, FMonth) ? day : 0;
}

void TCalendar::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    if (TabStop() && CanFocus())
        SetFocus();
    if (Button == mbLeft && !FReadOnly)
        if (const int day = DayAt(X, Y))
            ChooseDate(FYear, FMonth, day);
    TCustomControl::MouseDown(Button, Shift, X, Y);
}

// Arrows move by a day or a week (into the next or previous month), Page Up
// and Page Down by a month (with Ctrl by a year), Home and End to the
// month's first and last day.
void TCalendar::KeyDown(WORD& Key, TShiftState Shift)
{
    TCustomControl::KeyDown(Key, Shift);
    if (FReadOnly)
        return;
    int days = 0;
    switch (Key) {
    case VK_LEFT: days = -1; break;
    case VK_RIGHT: days = 1; break;
    case VK_UP: days = -7; break;
    case VK_DOWN: days = 7; break;
    case VK_PRIOR:
    case VK_NEXT: {
        const int count = (Shift.Contains(ssCtrl) ? 12 : 1) * (Key == VK_PRIOR ? -1 : 1);
        Key = 0;
        // Like the arrows, the pages stop quietly at years 1 and 9999.
        const int months = FYear * 12 + (FMonth - 1) + count;
        if (months >= 12 && months < 10000 * 12)
            MoveMonths(count);
        return;
    }
    case VK_HOME: ChooseDate(FYear, FMonth, 1); Key = 0; return;
    case VK_END: ChooseDate(FYear, FMonth, DaysInMonth(FYear, FMonth)); Key = 0; return;
    default: return;
    }
    Key = 0;
    const double moved = double(CalendarDate()) + days;
    if (moved < double(EncodeDate(1, 1, 1)) || moved >= double(EncodeDate(9999, 12, 31)) + 1)
        return;
    SetCalendarDate(moved);
}

void TCalendar::DoEnter()
{
    InvalidateArea(DayRect(FDay));
    TCustomControl::DoEnter();
}

void TCalendar::DoExit()
{
    InvalidateArea(DayRect(FDay));
    TCustomControl::DoExit();
}

void TCalendar::Dispatch(TMessage& Message)
{
    if (Message.Msg == WM_GETDLGCODE) {
        Message.Result = DLGC_WANTARROWS;
        return;
    }
    TCustomControl::Dispatch(Message);
}

void TCalendar::Paint()
{
    TCanvas* canvas = Canvas();
    const TColor text = EffectivelyEnabled() ? Font()->Color() : clGrayText;
    canvas->Brush()->SetColor(clBtnFace);
    canvas->FillRect(Rect(0, 0, ClientWidth(), CellRect(0, 1).top));
    canvas->Brush()->SetColor(Color());
    canvas->FillRect(Rect(0, CellRect(0, 1).top, ClientWidth(), ClientHeight()));
    canvas->Brush()->SetStyle(bsClear);
    auto centred = [canvas](const TRect& r, const std::string& s) {
        const SIZE size = canvas->TextExtent(s);
        canvas->TextRect(r, (r.left + r.right - size.cx) / 2, (r.top + r.bottom - size.cy) / 2, s);
    };
    canvas->Font()->SetColor(EffectivelyEnabled() ? clBtnText : clGrayText);
    for (int column = 0; column < Columns; ++column)
        centred(CellRect(column, 0), DayName((column + FStartOfWeek) % 7));
    const int days = DaysInMonth(FYear, FMonth);
    for (int day = 1; day <= days; ++day) {
        const TRect r = DayRect(day);
        if (day == FDay) {
            canvas->Brush()->SetStyle(bsSolid);
            canvas->Brush()->SetColor(EffectivelyEnabled() ? clHighlight : clBtnFace);
            canvas->FillRect(r);
            canvas->Brush()->SetStyle(bsClear);
            canvas->Font()->SetColor(EffectivelyEnabled() ? clHighlightText : clGrayText);
        } else {
            canvas->Font()->SetColor(text);
        }
        centred(r, std::to_string(day));
    }
    canvas->Brush()->SetStyle(bsSolid);
    if (Focused()) {
        TRect focus = DayRect(FDay);
        DrawFocusRect(canvas->Handle(), &focus);
    }
}

} // namespace components
