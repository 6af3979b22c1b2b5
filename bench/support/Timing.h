#pragma once
// Timing shared by the benchmarks: a machine shared with other work gives
// noisy single runs, so each figure is the best of several batches.

#include <algorithm>
#include <chrono>

namespace bench {

// Seconds per call of op: the best of five batches of at least a quarter second.
template <class Op>
double SecondsPerCall(Op op)
{
    using Clock = std::chrono::steady_clock;
    double best = 1e30;
    for (int batch = 0; batch < 5; ++batch) {
        long calls = 0;
        const Clock::time_point start = Clock::now();
        double elapsed = 0;
        do {
            op();
            ++calls;
            elapsed = std::chrono::duration<double>(Clock::now() - start).count();
        } while (elapsed < 0.25);
        best = std::min(best, elapsed / static_cast<double>(calls));
    }
    return best;
}

} // namespace bench
