#include "platform/IniSnapshot.h"
#include "platform/IniStore.h"
#include "platform/Win32.h"

#include <vector>

namespace platform {

TIniSnapshot::TIniSnapshot(std::string Path) : FPath(std::move(Path))
{
    std::string text;
    if (ReadFileBytes(FPath, text) && !TIniFile::IsUtf16(text))
        FIni.emplace(text);
}

std::string TIniSnapshot::Read(const std::string& Section, const std::string& Key, int BufferSize)
{
    if (FIni)
        return FIni->Read(Section, Key, BufferSize);
    std::vector<char> buffer(static_cast<size_t>(BufferSize), '\0');
    const DWORD n = GetPrivateProfileStringA(Section.c_str(), Key.c_str(), "", buffer.data(),
                                             static_cast<DWORD>(BufferSize), FPath.c_str());
    return std::string(buffer.data(), n);
}

} // namespace platform
