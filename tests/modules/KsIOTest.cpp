#include "ModuleHarness.h"
#include "support/PendingRenames.h"

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
    testsupport::PendingRenamesTurn FTurn; // first: taken before anything is read
    bool FHadPending;
    DWORD FType = REG_MULTI_SZ;
    std::vector<BYTE> FPending;
    bool FExisted[3];
};

// A list of pending renames as the registry holds it: pairs of a file and
// its new name (empty: delete it), each "\\??\\"-prefixed, in one
// REG_MULTI_SZ of wide strings.
std::wstring PendingList(std::initializer_list<std::string> Paths)
{
    std::wstring list;
    for (const std::string& path : Paths) {
        list.append(path.begin(), path.end());
        list.push_back(L'\0');
    }
    list.push_back(L'\0');
    return list;
}

void SetPendingList(const wchar_t* Name, const std::wstring& List)
{
    RegSetKeyValueW(HKEY_LOCAL_MACHINE, L"SYSTEM\\CurrentControlSet\\Control\\Session Manager", Name,
                    REG_MULTI_SZ, List.data(), static_cast<DWORD>(List.size() * sizeof(wchar_t)));
}

std::string ShortName(const std::string& Path)
{
    char name[MAX_PATH] = {};
    const DWORD n = GetShortPathNameA(Path.c_str(), name, MAX_PATH);
    return n > 0 && n < MAX_PATH ? std::string(name, n) : Path;
}

} // namespace

// Only the suite's own files waiting for the boot ask for a restart: other
// programs' pending renames and the update service's flag are theirs.
TEST(KsIO, AsksForARestartOnlyForTheSuitesOwnPendingFiles)
{
    TempFolder suite;
    const std::string folder = suite.Path() + "Suite Folder\\";
    CreateDirectoryA(folder.c_str(), nullptr);
    CreateDirectoryA((folder + "Page").c_str(), nullptr);
    ASSERT_TRUE(CopyFileA((SuiteBin() + "KsIO.dll").c_str(), (folder + "KsIO.dll").c_str(), FALSE));
    WriteWholeFile(folder + "Tessel.exe", "program");
    RestartSignals signals;
    {
        LoadedModule io(folder + "KsIO.dll");
        auto checkReboot = io.Entry<bool (*)()>("KSIO_CheckReboot");
        ASSERT_NE(checkReboot, nullptr);
        const auto asks = [&](const std::wstring& List, const wchar_t* Name = L"PendingFileRenameOperations") {
            SetPendingList(Name, List);
            const bool needed = checkReboot();
            RegDeleteKeyValueW(HKEY_LOCAL_MACHINE, L"SYSTEM\\CurrentControlSet\\Control\\Session Manager", Name);
            return needed;
        };

        EXPECT_FALSE(checkReboot()) << "no signal";
        EXPECT_FALSE(asks(PendingList({"\\??\\C:\\windows\\temp\\old.tmp", ""}))) << "another program's delete";
        EXPECT_FALSE(asks(PendingList({"\\??\\C:\\x\\new.dll", "!\\??\\C:\\x\\in use.dll"})))
            << "another program's replacement";
        SetRebootRequired(true);
        EXPECT_FALSE(checkReboot()) << "the update service's flag is its own";
        SetRebootRequired(false);

        EXPECT_TRUE(asks(PendingList({"\\??\\C:\\x\\old.tmp", "", "\\??\\" + folder + "Tessel.exe.new",
                                      "!\\??\\" + folder + "Tessel.exe"})))
            << "the program waits to be replaced, after another program's delete";
        EXPECT_TRUE(asks(PendingList({"\\??\\" + folder + "Page\\Gone.dll", ""})))
            << "a page module in a subfolder waits to be deleted";
        EXPECT_TRUE(asks(PendingList({"\\??\\C:\\x\\new.exe", "!\\??\\" + folder + "TESSEL.EXE"})))
            << "named as the target, in other letter case";
        EXPECT_TRUE(asks(PendingList({"\\??\\" + ShortName(folder + "Tessel.exe"), ""})))
            << "named by its short name";
        EXPECT_TRUE(asks(PendingList({"\\??\\" + folder + "KsIO.dll", ""}), L"PendingFileRenameOperations2"))
            << "in the second list";
        const std::wstring named = PendingList({"\\??\\" + folder + "Tessel.exe", ""});
        RegSetKeyValueW(HKEY_LOCAL_MACHINE, L"SYSTEM\\CurrentControlSet\\Control\\Session Manager",
                        L"PendingFileRenameOperations", REG_BINARY, named.data(),
                        static_cast<DWORD>(named.size() * sizeof(wchar_t)));
        EXPECT_FALSE(checkReboot()) << "a value of another type is no list";
        RegDeleteKeyValueW(HKEY_LOCAL_MACHINE, L"SYSTEM\\CurrentControlSet\\Control\\Session Manager",
                           L"PendingFileRenameOperations");
        const std::string sibling = folder.substr(0, folder.size() - 1) + " 2\\Tessel.exe";
        EXPECT_FALSE(asks(PendingList({"\\??\\" + sibling, ""}))) << "a folder whose name only starts alike";
        EXPECT_FALSE(asks(PendingList({"\\??\\" + folder.substr(0, folder.size() - 1), ""})))
            << "the folder itself (an uninstaller removing it)";
    }
    DeleteFileA((folder + "KsIO.dll").c_str());
    DeleteFileA((folder + "Tessel.exe").c_str());
    RemoveDirectoryA((folder + "Page").c_str());
    RemoveDirectoryA(folder.c_str());
}
