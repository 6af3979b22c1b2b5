// The skinned control base.
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
#pragma once

#include "KsPackage/Source/KsCtrlFontColor.h"
#include "loom/Component/TBmpLEDCtrl.h"
#include "loom/Graphics/WinRegion.h"
#include "platform/Control.h"

#include <cstdint>

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
    bool IsPressed() const { return FKeyPressed || FMouse == mhPressed; }
    bool IsHot() const { return FShowMouseOver && FMouseOver; }
    // The look the control's state calls for: disabled while it or a parent
    // is, sunken while pressed, focused while hot or focused, else raised.
    KsFontColorState Look() const;
    // Shows Look() through the show operation of that look. The handlers
    // change the state and then ask for this; none chooses a picture itself.
    void UpdateLook();
    // A press begins: the control takes the focus (when it is a tab stop)
    // and shows its look.
    void Press();
    void HoverIn();
    void HoverOut();
    // End the presses (letting go of the mouse capture a held button had)
    // and the hover; the caller shows the look that follows.
    void CancelPress();
    void CancelHover();

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

private:
    // What the left button does to the control: nothing; it went down on
    // the control and is held without showing a press (dragged out, or
    // presses are not shown); or it is held and shows the press.
    enum TMouseHold : uint8_t { mhNone, mhHeld, mhPressed };

    bool FShowMouseOver = true;
    bool FClicksDisabled;
    // The pointer is inside the hit area.
    bool FMouseOver = false;
    // Space or return is held down and presses the control.
    bool FKeyPressed = false;
    TMouseHold FMouse = mhNone;
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

    bool CanResize(int& NewWidth, int& NewHeight) override;
    void Resize() override;
    void CreateHandle() override;
    void Loaded() override;

private:
    void BitmapChanged(platform::TObject* Sender);
    // The state whose bitmap Bitmap is; BitmapCount when it is none of them.
    int IndexOfBitmap(const platform::TObject* Bitmap) const;
    void BuildRegion();
    // Gives the window its shape; a window not created yet gets it when it is.
    void ApplyRegion();

    loom::TBmpLEDCtrl* FLed;
    int FBitmapIndex = 0;
    loom::WinRegion* FRegion;
};
