// State pictures for the gallery, drawn here rather than loaded, and the
// table that gives each control class of the package its pictures.
#pragma once

#include "KsPackage/Source/KsControl.h"

// The colour the rounded skins cut away (also their bottom-left pixel, so
// setting the raised picture chooses it as the transparent colour).
constexpr platform::TColor GalleryKeyColor = 0xFF00FF;

// The four looks of a push button (also the looks of the other controls'
// pictures): 0 raised, 1 sunken, 2 focused, 3 disabled.
// Rounded pictures have key-coloured corners.
void PaintButtonLook(platform::TBitmap& Bitmap, int Width, int Height, int Look, bool Rounded);

// Gives Control the pictures of its class; false for a class the gallery
// has no skin for. A new control family adds its painter to the table.
bool SkinControl(KsCustomControl& Control);
