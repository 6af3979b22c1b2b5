#include "platform/FileSearch.h"
#include "platform/Encoding.h"

#include "platform/Win32.h"

namespace platform {

namespace {

// The system's limit for a path in its long form, with its terminating zero.
constexpr DWORD LongestPath = 32768;

// "C:\Work" as "\\?\C:\Work", "\\server\share" as "\\?\UNC\server\share":
// the form in which the wide functions take paths of any length. Only a
// full path with backslashes is meant; it is passed on as it is.
std::wstring LongForm(const std::wstring& Path)
{
    if (Path.rfind(L"\\\\?\\", 0) == 0)
        return Path;
    if (Path.rfind(L"\\\\", 0) == 0)
        return L"\\\\?\\UNC\\" + Path.substr(2);
    return L"\\\\?\\" + Path;
}

// The reverse of LongForm, for what goes back to the caller.
std::wstring ShortForm(const std::wstring& Path)
{
    if (Path.rfind(L"\\\\?\\UNC\\", 0) == 0)
        return L"\\\\" + Path.substr(8);
    if (Path.rfind(L"\\\\?\\", 0) == 0)
        return Path.substr(4);
    return Path;
}

// A drive without its medium answers with an error, not a message box.
class TQuietErrors {
public:
    TQuietErrors() : FMode(SetErrorMode(SEM_FAILCRITICALERRORS)) {}
    ~TQuietErrors() { SetErrorMode(FMode); }
    TQuietErrors(const TQuietErrors&) = delete;
    TQuietErrors& operator=(const TQuietErrors&) = delete;

private:
    UINT FMode;
};

} // namespace

uint32_t ListFolder(const std::string& Folder, const std::function<bool(const TFoundItem&)>& Found)
{
    std::wstring pattern = LongForm(Wide(Folder));
    if (pattern.back() != L'\\')
        pattern += L'\\';
    pattern += L'*';
    if (pattern.size() >= LongestPath)
        return ERROR_FILENAME_EXCED_RANGE;
    const TQuietErrors quiet;
    WIN32_FIND_DATAW data;
    HANDLE search = FindFirstFileExW(pattern.c_str(), FindExInfoBasic, &data, FindExSearchNameMatch, nullptr, 0);
    if (search == INVALID_HANDLE_VALUE) {
        const DWORD error = GetLastError();
        // Wine's server answers a path longer than its host allows with a
        // general failure: past MAX_PATH, that is what it means.
        if (error == ERROR_GEN_FAILURE && pattern.size() > MAX_PATH)
            return ERROR_FILENAME_EXCED_RANGE;
        if (error != ERROR_FILE_NOT_FOUND)
            return error;
        // An empty drive root has not even "." to find.
        pattern.pop_back();
        return GetFileAttributesW(pattern.c_str()) == INVALID_FILE_ATTRIBUTES ? ERROR_PATH_NOT_FOUND : 0;
    }
    DWORD error = 0;
    for (;;) {
        const std::wstring name = data.cFileName;
        if (name != L"." && name != L"..") {
            TFoundItem item;
            item.Name = Narrow(name);
            item.Folder = data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY;
            item.Link = data.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT;
            item.Bytes = item.Folder ? 0 : (static_cast<uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
            if (!Found(item))
                break;
        }
        if (!FindNextFileW(search, &data)) {
            error = GetLastError();
            break;
        }
    }
    FindClose(search);
    return error == ERROR_NO_MORE_FILES ? 0 : error;
}

uint32_t PathAttributes(const std::string& Path)
{
    const TQuietErrors quiet;
    return GetFileAttributesW(LongForm(Wide(FullPath(Path))).c_str());
}

std::string FullPath(const std::string& Path)
{
    const std::wstring wide = Wide(Path);
    std::wstring full(LongestPath, L'\0');
    const DWORD length = GetFullPathNameW(wide.c_str(), LongestPath, full.data(), nullptr);
    if (Path.empty() || length == 0 || length >= LongestPath)
        return {};
    full.resize(length);
    return Narrow(full);
}

std::string LongNamePath(const std::string& Path)
{
    // Not every system spells out short names in the long form: that form
    // only for a path too long for the other.
    const std::wstring wide = Wide(Path);
    std::wstring spelled(LongestPath, L'\0');
    DWORD length = GetLongPathNameW(wide.c_str(), spelled.data(), LongestPath);
    if (length == 0)
        length = GetLongPathNameW(LongForm(wide).c_str(), spelled.data(), LongestPath);
    if (length == 0 || length >= LongestPath)
        return Path;
    spelled.resize(length);
    return Narrow(ShortForm(spelled));
}

} // namespace platform
