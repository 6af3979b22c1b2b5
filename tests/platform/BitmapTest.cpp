#include "platform/Bitmap.h"
#include "platform/FormFile.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>

using namespace platform;

namespace {

// Every channel either 0 or 255, so each format holds these colours exactly.
constexpr TColor Corners[8] = {clBlack, clRed, clLime, clBlue, clYellow, clFuchsia, clAqua, clWhite};

// A BMP file written byte by byte. Pixels hold raw values (palette indices
// or packed pixels), row 0 at the top.
struct TBmpLayout {
    int Width = 5, Height = 3;
    int BitCount = 24;
    bool TopDown = false;
    int HeaderSize = 40;
    uint32_t Compression = BI_RGB;
    uint32_t Masks[3] = {0, 0, 0};
    std::vector<TColor> Palette;
    uint32_t ColorsUsed = 0;
    std::vector<uint32_t> Pixels;
};

void Put(std::vector<uint8_t>& out, uint32_t value, int bytes)
{
    for (int i = 0; i < bytes; ++i)
        out.push_back(static_cast<uint8_t>(value >> (8 * i)));
}

std::vector<uint8_t> BuildBmp(const TBmpLayout& s)
{
    const bool separateMasks = s.Compression == BI_BITFIELDS && s.HeaderSize == 40;
    const int entry = s.HeaderSize == 12 ? 3 : 4;
    const uint32_t offBits = 14 + s.HeaderSize + (separateMasks ? 12 : 0) + uint32_t(s.Palette.size()) * entry;
    const int stride = (s.Width * s.BitCount + 31) / 32 * 4;
    std::vector<uint8_t> out;
    out.push_back('B');
    out.push_back('M');
    Put(out, offBits + stride * s.Height, 4);
    Put(out, 0, 4);
    Put(out, offBits, 4);
    Put(out, s.HeaderSize, 4);
    if (s.HeaderSize == 12) {
        Put(out, s.Width, 2);
        Put(out, s.Height, 2);
        Put(out, 1, 2);
        Put(out, s.BitCount, 2);
    } else {
        Put(out, s.Width, 4);
        Put(out, s.TopDown ? -s.Height : s.Height, 4);
        Put(out, 1, 2);
        Put(out, s.BitCount, 2);
        Put(out, s.Compression, 4);
        Put(out, stride * s.Height, 4);
        Put(out, 2835, 4);
        Put(out, 2835, 4);
        Put(out, s.ColorsUsed, 4);
        Put(out, 0, 4);
        if (s.HeaderSize > 40) {
            for (uint32_t m : s.Masks)
                Put(out, m, 4);
            out.resize(14 + s.HeaderSize, 0);
        }
    }
    if (separateMasks)
        for (uint32_t m : s.Masks)
            Put(out, m, 4);
    for (TColor c : s.Palette) {
        out.push_back(GetBValue(c));
        out.push_back(GetGValue(c));
        out.push_back(GetRValue(c));
        if (entry == 4)
            out.push_back(0);
    }
    for (int i = 0; i < s.Height; ++i) {
        const int y = s.TopDown ? i : s.Height - 1 - i;
        std::vector<uint8_t> row(stride, 0);
        for (int x = 0; x < s.Width; ++x) {
            const uint32_t v = s.Pixels[y * s.Width + x];
            const int bit = x * s.BitCount;
            if (s.BitCount < 8)
                row[bit / 8] |= static_cast<uint8_t>(v << (8 - s.BitCount - bit % 8));
            else
                for (int b = 0; b < s.BitCount / 8; ++b)
                    row[bit / 8 + b] = static_cast<uint8_t>(v >> (8 * b));
        }
        out.insert(out.end(), row.begin(), row.end());
    }
    return out;
}

// The raw value of a corner colour in a masked format: the full masks of its lit channels.
uint32_t Packed(TColor c, const uint32_t* masks)
{
    return (GetRValue(c) ? masks[0] : 0) | (GetGValue(c) ? masks[1] : 0) | (GetBValue(c) ? masks[2] : 0);
}

TColor Px(TBitmap* b, int x, int y)
{
    return b->Canvas()->Pixel(x, y);
}

void LoadBytes(TBitmap* b, const std::vector<uint8_t>& bytes)
{
    TMemoryStream stream(bytes);
    b->LoadFromStream(&stream);
}

std::vector<uint8_t> SaveBytes(const TBitmap* b)
{
    TMemoryStream stream;
    b->SaveToStream(&stream);
    return stream.Bytes();
}

struct TChangeCounter {
    int Count = 0;
    explicit TChangeCounter(TGraphic* g)
    {
        g->OnChange = [this](TObject*) { ++Count; };
    }
};

std::string TempPath(const std::string& name)
{
    char dir[MAX_PATH];
    GetTempPathA(MAX_PATH, dir);
    return std::string(dir) + "tessel-bitmap-" + std::to_string(GetCurrentProcessId()) + "-" + name;
}

class TPictureHolder : public TComponent {
    PLATFORM_CLASS(TPictureHolder, TComponent)
public:
    explicit TPictureHolder(TComponent* AOwner) : TComponent(AOwner), FPicture(new TBitmap) {}
    ~TPictureHolder() override { delete FPicture; }
    TBitmap* Picture() const { return FPicture; }

private:
    TBitmap* FPicture;
};

} // namespace

const TClassInfo& TPictureHolder::StaticClassInfo()
{
    static const TClassInfo& info = TClassBuilder<TPictureHolder, TComponent>("TPictureHolder")
        .Object("Picture", &TPictureHolder::Picture)
        .Build();
    return info;
}

TEST(Bitmap, ReadsEveryDepthBothRowOrdersAndWritesThemBack)
{
    const uint32_t m555[3] = {0x7C00, 0x03E0, 0x001F}, m565[3] = {0xF800, 0x07E0, 0x001F},
                   m444[3] = {0x0F00, 0x00F0, 0x000F}, m888[3] = {0xFF0000, 0xFF00, 0xFF},
                   mSwapped[3] = {0x0000FF, 0xFF00, 0xFF0000};
    struct TCase {
        const char* Name;
        int BitCount;
        uint32_t Compression;
        const uint32_t* Masks;
        int HeaderSize;
        TPixelFormat Expected;
    } cases[] = {
        {"1 bit", 1, BI_RGB, nullptr, 40, pf1bit},
        {"4 bit", 4, BI_RGB, nullptr, 40, pf4bit},
        {"8 bit", 8, BI_RGB, nullptr, 40, pf8bit},
        {"8 bit, core header", 8, BI_RGB, nullptr, 12, pf8bit},
        {"16 bit 5-5-5", 16, BI_RGB, m555, 40, pf15bit},
        {"16 bit 5-6-5 fields", 16, BI_BITFIELDS, m565, 40, pf16bit},
        {"16 bit 4-4-4 fields", 16, BI_BITFIELDS, m444, 40, pf24bit},
        {"24 bit", 24, BI_RGB, nullptr, 40, pf24bit},
        {"32 bit", 32, BI_RGB, m888, 40, pf32bit},
        {"32 bit fields", 32, BI_BITFIELDS, m888, 40, pf32bit},
        {"32 bit swapped fields", 32, BI_BITFIELDS, mSwapped, 40, pf32bit},
        {"32 bit fields, V4 header", 32, BI_BITFIELDS, mSwapped, 108, pf32bit},
    };
    for (const TCase& c : cases)
        for (bool topDown : {false, true}) {
            if (topDown && c.HeaderSize == 12)
                continue;
            SCOPED_TRACE(std::string(c.Name) + (topDown ? ", top-down" : ", bottom-up"));
            TBmpLayout layout;
            layout.BitCount = c.BitCount;
            layout.TopDown = topDown;
            layout.HeaderSize = c.HeaderSize;
            layout.Compression = c.Compression;
            if (c.Masks)
                std::copy(c.Masks, c.Masks + 3, layout.Masks);
            std::vector<TColor> expected;
            if (c.BitCount == 1)
                layout.Palette = {0x123456, 0xFEDCBA};
            else if (c.BitCount <= 8)
                layout.Palette.assign(Corners, Corners + 8);
            if (c.BitCount == 8 && c.HeaderSize == 40)
                layout.ColorsUsed = 8; // a short palette
            for (int y = 0; y < layout.Height; ++y)
                for (int x = 0; x < layout.Width; ++x) {
                    const unsigned i = (x + 2 * y) % (c.BitCount == 1 ? 2 : 8);
                    const TColor color = c.BitCount <= 8 ? layout.Palette[i] : Corners[i];
                    expected.push_back(color);
                    layout.Pixels.push_back(c.BitCount <= 8 ? i
                                          : c.BitCount == 24 ? (GetRValue(color) << 16) | (GetGValue(color) << 8) | GetBValue(color)
                                                             : Packed(color, c.Masks));
                }
            if (c.BitCount == 4)
                layout.Palette.resize(16, clBlack);

            TBitmap bitmap;
            TChangeCounter changes(&bitmap);
            try {
                LoadBytes(&bitmap, BuildBmp(layout));
            } catch (const Exception& e) {
                ADD_FAILURE() << e.Message();
                continue;
            }
            EXPECT_EQ(changes.Count, 1);
            ASSERT_EQ(bitmap.Width(), 5);
            ASSERT_EQ(bitmap.Height(), 3);
            EXPECT_EQ(bitmap.PixelFormat(), c.Expected);
            for (int y = 0; y < 3; ++y)
                for (int x = 0; x < 5; ++x)
                    EXPECT_EQ(Px(&bitmap, x, y), expected[y * 5 + x]) << x << "," << y;

            // Written in its own format and read back, nothing changes.
            TBitmap copy;
            LoadBytes(&copy, SaveBytes(&bitmap));
            EXPECT_EQ(copy.PixelFormat(), bitmap.PixelFormat());
            EXPECT_EQ(SaveBytes(&copy), SaveBytes(&bitmap));
            // Nor does widening to 24 bits lose a pixel.
            bitmap.SetPixelFormat(pf24bit);
            for (int y = 0; y < 3; ++y)
                for (int x = 0; x < 5; ++x)
                    EXPECT_EQ(Px(&bitmap, x, y), expected[y * 5 + x]) << x << "," << y;
        }

    // A 5-bit channel widens by repeating its top bits.
    TBmpLayout mid;
    mid.Width = 1;
    mid.Height = 1;
    mid.BitCount = 16;
    mid.Pixels = {(16u << 10) | (1u << 5) | 31u};
    TBitmap bitmap;
    LoadBytes(&bitmap, BuildBmp(mid));
    EXPECT_EQ(Px(&bitmap, 0, 0), RGB(0x84, 0x08, 0xFF));

    // An index past a short palette reads as black, not past the table.
    TBmpLayout shortPalette;
    shortPalette.Width = 2;
    shortPalette.Height = 1;
    shortPalette.BitCount = 8;
    shortPalette.Palette = {clRed};
    shortPalette.ColorsUsed = 1;
    shortPalette.Pixels = {0, 200};
    LoadBytes(&bitmap, BuildBmp(shortPalette));
    EXPECT_EQ(Px(&bitmap, 0, 0), clRed);
    EXPECT_EQ(Px(&bitmap, 1, 0), clBlack);
    bitmap.SetPixelFormat(pf24bit);
    EXPECT_EQ(Px(&bitmap, 1, 0), clBlack);
}

TEST(Bitmap, LoadsFromTheStreamPositionAndFromFiles)
{
    TBmpLayout a, b;
    a.Width = 2;
    a.Height = 1;
    a.Pixels = {0xFF0000, 0x00FF00};
    b.Width = 1;
    b.Height = 2;
    b.Pixels = {0x0000FF, 0xFFFFFF};
    std::vector<uint8_t> both = BuildBmp(a);
    const std::vector<uint8_t> second = BuildBmp(b);
    both.insert(both.end(), second.begin(), second.end());
    TMemoryStream stream(both);
    TBitmap first, next;
    first.LoadFromStream(&stream);
    next.LoadFromStream(&stream);
    EXPECT_EQ(stream.Position(), stream.Size());
    EXPECT_EQ(Px(&first, 1, 0), clLime);
    EXPECT_EQ(Px(&next, 0, 0), clBlue);

    const std::string path = TempPath("roundtrip.bmp");
    first.SaveToFile(path);
    TBitmap loaded;
    loaded.LoadFromFile(path);
    EXPECT_EQ(Px(&loaded, 0, 0), clRed);
    DeleteFileA(path.c_str());

    const std::string missing = TempPath("missing.bmp");
    try {
        loaded.LoadFromFile(missing);
        ADD_FAILURE() << "a missing file loaded";
    } catch (const EFOpenError& e) {
        EXPECT_EQ(e.Message(), "Cannot open file \"" + missing + "\".");
    }
    EXPECT_EQ(loaded.Width(), 2);
    EXPECT_THROW(first.SaveToFile(TempPath("no-such-dir\\x.bmp")), EFCreateError);
}

TEST(Bitmap, RejectsBrokenFilesAndStaysUntouched)
{
    TBmpLayout palette8;
    palette8.Width = 4;
    palette8.BitCount = 8;
    palette8.Palette.assign(Corners, Corners + 8);
    palette8.ColorsUsed = 8;
    palette8.Pixels.assign(12, 3);
    TBmpLayout fields16;
    fields16.Width = 3;
    fields16.BitCount = 16;
    fields16.Compression = BI_BITFIELDS;
    const uint32_t m565[3] = {0xF800, 0x07E0, 0x001F};
    std::copy(m565, m565 + 3, fields16.Masks);
    fields16.Pixels.assign(9, 0xF800);
    TBmpLayout rgb24;
    rgb24.Pixels.assign(15, 0x00FF00);
    const std::vector<uint8_t> good8 = BuildBmp(palette8), good16 = BuildBmp(fields16), good24 = BuildBmp(rgb24);

    std::vector<std::pair<std::string, std::vector<uint8_t>>> corpus;
    for (const auto* good : {&good8, &good16, &good24})
        for (size_t n = 0; n < good->size(); ++n)
            corpus.emplace_back("truncated to " + std::to_string(n), std::vector<uint8_t>(good->begin(), good->begin() + n));
    auto mutate = [&](const std::string& name, const std::vector<uint8_t>& base, size_t offset, uint32_t value,
                      int bytes) {
        std::vector<uint8_t> file = base;
        for (int i = 0; i < bytes; ++i)
            file[offset + i] = static_cast<uint8_t>(value >> (8 * i));
        corpus.emplace_back(name, file);
    };
    mutate("bad magic", good24, 0, 'B' | ('A' << 8), 2);
    for (uint32_t size : {0u, 4u, 39u, 41u, 64u, 1000u, 0xFFFFFFFFu})
        mutate("header size " + std::to_string(size), good24, 14, size, 4);
    for (uint32_t width : {0u, 0xFFFFFFFBu, 0x7FFFFFFFu, 0x80000000u, 0x40000000u})
        mutate("width " + std::to_string(width), good24, 18, width, 4);
    for (uint32_t height : {0u, 0x80000000u, 0x7FFFFFFFu, 0x80000001u, 0x40000000u})
        mutate("height " + std::to_string(height), good24, 22, height, 4);
    {
        std::vector<uint8_t> file = good24; // a row size times height that overflows 32 and 64 bits
        mutate("overflowing size", file, 18, 0x7FFFFFFF, 4);
        mutate("overflowing size", corpus.back().second, 22, 0x7FFFFFFF, 4);
        mutate("overflowing size", corpus.back().second, 28, 32, 2);
    }
    for (uint32_t planes : {0u, 2u, 0xFFFFu, 0x8000u})
        mutate("planes " + std::to_string(planes), good24, 26, planes, 2);
    for (uint32_t bits : {0u, 2u, 7u, 15u, 48u, 64u})
        mutate("bit count " + std::to_string(bits), good24, 28, bits, 2);
    for (uint32_t compression : {1u, 2u, 4u, 5u, 6u, 0x12345678u})
        mutate("compression " + std::to_string(compression), good24, 30, compression, 4);
    mutate("bit fields on 24 bits", good24, 30, BI_BITFIELDS, 4);
    mutate("bit fields on 8 bits", good8, 30, BI_BITFIELDS, 4);
    mutate("zero mask", good16, 54, 0, 4);
    mutate("overlapping masks", good16, 58, 0xFF00, 4);
    mutate("split mask", good16, 54, 0xA800, 4);
    mutate("mask beyond 16 bits", good16, 54, 0x1F0000, 4);
    for (uint32_t colors : {9u, 200u, 256u, 257u, 0xFFFFFFFFu})
        mutate("colours used " + std::to_string(colors), good8, 46, colors, 4);
    for (uint32_t off : {0u, 10u, 54u, 70u, uint32_t(good8.size()), uint32_t(good8.size()) - 1, 0xFFFFFFFFu})
        mutate("pixel offset " + std::to_string(off), good8, 10, off, 4);

    TBitmap bitmap;
    bitmap.SetPixelFormat(pf24bit);
    bitmap.SetSize(3, 2);
    bitmap.Canvas()->SetPixel(0, 1, clRed);
    bitmap.Canvas()->SetPixel(2, 0, clBlue);
    const std::vector<uint8_t> before = SaveBytes(&bitmap);
    TChangeCounter changes(&bitmap);
    for (const auto& [name, file] : corpus) {
        SCOPED_TRACE(name);
        EXPECT_THROW(LoadBytes(&bitmap, file), EInvalidGraphic);
        if (file.empty())
            continue; // as Data, a length of 0 is the empty picture
        std::vector<uint8_t> data(file.size() + 4, 0);
        data[0] = static_cast<uint8_t>(file.size());
        data[1] = static_cast<uint8_t>(file.size() >> 8);
        std::copy(file.begin(), file.end(), data.begin() + 4);
        EXPECT_THROW(bitmap.SetData(data), EInvalidGraphic);
    }
    EXPECT_THROW(bitmap.SetData({0x10, 0, 0, 0, 'B', 'M'}), EInvalidGraphic); // length beyond the data
    EXPECT_THROW(bitmap.SetData({1, 2}), EInvalidGraphic);
    EXPECT_EQ(changes.Count, 0);
    EXPECT_EQ(bitmap.Width(), 3);
    EXPECT_EQ(bitmap.Height(), 2);
    EXPECT_EQ(bitmap.PixelFormat(), pf24bit);
    EXPECT_EQ(SaveBytes(&bitmap), before);
    EXPECT_EQ(bitmap.TransparentColor(), clRed);

    // The untouched originals still load.
    for (const auto* good : {&good8, &good16, &good24})
        EXPECT_NO_THROW(LoadBytes(&bitmap, *good));
}

TEST(Bitmap, ScanLinesRunTopDownAndShareThePixelsWithTheCanvas)
{
    TBitmap bitmap;
    bitmap.SetPixelFormat(pf24bit);
    bitmap.SetSize(2, 3);
    bitmap.Canvas()->SetPixel(0, 0, clRed);
    bitmap.Canvas()->SetPixel(1, 2, clBlue);
    const uint8_t* top = bitmap.ScanLine(0);
    EXPECT_EQ(top[0], 0x00);
    EXPECT_EQ(top[1], 0x00);
    EXPECT_EQ(top[2], 0xFF);
    const uint8_t* bottom = bitmap.ScanLine(2);
    EXPECT_EQ(bottom[3], 0xFF);
    EXPECT_EQ(bottom[5], 0x00);
    uint8_t* middle = bitmap.ScanLine(1);
    middle[0] = 0x00;
    middle[1] = 0xFF;
    middle[2] = 0x00;
    EXPECT_EQ(Px(&bitmap, 0, 1), clLime);
    EXPECT_THROW(bitmap.ScanLine(-1), ERangeError);
    EXPECT_THROW(bitmap.ScanLine(3), ERangeError);
    TBitmap empty;
    EXPECT_THROW(empty.ScanLine(0), ERangeError);

    // 32-bit rows hold four bytes a pixel, again from the top.
    bitmap.SetPixelFormat(pf32bit);
    EXPECT_EQ(bitmap.ScanLine(0)[2], 0xFF);
    EXPECT_EQ(bitmap.ScanLine(2)[4], 0xFF);
}

TEST(Bitmap, SizeAndFormatChangesKeepPixels)
{
    TBitmap bitmap;
    TChangeCounter changes(&bitmap);
    bitmap.SetPixelFormat(pf24bit);
    bitmap.SetWidth(4);
    EXPECT_TRUE(bitmap.Empty());
    bitmap.SetHeight(3);
    EXPECT_FALSE(bitmap.Empty());
    EXPECT_EQ(changes.Count, 3);
    EXPECT_EQ(Px(&bitmap, 3, 2), clWhite);
    bitmap.Canvas()->SetPixel(0, 0, clRed);
    bitmap.Canvas()->SetPixel(3, 2, clBlue);
    changes.Count = 0;

    bitmap.SetSize(6, 5);
    EXPECT_EQ(Px(&bitmap, 0, 0), clRed);
    EXPECT_EQ(Px(&bitmap, 3, 2), clBlue);
    EXPECT_EQ(Px(&bitmap, 5, 4), clWhite);
    bitmap.SetSize(6, 5);
    bitmap.SetSize(2, 2);
    EXPECT_EQ(Px(&bitmap, 0, 0), clRed);
    EXPECT_EQ(changes.Count, 2);

    // Three colours fit every palette format from 4 bits up, so the trip
    // down and back keeps them; 1 bit keeps the two colours of a two-colour picture.
    bitmap.SetSize(3, 1);
    bitmap.Canvas()->SetPixel(1, 0, 0x123456);
    bitmap.Canvas()->SetPixel(2, 0, clBlue);
    changes.Count = 0;
    for (TPixelFormat f : {pf4bit, pf8bit, pf24bit, pfDevice, pf32bit, pf8bit, pf24bit}) {
        bitmap.SetPixelFormat(f);
        EXPECT_EQ(bitmap.PixelFormat(), f);
        EXPECT_EQ(Px(&bitmap, 0, 0), clRed) << f;
        EXPECT_EQ(Px(&bitmap, 1, 0), 0x123456) << f;
        EXPECT_EQ(Px(&bitmap, 2, 0), clBlue) << f;
    }
    bitmap.SetPixelFormat(pf24bit);
    EXPECT_EQ(changes.Count, 7);
    bitmap.Canvas()->SetPixel(1, 0, clRed);
    for (TPixelFormat f : {pf1bit, pf15bit, pf16bit, pf24bit}) {
        bitmap.SetPixelFormat(f);
        EXPECT_EQ(Px(&bitmap, 1, 0), clRed) << f;
        EXPECT_EQ(Px(&bitmap, 2, 0), clBlue) << f;
    }
    EXPECT_THROW(bitmap.SetPixelFormat(pfCustom), EInvalidGraphicOperation);

    // A palette format keeps its palette when the size changes.
    bitmap.SetPixelFormat(pf1bit);
    bitmap.SetWidth(5);
    EXPECT_EQ(Px(&bitmap, 2, 0), clBlue);
    EXPECT_EQ(bitmap.PixelFormat(), pf1bit);
}

TEST(Bitmap, TransparentColorFollowsTheModeAndNotifiesOnce)
{
    TBitmap bitmap;
    TChangeCounter changes(&bitmap);
    EXPECT_EQ(bitmap.TransparentMode(), tmAuto);
    EXPECT_EQ(bitmap.TransparentColor(), clDefault);
    bitmap.SetSize(3, 3);
    bitmap.Canvas()->SetPixel(0, 2, clRed);
    bitmap.Canvas()->SetPixel(0, 0, clBlue);
    EXPECT_EQ(bitmap.TransparentColor(), clRed);
    bitmap.Canvas()->SetPixel(0, 2, clLime);
    EXPECT_EQ(bitmap.TransparentColor(), clLime);
    changes.Count = 0;

    bitmap.SetTransparentColor(0x0E2E4E0);
    EXPECT_EQ(bitmap.TransparentMode(), tmFixed);
    EXPECT_EQ(bitmap.TransparentColor(), 0x0E2E4E0);
    bitmap.SetTransparentColor(0x0E2E4E0);
    EXPECT_EQ(changes.Count, 1);
    bitmap.Canvas()->SetPixel(0, 2, clRed);
    EXPECT_EQ(bitmap.TransparentColor(), 0x0E2E4E0);

    bitmap.SetTransparentMode(tmAuto);
    EXPECT_EQ(bitmap.TransparentColor(), clRed);
    bitmap.SetTransparentMode(tmAuto);
    changes.Count = 0;
    bitmap.SetTransparentMode(tmFixed); // freezes the colour seen now
    bitmap.Canvas()->SetPixel(0, 2, clBlue);
    EXPECT_EQ(bitmap.TransparentColor(), clRed);
    EXPECT_EQ(changes.Count, 2);
}

TEST(Bitmap, AssignCopiesDeeplyAndNotifiesOnce)
{
    TBitmap source;
    source.SetPixelFormat(pf8bit);
    source.SetSize(4, 2);
    source.Canvas()->SetPixel(1, 1, clRed);
    source.SetTransparentColor(clBlue);

    TBitmap copy;
    TChangeCounter changes(&copy);
    copy.Assign(&source);
    EXPECT_EQ(changes.Count, 1);
    EXPECT_EQ(copy.Width(), 4);
    EXPECT_EQ(copy.Height(), 2);
    EXPECT_EQ(copy.PixelFormat(), pf8bit);
    EXPECT_EQ(copy.TransparentMode(), tmFixed);
    EXPECT_EQ(copy.TransparentColor(), clBlue);
    EXPECT_NE(copy.Handle(), source.Handle());
    source.Canvas()->SetPixel(1, 1, clLime);
    EXPECT_EQ(Px(&copy, 1, 1), clRed);

    copy.Assign(&copy);
    EXPECT_EQ(changes.Count, 1);
    copy.Assign(nullptr);
    EXPECT_TRUE(copy.Empty());
    EXPECT_EQ(copy.Handle(), nullptr);
    copy.Assign(nullptr); // still one notification for the assignment
    EXPECT_EQ(changes.Count, 3);

    TBitmap sized; // a width without a height copies as such
    sized.SetWidth(7);
    copy.Assign(&sized);
    EXPECT_EQ(copy.Width(), 7);
    EXPECT_TRUE(copy.Empty());
}

TEST(Bitmap, OneNotificationPerChangeWithChainedHandlers)
{
    TBitmap bitmap;
    std::vector<std::string> calls;
    bitmap.OnChange = [&](TObject* sender) {
        EXPECT_EQ(sender, &bitmap);
        calls.push_back("old");
    };
    // A second party saves the handler, installs its own and calls the old one after its work.
    TNotifyEvent previous = bitmap.OnChange;
    bitmap.OnChange = [&, previous](TObject* sender) {
        calls.push_back("new");
        if (previous)
            previous(sender);
    };
    auto count = [&] {
        const int n = static_cast<int>(calls.size() / 2);
        calls.clear();
        return n;
    };

    bitmap.SetSize(4, 4);
    EXPECT_EQ(calls, (std::vector<std::string>{"new", "old"}));
    EXPECT_EQ(count(), 1);
    TCanvas* canvas = bitmap.Canvas();
    EXPECT_EQ(count(), 0);
    canvas->Brush()->SetColor(clRed);
    canvas->Pen()->SetColor(clBlue);
    EXPECT_EQ(count(), 0);
    canvas->FillRect(Rect(0, 0, 2, 2));
    EXPECT_EQ(count(), 1);
    canvas->Rectangle(0, 0, 4, 4);
    canvas->Ellipse(0, 0, 4, 4);
    EXPECT_EQ(count(), 2);
    canvas->Pixel(1, 1);
    bitmap.Handle();
    bitmap.ScanLine(0);
    bitmap.TransparentColor();
    bitmap.Data();
    EXPECT_EQ(count(), 0);
    bitmap.SetTransparent(true);
    bitmap.SetTransparent(true);
    EXPECT_EQ(count(), 1);
    LoadBytes(&bitmap, SaveBytes(&bitmap));
    EXPECT_EQ(count(), 1);
    bitmap.SetData(bitmap.Data());
    EXPECT_EQ(count(), 1);
    HBITMAP handle = bitmap.ReleaseHandle();
    EXPECT_EQ(count(), 1);
    EXPECT_EQ(bitmap.ReleaseHandle(), nullptr);
    bitmap.SetHandle(handle);
    EXPECT_EQ(count(), 1);
    bitmap.SetHandle(handle);
    EXPECT_EQ(count(), 0);
}

TEST(Bitmap, HandlesAreTakenOverGivenAwayAndSharedBetweenContexts)
{
    TBitmap a, b;
    a.SetPixelFormat(pf24bit);
    b.SetPixelFormat(pf24bit);
    a.SetSize(8, 8);
    b.SetSize(8, 8);
    a.Canvas()->Brush()->SetColor(clRed);
    a.Canvas()->FillRect(Rect(0, 0, 8, 8)); // a's canvas now has a's handle selected
    b.Canvas()->FillRect(Rect(0, 0, 8, 8));

    // A painter borrows a's handle through a temporary bitmap to copy it onto b.
    HBITMAP handle = a.Handle();
    a.Canvas()->FillRect(Rect(0, 0, 4, 4)); // selected again before the borrower comes
    auto* borrowed = new TBitmap;
    borrowed->SetHandle(handle);
    EXPECT_EQ(borrowed->Width(), 8);
    EXPECT_EQ(borrowed->PixelFormat(), pf24bit);
    b.Canvas()->CopyRect(Rect(2, 2, 6, 6), borrowed->Canvas(), Rect(0, 0, 4, 4));
    EXPECT_EQ(borrowed->ReleaseHandle(), handle);
    delete borrowed;
    EXPECT_EQ(Px(&b, 2, 2), clRed);
    EXPECT_EQ(Px(&b, 5, 5), clRed);
    EXPECT_EQ(Px(&b, 1, 1), clWhite);
    EXPECT_EQ(Px(&b, 6, 6), clWhite);

    // The owner draws on afterwards with the same handle, and block copies
    // from its canvas work both ways.
    a.Canvas()->Brush()->SetColor(clBlue);
    a.Canvas()->FillRect(Rect(0, 0, 1, 1));
    EXPECT_EQ(a.Handle(), handle);
    EXPECT_EQ(Px(&a, 0, 0), clBlue);
    b.Canvas()->CopyRect(Rect(0, 0, 1, 1), a.Canvas(), Rect(0, 0, 1, 1));
    a.Canvas()->CopyRect(Rect(7, 7, 8, 8), b.Canvas(), Rect(0, 0, 1, 1));
    EXPECT_EQ(Px(&b, 0, 0), clBlue);
    EXPECT_EQ(Px(&a, 7, 7), clBlue);

    // Given away, the handle outlives the bitmap; taken over, it brings its size and pixels.
    HBITMAP released = a.ReleaseHandle();
    EXPECT_TRUE(a.Empty());
    EXPECT_EQ(a.Width(), 0);
    DIBSECTION info{};
    ASSERT_EQ(GetObjectA(released, sizeof(info), &info), int(sizeof(DIBSECTION)));
    TBitmap taker;
    taker.SetHandle(released);
    EXPECT_EQ(taker.Width(), 8);
    EXPECT_EQ(Px(&taker, 7, 7), clBlue);

    // A device-dependent bitmap works through the canvas and becomes a DIB
    // section when its pixels are needed.
    HDC screen = GetDC(nullptr);
    HBITMAP device = CreateCompatibleBitmap(screen, 3, 2);
    ReleaseDC(nullptr, screen);
    TBitmap ddb;
    ddb.SetHandle(device);
    EXPECT_EQ(ddb.Width(), 3);
    EXPECT_EQ(ddb.Height(), 2);
    ddb.Canvas()->SetPixel(2, 1, clLime);
    EXPECT_EQ(ddb.TransparentColor(), clBlack);
    ddb.SetPixelFormat(pf24bit);
    EXPECT_EQ(ddb.ScanLine(1)[7], 0xFF);
    EXPECT_EQ(Px(&ddb, 2, 1), clLime);
}

TEST(Bitmap, DataStreamsThroughFormText)
{
    const TOwned<TPictureHolder> holder(new TPictureHolder(nullptr));
    holder->SetName("Holder");
    EXPECT_EQ(WriteComponentText(holder.get()).find("Picture.Data"), std::string::npos); // empty stores nothing

    TBitmap* picture = holder->Picture();
    picture->SetPixelFormat(pf24bit);
    picture->SetSize(3, 2);
    picture->Canvas()->SetPixel(0, 0, clRed);
    picture->Canvas()->SetPixel(2, 1, 0x123456);
    const std::vector<uint8_t> data = picture->Data();
    ASSERT_GT(data.size(), 4u);
    EXPECT_EQ(data[0] | (data[1] << 8) | (data[2] << 16) | (data[3] << 24), int(data.size() - 4));
    EXPECT_EQ(data[4], 'B');
    EXPECT_EQ(data[5], 'M');

    const std::string text = WriteComponentText(holder.get());
    EXPECT_NE(text.find("Picture.Data = {"), std::string::npos) << text;
    const TOwned<TPictureHolder> reread(new TPictureHolder(nullptr));
    TChangeCounter changes(reread->Picture());
    ReadComponentText(reread.get(), text);
    EXPECT_EQ(changes.Count, 1);
    EXPECT_EQ(reread->Picture()->Width(), 3);
    EXPECT_EQ(Px(reread->Picture(), 0, 0), clRed);
    EXPECT_EQ(Px(reread->Picture(), 2, 1), 0x123456);
    EXPECT_EQ(WriteComponentText(reread.get()), text);

    // A length of zero is an empty picture; a hostile block is refused with the line.
    ReadComponentText(reread.get(), "object Holder: TPictureHolder\n  Picture.Data = {\n    00000000}\nend\n");
    EXPECT_TRUE(reread->Picture()->Empty());
    EXPECT_THROW(ReadComponentText(reread.get(), "object Holder: TPictureHolder\n  Picture.Data = {\n    FF000000424D}\nend\n"),
                 EReadError);
    EXPECT_TRUE(reread->Picture()->Empty());
}

namespace {

// A 1-bit BMP file, one row of Bytes bytes, every byte of it there.
std::vector<uint8_t> OneRowBmp(uint32_t Bytes)
{
    std::vector<uint8_t> out{'B', 'M'};
    const uint32_t offBits = 14 + 40 + 8;
    Put(out, offBits + Bytes, 4);
    Put(out, 0, 4);
    Put(out, offBits, 4);
    Put(out, 40, 4);
    Put(out, Bytes * 8, 4);
    Put(out, 1, 4);
    Put(out, 1, 2);
    Put(out, 1, 2);
    Put(out, BI_RGB, 4);
    Put(out, Bytes, 4);
    out.resize(offBits, 0);
    out[offBits - 4] = out[offBits - 3] = out[offBits - 2] = 0xFF; // white
    out.resize(offBits + Bytes, 0x55);
    return out;
}

} // namespace

TEST(Bitmap, PicturesAbove64MiBAndRunningOutOfMemoryLeaveTheBitmapUntouched)
{
    TBmpLayout small;
    small.Pixels.assign(15, 0x00FF00);
    TBitmap bitmap;
    LoadBytes(&bitmap, BuildBmp(small));
    TChangeCounter changes(&bitmap);
    const std::vector<uint8_t> before = SaveBytes(&bitmap);
    auto untouched = [&] {
        EXPECT_EQ(changes.Count, 0);
        EXPECT_EQ(bitmap.Width(), 5);
        EXPECT_EQ(SaveBytes(&bitmap), before);
    };

    // Just over 64 MiB of pixels, all of them in the file.
    EXPECT_THROW(LoadBytes(&bitmap, OneRowBmp((64u << 20) + 4)), EInvalidGraphic);
    untouched();
    // A 24-bit picture of 5000 x 5000 would take 75 MB.
    EXPECT_THROW(bitmap.SetSize(5000, 5000), EOutOfResources);
    untouched();

    // 48 MiB when the address space has no room that large left.
    TMemoryStream stream(OneRowBmp(48u << 20));
    std::vector<void*> reserved;
    while (void* block = VirtualAlloc(nullptr, 32u << 20, MEM_RESERVE, PAGE_NOACCESS))
        reserved.push_back(block);
    bool invalid = false;
    try {
        bitmap.LoadFromStream(&stream);
    } catch (const EInvalidGraphic&) {
        invalid = true;
    } catch (...) {
    }
    for (void* block : reserved)
        VirtualFree(block, 0, MEM_RELEASE);
    EXPECT_TRUE(invalid);
    untouched();
}
