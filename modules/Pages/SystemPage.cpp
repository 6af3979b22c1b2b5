// Page\System.dll: processor and memory load as a running graph on a 0 to
// 100 % scale over the last minutes, and as two gauges with their figures.
// The loads are sampled once a second for as long as the view exists, also
// while it is hidden or the main window is in the tray; the graph catches up
// with what it missed when it is shown again. Its tip warns when memory load
// stayed above 90 % at two polls in a row.
#include "modules/Pages/SystemData.h"
#include "modules/Suite/PageModule.h"
#include "modules/Suite/SuiteText.h"

#include "components/Gauge.h"
#include "components/PerfGraph.h"
#include "platform/ClassBuilder.h"
#include "platform/Timer.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

using namespace platform;
using namespace components;

namespace tessel {

namespace {

// Bright on the graph's black, apart from its dim grid, and strong enough
// as the gauges' fill on white.
const TColor ProcessorColour = RGB(60, 170, 255);
const TColor MemoryColour = RGB(255, 165, 30);
const TColor GridColour = RGB(0, 64, 40);

constexpr int Margin = 16;
// The scale's figures stand left of the graph, the time under it.
constexpr int ScaleWidth = 44, TimeHeight = 20;
// The legend and the gauges: a column at the right.
constexpr int ColumnWidth = 180, Swatch = 12;

} // namespace

// The frame of the graph: the load scale left of it and the time scale under
// it ("now" at the right end, a mark a minute back from there). The graph
// stands inside, at (ScaleWidth, 0) to the frame's right and TimeHeight above
// its bottom.
class TLoadAxes : public TGraphicControl {
    PLATFORM_CLASS(TLoadAxes, TGraphicControl)
public:
    explicit TLoadAxes(TComponent* AOwner) : TGraphicControl(AOwner) {}

    // The graph's pixels per second.
    int Step = 1;

protected:
    void Paint() override
    {
        TCanvas* canvas = Canvas();
        canvas->Brush()->SetStyle(bsClear);
        canvas->Font()->SetColor(clWindowText);
        const int graphHeight = Height() - TimeHeight, right = Width() - 1;
        for (int load = 0; load <= 100; load += 25) {
            const std::string text = std::to_string(load) + " %";
            const SIZE size = canvas->TextExtent(text);
            const int width = static_cast<int>(size.cx), height = static_cast<int>(size.cy);
            // The graph draws a value at this row.
            const int y = static_cast<int>(std::lround((graphHeight - 1) - load * (graphHeight - 1) / 100.0));
            canvas->TextOut(ScaleWidth - 6 - width, std::clamp(y - height / 2, 0, std::max(graphHeight - height, 0)),
                            text);
        }
        canvas->Pen()->SetColor(clGrayText);
        for (int minutes = 0;; ++minutes) {
            const int x = right - minutes * 60 * Step;
            if (x < ScaleWidth)
                break;
            canvas->MoveTo(x, graphHeight);
            canvas->LineTo(x, graphHeight + 4);
            const std::string text = minutes == 0 ? Tr("now") : Tr("%1 min", {std::to_string(-minutes)});
            const int width = static_cast<int>(canvas->TextExtent(text).cx);
            canvas->TextOut(std::max(ScaleWidth, std::min(x - width / 2, right - width)), graphHeight + 4, text);
        }
        canvas->Brush()->SetStyle(bsSolid);
    }
};

const TClassInfo& TLoadAxes::StaticClassInfo()
{
    static const TClassInfo& info = TClassBuilder<TLoadAxes, TGraphicControl>("TLoadAxes").Build();
    return info;
}

class TSystemView : public TPageView {
    PLATFORM_CLASS(TSystemView, TPageView)
public:
    explicit TSystemView(TComponent* AOwner) : TPageView(AOwner)
    {
        const int column = DesignWidth - Margin - ColumnWidth;
        FAxes = New<TLoadAxes>(this);
        FAxes->SetParent(this);
        FAxes->SetBounds(Margin, Margin, column - 2 * Margin, DesignHeight - 2 * Margin);
        FAxes->SetAnchors({akLeft, akTop, akRight, akBottom});

        FGraph = New<TPerformanceGraph>(this);
        FGraph->SetParent(this);
        FGraph->SetBounds(FAxes->Left() + ScaleWidth, FAxes->Top(), FAxes->Width() - ScaleWidth,
                          FAxes->Height() - TimeHeight);
        FGraph->SetAnchors({akLeft, akTop, akRight, akBottom});
        FGraph->SetScale(100);
        FGraph->SetGridColor(GridColour);
        FGraph->AddSeries(ProcessorColour);
        FGraph->AddSeries(MemoryColour);
        FAxes->Step = FGraph->Step();
        // A wider graph shows more of the past.
        FGraph->OnResize = [this](TObject*) { FBehind = true; };

        FProcessorText = AddLegend(column, Margin, ProcessorColour);
        FProcessor = MakeGauge(column, Margin + 24, ProcessorColour);
        FMemoryText = AddLegend(column, Margin + 80, MemoryColour);
        FMemory = MakeGauge(column, Margin + 104, MemoryColour);

        FTimer = New<TTimer>(this);
        FTimer->SetInterval(1000);
        FTimer->SetOnTimer([this](TObject*) { Sample(); });
        Sample();
        ShowFigures(FHistory.Samples().back());
    }

protected:
    void WndProc(TMessage& Message) override
    {
        if (Message.Msg == WM_SHOWWINDOW && Message.WParam && FBehind)
            CatchUp();
        TPageView::WndProc(Message);
    }

private:
    TLabel* AddLegend(int Left, int Top, TColor Colour)
    {
        auto* swatch = New<TPanel>(this);
        swatch->SetParent(this);
        swatch->SetBevelOuter(bvNone);
        swatch->SetColor(Colour);
        swatch->SetBounds(Left, Top + 2, Swatch, Swatch);
        swatch->SetAnchors({akTop, akRight});
        TLabel* label = AddLabel(Left + Swatch + 6, Top, "");
        label->SetAnchors({akTop, akRight});
        return label;
    }

    TGauge* MakeGauge(int Left, int Top, TColor Colour)
    {
        auto* gauge = New<TGauge>(this);
        gauge->SetParent(this);
        gauge->SetBounds(Left, Top, ColumnWidth, 24);
        gauge->SetAnchors({akTop, akRight});
        gauge->SetKind(gkHorizontalBar);
        gauge->SetForeColor(Colour);
        // The figure stands in the label above it, once.
        gauge->SetShowText(false);
        return gauge;
    }

    // One sample a second into the history; the graph follows while it is
    // on the screen and catches up when it is back.
    void Sample()
    {
        const TLoadSample& sample = FHistory.Sample();
        if (!HandleAllocated() || !IsWindowVisible(Handle())) {
            FBehind = true;
            return;
        }
        if (FBehind) {
            CatchUp();
            return;
        }
        FGraph->AddPoint(0, sample.Processor);
        FGraph->AddPoint(1, sample.Memory);
        FGraph->Advance();
        ShowFigures(sample);
    }

    void ShowFigures(const TLoadSample& Loads)
    {
        FProcessor->SetProgress(Loads.Processor);
        FMemory->SetProgress(Loads.Memory);
        FProcessorText->SetText(Tr("Processor load: %1 %", {std::to_string(Loads.Processor)}));
        FMemoryText->SetText(Tr("Memory load: %1 %", {std::to_string(Loads.Memory)}));
    }

    void CatchUp()
    {
        FBehind = false;
        const std::deque<TLoadSample>& samples = FHistory.Samples();
        const size_t shown = std::min(samples.size(), static_cast<size_t>(FGraph->ViewSamples()));
        std::vector<std::vector<double>> values;
        for (auto it = samples.end() - static_cast<std::ptrdiff_t>(shown); it != samples.end(); ++it)
            values.push_back({double(it->Processor), double(it->Memory)});
        FGraph->SetHistory(values);
        ShowFigures(samples.back());
    }

    TLoadAxes* FAxes;
    TPerformanceGraph* FGraph;
    TLabel* FProcessorText;
    TGauge* FProcessor;
    TLabel* FMemoryText;
    TGauge* FMemory;
    TTimer* FTimer;
    TLoadHistory FHistory;
    bool FBehind = true;
};

const TClassInfo& TSystemView::StaticClassInfo()
{
    static const TClassInfo& info = TClassBuilder<TSystemView, TPageView>("TSystemView").Build();
    return info;
}

extern const TPageDefinition SystemPage{
    "System", "System",
    [](TPageTip& Tip) {
        const int load = MemoryLoad();
        if (!MemoryTipDue(load, Tip.PollState))
            return;
        std::snprintf(Tip.Tip, sizeof Tip.Tip, "%s",
                      Tr("Memory load has stayed above 90 % (now %1 %)", {std::to_string(load)}).c_str());
        std::snprintf(Tip.Badge, sizeof Tip.Badge, "%d%%", load);
    },
    [] { return static_cast<TPageView*>(New<TSystemView>(nullptr)); }};

} // namespace tessel
