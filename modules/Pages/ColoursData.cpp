#include "modules/Pages/ColoursData.h"

#include "platform/Win32.h"

#include <array>
#include <cstdio>
#include <cstring>

namespace tessel {

std::string ColourText(platform::TColor Colour, TColourFormat Format)
{
    const COLORREF rgb = platform::ColorToRGB(Colour);
    char text[32];
    if (Format == cfRgb)
        std::snprintf(text, sizeof text, "rgb(%u, %u, %u)", GetRValue(rgb), GetGValue(rgb), GetBValue(rgb));
    else if (Format == cfDecimal)
        std::snprintf(text, sizeof text, "%lu", static_cast<unsigned long>(rgb));
    else
        std::snprintf(text, sizeof text, "#%02X%02X%02X", GetRValue(rgb), GetGValue(rgb), GetBValue(rgb));
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

bool PickColour(HWND Owner, platform::TColor& Colour)
{
    // The dialog's sixteen colours of the user's own, kept while the page is loaded.
    static std::array<COLORREF, 16> custom = [] {
        std::array<COLORREF, 16> white;
        white.fill(RGB(255, 255, 255));
        return white;
    }();
    CHOOSECOLORA choice{};
    choice.lStructSize = sizeof choice;
    choice.hwndOwner = Owner;
    choice.rgbResult = platform::ColorToRGB(Colour);
    choice.lpCustColors = custom.data();
    choice.Flags = CC_RGBINIT | CC_FULLOPEN | CC_ANYCOLOR;
    // The dialog's library is loaded only for the dialog: imported, it and
    // the printing libraries it brings would come with every load of this
    // page, and the shell loads the page at every tips poll.
    HMODULE library = LoadLibraryA("comdlg32.dll");
    using TChooseColor = BOOL(WINAPI*)(CHOOSECOLORA*);
    if (!library)
        return false;
    const auto choose =
        reinterpret_cast<TChooseColor>(reinterpret_cast<void*>(GetProcAddress(library, "ChooseColorA")));
    const bool chosen = choose && choose(&choice);
    FreeLibrary(library);
    if (!chosen)
        return false;
    Colour = static_cast<platform::TColor>(choice.rgbResult & 0xFFFFFF);
    return true;
}

} // namespace tessel
