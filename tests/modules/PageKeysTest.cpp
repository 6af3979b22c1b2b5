// The main window's and the quick bar's keys as the message loop hands
// them on: the groups round the ends with Ctrl+PgUp and Ctrl+PgDn, the
// arrows along a row of buttons. They follow this thread's focus, which a
// window of another program in the foreground would take: they run alone.
#include "MainWindowHarness.h"

using namespace moduletest;
using namespace tessel;

namespace {

// The caption of the window with this thread's focus.
std::string FocusedCaption()
{
    char text[64] = {};
    GetWindowTextA(GetFocus(), text, sizeof text);
    return text;
}

// A key pressed on the focused window, with Ctrl held when asked, as the
// message loop sees it.
void Press(WORD Key, bool Ctrl = false)
{
    BYTE keys[256] = {};
    GetKeyboardState(keys);
    keys[VK_CONTROL] = Ctrl ? 0x80 : 0;
    SetKeyboardState(keys);
    PostMessageA(GetFocus(), WM_KEYDOWN, Key, 1);
    PostMessageA(GetFocus(), WM_KEYUP, Key, 0xC0000001);
    Settle();
    keys[VK_CONTROL] = 0;
    SetKeyboardState(keys);
}

// Every window below Window, depth first.
std::vector<HWND> Descendants(HWND Window)
{
    std::vector<HWND> found;
    for (HWND child = GetWindow(Window, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        found.push_back(child);
        const std::vector<HWND> below = Descendants(child);
        found.insert(found.end(), below.begin(), below.end());
    }
    return found;
}

// A window below Window by its caption.
HWND ButtonOf(HWND Window, const char* Caption)
{
    for (HWND child : Descendants(Window)) {
        char text[64] = {};
        GetWindowTextA(child, text, sizeof text);
        if (std::strcmp(text, Caption) == 0)
            return child;
    }
    return nullptr;
}

// The page view the main window shows, by its class.
std::string ShownView(HWND Window)
{
    for (HWND child : Descendants(Window)) {
        char name[64] = {};
        GetClassNameA(child, name, sizeof name);
        if (std::strstr(name, "View") && IsWindowVisible(child))
            return name;
    }
    return "none";
}

TEST_F(MainWindow, CtrlPgUpAndPgDnGoRoundTheGroupsAndTheArrowsRoundAButtonRow)
{
    for (const char* page : {"Clock.dll", "Display.dll", "Colours.dll"})
        AddPage(page);
    TGroupRecord groups[2]{};
    std::snprintf(groups[0].Name, sizeof groups[0].Name, "Monitor");
    std::snprintf(groups[1].Name, sizeof groups[1].Name, "Tools");
    groups[0].PageCount = 2;
    groups[0].Pages = Pages.data();
    groups[1].PageCount = 1;
    groups[1].Pages = Pages.data() + 2;
    Registration = {RecordRequest, 2, groups};
    Module = std::make_unique<LoadedModule>(Suite.Path() + "PageContainer.dll");
    Command = Module->Entry<void(__stdcall*)(int32_t, void*)>("Command");
    ASSERT_NE(Command, nullptr);
    Command(cmdRegister, &Registration);
    int32_t first[2] = {1, 1};
    Command(cmdShow, first);
    Settle();
    ASSERT_EQ(ShownView(Window()), "TClockView");
    ::SetFocus(ButtonOf(Window(), "Monitor"));
    ASSERT_EQ(FocusedCaption(), "Monitor");

    // Ctrl+PgUp from the first group goes round to the last, Ctrl+PgDn from the last to the first.
    Press(VK_PRIOR, true);
    EXPECT_EQ(ShownView(Window()), "TColoursView");
    Press(VK_PRIOR, true);
    EXPECT_EQ(ShownView(Window()), "TClockView");
    Press(VK_NEXT, true);
    EXPECT_EQ(ShownView(Window()), "TColoursView");
    Press(VK_NEXT, true);
    EXPECT_EQ(ShownView(Window()), "TClockView");
    Press(VK_NEXT);
    EXPECT_EQ(ShownView(Window()), "TClockView") << "PgDn alone is no group key";

    // The arrows go along a row of buttons and round its ends.
    ::SetFocus(ButtonOf(Window(), "Monitor"));
    std::vector<std::string> walked;
    for (WORD key : {VK_RIGHT, VK_RIGHT, VK_LEFT, VK_LEFT, VK_UP, VK_DOWN}) {
        Press(key);
        walked.push_back(FocusedCaption());
    }
    EXPECT_EQ(walked, (std::vector<std::string>{"Tools", "Quick Bar", "Tools", "Monitor", "Display", "Monitor"}));
    Command(cmdExit, nullptr);
    Settle();
}

// The quick bar: the arrows go round its buttons; a page with a tip shows
// its mark on its button and the tip as its hint; its card is cut round.
TEST_F(MainWindow, TheQuickBarsArrowsTipsAndCard)
{
    CopyFileA((SuiteBin() + "Bar.dll").c_str(), (Suite.Path() + "Bar.dll").c_str(), FALSE);
    AddPage("Clock.dll");
    AddPage("Display.dll");
    std::snprintf(PageTip(Pages[0]).Tip, sizeof PageTip(Pages[0]).Tip, "Look at the clock");
    std::snprintf(PageTip(Pages[0]).Badge, sizeof PageTip(Pages[0]).Badge, "93%%");
    std::snprintf(PageTip(Pages[1]).Tip, sizeof PageTip(Pages[1]).Tip, "Look at the display");
    TGroupRecord group{};
    std::snprintf(group.Name, sizeof group.Name, "Monitor");
    group.PageCount = 2;
    group.Pages = Pages.data();
    TModuleRegistration registration{RecordRequest, 1, &group};
    WritePrivateProfileStringA("Bar", "Left", "5000", (Suite.Path() + "Tessel.ini").c_str());
    LoadedModule bar(Suite.Path() + "Bar.dll");
    HWND window = nullptr;
    ASSERT_NO_FATAL_FAILURE(ShowQuickBar(bar, registration, window));
    RECT work{}, before{}, after{};
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    GetWindowRect(window, &before);
    EXPECT_EQ(before.right, work.right) << "kept past the right edge: back on the work area";
    // The card: its corners cut away, its edges in.
    HRGN card = CreateRectRgn(0, 0, 0, 0);
    ASSERT_NE(GetWindowRgn(window, card), ERROR);
    const RECT& r = before;
    EXPECT_FALSE(PtInRegion(card, 0, 0));
    EXPECT_FALSE(PtInRegion(card, r.right - r.left - 1, r.bottom - r.top - 1));
    EXPECT_TRUE(PtInRegion(card, (r.right - r.left) / 2, 2));
    EXPECT_TRUE(PtInRegion(card, 0, (r.bottom - r.top) / 2));
    DeleteObject(card);

    // A longer mark widens the bar, which stays on the work area.
    std::snprintf(PageTip(Pages[0]).Badge, sizeof PageTip(Pages[0]).Badge, "a much longer");
    auto command = bar.Entry<void(__stdcall*)(int32_t, void*)>("Command");
    char block[1] = {};
    command(cmdShow, block);
    Settle();
    GetWindowRect(window, &after);
    EXPECT_GT(after.right - after.left, before.right - before.left);
    EXPECT_EQ(after.right, work.right);
    std::snprintf(PageTip(Pages[0]).Badge, sizeof PageTip(Pages[0]).Badge, "93%%");
    command(cmdShow, block);
    Settle();

    std::vector<std::string> captions;
    for (HWND child = GetWindow(window, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        char text[64] = {};
        GetWindowTextA(child, text, sizeof text);
        if (text[0])
            captions.push_back(text);
    }
    EXPECT_EQ(captions, (std::vector<std::string>{"Clock [93%]", "Display [!]", "Main Window", "Tray", "Exit"}));

    ::SetFocus(ButtonOf(window, "Exit"));
    std::vector<std::string> walked;
    for (WORD key : {VK_DOWN, VK_UP, VK_LEFT, VK_RIGHT}) {
        Press(key);
        walked.push_back(FocusedCaption());
    }
    EXPECT_EQ(walked, (std::vector<std::string>{"Clock [93%]", "Exit", "Tray", "Exit"}));

    bar.Entry<void(__stdcall*)(int32_t, void*)>("Command")(cmdHide, nullptr);
    Settle();
}

} // namespace
