// An INI file read whole once into the in-memory model (IniFile.h) and read
// from there: the profile functions' reads, without their parsing the whole
// file again at each read while it is fresh. A file the model does not hold
// (UTF-16 text), or that cannot be read, is read through the profile
// functions themselves. A snapshot does not follow later writes: take
// another after the file may have changed.
#pragma once

#include "platform/IniFile.h"

#include <optional>
#include <string>

namespace platform {

class TIniSnapshot {
public:
    explicit TIniSnapshot(std::string Path);
    // As a read into a BufferSize-byte buffer returns it.
    std::string Read(const std::string& Section, const std::string& Key, int BufferSize = IniValueSize);

private:
    std::string FPath;
    std::optional<TIniFile> FIni;
};

} // namespace platform
