// The numeric LED control: its pixels are its layer image's on the same
// parent, its bounds follow the display and its colour set copies.
#include "KsPackageTesting.h"
#include "KsPackage/Source/KsNumLED.h"
#include "KsPackage/Source/KsRegister.h"
#include "platform/Align.h"
#include "platform/FormFile.h"
#include "platform/Label.h"

using namespace platform;

namespace {

constexpr TColor Light = 0x0AF00A, Dark = 0x3E260E;

// How many pixels of Color the screen shows in R of Window's client area.
int CountOnScreen(HWND Window, TRect R, TColor Color)
{
    UpdateWindow(Window);
    HDC dc = GetDC(Window);
    HDC memory = CreateCompatibleDC(dc);
    HBITMAP surface = CreateCompatibleBitmap(dc, R.right - R.left, R.bottom - R.top);
    HGDIOBJ old = SelectObject(memory, surface);
    BitBlt(memory, 0, 0, R.right - R.left, R.bottom - R.top, dc, R.left, R.top, SRCCOPY);
    int count = 0;
    for (int y = 0; y < R.bottom - R.top; ++y)
        for (int x = 0; x < R.right - R.left; ++x)
            count += GetPixel(memory, x, y) == static_cast<COLORREF>(Color);
    SelectObject(memory, old);
    DeleteObject(surface);
    DeleteDC(memory);
    ReleaseDC(Window, dc);
    return count;
}

class KsNumLedTest : public KsFormTest {
protected:
    void SetUp() override
    {
        KsFormTest::SetUp();
        Led = new KsNumLed(Form);
        Led->SetParent(Form);
        Led->SetBounds(20, 30, 200, 50);
    }
    TImage* Layer() { return Led->Imp()->GetLayer()->Image(); }
    int Lit(TColor Color = Light) { return CountOnScreen(Form->Handle(), Led->BoundsRect(), Color); }
    KsNumLed* Led = nullptr;
};

} // namespace

TEST_F(KsNumLedTest, TheLayerImageShowsTheDisplayInTheControlsPlace)
{
    EXPECT_EQ(Layer()->Parent(), Form);
    EXPECT_EQ(RectText(Layer()->BoundsRect()), RectText(Rect(20, 30, 220, 80)));
    EXPECT_EQ(RectText(Led->BoundsRect()), RectText(Rect(20, 30, 220, 80)));
    EXPECT_EQ(Led->GetFormat(), "8888");

    // "   0" lights six segments; "8888" all twenty-eight.
    const int zero = Lit();
    EXPECT_GT(zero, 0);
    EXPECT_GT(Lit(Dark), zero) << "the three blanks and the middle bar are dark";
    Led->SetValue(8888.0);
    EXPECT_GT(Lit(), 4 * zero);
    Led->Off(0);
    EXPECT_EQ(Lit(), 0);
    Led->On(0);

    // KeepRatio applies at once: the design is 72 x 22.
    Led->SetKeepRatio(true);
    EXPECT_EQ(Led->Width(), 163);
    EXPECT_EQ(Led->Height(), 50);
    EXPECT_EQ(Layer()->Width(), 163);
    Led->SetBounds(20, 30, 400, 50);
    EXPECT_EQ(Led->Width(), 163) << "bounds always equal the drawn display";
    // A size that keeps the proportions stays when the control moves.
    for (int left = 21; left < 25; ++left)
        Led->SetLeft(left);
    EXPECT_EQ(RectText(Led->BoundsRect()), RectText(Rect(24, 30, 187, 80)));
    Led->SetKeepRatio(false);
    Led->SetBounds(20, 30, 200, 50);
    EXPECT_EQ(Led->Width(), 200);

    // Moving and re-parenting carry the layer image along.
    Led->SetLeft(60);
    EXPECT_EQ(Layer()->Left(), 60);
    EXPECT_EQ(Layer()->Top(), 30);
    auto* panel = new TPanel(Form);
    panel->SetParent(Form);
    panel->SetBounds(0, 100, 300, 100);
    Led->SetParent(panel);
    EXPECT_EQ(Layer()->Parent(), panel);
    int clicks = 0;
    Led->OnClick = [&](TObject*) { ++clicks; };
    Send(*panel, WM_LBUTTONDOWN, MK_LBUTTON, 70, 40);
    Send(*panel, WM_LBUTTONUP, 0, 70, 40);
    EXPECT_EQ(clicks, 1) << "the control, not its layer image, takes the click";
    Led->SetBounds(5, 5, 200, 50);
    EXPECT_EQ(RectText(Layer()->BoundsRect()), RectText(Rect(5, 5, 205, 55)));
    EXPECT_GT(CountOnScreen(panel->Handle(), Rect(5, 5, 205, 55), Light), 4 * zero);
}

TEST_F(KsNumLedTest, ValuesOfTheOtherKindAreRefusedAndTimesShow)
{
    double number = 0;
    TDateTime time;
    Led->SetValue(12.0);
    EXPECT_TRUE(Led->GetValue(number));
    EXPECT_EQ(number, 12.0);
    EXPECT_FALSE(Led->GetValue(time));

    Led->SetFormat("HH.MM");
    Led->SetType(loom::nledTime);
    EXPECT_FALSE(Led->GetValue(number));
    Led->SetValue(TDateTime(0.5));
    EXPECT_TRUE(Led->GetValue(time));
    EXPECT_EQ(static_cast<double>(time), 0.5);
    Led->SetValue(3.0);
    EXPECT_TRUE(Led->GetValue(time));
    EXPECT_EQ(static_cast<double>(time), 0.5) << "a number is ignored while showing a time";
    EXPECT_GT(Lit(), 0);

    Led->SetFormat("not a format");
    EXPECT_EQ(Led->GetFormat(), "HH.MM");
}

TEST_F(KsNumLedTest, ColourSetsCopyFourColoursAndRefuseOtherClasses)
{
    const int lit = Lit();
    auto* other = new KsNumLed(Form);
    other->LedColors()->SetLightColor(clRed);
    other->LedColors()->SetDarkColor(0x202020);
    other->LedColors()->SetBackgroundColor(clNavy);
    other->LedColors()->SetTransparentColor(clFuchsia);
    KsLedColors* own = Led->LedColors();
    Led->SetLedColors(other->LedColors());
    EXPECT_EQ(Led->LedColors(), own) << "copied, not adopted";
    EXPECT_EQ(Led->LedColors()->LightColor(), clRed);
    EXPECT_EQ(Led->LedColors()->DarkColor(), 0x202020);
    EXPECT_EQ(Led->LedColors()->BackgroundColor(), clNavy);
    EXPECT_EQ(Led->LedColors()->TransparentColor(), clFuchsia);
    EXPECT_EQ(Lit(clRed), lit) << "the lit segments redrawn red";
    EXPECT_EQ(Lit(), 0);
    other->LedColors()->SetLightColor(clLime);
    EXPECT_EQ(Led->LedColors()->LightColor(), clRed);

    TFont font;
    EXPECT_THROW(font.Assign(Led->LedColors()), EInvalidCast);
    EXPECT_THROW(Led->LedColors()->Assign(&font), EConvertError);
    EXPECT_THROW(SetObjectProp(*Led, "LedColors", &font), EPropertyError);
}

TEST_F(KsNumLedTest, AlignedTheDisplayFollowsTheBoundsTheParentGivesIt)
{
    Form->SetBorderStyle(bsNone);
    Form->SetBounds(40, 40, 400, 300);
    Led->SetAlign(alBottom);
    EXPECT_EQ(RectText(Led->BoundsRect()), RectText(Rect(0, 250, 400, 300)));
    EXPECT_EQ(RectText(Layer()->BoundsRect()), RectText(Led->BoundsRect()));
    const int lit = Lit();
    EXPECT_GT(lit, 0);

    // The user makes the window wider and lower: the display is drawn anew at the new width.
    SetWindowPos(Form->Handle(), nullptr, 0, 0, 500, 200, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    EXPECT_EQ(RectText(Led->BoundsRect()), RectText(Rect(0, 150, 500, 200)));
    EXPECT_EQ(RectText(Layer()->BoundsRect()), RectText(Led->BoundsRect()));
    EXPECT_GT(Lit(), lit);

    // Constraints hold for the display as well.
    Led->Constraints()->SetMaxWidth(150);
    EXPECT_EQ(RectText(Led->BoundsRect()), RectText(Rect(0, 150, 150, 200)));
    EXPECT_EQ(RectText(Layer()->BoundsRect()), RectText(Led->BoundsRect()));
    Led->SetAlign(alClient);
    EXPECT_EQ(RectText(Layer()->BoundsRect()), RectText(Rect(0, 0, 150, 200)));
}

TEST_F(KsNumLedTest, AlignAndConstraintsAreStreamedInTheirPlaces)
{
    RegisterKsPackage();
    Led->SetName("Led");
    Led->SetAlign(alTop);
    Led->SetAnchors({akLeft, akTop, akRight});
    Led->Constraints()->SetMinHeight(40);
    Led->SetDragKind(dkDock);
    const std::string text = WriteComponentText(Form);
    const size_t align = text.find("    Align = alTop\r\n");
    const size_t anchors = text.find("    Anchors = [akLeft, akTop, akRight]\r\n");
    const size_t constraints = text.find("    Constraints.MinHeight = 40\r\n");
    const size_t drag = text.find("    DragKind = dkDock");
    ASSERT_NE(align, std::string::npos) << text;
    EXPECT_LT(align, anchors);
    EXPECT_LT(anchors, constraints);
    EXPECT_LT(constraints, drag);

    TForm* read = New<TForm>(nullptr);
    ReadComponentText(read, text);
    EXPECT_EQ(WriteComponentText(read), text);
    auto* led = dynamic_cast<KsNumLed*>(read->FindComponent("Led"));
    ASSERT_NE(led, nullptr);
    EXPECT_EQ(led->Align(), alTop);
    EXPECT_EQ(led->Constraints()->MinHeight(), 40);
    EXPECT_EQ(RectText(led->Imp()->GetLayer()->Image()->BoundsRect()), RectText(led->BoundsRect()));
    FreeAndNil(read);
}
