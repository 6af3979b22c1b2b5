#include "modules/Pages/ColoursData.h"

#include "platform/Win32.h"

#include <cstdio>
#include <cstring>

namespace tessel {

std::string ColourText(platform::TColor Colour)
{
    const COLORREF rgb = platform::ColorToRGB(Colour);
    char text[48];
    std::snprintf(text, sizeof text, "#%02X%02X%02X  rgb(%u, %u, %u)", GetRValue(rgb), GetGValue(rgb), GetBValue(rgb),
                  GetRValue(rgb), GetGValue(rgb), GetBValue(rgb));
    return text;
}

bool CopyToClipboard(const std::string& Text)
{
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, Text.size() + 1);
    if (!memory)
        return false;
    std::memcpy(GlobalLock(memory), Text.c_str(), Text.size() + 1);
    GlobalUnlock(memory);
    if (!OpenClipboard(nullptr)) {
        GlobalFree(memory);
        return false;
    }
    EmptyClipboard();
    // The clipboard owns the memory once it took it.
    const bool taken = SetClipboardData(CF_TEXT, memory) != nullptr;
    CloseClipboard();
    if (!taken)
        GlobalFree(memory);
    return taken;
}

} // namespace tessel
