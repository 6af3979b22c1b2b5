#include "platform/SystemServices.h"

#include <cstdlib>

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

// Names, in the new process's environment, the process that started it again.
const char HandoverVariable[] = "TESSEL_STARTED_AGAIN_BY";

std::string ProgramFile(HANDLE Process)
{
    char path[MAX_PATH] = {};
    DWORD size = MAX_PATH;
    return QueryFullProcessImageNameA(Process, 0, path, &size) ? std::string(path, size) : std::string();
}

} // namespace

void TSystemServices::StartAgain()
{
    const std::string program = ProgramFile(GetCurrentProcess());
    std::string folder = program.substr(0, program.find_last_of('\\') + 1);
    std::string line = GetCommandLineA();
    line.push_back('\0');
    SetEnvironmentVariableA(HandoverVariable, std::to_string(GetCurrentProcessId()).c_str());
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION started{};
    if (!program.empty() && CreateProcessA(program.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr,
                                           folder.empty() ? nullptr : folder.c_str(), &startup, &started)) {
        CloseHandle(started.hThread);
        // Ended by the new process; should that end first, this one ends itself.
        WaitForSingleObject(started.hProcess, INFINITE);
    }
    TerminateProcess(GetCurrentProcess(), StartedAgainExitCode);
}

void EndProcessStartedAgain()
{
    char text[16] = {};
    const DWORD n = GetEnvironmentVariableA(HandoverVariable, text, sizeof text);
    if (n == 0 || n >= sizeof text)
        return;
    SetEnvironmentVariableA(HandoverVariable, nullptr);
    const DWORD id = static_cast<DWORD>(std::strtoul(text, nullptr, 10));
    HANDLE previous = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE | PROCESS_QUERY_LIMITED_INFORMATION, FALSE, id);
    if (!previous)
        return;
    // Only the program that handed over: it waits to be ended, so its id
    // cannot have passed to another process.
    if (lstrcmpiA(ProgramFile(previous).c_str(), ProgramFile(GetCurrentProcess()).c_str()) == 0) {
        TerminateProcess(previous, StartedAgainExitCode);
        WaitForSingleObject(previous, 30000);
    }
    CloseHandle(previous);
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
