#include "platform/Stream.h"

#include "platform/ClassBuilder.h"

#include <algorithm>
#include <cstring>
#include <limits>

namespace platform {

const TClassInfo& TStream::StaticClassInfo()
{
    static const TClassInfo& info = TClassBuilder<TStream, TObject>("TStream").Build();
    return info;
}

int64_t TStream::Size()
{
    const int64_t position = Seek(0, soCurrent);
    const int64_t size = Seek(0, soEnd);
    Seek(position, soBeginning);
    return size;
}

void TStream::SetSize(int64_t)
{
    throw EStreamError("Stream size cannot be changed");
}

void TStream::ReadBuffer(void* Buffer, size_t Count)
{
    if (Count != 0 && Read(Buffer, Count) != Count)
        throw EReadError("Stream read error");
}

void TStream::WriteBuffer(const void* Buffer, size_t Count)
{
    if (Count != 0 && Write(Buffer, Count) != Count)
        throw EStreamError("Stream write error");
}

int64_t TStream::CopyFrom(TStream* Source, int64_t Count)
{
    if (Count == 0) {
        Source->SetPosition(0);
        Count = Source->Size();
    }
    if (Count < 0)
        throw EStreamError("Stream read error");
    std::vector<uint8_t> buffer(static_cast<size_t>(std::min<int64_t>(Count, 0x10000)));
    for (int64_t left = Count; left > 0;) {
        const size_t n = static_cast<size_t>(std::min<int64_t>(left, static_cast<int64_t>(buffer.size())));
        Source->ReadBuffer(buffer.data(), n);
        WriteBuffer(buffer.data(), n);
        left -= static_cast<int64_t>(n);
    }
    return Count;
}

// ---------------------------------------------------------------- TMemoryStream

const TClassInfo& TMemoryStream::StaticClassInfo()
{
    static const TClassInfo& info = TClassBuilder<TMemoryStream, TStream>("TMemoryStream").Build();
    return info;
}

size_t TMemoryStream::Read(void* Buffer, size_t Count)
{
    if (FPosition >= FData.size())
        return 0;
    const size_t n = std::min(Count, FData.size() - FPosition);
    std::memcpy(Buffer, FData.data() + FPosition, n);
    FPosition += n;
    return n;
}

size_t TMemoryStream::Write(const void* Buffer, size_t Count)
{
    if (Count == 0)
        return 0;
    if (Count > FData.max_size() - FPosition)
        return 0;
    const size_t end = FPosition + Count;
    if (end > FData.size())
        FData.resize(end);
    std::memcpy(FData.data() + FPosition, Buffer, Count);
    FPosition = end;
    return Count;
}

int64_t TMemoryStream::Seek(int64_t Offset, TSeekOrigin Origin)
{
    int64_t base = 0;
    if (Origin == soCurrent)
        base = static_cast<int64_t>(FPosition);
    else if (Origin == soEnd)
        base = static_cast<int64_t>(FData.size());
    // Seeking past the end is allowed; a later write fills the gap with zeros.
    if ((Offset < 0 && base + Offset < 0) ||
        (Offset > 0 && Offset > static_cast<int64_t>(std::numeric_limits<size_t>::max() >> 1) - base))
        throw EStreamError("Invalid stream position");
    FPosition = static_cast<size_t>(base + Offset);
    return static_cast<int64_t>(FPosition);
}

void TMemoryStream::SetSize(int64_t Value)
{
    if (Value < 0 || static_cast<uint64_t>(Value) > (std::numeric_limits<size_t>::max() >> 1))
        throw EStreamError("Invalid stream size");
    FData.resize(static_cast<size_t>(Value));
    FPosition = std::min(FPosition, FData.size());
}

void TMemoryStream::Clear()
{
    FData.clear();
    FPosition = 0;
}

void TMemoryStream::LoadFromStream(TStream* Stream)
{
    Stream->SetPosition(0);
    const int64_t size = Stream->Size();
    std::vector<uint8_t> data(static_cast<size_t>(size));
    Stream->ReadBuffer(data.data(), data.size());
    FData = std::move(data);
    FPosition = 0;
}

void TMemoryStream::SaveToStream(TStream* Stream)
{
    Stream->WriteBuffer(FData.data(), FData.size());
}

} // namespace platform
