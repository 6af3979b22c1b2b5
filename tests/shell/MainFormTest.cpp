// The main form built inside the test program over a suite folder of module
// doubles, with the system services replaced: the dispatcher's table, the
// main form's window messages and the tray handlers.
#include "DialogDriver.h"
#include "RecordingServices.h"
#include "ShellHarness.h"
#include "support/ProcessWindows.h"

#include "shell/MainFram.h"
#include "shell/MsgFrm.h"
#include "shell/SuiteState.h"

#include "platform/Application.h"

#include <gtest/gtest.h>

#include <functional>

using namespace tessel;
using namespace shelltest;
using platform::Application;
using Strings = std::vector<std::string>;

namespace {

class MainForm : public TSuiteTest {
protected:
    void SetUp() override
    {
        TSuiteTest::SetUp();
        Suite.AddSiblings();
        Suite.AddModule("Page\\P1.dll");
        Suite.AddModule("Page\\P2.dll");
        Suite.Write("Tessel.ini", "[Tessel]\r\nObjectStyle=1\r\n"
                                  "[Group]\r\ngroupcount=1\r\n1=Tools\r\n"
                                  "[Tools]\r\ngroupid=4\r\npagecount=2\r\n1=P1.dll\r\n2=P2.dll\r\n");
        Suite.Write("Page\\P1.ini", "[MESSAGE]\r\nmessagecount=3\r\n1=1200\r\n2=536\r\n3=01200\r\n");
    }
    void TearDown() override
    {
        if (Form1)
            Form1->Free();
        if (Dialog)
            DestroyWindow(Dialog);
        TSuiteTest::TearDown();
    }

    void Create()
    {
        Application->CreateForm(Form1);
        Suite.ClearCalls();
        Services.Log.clear();
    }
    // A fresh start of the main form over the suite as it is now: the
    // doubles' calls and the side effects of the whole start.
    Strings Start()
    {
        if (Form1)
            Form1->Free();
        Restart();
        HWND app = Application->Handle();
        SetWindowLongA(app, GWL_EXSTYLE, GetWindowLongA(app, GWL_EXSTYLE) & ~WS_EX_TOOLWINDOW);
        return After([] { Application->CreateForm(Form1); });
    }
    // The doubles' calls and the side effects of one action.
    Strings After(const std::function<void()>& Action)
    {
        Suite.ClearCalls();
        Services.Log.clear();
        Action();
        Strings all = Suite.Calls();
        for (const std::string& effect : Services.Log)
            all.push_back(effect);
        return all;
    }
    // A visible window as a suite message dialog shows it.
    void OpenDialog()
    {
        WNDCLASSA wc{};
        wc.lpfnWndProc = DefWindowProcA;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = "TfrmMsg";
        RegisterClassA(&wc);
        Dialog = CreateWindowExA(WS_EX_TOOLWINDOW, "TfrmMsg", "Tessel", WS_POPUP | WS_VISIBLE, 0, 0, 10, 10, nullptr,
                                 nullptr, wc.hInstance, nullptr);
        ASSERT_NE(Dialog, nullptr);
    }

    TRecordingServices Services;
    HWND Dialog = nullptr;
};

TEST_F(MainForm, DispatcherTable)
{
    Create();
    ASSERT_NE(State->PageContainerModule, nullptr);
    ASSERT_NE(State->BarModule, nullptr);
    int32_t pair[2] = {5, 6};
    TForwardedMessage message{1, 2, 3};
    char address[32];
    std::snprintf(address, sizeof address, "@%p", static_cast<void*>(pair));

    struct TRow {
        int32_t Code, Target;
        void* Data;
        Strings Effects;
        bool TimerOn, TrayVisible;
        TView View;
    };
    const std::vector<TRow> table = {
        {3, 101, nullptr, {"P1 Command 8 file=P1.dll", "P2 Command 8 file=P2.dll", "Bar Command 3 data"}, true, false, TView::QuickBar},
        {4, 101, nullptr, {"Bar Command 4 null"}, false, false, TView::QuickBar},
        {3, 101, nullptr, {"P1 Command 8 file=P1.dll", "P2 Command 8 file=P2.dll", "Bar Command 3 data"}, true, false, TView::QuickBar},
        {3, 105, nullptr, {"icon 0"}, false, true, TView::QuickBar},
        {3, 101, nullptr, {"P1 Command 8 file=P1.dll", "P2 Command 8 file=P2.dll", "Bar Command 3 data"}, true, true, TView::QuickBar},
        {3, 105, nullptr, {}, false, true, TView::QuickBar},
        {4, 105, nullptr, {"icon 2"}, false, false, TView::QuickBar},
        {4, 105, nullptr, {}, false, false, TView::QuickBar},
        {3, 101, nullptr, {"P1 Command 8 file=P1.dll", "P2 Command 8 file=P2.dll", "Bar Command 3 data"}, true, false, TView::QuickBar},
        {3, 103, pair, {"PageContainer Command 3 pair=5,6 " + std::string(address)}, false, false, TView::MainWindow},
        {4, 103, nullptr, {"PageContainer Command 4 null"}, false, false, TView::MainWindow},
        {7, 103, &message, {"PageContainer Command 7 msg=1 lparam=2 wparam=3"}, false, false, TView::MainWindow},
        {5, 101, nullptr, {}, false, false, TView::MainWindow},
        {7, 101, nullptr, {}, false, false, TView::MainWindow},
        {3, 104, nullptr, {}, false, false, TView::MainWindow},
        {4, 104, nullptr, {}, false, false, TView::MainWindow},
        {6, 105, nullptr, {}, false, false, TView::MainWindow},
        {1, 103, nullptr, {}, false, false, TView::MainWindow},
        {3, 999, nullptr, {}, false, false, TView::MainWindow},
    };
    for (size_t row = 0; row < table.size(); ++row) {
        const TRow& r = table[row];
        TCommandRecord record{r.Code, r.Target, r.Data};
        EXPECT_EQ(After([&] { ModuleCommand(&record); }), r.Effects) << "row " << row;
        EXPECT_EQ(Form1->TimerGetTips->Enabled(), r.TimerOn) << "row " << row;
        EXPECT_EQ(Form1->TesselTray->Visible(), r.TrayVisible) << "row " << row;
        EXPECT_EQ(State->CurrentView, r.View) << "row " << row;
        EXPECT_FALSE(Application->Terminated()) << "row " << row;
    }

    // Ending: only the main window's own exit tells the main window first.
    TCommandRecord exit{6, 103, nullptr};
    EXPECT_EQ(After([&] { ModuleCommand(&exit); }), (Strings{"PageContainer Command 6 null"}));
    EXPECT_TRUE(Application->Terminated());
}

TEST_F(MainForm, WindowMessagesAreForwardedUntilTheSessionEnds)
{
    Create();
    HWND form = Form1->Handle();
    EXPECT_EQ(State->MessageIds, (std::vector<int32_t>{1200, 536, 1200}));

    EXPECT_EQ(After([&] { SendMessageA(form, 1200, 7, 9); }),
              (Strings{"PageContainer Command 7 msg=1200 lparam=9 wparam=7",
                       "PageContainer Command 7 msg=1200 lparam=9 wparam=7"}))
        << "a number listed twice (1200 and 01200) is forwarded twice";
    EXPECT_EQ(After([&] { SendMessageA(form, WM_POWERBROADCAST, 0, 0); }), Strings{});
    EXPECT_EQ(After([&] { SendMessageA(form, 1201, 0, 0); }), Strings{});

    // The close command tells the main window, and so does the close request the default handling makes.
    EXPECT_EQ(After([&] { SendMessageA(form, WM_SYSCOMMAND, SC_CLOSE, 0); }),
              (Strings{"PageContainer Command 6 null", "PageContainer Command 6 null"}));
    EXPECT_TRUE(Application->Terminated());
    EXPECT_TRUE(IsWindow(form)) << "the form is not closed";

    EXPECT_EQ(SendMessageA(form, WM_QUERYENDSESSION, 0, 0), 1) << "the framework still answers the query";
    EXPECT_TRUE(State->SessionEnding);
    EXPECT_EQ(After([&] {
                  SendMessageA(form, 1200, 7, 9);
                  SendMessageA(form, WM_SYSCOMMAND, SC_CLOSE, 0);
              }),
              (Strings{"PageContainer Command 6 null"}))
        << "after the session end only the close request's own handler speaks";
}

TEST_F(MainForm, AReadOnlyTesselIniStaysAsItWasAndItsMessagesAreStillForwarded)
{
    const std::string before = Suite.Read("Tessel.ini");
    SetFileAttributesA(Suite.Ini().c_str(), FILE_ATTRIBUTE_READONLY);
    Create();
    const std::string after = Suite.Read("Tessel.ini");
    SetFileAttributesA(Suite.Ini().c_str(), FILE_ATTRIBUTE_NORMAL);

    EXPECT_EQ(after, before);
    EXPECT_EQ(State->Ready, 1);
    EXPECT_EQ(State->MessageIds, (std::vector<int32_t>{1200, 536, 1200}));
    EXPECT_EQ(After([&] { SendMessageA(Form1->Handle(), 1200, 7, 9); }),
              (Strings{"PageContainer Command 7 msg=1200 lparam=9 wparam=7",
                       "PageContainer Command 7 msg=1200 lparam=9 wparam=7"}));
}

TEST_F(MainForm, TrayClicksSwitchFacesUnlessADialogIsOpen)
{
    Create();
    TTrayIcon* tray = Form1->TesselTray;

    // Start view other than 0 and 3: the first left click switches to the quick bar,
    // after the container has heard of the switch.
    EXPECT_EQ(After([&] { Form1->TesselTrayMouseUp(tray, platform::mbLeft, {}, 1, 1); }),
              (Strings{"PageContainer container-switch", "P1 Command 8 file=P1.dll", "P2 Command 8 file=P2.dll",
                       "Bar Command 3 data"}));
    EXPECT_EQ(State->CurrentView, TView::QuickBar);
    EXPECT_EQ(After([&] { Form1->TesselTrayMouseUp(tray, platform::mbMiddle, {}, 1, 1); }), Strings{});

    // The shell's own switch does not notify the container; with the icon up it is taken down first.
    tray->SetVisible(true);
    const Strings effects = After([&] { Form1->MainWindow1Click(nullptr); });
    ASSERT_EQ(effects.size(), 2u);
    EXPECT_EQ(effects[0].substr(0, 32), "PageContainer Command 3 pair=0,0");
    EXPECT_EQ(effects[1], "icon 2");
    EXPECT_EQ(State->CurrentView, TView::MainWindow);
    EXPECT_FALSE(tray->Visible());
    EXPECT_EQ(After([&] { Form1->TesselTrayMouseUp(tray, platform::mbLeft, {}, 1, 1); }).front(),
              "PageContainer container-switch");
    EXPECT_EQ(State->CurrentView, TView::MainWindow) << "a left click with the main window up switches to it again";

    // While the icon is up, a restore command to the application's window
    // restores it and the form's handler hides it again: no taskbar button.
    tray->SetVisible(true);
    HWND app = Application->Handle();
    ShowWindow(app, SW_SHOWMINNOACTIVE);
    ASSERT_TRUE(IsIconic(app));
    SendMessageA(app, WM_SYSCOMMAND, SC_RESTORE, 0);
    EXPECT_FALSE(IsIconic(app));
    EXPECT_FALSE(IsWindowVisible(app));

    // An open suite dialog is only brought forward.
    OpenDialog();
    EXPECT_EQ(After([&] {
                  Form1->TesselTrayMouseUp(tray, platform::mbLeft, {}, 1, 1);
                  Form1->TesselTrayMouseUp(tray, platform::mbRight, {}, 1, 1);
                  Form1->MainWindow1Click(nullptr);
              }),
              Strings{});
    EXPECT_EQ(After([&] { Form1->ToolBar1Click(Form1->ToolBar1); }), (Strings{"PageContainer container-switch"}))
        << "a switch from the menu tells the container before it looks for the dialog";
    EXPECT_EQ(State->CurrentView, TView::MainWindow);
}

TEST_F(MainForm, StartViewsTheirMarksAndTheWayOut)
{
    struct TCase {
        std::string Style;
        bool WithBar;
        Strings BarCalls;
        bool QuickBarMark, ToolBarMark, TrayVisible, TimerOn;
        TView View;
    };
    const Strings quickBar = {"Bar Command 1 callback groups=1 [Tools|4|2|0|P1.dll,P2.dll]", "Bar Command 3 null",
                              "Bar Command 3 data"};
    // A loaded module cannot be deleted: the cases without one come first.
    const std::vector<TCase> cases = {
        // The quick bar's module did not load: the tray icon is the way in and out.
        {"ObjectStyle=0", false, {}, true, false, true, false, TView::None},
        {"", false, {}, true, false, true, false, TView::None},
        {"ObjectStyle=3", false, {}, false, true, true, false, TView::None},
        {"ObjectStyle=0", true, quickBar, true, false, false, true, TView::QuickBar},
        {"", true, quickBar, true, false, false, true, TView::QuickBar},
        {"ObjectStyle=3", true, {quickBar[0], "Bar Command 4 null"}, false, true, true, false, TView::None},
        {"ObjectStyle=1", true, {quickBar[0]}, false, false, false, false, TView::None},
    };
    const std::string groups = "[Group]\r\ngroupcount=1\r\n1=Tools\r\n"
                               "[Tools]\r\ngroupid=4\r\npagecount=2\r\n1=P1.dll\r\n2=P2.dll\r\n";
    for (const TCase& c : cases) {
        const std::string name = c.Style + (c.WithBar ? "" : " without Bar.dll");
        if (c.WithBar)
            Suite.AddModule("Bar.dll");
        else
            DeleteFileA((Suite.Path() + "Bar.dll").c_str());
        Suite.Write("Tessel.ini", "[Tessel]\r\n" + c.Style + "\r\n" + groups);

        const Strings effects = Start();
        EXPECT_EQ(Matching(effects, "Bar Command"), c.BarCalls) << name;
        EXPECT_EQ(Matching(effects, "icon"), c.TrayVisible ? Strings{"icon 0"} : Strings{}) << name;
        EXPECT_EQ(Form1->TesselTray->Visible(), c.TrayVisible) << name;
        EXPECT_EQ(Form1->StartatQuickBar1->Checked(), c.QuickBarMark) << name;
        EXPECT_EQ(Form1->StartatToolBar1->Checked(), c.ToolBarMark) << name;
        EXPECT_EQ(Form1->TimerGetTips->Enabled(), c.TimerOn) << name;
        EXPECT_EQ(State->CurrentView, c.View) << name;
        // The application's own window is a tool window: no taskbar button.
        EXPECT_TRUE(GetWindowLongA(Application->Handle(), GWL_EXSTYLE) & WS_EX_TOOLWINDOW) << name;
    }
}

TEST_F(MainForm, EachProfileFlagAsksForItsOwnCheck)
{
    TMachineKeys keys;
    ASSERT_TRUE(keys.Create("SOFTWARE\\Korvane"));
    ASSERT_TRUE(keys.Create("SOFTWARE\\Korvane\\Corbel"));
    ASSERT_TRUE(keys.Create("SOFTWARE\\Korvane\\Fathom"));
    const std::string tail = " because it will conflict with Tessel.\nPress \"OK\" to close this application.";
    for (const bool suite : {true, false}) {
        Suite.Double("KsTuneProfile", "CheckSuite", suite ? "1" : "0");
        Suite.Double("KsTuneProfile", "CheckFathom", suite ? "0" : "1");
        Start();
        EXPECT_EQ(State->CheckSuite, suite);
        EXPECT_EQ(State->CheckFathom, !suite);
        EXPECT_EQ(Matching(Services.Log, "box"),
                  Strings{"box Tessel 0: Please uninstall \"" + std::string(suite ? "Corbel" : "Fathom") + "\"" + tail});
    }
}

TEST_F(MainForm, TipsPollingStaysInsideTheTableWhenTesselIniGrows)
{
    Create();
    // Tessel.ini now lists more groups and pages than the table was built with.
    Suite.Write("Tessel.ini", "[Group]\r\ngroupcount=300\r\n1=Tools\r\n2=Extra\r\n"
                              "[Tools]\r\npagecount=9\r\n1=P1.dll\r\n2=P2.dll\r\n3=P1.dll\r\n"
                              "[Extra]\r\npagecount=1\r\n1=P1.dll\r\n");
    // What lies past GroupCount and past a group's PageCount is not the
    // shell's: filled here as a module holding the table's address might.
    TGroupRecord& tools = State->GroupTable[0];
    TPageRecord* const pages = tools.Pages;
    std::vector<TPageRecord> wider(9);
    for (size_t j = 0; j < wider.size(); ++j)
        std::snprintf(wider[j].FileName, sizeof wider[j].FileName, "%s", j == 1 ? "P2.dll" : "P1.dll");
    tools.Pages = wider.data();
    TPageRecord extraPage{};
    std::snprintf(extraPage.FileName, sizeof extraPage.FileName, "P1.dll");
    State->GroupTable[1] = TGroupRecord{};
    std::snprintf(State->GroupTable[1].Name, sizeof State->GroupTable[1].Name, "Extra");
    State->GroupTable[1].PageCount = 1;
    State->GroupTable[1].Pages = &extraPage;

    const Strings polled = After([] { Form1->RefreshTips(); });
    tools.Pages = pages;
    State->GroupTable[1] = TGroupRecord{};
    EXPECT_EQ(polled, (Strings{"P1 Command 8 file=P1.dll", "P2 Command 8 file=P2.dll"}));

    // Fewer groups and pages than at start poll fewer.
    Suite.Write("Tessel.ini", "[Group]\r\ngroupcount=1\r\n1=Tools\r\n[Tools]\r\npagecount=1\r\n");
    EXPECT_EQ(After([] { Form1->RefreshTips(); }), (Strings{"P1 Command 8 file=P1.dll"}));
    Suite.Write("Tessel.ini", "[Group]\r\ngroupcount=0\r\n");
    EXPECT_EQ(After([] { Form1->RefreshTips(); }), Strings{});
}

// Drives the popup menu from a thread timer that its modal loop keeps
// dispatching: moves the highlight to item Target and presses Enter.
struct TMenuDriver {
    int Target = 0;
    bool Shown = false;
    DWORD Start = 0;
    static inline TMenuDriver* Current = nullptr;

    static VOID CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD)
    {
        TMenuDriver& d = *Current;
        if (GetTickCount() - d.Start > 8000) {
            EndMenu();
            return;
        }
        // Only this program's menu: other test programs may have one open too.
        HWND wnd = testsupport::VisibleProcessWindow(GetCurrentProcessId(), "#32768");
        if (!wnd)
            return;
        d.Shown = true;
        HMENU menu = reinterpret_cast<HMENU>(SendMessageA(wnd, MN_GETHMENU, 0, 0));
        int highlighted = -1;
        for (int i = 0; i < GetMenuItemCount(menu); ++i)
            if (GetMenuState(menu, static_cast<UINT>(i), MF_BYPOSITION) & MF_HILITE)
                highlighted = i;
        const WPARAM key = highlighted == d.Target ? VK_RETURN : VK_DOWN;
        PostMessageA(wnd, WM_KEYDOWN, key, 1);
        PostMessageA(wnd, WM_KEYUP, key, 0xC0000001);
    }
};

TEST_F(MainForm, TrayMenuSetsTheStartView)
{
    Create();
    EXPECT_FALSE(Form1->StartatQuickBar1->Checked());
    EXPECT_FALSE(Form1->StartatToolBar1->Checked());
    EXPECT_EQ(Form1->Exit1->Caption(), "Exit");
    EXPECT_TRUE(Form1->Exit1->OnClick());

    TMenuDriver driver;
    driver.Target = 4; // Start at ToolBar
    driver.Start = GetTickCount();
    TMenuDriver::Current = &driver;
    const UINT_PTR timer = SetTimer(nullptr, 0, 50, TMenuDriver::Tick);
    Form1->TesselTrayMouseUp(Form1->TesselTray, platform::mbRight, {}, 1, 1);
    KillTimer(nullptr, timer);
    ASSERT_TRUE(driver.Shown);
    EXPECT_TRUE(Form1->StartatToolBar1->Checked());
    EXPECT_FALSE(Form1->StartatQuickBar1->Checked());
    EXPECT_EQ(Suite.Value("Tessel.ini", "Tessel", "ObjectStyle"), "3");
    EXPECT_EQ(State->CurrentView, TView::None) << "the choice takes effect at the next start";

    Form1->StartatQuickBar1Click(nullptr);
    EXPECT_TRUE(Form1->StartatQuickBar1->Checked());
    EXPECT_FALSE(Form1->StartatToolBar1->Checked());
    EXPECT_EQ(Suite.Value("Tessel.ini", "Tessel", "ObjectStyle"), "0");
}

TEST_F(MainForm, ExitAsksInADialogAndEndsOnlyOnYes)
{
    Suite.Double("KsMultiLang", "Prefix", "[t]");
    Suite.AddSkin();
    Create();
    struct TSeen {
        RECT Rect{};
        std::string Text;
        platform::TComponent* Owner = nullptr;
    } seen;
    auto look = [&](HWND dialog) {
        GetWindowRect(dialog, &seen.Rect);
        for (int i = 0; i < platform::Screen->FormCount(); ++i)
            if (auto* form = dynamic_cast<TfrmMsg*>(platform::Screen->Forms(i)); form && form->Handle() == dialog) {
                seen.Text = form->LabelDescription->Caption();
                seen.Owner = form->Owner();
            }
    };
    const int left = GetSystemMetrics(SM_CXSCREEN) / 2 - 135, top = GetSystemMetrics(SM_CYSCREEN) / 2 - 80;

    {
        TModalDriver driver(look, [](HWND d) { ClickAt(d, NoButton); });
        EXPECT_EQ(Matching(After([&] { Form1->Exit1->Click(); }), "PageContainer"), Strings{})
            << "No leaves everything running";
        ASSERT_TRUE(driver.Answered());
    }
    EXPECT_EQ(seen.Text, "[t]Are you sure to exit?");
    EXPECT_EQ(seen.Owner, Form1);
    EXPECT_EQ(std::to_string(seen.Rect.left) + "," + std::to_string(seen.Rect.top) + "," +
                  std::to_string(seen.Rect.right - seen.Rect.left) + "," +
                  std::to_string(seen.Rect.bottom - seen.Rect.top),
              std::to_string(left) + "," + std::to_string(top) + ",270,160");
    EXPECT_FALSE(Application->Terminated());
    EXPECT_EQ(FindWindowA("TfrmMsg", "Tessel"), nullptr) << "the dialog is destroyed";

    {
        TModalDriver driver(nullptr, [](HWND d) { ClickAt(d, YesButton); });
        EXPECT_EQ(Matching(After([&] { Form1->Exit1Click(nullptr); }), "PageContainer Command"),
                  (Strings{"PageContainer Command 6 null"}));
        ASSERT_TRUE(driver.Answered());
    }
    EXPECT_TRUE(Application->Terminated());
    EXPECT_EQ(FindWindowA("TfrmMsg", "Tessel"), nullptr);
}

// The system refuses the dialog's buttons their windows (as it refuses a
// caption longer than it takes): the dialog that could not be built is
// gone, and the next Exit asks again.
LRESULT CALLBACK RefuseButtons(int Code, WPARAM WParam, LPARAM LParam)
{
    char name[64] = {};
    if (Code == HCBT_CREATEWND && GetClassNameA(reinterpret_cast<HWND>(WParam), name, sizeof name) &&
        std::string(name) == "KsButtonTx")
        return 1;
    return CallNextHookEx(nullptr, Code, WParam, LParam);
}

TEST_F(MainForm, ADialogThatCannotBeBuiltIsDestroyed)
{
    Suite.AddSkin();
    Create();
    HHOOK refuse = SetWindowsHookExA(WH_CBT, RefuseButtons, nullptr, GetCurrentThreadId());
    ASSERT_NE(refuse, nullptr);
    {
        TModalDriver driver(nullptr, [](HWND d) { ClickAt(d, NoButton); });
        Form1->Exit1->Click();
        EXPECT_FALSE(driver.Answered()) << "no dialog was shown";
    }
    UnhookWindowsHookEx(refuse);
    EXPECT_EQ(FindWindowA("TfrmMsg", "Tessel"), nullptr) << "the half-built dialog is gone";
    EXPECT_FALSE(SuiteDialogOpen());
    EXPECT_EQ(Services.Log.size(), 1u) << "the failure is shown";

    TModalDriver driver(nullptr, [](HWND d) { ClickAt(d, NoButton); });
    Form1->Exit1->Click();
    EXPECT_TRUE(driver.Answered()) << "the next Exit asks";
    EXPECT_FALSE(Application->Terminated());
}

TEST_F(MainForm, AnOpenDialogIsFoundBehindTheHiddenOne)
{
    Create();
    using TDialog = platform::TOwned<TfrmMsg>;
    TDialog open(platform::New<TfrmMsg>(nullptr, "Open"));
    open->Show();
    // Made after the open one, the hidden start-up dialog comes first in the window order.
    TDialog hidden(platform::New<TfrmMsg>(nullptr));
    ASSERT_EQ(FindWindowA("TfrmMsg", "Tessel"), hidden->Handle());
    ASSERT_FALSE(IsWindowVisible(hidden->Handle()));
    TModalDriver refuse(nullptr, PressAltF4);
    EXPECT_EQ(After([&] {
                  Form1->ToolBar1Click(nullptr);
                  Form1->MainWindow1Click(nullptr);
                  Form1->Exit1Click(nullptr);
              }),
              Strings{});
    EXPECT_FALSE(refuse.Answered()) << "Exit only brought the open dialog forward";
    EXPECT_EQ(State->CurrentView, TView::None);
}

} // namespace
