// The page modules' views as the main window hosts them: made inside a
// window of another module, drawn there, told of the messages they asked
// for, and gone again.
#include "MainWindowHarness.h"
#include "support/ProcessWindows.h"

#include "modules/Suite/SuitePage.h"

#include "platform/Application.h"
#include "platform/Form.h"
#include "platform/Label.h"

#include <gtest/gtest.h>

#include <cstring>
#include <algorithm>
#include <memory>
#include <vector>

using namespace moduletest;
using namespace tessel;

namespace {

// What the screen shows at a point of a window's client area.
COLORREF ScreenPixel(HWND Window, int X, int Y)
{
    POINT at{X, Y};
    ClientToScreen(Window, &at);
    HDC screen = GetDC(nullptr);
    const COLORREF colour = GetPixel(screen, at.x, at.y);
    ReleaseDC(nullptr, screen);
    return colour;
}

class PageViews : public ::testing::Test {
protected:
    void SetUp() override
    {
        Host = platform::New<platform::TForm>(nullptr);
        Host->SetBorderStyle(platform::bsNone);
        Host->SetBounds(40, 40, 640, 420);
        Host->Show();
        Settle();
    }
    void TearDown() override { Host->Free(); }

    platform::TForm* Host = nullptr;
};

TEST_F(PageViews, AViewFillsItsHostDrawsItselfAndGoes)
{
    LoadedModule clock(SuiteBin() + "Page\\Clock.dll");
    auto create = clock.Entry<TPageCreate>("PageCreate");
    auto destroy = clock.Entry<TPageDestroy>("PageDestroy");
    ASSERT_NE(create, nullptr);
    auto* panel = platform::New<platform::TPanel>(Host);
    panel->SetParent(Host);
    panel->SetBounds(0, 0, 640, 420);
    HWND view = create(panel->Handle());
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(GetParent(view), panel->Handle());
    EXPECT_EQ(create(Host->Handle()), view) << "one view per module";
    Settle();

    RECT host{}, shown{};
    GetClientRect(Host->Handle(), &host);
    GetClientRect(view, &shown);
    EXPECT_TRUE(EqualRect(&host, &shown));
    EXPECT_TRUE(IsWindowVisible(view));
    // The time's dark display, top left.
    EXPECT_EQ(ScreenPixel(Host->Handle(), 24, 24), RGB(20, 28, 36));

    destroy();
    Settle();
    EXPECT_FALSE(IsWindow(view));
    destroy();
}

} // namespace

namespace {

TEST_F(MainWindow, ShowsThePageAskedForAndKeepsItsStateInItsOwnSection)
{
    AddPage("Display.dll");
    AddPage("Clock.dll");
    Register();
    ASSERT_NE(Window(), nullptr);
    EXPECT_FALSE(IsWindowVisible(Window())) << "hidden until shown";

    int32_t pair[2] = {1, 2};
    Command(cmdShow, pair);
    Settle();
    ASSERT_TRUE(IsWindowVisible(Window()));
    HWND body = nullptr;
    for (HWND child = GetWindow(Window(), GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        char name[64] = {};
        GetClassNameA(child, name, sizeof name);
        if (std::string(name) == "TPanel")
            body = child;
    }
    ASSERT_NE(body, nullptr);
    HWND view = FindWindowExA(body, nullptr, "TClockView", nullptr);
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(ScreenPixel(view, 24, 24), RGB(20, 28, 36));

    // The shell's notice before a switch from its tray menu keeps the state at once.
    auto setting = [&](const char* key) {
        char value[32] = {};
        GetPrivateProfileStringA("PageContainer", key, "", value, sizeof value, (Suite.Path() + "Tessel.ini").c_str());
        return std::string(value);
    };
    EXPECT_EQ(setting("Page"), "");
    SendMessageA(Window(), WM_USER + 2000, 0, 0);
    EXPECT_EQ(setting("Page"), "1");
    RECT r{};
    GetWindowRect(Window(), &r);
    EXPECT_EQ(setting("Left"), std::to_string(r.left));
    EXPECT_EQ(setting("Width"), std::to_string(r.right - r.left));
    WritePrivateProfileStringA("PageContainer", nullptr, nullptr, (Suite.Path() + "Tessel.ini").c_str());

    Command(cmdExit, nullptr);
    Settle();
    EXPECT_FALSE(IsWindow(view)) << "the views go when the process ends";
    char value[32] = {};
    GetPrivateProfileStringA("PageContainer", "Page", "", value, sizeof value, (Suite.Path() + "Tessel.ini").c_str());
    EXPECT_STREQ(value, "1");
}

// Alt+F4 on the quick bar hides it as the main window's frame does: to the
// tray icon, so the suite is never left with no face at all.
// Page modules load when the window first needs them, and forwarded
// messages follow the routing Tessel.ini held at registration: each page
// listed for a number hears it once, in group and page order, whichever
// spelling of the number lists it, and a new registration reads the routing
// again. The pages are doubles that log every call.
TEST_F(MainWindow, LoadsPagesWhenNeededAndForwardsByTheRoutingReadAtRegistration)
{
    SetEnvironmentVariableA("TESSEL_DOUBLE_DIR", Suite.Path().c_str());
    for (const char* name : {"A.dll", "B.dll", "C.dll"}) {
        CopyFileA((testsupport::TestBin() + "Double.dll").c_str(), (Suite.Path() + "Page\\" + name).c_str(), FALSE);
        TPageRecord& page = Pages.emplace_back();
        std::memset(&page, 0, sizeof page);
        std::snprintf(page.FileName, sizeof page.FileName, "%s", name);
    }
    // A full table: its last number goes to C.
    std::string ini = "[MESSAGE]\r\ncount=4096\r\n1=1024\r\n2=01024\r\n3=300\r\n";
    for (int k = 4; k <= 4096; ++k)
        ini += std::to_string(k) + "=" + std::to_string(20000 + k) + "\r\n";
    ini += "[1024]\r\n1=0,1\r\n2=0,0\r\n3=5,5\r\n4=0,-1\r\n[01024]\r\n1=0,1\r\n[300]\r\n1=0,2\r\n[24096]\r\n1=0,2\r\n";
    WriteWholeFile(Suite.Path() + "Tessel.ini", ini);
    Register();
    auto loaded = [&](const char* name) { return GetModuleHandleA((Suite.Path() + "Page\\" + name).c_str()) != nullptr; };
    auto heard = [&] {
        std::string log = ReadWholeFile(Suite.Path() + "calls.log");
        DeleteFileA((Suite.Path() + "calls.log").c_str());
        return log;
    };
    EXPECT_FALSE(loaded("A.dll") || loaded("B.dll") || loaded("C.dll")) << "nothing loads before it is needed";

    auto forward = [&](uint32_t number) {
        TForwardedMessage message{number, 7, 8};
        Command(cmdForward, &message);
    };
    forward(1024);
    EXPECT_EQ(heard(), "A PageMessage msg=1024 lparam=7 wparam=8\r\nB PageMessage msg=1024 lparam=7 wparam=8\r\n");
    EXPECT_TRUE(loaded("A.dll") && loaded("B.dll"));
    EXPECT_FALSE(loaded("C.dll"));
    forward(999);
    forward(24096);
    EXPECT_EQ(heard(), "C PageMessage msg=24096 lparam=7 wparam=8\r\n");

    // Read at registration: a later change of the file is not seen until the shell registers again.
    ini.replace(ini.find("[300]\r\n1=0,2"), 12, "[300]\r\n1=0,0");
    WriteWholeFile(Suite.Path() + "Tessel.ini", ini);
    forward(300);
    EXPECT_EQ(heard(), "C PageMessage msg=300 lparam=7 wparam=8\r\n");
    Command(cmdRegister, &Registration);
    forward(300);
    EXPECT_EQ(heard(), "A PageMessage msg=300 lparam=7 wparam=8\r\n");

    Command(cmdExit, nullptr);
    SetEnvironmentVariableA("TESSEL_DOUBLE_DIR", nullptr);
}

// The card is the bar's handle: pressed with the left button it hands the
// bar to the system's move loop (as a press on a caption does); the right
// button moves nothing.
TEST_F(MainWindow, TheQuickBarIsDraggedByItsCardWithTheLeftButtonOnly)
{
    CopyFileA((SuiteBin() + "Bar.dll").c_str(), (Suite.Path() + "Bar.dll").c_str(), FALSE);
    AddPage("Clock.dll");
    TGroupRecord group{};
    std::snprintf(group.Name, sizeof group.Name, "Monitor");
    group.PageCount = 1;
    group.Pages = Pages.data();
    TModuleRegistration registration{RecordRequest, 1, &group};
    LoadedModule bar(Suite.Path() + "Bar.dll");
    HWND window = nullptr;
    ASSERT_NO_FATAL_FAILURE(ShowQuickBar(bar, registration, window));
    // Pressed on the grip, above the buttons; the move loop's start is taken
    // from the queue before it could run.
    const auto dragStarts = [&](UINT Down, UINT Up, WPARAM Keys) {
        SendMessageA(window, Down, Keys, MAKELPARAM(30, 8));
        SendMessageA(window, Up, 0, MAKELPARAM(30, 8));
        MSG message{};
        bool started = false;
        while (PeekMessageA(&message, window, WM_NCLBUTTONDOWN, WM_NCLBUTTONDOWN, PM_REMOVE))
            started = started || message.wParam == HTCAPTION;
        return started;
    };
    EXPECT_FALSE(dragStarts(WM_RBUTTONDOWN, WM_RBUTTONUP, MK_RBUTTON));
    EXPECT_TRUE(dragStarts(WM_LBUTTONDOWN, WM_LBUTTONUP, MK_LBUTTON));
    bar.Entry<void(__stdcall*)(int32_t, void*)>("Command")(cmdHide, nullptr);
    Settle();
}

TEST_F(MainWindow, TheQuickBarClosedByTheKeyboardLeavesTheTrayIcon)
{
    CopyFileA((SuiteBin() + "Bar.dll").c_str(), (Suite.Path() + "Bar.dll").c_str(), FALSE);
    AddPage("Clock.dll");
    TGroupRecord group{};
    std::snprintf(group.Name, sizeof group.Name, "Monitor");
    group.PageCount = 1;
    group.Pages = Pages.data();
    TModuleRegistration registration{RecordRequest, 1, &group};
    LoadedModule bar(Suite.Path() + "Bar.dll");
    HWND window = nullptr;
    ASSERT_NO_FATAL_FAILURE(ShowQuickBar(bar, registration, window));
    SendMessageA(window, WM_SYSCOMMAND, SC_CLOSE, 0);
    Settle();
    EXPECT_FALSE(IsWindowVisible(window));
    ASSERT_EQ(Requests.size(), 1u);
    EXPECT_EQ(Requests[0].Code, cmdShow);
    EXPECT_EQ(Requests[0].Target, tgTrayIcon);
    bar.Entry<void(__stdcall*)(int32_t, void*)>("Command")(cmdHide, nullptr);
}

// Values a person mistyped in Tessel.ini count as missing: the window
// comes up at its usual place and size, not squeezed to its smallest.
TEST_F(MainWindow, MistypedBoundsGiveTheUsualPlaceAndSize)
{
    AddPage("Clock.dll");
    const std::string ini = Suite.Path() + "Tessel.ini";
    for (auto [key, value] : {std::pair{"Left", "8O"}, {"Top", "99999999999"}, {"Width", "abc"}, {"Height", "520px"}})
        WritePrivateProfileStringA("PageContainer", key, value, ini.c_str());
    Register();
    Command(cmdShow, nullptr);
    Settle();
    RECT r{};
    GetWindowRect(Window(), &r);
    EXPECT_EQ(r.left, 80);
    EXPECT_EQ(r.top, 60);
    EXPECT_EQ(r.right - r.left, 760);
    EXPECT_EQ(r.bottom - r.top, 520);
    Command(cmdExit, nullptr);
    Settle();
}

// A window minimized or maximized when the suite ends keeps the size and
// place the user gave it, not the icon's or the whole screen's.
TEST_F(MainWindow, KeepsItsNormalBoundsWhenEndedMinimizedOrMaximized)
{
    AddPage("Clock.dll");
    const std::string ini = Suite.Path() + "Tessel.ini";
    const std::pair<const char*, const char*> bounds[] = {{"Left", "100"}, {"Top", "120"}, {"Width", "700"}, {"Height", "500"}};
    for (auto [key, value] : bounds)
        WritePrivateProfileStringA("PageContainer", key, value, ini.c_str());
    Register();
    Command(cmdShow, nullptr);
    Settle();
    auto expectKept = [&] {
        for (auto [key, value] : bounds) {
            char saved[32] = {};
            GetPrivateProfileStringA("PageContainer", key, "", saved, sizeof saved, ini.c_str());
            EXPECT_STREQ(saved, value) << key;
        }
    };
    // The shell's notice before a face switch, then the end of the suite.
    ShowWindow(Window(), SW_MAXIMIZE);
    Settle();
    SendMessageA(Window(), WM_USER + 2000, 0, 0);
    expectKept();
    ShowWindow(Window(), SW_MINIMIZE);
    Settle();
    Command(cmdExit, nullptr);
    Settle();
    expectKept();
}

// Asked for from the tray or the quick bar, a minimized main window comes
// back on the screen at its size instead of staying an icon.
TEST_F(MainWindow, ComesBackFromMinimizedWhenAskedFor)
{
    AddPage("Clock.dll");
    Register();
    Command(cmdShow, nullptr);
    Settle();
    RECT before{};
    GetWindowRect(Window(), &before);
    ShowWindow(Window(), SW_MINIMIZE);
    Settle();
    ASSERT_TRUE(IsIconic(Window()));
    int32_t pair[2] = {1, 1};
    Command(cmdShow, pair);
    Settle();
    EXPECT_FALSE(IsIconic(Window()));
    EXPECT_TRUE(IsWindowVisible(Window()));
    RECT after{};
    GetWindowRect(Window(), &after);
    EXPECT_TRUE(EqualRect(&before, &after));
    Command(cmdExit, nullptr);
    Settle();
}

} // namespace

namespace {

TEST_F(PageViews, EveryPageMakesItsViewAndHearsItsMessages)
{
    for (const char* name : {"Clock", "System", "Disks", "Display", "Colours", "Folders"}) {
        LoadedModule page(SuiteBin() + "Page\\" + name + ".dll");
        HWND view = page.Entry<TPageCreate>("PageCreate")(Host->Handle());
        ASSERT_NE(view, nullptr) << name;
        Settle();
        // Each hears the messages its INI file lists; a view rebuilt by one stays whole.
        for (UINT message : {WM_TIMECHANGE, WM_DEVICECHANGE, WM_DISPLAYCHANGE}) {
            TForwardedMessage forwarded{message, 0, 0};
            page.Entry<TPageMessage>("PageMessage")(&forwarded);
        }
        Settle();
        EXPECT_TRUE(IsWindowVisible(view)) << name;
        ShowWindow(view, SW_HIDE);
        Settle();
        page.Entry<TPageDestroy>("PageDestroy")();
        EXPECT_FALSE(IsWindow(view)) << name;
    }
}

// The Folders page's tree grows with the page and keeps its bottom edge and
// scroll arrow on the screen, in a small host and a large one.
TEST_F(PageViews, TheFolderTreeStaysWithinItsPage)
{
    LoadedModule folders(SuiteBin() + "Page\\Folders.dll");
    HWND view = folders.Entry<TPageCreate>("PageCreate")(Host->Handle());
    ASSERT_NE(view, nullptr);
    HWND tree = FindWindowExA(view, nullptr, "TDirectoryOutline", nullptr);
    ASSERT_NE(tree, nullptr);
    for (int height : {420, 700}) {
        SCOPED_TRACE(height);
        MoveWindow(view, 0, 0, 640, height, TRUE);
        Settle();
        RECT shown{};
        GetWindowRect(tree, &shown);
        MapWindowPoints(nullptr, view, reinterpret_cast<POINT*>(&shown), 2);
        EXPECT_EQ(shown.top, 44);
        EXPECT_EQ(shown.bottom, height - 16);
    }
    folders.Entry<TPageDestroy>("PageDestroy")();
}

} // namespace

namespace {

BOOL CALLBACK CollectButton(HWND Wnd, LPARAM Data)
{
    char name[64] = {}, text[256] = {};
    GetClassNameA(Wnd, name, sizeof name);
    GetWindowTextA(Wnd, text, sizeof text);
    if (std::string(name) == "KsButtonTx")
        reinterpret_cast<std::vector<std::string>*>(Data)->push_back(text);
    return TRUE;
}

// Every caption of the main window in the user's language: group, page and
// the window's own buttons.
TEST_F(MainWindow, SpeaksTheUsersLanguage)
{
    for (const char* language : {"Japanese", "Russian", "Thai"}) {
        SCOPED_TRACE(language);
        TempFolder suite;
        CreateDirectoryA((suite.Path() + "Lang").c_str(), nullptr);
        CopyFileA((SuiteBin() + "KsMultiLang.dll").c_str(), (suite.Path() + "KsMultiLang.dll").c_str(), FALSE);
        const std::string file = std::string("Lang\\") + language + ".lng";
        CopyFileA((SuiteBin() + file).c_str(), (suite.Path() + file).c_str(), FALSE);
        WriteWholeFile(suite.Path() + "Tessel.ini", std::string("[Tessel]\r\nLanguage=") + language + "\r\n");

        // Code 2 as the shell makes it, with the page module loaded from the suite's Page folder.
        LoadedModule clock(SuiteBin() + "Page\\Clock.dll");
        TPageRecord page{};
        std::snprintf(page.FileName, sizeof page.FileName, "Clock.dll");
        // The page translates through the language module of its own suite
        // folder (the build's), so only the main window's own texts are checked.
        clock.Entry<void(__stdcall*)(int32_t, void*)>("Command")(cmdPageStart, &page);

        CopyFileA((SuiteBin() + "PageContainer.dll").c_str(), (suite.Path() + "PageContainer.dll").c_str(), FALSE);
        TGroupRecord group{};
        std::snprintf(group.Name, sizeof group.Name, "Monitor");
        group.PageCount = 1;
        group.Pages = &page;
        TModuleRegistration registration{RecordRequest, 1, &group};
        LoadedModule container(suite.Path() + "PageContainer.dll");
        container.Entry<void(__stdcall*)(int32_t, void*)>("Command")(cmdRegister, &registration);
        const std::vector<HWND> containers =
            testsupport::ProcessWindows(GetCurrentProcessId(), "TFormContainer", "Tessel");
        ASSERT_FALSE(containers.empty());
        HWND window = containers.back();
        std::vector<std::string> captions;
        EnumChildWindows(window, CollectButton, reinterpret_cast<LPARAM>(&captions));
        EXPECT_EQ(captions.size(), 5u) << "the group's tab, its page's button and Quick Bar, Tray, Exit";
        for (const std::string& caption : captions) {
            if (caption == "Clock")
                continue;
            const bool translated = std::any_of(caption.begin(), caption.end(), [](char c) { return c & 0x80; });
            EXPECT_TRUE(translated) << caption;
        }
        container.Entry<void(__stdcall*)(int32_t, void*)>("Command")(cmdExit, nullptr);
    }
}

} // namespace

namespace {

// Places kept below the work area bring the main window and the quick bar
// back wholly on it, and the quick bar keeps the place a drag leaves it at.
TEST_F(MainWindow, PlacesComeBackOnTheWorkAreaAndADragIsKept)
{
    CopyFileA((SuiteBin() + "Bar.dll").c_str(), (Suite.Path() + "Bar.dll").c_str(), FALSE);
    AddPage("Clock.dll");
    const std::string ini = Suite.Path() + "Tessel.ini";
    const auto setting = [&](const char* Section, const char* Key) {
        char value[32] = {};
        GetPrivateProfileStringA(Section, Key, "", value, sizeof value, ini.c_str());
        return std::string(value);
    };
    for (const char* section : {"PageContainer", "Bar"}) {
        WritePrivateProfileStringA(section, "Left", "100", ini.c_str());
        WritePrivateProfileStringA(section, "Top", "5000", ini.c_str());
    }
    WritePrivateProfileStringA("PageContainer", "Width", "700", ini.c_str());
    WritePrivateProfileStringA("PageContainer", "Height", "500", ini.c_str());
    RECT work{};
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);

    Register();
    Command(cmdShow, nullptr);
    Settle();
    RECT r{};
    GetWindowRect(Window(), &r);
    EXPECT_EQ(r.left, 100);
    EXPECT_EQ(r.bottom - r.top, 500);
    EXPECT_EQ(r.bottom, work.bottom) << "below the work area: its bottom edge comes up to the area's";
    Command(cmdExit, nullptr);
    Settle();

    LoadedModule bar(Suite.Path() + "Bar.dll");
    HWND window = nullptr;
    ASSERT_NO_FATAL_FAILURE(ShowQuickBar(bar, Registration, window));
    GetWindowRect(window, &r);
    EXPECT_EQ(r.left, 100);
    EXPECT_EQ(r.bottom, work.bottom);

    // A drag as the system's move loop makes it: the place is kept at its end.
    SendMessageA(window, WM_ENTERSIZEMOVE, 0, 0);
    for (int x : {200, 260, 320})
        SetWindowPos(window, nullptr, x, x - 110, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    SendMessageA(window, WM_EXITSIZEMOVE, 0, 0);
    Settle();
    EXPECT_EQ(setting("Bar", "Left"), "320");
    EXPECT_EQ(setting("Bar", "Top"), "210");
    bar.Entry<void(__stdcall*)(int32_t, void*)>("Command")(cmdHide, nullptr);
    Settle();
}

} // namespace
