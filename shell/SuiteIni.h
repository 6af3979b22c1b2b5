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
// A page INI (Page\<module name less its last four characters>.ini):
//   [MESSAGE] messagecount, 1..messagecount = window-message numbers
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace tessel {

// Values are read into 260-byte buffers (at most 259 characters) with an
// empty default.
constexpr int IniValueSize = 260;

// Bounds that keep a hand-edited or damaged INI file from stalling start-up:
// the messages read from one page, and the entries scanned in the message
// table or in one routing section (9 groups x 9 pages give at most 81 pairs).
constexpr int MaxPageMessages = 1024;
constexpr int MaxMessageEntries = 4096;

std::string ReadIniValue(const std::string& File, const std::string& Section, const std::string& Key,
                         int BufferSize = IniValueSize);
void WriteIniValue(const std::string& File, const std::string& Section, const std::string& Key,
                   const std::string& Value);
void EraseIniSection(const std::string& File, const std::string& Section);
// The C library's atol rule: leading blanks, a sign, digits; anything else 0.
int32_t IniNumber(const std::string& Text);
// A count read from the file, held to what the one-character keys can name.
int32_t ClampCount(int32_t Count, int32_t Max);
// Only texts made of decimal digits name a message (and so a routing section).
bool IsMessageNumber(const std::string& Text);
// Page\Sub\Foo.dll -> Foo.ini: the last path component less its last four characters.
std::string PageIniName(const std::string& FileName);

// "Tessel"/"ObjectStyle" of IniPath.
int32_t ReadObjectStyle();

// Fills the group table from IniPath and introduces every page to its module
// (code 2); returns the number of groups.
int32_t LoadGroups();

void ClearMessageTables();
// Rebuilds the message table of IniPath from the page INI files of the first
// GroupCount groups; returns the number of entries.
int32_t BuildMessageTables(int32_t GroupCount);
void RegisterMessage(const std::string& Text, int Group, int Page, int32_t& MessageCount);
void AddMessageRoute(const std::string& Text, int Group, int Page);
std::vector<int32_t> LoadMessageIds(int32_t MessageCount);

} // namespace tessel
