// Page\Clock.dll: the time and the date on numeric LED displays, the month's
// calendar with today chosen, and the system's time zone. The time ticks once a second;
// a change of the system time (WM_TIMECHANGE,
// listed in Clock.ini) brings the calendar and the zone up to date.
#include "modules/Pages/ClockData.h"
#include "modules/Suite/PageModule.h"
#include "modules/Suite/SuiteText.h"

#include "KsPackage/Source/KsNumLED.h"
#include "components/Calendar.h"
#include "platform/DateTime.h"
#include "platform/ClassBuilder.h"
#include "platform/Timer.h"

using namespace platform;
using namespace components;
using namespace loom;

namespace tessel {

class TClockView : public TPageView {
    PLATFORM_CLASS(TClockView, TPageView)
public:
    explicit TClockView(TComponent* AOwner) : TPageView(AOwner)
    {
        FTime = MakeLed(nledTime, "HH.MM.SS", 16, 260, 64);
        FDate = MakeLed(nledDate, "DD.MM.YY", 88, 200, 30);
        AddLabel(16, 124, Tr("Time zone:"));
        FZone = AddLabel(16, 144, "");

        FCalendar = New<TCalendar>(this);
        FCalendar->SetParent(this);
        FCalendar->SetBounds(320, 16, 280, 180);
        FCalendar->SetReadOnly(true);

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
    KsNumLed* MakeLed(KsNumLedType Type, const char* Format, int Top, int Width, int Height)
    {
        auto* led = New<KsNumLed>(this);
        led->SetParent(this);
        led->SetType(Type);
        led->SetFormat(Format);
        led->LedColors()->SetLightColor(RGB(90, 230, 120));
        led->LedColors()->SetDarkColor(RGB(28, 38, 42));
        led->LedColors()->SetBackgroundColor(RGB(20, 28, 36));
        led->SetKeepRatio(true);
        led->SetBounds(16, Top, Width, Height);
        return led;
    }

    void Refresh()
    {
        FCalendar->SetUseCurrentDate(false);
        FCalendar->SetUseCurrentDate(true);
        FZone->SetText(TimeZoneText());
        Tick();
    }

    void Tick()
    {
        const TDateTime now = Now();
        FTime->SetValue(now);
        FDate->SetValue(now);
    }

    KsNumLed* FTime;
    KsNumLed* FDate;
    TLabel* FZone;
    TCalendar* FCalendar;
    TTimer* FTimer;
};

const TClassInfo& TClockView::StaticClassInfo()
{
    static const TClassInfo& info = TClassBuilder<TClockView, TPageView>("TClockView").Build();
    return info;
}

const TPageDefinition ThisPage{"Clock", "Clock", nullptr, [] { return static_cast<TPageView*>(New<TClockView>(nullptr)); }};

} // namespace tessel
