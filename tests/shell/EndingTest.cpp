// The suite ends on the close command (as the run script and a person's
// tools send it), on an installer's close before an upgrade and at the end
// of the Windows session whatever question or menu is open, and keeps the main
// window's state as a normal exit does.
#include "DialogDriver.h"
#include "TesselProcess.h"

#include <gtest/gtest.h>

#include <functional>
#include <utility>

using namespace shelltest;

namespace {

std::string ClassOf(HWND Wnd)
{
    char name[64] = {};
    GetClassNameA(Wnd, name, sizeof name);
    return name;
}

std::string TextOf(HWND Wnd)
{
    char text[256] = {};
    GetWindowTextA(Wnd, text, sizeof text);
    return text;
}

struct TButtonSearch {
    std::string Text;
    HWND Found;
};

BOOL CALLBACK MatchButton(HWND Wnd, LPARAM Data)
{
    auto* search = reinterpret_cast<TButtonSearch*>(Data);
    if (ClassOf(Wnd) == "KsButtonTx" && TextOf(Wnd) == search->Text)
        search->Found = Wnd;
    return TRUE;
}

HWND Button(HWND Top, const std::string& Text)
{
    TButtonSearch search{Text, nullptr};
    if (Top)
        EnumChildWindows(Top, MatchButton, reinterpret_cast<LPARAM>(&search));
    return search.Found;
}

bool Click(HWND Wnd)
{
    if (!Wnd)
        return false;
    PostMessageA(Wnd, WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
    PostMessageA(Wnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    PostMessageA(Wnd, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    return true;
}

bool Shown(HWND Wnd)
{
    return Wnd && IsWindowVisible(Wnd);
}

class Ending : public ::testing::Test {
protected:
    void SetUp() override
    {
        Suite.AddSiblings();
        Suite.AddSkin();
        for (const char* module : {"PageContainer.dll", "Bar.dll"})
            CopyFileA((SuiteBin() + module).c_str(), (Suite.Path() + module).c_str(), FALSE);
        Suite.AddModule("Page\\Alert.dll");
    }
    void Start(int StartView, const std::string& Settings = "")
    {
        Suite.Write("Tessel.ini", "[Tessel]\r\n" + Settings + "ObjectStyle=" + std::to_string(StartView) +
                                      "\r\n[Group]\r\ngroupcount=1\r\n1=Monitor\r\n"
                                      "[Monitor]\r\ngroupid=1\r\nstyle=0\r\npagecount=1\r\n1=Alert.dll\r\n");
        ASSERT_TRUE(Tessel.Start());
        ASSERT_NE(Form = Tessel.WaitMainForm(), nullptr);
    }
    HWND Bar() const { return Tessel.Window("TFormBar", "Tessel"); }
    HWND Container() const { return Tessel.Window("TFormContainer", "Tessel"); }
    HWND Question() const { return Tessel.Window("TfrmMsg", "Tessel"); }

    // The three questions, opened as a person opens them.
    bool OpenBarQuestion()
    {
        return WaitFor([&] { return Shown(Bar()); }, 8000) && Click(Button(Bar(), "Exit")) &&
               WaitFor([&] { return Shown(Question()); }, 5000);
    }
    bool OpenMainWindowQuestion()
    {
        return WaitFor([&] { return Shown(Bar()); }, 8000) && Click(Button(Bar(), "Main Window")) &&
               WaitFor([&] { return Shown(Container()); }, 8000) && Click(Button(Container(), "Exit")) &&
               WaitFor([&] { return Shown(Question()); }, 5000);
    }
    bool OpenTrayQuestion()
    {
        Tessel.TrayNotify(WM_RBUTTONUP);
        HWND menu = nullptr;
        if (!WaitFor([&] { return Shown(menu = Tessel.Window("#32768")); }, 5000))
            return false;
        for (WPARAM key : {VK_UP, VK_RETURN}) {
            PostMessageA(menu, WM_KEYDOWN, key, 1);
            PostMessageA(menu, WM_KEYUP, key, 0xC0000001);
        }
        return WaitFor([&] { return VisibleDialog(Tessel.Id()) != nullptr; }, 5000);
    }

    // The three ways the suite is told to end from outside.
    void CloseCommand() const { PostMessageA(Form, WM_SYSCOMMAND, SC_CLOSE, 0); }
    void InstallerClose() const
    {
        DWORD_PTR result = 0;
        SendMessageTimeoutA(Form, WM_SYSCOMMAND, SC_CLOSE, 0, SMTO_NORMAL, 5000, &result);
    }
    void SessionEnd() const
    {
        DWORD_PTR result = 0;
        SendMessageTimeoutA(Form, WM_QUERYENDSESSION, 0, 0, SMTO_NORMAL, 5000, &result);
        SendMessageTimeoutA(Form, WM_ENDSESSION, TRUE, 0, SMTO_NORMAL, 5000, &result);
    }

    // Ends with 0 and with the main window's state kept.
    void ExpectEndedAndSaved(const char* What)
    {
        EXPECT_EQ(Tessel.WaitExit(10000), 0) << What;
        EXPECT_FALSE(Suite.Value("Tessel.ini", "PageContainer", "Width").empty()) << What;
        Suite.Write("Tessel.ini", "");
    }

    TSuiteFolder Suite;
    TTesselProcess Tessel{Suite};
    HWND Form = nullptr;
};

TEST_F(Ending, TheSuiteEndsWhateverQuestionIsOpen)
{
    Start(0);
    ASSERT_TRUE(OpenBarQuestion());
    CloseCommand();
    ExpectEndedAndSaved("close command over the quick bar's question");

    Start(0);
    ASSERT_TRUE(OpenMainWindowQuestion());
    InstallerClose();
    ExpectEndedAndSaved("installer's close over the main window's question");

    Start(0);
    ASSERT_TRUE(OpenBarQuestion());
    SessionEnd();
    ExpectEndedAndSaved("session end over the quick bar's question");

    Start(3);
    ASSERT_TRUE(OpenTrayQuestion());
    SessionEnd();
    ExpectEndedAndSaved("session end over the tray's question");
}

// The tray menu runs a loop of its own: each way of being told to end
// closes the menu and ends the suite as it does with no menu open.
TEST_F(Ending, TheSuiteEndsWhileTheTrayMenuIsOpen)
{
    const std::pair<const char*, std::function<void()>> ways[] = {
        {"close command over the tray menu", [&] { CloseCommand(); }},
        {"installer's close over the tray menu", [&] { InstallerClose(); }},
        {"session end over the tray menu", [&] { SessionEnd(); }},
    };
    for (const auto& [what, end] : ways) {
        Start(3);
        HWND menu = nullptr;
        Tessel.TrayNotify(WM_RBUTTONUP);
        ASSERT_TRUE(WaitFor([&] { return Shown(menu = Tessel.Window("#32768")); }, 5000)) << what;
        end();
        EXPECT_TRUE(WaitFor([&] { return !Shown(menu); }, 5000)) << what << ": the menu closes";
        ExpectEndedAndSaved(what);
    }
}

// A language file that translates "Yes" and "No" into 40,000 characters,
// and a language module that fills every buffer it is given: the questions
// still build, show and answer, and the tray menu opens after.
TEST_F(Ending, OverlongTranslationsLeaveTheQuestionsWorking)
{
    CopyFileA((SuiteBin() + "KsMultiLang.dll").c_str(), (Suite.Path() + "KsMultiLang.dll").c_str(), FALSE);
    CreateDirectoryA((Suite.Path() + "Lang").c_str(), nullptr);
    Suite.Write("Lang\\Russian.lng", "Yes\t" + std::string(40000, 'Y') + "\r\nNo\t" + std::string(40000, 'N') + "\r\n");
    Start(0, "Language=Russian\r\n");
    ASSERT_TRUE(OpenBarQuestion());
    ASSERT_TRUE(Click(Button(Question(), "No")));
    ASSERT_TRUE(WaitFor([&] { return !Shown(Question()); }, 5000)) << "No answers the quick bar's question";
    ASSERT_TRUE(Click(Button(Bar(), "Tray")));
    ASSERT_TRUE(OpenTrayQuestion());
    HWND shellDialog = VisibleDialog(Tessel.Id());
    ClickAt(shellDialog, NoButton);
    ASSERT_TRUE(WaitFor([&] { return !IsWindow(shellDialog); }, 5000)) << "No answers the shell's question";
    CloseCommand();
    ExpectEndedAndSaved("close command after the language file's questions");

    Suite.AddModule("KsMultiLang.dll");
    Suite.Double("KsMultiLang", "Fill", "1");
    Start(3);
    ASSERT_TRUE(OpenTrayQuestion());
    HWND dialog = VisibleDialog(Tessel.Id());
    ClickAt(dialog, NoButton);
    ASSERT_TRUE(WaitFor([&] { return !IsWindow(dialog); }, 5000)) << "No answers";
    Tessel.TrayNotify(WM_RBUTTONUP);
    HWND menu = nullptr;
    ASSERT_TRUE(WaitFor([&] { return Shown(menu = Tessel.Window("#32768")); }, 5000)) << "the tray menu opens again";
    PostMessageA(menu, WM_KEYDOWN, VK_ESCAPE, 1);
    PostMessageA(menu, WM_KEYUP, VK_ESCAPE, 0xC0000001);
    Sleep(200);
    CloseCommand();
    ExpectEndedAndSaved("close command after the overlong question");
}

} // namespace
