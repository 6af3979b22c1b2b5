#include "FormFixture.h"

#include "components/PerfGraph.h"

#include <cmath>

using namespace platform;
using namespace components;

namespace {

class PerfGraph : public FormFixture {
protected:
    void SetUp() override
    {
        FormFixture::SetUp();
        Graph = Place<TPerformanceGraph>(10, 10, 100, 51);
        Graph->SetGridSize(10);
        Graph->AddSeries(clRed);
        Graph->AddSeries(clAqua);
    }
    // The column of the first vertical grid line from the left.
    int FirstGridColumn()
    {
        for (int x = 0; x < 100; ++x)
            if (CountPixels(Graph, Rect(x, 1, x + 1, 9), clGreen) == 8)
                return x;
        return -1;
    }

    TPerformanceGraph* Graph = nullptr;
};

} // namespace

TEST_F(PerfGraph, PointsScrollLeftByAStepWithEachUpdate)
{
    EXPECT_EQ(Graph->ValueY(0), 50);
    EXPECT_EQ(Graph->ValueY(100), 0);
    EXPECT_EQ(Graph->ValueY(50), 25);
    Graph->AddPoint(0, 50);
    Graph->AddPoint(1, 20);
    Graph->Advance();
    Graph->Advance(); // a level line from the first value to the second
    EXPECT_EQ(Pixel(Graph, 99, 25), RGB(255, 0, 0));
    EXPECT_EQ(Pixel(Graph, 97, 25), RGB(255, 0, 0));
    EXPECT_EQ(Pixel(Graph, 99, 40), RGB(0, 255, 255));

    Graph->AddPoint(0, 100); // series 1 keeps its value
    Graph->Advance();
    EXPECT_EQ(Pixel(Graph, 99, 0), RGB(255, 0, 0));
    EXPECT_EQ(Pixel(Graph, 95, 25), RGB(255, 0, 0));
    EXPECT_EQ(Pixel(Graph, 99, 40), RGB(0, 255, 255));
    EXPECT_EQ(Pixel(Graph, 99, 25), RGB(0, 0, 0)); // the old point moved on
    // The window scrolled its own pixels; the picture behind it moved the same way.
    Graph->Invalidate();
    EXPECT_EQ(Pixel(Graph, 95, 25), RGB(255, 0, 0));
    EXPECT_EQ(Pixel(Graph, 99, 0), RGB(255, 0, 0));
    EXPECT_EQ(Pixel(Graph, 99, 25), RGB(0, 0, 0));

    Graph->SetStep(5);
    Graph->Advance();
    EXPECT_EQ(Pixel(Graph, 94, 0), RGB(255, 0, 0));
    EXPECT_EQ(Pixel(Graph, 99, 0), RGB(255, 0, 0));
    EXPECT_EQ(Pixel(Graph, 89, 25), RGB(255, 0, 0)); // redrawn at the new step

    Graph->SetEnabled(false);
    EXPECT_EQ(Pixel(Graph, 99, 0), ColorToRGB(clGray));
    Graph->SetEnabled(true);
    Graph->Clear();
    EXPECT_EQ(CountPixels(Graph, Rect(0, 0, 100, 51), clRed), 0);
}

TEST_F(PerfGraph, TheGridScrollsWithTheDataAndAnUpdateRepaintsOnlyTheNewStrip)
{
    const int before = FirstGridColumn();
    ASSERT_GE(before, 2);
    Graph->Advance();
    RECT dirty;
    ASSERT_TRUE(GetUpdateRect(Graph->Handle(), &dirty, FALSE));
    EXPECT_EQ(dirty.left, 98);
    EXPECT_EQ(dirty.right, 100);
    EXPECT_EQ(dirty.top, 0);
    EXPECT_EQ(dirty.bottom, 51);
    EXPECT_EQ(FirstGridColumn(), before - 2);
    // Horizontal lines stay: the bottom row is one.
    EXPECT_EQ(CountPixels(Graph, Rect(0, 50, 100, 51), clGreen), 100);

    Graph->SetGridColor(clYellow);
    EXPECT_EQ(CountPixels(Graph, Rect(0, 50, 100, 51), clYellow), 100);
    Graph->SetColor(clNavy);
    EXPECT_EQ(Pixel(Graph, before + 1, 45), RGB(0, 0, 128));
}

TEST_F(PerfGraph, AutomaticScaleFollowsTheLargestValueAndBadValuesAreRefused)
{
    Graph->SetAutoScale(true);
    Graph->AddPoint(0, 340);
    Graph->Advance();
    EXPECT_EQ(Graph->Scale(), 500);
    Graph->AddPoint(0, 1500);
    Graph->Advance();
    EXPECT_EQ(Graph->Scale(), 2000);
    EXPECT_EQ(Pixel(Graph, 99, Graph->ValueY(1500)), RGB(255, 0, 0));
    EXPECT_EQ(Pixel(Graph, 97, Graph->ValueY(340)), RGB(255, 0, 0));
    // A peak exactly on a step of the scale fills the graph to its top:
    // half of it is drawn half way up (the graph is 51 pixels high).
    for (int peak : {1, 2, 5, 10, 20, 50, 100, 200, 500}) {
        Graph->Clear();
        Graph->AddPoint(0, peak);
        Graph->Advance();
        Graph->AddPoint(0, peak / 2.0);
        Graph->Advance();
        EXPECT_EQ(Graph->Scale(), peak);
        EXPECT_EQ(Pixel(Graph, 99, 25), RGB(255, 0, 0)) << peak;
    }

    EXPECT_THROW(Graph->SetStep(0), ERangeError);
    EXPECT_THROW(Graph->SetScale(0), ERangeError);
    EXPECT_THROW(Graph->SetGridSize(1), ERangeError);
    EXPECT_THROW(Graph->AddPoint(2, 1), ERangeError);
    EXPECT_THROW(Graph->SeriesColor(-1), ERangeError);
    EXPECT_EQ(Graph->Step(), 2);
    Graph->AddPoint(1, -5); // below the bottom: drawn on it
    Graph->Advance();
    EXPECT_EQ(Pixel(Graph, 99, 50), RGB(0, 255, 255));
}

// Values past any scale are drawn at the top edge; NaN counts as 0.
TEST_F(PerfGraph, HugeInfiniteAndUndefinedValuesStayOnTheGraph)
{
    EXPECT_EQ(Graph->ValueY(1e300), 0);
    EXPECT_EQ(Graph->ValueY(HUGE_VAL), 0);
    EXPECT_EQ(Graph->ValueY(3e9), 0);
    Graph->AddPoint(0, HUGE_VAL);
    Graph->AddPoint(1, std::nan(""));
    Graph->Advance();
    Graph->Advance();
    EXPECT_EQ(Pixel(Graph, 99, 0), RGB(255, 0, 0));
    EXPECT_EQ(Pixel(Graph, 99, 50), RGB(0, 255, 255));
    Graph->SetAutoScale(true);
    EXPECT_EQ(Graph->Scale(), 1000000000);
    EXPECT_EQ(Pixel(Graph, 99, 0), RGB(255, 0, 0));
}
