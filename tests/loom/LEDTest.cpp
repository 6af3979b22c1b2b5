#include "loom/Component/LED.h"
#include "loom/Component/LED/ShapeLED.h"
#include "LoomFigures.h"
#include "LoomTesting.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

// Inside the library's namespace its shape names win over the platform's
// drawing functions of the same names.
namespace loom {

namespace {

// The lit segments of a character, as letters from 'a'.
std::string LitSegments(const CompositeScalableLED& led)
{
    std::string lit;
    for (int i = 0; i < led.LEDCount(); ++i)
        if (led.GetLED(i)->State() == 1)
            lit += static_cast<char>('a' + i);
    return lit;
}

// A segment that counts the states it is asked to take.
class CountingLED : public ScalableLED {
public:
    CountingLED() : ScalableLED(0, 0), m_figure(nullptr) {}
    int StateCount() const override { return 2; }
    int State() const override { return m_state; }
    void SetState(int state) override
    {
        ++Calls;
        m_state = state;
    }
    void Update() override { ++Updates; }
    PolygonFigure<ImagePainter>* RawFigure() override { return &m_figure; }

    int Calls = 0;
    int Updates = 0;

private:
    int m_state = 0;
    PolygonFigure<ImagePainter> m_figure;
};

} // namespace

TEST(LED, SevenSegmentDigits)
{
    auto digit = BuildCharacter(DigitTable, SevenSegTbl::Instance());
    EXPECT_EQ(digit->State(), -1);
    EXPECT_EQ(digit->StateCount(), 12);
    ASSERT_EQ(digit->LEDCount(), 7);
    EXPECT_EQ(LitSegments(*digit), "");
    // Which segments each state lights shows in the numeric display's drawn
    // digits; here only that the states reach the segments, all or none.
    digit->SetState(11);
    EXPECT_EQ(LitSegments(*digit), "abcdefg");
    digit->SetState(0);
    EXPECT_EQ(LitSegments(*digit), "");
    // The segments' own order follows the geometry: a is the top bar.
    EXPECT_EQ(digit->GetLED(0)->GetFigure()->Top(), 2);
    EXPECT_EQ(digit->GetLED(6)->GetFigure()->Top(), 10);
    EXPECT_EQ(digit->GetLED(1)->GetFigure()->Left(), 14);
}

TEST(LED, RpmLightsAllItsSegmentsOrNone)
{
    auto rpm = BuildCharacter(RpmTable, SixteenSegBinStateTbl::Instance());
    rpm->SetState(1);
    EXPECT_EQ(LitSegments(*rpm), "abcdefghijklmnop");
    rpm->SetState(0);
    EXPECT_EQ(LitSegments(*rpm), "");
}

TEST(LED, DesignSizesOfTheFiveCharacters)
{
    struct Case {
        const int* table;
        const LED_Director& director;
        int width, height, segments;
    } cases[] = {
        {DigitTable, SevenSegTbl::Instance(), 18, 22, 7},
        {DecimalPointTable, SingleSegTbl::Instance(), 6, 27, 1},
        {DegreeTable, FourSegBinStateTbl::Instance(), 9, 27, 4},
        {CelsiusTable, FourSegBinStateTbl::Instance(), 19, 27, 4},
        {RpmTable, SixteenSegBinStateTbl::Instance(), 47, 27, 16},
    };
    for (const Case& c : cases) {
        auto led = BuildCharacter(c.table, c.director);
        EXPECT_EQ(led->Width(), c.width);
        EXPECT_EQ(led->Height(), c.height);
        EXPECT_EQ(led->LEDCount(), c.segments);
        EXPECT_EQ(led->X(), 0);
        EXPECT_EQ(led->Y(), 0);
        for (int i = 0; i < led->LEDCount(); ++i) {
            EXPECT_EQ(led->GetLED(i)->State(), 0);
            // Each segment sits where its outline is and at its design size.
            Figure* figure = led->GetLED(i)->GetFigure();
            EXPECT_EQ(figure->Left(), led->GetLED(i)->X());
            EXPECT_EQ(figure->Top(), led->GetLED(i)->Y());
            EXPECT_EQ(led->GetLED(i)->Width(), figure->Width());
        }
    }
    // The decimal point's one segment is the 2 x 2 square at (2, 22).
    auto dot = BuildCharacter(DecimalPointTable, SingleSegTbl::Instance());
    Figure* point = dot->GetLED(0)->GetFigure();
    EXPECT_EQ(point->Left(), 2);
    EXPECT_EQ(point->Top(), 22);
    EXPECT_EQ(point->Width(), 2);
    EXPECT_EQ(point->Height(), 2);
}

TEST(LED, CompositeSetsEachChildOnlyOnChange)
{
    CompositeScalableLED digit(0, 0, 18, 22, &SevenSegTbl::Instance());
    CountingLED* segments[7];
    for (auto*& segment : segments) {
        segment = new CountingLED;
        digit.AddLED(segment);
    }
    digit.SetState(9);
    digit.SetState(9);
    for (auto* segment : segments)
        EXPECT_EQ(segment->Calls, 1);
    digit.Update();
    for (auto* segment : segments)
        EXPECT_EQ(segment->Updates, 1);
}

TEST(LED, ShapeLEDTakesItsColourFromTheTable)
{
    LedColor table[2] = {LedColor(1, 1, 1), LedColor(2, 2, 2)};
    PolygonFigure<ImagePainter> figure(nullptr);
    SolidShapeLED<PolygonFigure<ImagePainter>> led(3, 4, figure, table, 2);
    EXPECT_EQ(led.State(), 0);
    EXPECT_EQ(led.RawFigure()->FillColor(), table[0]);
    led.SetState(1);
    EXPECT_EQ(led.RawFigure()->FrameColor(), table[1]);
    table[1] = LedColor(9, 9, 9);
    EXPECT_EQ(led.RawFigure()->FillColor(), LedColor(2, 2, 2));
    led.Update();
    EXPECT_EQ(led.RawFigure()->FillColor(), LedColor(9, 9, 9));
    EXPECT_EQ(led.RawFigure()->FrameColor(), LedColor(9, 9, 9));
    // The LED's position is where its figure is drawn.
    EXPECT_EQ(led.GetFigure()->Left(), 3);
    EXPECT_EQ(led.GetFigure()->Top(), 4);
}

TEST(LED, CollectorLaysCharactersOutInOneFigure)
{
    BasicLED_Collector row;
    EXPECT_EQ(row.Width(), 0);
    EXPECT_EQ(row.LEDCount(), 0);
    row.SetWidth(65);
    row.SetHeight(27);
    EXPECT_EQ(row.Width(), 65);
    EXPECT_EQ(row.Height(), 27);
    auto digit = BuildCharacter(DigitTable, SevenSegTbl::Instance());
    auto rpm = BuildCharacter(RpmTable, SixteenSegBinStateTbl::Instance());
    rpm->SetX(18);
    row.Add(digit.get());
    row.Add(rpm.get());
    EXPECT_EQ(row.LEDCount(), 2);
    EXPECT_EQ(row.Figure()->FigureCount(), 2);
    EXPECT_EQ(row.StateCount(0), 12);
    EXPECT_EQ(row.StateCount(1), 2);
    row.SetState(0, 5);
    EXPECT_EQ(digit->State(), 5);

    // Added at design scale; the current size is put back afterwards.
    row.Figure()->Resize(130, 54);
    EXPECT_EQ(rpm->RawFigure()->Left(), 36);
    EXPECT_EQ(rpm->RawFigure()->Width(), 94);
    EXPECT_EQ(digit->GetLED(0)->RawFigure()->Width(), 16);

    EXPECT_EQ(row.Detach(0), digit.get());
    EXPECT_EQ(row.LEDCount(), 1);
    EXPECT_EQ(row.Figure()->Width(), 130);
    EXPECT_EQ(rpm->RawFigure()->Left(), 36);
    row.Insert(0, digit.get());
    EXPECT_EQ(row.GetLED(0), digit.get());
    row.Remove(rpm.get());
    row.Remove(rpm.get());
    EXPECT_EQ(row.LEDCount(), 1);
    row.Figure()->Resize(65, 27);
    EXPECT_EQ(digit->GetLED(1)->RawFigure()->Left(), 14);
    EXPECT_EQ(digit->GetLED(1)->RawFigure()->Height(), 5);
    row.Detach(0);

    // An RPM at x = 19 sticks out of 65 x 27.
    rpm->SetX(19);
    EXPECT_NE(FailedCheck([&] {
                  BasicLED_Collector narrow;
                  narrow.SetWidth(65);
                  narrow.SetHeight(27);
                  narrow.Add(rpm.get());
              }).find("figurePtr->Left() >= m_left"),
              std::string::npos);
}

TEST(LED, FactoryBuildsEveryRecordKind)
{
    const int shapes[] = {5, 0, 0, 20, 20,
                          1, 1, 1, 5, 4,
                          2, 6, 1, 9, 8,
                          3, 1, 10, 8, 14, 2, 2,
                          4, 10, 10, 6,
                          5, 2, 15, 3};
    auto led = BuildCharacter(shapes, SixteenSegBinStateTbl::Instance());
    ASSERT_EQ(led->LEDCount(), 5);
    EXPECT_EQ(led->GetLED(0)->Width(), 4);
    EXPECT_EQ(led->GetLED(2)->Height(), 4);
    EXPECT_EQ(led->GetLED(3)->GetFigure()->Left(), 10);
    EXPECT_EQ(led->GetLED(3)->Width(), 6);
    EXPECT_EQ(led->GetLED(4)->GetFigure()->Top(), 15);
    EXPECT_EQ(led->GetLED(4)->Height(), 3);
}

} // namespace loom
