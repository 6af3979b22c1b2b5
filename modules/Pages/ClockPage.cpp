// Page\Clock.dll: the time on numeric LED displays with colons between hours,
// minutes and seconds, the date in the user's long form, the system's time
// zone, and a calendar that opens on today's month and pages through the
// others. The time ticks once a second; a change of the system time
// (WM_TIMECHANGE, listed in Clock.ini) brings the calendar and the zone up to
// date, and so does midnight.
#include "modules/Pages/ClockData.h"
#include "modules/Suite/PageModule.h"
#include "modules/Suite/SuiteSkin.h"
#include "modules/Suite/SuiteText.h"

#include "KsPackage/Source/KsNumLED.h"
#include "components/Calendar.h"
#include "platform/ClassBuilder.h"
#include "platform/DateTime.h"
#include "platform/Timer.h"

#include <cmath>

using namespace platform;
using namespace components;
using namespace loom;

namespace tessel {

namespace {

const TColor LitColour = RGB(90, 230, 120), UnlitColour = RGB(28, 38, 42), FaceColour = RGB(20, 28, 36);

// The time display: hours, minutes and seconds on three LEDs on one dark
// face, with a colon of two lit dots between them. Digits are drawn 36
// pixels high.
constexpr int Pad = 6, DigitsWidth = 58, DigitsHeight = 36, ColonWidth = 14, Dot = 5;
constexpr int FaceWidth = 2 * Pad + 3 * DigitsWidth + 2 * ColonWidth, FaceHeight = 2 * Pad + DigitsHeight;

// The time, the date and the zone stand in a column as wide as the time;
// the calendar fills the rest of the page beside it, under its heading and
// the buttons to the months before and after.
constexpr int Margin = 16, CalendarLeft = Margin + FaceWidth + Margin, HeadingHeight = 20;

} // namespace

class TClockView : public TPageView {
    PLATFORM_CLASS(TClockView, TPageView)
public:
    explicit TClockView(TComponent* AOwner) : TPageView(AOwner)
    {
        auto* face = New<TPanel>(this);
        face->SetParent(this);
        face->SetBevelOuter(bvNone);
        face->SetColor(FaceColour);
        face->SetBounds(Margin, Margin, FaceWidth, FaceHeight);
        for (int part = 0; part < 3; ++part) {
            const int left = Pad + part * (DigitsWidth + ColonWidth);
            FTime[part] = MakeDigits(face, left, part == 0 ? "HH" : part == 1 ? "MM" : "SS");
            if (part > 0)
                for (int row = 1; row <= 2; ++row) {
                    auto* dot = New<TPanel>(face);
                    dot->SetParent(face);
                    dot->SetBevelOuter(bvNone);
                    dot->SetColor(LitColour);
                    dot->SetBounds(left - ColonWidth / 2 - Dot / 2, Pad + DigitsHeight * row / 3 - Dot / 2, Dot, Dot);
                }
        }

        FDate = AddLabel(Margin, Margin + FaceHeight + 12, "");
        FDate->SetAutoSize(false);
        FDate->SetWordWrap(true);
        FDate->Font()->SetHeight(-MulDiv(10, 96, 72));
        FDate->Font()->SetStyle({fsBold});
        FDate->SetBounds(Margin, Margin + FaceHeight + 12, FaceWidth, 36);
        AddLabel(Margin, Margin + FaceHeight + 56, Tr("Time zone:"));
        FZone = AddLabel(Margin, Margin + FaceHeight + 74, "");
        FZone->SetAutoSize(false);
        FZone->SetWordWrap(true);
        FZone->SetBounds(Margin, Margin + FaceHeight + 74, FaceWidth, 32);
        FOffset = AddLabel(Margin, Margin + FaceHeight + 106, "");
        FToday = MakeSkinButton(this, Tr("Today"), Margin, DesignHeight - Margin - SkinButtonHeight);
        FToday->SetAnchors({akLeft, akBottom});
        FToday->OnClick = [this](TObject*) { FCalendar->SetUseCurrentDate(true); };

        const int right = DesignWidth - Margin;
        FMonth = AddLabel(CalendarLeft, Margin, "");
        FMonth->SetAutoSize(false);
        FMonth->SetAlignment(taCenter);
        FMonth->Font()->SetHeight(-MulDiv(10, 96, 72));
        FMonth->Font()->SetStyle({fsBold});
        FMonth->SetBounds(CalendarLeft, Margin, right - CalendarLeft, HeadingHeight);
        FMonth->SetAnchors({akLeft, akTop, akRight});
        const int buttonsTop = Margin + HeadingHeight + 4;
        FPrevious = MakeSkinButton(this, "", CalendarLeft, buttonsTop);
        FPrevious->OnClick = [this](TObject*) { FCalendar->PrevMonth(); };
        FNext = MakeSkinButton(this, "", 0, buttonsTop);
        FNext->SetLeft(right - FNext->Width());
        FNext->SetAnchors({akTop, akRight});
        FNext->OnClick = [this](TObject*) { FCalendar->NextMonth(); };

        FCalendar = New<TCalendar>(this);
        FCalendar->SetParent(this);
        const int calendarTop = buttonsTop + SkinButtonHeight + 8;
        FCalendar->SetBounds(CalendarLeft, calendarTop, right - CalendarLeft, DesignHeight - Margin - calendarTop);
        FCalendar->SetAnchors({akLeft, akTop, akRight, akBottom});
        FCalendar->SetStartOfWeek(FirstDayOfWeek());
        FCalendar->OnChange = [this](TObject*) { ShowMonth(); };
        // Home goes back to today, as the Today button does.
        FCalendar->OnKeyDown = [this](TObject*, WORD& Key, TShiftState) {
            if (Key == VK_HOME) {
                FCalendar->SetUseCurrentDate(true);
                Key = 0;
            }
        };

        FTimer = New<TTimer>(this);
        FTimer->SetInterval(1000);
        FTimer->SetOnTimer([this](TObject*) { Tick(); });
        Refresh();
    }

    void PageMessage(const TForwardedMessage& Message) override
    {
        if (Message.Msg == WM_TIMECHANGE)
            Refresh();
    }

private:
    KsNumLed* MakeDigits(TPanel* Face, int Left, const char* Format)
    {
        auto* led = New<KsNumLed>(Face);
        led->SetParent(Face);
        led->SetType(nledTime);
        led->SetFormat(Format);
        led->LedColors()->SetLightColor(LitColour);
        led->LedColors()->SetDarkColor(UnlitColour);
        led->LedColors()->SetBackgroundColor(FaceColour);
        led->SetKeepRatio(true);
        led->SetBounds(Left, Pad, DigitsWidth, DigitsHeight);
        return led;
    }

    // Today again in the calendar (unless the user went elsewhere in it),
    // the zone, and the time.
    void Refresh()
    {
        if (FCalendar->UseCurrentDate())
            FCalendar->SetUseCurrentDate(true);
        const TTimeZone zone = TimeZone();
        FZone->SetText(zone.Name);
        FOffset->SetText(zone.Offset);
        ShowMonth();
        FDay = -1;
        Tick();
    }

    void Tick()
    {
        const TDateTime now = Now();
        for (KsNumLed* led : FTime)
            led->SetValue(now);
        const double day = std::floor(double(now));
        if (day != FDay) {
            FDay = day;
            FDate->SetText(LongDateText(now));
            if (FCalendar->UseCurrentDate())
                FCalendar->SetUseCurrentDate(true);
        }
    }

    // The heading names the month shown, its buttons the months before and after.
    void ShowMonth()
    {
        const int month = FCalendar->Month();
        FMonth->SetText(MonthTitle(FCalendar->Year(), month));
        FPrevious->SetText("< " + MonthName((month + 10) % 12 + 1));
        FNext->SetText(MonthName(month % 12 + 1) + " >");
    }

    KsNumLed* FTime[3];
    TLabel* FDate;
    TLabel* FZone;
    TLabel* FOffset;
    KsButtonTx* FPrevious;
    KsButtonTx* FNext;
    TLabel* FMonth;
    TCalendar* FCalendar;
    KsButtonTx* FToday;
    TTimer* FTimer;
    double FDay = -1;
};

const TClassInfo& TClockView::StaticClassInfo()
{
    static const TClassInfo& info = TClassBuilder<TClockView, TPageView>("TClockView").Build();
    return info;
}

extern const TPageDefinition ClockPage{"Clock", "Clock", nullptr,
                                       [] { return static_cast<TPageView*>(New<TClockView>(nullptr)); }};

} // namespace tessel
