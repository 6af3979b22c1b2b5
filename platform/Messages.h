// A window message as the framework's message handlers see it.
#pragma once

#include "platform/Win32.h"

#include <functional>

namespace platform {

struct TMessage {
    UINT Msg = 0;
    WPARAM WParam = 0;
    LPARAM LParam = 0;
    LRESULT Result = 0;
};

using TWndMethod = std::function<void(TMessage&)>;

// A notification that a system control sends its parent (WM_COMMAND,
// WM_CTLCOLOREDIT, ...) comes back to the control as CN_BASE + the message.
constexpr UINT CN_BASE = WM_APP + 0x3C00;
constexpr UINT CN_COMMAND = CN_BASE + WM_COMMAND;
constexpr UINT CN_CTLCOLOREDIT = CN_BASE + WM_CTLCOLOREDIT;
constexpr UINT CN_CTLCOLORSTATIC = CN_BASE + WM_CTLCOLORSTATIC;

} // namespace platform
