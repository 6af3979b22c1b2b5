#include "modules/Pages/DriveData.h"

#include "modules/Suite/SuiteText.h"

#include "platform/Win32.h"

namespace tessel {

int TDriveInfo::UsedPercent() const
{
    if (!Ready || Total == 0)
        return 0;
    return static_cast<int>((Total - Free) * 100 / Total);
}

std::vector<TDriveInfo> Drives()
{
    std::vector<TDriveInfo> drives;
    // An empty card reader must not bring up the system's "insert a disk" box.
    const UINT oldMode = SetErrorMode(SEM_FAILCRITICALERRORS);
    const DWORD mask = GetLogicalDrives();
    for (int letter = 0; letter < 26; ++letter) {
        if (!(mask & (1u << letter)))
            continue;
        TDriveInfo drive;
        drive.Root = std::string(1, static_cast<char>('A' + letter)) + ":\\";
        const UINT type = GetDriveTypeA(drive.Root.c_str());
        if (type != DRIVE_FIXED && type != DRIVE_REMOVABLE)
            continue;
        drive.Removable = type == DRIVE_REMOVABLE;
        ULARGE_INTEGER available{}, total{}, free{};
        if (GetDiskFreeSpaceExA(drive.Root.c_str(), &available, &total, &free)) {
            drive.Ready = true;
            drive.Total = total.QuadPart;
            drive.Free = free.QuadPart;
            char label[MAX_PATH + 1] = {}, fileSystem[MAX_PATH + 1] = {};
            if (GetVolumeInformationA(drive.Root.c_str(), label, sizeof label, nullptr, nullptr, nullptr, fileSystem,
                                      sizeof fileSystem)) {
                drive.Label = label;
                drive.FileSystem = fileSystem;
            }
        }
        drives.push_back(drive);
    }
    SetErrorMode(oldMode);
    return drives;
}

std::string FormatBytes(uint64_t Bytes)
{
    static const char* const Units[] = {"%1 KB", "%1 MB", "%1 GB", "%1 TB", "%1 PB"};
    if (Bytes < 1024)
        return TrCount("%1 byte|%1 bytes", Bytes);
    // A value that one decimal would round to 1024.0 is one of the next unit.
    double value = static_cast<double>(Bytes) / 1024;
    int unit = 0;
    while (value >= 1023.95 && unit < 4) {
        value /= 1024;
        ++unit;
    }
    return Tr(Units[unit], {TNumberStyle::Current().Fixed(value, 1)});
}

const TDriveInfo* NearlyFullDrive(const std::vector<TDriveInfo>& Drives)
{
    for (const TDriveInfo& drive : Drives)
        if (drive.Ready && drive.UsedPercent() > 90)
            return &drive;
    return nullptr;
}

} // namespace tessel
