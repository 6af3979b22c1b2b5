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
