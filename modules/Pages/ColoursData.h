// What the Colours page shows of a colour and copies to the clipboard, and
// the system's colour dialog it offers for any other colour.
#pragma once

#include "platform/Graphics.h"
#include "platform/Win32.h"

#include <string>

namespace tessel {

// The ways a colour is written: "#1E90FF", "rgb(30, 144, 255)", or the
// decimal value of the system's colour type (red in the low byte) "16748574".
enum TColourFormat { cfHex, cfRgb, cfDecimal };
constexpr int ColourFormatCount = 3;

// The colour in Format, system colours resolved.
std::string ColourText(platform::TColor Colour, TColourFormat Format);
// Puts the text on the clipboard as plain text; false when the clipboard is
// held by another program.
bool CopyToClipboard(const std::string& Text);
// The system's colour dialog over Owner, opened on Colour with the user's
// own colours of this session; true with the colour chosen in Colour, false
// when the user cancelled it.
bool PickColour(HWND Owner, platform::TColor& Colour);

} // namespace tessel
