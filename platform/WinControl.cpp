// Windowed controls: the window of their own (created on demand, in a
// window class named after the C++ class and registered in the module the
// code is linked into), its messages, its painting and its child controls.
#include "platform/Align.h"
#include "platform/Control.h"
#include "platform/GdiScope.h"
#include "platform/UtilWindow.h"

#include <algorithm>

extern "C" IMAGE_DOS_HEADER __ImageBase;

namespace platform {

namespace {

// What some systems make of F1 before it turns into a help request.
constexpr UINT WM_KEYF1 = 0x004D;

} // namespace

TWinControl* FindControl(HWND Wnd)
{
    // Another process's window may show the same procedure address (the same program run twice).
    DWORD process = 0;
    if (!Wnd || !GetWindowThreadProcessId(Wnd, &process) || process != GetCurrentProcessId() ||
        GetWindowLongPtrA(Wnd, GWLP_WNDPROC) != reinterpret_cast<LONG_PTR>(&TWinControl::WindowProcedure))
        return nullptr;
    return reinterpret_cast<TWinControl*>(GetWindowLongPtrA(Wnd, GWLP_USERDATA));
}

const TClassInfo& TWinControl::StaticClassInfo()
{
    static const TClassInfo& info = TClassBuilder<TWinControl, TControl>("TWinControl")
        .Protected()
        .Int("TabOrder", &TWinControl::TabOrder, &TWinControl::SetTabOrder, std::nullopt)
        .Bool("TabStop", &TWinControl::TabStop, &TWinControl::SetTabStop, false)
        .Bool("DockSite", &TWinControl::DockSite, &TWinControl::SetDockSite, false)
        .Event("OnDockDrop", &TWinControl::OnDockDrop)
        .Event("OnDockOver", &TWinControl::OnDockOver)
        .Event("OnUnDock", &TWinControl::OnUnDock)
        .Event("OnEnter", &TWinControl::OnEnter)
        .Event("OnExit", &TWinControl::OnExit)
        .Event("OnKeyDown", &TWinControl::OnKeyDown)
        .Event("OnKeyPress", &TWinControl::OnKeyPress)
        .Event("OnKeyUp", &TWinControl::OnKeyUp)
        .Build();
    return info;
}

TWinControl::TWinControl(TComponent* AOwner) : TControl(AOwner)
{
    SetColor(clBtnFace);
}

TWinControl::~TWinControl()
{
    Destroying();
    // Child windows die with this window, so the child controls go first.
    while (!FControls.empty())
        FControls.back()->Free();
    DestroyHandle();
    // Leave the parent while this is still a windowed control, so the parent
    // forgets it in its tab order as well.
    if (Parent())
        Parent()->RemoveControl(this);
}

HWND TWinControl::Handle()
{
    if (!FHandle)
        CreateHandle();
    return FHandle;
}

void TWinControl::CreateParams(TCreateParams& Params)
{
    Params.Caption = Text();
    Params.Style = WS_CHILD | WS_CLIPCHILDREN | WS_CLIPSIBLINGS;
    if (FTabStop)
        Params.Style |= WS_TABSTOP;
    // Tab goes through a container's children (DialogKeys.h).
    if (FControlStyle.Contains(csAcceptsControls))
        Params.ExStyle |= WS_EX_CONTROLPARENT;
    if (Visible())
        Params.Style |= WS_VISIBLE;
    if (!Enabled())
        Params.Style |= WS_DISABLED;
    Params.X = Left();
    Params.Y = Top();
    Params.Width = Width();
    Params.Height = Height();
    Params.WndParent = Parent() ? Parent()->Handle() : FParentWindow;
    Params.ClassStyle = CS_HREDRAW | CS_VREDRAW | CS_DBLCLKS;
    Params.ClassName = ClassName();
}

void TWinControl::CreateHandle()
{
    TCreateParams params;
    CreateParams(params);
    // Asking for the parent's window may have made this one already: a
    // parent makes its children's windows along with its own.
    if (FHandle)
        return;
    if ((params.Style & WS_CHILD) && !params.WndParent)
        throw EInvalidOperation("Control '" + Name() + "' has no parent window");
    // Classes belong to the module this code is linked into: a suite module
    // carries its own copy of the framework, and a class of the program's
    // would send its windows to the program's copy (and one of a module
    // would outlive the module's code).
    HINSTANCE instance = reinterpret_cast<HINSTANCE>(&__ImageBase);
    WNDCLASSA base{};
    if (!params.BaseClassName.empty()) {
        if (!GetClassInfoA(nullptr, params.BaseClassName.c_str(), &base))
            throw EOutOfResources("Unknown window class " + params.BaseClassName);
        FDefWndProc = base.lpfnWndProc;
    }
    WNDCLASSA existing;
    if (!GetClassInfoA(instance, params.ClassName.c_str(), &existing)) {
        WNDCLASSA windowClass{};
        windowClass.style = params.BaseClassName.empty() ? params.ClassStyle : base.style;
        windowClass.lpfnWndProc = &TWinControl::WindowProcedure;
        // The base class keeps its own state in the window's extra bytes.
        windowClass.cbWndExtra = base.cbWndExtra;
        windowClass.hInstance = instance;
        windowClass.hCursor = base.hCursor ? base.hCursor : LoadCursorA(nullptr, IDC_ARROW);
        windowClass.lpszClassName = params.ClassName.c_str();
        if (!RegisterClassA(&windowClass))
            throw EOutOfResources("Cannot register window class " + params.ClassName);
    }
    CreateWindowExA(params.ExStyle, params.ClassName.c_str(), params.Caption.c_str(), params.Style, params.X,
                    params.Y, params.Width, params.Height, params.WndParent, nullptr, instance, this);
    if (!FHandle)
        throw EOutOfResources("Error creating window for " + ClassName());
    PlaceInTabOrder();
    for (TControl* child : FControls)
        if (auto* windowed = dynamic_cast<TWinControl*>(child))
            windowed->HandleNeeded();
}

void TWinControl::DestroyHandle()
{
    if (!FHandle)
        return;
    for (TControl* child : FControls)
        if (auto* windowed = dynamic_cast<TWinControl*>(child))
            windowed->DestroyHandle();
    HWND handle = FHandle;
    SetWindowLongPtrA(handle, GWLP_USERDATA, 0);
    // The base class frees its own state when its window is destroyed.
    if (FDefWndProc)
        SetWindowLongPtrA(handle, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(FDefWndProc));
    FHandle = nullptr;
    DestroyWindow(handle);
}

LRESULT CALLBACK TWinControl::WindowProcedure(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam)
{
    auto* control = reinterpret_cast<TWinControl*>(GetWindowLongPtrA(Wnd, GWLP_USERDATA));
    if (!control && Msg == WM_NCCREATE) {
        control = static_cast<TWinControl*>(reinterpret_cast<CREATESTRUCTA*>(LParam)->lpCreateParams);
        control->FHandle = Wnd;
        SetWindowLongPtrA(Wnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(control));
    }
    if (!control)
        return DefWindowProcA(Wnd, Msg, WParam, LParam);
    TMessage message{Msg, WParam, LParam, 0};
    try {
        control->WndProc(message);
    } catch (...) {
        HandleWindowException(control);
    }
    // Windows destroyed the window by itself (its parent or owner went
    // first): the control forgets it and makes a new one when it needs one.
    if (Msg == WM_NCDESTROY && GetWindowLongPtrA(Wnd, GWLP_USERDATA) == reinterpret_cast<LONG_PTR>(control)) {
        SetWindowLongPtrA(Wnd, GWLP_USERDATA, 0);
        control->FHandle = nullptr;
    }
    return message.Result;
}

void TWinControl::Dispatch(TMessage& Message)
{
    switch (Message.Msg) {
    case WM_PAINT: WMPaint(Message); return;
    case WM_ERASEBKGND: WMEraseBkgnd(Message); return;
    case WM_SIZE:
    case WM_MOVE:
        DefaultHandler(Message);
        UpdateBoundsFromWindow();
        return;
    case WM_SETFOCUS:
        DefaultHandler(Message);
        DoEnter();
        return;
    case WM_KILLFOCUS:
        DefaultHandler(Message);
        DoExit();
        return;
    case WM_COMMAND:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORSTATIC:
        if (ReflectNotification(Message))
            return;
        break;
    case WM_KEYF1: return; // the system's own form of F1, which would ask a second time
    case WM_HELP: WMHelp(Message); return;
    case WM_CONTEXTMENU:
        if (ContextMenuToChild(Message))
            return;
        break;
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
        if (WMKeyDown(Message))
            return;
        break;
    case WM_CHAR:
        if (WMChar(Message))
            return;
        break;
    case WM_KEYUP:
    case WM_SYSKEYUP:
        if (WMKeyUp(Message))
            return;
        break;
    }
    TControl::Dispatch(Message);
}

// A child system control's notification goes back to that control.
bool TWinControl::ReflectNotification(TMessage& Message)
{
    TWinControl* child = FindControl(reinterpret_cast<HWND>(Message.LParam));
    if (!child || child == this)
        return false;
    Message.Result = child->Perform(CN_BASE + Message.Msg, Message.WParam, Message.LParam);
    return true;
}

void TWinControl::DefaultHandler(TMessage& Message)
{
    if (!FHandle)
        return;
    if (FDefWndProc)
        Message.Result = CallWindowProcA(FDefWndProc, FHandle, Message.Msg, Message.WParam, Message.LParam);
    else
        Message.Result = DefWindowProcA(FHandle, Message.Msg, Message.WParam, Message.LParam);
}

// Opaque graphic children paint every pixel of their own.
void TWinControl::WMEraseBkgnd(TMessage& Message)
{
    HDC dc = reinterpret_cast<HDC>(Message.WParam);
    {
        const TSavedDC saved(dc);
        for (TControl* child : FControls)
            if (!dynamic_cast<TWinControl*>(child) && child->Visible() && child->FControlStyle.Contains(csOpaque))
                ExcludeClipRect(dc, child->Left(), child->Top(), child->Left() + child->Width(),
                                child->Top() + child->Height());
        const TGdiObject<HBRUSH> brush(CreateSolidBrush(ColorToRGB(Color())));
        const TRect client = ClientRect();
        ::FillRect(dc, &client, brush.Get());
    }
    Message.Result = 1;
}

void TWinControl::WMPaint(TMessage&)
{
    const TPaintScope paint(FHandle);
    FControlState.Include(csPainting);
    try {
        PaintWindow(paint.Get());
        PaintControls(paint.Get());
    } catch (...) {
        FControlState.Exclude(csPainting);
        throw;
    }
    FControlState.Exclude(csPainting);
}

void TWinControl::PaintWindow(HDC)
{
}

void TWinControl::PaintControls(HDC DC)
{
    for (size_t i = 0; i < FControls.size(); ++i) {
        auto* child = dynamic_cast<TGraphicControl*>(FControls[i]);
        if (!child || !child->Visible() || child->Width() <= 0 || child->Height() <= 0)
            continue;
        const TRect bounds = child->BoundsRect();
        if (!RectVisible(DC, &bounds))
            continue;
        const TSavedDC saved(DC);
        SetViewportOrgEx(DC, 0, 0, nullptr);
        OffsetViewportOrgEx(DC, child->Left(), child->Top(), nullptr);
        IntersectClipRect(DC, 0, 0, child->Width(), child->Height());
        child->FCanvas->SetHandle(DC);
        try {
            child->Paint();
        } catch (...) {
            child->FCanvas->SetHandle(nullptr);
            throw;
        }
        child->FCanvas->SetHandle(nullptr);
    }
}

void TWinControl::UpdateBoundsFromWindow()
{
    if (!FHandle)
        return;
    RECT r;
    GetWindowRect(FHandle, &r);
    if (GetWindowLongA(FHandle, GWL_STYLE) & WS_CHILD)
        MapWindowPoints(HWND_DESKTOP, GetParent(FHandle), reinterpret_cast<POINT*>(&r), 2);
    const int width = r.right - r.left, height = r.bottom - r.top;
    if (r.left == Left() && r.top == Top() && width == Width() && height == Height())
        return;
    const bool sized = width != Width() || height != Height();
    FLeft = r.left;
    FTop = r.top;
    FWidth = width;
    FHeight = height;
    if (sized && !ComponentState().Contains(csLoading)) {
        ClientResized();
        Resize();
    }
}

TControl* TWinControl::Controls(int Index) const
{
    if (Index < 0 || Index >= ControlCount())
        throw EListError(Format("List index out of bounds (%d)", Index));
    return FControls[static_cast<size_t>(Index)];
}

TControl* TWinControl::ControlAtPos(TPoint P, bool AllowDisabled) const
{
    for (auto c = FControls.rbegin(); c != FControls.rend(); ++c) {
        TControl* child = *c;
        if (dynamic_cast<TWinControl*>(child) || !child->Visible() || (!AllowDisabled && !child->Enabled()))
            continue;
        const TRect r = child->BoundsRect();
        if (PtInRect(&r, P))
            return child;
    }
    return nullptr;
}

void TWinControl::InsertControl(TControl* AControl)
{
    FControls.push_back(AControl);
    AControl->FParent = this;
    if (auto* windowed = dynamic_cast<TWinControl*>(AControl)) {
        FTabList.push_back(windowed);
        if (FHandle) {
            if (windowed->FHandle) {
                ::SetParent(windowed->FHandle, FHandle);
                windowed->PlaceInTabOrder();
            } else
                windowed->HandleNeeded();
        }
    }
    AControl->Invalidate();
    AControl->RequestAlign();
}

void TWinControl::RemoveControl(TControl* AControl)
{
    AControl->Invalidate();
    if (!dynamic_cast<TWinControl*>(AControl))
        AControl->ForgetCapture();
    FControls.erase(std::remove(FControls.begin(), FControls.end(), AControl), FControls.end());
    if (auto* windowed = dynamic_cast<TWinControl*>(AControl)) {
        FTabList.erase(std::remove(FTabList.begin(), FTabList.end(), windowed), FTabList.end());
        windowed->DestroyHandle();
    }
    AControl->FParent = nullptr;
    if (AControl->FAlign != alNone)
        AlignControls();
}

void TWinControl::SetParent(TWinControl* AParent)
{
    if (AParent == Parent())
        return;
    TControl::SetParent(AParent);
}

void TWinControl::SetBounds(int ALeft, int ATop, int AWidth, int AHeight)
{
    if (!CheckNewSize(AWidth, AHeight))
        return;
    if (ALeft == Left() && ATop == Top() && AWidth == Width() && AHeight == Height())
        return;
    const bool sized = AWidth != Width() || AHeight != Height();
    FLeft = ALeft;
    FTop = ATop;
    FWidth = AWidth;
    FHeight = AHeight;
    if (FHandle)
        SetWindowPos(FHandle, nullptr, ALeft, ATop, AWidth, AHeight, SWP_NOZORDER | SWP_NOACTIVATE);
    UpdateAnchorRules();
    if (sized && !ComponentState().Contains(csLoading)) {
        ClientResized();
        Resize();
    }
    RequestAlign();
}

void TWinControl::SetVisible(bool Value)
{
    if (Value == Visible())
        return;
    FVisible = Value;
    RequestAlign();
    if (!FHandle)
        return;
    // A hidden window keeps no mouse capture, its own or a child's: the
    // pointer is over whatever the window uncovers.
    const HWND capture = GetCapture();
    if (!Value && capture && (capture == FHandle || IsChild(FHandle, capture)))
        ReleaseCapture();
    ShowWindow(FHandle, Value ? SW_SHOWNOACTIVATE : SW_HIDE);
}

void TWinControl::SetEnabled(bool Value)
{
    if (Value == Enabled())
        return;
    FEnabled = Value;
    // Windows keeps input from the child windows of a disabled window by itself.
    if (FHandle)
        EnableWindow(FHandle, Value);
    EnabledChanged();
}

void TWinControl::EnabledChanged()
{
    TControl::EnabledChanged();
    // Children disabled by themselves stay disabled in effect either way.
    for (TControl* child : std::vector<TControl*>(FControls))
        if (child->Enabled())
            child->EnabledChanged();
}

void TWinControl::SetText(const std::string& Value)
{
    if (Value == Text())
        return;
    FText = Value;
    if (FHandle)
        SetWindowTextA(FHandle, Value.c_str());
    Invalidate();
}

void TWinControl::Invalidate()
{
    if (FHandle)
        InvalidateRect(FHandle, nullptr, !FControlStyle.Contains(csOpaque));
}

void TWinControl::Repaint()
{
    if (!FHandle)
        return;
    Invalidate();
    UpdateWindow(FHandle);
}

TRect TWinControl::ClientRect() const
{
    if (FHandle) {
        RECT r;
        GetClientRect(FHandle, &r);
        return r;
    }
    return TControl::ClientRect();
}

void TWinControl::FontChanged(TObject* Sender)
{
    TControl::FontChanged(Sender);
    for (size_t i = 0; i < FControls.size(); ++i)
        FControls[i]->ParentFontChanged();
}

void TWinControl::GetChildren(const std::function<void(TComponent*)>& Proc, TComponent* Root)
{
    for (TControl* child : std::vector<TControl*>(FControls))
        if (child->Owner() == Root)
            Proc(child);
}

} // namespace platform
