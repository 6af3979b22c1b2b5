#include "platform/Control.h"
#include "platform/Action.h"
#include "platform/Align.h"
#include "platform/Application.h"
#include "platform/Form.h"
#include "platform/Menu.h"
#include "platform/SystemServices.h"
#include "platform/UtilWindow.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <iterator>
#include <memory>
#include <windowsx.h>

extern "C" IMAGE_DOS_HEADER __ImageBase;

namespace platform {

namespace {

TControl* GCaptureControl = nullptr;

int MouseX(LPARAM L) { return GET_X_LPARAM(L); }
int MouseY(LPARAM L) { return GET_Y_LPARAM(L); }

// What some systems make of F1 before it turns into a help request.
constexpr UINT WM_KEYF1 = 0x004D;

bool IsMouseMessage(UINT Msg)
{
    return (Msg >= WM_MOUSEMOVE && Msg <= WM_MBUTTONDBLCLK) && Msg != WM_MOUSEWHEEL;
}

} // namespace

const TIdentMap& CursorIdents()
{
    static const TIdentMap& idents = *new TIdentMap{
        {crDefault, "crDefault"}, {crNone, "crNone"}, {crArrow, "crArrow"}, {crCross, "crCross"},
        {crIBeam, "crIBeam"}, {crSizeNESW, "crSizeNESW"}, {crSizeNS, "crSizeNS"}, {crSizeNWSE, "crSizeNWSE"},
        {crSizeWE, "crSizeWE"}, {crUpArrow, "crUpArrow"}, {crHourGlass, "crHourGlass"}, {crDrag, "crDrag"},
        {crNoDrop, "crNoDrop"}, {crNo, "crNo"},
        {crAppStart, "crAppStart"}, {crHelp, "crHelp"}, {crHandPoint, "crHandPoint"}, {crSizeAll, "crSizeAll"}};
    return idents;
}

namespace {

LPCSTR SystemCursor(TCursor Cursor)
{
    switch (Cursor) {
    case crArrow: return IDC_ARROW;
    case crCross: return IDC_CROSS;
    case crIBeam: return IDC_IBEAM;
    case crSizeNESW: return IDC_SIZENESW;
    case crSizeNS: return IDC_SIZENS;
    case crSizeNWSE: return IDC_SIZENWSE;
    case crSizeWE: return IDC_SIZEWE;
    case crUpArrow: return IDC_UPARROW;
    case crHourGlass: return IDC_WAIT;
    case crNo: return IDC_NO;
    case crAppStart: return IDC_APPSTARTING;
    case crHelp: return IDC_HELP;
    case crHandPoint: return IDC_HAND;
    case crSizeAll: return IDC_SIZEALL;
    default: return nullptr;
    }
}

// The pointer's arrow, as the drag cursors show it: '#' black, '.' white.
constexpr const char* ArrowRows[] = {
    "#",           "##",          "#.#",         "#..#",        "#...#",       "#....#",
    "#.....#",     "#......#",    "#.......#",   "#........#",  "#.....#####", "#..#..#",
    "#.# #..#",    "##  #..#",    "#    #..#",   "     #..#",   "      ##",
};

// The drag cursors are drawn here: the arrow over a sheet (crDrag) or over a
// barred circle (crNoDrop).
HCURSOR DrawDragCursor(bool NoDrop)
{
    constexpr int Size = 32;
    char pixels[Size][Size];
    std::memset(pixels, ' ', sizeof pixels);
    for (int y = 0; y < static_cast<int>(std::size(ArrowRows)); ++y)
        for (int x = 0; ArrowRows[y][x]; ++x)
            pixels[y][x] = ArrowRows[y][x];
    for (int y = 16; y < Size - 2; ++y)
        for (int x = 9; x < Size - 3; ++x) {
            if (NoDrop) {
                const int dx = x - 20, dy = y - 23, d2 = dx * dx + dy * dy;
                if (d2 > 64)
                    continue;
                pixels[y][x] = (d2 >= 30 || std::abs(dx - dy) <= 1) ? '#' : '.';
            } else if (y >= 19 && x >= 11 && x <= 24) {
                const bool edge = y == 19 || y == Size - 3 || x == 11 || x == 24;
                pixels[y][x] = edge ? '#' : '.';
            }
        }
    BYTE andMask[Size * Size / 8], xorMask[Size * Size / 8];
    std::memset(andMask, 0xFF, sizeof andMask);
    std::memset(xorMask, 0, sizeof xorMask);
    for (int y = 0; y < Size; ++y)
        for (int x = 0; x < Size; ++x) {
            const int byte = y * Size / 8 + x / 8;
            const BYTE bit = static_cast<BYTE>(0x80 >> (x % 8));
            if (pixels[y][x] == ' ')
                continue;
            andMask[byte] &= static_cast<BYTE>(~bit);
            if (pixels[y][x] == '.')
                xorMask[byte] |= bit;
        }
    return CreateCursor(GetModuleHandleA(nullptr), 0, 0, Size, Size, andMask, xorMask);
}

} // namespace

HCURSOR CursorHandle(TCursor Cursor)
{
    // Made once and kept for the program's life.
    static const HCURSOR drag = DrawDragCursor(false), noDrop = DrawDragCursor(true);
    if (Cursor == crDrag)
        return drag;
    if (Cursor == crNoDrop)
        return noDrop;
    LPCSTR name = SystemCursor(Cursor);
    return name ? LoadCursorA(nullptr, name) : nullptr;
}

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

TShiftState KeyboardShiftState()
{
    TShiftState shift;
    if (GetKeyState(VK_SHIFT) < 0) shift.Include(ssShift);
    if (GetKeyState(VK_CONTROL) < 0) shift.Include(ssCtrl);
    if (GetKeyState(VK_MENU) < 0) shift.Include(ssAlt);
    return shift;
}

TControl* CaptureControl()
{
    return GCaptureControl;
}

TWinControl* FindControl(HWND Wnd)
{
    // Another process's window may show the same procedure address (the same program run twice).
    DWORD process = 0;
    if (!Wnd || !GetWindowThreadProcessId(Wnd, &process) || process != GetCurrentProcessId() ||
        GetWindowLongPtrA(Wnd, GWLP_WNDPROC) != reinterpret_cast<LONG_PTR>(&TWinControl::WindowProcedure))
        return nullptr;
    return reinterpret_cast<TWinControl*>(GetWindowLongPtrA(Wnd, GWLP_USERDATA));
}

TControl* ControlAtScreenPos(TPoint Pos)
{
    TWinControl* window = FindControl(WindowFromPoint(Pos));
    if (!window)
        return nullptr;
    TControl* child = window->ControlAtPos(window->ScreenToClient(Pos), false);
    return child ? child : window;
}

TForm* GetParentForm(TControl* Control)
{
    while (Control && Control->Parent())
        Control = Control->Parent();
    return dynamic_cast<TForm*>(Control);
}

const TClassInfo& TControlCanvas::StaticClassInfo()
{
    static const TClassInfo& info = TClassBuilder<TControlCanvas, TCanvas>("TControlCanvas").Build();
    return info;
}

// ---------------------------------------------------------------- TControl

const TClassInfo& TControl::StaticClassInfo()
{
    static const TClassInfo& info = TClassBuilder<TControl, TComponent>("TControl")
        .Int("Left", &TControl::Left, &TControl::SetLeft, std::nullopt)
        .Int("Top", &TControl::Top, &TControl::SetTop, std::nullopt)
        .Int("Width", &TControl::Width, &TControl::SetWidth, std::nullopt)
        .Int("Height", &TControl::Height, &TControl::SetHeight, std::nullopt)
        .Int("Cursor", &TControl::Cursor, &TControl::SetCursor, crDefault, &CursorIdents())
        .Str("Hint", &TControl::Hint, &TControl::SetHint)
        .Int("HelpContext", &TControl::HelpContext, &TControl::SetHelpContext, 0)
        .Protected()
        .Ref<TAction>("Action", &TControl::Action, &TControl::SetAction)
        .Enum("Align", {"alNone", "alTop", "alBottom", "alLeft", "alRight", "alClient"}, &TControl::Align,
              &TControl::SetAlign, alNone)
        .Set("Anchors", {"akLeft", "akTop", "akRight", "akBottom"}, &TControl::Anchors, &TControl::SetAnchors,
             TAnchors{akLeft, akTop})
        .Object("Constraints", &TControl::Constraints)
        .Str("Caption", &TControl::Caption, &TControl::SetCaption)
        .Int("Color", &TControl::Color, &TControl::SetColor, std::nullopt, &ColorIdents())
        .Bool("Enabled", &TControl::Enabled, &TControl::SetEnabled, true)
        .Bool("ParentFont", &TControl::ParentFont, &TControl::SetParentFont, true)
        .Object("Font", &TControl::Font, [](const TControl& c) { return !c.ParentFont(); })
        .Int("DragCursor", &TControl::DragCursor, &TControl::SetDragCursor, crDrag, &CursorIdents())
        .Enum("DragKind", {"dkDrag", "dkDock"}, &TControl::DragKind, &TControl::SetDragKind, dkDrag)
        .Enum("DragMode", {"dmManual", "dmAutomatic"}, &TControl::DragMode, &TControl::SetDragMode, dmManual)
        .Bool("ParentShowHint", &TControl::ParentShowHint, &TControl::SetParentShowHint, true)
        .Ref<TPopupMenu>("PopupMenu", &TControl::PopupMenu, &TControl::SetPopupMenu)
        // A control that follows its parent stores no ShowHint of its own.
        .Bool("ShowHint", [](const TControl& c) { return !c.ParentShowHint() && c.ShowHint(); },
              &TControl::SetShowHint, false)
        .Bool("Visible", &TControl::Visible, &TControl::SetVisible, true)
        .Event("OnClick", &TControl::OnClick)
        .Event("OnDblClick", &TControl::OnDblClick)
        .Event("OnMouseDown", &TControl::OnMouseDown)
        .Event("OnMouseMove", &TControl::OnMouseMove)
        .Event("OnMouseUp", &TControl::OnMouseUp)
        .Event("OnResize", &TControl::OnResize)
        .Event("OnContextPopup", &TControl::OnContextPopup)
        .Event("OnDragDrop", &TControl::OnDragDrop)
        .Event("OnDragOver", &TControl::OnDragOver)
        .Event("OnEndDock", &TControl::OnEndDock)
        .Event("OnEndDrag", &TControl::OnEndDrag)
        .Event("OnStartDock", &TControl::OnStartDock)
        .Event("OnStartDrag", &TControl::OnStartDrag)
        .Build();
    return info;
}

TControl::TControl(TComponent* AOwner) : TComponent(AOwner), FFont(nullptr), FConstraints(nullptr)
{
    // Both or neither: running out of memory for the second frees the first.
    auto font = std::make_unique<TFont>();
    auto constraints = std::make_unique<TSizeConstraints>(this);
    FFont = font.release();
    FConstraints = constraints.release();
    FFont->OnChange = [this](TObject* Sender) { FontChanged(Sender); };
}

TControl::~TControl()
{
    SetAction(nullptr);
    DragControlGone(this);
    if (GCaptureControl == this) {
        GCaptureControl = nullptr;
        ReleaseCapture();
    }
    if (FParent)
        FParent->RemoveControl(this);
    delete FConstraints;
    delete FFont;
}

TComponent* TControl::GetParentComponent() const
{
    return FParent;
}

void TControl::SetParentComponent(TComponent* Value)
{
    if (auto* parent = dynamic_cast<TWinControl*>(Value))
        SetParent(parent);
}

void TControl::SetParent(TWinControl* AParent)
{
    if (FParent == AParent)
        return;
    if (AParent == this)
        throw EInvalidOperation("A control cannot have itself as its parent");
    const bool wasEnabled = EffectivelyEnabled();
    if (FParent)
        FParent->RemoveControl(this);
    if (AParent) {
        AParent->InsertControl(this);
        ParentFontChanged();
        UpdateAnchorRules();
    }
    if (EffectivelyEnabled() != wasEnabled)
        EnabledChanged();
}

void TControl::SetPopupMenu(TPopupMenu* Value)
{
    if (Value == FPopupMenu)
        return;
    if (FPopupMenu)
        FPopupMenu->RemoveFreeNotification(this);
    FPopupMenu = Value;
    if (Value)
        Value->FreeNotification(this);
}

void TControl::Notification(TComponent* AComponent, TOperation Operation)
{
    TComponent::Notification(AComponent, Operation);
    if (Operation != opRemove)
        return;
    if (AComponent == FPopupMenu)
        FPopupMenu = nullptr;
    if (AComponent == FAction)
        FAction = nullptr;
}

bool TControl::CanResize(int&, int&)
{
    return true;
}

void TControl::Resize()
{
    if (OnResize)
        OnResize(this);
}

void TControl::SetBounds(int ALeft, int ATop, int AWidth, int AHeight)
{
    if (!CheckNewSize(AWidth, AHeight))
        return;
    if (ALeft == FLeft && ATop == FTop && AWidth == FWidth && AHeight == FHeight)
        return;
    const bool sized = AWidth != FWidth || AHeight != FHeight;
    Invalidate();
    FLeft = ALeft;
    FTop = ATop;
    FWidth = AWidth;
    FHeight = AHeight;
    Invalidate();
    UpdateAnchorRules();
    if (sized && !ComponentState().Contains(csLoading))
        Resize();
    RequestAlign();
}

void TControl::SetAnchors(TAnchors Value)
{
    FAnchors = Value;
    UpdateAnchorRules();
}

void TControl::UpdateAnchorRules()
{
    if (!FParent || FAnchoring)
        return;
    FAnchorBounds = BoundsRect();
    FAnchorParentSize = Point(FParent->ClientWidth(), FParent->ClientHeight());
}

namespace {

// One axis of anchoring: the new [Low, High) of a control whose parent's
// client extent went from Base to Extent. Unanchored on both sides, the
// control keeps its centre at the same share of the extent.
void AnchorAxis(bool Near, bool Far, int Base, int Extent, LONG& Low, LONG& High)
{
    const int size = High - Low;
    if (Near && Far) {
        High = std::max<LONG>(Low, High + Extent - Base);
    } else if (Far) {
        Low += Extent - Base;
        High = Low + size;
    } else if (!Near) {
        Low = MulDiv(Low + High, Extent, 2 * Base) - size / 2;
        High = Low + size;
    }
}

} // namespace

void TControl::AnchorToParent()
{
    if (!FParent)
        return;
    // Rules recorded before the parent had a size of its own are recorded afresh.
    if (FAnchorParentSize.x <= 0 || FAnchorParentSize.y <= 0) {
        UpdateAnchorRules();
        return;
    }
    TRect r = FAnchorBounds;
    AnchorAxis(FAnchors.Contains(akLeft), FAnchors.Contains(akRight), FAnchorParentSize.x, FParent->ClientWidth(),
               r.left, r.right);
    AnchorAxis(FAnchors.Contains(akTop), FAnchors.Contains(akBottom), FAnchorParentSize.y, FParent->ClientHeight(),
               r.top, r.bottom);
    FAnchoring = true;
    try {
        SetBounds(r.left, r.top, r.right - r.left, r.bottom - r.top);
    } catch (...) {
        FAnchoring = false;
        throw;
    }
    FAnchoring = false;
}

void TControl::SetClientSize(int AWidth, int AHeight)
{
    const TRect client = ClientRect();
    SetBounds(FLeft, FTop, FWidth + AWidth - client.right, FHeight + AHeight - client.bottom);
}

TPoint TControl::ClientToScreen(TPoint P) const
{
    if (auto* self = dynamic_cast<const TWinControl*>(this); self && self->HandleAllocated()) {
        ::ClientToScreen(const_cast<TWinControl*>(self)->Handle(), &P);
        return P;
    }
    P.x += FLeft;
    P.y += FTop;
    return FParent ? FParent->ClientToScreen(P) : P;
}

TPoint TControl::ScreenToClient(TPoint P) const
{
    const TPoint origin = ClientToScreen(Point(0, 0));
    return Point(P.x - origin.x, P.y - origin.y);
}

bool TControl::Showing() const
{
    if (!FVisible)
        return false;
    if (auto* self = dynamic_cast<const TWinControl*>(this); self && self->HandleAllocated())
        return IsWindowVisible(const_cast<TWinControl*>(self)->Handle());
    return FParent && FParent->Showing();
}

void TControl::SetVisible(bool Value)
{
    if (Value == FVisible)
        return;
    FVisible = true; // so the area to redraw is known either way
    Invalidate();
    FVisible = Value;
    Invalidate();
    RequestAlign();
}

void TControl::SetEnabled(bool Value)
{
    if (Value == FEnabled)
        return;
    FEnabled = Value;
    EnabledChanged();
}

bool TControl::EffectivelyEnabled() const
{
    for (const TControl* c = this; c; c = c->FParent)
        if (!c->FEnabled)
            return false;
    return true;
}

void TControl::EnabledChanged()
{
    Invalidate();
}

void TControl::SetText(const std::string& Value)
{
    if (Value == FText)
        return;
    FText = Value;
    Invalidate();
}

void TControl::SetParentFont(bool Value)
{
    FParentFont = Value;
    if (Value)
        ParentFontChanged();
}

void TControl::ParentFontChanged()
{
    if (!FParentFont || !FParent)
        return;
    FUpdatingFont = true;
    try {
        FFont->Assign(FParent->Font());
    } catch (...) {
        FUpdatingFont = false;
        throw;
    }
    FUpdatingFont = false;
}

void TControl::FontChanged(TObject*)
{
    if (!FUpdatingFont)
        FParentFont = false;
    Invalidate();
}

void TControl::SetColor(TColor Value)
{
    if (Value == FColor)
        return;
    FColor = Value;
    Invalidate();
}

bool TControl::ShowHint() const
{
    if (FParentShowHint && FParent)
        return FParent->ShowHint();
    return FShowHint;
}

void TControl::SetShowHint(bool Value)
{
    FShowHint = Value;
    FParentShowHint = false;
}

void TControl::Loaded()
{
    TComponent::Loaded();
    UpdateAnchorRules();
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

void TControl::Invalidate()
{
    if (!FParent || !FParent->HandleAllocated() || !FVisible)
        return;
    const TRect r = BoundsRect();
    ::InvalidateRect(FParent->Handle(), &r, !FControlStyle.Contains(csOpaque));
}

void TControl::InvalidateArea(const TRect& R)
{
    if (auto* self = dynamic_cast<TWinControl*>(this)) {
        if (self->HandleAllocated())
            ::InvalidateRect(self->Handle(), &R, FALSE);
        return;
    }
    if (!FParent || !FParent->HandleAllocated() || !FVisible)
        return;
    const TRect client = ClientRect();
    TRect r;
    ::IntersectRect(&r, &R, &client);
    OffsetRect(&r, FLeft, FTop);
    // What a control that is not opaque leaves unpainted is the parent's
    // background, which must be painted again under the new pixels.
    ::InvalidateRect(FParent->Handle(), &r, !FControlStyle.Contains(csOpaque));
}

void TControl::Repaint()
{
    Invalidate();
    Update();
}

void TControl::Update()
{
    if (FParent && FParent->HandleAllocated())
        UpdateWindow(FParent->Handle());
}

void TControl::BringToFront()
{
    if (!FParent)
        return;
    auto& list = FParent->FControls;
    list.erase(std::remove(list.begin(), list.end(), this), list.end());
    list.push_back(this);
    if (auto* self = dynamic_cast<TWinControl*>(this); self && self->HandleAllocated())
        SetWindowPos(self->Handle(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    Invalidate();
}

void TControl::SendToBack()
{
    if (!FParent)
        return;
    auto& list = FParent->FControls;
    list.erase(std::remove(list.begin(), list.end(), this), list.end());
    list.insert(list.begin(), this);
    if (auto* self = dynamic_cast<TWinControl*>(this); self && self->HandleAllocated())
        SetWindowPos(self->Handle(), HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    Invalidate();
}

LRESULT TControl::Perform(UINT Msg, WPARAM WParam, LPARAM LParam)
{
    TMessage message{Msg, WParam, LParam, 0};
    WndProc(message);
    return message.Result;
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

void TControl::DefaultHandler(TMessage&)
{
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

void TControl::DoStartDrag(TDragObject*& DragObject)
{
    if (OnStartDrag)
        OnStartDrag(this, DragObject);
}

void TControl::DragOver(TObject* Source, int X, int Y, TDragState State, bool& Accept)
{
    if (OnDragOver) {
        Accept = true;
        OnDragOver(this, Source, X, Y, State, Accept);
    }
}

void TControl::DragDrop(TObject* Source, int X, int Y)
{
    if (OnDragDrop)
        OnDragDrop(this, Source, X, Y);
}

void TControl::DoEndDrag(TObject* Target, int X, int Y)
{
    if (OnEndDrag)
        OnEndDrag(this, Target, X, Y);
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

// ---------------------------------------------------------------- TWinControl

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

void TWinControl::Dispatch(TMessage& Message)
{
    switch (Message.Msg) {
    case WM_PAINT:
        WMPaint(Message);
        return;
    case WM_ERASEBKGND: {
        HDC dc = reinterpret_cast<HDC>(Message.WParam);
        const int saved = SaveDC(dc);
        // Opaque graphic children paint every pixel of their own.
        for (TControl* child : FControls)
            if (!dynamic_cast<TWinControl*>(child) && child->Visible() && child->FControlStyle.Contains(csOpaque))
                ExcludeClipRect(dc, child->Left(), child->Top(), child->Left() + child->Width(),
                                child->Top() + child->Height());
        HBRUSH brush = CreateSolidBrush(ColorToRGB(Color()));
        const TRect client = ClientRect();
        ::FillRect(dc, &client, brush);
        DeleteObject(brush);
        RestoreDC(dc, saved);
        Message.Result = 1;
        return;
    }
    case WM_SIZE:
    case WM_MOVE:
        DefaultHandler(Message);
        UpdateBoundsFromWindow();
        return;
    case WM_SETFOCUS:
        DefaultHandler(Message);
        DoEnter();
        return;
    case WM_COMMAND:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORSTATIC:
        // A child system control's notification goes back to that control.
        if (TWinControl* child = FindControl(reinterpret_cast<HWND>(Message.LParam)); child && child != this) {
            Message.Result = child->Perform(CN_BASE + Message.Msg, Message.WParam, Message.LParam);
            return;
        }
        break;
    case WM_KILLFOCUS:
        DefaultHandler(Message);
        DoExit();
        return;
    case WM_KEYF1:
        // The system's own form of F1, which would ask a second time.
        return;
    case WM_HELP: {
        // F1, or the system's help request for a control. The system hands
        // it on to the parent windows itself: the first control to get it answers.
        const auto* info = reinterpret_cast<const HELPINFO*>(Message.LParam);
        TWinControl* asked =
            info->iContextType == HELPINFO_WINDOW ? FindControl(static_cast<HWND>(info->hItemHandle)) : nullptr;
        Application->ControlHelp(asked ? asked : this);
        Message.Result = 1;
        return;
    }
    case WM_CONTEXTMENU:
        if (Message.LParam != -1) {
            const TPoint p = ScreenToClient(Point(GET_X_LPARAM(Message.LParam), GET_Y_LPARAM(Message.LParam)));
            if (TControl* child = ControlAtPos(p, false)) {
                Message.Result = child->Perform(Message.Msg, Message.WParam, Message.LParam);
                if (Message.Result)
                    return;
            }
        }
        break;
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN: {
        WORD key = static_cast<WORD>(Message.WParam);
        const TShiftState shift = KeyboardShiftState();
        KeyDown(key, shift);
        if (key == 0)
            return;
        // Shift+F10 asks for the context menu; the default handling does not see it again.
        if (key == VK_F10 && shift.Contains(ssShift)) {
            SendMessageA(FHandle, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(FHandle), -1);
            return;
        }
        // F1 asks for help for this control, as the system's own request does.
        if (key == VK_F1 && shift == TShiftState{}) {
            HELPINFO info{sizeof(HELPINFO), HELPINFO_WINDOW, 0, FHandle, 0, SystemServices().CursorPos()};
            SendMessageA(FHandle, WM_HELP, 0, reinterpret_cast<LPARAM>(&info));
            return;
        }
        Message.WParam = key;
        break;
    }
    case WM_CHAR: {
        char key = static_cast<char>(Message.WParam);
        KeyPress(key);
        if (key == 0)
            return;
        Message.WParam = static_cast<unsigned char>(key);
        break;
    }
    case WM_KEYUP:
    case WM_SYSKEYUP: {
        WORD key = static_cast<WORD>(Message.WParam);
        KeyUp(key, KeyboardShiftState());
        if (key == 0)
            return;
        // The menu key asks for the context menu when it is released.
        if (key == VK_APPS) {
            SendMessageA(FHandle, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(FHandle), -1);
            return;
        }
        Message.WParam = key;
        break;
    }
    }
    TControl::Dispatch(Message);
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

void TWinControl::WMPaint(TMessage&)
{
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(FHandle, &paint);
    FControlState.Include(csPainting);
    try {
        PaintWindow(dc);
        PaintControls(dc);
    } catch (...) {
        FControlState.Exclude(csPainting);
        EndPaint(FHandle, &paint);
        throw;
    }
    FControlState.Exclude(csPainting);
    EndPaint(FHandle, &paint);
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
        const int saved = SaveDC(DC);
        SetViewportOrgEx(DC, 0, 0, nullptr);
        OffsetViewportOrgEx(DC, child->Left(), child->Top(), nullptr);
        IntersectClipRect(DC, 0, 0, child->Width(), child->Height());
        child->FCanvas->SetHandle(DC);
        try {
            child->Paint();
        } catch (...) {
            child->FCanvas->SetHandle(nullptr);
            RestoreDC(DC, saved);
            throw;
        }
        child->FCanvas->SetHandle(nullptr);
        RestoreDC(DC, saved);
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

void TWinControl::ClientResized()
{
    AlignControls();
    for (TControl* child : std::vector<TControl*>(FControls))
        if (child->FAlign == alNone)
            child->AnchorToParent();
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
    if (GCaptureControl == AControl && !dynamic_cast<TWinControl*>(AControl)) {
        GCaptureControl = nullptr;
        ReleaseCapture();
    }
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

// ---------------------------------------------------------------- TGraphicControl

const TClassInfo& TGraphicControl::StaticClassInfo()
{
    static const TClassInfo& info = TClassBuilder<TGraphicControl, TControl>("TGraphicControl").Build();
    return info;
}

TGraphicControl::TGraphicControl(TComponent* AOwner) : TControl(AOwner), FCanvas(new TControlCanvas)
{
}

TGraphicControl::~TGraphicControl()
{
    delete FCanvas;
}

// ---------------------------------------------------------------- TCustomControl

const TClassInfo& TCustomControl::StaticClassInfo()
{
    static const TClassInfo& info = TClassBuilder<TCustomControl, TWinControl>("TCustomControl").Build();
    return info;
}

TCustomControl::TCustomControl(TComponent* AOwner) : TWinControl(AOwner), FCanvas(new TControlCanvas)
{
}

TCustomControl::~TCustomControl()
{
    delete FCanvas;
}

void TCustomControl::PaintWindow(HDC DC)
{
    FCanvas->SetHandle(DC);
    try {
        FCanvas->SetFont(Font());
        FCanvas->Brush()->SetColor(Color());
        Paint();
    } catch (...) {
        FCanvas->SetHandle(nullptr);
        throw;
    }
    FCanvas->SetHandle(nullptr);
}

} // namespace platform
