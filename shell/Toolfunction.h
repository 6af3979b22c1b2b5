// Tool functions the shell's dialogs and checks share.
#pragma once

#include <string>

namespace tessel {

// Switch a privilege of the process's own token on or off; true exactly when
// the change was made (a privilege the account does not hold gives false).
bool EnablePrivilege(const std::string& Name);
bool DisablePrivilege(const std::string& Name);
// Asks Windows to restart at once (forced) when the shutdown privilege can be
// had; returns without waiting for it.
void RebootSystem();

} // namespace tessel
