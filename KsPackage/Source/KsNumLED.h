// The numeric LED control: the form designer's and the program's face of
// the numeric segment display. It is a control without a window that
// paints nothing itself: its implementation's image layer, an image control
// on the same parent at the same bounds, shows the display. Every property
// and operation forwards to the implementation; the control adds streaming,
// the colour set and the bounds. With KeepRatio the display (and so the
// control) may be smaller than asked, to keep the design proportions.
//
// The control owns its implementation (which owns the layer, painter and
// LEDs) and its colour set; the layer image belongs to the control as a
// component. Visible and Enabled are not passed on to the layer image.
#pragma once

#include "KsPackage/Source/KsNumLed_imp.h"
#include "platform/Control.h"

class KsNumLed;

// The display's four colours. It stores none of them: each reads and writes
// its control's implementation.
class KsLedColors : public platform::TPersistent {
    PLATFORM_CLASS(KsLedColors, platform::TPersistent)
public:
    explicit KsLedColors(KsNumLed* Owner) : FOwner(Owner) {}

    // Light and dark are taken as plain RGB; background and transparent
    // colours are resolved to RGB.
    platform::TColor LightColor() const;
    void SetLightColor(platform::TColor Value);
    platform::TColor DarkColor() const;
    void SetDarkColor(platform::TColor Value);
    platform::TColor BackgroundColor() const;
    void SetBackgroundColor(platform::TColor Value);
    platform::TColor TransparentColor() const;
    void SetTransparentColor(platform::TColor Value);

protected:
    // Into another colour set only, through its four setters (light, dark,
    // background, transparent); any other class raises EInvalidCast.
    void AssignTo(platform::TPersistent* Dest) override;

private:
    KsNumLed* FOwner;
};

class KsNumLed : public platform::TControl {
    PLATFORM_CLASS(KsNumLed, platform::TControl)
public:
    explicit KsNumLed(platform::TComponent* AOwner);
    ~KsNumLed() override;

    // The layer image takes the position and the display the size (within
    // the constraints); the control then takes the size the display was drawn at.
    void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;
    // The layer image goes to the same parent first.
    void SetParent(platform::TWinControl* AParent) override;
    void Repaint() override;

    loom::KsNumLedType GetType() const { return FImp->GetType(); }
    void SetType(loom::KsNumLedType Value) { FImp->SetType(Value); }
    loom::KsNumLedStyle GetStyle() const { return FImp->GetStyle(); }
    void SetStyle(loom::KsNumLedStyle Value) { FImp->SetStyle(Value); }
    bool GetZeroLeading() const { return FImp->GetZeroLeading(); }
    void SetZeroLeading(bool Value) { FImp->SetZeroLeading(Value); }
    // An invalid format is ignored.
    const std::string& GetFormat() const { return FImp->GetFormat(); }
    void SetFormat(const std::string& Value) { FImp->SetFormat(Value); }
    bool GetTransparent() const { return FImp->GetTransparent(); }
    void SetTransparent(bool Value) { FImp->SetTransparent(Value); }
    bool GetKeepRatio() const { return FImp->GetKeepRatio(); }
    // Applies the rule to the current bounds at once.
    void SetKeepRatio(bool Value);
    KsLedColors* LedColors() const { return FLedColors; }
    // Copies the four colours; the control keeps its own set.
    void SetLedColors(KsLedColors* Value) { FLedColors->Assign(Value); }

    // A value of the kind Type does not show is ignored.
    void SetValue(const double& Value) { FImp->SetValue(Value); }
    void SetValue(const platform::TDateTime& Value) { FImp->SetValue(Value); }
    // False unless Type holds a value of that kind.
    bool GetValue(double& Value) const { return FImp->GetValue(Value); }
    bool GetValue(platform::TDateTime& Value) const { return FImp->GetValue(Value); }
    // 0: every character; 1 to the character count: one from the left.
    void On(unsigned Index) { FImp->On(Index); }
    void Off(unsigned Index) { FImp->Off(Index); }

    loom::KsNumLed_imp* Imp() const { return FImp; }

private:
    loom::KsNumLed_imp* FImp = nullptr;
    KsLedColors* FLedColors = nullptr;
};
