// Keeps a Wine session's desktop in use while the session lasts: one hidden
// window, and nothing else, until the session scripts end it. Wine ends its
// desktop process once no other program has a window; the next program to
// open one starts it again as its own child, which then holds that
// program's output open. Started once per session, detached from every
// caller's output, this program spares each test program that start.
//
// Its argument names a file that it creates once its window is up (and with
// it the desktop), so that the script can wait for that before anything
// else opens a window.
#include "platform/Win32.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR Arguments, int)
{
    if (!CreateWindowExA(WS_EX_TOOLWINDOW, "STATIC", "TesselSession", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, nullptr,
                         nullptr))
        return 1;
    if (*Arguments) {
        HANDLE ready = CreateFileA(Arguments, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (ready != INVALID_HANDLE_VALUE)
            CloseHandle(ready);
    }
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0)
        DispatchMessageA(&message);
    return 0;
}
