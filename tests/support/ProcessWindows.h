// The top-level windows of one process, found by class: test programs, the
// tools that drive a running suite and the benchmarks share the machine's
// desktop with other programs showing windows of the same classes.
#pragma once

#include "platform/Win32.h"

#include <vector>

namespace testsupport {

// The process's top-level windows of the class (and the title, when given), front to back.
inline std::vector<HWND> ProcessWindows(DWORD Process, const char* Class, const char* Title = nullptr)
{
    std::vector<HWND> found;
    for (HWND wnd = nullptr; (wnd = FindWindowExA(nullptr, wnd, Class, Title)) != nullptr;) {
        DWORD id = 0;
        GetWindowThreadProcessId(wnd, &id);
        if (id == Process)
            found.push_back(wnd);
    }
    return found;
}

// The first of them, or null.
inline HWND ProcessWindow(DWORD Process, const char* Class, const char* Title = nullptr)
{
    const std::vector<HWND> found = ProcessWindows(Process, Class, Title);
    return found.empty() ? nullptr : found.front();
}

// The first of them that is visible, or null.
inline HWND VisibleProcessWindow(DWORD Process, const char* Class, const char* Title = nullptr)
{
    for (HWND wnd : ProcessWindows(Process, Class, Title))
        if (IsWindowVisible(wnd))
            return wnd;
    return nullptr;
}

} // namespace testsupport
