// A shown, borderless form for component tests, with the real window
// messages a user's mouse and keyboard produce and the pixels on screen.
#pragma once

#include "platform/Application.h"
#include "platform/Form.h"

#include <gtest/gtest.h>

class FormFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        Form = platform::New<platform::TForm>(nullptr);
        Form->SetBorderStyle(platform::bsNone);
        Form->SetBounds(40, 40, 480, 260);
        Form->Show();
        platform::Application->ProcessMessages();
    }
    void TearDown() override { Form->Free(); }

    template <class T>
    T* Place(int Left, int Top, int Width, int Height)
    {
        auto* control = new T(Form);
        control->SetParent(Form);
        control->SetBounds(Left, Top, Width, Height);
        platform::Application->ProcessMessages();
        return control;
    }

    // The window a control's messages go to: its own, or its parent's for a graphic control.
    static HWND WindowOf(platform::TControl* Control, int& X, int& Y)
    {
        if (auto* windowed = dynamic_cast<platform::TWinControl*>(Control))
            return windowed->Handle();
        X += Control->Left();
        Y += Control->Top();
        return Control->Parent()->Handle();
    }

    static void Press(platform::TControl* Control, int X, int Y, bool Right = false)
    {
        HWND window = WindowOf(Control, X, Y);
        SendMessageA(window, Right ? WM_RBUTTONDOWN : WM_LBUTTONDOWN, Right ? MK_RBUTTON : MK_LBUTTON,
                     MAKELPARAM(X, Y));
    }
    static void Release(platform::TControl* Control, int X, int Y, bool Right = false)
    {
        HWND window = WindowOf(Control, X, Y);
        SendMessageA(window, Right ? WM_RBUTTONUP : WM_LBUTTONUP, 0, MAKELPARAM(X, Y));
    }
    static void Click(platform::TControl* Control, int X, int Y, bool Right = false)
    {
        Press(Control, X, Y, Right);
        Release(Control, X, Y, Right);
    }
    static void Key(platform::TWinControl* Control, WORD Key)
    {
        SendMessageA(Control->Handle(), WM_KEYDOWN, Key, 1);
        SendMessageA(Control->Handle(), WM_KEYUP, Key, 0xC0000001);
    }
    // Gives the control the keyboard focus the way the system does (as Tab
    // from another module's window would, without a click), then presses
    // the keys as the keyboard delivers them: to the window that has the
    // focus, through the program's message loop. (Not as real input: a
    // test running beside this one may own the foreground for a moment.)
    static void FocusedKeys(platform::TWinControl* Control, std::initializer_list<WORD> Keys)
    {
        // The keys go where the focus was set: another test program's window
        // taking the foreground meanwhile takes this thread's focus away.
        ::SetFocus(Control->Handle());
        const HWND focus = GetFocus();
        EXPECT_TRUE(focus == Control->Handle() || IsChild(Control->Handle(), focus))
            << Control->ClassName() << " did not take the focus";
        for (WORD key : Keys) {
            PostMessageA(focus, WM_KEYDOWN, key, 1);
            PostMessageA(focus, WM_KEYUP, key, 0xC0000001);
            platform::Application->ProcessMessages();
        }
    }
    static void Type(platform::TWinControl* Control, const std::string& Text)
    {
        for (char c : Text)
            SendMessageA(Control->Handle(), WM_CHAR, static_cast<unsigned char>(c), 1);
    }

    // A pixel of a control as shown on screen (client coordinates).
    static COLORREF Pixel(platform::TControl* Control, int X, int Y)
    {
        HWND window = WindowOf(Control, X, Y);
        UpdateWindow(window);
        HDC dc = GetDC(window);
        const COLORREF c = GetPixel(dc, X, Y);
        ReleaseDC(window, dc);
        return c;
    }
    // How many pixels of R (client coordinates) show Color.
    static int CountPixels(platform::TControl* Control, const RECT& R, platform::TColor Color)
    {
        int x0 = R.left, y0 = R.top;
        HWND window = WindowOf(Control, x0, y0);
        UpdateWindow(window);
        HDC dc = GetDC(window);
        const COLORREF wanted = platform::ColorToRGB(Color);
        int count = 0;
        for (int y = 0; y < R.bottom - R.top; ++y)
            for (int x = 0; x < R.right - R.left; ++x)
                count += GetPixel(dc, x0 + x, y0 + y) == wanted;
        ReleaseDC(window, dc);
        return count;
    }

    platform::TForm* Form = nullptr;
};
