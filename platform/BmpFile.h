// BMP files in plain terms. The decoder checks every size against the bytes
// the stream really holds and describes the picture it found; TBitmap turns
// that description into a DIB section. Plain C++, so that it also builds
// (and is fuzzed) without Win32.
#pragma once

#include "platform/Stream.h"

#include <cstdint>
#include <vector>

namespace platform {

// The largest pixel buffer a picture may have. A 32-bit process holds a
// file's rows and the DIB section made from them side by side, beside the
// rest of the program, so anything larger is refused before memory is asked for.
constexpr uint64_t MaxImageBytes = uint64_t(64) << 20;

constexpr uint32_t Masks555[3] = {0x7C00, 0x03E0, 0x001F};
constexpr uint32_t Masks565[3] = {0xF800, 0x07E0, 0x001F};
constexpr uint32_t Masks888[3] = {0xFF0000, 0x00FF00, 0x0000FF};

// A palette entry, laid out as in the file.
struct TBmpColor {
    uint8_t Blue = 0, Green = 0, Red = 0, Reserved = 0;
};

struct TBmpImage {
    int Width = 0, Height = 0;
    int BitCount = 0;            // 1, 4, 8, 16, 24 or 32
    int Stride = 0;              // bytes per row, a multiple of 4
    bool TopDown = false;        // rows are stored top row first
    uint32_t Masks[3] = {0, 0, 0}; // red, green, blue of 16- and 32-bit pixels
    std::vector<TBmpColor> Palette; // 2 to the BitCount entries for 1, 4 and 8 bits
    std::vector<uint8_t> Pixels; // Height rows of Stride bytes, as stored

    // Row 0 is the top row.
    const uint8_t* Row(int Y) const
    {
        return Pixels.data() + static_cast<size_t>(TopDown ? Y : Height - 1 - Y) * static_cast<size_t>(Stride);
    }
};

uint64_t StrideOf(uint64_t Width, int BitCount);
// One contiguous run of bits per channel, the channels apart, within the pixel.
bool ValidMasks(const uint32_t* Masks, int BitCount);

// Reads one BMP file from the stream's position. Raises EInvalidGraphic for
// anything that is not a readable BMP, for a picture larger than
// MaxImageBytes and when there is no memory for it.
TBmpImage ReadBmp(TStream* Stream);
// Writes a BMP file with an information header, bottom-up, with bit fields
// where the masks are not the standard ones and the bits past each row's last
// pixel cleared.
void WriteBmp(const TBmpImage& Image, TStream* Stream);

inline uint16_t GetLE16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | (p[1] << 8)); }
inline uint32_t GetLE32(const uint8_t* p) { return GetLE16(p) | (static_cast<uint32_t>(GetLE16(p + 2)) << 16); }
inline void PutLE16(uint8_t* p, uint32_t v) { p[0] = static_cast<uint8_t>(v); p[1] = static_cast<uint8_t>(v >> 8); }
inline void PutLE32(uint8_t* p, uint32_t v) { PutLE16(p, v); PutLE16(p + 2, v >> 16); }

} // namespace platform
