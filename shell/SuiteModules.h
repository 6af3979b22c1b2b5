// Calls into the suite's modules, loaded by file name. The records they
// take are in SuiteRecords.h.
#pragma once

#include "platform/Win32.h"
#include "shell/PageCalls.h"
#include "shell/SuiteRecords.h"

#include <cstdint>
#include <string>

namespace tessel {

// A module's single entry: Command(code, data), stdcall.
using TCommandEntry = void(__stdcall*)(int32_t Code, void* Data);

// Sends Code to the module's Command entry; a module without one is skipped.
void SendCommand(HMODULE Module, int32_t Code, void* Data);
// A page module's call that has not returned after this long is given up on.
constexpr uint32_t PageCallTimeout = 5000;

// Loads the module of page Page of Group from PagePath, sends it Code with
// a copy of the page's record (taken in when the call returned) and unloads
// it again, guarded and on a thread of its own (platform/FaultGuard.h),
// recorded in Calls while it runs: a module that faults, or has not
// returned after PageCallTimeout ms, is left loaded (and running), marked
// unavailable in the group record and called no more. One that holds the
// system's loader lock then (it hangs in its start-up code) holds the whole
// process: it is recorded as such and the suite starts again. A module that
// does not load, or whose file name leads out of PagePath, is skipped.
void CallPageModule(const std::string& PagePath, TPageCalls& Calls, TGroupRecord& Group, int32_t Page, int32_t Code);

} // namespace tessel
