#include "platform/Application.h"
#include "platform/Form.h"
#include "platform/FormFile.h"
#include "platform/Image.h"
#include "platform/Label.h"

#include <gtest/gtest.h>

using namespace platform;

namespace {

class PictureControls : public ::testing::Test {
protected:
    void SetUp() override
    {
        Form = New<TForm>(nullptr);
        Form->SetBorderStyle(bsNone);
        Form->SetBounds(50, 50, 200, 120);
        Form->SetColor(clBlue);
        Form->Show();
        Application->ProcessMessages();
    }
    void TearDown() override { Form->Free(); }

    COLORREF PixelOnForm(int X, int Y)
    {
        UpdateWindow(Form->Handle());
        HDC dc = GetDC(Form->Handle());
        const COLORREF c = GetPixel(dc, X, Y);
        ReleaseDC(Form->Handle(), dc);
        return c;
    }

    TForm* Form = nullptr;
};

void Fill(TBitmap* Bitmap, int W, int H, TColor Color)
{
    Bitmap->SetPixelFormat(pf24bit);
    Bitmap->SetSize(W, H);
    Bitmap->Canvas()->Brush()->SetColor(Color);
    Bitmap->Canvas()->FillRect(Rect(0, 0, W, H));
}

} // namespace

TEST_F(PictureControls, ImageShowsItsPictureSizesToItAndLeavesTheKeyColourOut)
{
    auto* image = new TImage(Form);
    image->SetParent(Form);
    image->SetAutoSize(true);
    image->SetBounds(10, 10, 5, 5);
    Fill(image->Picture()->Bitmap(), 20, 10, clRed);
    EXPECT_EQ(image->Width(), 20);
    EXPECT_EQ(image->Height(), 10);
    EXPECT_EQ(PixelOnForm(15, 15), RGB(255, 0, 0));

    // The bottom-left pixel is the key colour: drawn transparent, the form shows through there.
    TBitmap* bitmap = image->Picture()->Bitmap();
    bitmap->Canvas()->SetPixel(0, 9, clLime);
    EXPECT_EQ(PixelOnForm(10, 19), RGB(0, 255, 0));
    image->SetTransparent(true);
    EXPECT_EQ(PixelOnForm(10, 19), RGB(0, 0, 255));
    EXPECT_EQ(PixelOnForm(11, 19), RGB(255, 0, 0));

    // Drawing on the image's canvas draws on the picture, which shows at once.
    image->Canvas()->SetPixel(5, 5, clYellow);
    EXPECT_EQ(bitmap->Canvas()->Pixel(5, 5), static_cast<TColor>(RGB(255, 255, 0)));
    EXPECT_EQ(PixelOnForm(15, 15), RGB(255, 255, 0));
}

TEST_F(PictureControls, ImagePictureStreamsWithTheForm)
{
    auto* image = new TImage(Form);
    image->SetName("Picture1");
    image->SetParent(Form);
    Fill(image->Picture()->Bitmap(), 3, 2, clRed);
    image->SetTransparent(true);
    const std::string text = WriteComponentText(Form);
    EXPECT_NE(text.find("Picture.Data = {"), std::string::npos);

    const TOwned<TForm> copy(New<TForm>(nullptr));
    ReadComponentText(copy.get(), text);
    auto* read = dynamic_cast<TImage*>(copy->FindComponent("Picture1"));
    ASSERT_NE(read, nullptr);
    EXPECT_EQ(read->Picture()->Width(), 3);
    EXPECT_TRUE(read->Transparent());
    EXPECT_EQ(read->Picture()->Bitmap()->Canvas()->Pixel(2, 1), static_cast<TColor>(RGB(255, 0, 0)));
    EXPECT_EQ(WriteComponentText(copy.get()), text);
}

TEST_F(PictureControls, LabelSizesToItsTextAndWrapsWithinItsWidth)
{
    auto* label = new TLabel(Form);
    label->SetParent(Form);
    label->SetBounds(5, 5, 10, 10);
    label->SetCaption("Hello");
    const int oneLineHeight = label->Height();
    EXPECT_GT(label->Width(), 10);
    EXPECT_GT(oneLineHeight, 5);

    label->SetAutoSize(false);
    label->SetWordWrap(true);
    label->SetBounds(5, 5, 40, 10);
    label->SetAutoSize(true);
    label->SetCaption("one two three four five six");
    EXPECT_EQ(label->Width() <= 40, true);
    EXPECT_GE(label->Height(), 2 * oneLineHeight);

    // Opaque labels fill their background; transparent ones leave the parent's.
    label->SetColor(clWhite);
    label->SetCaption("");
    EXPECT_EQ(PixelOnForm(label->Left() + 1, label->Top() + 1), RGB(255, 255, 255));
    label->SetTransparent(true);
    EXPECT_EQ(PixelOnForm(label->Left() + 1, label->Top() + 1), RGB(0, 0, 255));
}

TEST_F(PictureControls, PanelHoldsControlsUnderItsColourAndBevel)
{
    auto* panel = new TPanel(Form);
    panel->SetParent(Form);
    panel->SetBounds(0, 0, 100, 50);
    panel->SetColor(clYellow);
    auto* image = new TImage(Form);
    image->SetParent(panel);
    image->SetBounds(20, 20, 10, 10);
    Fill(image->Picture()->Bitmap(), 10, 10, clRed);
    Application->ProcessMessages();
    EXPECT_EQ(PixelOnForm(50, 10), RGB(255, 255, 0));
    EXPECT_EQ(PixelOnForm(0, 0), ColorToRGB(clBtnHighlight));
    EXPECT_EQ(PixelOnForm(25, 25), RGB(255, 0, 0));
    EXPECT_EQ(panel->ControlCount(), 1);
    panel->Free(); // takes its child with it
    EXPECT_EQ(Form->ComponentCount(), 0);
}
