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

} // namespace platform
