// Dragging one control onto another of the same program, or onto a dock
// site (Dock.cpp). One drag at a time: its state lives here. While a drag is
// under way a hidden window holds the mouse capture, so every pointer
// message comes to the drag wherever the pointer is; keys still go to the
// focused control, which hands Escape here.
#include "platform/Control.h"
#include "platform/ClassBuilder.h"
#include "platform/Dock.h"
#include "platform/SystemServices.h"
#include "platform/UtilWindow.h"

#include <cstdlib>
#include <windowsx.h>

namespace platform {

const TClassInfo& TDragObject::StaticClassInfo()
{
    static const TClassInfo& info = TClassBuilder<TDragObject, TObject>("TDragObject").Build();
    return info;
}

namespace {

struct TDrag {
    TControl* Control = nullptr;   // the control dragged; null when no drag is under way
    TDragObject* Object = nullptr; // what OnStartDrag handed out, if anything
    TDragDockObject* Dock = nullptr; // a dock drag's own: what dock sites see
    bool OwnDock = false;          // made here, not handed out by OnStartDock
    bool Started = false;          // false while waiting for the pointer to move far enough
    bool Finishing = false;        // the drop or cancel is being delivered
    TPoint StartPos{};
    int Threshold = 0;
    TPoint Pos{};                  // the pointer's last position, on the screen
    TControl* Target = nullptr;    // the control under the pointer
    bool Accepted = false;         // what the target answered last
    HWND Window = nullptr;         // holds the capture while the drag is under way
};

TDrag GDrag;

TObject* DragSource()
{
    if (GDrag.Dock)
        return GDrag.Dock;
    return GDrag.Object ? static_cast<TObject*>(GDrag.Object) : GDrag.Control;
}


} // namespace

void TControl::BeginDrag(bool Immediate, int Threshold)
{
    // A drag under way goes on; one still waiting for the pointer gives way.
    if (GDrag.Started || GDrag.Finishing)
        return;
    GDrag = TDrag{};
    GDrag.Control = this;
    GDrag.StartPos = SystemServices().CursorPos();
    GDrag.Threshold = Threshold >= 0 ? Threshold : GetSystemMetrics(SM_CXDRAG);
    if (Immediate)
        DragStart(GDrag.StartPos);
}

void TControl::EndDrag(bool Drop)
{
    if (GDrag.Control == this && !GDrag.Finishing)
        DragDone(Drop);
}

bool TControl::Dragging() const
{
    return GDrag.Control == this && GDrag.Started;
}

void TControl::DragStart(TPoint ScreenPos)
{
    TControl* source = GDrag.Control;
    GDrag.Started = true;
    TDragObject* object = nullptr;
    const bool dock = source->FDragKind == dkDock;
    if (dock)
        source->DoStartDock(object);
    else
        source->DoStartDrag(object);
    if (GDrag.Control != source || GDrag.Finishing)
        return; // ended or abandoned by the handler
    if (dock) {
        GDrag.Dock = dynamic_cast<TDragDockObject*>(object);
        GDrag.OwnDock = !GDrag.Dock;
        if (GDrag.OwnDock)
            GDrag.Dock = new TDragDockObject(source);
        GDrag.Dock->Begin(GDrag.StartPos);
    } else {
        GDrag.Object = object;
    }
    GDrag.Window = AllocateHWnd([](TMessage& Message) { DragWindowMessage(Message); });
    // The control that held the capture hears that it lost it.
    SetCapture(GDrag.Window);
    DragTo(ScreenPos);
}

void TControl::DragTo(TPoint ScreenPos)
{
    GDrag.Pos = ScreenPos;
    TControl* target = GDrag.Dock ? GDrag.Dock->SiteAt(ScreenPos) : ControlAtScreenPos(ScreenPos);
    TDragState state = dsDragMove;
    if (target != GDrag.Target) {
        if (TControl* left = GDrag.Target) {
            bool ignored = false;
            DragOverTarget(left, ScreenPos, dsDragLeave, ignored);
        }
        GDrag.Target = target;
        state = dsDragEnter;
    }
    GDrag.Accepted = false;
    if (target && GDrag.Target == target)
        DragOverTarget(target, ScreenPos, state, GDrag.Accepted);
    if (!GDrag.Control)
        return;
    if (GDrag.Dock) {
        GDrag.Dock->MovedTo(ScreenPos, GDrag.Accepted ? static_cast<TWinControl*>(GDrag.Target) : nullptr);
        ::SetCursor(CursorHandle(crArrow));
    } else {
        ::SetCursor(CursorHandle(GDrag.Accepted ? GDrag.Control->DragCursor() : crNoDrop));
    }
}

void TControl::DragOverTarget(TControl* Target, TPoint ScreenPos, TDragState State, bool& Accept)
{
    // A dock drag goes to dock sites only; they accept unless they say otherwise.
    const TPoint p = Target->ScreenToClient(ScreenPos);
    if (GDrag.Dock) {
        Accept = true;
        static_cast<TWinControl*>(Target)->DockOver(GDrag.Dock, p.x, p.y, State, Accept);
    } else {
        Target->DragOver(DragSource(), p.x, p.y, State, Accept);
    }
}

void TControl::DragDone(bool Drop)
{
    GDrag.Finishing = true;
    if (GDrag.Window) {
        ReleaseCapture();
        DeallocateHWnd(GDrag.Window);
        GDrag.Window = nullptr;
    }
    if (TDragDockObject* dock = GDrag.Dock) {
        TControl* site = GDrag.Target;
        if (site && !(Drop && GDrag.Accepted)) {
            bool ignored = false;
            DragOverTarget(site, GDrag.Pos, dsDragLeave, ignored);
            site = nullptr;
        }
        const bool own = GDrag.OwnDock;
        dock->Finish(GDrag.Pos, static_cast<TWinControl*>(site), Drop);
        if (own)
            delete dock;
        GDrag = TDrag{};
        return;
    }
    // Handlers may free the controls involved: DragControlGone clears them here.
    TControl* dropTarget = nullptr;
    TPoint p{};
    if (TControl* target = GDrag.Target) {
        p = target->ScreenToClient(GDrag.Pos);
        if (Drop && GDrag.Accepted) {
            dropTarget = target;
            target->DragDrop(DragSource(), p.x, p.y);
        } else {
            bool ignored = false;
            target->DragOver(DragSource(), p.x, p.y, dsDragLeave, ignored);
        }
    }
    if (GDrag.Control && GDrag.Started) {
        if (dropTarget && GDrag.Target != dropTarget)
            dropTarget = nullptr;
        GDrag.Control->DoEndDrag(dropTarget, dropTarget ? p.x : 0, dropTarget ? p.y : 0);
    }
    GDrag = TDrag{};
}

bool TControl::DragMessage(TMessage& Message)
{
    if (!GDrag.Control) {
        const bool press = Message.Msg == WM_LBUTTONDOWN || Message.Msg == WM_LBUTTONDBLCLK;
        if (press && FDragMode == dmAutomatic && !ComponentState().Contains(csDesigning)) {
            BeginDrag(true);
            return true;
        }
        return false;
    }
    if (GDrag.Finishing)
        return false;
    const bool key = Message.Msg == WM_KEYDOWN || Message.Msg == WM_SYSKEYDOWN;
    if (GDrag.Started && key && Message.WParam == VK_ESCAPE) {
        DragDone(false);
        return true;
    }
    if (GDrag.Started || GDrag.Control != this)
        return false;
    if (Message.Msg == WM_MOUSEMOVE) {
        const TPoint p = ClientToScreen(Point(GET_X_LPARAM(Message.LParam), GET_Y_LPARAM(Message.LParam)));
        if (std::abs(p.x - GDrag.StartPos.x) > GDrag.Threshold || std::abs(p.y - GDrag.StartPos.y) > GDrag.Threshold) {
            DragStart(p);
            return true;
        }
    } else if (Message.Msg == WM_LBUTTONUP) {
        // Released before the pointer went far: a press like any other.
        GDrag = TDrag{};
    }
    return false;
}

void TControl::DragWindowMessage(TMessage& Message)
{
    switch (Message.Msg) {
    case WM_MOUSEMOVE:
    case WM_LBUTTONUP:
    case WM_RBUTTONUP: {
        TPoint p = Point(GET_X_LPARAM(Message.LParam), GET_Y_LPARAM(Message.LParam));
        ::ClientToScreen(GDrag.Window, &p);
        DragTo(p);
        if (Message.Msg != WM_MOUSEMOVE && GDrag.Control && !GDrag.Finishing)
            DragDone(true);
        return;
    }
    case WM_SETCURSOR:
        if (GDrag.Dock)
            ::SetCursor(CursorHandle(crArrow));
        else
            ::SetCursor(CursorHandle(GDrag.Accepted && GDrag.Control ? GDrag.Control->DragCursor() : crNoDrop));
        Message.Result = TRUE;
        return;
    case WM_CAPTURECHANGED:
        // Another window took the pointer away: the drag cannot go on.
        if (GDrag.Control && !GDrag.Finishing)
            DragDone(false);
        return;
    }
    Message.Result = DefWindowProcA(GDrag.Window, Message.Msg, Message.WParam, Message.LParam);
}

void TControl::DragControlGone(TControl* Control)
{
    if (GDrag.Target == Control)
        GDrag.Target = nullptr;
    if (GDrag.Control != Control)
        return;
    GDrag.Control = nullptr;
    if (GDrag.Dock)
        GDrag.Dock->FControl = nullptr;
    if (GDrag.Finishing)
        return;
    // The drag dies with its control, without any further events.
    if (GDrag.Window) {
        GDrag.Finishing = true;
        ReleaseCapture();
        DeallocateHWnd(GDrag.Window);
    }
    if (GDrag.OwnDock)
        delete GDrag.Dock;
    GDrag = TDrag{};
}

} // namespace platform
