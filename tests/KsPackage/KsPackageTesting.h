// What the package tests share: a shown form to put controls on, state
// pictures of one colour each, and real window messages.
#pragma once

#include "KsPackage/Source/KsButtonTx.h"
#include "platform/Application.h"
#include "platform/Form.h"
#include "platform/Image.h"
#include "tests/loom/LoomTesting.h"
#include "tests/platform/MessagePump.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <map>
#include <memory>
#include <string>
#include <vector>

// One colour per picture, so the picture shown names the state.
constexpr platform::TColor RaisedColor = 0x405060, SunkenColor = 0x102030, FocusedColor = 0x60A0C0,
                           DisabledColor = 0x909090, KeyColor = 0xFF00FF;

inline std::unique_ptr<platform::TBitmap> SolidBitmap(int Width, int Height, platform::TColor Color)
{
    auto bitmap = std::make_unique<platform::TBitmap>();
    Fill24(*bitmap, Width, Height, Color);
    return bitmap;
}

// Gives the button's four states their pictures (an empty colour leaves the
// picture out).
inline void Skin(KsCustomControl& Control, int Width, int Height,
                 std::vector<platform::TColor> Colors = {RaisedColor, SunkenColor, FocusedColor, DisabledColor})
{
    for (size_t i = 0; i < Colors.size(); ++i)
        if (Colors[i] >= 0)
            Control.SetBitmap(SolidBitmap(Width, Height, Colors[i]).get(), static_cast<int>(i));
}

// The picture the control shows: the hidden image that fills it.
inline platform::TBitmap* ShownPicture(KsCustomControl& Control)
{
    auto* image = dynamic_cast<platform::TImage*>(Control.Controls(0));
    return image ? image->Picture()->Bitmap() : nullptr;
}

inline platform::TColor ShownAt(KsCustomControl& Control, int X = 1, int Y = 1)
{
    return PixelOf(ShownPicture(Control)->Canvas(), X, Y);
}

inline std::string StateName(platform::TColor Color)
{
    switch (Color) {
    case RaisedColor: return "raised";
    case SunkenColor: return "sunken";
    case FocusedColor: return "focused";
    case DisabledColor: return "disabled";
    default: return "colour " + std::to_string(Color);
    }
}

inline std::string Shown(KsCustomControl& Control)
{
    return StateName(ShownAt(Control));
}

// The window's pixel as it is on the screen.
inline platform::TColor ScreenPixel(HWND Window, int X, int Y)
{
    UpdateWindow(Window);
    HDC dc = GetDC(Window);
    const COLORREF color = GetPixel(dc, X, Y);
    ReleaseDC(Window, dc);
    return static_cast<platform::TColor>(color);
}

inline void Send(platform::TWinControl& Control, UINT Msg, WPARAM W, int X, int Y)
{
    SendMessageA(Control.Handle(), Msg, W, MAKELPARAM(X, Y));
}

// Keys as the keyboard delivers them: down, the character, up.
inline void KeyDown(platform::TWinControl& Control, WORD Key)
{
    SendMessageA(Control.Handle(), WM_KEYDOWN, Key, 1);
    if (Key == VK_SPACE || Key == VK_RETURN)
        SendMessageA(Control.Handle(), WM_CHAR, Key == VK_SPACE ? ' ' : '\r', 1);
}

inline void KeyUp(platform::TWinControl& Control, WORD Key)
{
    SendMessageA(Control.Handle(), WM_KEYUP, Key, 0xC0000001);
}

inline std::string RectText(platform::TRect R)
{
    return std::to_string(R.left) + "," + std::to_string(R.top) + "-" + std::to_string(R.right) + "," +
           std::to_string(R.bottom);
}

// Font smoothing blends even the strokes' cores a little with the paper.
inline bool Near(platform::TColor A, platform::TColor B)
{
    for (int shift = 0; shift < 24; shift += 8)
        if (std::abs(((A >> shift) & 0xFF) - ((B >> shift) & 0xFF)) > 16)
            return false;
    return true;
}

// Where the caption's ink lies, and its commonest colour.
struct TInk {
    platform::TRect Box{0, 0, 0, 0};
    platform::TColor Color = -1;
    bool Empty() const { return Box.right <= Box.left; }
};

inline TInk InkOf(KsCustomControl& Control, platform::TColor Paper)
{
    platform::TCanvas* canvas = ShownPicture(Control)->Canvas();
    TInk ink;
    ink.Box = platform::Rect(10000, 10000, -1, -1);
    std::map<platform::TColor, int> counts;
    for (int y = 0; y < Control.Height(); ++y)
        for (int x = 0; x < Control.Width(); ++x) {
            const platform::TColor c = PixelOf(canvas, x, y);
            if (c == Paper)
                continue;
            ++counts[c];
            ink.Box = platform::Rect(std::min<int>(ink.Box.left, x), std::min<int>(ink.Box.top, y),
                           std::max<int>(ink.Box.right, x + 1), std::max<int>(ink.Box.bottom, y + 1));
        }
    if (counts.empty())
        return TInk();
    ink.Color = std::max_element(counts.begin(), counts.end(),
                                 [](auto& a, auto& b) { return a.second < b.second; })->first;
    return ink;
}

// A shown form, freed after each test with everything on it.
class KsFormTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        platform::Application->Initialize();
        Form = platform::New<platform::TForm>(nullptr);
        Form->SetBounds(40, 40, 400, 300);
        Form->Show();
        PumpFor(20);
    }
    void TearDown() override { platform::FreeAndNil(Form); }

    template <class C>
    C* Place(int Left, int Top)
    {
        C* control = new C(Form);
        control->SetParent(Form);
        control->SetLeft(Left);
        control->SetTop(Top);
        return control;
    }

    platform::TForm* Form = nullptr;
};
