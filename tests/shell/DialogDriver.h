// What a person does with a suite message dialog, from outside its code:
// find the visible one of a process, look at it on the screen, click its
// buttons, press Alt+F4.
#pragma once

#include "platform/Application.h"
#include "platform/Form.h"
#include "platform/Win32.h"
#include "support/ProcessWindows.h"

#include <cstdint>
#include <cstring>
#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace shelltest {

// Where the dialog's buttons stand, in its client area.
constexpr POINT YesButton{33 + 48, 112 + 11}, NoButton{143 + 48, 112 + 11};

// The visible window of class "TfrmMsg" titled "Tessel" of a process, if any.
inline HWND VisibleDialog(DWORD ProcessId)
{
    return testsupport::VisibleProcessWindow(ProcessId, "TfrmMsg", "Tessel");
}

// A left click on whatever window lies under the dialog's client point.
inline void ClickAt(HWND Dialog, POINT At)
{
    HWND target = ChildWindowFromPointEx(Dialog, At, CWP_SKIPINVISIBLE);
    if (!target)
        return;
    MapWindowPoints(Dialog, target, &At, 1);
    PostMessageA(target, WM_MOUSEMOVE, 0, MAKELPARAM(At.x, At.y));
    PostMessageA(target, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(At.x, At.y));
    PostMessageA(target, WM_LBUTTONUP, 0, MAKELPARAM(At.x, At.y));
}

// Alt+F4 as the keyboard delivers it to the dialog.
inline void PressAltF4(HWND Dialog)
{
    PostMessageA(Dialog, WM_SYSKEYDOWN, VK_F4, 1 | (1 << 29));
    PostMessageA(Dialog, WM_SYSKEYUP, VK_F4, 1 | (1 << 29) | (3u << 30));
}

// What the screen shows now over a window's rectangle.
class TScreenShot {
public:
    explicit TScreenShot(HWND Window)
    {
        RECT r{};
        GetWindowRect(Window, &r);
        FWidth = r.right - r.left;
        FHeight = r.bottom - r.top;
        FPixels.resize(static_cast<size_t>(FWidth * FHeight));
        HDC screen = GetDC(nullptr);
        HDC memory = CreateCompatibleDC(screen);
        BITMAPINFO info{};
        info.bmiHeader = {sizeof(BITMAPINFOHEADER), FWidth, -FHeight, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
        void* bits = nullptr;
        HBITMAP dib = CreateDIBSection(memory, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
        HGDIOBJ old = SelectObject(memory, dib);
        BitBlt(memory, 0, 0, FWidth, FHeight, screen, r.left, r.top, SRCCOPY);
        GdiFlush();
        std::memcpy(FPixels.data(), bits, FPixels.size() * 4);
        SelectObject(memory, old);
        DeleteObject(dib);
        DeleteDC(memory);
        ReleaseDC(nullptr, screen);
    }

    COLORREF Pixel(int X, int Y) const
    {
        const uint32_t p = FPixels[static_cast<size_t>(Y * FWidth + X)];
        return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
    }
    // Dark pixels (every channel below 100) in a rectangle: the strokes of a text drawn there.
    int DarkPixels(const RECT& Area) const
    {
        int dark = 0;
        for (int y = Area.top; y < Area.bottom; ++y)
            for (int x = Area.left; x < Area.right; ++x) {
                const COLORREF c = Pixel(x, y);
                dark += GetRValue(c) < 100 && GetGValue(c) < 100 && GetBValue(c) < 100;
            }
        return dark;
    }

private:
    int FWidth = 0, FHeight = 0;
    std::vector<uint32_t> FPixels;
};

// The window's region, or "none" when it has none.
inline std::string RegionShape(HWND Window, const POINT* Points, int Count)
{
    HRGN region = CreateRectRgn(0, 0, 0, 0);
    std::string shape;
    if (GetWindowRgn(Window, region) == ERROR)
        shape = "none";
    else
        for (int i = 0; i < Count; ++i)
            shape += PtInRegion(region, Points[i].x, Points[i].y) ? '#' : '.';
    DeleteObject(region);
    return shape;
}

// Answers a dialog this process shows modally, from a thread timer that the
// modal loop dispatches: once the dialog is visible, Look sees it and Answer
// acts on it. A dialog still open after eight seconds is refused, so that a
// broken answer fails the test instead of hanging it.
class TModalDriver {
public:
    TModalDriver(std::function<void(HWND)> Look, std::function<void(HWND)> Answer)
        : FLook(std::move(Look)), FAnswer(std::move(Answer)), FStart(GetTickCount())
    {
        Current = this;
        FTimer = SetTimer(nullptr, 0, 50, Tick);
    }
    ~TModalDriver()
    {
        KillTimer(nullptr, FTimer);
        Current = nullptr;
    }
    TModalDriver(const TModalDriver&) = delete;
    TModalDriver& operator=(const TModalDriver&) = delete;

    bool Answered() const { return FAnswered; }

private:
    static VOID CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD)
    {
        TModalDriver* d = Current;
        HWND dialog = d ? VisibleDialog(GetCurrentProcessId()) : nullptr;
        if (!dialog)
            return;
        if (GetTickCount() - d->FStart > 8000) {
            for (int i = 0; i < platform::Screen->FormCount(); ++i)
                if (platform::Screen->Forms(i)->Handle() == dialog)
                    platform::Screen->Forms(i)->SetModalResult(platform::mrCancel);
            return;
        }
        // A few ticks after it shows, so that what it painted has reached the screen.
        if (d->FAnswered || ++d->FTicksVisible < 4)
            return;
        d->FAnswered = true;
        if (d->FLook)
            d->FLook(dialog);
        d->FAnswer(dialog);
    }

    static inline TModalDriver* Current = nullptr;
    std::function<void(HWND)> FLook, FAnswer;
    DWORD FStart;
    UINT_PTR FTimer = 0;
    int FTicksVisible = 0;
    bool FAnswered = false;
};

} // namespace shelltest
