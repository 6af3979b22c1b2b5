// KsIO.dll: the suite's I/O module. Tessel asks it once per start whether
// Windows must restart before the suite can work.
//
// That is so only while one of the suite's own files waits for the next boot
// to be replaced or deleted (an upgrade that met a file in use): the files on
// disk are not yet the ones the suite needs. Other programs' pending renames
// and the update service's wish to restart are theirs; asking on their
// behalf would make the suite ask at every start for days, and a No ends it.
#include "platform/Win32.h"

#include <string>
#include <vector>

extern "C" IMAGE_DOS_HEADER __ImageBase;

namespace {

// A 32-bit module on 64-bit Windows reads the same key either way; the flag
// keeps it so should Windows ever redirect it.
constexpr REGSAM ReadAccess = KEY_READ | KEY_WOW64_64KEY;

// The long form of a path (each existing part of it spelt out as the
// directory lists it): a list may name a file by its short alias.
std::wstring LongPath(const std::wstring& Path)
{
    std::wstring head = Path, tail;
    // A file to be deleted or created may not exist; its folder does.
    for (int parts = 0; parts < 64 && !head.empty(); ++parts) {
        DWORD n = GetLongPathNameW(head.c_str(), nullptr, 0);
        if (n > 0) {
            std::wstring full(n, L'\0');
            n = GetLongPathNameW(head.c_str(), full.data(), n);
            full.resize(n);
            return full + tail;
        }
        const size_t slash = head.find_last_of(L'\\');
        if (slash == std::wstring::npos)
            break;
        tail = head.substr(slash) + tail;
        head.erase(slash);
    }
    return Path;
}

// This module's folder with its trailing backslash, in its long form.
std::wstring SuiteFolder()
{
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD n = GetModuleFileNameW(reinterpret_cast<HMODULE>(&__ImageBase), path.data(),
                                           static_cast<DWORD>(path.size()));
        if (n == 0)
            return {};
        if (n < path.size()) {
            path.resize(n);
            break;
        }
        path.resize(path.size() * 2);
    }
    path.erase(path.find_last_of(L'\\') + 1);
    return LongPath(path.substr(0, path.size() - 1)) + L'\\';
}

// A path as the pending list spells it ("\??\C:\x", with a leading "!" on a
// target that may replace an existing file), as a plain full path.
std::wstring PlainPath(std::wstring Path)
{
    if (!Path.empty() && Path[0] == L'!')
        Path.erase(0, 1);
    for (const wchar_t* prefix : {L"\\??\\", L"\\\\?\\"})
        if (Path.compare(0, 4, prefix) == 0) {
            Path.erase(0, 4);
            break;
        }
    return Path;
}

bool Inside(const std::wstring& Path, const std::wstring& Folder)
{
    if (Folder.size() < 2 || Path.size() <= Folder.size())
        return false;
    return CompareStringOrdinal(Path.c_str(), static_cast<int>(Folder.size()), Folder.c_str(),
                                static_cast<int>(Folder.size()), TRUE) == CSTR_EQUAL;
}

// The strings of a REG_MULTI_SZ (or REG_SZ) value; none when it is missing
// or of another type. The value may grow between the size query and the read.
std::vector<std::wstring> ReadList(HKEY Key, const wchar_t* Name)
{
    std::vector<wchar_t> data;
    DWORD type = 0, size = 0;
    LONG result = RegQueryValueExW(Key, Name, nullptr, &type, nullptr, &size);
    for (int attempt = 0; result == ERROR_SUCCESS && attempt < 4; ++attempt) {
        data.assign(size / sizeof(wchar_t) + 2, L'\0');
        DWORD got = static_cast<DWORD>((data.size() - 2) * sizeof(wchar_t));
        result = RegQueryValueExW(Key, Name, nullptr, &type, reinterpret_cast<BYTE*>(data.data()), &got);
        if (result == ERROR_MORE_DATA) {
            size = got;
            result = ERROR_SUCCESS;
            continue;
        }
        if (result != ERROR_SUCCESS || (type != REG_MULTI_SZ && type != REG_SZ))
            break;
        // Empty strings stand in the list (the target of a delete), so it
        // is read to its size; the two spare terminators end a last string
        // that lacks its own.
        const size_t count = got / sizeof(wchar_t);
        std::vector<std::wstring> list;
        for (size_t i = 0; i < count; i += list.back().size() + 1)
            list.emplace_back(data.data() + i);
        return list;
    }
    return {};
}

// Whether a rename or delete that Windows will carry out at the next boot
// names a file inside Folder (as its source or as its target).
bool SuiteFilesPending(const std::wstring& Folder)
{
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"SYSTEM\\CurrentControlSet\\Control\\Session Manager", 0, ReadAccess,
                      &key) != ERROR_SUCCESS)
        return false;
    bool pending = false;
    for (const wchar_t* name : {L"PendingFileRenameOperations", L"PendingFileRenameOperations2"})
        for (const std::wstring& entry : ReadList(key, name))
            if (!entry.empty() && Inside(LongPath(PlainPath(entry)), Folder))
                pending = true;
    RegCloseKey(key);
    return pending;
}

} // namespace

extern "C" bool KSIO_CheckReboot()
{
    const std::wstring folder = SuiteFolder();
    return !folder.empty() && SuiteFilesPending(folder);
}
