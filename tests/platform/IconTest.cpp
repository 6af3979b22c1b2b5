#include "platform/FormFile.h"
#include "platform/ImageList.h"

#include <gtest/gtest.h>

using namespace platform;

namespace {

// A 16 x 16 icon, opaque, in one colour.
HICON SolidIcon(TColor color)
{
    TBitmap image, mask;
    image.SetPixelFormat(pf24bit);
    image.SetSize(16, 16);
    image.Canvas()->Brush()->SetColor(color);
    image.Canvas()->FillRect(Rect(0, 0, 16, 16));
    mask.SetPixelFormat(pf1bit);
    mask.SetSize(16, 16);
    mask.Canvas()->Brush()->SetColor(clBlack);
    mask.Canvas()->FillRect(Rect(0, 0, 16, 16));
    ICONINFO info{TRUE, 0, 0, mask.Handle(), image.Handle()};
    return CreateIconIndirect(&info);
}

TColor DrawnAt(TGraphic* graphic, int x, int y)
{
    TBitmap surface;
    surface.SetPixelFormat(pf24bit);
    surface.SetSize(40, 40);
    surface.Canvas()->Draw(0, 0, graphic);
    return surface.Canvas()->Pixel(x, y);
}

} // namespace

TEST(Icon, LoadsCopiesAndDraws)
{
    TIcon icon;
    EXPECT_TRUE(icon.Empty());
    int changes = 0;
    icon.OnChange = [&](TObject*) { ++changes; };
    icon.LoadFromResourceName(GetModuleHandleA(nullptr), "TESSEL_TEST_ICON");
    EXPECT_EQ(changes, 1);
    ASSERT_FALSE(icon.Empty());
    EXPECT_EQ(icon.Width(), 32);
    EXPECT_EQ(icon.Height(), 32);
    EXPECT_EQ(DrawnAt(&icon, 10, 5), clRed);
    EXPECT_EQ(DrawnAt(&icon, 10, 25), clBlue);
    EXPECT_EQ(DrawnAt(&icon, 35, 35), clWhite);
    EXPECT_THROW(icon.LoadFromResourceName(GetModuleHandleA(nullptr), "NO_SUCH_ICON"), EResNotFound);
    EXPECT_EQ(changes, 1);
    EXPECT_THROW(icon.SetWidth(16), EInvalidGraphicOperation);

    // A copy has its own handle and outlives its source.
    auto* source = new TIcon;
    source->SetHandle(SolidIcon(clLime));
    TIcon copy;
    copy.Assign(source);
    EXPECT_NE(copy.Handle(), source->Handle());
    EXPECT_EQ(copy.Width(), 16);
    delete source;
    EXPECT_EQ(DrawnAt(&copy, 8, 8), clLime);

    HICON released = copy.ReleaseHandle();
    EXPECT_TRUE(copy.Empty());
    icon.Assign(nullptr);
    EXPECT_TRUE(icon.Empty());
    icon.SetHandle(released);
    EXPECT_EQ(icon.Width(), 16);
}

TEST(ImageList, AddsImagesAndHandsOutIcons)
{
    auto* list = new TImageList(nullptr);
    list->SetName("Images");
    EXPECT_EQ(list->Width(), 16);
    EXPECT_EQ(list->Height(), 16);
    EXPECT_EQ(list->Count(), 0);
    EXPECT_EQ(WriteComponentText(list), "object Images: TImageList\r\nend\r\n");

    TIcon lime;
    lime.SetHandle(SolidIcon(clLime));
    EXPECT_EQ(list->AddIcon(&lime), 0);

    // Two images side by side, the right one masked out in its middle.
    TBitmap strip, mask;
    strip.SetPixelFormat(pf24bit);
    strip.SetSize(32, 16);
    strip.Canvas()->Brush()->SetColor(clRed);
    strip.Canvas()->FillRect(Rect(0, 0, 16, 16));
    strip.Canvas()->Brush()->SetColor(clBlue);
    strip.Canvas()->FillRect(Rect(16, 0, 32, 16));
    mask.SetPixelFormat(pf1bit);
    mask.SetSize(32, 16);
    mask.Canvas()->Brush()->SetColor(clBlack);
    mask.Canvas()->FillRect(Rect(0, 0, 32, 16));
    mask.Canvas()->Brush()->SetColor(clWhite);
    mask.Canvas()->FillRect(Rect(20, 4, 28, 12));
    EXPECT_EQ(list->Add(&strip, &mask), 1);
    EXPECT_EQ(list->Count(), 3);
    // The bitmaps stay usable after the list has copied them.
    strip.Canvas()->Brush()->SetColor(clBlack);
    strip.Canvas()->FillRect(Rect(0, 0, 32, 16));
    EXPECT_EQ(strip.Canvas()->Pixel(1, 1), clBlack);

    TIcon icon;
    EXPECT_TRUE(list->GetIcon(0, &icon));
    EXPECT_EQ(DrawnAt(&icon, 8, 8), clLime);
    EXPECT_TRUE(list->GetIcon(1, &icon));
    EXPECT_EQ(DrawnAt(&icon, 8, 8), clRed);
    EXPECT_TRUE(list->GetIcon(2, &icon));
    EXPECT_EQ(DrawnAt(&icon, 1, 1), clBlue);
    EXPECT_EQ(DrawnAt(&icon, 8, 8), clWhite); // masked out

    const HICON kept = icon.Handle();
    EXPECT_FALSE(list->GetIcon(3, &icon));
    EXPECT_FALSE(list->GetIcon(-1, &icon));
    EXPECT_EQ(icon.Handle(), kept);

    list->Clear();
    EXPECT_EQ(list->Count(), 0);
    EXPECT_FALSE(list->GetIcon(0, &icon));
    EXPECT_EQ(list->AddIcon(&lime), 0);
    list->SetWidth(32); // images of the old size do not fit the new one
    EXPECT_EQ(list->Count(), 0);
    EXPECT_EQ(list->AddIcon(&lime), 0);
    EXPECT_TRUE(list->GetIcon(0, &icon));
    EXPECT_EQ(icon.Width(), 32);
    EXPECT_EQ(WriteComponentText(list), "object Images: TImageList\r\n  Width = 32\r\nend\r\n");
    list->Free();
}
