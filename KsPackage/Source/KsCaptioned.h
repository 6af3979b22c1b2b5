// The caption that KsButtonTx, KsCheckBoxTx and KsBrickTx draw over their
// pictures: a single line centred in a text rectangle (the whole client
// area once the control is positioned), in the colour the control picks for
// its look (its GetFontColorOfCurState). A control with a pressed look sets
// FShiftText when it shows it; the next drawing then moves the rectangle's
// left and top edges by the displacement, so the caption moves by half of it.
// A change of the font or of a caption colour draws the caption again.
#pragma once

#include "KsPackage/Source/KsControl.h"

#include <string>

template <class TControl, class TBase, class TFontColors>
class KsCaptioned : public TBase {
public:
    explicit KsCaptioned(platform::TComponent* AOwner) : TBase(AOwner), FFontColors(new TFontColors)
    {
        const platform::TNotifyEvent colorChange = [this](platform::TObject*) { DoRepaint(); };
        // The check box's record hands one handler to each of its groups.
        if constexpr (requires { FFontColors->SetOnChange(colorChange); })
            FFontColors->SetOnChange(colorChange);
        else
            FFontColors->OnChange = colorChange;
    }

    ~KsCaptioned() override { delete FFontColors; }

    void Repaint() override { DoRepaint(); }

    // Every move or resize puts the text rectangle on the whole requested area.
    void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override
    {
        SetTextBounds(0, 0, AWidth, AHeight);
        TBase::SetBounds(ALeft, ATop, AWidth, AHeight);
    }

    void ShowBitmap(int Index) override
    {
        TBase::ShowBitmap(Index);
        DoRepaint();
    }

    void SetText(const std::string& Value) override
    {
        TBase::SetText(Value);
        DoRepaint();
    }

    // How far the text rectangle's left and top edges move while pressed.
    void SetDisp(int X, int Y)
    {
        FDispX = X;
        FDispY = Y;
    }

    void SetTextBounds(int ALeft, int ATop, int AWidth, int AHeight)
    {
        FTextBounds = platform::Rect(ALeft, ATop, ALeft + AWidth, ATop + AHeight);
        DoRepaint();
    }

    platform::TRect TextBounds() const { return FTextBounds; }

    // The picture again, the caption over it, then the window.
    void DoRepaint()
    {
        this->RefreshBitmap();
        DrawText();
        this->platform::TWinControl::Repaint();
    }

    void DrawText()
    {
        platform::TRect r = FTextBounds;
        if (FShiftText) {
            FShiftText = false;
            r.left += FDispX;
            r.top += FDispY;
        }
        this->DrawCaption(r, static_cast<const TControl*>(this)->GetFontColorOfCurState());
    }

    TFontColors* FontColors() const { return FFontColors; }
    // Copies the given colours.
    void SetFontColors(TFontColors* Value) { FFontColors->Assign(Value); }

protected:
    int FDispX = 2;
    int FDispY = 2;
    bool FShiftText = false;
    platform::TRect FTextBounds{0, 0, 0, 0};
    TFontColors* FFontColors;

    void FontChanged(platform::TObject* Sender) override
    {
        DoRepaint();
        TBase::FontChanged(Sender);
    }
};
