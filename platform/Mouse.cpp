// Mouse input of controls: the messages and what they become (presses,
// clicks, moves), the mouse capture, the routing of a window's mouse
// messages to its graphic children, the cursor shown over them and the
// context menu asked for with the mouse or the keyboard.
#include "platform/Action.h"
#include "platform/Application.h"
#include "platform/Control.h"
#include "platform/Menu.h"

#include <windowsx.h>

namespace platform {

namespace {

TControl* GCaptureControl = nullptr;

int MouseX(LPARAM L) { return GET_X_LPARAM(L); }
int MouseY(LPARAM L) { return GET_Y_LPARAM(L); }

bool IsMouseMessage(UINT Msg)
{
    return (Msg >= WM_MOUSEMOVE && Msg <= WM_MBUTTONDBLCLK) && Msg != WM_MOUSEWHEEL;
}

} // namespace

TShiftState KeysToShiftState(WPARAM Keys)
{
    TShiftState shift;
    if (Keys & MK_SHIFT) shift.Include(ssShift);
    if (Keys & MK_CONTROL) shift.Include(ssCtrl);
    if (Keys & MK_LBUTTON) shift.Include(ssLeft);
    if (Keys & MK_RBUTTON) shift.Include(ssRight);
    if (Keys & MK_MBUTTON) shift.Include(ssMiddle);
    if (GetKeyState(VK_MENU) < 0) shift.Include(ssAlt);
    return shift;
}

TControl* CaptureControl()
{
    return GCaptureControl;
}

TControl* ControlAtScreenPos(TPoint Pos)
{
    TWinControl* window = FindControl(WindowFromPoint(Pos));
    if (!window)
        return nullptr;
    TControl* child = window->ControlAtPos(window->ScreenToClient(Pos), false);
    return child ? child : window;
}

bool TControl::MouseCapture() const
{
    return GCaptureControl == this;
}

void TControl::SetMouseCapture(bool Value)
{
    if (Value == MouseCapture())
        return;
    if (Value) {
        HWND window = nullptr;
        if (auto* self = dynamic_cast<TWinControl*>(this))
            window = self->Handle();
        else if (FParent)
            window = FParent->Handle();
        if (!window)
            return;
        // The window keeps a capture it already has, so no capture-changed message
        // is sent to it for handing it from one of its controls to another.
        GCaptureControl = this;
        if (GetCapture() != window)
            SetCapture(window);
    } else {
        // The capture-changed message still finds this control as the one losing it.
        ReleaseCapture();
        if (GCaptureControl == this)
            GCaptureControl = nullptr;
    }
}

void TControl::ForgetCapture()
{
    if (GCaptureControl != this)
        return;
    GCaptureControl = nullptr;
    ReleaseCapture();
}

void TControl::WndProc(TMessage& Message)
{
    if (IsMouseMessage(Message.Msg) || Message.Msg == WM_KEYDOWN || Message.Msg == WM_SYSKEYDOWN) {
        Application->HintMessage(this, Message);
        if (DragMessage(Message))
            return;
    }
    // Without double-click recognition a quick second press is an ordinary press.
    if (Message.Msg == WM_LBUTTONDBLCLK && !FControlStyle.Contains(csDoubleClicks))
        Message.Msg = WM_LBUTTONDOWN;
    Dispatch(Message);
}

void TControl::Dispatch(TMessage& Message)
{
    switch (Message.Msg) {
    case WM_LBUTTONDOWN: HandleMouseButton(Message, mbLeft, true, false); return;
    case WM_LBUTTONDBLCLK: HandleMouseButton(Message, mbLeft, true, true); return;
    case WM_LBUTTONUP: HandleMouseButton(Message, mbLeft, false, false); return;
    case WM_RBUTTONDOWN: HandleMouseButton(Message, mbRight, true, false); return;
    case WM_RBUTTONDBLCLK: HandleMouseButton(Message, mbRight, true, true); return;
    case WM_RBUTTONUP: HandleMouseButton(Message, mbRight, false, false); return;
    case WM_MBUTTONDOWN: HandleMouseButton(Message, mbMiddle, true, false); return;
    case WM_MBUTTONDBLCLK: HandleMouseButton(Message, mbMiddle, true, true); return;
    case WM_MBUTTONUP: HandleMouseButton(Message, mbMiddle, false, false); return;
    case WM_CONTEXTMENU: WMContextMenu(Message); return;
    case WM_MOUSEMOVE:
        DefaultHandler(Message);
        MouseMove(KeysToShiftState(Message.WParam), MouseX(Message.LParam), MouseY(Message.LParam));
        return;
    default:
        DefaultHandler(Message);
    }
}

// The left button captures the mouse while it is down; a click needs the
// button to go down and up over the control; the capture is released before
// Click and MouseUp run.
void TControl::HandleMouseButton(TMessage& Message, TMouseButton Button, bool Down, bool Double)
{
    DefaultHandler(Message);
    TShiftState shift = KeysToShiftState(Message.WParam);
    if (Double)
        shift.Include(ssDouble);
    const int x = MouseX(Message.LParam), y = MouseY(Message.LParam);
    if (Down) {
        if (Button == mbLeft) {
            if (FControlStyle.Contains(csCaptureMouse))
                SetMouseCapture(true);
            FControlState.Exclude(csClicked);
            if (Double) {
                if (FControlStyle.Contains(csClickEvents))
                    DblClick();
            } else if (FControlStyle.Contains(csClickEvents)) {
                FControlState.Include(csClicked);
            }
        }
        MouseDown(Button, shift, x, y);
        return;
    }
    if (Button == mbLeft) {
        if (FControlStyle.Contains(csCaptureMouse))
            SetMouseCapture(false);
        if (FControlState.Contains(csClicked)) {
            FControlState.Exclude(csClicked);
            const TRect client = ClientRect();
            const POINT p{x, y};
            if (PtInRect(&client, p))
                Click();
        }
    }
    MouseUp(Button, shift, x, y);
}

void TControl::WMContextMenu(TMessage& Message)
{
    const bool byKeyboard = Message.LParam == -1;
    const TPoint screen = Point(GET_X_LPARAM(Message.LParam), GET_Y_LPARAM(Message.LParam));
    bool handled = false;
    DoContextPopup(byKeyboard ? Point(-1, -1) : ScreenToClient(screen), handled);
    if (handled) {
        Message.Result = 1;
        return;
    }
    if (FPopupMenu && FPopupMenu->AutoPopup()) {
        const TPoint at = byKeyboard ? ClientToScreen(Point(0, 0)) : screen;
        FPopupMenu->SetPopupComponent(this);
        FPopupMenu->Popup(at.x, at.y);
        Message.Result = 1;
        return;
    }
    // A window's default handling passes the request on to its parent window.
    DefaultHandler(Message);
}

void TControl::DoContextPopup(TPoint MousePos, bool& Handled)
{
    if (OnContextPopup)
        OnContextPopup(this, MousePos, Handled);
}

// A linked action with a handler of its own does the click's work.
void TControl::Click()
{
    if (FAction && FAction->OnExecute)
        FAction->Execute();
    else if (OnClick)
        OnClick(this);
}

void TControl::DblClick()
{
    if (OnDblClick)
        OnDblClick(this);
}

void TControl::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    if (OnMouseDown)
        OnMouseDown(this, Button, Shift, X, Y);
}

void TControl::MouseMove(TShiftState Shift, int X, int Y)
{
    if (OnMouseMove)
        OnMouseMove(this, Shift, X, Y);
}

void TControl::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    if (OnMouseUp)
        OnMouseUp(this, Button, Shift, X, Y);
}

void TWinControl::WndProc(TMessage& Message)
{
    switch (Message.Msg) {
    case WM_SETCURSOR:
        if (LOWORD(Message.LParam) == HTCLIENT && reinterpret_cast<HWND>(Message.WParam) == FHandle) {
            POINT p;
            GetCursorPos(&p);
            ::ScreenToClient(FHandle, &p);
            TControl* over = ControlAtPos(p, true);
            if (!over)
                over = this;
            if (HCURSOR cursor = CursorHandle(over->Cursor())) {
                ::SetCursor(cursor);
                Message.Result = TRUE;
                return;
            }
        }
        break;
    case WM_CAPTURECHANGED:
        // A graphic child holding the capture for this window hears of its loss.
        if (GCaptureControl && GCaptureControl != this && GCaptureControl->FParent == this) {
            TControl* losing = GCaptureControl;
            GCaptureControl = nullptr;
            losing->Perform(Message.Msg, Message.WParam, Message.LParam);
        } else if (GCaptureControl == this) {
            GCaptureControl = nullptr;
        }
        break;
    default:
        if (IsMouseMessage(Message.Msg) && RouteMouseToChild(Message))
            return;
    }
    TControl::WndProc(Message);
}

bool TWinControl::RouteMouseToChild(TMessage& Message)
{
    TControl* target = nullptr;
    if (GetCapture() == FHandle) {
        if (GCaptureControl && GCaptureControl != this && GCaptureControl->FParent == this)
            target = GCaptureControl;
    } else {
        target = ControlAtPos(Point(MouseX(Message.LParam), MouseY(Message.LParam)), false);
    }
    if (!target)
        return false;
    const int x = MouseX(Message.LParam) - target->Left(), y = MouseY(Message.LParam) - target->Top();
    Message.Result = target->Perform(Message.Msg, Message.WParam, MAKELPARAM(x, y));
    // The window's default handling turns a right-button release over a
    // graphic child into a context-menu request, which comes back for the child.
    if (Message.Msg == WM_RBUTTONUP && Message.Result == 0 && FHandle)
        DefaultHandler(Message);
    return true;
}

bool TWinControl::ContextMenuToChild(TMessage& Message)
{
    if (Message.LParam == -1)
        return false;
    const TPoint p = ScreenToClient(Point(GET_X_LPARAM(Message.LParam), GET_Y_LPARAM(Message.LParam)));
    TControl* child = ControlAtPos(p, false);
    if (!child)
        return false;
    Message.Result = child->Perform(Message.Msg, Message.WParam, Message.LParam);
    return Message.Result != 0;
}

} // namespace platform
