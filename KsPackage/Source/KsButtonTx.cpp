#include "KsPackage/Source/KsButtonTx.h"

using namespace platform;

const TClassInfo& KsButtonTx::StaticClassInfo()
{
    static const TClassInfo& info = TClassBuilder<KsButtonTx, KsButton>("KsButtonTx")
        .Publish({"Font", "Caption"})
        .Object("FontColors", &KsButtonTx::FontColors, &KsButtonTx::SetFontColors)
        .Build();
    return info;
}

void KsButtonTx::ShowSunken()
{
    FShiftText = true;
    inherited::ShowSunken();
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
