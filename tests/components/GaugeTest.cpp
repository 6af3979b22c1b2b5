#include "FormFixture.h"

#include "components/Gauge.h"

#include <climits>

using namespace platform;
using namespace components;

namespace {

class Gauge : public FormFixture {
protected:
    TGauge* MakeGauge(int Width, int Height)
    {
        auto* gauge = Place<TGauge>(10, 10, Width, Height);
        gauge->SetForeColor(clRed);
        gauge->SetBackColor(clWhite);
        gauge->SetShowText(false);
        return gauge;
    }
};

} // namespace

TEST_F(Gauge, BarsFillTheirProportionAndValuesOutsideTheRangeAreClamped)
{
    TGauge* gauge = MakeGauge(102, 22); // a face of 100 x 20 inside the border
    gauge->SetProgress(30);
    EXPECT_EQ(CountPixels(gauge, Rect(1, 10, 101, 11), clRed), 30);
    EXPECT_EQ(Pixel(gauge, 30, 10), RGB(255, 0, 0));
    EXPECT_EQ(Pixel(gauge, 31, 10), RGB(255, 255, 255));
    EXPECT_EQ(Pixel(gauge, 0, 10), ColorToRGB(clWindowFrame));

    gauge->SetProgress(150);
    EXPECT_EQ(gauge->Progress(), 100);
    EXPECT_EQ(CountPixels(gauge, Rect(1, 10, 101, 11), clRed), 100);
    gauge->AddProgress(-130);
    EXPECT_EQ(gauge->Progress(), 0);
    EXPECT_EQ(CountPixels(gauge, Rect(1, 10, 101, 11), clRed), 0);

    gauge->SetKind(gkVerticalBar);
    gauge->SetProgress(25);
    EXPECT_EQ(CountPixels(gauge, Rect(50, 1, 51, 21), clRed), 5);
    EXPECT_EQ(Pixel(gauge, 50, 20), RGB(255, 0, 0));
    EXPECT_EQ(Pixel(gauge, 50, 1), RGB(255, 255, 255));

    gauge->SetMinValue(-50);
    gauge->SetMaxValue(50);
    gauge->SetProgress(0);
    EXPECT_EQ(gauge->PercentDone(), 50);

    // Adding past the ends of a whole number stops at the range's end.
    gauge->SetKind(gkHorizontalBar);
    gauge->SetMaxValue(INT_MAX);
    gauge->SetProgress(2000000000);
    gauge->AddProgress(300000000);
    EXPECT_EQ(gauge->Progress(), INT_MAX);
    EXPECT_EQ(CountPixels(gauge, Rect(1, 10, 101, 11), clRed), 100);
    gauge->SetMinValue(INT_MIN);
    gauge->SetProgress(-2000000000);
    gauge->AddProgress(-300000000);
    EXPECT_EQ(gauge->Progress(), INT_MIN);
}

TEST_F(Gauge, PieAndNeedleShowTheFraction)
{
    TGauge* gauge = MakeGauge(82, 82);
    gauge->SetKind(gkPie);
    gauge->SetProgress(50);
    // Half a pie: the right half, filled clockwise from twelve o'clock.
    EXPECT_EQ(Pixel(gauge, 60, 41), RGB(255, 0, 0));
    EXPECT_EQ(Pixel(gauge, 20, 41), RGB(255, 255, 255));
    gauge->SetProgress(75);
    EXPECT_EQ(Pixel(gauge, 41, 60), RGB(255, 0, 0));
    EXPECT_EQ(Pixel(gauge, 20, 30), RGB(255, 255, 255));

    gauge->SetKind(gkNeedle);
    gauge->SetProgress(50); // straight up from the bottom centre
    EXPECT_EQ(Pixel(gauge, 41, 60), RGB(255, 0, 0));
    EXPECT_EQ(Pixel(gauge, 20, 70), RGB(255, 255, 255));
}

TEST_F(Gauge, TextShowsThePercentageInTheFontColour)
{
    TGauge* gauge = MakeGauge(102, 22);
    gauge->SetKind(gkText);
    gauge->SetShowText(true);
    gauge->Font()->SetColor(clBlue);
    gauge->SetProgress(42);
    EXPECT_GT(CountPixels(gauge, Rect(1, 1, 101, 21), clBlue), 10);
    gauge->SetShowText(false);
    EXPECT_EQ(CountPixels(gauge, Rect(1, 1, 101, 21), clBlue), 0);
    gauge->SetShowText(true);
    gauge->SetEnabled(false);
    EXPECT_EQ(CountPixels(gauge, Rect(1, 1, 101, 21), clBlue), 0);
    EXPECT_GT(CountPixels(gauge, Rect(1, 1, 101, 21), clGrayText), 10);

    // A gauge shows its percentage unless told not to.
    auto* fresh = Place<TGauge>(10, 40, 102, 22);
    fresh->SetKind(gkText);
    fresh->Font()->SetColor(clBlue);
    fresh->SetProgress(42);
    EXPECT_GT(CountPixels(fresh, Rect(1, 1, 101, 21), clBlue), 10);
}

TEST_F(Gauge, AMinimumNotBelowTheMaximumIsRefusedAndNothingChanges)
{
    TGauge* gauge = MakeGauge(102, 22);
    gauge->SetProgress(60);
    EXPECT_THROW(gauge->SetMinValue(100), ERangeError);
    EXPECT_THROW(gauge->SetMaxValue(-1), ERangeError);
    EXPECT_EQ(gauge->MinValue(), 0);
    EXPECT_EQ(gauge->MaxValue(), 100);
    EXPECT_EQ(gauge->Progress(), 60);
    gauge->SetMaxValue(50);
    EXPECT_EQ(gauge->Progress(), 50);
}

TEST_F(Gauge, AChangeOfProgressRepaintsOnlyWhatChanged)
{
    TGauge* gauge = MakeGauge(102, 22);
    gauge->SetProgress(20);
    UpdateWindow(Form->Handle());

    gauge->SetProgress(40);
    RECT dirty;
    ASSERT_TRUE(GetUpdateRect(Form->Handle(), &dirty, FALSE));
    // Face columns 20 to 39 of a gauge whose face starts at 11 on the form.
    EXPECT_EQ(dirty.left, 11 + 20);
    EXPECT_EQ(dirty.right, 11 + 40);
    EXPECT_EQ(dirty.top, 11);
    EXPECT_EQ(dirty.bottom, 31);
    UpdateWindow(Form->Handle());
    EXPECT_EQ(CountPixels(gauge, Rect(1, 10, 101, 11), clRed), 40);

    gauge->SetProgress(40);
    EXPECT_FALSE(GetUpdateRect(Form->Handle(), &dirty, FALSE));
}
