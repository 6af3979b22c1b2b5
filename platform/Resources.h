// Texts from the string table of the module this code is linked into.
#pragma once

#include <string>

namespace platform {

// Empty when the table has no such string.
std::string LoadStr(int Id);

} // namespace platform
