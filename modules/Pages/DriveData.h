// The drives the Disks and Folders pages show: every fixed and removable
// drive with its size and free space.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace tessel {

struct TDriveInfo {
    std::string Root; // "C:\"
    bool Removable = false;
    bool Ready = false; // a removable drive without a medium is not
    uint64_t Total = 0;
    uint64_t Free = 0;

    // The used share, 0..100 (0 for a drive that is not ready).
    int UsedPercent() const;
};

std::vector<TDriveInfo> Drives();
// "1 byte", "512 bytes", "1.5 KB", "20.0 GB"
std::string FormatBytes(uint64_t Bytes);
// The first drive more than 90 % full, or null.
const TDriveInfo* NearlyFullDrive(const std::vector<TDriveInfo>& Drives);

} // namespace tessel
