// INI files on disk as the suite keeps them: read whole into the in-memory
// model (IniFile.h), edited there and, when that changed them, replaced
// whole. A replacement is written beside the file, flushed to the disk and
// then moved over it, so a process killed at any moment of a write, or a
// full disk, leaves the old file or the new one, never a cut or empty one.
// Every write of the suite's settings goes through EditIniFile.
#pragma once

#include "platform/IniFile.h"

#include <functional>
#include <string>

namespace platform {

// The bytes of the file at Path, none when it is missing; false when it
// exists but cannot be read.
bool ReadFileBytes(const std::string& Path, std::string& Bytes);
// Replaces the file at Path with Bytes (see above). A read-only file is not
// replaced. False on failure, which leaves the old file as it was.
bool ReplaceFileBytes(const std::string& Path, const std::string& Bytes);

// Reads the INI file at Path into the model (a missing file is an empty
// one), lets Edit change it and replaces the file when its text changed.
// A file that cannot be read, or that the model does not hold (UTF-16
// text), is handed to Edit as an empty model and left as it is. False when
// the file does not hold the edit.
bool EditIniFile(const std::string& Path, const std::function<void(TIniFile&)>& Edit);

} // namespace platform
