#include "platform/SystemServices.h"

namespace platform {

int TSystemServices::ShowMessageBox(HWND Owner, const std::string& Text, const std::string& Caption, UINT Flags)
{
    return MessageBoxA(Owner, Text.c_str(), Caption.c_str(), Flags);
}

POINT TSystemServices::CursorPos()
{
    POINT p{0, 0};
    GetCursorPos(&p);
    return p;
}

bool TSystemServices::RequestRestart(UINT Flags, DWORD Reason)
{
    return ExitWindowsEx(Flags, Reason) != 0;
}

DWORD TSystemServices::AdjustPrivilege(HANDLE Token, LUID Privilege, DWORD Attributes)
{
    TOKEN_PRIVILEGES privileges{};
    privileges.PrivilegeCount = 1;
    privileges.Privileges[0].Luid = Privilege;
    privileges.Privileges[0].Attributes = Attributes;
    SetLastError(0);
    AdjustTokenPrivileges(Token, FALSE, &privileges, 0, nullptr, nullptr);
    return GetLastError();
}

bool TSystemServices::NotifyIcon(DWORD Message, NOTIFYICONDATAA* Data)
{
    return Shell_NotifyIconA(Message, Data) != 0;
}

void TSystemServices::ExitProcess(UINT ExitCode)
{
    ::ExitProcess(ExitCode);
}

namespace {
TSystemServices* Installed = nullptr;
}

TSystemServices& SystemServices()
{
    static TSystemServices& real = *new TSystemServices;
    return Installed ? *Installed : real;
}

TSystemServices* SetSystemServices(TSystemServices* Services)
{
    TSystemServices* previous = Installed;
    Installed = Services;
    return previous;
}

} // namespace platform
