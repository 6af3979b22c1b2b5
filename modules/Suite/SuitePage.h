// What the suite's own modules keep in the bytes of a page record that the
// shell leaves to the page module, and the entries through which the main
// window hosts a page's view.
//
// A page module fills its TPageInfo on code 2 and its TPageTip on every code
// 8; the main window and the quick bar only read them. The record is the
// shell's for the process's life, so a page keeps what it must remember from
// one poll to the next (it is loaded afresh for each) in TPageTip::PollState.
#pragma once

#include "shell/SuiteRecords.h"
#include "platform/Win32.h"

#include <cstdint>
#include <cstring>
#include <string>

namespace tessel {

struct TPageInfo {           // at offset 0 of the record
    char Caption[64];        // the page's name, translated
    char ShortCaption[16];   // a few letters for narrow buttons
    char Reserved[176];
};

struct TPageTip {            // at offset 516 of the record
    char Tip[256];           // the current tip; empty when there is none
    char Badge[16];          // a short mark for the tip ("!", "92%")
    int32_t PollState;       // the page's own memory between polls
};

static_assert(sizeof(TPageInfo) == sizeof(TPageRecord::ModuleData));
static_assert(sizeof(TPageTip) <= sizeof(TPageRecord::ModuleData2));

inline TPageInfo& PageInfo(TPageRecord& Page) { return *reinterpret_cast<TPageInfo*>(Page.ModuleData); }
inline TPageTip& PageTip(TPageRecord& Page) { return *reinterpret_cast<TPageTip*>(Page.ModuleData2); }

// A text field of the record; a field the module filled to the brim ends at its size.
template <size_t N>
std::string FieldText(const char (&Field)[N])
{
    return std::string(Field, strnlen(Field, N));
}

// A page's module file name less the folder and extension: Sub\Clock.dll -> Clock.
inline std::string PageFileStem(std::string FileName)
{
    FileName.erase(0, FileName.find_last_of('\\') + 1);
    return FileName.substr(0, FileName.rfind('.'));
}

// What a page is called on the suite's buttons: its caption, or for a module
// that did not fill one (it failed to load, or was left out) its file stem.
inline std::string PageCaption(TPageRecord& Page)
{
    const std::string caption = FieldText(PageInfo(Page).Caption);
    return caption.empty() ? PageFileStem(FieldText(Page.FileName)) : caption;
}

// What the suite's windows say of an unavailable page, translated: why, and
// for a page left out at start where to turn it on again.
std::string UnavailableText(TPageState State);

// The view entries every page module exports besides Command, all stdcall:
//   PageCreate(parent window) -> the view's window (null when it failed),
//       a child filling the parent's client area; one view per module.
//   PageDestroy() frees the view, if any.
//   PageMessage(message) hands the page a window message it asked for in its
//       INI file; the page acts on it whether or not its view exists.
using TPageCreate = HWND(__stdcall*)(HWND Parent);
using TPageDestroy = void(__stdcall*)();
using TPageMessage = void(__stdcall*)(const TForwardedMessage* Message);

} // namespace tessel
