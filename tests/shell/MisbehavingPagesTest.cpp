// Page modules that misbehave in every call the suite makes into them (a
// real write to address 0, a call that never returns) and page paths that
// lead out of Page\: the suite comes up and stays up, leaves that page alone
// for the rest of the process, shows it unavailable and writes nothing that
// would lose it.
#include "DialogDriver.h"
#include "TesselProcess.h"

#include <gtest/gtest.h>

using namespace shelltest;
using Strings = std::vector<std::string>;

namespace {

struct TDescendant {
    std::string Class;
    std::string Text;
    HWND Found;
};

BOOL CALLBACK MatchDescendant(HWND Wnd, LPARAM Data)
{
    auto* wanted = reinterpret_cast<TDescendant*>(Data);
    char name[64] = {}, text[256] = {};
    GetClassNameA(Wnd, name, sizeof name);
    GetWindowTextA(Wnd, text, sizeof text);
    if (lstrcmpiA(wanted->Class.c_str(), name) == 0 && wanted->Text == text)
        wanted->Found = Wnd;
    return TRUE;
}

// The window below Top of this class and text.
HWND Descendant(HWND Top, const std::string& Class, const std::string& Text)
{
    TDescendant wanted{Class, Text, nullptr};
    if (Top)
        EnumChildWindows(Top, MatchDescendant, reinterpret_cast<LPARAM>(&wanted));
    return wanted.Found;
}

// The registration a view module logs, P2 marked unavailable or not.
std::string Registration(const std::string& Module, bool P2Unavailable)
{
    return Module + (P2Unavailable ? " Command 1 callback groups=2 [Tools|4|2|1|P1.dll,P2.dll!] [Extras|9|1|2|Sub\\P3.dll]"
                                   : " Command 1 callback groups=2 [Tools|4|2|1|P1.dll,P2.dll] [Extras|9|1|2|Sub\\P3.dll]");
}

// The suite of the end-to-end tests: module doubles everywhere.
class MisbehavingPages : public ::testing::Test {
protected:
    void SetUp() override
    {
        Suite.AddSiblings();
        for (const char* page : {"Page\\P1.dll", "Page\\P2.dll", "Page\\Sub\\P3.dll"})
            Suite.AddModule(page);
        Suite.Write("Tessel.ini", "[Group]\r\ngroupcount=2\r\n1=Tools\r\n2=Extras\r\n"
                                  "[Tools]\r\ngroupid=4\r\npagecount=2\r\nstyle=1\r\n1=P1.dll\r\n2=P2.dll\r\n"
                                  "[Extras]\r\ngroupid=9\r\npagecount=1\r\nstyle=2\r\n1=Sub\\P3.dll\r\n");
    }
    Strings Calls(const std::string& Prefix) const { return Matching(Suite.Calls(), Prefix); }
    // Closes Tessel by the system command and expects it to end with 0.
    void Close()
    {
        HWND form = Tessel.WaitMainForm();
        ASSERT_NE(form, nullptr);
        PostMessageA(form, WM_SYSCOMMAND, SC_CLOSE, 0);
        EXPECT_EQ(Tessel.WaitExit(), 0);
    }

    TSuiteFolder Suite;
    TTesselProcess Tessel{Suite};
};

TEST_F(MisbehavingPages, APageThatFaultsIsLeftAloneAndTheSuiteStaysUp)
{
    // At start: the page is marked for the main window and the quick bar,
    // and never polled.
    Suite.Double("P2", "Fault", "2");
    ASSERT_TRUE(Tessel.Start());
    ASSERT_NE(Tessel.WaitMainForm(), nullptr);
    ASSERT_TRUE(WaitForCall(Suite, "Bar Command 3 data"));
    EXPECT_EQ(Calls("P2"), Strings{"P2 Command 2 file=P2.dll"});
    EXPECT_EQ(Calls("PageContainer Command 1"), Strings{Registration("PageContainer", true)});
    EXPECT_EQ(Calls("Bar Command 1"), Strings{Registration("Bar", true)});
    EXPECT_EQ(Calls("P3 Command 8").size(), 1u) << "the others are polled";
    Close();
    EXPECT_EQ(Suite.Value("Tessel.ini", "Tools", "2"), "P2.dll") << "the layout keeps the page for the next start";

    // In a tips poll: the first poll meets the fault, the next leaves it out.
    Suite.ClearCalls();
    Suite.Double("P2", "Fault", "8");
    ASSERT_TRUE(Tessel.Start());
    ASSERT_TRUE(WaitForCall(Suite, "Bar Command 3 data"));
    EXPECT_EQ(Calls("PageContainer Command 1"), Strings{Registration("PageContainer", false)});
    ASSERT_TRUE(WaitForCall(Suite, "Bar Command 3 null", 8000, 2)) << "the next poll comes";
    EXPECT_EQ(Calls("P2 Command 8").size(), 1u);
    EXPECT_EQ(Calls("P1 Command 8").size(), 2u);
    EXPECT_EQ(Calls("P3 Command 8").size(), 2u);
    Close();
    EXPECT_EQ(Suite.Value("Tessel.ini", "Tools", "2"), "P2.dll");
}

TEST_F(MisbehavingPages, APageThatNeverReturnsIsGivenUpOn)
{
    // At start: the suite comes up after the page's time, and ends.
    Suite.Double("P2", "Hang", "2");
    ASSERT_TRUE(Tessel.Start());
    ASSERT_NE(Tessel.WaitMainForm(30000), nullptr);
    ASSERT_TRUE(WaitForCall(Suite, "Bar Command 3 data"));
    EXPECT_EQ(Calls("PageContainer Command 1"), Strings{Registration("PageContainer", true)});
    EXPECT_TRUE(Calls("P2 Command 8").empty());
    Close();

    // A second start after it works as the first.
    Suite.ClearCalls();
    Suite.Double("P2", "Hang", "8");
    ASSERT_TRUE(Tessel.Start());
    ASSERT_TRUE(WaitForCall(Suite, "Bar Command 3 data", 30000));
    EXPECT_EQ(Calls("P3 Command 8").size(), 1u) << "the poll goes on past it";
    ASSERT_TRUE(WaitForCall(Suite, "Bar Command 3 null", 10000, 2));
    EXPECT_EQ(Calls("P2 Command 8").size(), 1u);
    EXPECT_EQ(Calls("P3 Command 8").size(), 2u);
    Close();
}

// The real main window and quick bar, with page doubles that fault in the
// view entries.
class MisbehavingViews : public MisbehavingPages {
protected:
    void SetUp() override
    {
        Suite.AddSiblings();
        Suite.AddSkin();
        for (const char* module : {"PageContainer.dll", "Bar.dll"})
            CopyFileA((SuiteBin() + module).c_str(), (Suite.Path() + module).c_str(), FALSE);
    }
    HWND Bar() const { return Tessel.Window("TFormBar", "Tessel"); }
    HWND Container() const { return Tessel.Window("TFormContainer", "Tessel"); }
    // The skinned button below Top with this caption.
    static HWND Button(HWND Top, const std::string& Text) { return Descendant(Top, "KsButtonTx", Text); }
    // The view a page double shows: a static window titled with its name.
    HWND View(const std::string& Page) const { return Descendant(Container(), "STATIC", Page); }
    static bool Click(HWND Wnd)
    {
        if (!Wnd)
            return false;
        PostMessageA(Wnd, WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
        PostMessageA(Wnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
        PostMessageA(Wnd, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
        return true;
    }
};

TEST_F(MisbehavingViews, AViewThatFaultsIsLeftAloneAndShownUnavailable)
{
    for (const char* page : {"A", "B", "C", "D", "E"}) {
        Suite.AddModule(std::string("Page\\") + page + ".dll");
        Suite.Double(page, "Caption", page);
    }
    Suite.Double("A", "Fault", "PageCreate");
    Suite.Double("B", "Fault", "PageMessage");
    Suite.Double("C", "Fault", "PageDestroy");
    // D faults as the shell introduces it: the main window never takes it up.
    Suite.Double("D", "Fault", "2");
    // E hears the message too, but its view is never made.
    for (const char* page : {"B", "D", "E"})
        Suite.Write(std::string("Page\\") + page + ".ini", "[MESSAGE]\r\nmessagecount=1\r\n1=126\r\n");
    Suite.Write("Tessel.ini", "[Tessel]\r\nObjectStyle=0\r\n[Group]\r\ngroupcount=1\r\n1=Monitor\r\n"
                              "[Monitor]\r\ngroupid=1\r\nstyle=0\r\npagecount=5\r\n1=A.dll\r\n2=B.dll\r\n3=C.dll\r\n"
                              "4=D.dll\r\n5=E.dll\r\n");
    ASSERT_TRUE(Tessel.Start());
    HWND form = Tessel.WaitMainForm();
    ASSERT_NE(form, nullptr);
    ASSERT_TRUE(WaitFor([&] { return Bar() && IsWindowVisible(Bar()); }, 8000));

    // Opening A: its view faults as it is made; the window stays, A's button greys.
    ASSERT_TRUE(Click(Button(Bar(), "A")));
    ASSERT_TRUE(WaitFor([&] { return Container() && IsWindowVisible(Container()); }, 8000));
    ASSERT_TRUE(WaitForCall(Suite, "A PageCreate"));
    EXPECT_TRUE(WaitFor([&] { return Button(Container(), "A") && !IsWindowEnabled(Button(Container(), "A")); }, 5000));
    EXPECT_TRUE(IsWindowEnabled(Button(Container(), "B")));
    EXPECT_FALSE(IsWindowEnabled(Button(Container(), "D")));

    // B's view shows, then faults on a message it asked for: it goes, and
    // hears no more.
    ASSERT_TRUE(Click(Button(Container(), "B")));
    ASSERT_TRUE(WaitFor([&] { return View("B") && IsWindowVisible(View("B")); }, 5000));
    DWORD_PTR result = 0;
    SendMessageTimeoutA(form, WM_DISPLAYCHANGE, 32, 0, SMTO_ABORTIFHUNG, 5000, &result);
    ASSERT_TRUE(WaitForCall(Suite, "B PageMessage"));
    EXPECT_TRUE(WaitFor([&] { return !IsWindowEnabled(Button(Container(), "B")); }, 5000));
    EXPECT_FALSE(View("B") && IsWindowVisible(View("B")));
    SendMessageTimeoutA(form, WM_DISPLAYCHANGE, 32, 0, SMTO_ABORTIFHUNG, 5000, &result);
    Sleep(300);
    EXPECT_EQ(Calls("B PageMessage").size(), 1u);

    // C works until it is freed; the quick bar shows A and B unavailable.
    ASSERT_TRUE(Click(Button(Container(), "C")));
    ASSERT_TRUE(WaitFor([&] { return View("C") && IsWindowVisible(View("C")); }, 5000));
    ASSERT_TRUE(Click(Button(Container(), "Quick Bar")));
    ASSERT_TRUE(WaitFor([&] { return Bar() && IsWindowVisible(Bar()); }, 8000));
    EXPECT_FALSE(IsWindowEnabled(Button(Bar(), "A")));
    EXPECT_FALSE(IsWindowEnabled(Button(Bar(), "B")));
    EXPECT_TRUE(IsWindowEnabled(Button(Bar(), "C")));
    EXPECT_FALSE(IsWindowEnabled(Button(Bar(), "D")));

    // C's fault on the way out does not stop the suite's own end.
    PostMessageA(form, WM_SYSCOMMAND, SC_CLOSE, 0);
    EXPECT_EQ(Tessel.WaitExit(), 0);
    EXPECT_EQ(Calls("C PageDestroy").size(), 1u);
    EXPECT_EQ(Calls("E PageMessage").size(), 2u);
    EXPECT_TRUE(Calls("E PageDestroy").empty()) << "a page without a view has none to free";
    EXPECT_EQ(Calls("D"), Strings{"D Command 2 file=D.dll"}) << "D's view is never made nor handed a message";
    EXPECT_EQ(Suite.Value("Tessel.ini", "Monitor", "1"), "A.dll");
}

// Pages that end or hold the whole process. A start after such a page took
// the suite down comes up without it, says why, and lists it on the
// Settings page until the user turns it on again there.
class PagesThatTakeTheSuiteDown : public MisbehavingViews {
protected:
    void SetUp() override
    {
        MisbehavingViews::SetUp();
        CopyFileA((SuiteBin() + "Page\\Settings.dll").c_str(), (Suite.Path() + "Page\\Settings.dll").c_str(), FALSE);
        for (const char* page : {"A", "B"}) {
            Suite.AddModule(std::string("Page\\") + page + ".dll");
            Suite.Double(page, "Caption", page);
        }
        Suite.Write("Tessel.ini", "[Tessel]\r\nObjectStyle=0\r\n[Group]\r\ngroupcount=1\r\n1=Tools\r\n"
                                  "[Tools]\r\ngroupid=1\r\nstyle=0\r\npagecount=3\r\n1=A.dll\r\n2=B.dll\r\n"
                                  "3=Settings.dll\r\n");
    }
    void TearDown() override
    {
        // A copy started in place of the one the test started goes too.
        if (Tessel.FollowNewStart(0))
            Tessel.Kill();
    }
    // The suite is up at its quick bar.
    bool Up() const
    {
        return Tessel.WaitMainForm(30000) && WaitFor([&] { return Bar() && IsWindowVisible(Bar()); }, 10000);
    }
    bool Enabled(const std::string& Page) const
    {
        HWND button = Button(Bar(), Page);
        return button && IsWindowEnabled(button);
    }
    std::string LeftOut(const std::string& File) const { return Suite.Value("Tessel.ini", "LeftOut", File); }
    // Opens the page from the quick bar.
    bool Open(const std::string& Page) const
    {
        return Click(Button(Bar(), Page)) && WaitFor([&] { return Container() && IsWindowVisible(Container()); }, 8000);
    }
};

TEST_F(PagesThatTakeTheSuiteDown, APageThatEndsTheSuiteIsLeftOutUntilTurnedOnAgain)
{
    for (const char* how : {"Exit", "Throw"}) {
        SCOPED_TRACE(how);
        // A's introduction ends the process: ExitProcess, or its runtime's
        // end for an exception that left the module.
        Suite.Double("A", how, "2");
        Suite.ClearCalls();
        ASSERT_TRUE(Tessel.Start());
        const long code = Tessel.WaitExit(20000);
        EXPECT_NE(code, 0);
        EXPECT_NE(code, -1) << "the page ends the process by itself";
        EXPECT_EQ(Calls("A Command"), Strings{"A Command 2 file=A.dll"});

        // The next start comes up without it, and again after that.
        for (int start = 0; start < 2; ++start) {
            Suite.ClearCalls();
            ASSERT_TRUE(Tessel.Start());
            ASSERT_TRUE(Up());
            EXPECT_TRUE(Calls("A").empty()) << "a page left out is not called";
            EXPECT_FALSE(Enabled("A"));
            EXPECT_TRUE(Enabled("B"));
            EXPECT_EQ(LeftOut("A.dll"), "ended");
            if (start == 0)
                Close();
        }

        // The Settings page lists it; turning it on brings it back at the next start.
        ASSERT_TRUE(Open("Settings"));
        HWND turnOn = nullptr;
        ASSERT_TRUE(WaitFor([&] { return (turnOn = Button(Container(), "Turn on A")) != nullptr; }, 8000));
        EXPECT_FALSE(Button(Container(), "Turn on B")) << "only the pages left out";
        ASSERT_TRUE(Click(turnOn));
        EXPECT_TRUE(WaitFor([&] { return !IsWindowEnabled(turnOn); }, 5000));
        EXPECT_EQ(LeftOut("A.dll"), "");
        Close();

        Suite.Double("A", how, "");
        Suite.ClearCalls();
        ASSERT_TRUE(Tessel.Start());
        ASSERT_TRUE(Up());
        EXPECT_TRUE(Enabled("A"));
        EXPECT_EQ(Calls("A Command 2"), Strings{"A Command 2 file=A.dll"});
        Close();
    }
}

TEST_F(PagesThatTakeTheSuiteDown, AViewThatEndsTheWindowThreadEndsTheSuite)
{
    // No process is left without its windows: it ends, and the next start
    // comes up without the page.
    Suite.Double("A", "EndThread", "PageCreate");
    ASSERT_TRUE(Tessel.Start());
    ASSERT_TRUE(Up());
    ASSERT_TRUE(Click(Button(Bar(), "A")));
    EXPECT_EQ(Tessel.WaitExit(20000), 0x5B);
    EXPECT_EQ(Calls("A PageCreate").size(), 1u);

    Suite.ClearCalls();
    ASSERT_TRUE(Tessel.Start());
    ASSERT_TRUE(Up());
    EXPECT_FALSE(Enabled("A"));
    EXPECT_EQ(LeftOut("A.dll"), "ended");
    Close();
}

TEST_F(PagesThatTakeTheSuiteDown, APageThatHoldsTheSuiteIsLeftOutOfANewStart)
{
    // A's start-up code never returns while the suite introduces it on a
    // thread of its own: it holds the system's loader, so the suite starts
    // again, ending the held process.
    Suite.Double("A", "Hang", "Load");
    ASSERT_TRUE(Tessel.Start());
    EXPECT_EQ(Tessel.WaitExit(40000), 0x5A);
    ASSERT_TRUE(Tessel.FollowNewStart());
    ASSERT_TRUE(Up());
    EXPECT_FALSE(Enabled("A"));
    EXPECT_TRUE(Enabled("B"));
    EXPECT_EQ(LeftOut("A.dll"), "hung");

    // B's view never returns: it holds the window, so the suite starts again.
    Suite.Double("B", "Hang", "PageCreate");
    ASSERT_TRUE(Click(Button(Bar(), "B")));
    ASSERT_TRUE(WaitForCall(Suite, "B PageCreate"));
    EXPECT_EQ(Tessel.WaitExit(40000), 0x5A);
    ASSERT_TRUE(Tessel.FollowNewStart());
    ASSERT_TRUE(Up());
    EXPECT_FALSE(Enabled("B"));
    EXPECT_EQ(LeftOut("B.dll"), "hung");
    EXPECT_EQ(LeftOut("A.dll"), "hung");
    Close();
}

TEST_F(PagesThatTakeTheSuiteDown, ViewsThatFailUnseenAreCaughtAndTheirWindowsDestroyed)
{
    // Both views overflow the stack of the window thread, one after the
    // other: each is caught as the first was.
    for (const char* page : {"A", "B"})
        Suite.Double(page, "Overflow", "PageCreate");
    ASSERT_TRUE(Tessel.Start());
    ASSERT_TRUE(Up());
    ASSERT_TRUE(Open("A"));
    ASSERT_TRUE(WaitForCall(Suite, "A PageCreate"));
    EXPECT_TRUE(WaitFor([&] { return !IsWindowEnabled(Button(Container(), "A")); }, 5000));
    ASSERT_TRUE(Click(Button(Container(), "B")));
    ASSERT_TRUE(WaitForCall(Suite, "B PageCreate"));
    EXPECT_TRUE(WaitFor([&] { return !IsWindowEnabled(Button(Container(), "B")); }, 5000));
    ASSERT_TRUE(Click(Button(Container(), "Settings")));
    EXPECT_TRUE(WaitFor([&] { return Button(Container(), "Start at Quick Bar") != nullptr; }, 5000));
    EXPECT_TRUE(Tessel.Running());
    Close();

    // A faults in its window's WM_CREATE (which the system passes over, so
    // that the window comes back made); B's view comes back as a window of
    // another kind. Neither counts as a view, and what they made is gone.
    for (const char* page : {"A", "B"})
        Suite.Double(page, "Overflow", "");
    Suite.Double("A", "Fault", "WM_CREATE");
    Suite.Double("B", "View", "Popup");
    Suite.ClearCalls();
    ASSERT_TRUE(Tessel.Start());
    ASSERT_TRUE(Up());
    ASSERT_TRUE(Open("A"));
    ASSERT_TRUE(WaitForCall(Suite, "A PageCreate"));
    EXPECT_TRUE(WaitFor([&] { return !IsWindowEnabled(Button(Container(), "A")); }, 5000));
    EXPECT_TRUE(WaitFor([&] { return !Descendant(Container(), "TesselDoubleFaulty", "A"); }, 5000))
        << "the half-made view is destroyed";
    ASSERT_TRUE(Click(Button(Container(), "B")));
    ASSERT_TRUE(WaitForCall(Suite, "B PageCreate"));
    EXPECT_TRUE(WaitFor([&] { return !IsWindowEnabled(Button(Container(), "B")); }, 5000));
    EXPECT_TRUE(WaitFor([&] { return Tessel.Window("Static", "B") == nullptr; }, 5000))
        << "the window it returned is destroyed";
    EXPECT_TRUE(Tessel.Running());
    Close();
}

TEST_F(MisbehavingViews, PagePathsStayInsideThePageFolder)
{
    Suite.AddModule("Outside.dll");
    Suite.AddModule("Page\\Inside.dll");
    Suite.Double("Inside", "Caption", "Inside");
    Suite.Double("Outside", "Caption", "Outside");
    Suite.Write("Tessel.ini", "[Tessel]\r\nObjectStyle=0\r\n[Group]\r\ngroupcount=1\r\n1=Monitor\r\n"
                              "[Monitor]\r\ngroupid=1\r\nstyle=0\r\npagecount=3\r\n1=..\\Outside.dll\r\n"
                              "2=Sub\\..\\..\\Outside.dll\r\n3=Sub\\..\\Inside.dll\r\n");
    ASSERT_TRUE(Tessel.Start());
    HWND form = Tessel.WaitMainForm();
    ASSERT_NE(form, nullptr);
    ASSERT_TRUE(WaitFor([&] { return Bar() && IsWindowVisible(Bar()); }, 8000));
    ASSERT_TRUE(Click(Button(Bar(), "Outside")) || Click(Button(Bar(), "Inside")));
    ASSERT_TRUE(WaitFor([&] { return Container() && IsWindowVisible(Container()); }, 8000));
    ASSERT_TRUE(Click(Button(Container(), "Inside")));
    EXPECT_TRUE(WaitForCall(Suite, "Inside PageCreate"));
    EXPECT_TRUE(Calls("Outside").empty()) << "nothing outside Page\\ is loaded";
    EXPECT_EQ(Calls("Inside Command 2"), Strings{"Inside Command 2 file=Sub\\..\\Inside.dll"});
    PostMessageA(form, WM_SYSCOMMAND, SC_CLOSE, 0);
    EXPECT_EQ(Tessel.WaitExit(), 0);
}

} // namespace
