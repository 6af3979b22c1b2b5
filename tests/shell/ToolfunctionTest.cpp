// The shell's tool functions on real bitmaps, regions, files and controls:
// regions cut by a key range, image loading, language-aware placement and
// the buttons' skin files.
#include "ShellHarness.h"

#include "shell/MsgFrm.h"
#include "shell/Toolfunction.h"

#include "KsPackage/Source/KsButtonTx.h"

#include "platform/Form.h"
#include "platform/GdiScope.h"
#include "platform/Image.h"
#include "platform/Label.h"

#include <gtest/gtest.h>

#include <functional>
#include <utility>
#include <sstream>

using namespace tessel;
using namespace shelltest;

namespace {

// A device-independent bitmap whose pixels come from Colour(x, y) (0x00BBGGRR).
class TDibBitmap {
public:
    TDibBitmap(int Width, int Height, const std::function<COLORREF(int, int)>& Colour)
    {
        BITMAPINFO info{};
        info.bmiHeader = {sizeof(BITMAPINFOHEADER), Width, -Height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
        void* bits = nullptr;
        FHandle = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
        auto* pixels = static_cast<uint32_t*>(bits);
        for (int y = 0; y < Height; ++y)
            for (int x = 0; x < Width; ++x) {
                const COLORREF c = Colour(x, y);
                pixels[y * Width + x] = GetBValue(c) | GetGValue(c) << 8 | GetRValue(c) << 16;
            }
    }
    ~TDibBitmap() { DeleteObject(FHandle); }
    TDibBitmap(const TDibBitmap&) = delete;
    TDibBitmap& operator=(const TDibBitmap&) = delete;
    HBITMAP Handle() const { return FHandle; }

private:
    HBITMAP FHandle;
};

using TRegion = platform::TGdiObject<HRGN>;

// The region's rectangles as the system keeps them.
std::vector<RECT> Rects(HRGN Region)
{
    std::vector<char> data(GetRegionData(Region, 0, nullptr));
    GetRegionData(Region, static_cast<DWORD>(data.size()), reinterpret_cast<RGNDATA*>(data.data()));
    const auto* header = reinterpret_cast<const RGNDATAHEADER*>(data.data());
    const auto* rects = reinterpret_cast<const RECT*>(data.data() + header->dwSize);
    return std::vector<RECT>(rects, rects + header->nCount);
}

std::string Describe(HRGN Region)
{
    std::ostringstream text;
    for (const RECT& r : Rects(Region))
        text << "(" << r.left << "," << r.top << ")-(" << r.right << "," << r.bottom << ") ";
    return text.str();
}

const COLORREF Magenta = RGB(255, 0, 255);

TEST(BitmapToRegion, KeepsEveryPixelOutsideTheKeyRange)
{
    // Key, other, other, key / no key at all.
    TDibBitmap exact(4, 2, [](int x, int y) { return y == 0 && (x == 0 || x == 3) ? Magenta : RGB(1, 2, 3); });
    TRegion region = TRegion(BitmapToRegion(exact.Handle(), Magenta, 0));
    ASSERT_TRUE(region);
    EXPECT_EQ(Describe(region.Get()), "(1,0)-(3,1) (0,1)-(4,2) ");

    // Red 250 with a tolerance of 10 takes 250 to 255 and stops there
    // (no wrap to 0..4); each channel has its own range.
    const COLORREF row[] = {RGB(249, 20, 30), RGB(250, 20, 30), RGB(255, 20, 30), RGB(0, 20, 30), RGB(4, 20, 30),
                            RGB(252, 25, 30), RGB(252, 26, 30), RGB(252, 20, 29), RGB(252, 20, 31)};
    TDibBitmap ranged(9, 1, [&](int x, int) { return row[x]; });
    region = TRegion(BitmapToRegion(ranged.Handle(), RGB(250, 20, 30), RGB(10, 5, 0)));
    std::string kept;
    for (int x = 0; x < 9; ++x)
        kept += PtInRegion(region.Get(), x, 0) ? '#' : '.';
    EXPECT_EQ(kept, "#..##.###");

    // Rows are scanned from the top of the picture, whatever its row order in memory.
    TDibBitmap topRow(3, 3, [](int x, int y) { return y == 0 && x == 1 ? RGB(9, 9, 9) : Magenta; });
    region = TRegion(BitmapToRegion(topRow.Handle(), Magenta, 0));
    EXPECT_EQ(Describe(region.Get()), "(1,0)-(2,1) ");
}

TEST(BitmapToRegion, AllKeyIsEmptyAndNoBitmapIsNone)
{
    TDibBitmap keyOnly(30, 20, [](int, int) { return Magenta; });
    TRegion region = TRegion(BitmapToRegion(keyOnly.Handle(), Magenta, 0));
    ASSERT_TRUE(region) << "an empty region, not none";
    RECT box{};
    EXPECT_EQ(GetRgnBox(region.Get(), &box), NULLREGION);

    EXPECT_EQ(BitmapToRegion(nullptr, Magenta, 0), nullptr);
}

TEST(BitmapToRegion, ManyRunsGiveTheSameRegionAsOnePass)
{
    // Every other pixel is key: 150 runs a row, 6000 in all, merged in batches of 2000.
    const int width = 300, height = 40;
    auto colour = [](int x, int y) { return (x + y) % 2 ? Magenta : RGB(10, 20, 30); };
    TDibBitmap dots(width, height, colour);
    TRegion region = TRegion(BitmapToRegion(dots.Handle(), Magenta, 0));
    ASSERT_TRUE(region);

    TRegion expected = TRegion(CreateRectRgn(0, 0, 0, 0));
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            if (colour(x, y) != Magenta) {
                TRegion pixel = TRegion(CreateRectRgn(x, y, x + 1, y + 1));
                CombineRgn(expected.Get(), expected.Get(), pixel.Get(), RGN_OR);
            }
    EXPECT_TRUE(EqualRgn(region.Get(), expected.Get()));
    EXPECT_EQ(Rects(region.Get()).size(), static_cast<size_t>(width * height / 2));
}

class ToolFunctions : public TSuiteTest {
protected:
    void Language(const std::string& Name)
    {
        FreeLanguage();
        Suite.AddModule("KsMultiLang.dll");
        Suite.Double("KsMultiLang", "Name", Name);
        ASSERT_EQ(LoadLanguage(0), langLoaded);
    }
};

TEST_F(ToolFunctions, LoadImageFileTakesOnlyReadableFiles)
{
    platform::TOwned<platform::TImage> image(new platform::TImage(nullptr));
    LoadImageFile(nullptr, SuiteBin() + "ContainerImages\\popup_bg_s.bmp");
    LoadImageFile(image.get(), Suite.Path() + "missing.bmp");
    EXPECT_TRUE(image->Picture()->Bitmap()->Empty());

    LoadImageFile(image.get(), SuiteBin() + "ContainerImages\\popup_bg_s.bmp");
    EXPECT_EQ(image->Picture()->Width(), 270);
    EXPECT_EQ(image->Picture()->Height(), 160);

    // A damaged file counts as a missing one: the picture stays as it was.
    Suite.Write("broken.bmp", "BM not really a bitmap");
    LoadImageFile(image.get(), Suite.Path() + "broken.bmp");
    EXPECT_EQ(image->Picture()->Width(), 270);
}

TEST_F(ToolFunctions, PlaceControlLowersLabelsUnderJapaneseOnly)
{
    platform::TOwned<platform::TForm> form(platform::New<platform::TForm>(nullptr));
    auto* label = new platform::TLabel(form.get());
    label->SetParent(form.get());
    auto* button = new KsButtonTx(form.get());
    button->SetParent(form.get());
    auto bounds = [](platform::TControl* c) {
        return std::to_string(c->Left()) + "," + std::to_string(c->Top()) + "," + std::to_string(c->Width()) + "," +
               std::to_string(c->Height());
    };

    for (const char* name : {"Japanese", "JAPANESE", "English"}) {
        Language(name);
        PlaceControl(label, 20, 60, 240, 60);
        PlaceControl(button, 33, 112, 97, 23);
        const bool exact = std::string(name) == "Japanese";
        EXPECT_EQ(bounds(label), exact ? "20,63,240,60" : "20,60,240,60") << name;
        EXPECT_EQ(bounds(button), "33,112,97,23") << name;
    }
    // Through the button's own setter: its caption is centred in the new client area.
    const platform::TRect text = button->TextBounds();
    EXPECT_EQ(std::to_string(text.left) + "," + std::to_string(text.top) + "," + std::to_string(text.right) + "," +
                  std::to_string(text.bottom),
              "0,0,97,23");
    PlaceControl(nullptr, 1, 2, 3, 4);
}

TEST_F(ToolFunctions, LoadButtonSkinLoadsTheFilesThatExist)
{
    platform::TOwned<platform::TForm> form(platform::New<platform::TForm>(nullptr));
    auto* button = new KsButtonTx(form.get());
    KsFourStateAppearance* look = button->Appearance();
    // Pictures the button had before: they stay where no file exists.
    for (platform::TBitmap* bitmap : {look->SunkenBmp(), look->FocusedBmp()}) {
        bitmap->SetPixelFormat(platform::pf24bit);
        bitmap->SetSize(5, 5);
    }

    const std::string skins = Suite.Path() + "Skins\\";
    CreateDirectoryA(skins.c_str(), nullptr);
    CopyFileA((SuiteBin() + "ContainerImages\\button_n.bmp").c_str(), (skins + "button_n.bmp").c_str(), FALSE);
    CopyFileA((SuiteBin() + "ContainerImages\\button_o.bmp").c_str(), (skins + "other_o.bmp").c_str(), FALSE);
    LoadButtonSkin(button, skins, "button");

    platform::TBitmap expected;
    expected.LoadFromFile(skins + "button_n.bmp");
    ASSERT_EQ(look->RaisedBmp()->Width(), 97);
    ASSERT_EQ(look->RaisedBmp()->Height(), 23);
    for (int y = 0; y < 23; y += 11)
        for (int x = 0; x < 97; x += 8)
            ASSERT_EQ(look->RaisedBmp()->Canvas()->Pixel(x, y), expected.Canvas()->Pixel(x, y)) << x << "," << y;
    EXPECT_EQ(look->SunkenBmp()->Width(), 5);
    EXPECT_EQ(look->FocusedBmp()->Width(), 5) << "only files of the base name count";
    EXPECT_TRUE(look->DisabledBmp()->Empty());

    // A damaged file counts as a missing one, and the others are not taken either.
    CopyFileA((SuiteBin() + "ContainerImages\\button_d.bmp").c_str(), (skins + "button_d.bmp").c_str(), FALSE);
    WriteWholeFile(skins + "button_n.bmp", "BM damaged");
    LoadButtonSkin(button, skins, "button");
    EXPECT_EQ(look->RaisedBmp()->Width(), 97);
    EXPECT_EQ(look->SunkenBmp()->Width(), 5);

    // All four files: each state shows its own.
    for (const char* suffix : {"_n.bmp", "_d.bmp", "_o.bmp", "_un.bmp"})
        CopyFileA((SuiteBin() + "ContainerImages\\button" + suffix).c_str(), (skins + "button" + suffix).c_str(),
                  FALSE);
    LoadButtonSkin(button, skins, "button");
    const std::pair<platform::TBitmap*, const char*> states[] = {{look->RaisedBmp(), "_n.bmp"},
                                                                 {look->SunkenBmp(), "_d.bmp"},
                                                                 {look->FocusedBmp(), "_o.bmp"},
                                                                 {look->DisabledBmp(), "_un.bmp"}};
    for (const auto& [bitmap, suffix] : states) {
        platform::TBitmap file;
        file.LoadFromFile(skins + "button" + suffix);
        ASSERT_EQ(bitmap->Width(), 97) << suffix;
        int differing = 0;
        for (int y = 0; y < 23; ++y)
            for (int x = 0; x < 97; ++x)
                differing += bitmap->Canvas()->Pixel(x, y) != file.Canvas()->Pixel(x, y);
        EXPECT_EQ(differing, 0) << suffix;
    }
}

} // namespace
