#include "platform/IniStore.h"
#include "platform/Win32.h"

namespace platform {

namespace {

uint64_t Ticks(const FILETIME& Time)
{
    return (static_cast<uint64_t>(Time.dwHighDateTime) << 32) | Time.dwLowDateTime;
}

} // namespace

bool ReadFileBytes(const std::string& Path, std::string& Bytes)
{
    Bytes.clear();
    HANDLE file = CreateFileA(Path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                              nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        const DWORD error = GetLastError();
        return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
    }
    bool read = true;
    char block[65536];
    for (DWORD n = 0; (read = ReadFile(file, block, sizeof block, &n, nullptr)) && n > 0;)
        Bytes.append(block, n);
    CloseHandle(file);
    return read;
}

bool ReplaceFileBytes(const std::string& Path, const std::string& Bytes)
{
    // A read-only file is not replaced (a move over it does not always refuse).
    WIN32_FILE_ATTRIBUTE_DATA old{};
    const bool exists = GetFileAttributesExA(Path.c_str(), GetFileExInfoStandard, &old);
    if (exists && (old.dwFileAttributes & FILE_ATTRIBUTE_READONLY))
        return false;
    const std::string temporary = Path + ".new";
    HANDLE file = CreateFileA(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                              nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    DWORD written = 0;
    bool done = WriteFile(file, Bytes.data(), static_cast<DWORD>(Bytes.size()), &written, nullptr) &&
                written == Bytes.size() && FlushFileBuffers(file);
    // Readers that keep a file's contents until its write time changes (the
    // profile functions do) must see another time, also for a second write
    // within one step of the file system's clock.
    FILETIME time{};
    if (done && exists && GetFileTime(file, nullptr, nullptr, &time) &&
        Ticks(time) <= Ticks(old.ftLastWriteTime)) {
        const uint64_t later = Ticks(old.ftLastWriteTime) + 1;
        time = {static_cast<DWORD>(later), static_cast<DWORD>(later >> 32)};
        SetFileTime(file, nullptr, nullptr, &time);
    }
    CloseHandle(file);
    done = done && MoveFileExA(temporary.c_str(), Path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
    if (!done)
        DeleteFileA(temporary.c_str());
    return done;
}

bool EditIniFile(const std::string& Path, const std::function<void(TIniFile&)>& Edit)
{
    std::string before;
    const bool read = ReadFileBytes(Path, before) && !TIniFile::IsUtf16(before);
    TIniFile ini(read ? before : std::string());
    Edit(ini);
    if (!read)
        return false;
    const std::string after = ini.Text();
    return after == before || ReplaceFileBytes(Path, after);
}

} // namespace platform
