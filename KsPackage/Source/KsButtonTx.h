// The skinned push button with a caption, drawn over the picture in a colour
// per visual state and moved at the first drawing after each press.
#pragma once

#include "KsPackage/Source/KsButton.h"
#include "KsPackage/Source/KsCaptioned.h"

class KsButtonTx : public KsCaptioned<KsButtonTx, KsButton, KsThreeStateFontColor> {
    PLATFORM_CLASS(KsButtonTx, KsButton)
public:
    using KsCaptioned::KsCaptioned;

    void ShowSunken() override;

    // A plain RGB colour: the state's record colour, else the font's.
    platform::TColor GetFontColorOfCurState() const;
};
