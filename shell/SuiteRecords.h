// The records that cross the boundary between the shell and the suite's
// sibling modules, with the command codes and targets. The modules in
// modules/ include this header as it stands (it needs nothing but the
// standard integer types), so there is one declaration of each record.
//
// Every record here is read by modules built separately from the shell, so
// its layout is fixed byte for byte (32-bit pointers, little-endian) and
// checked at compile time below.
#pragma once

#include <cstddef>
#include <cstdint>

namespace tessel {

struct TPageRecord {
    char ModuleData[256];   // for the page module
    char FileName[260];     // the module's file name as listed in its group section
    char ModuleData2[3080]; // for the page module
};

struct TGroupRecord {
    char Name[256]; // the group's section name, at most 255 characters
    int32_t GroupId;
    int32_t PageCount;
    int32_t Style;
    TPageRecord* Pages; // PageCount records, owned by the shell for the process's life
    // Non-zero (a TPageState) for a page that the shell, the main window and
    // the quick bar leave alone for the rest of the process: its module
    // faulted or did not return from a call (whichever of them met the
    // fault sets it), or the shell left it out at start.
    uint8_t PageUnavailable[16];
    char Reserved[496];
};

struct TCommandRecord {
    int32_t Code;
    int32_t Target;
    void* Data;
};

using TModuleCallback = void(__stdcall*)(TCommandRecord*);

struct TModuleRegistration {
    TModuleCallback Callback;
    int32_t GroupCount;
    TGroupRecord* Groups;
};

// LParam before WParam, as the main-window module reads it.
struct TForwardedMessage {
    uint32_t Msg;
    int32_t LParam;
    int32_t WParam;
};

static_assert(sizeof(void*) == 4, "the module interface is 32-bit");
static_assert(sizeof(TPageRecord) == 3596);
static_assert(offsetof(TPageRecord, FileName) == 256);
static_assert(sizeof(TGroupRecord) == 784);
static_assert(offsetof(TGroupRecord, Name) == 0);
static_assert(offsetof(TGroupRecord, GroupId) == 256);
static_assert(offsetof(TGroupRecord, PageCount) == 260);
static_assert(offsetof(TGroupRecord, Style) == 264);
static_assert(offsetof(TGroupRecord, Pages) == 268);
static_assert(offsetof(TGroupRecord, PageUnavailable) == 272);
static_assert(sizeof(TCommandRecord) == 12);
static_assert(offsetof(TCommandRecord, Target) == 4);
static_assert(offsetof(TCommandRecord, Data) == 8);
static_assert(sizeof(TModuleRegistration) == 12);
static_assert(offsetof(TModuleRegistration, GroupCount) == 4);
static_assert(offsetof(TModuleRegistration, Groups) == 8);
static_assert(sizeof(TForwardedMessage) == 12);
static_assert(offsetof(TForwardedMessage, LParam) == 4);
static_assert(offsetof(TForwardedMessage, WParam) == 8);

// Why a page is unavailable.
enum TPageState : uint8_t {
    pageAvailable = 0,
    pageFailed = 1,       // its module faulted or did not return in this process
    pageLeftOutEnded = 2, // left out at start: the last process ended while calling it
    pageLeftOutHung = 3,  // left out at start: it held the last process, which started again without it
};

// Tessel.ini's list of the pages left out: [LeftOut], one key per page,
// its file name as its group section lists it, valued with the reason. The
// shell adds a page at the start after it took the suite down; the Settings
// page turns it on again by taking it off.
constexpr char LeftOutSection[] = "LeftOut";
constexpr char LeftOutEnded[] = "ended"; // pageLeftOutEnded
constexpr char LeftOutHung[] = "hung";   // pageLeftOutHung

inline TPageState PageStateOf(const TGroupRecord& Group, int Page)
{
    return Page >= 0 && Page < static_cast<int>(sizeof Group.PageUnavailable)
               ? static_cast<TPageState>(Group.PageUnavailable[Page])
               : pageAvailable;
}

inline bool PageUnavailable(const TGroupRecord& Group, int Page)
{
    return PageStateOf(Group, Page) != pageAvailable;
}

// A page already unavailable keeps its first reason.
inline void MarkPageUnavailable(TGroupRecord& Group, int Page, TPageState State = pageFailed)
{
    if (Page >= 0 && Page < static_cast<int>(sizeof Group.PageUnavailable) && !Group.PageUnavailable[Page])
        Group.PageUnavailable[Page] = State;
}

// Command codes and targets of TCommandRecord and of a module's Command entry.
enum : int32_t {
    cmdRegister = 1,
    cmdPageStart = 2,
    cmdShow = 3,
    cmdHide = 4,
    cmdExit = 6,
    cmdForward = 7,
    cmdTips = 8,
    // To tgShell: the module is about to call into a page's view on the
    // window thread (Data: the page's record), or that call has ended (Data
    // null), so that the shell knows which page took it down should the
    // call end the process or hold it.
    cmdPageCall = 9,
};
enum : int32_t {
    tgQuickBar = 101,
    tgMainWindow = 103,
    tgShell = 104,
    tgTrayIcon = 105,
};

} // namespace tessel
