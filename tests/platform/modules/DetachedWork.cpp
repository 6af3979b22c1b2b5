// A module whose work runs on a detached thread: the work announces its
// thread, waits until the test releases it, and then still runs code of
// this module (it returns into it), so an unload under it would fault.
#include "platform/DetachedThread.h"
#include "platform/Win32.h"

extern "C" __declspec(dllexport) void __cdecl StartWork(HANDLE Started, HANDLE Release, HANDLE* Thread)
{
    platform::RunDetached([=] {
        DuplicateHandle(GetCurrentProcess(), GetCurrentThread(), GetCurrentProcess(), Thread, SYNCHRONIZE, FALSE, 0);
        SetEvent(Started);
        WaitForSingleObject(Release, INFINITE);
        // Code of this module after the wait.
        volatile int after = 0;
        for (int i = 0; i < 1000; ++i)
            after = after + i;
    });
}
