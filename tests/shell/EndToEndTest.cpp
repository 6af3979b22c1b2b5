// Tessel.exe as a process in a temporary suite folder with the module
// doubles: the whole start-up and its order, the single instance, the
// command line, the reboot question and the conflict messages as real
// message boxes, the modules' requests, message forwarding, tips polling,
// the tray icon's clicks and every way the process ends.
//
// KsIO.dll is a double here, and every test that lets it ask for a reboot
// answers No: a real restart request would end every Wine process of the
// prefix. The Yes path is covered with replaced system services.
#include "DialogDriver.h"
#include "TesselProcess.h"

#include <gtest/gtest.h>

using namespace shelltest;
using Strings = std::vector<std::string>;

namespace {

const std::string Question = "System needs to reboot for using the application. Do you want to reboot now?";

class EndToEnd : public ::testing::Test {
protected:
    void SetUp() override
    {
        Suite.AddSiblings();
        for (const char* page : {"Page\\P1.dll", "Page\\P2.dll", "Page\\Sub\\P3.dll"})
            Suite.AddModule(page);
        Suite.Write("Tessel.ini", "[Group]\r\ngroupcount=2\r\n1=Tools\r\n2=Extras\r\n"
                                  "[Tools]\r\ngroupid=4\r\npagecount=2\r\nstyle=1\r\n1=P1.dll\r\n2=P2.dll\r\n"
                                  "[Extras]\r\ngroupid=9\r\npagecount=1\r\nstyle=2\r\n1=Sub\\P3.dll\r\n");
        Suite.Write("Page\\P1.ini", "[MESSAGE]\r\nmessagecount=3\r\n1=1200\r\n2=536\r\n3=1300\r\n");
        Suite.Write("Page\\P3.ini", "[MESSAGE]\r\nmessagecount=2\r\n1=01200\r\n2=1300\r\n");
    }
    void CreateKey(const char* Key) { ASSERT_TRUE(Keys.Create(Key)); }
    // The log lines of the doubles, less the translations.
    Strings Commands() const
    {
        Strings commands;
        for (const std::string& call : Suite.Calls())
            if (call.find("KsTranslateStr2") == std::string::npos)
                commands.push_back(call);
        return commands;
    }
    void CloseByCommand(HWND Form) const { PostMessageA(Form, WM_SYSCOMMAND, SC_CLOSE, 0); }

    TSuiteFolder Suite;
    TTesselProcess Tessel{Suite};
    TMachineKeys Keys;
};

TEST_F(EndToEnd, StartsInOrderPollsTipsAndClosesByTheSystemCommand)
{
    Suite.Double("KsMultiLang", "Prefix", "[ja]");
    ASSERT_TRUE(Tessel.Start());
    HWND form = Tessel.WaitMainForm();
    ASSERT_NE(form, nullptr);
    ASSERT_TRUE(WaitForCall(Suite, "Bar Command 3 data"));
    EXPECT_FALSE(IsWindowVisible(form)) << "the main form is never shown";

    const std::string ini = Suite.Ini();
    const std::string groups = " [Tools|4|2|1|P1.dll,P2.dll] [Extras|9|1|2|Sub\\P3.dll]";
    EXPECT_EQ(Commands(), (Strings{
                              "KsMultiLang KsGetLangNameAndPath 0",
                              "KsIO KSIO_CheckReboot",
                              "KsTuneProfile MakeNewIni " + ini + " suite=0 fathom=0",
                              "P1 Command 2 file=P1.dll",
                              "P2 Command 2 file=P2.dll",
                              "P3 Command 2 file=Sub\\P3.dll",
                              "KsTuneProfile MakeNewIni " + ini + " suite=0 fathom=0",
                              "PageContainer Command 1 callback groups=2" + groups,
                              "PageContainer Command 4 null",
                              "Bar Command 1 callback groups=2" + groups,
                              "Bar Command 3 null",
                              "P1 Command 8 file=P1.dll",
                              "P2 Command 8 file=P2.dll",
                              "P3 Command 8 file=Sub\\P3.dll",
                              "Bar Command 3 data",
                          }));
    // The menu captions pass through the language module, in menu order.
    Strings translated;
    for (const std::string& call : Matching(Suite.Calls(), "KsMultiLang KsTranslateStr2 256 "))
        translated.push_back(call.substr(32, call.find(" (") - 32));
    EXPECT_EQ(translated, (Strings{"Switch to Quick Bar", "Switch to Main Window", "Exit", "Start at Quick Bar",
                                   "Start at ToolBar"}));

    // The message table and its routes, rebuilt from the pages.
    EXPECT_EQ(Suite.Section("Tessel.ini", "MESSAGE"), (Strings{"count=4", "1=1200", "2=536", "3=1300", "4=01200"}));
    EXPECT_EQ(Suite.Section("Tessel.ini", "1300"), (Strings{"1=0,0", "2=1,0"}));
    EXPECT_EQ(Suite.Section("Tessel.ini", "01200"), (Strings{"1=1,0"}));

    // The quick bar is up: the pages are polled again five seconds later, then the bar is shown again.
    Suite.ClearCalls();
    ASSERT_TRUE(WaitForCall(Suite, "Bar Command 3 null", 8000));
    EXPECT_EQ(Commands(), (Strings{"P1 Command 8 file=P1.dll", "P2 Command 8 file=P2.dll",
                                   "P3 Command 8 file=Sub\\P3.dll", "Bar Command 3 null"}));

    // Once the quick bar is taken down the polling stops.
    ASSERT_TRUE(Tessel.Request("Bar", 4, 101));
    ASSERT_TRUE(WaitForCall(Suite, "Bar Command 4 null"));
    Suite.ClearCalls();
    Sleep(6000);
    EXPECT_EQ(Commands(), Strings{});

    // The close command and then the close request of the default handling
    // both tell the main window; after the loop the modules go, the language last.
    CloseByCommand(form);
    EXPECT_EQ(Tessel.WaitExit(), 0);
    EXPECT_EQ(Commands(), (Strings{"PageContainer Command 6 null", "PageContainer Command 6 null",
                                   "PageContainer unloaded", "Bar unloaded", "KsMultiLang unloaded"}));
}

TEST_F(EndToEnd, OneInstanceTheTraySwitchAndTheTrayMenu)
{
    Suite.Double("KsIO", "Reboot", "1");
    Suite.Write("Tessel.ini", Suite.Read("Tessel.ini") + "[Tessel]\r\nObjectStyle=3\r\n");
    ASSERT_TRUE(Tessel.Start("-TRAY"));
    HWND form = Tessel.WaitMainForm();
    ASSERT_NE(form, nullptr);
    EXPECT_TRUE(Matching(Suite.Calls(), "KsIO").empty()) << "-tray skips the reboot check";
    EXPECT_EQ(Matching(Suite.Calls(), "Bar Command"), (Strings{"Bar Command 1 callback groups=2 [Tools|4|2|1|P1.dll,"
                                                               "P2.dll] [Extras|9|1|2|Sub\\P3.dll]",
                                                               "Bar Command 4 null"}));

    // The icon is up and nothing else: a left click switches to the quick
    // bar, telling the container first.
    const Strings toQuickBar{"PageContainer container-switch", "P1 Command 8 file=P1.dll", "P2 Command 8 file=P2.dll",
                             "P3 Command 8 file=Sub\\P3.dll", "Bar Command 3 data"};
    Suite.ClearCalls();
    Tessel.TrayNotify(WM_LBUTTONUP);
    ASSERT_TRUE(WaitForCall(Suite, "Bar Command 3 data"));
    EXPECT_EQ(Commands(), toQuickBar);

    // A second start ends at once with 0 and, loading nothing of its own,
    // has the running one bring its face up as that left click does.
    Suite.ClearCalls();
    TTesselProcess second(Suite);
    ASSERT_TRUE(second.Start());
    EXPECT_EQ(second.WaitExit(), 0);
    ASSERT_TRUE(WaitForCall(Suite, "Bar Command 3 data"));
    EXPECT_EQ(Commands(), toQuickBar);

    // A module brings the icon back; a right click opens the tray menu at the cursor.
    ASSERT_TRUE(Tessel.Request("Bar", 3, 105));
    ASSERT_TRUE(WaitForCall(Suite, "Bar request done 3,105"));
    Tessel.TrayNotify(WM_RBUTTONUP);
    HWND menu = nullptr;
    EXPECT_TRUE(WaitFor([&] { return (menu = Tessel.Window("#32768")) != nullptr && IsWindowVisible(menu); }, 5000));
    if (menu) {
        PostMessageA(menu, WM_KEYDOWN, VK_ESCAPE, 1);
        PostMessageA(menu, WM_KEYUP, VK_ESCAPE, 0xC0000001);
        EXPECT_TRUE(WaitFor([&] { return !IsWindowVisible(menu); }, 5000));
    }

    CloseByCommand(form);
    EXPECT_EQ(Tessel.WaitExit(), 0);
}

TEST_F(EndToEnd, AMutexItMayNotOpenMeansAnotherInstanceRuns)
{
    // As a copy running elevated or as another user holds it: this user may
    // not open it.
    SECURITY_DESCRIPTOR descriptor;
    ACL acl;
    ASSERT_TRUE(InitializeSecurityDescriptor(&descriptor, SECURITY_DESCRIPTOR_REVISION));
    ASSERT_TRUE(InitializeAcl(&acl, sizeof acl, ACL_REVISION));
    ASSERT_TRUE(SetSecurityDescriptorDacl(&descriptor, TRUE, &acl, FALSE));
    SECURITY_ATTRIBUTES attributes{sizeof attributes, &descriptor, FALSE};
    const char* const name = "Tessel_4C1A97E0-2B6D-4f83-A51C-7E09D2B48F16";
    HANDLE held = CreateMutexA(&attributes, TRUE, name);
    ASSERT_NE(held, nullptr);
    ASSERT_EQ(CreateMutexA(nullptr, TRUE, name), nullptr);
    ASSERT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ACCESS_DENIED));

    ASSERT_TRUE(Tessel.Start());
    EXPECT_EQ(Tessel.WaitExit(), 0);
    EXPECT_EQ(Suite.Calls(), Strings{}) << "the second copy ends before it loads anything";
    ReleaseMutex(held);
    CloseHandle(held);
}

TEST_F(EndToEnd, RebootQuestionDeclinedEndsWithOneBeforeAnyModule)
{
    Suite.Double("KsIO", "Reboot", "1");
    // "-tray" counts only as the whole argument string.
    for (const std::string& arguments : {std::string(" -tray"), std::string("-tray x")}) {
        Suite.ClearCalls();
        ASSERT_TRUE(Tessel.Start(arguments));
        HWND box = Tessel.WaitMessageBox();
        ASSERT_NE(box, nullptr) << arguments;
        EXPECT_EQ(TTesselProcess::BoxText(box), Question);
        // No is the default button.
        TTesselProcess::PressEnter(box);
        EXPECT_EQ(Tessel.WaitExit(), 1) << arguments;
        EXPECT_EQ(Commands(), (Strings{"KsMultiLang KsGetLangNameAndPath 0", "KsIO KSIO_CheckReboot"}));
    }

    // Without KsIO.dll the question comes up as well.
    DeleteFileA((Suite.Path() + "KsIO.dll").c_str());
    ASSERT_TRUE(Tessel.Start());
    HWND box = Tessel.WaitMessageBox();
    ASSERT_NE(box, nullptr);
    TTesselProcess::Press(box, IDNO);
    EXPECT_EQ(Tessel.WaitExit(), 1);
}

TEST_F(EndToEnd, ConflictsAreShownInOrderAndEndTheProcessAfterStartUp)
{
    Suite.Double("KsTuneProfile", "CheckSuite", "1");
    Suite.Double("KsTuneProfile", "CheckFathom", "1");
    CreateKey("SOFTWARE\\Korvane");
    CreateKey("SOFTWARE\\Korvane\\Corbel");
    CreateKey("SOFTWARE\\Korvane\\Dunmore");
    CreateKey("SOFTWARE\\Korvane\\Fathom");
    ASSERT_TRUE(Tessel.Start());

    Strings shown;
    for (int n = 0; n < 2; ++n) {
        HWND box = Tessel.WaitMessageBox();
        ASSERT_NE(box, nullptr) << "message " << n;
        shown.push_back(TTesselProcess::BoxText(box));
        TTesselProcess::Press(box, IDOK);
        ASSERT_TRUE(WaitFor([&] { return !IsWindow(box) || !IsWindowVisible(box); }, 5000));
    }
    EXPECT_EQ(shown, (Strings{"Please uninstall \"Fathom\" because it will conflict with Tessel.\nPress \"OK\" to "
                              "close this application.",
                              "Please uninstall \"Corbel\" because it will conflict with Tessel.\nPress \"OK\" to "
                              "close this application."}));
    EXPECT_EQ(Tessel.WaitExit(), 0);
    // Start-up ran to its end before the process ended.
    EXPECT_EQ(Matching(Suite.Calls(), "KsTuneProfile").back(),
              "KsTuneProfile MakeNewIni " + Suite.Ini() + " suite=1 fathom=1");
    EXPECT_EQ(Matching(Suite.Calls(), "Bar Command").back(), "Bar Command 3 data");
    EXPECT_EQ(Suite.Value("Tessel.ini", "MESSAGE", "count"), "4");
}

TEST_F(EndToEnd, ModuleRequestsIncludingNestedOnes)
{
    Suite.Write("Tessel.ini", Suite.Read("Tessel.ini") + "[Tessel]\r\nObjectStyle=1\r\n");
    // The quick bar, shown with the shell's block, asks for the main window with data of its own.
    Suite.Double("Bar", "On3", "3,103,pair");

    ASSERT_TRUE(Tessel.Start());
    HWND form = Tessel.WaitMainForm();
    ASSERT_NE(form, nullptr);
    EXPECT_TRUE(Matching(Suite.Calls(), "Bar Command 3").empty()) << "start view 1 shows nothing";

    Suite.ClearCalls();
    ASSERT_TRUE(Tessel.Request("PageContainer", 3, 101));
    ASSERT_TRUE(WaitForCall(Suite, "PageContainer request done 3,101"));
    const Strings calls = Commands();
    ASSERT_EQ(calls.size(), 9u) << ::testing::PrintToString(calls);
    const std::string pairAt = calls[5].substr(calls[5].find('@'));
    EXPECT_EQ(calls, (Strings{"PageContainer request 3,101", "P1 Command 8 file=P1.dll", "P2 Command 8 file=P2.dll",
                              "P3 Command 8 file=Sub\\P3.dll", "Bar Command 3 data", "Bar request 3,103 " + pairAt,
                              "PageContainer Command 3 pair=77,88 " + pairAt, "Bar request done 3,103",
                              "PageContainer request done 3,101"}))
        << "the same pointer reaches the main window, inside the quick bar's call";

    // Forwarding: a number the pages list twice under two texts is forwarded twice; power events never.
    Suite.ClearCalls();
    DWORD_PTR result = 0;
    SendMessageTimeoutA(form, 1200, 7, 9, SMTO_ABORTIFHUNG, 5000, &result);
    SendMessageTimeoutA(form, WM_POWERBROADCAST, 0, 0, SMTO_ABORTIFHUNG, 5000, &result);
    SendMessageTimeoutA(form, 1300, 1, 2, SMTO_ABORTIFHUNG, 5000, &result);
    EXPECT_EQ(Commands(), (Strings{"PageContainer Command 7 msg=1200 lparam=9 wparam=7",
                                   "PageContainer Command 7 msg=1200 lparam=9 wparam=7",
                                   "PageContainer Command 7 msg=1300 lparam=2 wparam=1"}));

    // Hiding, and an exit request of the quick bar, which does not tell the main window.
    Suite.ClearCalls();
    ASSERT_TRUE(Tessel.Request("PageContainer", 4, 103));
    ASSERT_TRUE(WaitForCall(Suite, "PageContainer Command 4 null"));
    ASSERT_TRUE(Tessel.Request("Bar", 6, 101));
    EXPECT_EQ(Tessel.WaitExit(), 0);
    EXPECT_TRUE(Matching(Suite.Calls(), "PageContainer Command 6").empty());
}

TEST_F(EndToEnd, EveryWayTheProcessEnds)
{
    Suite.Write("Tessel.ini", Suite.Read("Tessel.ini") + "[Tessel]\r\nObjectStyle=1\r\n");
    struct TEnding {
        std::string Name;
        std::function<void(HWND)> End;
        size_t MainWindowExits;
    };
    const std::vector<TEnding> endings = {
        {"shell exit request", [&](HWND) { Tessel.Request("Bar", 6, 104); }, 0},
        {"main window exit request", [&](HWND) { Tessel.Request("Bar", 6, 103); }, 1},
        {"close request", [&](HWND form) { PostMessageA(form, WM_CLOSE, 0, 0); }, 1},
        {"session end", [&](HWND form) { PostMessageA(form, WM_ENDSESSION, 1, 0); }, 1},
    };
    for (const TEnding& ending : endings) {
        Suite.ClearCalls();
        ASSERT_TRUE(Tessel.Start());
        HWND form = Tessel.WaitMainForm();
        ASSERT_NE(form, nullptr) << ending.Name;
        ending.End(form);
        EXPECT_EQ(Tessel.WaitExit(), 0) << ending.Name;
        EXPECT_EQ(Matching(Suite.Calls(), "PageContainer Command 6").size(), ending.MainWindowExits) << ending.Name;
    }
}

// Right-click on the tray icon, Exit (the last item of the menu), and the
// visible message dialog that asks; answered No, then Yes.
class ExitDialog : public EndToEnd {
protected:
    void SetUp() override
    {
        EndToEnd::SetUp();
        Suite.Write("Tessel.ini", Suite.Read("Tessel.ini") + "[Tessel]\r\nObjectStyle=3\r\n");
    }

    HWND ChooseExit()
    {
        Tessel.TrayNotify(WM_RBUTTONUP);
        HWND menu = nullptr;
        if (!WaitFor([&] { return (menu = Tessel.Window("#32768")) != nullptr && IsWindowVisible(menu); }, 5000))
            return nullptr;
        for (WPARAM key : {VK_UP, VK_RETURN}) {
            PostMessageA(menu, WM_KEYDOWN, key, 1);
            PostMessageA(menu, WM_KEYUP, key, 0xC0000001);
        }
        HWND dialog = nullptr;
        WaitFor([&] { return (dialog = VisibleDialog(Tessel.Id())) != nullptr; }, 5000);
        return dialog;
    }

    // Asks twice: No keeps Tessel running, Yes tells the main window and ends it.
    void NoThenYes(const std::string& Shape)
    {
        ASSERT_TRUE(Tessel.Start());
        ASSERT_NE(Tessel.WaitMainForm(), nullptr);
        ASSERT_TRUE(WaitFor([&] { return Tessel.Windows("TfrmMsg", "Tessel").size() == 1; }, 5000))
            << "the hidden dialog made at start-up";
        ASSERT_EQ(VisibleDialog(Tessel.Id()), nullptr);

        HWND dialog = ChooseExit();
        ASSERT_NE(dialog, nullptr);
        RECT r{};
        GetWindowRect(dialog, &r);
        EXPECT_EQ(r.left, GetSystemMetrics(SM_CXSCREEN) / 2 - 135);
        EXPECT_EQ(r.top, GetSystemMetrics(SM_CYSCREEN) / 2 - 80);
        EXPECT_EQ(r.right - r.left, 270);
        EXPECT_EQ(r.bottom - r.top, 160);
        const POINT probes[] = {{0, 0}, {269, 0}, {0, 159}, {269, 159}, {135, 80}};
        EXPECT_EQ(RegionShape(dialog, probes, 5), Shape);

        // The tray only brings the open dialog forward.
        Tessel.TrayNotify(WM_RBUTTONUP);
        Tessel.TrayNotify(WM_LBUTTONUP);
        Sleep(300);
        EXPECT_EQ(Tessel.Window("#32768") && IsWindowVisible(Tessel.Window("#32768")), false);
        EXPECT_TRUE(Matching(Suite.Calls(), "Bar Command 3").empty());

        ClickAt(dialog, NoButton);
        EXPECT_TRUE(WaitFor([&] { return !IsWindow(dialog); }, 5000)) << "the dialog is destroyed";
        Sleep(300);
        EXPECT_TRUE(Tessel.Running());
        EXPECT_TRUE(Matching(Suite.Calls(), "PageContainer Command 6").empty());

        dialog = ChooseExit();
        ASSERT_NE(dialog, nullptr);
        ClickAt(dialog, YesButton);
        EXPECT_EQ(Tessel.WaitExit(), 0);
        EXPECT_EQ(Matching(Suite.Calls(), "PageContainer"),
                  (Strings{"PageContainer Command 1 callback groups=2 [Tools|4|2|1|P1.dll,P2.dll] "
                           "[Extras|9|1|2|Sub\\P3.dll]",
                           "PageContainer Command 4 null", "PageContainer Command 6 null", "PageContainer unloaded"}));
    }
};

TEST_F(ExitDialog, SkinnedNoThenYes)
{
    Suite.AddSkin();
    NoThenYes("....#");
}

TEST_F(ExitDialog, WithoutSkinFilesNoThenYes)
{
    NoThenYes("none");
}

} // namespace
