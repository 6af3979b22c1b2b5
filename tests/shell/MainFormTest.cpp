// The main form built inside the test program over a suite folder of module
// doubles, with the system services replaced: the dispatcher's table, the
// main form's window messages and the tray handlers.
#include "RecordingServices.h"
#include "ShellHarness.h"

#include "shell/MainFram.h"
#include "shell/MsgFrm.h"
#include "shell/SuiteModules.h"

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
        ClearGroupTable();
        CurrentView = 0;
        TSuiteTest::TearDown();
    }

    void Create()
    {
        Application->CreateForm(Form1);
        Suite.ClearCalls();
        Services.Log.clear();
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
    ASSERT_NE(Form1->PageContainerModule(), nullptr);
    ASSERT_NE(Form1->BarModule(), nullptr);
    int32_t pair[2] = {5, 6};
    TForwardedMessage message{1, 2, 3};
    char address[32];
    std::snprintf(address, sizeof address, "@%p", static_cast<void*>(pair));

    struct TRow {
        int32_t Code, Target;
        void* Data;
        Strings Effects;
        bool TimerOn, TrayVisible;
        int32_t View;
    };
    const std::vector<TRow> table = {
        {3, 101, nullptr, {"P1 Command 8 file=P1.dll", "P2 Command 8 file=P2.dll", "Bar Command 3 data"}, true, false, 1},
        {4, 101, nullptr, {"Bar Command 4 null"}, false, false, 1},
        {3, 101, nullptr, {"P1 Command 8 file=P1.dll", "P2 Command 8 file=P2.dll", "Bar Command 3 data"}, true, false, 1},
        {3, 105, nullptr, {"icon 0"}, false, true, 1},
        {3, 101, nullptr, {"P1 Command 8 file=P1.dll", "P2 Command 8 file=P2.dll", "Bar Command 3 data"}, true, true, 1},
        {3, 105, nullptr, {}, false, true, 1},
        {4, 105, nullptr, {"icon 2"}, false, false, 1},
        {4, 105, nullptr, {}, false, false, 1},
        {3, 101, nullptr, {"P1 Command 8 file=P1.dll", "P2 Command 8 file=P2.dll", "Bar Command 3 data"}, true, false, 1},
        {3, 103, pair, {"PageContainer Command 3 pair=5,6 " + std::string(address)}, false, false, 2},
        {4, 103, nullptr, {"PageContainer Command 4 null"}, false, false, 2},
        {7, 103, &message, {"PageContainer Command 7 msg=1 lparam=2 wparam=3"}, false, false, 2},
        {5, 101, nullptr, {}, false, false, 2},
        {7, 101, nullptr, {}, false, false, 2},
        {3, 104, nullptr, {}, false, false, 2},
        {4, 104, nullptr, {}, false, false, 2},
        {6, 105, nullptr, {}, false, false, 2},
        {1, 103, nullptr, {}, false, false, 2},
        {3, 999, nullptr, {}, false, false, 2},
    };
    for (size_t row = 0; row < table.size(); ++row) {
        const TRow& r = table[row];
        TCommandRecord record{r.Code, r.Target, r.Data};
        EXPECT_EQ(After([&] { ModuleCommand(&record); }), r.Effects) << "row " << row;
        EXPECT_EQ(Form1->TimerGetTips->Enabled(), r.TimerOn) << "row " << row;
        EXPECT_EQ(Form1->TesselTray->Visible(), r.TrayVisible) << "row " << row;
        EXPECT_EQ(CurrentView, r.View) << "row " << row;
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
    EXPECT_EQ(Form1->MessageIds(), (std::vector<int32_t>{1200, 536, 1200}));

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
    EXPECT_TRUE(Form1->SessionEnding());
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
    EXPECT_EQ(Form1->Ready(), 1);
    EXPECT_EQ(Form1->MessageIds(), (std::vector<int32_t>{1200, 536, 1200}));
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
    EXPECT_EQ(CurrentView, 1);
    EXPECT_EQ(After([&] { Form1->TesselTrayMouseUp(tray, platform::mbMiddle, {}, 1, 1); }), Strings{});

    // The shell's own switch does not notify the container; with the icon up it is taken down first.
    tray->SetVisible(true);
    const Strings effects = After([&] { Form1->MainWindow1Click(nullptr); });
    ASSERT_EQ(effects.size(), 2u);
    EXPECT_EQ(effects[0].substr(0, 32), "PageContainer Command 3 pair=0,0");
    EXPECT_EQ(effects[1], "icon 2");
    EXPECT_EQ(CurrentView, 2);
    EXPECT_FALSE(tray->Visible());
    EXPECT_EQ(After([&] { Form1->TesselTrayMouseUp(tray, platform::mbLeft, {}, 1, 1); }).front(),
              "PageContainer container-switch");
    EXPECT_EQ(CurrentView, 2) << "a left click with the main window up switches to it again";

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
    EXPECT_EQ(CurrentView, 2);
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
        HWND wnd = nullptr;
        for (HWND w = FindWindowA("#32768", nullptr); w; w = FindWindowExA(nullptr, w, "#32768", nullptr)) {
            DWORD id = 0;
            GetWindowThreadProcessId(w, &id);
            if (id == GetCurrentProcessId() && IsWindowVisible(w))
                wnd = w;
        }
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
    EXPECT_FALSE(Form1->Exit1->OnClick()) << "Exit waits for the message dialog";

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
    EXPECT_EQ(CurrentView, 0) << "the choice takes effect at the next start";

    Form1->StartatQuickBar1Click(nullptr);
    EXPECT_TRUE(Form1->StartatQuickBar1->Checked());
    EXPECT_FALSE(Form1->StartatToolBar1->Checked());
    EXPECT_EQ(Suite.Value("Tessel.ini", "Tessel", "ObjectStyle"), "0");
}

} // namespace
