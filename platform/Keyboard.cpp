// Keyboard input and the focus: the key messages and what they become
// (key events, the context menu and help keys), the tab order
// and the focus's arrival and departure.
#include "platform/Application.h"
#include "platform/Control.h"
#include "platform/SystemServices.h"

#include <algorithm>

namespace platform {

TShiftState KeyboardShiftState()
{
    TShiftState shift;
    if (GetKeyState(VK_SHIFT) < 0) shift.Include(ssShift);
    if (GetKeyState(VK_CONTROL) < 0) shift.Include(ssCtrl);
    if (GetKeyState(VK_MENU) < 0) shift.Include(ssAlt);
    return shift;
}

// Shift+F10 asks for the context menu and F1 for help, as the system's own
// requests do; the default handling does not see them again.
bool TWinControl::WMKeyDown(TMessage& Message)
{
    WORD key = static_cast<WORD>(Message.WParam);
    const TShiftState shift = KeyboardShiftState();
    KeyDown(key, shift);
    if (key == 0)
        return true;
    if (key == VK_F10 && shift.Contains(ssShift)) {
        SendMessageA(FHandle, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(FHandle), -1);
        return true;
    }
    if (key == VK_F1 && shift == TShiftState{}) {
        HELPINFO info{sizeof(HELPINFO), HELPINFO_WINDOW, 0, FHandle, 0, SystemServices().CursorPos()};
        SendMessageA(FHandle, WM_HELP, 0, reinterpret_cast<LPARAM>(&info));
        return true;
    }
    Message.WParam = key;
    return false;
}

bool TWinControl::WMChar(TMessage& Message)
{
    char key = static_cast<char>(Message.WParam);
    KeyPress(key);
    if (key == 0)
        return true;
    Message.WParam = static_cast<unsigned char>(key);
    return false;
}

// The menu key asks for the context menu when it is released.
bool TWinControl::WMKeyUp(TMessage& Message)
{
    WORD key = static_cast<WORD>(Message.WParam);
    KeyUp(key, KeyboardShiftState());
    if (key == 0)
        return true;
    if (key == VK_APPS) {
        SendMessageA(FHandle, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(FHandle), -1);
        return true;
    }
    Message.WParam = key;
    return false;
}

// F1, or the system's help request for a control. The system hands it on to
// the parent windows itself: the first control to get it answers.
void TWinControl::WMHelp(TMessage& Message)
{
    const auto* info = reinterpret_cast<const HELPINFO*>(Message.LParam);
    TWinControl* asked =
        info->iContextType == HELPINFO_WINDOW ? FindControl(static_cast<HWND>(info->hItemHandle)) : nullptr;
    Application->ControlHelp(asked ? asked : this);
    Message.Result = 1;
}

void TWinControl::SetTabStop(bool Value)
{
    if (Value == FTabStop)
        return;
    FTabStop = Value;
    if (FHandle) {
        LONG style = GetWindowLongA(FHandle, GWL_STYLE);
        SetWindowLongA(FHandle, GWL_STYLE, Value ? (style | WS_TABSTOP) : (style & ~WS_TABSTOP));
    }
}

int TWinControl::TabOrder() const
{
    if (!Parent())
        return -1;
    const auto& list = Parent()->FTabList;
    return static_cast<int>(std::find(list.begin(), list.end(), this) - list.begin());
}

void TWinControl::SetTabOrder(int Value)
{
    if (!Parent() || Value < 0)
        return;
    auto& list = Parent()->FTabList;
    list.erase(std::remove(list.begin(), list.end(), this), list.end());
    const size_t at = std::min(static_cast<size_t>(Value), list.size());
    list.insert(list.begin() + static_cast<std::ptrdiff_t>(at), this);
    PlaceInTabOrder();
}

// Windows moves the focus through a window's children in their z-order:
// that order is kept the tab order, so that Tab follows TabOrder in every
// message loop, whichever module's the windows are.
void TWinControl::PlaceInTabOrder()
{
    if (!FHandle || !Parent())
        return;
    HWND after = nullptr;
    for (TWinControl* sibling : Parent()->FTabList) {
        if (sibling == this)
            break;
        if (sibling->FHandle)
            after = sibling->FHandle;
    }
    if (GetWindow(FHandle, GW_HWNDPREV) != after)
        SetWindowPos(FHandle, after ? after : HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

bool TWinControl::CanFocus() const
{
    for (const TControl* c = this; c; c = c->Parent())
        if (!c->Visible() || !c->Enabled())
            return false;
    return true;
}

void TWinControl::SetFocus()
{
    if (!CanFocus())
        throw EInvalidOperation("Cannot focus a disabled or invisible window");
    ::SetFocus(Handle());
}

bool TWinControl::Focused() const
{
    return FHandle && GetFocus() == FHandle;
}

void TWinControl::KeyDown(WORD& Key, TShiftState Shift)
{
    if (OnKeyDown)
        OnKeyDown(this, Key, Shift);
}

void TWinControl::KeyPress(char& Key)
{
    if (OnKeyPress)
        OnKeyPress(this, Key);
}

void TWinControl::KeyUp(WORD& Key, TShiftState Shift)
{
    if (OnKeyUp)
        OnKeyUp(this, Key, Shift);
}

void TWinControl::DoEnter()
{
    if (OnEnter)
        OnEnter(this);
}

void TWinControl::DoExit()
{
    if (OnExit)
        OnExit(this);
}

} // namespace platform
