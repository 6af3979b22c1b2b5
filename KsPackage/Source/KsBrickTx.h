// The skinned brick with a caption, drawn over the picture in a colour by
// look. Nothing in a brick is pressed, so the caption is always drawn in
// place.
#pragma once

#include "KsPackage/Source/KsBrick.h"
#include "KsPackage/Source/KsCaptioned.h"

class KsBrickTx : public KsCaptioned<KsBrickTx, KsBrick, KsTwoStateFontColor> {
    PLATFORM_CLASS(KsBrickTx, KsBrick)
public:
    using KsCaptioned::KsCaptioned;

    // A plain RGB colour: the record's colour for the look, else the font's.
    platform::TColor GetFontColorOfCurState() const;
};
