// Hidden top-level windows whose messages go to a callable: the message
// windows of timers, popup menus and the tray icon.
#pragma once

#include "platform/Messages.h"
#include "platform/Object.h"

namespace platform {

// The window is never shown. Every message after creation reaches Method;
// the window procedure answers Message.Result as the method leaves it, so
// the method itself decides what goes on to DefWindowProcA. An exception
// escaping the method goes to the application's standard display and the
// message is answered 0.
HWND AllocateHWnd(TWndMethod Method);
// Safe to call from inside the window's own method: the method stays alive
// until that call returns, and no further message reaches it.
void DeallocateHWnd(HWND Wnd);

// Shows the exception being handled through the application's standard
// display; the catch block at the edge of every window procedure of the
// framework (these windows, controls, the application window), where nothing
// may propagate into the system's code: it also holds when there is no
// application yet or the display itself fails.
void HandleWindowException(TObject* Sender);

} // namespace platform
