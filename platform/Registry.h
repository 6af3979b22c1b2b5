// Access to the system registry: one open key at a time under a root key.
#pragma once

#include "platform/Object.h"
#include "platform/Win32.h"

#include <string>

namespace platform {

class TRegistry : public TObject {
    PLATFORM_CLASS(TRegistry, TObject)
public:
    TRegistry() = default;
    explicit TRegistry(REGSAM AAccess) : FAccess(AAccess) {}
    ~TRegistry() override;

    HKEY RootKey() const { return FRootKey; }
    // Closes the current key when the root changes.
    void SetRootKey(HKEY Value);
    // The rights OpenKey asks for.
    REGSAM Access() const { return FAccess; }
    void SetAccess(REGSAM Value) { FAccess = Value; }
    HKEY CurrentKey() const { return FCurrentKey; }
    const std::string& CurrentPath() const { return FCurrentPath; }

    // Paths starting with a backslash are taken from the root key, others
    // from the current key if one is open. A key that exists but cannot be
    // opened with Access gives false, as does a missing key unless CanCreate.
    bool OpenKey(const std::string& Key, bool CanCreate);
    // Opens with read rights only, whatever Access says.
    bool OpenKeyReadOnly(const std::string& Key);
    void CloseKey();
    // True also for a key that exists but may not be read.
    bool KeyExists(const std::string& Key);
    // Deletes the key with everything below it; false when that failed or
    // the path names no key below the base (an empty path).
    bool DeleteKey(const std::string& Key);

    // Values of the current key. A missing value reads as empty text; a
    // value of another type raises ERegistryException, as does a failed write.
    std::string ReadString(const std::string& Name);
    void WriteString(const std::string& Name, const std::string& Value);
    bool ValueExists(const std::string& Name);

private:
    HKEY BaseKey(bool Relative) const;
    bool Open(const std::string& Key, REGSAM Rights, bool CanCreate);

    HKEY FRootKey = HKEY_CURRENT_USER;
    REGSAM FAccess = KEY_ALL_ACCESS;
    HKEY FCurrentKey = nullptr;
    std::string FCurrentPath;
};

} // namespace platform
