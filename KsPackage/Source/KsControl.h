// The skinned control base and its published records.
//
// KsControl turns mouse, keyboard, focus and enabling events into four show
// operations (raised, sunken, focused, disabled). It notices the pointer
// leaving without any platform leave notification: while the pointer is over
// the control and no button is held, the control holds the mouse capture and
// sees the move that leaves; losing the capture to another window counts as
// leaving.
//
// KsCustomControl adds the pictures: a bitmap LED with one bitmap per state
// shown through a hidden image that fills the control, a window region cut
// from the state-0 bitmap (its shape and hit test) and a size locked to that
// bitmap. It owns its LED, its region and, in its subclasses, its appearance
// and colour records.
//
// The appearances give the state bitmaps readable property names; they store
// nothing themselves and hand out the control's live bitmaps, so a form
// file's Appearance.RaisedBmp.Data is read straight into the control's state.
// The colour records hold a caption colour per state (-1: not set) and tell
// their owner of every change.
#pragma once

#include "loom/Component/TBmpLEDCtrl.h"
#include "loom/Graphics/WinRegion.h"
#include "platform/Control.h"

#include <array>
#include <string>

class KsCustomControl;

class KsControl : public platform::TWinControl {
    PLATFORM_CLASS(KsControl, platform::TWinControl)
public:
    KsControl(platform::TComponent* AOwner, bool ClicksDisabled);

    virtual bool GetChecked() const;
    virtual void SetChecked(bool Value);
    virtual void ShowRaised();
    virtual void ShowDisabled();
    virtual void ShowFocused();
    virtual void ShowSunken();
    // The hit test, in client coordinates.
    virtual bool IsInside(int X, int Y);
    // Another window took the mouse capture.
    virtual void WMCaptureChanged(platform::TMessage& Message);

    bool ShowMouseOver() const { return FShowMouseOver; }
    void SetShowMouseOver(bool Value);
    bool ClicksDisabled() const { return FClicksDisabled; }
    void SetClicksDisabled(bool Value);
    void SetEnabled(bool Value) override;

    platform::TNotifyEvent OnMouseEnter;
    platform::TNotifyEvent OnMouseLeave;

protected:
    bool IsPressed() const { return FKeyPressed || FMousePressed; }
    bool IsHot() const { return FShowMouseOver && FMouseOver; }
    void Press();
    void Unpress();
    void HoverIn();
    void HoverOut();
    void CancelPress();
    void CancelHover();
    // The raised picture, or the disabled one after ending any press and hover.
    void ShowEnabledLook(bool Value);

    void WndProc(platform::TMessage& Message) override;
    void Dispatch(platform::TMessage& Message) override;
    void MouseDown(platform::TMouseButton Button, platform::TShiftState Shift, int X, int Y) override;
    void MouseUp(platform::TMouseButton Button, platform::TShiftState Shift, int X, int Y) override;
    void MouseMove(platform::TShiftState Shift, int X, int Y) override;
    void DoEnter() override;
    void DoExit() override;
    void KeyDown(WORD& Key, platform::TShiftState Shift) override;
    void KeyUp(WORD& Key, platform::TShiftState Shift) override;
    void EnabledChanged() override;
    // Check boxes and radio buttons take the action's check mark as well.
    void ActionChange(platform::TAction* Sender) override;

private:
    bool FShowMouseOver = true;
    bool FMouseOver = false;
    bool FKeyPressed = false;
    bool FMousePressed = false;
    bool FMouseHeld = false;
    bool FClicksDisabled;
    // The left button is going up over the control and the framework's
    // release of the capture is still to come.
    bool FReleasedInside = false;
};

class KsCustomControl : public KsControl {
    PLATFORM_CLASS(KsCustomControl, KsControl)
public:
    KsCustomControl(platform::TComponent* AOwner, bool ClicksDisabled, int StateCount);
    ~KsCustomControl() override;

    // Shows the picture of state Index; a state without a picture shows the
    // one Substitute names instead, state 0 at the latest.
    virtual void ShowBitmap(int Index);
    virtual int Substitute(int Index);
    virtual void SetTransparent(bool Value);
    virtual void SetTransparentColor(platform::TColor Value);

    void ShowRaised() override;
    bool IsInside(int X, int Y) override;
    void Repaint() override;
    void WndProc(platform::TMessage& Message) override;

    // The live state bitmap: drawing on it changes that state's picture.
    platform::TBitmap* GetBitmap(int Index) const { return FLed->Bitmap(Index); }
    // Copies Bitmap (none: an empty picture) into state Index; the state-0
    // bitmap also brings its transparent colour.
    void SetBitmap(platform::TBitmap* Bitmap, int Index);
    int BitmapCount() const { return FLed->StateCount(); }
    // The state last asked of ShowBitmap, before any substitution.
    int BitmapIndex() const { return FBitmapIndex; }
    bool IsBitmapEmpty(int Index) const;
    platform::TColor GetTransparentColor() const;
    bool GetTransparent() const { return FLed->Transparent(); }

protected:
    // Where captions are drawn over the picture.
    platform::TCanvas* DrawCanvas() const { return FLed->Canvas(); }
    // Draws the current picture again, wiping anything drawn over it.
    void RefreshBitmap() { FLed->Refresh(); }
    // Text on one line centred in R over the picture, in the control's font
    // and the plain RGB Color, letting the picture show between the letters.
    void DrawCaption(platform::TRect R, platform::TColor Color);
    void UpdateRegion();
    // The state whose bitmap Bitmap is; BitmapCount when it is none of them.
    int IndexOfBitmap(const platform::TObject* Bitmap) const;
    // For controls whose Substitute names other states than 0: when the
    // changed bitmap is the fallback the current state shows, show it again.
    void ReshowFallback(const platform::TObject* Bitmap);

    bool CanResize(int& NewWidth, int& NewHeight) override;
    void Resize() override;
    void CreateHandle() override;
    void Loaded() override;

private:
    void BitmapChanged(platform::TObject* Sender);
    void BuildRegion();
    // Gives the window its shape; a window not created yet gets it when it is.
    void ApplyRegion();

    loom::TBmpLEDCtrl* FLed;
    int FBitmapIndex = 0;
    loom::WinRegion* FRegion;
    platform::TNotifyEvent FOldBitmapChange;
};

class KsCtrlAppearance : public platform::TPersistent {
    PLATFORM_CLASS(KsCtrlAppearance, platform::TPersistent)
public:
    explicit KsCtrlAppearance(KsCustomControl* Control) : FControl(Control) {}

    void SetBitmap(platform::TBitmap* Bitmap, int Index) { FControl->SetBitmap(Bitmap, Index); }
    platform::TBitmap* GetBitmap(int Index) const { return FControl->GetBitmap(Index); }
    // Loads the non-empty names (at most five) from Directory into the states
    // BaseIndex + i. Every file is read before any state changes, so a file
    // that fails to load leaves all pictures as they were.
    bool LoadBitmapFiles(std::string Directory, const std::string* Names, int Count, int BaseIndex);

private:
    KsCustomControl* FControl;
};

class KsFourStateAppearance : public KsCtrlAppearance {
    PLATFORM_CLASS(KsFourStateAppearance, KsCtrlAppearance)
public:
    KsFourStateAppearance(KsCustomControl* Control, int BaseIndex) : KsCtrlAppearance(Control), FBaseIndex(BaseIndex) {}

    platform::TBitmap* RaisedBmp() const { return GetBitmap(FBaseIndex); }
    platform::TBitmap* SunkenBmp() const { return GetBitmap(FBaseIndex + 1); }
    platform::TBitmap* FocusedBmp() const { return GetBitmap(FBaseIndex + 2); }
    platform::TBitmap* DisabledBmp() const { return GetBitmap(FBaseIndex + 3); }
    void SetRaisedBmp(platform::TBitmap* Value) { SetBitmap(Value, FBaseIndex); }
    void SetSunkenBmp(platform::TBitmap* Value) { SetBitmap(Value, FBaseIndex + 1); }
    void SetFocusedBmp(platform::TBitmap* Value) { SetBitmap(Value, FBaseIndex + 2); }
    void SetDisabledBmp(platform::TBitmap* Value) { SetBitmap(Value, FBaseIndex + 3); }

    bool LoadFromFiles(const std::string& Directory, const std::string& Raised, const std::string& Sunken,
                       const std::string& Focused, const std::string& Disabled);

protected:
    void AssignTo(platform::TPersistent* Dest) override;

private:
    int FBaseIndex;
};

enum KsFontColorState { fcRaised, fcSunken, fcFocused, fcDisabled };

class KsCtrlFontColor : public platform::TPersistent {
    PLATFORM_CLASS(KsCtrlFontColor, platform::TPersistent)
public:
    KsCtrlFontColor() = default;
    ~KsCtrlFontColor() override { OnChange = nullptr; }

    // -1 when not set; the control reading the record decides what that means.
    platform::TColor GetColor(KsFontColorState State) const { return FColors[State]; }
    // Raises OnChange once, and nothing when the value is already there.
    void SetColor(KsFontColorState State, platform::TColor Value);
    void Changed();

    platform::TNotifyEvent OnChange;

protected:
    // Copies every colour into a record of the same class; one OnChange there.
    void AssignTo(platform::TPersistent* Dest) override;

private:
    std::array<platform::TColor, 4> FColors{-1, -1, -1, -1};
};

class KsTwoStateFontColor : public KsCtrlFontColor {
    PLATFORM_CLASS(KsTwoStateFontColor, KsCtrlFontColor)
};

class KsThreeStateFontColor : public KsCtrlFontColor {
    PLATFORM_CLASS(KsThreeStateFontColor, KsCtrlFontColor)
};

class KsFourStateFontColor : public KsCtrlFontColor {
    PLATFORM_CLASS(KsFourStateFontColor, KsCtrlFontColor)
};
