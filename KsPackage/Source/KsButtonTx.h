// The skinned push button with a caption: a single line centred in a text
// rectangle (the whole client area once the button is positioned), drawn over
// the picture in a colour per visual state, and moved by half the
// displacement at the first drawing after each press.
//
// The button chains its own handler in front of the font's: the handler the
// font had at construction still runs after the caption is redrawn, and is
// put back when the button goes.
#pragma once

#include "KsPackage/Source/KsButton.h"

class KsButtonTx : public KsButton {
    PLATFORM_CLASS(KsButtonTx, KsButton)
public:
    explicit KsButtonTx(platform::TComponent* AOwner);
    ~KsButtonTx() override;

    // How far the text rectangle's left and top edges move while pressed.
    void SetDisp(int X, int Y);
    void SetTextBounds(int ALeft, int ATop, int AWidth, int AHeight);
    platform::TRect TextBounds() const { return FTextBounds; }
    // Every move or resize puts the text rectangle on the whole requested area.
    void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;
    void ShowBitmap(int Index) override;
    void ShowSunken() override;
    void Repaint() override;
    void SetText(const std::string& Value) override;

    // The picture again, the caption over it, then the window.
    void DoRepaint();
    void DrawTextA();
    // A plain RGB colour: the state's record colour, else the font's.
    platform::TColor GetFontColorOfCurState() const;

    KsThreeStateFontColor* FontColors() const { return FFontColors; }

private:
    void FontChange(platform::TObject* Sender);
    void FontColorChange(platform::TObject* Sender);

    int FDispX = 2;
    int FDispY = 2;
    bool FShiftText = false;
    platform::TRect FTextBounds{0, 0, 0, 0};
    platform::TNotifyEvent FOldFontChange;
    KsThreeStateFontColor* FFontColors;
};
