#include "KsPackage/Source/KsButtonTx.h"

using namespace platform;

const TClassInfo& KsButtonTx::StaticClassInfo()
{
    static const TClassInfo& info = TClassBuilder<KsButtonTx, KsButton>("KsButtonTx")
        .Publish({"Font", "Caption"})
        .Object("FontColors", &KsButtonTx::FontColors)
        .Build();
    return info;
}

KsButtonTx::KsButtonTx(TComponent* AOwner) : KsButton(AOwner), FFontColors(new KsThreeStateFontColor)
{
    FOldFontChange = Font()->OnChange;
    Font()->OnChange = [this](TObject* Sender) { FontChange(Sender); };
    FFontColors->OnChange = [this](TObject* Sender) { FontColorChange(Sender); };
}

KsButtonTx::~KsButtonTx()
{
    Font()->OnChange = FOldFontChange;
    delete FFontColors;
}

void KsButtonTx::SetDisp(int X, int Y)
{
    FDispX = X;
    FDispY = Y;
}

void KsButtonTx::SetTextBounds(int ALeft, int ATop, int AWidth, int AHeight)
{
    FTextBounds = Rect(ALeft, ATop, ALeft + AWidth, ATop + AHeight);
    DoRepaint();
}

void KsButtonTx::SetBounds(int ALeft, int ATop, int AWidth, int AHeight)
{
    SetTextBounds(0, 0, AWidth, AHeight);
    inherited::SetBounds(ALeft, ATop, AWidth, AHeight);
}

void KsButtonTx::ShowBitmap(int Index)
{
    inherited::ShowBitmap(Index);
    DoRepaint();
}

void KsButtonTx::ShowSunken()
{
    FShiftText = true;
    inherited::ShowSunken();
}

void KsButtonTx::Repaint()
{
    DoRepaint();
}

void KsButtonTx::SetText(const std::string& Value)
{
    inherited::SetText(Value);
    DoRepaint();
}

void KsButtonTx::DoRepaint()
{
    RefreshBitmap();
    DrawTextA();
    TWinControl::Repaint();
}

// Only the left and top edges move, so the centred caption moves by half
// the displacement.
void KsButtonTx::DrawTextA()
{
    TRect r = FTextBounds;
    if (FShiftText) {
        FShiftText = false;
        r.left += FDispX;
        r.top += FDispY;
    }
    DrawCaption(r, GetFontColorOfCurState());
}

TColor KsButtonTx::GetFontColorOfCurState() const
{
    TColor color = Font()->Color();
    switch (BitmapIndex()) {
    case ksSunken: color = FFontColors->GetColor(fcSunken); break;
    case ksFocused: color = FFontColors->GetColor(fcFocused); break;
    case ksDisabled:
        color = FFontColors->GetColor(fcDisabled);
        if (color == -1)
            color = clGrayText;
        break;
    }
    if (color == -1)
        color = Font()->Color();
    return static_cast<TColor>(ColorToRGB(color));
}

void KsButtonTx::FontChange(TObject* Sender)
{
    DoRepaint();
    if (FOldFontChange)
        FOldFontChange(Sender);
}

void KsButtonTx::FontColorChange(TObject*)
{
    DoRepaint();
}
