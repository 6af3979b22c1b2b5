// The module of the shell benchmark, copied as PageContainer.dll, Bar.dll
// and every page module. Pages do nothing. The main-window and quick-bar
// copies note when they receive a command, on the system-wide performance
// counter, in bench.log beside the program: "<part> <code> <data?> <ticks>".
#include "platform/Win32.h"

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>

extern "C" IMAGE_DOS_HEADER __ImageBase;

namespace {

std::string Part()
{
    char path[MAX_PATH] = {};
    GetModuleFileNameA(reinterpret_cast<HMODULE>(&__ImageBase), path, MAX_PATH);
    std::string name = path;
    name = name.substr(name.find_last_of('\\') + 1);
    return name.substr(0, name.rfind('.'));
}

} // namespace

extern "C" void __stdcall Command(int32_t code, void* data)
{
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    static const std::string part = Part();
    if (part != "PageContainer" && part != "Bar")
        return;
    char line[128];
    std::snprintf(line, sizeof line, "%s %d %s %lld\r\n", part.c_str(), static_cast<int>(code),
                  data ? "data" : "null", static_cast<long long>(now.QuadPart));
    char path[MAX_PATH] = {};
    std::string log(path, GetModuleFileNameA(nullptr, path, MAX_PATH));
    log = log.substr(0, log.find_last_of('\\') + 1) + "bench.log";
    HANDLE file = CreateFileA(log.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return;
    DWORD written = 0;
    WriteFile(file, line, static_cast<DWORD>(std::strlen(line)), &written, nullptr);
    CloseHandle(file);
}
