#include "FormFixture.h"

#include "components/ColorGrid.h"

using namespace platform;
using namespace components;

namespace {

class ColorGrid : public FormFixture {
protected:
    void SetUp() override
    {
        FormFixture::SetUp();
        Grid = Place<TColorGrid>(10, 10, 160, 160);
        Grid->OnChange = [this](TObject*) { ++Changes; };
    }
    TPoint Centre(int Index)
    {
        const TRect r = Grid->CellRect(Index);
        return Point((r.left + r.right) / 2, (r.top + r.bottom) / 2);
    }
    // Marker pixels in a cell: black on light colours, white on dark ones.
    int Marker(int Index, TColor Ink) { return CountPixels(Grid, Grid->CellRect(Index), Ink); }

    TColorGrid* Grid = nullptr;
    int Changes = 0;
};

} // namespace

TEST_F(ColorGrid, LeftAndRightButtonsChooseForegroundAndBackgroundShownByMarkers)
{
    EXPECT_EQ(Grid->ForegroundIndex(), 0);
    EXPECT_EQ(Grid->BackgroundIndex(), 15);
    EXPECT_GT(Marker(0, clWhite), 0);
    EXPECT_GT(Marker(15, clBlack), 0);

    Click(Grid, Centre(5).x, Centre(5).y);
    EXPECT_EQ(Grid->ForegroundIndex(), 5);
    EXPECT_EQ(Grid->ForegroundColor(), clPurple);
    EXPECT_EQ(Changes, 1);
    Click(Grid, Centre(10).x, Centre(10).y, true);
    EXPECT_EQ(Grid->BackgroundIndex(), 10);
    EXPECT_EQ(Grid->BackgroundColor(), clLime);
    EXPECT_EQ(Changes, 2);

    EXPECT_EQ(Marker(0, clWhite), 0);
    EXPECT_EQ(Marker(15, clBlack), 0);
    EXPECT_GT(Marker(10, clBlack), 0);
    EXPECT_EQ(Marker(6, clWhite), 0);
    EXPECT_GT(Marker(6, clTeal), 200);

    Grid->SetEnabled(false);
    EXPECT_EQ(Marker(10, clBlack), 0);
    EXPECT_GT(Marker(10, clGrayText), 0);
    Grid->SetEnabled(true);

    // Clicking the selected colour again changes nothing.
    Click(Grid, Centre(10).x, Centre(10).y, true);
    EXPECT_EQ(Changes, 2);
}

TEST_F(ColorGrid, ADisabledSelectionIsHiddenAndOnlyAClickThatEnablesItChangesIt)
{
    Grid->SetForegroundEnabled(false);
    EXPECT_EQ(Marker(0, clWhite), 0);
    Click(Grid, Centre(3).x, Centre(3).y);
    EXPECT_EQ(Grid->ForegroundIndex(), 0);
    EXPECT_FALSE(Grid->ForegroundEnabled());

    Grid->SetClickEnablesColor(true);
    Click(Grid, Centre(3).x, Centre(3).y);
    EXPECT_TRUE(Grid->ForegroundEnabled());
    EXPECT_EQ(Grid->ForegroundIndex(), 3);
    EXPECT_GT(Marker(3, clWhite), 0);
}

TEST_F(ColorGrid, KeysMoveTheSelectionsThroughTheArrangement)
{
    Grid->SetFocus();
    Key(Grid, VK_RIGHT);
    EXPECT_EQ(Grid->ForegroundIndex(), 1);
    Key(Grid, VK_DOWN);
    EXPECT_EQ(Grid->ForegroundIndex(), 5);
    Key(Grid, VK_LEFT);
    Key(Grid, VK_LEFT); // stays in the first column
    EXPECT_EQ(Grid->ForegroundIndex(), 4);
    Key(Grid, VK_END);
    EXPECT_EQ(Grid->ForegroundIndex(), 15);
    Key(Grid, VK_DOWN);
    EXPECT_EQ(Grid->ForegroundIndex(), 15);

    Grid->SetGridOrdering(go16x1);
    EXPECT_EQ(Grid->Columns(), 16);
    EXPECT_EQ(Grid->IndexAt(159, 80), 15);
    Grid->SetForegroundIndex(2);
    Key(Grid, VK_RIGHT);
    EXPECT_EQ(Grid->ForegroundIndex(), 3);
    Grid->SetGridOrdering(go2x8);
    EXPECT_EQ(Grid->IndexAt(159, 159), 15);
    EXPECT_EQ(Grid->IndexAt(100, 0), 1);

    EXPECT_THROW(Grid->SetForegroundIndex(16), ERangeError);
    EXPECT_THROW(Grid->SetBackgroundIndex(-1), ERangeError);
    EXPECT_EQ(Grid->BackgroundIndex(), 15);
}

// Down on the last row stays there, from every column and in every
// arrangement: there is no colour past the last.
TEST_F(ColorGrid, DownOnTheLastRowStaysOnIt)
{
    Grid->SetFocus();
    for (TGridOrdering ordering : {go4x4, go2x8, go8x2, go16x1, go1x16}) {
        Grid->SetGridOrdering(ordering);
        const int columns = Grid->Columns();
        for (int index = 16 - columns; index < 16; ++index) {
            Grid->SetForegroundIndex(index);
            Key(Grid, VK_DOWN);
            EXPECT_EQ(Grid->ForegroundIndex(), index) << columns << " columns";
        }
    }
}
