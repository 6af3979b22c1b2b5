#include "platform/Timer.h"
#include "platform/UtilWindow.h"
#include "InterceptedServices.h"
#include "MessagePump.h"

#include <gtest/gtest.h>

#include <memory>

using namespace platform;

TEST(UtilWindow, MessagesReachTheMethodUntilItDeallocatesTheWindow)
{
    auto token = std::make_shared<int>(17);
    HWND wnd = nullptr;
    std::vector<UINT> seen;
    int afterwards = 0;
    wnd = AllocateHWnd([&, token](TMessage& m) {
        seen.push_back(m.Msg);
        if (m.Msg == WM_USER + 7)
            m.Result = static_cast<LRESULT>(m.WParam + m.LParam);
        if (m.Msg == WM_USER + 9) {
            DeallocateHWnd(wnd);
            afterwards = *token; // still alive until the method returns
            m.Result = 5;
        }
    });
    EXPECT_FALSE(IsWindowVisible(wnd));
    EXPECT_EQ(GetAncestor(wnd, GA_PARENT), GetDesktopWindow()) << "top level, so broadcasts reach it";
    EXPECT_EQ(SendMessageA(wnd, WM_USER + 7, 40, 2), 42);
    EXPECT_EQ(SendMessageA(wnd, WM_USER + 8, 0, 0), 0) << "the method, not the default handling, decides";
    PostMessageA(wnd, WM_USER + 6, 0, 0);
    EXPECT_TRUE(PumpUntil([&] { return seen.back() == WM_USER + 6; }, 2000));

    EXPECT_EQ(SendMessageA(wnd, WM_USER + 9, 0, 0), 5);
    EXPECT_EQ(afterwards, 17);
    EXPECT_EQ(seen.back(), static_cast<UINT>(WM_USER + 9)) << "destruction messages no longer reach the method";
    EXPECT_FALSE(IsWindow(wnd));
    EXPECT_EQ(token.use_count(), 1) << "the method is released once its call has returned";
    DeallocateHWnd(wnd); // twice is harmless
}

TEST(UtilWindow, EscapingExceptionIsShownAndAnsweredZero)
{
    TInterceptedServices services;
    HWND wnd = AllocateHWnd([](TMessage& m) {
        m.Result = 99;
        throw EInvalidOperation("Handler failed");
    });
    EXPECT_EQ(SendMessageA(wnd, WM_USER + 1, 0, 0), 0);
    ASSERT_EQ(services.Boxes.size(), 1u);
    EXPECT_NE(services.Boxes[0].Text.find("Handler failed"), std::string::npos);
    DeallocateHWnd(wnd);
}

TEST(Timer, TicksOnlyWhileEnabledWithIntervalAndHandler)
{
    TTimer* timer = New<TTimer>(nullptr);
    int ticks = 0;
    TObject* sender = nullptr;
    timer->SetInterval(20);
    timer->SetOnTimer([&](TObject* s) { ++ticks, sender = s; });
    EXPECT_TRUE(PumpUntil([&] { return ticks >= 3; }, 5000));
    EXPECT_EQ(sender, timer);

    const int frozen = ticks;
    timer->SetEnabled(false);
    PumpFor(150);
    timer->SetEnabled(true);
    timer->SetInterval(0);
    PumpFor(150);
    timer->SetInterval(20);
    timer->SetOnTimer(nullptr);
    PumpFor(150);
    EXPECT_EQ(ticks, frozen);
    timer->Free();
}

TEST(Timer, IntervalChangeAndEnablingRestart)
{
    const TOwned<TTimer> timer(New<TTimer>(nullptr));
    DWORD tickAt = 0;
    timer->SetOnTimer([&](TObject*) { tickAt = tickAt ? tickAt : GetTickCount(); });
    PumpFor(600);
    ASSERT_EQ(tickAt, 0u);
    // Without a restart the old 1000 ms period would end 400 ms from here.
    const DWORD changedAt = GetTickCount();
    timer->SetInterval(800);
    ASSERT_TRUE(PumpUntil([&] { return tickAt != 0; }, 5000));
    EXPECT_GE(tickAt - changedAt, 700u);

    tickAt = 0;
    timer->SetEnabled(false);
    PumpFor(500);
    const DWORD enabledAt = GetTickCount();
    timer->SetEnabled(true);
    ASSERT_TRUE(PumpUntil([&] { return tickAt != 0; }, 5000));
    EXPECT_GE(tickAt - enabledAt, 700u);
}

TEST(Timer, HandlerMayFreeItsTimerAndExceptionsAreShown)
{
    TInterceptedServices services;
    const TOwned<TComponent> owner(new TComponent(nullptr));
    TTimer* failing = New<TTimer>(owner.get());
    failing->SetInterval(20);
    failing->SetOnTimer([&](TObject*) {
        failing->SetEnabled(false);
        throw EInvalidOperation("Tick failed");
    });
    TTimer* once = New<TTimer>(owner.get());
    once->SetInterval(20);
    once->SetOnTimer([](TObject* sender) { static_cast<TTimer*>(sender)->Free(); });
    ASSERT_TRUE(PumpUntil([&] { return owner->ComponentCount() == 1 && !services.Boxes.empty(); }, 5000));
    ASSERT_EQ(services.Boxes.size(), 1u);
    EXPECT_NE(services.Boxes[0].Text.find("Tick failed"), std::string::npos);
}
