#include "modules/Pages/FolderData.h"
#include "modules/Suite/SuiteText.h"

#include "platform/DetachedThread.h"
#include "platform/Win32.h"

#include <algorithm>
#include <mutex>

using namespace platform;

namespace tessel {

std::atomic<TFolderReader> FolderReader{ListFolder};

namespace {

std::string WithBackslash(const std::string& Folder)
{
    return Folder.empty() || Folder.back() == '\\' ? Folder : Folder + "\\";
}

// Reads Folder through the reader of the moment into Size, and hands each
// file and subfolder (never a link) to Found. A folder that cannot be read
// is added to Size's unread ones as Path.
template <class F>
void ReadInto(const std::string& Folder, const std::string& Path, const std::atomic<bool>& Cancel,
              TFolderSize& Size, F Found)
{
    const uint32_t error = FolderReader.load()(Folder, [&](const TFoundItem& Item) {
        if (!Item.Folder) {
            ++Size.Files;
            Size.Bytes += Item.Bytes;
            Found(Item);
        } else if (!Item.Link) {
            ++Size.Folders;
            Found(Item);
        }
        return !Cancel;
    });
    if (error != 0 && !Cancel && Size.Unread++ == 0)
        Size.FirstUnread = {Path, error};
}

} // namespace

std::string UnreadReason(uint32_t Error)
{
    switch (Error) {
    case ERROR_ACCESS_DENIED:
        return Tr("Access is denied.");
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
        return Tr("Another program holds it.");
    case ERROR_FILENAME_EXCED_RANGE:
    case ERROR_BUFFER_OVERFLOW:
        return Tr("Its path is too long to open.");
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
    case ERROR_DIRECTORY:
        return Tr("It was removed during the count.");
    default:
        return Tr("The system reported error %1.", {std::to_string(Error)});
    }
}

std::string FirstUnreadText(const TUnreadFolder& First)
{
    constexpr size_t Longest = 90, Head = 30;
    const std::string& path = First.Path;
    const std::string shown =
        path.size() <= Longest ? path : path.substr(0, Head) + "..." + path.substr(path.size() - (Longest - Head));
    return Tr("The first: %1. %2", {shown, UnreadReason(First.Error)});
}

TFolderSize CountFolder(const std::string& Folder, const std::atomic<bool>& Cancel,
                        const std::function<void(const TFolderSize&)>& Progress)
{
    TFolderSize size;
    // Depth first without recursion: a deep tree cannot exhaust the
    // thread's stack. Paths below Folder, each ending in a backslash.
    const std::string top = WithBackslash(Folder);
    std::vector<std::string> pending{""};
    while (!pending.empty() && !Cancel) {
        const std::string below = pending.back();
        pending.pop_back();
        ReadInto(top + below, below.empty() ? below : below.substr(0, below.size() - 1), Cancel, size,
                 [&](const TFoundItem& Item) {
                     if (Item.Folder)
                         pending.push_back(below + Item.Name + "\\");
                 });
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

// Shared by the counter and its thread, so that either may go first.
struct TFolderCounter::TState {
    std::atomic<bool> Cancel{false};
    mutable std::mutex Lock; // the listing's
    TFolderListing Listing;
    // Held while Progress runs, so that Stop never returns in the middle of
    // it; Progress may call Stop itself.
    std::recursive_mutex ReportLock;
    std::function<void()> Progress; // emptied by Stop
    uint64_t LastReport = 0;        // milliseconds since system start

    void Report(bool Last)
    {
        std::lock_guard<std::recursive_mutex> lock(ReportLock);
        const uint64_t now = GetTickCount64();
        if (!Last && now - LastReport < 100)
            return;
        LastReport = now;
        if (Progress)
            Progress();
    }

    void Run(const std::string& Folder);
};

void TFolderCounter::TState::Run(const std::string& Folder)
{
    // The direct entries first: the files are counted with them.
    std::vector<TFolderEntry> entries;
    TFolderSize direct;
    ReadInto(Folder, "", Cancel, direct, [&](const TFoundItem& Item) {
        entries.push_back({Item.Name, Item.Folder, Item.Bytes, !Item.Folder, 0, {}});
    });
    {
        std::lock_guard<std::mutex> lock(Lock);
        Listing.Bytes = direct.Bytes;
        Listing.Files = direct.Files;
        Listing.Folders = direct.Folders;
        Listing.Unread = direct.Unread;
        Listing.FirstUnread = direct.FirstUnread;
        Listing.Entries = std::move(entries);
    }
    Report(false);

    // Then each subfolder, its figures added as they grow.
    for (size_t i = 0; !Cancel; ++i) {
        std::string name;
        {
            std::lock_guard<std::mutex> lock(Lock);
            while (i < Listing.Entries.size() && !Listing.Entries[i].Folder)
                ++i;
            if (i == Listing.Entries.size())
                break;
            name = Listing.Entries[i].Name;
        }
        TFolderSize before;
        const auto grow = [&](const TFolderSize& size) {
            {
                std::lock_guard<std::mutex> lock(Lock);
                TFolderEntry& entry = Listing.Entries[i];
                entry.Bytes = size.Bytes;
                if (size.Unread > 0 && entry.Unread == 0) {
                    const std::string& below = size.FirstUnread.Path;
                    entry.FirstUnread = {below.empty() ? name : name + "\\" + below, size.FirstUnread.Error};
                }
                entry.Unread = size.Unread;
                Listing.Bytes += size.Bytes - before.Bytes;
                Listing.Files += size.Files - before.Files;
                Listing.Folders += size.Folders - before.Folders;
                if (Listing.Unread == 0 && size.Unread > 0)
                    Listing.FirstUnread = entry.FirstUnread;
                Listing.Unread += size.Unread - before.Unread;
            }
            before = size;
            Report(false);
        };
        const TFolderSize size = CountFolder(Folder + name, Cancel, grow);
        std::lock_guard<std::mutex> lock(Lock);
        Listing.Entries[i].Counted = !size.Cancelled;
    }
    {
        std::lock_guard<std::mutex> lock(Lock);
        Listing.Done = true;
        Listing.Cancelled = Cancel;
    }
    Report(true);
}

TFolderCounter::TFolderCounter(const std::string& Folder, std::function<void()> Progress)
    : FState(std::make_shared<TState>())
{
    FState->Progress = std::move(Progress);
    // The thread holds the state as long as it runs: the counter may be gone.
    RunDetached([state = FState, folder = WithBackslash(Folder)] { state->Run(folder); });
}

TFolderCounter::~TFolderCounter()
{
    Stop();
}

void TFolderCounter::Cancel()
{
    FState->Cancel = true;
}

TFolderListing TFolderCounter::Stop()
{
    Cancel();
    {
        std::lock_guard<std::recursive_mutex> lock(FState->ReportLock);
        FState->Progress = nullptr;
    }
    TFolderListing listing = Snapshot();
    listing.Cancelled = listing.Cancelled || !listing.Done;
    listing.Done = true;
    return listing;
}

TFolderListing TFolderCounter::Snapshot() const
{
    std::lock_guard<std::mutex> lock(FState->Lock);
    return FState->Listing;
}

} // namespace tessel
