// What the System page shows: the processor's and the memory's load.
#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>

namespace tessel {

// The share of physical memory in use, 0..100.
int MemoryLoad();

// The processor's load between two samples: the first Sample gives 0, each
// later one the busy share of the time since the one before, 0..100. One
// taken within 100 ms of the one before gives that one's reading again: so
// short a span measures the system's clock steps, not the load.
class TProcessorMeter {
public:
    int Sample();

private:
    uint64_t FIdle = 0;
    uint64_t FTotal = 0;
    uint64_t FTaken = 0; // milliseconds since system start
    int FLoad = 0;
};

// The loads of the last hour, one sample a second, oldest first: what the
// graph shows, kept while the page is hidden.
struct TLoadSample {
    uint8_t Processor = 0, Memory = 0; // 0..100
};

class TLoadHistory {
public:
    static constexpr size_t Capacity = 3600;

    // Samples the processor and the memory now and keeps the sample; the
    // oldest goes once Capacity are kept.
    const TLoadSample& Sample();
    const std::deque<TLoadSample>& Samples() const { return FSamples; }

private:
    TProcessorMeter FMeter;
    std::deque<TLoadSample> FSamples;
};

// The tip rule: a tip once memory load stayed above 90 % at two polls in a
// row. Streak is the page's memory between polls (the count of such polls);
// returns whether the tip stands.
bool MemoryTipDue(int Load, int32_t& Streak);

} // namespace tessel
