#include "shell/SuiteIni.h"
#include "shell/SuiteModules.h"

#include "platform/Exceptions.h"

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
    WritePrivateProfileStringA(Section.c_str(), Key.c_str(), Value.c_str(), File.c_str());
}

void EraseIniSection(const std::string& File, const std::string& Section)
{
    WritePrivateProfileStringA(Section.c_str(), nullptr, nullptr, File.c_str());
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

int32_t ReadObjectStyle()
{
    return IniNumber(ReadIniValue(IniPath, "Tessel", "ObjectStyle"));
}

int32_t LoadGroups()
{
    const int32_t groupCount = ClampCount(IniNumber(ReadIniValue(IniPath, "Group", "groupcount")), MaxGroups);
    for (int32_t i = 0; i < groupCount; ++i) {
        TGroupRecord& group = GroupTable[i];
        const std::string section = ReadIniValue(IniPath, "Group", std::to_string(i + 1));
        // The record holds 255 characters; the section itself is read by its full name.
        std::strncpy(group.Name, section.c_str(), sizeof group.Name - 1);
        group.Name[sizeof group.Name - 1] = '\0';
        group.PageCount = ClampCount(IniNumber(ReadIniValue(IniPath, section, "pagecount")), MaxPages);
        group.Style = IniNumber(ReadIniValue(IniPath, section, "style"));
        group.GroupId = IniNumber(ReadIniValue(IniPath, section, "groupid"));
        delete[] group.Pages;
        group.Pages = group.PageCount > 0 ? new TPageRecord[group.PageCount]() : nullptr;

        for (int32_t j = 0; j < group.PageCount; ++j) {
            TPageRecord& page = group.Pages[j];
            const std::string file = ReadIniValue(IniPath, section, std::to_string(j + 1));
            std::strncpy(page.FileName, file.c_str(), sizeof page.FileName - 1);
            SendCommandOnce(PagePath + page.FileName, cmdPageStart, &page);
        }
    }
    return groupCount;
}

namespace {

// While the tables are rebuilt the shell is the only writer of Tessel.ini,
// so what the table and its routing sections hold is known without reading
// the file again, and each section can be written once at the end instead
// of key by key (the profile functions rewrite the whole file at every
// write). RegisterMessage and AddMessageRoute answer their scans from this
// mirror with the result a scan of the file would give; the file ends up the
// same, section for section and key for key. Reading and writing the file at
// every step makes start-up take many seconds for a full suite.
struct TTableMirror {
    struct TRoutes {
        int Count = 0;    // keys 1..Count are set
        int FileCount = 0; // of which the file held this many before
        std::unordered_set<std::string> Pairs;
        std::vector<std::string> Added;
    };
    std::vector<std::string> Entries;
    std::unordered_set<std::string> Listed;
    std::unordered_map<std::string, TRoutes> Routes;
    std::vector<std::string> RouteOrder; // in the order of their first pair
};

TTableMirror* Mirror = nullptr;

class TMirrorScope {
public:
    TMirrorScope() { Mirror = &FMirror; }
    ~TMirrorScope() { Mirror = nullptr; }

private:
    TTableMirror FMirror;
};

TTableMirror::TRoutes& MirroredRoutes(const std::string& Section)
{
    auto found = Mirror->Routes.find(Section);
    if (found != Mirror->Routes.end())
        return found->second;
    // A routing section no stale table listed is still in the file: continue it.
    TTableMirror::TRoutes routes;
    for (int k = 1; k <= MaxMessageEntries; ++k) {
        const std::string value = ReadIniValue(IniPath, Section, std::to_string(k));
        if (value.empty())
            break;
        routes.Count = routes.FileCount = k;
        routes.Pairs.insert(value);
    }
    Mirror->RouteOrder.push_back(Section);
    return Mirror->Routes.emplace(Section, std::move(routes)).first->second;
}

// "key=value" lines, each ending in a zero, and a closing zero.
void WriteIniSection(const std::string& Section, const std::vector<std::pair<std::string, std::string>>& Keys)
{
    std::string block;
    for (const auto& [key, value] : Keys) {
        block += key + "=" + value;
        block += '\0';
    }
    block += '\0';
    WritePrivateProfileSectionA(Section.c_str(), block.c_str(), IniPath.c_str());
}

void WriteMirror(const TTableMirror& Table)
{
    std::vector<std::pair<std::string, std::string>> keys{{"count", std::to_string(Table.Entries.size())}};
    for (size_t k = 0; k < Table.Entries.size(); ++k)
        keys.emplace_back(std::to_string(k + 1), Table.Entries[k]);
    WriteIniSection("MESSAGE", keys);
    for (const std::string& section : Table.RouteOrder) {
        const TTableMirror::TRoutes& routes = Table.Routes.at(section);
        if (routes.Added.empty())
            continue;
        if (routes.FileCount > 0) {
            // Keys of its own beyond the first gap stay as they are.
            for (size_t n = 0; n < routes.Added.size(); ++n)
                WriteIniValue(IniPath, section, std::to_string(routes.FileCount + 1 + static_cast<int>(n)),
                              routes.Added[n]);
            continue;
        }
        keys.clear();
        for (size_t n = 0; n < routes.Added.size(); ++n)
            keys.emplace_back(std::to_string(n + 1), routes.Added[n]);
        WriteIniSection(section, keys);
    }
}

} // namespace

void ClearMessageTables()
{
    for (int k = 1; k <= MaxMessageEntries; ++k) {
        const std::string value = ReadIniValue(IniPath, "MESSAGE", std::to_string(k));
        if (value.empty())
            break;
        // Only a number names a routing section: anything else may be a
        // section the user or the suite layout owns.
        if (IsMessageNumber(value))
            EraseIniSection(IniPath, value);
    }
    EraseIniSection(IniPath, "MESSAGE");
}

int32_t BuildMessageTables(int32_t GroupCount)
{
    ClearMessageTables();
    WriteIniValue(IniPath, "MESSAGE", "count", "0");
    TMirrorScope scope;
    int32_t messageCount = 0;
    for (int32_t i = 0; i < GroupCount; ++i) {
        const TGroupRecord& group = GroupTable[i];
        for (int32_t j = 0; j < group.PageCount; ++j) {
            const std::string pageIni = PagePath + PageIniName(group.Pages[j].FileName);
            const int32_t count =
                ClampCount(IniNumber(ReadIniValue(pageIni, "MESSAGE", "messagecount")), MaxPageMessages);
            for (int32_t n = 1; n <= count; ++n) {
                const std::string value = ReadIniValue(pageIni, "MESSAGE", std::to_string(n));
                if (IsMessageNumber(value))
                    RegisterMessage(value, i, j, messageCount);
            }
        }
    }
    WriteMirror(*Mirror);
    return messageCount;
}

void RegisterMessage(const std::string& Text, int Group, int Page, int32_t& MessageCount)
{
    bool listed = false;
    if (Mirror) {
        listed = Mirror->Listed.count(Text) > 0;
        if (!listed && static_cast<int>(Mirror->Entries.size()) < MaxMessageEntries) {
            Mirror->Entries.push_back(Text);
            Mirror->Listed.insert(Text);
            ++MessageCount;
            listed = true;
        }
    }
    for (int k = 1; k <= MaxMessageEntries && !listed && !Mirror; ++k) {
        const std::string key = std::to_string(k);
        const std::string value = ReadIniValue(IniPath, "MESSAGE", key);
        if (value.empty()) {
            WriteIniValue(IniPath, "MESSAGE", key, Text);
            ++MessageCount;
            WriteIniValue(IniPath, "MESSAGE", "count", std::to_string(MessageCount));
            listed = true;
        } else if (value == Text) {
            listed = true;
        }
    }
    // A full table takes no new number, and a number it does not list gets no route.
    if (listed)
        AddMessageRoute(Text, Group, Page);
}

void AddMessageRoute(const std::string& Text, int Group, int Page)
{
    const std::string pair = platform::Format("%d,%d", Group, Page);
    if (Mirror) {
        TTableMirror::TRoutes& routes = MirroredRoutes(Text);
        if (routes.Pairs.count(pair) || routes.Count >= MaxMessageEntries)
            return;
        ++routes.Count;
        routes.Pairs.insert(pair);
        routes.Added.push_back(pair);
        return;
    }
    for (int k = 1; k <= MaxMessageEntries; ++k) {
        const std::string key = std::to_string(k);
        const std::string value = ReadIniValue(IniPath, Text, key);
        if (value.empty()) {
            WriteIniValue(IniPath, Text, key, pair);
            return;
        }
        if (value == pair)
            return;
    }
}

std::vector<int32_t> LoadMessageIds(int32_t MessageCount)
{
    std::vector<int32_t> ids(static_cast<size_t>(MessageCount > 0 ? MessageCount : 0));
    for (int32_t k = 1; k <= MessageCount; ++k)
        ids[static_cast<size_t>(k - 1)] = IniNumber(ReadIniValue(IniPath, "MESSAGE", std::to_string(k)));
    return ids;
}

} // namespace tessel
