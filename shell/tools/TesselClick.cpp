// Drives a running suite for the screenshot script, as a person would:
//   TesselClick <window class> <button caption>   clicks that skinned button
//                                                  of the visible window; a
//                                                  caption "@n" is its n-th
//                                                  button, in tab order
//   TesselClick --tray-menu                        right-clicks the tray icon
//   TesselClick --maximize <window class>          maximises the visible window
//   TesselClick --rect <window class>              prints its place on the
//                                                  screen, as WxH+X+Y
// Exit code 0 when it was done, 1 when the window, button or menu was not
// found within five seconds.
#include "platform/Win32.h"

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

std::string Text(HWND Wnd, bool Class)
{
    char text[256] = {};
    if (Class)
        GetClassNameA(Wnd, text, sizeof text);
    else
        GetWindowTextA(Wnd, text, sizeof text);
    return text;
}

struct TSearch {
    DWORD Process;
    std::string Class;
    std::string Caption;
    HWND Found = nullptr;
    int Seen = 0;
};

BOOL CALLBACK FindButton(HWND Wnd, LPARAM Data)
{
    auto* s = reinterpret_cast<TSearch*>(Data);
    if (Text(Wnd, true) != "KsButtonTx" || !IsWindowVisible(Wnd))
        return TRUE;
    const bool byIndex = s->Caption[0] == '@';
    if (byIndex ? ++s->Seen == std::atoi(s->Caption.c_str() + 1) : Text(Wnd, false) == s->Caption) {
        s->Found = Wnd;
        return FALSE;
    }
    return TRUE;
}

BOOL CALLBACK FindTop(HWND Wnd, LPARAM Data)
{
    auto* s = reinterpret_cast<TSearch*>(Data);
    DWORD id = 0;
    GetWindowThreadProcessId(Wnd, &id);
    if (id != s->Process || Text(Wnd, true) != s->Class || !IsWindowVisible(Wnd))
        return TRUE;
    s->Seen = 0;
    if (s->Caption.empty())
        s->Found = Wnd;
    else
        EnumChildWindows(Wnd, FindButton, Data);
    return s->Found == nullptr;
}

HWND Wait(TSearch& Search)
{
    for (int tries = 0; tries < 100 && !Search.Found; ++tries, Sleep(50))
        EnumWindows(FindTop, reinterpret_cast<LPARAM>(&Search));
    return Search.Found;
}

} // namespace

int main(int argc, char** argv)
{
    HWND form = FindWindowA("TForm1", "Tessel");
    if (!form || argc < 2) {
        std::fprintf(stderr, "TesselClick: no running Tessel, or nothing to click\n");
        return 1;
    }
    DWORD process = 0;
    GetWindowThreadProcessId(form, &process);
    if (std::string(argv[1]) == "--tray-menu") {
        // The tray icon's notifications arrive at its hidden utility window;
        // the process's other utility windows (timers) ignore them.
        for (HWND wnd = nullptr; (wnd = FindWindowExA(nullptr, wnd, "TesselUtilWindow", nullptr)) != nullptr;) {
            DWORD id = 0;
            GetWindowThreadProcessId(wnd, &id);
            if (id == process)
                PostMessageA(wnd, WM_USER + 1, 0, WM_RBUTTONUP);
        }
        TSearch menu{process, "#32768", "", nullptr};
        return Wait(menu) ? 0 : 1;
    }
    const std::string command = argv[1];
    if ((command == "--maximize" || command == "--rect") && argc > 2) {
        TSearch window{process, argv[2], "", nullptr};
        if (!Wait(window))
            return 1;
        RECT r{};
        if (command == "--maximize")
            ShowWindow(window.Found, SW_MAXIMIZE);
        else if (GetWindowRect(window.Found, &r))
            std::printf("%ldx%ld+%ld+%ld\n", r.right - r.left, r.bottom - r.top, r.left, r.top);
        return 0;
    }
    TSearch search{process, argv[1], argc > 2 ? argv[2] : "", nullptr};
    HWND target = Wait(search);
    if (!target) {
        std::fprintf(stderr, "TesselClick: %s %s not found\n", argv[1], argc > 2 ? argv[2] : "");
        return 1;
    }
    if (argc > 2) {
        RECT r{};
        GetClientRect(target, &r);
        const LPARAM at = MAKELPARAM(r.right / 2, r.bottom / 2);
        PostMessageA(target, WM_MOUSEMOVE, 0, at);
        PostMessageA(target, WM_LBUTTONDOWN, MK_LBUTTON, at);
        PostMessageA(target, WM_LBUTTONUP, 0, at);
    }
    return 0;
}
