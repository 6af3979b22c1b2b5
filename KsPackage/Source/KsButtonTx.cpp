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

// The button's pictures are numbered as the looks.
TColor KsButtonTx::GetFontColorOfCurState() const
{
    const int index = BitmapIndex();
    const auto look = index >= ksRaised && index < ksStateCount ? static_cast<KsFontColorState>(index) : fcRaised;
    return FFontColors->CaptionColor(look, Font()->Color());
}
