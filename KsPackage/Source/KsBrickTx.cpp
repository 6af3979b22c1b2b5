#include "KsPackage/Source/KsBrickTx.h"

using namespace platform;

const TClassInfo& KsBrickTx::StaticClassInfo()
{
    static const TClassInfo& info = TClassBuilder<KsBrickTx, KsBrick>("KsBrickTx")
        .Publish({"Font", "Caption"})
        .Object("FontColors", &KsBrickTx::FontColors, &KsBrickTx::SetFontColors)
        .Build();
    return info;
}

KsBrickTx::KsBrickTx(TComponent* AOwner) : KsBrick(AOwner), FFontColors(new KsTwoStateFontColor)
{
    FOldFontChange = Font()->OnChange;
    Font()->OnChange = [this](TObject* Sender) { FontChange(Sender); };
    FFontColors->OnChange = [this](TObject* Sender) { FontColorChange(Sender); };
}

KsBrickTx::~KsBrickTx()
{
    Font()->OnChange = FOldFontChange;
    delete FFontColors;
}

void KsBrickTx::SetDisp(int X, int Y)
{
    FDispX = X;
    FDispY = Y;
}

void KsBrickTx::SetTextBounds(int ALeft, int ATop, int AWidth, int AHeight)
{
    FTextBounds = Rect(ALeft, ATop, ALeft + AWidth, ATop + AHeight);
    DoRepaint();
}

void KsBrickTx::SetBounds(int ALeft, int ATop, int AWidth, int AHeight)
{
    SetTextBounds(0, 0, AWidth, AHeight);
    inherited::SetBounds(ALeft, ATop, AWidth, AHeight);
}

void KsBrickTx::ShowBitmap(int Index)
{
    inherited::ShowBitmap(Index);
    DoRepaint();
}

void KsBrickTx::Repaint()
{
    DoRepaint();
}

void KsBrickTx::SetText(const std::string& Value)
{
    inherited::SetText(Value);
    DoRepaint();
}

void KsBrickTx::DoRepaint()
{
    RefreshBitmap();
    DrawTextA();
    TWinControl::Repaint();
}

// Nothing in a brick asks for the pressed shift: the caption stays in place.
void KsBrickTx::DrawTextA()
{
    DrawCaption(FTextBounds, GetFontColorOfCurState());
}

TColor KsBrickTx::GetFontColorOfCurState() const
{
    TColor color = Font()->Color();
    switch (BitmapIndex()) {
    case ksBrickFocused: color = FFontColors->GetColor(fcFocused); break;
    case ksBrickDisabled:
        color = FFontColors->GetColor(fcDisabled);
        if (color == -1)
            color = clGrayText;
        break;
    }
    if (color == -1)
        color = Font()->Color();
    return static_cast<TColor>(ColorToRGB(color));
}

void KsBrickTx::FontChange(TObject* Sender)
{
    DoRepaint();
    if (FOldFontChange)
        FOldFontChange(Sender);
}

void KsBrickTx::FontColorChange(TObject*)
{
    DoRepaint();
}
