#pragma once
// Timing shared by the benchmarks: a machine shared with other work gives
// noisy single runs, so each figure is the median of several batches.

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

namespace bench {

// Seconds per call of op: the median of seven batches of at least a quarter second.
template <class Op>
double SecondsPerCall(Op op)
{
    using Clock = std::chrono::steady_clock;
    std::vector<double> batches;
    for (int batch = 0; batch < 7; ++batch) {
        long calls = 0;
        const Clock::time_point start = Clock::now();
        double elapsed = 0;
        do {
            op();
            ++calls;
            elapsed = std::chrono::duration<double>(Clock::now() - start).count();
        } while (elapsed < 0.25);
        batches.push_back(elapsed / static_cast<double>(calls));
    }
    std::sort(batches.begin(), batches.end());
    return batches[batches.size() / 2];
}

// One line of the summary that scripts/bench.sh gathers at its end.
inline void Goal(const char* what, double ratio, double goal)
{
    std::printf("goal %s: %.2fx (goal %gx)\n", what, ratio, goal);
}

} // namespace bench
