#include "modules/Pages/DisplayData.h"

#include "platform/GdiScope.h"

namespace tessel {

namespace {

BOOL CALLBACK AddMonitor(HMONITOR Monitor, HDC, LPRECT, LPARAM Data)
{
    auto& monitors = *reinterpret_cast<std::vector<TMonitorInfo>*>(Data);
    MONITORINFOEXA info{};
    info.cbSize = sizeof info;
    if (!GetMonitorInfoA(Monitor, &info))
        return TRUE;
    TMonitorInfo& monitor = monitors.emplace_back();
    monitor.Device = info.szDevice;
    monitor.Primary = (info.dwFlags & MONITORINFOF_PRIMARY) != 0;
    monitor.Width = info.rcMonitor.right - info.rcMonitor.left;
    monitor.Height = info.rcMonitor.bottom - info.rcMonitor.top;
    DEVMODEA mode{};
    mode.dmSize = sizeof mode;
    if (EnumDisplaySettingsA(info.szDevice, ENUM_CURRENT_SETTINGS, &mode)) {
        monitor.BitsPerPixel = static_cast<int>(mode.dmBitsPerPel);
        monitor.Frequency = static_cast<int>(mode.dmDisplayFrequency);
    } else {
        const platform::TScreenDC screen;
        monitor.BitsPerPixel = GetDeviceCaps(screen.Get(), BITSPIXEL) * GetDeviceCaps(screen.Get(), PLANES);
    }
    return TRUE;
}

} // namespace

std::vector<TMonitorInfo> Monitors()
{
    std::vector<TMonitorInfo> monitors;
    EnumDisplayMonitors(nullptr, nullptr, AddMonitor, reinterpret_cast<LPARAM>(&monitors));
    return monitors;
}

} // namespace tessel
