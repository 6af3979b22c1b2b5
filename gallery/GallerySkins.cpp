#include "gallery/GallerySkins.h"
#include "KsPackage/Source/KsButton.h"

#include <algorithm>
#include <cstdint>
#include <functional>

using namespace platform;

namespace {

struct TLookColors {
    TColor Top, Bottom, Light, Dark;
};

// Colours as 0xBBGGRR: a blue-grey face, darker and inverted when sunken,
// warm when focused, flat grey when disabled.
const TLookColors Looks[4] = {
    {0xF4E8DC, 0xC8A888, 0xFFFFFF, 0x6A4A30},
    {0x9A7A5C, 0xC0A080, 0x4A3020, 0xF0E0D0},
    {0xC8F0FF, 0x5CB0F0, 0xFFFFFF, 0x205080},
    {0xD0D0D0, 0xD0D0D0, 0xE8E8E8, 0xA0A0A0},
};

uint8_t Mix(TColor A, TColor B, int Shift, int Num, int Den)
{
    const int a = (A >> Shift) & 0xFF, b = (B >> Shift) & 0xFF;
    return static_cast<uint8_t>(a + (b - a) * Num / std::max(Den, 1));
}

void Put(uint8_t* Row, int X, TColor Color)
{
    Row[3 * X] = static_cast<uint8_t>(Color >> 16);
    Row[3 * X + 1] = static_cast<uint8_t>(Color >> 8);
    Row[3 * X + 2] = static_cast<uint8_t>(Color);
}

// Outside a quarter circle of the given radius in one of the corners.
bool OutsideCorner(int X, int Y, int Width, int Height, int Radius)
{
    const int cx = X < Radius ? Radius - 1 - X : (X >= Width - Radius ? X - (Width - Radius) : -1);
    const int cy = Y < Radius ? Radius - 1 - Y : (Y >= Height - Radius ? Y - (Height - Radius) : -1);
    return cx >= 0 && cy >= 0 && cx * cx + cy * cy > (Radius - 1) * (Radius - 1);
}

void SkinFourStates(KsCustomControl& Control, int Width, int Height)
{
    const bool rounded = Control.GetTransparent();
    TBitmap picture;
    for (int look = 0; look < 4; ++look) {
        PaintButtonLook(picture, Width, Height, look, rounded);
        Control.SetBitmap(&picture, look);
    }
}

struct TSkin {
    const TClassInfo* Class;
    std::function<void(KsCustomControl&)> Paint;
};

// The most derived class first: a control takes the first entry it inherits from.
const TSkin Skins[] = {
    {&KsButton::StaticClassInfo(), [](KsCustomControl& c) { SkinFourStates(c, 97, 23); }},
};

} // namespace

void PaintButtonLook(TBitmap& Bitmap, int Width, int Height, int Look, bool Rounded)
{
    const TLookColors& colors = Looks[Look];
    Bitmap.SetPixelFormat(pf24bit);
    Bitmap.SetSize(Width, Height);
    for (int y = 0; y < Height; ++y) {
        uint8_t* row = Bitmap.ScanLine(y);
        const TColor face = Mix(colors.Top, colors.Bottom, 0, y, Height - 1) |
                            Mix(colors.Top, colors.Bottom, 8, y, Height - 1) << 8 |
                            Mix(colors.Top, colors.Bottom, 16, y, Height - 1) << 16;
        for (int x = 0; x < Width; ++x) {
            TColor color = face;
            if (Rounded && OutsideCorner(x, y, Width, Height, 6))
                color = GalleryKeyColor;
            else if (y == 0 || x == 0)
                color = colors.Light;
            else if (y == Height - 1 || x == Width - 1)
                color = colors.Dark;
            Put(row, x, color);
        }
    }
    Bitmap.Changed();
}

bool SkinControl(KsCustomControl& Control)
{
    for (const TSkin& skin : Skins)
        if (Control.InheritsFrom(*skin.Class)) {
            skin.Paint(Control);
            return true;
        }
    return false;
}
