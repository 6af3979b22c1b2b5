#include "shell/PageCalls.h"

#include "platform/Win32.h"

#include <cstring>

namespace tessel {

namespace {

// The file: Magic, then Slots entries.
const char Magic[8] = {'T', 'e', 's', 's', 'C', 'a', 'l', '1'};

enum : uint32_t { Idle = 0, Calling = 1, Hung = 2 };

} // namespace

struct TPageCalls::TEntry {
    uint32_t Sequence;
    uint32_t State;
    char Page[260];
    uint32_t Check; // over the bytes before it
};

namespace {

constexpr size_t EntrySize = 272;
constexpr size_t FileSize = sizeof Magic + TPageCalls::Slots * EntrySize;

uint32_t Checksum(const void* Bytes, size_t Size)
{
    // FNV-1a.
    uint32_t hash = 2166136261u;
    for (size_t i = 0; i < Size; ++i) {
        hash ^= static_cast<const unsigned char*>(Bytes)[i];
        hash *= 16777619u;
    }
    return hash;
}

} // namespace

TPageCalls::TPageCalls(const std::string& Path)
{
    static_assert(sizeof(TEntry) == EntrySize);
    HANDLE file = CreateFileA(Path.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return;
    FFile = file;
    FMapping = CreateFileMappingA(file, nullptr, PAGE_READWRITE, 0, FileSize, nullptr);
    if (FMapping)
        FView = static_cast<unsigned char*>(MapViewOfFile(FMapping, FILE_MAP_WRITE, 0, 0, FileSize));
    if (!FView)
        return;

    if (std::memcmp(FView, Magic, sizeof Magic) == 0) {
        for (int slot = 0; slot < Slots; ++slot) {
            TEntry entry;
            std::memcpy(&entry, FView + sizeof Magic + slot * EntrySize, sizeof entry);
            if (entry.Check != Checksum(&entry, offsetof(TEntry, Check)) || entry.State == Idle ||
                strnlen(entry.Page, sizeof entry.Page) == sizeof entry.Page || !entry.Page[0])
                continue;
            TLeftCall* known = nullptr;
            for (TLeftCall& left : FLeft)
                if (lstrcmpiA(left.Page.c_str(), entry.Page) == 0)
                    known = &left;
            if (!known)
                known = &FLeft.emplace_back(TLeftCall{entry.Page, false});
            known->Hung = known->Hung || entry.State == Hung;
        }
    }
    std::memset(FView, 0, FileSize);
    std::memcpy(FView, Magic, sizeof Magic);
}

TPageCalls::~TPageCalls()
{
    if (FView)
        UnmapViewOfFile(FView);
    if (FMapping)
        CloseHandle(FMapping);
    if (FFile)
        CloseHandle(FFile);
}

void TPageCalls::Put(int Slot, uint32_t State, const std::string& Page)
{
    if (!FView || Slot < 0 || Slot >= Slots)
        return;
    TEntry entry{};
    entry.Sequence = ++FSequence;
    entry.State = State;
    std::strncpy(entry.Page, Page.c_str(), sizeof entry.Page - 1);
    entry.Check = Checksum(&entry, offsetof(TEntry, Check));
    std::memcpy(FView + sizeof Magic + Slot * EntrySize, &entry, sizeof entry);
}

int TPageCalls::Begin(const std::string& Page)
{
    if (!FView)
        return -1;
    for (int slot = ViewSlot + 1; slot < Slots; ++slot) {
        if (FTaken[slot])
            continue;
        FTaken[slot] = true;
        Put(slot, Calling, Page);
        return slot;
    }
    return -1;
}

void TPageCalls::End(int Slot)
{
    if (Slot <= ViewSlot || Slot >= Slots)
        return;
    Put(Slot, Idle, {});
    FTaken[Slot] = false;
}

void TPageCalls::MarkHung(int Slot)
{
    if (!FView || Slot < 0 || Slot >= Slots)
        return;
    TEntry entry;
    std::memcpy(&entry, FView + sizeof Magic + Slot * EntrySize, sizeof entry);
    if (entry.State == Calling)
        Put(Slot, Hung, entry.Page);
}

void TPageCalls::BeginView(const std::string& Page)
{
    Put(ViewSlot, Calling, Page);
    FViewCall = FSequence.load();
}

void TPageCalls::EndView()
{
    FViewCall = 0;
    Put(ViewSlot, Idle, {});
}

void TPageCalls::Close()
{
    FViewCall = 0;
    if (!FView)
        return;
    std::memset(FView + sizeof Magic, 0, FileSize - sizeof Magic);
    // Once per process: the next start must not find the calls of a process
    // that closed, even after the machine lost its power.
    FlushViewOfFile(FView, FileSize);
}

} // namespace tessel
