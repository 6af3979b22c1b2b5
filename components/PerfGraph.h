// A performance graph: a strip chart of one or more data series that scrolls
// left by Step pixels each time Advance is called, over a grid that scrolls
// with the data. The picture is kept in a bitmap: an update shifts it and
// draws only the new strip, and the window scrolls its pixels and repaints
// only that strip.
//
// Series are made by the program (AddSeries, with their colours); the
// graph's look is published.
#pragma once

#include "platform/Bitmap.h"
#include "platform/Control.h"

#include <deque>
#include <vector>

namespace components {

class TPerformanceGraph : public platform::TCustomControl {
    PLATFORM_CLASS(TPerformanceGraph, platform::TCustomControl)
public:
    explicit TPerformanceGraph(platform::TComponent* AOwner);
    ~TPerformanceGraph() override;

    // Returns the new series' index.
    int AddSeries(platform::TColor Color);
    int SeriesCount() const { return static_cast<int>(FSeriesColors.size()); }
    platform::TColor SeriesColor(int Series) const;
    void SetSeriesColor(int Series, platform::TColor Value);
    // The series' value at the next Advance (values below 0 count as 0); a
    // series given no new value keeps its last one. ERangeError for a series
    // that does not exist.
    void AddPoint(int Series, double Value);
    // Scrolls by Step and draws every series from its last value to its new one.
    void Advance();
    // Forgets the data; the series stay.
    void Clear();
    // Replaces the data with Samples, oldest first, each with a value per
    // series (missing ones count as 0), and draws the last that fit in view
    // at once: a graph shown again after a while catches up in one step.
    // The last sample's values are the next Advance's too.
    void SetHistory(const std::vector<std::vector<double>>& Samples);
    // How many samples the graph shows at its present width.
    int ViewSamples() const;

    // Pixels per update, 1 or more (ERangeError otherwise).
    int Step() const { return FStep; }
    void SetStep(int Value);
    // Distance of the grid lines in pixels, 2 or more (ERangeError otherwise).
    int GridSize() const { return FGridSize; }
    void SetGridSize(int Value);
    platform::TColor GridColor() const { return FGridColor; }
    void SetGridColor(platform::TColor Value);
    // The value shown at the top edge, above 0 (ERangeError otherwise). With
    // AutoScale it follows the largest value in view, rounded up to 1, 2 or 5
    // times a power of ten (and stays while no value in view is above 0).
    int Scale() const { return FScale; }
    void SetScale(int Value);
    bool AutoScale() const { return FAutoScale; }
    void SetAutoScale(bool Value);

    // The background.
    void SetColor(platform::TColor Value) override;

    // The picture as shown (client size).
    platform::TBitmap* Picture() const { return FPicture; }
    // The row a value is drawn at.
    int ValueY(double Value) const;

protected:
    void Paint() override;
    // A disabled graph (or one on a disabled parent) draws its series grey.
    void EnabledChanged() override;
    void Resize() override;

private:
    void CheckSeries(int Series) const;
    // Redraws the whole picture from the data in view.
    void Redraw();
    void DrawGrid(int Left, int Right);
    void DrawSegment(int Series, double From, double To, int X);
    bool UpdateAutoScale();

    std::vector<platform::TColor> FSeriesColors;
    std::vector<double> FNext;                 // each series' value at the next Advance
    std::deque<std::vector<double>> FHistory;  // the samples in view, oldest first
    long long FScrolled = 0;                   // pixels scrolled since the start, for the grid's phase
    platform::TBitmap* FPicture;
    int FStep = 2;
    int FGridSize = 12;
    platform::TColor FGridColor = platform::clGreen;
    int FScale = 100;
    bool FAutoScale = false;
};

} // namespace components
