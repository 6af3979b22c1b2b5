// Side effects that tests must observe or must never really perform pass
// through one replaceable object: message boxes, the cursor position, a
// restart request, privilege changes, notification-area icons and ending
// the process. The installed object is the real one unless a test replaces it.
#pragma once

#include "platform/Win32.h"

#include <string>

namespace platform {

class TSystemServices {
public:
    virtual ~TSystemServices() = default;

    // A system message box; returns the button chosen (IDOK, IDYES, ...).
    virtual int ShowMessageBox(HWND Owner, const std::string& Text, const std::string& Caption, UINT Flags);
    virtual POINT CursorPos();
    // ExitWindowsEx.
    virtual bool RequestRestart(UINT Flags, DWORD Reason);
    // AdjustTokenPrivileges on Token with one privilege; returns the
    // system's last error right after the call (0 when every change was made).
    virtual DWORD AdjustPrivilege(HANDLE Token, LUID Privilege, DWORD Attributes);
    // Shell_NotifyIconA.
    virtual bool NotifyIcon(DWORD Message, NOTIFYICONDATAA* Data);
    // Ends the process; a test double may return instead.
    virtual void ExitProcess(UINT ExitCode);
    // Starts the program again, a new process with this one's command line
    // and folder, which ends this one by its process id before it goes on
    // (EndProcessStartedAgain); this one waits for that and never returns,
    // though a test double may. For a process that cannot end by itself:
    // ending runs every module's detach code under the system's loader
    // lock, which a thread stuck in a module's start-up code holds.
    virtual void StartAgain();
};

// The exit code of a process that StartAgain replaced.
constexpr UINT StartedAgainExitCode = 0x5A;

// In a process that StartAgain started: ends the process that started it
// and returns once it has ended, so that its single-instance guards are
// free. In any other process: nothing.
void EndProcessStartedAgain();

TSystemServices& SystemServices();
// Installs Services (not owned) and returns the previous object; nullptr restores the real one.
TSystemServices* SetSystemServices(TSystemServices* Services);

} // namespace platform
