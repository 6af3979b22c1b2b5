#include "KsPackage/Source/KsControl.h"
#include "platform/GdiScope.h"

#include <memory>

using namespace platform;

namespace {

constexpr WORD KeySpace = 0x20, KeyReturn = 0x0D;

bool IsPressKey(WORD Key)
{
    return Key == KeySpace || Key == KeyReturn;
}

} // namespace

// ---------------------------------------------------------------- KsControl

const TClassInfo& KsControl::StaticClassInfo()
{
    static const TClassInfo& info = TClassBuilder<KsControl, TWinControl>("KsControl")
        .Event("OnMouseEnter", &KsControl::OnMouseEnter)
        .Event("OnMouseLeave", &KsControl::OnMouseLeave)
        .Protected()
        .Bool("ShowMouseOver", &KsControl::ShowMouseOver, &KsControl::SetShowMouseOver, true)
        .Bool("ClicksDisabled", &KsControl::ClicksDisabled, &KsControl::SetClicksDisabled, false)
        .Build();
    return info;
}

KsControl::KsControl(TComponent* AOwner, bool ClicksDisabled) : TWinControl(AOwner), FClicksDisabled(ClicksDisabled)
{
    FControlStyle.Include(csOpaque);
}

bool KsControl::GetChecked() const
{
    return false;
}

void KsControl::SetChecked(bool)
{
}

void KsControl::ShowRaised()
{
}

void KsControl::ShowDisabled()
{
    ShowRaised();
}

void KsControl::ShowFocused()
{
    ShowRaised();
}

void KsControl::ShowSunken()
{
    ShowRaised();
}

bool KsControl::IsInside(int X, int Y)
{
    return X >= 0 && X < Width() && Y >= 0 && Y < Height();
}

KsFontColorState KsControl::Look() const
{
    if (!EffectivelyEnabled())
        return fcDisabled;
    if (IsPressed())
        return fcSunken;
    if (IsHot() || Focused())
        return fcFocused;
    return fcRaised;
}

void KsControl::UpdateLook()
{
    switch (Look()) {
    case fcRaised: ShowRaised(); break;
    case fcSunken: ShowSunken(); break;
    case fcFocused: ShowFocused(); break;
    case fcDisabled: ShowDisabled(); break;
    }
}

void KsControl::Press()
{
    if (!Focused() && TabStop())
        SetFocus();
    UpdateLook();
}

// With clicks disabled the button is held only so that the capture is left
// alone; coming back with it shows no press.
void KsControl::HoverIn()
{
    FMouseOver = true;
    if (FMouse == mhHeld && !FClicksDisabled) {
        FMouse = mhPressed;
        Press();
    } else {
        UpdateLook();
    }
    if (OnMouseEnter)
        OnMouseEnter(this);
}

// A press dragged out is no exit: the button still holds the control.
void KsControl::HoverOut()
{
    FMouseOver = false;
    const bool pressed = FMouse == mhPressed;
    if (pressed)
        FMouse = mhHeld;
    UpdateLook();
    if (!pressed && OnMouseLeave)
        OnMouseLeave(this);
}

void KsControl::CancelPress()
{
    FKeyPressed = false;
    const bool held = FMouse != mhNone;
    FMouse = mhNone;
    if (held)
        SetMouseCapture(false);
}

void KsControl::CancelHover()
{
    if (!FMouseOver)
        return;
    FMouseOver = false;
    if (FMouse != mhPressed)
        SetMouseCapture(false);
}

// The framework lets the capture go as the left button goes up, before Click
// and MouseUp run. Over the control that is no exit: the pointer is still
// there, and MouseUp takes the capture back to go on tracking it.
void KsControl::WndProc(TMessage& Message)
{
    if (Message.Msg != WM_LBUTTONUP) {
        inherited::WndProc(Message);
        return;
    }
    const bool outer = FReleasedInside;
    const int x = static_cast<short>(LOWORD(Message.LParam)), y = static_cast<short>(HIWORD(Message.LParam));
    FReleasedInside = IsInside(x, y);
    try {
        inherited::WndProc(Message);
    } catch (...) {
        FReleasedInside = outer;
        throw;
    }
    FReleasedInside = outer;
}

void KsControl::Dispatch(TMessage& Message)
{
    if (Message.Msg == WM_CAPTURECHANGED) {
        WMCaptureChanged(Message);
        return;
    }
    inherited::Dispatch(Message);
}

void KsControl::WMCaptureChanged(TMessage& Message)
{
    // The framework's own release as the button goes up over the control;
    // any later loss, such as a Click handler hiding the control, counts.
    if (FReleasedInside && !Message.LParam) {
        FReleasedInside = false;
        return;
    }
    // Released outside, a press that had already been dragged out has had
    // its exit; leaving again would raise a second OnMouseLeave.
    if (FMouseOver || FMouse == mhPressed)
        HoverOut();
    FMouse = mhNone;
}

void KsControl::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    if (Button == mbLeft && IsInside(X, Y)) {
        if (!FClicksDisabled) {
            FMouse = mhPressed;
            Press();
        } else if (FShowMouseOver) {
            FMouse = mhHeld;
        }
    }
    inherited::MouseDown(Button, Shift, X, Y);
}

// A press shown before the clicks were disabled ends here too.
void KsControl::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    if (Button == mbLeft) {
        const bool held = FMouse != mhNone;
        FMouse = mhNone;
        UpdateLook();
        if (!FClicksDisabled && held && !IsInside(X, Y))
            SetMouseCapture(false);
        // Tracking goes on over a control still on screen; one that its
        // Click hid is left.
        if (FMouseOver && Showing())
            SetMouseCapture(true);
        else if (FMouseOver)
            HoverOut();
    }
    inherited::MouseUp(Button, Shift, X, Y);
}

void KsControl::MouseMove(TShiftState Shift, int X, int Y)
{
    if (FShowMouseOver || !FClicksDisabled) {
        const bool inside = IsInside(X, Y);
        if (inside && !FMouseOver) {
            HoverIn();
            if (FMouse == mhNone)
                SetMouseCapture(true);
        } else if (!inside && FMouseOver) {
            HoverOut();
            if (FMouse == mhNone)
                SetMouseCapture(false);
        }
    }
    inherited::MouseMove(Shift, X, Y);
}

void KsControl::DoEnter()
{
    UpdateLook();
    inherited::DoEnter();
}

// The key's release goes to the window that has the focus now, so the key
// no longer presses the control; a held mouse button still does.
void KsControl::DoExit()
{
    FKeyPressed = false;
    UpdateLook();
    inherited::DoExit();
}

void KsControl::KeyDown(WORD& Key, TShiftState Shift)
{
    if (!FClicksDisabled && IsPressKey(Key)) {
        FKeyPressed = true;
        Press();
    }
    inherited::KeyDown(Key, Shift);
}

// The key is let go also when the clicks were disabled while it was held; a
// key still counted as held would keep the picture sunken.
void KsControl::KeyUp(WORD& Key, TShiftState Shift)
{
    if (IsPressKey(Key)) {
        FKeyPressed = false;
        UpdateLook();
    }
    inherited::KeyUp(Key, Shift);
}

// The presses and the hover end before the window is disabled: letting go
// of the mouse capture is the pointer's exit, which comes before the focus
// leaves the disabled window.
void KsControl::SetEnabled(bool Value)
{
    if (Value == Enabled())
        return;
    if (!Value) {
        CancelPress();
        CancelHover();
    }
    inherited::SetEnabled(Value);
}

// The control's own enabling and a parent's both reach it here.
void KsControl::EnabledChanged()
{
    inherited::EnabledChanged();
    if (!EffectivelyEnabled()) {
        CancelPress();
        CancelHover();
    }
    UpdateLook();
}

void KsControl::SetShowMouseOver(bool Value)
{
    if (Value == FShowMouseOver)
        return;
    FShowMouseOver = Value;
    if (!Value) {
        CancelHover();
        UpdateLook();
    }
}

void KsControl::SetClicksDisabled(bool Value)
{
    if (Value == FClicksDisabled)
        return;
    FClicksDisabled = Value;
    if (!Value) {
        CancelPress();
        UpdateLook();
    }
}

// ---------------------------------------------------------------- KsCustomControl

const TClassInfo& KsCustomControl::StaticClassInfo()
{
    static const TClassInfo& info = TClassBuilder<KsCustomControl, KsControl>("KsCustomControl")
        .Int("TransparentColor", &KsCustomControl::GetTransparentColor, &KsCustomControl::SetTransparentColor, 0,
             &ColorIdents())
        .Bool("Transparent", &KsCustomControl::GetTransparent, &KsCustomControl::SetTransparent, false)
        .Build();
    return info;
}

KsCustomControl::KsCustomControl(TComponent* AOwner, bool ClicksDisabled, int StateCount)
    : KsControl(AOwner, ClicksDisabled), FLed(nullptr), FRegion(nullptr)
{
    // The two belong to these owners until the end, so that running out of
    // memory part-way frees them (the destructor does not run then).
    auto led = std::make_unique<loom::TBmpLEDCtrl>(this, this, StateCount);
    auto region = std::make_unique<loom::WinRegion>();
    FLed = led.get();
    FRegion = region.get();
    SetBitmap(nullptr, 0);
    // The control's handler takes the place of the LED's and calls it.
    for (int i = 0; i < StateCount; ++i)
        GetBitmap(i)->OnChange = [this](TObject* Sender) { BitmapChanged(Sender); };
    led.release();
    region.release();
}

KsCustomControl::~KsCustomControl()
{
    delete FLed;
    delete FRegion;
}

void KsCustomControl::ShowRaised()
{
    ShowBitmap(0);
}

bool KsCustomControl::IsInside(int X, int Y)
{
    return FRegion->Contains(X, Y);
}

// A Substitute that never reaches state 0 or a state with a picture would
// loop here for ever: after as many steps as there are states, state 0 is
// shown instead.
void KsCustomControl::ShowBitmap(int Index)
{
    FBitmapIndex = Index;
    for (int steps = 0; Index != 0 && IsBitmapEmpty(Index); ++steps) {
        if (steps == BitmapCount()) {
            Index = 0;
            break;
        }
        Index = Substitute(Index);
        if (Index < 0 || Index >= BitmapCount())
            Index = 0;
    }
    FLed->SetState(Index);
}

int KsCustomControl::Substitute(int)
{
    return 0;
}

bool KsCustomControl::IsBitmapEmpty(int Index) const
{
    const TBitmap* bitmap = GetBitmap(Index);
    return bitmap->Width() == 0 || bitmap->Height() == 0;
}

TColor KsCustomControl::GetTransparentColor() const
{
    return static_cast<TColor>(FLed->TransparentColor().Value() & 0xFFFFFF);
}

void KsCustomControl::SetTransparent(bool Value)
{
    if (Value == GetTransparent())
        return;
    FLed->SetTransparent(Value);
    UpdateRegion();
}

void KsCustomControl::SetTransparentColor(TColor Value)
{
    FLed->SetTransparentColor(Value);
    UpdateRegion();
}

void KsCustomControl::SetBitmap(TBitmap* Bitmap, int Index)
{
    if (Index == 0 && Bitmap)
        FLed->SetTransparentColor(Bitmap->TransparentColor());
    FLed->SetBitmap(Bitmap, Index);
}

int KsCustomControl::IndexOfBitmap(const TObject* Bitmap) const
{
    int index = 0;
    while (index < BitmapCount() && GetBitmap(index) != Bitmap)
        ++index;
    return index;
}

void KsCustomControl::DrawCaption(TRect R, TColor Color)
{
    HDC dc = DrawCanvas()->Handle();
    SetBkMode(dc, TRANSPARENT);
    const TSelectedObject font(dc, Font()->Handle());
    SetTextColor(dc, static_cast<COLORREF>(Color));
    ::DrawTextA(dc, Caption().c_str(), -1, &R, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
}

// A state shown in place of another, or instead of its own empty picture,
// is shown again when that picture changes: the state now shows its own
// picture or its better fallback.
void KsCustomControl::BitmapChanged(TObject* Sender)
{
    const int index = IndexOfBitmap(Sender);
    if (index != 0) {
        const int fallback = Substitute(FBitmapIndex);
        if (index == FBitmapIndex || (fallback != 0 && fallback == index))
            ShowBitmap(FBitmapIndex);
        FLed->BitmapChanged(Sender);
        return;
    }
    const TBitmap* bitmap = GetBitmap(0);
    FLed->SetImageSize(bitmap->Width(), bitmap->Height());
    Repaint();
    FLed->BitmapChanged(Sender);
    if (!IsBitmapEmpty(0))
        SetBounds(Left(), Top(), bitmap->Width(), bitmap->Height());
    UpdateRegion();
}

void KsCustomControl::BuildRegion()
{
    if (!GetTransparent())
        FRegion->SetRect(0, 0, Width(), Height());
    else if (IsBitmapEmpty(0))
        FRegion->SetEmpty();
    else
        FLed->MakeRegion(*FRegion, 0);
}

void KsCustomControl::UpdateRegion()
{
    BuildRegion();
    ApplyRegion();
}

// Asking for the handle here would create the window (and its form's) in
// the middle of reading a form file; a window made later gets its region
// in CreateHandle.
void KsCustomControl::ApplyRegion()
{
    if (ComponentState().Contains(csDesigning) || !HandleAllocated())
        return;
    if (GetTransparent() && !IsBitmapEmpty(0))
        FRegion->ApplyToWindow(Handle(), true);
    else
        SetWindowRgn(Handle(), nullptr, TRUE);
}

void KsCustomControl::CreateHandle()
{
    inherited::CreateHandle();
    ApplyRegion();
}

// Sizes read from a form file raise no Resize, so the region is built once
// the whole file has been read.
void KsCustomControl::Loaded()
{
    inherited::Loaded();
    UpdateRegion();
}

bool KsCustomControl::CanResize(int& NewWidth, int& NewHeight)
{
    const bool allowed = inherited::CanResize(NewWidth, NewHeight);
    if (IsBitmapEmpty(0))
        return allowed;
    NewWidth = FLed->Width();
    NewHeight = FLed->Height();
    return true;
}

void KsCustomControl::Resize()
{
    inherited::Resize();
    UpdateRegion();
}

void KsCustomControl::Repaint()
{
    FLed->Refresh();
    inherited::Repaint();
}

void KsCustomControl::WndProc(TMessage& Message)
{
    if (Message.Msg == WM_ERASEBKGND && !ComponentState().Contains(csDesigning)) {
        Message.Result = 1;
        return;
    }
    inherited::WndProc(Message);
}
