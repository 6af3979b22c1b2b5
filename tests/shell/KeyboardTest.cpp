// The suite worked from the keyboard alone: real key presses (SendInput),
// which reach whatever window has the focus in the foreground window, as a
// person without a mouse works it.
#include "SuiteDriver.h"

using namespace shelltest;

namespace {

class SuiteKeyboard : public SuiteFaces {
protected:
    void SetUp() override
    {
        SuiteFaces::SetUp();
        for (const char* page : {"Clock", "Display", "Colours"})
            AddRealPage(page);
    }

    // What has the focus in Face's process: a skinned button by its caption,
    // any other window by its class.
    static std::string Focus(HWND Face)
    {
        const HWND focus = FocusOf(Face);
        if (!focus)
            return "nothing";
        return ClassOf(focus) == "KsButtonTx" ? TextOf(focus) : ClassOf(focus);
    }
    static bool WaitFocus(HWND Face, const std::string& Expected)
    {
        return WaitFor([&] { return Focus(Face) == Expected; }, 3000);
    }
    // The focus after each key of Keys, pressed one after the other.
    static std::vector<std::string> Walk(HWND Face, std::initializer_list<std::initializer_list<WORD>> Keys)
    {
        std::vector<std::string> seen;
        for (auto chord : Keys) {
            const std::string before = Focus(Face);
            Press(chord);
            WaitFor([&] { return Focus(Face) != before; }, 1000);
            seen.push_back(Focus(Face));
        }
        return seen;
    }
    HWND Question() const { return VisibleDialog(Tessel.Id()); }
    // The page whose view the main window shows.
    std::string ShownPage() const
    {
        for (const char* view : {"TClockView", "TDisplayView", "TColoursView"})
            if (Shown(ViewOf(Container(), view)))
                return view;
        return "none";
    }
    bool WaitPage(const std::string& View) const
    {
        return WaitFor([&] { return ShownPage() == View; }, 3000);
    }
    // From a suite started at the tray: a click on the icon brings up the
    // quick bar, and Enter on its first button, Clock, the main window.
    void OpenClockFromTheTray()
    {
    ASSERT_TRUE(Tessel.Start());
    ASSERT_NE(Tessel.WaitMainForm(), nullptr);
    Tessel.TrayNotify(WM_LBUTTONUP);
    ASSERT_TRUE(WaitShown([&] { return Bar(); }));
    ASSERT_TRUE(WaitFocus(Bar(), "Clock"));
    Press({VK_RETURN});
    ASSERT_TRUE(WaitShown([&] { return Container(); }));
    ASSERT_TRUE(WaitPage("TClockView"));
    }
};


TEST_F(SuiteKeyboard, TabEnterSpaceAndTheArrowsWorkTheQuickBar)
{
    LayoutGroups({{"Monitor", {"Clock", "Display"}}, {"Tools", {"Colours"}}}, 0);
    ASSERT_TRUE(Tessel.Start());
    ASSERT_TRUE(WaitShown([&] { return Bar(); }));

    // The bar comes up with the focus on its first button, in the focused look.
    ASSERT_TRUE(WaitFocus(Bar(), "Clock"));
    const auto look = [&](const char* Caption) {
        return TScreenShot(Button(Bar(), Caption)).Pixel(SkinProbe.x, SkinProbe.y);
    };
    // Once the bar is drawn (not black), two buttons without the focus look alike.
    COLORREF focused = 0, raised = 0;
    EXPECT_TRUE(WaitFor(
                    [&] {
                        raised = look("Display");
                        focused = look("Clock");
                        return raised != 0 && raised == look("Colours") && focused != raised;
                    },
                    3000))
        << "the focus shows";

    EXPECT_EQ(Walk(Bar(), {{VK_TAB}, {VK_TAB}, {VK_TAB}, {VK_TAB}, {VK_TAB}, {VK_TAB}, {VK_SHIFT, VK_TAB}}),
              (std::vector<std::string>{"Display", "Colours", "Main Window", "Tray", "Exit", "Clock", "Exit"}));
    EXPECT_EQ(Walk(Bar(), {{VK_DOWN}, {VK_UP}, {VK_LEFT}, {VK_RIGHT}}),
              (std::vector<std::string>{"Clock", "Exit", "Tray", "Exit"}));
    EXPECT_TRUE(WaitFor([&] { return look("Exit") == focused; }, 3000));
    EXPECT_TRUE(WaitFor([&] { return look("Clock") == raised; }, 3000)) << "the focus left it";

    // Enter presses the focused page button: its page opens in the main window.
    Walk(Bar(), {{VK_SHIFT, VK_TAB}, {VK_SHIFT, VK_TAB}, {VK_SHIFT, VK_TAB}});
    ASSERT_EQ(Focus(Bar()), "Colours");
    Press({VK_RETURN});
    ASSERT_TRUE(WaitShown([&] { return Container(); }));
    EXPECT_TRUE(WaitShown([&] { return Bar(); }, false));
    EXPECT_TRUE(WaitPage("TColoursView"));

    // Back to the bar by the main window's own button, with Space.
    ASSERT_TRUE(WaitFocus(Container(), "Monitor")) << "the first tab has the focus";
    EXPECT_EQ(Walk(Container(), {{VK_TAB}, {VK_TAB}}), (std::vector<std::string>{"Tools", "Quick Bar"}));
    Press({VK_SPACE});
    ASSERT_TRUE(WaitShown([&] { return Bar(); }));
    EXPECT_TRUE(WaitShown([&] { return Container(); }, false));
    EXPECT_TRUE(WaitFocus(Bar(), "Colours")) << "the focus is where the bar was left";

    PostMessageA(Tessel.WaitMainForm(), WM_SYSCOMMAND, SC_CLOSE, 0);
    EXPECT_EQ(Tessel.WaitExit(), 0);
}

TEST_F(SuiteKeyboard, TheMainWindowTabsIntoThePageAndSwitchesPagesWithCtrl)
{
    LayoutGroups({{"Monitor", {"Clock", "Display"}}, {"Tools", {"Colours"}}}, 3);
    ASSERT_NO_FATAL_FAILURE(OpenClockFromTheTray());
    ASSERT_TRUE(WaitFocus(Container(), "Monitor"));

    // Tab in the order the eye reads: the tabs, the buttons to their right,
    // the page buttons, then into the page; Shift+Tab leads back out.
    EXPECT_EQ(Walk(Container(), {{VK_TAB}, {VK_TAB}, {VK_TAB}, {VK_TAB}, {VK_TAB}, {VK_TAB}}),
              (std::vector<std::string>{"Tools", "Quick Bar", "Tray", "Exit", "Clock", "Display"}));
    Walk(Container(), {{VK_TAB}});
    EXPECT_TRUE(IsChild(ViewOf(Container(), "TClockView"), FocusOf(Container()))) << "inside the page";
    EXPECT_EQ(Walk(Container(), {{VK_SHIFT, VK_TAB}}), (std::vector<std::string>{"Display"}));

    // Ctrl+Tab: the next page, on into the next group and round the end;
    // the focus follows to the button of the page shown.
    Press({VK_CONTROL, VK_TAB});
    EXPECT_TRUE(WaitPage("TDisplayView"));
    Press({VK_CONTROL, VK_TAB});
    EXPECT_TRUE(WaitPage("TColoursView"));
    EXPECT_TRUE(WaitFocus(Container(), "Colours"));
    Press({VK_CONTROL, VK_TAB});
    EXPECT_TRUE(WaitPage("TClockView"));
    Press({VK_CONTROL, VK_SHIFT, VK_TAB});
    EXPECT_TRUE(WaitPage("TColoursView"));
    Press({VK_CONTROL, VK_SHIFT, VK_TAB});
    EXPECT_TRUE(WaitPage("TDisplayView"));
    // Ctrl+PgDn and Ctrl+PgUp: the groups, each at its first page.
    Press({VK_CONTROL, VK_NEXT});
    EXPECT_TRUE(WaitPage("TColoursView"));
    Press({VK_CONTROL, VK_NEXT});
    EXPECT_TRUE(WaitPage("TClockView"));
    Press({VK_CONTROL, VK_PRIOR});
    EXPECT_TRUE(WaitPage("TColoursView"));
    EXPECT_TRUE(WaitFocus(Container(), "Colours"));

    // The Colours page's own controls take their turn after its button.
    Walk(Container(), {{VK_TAB}});
    EXPECT_TRUE(IsChild(ViewOf(Container(), "TColoursView"), FocusOf(Container()))) << "inside the page";
    EXPECT_EQ(Walk(Container(), {{VK_SHIFT, VK_TAB}, {VK_SHIFT, VK_TAB}, {VK_SHIFT, VK_TAB}}),
              (std::vector<std::string>{"Colours", "Exit", "Tray"}));

    // Space on Tray sends the window to the tray.
    Press({VK_SPACE});
    EXPECT_TRUE(WaitShown([&] { return Container(); }, false));

    PostMessageA(Tessel.WaitMainForm(), WM_SYSCOMMAND, SC_CLOSE, 0);
    EXPECT_EQ(Tessel.WaitExit(), 0);
}

// A page whose module faulted has nothing to show: Ctrl+Tab and
// Ctrl+Shift+Tab pass it by.
TEST_F(SuiteKeyboard, CtrlTabPassesByAPageWhoseModuleFailed)
{
    Suite.AddModule("Page\\Broken.dll");
    Suite.Double("Broken", "Caption", "Broken");
    Suite.Double("Broken", "Fault", "2");
    Layout({"Clock", "Broken", "Display"}, 3);
    ASSERT_NO_FATAL_FAILURE(OpenClockFromTheTray());

    Press({VK_CONTROL, VK_TAB});
    EXPECT_TRUE(WaitPage("TDisplayView"));
    Press({VK_CONTROL, VK_SHIFT, VK_TAB});
    EXPECT_TRUE(WaitPage("TClockView"));
    EXPECT_TRUE(Matching(Suite.Calls(), "Broken PageCreate").empty());
}

// Both exit questions, the suite's own from its windows and the shell's from
// the tray menu, work as a system Yes/No box: the focus starts on Yes, Esc
// answers No, Tab moves between the two and Enter presses the focused one.
TEST_F(SuiteKeyboard, BothExitQuestionsAnswerFromTheKeyboard)
{
    Layout({"Clock"}, 0);
    ASSERT_TRUE(Tessel.Start());
    ASSERT_TRUE(WaitShown([&] { return Bar(); }));
    ASSERT_TRUE(WaitFocus(Bar(), "Clock"));
    Walk(Bar(), {{VK_SHIFT, VK_TAB}});
    ASSERT_EQ(Focus(Bar()), "Exit");

    // The suite's own question: Esc is No, and the bar goes on.
    Press({VK_RETURN});
    ASSERT_TRUE(WaitFor([&] { return Question() != nullptr; }, 5000));
    EXPECT_TRUE(WaitFocus(Question(), "Yes"));
    Press({VK_ESCAPE});
    EXPECT_TRUE(WaitFor([&] { return Question() == nullptr; }, 5000));
    EXPECT_TRUE(Tessel.Running());
    EXPECT_TRUE(WaitFocus(Bar(), "Exit")) << "the focus is back where it was";

    // Enter held down on Exit: the question that opens under it takes none
    // of the repeats as its answer.
    SendKey(VK_RETURN, true);
    ASSERT_TRUE(WaitFor([&] { return Question() != nullptr; }, 5000));
    for (int i = 0; i < 5; ++i) {
        Sleep(60);
        SendKey(VK_RETURN, true);
    }
    SendKey(VK_RETURN, false);
    Sleep(500);
    EXPECT_TRUE(Tessel.Running());
    ASSERT_NE(Question(), nullptr);
    EXPECT_EQ(Walk(Question(), {{VK_TAB}, {VK_TAB}, {VK_SHIFT, VK_TAB}}),
              (std::vector<std::string>{"No", "Yes", "No"}));
    Press({VK_SPACE});
    EXPECT_TRUE(WaitFor([&] { return Question() == nullptr; }, 5000)) << "Space on No";
    EXPECT_TRUE(Tessel.Running());

    // To the tray, and the tray menu's Exit: the shell's own question.
    Walk(Bar(), {{VK_SHIFT, VK_TAB}});
    ASSERT_EQ(Focus(Bar()), "Tray");
    Press({VK_RETURN});
    ASSERT_TRUE(WaitShown([&] { return Bar(); }, false));
    const auto askFromTray = [&] {
        Tessel.TrayNotify(WM_RBUTTONUP);
        HWND menu = nullptr;
        if (!WaitFor([&] { return Shown(menu = Tessel.Window("#32768")); }, 5000))
            return false;
        Press({VK_UP});
        Press({VK_RETURN});
        return WaitFor([&] { return Question() != nullptr; }, 5000);
    };
    ASSERT_TRUE(askFromTray());
    EXPECT_TRUE(WaitFocus(Question(), "Yes"));
    Press({VK_ESCAPE});
    EXPECT_TRUE(WaitFor([&] { return Question() == nullptr; }, 5000));
    EXPECT_TRUE(Tessel.Running());

    ASSERT_TRUE(askFromTray());
    EXPECT_TRUE(WaitFocus(Question(), "Yes"));
    EXPECT_EQ(Walk(Question(), {{VK_TAB}, {VK_TAB}}), (std::vector<std::string>{"No", "Yes"}));
    Press({VK_RETURN});
    EXPECT_EQ(Tessel.WaitExit(), 0);
}

} // namespace
