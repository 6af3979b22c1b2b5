// The shell's process-wide state that the modules see, and the loading of
// the modules by file name. The records themselves are in SuiteRecords.h.
#pragma once

#include "platform/Win32.h"
#include "shell/SuiteRecords.h"

#include <cstdint>
#include <string>

namespace tessel {

// The group table's keys are one character long, so the file describes at
// most nine groups of at most nine pages.
constexpr int MaxGroups = 9;
constexpr int MaxPages = 9;
constexpr int GroupTableSize = 256;

extern TGroupRecord GroupTable[GroupTableSize];
// 0 until the first switch, 1 after the quick bar, 2 after the main window came up.
extern int32_t CurrentView;
// The program's folder + "Tessel.ini", and + "Page\".
extern std::string IniPath;
extern std::string PagePath;
// Set by the command line "-tray".
extern bool SkipRebootCheck;

// The folder of the program file, with its trailing backslash. Tests that
// drive the shell's units inside their own process point it at a suite folder
// of their own; the program itself never does.
std::string ProgramFolder();
void SetProgramFolder(const std::string& Folder);

// A module's single entry: Command(code, data), stdcall.
using TCommandEntry = void(__stdcall*)(int32_t Code, void* Data);

// Sends Code to the module's Command entry; a module without one is skipped.
void SendCommand(HMODULE Module, int32_t Code, void* Data);
// A page module's call that has not returned after this long is given up on.
constexpr uint32_t PageCallTimeout = 5000;

// Loads the module of page Page of Group, sends it Code with the page's
// record and unloads it again, guarded and on a thread of its own
// (platform/FaultGuard.h): a module that faults, or has not returned after
// PageCallTimeout ms, is left loaded (and running), marked unavailable in
// the group record and called no more. A module that does not load, or
// whose file name leads out of PagePath, is skipped.
void CallPageModule(TGroupRecord& Group, int32_t Page, int32_t Code);

// Frees every page array of the group table and clears the table.
void ClearGroupTable();

} // namespace tessel
