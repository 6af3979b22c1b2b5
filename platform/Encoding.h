// The one place where text changes encoding between the program, which
// keeps its text in the system's narrow (ANSI) code page, and the system's
// wide functions.
#pragma once

#include <string>

namespace platform {

// Characters the code page lacks become "?".
std::string Narrow(const std::wstring& Text);
std::wstring Wide(const std::string& Text);

} // namespace platform
