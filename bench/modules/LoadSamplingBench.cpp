// Times what the System page spends each second while it is hidden or the
// main window is in the tray: one sample of the processor and memory load
// kept in its history, against the floor of any once-a-second work, one
// timer message posted to a window and dispatched, measured in the same run.
// Samples are taken 110 ms apart, as the meter needs, and each figure is the
// median of 25. A minute is 60 samples; the budget is a few milliseconds of
// processor time a minute.
#include "modules/Pages/SystemData.h"
#include "platform/Win32.h"

#include <algorithm>
#include <cstdio>
#include <vector>

using namespace tessel;

namespace {

double Now()
{
    LARGE_INTEGER counter, frequency;
    QueryPerformanceCounter(&counter);
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(counter.QuadPart) / static_cast<double>(frequency.QuadPart);
}

template <class Op>
double MedianSeconds(Op op, bool Spaced)
{
    std::vector<double> times;
    for (int i = 0; i < 25; ++i) {
        if (Spaced)
            Sleep(110);
        const double start = Now();
        op();
        times.push_back(Now() - start);
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

} // namespace

int main()
{
    HWND window = CreateWindowA("STATIC", "", 0, 0, 0, 0, 0, nullptr, nullptr, nullptr, nullptr);
    const double timer = MedianSeconds(
        [&] {
            PostMessageA(window, WM_TIMER, 1, 0);
            MSG message;
            while (PeekMessageA(&message, window, 0, 0, PM_REMOVE))
                DispatchMessageA(&message);
        },
        false);
    TLoadHistory history;
    history.Sample();
    const double sample = MedianSeconds([&] { history.Sample(); }, true);
    DestroyWindow(window);

    std::printf("System page, sampling while hidden (median of 25)\n");
    std::printf("%-48s %10.1f us\n", "one timer message dispatched (the floor)", timer * 1e6);
    std::printf("%-48s %10.1f us  (%.1f x the floor)\n", "one sample kept in the history", sample * 1e6,
                sample / timer);
    std::printf("%-48s %10.2f ms  (budget: a few ms)\n", "a minute: 60 samples and their timer messages",
                60 * (sample + timer) * 1e3);
    return 0;
}
