// Controls: the common base (bounds, parent, enabling, visibility, caption,
// font, colour, mouse and click handling), windowed controls (a window of
// their own, focus, keys, capture, child controls), graphic controls (drawn
// and fed with mouse input by their parent) and custom controls (windowed,
// with a canvas and Paint).
#pragma once

#include "platform/Canvas.h"
#include "platform/Messages.h"

#include <string>
#include <vector>

namespace platform {

class TAction;
class TControl;
class TWinControl;
class TPopupMenu;

enum TMouseButton { mbLeft, mbRight, mbMiddle };
enum TShiftStateFlag { ssShift, ssAlt, ssCtrl, ssLeft, ssRight, ssMiddle, ssDouble };
using TShiftState = TSet<TShiftStateFlag>;

using TMouseEvent = TEvent<TObject*, TMouseButton, TShiftState, int, int>;
using TMouseMoveEvent = TEvent<TObject*, TShiftState, int, int>;
using TKeyEvent = TEvent<TObject*, WORD&, TShiftState>;
using TKeyPressEvent = TEvent<TObject*, char&>;

// What a drag carries. A control being dragged is itself the source that drop
// targets see unless its OnStartDrag hands out a drag object of its own, which
// stays the handler's to free (in OnEndDrag).
class TDragObject : public TObject {
    PLATFORM_CLASS(TDragObject, TObject)
};

enum TDragMode { dmManual, dmAutomatic };
enum TDragKind { dkDrag, dkDock };
enum TDragState { dsDragEnter, dsDragLeave, dsDragMove };

// What a dock drag carries (Dock.h).
class TDragDockObject;

// MousePos is in client coordinates, or (-1, -1) when the keyboard asked for the menu.
using TContextPopupEvent = TEvent<TObject*, TPoint, bool&>;
using TDragOverEvent = TEvent<TObject*, TObject*, int, int, TDragState, bool&>;
using TDragDropEvent = TEvent<TObject*, TObject*, int, int>;
// Target is the control dropped on, or null when the drag was refused or cancelled.
using TEndDragEvent = TEvent<TObject*, TObject*, int, int>;
using TStartDragEvent = TEvent<TObject*, TDragObject*&>;
// Source is the drag of a control onto the dock site that is the sender.
using TDockOverEvent = TEvent<TObject*, TDragDockObject*, int, int, TDragState, bool&>;
using TDockDropEvent = TEvent<TObject*, TDragDockObject*, int, int>;
// Client leaves the sender for NewTarget (null: a floating window of its own), unless Allow is cleared.
using TUnDockEvent = TEvent<TObject*, TControl*, TWinControl*, bool&>;

enum TControlStyleFlag { csAcceptsControls, csCaptureMouse, csClickEvents, csSetCaption, csOpaque, csDoubleClicks };
using TControlStyle = TSet<TControlStyleFlag>;
enum TControlStateFlag { csLButtonDown, csClicked, csPainting };
using TControlState = TSet<TControlStateFlag>;

enum TAnchorKind { akLeft, akTop, akRight, akBottom };
using TAnchors = TSet<TAnchorKind>;

// Where a control sits in its parent: against an edge of what the parent's
// other aligned children leave free, filling the rest, or where it was put.
enum TAlign { alNone, alTop, alBottom, alLeft, alRight, alClient };

class TSizeConstraints;

using TCursor = int;
constexpr TCursor crDefault = 0, crNone = -1, crArrow = -2, crCross = -3, crIBeam = -4, crSizeNESW = -6,
                  crSizeNS = -7, crSizeNWSE = -8, crSizeWE = -9, crUpArrow = -10, crHourGlass = -11,
                  crDrag = -12, crNoDrop = -13, crNo = -18, crAppStart = -19, crHelp = -20, crHandPoint = -21, crSizeAll = -22;
const TIdentMap& CursorIdents();
// The cursor shown for Cursor; null for crDefault (the window class's own).
HCURSOR CursorHandle(TCursor Cursor);

// The shift state of a mouse or key message, from its wParam and the keyboard.
TShiftState KeysToShiftState(WPARAM Keys);
TShiftState KeyboardShiftState();

// A canvas on a control's surface; valid while the control paints.
class TControlCanvas : public TCanvas {
    PLATFORM_CLASS(TControlCanvas, TCanvas)
};

class TControl : public TComponent {
    PLATFORM_CLASS(TControl, TComponent)
public:
    explicit TControl(TComponent* AOwner);
    ~TControl() override;

    TWinControl* Parent() const { return FParent; }
    virtual void SetParent(TWinControl* AParent);
    bool HasParent() const override { return true; }
    TComponent* GetParentComponent() const override;
    void SetParentComponent(TComponent* Value) override;

    int Left() const { return FLeft; }
    int Top() const { return FTop; }
    int Width() const { return FWidth; }
    int Height() const { return FHeight; }
    void SetLeft(int Value) { SetBounds(Value, FTop, FWidth, FHeight); }
    void SetTop(int Value) { SetBounds(FLeft, Value, FWidth, FHeight); }
    void SetWidth(int Value) { SetBounds(FLeft, FTop, Value, FHeight); }
    void SetHeight(int Value) { SetBounds(FLeft, FTop, FWidth, Value); }
    TRect BoundsRect() const { return Rect(FLeft, FTop, FLeft + FWidth, FTop + FHeight); }
    // Every change of position or size goes through here; CanResize may
    // adjust or refuse a new size; Resize follows a size change.
    virtual void SetBounds(int ALeft, int ATop, int AWidth, int AHeight);
    virtual TRect ClientRect() const { return Rect(0, 0, FWidth, FHeight); }
    int ClientWidth() const { return ClientRect().right; }
    int ClientHeight() const { return ClientRect().bottom; }
    virtual void SetClientSize(int AWidth, int AHeight);
    TPoint ClientToScreen(TPoint P) const;
    TPoint ScreenToClient(TPoint P) const;

    bool Visible() const { return FVisible; }
    virtual void SetVisible(bool Value);
    void Show() { SetVisible(true); }
    void Hide() { SetVisible(false); }
    // Visible here and in every parent up to a shown window.
    bool Showing() const;
    // The control's own setting; EffectivelyEnabled also asks every parent.
    bool Enabled() const { return FEnabled; }
    virtual void SetEnabled(bool Value);
    // Enabled here and in every parent: a control on a disabled parent takes
    // no input and shows itself disabled.
    bool EffectivelyEnabled() const;

    const std::string& Caption() const { return FText; }
    void SetCaption(const std::string& Value) { SetText(Value); }
    const std::string& Text() const { return FText; }
    virtual void SetText(const std::string& Value);
    TFont* Font() const { return FFont; }
    void SetFont(TFont* Value) { FFont->Assign(Value); }
    bool ParentFont() const { return FParentFont; }
    void SetParentFont(bool Value);
    TColor Color() const { return FColor; }
    virtual void SetColor(TColor Value);
    TCursor Cursor() const { return FCursor; }
    void SetCursor(TCursor Value) { FCursor = Value; }
    const std::string& Hint() const { return FHint; }
    void SetHint(const std::string& Value) { FHint = Value; }
    bool ShowHint() const;
    void SetShowHint(bool Value);
    bool ParentShowHint() const { return FParentShowHint; }
    void SetParentShowHint(bool Value) { FParentShowHint = Value; }
    TAnchors Anchors() const { return FAnchors; }
    void SetAnchors(TAnchors Value);
    // An aligned control is laid out by its parent (Align.cpp); anchors
    // serve only controls aligned alNone.
    TAlign Align() const { return FAlign; }
    void SetAlign(TAlign Value);
    // Limits every size the control takes, whoever asks for it.
    TSizeConstraints* Constraints() const { return FConstraints; }
    int HelpContext() const { return FHelpContext; }
    void SetHelpContext(int Value) { FHelpContext = Value; }
    TPopupMenu* PopupMenu() const { return FPopupMenu; }
    void SetPopupMenu(TPopupMenu* Value);
    // The action the control shows and executes when clicked (Action.cpp).
    TAction* Action() const { return FAction; }
    void SetAction(TAction* Value);
    TCursor DragCursor() const { return FDragCursor; }
    void SetDragCursor(TCursor Value) { FDragCursor = Value; }
    TDragKind DragKind() const { return FDragKind; }
    void SetDragKind(TDragKind Value) { FDragKind = Value; }
    TDragMode DragMode() const { return FDragMode; }
    void SetDragMode(TDragMode Value) { FDragMode = Value; }

    // Starts dragging this control: at once, or once the pointer has moved
    // Threshold pixels (-1: the system's drag distance) with the left button
    // still down; until then presses and clicks go on as usual. While it
    // drags, the pointer belongs to the drag: controls under it are asked
    // (OnDragOver) whether they accept it, a button release drops it on an
    // accepting one (OnDragDrop), Escape or a lost capture cancels it;
    // OnEndDrag closes every drag that started.
    void BeginDrag(bool Immediate, int Threshold = -1);
    // Ends this control's drag, dropping it where it is when Drop holds.
    void EndDrag(bool Drop);
    bool Dragging() const;

    TControlStyle ControlStyle() const { return FControlStyle; }
    void SetControlStyle(TControlStyle Value) { FControlStyle = Value; }
    TControlState ControlState() const { return FControlState; }

    bool MouseCapture() const;
    void SetMouseCapture(bool Value);

    virtual void Invalidate();
    // Marks only R (client coordinates) for redrawing; a graphic control's
    // part is erased first, as Invalidate does, unless the control is opaque.
    void InvalidateArea(const TRect& R);
    // Redraws at once.
    virtual void Repaint();
    void Update();
    void Refresh() { Repaint(); }
    void BringToFront();
    void SendToBack();

    // Sends a message straight to WndProc.
    LRESULT Perform(UINT Msg, WPARAM WParam, LPARAM LParam);
    // Every message to the control; handled ones go no further, the others
    // to Dispatch and from there to DefaultHandler.
    virtual void WndProc(TMessage& Message);
    virtual void Dispatch(TMessage& Message);
    virtual void DefaultHandler(TMessage& Message);

    TNotifyEvent OnClick;
    TNotifyEvent OnDblClick;
    TMouseEvent OnMouseDown;
    TMouseMoveEvent OnMouseMove;
    TMouseEvent OnMouseUp;
    TNotifyEvent OnResize;
    TContextPopupEvent OnContextPopup;
    TDragDropEvent OnDragDrop;
    TDragOverEvent OnDragOver;
    TEndDragEvent OnEndDock;
    TEndDragEvent OnEndDrag;
    TStartDragEvent OnStartDock;
    TStartDragEvent OnStartDrag;

    void Notification(TComponent* AComponent, TOperation Operation) override;

protected:
    virtual bool CanResize(int& NewWidth, int& NewHeight);
    virtual void Resize();
    // The linked action changed (or was just linked): the control takes its
    // caption, enabling, hint and visibility.
    virtual void ActionChange(TAction* Sender);
    // The new size as the control will take it: CanResize's answer, then
    // the constraints; false when CanResize refuses the change.
    bool CheckNewSize(int& NewWidth, int& NewHeight);
    virtual void Click();
    virtual void DblClick();
    virtual void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y);
    virtual void MouseMove(TShiftState Shift, int X, int Y);
    virtual void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y);
    // Raise the matching events. MousePos is (-1, -1) for a menu asked for by
    // the keyboard. Accept stays false without an OnDragOver, which finds it true.
    virtual void DoContextPopup(TPoint MousePos, bool& Handled);
    virtual void DoStartDrag(TDragObject*& DragObject);
    virtual void DragOver(TObject* Source, int X, int Y, TDragState State, bool& Accept);
    virtual void DragDrop(TObject* Source, int X, int Y);
    virtual void DoEndDrag(TObject* Target, int X, int Y);
    // A drag of a control whose DragKind is dkDock (Dock.cpp) starts and ends
    // with these; the target is the dock site it went to, or null.
    virtual void DoStartDock(TDragObject*& DragObject);
    virtual void DoEndDock(TObject* Target, int X, int Y);
    // The parent's font was changed or the control was put on a new parent.
    virtual void ParentFontChanged();
    // EffectivelyEnabled() may answer otherwise now: this control's Enabled
    // or a parent's changed, or the control moved to another parent. A
    // control with a disabled look of its own switches to it or back here;
    // this one repaints.
    virtual void EnabledChanged();
    // This control's font changed (its own OnChange handler until replaced).
    virtual void FontChanged(TObject* Sender);
    void Loaded() override;

    TControlStyle FControlStyle{csCaptureMouse, csClickEvents, csSetCaption, csDoubleClicks};
    TControlState FControlState;

private:
    friend class TAction;
    friend class TDragDockObject;
    friend class TWinControl;
    void HandleMouseButton(TMessage& Message, TMouseButton Button, bool Down, bool Double);
    // The context menu request: OnContextPopup, then the PopupMenu; Result 1 when it was answered.
    void WMContextMenu(TMessage& Message);
    // Anchoring keeps the distances to the anchored edges of the parent's
    // client area as they were when the bounds were last set from outside.
    void UpdateAnchorRules();
    void AnchorToParent();
    // The parent lays its aligned children out again after this one changed.
    void RequestAlign();
    // The drag machinery (DragDrop.cpp); DragMessage sees a control's mouse
    // and key messages first and answers true for those a drag takes.
    bool DragMessage(TMessage& Message);
    static void DragStart(TPoint ScreenPos);
    static void DragTo(TPoint ScreenPos);
    static void DragOverTarget(TControl* Target, TPoint ScreenPos, TDragState State, bool& Accept);
    static void DragDone(bool Drop);
    static void DragWindowMessage(TMessage& Message);
    static void DragControlGone(TControl* Control);

    TWinControl* FParent = nullptr;
    int FLeft = 0, FTop = 0, FWidth = 0, FHeight = 0;
    bool FVisible = true;
    bool FEnabled = true;
    std::string FText;
    TFont* FFont;
    bool FParentFont = true;
    bool FUpdatingFont = false;
    TColor FColor = clWindow;
    TCursor FCursor = crDefault;
    std::string FHint;
    bool FShowHint = false;
    bool FParentShowHint = true;
    TAnchors FAnchors{akLeft, akTop};
    TAlign FAlign = alNone;
    TSizeConstraints* FConstraints;
    int FHelpContext = 0;
    TPopupMenu* FPopupMenu = nullptr;
    TAction* FAction = nullptr;
    TCursor FDragCursor = crDrag;
    TDragKind FDragKind = dkDrag;
    TDragMode FDragMode = dmManual;
    TRect FAnchorBounds{};
    TPoint FAnchorParentSize{};
    bool FAnchoring = false;
};

// The window-creation parameters a control may adjust before its window exists.
struct TCreateParams {
    std::string Caption;
    DWORD Style = 0;
    DWORD ExStyle = 0;
    int X = 0, Y = 0, Width = 0, Height = 0;
    HWND WndParent = nullptr;
    UINT ClassStyle = 0;
    std::string ClassName;
    // A system window class (such as "EDIT") the control's class is built on:
    // the control's window behaves as one, and messages the control does not
    // handle go to that class's window procedure.
    std::string BaseClassName;
};

class TWinControl : public TControl {
    PLATFORM_CLASS(TWinControl, TControl)
public:
    explicit TWinControl(TComponent* AOwner);
    ~TWinControl() override;

    // The window, created on demand with the class name of the C++ class.
    HWND Handle();
    bool HandleAllocated() const { return FHandle != nullptr; }
    void HandleNeeded() { Handle(); }

    int ControlCount() const { return static_cast<int>(FControls.size()); }
    TControl* Controls(int Index) const;
    // The topmost enabled, visible graphic child at P (client coordinates).
    TControl* ControlAtPos(TPoint P, bool AllowDisabled) const;

    bool TabStop() const { return FTabStop; }
    void SetTabStop(bool Value);
    int TabOrder() const;
    void SetTabOrder(int Value);
    bool CanFocus() const;
    virtual void SetFocus();
    bool Focused() const;

    void SetParent(TWinControl* AParent) override;
    // A window of another module that holds this control when it has no
    // parent control; set before the window is created.
    HWND ParentWindow() const { return FParentWindow; }
    void SetParentWindow(HWND Value) { FParentWindow = Value; }
    // A dock site takes the controls dragged onto it with DragKind dkDock
    // and lays them out by their alignment.
    bool DockSite() const { return FDockSite; }
    void SetDockSite(bool Value) { FDockSite = Value; }
    void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;
    void SetVisible(bool Value) override;
    void SetEnabled(bool Value) override;
    void SetText(const std::string& Value) override;
    void Invalidate() override;
    void Repaint() override;
    TRect ClientRect() const override;

    void WndProc(TMessage& Message) override;
    void Dispatch(TMessage& Message) override;
    void DefaultHandler(TMessage& Message) override;

    void GetChildren(const std::function<void(TComponent*)>& Proc, TComponent* Root) override;
    // Lays the aligned children out in the client area (less what
    // AdjustClientRect keeps): the top ones, then the bottom, left and right
    // ones, each group in the order of their positions, each against the
    // edge of what the ones before left free; the client ones fill the rest.
    // Hidden children take no room.
    virtual void AlignControls();
    // The windowed children in tab order.
    const std::vector<TWinControl*>& TabList() const { return FTabList; }

    TKeyEvent OnKeyDown;
    TKeyPressEvent OnKeyPress;
    TKeyEvent OnKeyUp;
    TNotifyEvent OnEnter;
    TNotifyEvent OnExit;
    TDockOverEvent OnDockOver;
    TDockDropEvent OnDockDrop;
    TUnDockEvent OnUnDock;

protected:
    virtual void CreateParams(TCreateParams& Params);
    virtual void CreateHandle();
    void DestroyHandle();
    // Paints the window itself; custom controls call Paint from here.
    virtual void PaintWindow(HDC DC);
    void PaintControls(HDC DC);
    virtual void KeyDown(WORD& Key, TShiftState Shift);
    virtual void KeyPress(char& Key);
    virtual void KeyUp(WORD& Key, TShiftState Shift);
    virtual void DoEnter();
    virtual void DoExit();
    void FontChanged(TObject* Sender) override;
    // Tells the children that are enabled by themselves as well.
    void EnabledChanged() override;
    // The part of the client area that aligned children share.
    virtual void AdjustClientRect(TRect& Rect) const;
    // A dock drag over this dock site: Accept comes in true (Dock.cpp).
    virtual void DockOver(TDragDockObject* Source, int X, int Y, TDragState State, bool& Accept);
    // The control of Source has just been put on this site.
    virtual void DockDrop(TDragDockObject* Source, int X, int Y);
    // Whether Client may leave this site for NewTarget (null: to float).
    virtual bool DoUnDock(TWinControl* NewTarget, TControl* Client);
    void Loaded() override;

private:
    friend class TControl;
    friend class TDragDockObject;
    friend TWinControl* FindControl(HWND Wnd);
    static LRESULT CALLBACK WindowProcedure(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam);
    void InsertControl(TControl* AControl);
    void RemoveControl(TControl* AControl);
    void PlaceInTabOrder();
    bool RouteMouseToChild(TMessage& Message);
    // Moves the aligned and the anchored children after a change of the client area's size.
    void ClientResized();
    void WMPaint(TMessage& Message);
    void UpdateBoundsFromWindow();

    HWND FHandle = nullptr;
    HWND FParentWindow = nullptr;
    WNDPROC FDefWndProc = nullptr; // the base class's procedure, or null for DefWindowProcA
    std::vector<TControl*> FControls; // creation order; painted first to last
    std::vector<TWinControl*> FTabList;
    bool FTabStop = false;
    bool FAligning = false;
    bool FDockSite = false;
};

// A control without a window: its parent paints it and feeds it mouse input.
class TGraphicControl : public TControl {
    PLATFORM_CLASS(TGraphicControl, TControl)
public:
    explicit TGraphicControl(TComponent* AOwner);
    ~TGraphicControl() override;

    TCanvas* Canvas() const { return FCanvas; }

protected:
    friend class TWinControl;
    virtual void Paint() {}

private:
    TControlCanvas* FCanvas;
};

// A windowed control that paints itself on its canvas.
class TCustomControl : public TWinControl {
    PLATFORM_CLASS(TCustomControl, TWinControl)
public:
    explicit TCustomControl(TComponent* AOwner);
    ~TCustomControl() override;

    TCanvas* Canvas() const { return FCanvas; }

protected:
    virtual void Paint() {}
    void PaintWindow(HDC DC) override;

private:
    TControlCanvas* FCanvas;
};

// The control that holds the mouse capture, windowed or not, or null.
TControl* CaptureControl();
// The control whose window Wnd is, or null for windows that are not controls.
TWinControl* FindControl(HWND Wnd);
// The enabled, visible control at a screen position, graphic ones included, or null.
TControl* ControlAtScreenPos(TPoint Pos);
// The form a control lies on, or null.
class TForm;
TForm* GetParentForm(TControl* Control);

} // namespace platform
