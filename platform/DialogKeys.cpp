#include "platform/DialogKeys.h"

namespace platform {

namespace {

// The key last pressed and the top-level window its first press went to;
// forgotten when this loop sees it go up.
struct THeldKey {
    WPARAM Key = 0;
    HWND Root = nullptr;
};
THeldKey Held;

bool IsModifier(WPARAM Key)
{
    return Key == VK_SHIFT || Key == VK_CONTROL || Key == VK_MENU;
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

bool IsDialogKey(const MSG& Msg)
{
    const WPARAM key = Msg.wParam;
    if (Msg.message == WM_KEYUP || Msg.message == WM_SYSKEYUP) {
        if (key == Held.Key)
            Held = {};
        return false;
    }
    if (Msg.message != WM_KEYDOWN && Msg.message != WM_SYSKEYDOWN)
        return false;
    const HWND focus = Msg.hwnd;
    const HWND root = focus ? GetAncestor(focus, GA_ROOT) : nullptr;
    if (!root)
        return false;
    if (!IsModifier(key)) {
        const bool repeat = (Msg.lParam & (1 << 30)) != 0;
        if (!repeat)
            Held = {key, root};
        else if (Held.Key != key || Held.Root != root)
            return true;
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
