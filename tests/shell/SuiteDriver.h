// The suite as a person runs it: Tessel.exe with the real main window
// (PageContainer.dll), the real quick bar (Bar.dll) and page modules, and
// what a person does with them from outside: look at the windows, click
// their buttons, press keys.
#pragma once

#include "DialogDriver.h"
#include "TesselProcess.h"

#include <gtest/gtest.h>

#include <initializer_list>

namespace shelltest {

inline std::string TextOf(HWND Wnd)
{
    char text[256] = {};
    GetWindowTextA(Wnd, text, sizeof text);
    return text;
}

inline std::string ClassOf(HWND Wnd)
{
    char name[64] = {};
    GetClassNameA(Wnd, name, sizeof name);
    return name;
}

inline BOOL CALLBACK CollectChild(HWND Wnd, LPARAM Data)
{
    reinterpret_cast<std::vector<HWND>*>(Data)->push_back(Wnd);
    return TRUE;
}

// Every window below Top (children of children included).
inline std::vector<HWND> Descendants(HWND Top)
{
    std::vector<HWND> found;
    EnumChildWindows(Top, CollectChild, reinterpret_cast<LPARAM>(&found));
    return found;
}

// The button below Top whose caption is Text.
inline HWND Button(HWND Top, const std::string& Text)
{
    for (HWND wnd : Descendants(Top))
        if (ClassOf(wnd) == "KsButtonTx" && TextOf(wnd) == Text)
            return wnd;
    return nullptr;
}

inline HWND ViewOf(HWND Top, const std::string& Class)
{
    for (HWND wnd : Descendants(Top))
        if (ClassOf(wnd) == Class)
            return wnd;
    return nullptr;
}

// A left click in the middle of a window, as the mouse delivers it.
inline bool Click(HWND Wnd)
{
    if (!Wnd)
        return false;
    RECT r{};
    GetClientRect(Wnd, &r);
    const LPARAM at = MAKELPARAM(r.right / 2, r.bottom / 2);
    PostMessageA(Wnd, WM_MOUSEMOVE, 0, at);
    PostMessageA(Wnd, WM_LBUTTONDOWN, MK_LBUTTON, at);
    PostMessageA(Wnd, WM_LBUTTONUP, 0, at);
    return true;
}

inline bool Shown(HWND Wnd)
{
    return Wnd && IsWindowVisible(Wnd);
}

// A point on the top edge of a skinned button's frame: grey in the raised
// picture, the accent blue in the focused one.
constexpr POINT SkinProbe{40, 0};

// Keys as the keyboard delivers them: to the window that has the focus in
// the foreground window, whichever process that is. Keys is a chord, pressed
// in order and let go in reverse (VK_CONTROL, VK_TAB is Ctrl+Tab).
inline void SendKey(WORD Key, bool Down)
{
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = Key;
    input.ki.wScan = static_cast<WORD>(MapVirtualKeyA(Key, MAPVK_VK_TO_VSC));
    const bool extended = Key == VK_PRIOR || Key == VK_NEXT || Key == VK_LEFT || Key == VK_RIGHT || Key == VK_UP ||
                          Key == VK_DOWN || Key == VK_HOME || Key == VK_END;
    input.ki.dwFlags = (Down ? 0 : KEYEVENTF_KEYUP) | (extended ? KEYEVENTF_EXTENDEDKEY : 0);
    SendInput(1, &input, sizeof input);
}
inline void Press(std::initializer_list<WORD> Keys)
{
    for (WORD key : Keys)
        SendKey(key, true);
    for (auto key = std::rbegin(Keys); key != std::rend(Keys); ++key)
        SendKey(*key, false);
    // The keys are in the other process's queue before the next step looks.
    Sleep(150);
}

// The window that has the keyboard focus in Window's thread.
inline HWND FocusOf(HWND Window)
{
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    return Window && GetGUIThreadInfo(GetWindowThreadProcessId(Window, nullptr), &info) ? info.hwndFocus : nullptr;
}

class SuiteFaces : public ::testing::Test {
protected:
    void SetUp() override
    {
        Suite.AddSiblings();
        Suite.AddSkin();
        for (const char* module : {"PageContainer.dll", "Bar.dll"})
            CopyFileA((SuiteBin() + module).c_str(), (Suite.Path() + module).c_str(), FALSE);
    }

    // A page module of the suite itself, with its INI file when it has one.
    void AddRealPage(const std::string& Name) const
    {
        CopyFileA((SuiteBin() + "Page\\" + Name + ".dll").c_str(), (Suite.Path() + "Page\\" + Name + ".dll").c_str(),
                  FALSE);
        CopyFileA((SuiteBin() + "Page\\" + Name + ".ini").c_str(), (Suite.Path() + "Page\\" + Name + ".ini").c_str(),
                  FALSE);
    }
    // One group "Monitor" with the pages named, starting at the given face.
    void Layout(const std::vector<std::string>& Pages, int StartView) const
    {
        LayoutGroups({{"Monitor", Pages}}, StartView);
    }
    // Groups of pages, in order.
    using TGroups = std::vector<std::pair<std::string, std::vector<std::string>>>;
    void LayoutGroups(const TGroups& Groups, int StartView) const
    {
        std::string ini = "[Tessel]\r\nObjectStyle=" + std::to_string(StartView) +
                          "\r\n[Group]\r\ngroupcount=" + std::to_string(Groups.size()) + "\r\n";
        for (size_t i = 0; i < Groups.size(); ++i)
            ini += std::to_string(i + 1) + "=" + Groups[i].first + "\r\n";
        for (size_t i = 0; i < Groups.size(); ++i) {
            const auto& [name, pages] = Groups[i];
            ini += "[" + name + "]\r\ngroupid=" + std::to_string(i + 1) + "\r\nstyle=0\r\npagecount=" +
                   std::to_string(pages.size()) + "\r\n";
            for (size_t j = 0; j < pages.size(); ++j)
                ini += std::to_string(j + 1) + "=" + pages[j] + ".dll\r\n";
        }
        Suite.Write("Tessel.ini", ini);
    }

    HWND Bar() const { return Tessel.Window("TFormBar", "Tessel"); }
    HWND Container() const { return Tessel.Window("TFormContainer", "Tessel"); }
    bool WaitShown(const std::function<HWND()>& Window, bool Visible = true) const
    {
        return WaitFor([&] { return Shown(Window()) == Visible; }, 8000);
    }
    // The suite's own exit question, answered.
    bool Answer(const std::string& Choice) const
    {
        HWND question = nullptr;
        WaitFor([&] { return Shown(question = Tessel.Window("TfrmMsg", "Tessel")); }, 5000);
        return Click(Button(question, Choice));
    }

    TSuiteFolder Suite;
    TTesselProcess Tessel{Suite};
};

} // namespace shelltest
