// Times one update of a 400 x 150 performance graph with four series, shown
// on a form, from the new points to the pixels on screen:
//  - an update as the graph does it (shift the picture, draw the new strip,
//    scroll the window and repaint the strip);
//  - the same update followed by a repaint of the whole graph, which is what
//    an update costs when the window is not scrolled;
//  - a full redraw of the picture from its data (a change of scale).
// At 10 updates a second each update has 100 ms; the table shows the share
// of that budget each one takes. Each figure is the median of several batches
// of at least a quarter second.
#include "components/PerfGraph.h"
#include "bench/support/Timing.h"
#include "platform/Application.h"
#include "platform/Form.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

using namespace platform;
using bench::SecondsPerCall;
using namespace components;

namespace {

const double BudgetMs = 100; // 10 updates a second

void Row(const char* what, double seconds)
{
    const double ms = seconds * 1e3;
    std::printf("%-44s %9.3f ms %8.2f %%\n", what, ms, ms / BudgetMs * 100);
}

} // namespace

int main()
{
    TForm* form = New<TForm>(nullptr);
    form->SetBorderStyle(bsNone);
    form->SetBounds(20, 20, 420, 170);
    auto* graph = new TPerformanceGraph(form);
    graph->SetParent(form);
    graph->SetBounds(10, 10, 400, 150);
    for (TColor color : {clLime, clRed, clAqua, clYellow})
        graph->AddSeries(color);
    form->Show();
    Application->ProcessMessages();

    long tick = 0;
    auto feed = [&] {
        ++tick;
        for (int s = 0; s < graph->SeriesCount(); ++s)
            graph->AddPoint(s, 50 + 45 * std::sin(0.07 * double(tick) + s));
    };
    HWND window = graph->Handle();

    std::printf("Performance graph, 400 x 150, 4 series; budget 100 ms per update (10 updates/s)\n");
    std::printf("%-44s %12s %10s\n", "", "per update", "of budget");
    Row("update (shift, new strip, scroll, repaint)", SecondsPerCall([&] {
            feed();
            graph->Advance();
            UpdateWindow(window);
        }));
    Row("update, then repaint of the whole graph", SecondsPerCall([&] {
            feed();
            graph->Advance();
            graph->Invalidate();
            UpdateWindow(window);
        }));
    int scale = 100;
    Row("full redraw from the data (scale change)", SecondsPerCall([&] {
            scale = scale == 100 ? 101 : 100;
            graph->SetScale(scale);
            UpdateWindow(window);
        }));
    form->Free();
    return 0;
}
