// Drives the popup menus a test opens: finds the shown menu window of this
// process and walks its items with posted keys.
#pragma once

#include "platform/Win32.h"
#include "support/ProcessWindows.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

// The shown popup menu of this process (other test programs may show theirs meanwhile).
inline HWND OpenMenuWindow()
{
    return testsupport::VisibleProcessWindow(GetCurrentProcessId(), "#32768");
}

// Drives an open popup menu from a thread timer, which the menu's own modal
// loop keeps dispatching: on first sight it hands the shown menu to Inspect,
// then moves the highlight down to position Target and presses Enter
// (Target < 0: Escape). After a deadline it closes the menu in any state.
struct TMenuDriver {
    int Target = -1;
    std::function<void(HMENU)> Inspect = nullptr;
    std::vector<std::string>* Log = nullptr;
    bool Seen = false;
    RECT Shown{}; // where the menu window appeared
    bool TimedOut = false;
    DWORD Start = 0;
    static inline TMenuDriver* Current = nullptr;

    static VOID CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD)
    {
        TMenuDriver& d = *Current;
        HWND wnd = OpenMenuWindow();
        if (GetTickCount() - d.Start > 8000) {
            d.TimedOut = true;
            EndMenu();
            return;
        }
        if (!wnd)
            return;
        HMENU menu = reinterpret_cast<HMENU>(SendMessageA(wnd, MN_GETHMENU, 0, 0));
        if (!d.Seen) {
            d.Seen = true;
            GetWindowRect(wnd, &d.Shown);
            d.Log->push_back("shown");
            if (d.Inspect)
                d.Inspect(menu);
        }
        int highlighted = -1;
        for (int i = 0; i < GetMenuItemCount(menu); ++i)
            if (GetMenuState(menu, static_cast<UINT>(i), MF_BYPOSITION) & MF_HILITE)
                highlighted = i;
        const WPARAM key = d.Target < 0 ? VK_ESCAPE : highlighted == d.Target ? VK_RETURN : VK_DOWN;
        PostMessageA(wnd, WM_KEYDOWN, key, 1);
        PostMessageA(wnd, WM_KEYUP, key, 0xC0000001);
    }

    // Open shows the menu and returns once it has closed.
    void Run(const std::function<void()>& Open)
    {
        Current = this;
        Start = GetTickCount();
        const UINT_PTR timer = SetTimer(nullptr, 0, 50, Tick);
        Open();
        KillTimer(nullptr, timer);
        EXPECT_FALSE(TimedOut);
    }
};

