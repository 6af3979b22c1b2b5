// The numeric LED's character pictures: what an update copies from them is
// exactly what the character figures draw, and the screen repaints only the
// characters that changed.
#include "KsPackageTesting.h"
#include "KsPackage/Source/KsNumLED.h"
#include "KsPackage/Source/KsNumLed_imp.h"

using namespace platform;

namespace loom {

namespace {

// The display's picture, byte for byte.
std::vector<uint8_t> Bytes(TBitmap& picture)
{
    std::vector<uint8_t> bytes;
    for (int y = 0; y < picture.Height() && !picture.Empty(); ++y) {
        const uint8_t* row = picture.ScanLine(y);
        bytes.insert(bytes.end(), row, row + 3 * picture.Width());
    }
    return bytes;
}

void PutBytes(TBitmap& picture, const std::vector<uint8_t>& bytes)
{
    const size_t stride = 3 * static_cast<size_t>(picture.Width());
    for (int y = 0; y < picture.Height() && !picture.Empty(); ++y)
        std::copy_n(bytes.begin() + static_cast<std::ptrdiff_t>(y * stride), stride, picture.ScanLine(y));
    picture.Changed();
}

// What the display shows against what its figures draw on the cleared
// layer in their current states; the display's own picture is put back
// afterwards, so the comparison leaves the cache's view of it true.
::testing::AssertionResult MatchesFigures(KsNumLed_imp& led)
{
    TBitmap& picture = *led.GetLayer()->Image()->Picture()->Bitmap();
    const std::vector<uint8_t> shown = Bytes(picture);
    led.GetLayer()->EraseRect(MakeRect(0, 0, picture.Width(), picture.Height()));
    led.Figure()->Draw();
    const std::vector<uint8_t> drawn = Bytes(picture);
    PutBytes(picture, shown);
    if (shown == drawn)
        return ::testing::AssertionSuccess();
    size_t first = 0;
    while (shown[first] == drawn[first])
        ++first;
    const size_t pixel = first / 3;
    return ::testing::AssertionFailure() << "\"" << led.GetFormat() << "\" at " << picture.Width() << "x"
                                         << picture.Height() << " differs first at (" << pixel % picture.Width()
                                         << ", " << pixel / picture.Width() << ")";
}

} // namespace

TEST(NumLedCache, EveryStateSizeAndColourMatchesTheFiguresDrawnDirectly)
{
    const TOwned<TWinControl> parent(new TWinControl(nullptr));
    KsNumLed_imp led(parent.get(), parent.get(), 72, 22);
    struct TColors {
        TColor Light, Dark, Background;
    };
    const TColors palettes[] = {{0x0AF00A, 0x3E260E, 0x000000}, {0x2040FF, 0xC0C0C0, 0xFFFFFF}};
    // Design size, four times it, odd sizes either side of it, and sizes so
    // small that characters share columns and rows.
    const double scales[][2] = {{1, 1}, {4, 4}, {0.55, 1.3}, {2.3, 0.7}, {1.7, 3.1}, {0.06, 0.2}, {0.01, 0.04}};
    for (const char* format : {"8888", "88.8^C", "&8.8", "HH.MM"})
        for (const TColors& colors : palettes)
            for (const auto& scale : scales) {
                led.SetType(nledFloat);
                led.SetFormat(format);
                led.SetLightColor(colors.Light);
                led.SetDarkColor(colors.Dark);
                led.SetBackgroundColor(colors.Background);
                led.Resize(static_cast<int>(led.Figure()->OriginalWidth() * scale[0]),
                           static_cast<int>(led.Figure()->OriginalHeight() * scale[1]));
                SCOPED_TRACE(std::string(format) + " at " + std::to_string(scale[0]) + " x " +
                             std::to_string(scale[1]) + ", light " + std::to_string(colors.Light));
                ASSERT_TRUE(MatchesFigures(led));
                // Every digit in every place, blanks, and each digit again
                // after another, so that every change of state is copied.
                led.SetZeroLeading(true);
                for (int digit : {8, 0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 0}) {
                    led.SetValue(digit * 11.1);
                    ASSERT_TRUE(MatchesFigures(led)) << "digit " << digit;
                }
                led.SetZeroLeading(false);
                for (double value : {7.0, 40.5, 0.0, 98.7}) {
                    led.SetValue(value);
                    ASSERT_TRUE(MatchesFigures(led)) << value;
                }
                // Every segment lit, every character dark, one off and back.
                led.On(0);
                ASSERT_TRUE(MatchesFigures(led));
                led.Off(0);
                ASSERT_TRUE(MatchesFigures(led));
                led.On(0);
                led.Off(2);
                ASSERT_TRUE(MatchesFigures(led));
                led.On(2);
                ASSERT_TRUE(MatchesFigures(led));
                // New colours redraw every character, without a clear.
                led.SetLightColor(colors.Dark);
                led.SetDarkColor(colors.Light);
                ASSERT_TRUE(MatchesFigures(led));
                led.SetType(nledTime);
                led.SetValue(TDateTime(0.4375)); // 10:30
                ASSERT_TRUE(MatchesFigures(led));
            }
}

class NumLedOnScreen : public KsFormTest {
protected:
    void SetUp() override
    {
        KsFormTest::SetUp();
        Form->SetColor(0x205080);
        Led = new KsNumLed(Form);
        Led->SetParent(Form);
        Led->SetBounds(20, 30, 288, 88);
        Led->SetValue(1230.0);
        UpdateWindow(Form->Handle());
    }
    // The screen's pixels of the display's area against the display's picture.
    bool ScreenShowsPicture()
    {
        UpdateWindow(Form->Handle());
        TBitmap& picture = *Led->Imp()->GetLayer()->Image()->Picture()->Bitmap();
        for (int y = 0; y < picture.Height(); y += 3)
            for (int x = 0; x < picture.Width(); x += 3)
                if (ScreenPixel(Form->Handle(), Led->Left() + x, Led->Top() + y) != PixelOf(picture.Canvas(), x, y))
                    return false;
        return true;
    }
    // The part of the form waiting to be repainted, in the display's own
    // coordinates.
    TRect Waiting()
    {
        TRect r{0, 0, 0, 0};
        GetUpdateRect(Form->Handle(), &r, FALSE);
        return r.right > r.left ? Rect(r.left - Led->Left(), r.top - Led->Top(), r.right - Led->Left(),
                                       r.bottom - Led->Top())
                                : r;
    }
    KsNumLed* Led = nullptr;
};

TEST_F(NumLedOnScreen, AnUpdateRepaintsOnlyTheCharactersThatChanged)
{
    ASSERT_TRUE(ScreenShowsPicture());
    // 1230 to 1234: the last of four 72-pixel characters.
    Led->SetValue(1234.0);
    const TRect last = Waiting();
    EXPECT_GE(last.left, 3 * 72) << RectText(last);
    EXPECT_LE(last.right, 4 * 72) << RectText(last);
    EXPECT_GT(last.bottom - last.top, 44) << RectText(last);
    EXPECT_TRUE(ScreenShowsPicture());
    // 1234 to 5239: the first and the last, and what lies between them.
    Led->SetValue(5239.0);
    const TRect both = Waiting();
    EXPECT_LT(both.left, 72) << RectText(both);
    EXPECT_GT(both.right, 3 * 72) << RectText(both);
    EXPECT_TRUE(ScreenShowsPicture());
    // The same digits: nothing to repaint.
    Led->SetValue(5239.001);
    EXPECT_EQ(RectText(Waiting()), RectText(Rect(0, 0, 0, 0)));
}

TEST_F(NumLedOnScreen, ATransparentDisplayShowsItsParentWhereSegmentsGoDark)
{
    // Dark segments in the transparent colour leave only the lit ones.
    Led->LedColors()->SetTransparentColor(0x3E260E);
    Led->SetTransparent(true);
    Led->SetValue(8888.0);
    UpdateWindow(Form->Handle());
    // The top bar of the first digit, lit in 8 and dark in 1.
    const int x = Led->Left() + 8 * 4, y = Led->Top() + static_cast<int>(2.5 * 4);
    EXPECT_EQ(ScreenPixel(Form->Handle(), x, y), 0x0AF00A);
    Led->SetValue(1888.0);
    EXPECT_EQ(ScreenPixel(Form->Handle(), x, y), Form->Color()) << "the parent shows through the dark bar";
}

} // namespace loom
