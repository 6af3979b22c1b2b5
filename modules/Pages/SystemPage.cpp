// Page\System.dll: processor and memory load as a running graph and two
// gauges, sampled once a second while the page is shown. Its tip warns when
// memory load stayed above 90 % at two polls in a row.
#include "modules/Pages/SystemData.h"
#include "modules/Suite/PageModule.h"
#include "modules/Suite/SuiteText.h"

#include "components/Gauge.h"
#include "components/PerfGraph.h"
#include "platform/ClassBuilder.h"
#include "platform/Timer.h"

#include <cstdio>

using namespace platform;
using namespace components;

namespace tessel {

namespace {

const TColor ProcessorColour = RGB(46, 110, 190);
const TColor MemoryColour = RGB(40, 160, 90);

} // namespace

class TSystemView : public TPageView {
    PLATFORM_CLASS(TSystemView, TPageView)
public:
    explicit TSystemView(TComponent* AOwner) : TPageView(AOwner)
    {
        FGraph = New<TPerformanceGraph>(this);
        FGraph->SetParent(this);
        FGraph->SetBounds(16, 16, 400, 180);
        FGraph->SetScale(100);
        FGraph->AddSeries(ProcessorColour);
        FGraph->AddSeries(MemoryColour);

        FProcessorText = AddLabel(440, 16, "");
        FProcessorText->Font()->SetColor(ProcessorColour);
        FProcessor = MakeGauge(440, 36, ProcessorColour);
        FMemoryText = AddLabel(440, 110, "");
        FMemoryText->Font()->SetColor(MemoryColour);
        FMemory = MakeGauge(440, 130, MemoryColour);

        FMeter.Sample();
        FTimer = New<TTimer>(this);
        FTimer->SetInterval(1000);
        FTimer->SetOnTimer([this](TObject*) {
            if (HandleAllocated() && IsWindowVisible(Handle()))
                Sample();
        });
        Sample();
    }

private:
    TGauge* MakeGauge(int Left, int Top, TColor Colour)
    {
        auto* gauge = New<TGauge>(this);
        gauge->SetParent(this);
        gauge->SetBounds(Left, Top, 160, 60);
        gauge->SetKind(gkHorizontalBar);
        gauge->SetForeColor(Colour);
        return gauge;
    }

    void Sample()
    {
        const int processor = FMeter.Sample();
        const int memory = MemoryLoad();
        FGraph->AddPoint(0, processor);
        FGraph->AddPoint(1, memory);
        FGraph->Advance();
        FProcessor->SetProgress(processor);
        FMemory->SetProgress(memory);
        FProcessorText->SetText(Tr("Processor load: %1 %", {std::to_string(processor)}));
        FMemoryText->SetText(Tr("Memory load: %1 %", {std::to_string(memory)}));
    }

    TPerformanceGraph* FGraph;
    TLabel* FProcessorText;
    TGauge* FProcessor;
    TLabel* FMemoryText;
    TGauge* FMemory;
    TTimer* FTimer;
    TProcessorMeter FMeter;
};

const TClassInfo& TSystemView::StaticClassInfo()
{
    static const TClassInfo& info = TClassBuilder<TSystemView, TPageView>("TSystemView").Build();
    return info;
}

const TPageDefinition ThisPage{
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
