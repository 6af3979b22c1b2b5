#include "modules/Pages/SystemData.h"

#include "platform/Win32.h"

namespace tessel {

namespace {

uint64_t Ticks(const FILETIME& Time)
{
    return (static_cast<uint64_t>(Time.dwHighDateTime) << 32) | Time.dwLowDateTime;
}

} // namespace

int MemoryLoad()
{
    MEMORYSTATUSEX status{};
    status.dwLength = sizeof status;
    if (!GlobalMemoryStatusEx(&status))
        return 0;
    return static_cast<int>(status.dwMemoryLoad);
}

int TProcessorMeter::Sample()
{
    const uint64_t now = GetTickCount64();
    if (FTotal != 0 && now - FTaken < 100)
        return FLoad;
    FILETIME idle{}, kernel{}, user{};
    if (!GetSystemTimes(&idle, &kernel, &user))
        return 0;
    // Kernel time includes the idle time.
    const uint64_t total = Ticks(kernel) + Ticks(user);
    const uint64_t idleNow = Ticks(idle);
    int load = 0;
    if (FTotal != 0 && total > FTotal) {
        const uint64_t spent = total - FTotal;
        const uint64_t rested = idleNow >= FIdle ? idleNow - FIdle : 0;
        load = rested >= spent ? 0 : static_cast<int>((spent - rested) * 100 / spent);
    }
    FIdle = idleNow;
    FTotal = total;
    FTaken = now;
    FLoad = load;
    return load;
}

const TLoadSample& TLoadHistory::Sample()
{
    TLoadSample sample;
    sample.Processor = static_cast<uint8_t>(FMeter.Sample());
    sample.Memory = static_cast<uint8_t>(MemoryLoad());
    if (FSamples.size() == Capacity)
        FSamples.pop_front();
    FSamples.push_back(sample);
    return FSamples.back();
}

bool MemoryTipDue(int Load, int32_t& Streak)
{
    Streak = Load > 90 ? (Streak < 0 ? 1 : Streak + 1) : 0;
    return Streak >= 2;
}

} // namespace tessel
