// Folders listed and looked at through the system's wide functions, with
// their paths in the long form ("\\?\C:\..."), so a path is too long only
// past the system's own limit of 32,767 characters, not at MAX_PATH. Names
// cross into the program in its narrow text encoding (platform/Encoding.h).
#pragma once

#include <cstdint>
#include <functional>
#include <string>

namespace platform {

// An entry of a folder as the listing found it.
struct TFoundItem {
    std::string Name;
    bool Folder = false;
    bool Link = false;  // a junction or symbolic link: listed, never entered
    uint64_t Bytes = 0; // a file's size
};

// Calls Found with every entry of Folder (a full path, with or without its
// last backslash) but "." and "..", until it returns false. Answers 0 when
// the folder was listed, else the system's error: ERROR_ACCESS_DENIED,
// ERROR_SHARING_VIOLATION, ERROR_PATH_NOT_FOUND (gone),
// ERROR_FILENAME_EXCED_RANGE (too long to open, also where the system's
// host has a shorter limit than the system) and the like. A drive
// without its medium answers with its error too, never a message box.
uint32_t ListFolder(const std::string& Folder, const std::function<bool(const TFoundItem&)>& Found);

// The attributes of a path of any length, INVALID_FILE_ATTRIBUTES when it
// cannot be reached.
uint32_t PathAttributes(const std::string& Path);

// Path made full (relative to the current folder, "." and ".." resolved)
// at any length, in the form it was given; empty when the system cannot.
std::string FullPath(const std::string& Path);
// Path with its short names (PROGRA~1) spelled out, or Path itself when it
// cannot be.
std::string LongNamePath(const std::string& Path);

} // namespace platform
