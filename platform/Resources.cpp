#include "platform/Resources.h"
#include "platform/Encoding.h"
#include "platform/Win32.h"

#include <vector>

extern "C" IMAGE_DOS_HEADER __ImageBase;

namespace platform {

// String tables are stored in blocks of sixteen counted UTF-16 strings; block
// n + 1 holds the identifiers 16n to 16n + 15. Reading the block directly
// takes strings of any length, where LoadStringA needs a buffer size first.
std::string LoadStr(int Id)
{
    if (Id < 0 || Id > 0xFFFF)
        return std::string();
    const HMODULE module = reinterpret_cast<HMODULE>(&__ImageBase);
    HRSRC resource = FindResourceA(module, MAKEINTRESOURCEA(Id / 16 + 1), MAKEINTRESOURCEA(6) /* RT_STRING */);
    if (!resource)
        return std::string();
    HGLOBAL loaded = LoadResource(module, resource);
    const auto* data = loaded ? static_cast<const WCHAR*>(LockResource(loaded)) : nullptr;
    if (!data)
        return std::string();
    const size_t available = SizeofResource(module, resource) / sizeof(WCHAR);
    size_t at = 0;
    for (int index = 0; index < Id % 16; ++index) {
        if (at >= available)
            return std::string();
        at += 1 + data[at];
    }
    if (at >= available || data[at] == 0 || data[at] > available - at - 1)
        return std::string();
    const int length = data[at];
    const WCHAR* text = data + at + 1;
    return Narrow(std::wstring(text, static_cast<size_t>(length)));
}

bool FindFormResource(const std::string& ClassName, std::string& Text)
{
    const HMODULE module = reinterpret_cast<HMODULE>(&__ImageBase);
    HRSRC resource = FindResourceA(module, ClassName.c_str(), MAKEINTRESOURCEA(10) /* RT_RCDATA */);
    if (!resource)
        return false;
    HGLOBAL loaded = LoadResource(module, resource);
    const char* data = loaded ? static_cast<const char*>(LockResource(loaded)) : nullptr;
    if (!data)
        return false;
    Text.assign(data, SizeofResource(module, resource));
    return true;
}

} // namespace platform
