#include "platform/Timer.h"
#include "platform/ClassBuilder.h"
#include "platform/UtilWindow.h"

namespace platform {

namespace {
const UINT_PTR TimerId = 1;
}

const TClassInfo& TTimer::StaticClassInfo()
{
    static const TClassInfo& info = TClassBuilder<TTimer, TComponent>("TTimer")
        .Bool("Enabled", &TTimer::Enabled, &TTimer::SetEnabled, true)
        .Int("Interval", &TTimer::Interval, &TTimer::SetInterval, 1000)
        .Event("OnTimer", &TTimer::OnTimer, &TTimer::SetOnTimer)
        .Build();
    return info;
}

TTimer::TTimer(TComponent* AOwner) : TComponent(AOwner)
{
    FWindowHandle = AllocateHWnd([this](TMessage& Message) { WndProc(Message); });
}

TTimer::~TTimer()
{
    FEnabled = false;
    UpdateTimer();
    DeallocateHWnd(FWindowHandle);
}

void TTimer::SetEnabled(bool Value)
{
    if (Value == FEnabled)
        return;
    FEnabled = Value;
    UpdateTimer();
}

void TTimer::SetInterval(int Value)
{
    if (Value == FInterval)
        return;
    FInterval = Value;
    UpdateTimer();
}

void TTimer::SetOnTimer(TNotifyEvent Value)
{
    FOnTimer = std::move(Value);
    UpdateTimer();
}

// Every change starts the period afresh.
void TTimer::UpdateTimer()
{
    KillTimer(FWindowHandle, TimerId);
    if (FEnabled && FInterval > 0 && FOnTimer)
        if (!SetTimer(FWindowHandle, TimerId, static_cast<UINT>(FInterval), nullptr))
            throw EOutOfResources("Not enough timers available");
}

void TTimer::WndProc(TMessage& Message)
{
    if (Message.Msg != WM_TIMER) {
        Message.Result = DefWindowProcA(FWindowHandle, Message.Msg, Message.WParam, Message.LParam);
        return;
    }
    // A tick already taken from the queue when the timer was stopped is dropped.
    if (Message.WParam != TimerId || !FEnabled || FInterval <= 0)
        return;
    // OnTimer may free this timer: nothing here touches a member after it.
    try {
        Timer();
    } catch (...) {
        HandleWindowException(this);
    }
}

void TTimer::Timer()
{
    if (FOnTimer)
        FOnTimer(this);
}

} // namespace platform
