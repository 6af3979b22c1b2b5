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
};

TSystemServices& SystemServices();
// Installs Services (not owned) and returns the previous object; nullptr restores the real one.
TSystemServices* SetSystemServices(TSystemServices* Services);

} // namespace platform
