// The keys that work a window's controls rather than the control that has
// the focus: Tab and Shift+Tab move the focus, Enter presses a focused push
// button, the arrows move between push buttons, and the top-level window may
// claim a key for itself before the focused control sees it (Esc, Enter, Tab
// and Ctrl shortcuts).
//
// All of it goes through Win32's own means: the window styles WS_TABSTOP and
// WS_EX_CONTROLPARENT, WM_GETDLGCODE, GetNextDlgTabItem, BM_CLICK and a
// registered message. A module that carries its own copy of this framework
// makes windows that the program's copy cannot see as controls, and every
// message loop on the thread handles the messages of every window on it: so
// each loop routes the keys of any window, the windows of other modules and
// the system's controls included.
#pragma once

#include "platform/Win32.h"

namespace platform {

// The message a top-level window receives to claim a key (wParam, the
// virtual-key code) before the focused control sees it; it answers non-zero
// when it took the key. Registered, so that it has one number in every
// module and no window that does not know it mistakes it for its own.
UINT DialogKeyMessage();

// Sees every message before the loop translates and dispatches it; true when
// the message has been handled here (or dropped) and must go no further.
bool IsDialogKey(const MSG& Msg);

// Notes on Window, a top-level window becoming active, which of Enter, Space
// and Esc are down: until each is let go, its auto-repeat never reaches the
// window. A window that opens under a held key (a question asked by the
// button that was pressed) does not take the repeats as its answer.
void NoteHeldKeys(HWND Window);

} // namespace platform
