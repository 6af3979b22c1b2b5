// Tessel.ini and the page INI files: the suite layout read into the group
// table, the start view, and the message table with its routing sections,
// rebuilt from the page INI files at every start.
//
// Tessel.ini, as the shell uses it:
//   [Tessel]  ObjectStyle   start view: 0 quick bar, 3 tray icon alone
//   [Group]   groupcount, 1..9 = group section names
//   [<group>] groupid, pagecount, style, 1..9 = page module file names
//   [MESSAGE] count, 1, 2, ... = window-message numbers (written by the shell)
//   [<number>] 1, 2, ... = "group,page" pairs of the pages that want it
//   [LeftOut] <page file name> = ended or hung: pages left out (SuiteRecords.h)
// A page INI (Page\<module name less its last four characters>.ini):
//   [MESSAGE] messagecount, 1..messagecount = window-message numbers
#pragma once

#include "platform/IniFile.h"
#include "platform/IniSnapshot.h"
#include "shell/SuiteState.h"

#include <cstdint>
#include <string>
#include <vector>

namespace tessel {

using platform::IniValueSize;
using platform::TIniSnapshot;
using platform::TIniFile;

// Bounds that keep a hand-edited or damaged INI file from stalling start-up
// or filling memory: the messages read from one page, and the entries of the
// message table.
constexpr int MaxPageMessages = 1024;
constexpr int MaxMessageEntries = 4096;

std::string ReadIniValue(const std::string& File, const std::string& Section, const std::string& Key,
                         int BufferSize = IniValueSize);
// Through the suite's one writer of INI files (platform/IniStore.h); a value
// already there writes nothing.
void WriteIniValue(const std::string& File, const std::string& Section, const std::string& Key,
                   const std::string& Value);
// The C library's atol rule: leading blanks, a sign, digits; anything else 0.
int32_t IniNumber(const std::string& Text);
// A count read from the file, held to what the one-character keys can name.
int32_t ClampCount(int32_t Count, int32_t Max);
// Only texts made of decimal digits name a message (and so a routing section).
bool IsMessageNumber(const std::string& Text);
// Page\Sub\Foo.dll -> Foo.ini: the last path component less its last four characters.
std::string PageIniName(const std::string& FileName);

// Start-up reads Tessel.ini from a snapshot, taken again after each call of
// the profile module (the one module that writes it during start-up).

// "Tessel"/"ObjectStyle", whatever number it holds.
TStartStyle ReadObjectStyle(TIniSnapshot& Ini);

// Adds the pages that the last process left under way in its record of page
// calls to Tessel.ini's [LeftOut], each with its reason.
void LeaveOutPages(const TSuiteState& State);

// Fills the state's group table and GroupCount and introduces every page to
// its module (code 2), but for the pages left out: those are marked
// unavailable with their reason and not called. Returns the number of groups.
int32_t LoadGroups(TSuiteState& State, TIniSnapshot& Ini);

// The message table and its routing sections, rebuilt at every start from
// the page INI files of the first GroupCount groups of the state's table. A section that "Group"
// names is the suite layout's: no table entry removes it or writes into it.
void ClearMessageTables(TIniFile& Ini);
// Returns the number of entries written.
int32_t BuildMessageTables(TIniFile& Ini, const TSuiteState& State, int32_t GroupCount);
std::vector<int32_t> LoadMessageIds(TIniFile& Ini, int32_t MessageCount);
// Start-up's rebuild: reads the state's Tessel.ini once, rebuilds the tables
// in memory and replaces the file once if that changed it. Returns the
// forwarded message numbers, also when the file could not be read or written.
std::vector<int32_t> RebuildMessageTables(const TSuiteState& State, int32_t GroupCount);

} // namespace tessel
