// A local message loop for tests that wait for window messages: it always
// ends, at the latest when the deadline passes.
#pragma once

#include "platform/Win32.h"

#include <functional>

// Dispatches messages until Done() holds (true) or Milliseconds pass (false).
inline bool PumpUntil(const std::function<bool()>& Done, DWORD Milliseconds)
{
    const DWORD start = GetTickCount();
    for (;;) {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
        if (Done())
            return true;
        const DWORD elapsed = GetTickCount() - start;
        if (elapsed >= Milliseconds)
            return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, Milliseconds - elapsed < 10 ? Milliseconds - elapsed : 10,
                                  QS_ALLINPUT);
    }
}

// Dispatches messages for the whole period.
inline void PumpFor(DWORD Milliseconds)
{
    PumpUntil([] { return false; }, Milliseconds);
}
