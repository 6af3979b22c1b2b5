// What the Display page shows: each monitor's resolution, colour depth and
// refresh rate.
#pragma once

#include <string>
#include <vector>

namespace tessel {

struct TMonitorInfo {
    std::string Device; // "\\.\DISPLAY1"
    bool Primary = false;
    int Width = 0, Height = 0;
    int BitsPerPixel = 0;
    int Frequency = 0; // Hz; 0 or 1 when the system does not say
};

std::vector<TMonitorInfo> Monitors();

} // namespace tessel
