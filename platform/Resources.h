// Texts from the string table, and form texts, of the module this code is linked into.
#pragma once

#include <string>

namespace platform {

// Empty when the table has no such string.
std::string LoadStr(int Id);

// The form text stored under the class name (resource type RCDATA); false
// when there is none.
bool FindFormResource(const std::string& ClassName, std::string& Text);

} // namespace platform
