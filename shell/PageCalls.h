// The calls into page modules that are under way, kept where the next start
// finds them: Tessel.run beside Tessel.ini. The process holds the file open
// and mapped for its life and writes an entry in place before and after
// each call: a few hundred bytes stored into the system's cache of the
// file, which outlive the process however it ends, so no write to the disk
// is waited for (the tips poll calls every page every five seconds). Each
// entry carries a sequence number and a checksum: one cut short by the
// process's end does not count, and neither does anything that is not an
// entry of this kind.
//
// A process that ends through its close path clears the record. What the
// next start finds there names the pages that were being called when the
// last process ended by other means (a page that called ExitProcess, let an
// exception of its own runtime end the process, or ended the window's
// thread) and those it gave up on because they held the process: the
// pages that took it down.
#pragma once

#include <atomic>
#include <cstdint>
#include <string>
#include <vector>

namespace tessel {

class TPageCalls {
public:
    // Entries, one per call that may be under way at once: the window
    // thread's view calls take the first; a call on a worker thread that
    // does not return keeps its entry for the process's life (its page is
    // never called again), so there is room for several.
    static constexpr int Slots = 16;

    struct TLeftCall {
        std::string Page; // the page's file name as its group section lists it
        bool Hung;        // given up on as holding the process, not ended by it
    };

    // Opens (or makes) the record at Path, takes what the last process left
    // in it and clears it. Where the file cannot be made (a folder that
    // cannot be written) calls are not recorded.
    explicit TPageCalls(const std::string& Path);
    ~TPageCalls();
    TPageCalls(const TPageCalls&) = delete;
    TPageCalls& operator=(const TPageCalls&) = delete;

    // The calls under way when the last process ended without closing, one
    // per page.
    const std::vector<TLeftCall>& LeftCalls() const { return FLeft; }

    // Records a call into Page (its file name as its group section lists
    // it) and returns the entry, or -1 when none is free or there is no
    // record. Begin and End are for one thread, the window thread.
    int Begin(const std::string& Page);
    void End(int Slot);
    // The call in Slot holds the process: the next start leaves its page
    // out as one that stopped responding. Any thread.
    void MarkHung(int Slot);

    // The window thread's calls into a page's view, one at a time.
    void BeginView(const std::string& Page);
    void EndView();
    // Changes with every view call; 0 while none is under way.
    uint32_t ViewCall() const { return FViewCall; }
    static constexpr int ViewSlot = 0;

    // The process ends through its close path: nothing it called took it down.
    void Close();

private:
    struct TEntry;
    void Put(int Slot, uint32_t State, const std::string& Page);

    void* FFile = nullptr;
    void* FMapping = nullptr;
    unsigned char* FView = nullptr;
    std::vector<TLeftCall> FLeft;
    std::atomic<uint32_t> FSequence{0};
    std::atomic<uint32_t> FViewCall{0};
    bool FTaken[Slots] = {};
};

} // namespace tessel
