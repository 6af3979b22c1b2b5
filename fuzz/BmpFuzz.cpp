// The BMP decoder on any bytes: it either describes a picture or raises
// EInvalidGraphic, and a picture it describes writes to a file that reads
// back to the same picture and writes again to the same bytes.
#include "platform/BmpFile.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

using namespace platform;

namespace {

void Check(bool condition, const char* what)
{
    if (!condition) {
        std::fprintf(stderr, "BmpFuzz: %s\n", what);
        std::abort();
    }
}

std::vector<uint8_t> Written(const TBmpImage& Image)
{
    TMemoryStream stream;
    WriteBmp(Image, &stream);
    return stream.Bytes();
}

TBmpImage Read(const std::vector<uint8_t>& Bytes)
{
    TMemoryStream stream(Bytes);
    return ReadBmp(&stream);
}

// The pixels a picture shows: every row's used bits, top row first.
std::vector<uint8_t> Shown(const TBmpImage& Image)
{
    const size_t used = (static_cast<size_t>(Image.Width) * Image.BitCount + 7) / 8;
    const unsigned tailBits = static_cast<unsigned>(Image.Width * Image.BitCount) % 8;
    std::vector<uint8_t> pixels;
    for (int y = 0; y < Image.Height; ++y) {
        const uint8_t* row = Image.Row(y);
        pixels.insert(pixels.end(), row, row + used);
        if (tailBits)
            pixels.back() &= static_cast<uint8_t>(0xFF << (8 - tailBits));
    }
    return pixels;
}

bool SamePicture(const TBmpImage& a, const TBmpImage& b)
{
    if (a.Width != b.Width || a.Height != b.Height || a.BitCount != b.BitCount ||
        std::memcmp(a.Masks, b.Masks, sizeof a.Masks) != 0 || a.Palette.size() != b.Palette.size())
        return false;
    for (size_t i = 0; i < a.Palette.size(); ++i)
        if (a.Palette[i].Red != b.Palette[i].Red || a.Palette[i].Green != b.Palette[i].Green ||
            a.Palette[i].Blue != b.Palette[i].Blue)
            return false;
    return Shown(a) == Shown(b);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size)
{
    TMemoryStream input(std::vector<uint8_t>(Data, Data + Size));
    TBmpImage picture;
    try {
        picture = ReadBmp(&input);
    } catch (const EInvalidGraphic&) {
        return 0;
    }
    Check(picture.Pixels.size() <= MaxImageBytes, "a picture above the size limit was read");
    const std::vector<uint8_t> written = Written(picture);
    TBmpImage again;
    try {
        again = Read(written);
    } catch (const EInvalidGraphic&) {
        Check(false, "a written picture does not read back");
    }
    Check(SamePicture(picture, again), "a written picture reads back different");
    Check(Written(again) == written, "a picture read back writes different bytes");
    return 0;
}
