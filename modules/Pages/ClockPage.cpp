// Page\Clock.dll: the time on a large display, the month's calendar with
// today chosen, and the system's time zone. The time ticks once a second;
// a change of the system time (WM_TIMECHANGE,
// listed in Clock.ini) brings the calendar and the zone up to date.
#include "modules/Pages/ClockData.h"
#include "modules/Suite/PageModule.h"
#include "modules/Suite/SuiteText.h"

#include "components/Calendar.h"
#include "platform/ClassBuilder.h"
#include "platform/Timer.h"

using namespace platform;
using namespace components;

namespace tessel {

class TClockView : public TPageView {
    PLATFORM_CLASS(TClockView, TPageView)
public:
    explicit TClockView(TComponent* AOwner) : TPageView(AOwner)
    {
        FTime = New<TPanel>(this);
        FTime->SetParent(this);
        FTime->SetBounds(16, 16, 260, 64);
        FTime->SetBevelOuter(bvLowered);
        FTime->SetColor(RGB(20, 28, 36));
        FTime->Font()->SetName("Courier New");
        FTime->Font()->SetHeight(-40);
        FTime->Font()->SetStyle({fsBold});
        FTime->Font()->SetColor(RGB(90, 230, 120));
        FDate = AddLabel(16, 88, "");
        FDate->Font()->SetHeight(-16);
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
    void Refresh()
    {
        FCalendar->SetUseCurrentDate(false);
        FCalendar->SetUseCurrentDate(true);
        FZone->SetText(TimeZoneText());
        Tick();
    }

    void Tick()
    {
        SYSTEMTIME now{};
        GetLocalTime(&now);
        FTime->SetText(ClockTime(now));
        FDate->SetText(ClockDate(now));
    }

    TPanel* FTime;
    TLabel* FDate;
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
