// The Settings page in the running suite: what a click on each choice
// writes to Tessel.ini and to the registry, and the choice it holds down.
#include "SuiteDriver.h"

#include <algorithm>

using namespace shelltest;

namespace {

const char* const RunKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";

std::string RunValue()
{
    char value[1024] = {};
    DWORD size = sizeof value;
    return RegGetValueA(HKEY_CURRENT_USER, RunKey, "Tessel", RRF_RT_REG_SZ, nullptr, value, &size) == ERROR_SUCCESS
               ? value
               : "(none)";
}

// Takes the user's start at log-on out of the test prefix and puts it back.
class KeptRunValue {
public:
    KeptRunValue() : FValue(RunValue()) { RegDeleteKeyValueA(HKEY_CURRENT_USER, RunKey, "Tessel"); }
    ~KeptRunValue()
    {
        RegDeleteKeyValueA(HKEY_CURRENT_USER, RunKey, "Tessel");
        if (FValue != "(none)")
            RegSetKeyValueA(HKEY_CURRENT_USER, RunKey, "Tessel", REG_SZ, FValue.c_str(),
                            static_cast<DWORD>(FValue.size() + 1));
    }

private:
    std::string FValue;
};

TEST_F(SuiteFaces, TheSettingsPageWritesWhatItsChoicesSay)
{
    AddRealPage("Settings");
    CreateDirectoryA((Suite.Path() + "Lang").c_str(), nullptr);
    for (const char* file : {"Lang\\English.lng", "Lang\\Japanese.lng", "Lang\\Thai.lng", "Lang\\Notes.txt"})
        Suite.Write(file, "# a language file\r\n");
    Layout({"Settings"}, 0);
    KeptRunValue kept;
    ASSERT_TRUE(Tessel.Start());
    ASSERT_TRUE(WaitShown([&] { return Bar(); }));
    ASSERT_TRUE(Click(Button(Bar(), "Settings")));
    ASSERT_TRUE(WaitFor([&] { return Shown(ViewOf(Container(), "TSettingsView")); }, 5000));
    HWND view = ViewOf(Container(), "TSettingsView");
    const auto chosen = [&](const char* Caption) {
        const COLORREF face = TScreenShot(Button(view, Caption)).Pixel(4, 11);
        return GetBValue(face) > 180 && GetRValue(face) < 120;
    };
    const auto waitChosen = [&](const char* Caption) { return WaitFor([&] { return chosen(Caption); }, 3000); };

    // One choice per language file; the language in use held down.
    EXPECT_NE(Button(view, "English"), nullptr);
    EXPECT_NE(Button(view, "Japanese"), nullptr);
    EXPECT_NE(Button(view, "Thai"), nullptr);
    EXPECT_EQ(Button(view, "Notes"), nullptr) << "not a language file";
    EXPECT_TRUE(waitChosen("English"));
    ASSERT_TRUE(Click(Button(view, "Japanese")));
    EXPECT_TRUE(WaitFor([&] { return Suite.Value("Tessel.ini", "Tessel", "Language") == "Japanese"; }, 3000));
    EXPECT_TRUE(waitChosen("Japanese"));
    EXPECT_FALSE(chosen("English"));

    // The start view: the value the tray menu's two items write.
    EXPECT_TRUE(waitChosen("Start at Quick Bar"));
    ASSERT_TRUE(Click(Button(view, "Start at ToolBar")));
    EXPECT_TRUE(WaitFor([&] { return Suite.Value("Tessel.ini", "Tessel", "ObjectStyle") == "3"; }, 3000));
    EXPECT_TRUE(waitChosen("Start at ToolBar"));
    EXPECT_FALSE(chosen("Start at Quick Bar"));

    // The start at log-on: the installer's Run value, with "-tray".
    EXPECT_TRUE(waitChosen("Off"));
    ASSERT_TRUE(Click(Button(view, "On")));
    EXPECT_TRUE(WaitFor([&] { return RunValue() == "\"" + Suite.Path() + "Tessel.exe\" -tray"; }, 3000))
        << RunValue();
    EXPECT_TRUE(waitChosen("On"));
    ASSERT_TRUE(Click(Button(view, "Off")));
    EXPECT_TRUE(WaitFor([&] { return RunValue() == "(none)"; }, 3000));

    // Shown again, the page reads what others changed meanwhile.
    ASSERT_TRUE(Click(Button(Container(), "Tray")));
    ASSERT_TRUE(WaitShown([&] { return Container(); }, false));
    Suite.SetValue("Tessel.ini", "Tessel", "ObjectStyle", "0");
    Tessel.TrayNotify(WM_LBUTTONUP);
    ASSERT_TRUE(WaitShown([&] { return Container(); }));
    EXPECT_TRUE(waitChosen("Start at Quick Bar"));

    PostMessageA(Tessel.WaitMainForm(), WM_SYSCOMMAND, SC_CLOSE, 0);
    EXPECT_EQ(Tessel.WaitExit(), 0);
    EXPECT_EQ(Suite.Value("Tessel.ini", "Tessel", "Language"), "Japanese") << "kept for the next start";
}

// A translation of a row's name longer than the English one: the choices
// move right of it, so the name is neither cut nor run under a button.
TEST_F(SuiteFaces, TheSettingsChoicesStartRightOfTheLongestRowName)
{
    AddRealPage("Settings");
    CopyFileA((SuiteBin() + "KsMultiLang.dll").c_str(), (Suite.Path() + "KsMultiLang.dll").c_str(), FALSE);
    CreateDirectoryA((Suite.Path() + "Lang").c_str(), nullptr);
    Suite.Write("Lang\\Russian.lng", "Start at log-on\tStart at log-on, each time Windows starts up\r\n");
    Layout({"Settings"}, 0);
    Suite.SetValue("Tessel.ini", "Tessel", "Language", "Russian");
    ASSERT_TRUE(Tessel.Start());
    ASSERT_TRUE(WaitShown([&] { return Bar(); }));
    ASSERT_TRUE(Click(Button(Bar(), "Settings")));
    ASSERT_TRUE(WaitFor([&] { return Shown(ViewOf(Container(), "TSettingsView")); }, 5000));
    HWND view = ViewOf(Container(), "TSettingsView");
    HWND on = Button(view, "On");
    ASSERT_NE(on, nullptr);

    // The right end of the ink left of the first choice, once the row is
    // laid out and drawn.
    int left = 0, lastText = -1;
    const auto drawn = [&] {
        RECT page{}, button{};
        GetWindowRect(view, &page);
        GetWindowRect(on, &button);
        left = button.left - page.left;
        const TScreenShot shot(view);
        lastText = -1;
        for (int y = button.top - page.top; y < button.bottom - page.top; ++y)
            for (int x = 0; x < left; ++x) {
                const COLORREF c = shot.Pixel(x, y);
                if (GetRValue(c) < 160 && GetGValue(c) < 160 && GetBValue(c) < 160)
                    lastText = std::max(lastText, x);
            }
        return lastText > 200 && lastText < left - 8;
    };
    EXPECT_TRUE(WaitFor(drawn, 3000)) << "the whole name is drawn in its row";
    EXPECT_LT(lastText, left - 8) << "a gap between the name and the first choice";

    PostMessageA(Tessel.WaitMainForm(), WM_SYSCOMMAND, SC_CLOSE, 0);
    EXPECT_EQ(Tessel.WaitExit(), 0);
}

} // namespace
