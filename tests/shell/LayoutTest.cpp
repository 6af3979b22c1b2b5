// The main window and the quick bar at the sizes a person gives them: the
// rectangles of their child windows, read from outside, at the smallest size
// the window takes and maximised on the 1280 x 1024 screen.
#include "SuiteDriver.h"

using namespace shelltest;

namespace {

// A child window's rectangle in its top-level window's client coordinates.
RECT RectIn(HWND Top, HWND Child)
{
    RECT r{};
    GetWindowRect(Child, &r);
    MapWindowPoints(nullptr, Top, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

bool Overlap(const RECT& A, const RECT& B)
{
    RECT both{};
    return IntersectRect(&both, &A, &B) != 0;
}

bool Within(const RECT& Inner, const RECT& Outer)
{
    return Inner.left >= Outer.left && Inner.top >= Outer.top && Inner.right <= Outer.right &&
           Inner.bottom <= Outer.bottom;
}

std::string Name(HWND Wnd)
{
    return ClassOf(Wnd) + " '" + TextOf(Wnd) + "'";
}

class SuiteLayout : public SuiteFaces {
protected:
    // The main window's visible buttons and its body (the page's parent),
    // each with its rectangle.
    std::vector<std::pair<HWND, RECT>> Parts() const
    {
        std::vector<std::pair<HWND, RECT>> parts;
        for (HWND child = GetWindow(Container(), GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
            if (IsWindowVisible(child))
                parts.emplace_back(child, RectIn(Container(), child));
        return parts;
    }
    HWND Body() const
    {
        for (HWND child = GetWindow(Container(), GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
            if (ClassOf(child) == "TPanel")
                return child;
        return nullptr;
    }

    // No two parts overlap and every one lies inside the client area; the
    // body reaches to 8 pixels from the right and bottom edges, and the
    // page's view fills the body.
    void ExpectSoundLayout(const std::string& When) const
    {
        RECT client{};
        GetClientRect(Container(), &client);
        const std::vector<std::pair<HWND, RECT>> parts = Parts();
        ASSERT_GE(parts.size(), 8u) << When;
        for (size_t i = 0; i < parts.size(); ++i) {
            EXPECT_TRUE(Within(parts[i].second, client)) << When << ": " << Name(parts[i].first) << " is cut";
            for (size_t j = i + 1; j < parts.size(); ++j)
                EXPECT_FALSE(Overlap(parts[i].second, parts[j].second))
                    << When << ": " << Name(parts[i].first) << " and " << Name(parts[j].first) << " overlap";
        }
        const RECT body = RectIn(Container(), Body());
        EXPECT_EQ(body.right, client.right - 8) << When;
        EXPECT_EQ(body.bottom, client.bottom - 8) << When;
        RECT inside{}, view{};
        GetClientRect(Body(), &inside);
        HWND page = GetWindow(Body(), GW_CHILD);
        while (page && !IsWindowVisible(page))
            page = GetWindow(page, GW_HWNDNEXT);
        ASSERT_NE(page, nullptr) << When;
        GetWindowRect(page, &view);
        EXPECT_EQ(view.right - view.left, inside.right) << When << ": the page fills the body";
        EXPECT_EQ(view.bottom - view.top, inside.bottom) << When;
    }
};

TEST_F(SuiteLayout, TheMainWindowKeepsItsPartsApartFromItsMinimumToMaximised)
{
    AddRealPage("Clock");
    AddRealPage("Display");
    LayoutGroups({{"Monitor", {"Clock", "Display"}}, {"Tools", {"Clock"}}, {"Extra", {"Display"}},
                  {"A group with a long name", {"Clock"}}},
                 0);
    ASSERT_TRUE(Tessel.Start());
    ASSERT_TRUE(WaitShown([&] { return Bar(); }));
    ASSERT_TRUE(Click(Button(Bar(), "Main Window")));
    ASSERT_TRUE(WaitShown([&] { return Container(); }));
    ASSERT_TRUE(WaitFor([&] { return Shown(ViewOf(Container(), "TClockView")); }, 5000));

    // Made as small as a program can ask for: the window keeps its minimum.
    SetWindowPos(Container(), nullptr, 20, 20, 100, 60, SWP_NOZORDER);
    Sleep(300);
    RECT smallest{};
    GetWindowRect(Container(), &smallest);
    EXPECT_GT(smallest.right - smallest.left, 400);
    EXPECT_GT(smallest.bottom - smallest.top, 300);
    ExpectSoundLayout("at the minimum");
    // The frame keeps to the same minimum.
    MINMAXINFO limits{};
    SendMessageA(Container(), WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&limits));
    EXPECT_EQ(limits.ptMinTrackSize.x, smallest.right - smallest.left);
    EXPECT_EQ(limits.ptMinTrackSize.y, smallest.bottom - smallest.top);

    // Maximised on the 1280 x 1024 screen, the body and its page fill it.
    ShowWindow(Container(), SW_MAXIMIZE);
    Sleep(300);
    RECT client{};
    GetClientRect(Container(), &client);
    EXPECT_GE(client.right, 1270);
    EXPECT_GE(client.bottom, 960);
    ExpectSoundLayout("maximised");
    const RECT exit = RectIn(Container(), Button(Container(), "Exit"));
    EXPECT_EQ(exit.right, client.right - 8) << "the buttons on the right stay at the right edge";

    // Minimised, it goes to the tray; the icon brings it back.
    ShowWindow(Container(), SW_RESTORE);
    PostMessageA(Container(), WM_SYSCOMMAND, SC_MINIMIZE, 0);
    ASSERT_TRUE(WaitShown([&] { return Container(); }, false));
    EXPECT_FALSE(IsIconic(Container()));
    Tessel.TrayNotify(WM_LBUTTONUP);
    EXPECT_TRUE(WaitShown([&] { return Container(); }));

    PostMessageA(Tessel.WaitMainForm(), WM_SYSCOMMAND, SC_CLOSE, 0);
    EXPECT_EQ(Tessel.WaitExit(), 0);
}

// The chosen group and page are held in the accent colour, whatever the
// pointer does; the pointer's own look is the pale one.
TEST_F(SuiteLayout, TheChosenGroupAndPageLookChosen)
{
    AddRealPage("Clock");
    AddRealPage("Display");
    Layout({"Clock", "Display"}, 0);
    ASSERT_TRUE(Tessel.Start());
    ASSERT_TRUE(WaitShown([&] { return Bar(); }));
    ASSERT_TRUE(Click(Button(Bar(), "Display")));
    ASSERT_TRUE(WaitShown([&] { return Container(); }));
    ASSERT_TRUE(WaitFor([&] { return Shown(ViewOf(Container(), "TDisplayView")); }, 5000));
    // The middle of a button's face, left of its caption.
    const auto face = [&](const char* Caption) { return TScreenShot(Button(Container(), Caption)).Pixel(4, 11); };
    const auto blue = [](COLORREF c) { return GetBValue(c) > 180 && GetRValue(c) < 120; };
    EXPECT_TRUE(WaitFor([&] { return blue(face("Monitor")); }, 3000)) << "the chosen group";
    EXPECT_TRUE(WaitFor([&] { return blue(face("Display")); }, 3000)) << "the chosen page";
    EXPECT_FALSE(blue(face("Clock")));
    // The pointer over another page shows its pale look, not the chosen one.
    PostMessageA(Button(Container(), "Clock"), WM_MOUSEMOVE, 0, MAKELPARAM(20, 10));
    EXPECT_TRUE(WaitFor([&] { return face("Clock") != RGB(255, 255, 255); }, 3000)) << "it does show it";
    EXPECT_FALSE(blue(face("Clock")));

    PostMessageA(Tessel.WaitMainForm(), WM_SYSCOMMAND, SC_CLOSE, 0);
    EXPECT_EQ(Tessel.WaitExit(), 0);
}

// The quick bar is as tall as its pages need and as wide as its longest
// caption, a tip's badge included; no caption fills a button to its edges.
TEST_F(SuiteLayout, TheQuickBarGrowsWithItsPagesAndCaptions)
{
    Suite.AddModule("Page\\Alert.dll");
    Suite.Double("Alert", "Caption", "A page with a rather long name");
    Layout({"Alert", "Alert", "Alert"}, 0);
    ASSERT_TRUE(Tessel.Start());
    ASSERT_TRUE(WaitShown([&] { return Bar(); }));
    RECT bar{};
    GetWindowRect(Bar(), &bar);
    const int before = bar.right - bar.left;
    EXPECT_GT(before, 97 + 16) << "wider than the skin's own button";
    EXPECT_GT(bar.bottom - bar.top, 6 * 23) << "three pages and three buttons of its own";

    Suite.Double("Alert", "Tip", "Something to say");
    Suite.Double("Alert", "Badge", "1,234 new");
    HWND alert = nullptr;
    ASSERT_TRUE(WaitFor([&] { return (alert = Button(Bar(), "A page with a rather long name [1,234 new]")) != nullptr; },
                        7000));
    // The bar takes its new width after the caption is set.
    EXPECT_TRUE(WaitFor([&] { return GetWindowRect(Bar(), &bar) && bar.right - bar.left > before; }, 3000))
        << "the badge made it grow";
    RECT button = RectIn(Bar(), alert);
    EXPECT_TRUE(Within(button, RECT{0, 0, bar.right - bar.left, bar.bottom - bar.top}));
    // Every button as wide; the caption's ink keeps clear of both edges.
    EXPECT_EQ(RectIn(Bar(), Button(Bar(), "Exit")).right - RectIn(Bar(), Button(Bar(), "Exit")).left,
              button.right - button.left);
    const int width = button.right - button.left;
    const auto clearEdges = [&] {
        TScreenShot shot(alert);
        return shot.DarkPixels({1, 2, 5, 20}) == 0 && shot.DarkPixels({width - 5, 2, width - 1, 20}) == 0 &&
               shot.DarkPixels({5, 2, width - 5, 20}) > 0;
    };
    EXPECT_TRUE(WaitFor(clearEdges, 3000)) << "the caption's ink keeps clear of both edges";

    PostMessageA(Tessel.WaitMainForm(), WM_SYSCOMMAND, SC_CLOSE, 0);
    EXPECT_EQ(Tessel.WaitExit(), 0);
}

} // namespace
