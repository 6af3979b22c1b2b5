#include "platform/Dib.h"
#include "platform/Exceptions.h"
#include "platform/GdiScope.h"

#include <algorithm>
#include <cstring>
#include <unordered_map>
#include <unordered_set>

namespace platform {

namespace {

[[noreturn]] void OutOfResources()
{
    throw EOutOfResources("Out of system resources");
}

bool SameMasks(const uint32_t* a, const uint32_t* b)
{
    return a[0] == b[0] && a[1] == b[1] && a[2] == b[2];
}

int BitCountOf(TPixelFormat Format)
{
    switch (Format) {
    case pf1bit: return 1;
    case pf4bit: return 4;
    case pf8bit: return 8;
    case pf15bit:
    case pf16bit: return 16;
    case pf24bit: return 24;
    default: return 32;
    }
}

const uint32_t* MasksOf(TPixelFormat Format)
{
    if (Format == pf15bit)
        return Masks555;
    if (Format == pf16bit)
        return Masks565;
    return Masks888;
}

RGBQUAD Quad(COLORREF c)
{
    return RGBQUAD{GetBValue(c), GetGValue(c), GetRValue(c), 0};
}

COLORREF ColorOf(const RGBQUAD& q)
{
    return RGB(q.rgbRed, q.rgbGreen, q.rgbBlue);
}

bool SamePalette(const std::vector<RGBQUAD>& a, const std::vector<RGBQUAD>& b)
{
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](const RGBQUAD& x, const RGBQUAD& y) {
               return ColorOf(x) == ColorOf(y);
           });
}

std::vector<RGBQUAD> StandardPalette(int BitCount)
{
    std::vector<RGBQUAD> palette;
    if (BitCount == 1) {
        palette = {Quad(RGB(0, 0, 0)), Quad(RGB(255, 255, 255))};
    } else if (BitCount == 4) {
        for (COLORREF c : {RGB(0, 0, 0), RGB(128, 0, 0), RGB(0, 128, 0), RGB(128, 128, 0), RGB(0, 0, 128),
                           RGB(128, 0, 128), RGB(0, 128, 128), RGB(192, 192, 192), RGB(128, 128, 128),
                           RGB(255, 0, 0), RGB(0, 255, 0), RGB(255, 255, 0), RGB(0, 0, 255), RGB(255, 0, 255),
                           RGB(0, 255, 255), RGB(255, 255, 255)})
            palette.push_back(Quad(c));
    } else {
        // A 6x6x6 colour cube and a grey ramp.
        for (int r = 0; r < 6; ++r)
            for (int g = 0; g < 6; ++g)
                for (int b = 0; b < 6; ++b)
                    palette.push_back(Quad(RGB(r * 51, g * 51, b * 51)));
        for (int i = 0; i < 40; ++i) {
            const BYTE v = static_cast<BYTE>(i * 255 / 39);
            palette.push_back(Quad(RGB(v, v, v)));
        }
    }
    return palette;
}

// One colour channel of a 16- or 32-bit pixel.
struct TChannel {
    uint32_t Mask = 0;
    int Shift = 0;
    int Bits = 0;

    explicit TChannel(uint32_t mask = 0) : Mask(mask)
    {
        if (!mask)
            return;
        while (!((mask >> Shift) & 1))
            ++Shift;
        while (Shift + Bits < 32 && ((mask >> (Shift + Bits)) & 1))
            ++Bits;
    }

    // Narrow channels repeat their bits, so 5-bit 31 becomes 255 and a
    // value widened and narrowed again is unchanged.
    uint8_t Expand(uint32_t pixel) const
    {
        if (!Bits)
            return 0;
        const uint32_t v = (pixel & Mask) >> Shift;
        if (Bits >= 8)
            return static_cast<uint8_t>(v >> (Bits - 8));
        uint32_t r = v << (8 - Bits);
        for (int filled = Bits; filled < 8; filled *= 2)
            r |= r >> filled;
        return static_cast<uint8_t>(r);
    }

    uint32_t Narrow(uint8_t value) const
    {
        if (!Bits)
            return 0;
        uint64_t v;
        if (Bits <= 8) {
            v = value >> (8 - Bits);
        } else {
            v = value;
            for (int have = 8; have < Bits;) {
                const int take = std::min(8, Bits - have);
                v = (v << take) | (value >> (8 - take));
                have += take;
            }
        }
        return (static_cast<uint32_t>(v) << Shift) & Mask;
    }
};

// Reads and writes pixels of one image as RGB colours.
class TPixelCodec {
public:
    explicit TPixelCodec(const TDib& Image)
        : FImage(Image), FRed(Image.Masks[0]), FGreen(Image.Masks[1]), FBlue(Image.Masks[2])
    {
    }

    static unsigned Index(const uint8_t* row, int x, int bitCount)
    {
        switch (bitCount) {
        case 1: return (row[x >> 3] >> (7 - (x & 7))) & 1;
        case 4: return (row[x >> 1] >> ((x & 1) ? 0 : 4)) & 0xF;
        default: return row[x];
        }
    }

    static void SetIndex(uint8_t* row, int x, int bitCount, unsigned index)
    {
        switch (bitCount) {
        case 1: {
            const uint8_t bit = static_cast<uint8_t>(0x80 >> (x & 7));
            row[x >> 3] = static_cast<uint8_t>(index ? (row[x >> 3] | bit) : (row[x >> 3] & ~bit));
            break;
        }
        case 4: {
            const int shift = (x & 1) ? 0 : 4;
            row[x >> 1] = static_cast<uint8_t>((row[x >> 1] & ~(0xF << shift)) | ((index & 0xF) << shift));
            break;
        }
        default:
            row[x] = static_cast<uint8_t>(index);
        }
    }

    COLORREF Get(const uint8_t* row, int x) const
    {
        switch (FImage.BitCount) {
        case 1:
        case 4:
        case 8: {
            const unsigned i = Index(row, x, FImage.BitCount);
            return i < FImage.Palette.size() ? ColorOf(FImage.Palette[i]) : RGB(0, 0, 0);
        }
        case 16: {
            const uint32_t v = row[2 * x] | (row[2 * x + 1] << 8);
            return RGB(FRed.Expand(v), FGreen.Expand(v), FBlue.Expand(v));
        }
        case 24:
            return RGB(row[3 * x + 2], row[3 * x + 1], row[3 * x]);
        default: {
            uint32_t v;
            std::memcpy(&v, row + 4 * x, 4);
            return RGB(FRed.Expand(v), FGreen.Expand(v), FBlue.Expand(v));
        }
        }
    }

    void Put(uint8_t* row, int x, COLORREF c)
    {
        switch (FImage.BitCount) {
        case 1:
        case 4:
        case 8:
            SetIndex(row, x, FImage.BitCount, Nearest(c));
            break;
        case 16: {
            const uint32_t v = FRed.Narrow(GetRValue(c)) | FGreen.Narrow(GetGValue(c)) | FBlue.Narrow(GetBValue(c));
            row[2 * x] = static_cast<uint8_t>(v);
            row[2 * x + 1] = static_cast<uint8_t>(v >> 8);
            break;
        }
        case 24:
            row[3 * x] = GetBValue(c);
            row[3 * x + 1] = GetGValue(c);
            row[3 * x + 2] = GetRValue(c);
            break;
        default: {
            const uint32_t v = FRed.Narrow(GetRValue(c)) | FGreen.Narrow(GetGValue(c)) | FBlue.Narrow(GetBValue(c));
            std::memcpy(row + 4 * x, &v, 4);
        }
        }
    }

    // The palette entry closest to c; an exact entry when there is one.
    unsigned Nearest(COLORREF c)
    {
        auto found = FCache.find(c);
        if (found != FCache.end())
            return found->second;
        unsigned best = 0;
        long bestDistance = -1;
        for (size_t i = 0; i < FImage.Palette.size(); ++i) {
            const RGBQUAD& q = FImage.Palette[i];
            const long dr = q.rgbRed - GetRValue(c), dg = q.rgbGreen - GetGValue(c), db = q.rgbBlue - GetBValue(c);
            const long distance = dr * dr + dg * dg + db * db;
            if (bestDistance < 0 || distance < bestDistance) {
                best = static_cast<unsigned>(i);
                bestDistance = distance;
                if (!distance)
                    break;
            }
        }
        FCache.emplace(c, best);
        return best;
    }

private:
    const TDib& FImage;
    TChannel FRed, FGreen, FBlue;
    std::unordered_map<COLORREF, unsigned> FCache;
};

struct TBitmapInfo {
    BITMAPINFOHEADER Header;
    RGBQUAD Colors[256];
};

TDib CreateImage(int Width, int Height, TPixelFormat Format, const std::vector<RGBQUAD>& Palette)
{
    const int bitCount = BitCountOf(Format);
    return platform::CreateImage(Width, Height, bitCount, MasksOf(Format),
                                 bitCount <= 8 && Palette.empty() ? StandardPalette(bitCount) : Palette);
}

void FillWhite(TDib& Image)
{
    uint8_t pattern = 0xFF;
    if (Image.BitCount <= 8) {
        const unsigned index = TPixelCodec(Image).Nearest(RGB(255, 255, 255));
        pattern = Image.BitCount == 8 ? static_cast<uint8_t>(index)
                : Image.BitCount == 4 ? static_cast<uint8_t>(index | (index << 4))
                                      : (index ? 0xFF : 0x00);
    }
    std::memset(Image.Bits, pattern, static_cast<size_t>(Image.Stride) * Image.Height);
}

// The colours of Source when there are at most Limit of them.
bool DistinctColors(const TDib& Source, size_t Limit, std::vector<RGBQUAD>& Colors)
{
    TPixelCodec codec(Source);
    std::unordered_set<COLORREF> seen;
    for (int y = 0; y < Source.Height; ++y) {
        const uint8_t* row = Source.Row(y);
        for (int x = 0; x < Source.Width; ++x) {
            const COLORREF c = codec.Get(row, x);
            if (seen.insert(c).second) {
                if (seen.size() > Limit)
                    return false;
                Colors.push_back(Quad(c));
            }
        }
    }
    return true;
}

std::vector<RGBQUAD> ChoosePalette(const TDib& Source, int BitCount)
{
    const size_t limit = size_t(1) << BitCount;
    if (Source.BitCount <= 8 && Source.Palette.size() <= limit)
        return Source.Palette;
    std::vector<RGBQUAD> colors;
    if (DistinctColors(Source, limit, colors))
        return colors;
    return StandardPalette(BitCount);
}

} // namespace

TPixelFormat FormatOf(const TDib& Image)
{
    switch (Image.BitCount) {
    case 1: return pf1bit;
    case 4: return pf4bit;
    case 8: return pf8bit;
    case 24: return pf24bit;
    case 16:
        if (SameMasks(Image.Masks, Masks555))
            return pf15bit;
        return SameMasks(Image.Masks, Masks565) ? pf16bit : pfCustom;
    default:
        return SameMasks(Image.Masks, Masks888) ? pf32bit : pfCustom;
    }
}

COLORREF PixelColor(const TDib& Image, int X, int Y)
{
    return TPixelCodec(Image).Get(Image.Row(Y), X);
}

TDib CreateImage(int Width, int Height, int BitCount, const uint32_t* Masks, const std::vector<RGBQUAD>& Palette)
{
    const uint64_t stride = StrideOf(static_cast<uint64_t>(Width), BitCount);
    if (Width <= 0 || Height <= 0 || stride * static_cast<uint64_t>(Height) > MaxImageBytes)
        OutOfResources();
    TBitmapInfo info{};
    info.Header.biSize = sizeof(BITMAPINFOHEADER);
    info.Header.biWidth = Width;
    info.Header.biHeight = Height;
    info.Header.biPlanes = 1;
    info.Header.biBitCount = static_cast<WORD>(BitCount);
    info.Header.biCompression = BI_RGB;
    TDib image;
    image.Width = Width;
    image.Height = Height;
    image.BitCount = BitCount;
    image.Stride = static_cast<int>(stride);
    if (BitCount <= 8) {
        image.Palette = Palette;
        image.Palette.resize(size_t(1) << BitCount, RGBQUAD{0, 0, 0, 0});
        info.Header.biClrUsed = static_cast<DWORD>(image.Palette.size());
        std::copy(image.Palette.begin(), image.Palette.end(), info.Colors);
    } else if (BitCount != 24) {
        std::copy(Masks, Masks + 3, image.Masks);
        if (!SameMasks(Masks, BitCount == 16 ? Masks555 : Masks888)) {
            info.Header.biCompression = BI_BITFIELDS;
            std::memcpy(info.Colors, Masks, 3 * sizeof(uint32_t));
        }
    }
    void* bits = nullptr;
    image.Handle = CreateDIBSection(nullptr, reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS, &bits, nullptr, 0);
    if (!image.Handle || !bits) {
        TGdiObject<HBITMAP> failed(image.Handle);
        OutOfResources();
    }
    image.Bits = static_cast<uint8_t*>(bits);
    return image;
}

TDib ConvertImage(const TDib& Source, TPixelFormat Format)
{
    GdiFlush();
    const int bitCount = BitCountOf(Format);
    TDib image = bitCount <= 8 ? CreateImage(Source.Width, Source.Height, bitCount, nullptr,
                                               ChoosePalette(Source, bitCount))
                                 : CreateImage(Source.Width, Source.Height, Format, {});
    const bool sameLayout = image.BitCount == Source.BitCount &&
                            (bitCount <= 8 ? SamePalette(image.Palette, Source.Palette)
                                           : bitCount == 24 || SameMasks(image.Masks, Source.Masks));
    if (sameLayout) {
        for (int y = 0; y < Source.Height; ++y)
            std::memcpy(image.Row(y), Source.Row(y), static_cast<size_t>(image.Stride));
        return image;
    }
    // Palette formats whose tables start alike keep the indices themselves.
    const bool keepIndices = bitCount <= 8 && Source.BitCount <= 8 && Source.Palette.size() <= image.Palette.size() &&
                             std::equal(Source.Palette.begin(), Source.Palette.end(), image.Palette.begin(),
                                        [](const RGBQUAD& a, const RGBQUAD& b) { return ColorOf(a) == ColorOf(b); });
    TPixelCodec reader(Source), writer(image);
    for (int y = 0; y < Source.Height; ++y) {
        const uint8_t* in = Source.Row(y);
        uint8_t* out = image.Row(y);
        for (int x = 0; x < Source.Width; ++x) {
            if (keepIndices)
                TPixelCodec::SetIndex(out, x, bitCount, TPixelCodec::Index(in, x, Source.BitCount));
            else
                writer.Put(out, x, reader.Get(in, x));
        }
    }
    return image;
}

TDib ResizeImage(const TDib& Source, int Width, int Height, TPixelFormat Format)
{
    TDib image = Source.Handle ? CreateImage(Width, Height, Source.BitCount, Source.Masks, Source.Palette)
                                 : CreateImage(Width, Height, Format, {});
    FillWhite(image);
    if (!Source.Handle)
        return image;
    GdiFlush();
    const int w = std::min(Width, Source.Width), h = std::min(Height, Source.Height);
    for (int y = 0; y < h; ++y) {
        const uint8_t* in = Source.Row(y);
        uint8_t* out = image.Row(y);
        if (image.BitCount >= 8) {
            std::memcpy(out, in, static_cast<size_t>(w) * (image.BitCount / 8));
        } else {
            for (int x = 0; x < w; ++x)
                TPixelCodec::SetIndex(out, x, image.BitCount, TPixelCodec::Index(in, x, image.BitCount));
        }
    }
    return image;
}

TDib DescribeHandle(HBITMAP Handle)
{
    DIBSECTION ds{};
    const int size = GetObjectA(Handle, sizeof(ds), &ds);
    if (size != sizeof(DIBSECTION) && size != sizeof(BITMAP))
        throw EInvalidGraphic("Invalid bitmap handle");
    TDib image;
    image.Handle = Handle;
    image.Width = ds.dsBm.bmWidth;
    image.Height = ds.dsBm.bmHeight;
    image.BitCount = ds.dsBm.bmBitsPixel * ds.dsBm.bmPlanes;
    const int bitCount = image.BitCount;
    const bool knownDepth = bitCount == 1 || bitCount == 4 || bitCount == 8 || bitCount == 16 || bitCount == 24 ||
                            bitCount == 32;
    if (size != sizeof(DIBSECTION) || !ds.dsBm.bmBits || !knownDepth)
        return image; // used through contexts until pixels are needed
    image.Bits = static_cast<uint8_t*>(ds.dsBm.bmBits);
    image.Height = std::abs(ds.dsBmih.biHeight);
    image.TopDown = ds.dsBmih.biHeight < 0;
    image.Stride = static_cast<int>(StrideOf(static_cast<uint64_t>(image.Width), bitCount));
    if (bitCount == 16 || bitCount == 32) {
        const uint32_t* standard = bitCount == 16 ? Masks555 : Masks888;
        if (ds.dsBmih.biCompression == BI_BITFIELDS && ds.dsBitfields[0] | ds.dsBitfields[1] | ds.dsBitfields[2])
            std::copy(ds.dsBitfields, ds.dsBitfields + 3, image.Masks);
        else
            std::copy(standard, standard + 3, image.Masks);
    } else if (bitCount <= 8) {
        RGBQUAD colors[256];
        UINT count = 0;
        if (const TMemoryDC dc; dc)
            if (const TSelectedObject bitmap(dc.Get(), Handle); bitmap)
                count = GetDIBColorTable(dc.Get(), 0, 256, colors);
        image.Palette.assign(colors, colors + count);
        image.Palette.resize(size_t(1) << bitCount, RGBQUAD{0, 0, 0, 0});
    }
    return image;
}

TDib CreateImage(const TBmpImage& Picture, TPixelFormat& Format)
{
    TDib source; // the picture as an image over the decoded rows
    source.Bits = const_cast<uint8_t*>(Picture.Pixels.data());
    source.Width = Picture.Width;
    source.Height = Picture.Height;
    source.BitCount = Picture.BitCount;
    source.Stride = Picture.Stride;
    source.TopDown = Picture.TopDown;
    std::copy(Picture.Masks, Picture.Masks + 3, source.Masks);
    for (const TBmpColor& c : Picture.Palette)
        source.Palette.push_back(RGBQUAD{c.Blue, c.Green, c.Red, 0});
    Format = FormatOf(source);
    if (Format == pfCustom)
        Format = Picture.BitCount == 16 ? pf24bit : pf32bit;
    if (Format != FormatOf(source))
        return ConvertImage(source, Format);
    TDib image = CreateImage(source.Width, source.Height, source.BitCount, source.Masks, source.Palette);
    for (int y = 0; y < source.Height; ++y)
        std::memcpy(image.Row(y), source.Row(y), static_cast<size_t>(source.Stride));
    return image;
}

TBmpImage DescribeImage(const TDib& Image)
{
    TBmpImage picture;
    picture.Width = Image.Width;
    picture.Height = Image.Height;
    picture.BitCount = Image.BitCount;
    picture.Stride = Image.Stride;
    std::copy(Image.Masks, Image.Masks + 3, picture.Masks);
    for (const RGBQUAD& q : Image.Palette)
        picture.Palette.push_back(TBmpColor{q.rgbBlue, q.rgbGreen, q.rgbRed, 0});
    picture.Pixels.resize(static_cast<size_t>(Image.Stride) * static_cast<size_t>(Image.Height));
    for (int y = 0; y < Image.Height; ++y)
        std::memcpy(picture.Pixels.data() + static_cast<size_t>(Image.Height - 1 - y) * Image.Stride, Image.Row(y),
                    static_cast<size_t>(Image.Stride));
    return picture;
}

} // namespace platform
