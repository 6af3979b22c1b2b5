#include "components/PerfGraph.h"

#include <algorithm>
#include <cmath>

using namespace platform;

namespace components {

const TClassInfo& TPerformanceGraph::StaticClassInfo()
{
    static const TClassInfo& info = TClassBuilder<TPerformanceGraph, TCustomControl>("TPerformanceGraph")
        .Publish({"Anchors", "Color", "Enabled", "ParentShowHint", "ShowHint", "Visible", "OnClick", "OnDblClick",
                  "OnMouseDown", "OnMouseMove", "OnMouseUp"})
        .Int("GridColor", &TPerformanceGraph::GridColor, &TPerformanceGraph::SetGridColor, clGreen, &ColorIdents())
        .Int("GridSize", &TPerformanceGraph::GridSize, &TPerformanceGraph::SetGridSize, 12)
        .Int("Step", &TPerformanceGraph::Step, &TPerformanceGraph::SetStep, 2)
        .Int("Scale", &TPerformanceGraph::Scale, &TPerformanceGraph::SetScale, 100)
        .Bool("AutoScale", &TPerformanceGraph::AutoScale, &TPerformanceGraph::SetAutoScale, false)
        .Build();
    return info;
}

TPerformanceGraph::TPerformanceGraph(TComponent* AOwner) : TCustomControl(AOwner), FPicture(new TBitmap)
{
    FControlStyle.Include(csOpaque);
    TCustomControl::SetColor(clBlack);
    SetBounds(Left(), Top(), 200, 100);
    Redraw();
}

TPerformanceGraph::~TPerformanceGraph()
{
    delete FPicture;
}

int TPerformanceGraph::AddSeries(TColor Color)
{
    FSeriesColors.push_back(Color);
    FNext.push_back(0);
    return SeriesCount() - 1;
}

void TPerformanceGraph::CheckSeries(int Series) const
{
    if (Series < 0 || Series >= SeriesCount())
        throw ERangeError(Format("Series index out of bounds (%d)", Series));
}

TColor TPerformanceGraph::SeriesColor(int Series) const
{
    CheckSeries(Series);
    return FSeriesColors[static_cast<size_t>(Series)];
}

void TPerformanceGraph::SetSeriesColor(int Series, TColor Value)
{
    CheckSeries(Series);
    FSeriesColors[static_cast<size_t>(Series)] = Value;
    Redraw();
}

namespace {

double ShownValue(double Value)
{
    return std::isnan(Value) ? 0 : std::max(0.0, Value);
}

} // namespace

void TPerformanceGraph::AddPoint(int Series, double Value)
{
    CheckSeries(Series);
    FNext[static_cast<size_t>(Series)] = ShownValue(Value);
}

void TPerformanceGraph::Clear()
{
    FHistory.clear();
    std::fill(FNext.begin(), FNext.end(), 0.0);
    Redraw();
}

void TPerformanceGraph::SetHistory(const std::vector<std::vector<double>>& Samples)
{
    FHistory.clear();
    const size_t kept = std::min(Samples.size(), static_cast<size_t>(ViewSamples()));
    for (size_t i = Samples.size() - kept; i < Samples.size(); ++i) {
        std::vector<double> sample(FSeriesColors.size(), 0.0);
        for (size_t s = 0; s < sample.size() && s < Samples[i].size(); ++s)
            sample[s] = ShownValue(Samples[i][s]);
        FHistory.push_back(sample);
    }
    FNext = FHistory.empty() ? std::vector<double>(FSeriesColors.size(), 0.0) : FHistory.back();
    UpdateAutoScale();
    Redraw();
}

int TPerformanceGraph::ViewSamples() const
{
    return FPicture->Width() / FStep + 2;
}

void TPerformanceGraph::Advance()
{
    FHistory.push_back(FNext);
    while (static_cast<int>(FHistory.size()) > ViewSamples())
        FHistory.pop_front();
    FScrolled += FStep;
    if (UpdateAutoScale()) {
        Redraw();
        return;
    }
    const int w = FPicture->Width(), h = FPicture->Height();
    if (w <= 0 || h <= 0)
        return;
    TCanvas* canvas = FPicture->Canvas();
    const int step = std::min(FStep, w);
    canvas->CopyRect(Rect(0, 0, w - step, h), canvas, Rect(step, 0, w, h));
    DrawGrid(w - step, w);
    if (FHistory.size() >= 2) {
        const std::vector<double>& before = FHistory[FHistory.size() - 2];
        for (int s = 0; s < SeriesCount(); ++s)
            DrawSegment(s, s < static_cast<int>(before.size()) ? before[static_cast<size_t>(s)] : 0,
                        FHistory.back()[static_cast<size_t>(s)], w - 1);
    }
    if (HandleAllocated())
        ScrollWindowEx(Handle(), -step, 0, nullptr, nullptr, nullptr, nullptr, SW_INVALIDATE);
}

// Grid lines in columns Left .. Right - 1: vertical ones keep their place in
// the data as it scrolls, horizontal ones stand every GridSize rows from the bottom.
void TPerformanceGraph::DrawGrid(int Left, int Right)
{
    TCanvas* canvas = FPicture->Canvas();
    const int h = FPicture->Height();
    canvas->Brush()->SetColor(Color());
    canvas->FillRect(Rect(Left, 0, Right, h));
    canvas->Pen()->SetColor(FGridColor);
    canvas->Pen()->SetWidth(1);
    for (int y = h - 1; y >= 0; y -= FGridSize) {
        canvas->MoveTo(Left, y);
        canvas->LineTo(Right, y);
    }
    const int w = FPicture->Width();
    for (int x = Left; x < Right; ++x)
        if ((FScrolled + x - (w - 1)) % FGridSize == 0) {
            canvas->MoveTo(x, 0);
            canvas->LineTo(x, h);
        }
}

int TPerformanceGraph::ValueY(double Value) const
{
    const int h = FPicture->Height();
    const long y = std::lround((h - 1) - Value * (h - 1) / FScale);
    return static_cast<int>(std::clamp<long>(y, 0, h - 1));
}

// A line from the series' previous value, Step pixels to the left, to its
// new value at column X.
void TPerformanceGraph::DrawSegment(int Series, double From, double To, int X)
{
    TCanvas* canvas = FPicture->Canvas();
    const TColor color = EffectivelyEnabled() ? FSeriesColors[static_cast<size_t>(Series)] : clGray;
    canvas->Pen()->SetColor(color);
    canvas->MoveTo(X - FStep, ValueY(From));
    canvas->LineTo(X, ValueY(To));
    canvas->SetPixel(X, ValueY(To), color);
}

void TPerformanceGraph::Redraw()
{
    const TRect client = ClientRect();
    if (FPicture->Width() != client.right || FPicture->Height() != client.bottom)
        FPicture->SetSize(client.right, client.bottom);
    if (FPicture->Empty())
        return;
    DrawGrid(0, client.right);
    const int n = static_cast<int>(FHistory.size());
    for (int i = 1; i < n; ++i)
        for (int s = 0; s < SeriesCount(); ++s) {
            const auto& before = FHistory[static_cast<size_t>(i - 1)];
            DrawSegment(s, s < static_cast<int>(before.size()) ? before[static_cast<size_t>(s)] : 0,
                        s < static_cast<int>(FHistory[static_cast<size_t>(i)].size())
                            ? FHistory[static_cast<size_t>(i)][static_cast<size_t>(s)]
                            : 0,
                        client.right - 1 - (n - 1 - i) * FStep);
        }
    Invalidate();
}

// True when the scale changed.
bool TPerformanceGraph::UpdateAutoScale()
{
    if (!FAutoScale)
        return false;
    double top = 0;
    for (const auto& sample : FHistory)
        for (double v : sample)
            top = std::max(top, v);
    // Without values above 0 there is nothing to follow: the scale stays.
    if (top <= 0)
        return false;
    double scale = 1;
    while (scale < top && scale < 1e9) {
        if (scale * 2 >= top) { scale *= 2; break; }
        if (scale * 5 >= top) { scale *= 5; break; }
        scale *= 10;
    }
    const int value = static_cast<int>(scale);
    if (value == FScale)
        return false;
    FScale = value;
    return true;
}

void TPerformanceGraph::SetStep(int Value)
{
    if (Value < 1)
        throw ERangeError(Format("Graph step must be 1 or more (%d)", Value));
    if (Value == FStep)
        return;
    FStep = Value;
    Redraw();
}

void TPerformanceGraph::SetGridSize(int Value)
{
    if (Value < 2)
        throw ERangeError(Format("Grid size must be 2 or more (%d)", Value));
    if (Value == FGridSize)
        return;
    FGridSize = Value;
    Redraw();
}

void TPerformanceGraph::SetGridColor(TColor Value)
{
    if (Value == FGridColor)
        return;
    FGridColor = Value;
    Redraw();
}

void TPerformanceGraph::SetScale(int Value)
{
    if (Value <= 0)
        throw ERangeError(Format("Graph scale must be above 0 (%d)", Value));
    if (Value == FScale)
        return;
    FScale = Value;
    Redraw();
}

void TPerformanceGraph::SetAutoScale(bool Value)
{
    if (Value == FAutoScale)
        return;
    FAutoScale = Value;
    if (UpdateAutoScale())
        Redraw();
}

void TPerformanceGraph::SetColor(TColor Value)
{
    TCustomControl::SetColor(Value);
    Redraw();
}

void TPerformanceGraph::EnabledChanged()
{
    TCustomControl::EnabledChanged();
    Redraw();
}

void TPerformanceGraph::Resize()
{
    Redraw();
    TCustomControl::Resize();
}

void TPerformanceGraph::Paint()
{
    const TRect client = ClientRect();
    Canvas()->CopyRect(client, FPicture->Canvas(), client);
}

} // namespace components
