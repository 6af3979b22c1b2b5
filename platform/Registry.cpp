#include "platform/Registry.h"
#include "platform/ClassBuilder.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace platform {

const TClassInfo& TRegistry::StaticClassInfo()
{
    static const TClassInfo& info = TClassBuilder<TRegistry, TObject>("TRegistry").Build();
    return info;
}

namespace {

bool IsRelative(const std::string& key)
{
    return key.empty() || key[0] != '\\';
}

std::string StripLeadingBackslash(const std::string& key)
{
    return IsRelative(key) ? key : key.substr(1);
}

const REGSAM ReadRights = KEY_READ;

} // namespace

TRegistry::~TRegistry()
{
    CloseKey();
}

void TRegistry::SetRootKey(HKEY Value)
{
    if (Value == FRootKey)
        return;
    CloseKey();
    FRootKey = Value;
}

HKEY TRegistry::BaseKey(bool Relative) const
{
    return Relative && FCurrentKey ? FCurrentKey : FRootKey;
}

bool TRegistry::Open(const std::string& Key, REGSAM Rights, bool CanCreate)
{
    const bool relative = IsRelative(Key);
    const std::string path = StripLeadingBackslash(Key);
    HKEY key = nullptr;
    LONG result;
    if (CanCreate)
        result = RegCreateKeyExA(BaseKey(relative), path.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, Rights,
                                 nullptr, &key, nullptr);
    else
        result = RegOpenKeyExA(BaseKey(relative), path.c_str(), 0, Rights, &key);
    if (result != ERROR_SUCCESS)
        return false;
    std::string newPath = path;
    if (relative && FCurrentKey && !FCurrentPath.empty())
        newPath = path.empty() ? FCurrentPath : FCurrentPath + "\\" + path;
    CloseKey();
    FCurrentKey = key;
    FCurrentPath = newPath;
    return true;
}

bool TRegistry::OpenKey(const std::string& Key, bool CanCreate)
{
    return Open(Key, FAccess, CanCreate);
}

bool TRegistry::OpenKeyReadOnly(const std::string& Key)
{
    return Open(Key, ReadRights, false);
}

void TRegistry::CloseKey()
{
    if (FCurrentKey)
        RegCloseKey(FCurrentKey);
    FCurrentKey = nullptr;
    FCurrentPath.clear();
}

bool TRegistry::KeyExists(const std::string& Key)
{
    HKEY key = nullptr;
    const LONG result = RegOpenKeyExA(BaseKey(IsRelative(Key)), StripLeadingBackslash(Key).c_str(), 0,
                                      KEY_QUERY_VALUE, &key);
    if (result == ERROR_SUCCESS)
        RegCloseKey(key);
    return result == ERROR_SUCCESS || result == ERROR_ACCESS_DENIED;
}

namespace {

// Sub-keys go first: the system deletes only keys without any.
bool DeleteTree(HKEY base, const std::string& path)
{
    HKEY key = nullptr;
    if (RegOpenKeyExA(base, path.c_str(), 0, KEY_ENUMERATE_SUB_KEYS | KEY_QUERY_VALUE, &key) != ERROR_SUCCESS)
        return false;
    std::vector<std::string> children;
    for (DWORD index = 0;; ++index) {
        char name[256]; // key names are at most 255 characters
        DWORD length = sizeof name;
        const LONG result = RegEnumKeyExA(key, index, name, &length, nullptr, nullptr, nullptr, nullptr);
        if (result != ERROR_SUCCESS)
            break;
        children.emplace_back(name, length);
    }
    bool ok = true;
    for (const std::string& child : children)
        ok = DeleteTree(key, child) && ok;
    RegCloseKey(key);
    return ok && RegDeleteKeyA(base, path.c_str()) == ERROR_SUCCESS;
}

} // namespace

bool TRegistry::DeleteKey(const std::string& Key)
{
    const std::string path = StripLeadingBackslash(Key);
    // An empty path would name the base key itself.
    if (path.empty() || path.find_first_not_of('\\') == std::string::npos)
        return false;
    return DeleteTree(BaseKey(IsRelative(Key)), path);
}

std::string TRegistry::ReadString(const std::string& Name)
{
    for (;;) {
        DWORD type = 0;
        DWORD size = 0;
        LONG result = RegQueryValueExA(FCurrentKey, Name.c_str(), nullptr, &type, nullptr, &size);
        if (result != ERROR_SUCCESS)
            return std::string();
        if (type != REG_SZ && type != REG_EXPAND_SZ)
            throw ERegistryException("Invalid data type for '" + Name + "'");
        // One spare zero: stored text need not end with one.
        std::vector<char> buffer(size + 1, '\0');
        DWORD read = size;
        result = RegQueryValueExA(FCurrentKey, Name.c_str(), nullptr, &type,
                                  reinterpret_cast<BYTE*>(buffer.data()), &read);
        if (result == ERROR_MORE_DATA)
            continue; // changed in between: measure again
        if (result != ERROR_SUCCESS)
            return std::string();
        if (type != REG_SZ && type != REG_EXPAND_SZ)
            throw ERegistryException("Invalid data type for '" + Name + "'");
        const size_t length = std::min<size_t>(read, size);
        return std::string(buffer.data(), strnlen(buffer.data(), length));
    }
}

void TRegistry::WriteString(const std::string& Name, const std::string& Value)
{
    const LONG result = RegSetValueExA(FCurrentKey, Name.c_str(), 0, REG_SZ,
                                       reinterpret_cast<const BYTE*>(Value.c_str()),
                                       static_cast<DWORD>(Value.size() + 1));
    if (result != ERROR_SUCCESS)
        throw ERegistryException("Failed to set data for '" + Name + "'");
}

bool TRegistry::ValueExists(const std::string& Name)
{
    return RegQueryValueExA(FCurrentKey, Name.c_str(), nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
}

} // namespace platform
