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
#include "tests/support/ProcessWindows.h"

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

struct TButtonSearch {
    std::string Caption;
    HWND Found = nullptr;
    int Seen = 0;
};

BOOL CALLBACK FindButton(HWND Wnd, LPARAM Data)
{
    auto* s = reinterpret_cast<TButtonSearch*>(Data);
    if (Text(Wnd, true) != "KsButtonTx" || !IsWindowVisible(Wnd))
        return TRUE;
    const bool byIndex = s->Caption[0] == '@';
    if (byIndex ? ++s->Seen == std::atoi(s->Caption.c_str() + 1) : Text(Wnd, false) == s->Caption) {
        s->Found = Wnd;
        return FALSE;
    }
    return TRUE;
}

// A visible window of the class of the process or, with a caption, that
// button of it, within five seconds.
HWND Wait(DWORD Process, const std::string& Class, const std::string& Caption = "")
{
    for (int tries = 0; tries < 100; ++tries, Sleep(50))
        for (HWND top : testsupport::ProcessWindows(Process, Class.c_str())) {
            if (!IsWindowVisible(top))
                continue;
            if (Caption.empty())
                return top;
            TButtonSearch search{Caption};
            EnumChildWindows(top, FindButton, reinterpret_cast<LPARAM>(&search));
            if (search.Found)
                return search.Found;
        }
    return nullptr;
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
        for (HWND wnd : testsupport::ProcessWindows(process, "TesselUtilWindow"))
            PostMessageA(wnd, WM_USER + 1, 0, WM_RBUTTONUP);
        return Wait(process, "#32768") ? 0 : 1;
    }
    const std::string command = argv[1];
    if ((command == "--maximize" || command == "--rect") && argc > 2) {
        HWND window = Wait(process, argv[2]);
        if (!window)
            return 1;
        RECT r{};
        if (command == "--maximize")
            ShowWindow(window, SW_MAXIMIZE);
        else if (GetWindowRect(window, &r))
            std::printf("%ldx%ld+%ld+%ld\n", r.right - r.left, r.bottom - r.top, r.left, r.top);
        return 0;
    }
    HWND target = Wait(process, argv[1], argc > 2 ? argv[2] : "");
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
