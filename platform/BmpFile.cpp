#include "platform/BmpFile.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <new>

namespace platform {

namespace {

constexpr uint32_t BiRgb = 0, BiBitfields = 3;

[[noreturn]] void InvalidBitmap()
{
    throw EInvalidGraphic("Bitmap image is not valid");
}

bool SameMasks(const uint32_t* a, const uint32_t* b)
{
    return a[0] == b[0] && a[1] == b[1] && a[2] == b[2];
}

} // namespace

uint64_t StrideOf(uint64_t Width, int BitCount)
{
    return (Width * static_cast<uint64_t>(BitCount) + 31) / 32 * 4;
}

bool ValidMasks(const uint32_t* Masks, int BitCount)
{
    const uint32_t limit = BitCount == 16 ? 0xFFFFu : 0xFFFFFFFFu;
    for (int i = 0; i < 3; ++i) {
        const uint32_t m = Masks[i];
        if (!m || (m & ~limit))
            return false;
        const uint32_t low = m & (~m + 1);
        if (((m + low) & m) != 0)
            return false; // not one contiguous run of bits
    }
    return !(Masks[0] & Masks[1]) && !(Masks[0] & Masks[2]) && !(Masks[1] & Masks[2]);
}

TBmpImage ReadBmp(TStream* Stream)
{
    const int64_t start = Stream->Position();
    const int64_t size = Stream->Size();
    const uint64_t available = size > start ? static_cast<uint64_t>(size - start) : 0;
    auto need = [&](uint64_t end) {
        if (end > available)
            InvalidBitmap();
    };

    uint8_t fileHeader[14];
    need(sizeof(fileHeader) + 4);
    Stream->ReadBuffer(fileHeader, sizeof(fileHeader));
    if (fileHeader[0] != 'B' || fileHeader[1] != 'M')
        InvalidBitmap();
    const uint32_t offBits = GetLE32(fileHeader + 10);

    uint8_t header[124] = {};
    Stream->ReadBuffer(header, 4);
    const uint32_t headerSize = GetLE32(header);
    if (headerSize != 12 && headerSize != 40 && headerSize != 52 && headerSize != 56 && headerSize != 108 &&
        headerSize != 124)
        InvalidBitmap();
    need(14 + uint64_t(headerSize));
    Stream->ReadBuffer(header + 4, headerSize - 4);

    int64_t width, height;
    unsigned planes, bitCount;
    uint32_t compression = BiRgb, colorsUsed = 0;
    size_t entrySize = 4;
    if (headerSize == 12) {
        width = GetLE16(header + 4);
        height = GetLE16(header + 6);
        planes = GetLE16(header + 8);
        bitCount = GetLE16(header + 10);
        entrySize = 3;
    } else {
        width = static_cast<int32_t>(GetLE32(header + 4));
        height = static_cast<int32_t>(GetLE32(header + 8));
        planes = GetLE16(header + 12);
        bitCount = GetLE16(header + 14);
        compression = GetLE32(header + 16);
        colorsUsed = GetLE32(header + 32);
    }
    TBmpImage image;
    image.TopDown = height < 0;
    height = std::abs(height);
    if (planes != 1 || width <= 0 || height <= 0 || width > 0x7FFFFFFF || height > 0x7FFFFFFF)
        InvalidBitmap();
    if (bitCount != 1 && bitCount != 4 && bitCount != 8 && bitCount != 16 && bitCount != 24 && bitCount != 32)
        InvalidBitmap();
    if (compression != BiRgb && !(compression == BiBitfields && (bitCount == 16 || bitCount == 32)))
        InvalidBitmap();

    uint64_t position = 14 + uint64_t(headerSize);
    if (compression == BiBitfields) {
        uint8_t maskBytes[12];
        if (headerSize == 40) {
            need(position + 12);
            Stream->ReadBuffer(maskBytes, 12);
            position += 12;
        } else {
            std::memcpy(maskBytes, header + 40, 12);
        }
        for (int i = 0; i < 3; ++i)
            image.Masks[i] = GetLE32(maskBytes + 4 * i);
        if (!ValidMasks(image.Masks, static_cast<int>(bitCount)))
            InvalidBitmap();
    } else {
        const uint32_t* standard = bitCount == 16 ? Masks555 : Masks888;
        std::copy(standard, standard + 3, image.Masks);
    }

    if (bitCount <= 8) {
        const uint32_t maxColors = 1u << bitCount;
        uint32_t count = colorsUsed ? colorsUsed : maxColors;
        // A core header has no colour count: writers leave out the colours
        // they do not use, and the pixel offset tells how many are there.
        if (headerSize == 12 && offBits > position)
            count = static_cast<uint32_t>(std::min<uint64_t>(maxColors, (offBits - position) / entrySize));
        if (count > maxColors)
            InvalidBitmap();
        const uint64_t paletteBytes = uint64_t(count) * entrySize;
        if (uint64_t(offBits) < position + paletteBytes)
            InvalidBitmap();
        need(position + paletteBytes);
        std::vector<uint8_t> bytes(static_cast<size_t>(paletteBytes));
        Stream->ReadBuffer(bytes.data(), bytes.size());
        image.Palette.resize(maxColors);
        for (uint32_t i = 0; i < count; ++i) {
            const uint8_t* e = bytes.data() + i * entrySize;
            image.Palette[i] = TBmpColor{e[0], e[1], e[2], 0};
        }
        position += paletteBytes;
    }
    if (uint64_t(offBits) < position)
        InvalidBitmap();

    const uint64_t stride = StrideOf(static_cast<uint64_t>(width), static_cast<int>(bitCount));
    if (available < offBits || static_cast<uint64_t>(height) > (available - offBits) / stride)
        InvalidBitmap(); // the pixels are not all there
    const uint64_t imageBytes = stride * static_cast<uint64_t>(height);
    if (imageBytes > MaxImageBytes)
        InvalidBitmap();
    Stream->Seek(start + offBits, soBeginning);
    try {
        image.Pixels.resize(static_cast<size_t>(imageBytes));
    } catch (const std::bad_alloc&) {
        InvalidBitmap();
    }
    Stream->ReadBuffer(image.Pixels.data(), image.Pixels.size());
    image.Width = static_cast<int>(width);
    image.Height = static_cast<int>(height);
    image.BitCount = static_cast<int>(bitCount);
    image.Stride = static_cast<int>(stride);
    return image;
}

void WriteBmp(const TBmpImage& Image, TStream* Stream)
{
    const bool bitfields = (Image.BitCount == 16 && !SameMasks(Image.Masks, Masks555)) ||
                           (Image.BitCount == 32 && !SameMasks(Image.Masks, Masks888));
    const uint32_t colors = Image.BitCount <= 8 ? static_cast<uint32_t>(Image.Palette.size()) : 0;
    const uint32_t offBits = 14 + 40 + (bitfields ? 12 : 0) + colors * 4;
    const uint32_t imageBytes = static_cast<uint32_t>(Image.Stride) * static_cast<uint32_t>(Image.Height);

    std::vector<uint8_t> out(offBits);
    uint8_t* p = out.data();
    p[0] = 'B';
    p[1] = 'M';
    PutLE32(p + 2, offBits + imageBytes);
    PutLE32(p + 10, offBits);
    p += 14;
    PutLE32(p, 40);
    PutLE32(p + 4, static_cast<uint32_t>(Image.Width));
    PutLE32(p + 8, static_cast<uint32_t>(Image.Height));
    PutLE16(p + 12, 1);
    PutLE16(p + 14, static_cast<uint32_t>(Image.BitCount));
    PutLE32(p + 16, bitfields ? BiBitfields : BiRgb);
    PutLE32(p + 20, imageBytes);
    PutLE32(p + 32, colors);
    p += 40;
    if (bitfields) {
        for (int i = 0; i < 3; ++i)
            PutLE32(p + 4 * i, Image.Masks[i]);
        p += 12;
    }
    for (uint32_t i = 0; i < colors; ++i, p += 4) {
        p[0] = Image.Palette[i].Blue;
        p[1] = Image.Palette[i].Green;
        p[2] = Image.Palette[i].Red;
    }
    Stream->WriteBuffer(out.data(), out.size());

    // Rows bottom-up, with the bits past the last pixel cleared.
    const size_t used = (static_cast<size_t>(Image.Width) * Image.BitCount + 7) / 8;
    const unsigned tailBits = static_cast<unsigned>(Image.Width * Image.BitCount) % 8;
    std::vector<uint8_t> row(static_cast<size_t>(Image.Stride));
    for (int y = Image.Height - 1; y >= 0; --y) {
        std::memcpy(row.data(), Image.Row(y), used);
        std::fill(row.begin() + static_cast<ptrdiff_t>(used), row.end(), 0);
        if (tailBits)
            row[used - 1] &= static_cast<uint8_t>(0xFF << (8 - tailBits));
        Stream->WriteBuffer(row.data(), row.size());
    }
}

} // namespace platform
