#include "platform/Encoding.h"

#include "platform/Win32.h"

namespace platform {

std::string Narrow(const std::wstring& Text)
{
    if (Text.empty())
        return {};
    const int length = static_cast<int>(Text.size());
    const int size = WideCharToMultiByte(CP_ACP, 0, Text.data(), length, nullptr, 0, nullptr, nullptr);
    std::string result(static_cast<size_t>(size > 0 ? size : 0), '\0');
    WideCharToMultiByte(CP_ACP, 0, Text.data(), length, result.data(), size, nullptr, nullptr);
    return result;
}

std::wstring Wide(const std::string& Text)
{
    if (Text.empty())
        return {};
    const int length = static_cast<int>(Text.size());
    const int size = MultiByteToWideChar(CP_ACP, 0, Text.data(), length, nullptr, 0);
    std::wstring result(static_cast<size_t>(size > 0 ? size : 0), L'\0');
    MultiByteToWideChar(CP_ACP, 0, Text.data(), length, result.data(), size);
    return result;
}

} // namespace platform
