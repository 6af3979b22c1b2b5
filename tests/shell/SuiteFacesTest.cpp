// The suite as a person runs it: Tessel.exe with the real main window
// (PageContainer.dll), the real quick bar (Bar.dll) and page modules, driven
// from outside by clicks on their buttons and by window messages. The other
// sibling modules are doubles, and some pages too where a test needs to see
// exactly which calls a page received.
#include "SuiteDriver.h"

#include <gtest/gtest.h>

using namespace shelltest;

namespace {

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
    {
        // On the screen: the clock's dark time display, and the page
        // buttons in their skin (light, with dark text).
        HWND clock = ViewOf(Container(), "TClockView");
        EXPECT_TRUE(WaitFor([&] { return TScreenShot(clock).Pixel(24, 24) == RGB(20, 28, 36); }, 3000));
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
    EXPECT_TRUE(WaitFor([&] { return !Shown(Tessel.Window("TfrmMsg", "Tessel")); }, 5000));
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

// Started again, the suite answers: the running one brings its current face
// forward as a left click on its tray icon does, and the second start ends
// with 0 at once.
TEST_F(SuiteFaces, ASecondStartBringsTheCurrentFaceForward)
{
    AddRealPage("Clock");
    Layout({"Clock"}, 3);
    ASSERT_TRUE(Tessel.Start());
    ASSERT_NE(Tessel.WaitMainForm(), nullptr);
    EXPECT_FALSE(Shown(Bar()));
    const auto startAgain = [&] {
        TTesselProcess second(Suite);
        return second.Start() && second.WaitExit() == 0;
    };

    // Started at the tray and never switched: the quick bar.
    ASSERT_TRUE(startAgain());
    EXPECT_TRUE(WaitShown([&] { return Bar(); }));
    EXPECT_FALSE(Shown(Container()));

    // Last seen as the main window, now in the tray: the main window, in front.
    ASSERT_TRUE(Click(Button(Bar(), "Main Window")));
    ASSERT_TRUE(WaitShown([&] { return Container(); }));
    ASSERT_TRUE(Click(Button(Container(), "Tray")));
    ASSERT_TRUE(WaitShown([&] { return Container(); }, false));
    ASSERT_TRUE(startAgain());
    EXPECT_TRUE(WaitShown([&] { return Container(); }));
    EXPECT_TRUE(WaitFor([&] { return GetForegroundWindow() == Container(); }, 3000));
    EXPECT_FALSE(Shown(Bar()));

    // With the exit question open only the question comes forward; nothing switches.
    ASSERT_TRUE(Click(Button(Container(), "Exit")));
    HWND question = nullptr;
    ASSERT_TRUE(WaitFor([&] { return (question = VisibleDialog(Tessel.Id())) != nullptr; }, 5000));
    ASSERT_TRUE(startAgain());
    Sleep(500);
    EXPECT_TRUE(Shown(question));
    EXPECT_EQ(GetForegroundWindow(), question);
    EXPECT_FALSE(Shown(Bar()));
    ASSERT_TRUE(Click(Button(question, "No")));
    EXPECT_TRUE(WaitFor([&] { return VisibleDialog(Tessel.Id()) == nullptr; }, 5000));
    EXPECT_TRUE(Tessel.Running());

    PostMessageA(Tessel.WaitMainForm(), WM_SYSCOMMAND, SC_CLOSE, 0);
    EXPECT_EQ(Tessel.WaitExit(), 0);
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
