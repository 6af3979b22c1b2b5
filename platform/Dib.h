// Pictures in memory: the DIB section behind a bitmap handle, described in
// plain terms, and the conversions between pixel formats, sizes and BMP
// files. Every function that makes a picture makes a new DIB section, which
// the caller deletes; none of them keeps or frees the source's handle.
#pragma once

#include "platform/BmpFile.h"
#include "platform/Win32.h"

#include <cstdint>
#include <vector>

namespace platform {

// pfCustom: a taken-over DIB section whose 16- or 32-bit masks none of the
// others describe; it can be converted to any other format but not to itself.
enum TPixelFormat { pfDevice, pf1bit, pf4bit, pf8bit, pf15bit, pf16bit, pf24bit, pf32bit, pfCustom };

// The picture behind a bitmap handle. Bits is null for a device-dependent
// bitmap; masks describe 16- and 32-bit pixels; Palette is the colour
// table of 1-, 4- and 8-bit pixels.
struct TDib {
    HBITMAP Handle = nullptr;
    uint8_t* Bits = nullptr;
    int Width = 0, Height = 0;
    int BitCount = 0;
    int Stride = 0;
    bool TopDown = false;
    uint32_t Masks[3] = {0, 0, 0}; // red, green, blue
    std::vector<RGBQUAD> Palette;

    uint8_t* Row(int Y) const { return Bits + static_cast<size_t>(TopDown ? Y : Height - 1 - Y) * Stride; }
};

// The pixel format of a DIB section's layout; pfCustom for masks no other format has.
TPixelFormat FormatOf(const TDib& Image);
// The colour of a pixel of a DIB section (row 0 is the top row).
COLORREF PixelColor(const TDib& Image, int X, int Y);

// A new bottom-up DIB section, all pixels zero; EOutOfResources when it cannot be made.
TDib CreateImage(int Width, int Height, int BitCount, const uint32_t* Masks, const std::vector<RGBQUAD>& Palette);
// Source in another format. Every pixel that the format can represent is
// kept; to a palette format, a picture with few enough colours keeps them all.
TDib ConvertImage(const TDib& Source, TPixelFormat Format);
// A picture of the new size in the layout of Source (in Format when Source
// is empty); the overlap is kept, the rest is white.
TDib ResizeImage(const TDib& Source, int Width, int Height, TPixelFormat Format);
// The picture behind a handle, without copying it; EInvalidGraphic for a
// handle that is no bitmap.
TDib DescribeHandle(HBITMAP Handle);

// A DIB section holding a decoded BMP file: in the file's own layout where a
// pixel format describes it; other masks are widened to 8 bits per channel.
// Format is set to the picture's format.
TDib CreateImage(const TBmpImage& Picture, TPixelFormat& Format);
// The description of a DIB section that a BMP file is written from.
TBmpImage DescribeImage(const TDib& Image);

} // namespace platform
