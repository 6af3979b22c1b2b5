#include "platform/DialogKeys.h"

#include <cstdint>
#include <iterator>

namespace platform {

namespace {

// The keys that press things, which a window must not take from a press
// that began before it was active.
constexpr WPARAM PressKeys[] = {VK_RETURN, VK_SPACE, VK_ESCAPE};
// A window property: the press keys (bit i for PressKeys[i]) that were down
// when the window became active and have not been let go since. A property
// of the window, not a variable, because the loop that sees the keys may
// belong to another module's copy of this code than the window does.
const char* const HeldProperty = "platform.HeldKeys";

uintptr_t KeyBit(WPARAM Key)
{
    for (size_t i = 0; i < std::size(PressKeys); ++i)
        if (PressKeys[i] == Key)
            return uintptr_t{1} << i;
    return 0;
}

bool IsPushButton(UINT Code)
{
    return (Code & (DLGC_DEFPUSHBUTTON | DLGC_UNDEFPUSHBUTTON)) != 0;
}

UINT DialogCode(HWND Wnd, const MSG* Msg)
{
    return static_cast<UINT>(
        SendMessageA(Wnd, WM_GETDLGCODE, Msg ? Msg->wParam : 0, reinterpret_cast<LPARAM>(Msg)));
}

void Focus(HWND Wnd)
{
    if (Wnd && Wnd != GetFocus())
        SetFocus(Wnd);
}

// The next (or previous) push button beside From, in tab order and round
// the end: the arrows stay in one row of buttons.
HWND NextButton(HWND Root, HWND From, bool Back)
{
    const HWND parent = GetParent(From);
    HWND first = nullptr;
    for (HWND next = GetNextDlgTabItem(Root, From, Back); next && next != From && next != first;
         next = GetNextDlgTabItem(Root, next, Back)) {
        if (!first)
            first = next;
        if (GetParent(next) == parent && IsPushButton(DialogCode(next, nullptr)))
            return next;
    }
    return nullptr;
}

} // namespace

UINT DialogKeyMessage()
{
    static const UINT message = RegisterWindowMessageA("platform.DialogKey");
    return message;
}

void NoteHeldKeys(HWND Window)
{
    uintptr_t held = 0;
    for (WPARAM key : PressKeys)
        if (GetKeyState(static_cast<int>(key)) < 0)
            held |= KeyBit(key);
    if (held)
        SetPropA(Window, HeldProperty, reinterpret_cast<HANDLE>(held));
    else
        RemovePropA(Window, HeldProperty);
}

bool IsDialogKey(const MSG& Msg)
{
    const WPARAM key = Msg.wParam;
    const bool down = Msg.message == WM_KEYDOWN || Msg.message == WM_SYSKEYDOWN;
    if (!down && Msg.message != WM_KEYUP && Msg.message != WM_SYSKEYUP)
        return false;
    const HWND focus = Msg.hwnd;
    const HWND root = focus ? GetAncestor(focus, GA_ROOT) : nullptr;
    if (!root)
        return false;
    // A press that began before the window was active is not the window's.
    if (const uintptr_t bit = KeyBit(key)) {
        const auto held = reinterpret_cast<uintptr_t>(GetPropA(root, HeldProperty));
        if (held & bit) {
            if (!down)
                NoteHeldKeys(root);
            return true;
        }
    }
    if (Msg.message != WM_KEYDOWN)
        return false;

    const UINT code = DialogCode(focus, &Msg);
    if (code & (DLGC_WANTALLKEYS | DLGC_WANTMESSAGE))
        return false;
    const bool ctrl = GetKeyState(VK_CONTROL) < 0, shift = GetKeyState(VK_SHIFT) < 0;
    if ((key == VK_TAB || key == VK_RETURN || key == VK_ESCAPE || ctrl) &&
        SendMessageA(root, DialogKeyMessage(), key, 0) != 0)
        return true;

    switch (key) {
    case VK_TAB:
        if (ctrl || (code & DLGC_WANTTAB))
            return false;
        Focus(GetNextDlgTabItem(root, focus == root ? nullptr : focus, shift));
        return true;
    case VK_RETURN:
        if (!IsPushButton(code))
            return false;
        SendMessageA(focus, BM_CLICK, 0, 0);
        return true;
    case VK_LEFT:
    case VK_UP:
    case VK_RIGHT:
    case VK_DOWN:
        if (!IsPushButton(code) || (code & DLGC_WANTARROWS))
            return false;
        Focus(NextButton(root, focus, key == VK_LEFT || key == VK_UP));
        return true;
    }
    return false;
}

} // namespace platform
