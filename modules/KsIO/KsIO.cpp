// KsIO.dll: the suite's I/O module. Tessel asks it once per start whether
// Windows must restart before the suite can work.
#include "platform/Win32.h"

#include <vector>

namespace {

// A 32-bit module on 64-bit Windows would otherwise read the redirected
// 32-bit view of SOFTWARE, where the update service never writes; on 32-bit
// Windows the flag is ignored.
constexpr REGSAM ReadAccess = KEY_READ | KEY_WOW64_64KEY;

// Windows lists here the files it will move or delete at the next boot; the
// value stays behind, empty, on some systems after the boot has done it.
bool FileRenamesPending()
{
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, "SYSTEM\\CurrentControlSet\\Control\\Session Manager", 0,
                      ReadAccess, &key) != ERROR_SUCCESS)
        return false;

    // The value may grow between the size query and the read; one that keeps
    // growing after a few attempts is certainly not empty.
    bool pending = false;
    std::vector<BYTE> data;
    DWORD size = 0;
    LONG result = RegQueryValueExA(key, "PendingFileRenameOperations", nullptr, nullptr, nullptr, &size);
    for (int attempt = 0; result == ERROR_SUCCESS; ++attempt) {
        data.resize(size);
        result = RegQueryValueExA(key, "PendingFileRenameOperations", nullptr, nullptr,
                                  data.empty() ? nullptr : data.data(), &size);
        if (result == ERROR_SUCCESS) {
            for (DWORD i = 0; i < size && i < data.size(); ++i)
                pending = pending || data[i] != 0;
            break;
        }
        if (result == ERROR_MORE_DATA) {
            pending = attempt >= 3;
            result = pending ? ERROR_MORE_DATA : ERROR_SUCCESS;
        }
    }
    RegCloseKey(key);
    return pending;
}

bool UpdateNeedsRestart()
{
    HKEY key = nullptr;
    LONG result = RegOpenKeyExA(HKEY_LOCAL_MACHINE,
        "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\WindowsUpdate\\Auto Update\\RebootRequired", 0,
        ReadAccess, &key);
    if (result == ERROR_SUCCESS)
        RegCloseKey(key);
    // A key we may not read still exists.
    return result == ERROR_SUCCESS || result == ERROR_ACCESS_DENIED;
}

} // namespace

extern "C" bool KSIO_CheckReboot()
{
    return FileRenamesPending() || UpdateNeedsRestart();
}
