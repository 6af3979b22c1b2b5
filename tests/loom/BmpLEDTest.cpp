#include "loom/Component/TBmpLEDCtrl.h"
#include "LoomTesting.h"
#include "platform/Application.h"
#include "platform/Control.h"
#include "platform/Form.h"

#include <gtest/gtest.h>

using namespace platform;
// Inside the library's namespace its shape names win over the platform's
// drawing functions of the same names.
namespace loom {

namespace {

const TColor Red = 0x0000FF, Blue = 0xFF0000, Marker = 0x123456;

// A control that owns and parents its picture LED, the way the skinned
// controls do.
struct Host {
    Host(int states) : control(new TWinControl(nullptr)), led(new TBmpLEDCtrl(control, control, states)) {}
    ~Host()
    {
        delete led;
        control->Free();
    }
    TWinControl* control;
    TBmpLEDCtrl* led;
};

} // namespace

TEST(TBmpLEDCtrl, StartsWithEmptyStatesAndShowsStateZero)
{
    Host host(4);
    TBmpLEDCtrl& led = *host.led;
    EXPECT_EQ(led.StateCount(), 4);
    EXPECT_EQ(led.State(), 0);
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(led.Bitmap(i)->Width(), 0);
        EXPECT_EQ(led.Bitmap(i)->Height(), 0);
    }
    EXPECT_EQ(led.Left(), 0);
    EXPECT_EQ(led.Width(), 0);
    ASSERT_EQ(host.control->ComponentCount(), 1);
    auto* image = dynamic_cast<TImage*>(host.control->Components(0));
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(image->Parent(), host.control);
    EXPECT_FALSE(image->Enabled());

    led.SetImageSize(8, 6);
    led.MoveBy(2, 3);
    EXPECT_EQ(led.Left(), 2);
    EXPECT_EQ(led.Top(), 3);
    EXPECT_EQ(led.Width(), 8);
    EXPECT_EQ(led.Height(), 6);
    EXPECT_EQ(image->Width(), 8);
}

TEST(TBmpLEDCtrl, DrawsTheCurrentStateOnlyWhenItChanges)
{
    Host host(4);
    TBmpLEDCtrl& led = *host.led;
    led.SetImageSize(6, 4);
    TBitmap red, blue;
    Fill24(red, 6, 4, Red);
    Fill24(blue, 6, 4, Blue);

    // Changing the current state's bitmap redraws it.
    led.SetBitmap(&red, 0);
    EXPECT_EQ(PixelOf(led.Canvas(), 5, 3), Red);
    EXPECT_EQ(led.Bitmap(0)->Width(), 6);

    // Setting the current state again draws nothing.
    led.Canvas()->SetPixel(1, 1, Marker);
    led.SetState(0);
    EXPECT_EQ(PixelOf(led.Canvas(), 1, 1), Marker);

    // Another state's bitmap is only stored until that state is set.
    led.SetBitmap(&blue, 2);
    EXPECT_EQ(PixelOf(led.Canvas(), 1, 1), Marker);
    EXPECT_EQ(PixelOf(led.Canvas(), 0, 0), Red);
    led.SetState(2);
    EXPECT_EQ(led.State(), 2);
    EXPECT_EQ(PixelOf(led.Canvas(), 1, 1), Blue);

    // The live bitmap: drawing on it shows at once while its state is current.
    led.Bitmap(2)->Canvas()->SetPixel(3, 2, Marker);
    EXPECT_EQ(PixelOf(led.Canvas(), 3, 2), Marker);
    led.Bitmap(0)->Canvas()->SetPixel(3, 2, Blue);
    EXPECT_EQ(PixelOf(led.Canvas(), 3, 2), Marker);

    // Refresh wipes what callers drew over the picture.
    led.Canvas()->SetPixel(0, 0, Red);
    led.Refresh();
    EXPECT_EQ(PixelOf(led.Canvas(), 0, 0), Blue);

    led.SetState(0);
    EXPECT_EQ(PixelOf(led.Canvas(), 3, 2), Blue);
    EXPECT_EQ(PixelOf(led.Canvas(), 0, 0), Red);

    // An empty state picture draws nothing.
    led.SetBitmap(nullptr, 1);
    led.Canvas()->SetPixel(0, 0, Marker);
    led.SetState(1);
    EXPECT_EQ(PixelOf(led.Canvas(), 0, 0), Marker);
    EXPECT_EQ(led.Bitmap(1)->Width(), 0);
}

TEST(TBmpLEDCtrl, RefreshShowsThePictureOnScreenAtOnce)
{
    const TOwned<TForm> form(New<TForm>(nullptr));
    form->SetBorderStyle(bsNone);
    form->SetBounds(40, 40, 60, 40);
    form->Show();
    const std::unique_ptr<TBmpLEDCtrl> led(new TBmpLEDCtrl(form.get(), form.get(), 2));
    led->SetImageSize(8, 6);
    led->MoveBy(10, 10);
    TBitmap red;
    Fill24(red, 8, 6, Red);
    led->SetBitmap(&red, 0);
    Application->ProcessMessages();
    // What the window shows now, without letting it handle any message.
    auto onScreen = [&form](int x, int y) {
        HDC dc = GetDC(form->Handle());
        const COLORREF c = GetPixel(dc, x, y);
        ReleaseDC(form->Handle(), dc);
        return static_cast<TColor>(c);
    };
    ASSERT_EQ(onScreen(13, 12), Red);

    // The current state's picture changed: the window shows it before
    // anything else runs.
    Fill24(*led->Bitmap(0), 8, 6, Blue);
    EXPECT_EQ(onScreen(13, 12), Blue);

    // A caption drawn over the picture shows once the control repaints;
    // Refresh puts the picture back on screen at once.
    led->Canvas()->Brush()->SetColor(Marker);
    led->Canvas()->FillRect(MakeRect(0, 0, 8, 6));
    Application->ProcessMessages();
    ASSERT_EQ(onScreen(13, 12), Marker);
    led->Refresh();
    EXPECT_EQ(onScreen(13, 12), Blue);
}

TEST(TBmpLEDCtrl, TransparencyAndRegion)
{
    Host host(2);
    TBmpLEDCtrl& led = *host.led;
    led.SetTransparentColor(clBtnFace);
    const auto face = static_cast<TColor>(ColorToRGB(clBtnFace));
    EXPECT_EQ(led.TransparentColor(), LedColor::FromRGB(face));
    EXPECT_EQ(led.TransparentColor().alpha, 255);
    led.SetTransparentColor(0x00FF00FF);
    EXPECT_EQ(led.TransparentColor(), LedColor(255, 0, 255));
    EXPECT_FALSE(led.Transparent());
    led.SetTransparent(true);
    EXPECT_TRUE(led.Transparent());

    TBitmap picture;
    Fill24(picture, 3, 2, Red);
    Put24(picture, 0, 0, 0xFF00FF);
    led.SetBitmap(&picture, 0);
    WinRegion region;
    led.MakeRegion(region, 0);
    EXPECT_FALSE(region.Contains(0, 0));
    EXPECT_TRUE(region.Contains(1, 0));
    EXPECT_TRUE(region.Contains(2, 1));
    EXPECT_FALSE(region.Contains(3, 1));
}

TEST(TBmpLEDCtrl, TheControlMayGoFirst)
{
    // The control goes first, taking the image with it; the LED then only
    // frees what is its own.
    auto* control = new TWinControl(nullptr);
    auto* led = new TBmpLEDCtrl(control, control, 2);
    control->Free();
    led->SetImageSize(4, 4);
    TBitmap red;
    Fill24(red, 4, 4, Red);
    led->SetBitmap(&red, 0);
    delete led;
}

} // namespace loom
