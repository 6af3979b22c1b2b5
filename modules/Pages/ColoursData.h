// What the Colours page shows of a colour, and the clipboard it copies to.
#pragma once

#include "platform/Graphics.h"

#include <string>

namespace tessel {

// "#1E90FF  rgb(30, 144, 255)" for a plain colour (system colours resolved).
std::string ColourText(platform::TColor Colour);
// Puts the text on the clipboard as plain text; false when the clipboard is
// held by another program.
bool CopyToClipboard(const std::string& Text);

} // namespace tessel
