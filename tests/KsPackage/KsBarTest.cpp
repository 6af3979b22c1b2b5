// Bricks, the bar and the panel: looks without a pressed picture, captions
// by look, the indicator's place on screen and drags as real mouse messages,
// and every group of pictures loading its own files.
#include "Allocations.h"
#include "KsPackageTesting.h"
#include "KsPackage/Source/KsBar.h"
#include "KsPackage/Source/KsBrickTx.h"
#include "KsPackage/Source/KsCheckBox.h"
#include "KsPackage/Source/KsPanel.h"
#include "KsPackage/Source/KsRadioButton.h"
#include "KsPackage/Source/KsRegister.h"
#include "platform/FormFile.h"

#include <optional>

using namespace platform;

namespace {

// Corners as text, so a failure names them.
std::string At(TPoint P)
{
    return std::to_string(P.x) + "," + std::to_string(P.y);
}


constexpr TColor NormalColor = 0x405060, HotColor = 0x60A0C0, GreyColor = 0x909090, IndicatorColor = 0x0000F0;

void SkinBrick(KsBrick& Brick, int Width, int Height)
{
    Brick.SetBitmap(SolidBitmap(Width, Height, NormalColor).get(), ksBrickNormal);
    Brick.SetBitmap(SolidBitmap(Width, Height, HotColor).get(), ksBrickFocused);
    Brick.SetBitmap(SolidBitmap(Width, Height, GreyColor).get(), ksBrickDisabled);
}

} // namespace

TEST_F(KsFormTest, BricksShowNoPressButDeliverClicksAndDoubleClicks)
{
    auto* brick = Place<KsBrick>(10, 10);
    SkinBrick(*brick, 40, 20);
    brick->SetTabStop(true);
    std::vector<std::string> events;
    brick->OnClick = [&](TObject*) { events.push_back("click"); };
    brick->OnDblClick = [&](TObject*) { events.push_back("double"); };
    brick->OnMouseLeave = [&](TObject*) { events.push_back("leave"); };

    Send(*brick, WM_MOUSEMOVE, 0, 5, 5);
    EXPECT_EQ(ShownAt(*brick), HotColor) << "the pointer over it";
    Send(*brick, WM_LBUTTONDOWN, MK_LBUTTON, 5, 5);
    EXPECT_EQ(ShownAt(*brick), HotColor) << "no pressed look";
    Send(*brick, WM_LBUTTONUP, 0, 5, 5);
    Send(*brick, WM_LBUTTONDBLCLK, MK_LBUTTON, 5, 5);
    Send(*brick, WM_LBUTTONUP, 0, 5, 5);
    EXPECT_EQ(ShownAt(*brick), HotColor) << "the pointer is still over it";
    EXPECT_EQ(events, (std::vector<std::string>{"click", "double"}));
    Send(*brick, WM_MOUSEMOVE, 0, 100, 100);
    EXPECT_EQ(ShownAt(*brick), NormalColor);
    EXPECT_EQ(events, (std::vector<std::string>{"click", "double", "leave"}));

    brick->SetFocus();
    EXPECT_EQ(ShownAt(*brick), HotColor) << "focused";
    KeyDown(*brick, VK_SPACE);
    EXPECT_EQ(ShownAt(*brick), HotColor) << "space presses nothing";
    KeyUp(*brick, VK_SPACE);
    brick->SetEnabled(false);
    EXPECT_EQ(ShownAt(*brick), GreyColor);
    brick->SetEnabled(true);
    EXPECT_EQ(ShownAt(*brick), NormalColor);

    // Only the normal picture: every look shows it.
    brick->SetBitmap(nullptr, ksBrickFocused);
    brick->SetBitmap(nullptr, ksBrickDisabled);
    brick->ShowFocused();
    EXPECT_EQ(ShownAt(*brick), NormalColor);
    brick->ShowDisabled();
    EXPECT_EQ(ShownAt(*brick), NormalColor);
    EXPECT_EQ(brick->BitmapIndex(), ksBrickDisabled);

    // Appearances copy three pictures.
    auto* other = Place<KsBrick>(10, 40);
    SkinBrick(*other, 30, 12);
    brick->SetAppearance(other->Appearance());
    EXPECT_EQ(brick->Width(), 30);
    EXPECT_EQ(PixelOf(brick->Appearance()->DisabledBmp()->Canvas(), 1, 1), GreyColor);
}

TEST_F(KsFormTest, BrickCaptionsTakeTheirColourByLook)
{
    auto* brick = Place<KsBrickTx>(10, 10);
    for (int i = 0; i < ksBrickStateCount; ++i)
        brick->SetBitmap(SolidBitmap(97, 23, 0x202020).get(), i);
    brick->Font()->SetColor(0xF0F0F0);
    brick->Font()->SetHeight(-12);
    brick->SetCaption("Brick");
    auto ink = [&] { return InkOf(*brick, 0x202020); };
    EXPECT_PRED2(Near, ink().Color, 0xF0F0F0);
    const TRect centred = ink().Box;
    EXPECT_LE(std::abs(centred.left - (97 - centred.right)), 1);
    brick->ShowFocused();
    EXPECT_PRED2(Near, ink().Color, 0xF0F0F0) << "focused unset: the font's";
    brick->FontColors()->SetColor(fcFocused, clRed);
    EXPECT_PRED2(Near, ink().Color, clRed) << "redrawn at once";
    brick->SetEnabled(false);
    EXPECT_PRED2(Near, ink().Color, static_cast<TColor>(ColorToRGB(clGrayText)));
    brick->FontColors()->SetColor(fcDisabled, clBlue);
    EXPECT_PRED2(Near, ink().Color, clBlue);
    brick->SetEnabled(true);
    EXPECT_PRED2(Near, ink().Color, 0xF0F0F0);

    // Pressing shifts nothing; a resize resets a custom rectangle.
    brick->SetDisp(10, 10);
    Send(*brick, WM_LBUTTONDOWN, MK_LBUTTON, 40, 10);
    EXPECT_EQ(ink().Box.left, centred.left);
    Send(*brick, WM_LBUTTONUP, 0, 40, 10);
    brick->SetTextBounds(0, 0, 40, 23);
    EXPECT_LT(ink().Box.right, 45);
    brick->SetLeft(20);
    EXPECT_EQ(ink().Box.left, centred.left);
}

// ---------------------------------------------------------------- the bar

namespace {

class KsBarTest : public KsFormTest {
protected:
    void SetUp() override
    {
        KsFormTest::SetUp();
        Bar = Place<KsBar>(10, 10);
        SkinBrick(*Bar, 120, 20);
        Bar->SetShowMouseOver(false);
        Bar->Origin()->SetX(10);
        Bar->Origin()->SetY(8);
        Bar->SetIndicator(SolidBitmap(6, 4, IndicatorColor).get());
        Bar->OnStartScroll = [this](TObject*) { Log.push_back("start"); };
        Bar->OnEndScroll = [this](TObject*) { Log.push_back("end"); };
        Bar->OnScroll = [this](TObject*, int& Disp, bool Direction) {
            Log.push_back("scroll " + std::to_string(Disp) + (Direction ? " forward" : " back"));
            if (ScrollTo)
                Disp = *ScrollTo;
        };
    }
    // The indicator's top-left corner as the screen shows it.
    TPoint IndicatorOnScreen()
    {
        for (int y = 0; y < Bar->Height(); ++y)
            for (int x = 0; x < Bar->Width(); ++x)
                if (ScreenPixel(Bar->Handle(), x, y) == IndicatorColor)
                    return Point(x, y);
        return Point(-100, -100);
    }
    TControl* Indicator() { return Bar->Controls(1); }
    void Drag(int FromX, std::initializer_list<int> ToX, int Y = 8)
    {
        Send(*Bar, WM_LBUTTONDOWN, MK_LBUTTON, FromX, Y);
        for (int x : ToX)
            Send(*Bar, WM_MOUSEMOVE, MK_LBUTTON, x, Y);
        Send(*Bar, WM_LBUTTONUP, 0, ToX.size() ? *(ToX.end() - 1) : FromX, Y);
    }

    KsBar* Bar = nullptr;
    std::vector<std::string> Log;
    std::optional<int> ScrollTo;
};

} // namespace

TEST_F(KsBarTest, TheIndicatorSitsAtTheOriginPlusThePositionAndIsNeverClampedByTheProgram)
{
    EXPECT_EQ(Bar->Length(), 20);
    Bar->SetScrollPos(5);
    EXPECT_EQ(RectText(Indicator()->BoundsRect()), RectText(Rect(12, 6, 18, 10)));
    EXPECT_EQ(At(IndicatorOnScreen()), At(Point(12, 6)));
    EXPECT_EQ(ScreenPixel(Bar->Handle(), 17, 9), IndicatorColor);
    EXPECT_EQ(ScreenPixel(Bar->Handle(), 18, 9), NormalColor);

    Bar->SetScrollPos(-5);
    EXPECT_EQ(At(IndicatorOnScreen()), At(Point(2, 6))) << "5 pixels before the origin";
    Bar->SetScrollPos(500);
    EXPECT_EQ(Bar->ScrollPos(), 500);
    Bar->SetLength(-3);
    EXPECT_EQ(Bar->Length(), -3);
    EXPECT_EQ(Indicator()->Left(), 507);

    Bar->SetLength(20);
    Bar->SetScrollPos(3);
    Bar->SetKind(sbVertical);
    EXPECT_EQ(At(IndicatorOnScreen()), At(Point(7, 9)));

    // An odd size halves toward zero; a new picture is placed again.
    Bar->SetKind(sbHorizontal);
    Bar->SetIndicator(SolidBitmap(7, 5, IndicatorColor).get());
    EXPECT_EQ(RectText(Indicator()->BoundsRect()), RectText(Rect(10, 6, 17, 11)));

    // Origins are copied, with one placement.
    auto* other = Place<KsBar>(10, 60);
    other->Origin()->SetX(40);
    other->Origin()->SetY(3);
    int placed = 0;
    Bar->OnIndicate = [&](TObject*, int&) { ++placed; };
    Bar->SetOrigin(other->Origin());
    EXPECT_EQ(placed, 1);
    EXPECT_EQ(RectText(Indicator()->BoundsRect()), RectText(Rect(40, 1, 47, 6)));

    // OnIndicate can pin the indicator while the position changes.
    Bar->OnIndicate = [](TObject*, int& Disp) { Disp = 50; };
    Bar->SetScrollPos(9);
    EXPECT_EQ(Indicator()->Left(), 50);
    Drag(30, {35});
    EXPECT_EQ(Bar->ScrollPos(), 14);
    EXPECT_EQ(At(IndicatorOnScreen()), At(Point(50, 1)));
}

TEST_F(KsBarTest, TheIndicatorIsPlacedAgainWheneverItsPictureChanges)
{
    Bar->SetScrollPos(3);
    // A picture drawn straight onto the indicator's bitmap.
    Fill24(*Bar->GetIndicator(), 9, 3, IndicatorColor);
    EXPECT_EQ(RectText(Indicator()->BoundsRect()), RectText(Rect(9, 7, 18, 10)));
    EXPECT_EQ(At(IndicatorOnScreen()), At(Point(9, 7)));

    // A picture read from a form file, with every placement setting at its default.
    RegisterKsPackage();
    TForm* form = New<TForm>(nullptr);
    auto* plain = new KsBar(form);
    plain->SetName("Plain");
    plain->SetParent(form);
    plain->SetIndicator(SolidBitmap(6, 4, IndicatorColor).get());
    ASSERT_EQ(RectText(plain->Controls(1)->BoundsRect()), RectText(Rect(-3, -2, 3, 2)));
    const std::string text = WriteComponentText(form);
    FreeAndNil(form);
    form = New<TForm>(nullptr);
    ReadComponentText(form, text);
    auto* read = dynamic_cast<KsBar*>(form->FindComponent("Plain"));
    ASSERT_NE(read, nullptr);
    EXPECT_EQ(RectText(read->Controls(1)->BoundsRect()), RectText(Rect(-3, -2, 3, 2)));
    FreeAndNil(form);
}

TEST_F(KsBarTest, DragsMoveWithinTheLengthAndReportEveryStep)
{
    Send(*Bar, WM_LBUTTONDOWN, MK_LBUTTON, 60, 8);
    EXPECT_TRUE(Bar->IsDraging());
    Send(*Bar, WM_MOUSEMOVE, MK_LBUTTON, 90, 8);
    EXPECT_EQ(Bar->ScrollPos(), 20) << "stops at the length";
    Send(*Bar, WM_MOUSEMOVE, MK_LBUTTON, 85, 8);
    EXPECT_EQ(Bar->ScrollPos(), 15) << "moves back at once";
    Send(*Bar, WM_MOUSEMOVE, MK_LBUTTON, 85, 30);
    Send(*Bar, WM_MOUSEMOVE, MK_LBUTTON, 0, 8);
    EXPECT_EQ(Bar->ScrollPos(), 0);
    Send(*Bar, WM_LBUTTONUP, 0, 0, 8);
    EXPECT_FALSE(Bar->IsDraging());
    EXPECT_EQ(Log, (std::vector<std::string>{"start", "scroll 20 forward", "scroll 15 back", "scroll 15 forward",
                                             "scroll 0 back", "end"}));
    EXPECT_EQ(At(IndicatorOnScreen()), At(Point(7, 6)));

    // The handler's position is taken as it is.
    Log.clear();
    ScrollTo = 7;
    Drag(60, {61});
    EXPECT_EQ(Bar->ScrollPos(), 7);
    ScrollTo = 99;
    Drag(60, {50});
    EXPECT_EQ(Bar->ScrollPos(), 99);
    ScrollTo.reset();

    // The right button starts nothing.
    Log.clear();
    Send(*Bar, WM_RBUTTONDOWN, MK_RBUTTON, 60, 8);
    Send(*Bar, WM_MOUSEMOVE, MK_RBUTTON, 70, 8);
    Send(*Bar, WM_RBUTTONUP, 0, 70, 8);
    EXPECT_TRUE(Log.empty());
    EXPECT_EQ(Bar->ScrollPos(), 99);
    // Any button's release ends a drag.
    Bar->SetScrollPos(0);
    Send(*Bar, WM_LBUTTONDOWN, MK_LBUTTON, 60, 8);
    Send(*Bar, WM_RBUTTONDOWN, MK_LBUTTON | MK_RBUTTON, 60, 8);
    Send(*Bar, WM_RBUTTONUP, MK_LBUTTON, 60, 8);
    EXPECT_FALSE(Bar->IsDraging());
    Send(*Bar, WM_LBUTTONUP, 0, 60, 8);
    EXPECT_EQ(Log, (std::vector<std::string>{"start", "end"}));

    // Another window taking the mouse away ends the drag once.
    Log.clear();
    Send(*Bar, WM_LBUTTONDOWN, MK_LBUTTON, 60, 8);
    SetCapture(Form->Handle());
    ReleaseCapture();
    Send(*Bar, WM_MOUSEMOVE, MK_LBUTTON, 70, 8);
    Send(*Bar, WM_LBUTTONUP, 0, 70, 8);
    EXPECT_EQ(Log, (std::vector<std::string>{"start", "end"}));
    EXPECT_EQ(Bar->ScrollPos(), 0);
}

TEST_F(KsBarTest, GrabbingTheIndicatorDragsAsGrabbingTheBar)
{
    Bar->SetScrollPos(4);
    // The press lands on the indicator (its top-left corner is at 11, 6).
    Send(*Bar, WM_LBUTTONDOWN, MK_LBUTTON, 15, 7);
    EXPECT_EQ(CaptureControl(), Indicator()) << "the indicator took the press";
    EXPECT_TRUE(Bar->IsDraging());
    for (int x = 16; x <= 24; x += 4)
        Send(*Bar, WM_MOUSEMOVE, MK_LBUTTON, x, 7);
    EXPECT_EQ(Bar->ScrollPos(), 13);
    EXPECT_EQ(At(IndicatorOnScreen()), At(Point(20, 6)));
    Send(*Bar, WM_LBUTTONUP, 0, 24, 7);
    EXPECT_FALSE(Bar->IsDraging());
    EXPECT_EQ(Log, (std::vector<std::string>{"start", "scroll 5 forward", "scroll 9 forward", "scroll 13 forward",
                                             "end"}));

    // A vertical bar follows Y.
    Bar->SetKind(sbVertical);
    Bar->SetScrollPos(0);
    Log.clear();
    Send(*Bar, WM_LBUTTONDOWN, MK_LBUTTON, 50, 2);
    Send(*Bar, WM_MOUSEMOVE, MK_LBUTTON, 80, 9);
    Send(*Bar, WM_LBUTTONUP, 0, 80, 9);
    EXPECT_EQ(Bar->ScrollPos(), 7);
    EXPECT_EQ(Indicator()->Top(), 13);
}

TEST_F(KsFormTest, PanelDesignTimeVisibleActsOnlyInTheDesigner)
{
    auto* panel = Place<KsPanel>(10, 10);
    panel->SetBounds(10, 10, 80, 40);
    HRGN region = CreateRectRgn(0, 0, 0, 0);
    panel->SetDesignTimeVisible(false);
    EXPECT_TRUE(panel->DesignTimeVisible()) << "ignored at run time";
    EXPECT_EQ(GetWindowRgn(panel->Handle(), region), ERROR) << "no region";

    panel->SetDesigning(true);
    panel->SetDesignTimeVisible(false);
    EXPECT_FALSE(panel->DesignTimeVisible());
    EXPECT_EQ(GetWindowRgn(panel->Handle(), region), NULLREGION) << "nothing of the panel is drawn";
    panel->SetDesignTimeVisible(true);
    EXPECT_EQ(GetWindowRgn(panel->Handle(), region), ERROR) << "the whole window again";
    DeleteObject(region);
}

TEST_F(KsFormTest, EachGroupLoadsItsOwnPicturesFromFiles)
{
    char folder[MAX_PATH];
    GetTempPathA(MAX_PATH, folder);
    const std::string dir = std::string(folder) + "KsGroups";
    CreateDirectoryA(dir.c_str(), nullptr);
    SolidBitmap(14, 14, HotColor)->SaveToFile(dir + "\\a.bmp");
    SolidBitmap(14, 14, GreyColor)->SaveToFile(dir + "\\b.bmp");

    auto* box = Place<KsCheckBox>(0, 0);
    EXPECT_TRUE(box->LoadGrayed(dir, "a.bmp", "", "b.bmp", ""));
    EXPECT_TRUE(box->LoadChecked(dir, "", "b.bmp", "", ""));
    EXPECT_TRUE(box->LoadUnchecked(dir, "b.bmp", "", "", ""));
    std::vector<int> filled;
    for (int i = 0; i < box->BitmapCount(); ++i)
        if (!box->IsBitmapEmpty(i))
            filled.push_back(i);
    EXPECT_EQ(filled, (std::vector<int>{0, 5, 8, 10}));
    EXPECT_EQ(PixelOf(box->GetBitmap(8)->Canvas(), 1, 1), HotColor);

    auto* radio = Place<KsRadioButton>(0, 20);
    EXPECT_TRUE(radio->LoadChecked(dir, "a.bmp", "", "", "b.bmp"));
    EXPECT_FALSE(radio->IsBitmapEmpty(7));
    EXPECT_TRUE(radio->IsBitmapEmpty(3));

    auto* brick = Place<KsBrick>(0, 40);
    EXPECT_TRUE(brick->LoadBitmap(dir, "a.bmp", "", "b.bmp"));
    EXPECT_EQ(PixelOf(brick->Appearance()->DisabledBmp()->Canvas(), 1, 1), GreyColor);
    EXPECT_TRUE(brick->IsBitmapEmpty(ksBrickFocused)) << "an empty name keeps its picture";
    EXPECT_THROW(brick->LoadBitmap(dir, "b.bmp", "missing.bmp", ""), Exception);
    EXPECT_EQ(PixelOf(brick->GetBitmap(ksBrickNormal)->Canvas(), 1, 1), HotColor) << "nothing replaced";

    DeleteFileA((dir + "\\a.bmp").c_str());
    DeleteFileA((dir + "\\b.bmp").c_str());
    RemoveDirectoryA(dir.c_str());
}

// Running out of memory at any point of making a brick or a bar frees
// everything made so far: the bar's origin record too, which is made before
// the indicator is put on the bar.
TEST(KsBarConstruction, RunningOutOfMemoryFreesWhatWasMade)
{
    EXPECT_EQ(FirstLeakingFailure([] { (new KsBrick(nullptr))->Free(); }), -1);
    EXPECT_EQ(FirstLeakingFailure([] { (new KsBrickTx(nullptr))->Free(); }), -1);
    EXPECT_EQ(FirstLeakingFailure([] { (new KsBar(nullptr))->Free(); }), -1);
}
