// Ends a running Tessel.exe through its own close path: the system close
// command to its hidden main form, as the window manager would send it.
// Exit code 0 when the command was delivered, 1 when no Tessel was found.
#include "platform/Win32.h"

#include <cstdio>

int main()
{
    HWND form = FindWindowA("TForm1", "Tessel");
    if (!form) {
        std::fprintf(stderr, "TesselClose: no running Tessel (its main form is not there yet, or no more)\n");
        return 1;
    }
    PostMessageA(form, WM_SYSCOMMAND, SC_CLOSE, 0);
    return 0;
}
