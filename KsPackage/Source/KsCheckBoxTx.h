// The skinned check box with a caption: a single line centred in a text
// rectangle (the whole client area once the box is positioned), drawn over
// the picture in a colour by check state and look, and moved by half the
// displacement at the first drawing after each press.
//
// The box chains its own handler in front of the font's: the handler the
// font had at construction still runs after the caption is redrawn, and is
// put back when the box goes.
#pragma once

#include "KsPackage/Source/KsCheckBox.h"

// Caption colours by check state: the checked and grayed groups have a
// colour for every look, the unchecked one none for raised (the font's).
// Unset colours are -1.
class KsCheckBoxFontColor : public platform::TPersistent {
    PLATFORM_CLASS(KsCheckBoxFontColor, platform::TPersistent)
public:
    KsCheckBoxFontColor();
    ~KsCheckBoxFontColor() override;

    KsFourStateFontColor* Check() const { return FCheck; }
    KsThreeStateFontColor* Uncheck() const { return FUncheck; }
    KsFourStateFontColor* Gray() const { return FGray; }
    // One handler for all three groups.
    const platform::TNotifyEvent& OnChange() const { return FUncheck->OnChange; }
    void SetOnChange(const platform::TNotifyEvent& Value);

protected:
    // Copies Uncheck, Check, then Gray (an OnChange for each).
    void AssignTo(platform::TPersistent* Dest) override;

private:
    KsFourStateFontColor* FCheck;
    KsThreeStateFontColor* FUncheck;
    KsFourStateFontColor* FGray;
};

class KsCheckBoxTx : public KsCheckBox {
    PLATFORM_CLASS(KsCheckBoxTx, KsCheckBox)
public:
    explicit KsCheckBoxTx(platform::TComponent* AOwner);
    ~KsCheckBoxTx() override;

    void Repaint() override;
    // Every move or resize puts the text rectangle on the whole requested area.
    void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;
    void ShowSunken() override;
    void ShowBitmap(int Index) override;
    void SetText(const std::string& Value) override;

    // How far the text rectangle's left and top edges move while pressed.
    void SetDisp(int X, int Y);
    void SetTextBounds(int ALeft, int ATop, int AWidth, int AHeight);
    platform::TRect TextBounds() const { return FTextBounds; }
    // The picture again, the caption over it, then the window.
    void DoRepaint();
    void DrawTextA();
    // A plain RGB colour: the record's colour for the check state and look,
    // else the font's.
    platform::TColor GetFontColorOfCurState() const;
    platform::TColor GetFontColorFromFourState(const KsFourStateFontColor& Group) const;
    platform::TColor GetFontColorFromThreeState(const KsThreeStateFontColor& Group) const;

    KsCheckBoxFontColor* FontColors() const { return FFontColors; }
    // Copies the given colours.
    void SetFontColors(KsCheckBoxFontColor* Value) { FFontColors->Assign(Value); }

private:
    void FontChange(platform::TObject* Sender);
    void FontColorChange(platform::TObject* Sender);

    int FDispX = 2;
    int FDispY = 2;
    bool FShiftText = false;
    platform::TRect FTextBounds{0, 0, 0, 0};
    KsCheckBoxFontColor* FFontColors;
    platform::TNotifyEvent FOldFontChange;
};
