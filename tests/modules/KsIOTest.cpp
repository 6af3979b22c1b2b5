#include "ModuleHarness.h"

#include <gtest/gtest.h>

#include <vector>

using namespace moduletest;

namespace {

const char* const SessionManager = "SYSTEM\\CurrentControlSet\\Control\\Session Manager";
const char* const Pending = "PendingFileRenameOperations";
// Created from the outside in; each one that was missing is removed again.
const char* const UpdateKeys[] = {
    "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\WindowsUpdate",
    "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\WindowsUpdate\\Auto Update",
    "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\WindowsUpdate\\Auto Update\\RebootRequired",
};

bool KeyExists(const char* path)
{
    HKEY key;
    bool exists = RegOpenKeyExA(HKEY_LOCAL_MACHINE, path, 0, KEY_READ, &key) == ERROR_SUCCESS;
    if (exists)
        RegCloseKey(key);
    return exists;
}

void SetPending(const void* data, DWORD size, DWORD type = REG_MULTI_SZ)
{
    if (data)
        RegSetKeyValueA(HKEY_LOCAL_MACHINE, SessionManager, Pending, type, data, size);
    else
        RegDeleteKeyValueA(HKEY_LOCAL_MACHINE, SessionManager, Pending);
}

void SetRebootRequired(bool present)
{
    HKEY key;
    if (present && RegCreateKeyExA(HKEY_LOCAL_MACHINE, UpdateKeys[2], 0, nullptr, 0, KEY_WRITE, nullptr, &key,
                                   nullptr) == ERROR_SUCCESS)
        RegCloseKey(key);
    if (!present)
        RegDeleteKeyA(HKEY_LOCAL_MACHINE, UpdateKeys[2]);
}

// Takes both restart signals out of the test prefix and puts back what was
// there, whatever the test does in between. (A RebootRequired key that was
// there comes back as an empty key: Windows only looks at its presence.)
class RestartSignals {
public:
    RestartSignals()
    {
        DWORD size = 0;
        FHadPending = RegGetValueA(HKEY_LOCAL_MACHINE, SessionManager, Pending, RRF_RT_ANY | RRF_NOEXPAND, &FType,
                                   nullptr, &size) == ERROR_SUCCESS;
        FPending.resize(size);
        if (FHadPending)
            RegGetValueA(HKEY_LOCAL_MACHINE, SessionManager, Pending, RRF_RT_ANY | RRF_NOEXPAND, nullptr,
                         FPending.data(), &size);
        for (int i = 0; i < 3; ++i)
            FExisted[i] = KeyExists(UpdateKeys[i]);
        SetPending(nullptr, 0);
        SetRebootRequired(false);
    }
    ~RestartSignals()
    {
        SetPending(FHadPending ? FPending.data() : nullptr, static_cast<DWORD>(FPending.size()), FType);
        SetRebootRequired(FExisted[2]);
        for (int i = 1; i >= 0; --i)
            if (!FExisted[i])
                RegDeleteKeyA(HKEY_LOCAL_MACHINE, UpdateKeys[i]);
    }

private:
    bool FHadPending;
    DWORD FType = REG_MULTI_SZ;
    std::vector<BYTE> FPending;
    bool FExisted[3];
};

} // namespace

TEST(KsIO, ReportsWhatWindowsSaysAboutAPendingRestart)
{
    LoadedModule io(SuiteBin() + "KsIO.dll");
    auto checkReboot = io.Entry<bool (*)()>("KSIO_CheckReboot");
    ASSERT_NE(checkReboot, nullptr);
    RestartSignals signals;
    const char files[] = "\\??\\C:\\windows\\temp\\old.tmp\0";

    EXPECT_FALSE(checkReboot()) << "no signal";
    SetPending(files, sizeof files);
    EXPECT_TRUE(checkReboot()) << "a file waits to be deleted at boot";
    SetPending("\0", 2);
    EXPECT_FALSE(checkReboot()) << "the list left empty after a boot";
    SetPending("", 0);
    EXPECT_FALSE(checkReboot()) << "a value without data";

    SetPending(nullptr, 0);
    SetRebootRequired(true);
    EXPECT_TRUE(checkReboot()) << "the update service asks for a restart";
    SetPending(files, sizeof files);
    EXPECT_TRUE(checkReboot()) << "both signals";
    SetRebootRequired(false);
    SetPending(nullptr, 0);
    EXPECT_FALSE(checkReboot()) << "both gone again";
}
