// The Folders page's count of a folder: its files and bytes, subfolders
// included, counted on a thread of its own that can be called off.
#pragma once

#include <atomic>
#include <cstdint>
#include <string>

namespace tessel {

struct TFolderSize {
    uint64_t Bytes = 0;
    uint64_t Files = 0;
    uint64_t Folders = 0;
    bool Cancelled = false;
};

// Counts everything below Folder ("C:\Work" or "C:\"); folders that cannot
// be read count as empty. Stops soon after Cancel becomes true, with
// Cancelled set. Links to folders are not followed, so no loop counts twice.
TFolderSize CountFolder(const std::string& Folder, const std::atomic<bool>& Cancel);

} // namespace tessel
