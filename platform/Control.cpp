#include "platform/Control.h"
#include "platform/Action.h"
#include "platform/Align.h"
#include "platform/Form.h"
#include "platform/Menu.h"

#include <algorithm>
#include <memory>

namespace platform {

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
    ForgetCapture();
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

void TControl::DefaultHandler(TMessage&)
{
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
