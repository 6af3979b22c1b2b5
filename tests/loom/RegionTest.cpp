#include "loom/Graphics/WinRegion.h"
#include "LoomTesting.h"

#include <gtest/gtest.h>

using namespace platform;
using loom::WinRegion;

namespace {

const TColor Key = 0x00FF00FF;   // magenta
const TColor Other = 0x00336699;

// Every point of a w x h area (plus a one-pixel border) is inside the region
// exactly where expected says so.
template <class Expected>
void ExpectShape(const WinRegion& region, int w, int h, Expected expected)
{
    for (int y = -1; y <= h; ++y)
        for (int x = -1; x <= w; ++x)
            EXPECT_EQ(region.Contains(x, y), x >= 0 && y >= 0 && x < w && y < h && expected(x, y))
                << "at " << x << "," << y;
}

} // namespace

TEST(WinRegion, CutsEveryRunOfTheKeyColourOutOfTheBitmap)
{
    // key, other, other, key over a row without key.
    TBitmap bitmap;
    Fill24(bitmap, 4, 2, Other);
    Put24(bitmap, 0, 0, Key);
    Put24(bitmap, 3, 0, Key);
    WinRegion region;
    region.FromBitmap(&bitmap, Key);
    ExpectShape(region, 4, 2, [](int x, int y) { return y == 1 || x == 1 || x == 2; });

    // Runs inside a row, isolated pixels and a row that is all key.
    TBitmap picture;
    Fill24(picture, 9, 3, Other);
    for (int x : {2, 3, 4, 7})
        Put24(picture, x, 0, Key);
    for (int x = 0; x < 9; ++x)
        Put24(picture, x, 1, Key);
    Put24(picture, 8, 2, Key);
    region.FromBitmap(&picture, Key);
    ExpectShape(region, 9, 3, [](int x, int y) {
        if (y == 0)
            return x < 2 || x == 5 || x == 6 || x == 8;
        return y == 2 && x != 8;
    });
}

TEST(WinRegion, PicturesWithRepeatedAndAlteredRowsGiveExactlyTheirOtherPixels)
{
    // Rows drawn from a few patterns, so that runs repeat row after row,
    // stop, come back after a different row, or keep their count but move.
    const char* const patterns[] = {"..##..#...", "..##..#...", "...#..#...", "##########", "####......",
                                    "#........#", "..........", ".#.#.#.#.#"};
    uint32_t seed = 7;
    for (int round = 0; round < 40; ++round) {
        const int width = 10, height = 1 + round % 12;
        std::vector<std::string> rows;
        for (int y = 0; y < height; ++y) {
            seed = seed * 1664525u + 1013904223u;
            rows.push_back(patterns[(seed >> 16) % 8]);
        }
        TBitmap bitmap;
        Fill24(bitmap, width, height, Other);
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x)
                if (rows[y][x] == '.')
                    Put24(bitmap, x, y, Key);
        WinRegion region;
        region.FromBitmap(&bitmap, Key);
        SCOPED_TRACE("round " + std::to_string(round));
        ExpectShape(region, width, height, [&](int x, int y) { return rows[y][x] == '#'; });
    }
}

TEST(WinRegion, WholeEmptyAndZeroSizedBitmaps)
{
    WinRegion region;
    ExpectShape(region, 3, 3, [](int, int) { return false; });

    TBitmap plain;
    Fill24(plain, 5, 3, Other);
    region.FromBitmap(&plain, Key);
    ExpectShape(region, 5, 3, [](int, int) { return true; });

    TBitmap keyOnly;
    Fill24(keyOnly, 5, 3, Key);
    region.FromBitmap(&keyOnly, Key);
    ExpectShape(region, 5, 3, [](int, int) { return false; });

    region.FromBitmap(&plain, Key);
    TBitmap none;
    none.SetPixelFormat(pf24bit);
    region.FromBitmap(&none, Key);
    ExpectShape(region, 5, 3, [](int, int) { return false; });

    // A width without height is empty too, and nothing is scanned.
    TBitmap flat;
    flat.SetPixelFormat(pf24bit);
    flat.SetWidth(7);
    region.FromBitmap(&flat, Key);
    EXPECT_FALSE(region.Contains(0, 0));
}

TEST(WinRegion, MatchesTheColourExactlyChannelByChannel)
{
    // 15000288: red E0, green E2, blue E4; the top byte is ignored.
    const TColor key = 15000288;
    ASSERT_EQ(key, 0xE4E2E0);
    TBitmap bitmap;
    Fill24(bitmap, 7, 1, key);
    Put24(bitmap, 1, 0, 0xE4E2E1);
    Put24(bitmap, 2, 0, 0xE4E2DF);
    Put24(bitmap, 3, 0, 0xE4E3E0);
    Put24(bitmap, 4, 0, 0xE4E1E0);
    Put24(bitmap, 5, 0, 0xE5E2E0);
    Put24(bitmap, 6, 0, 0xE3E2E0);
    EXPECT_EQ(bitmap.ScanLine(0)[0], 0xE4); // blue first
    EXPECT_EQ(bitmap.ScanLine(0)[2], 0xE0);
    WinRegion region;
    region.FromBitmap(&bitmap, key | static_cast<TColor>(0x7F000000));
    EXPECT_FALSE(region.Contains(0, 0));
    for (int x = 1; x < 7; ++x)
        EXPECT_TRUE(region.Contains(x, 0)) << x;
}

TEST(WinRegion, ReadsOtherPixelFormatsWithoutChangingTheBitmap)
{
    for (TPixelFormat format : {pf32bit, pf16bit, pf15bit, pf8bit, pf4bit, pfDevice}) {
        // Pure colours survive every format's conversion.
        TBitmap bitmap;
        Fill24(bitmap, 6, 4, 0x0000FF);
        for (int x = 0; x < 6; ++x)
            Put24(bitmap, x, 0, 0xFF0000);
        Put24(bitmap, 2, 2, 0xFF0000);
        Put24(bitmap, 3, 2, 0xFF0000);
        Put24(bitmap, 5, 3, 0xFF0000);
        bitmap.SetPixelFormat(format);
        const std::vector<uint8_t> before = bitmap.Data();
        int changes = 0;
        bitmap.OnChange = [&](TObject*) { ++changes; };

        WinRegion region;
        region.FromBitmap(&bitmap, 0xFF0000);
        ExpectShape(region, 6, 4, [](int x, int y) {
            return y != 0 && !(y == 2 && (x == 2 || x == 3)) && !(y == 3 && x == 5);
        });
        EXPECT_EQ(changes, 0) << format;
        EXPECT_EQ(bitmap.PixelFormat(), format);
        EXPECT_EQ(bitmap.Data(), before) << format;
    }
}

TEST(WinRegion, WindowsGetCopiesAndTheRegionStaysUsable)
{
    HWND window = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 40, 20, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(window, nullptr);
    WinRegion region;
    region.SetRect(2, 3, 10, 8);
    EXPECT_NE(region.ApplyToWindow(window, true), 0);
    EXPECT_TRUE(region.Contains(2, 3));
    EXPECT_FALSE(region.Contains(10, 8));

    HRGN windowRegion = CreateRectRgn(0, 0, 0, 0);
    ASSERT_NE(GetWindowRgn(window, windowRegion), ERROR);
    EXPECT_TRUE(PtInRegion(windowRegion, 9, 7));
    EXPECT_FALSE(PtInRegion(windowRegion, 1, 7));

    // The object keeps its own handle: changing it leaves the window's copy alone.
    region.SetEmpty();
    EXPECT_FALSE(region.Contains(2, 3));
    ASSERT_NE(GetWindowRgn(window, windowRegion), ERROR);
    EXPECT_TRUE(PtInRegion(windowRegion, 9, 7));

    region.SetRect(0, 0, 4, 4);
    EXPECT_NE(region.ApplyToWindow(window, false), 0);
    ASSERT_NE(GetWindowRgn(window, windowRegion), ERROR);
    EXPECT_TRUE(PtInRegion(windowRegion, 3, 3));
    EXPECT_FALSE(PtInRegion(windowRegion, 9, 7));
    DeleteObject(windowRegion);
    DestroyWindow(window);

    // A refused copy is not leaked and the region lives on.
    EXPECT_EQ(region.ApplyToWindow(nullptr, false), 0);
    EXPECT_TRUE(region.Contains(3, 3));
}

TEST(WinRegion, CloneAndSubtract)
{
    WinRegion region;
    region.SetRect(0, 0, 10, 10);
    HRGN copy = region.Clone();
    WinRegion hole;
    hole.SetRect(2, 2, 4, 4);
    region.Subtract(hole);
    EXPECT_FALSE(region.Contains(3, 3));
    EXPECT_TRUE(region.Contains(4, 4));
    EXPECT_TRUE(PtInRegion(copy, 3, 3));
    DeleteObject(copy);
}
