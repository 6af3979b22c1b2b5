// The suite as a person runs it: Tessel.exe with the real main window
// (PageContainer.dll), the real quick bar (Bar.dll) and page modules, driven
// from outside by clicks on their buttons and by window messages. The other
// sibling modules are doubles, and some pages too where a test needs to see
// exactly which calls a page received.
#include "DialogDriver.h"
#include "TesselProcess.h"

#include <gtest/gtest.h>

using namespace shelltest;

namespace {

std::string TextOf(HWND Wnd)
{
    char text[256] = {};
    GetWindowTextA(Wnd, text, sizeof text);
    return text;
}

std::string ClassOf(HWND Wnd)
{
    char name[64] = {};
    GetClassNameA(Wnd, name, sizeof name);
    return name;
}

BOOL CALLBACK CollectChild(HWND Wnd, LPARAM Data)
{
    reinterpret_cast<std::vector<HWND>*>(Data)->push_back(Wnd);
    return TRUE;
}

// Every window below Top (children of children included).
std::vector<HWND> Descendants(HWND Top)
{
    std::vector<HWND> found;
    EnumChildWindows(Top, CollectChild, reinterpret_cast<LPARAM>(&found));
    return found;
}

// The button below Top whose caption is Text.
HWND Button(HWND Top, const std::string& Text)
{
    for (HWND wnd : Descendants(Top))
        if (ClassOf(wnd) == "KsButtonTx" && TextOf(wnd) == Text)
            return wnd;
    return nullptr;
}

HWND ViewOf(HWND Top, const std::string& Class)
{
    for (HWND wnd : Descendants(Top))
        if (ClassOf(wnd) == Class)
            return wnd;
    return nullptr;
}

// A left click in the middle of a window, as the mouse delivers it.
bool Click(HWND Wnd)
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

bool Shown(HWND Wnd)
{
    return Wnd && IsWindowVisible(Wnd);
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
        std::string ini = "[Tessel]\r\nObjectStyle=" + std::to_string(StartView) +
                          "\r\n[Group]\r\ngroupcount=1\r\n1=Monitor\r\n[Monitor]\r\ngroupid=1\r\nstyle=0\r\npagecount=" +
                          std::to_string(Pages.size()) + "\r\n";
        for (size_t j = 0; j < Pages.size(); ++j)
            ini += std::to_string(j + 1) + "=" + Pages[j] + ".dll\r\n";
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
        WaitFor([&] { return Shown(question = Tessel.Window("TfrmQuestion", "Tessel")); }, 5000);
        return Click(Button(question, Choice));
    }

    TSuiteFolder Suite;
    TTesselProcess Tessel{Suite};
};

TEST_F(SuiteFaces, TheThreeFacesSwitchAsTheUserAsks)
{
    AddRealPage("Clock");
    AddRealPage("Display");
    Layout({"Clock", "Display"}, 0);
    // Kept from a larger desktop: both windows come back on this one.
    Suite.SetValue("Tessel.ini", "PageContainer", "Left", "5000");
    Suite.SetValue("Tessel.ini", "PageContainer", "Top", "-3000");
    Suite.SetValue("Tessel.ini", "Bar", "Left", "-900");
    ASSERT_TRUE(Tessel.Start());
    ASSERT_NE(Tessel.WaitMainForm(), nullptr);

    // Start view 0: the quick bar, one button per page, always on top.
    ASSERT_TRUE(WaitShown([&] { return Bar(); }));
    EXPECT_TRUE(GetWindowLongA(Bar(), GWL_EXSTYLE) & WS_EX_TOPMOST);
    EXPECT_NE(Button(Bar(), "Clock"), nullptr);
    EXPECT_FALSE(Shown(Container()));

    // A page's button opens that page in the main window; the bar goes.
    ASSERT_TRUE(Click(Button(Bar(), "Display")));
    ASSERT_TRUE(WaitShown([&] { return Container(); }));
    EXPECT_TRUE(WaitShown([&] { return Bar(); }, false));
    EXPECT_TRUE(WaitShown([&] { return ViewOf(Container(), "TDisplayView"); }));
    EXPECT_FALSE(Shown(ViewOf(Container(), "TClockView")));
    RECT screen{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    for (HWND face : {Container(), Bar()}) {
        RECT r{}, both{};
        GetWindowRect(face, &r);
        EXPECT_TRUE(IntersectRect(&both, &r, &screen) && EqualRect(&both, &r)) << ClassOf(face);
    }

    // The main window's page buttons switch the body.
    ASSERT_TRUE(Click(Button(Container(), "Clock")));
    EXPECT_TRUE(WaitShown([&] { return ViewOf(Container(), "TClockView"); }));
    EXPECT_FALSE(Shown(ViewOf(Container(), "TDisplayView")));
    Sleep(300);
    {
        // On the screen: the clock's dark time display, and the page
        // buttons in their skin (light, with dark text).
        HWND clock = ViewOf(Container(), "TClockView");
        TScreenShot view(clock);
        EXPECT_EQ(view.Pixel(24, 24), RGB(20, 28, 36));
        TScreenShot buttons(Button(Container(), "Display"));
        const COLORREF middle = buttons.Pixel(4, 4);
        EXPECT_GT(GetRValue(middle) + GetGValue(middle) + GetBValue(middle), 600) << "a light button face";
    }

    // To the tray; a left click on the icon brings the main window back.
    ASSERT_TRUE(Click(Button(Container(), "Tray")));
    ASSERT_TRUE(WaitShown([&] { return Container(); }, false));
    Tessel.TrayNotify(WM_LBUTTONUP);
    ASSERT_TRUE(WaitShown([&] { return Container(); }));

    // To the quick bar, to the tray, and back to the quick bar by the icon.
    ASSERT_TRUE(Click(Button(Container(), "Quick Bar")));
    ASSERT_TRUE(WaitShown([&] { return Bar(); }));
    EXPECT_TRUE(WaitShown([&] { return Container(); }, false));
    ASSERT_TRUE(Click(Button(Bar(), "Tray")));
    ASSERT_TRUE(WaitShown([&] { return Bar(); }, false));
    Tessel.TrayNotify(WM_LBUTTONUP);
    ASSERT_TRUE(WaitShown([&] { return Bar(); }));

    // The bar's own main-window button shows the page last shown.
    ASSERT_TRUE(Click(Button(Bar(), "Main Window")));
    ASSERT_TRUE(WaitShown([&] { return Container(); }));
    EXPECT_TRUE(Shown(ViewOf(Container(), "TClockView")));

    PostMessageA(Tessel.WaitMainForm(), WM_SYSCOMMAND, SC_CLOSE, 0);
    EXPECT_EQ(Tessel.WaitExit(), 0);
}

TEST_F(SuiteFaces, ATipReachesTheQuickBarWithinOnePoll)
{
    Suite.AddModule("Page\\Alert.dll");
    Suite.AddModule("Page\\Quiet.dll");
    Suite.Double("Alert", "Caption", "Alert");
    Layout({"Alert", "Quiet"}, 0);
    ASSERT_TRUE(Tessel.Start());
    ASSERT_NE(Tessel.WaitMainForm(), nullptr);
    ASSERT_TRUE(WaitShown([&] { return Bar(); }));
    EXPECT_NE(Button(Bar(), "Alert"), nullptr) << "no tip, no badge";
    EXPECT_NE(Button(Bar(), "Quiet"), nullptr) << "a page without a caption goes by its file name";

    // Polls come every five seconds: the tip stands on the button by the next.
    Suite.Double("Alert", "Tip", "Drive C:\\ is 93 % full");
    Suite.Double("Alert", "Badge", "93%");
    const DWORD start = GetTickCount();
    EXPECT_TRUE(WaitFor([&] { return Button(Bar(), "Alert [93%]") != nullptr; }, 7000));
    EXPECT_LE(GetTickCount() - start, 6000u);
    EXPECT_NE(Button(Bar(), "Quiet"), nullptr) << "a page whose tip is empty shows none";

    // A tip without a badge of its own is marked all the same; one that goes, goes.
    Suite.Double("Alert", "Badge", "");
    EXPECT_TRUE(WaitFor([&] { return Button(Bar(), "Alert [!]") != nullptr; }, 7000));
    Suite.Double("Alert", "Tip", "");
    EXPECT_TRUE(WaitFor([&] { return Button(Bar(), "Alert") != nullptr; }, 7000));

    PostMessageA(Tessel.WaitMainForm(), WM_SYSCOMMAND, SC_CLOSE, 0);
    EXPECT_EQ(Tessel.WaitExit(), 0);
}

TEST_F(SuiteFaces, AForwardedMessageReachesOnlyThePagesThatAskedForIt)
{
    for (const char* page : {"Clock", "Display", "Disks"})
        Suite.AddModule(std::string("Page\\") + page + ".dll");
    Suite.Write("Page\\Clock.ini", "[MESSAGE]\r\nmessagecount=1\r\n1=30\r\n");
    Suite.Write("Page\\Display.ini", "[MESSAGE]\r\nmessagecount=1\r\n1=126\r\n");
    Suite.Write("Page\\Disks.ini", "[MESSAGE]\r\nmessagecount=1\r\n1=537\r\n");
    Layout({"Clock", "Display", "Disks"}, 3);
    ASSERT_TRUE(Tessel.Start());
    HWND form = Tessel.WaitMainForm();
    ASSERT_NE(form, nullptr);

    // Pages need not be on the screen to hear of a change.
    PostMessageA(form, WM_DISPLAYCHANGE, 24, MAKELPARAM(1024, 768));
    ASSERT_TRUE(WaitForCall(Suite, "Display PageMessage msg=126"));
    PostMessageA(form, WM_TIMECHANGE, 0, 0);
    ASSERT_TRUE(WaitForCall(Suite, "Clock PageMessage msg=30"));

    const std::vector<std::string> calls = Matching(Suite.Calls(), "");
    std::vector<std::string> heard;
    for (const std::string& call : calls)
        if (call.find("PageMessage") != std::string::npos)
            heard.push_back(call);
    EXPECT_EQ(heard, (std::vector<std::string>{"Display PageMessage msg=126 lparam=50332672 wparam=24",
                                               "Clock PageMessage msg=30 lparam=0 wparam=0"}));

    PostMessageA(form, WM_SYSCOMMAND, SC_CLOSE, 0);
    EXPECT_EQ(Tessel.WaitExit(), 0);
}

TEST_F(SuiteFaces, ExitFromEachFaceEndsWithZeroAndKeepsThePositions)
{
    AddRealPage("Clock");

    // From the quick bar, after it was moved; No first keeps everything running.
    Layout({"Clock"}, 0);
    ASSERT_TRUE(Tessel.Start());
    ASSERT_NE(Tessel.WaitMainForm(), nullptr);
    ASSERT_TRUE(WaitShown([&] { return Bar(); }));
    SetWindowPos(Bar(), nullptr, 300, 200, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    ASSERT_TRUE(Click(Button(Bar(), "Exit")));
    ASSERT_TRUE(Answer("No"));
    EXPECT_TRUE(WaitFor([&] { return !Shown(Tessel.Window("TfrmQuestion", "Tessel")); }, 5000));
    EXPECT_TRUE(Tessel.Running());
    ASSERT_TRUE(Click(Button(Bar(), "Exit")));
    ASSERT_TRUE(Answer("Yes"));
    EXPECT_EQ(Tessel.WaitExit(), 0);
    EXPECT_EQ(Suite.Value("Tessel.ini", "Bar", "Left"), "300");
    EXPECT_EQ(Suite.Value("Tessel.ini", "Bar", "Top"), "200");

    // From the main window: it comes back where the bar was left, and keeps
    // its own size and place.
    ASSERT_TRUE(Tessel.Start());
    ASSERT_NE(Tessel.WaitMainForm(), nullptr);
    ASSERT_TRUE(WaitShown([&] { return Bar(); }));
    RECT bar{};
    GetWindowRect(Bar(), &bar);
    EXPECT_EQ(bar.left, 300);
    EXPECT_EQ(bar.top, 200);
    ASSERT_TRUE(Click(Button(Bar(), "Main Window")));
    ASSERT_TRUE(WaitShown([&] { return Container(); }));
    SetWindowPos(Container(), nullptr, 100, 120, 700, 500, SWP_NOZORDER | SWP_NOACTIVATE);
    ASSERT_TRUE(Click(Button(Container(), "Exit")));
    ASSERT_TRUE(Answer("Yes"));
    EXPECT_EQ(Tessel.WaitExit(), 0);
    for (auto [key, value] : {std::pair{"Left", "100"}, {"Top", "120"}, {"Width", "700"}, {"Height", "500"}})
        EXPECT_EQ(Suite.Value("Tessel.ini", "PageContainer", key), value) << key;

    // From the tray: the shell's own question; the main window still keeps its place.
    Suite.SetValue("Tessel.ini", "Tessel", "ObjectStyle", "3");
    Suite.SetValue("Tessel.ini", "PageContainer", "Left", "140");
    ASSERT_TRUE(Tessel.Start());
    ASSERT_NE(Tessel.WaitMainForm(), nullptr);
    Tessel.TrayNotify(WM_RBUTTONUP);
    HWND menu = nullptr;
    ASSERT_TRUE(WaitFor([&] { return Shown(menu = Tessel.Window("#32768")); }, 5000));
    for (WPARAM key : {VK_UP, VK_RETURN}) {
        PostMessageA(menu, WM_KEYDOWN, key, 1);
        PostMessageA(menu, WM_KEYUP, key, 0xC0000001);
    }
    HWND dialog = nullptr;
    ASSERT_TRUE(WaitFor([&] { return (dialog = VisibleDialog(Tessel.Id())) != nullptr; }, 5000));
    ClickAt(dialog, YesButton);
    EXPECT_EQ(Tessel.WaitExit(), 0);
    EXPECT_EQ(Suite.Value("Tessel.ini", "PageContainer", "Left"), "140");
    EXPECT_EQ(Suite.Value("Tessel.ini", "PageContainer", "Width"), "700");
}

TEST_F(SuiteFaces, APageModuleThatFailsToLoadLeavesTheOthersWorking)
{
    AddRealPage("Clock");
    Suite.Write("Page\\Broken.dll", "this is not a module");
    Layout({"Broken", "Clock"}, 0);
    ASSERT_TRUE(Tessel.Start());
    ASSERT_NE(Tessel.WaitMainForm(), nullptr);
    ASSERT_TRUE(WaitShown([&] { return Bar(); }));
    ASSERT_NE(Button(Bar(), "Broken"), nullptr);

    ASSERT_TRUE(Click(Button(Bar(), "Broken")));
    ASSERT_TRUE(WaitShown([&] { return Container(); }));
    EXPECT_EQ(ViewOf(Container(), "TClockView"), nullptr) << "the broken page shows no view";
    ASSERT_TRUE(Click(Button(Container(), "Clock")));
    EXPECT_TRUE(WaitShown([&] { return ViewOf(Container(), "TClockView"); }));

    // Tips polls skip the broken page and go on.
    ASSERT_TRUE(Click(Button(Container(), "Quick Bar")));
    ASSERT_TRUE(WaitShown([&] { return Bar(); }));
    Sleep(5500);
    EXPECT_TRUE(Tessel.Running());
    PostMessageA(Tessel.WaitMainForm(), WM_SYSCOMMAND, SC_CLOSE, 0);
    EXPECT_EQ(Tessel.WaitExit(), 0);
}

} // namespace

namespace {

// The end of the Windows session ends Tessel, the main window told as at
// any other end; the modules are unloaded with their windows still up.
TEST_F(SuiteFaces, TheSessionsEndEndsTheSuiteWithZero)
{
    AddRealPage("Clock");
    AddRealPage("Display");
    Layout({"Clock", "Display"}, 0);
    for (bool mainWindow : {false, true}) {
        ASSERT_TRUE(Tessel.Start());
        HWND form = Tessel.WaitMainForm();
        ASSERT_NE(form, nullptr);
        ASSERT_TRUE(WaitShown([&] { return Bar(); }));
        if (mainWindow) {
            ASSERT_TRUE(Click(Button(Bar(), "Clock")));
            ASSERT_TRUE(WaitShown([&] { return ViewOf(Container(), "TClockView"); }));
        }
        PostMessageA(form, WM_ENDSESSION, 1, 0);
        EXPECT_EQ(Tessel.WaitExit(), 0) << mainWindow;
    }
}

} // namespace
