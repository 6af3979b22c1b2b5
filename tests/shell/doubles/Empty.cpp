// A module that loads but has none of the entries the shell looks up.
#include "platform/Win32.h"

BOOL WINAPI DllMain(HINSTANCE, DWORD, LPVOID)
{
    return TRUE;
}
