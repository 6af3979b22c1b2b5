#include "KsPackage/Source/KsControl.h"
#include "platform/Action.h"

#include <memory>
#include <utility>

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

void KsControl::ActionChange(TAction* Sender)
{
    inherited::ActionChange(Sender);
    // A grayed check box is neither checked nor unchecked: it stays grayed
    // for an action that is not checked.
    if (Sender->Checked() != GetChecked())
        SetChecked(Sender->Checked());
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

void KsControl::Press()
{
    if (!Focused() && TabStop())
        SetFocus();
    ShowSunken();
}

void KsControl::Unpress()
{
    if (IsHot() || Focused())
        ShowFocused();
    else
        ShowRaised();
}

// With clicks disabled the button is held only so that the capture is left
// alone; coming back with it shows no press.
void KsControl::HoverIn()
{
    if (FMouseHeld && !FClicksDisabled) {
        Press();
        FMousePressed = true;
    } else if (FShowMouseOver && !Focused()) {
        ShowFocused();
    }
    FMouseOver = true;
    if (OnMouseEnter)
        OnMouseEnter(this);
}

void KsControl::HoverOut()
{
    FMouseOver = false;
    if (FMousePressed) {
        FMousePressed = false;
        if (!FKeyPressed)
            Unpress();
        return;
    }
    if (!Focused() && FShowMouseOver)
        ShowRaised();
    if (OnMouseLeave)
        OnMouseLeave(this);
}

void KsControl::CancelPress()
{
    if (IsPressed()) {
        Unpress();
        FMousePressed = false;
        FKeyPressed = false;
    }
    if (FMouseHeld) {
        FMouseHeld = false;
        SetMouseCapture(false);
    }
}

void KsControl::CancelHover()
{
    if (!FMouseOver)
        return;
    FMouseOver = false;
    if (FMousePressed)
        return;
    if (!Focused() && FShowMouseOver)
        ShowRaised();
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
    if (FMouseOver || FMousePressed)
        HoverOut();
    FMouseHeld = false;
}

void KsControl::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    if (Button == mbLeft && IsInside(X, Y)) {
        if (!FClicksDisabled) {
            FMouseHeld = true;
            FMousePressed = true;
            if (!FKeyPressed)
                Press();
        } else if (FShowMouseOver) {
            FMouseHeld = true;
        }
    }
    inherited::MouseDown(Button, Shift, X, Y);
}

void KsControl::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    if (Button == mbLeft) {
        // A press shown before the clicks were disabled ends here too.
        if (FMousePressed && !FKeyPressed)
            Unpress();
        FMousePressed = false;
        if (!FClicksDisabled && FMouseHeld && !IsInside(X, Y))
            SetMouseCapture(false);
        FMouseHeld = false;
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
            if (!FMouseHeld)
                SetMouseCapture(true);
        } else if (!inside && FMouseOver) {
            HoverOut();
            if (!FMouseHeld)
                SetMouseCapture(false);
        }
    }
    inherited::MouseMove(Shift, X, Y);
}

// A disabled control keeps its disabled picture when the disabling takes
// its focus away.
void KsControl::DoEnter()
{
    if (Enabled() && !IsPressed() && !IsHot())
        ShowFocused();
    inherited::DoEnter();
}

void KsControl::DoExit()
{
    if (Enabled()) {
        if (IsPressed()) {
            if (!FMousePressed) {
                Unpress();
                FKeyPressed = false;
            }
        } else if (!IsHot()) {
            ShowRaised();
        }
    }
    inherited::DoExit();
}

void KsControl::KeyDown(WORD& Key, TShiftState Shift)
{
    if (!FClicksDisabled && IsPressKey(Key)) {
        FKeyPressed = true;
        if (!FMousePressed)
            Press();
    }
    inherited::KeyDown(Key, Shift);
}

// The key is let go also when the mouse holds the control down, or when the
// clicks were disabled while it was held; a key still counted as held would
// keep the picture sunken.
void KsControl::KeyUp(WORD& Key, TShiftState Shift)
{
    if (IsPressKey(Key)) {
        if (FKeyPressed && !FMousePressed)
            Unpress();
        FKeyPressed = false;
    }
    inherited::KeyUp(Key, Shift);
}

void KsControl::SetEnabled(bool Value)
{
    if (Value == Enabled())
        return;
    ShowEnabledLook(Value);
    inherited::SetEnabled(Value);
}

void KsControl::ShowEnabledLook(bool Value)
{
    if (Value) {
        ShowRaised();
    } else {
        CancelPress();
        CancelHover();
        ShowDisabled();
    }
}

// A parent's enabling reaches the control here: its own disabling has shown
// its picture in SetEnabled already, so only an enabled control answers.
void KsControl::EnabledChanged()
{
    inherited::EnabledChanged();
    if (Enabled())
        ShowEnabledLook(EffectivelyEnabled());
}

void KsControl::SetShowMouseOver(bool Value)
{
    if (Value == FShowMouseOver)
        return;
    if (!Value)
        CancelHover();
    FShowMouseOver = Value;
}

void KsControl::SetClicksDisabled(bool Value)
{
    if (Value == FClicksDisabled)
        return;
    if (!Value)
        CancelPress();
    FClicksDisabled = Value;
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
    : KsControl(AOwner, ClicksDisabled), FLed(new loom::TBmpLEDCtrl(this, this, StateCount)),
      FRegion(new loom::WinRegion)
{
    SetBitmap(nullptr, 0);
    FOldBitmapChange = GetBitmap(0)->OnChange;
    for (int i = 0; i < StateCount; ++i)
        GetBitmap(i)->OnChange = [this](TObject* Sender) { BitmapChanged(Sender); };
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

void KsCustomControl::ReshowFallback(const TObject* Bitmap)
{
    const int fallback = Substitute(FBitmapIndex);
    if (fallback != 0 && fallback == IndexOfBitmap(Bitmap))
        ShowBitmap(FBitmapIndex);
}

void KsCustomControl::DrawCaption(TRect R, TColor Color)
{
    HDC dc = DrawCanvas()->Handle();
    SetBkMode(dc, TRANSPARENT);
    HGDIOBJ previous = SelectObject(dc, Font()->Handle());
    SetTextColor(dc, static_cast<COLORREF>(Color));
    ::DrawTextA(dc, Caption().c_str(), -1, &R, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    SelectObject(dc, previous);
}

void KsCustomControl::BitmapChanged(TObject* Sender)
{
    const int index = IndexOfBitmap(Sender);
    if (index != 0) {
        if (index == FBitmapIndex)
            ShowBitmap(index);
        if (FOldBitmapChange)
            FOldBitmapChange(Sender);
        return;
    }
    const TBitmap* bitmap = GetBitmap(0);
    FLed->SetImageSize(bitmap->Width(), bitmap->Height());
    Repaint();
    if (FOldBitmapChange)
        FOldBitmapChange(Sender);
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

// ---------------------------------------------------------------- appearances

const TClassInfo& KsCtrlAppearance::StaticClassInfo()
{
    static const TClassInfo& info = TClassBuilder<KsCtrlAppearance, TPersistent>("KsCtrlAppearance").Build();
    return info;
}

bool KsCtrlAppearance::LoadBitmapFiles(std::string Directory, const std::string* Names, int Count, int BaseIndex)
{
    constexpr int MaxFiles = 5;
    if (Count > MaxFiles)
        Count = MaxFiles;
    if (Directory.empty())
        throw ERangeError("Range check error: empty directory");
    if (Directory.back() != '\\' && Directory.back() != ':')
        Directory += '\\';
    std::unique_ptr<TBitmap> loaded[MaxFiles];
    for (int i = 0; i < Count; ++i)
        if (!Names[i].empty()) {
            loaded[i] = std::make_unique<TBitmap>();
            loaded[i]->LoadFromFile(Directory + Names[i]);
        }
    for (int i = 0; i < Count; ++i)
        if (loaded[i])
            SetBitmap(loaded[i].get(), BaseIndex + i);
    return true;
}

const TClassInfo& KsFourStateAppearance::StaticClassInfo()
{
    using A = KsFourStateAppearance;
    static const TClassInfo& info = TClassBuilder<A, KsCtrlAppearance>("KsFourStateAppearance")
        .Object("RaisedBmp", &A::RaisedBmp, &A::SetRaisedBmp)
        .Object("SunkenBmp", &A::SunkenBmp, &A::SetSunkenBmp)
        .Object("FocusedBmp", &A::FocusedBmp, &A::SetFocusedBmp)
        .Object("DisabledBmp", &A::DisabledBmp, &A::SetDisabledBmp)
        .Build();
    return info;
}

bool KsFourStateAppearance::LoadFromFiles(const std::string& Directory, const std::string& Raised,
                                          const std::string& Sunken, const std::string& Focused,
                                          const std::string& Disabled)
{
    const std::string names[4] = {Raised, Sunken, Focused, Disabled};
    return LoadBitmapFiles(Directory, names, 4, FBaseIndex);
}

void KsFourStateAppearance::AssignTo(TPersistent* Dest)
{
    auto* dest = dynamic_cast<KsFourStateAppearance*>(Dest);
    if (!dest) {
        inherited::AssignTo(Dest);
        return;
    }
    dest->SetRaisedBmp(RaisedBmp());
    dest->SetSunkenBmp(SunkenBmp());
    dest->SetFocusedBmp(FocusedBmp());
    dest->SetDisabledBmp(DisabledBmp());
}

// ---------------------------------------------------------------- colour records

void KsCtrlFontColor::SetColor(KsFontColorState State, TColor Value)
{
    if (FColors[State] == Value)
        return;
    FColors[State] = Value;
    Changed();
}

void KsCtrlFontColor::Changed()
{
    if (OnChange)
        OnChange(this);
}

void KsCtrlFontColor::AssignTo(TPersistent* Dest)
{
    auto* dest = dynamic_cast<KsCtrlFontColor*>(Dest);
    if (!dest || &dest->ClassInfo() != &ClassInfo()) {
        inherited::AssignTo(Dest);
        return;
    }
    dest->FColors = FColors;
    dest->Changed();
}

namespace {

// The colour properties of a record class, each -1 by default.
template <class C>
const TClassInfo& ColorRecordInfo(const char* Name, std::initializer_list<std::pair<const char*, KsFontColorState>> Colors)
{
    TClassBuilder<C, KsCtrlFontColor> builder(Name);
    for (const auto& [property, state] : Colors)
        builder.Int(
            property, [state](const C& c) { return c.GetColor(state); },
            [state](C& c, TColor value) { c.SetColor(state, value); }, -1, &ColorIdents());
    return builder.Build();
}

} // namespace

const TClassInfo& KsCtrlFontColor::StaticClassInfo()
{
    static const TClassInfo& info = TClassBuilder<KsCtrlFontColor, TPersistent>("KsCtrlFontColor").Build();
    return info;
}

const TClassInfo& KsTwoStateFontColor::StaticClassInfo()
{
    static const TClassInfo& info =
        ColorRecordInfo<KsTwoStateFontColor>("KsTwoStateFontColor", {{"Focused", fcFocused}, {"Disabled", fcDisabled}});
    return info;
}

const TClassInfo& KsThreeStateFontColor::StaticClassInfo()
{
    static const TClassInfo& info = ColorRecordInfo<KsThreeStateFontColor>(
        "KsThreeStateFontColor", {{"Sunken", fcSunken}, {"Focused", fcFocused}, {"Disabled", fcDisabled}});
    return info;
}

const TClassInfo& KsFourStateFontColor::StaticClassInfo()
{
    static const TClassInfo& info = ColorRecordInfo<KsFourStateFontColor>(
        "KsFourStateFontColor",
        {{"Raised", fcRaised}, {"Sunken", fcSunken}, {"Focused", fcFocused}, {"Disabled", fcDisabled}});
    return info;
}
