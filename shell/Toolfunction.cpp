#include "shell/Toolfunction.h"

#include "platform/SystemServices.h"

namespace tessel {

namespace {

bool SetPrivilege(const std::string& Name, DWORD Attributes)
{
    HANDLE token = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, &token))
        return false;
    LUID luid{};
    bool changed = false;
    if (LookupPrivilegeValueA(nullptr, Name.c_str(), &luid))
        changed = platform::SystemServices().AdjustPrivilege(token, luid, Attributes) == 0;
    CloseHandle(token);
    return changed;
}

} // namespace

bool EnablePrivilege(const std::string& Name)
{
    return SetPrivilege(Name, SE_PRIVILEGE_ENABLED);
}

bool DisablePrivilege(const std::string& Name)
{
    return SetPrivilege(Name, 0);
}

void RebootSystem()
{
    if (EnablePrivilege("SeShutdownPrivilege"))
        platform::SystemServices().RequestRestart(EWX_REBOOT | EWX_FORCE, 0);
    DisablePrivilege("SeShutdownPrivilege");
}

} // namespace tessel
