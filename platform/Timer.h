// A timer component: OnTimer every Interval milliseconds while enabled.
#pragma once

#include "platform/Component.h"
#include "platform/Messages.h"

namespace platform {

class TTimer : public TComponent {
    PLATFORM_CLASS(TTimer, TComponent)
public:
    explicit TTimer(TComponent* AOwner);
    ~TTimer() override;

    bool Enabled() const { return FEnabled; }
    void SetEnabled(bool Value);
    // Milliseconds; the timer runs only while this is above zero.
    int Interval() const { return FInterval; }
    void SetInterval(int Value);
    const TNotifyEvent& OnTimer() const { return FOnTimer; }
    void SetOnTimer(TNotifyEvent Value);

    // The hidden window that receives the ticks.
    HWND Handle() const { return FWindowHandle; }

protected:
    // Raises OnTimer; exceptions go to the application's standard display.
    virtual void Timer();

private:
    void UpdateTimer();
    void WndProc(TMessage& Message);

    bool FEnabled = true;
    int FInterval = 1000;
    TNotifyEvent FOnTimer;
    HWND FWindowHandle = nullptr;
};

} // namespace platform
