// KsTuneProfile.dll: the suite's profile module. Tessel calls MakeNewIni
// twice at every start, before and after it reads the suite layout, so the
// function must be idempotent: it only ever adds what is missing.
//
// Tessel.ini settings owned by this module, in section "Tessel":
//   CheckSuite=0    skip the check for the maker's conflicting suite products
//   CheckFathom=0   skip the check for the conflicting Fathom products
// Either check runs when its key is missing, empty or any other value;
// "0", "no", "false" and "off" (in any letter case) switch it off.
//
// The suite layout ("Group"/"groupcount", "Group"/"1".."9" and one section per
// group) is the user's once it exists. A Tessel.ini without one gets a layout
// made from the page modules (*.dll) of the Page\ folder beside the INI: the
// suite's own pages in their groups, "Monitor" (Clock, System, Disks,
// Display) and "Tools" (Colours, Folders, Settings), as far as they are there, and
// every other page module in a group "Suite", in alphabetical order, at most
// nine pages a group. A group section name in use already gets a number
// ("Suite 2", "Suite 3"...). Nothing is written while the folder holds no
// page module, so a layout appears at the first start after pages exist.
#include "platform/IniStore.h"
#include "platform/Win32.h"

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

namespace {

constexpr int ValueSize = 260;
constexpr int MaxPages = 9; // keys "1".."9": one character each

std::string ReadValue(const std::string& ini, const char* section, const char* key)
{
    char value[ValueSize] = {};
    GetPrivateProfileStringA(section, key, "", value, ValueSize, ini.c_str());
    return value;
}

// Key names of a section, read with a growing buffer so a long hand-made
// section is never cut.
std::vector<std::string> KeysOf(const std::string& ini, const char* section)
{
    std::vector<char> buffer(4096);
    for (;;) {
        DWORD n = GetPrivateProfileStringA(section, nullptr, "", buffer.data(),
                                           static_cast<DWORD>(buffer.size()), ini.c_str());
        if (n + 2 < buffer.size() || buffer.size() >= (1u << 24)) {
            std::vector<std::string> keys;
            for (const char* p = buffer.data(); *p; p += std::strlen(p) + 1)
                keys.emplace_back(p);
            return keys;
        }
        buffer.assign(buffer.size() * 4, '\0');
    }
}

bool IsAsciiSpace(char c) { return c == ' ' || c == '\t'; }

bool SwitchedOff(const std::string& ini, const char* key)
{
    std::string value = ReadValue(ini, "Tessel", key);
    while (!value.empty() && IsAsciiSpace(value.back()))
        value.pop_back();
    size_t first = 0;
    while (first < value.size() && IsAsciiSpace(value[first]))
        ++first;
    value.erase(0, first);
    for (const char* off : {"0", "no", "false", "off"})
        if (lstrcmpiA(value.c_str(), off) == 0)
            return true;
    return false;
}

// A layout exists as soon as the "Group" section holds any non-empty value:
// even one written by hand without "groupcount" is the user's and stays as is.
bool HasLayout(const std::string& ini)
{
    for (const std::string& key : KeysOf(ini, "Group"))
        if (!ReadValue(ini, "Group", key.c_str()).empty())
            return true;
    return false;
}

bool EndsWithDll(const char* name)
{
    size_t n = std::strlen(name);
    return n > 4 && lstrcmpiA(name + n - 4, ".dll") == 0;
}

bool LessIgnoringCase(const std::string& a, const std::string& b)
{
    auto lower = [](unsigned char c) { return c >= 'A' && c <= 'Z' ? c + ('a' - 'A') : c; };
    for (size_t i = 0; i < a.size() && i < b.size(); ++i) {
        int ca = lower(static_cast<unsigned char>(a[i]));
        int cb = lower(static_cast<unsigned char>(b[i]));
        if (ca != cb)
            return ca < cb;
    }
    return a.size() < b.size() || (a.size() == b.size() && a < b);
}

std::vector<std::string> PageModules(const std::string& pageFolder)
{
    std::vector<std::string> pages;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((pageFolder + "*.dll").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return pages;
    do {
        // The pattern also matches long names through their short aliases
        // ("x.dllx" is "X~1.DLL"), hence the check of the real name. A name
        // with a leading blank would not read back from the INI file intact.
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && EndsWithDll(found.cFileName) &&
            found.cFileName[0] != ' ')
            pages.emplace_back(found.cFileName);
    } while (FindNextFileA(search, &found));
    FindClose(search);

    // The file system's order is not stable; the layout must not depend on it.
    std::sort(pages.begin(), pages.end(), LessIgnoringCase);
    return pages;
}

std::string FreeGroupSectionName(const std::string& ini, const std::string& base)
{
    std::string name = base;
    for (int n = 2; !KeysOf(ini, name.c_str()).empty(); ++n)
        name = base + " " + std::to_string(n);
    return name;
}

struct DefaultGroup {
    const char* name;
    std::vector<std::string> pages;
};

// The suite's own pages in their groups, in the order they are shown; the
// page modules of other makers follow in a group of their own.
std::vector<DefaultGroup> GroupPages(std::vector<std::string> pages)
{
    std::vector<DefaultGroup> groups{{"Monitor", {"Clock.dll", "System.dll", "Disks.dll", "Display.dll"}},
                                     {"Tools", {"Colours.dll", "Folders.dll", "Settings.dll"}}};
    for (DefaultGroup& group : groups) {
        std::vector<std::string> present;
        for (const std::string& wanted : group.pages) {
            auto found = std::find_if(pages.begin(), pages.end(), [&](const std::string& page) {
                return lstrcmpiA(page.c_str(), wanted.c_str()) == 0;
            });
            if (found != pages.end()) {
                present.push_back(*found);
                pages.erase(found);
            }
        }
        group.pages = present;
    }
    if (pages.size() > MaxPages)
        pages.resize(MaxPages);
    groups.push_back({"Suite", pages});
    std::erase_if(groups, [](const DefaultGroup& group) { return group.pages.empty(); });
    return groups;
}

void MakeLayout(const std::string& ini)
{
    std::string folder = ini.substr(0, ini.find_last_of('\\') + 1);
    std::vector<DefaultGroup> groups = GroupPages(PageModules(folder + "Page\\"));
    if (groups.empty())
        return;
    std::vector<std::string> sections;
    for (const DefaultGroup& group : groups)
        sections.push_back(FreeGroupSectionName(ini, group.name));

    // One replacement of the whole file: the layout appears whole or not at all.
    platform::EditIniFile(ini, [&](platform::TIniFile& file) {
        for (size_t i = 0; i < groups.size(); ++i) {
            const std::string& section = sections[i];
            file.Write(section, "groupid", std::to_string(i + 1));
            file.Write(section, "style", "0");
            file.Write(section, "pagecount", std::to_string(groups[i].pages.size()));
            for (size_t j = 0; j < groups[i].pages.size(); ++j)
                file.Write(section, std::to_string(j + 1), groups[i].pages[j]);
            file.Write("Group", std::to_string(i + 1), section);
        }
        file.Write("Group", "groupcount", std::to_string(groups.size()));
    });
}

} // namespace

extern "C" void __stdcall MakeNewIni(const char* IniPath, bool* CheckSuite, bool* CheckFathom)
{
    std::string ini;
    if (IniPath && *IniPath) {
        // A bare file name would make the profile functions look in the
        // Windows folder; the layout and the Page\ folder belong beside the INI.
        char full[MAX_PATH];
        DWORD n = GetFullPathNameA(IniPath, MAX_PATH, full, nullptr);
        if (n > 0 && n < MAX_PATH)
            ini = full;
    }

    if (!ini.empty() && !HasLayout(ini))
        MakeLayout(ini);

    if (CheckSuite)
        *CheckSuite = ini.empty() || !SwitchedOff(ini, "CheckSuite");
    if (CheckFathom)
        *CheckFathom = ini.empty() || !SwitchedOff(ini, "CheckFathom");
}
