// Opens a running Tessel.exe's exit question as a person would: a right
// click on its tray icon, then the last item of the menu that opens (Exit).
// The screenshot script uses it. Exit code 0 once the question is on the
// screen, 1 when no Tessel was found or the question did not come up.
#include "platform/Win32.h"
#include "tests/support/ProcessWindows.h"

#include <cstdio>
#include <string>
#include <vector>

namespace {

// The first visible window of the class, within five seconds.
HWND WaitVisible(DWORD Process, const char* Class)
{
    for (int tries = 0; tries < 100; ++tries, Sleep(50))
        if (HWND wnd = testsupport::VisibleProcessWindow(Process, Class))
            return wnd;
    return nullptr;
}

} // namespace

int main()
{
    HWND form = FindWindowA("TForm1", "Tessel");
    if (!form) {
        std::fprintf(stderr, "TesselExit: no running Tessel\n");
        return 1;
    }
    DWORD process = 0;
    GetWindowThreadProcessId(form, &process);
    // The tray icon's notifications arrive at its hidden utility window; the
    // program's other utility windows (timers) ignore them.
    for (HWND wnd : testsupport::ProcessWindows(process, "TesselUtilWindow"))
        PostMessageA(wnd, WM_USER + 1, 0, WM_RBUTTONUP);

    HWND menu = WaitVisible(process, "#32768");
    if (!menu) {
        std::fprintf(stderr, "TesselExit: the tray menu did not open\n");
        return 1;
    }
    // Up from no selection highlights the last item.
    for (WPARAM key : {VK_UP, VK_RETURN}) {
        PostMessageA(menu, WM_KEYDOWN, key, 1);
        PostMessageA(menu, WM_KEYUP, key, 0xC0000001);
    }
    if (!WaitVisible(process, "TfrmMsg")) {
        std::fprintf(stderr, "TesselExit: the exit question did not come up\n");
        return 1;
    }
    return 0;
}
