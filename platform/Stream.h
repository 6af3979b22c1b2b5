// Byte streams: the abstract TStream with exact-size reads and writes, a
// stream in memory and a stream over a file. Everything but the file stream
// (FileStream.cpp, with the memory stream's file loading and saving) is
// plain C++, so that the form-file and BMP readers also build without Win32.
#pragma once

#include "platform/Object.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace platform {

enum TSeekOrigin { soBeginning, soCurrent, soEnd };

class TStream : public TObject {
    PLATFORM_CLASS(TStream, TObject)
public:
    // Transfer up to Count bytes and return how many were transferred.
    virtual size_t Read(void* Buffer, size_t Count) = 0;
    virtual size_t Write(const void* Buffer, size_t Count) = 0;
    // The new position from the origin; raises EStreamError for a position before the start.
    virtual int64_t Seek(int64_t Offset, TSeekOrigin Origin) = 0;

    int64_t Position() { return Seek(0, soCurrent); }
    void SetPosition(int64_t Value) { Seek(Value, soBeginning); }
    virtual int64_t Size();
    virtual void SetSize(int64_t Value);
    // Bytes left between the position and the end.
    int64_t Remaining() { return Size() - Position(); }

    // Exactly Count bytes or an exception: EReadError for a short read,
    // EStreamError for a short write.
    void ReadBuffer(void* Buffer, size_t Count);
    void WriteBuffer(const void* Buffer, size_t Count);
    // Copies Count bytes from Source (all of it from its start when Count is 0).
    int64_t CopyFrom(TStream* Source, int64_t Count);
};

class TMemoryStream : public TStream {
    PLATFORM_CLASS(TMemoryStream, TStream)
public:
    TMemoryStream() = default;
    explicit TMemoryStream(std::vector<uint8_t> Bytes) : FData(std::move(Bytes)) {}

    size_t Read(void* Buffer, size_t Count) override;
    size_t Write(const void* Buffer, size_t Count) override;
    int64_t Seek(int64_t Offset, TSeekOrigin Origin) override;
    int64_t Size() override { return static_cast<int64_t>(FData.size()); }
    void SetSize(int64_t Value) override;

    uint8_t* Memory() { return FData.data(); }
    const std::vector<uint8_t>& Bytes() const { return FData; }
    void Clear();
    void LoadFromStream(TStream* Stream);
    void SaveToStream(TStream* Stream);
    void LoadFromFile(const std::string& FileName);
    void SaveToFile(const std::string& FileName);

private:
    std::vector<uint8_t> FData;
    size_t FPosition = 0;
};

enum TFileMode { fmOpenRead, fmOpenReadWrite, fmCreate };

class TFileStream : public TStream {
    PLATFORM_CLASS(TFileStream, TStream)
public:
    // fmOpenRead and fmOpenReadWrite need an existing file (EFOpenError
    // otherwise); fmCreate makes a new empty file or empties an existing one
    // (EFCreateError when it cannot).
    TFileStream(const std::string& FileName, TFileMode Mode);
    ~TFileStream() override;

    size_t Read(void* Buffer, size_t Count) override;
    size_t Write(const void* Buffer, size_t Count) override;
    int64_t Seek(int64_t Offset, TSeekOrigin Origin) override;
    void SetSize(int64_t Value) override;
    const std::string& FileName() const { return FFileName; }

private:
    void* FHandle; // the Win32 file handle
    std::string FFileName;
};

} // namespace platform
