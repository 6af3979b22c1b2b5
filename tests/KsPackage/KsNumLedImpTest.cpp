#include "Allocations.h"

#include "KsPackage/Source/KsNumLed_imp.h"
#include "platform/Control.h"
#include "tests/loom/LoomTesting.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdlib>
#include <functional>
#include <new>
#include <cmath>
#include <limits>
#include <memory>
#include <string>
#include <vector>

using namespace platform;

namespace loom {

namespace {

const TColor Light = 0x0AF00A, Dark = 0x3E260E, Background = 0x000000;

// The lit segments (a top, b upper right, c lower right, d bottom, e lower
// left, f upper left, g middle) of each digit state: blank, 0 to 9, all.
const char* const DigitSegments[12] = {"",      "abcdef", "bc",  "abdeg",   "abcdg",  "bcfg",
                                       "acdfg", "acdefg", "abc", "abcdefg", "abcdfg", "abcdefg"};

// Segment bars of a digit in design pixels: left, top, right, bottom.
const int SegmentBars[7][4] = {{4, 2, 12, 3},   {14, 4, 15, 9},  {14, 12, 15, 17}, {4, 18, 12, 19},
                               {2, 12, 3, 17},  {2, 4, 3, 9},    {4, 10, 12, 11}};

class NumLed : public ::testing::Test {
protected:
    void SetUp() override
    {
        Parent = new TWinControl(nullptr);
        Led = std::make_unique<KsNumLed_imp>(Parent, Parent, 72, 22);
    }
    void TearDown() override
    {
        Led.reset();
        Parent->Free();
    }

    std::vector<int> States() const
    {
        std::vector<int> states;
        for (int i = 0; i < Led->LEDCount(); ++i)
            states.push_back(Led->CharacterState(i));
        return states;
    }
    void ShowNumber(const std::string& format, double value, bool zeroLeading = false)
    {
        Led->SetFormat(format);
        Led->SetZeroLeading(zeroLeading);
        Led->SetValue(value);
    }
    TColor Pixel(int x, int y) const { return PixelOf(Led->GetLayer()->Canvas(), x, y); }
    // Every pixel of the display, row by row.
    std::vector<TColor> Picture() const
    {
        std::vector<TColor> pixels;
        for (int y = 0; y < Led->GetLayer()->Height(); ++y)
            for (int x = 0; x < Led->GetLayer()->Width(); ++x)
                pixels.push_back(Pixel(x, y));
        return pixels;
    }

    // Every segment of the digit at design offset x0 shows in the light or
    // dark colour as its state asks, at an integer scale; the holes of the
    // digit and the strip below it show the background.
    void ExpectDigitPixels(int x0, int state, int scale, TColor light = Light, TColor dark = Dark,
                           TColor background = Background)
    {
        auto at = [scale](double design) { return static_cast<int>(std::floor(design * scale)); };
        for (int s = 0; s < 7; ++s) {
            const int* bar = SegmentBars[s];
            const bool lit = std::string(DigitSegments[state]).find(static_cast<char>('a' + s)) != std::string::npos;
            const int x = at(x0 + (bar[0] + bar[2]) / 2.0), y = at((bar[1] + bar[3]) / 2.0);
            EXPECT_EQ(Pixel(x, y), lit ? light : dark)
                << "segment " << static_cast<char>('a' + s) << " of the digit at " << x0 << " in state " << state;
        }
        for (double hx : {8.5, 0.5, 16.5})
            for (double hy : {6.5, 14.5, 0.5, 20.5})
                EXPECT_EQ(Pixel(at(x0 + hx), at(hy)), background) << "background at " << hx << "," << hy;
    }

    TWinControl* Parent = nullptr;
    std::unique_ptr<KsNumLed_imp> Led;
};

} // namespace

TEST_F(NumLed, StartsShowingZeroInFourDigits)
{
    EXPECT_EQ(Led->GetFormat(), "8888");
    EXPECT_EQ(Led->LEDCount(), 4);
    EXPECT_EQ(States(), (std::vector<int>{0, 0, 0, 1}));
    EXPECT_EQ(Led->GetType(), nledFloat);
    EXPECT_EQ(Led->GetStyle(), nledRectangle7_s);
    EXPECT_FALSE(Led->GetZeroLeading());
    EXPECT_FALSE(Led->GetKeepRatio());
    EXPECT_FALSE(Led->GetTransparent());
    EXPECT_EQ(Led->GetLightColor(), Light);
    EXPECT_EQ(Led->GetDarkColor(), Dark);
    EXPECT_EQ(Led->GetBackgroundColor(), Background);
    double number = -1;
    EXPECT_TRUE(Led->GetValue(number));
    EXPECT_EQ(number, 0.0);
    TDateTime when;
    EXPECT_FALSE(Led->GetValue(when));
    EXPECT_EQ(Led->GetLayer()->Width(), 72);
    EXPECT_EQ(Led->GetLayer()->Height(), 22);
    EXPECT_EQ(Led->Figure()->OriginalWidth(), 72);
    EXPECT_EQ(Led->Figure()->OriginalHeight(), 22);
    EXPECT_EQ(Led->GetLayer()->Image()->Parent(), Parent);
    for (int i = 0; i < 4; ++i)
        ExpectDigitPixels(18 * i, i == 3 ? 1 : 0, 1);
}

TEST_F(NumLed, NumbersFillDigitsFromTheRight)
{
    ShowNumber("88.8", 3.14159);
    EXPECT_EQ(States(), (std::vector<int>{0, 4, 1, 2})); // blank 3 . 1
    Led->SetValue(0.05);
    EXPECT_EQ(States(), (std::vector<int>{0, 1, 1, 2})); // blank 0 . 1
    ShowNumber("888", 7);
    EXPECT_EQ(States(), (std::vector<int>{0, 0, 8}));
    Led->SetZeroLeading(true);
    EXPECT_EQ(States(), (std::vector<int>{1, 1, 8}));
    ShowNumber("88", 1234);
    EXPECT_EQ(States(), (std::vector<int>{4, 5})); // digits that do not fit drop from the left
    Led->SetValue(-5);
    EXPECT_EQ(States(), (std::vector<int>{0, 6})); // no sign
    ShowNumber("8", 2.5);
    EXPECT_EQ(States(), (std::vector<int>{4})); // half up
    Led->SetValue(-2.5);
    EXPECT_EQ(States(), (std::vector<int>{3}));
    ShowNumber("8.88", 105.0 / 100);
    EXPECT_EQ(States(), (std::vector<int>{2, 1, 1, 6})); // inner zeros show
    ShowNumber("8888", 105);
    EXPECT_EQ(States(), (std::vector<int>{0, 2, 1, 6}));
    ShowNumber("8.8.8", 1.25);
    EXPECT_EQ(States(), (std::vector<int>{2, 1, 3, 1, 6})); // only the first point splits
    double number = 0;
    EXPECT_TRUE(Led->GetValue(number));
    EXPECT_EQ(number, 1.25);

    // A typed half-way value rounds up: the product is taken as a double,
    // not as a wider intermediate that keeps it just below the half.
    ShowNumber("8.8", 0.15);
    EXPECT_EQ(States(), (std::vector<int>{1, 1, 3})); // 0 . 2
    Led->SetValue(0.35);
    EXPECT_EQ(States(), (std::vector<int>{1, 1, 5})); // 0 . 4
    ShowNumber("8.88", 0.045);
    EXPECT_EQ(States(), (std::vector<int>{1, 1, 1, 6})); // 0 . 0 5
    Led->SetValue(2.675);
    EXPECT_EQ(States(), (std::vector<int>{3, 1, 7, 9})); // 2 . 6 8
}

TEST_F(NumLed, NumbersBeyondThirtyTwoBitsShowLowOrderDigits)
{
    Led->SetFormat("8888888888");
    Led->SetValue(-2147483648.0);
    EXPECT_EQ(States(), (std::vector<int>{3, 2, 5, 8, 5, 9, 4, 7, 5, 9}));
    Led->SetValue(2147483648.0); // wraps to the smallest 32-bit value
    EXPECT_EQ(States(), (std::vector<int>{3, 2, 5, 8, 5, 9, 4, 7, 5, 9}));
    Led->SetValue(4294967296.0 + 5);
    EXPECT_EQ(States(), (std::vector<int>{0, 0, 0, 0, 0, 0, 0, 0, 0, 6}));
    Led->SetFormat("88.88888888");
    for (double v : {1e20, -1e300, 1e308, std::numeric_limits<double>::infinity(),
                     -std::numeric_limits<double>::infinity(), -21474836.48, 123456789.123}) {
        Led->SetValue(v);
        for (int state : States())
            EXPECT_TRUE(state >= 0 && state <= 11) << v;
    }
    // A NaN counts as equal to anything: nothing changes.
    Led->SetValue(7.5);
    const std::vector<int> before = States();
    Led->SetValue(std::numeric_limits<double>::quiet_NaN());
    EXPECT_EQ(States(), before);
    double number = 0;
    Led->GetValue(number);
    EXPECT_EQ(number, 7.5);
}

TEST_F(NumLed, TimesAndDates)
{
    const TDateTime when = EncodeDate(2009, 3, 17) + EncodeTime(9, 5, 30, 0);
    Led->SetFormat("HH.MM");
    Led->SetValue(when); // ignored while the type is a number
    TDateTime got;
    EXPECT_FALSE(Led->GetValue(got));
    Led->SetType(nledTime);
    Led->SetValue(when);
    EXPECT_EQ(States(), (std::vector<int>{1, 10, 1, 1, 6})); // 09.05
    EXPECT_TRUE(Led->GetValue(got));
    EXPECT_EQ(static_cast<double>(got), static_cast<double>(when));
    double number;
    EXPECT_FALSE(Led->GetValue(number));
    Led->SetValue(3.0); // ignored: the wrong kind
    Led->SetType(nledDate);
    EXPECT_EQ(States(), (std::vector<int>{1, 10, 1, 1, 4})); // hours kept, month 03

    Led->SetFormat("YYYY.MM.DD");
    EXPECT_EQ(States(), (std::vector<int>{3, 1, 1, 10, 1, 1, 4, 1, 2, 8}));
    Led->SetFormat("hh:mm");
    EXPECT_EQ(Led->GetFormat(), "YYYY.MM.DD");
    Led->SetFormat("hhmmss8");
    Led->SetType(nledTime);
    EXPECT_EQ(States(), (std::vector<int>{1, 10, 1, 6, 4, 1, 11})); // the 8 keeps its state

    // A value with no calendar date is refused and the display stays.
    Led->SetValue(TDateTime(1e12));
    EXPECT_TRUE(Led->GetValue(got));
    EXPECT_EQ(static_cast<double>(got), static_cast<double>(when));
    EXPECT_EQ(States(), (std::vector<int>{1, 10, 1, 6, 4, 1, 11}));
    Led->SetValue(TDateTime(std::numeric_limits<double>::quiet_NaN()));
    EXPECT_EQ(States(), (std::vector<int>{1, 10, 1, 6, 4, 1, 11}));
}

TEST_F(NumLed, FormatsBuildOneCharacterEachOrAreRejected)
{
    Led->SetFormat("88^C");
    EXPECT_EQ(Led->LEDCount(), 4);
    EXPECT_EQ(Led->Figure()->OriginalWidth(), 18 + 18 + 9 + 19);
    EXPECT_EQ(Led->Figure()->OriginalHeight(), 27);
    EXPECT_EQ(States(), (std::vector<int>{0, 1, 1, 1}));
    Led->SetFormat("8.&");
    EXPECT_EQ(Led->Figure()->OriginalWidth(), 18 + 6 + 47);
    EXPECT_EQ(States(), (std::vector<int>{1, 1, 1}));

    for (const char* rejected : {"8,8", "", "8c", "8 8", "+8", "88X"}) {
        Led->SetFormat(rejected);
        EXPECT_EQ(Led->GetFormat(), "8.&") << rejected;
        EXPECT_EQ(Led->LEDCount(), 3);
        EXPECT_EQ(States(), (std::vector<int>{1, 1, 1}));
    }

    // Unknown style and type values leave the display as it is.
    Led->SetStyle(static_cast<KsNumLedStyle>(3));
    EXPECT_EQ(Led->GetStyle(), nledRectangle7_s);
    Led->SetType(static_cast<KsNumLedType>(7));
    EXPECT_EQ(Led->GetType(), nledFloat);
    EXPECT_EQ(States(), (std::vector<int>{1, 1, 1}));
    Led->SetStyle(nledRectangle7_s);
    EXPECT_EQ(Led->GetFormat(), "8.&");
}

TEST_F(NumLed, OnAndOff)
{
    ShowNumber("8888", 42);
    Led->On(0);
    EXPECT_EQ(States(), (std::vector<int>{11, 11, 11, 11}));
    Led->SetValue(42.0); // the same number changes nothing
    EXPECT_EQ(States(), (std::vector<int>{11, 11, 11, 11}));
    Led->SetValue(43.0);
    EXPECT_EQ(States(), (std::vector<int>{0, 0, 5, 4}));

    Led->Off(2);
    EXPECT_EQ(States(), (std::vector<int>{0, 0, 5, 4}));
    Led->Off(3);
    EXPECT_EQ(States(), (std::vector<int>{0, 0, 0, 4}));
    EXPECT_FALSE(Led->IsLit(2));
    Led->SetValue(12.0);
    EXPECT_EQ(States(), (std::vector<int>{0, 0, 0, 3})); // still off
    Led->On(3);
    EXPECT_EQ(States(), (std::vector<int>{0, 0, 2, 3}));
    Led->On(9);
    Led->Off(5);
    EXPECT_EQ(States(), (std::vector<int>{0, 0, 2, 3}));
    Led->Off(0);
    EXPECT_EQ(States(), (std::vector<int>{0, 0, 0, 0}));
    Led->On(1);
    EXPECT_EQ(States(), (std::vector<int>{0, 0, 0, 0})); // its value is blank
    Led->On(0);
    Led->Repaint();
    EXPECT_EQ(States(), (std::vector<int>{0, 0, 2, 3}));

    // Flags of surviving positions outlive a format change; new ones are on.
    Led->Off(2);
    Led->SetFormat("888888");
    EXPECT_FALSE(Led->IsLit(1));
    for (int i : {0, 2, 3, 4, 5})
        EXPECT_TRUE(Led->IsLit(i)) << i;
    EXPECT_EQ(States(), (std::vector<int>{0, 0, 0, 0, 2, 3}));
    Led->SetZeroLeading(true);
    EXPECT_EQ(States(), (std::vector<int>{1, 0, 1, 1, 2, 3}));
}

TEST_F(NumLed, KeepRatioShrinksOneSideExactly)
{
    Led->SetKeepRatio(true);
    Led->Resize(144, 100);
    EXPECT_EQ(Led->GetLayer()->Width(), 144);
    EXPECT_EQ(Led->GetLayer()->Height(), 44);
    Led->Resize(200, 50);
    EXPECT_EQ(Led->GetLayer()->Width(), 163);
    EXPECT_EQ(Led->GetLayer()->Height(), 50);
    // The limiting side keeps exactly the size asked for (22 * (15 / 22.0)
    // in floating point would truncate to 14).
    Led->Resize(100, 15);
    EXPECT_EQ(Led->GetLayer()->Width(), 49);
    EXPECT_EQ(Led->GetLayer()->Height(), 15);
    Led->Resize(72 * 3, 1000);
    EXPECT_EQ(Led->GetLayer()->Width(), 216);
    EXPECT_EQ(Led->GetLayer()->Height(), 66);
    Led->Resize(-5, 40);
    EXPECT_EQ(Led->GetLayer()->Width(), 0);
    EXPECT_EQ(Led->GetLayer()->Height(), 0);
    Led->SetKeepRatio(false);
    Led->Resize(100, 15);
    EXPECT_EQ(Led->GetLayer()->Width(), 100);
    EXPECT_EQ(Led->GetLayer()->Height(), 15);
    EXPECT_EQ(Led->GetLayer()->Image()->Width(), 100);
}

TEST_F(NumLed, DrawsSegmentsInTheirColoursAtAnySize)
{
    ShowNumber("8888888888", 1234567890, true);
    EXPECT_EQ(States(), (std::vector<int>{2, 3, 4, 5, 6, 7, 8, 9, 10, 1}));
    for (int scale : {1, 4}) {
        Led->Resize(180 * scale, 22 * scale);
        for (int i = 0; i < 10; ++i)
            ExpectDigitPixels(18 * i, States()[static_cast<size_t>(i)], scale);
    }

    // A value change repaints only segments; off characters turn dark.
    Led->SetValue(9876543210.0); // beyond 32 bits: low-order digits
    Led->Off(2);
    Led->On(0);
    Led->Off(1);
    for (int i = 0; i < 10; ++i)
        ExpectDigitPixels(18 * i, States()[static_cast<size_t>(i)], 4);
    EXPECT_EQ(States()[0], 0);

    Led->SetLightColor(0x0000FF);
    Led->SetDarkColor(0x404040);
    for (int i = 0; i < 10; ++i)
        ExpectDigitPixels(18 * i, States()[static_cast<size_t>(i)], 4, 0x0000FF, 0x404040);
    Led->SetBackgroundColor(0xFF0000);
    EXPECT_EQ(Led->GetBackgroundColor(), 0xFF0000);
    for (int i = 0; i < 10; ++i)
        ExpectDigitPixels(18 * i, States()[static_cast<size_t>(i)], 4, 0x0000FF, 0x404040, 0xFF0000);
    EXPECT_EQ(Pixel(719, 87), 0xFF0000);
}

TEST_F(NumLed, DrawsSymbolsAndKeepsProportionsWithKeepRatio)
{
    // digit, point, degree sign, letter C: 18 + 6 + 9 + 19 = 52 by 27.
    Led->SetFormat("8.^C");
    Led->SetValue(7);
    // Points inside each symbol segment, in design pixels.
    const int symbolPoints[][2] = {{18 + 3, 23},                                              // point
                                   {24 + 5, 2}, {24 + 2, 6}, {24 + 7, 4}, {24 + 7, 9},         // degree
                                   {33 + 10, 4}, {33 + 2, 9}, {33 + 2, 18}, {33 + 10, 23}};   // C
    for (int scale : {1, 4}) {
        Led->Resize(52 * scale, 27 * scale);
        ExpectDigitPixels(0, 8, scale);
        for (const auto& p : symbolPoints)
            EXPECT_EQ(Pixel(static_cast<int>((p[0] + 0.5) * scale), static_cast<int>((p[1] + 0.5) * scale)), Light)
                << p[0] << "," << p[1] << " at " << scale;
        // Below the digit and between the symbols' parts is background.
        for (const auto& p : {std::array<int, 2>{9, 25}, {18 + 1, 10}, {24 + 5, 20}, {33 + 10, 13}})
            EXPECT_EQ(Pixel(static_cast<int>((p[0] + 0.5) * scale), static_cast<int>((p[1] + 0.5) * scale)),
                      Background);
    }

    // An odd size: every digit segment's drawn centre has its colour.
    Led->SetFormat("8888");
    Led->SetKeepRatio(true);
    Led->SetValue(1947);
    Led->Resize(300, 1000);
    ASSERT_EQ(Led->GetLayer()->Width(), 300);
    ASSERT_EQ(Led->GetLayer()->Height(), 91);
    for (int i = 0; i < 4; ++i) {
        auto* digit = static_cast<CompositeScalableFig*>(Led->Figure()->GetFigure(i));
        const std::string lit = DigitSegments[Led->CharacterState(i)];
        for (int s = 0; s < 7; ++s) {
            ScalableFigure* segment = digit->GetFigure(s);
            const int x = segment->Left() + segment->Width() / 2, y = segment->Top() + segment->Height() / 2;
            EXPECT_EQ(Pixel(x, y), lit.find(static_cast<char>('a' + s)) != std::string::npos ? Light : Dark)
                << "digit " << i << " segment " << s;
        }
        EXPECT_EQ(Pixel(digit->Left() + digit->Width() / 2, digit->Top() + digit->Height() * 6 / 22), Background);
    }
    EXPECT_EQ(Pixel(299, 90), Background);
}

TEST_F(NumLed, AFormatChangeLeavesNothingOfTheOldLayout)
{
    // Wide characters drawn all over the display, then narrower ones.
    ShowNumber("8&", 8);
    Led->On(0);
    for (const char* format : {"8.8", "8", "^C88", "8888"}) {
        Led->SetFormat(format);
        const std::vector<TColor> shown = Picture();
        // What a display cleared and drawn afresh with this format shows.
        Led->Repaint();
        EXPECT_EQ(shown, Picture()) << format;
        EXPECT_NE(std::count(shown.begin(), shown.end(), Background), 0) << format;
    }

    // The same format again changes nothing, not even what On(0) lit.
    Led->SetValue(42.0);
    Led->On(0);
    const std::vector<TColor> lit = Picture();
    Led->SetFormat("8888");
    EXPECT_EQ(States(), (std::vector<int>{11, 11, 11, 11}));
    EXPECT_EQ(Picture(), lit);
}

TEST(NumLedConstruction, EveryWayOutFreesWhatWasMade)
{
    const TOwned<TWinControl> parent(new TWinControl(nullptr));
    // Counts the allocations a call makes; the first round of each makes
    // the character tables and other objects made on first use.
    auto allocations = [](const std::function<void()>& call) {
        call();
        AllocationsBeforeFailure = 1 << 30;
        call();
        const long made = (1 << 30) - AllocationsBeforeFailure;
        AllocationsBeforeFailure = -1;
        return made;
    };
    const long total = allocations([&parent] { KsNumLed_imp(parent.get(), parent.get(), 72, 22); });
    // The layer and painter the construction starts from, so that the sweep
    // below starts where the display's own parts are made.
    const long surface = allocations([&parent] {
        ImageLayerType layer(parent.get(), parent.get());
        layer.GetCanvasLayer()->SetBackgroundColor(clBlack);
        layer.SetImageSize(72, 22);
        ImagePainter painter(&layer);
    });
    ASSERT_GT(total, surface);
    // An invariant report makes what it needs on first use as well.
    FailedCheck([] { BasicLED_Collector().Detach(0); });

    // Fails each allocation after those in turn. One inside a drawing call
    // ends in that call's invariant report, which throws here.
    for (long failing = surface; failing < total; ++failing) {
        const long before = LiveAllocations;
        {
            TInterceptedServices services;
            AllocationsBeforeFailure = failing;
            // An allocation whose failure is absorbed on the way lets the
            // construction finish.
            try {
                KsNumLed_imp led(parent.get(), parent.get(), 72, 22);
                AllocationsBeforeFailure = -1;
            } catch (...) {
                AllocationsBeforeFailure = -1;
            }
        }
        ASSERT_EQ(LiveAllocations, before) << "allocation " << failing << " failed";
        ASSERT_EQ(parent->ComponentCount(), 0) << "allocation " << failing << " failed";
    }
}

TEST_F(NumLed, ColoursPlacementAndOwnership)
{
    Led->SetLightColor(clBtnFace); // taken as plain RGB
    EXPECT_EQ(Led->GetLightColor(), COLOR_BTNFACE);
    Led->SetBackgroundColor(clBtnFace); // resolved
    EXPECT_EQ(Led->GetBackgroundColor(), static_cast<TColor>(ColorToRGB(clBtnFace)));
    Led->SetTransparentColor(clBtnFace);
    EXPECT_EQ(Led->GetTransparentColor(), static_cast<TColor>(ColorToRGB(clBtnFace)));
    Led->SetTransparent(true);
    EXPECT_TRUE(Led->GetTransparent());

    Led->Move(10, 20);
    Led->Move(12, 20);
    EXPECT_EQ(Led->GetLayer()->Left(), 12);
    EXPECT_EQ(Led->GetLayer()->Top(), 20);
    auto* other = new TWinControl(nullptr);
    Led->SetParent(other);
    EXPECT_EQ(Led->GetLayer()->Image()->Parent(), other);
    EXPECT_EQ(Parent->ControlCount(), 0);

    // The image's owner goes first; the display then only frees its own parts.
    auto* owner = new TComponent(nullptr);
    auto display = std::make_unique<KsNumLed_imp>(owner, other, 50, 20);
    owner->Free();
    display->SetValue(12.0);
    display->Resize(100, 40);
    display.reset();
    other->Free();
    EXPECT_EQ(Led->GetLayer()->Image(), nullptr);

    EXPECT_TRUE(PointsAtItsCheck(FailedCheck([&] {
                                     Led->SetKeepRatio(true);
                                     Led->SetFormat("8");
                                     Led->Figure()->SetDesignRect(MakeRect(0, 0, 0, 22));
                                     Led->Resize(10, 10);
                                 }),
                                 "KsPackage/Source/KsNumLed_imp"));
    Led->Figure()->SetDesignRect(MakeRect(0, 0, 18, 22));
}

} // namespace loom
