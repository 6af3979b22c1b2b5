#include "gallery/GallerySkins.h"
#include "KsPackage/Source/KsBar.h"
#include "KsPackage/Source/KsButton.h"
#include "KsPackage/Source/KsCheckBoxTx.h"
#include "KsPackage/Source/KsRadioButton.h"

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

// The marks inside check boxes and radio buttons, by look.
const TColor MarkColors[4] = {0x5A3A20, 0xFFFFFF, 0x204880, 0x909090};

uint8_t Mix(TColor A, TColor B, int Shift, int Num, int Den)
{
    const int a = (A >> Shift) & 0xFF, b = (B >> Shift) & 0xFF;
    return static_cast<uint8_t>(a + (b - a) * Num / std::max(Den, 1));
}

// The face of a look at row Y of Height rows: a vertical gradient.
TColor Face(int Look, int Y, int Height)
{
    const TLookColors& colors = Looks[Look];
    return Mix(colors.Top, colors.Bottom, 0, Y, Height - 1) | Mix(colors.Top, colors.Bottom, 8, Y, Height - 1) << 8 |
           Mix(colors.Top, colors.Bottom, 16, Y, Height - 1) << 16;
}

// Fills a 24-bit picture pixel by pixel.
void PaintPixels(TBitmap& Bitmap, int Width, int Height, const std::function<TColor(int X, int Y)>& Pixel)
{
    Bitmap.SetPixelFormat(pf24bit);
    Bitmap.SetSize(Width, Height);
    for (int y = 0; y < Height; ++y) {
        uint8_t* row = Bitmap.ScanLine(y);
        for (int x = 0; x < Width; ++x) {
            const TColor color = Pixel(x, y);
            row[3 * x] = static_cast<uint8_t>(color >> 16);
            row[3 * x + 1] = static_cast<uint8_t>(color >> 8);
            row[3 * x + 2] = static_cast<uint8_t>(color);
        }
    }
    Bitmap.Changed();
}

// A bevelled plate: light top and left edges, dark bottom and right ones.
TColor Plate(int Look, int X, int Y, int Width, int Height)
{
    if (Y == 0 || X == 0)
        return Looks[Look].Light;
    if (Y == Height - 1 || X == Width - 1)
        return Looks[Look].Dark;
    return Face(Look, Y, Height);
}

// Outside a quarter circle of the given radius in one of the corners.
bool OutsideCorner(int X, int Y, int Width, int Height, int Radius)
{
    const int cx = X < Radius ? Radius - 1 - X : (X >= Width - Radius ? X - (Width - Radius) : -1);
    const int cy = Y < Radius ? Radius - 1 - Y : (Y >= Height - Radius ? Y - (Height - Radius) : -1);
    return cx >= 0 && cy >= 0 && cx * cx + cy * cy > (Radius - 1) * (Radius - 1);
}

constexpr int BoxSize = 16;

// A check box's square at (Left, Top) with its mark: a tick when checked, a
// filled square when grayed; Paper around it.
TColor CheckPixel(int X, int Y, int Left, int Top, int Look, int State, TColor Paper)
{
    const int x = X - Left, y = Y - Top;
    if (x < 0 || y < 0 || x >= BoxSize || y >= BoxSize)
        return Paper;
    if (State == cbChecked) {
        // Two strokes: down from (3, 8) to (6, 11), then up to (12, 4).
        const bool first = x >= 3 && x <= 6 && std::abs(y - (x + 5)) <= 1;
        const bool second = x >= 6 && x <= 12 && std::abs(y - (17 - x)) <= 1;
        if (first || second)
            return MarkColors[Look];
    }
    if (State == cbGrayed && x >= 4 && x < 12 && y >= 4 && y < 12)
        return MarkColors[3];
    return Plate(Look, x, y, BoxSize, BoxSize);
}

void SkinCheckBox(KsCustomControl& Control, int Width, int Height)
{
    const TColor paper = static_cast<TColor>(ColorToRGB(clBtnFace));
    TBitmap picture;
    for (int state = cbUnchecked; state <= cbGrayed; ++state)
        for (int look = 0; look < 4; ++look) {
            PaintPixels(picture, Width, Height, [&](int x, int y) {
                return CheckPixel(x, y, (Height - BoxSize) / 2, (Height - BoxSize) / 2, look, state, paper);
            });
            Control.SetBitmap(&picture, 4 * state + look);
        }
}

// The caption goes to the right of the box.
void SkinCheckBoxTx(KsCustomControl& Control)
{
    SkinCheckBox(Control, 97, 23);
    static_cast<KsCheckBoxTx&>(Control).SetTextBounds(BoxSize + 6, 0, 97 - BoxSize - 6, 23);
}

// A round button: key colour outside the ring, a dot when checked.
void SkinRadioButton(KsCustomControl& Control)
{
    TBitmap picture;
    for (int checked = 0; checked < 2; ++checked)
        for (int look = 0; look < 4; ++look) {
            PaintPixels(picture, BoxSize, BoxSize, [&](int x, int y) {
                const int dx = 2 * x + 1 - BoxSize, dy = 2 * y + 1 - BoxSize, d = dx * dx + dy * dy;
                if (d > BoxSize * BoxSize)
                    return GalleryKeyColor;
                if (d > (BoxSize - 2) * (BoxSize - 2))
                    return Looks[look].Dark;
                if (d > (BoxSize - 4) * (BoxSize - 4) && dx + dy < 0)
                    return Looks[look].Light;
                if (checked && d <= 7 * 7)
                    return MarkColors[look];
                return Face(look, y, BoxSize);
            });
            Control.SetBitmap(&picture, 4 * checked + look);
        }
}

// A brick's normal, focused and disabled pictures are a button's raised,
// focused and disabled ones.
void SkinBrick(KsCustomControl& Control, int Width, int Height)
{
    static const int looks[ksBrickStateCount] = {0, 2, 3};
    TBitmap picture;
    for (int state = 0; state < ksBrickStateCount; ++state) {
        PaintButtonLook(picture, Width, Height, looks[state], false);
        Control.SetBitmap(&picture, state);
    }
}

// A sunken groove along the bar, and a small raised knob as its indicator.
void SkinBar(KsCustomControl& Control)
{
    auto& bar = static_cast<KsBar&>(Control);
    static const int looks[ksBrickStateCount] = {0, 2, 3};
    const int width = 207, height = 18;
    TBitmap picture;
    for (int state = 0; state < ksBrickStateCount; ++state) {
        const int look = looks[state];
        PaintPixels(picture, width, height, [&](int x, int y) {
            if (y >= height / 2 - 2 && y <= height / 2 + 1 && x >= 4 && x < width - 4)
                return y == height / 2 - 2 ? Looks[1].Light : Face(1, y - height / 2 + 2, 4);
            return Plate(look, x, y, width, height);
        });
        bar.SetBitmap(&picture, state);
    }
    PaintButtonLook(picture, 10, 14, bar.Enabled() ? 2 : 3, false);
    bar.SetIndicator(&picture);
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
    {&KsCheckBoxTx::StaticClassInfo(), SkinCheckBoxTx},
    {&KsCheckBox::StaticClassInfo(), [](KsCustomControl& c) { SkinCheckBox(c, BoxSize + 2, BoxSize + 2); }},
    {&KsRadioButton::StaticClassInfo(), SkinRadioButton},
    {&KsBar::StaticClassInfo(), SkinBar},
    {&KsBrick::StaticClassInfo(), [](KsCustomControl& c) { SkinBrick(c, 97, 23); }},
};

} // namespace

void PaintButtonLook(TBitmap& Bitmap, int Width, int Height, int Look, bool Rounded)
{
    PaintPixels(Bitmap, Width, Height, [&](int x, int y) {
        if (Rounded && OutsideCorner(x, y, Width, Height, 6))
            return GalleryKeyColor;
        return Plate(Look, x, y, Width, Height);
    });
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
