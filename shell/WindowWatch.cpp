#include "shell/WindowWatch.h"
#include "shell/SuiteModules.h"

#include "platform/SystemServices.h"

namespace tessel {

namespace {

struct TWatch {
    TSuiteState& State;
    HANDLE WindowThread;
};

// How often the watch looks at the window thread's calls.
constexpr DWORD LookEvery = 1000;

bool Answers(HWND Window)
{
    DWORD_PTR result = 0;
    return !Window || SendMessageTimeoutA(Window, WM_NULL, 0, 0, SMTO_NORMAL, LookEvery, &result) != 0;
}

DWORD WINAPI Watch(void* Parameter)
{
    const TWatch watch = *static_cast<TWatch*>(Parameter);
    delete static_cast<TWatch*>(Parameter);
    TPageCalls& calls = watch.State.PageCalls;
    uint32_t call = 0;
    DWORD since = 0;
    for (;;) {
        if (WaitForSingleObject(watch.WindowThread, LookEvery) != WAIT_TIMEOUT) {
            platform::SystemServices().ExitProcess(WindowThreadEndedExitCode);
            return 0;
        }
        const uint32_t now = calls.ViewCall();
        if (now != call) {
            call = now;
            since = GetTickCount();
            continue;
        }
        // A view that shows a dialog of its own answers all along.
        if (call && GetTickCount() - since >= PageCallTimeout && !Answers(watch.State.ShellWindow) &&
            calls.ViewCall() == call) {
            calls.MarkHung(TPageCalls::ViewSlot);
            platform::SystemServices().StartAgain();
            return 0;
        }
    }
}

} // namespace

void WatchWindowThread(TSuiteState& State)
{
    HANDLE thread = nullptr;
    if (!DuplicateHandle(GetCurrentProcess(), GetCurrentThread(), GetCurrentProcess(), &thread, SYNCHRONIZE, FALSE,
                         0))
        return;
    auto* watch = new TWatch{State, thread};
    if (HANDLE watcher = CreateThread(nullptr, 64 * 1024, Watch, watch, 0, nullptr))
        CloseHandle(watcher);
    else {
        delete watch;
        CloseHandle(thread);
    }
}

} // namespace tessel
