// The Folders page's count of a folder: each of its direct subfolders and
// files with its size, counted on a thread of its own that reports its
// progress and can be called off. A folder that cannot be read is never
// taken for an empty one: the count says how many there were and why.
#pragma once

#include "platform/FileSearch.h"

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace tessel {

// A folder the count could not read: its path below the folder counted
// (empty for that folder itself) and the system's error.
struct TUnreadFolder {
    std::string Path;
    uint32_t Error = 0;
};

// Why a folder could not be read, as a sentence in the user's language:
// access denied, held by another program, a path too long to open, gone
// during the count, or the system's error number.
std::string UnreadReason(uint32_t Error);
// "The first: Photos\2019\Raw. Access is denied.", a long path cut in its middle.
std::string FirstUnreadText(const TUnreadFolder& First);

// How the count reads one folder: platform::ListFolder, unless a test puts
// a reader of its own here (one that holds a read, or takes a folder away
// first). Called on the counting thread.
using TFolderReader = uint32_t (*)(const std::string& Folder,
                                   const std::function<bool(const platform::TFoundItem&)>& Found);
extern std::atomic<TFolderReader> FolderReader;

struct TFolderSize {
    uint64_t Bytes = 0;
    uint64_t Files = 0;
    uint64_t Folders = 0;
    uint64_t Unread = 0;       // folders that could not be read, the folder counted among them
    TUnreadFolder FirstUnread; // the first of them
    bool Cancelled = false;
};

// Counts everything below Folder ("C:\Work" or "C:\", of any length).
// Stops soon after Cancel becomes true, with Cancelled set. Links to
// folders are not followed, so no loop counts twice. Progress, when given,
// hears the figures so far after each folder read.
TFolderSize CountFolder(const std::string& Folder, const std::atomic<bool>& Cancel,
                        const std::function<void(const TFolderSize&)>& Progress = {});

// A direct subfolder or file of the folder counted.
struct TFolderEntry {
    std::string Name;
    bool Folder = false;
    uint64_t Bytes = 0;   // a file's size; what a folder holds, counted so far
    bool Counted = false; // a file at once, a folder once its count ended
    uint64_t Unread = 0;  // a folder's folders that could not be read, itself among them
    TUnreadFolder FirstUnread; // the first of them, its path below the folder counted
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
    uint64_t Unread = 0;  // folders that could not be read, the folder itself among them
    TUnreadFolder FirstUnread;
    bool Done = false;      // every entry counted, or the count called off
    bool Cancelled = false;
};

// The count of one folder: lists its direct entries, then counts its
// subfolders one after the other, on a thread that nobody waits for.
// Progress is called on the counting thread whenever there is news, at
// most every 100 ms and once more when the count is done, until Stop;
// Snapshot may be called from any thread at any time. Destroying the
// counter stops it.
class TFolderCounter {
public:
    TFolderCounter(const std::string& Folder, std::function<void()> Progress);
    ~TFolderCounter();
    TFolderCounter(const TFolderCounter&) = delete;
    TFolderCounter& operator=(const TFolderCounter&) = delete;

    TFolderListing Snapshot() const;
    // Calls the count off; the figures so far stay.
    void Cancel();
    // Calls the count off and returns at once with what it found, done
    // (and called off unless it was done already); Progress is not called
    // after it. A thread in the middle of a slow read ends
    // on its own once the read returns, its module kept loaded till then.
    TFolderListing Stop();

private:
    struct TState; // what the counter shares with its thread
    std::shared_ptr<TState> FState;
};

} // namespace tessel
