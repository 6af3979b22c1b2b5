#include "platform/Stream.h"
#include "platform/ClassBuilder.h"
#include "platform/Win32.h"

#include <algorithm>

namespace platform {

void TMemoryStream::LoadFromFile(const std::string& FileName)
{
    TFileStream file(FileName, fmOpenRead);
    LoadFromStream(&file);
}

void TMemoryStream::SaveToFile(const std::string& FileName)
{
    TFileStream file(FileName, fmCreate);
    SaveToStream(&file);
}

// ---------------------------------------------------------------- TFileStream

const TClassInfo& TFileStream::StaticClassInfo()
{
    static const TClassInfo& info = TClassBuilder<TFileStream, TStream>("TFileStream").Build();
    return info;
}

TFileStream::TFileStream(const std::string& FileName, TFileMode Mode) : FFileName(FileName)
{
    if (Mode == fmCreate) {
        FHandle = CreateFileA(FileName.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                              CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (FHandle == INVALID_HANDLE_VALUE)
            throw EFCreateError("Cannot create file \"" + FileName + "\".");
    } else {
        const DWORD access = Mode == fmOpenRead ? GENERIC_READ : GENERIC_READ | GENERIC_WRITE;
        FHandle = CreateFileA(FileName.c_str(), access, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
        if (FHandle == INVALID_HANDLE_VALUE)
            throw EFOpenError("Cannot open file \"" + FileName + "\".");
    }
}

TFileStream::~TFileStream()
{
    CloseHandle(FHandle);
}

size_t TFileStream::Read(void* Buffer, size_t Count)
{
    size_t total = 0;
    auto* out = static_cast<uint8_t*>(Buffer);
    while (total < Count) {
        DWORD chunk = static_cast<DWORD>(std::min<size_t>(Count - total, 0x40000000));
        DWORD done = 0;
        if (!ReadFile(FHandle, out + total, chunk, &done, nullptr) || done == 0)
            break;
        total += done;
    }
    return total;
}

size_t TFileStream::Write(const void* Buffer, size_t Count)
{
    size_t total = 0;
    const auto* in = static_cast<const uint8_t*>(Buffer);
    while (total < Count) {
        DWORD chunk = static_cast<DWORD>(std::min<size_t>(Count - total, 0x40000000));
        DWORD done = 0;
        if (!WriteFile(FHandle, in + total, chunk, &done, nullptr) || done == 0)
            break;
        total += done;
    }
    return total;
}

int64_t TFileStream::Seek(int64_t Offset, TSeekOrigin Origin)
{
    static constexpr DWORD Methods[] = {FILE_BEGIN, FILE_CURRENT, FILE_END};
    LARGE_INTEGER distance;
    distance.QuadPart = Offset;
    LARGE_INTEGER result;
    if (!SetFilePointerEx(FHandle, distance, &result, Methods[Origin]))
        throw EStreamError("Invalid stream position");
    return result.QuadPart;
}

void TFileStream::SetSize(int64_t Value)
{
    const int64_t position = Position();
    SetPosition(Value);
    if (!SetEndOfFile(FHandle))
        throw EStreamError("Stream size cannot be changed");
    if (position < Value)
        SetPosition(position);
}

} // namespace platform
