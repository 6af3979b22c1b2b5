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
    std::string Label;      // the volume's name; may be empty
    std::string FileSystem; // "NTFS"; empty when the drive is not ready

    // The used share, 0..100 (0 for a drive that is not ready).
    int UsedPercent() const;
};

std::vector<TDriveInfo> Drives();
// "1 byte", "512 bytes", "1.5 KB", "20.0 GB", in the suite's language.
std::string FormatBytes(uint64_t Bytes);
// The first drive more than 90 % full, or null.
const TDriveInfo* NearlyFullDrive(const std::vector<TDriveInfo>& Drives);

} // namespace tessel
