#include "modules/Pages/FolderData.h"
#include "modules/Suite/SuiteText.h"

#include "platform/Win32.h"

#include <algorithm>

namespace tessel {

namespace {

uint64_t FileBytes(const WIN32_FIND_DATAA& Found)
{
    return (static_cast<uint64_t>(Found.nFileSizeHigh) << 32) | Found.nFileSizeLow;
}

bool IsCountedFolder(const WIN32_FIND_DATAA& Found)
{
    const std::string name = Found.cFileName;
    return (Found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && name != "." && name != ".." &&
           !(Found.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT);
}

bool IsFile(const WIN32_FIND_DATAA& Found)
{
    return !(Found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::string WithBackslash(const std::string& Folder)
{
    return Folder.empty() || Folder.back() == '\\' ? Folder : Folder + "\\";
}

} // namespace

TFolderSize CountFolder(const std::string& Folder, const std::atomic<bool>& Cancel,
                        const std::function<void(const TFolderSize&)>& Progress)
{
    TFolderSize size;
    // Depth first without recursion: a deep tree cannot exhaust the thread's stack.
    std::vector<std::string> pending{WithBackslash(Folder)};
    while (!pending.empty()) {
        if (Cancel) {
            size.Cancelled = true;
            return size;
        }
        const std::string folder = pending.back();
        pending.pop_back();
        WIN32_FIND_DATAA found;
        HANDLE search = FindFirstFileA((folder + "*").c_str(), &found);
        if (search == INVALID_HANDLE_VALUE)
            continue;
        do {
            if (IsCountedFolder(found)) {
                ++size.Folders;
                pending.push_back(folder + found.cFileName + "\\");
            } else if (IsFile(found)) {
                ++size.Files;
                size.Bytes += FileBytes(found);
            }
        } while (!Cancel && FindNextFileA(search, &found));
        FindClose(search);
        if (Progress)
            Progress(size);
    }
    size.Cancelled = Cancel;
    return size;
}

void SortBySize(std::vector<TFolderEntry>& Entries)
{
    std::stable_sort(Entries.begin(), Entries.end(), [](const TFolderEntry& a, const TFolderEntry& b) {
        return a.Bytes != b.Bytes ? a.Bytes > b.Bytes : lstrcmpiA(a.Name.c_str(), b.Name.c_str()) < 0;
    });
}

std::string ShareText(uint64_t Part, uint64_t Whole)
{
    const double share = Whole == 0 ? 0 : 100.0 * static_cast<double>(Part) / static_cast<double>(Whole);
    return TNumberStyle::Current().Fixed(share, 1) + " %";
}

TFolderCounter::TFolderCounter(const std::string& Folder, std::function<void()> Progress)
    : FProgress(std::move(Progress)), FWorker([this, Folder] { Run(Folder); })
{
}

TFolderCounter::~TFolderCounter()
{
    Stop();
}

void TFolderCounter::Cancel()
{
    FCancel = true;
}

TFolderListing TFolderCounter::Stop()
{
    Cancel();
    if (FWorker.joinable())
        FWorker.join();
    return Snapshot();
}

TFolderListing TFolderCounter::Snapshot() const
{
    std::lock_guard<std::mutex> lock(FLock);
    return FListing;
}

void TFolderCounter::Report(bool Last)
{
    const uint64_t now = GetTickCount64();
    if (!Last && now - FLastReport < 100)
        return;
    FLastReport = now;
    if (FProgress)
        FProgress();
}

void TFolderCounter::Run(std::string Folder)
{
    Folder = WithBackslash(Folder);
    // The direct entries first: the files are counted with them.
    std::vector<TFolderEntry> entries;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((Folder + "*").c_str(), &found);
    for (bool more = search != INVALID_HANDLE_VALUE; more && !FCancel; more = FindNextFileA(search, &found)) {
        if (IsCountedFolder(found))
            entries.push_back({found.cFileName, true, 0, false});
        else if (IsFile(found))
            entries.push_back({found.cFileName, false, FileBytes(found), true});
    }
    if (search != INVALID_HANDLE_VALUE)
        FindClose(search);
    {
        std::lock_guard<std::mutex> lock(FLock);
        for (const TFolderEntry& entry : entries) {
            FListing.Bytes += entry.Bytes;
            ++(entry.Folder ? FListing.Folders : FListing.Files);
        }
        FListing.Entries = std::move(entries);
    }
    Report(false);

    // Then each subfolder, its figures added as they grow.
    for (size_t i = 0; !FCancel; ++i) {
        std::string name;
        {
            std::lock_guard<std::mutex> lock(FLock);
            while (i < FListing.Entries.size() && !FListing.Entries[i].Folder)
                ++i;
            if (i == FListing.Entries.size())
                break;
            name = FListing.Entries[i].Name;
        }
        TFolderSize before;
        const auto grow = [&](const TFolderSize& size) {
            {
                std::lock_guard<std::mutex> lock(FLock);
                FListing.Entries[i].Bytes = size.Bytes;
                FListing.Bytes += size.Bytes - before.Bytes;
                FListing.Files += size.Files - before.Files;
                FListing.Folders += size.Folders - before.Folders;
            }
            before = size;
            Report(false);
        };
        const TFolderSize size = CountFolder(Folder + name, FCancel, grow);
        std::lock_guard<std::mutex> lock(FLock);
        FListing.Entries[i].Counted = !size.Cancelled;
    }
    {
        std::lock_guard<std::mutex> lock(FLock);
        FListing.Done = true;
        FListing.Cancelled = FCancel;
    }
    Report(true);
}

} // namespace tessel
