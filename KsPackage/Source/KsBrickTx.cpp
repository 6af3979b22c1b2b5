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
    KsFontColorState look = fcRaised;
    switch (BitmapIndex()) {
    case ksBrickFocused: look = fcFocused; break;
    case ksBrickDisabled: look = fcDisabled; break;
    }
    return FFontColors->CaptionColor(look, Font()->Color());
}
