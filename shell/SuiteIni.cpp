#include "shell/SuiteIni.h"
#include "shell/SuiteModules.h"

#include "platform/IniStore.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <unordered_map>
#include <unordered_set>

namespace tessel {

std::string ReadIniValue(const std::string& File, const std::string& Section, const std::string& Key,
                         int BufferSize)
{
    std::vector<char> buffer(static_cast<size_t>(BufferSize), '\0');
    DWORD n = GetPrivateProfileStringA(Section.c_str(), Key.c_str(), "", buffer.data(),
                                       static_cast<DWORD>(BufferSize), File.c_str());
    return std::string(buffer.data(), n);
}

void WriteIniValue(const std::string& File, const std::string& Section, const std::string& Key,
                   const std::string& Value)
{
    platform::EditIniFile(File, [&](TIniFile& Ini) { Ini.Write(Section, Key, Value); });
}

int32_t IniNumber(const std::string& Text)
{
    // strtol rather than atol: the same digits, but a defined result for a
    // value beyond 32 bits.
    errno = 0;
    long value = std::strtol(Text.c_str(), nullptr, 10);
    if (value > INT32_MAX)
        return INT32_MAX;
    if (value < INT32_MIN)
        return INT32_MIN;
    return static_cast<int32_t>(value);
}

int32_t ClampCount(int32_t Count, int32_t Max)
{
    return Count < 0 ? 0 : Count > Max ? Max : Count;
}

bool IsMessageNumber(const std::string& Text)
{
    if (Text.empty())
        return false;
    for (char c : Text)
        if (c < '0' || c > '9')
            return false;
    return true;
}

std::string PageIniName(const std::string& FileName)
{
    std::string name = FileName.substr(FileName.find_last_of("\\/") + 1);
    name.resize(name.size() >= 4 ? name.size() - 4 : 0);
    return name + ".ini";
}

TStartStyle ReadObjectStyle(TIniSnapshot& Ini)
{
    return static_cast<TStartStyle>(IniNumber(Ini.Read("Tessel", "ObjectStyle")));
}

void LeaveOutPages(const TSuiteState& State)
{
    const std::vector<TPageCalls::TLeftCall>& left = State.PageCalls.LeftCalls();
    if (left.empty())
        return;
    platform::EditIniFile(State.IniPath, [&](TIniFile& Ini) {
        for (const TPageCalls::TLeftCall& call : left)
            Ini.Write(LeftOutSection, call.Page, call.Hung ? LeftOutHung : LeftOutEnded);
    });
}

int32_t LoadGroups(TSuiteState& State, TIniSnapshot& Ini)
{
    const int32_t groupCount = ClampCount(IniNumber(Ini.Read("Group", "groupcount")), MaxGroups);
    for (int32_t i = 0; i < groupCount; ++i) {
        TGroupRecord& group = State.GroupTable[i];
        const std::string section = Ini.Read("Group", std::to_string(i + 1));
        // The record holds 255 characters; the section itself is read by its full name.
        std::strncpy(group.Name, section.c_str(), sizeof group.Name - 1);
        group.Name[sizeof group.Name - 1] = '\0';
        group.PageCount = ClampCount(IniNumber(Ini.Read(section, "pagecount")), MaxPages);
        group.Style = IniNumber(Ini.Read(section, "style"));
        group.GroupId = IniNumber(Ini.Read(section, "groupid"));
        delete[] group.Pages;
        group.Pages = group.PageCount > 0 ? new TPageRecord[group.PageCount]() : nullptr;
        std::memset(group.PageUnavailable, 0, sizeof group.PageUnavailable);

        for (int32_t j = 0; j < group.PageCount; ++j) {
            TPageRecord& page = group.Pages[j];
            const std::string file = Ini.Read(section, std::to_string(j + 1));
            std::strncpy(page.FileName, file.c_str(), sizeof page.FileName - 1);
            const std::string leftOut = file.empty() ? std::string() : Ini.Read(LeftOutSection, file);
            if (leftOut.empty())
                CallPageModule(State.PagePath, State.PageCalls, group, j, cmdPageStart);
            else
                MarkPageUnavailable(group, j, lstrcmpiA(leftOut.c_str(), LeftOutHung) == 0 ? pageLeftOutHung
                                                                                           : pageLeftOutEnded);
        }
    }
    State.GroupCount = groupCount;
    return groupCount;
}

namespace {

// Keys "1", "2", ... of one section up to the first that is missing or empty,
// as the message table and the routing sections keep them: Add(Value) does
// what a scan from key 1 does (stop at Value, or write it at the first
// missing or empty key), answered from an index of the keys scanned so far.
// The index is right while nothing else writes into the section.
class TNumberedKeys {
public:
    TNumberedKeys(TIniFile& Ini, std::string Section) : FIni(Ini), FSection(std::move(Section)) { Advance(); }

    // The key holding Value, or 0.
    int Find(const std::string& Value) const
    {
        auto found = FValues.find(Value);
        return found == FValues.end() ? 0 : found->second;
    }
    // The first missing or empty key.
    int Gap() const { return FGap; }
    void Add(const std::string& Value)
    {
        FIni.Write(FSection, std::to_string(FGap), Value);
        FValues.try_emplace(Value, FGap);
        ++FGap;
        Advance();
    }

private:
    // Past the keys beyond the gap that a write closes.
    void Advance()
    {
        for (std::string value; !(value = FIni.Read(FSection, std::to_string(FGap))).empty(); ++FGap)
            FValues.try_emplace(value, FGap);
    }

    TIniFile& FIni;
    const std::string FSection;
    std::unordered_map<std::string, int> FValues;
    int FGap = 1;
};

// "Group"/"1".."9": the suite layout's sections.
std::unordered_set<std::string> GroupSections(TIniFile& Ini)
{
    std::unordered_set<std::string> names;
    for (int n = 1; n <= MaxGroups; ++n)
        names.insert(Ini.Read("Group", std::to_string(n)));
    return names;
}

class TMessageTables {
public:
    explicit TMessageTables(TIniFile& Ini) : FIni(Ini), FLayout(GroupSections(Ini)), FTable(Ini, "MESSAGE") {}

    int32_t MessageCount() const { return FMessageCount; }

    void RegisterMessage(const std::string& Text, int Group, int Page)
    {
        // Where a scan from key 1 stops. A full table takes no new number,
        // and a number it does not list gets no route.
        const int listed = FTable.Find(Text);
        if ((listed ? listed : FTable.Gap()) > MaxMessageEntries)
            return;
        if (!listed) {
            FTable.Add(Text);
            ++FMessageCount;
            FIni.Write("MESSAGE", "count", std::to_string(FMessageCount));
        }
        AddMessageRoute(Text, Group, Page);
    }

    void AddMessageRoute(const std::string& Text, int Group, int Page)
    {
        if (FLayout.count(Text))
            return;
        const std::string pair = std::to_string(Group) + "," + std::to_string(Page);
        TNumberedKeys& routes = FRoutes.try_emplace(Text, FIni, Text).first->second;
        if (!routes.Find(pair))
            routes.Add(pair);
    }

private:
    TIniFile& FIni;
    const std::unordered_set<std::string> FLayout;
    TNumberedKeys FTable;
    std::unordered_map<std::string, TNumberedKeys> FRoutes;
    int32_t FMessageCount = 0;
};

} // namespace

void ClearMessageTables(TIniFile& Ini)
{
    const std::unordered_set<std::string> layout = GroupSections(Ini);
    for (int k = 1;; ++k) {
        const std::string value = Ini.Read("MESSAGE", std::to_string(k));
        if (value.empty())
            break;
        // Only a number names a routing section, and not one of the layout's.
        if (IsMessageNumber(value) && !layout.count(value))
            Ini.EraseSection(value);
    }
    Ini.EraseSection("MESSAGE");
}

int32_t BuildMessageTables(TIniFile& Ini, const TSuiteState& State, int32_t GroupCount)
{
    ClearMessageTables(Ini);
    Ini.Write("MESSAGE", "count", "0");
    TMessageTables tables(Ini);
    for (int32_t i = 0; i < GroupCount; ++i) {
        const TGroupRecord& group = State.GroupTable[i];
        for (int32_t j = 0; j < group.PageCount; ++j) {
            // A page INI that cannot be read, or is not 8-bit text, lists no messages.
            std::string text;
            platform::ReadFileBytes(State.PagePath + PageIniName(group.Pages[j].FileName), text);
            TIniFile page(TIniFile::IsUtf16(text) ? std::string() : text);
            const int32_t count = ClampCount(IniNumber(page.Read("MESSAGE", "messagecount")), MaxPageMessages);
            for (int32_t n = 1; n <= count; ++n) {
                const std::string value = page.Read("MESSAGE", std::to_string(n));
                if (IsMessageNumber(value))
                    tables.RegisterMessage(value, i, j);
            }
        }
    }
    return tables.MessageCount();
}

std::vector<int32_t> LoadMessageIds(TIniFile& Ini, int32_t MessageCount)
{
    std::vector<int32_t> ids(static_cast<size_t>(MessageCount > 0 ? MessageCount : 0));
    for (int32_t k = 1; k <= MessageCount; ++k)
        ids[static_cast<size_t>(k - 1)] = IniNumber(Ini.Read("MESSAGE", std::to_string(k)));
    return ids;
}

std::vector<int32_t> RebuildMessageTables(const TSuiteState& State, int32_t GroupCount)
{
    // A file that cannot be read or written keeps what it holds; the tables
    // built here are forwarded all the same.
    std::vector<int32_t> ids;
    platform::EditIniFile(State.IniPath, [&](TIniFile& Ini) {
        ids = LoadMessageIds(Ini, BuildMessageTables(Ini, State, GroupCount));
    });
    return ids;
}

} // namespace tessel
