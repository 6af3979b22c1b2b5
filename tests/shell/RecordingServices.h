// A system-services double for the shell's in-process tests: it records
// every side effect as a line and performs none of them.
#pragma once

#include "platform/SystemServices.h"

#include <string>
#include <vector>

namespace shelltest {

class TRecordingServices : public platform::TSystemServices {
public:
    TRecordingServices() { FPrevious = platform::SetSystemServices(this); }
    ~TRecordingServices() override { platform::SetSystemServices(FPrevious); }
    TRecordingServices(const TRecordingServices&) = delete;
    TRecordingServices& operator=(const TRecordingServices&) = delete;

    int ShowMessageBox(HWND Owner, const std::string& Text, const std::string& Caption, UINT Flags) override
    {
        Log.push_back("box " + Caption + " " + std::to_string(Flags) + (Owner ? " owned" : "") + ": " + Text);
        return Answer;
    }
    POINT CursorPos() override { return Cursor; }
    bool RequestRestart(UINT Flags, DWORD Reason) override
    {
        Log.push_back("restart " + std::to_string(Flags) + " " + std::to_string(Reason));
        return true;
    }
    DWORD AdjustPrivilege(HANDLE, LUID Privilege, DWORD Attributes) override
    {
        char name[64] = {};
        DWORD size = sizeof name;
        LookupPrivilegeNameA(nullptr, &Privilege, name, &size);
        Log.push_back("privilege " + std::string(name) + " " + std::to_string(Attributes));
        return PrivilegeError;
    }
    bool NotifyIcon(DWORD Message, NOTIFYICONDATAA*) override
    {
        Log.push_back("icon " + std::to_string(Message));
        return true;
    }
    void ExitProcess(UINT ExitCode) override { Log.push_back("exit " + std::to_string(ExitCode)); }

    std::vector<std::string> Log;
    int Answer = IDOK;
    POINT Cursor{40, 50};
    DWORD PrivilegeError = 0;

private:
    platform::TSystemServices* FPrevious = nullptr;
};

} // namespace shelltest
