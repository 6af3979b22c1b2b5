// The Folders page's count of a folder: each of its direct subfolders and
// files with its size, counted on a thread of its own that reports its
// progress and can be called off.
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

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
// Progress, when given, hears the figures so far after each folder read.
TFolderSize CountFolder(const std::string& Folder, const std::atomic<bool>& Cancel,
                        const std::function<void(const TFolderSize&)>& Progress = {});

// A direct subfolder or file of the folder counted.
struct TFolderEntry {
    std::string Name;
    bool Folder = false;
    uint64_t Bytes = 0;   // a file's size; what a folder holds, counted so far
    bool Counted = false; // a file at once, a folder once its count ended
};

// Largest first; equal sizes by name.
void SortBySize(std::vector<TFolderEntry>& Entries);
// Part's share of Whole as the language writes it with one decimal: "42.5 %".
std::string ShareText(uint64_t Part, uint64_t Whole);

// What a count has found so far.
struct TFolderListing {
    std::vector<TFolderEntry> Entries; // in the order they were found
    uint64_t Bytes = 0;   // everything below the folder
    uint64_t Files = 0;
    uint64_t Folders = 0;
    bool Done = false;      // every entry counted, or the count called off
    bool Cancelled = false;
};

// The count of one folder: lists its direct entries, then counts its
// subfolders one after the other. Progress is called on the counting thread
// whenever there is news, at most every 100 ms and once more when the
// count is done; Snapshot may be called from any thread at any time.
// Destroying the counter stops it.
class TFolderCounter {
public:
    TFolderCounter(const std::string& Folder, std::function<void()> Progress);
    ~TFolderCounter();
    TFolderCounter(const TFolderCounter&) = delete;
    TFolderCounter& operator=(const TFolderCounter&) = delete;

    TFolderListing Snapshot() const;
    // Calls the count off; the figures so far stay.
    void Cancel();
    // Calls the count off, waits for its thread to end and returns what it found.
    TFolderListing Stop();

private:
    void Run(std::string Folder);
    void Report(bool Last);

    std::function<void()> FProgress;
    std::atomic<bool> FCancel{false};
    mutable std::mutex FLock;
    TFolderListing FListing;
    uint64_t FLastReport = 0; // milliseconds since system start
    std::thread FWorker;
};

} // namespace tessel
