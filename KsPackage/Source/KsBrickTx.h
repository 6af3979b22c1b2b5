// The skinned brick with a caption: a single line centred in a text
// rectangle (the whole client area once the brick is positioned), drawn
// over the picture in a colour by look. Nothing in a brick is pressed, so
// the caption is always drawn in place.
//
// The brick chains its own handler in front of the font's: the handler the
// font had at construction still runs after the caption is redrawn, and is
// put back when the brick goes.
#pragma once

#include "KsPackage/Source/KsBrick.h"

class KsBrickTx : public KsBrick {
    PLATFORM_CLASS(KsBrickTx, KsBrick)
public:
    explicit KsBrickTx(platform::TComponent* AOwner);
    ~KsBrickTx() override;

    void Repaint() override;
    // Every move or resize puts the text rectangle on the whole requested area.
    void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;
    void ShowBitmap(int Index) override;
    void SetText(const std::string& Value) override;

    // Stored only: nothing in a brick asks for the pressed shift.
    void SetDisp(int X, int Y);
    void SetTextBounds(int ALeft, int ATop, int AWidth, int AHeight);
    platform::TRect TextBounds() const { return FTextBounds; }
    // The picture again, the caption over it, then the window.
    void DoRepaint();
    void DrawTextA();
    // A plain RGB colour: the record's colour for the look, else the font's.
    platform::TColor GetFontColorOfCurState() const;

    KsTwoStateFontColor* FontColors() const { return FFontColors; }
    // Copies the given colours.
    void SetFontColors(KsTwoStateFontColor* Value) { FFontColors->Assign(Value); }

private:
    void FontChange(platform::TObject* Sender);
    void FontColorChange(platform::TObject* Sender);

    int FDispX = 2;
    int FDispY = 2;
    platform::TRect FTextBounds{0, 0, 0, 0};
    KsTwoStateFontColor* FFontColors;
    platform::TNotifyEvent FOldFontChange;
};
