// Paths as the program resolves them for files it loads.
#pragma once

#include <string>

namespace platform {

// The full path of Relative within Folder, as the system resolves it
// (".." and the like included); empty when that lies outside Folder or is
// Folder itself, so a name read from a file cannot reach anything else.
std::string PathWithin(const std::string& Folder, const std::string& Relative);

} // namespace platform
