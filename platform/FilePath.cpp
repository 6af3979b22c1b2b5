#include "platform/FilePath.h"
#include "platform/Win32.h"

namespace platform {

namespace {

std::string FullPath(const std::string& Path)
{
    char full[MAX_PATH];
    const DWORD n = GetFullPathNameA(Path.c_str(), MAX_PATH, full, nullptr);
    return n > 0 && n < MAX_PATH ? std::string(full, n) : std::string();
}

} // namespace

std::string PathWithin(const std::string& Folder, const std::string& Relative)
{
    std::string base = FullPath(Folder);
    if (base.empty())
        return {};
    if (base.back() != '\\')
        base += '\\';
    const std::string path = FullPath(base + Relative);
    if (path.size() <= base.size() || lstrcmpiA(path.substr(0, base.size()).c_str(), base.c_str()) != 0)
        return {};
    return path;
}

} // namespace platform
