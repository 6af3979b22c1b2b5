// The suite's pages as a user meets them: each view on a window of its own,
// read through the texts, gauges, lists and pixels it shows and driven with
// the keyboard (real key presses to the focused control) and the mouse.
// Without a language module beside the test program every text is English;
// the settings the pages keep go to the Tessel.ini beside it.
#include "FolderTrees.h"
#include "ModuleHarness.h"
#include "support/ProcessWindows.h"

#include "modules/Pages/ClockData.h"
#include "modules/Pages/ColoursData.h"
#include "modules/Pages/DriveData.h"
#include "modules/Pages/SizeList.h"
#include "modules/Pages/SystemData.h"
#include "modules/Suite/PageModule.h"
#include "modules/Suite/SuiteSettings.h"
#include "modules/Suite/SuiteSkin.h"

#include "KsPackage/Source/KsButtonTx.h"
#include "KsPackage/Source/KsNumLED.h"
#include "components/Calendar.h"
#include "components/ColorGrid.h"
#include "components/DirOutline.h"
#include "components/Gauge.h"
#include "components/PerfGraph.h"
#include "platform/Application.h"
#include "platform/Form.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <thread>

using namespace moduletest;
using namespace platform;
using namespace components;
using namespace tessel;
using namespace foldertest;

namespace tessel {
extern const TPageDefinition ClockPage, SystemPage, DisksPage, ColoursPage, FoldersPage, SettingsPage;
}

namespace {

void Settle(int Rounds = 5)
{
    for (int i = 0; i < Rounds; ++i) {
        Application->ProcessMessages();
        Sleep(20);
    }
}

// Pumps messages until Done holds or Seconds have passed.
template <class F>
bool WaitFor(F Done, double Seconds = 10)
{
    const DWORD until = GetTickCount() + static_cast<DWORD>(Seconds * 1000);
    while (!Done()) {
        if (GetTickCount() > until)
            return false;
        Application->ProcessMessages();
        Sleep(10);
    }
    return true;
}

template <class T>
void Collect(TWinControl* Parent, std::vector<T*>& Found)
{
    for (int i = 0; i < Parent->ControlCount(); ++i) {
        TControl* control = Parent->Controls(i);
        if (auto* wanted = dynamic_cast<T*>(control))
            Found.push_back(wanted);
        if (auto* windowed = dynamic_cast<TWinControl*>(control))
            Collect(windowed, Found);
    }
}

template <class T>
std::vector<T*> All(TWinControl* Parent)
{
    std::vector<T*> found;
    Collect(Parent, found);
    return found;
}

class Pages : public ::testing::Test {
protected:
    void SetUp() override
    {
        DeleteFileA(SuiteIni().c_str());
        Host = New<TForm>(nullptr);
        Host->SetBorderStyle(bsNone);
        Host->SetBounds(40, 40, 760, 480);
        Host->Show();
        SetForegroundWindow(Host->Handle());
        Settle();
    }
    void TearDown() override
    {
        Close();
        Host->Free();
        DeleteFileA(SuiteIni().c_str());
    }

    TPageView* Open(const TPageDefinition& Page)
    {
        View = Page.CreateView();
        View->SetParent(Host);
        View->SetBounds(0, 0, Host->ClientWidth(), Host->ClientHeight());
        Settle();
        return View;
    }
    void Close()
    {
        if (View)
            View->Free();
        View = nullptr;
    }

    // Every text the view shows in its labels.
    std::vector<std::string> Texts() const
    {
        std::vector<std::string> texts;
        for (TLabel* label : All<TLabel>(View))
            texts.push_back(label->Text());
        return texts;
    }
    bool Shows(const std::string& Text) const
    {
        const std::vector<std::string> texts = Texts();
        return std::find(texts.begin(), texts.end(), Text) != texts.end();
    }
    std::string ShownText() const
    {
        std::string all;
        for (const std::string& text : Texts())
            all += text + " | ";
        return all;
    }
    KsButtonTx* Button(const std::string& Caption) const
    {
        for (KsButtonTx* button : All<KsButtonTx>(View))
            if (button->Text() == Caption)
                return button;
        return nullptr;
    }
    static void Click(TWinControl* Control, int X = -1, int Y = -1, bool Double = false)
    {
        X = X < 0 ? Control->Width() / 2 : X;
        Y = Y < 0 ? Control->Height() / 2 : Y;
        SendMessageA(Control->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(X, Y));
        SendMessageA(Control->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(X, Y));
        if (Double) {
            SendMessageA(Control->Handle(), WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(X, Y));
            SendMessageA(Control->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(X, Y));
        }
        Settle(2);
    }
    // Key presses as the keyboard delivers them: to the window that has the
    // focus, through the message loop. (Not as real input: a test running
    // beside this one may own the foreground for a moment.)
    // Keys to the window last given the focus: another test program's window
    // taking the foreground meanwhile takes this thread's focus away.
    void Keys(std::initializer_list<WORD> Keys)
    {
        for (WORD key : Keys) {
            PostMessageA(Focused, WM_KEYDOWN, key, 1);
            PostMessageA(Focused, WM_KEYUP, key, 0xC0000001);
            Settle(2);
        }
    }
    // Gives the keyboard focus the way the system does, not through the control.
    void Focus(TWinControl* Control)
    {
        ::SetFocus(Control->Handle());
        Focused = GetFocus();
        EXPECT_EQ(Focused, Control->Handle()) << Control->ClassName() << " did not take the focus";
        Settle(2);
    }

    TForm* Host = nullptr;
    TPageView* View = nullptr;
    HWND Focused = nullptr;
};

// Every page at its design size, the main window's usual one and a large
// one: nothing lies under another control (only a drawn frame may stand
// around a windowed one) and nothing sticks out of the page.
TEST_F(Pages, NoPageHidesOneControlUnderAnotherAtAnySize)
{
    const std::pair<const char*, const TPageDefinition*> pages[] = {
        {"Clock", &ClockPage}, {"System", &SystemPage}, {"Disks", &DisksPage}, {"Colours", &ColoursPage},
        {"Folders", &FoldersPage}};
    for (auto [name, page] : pages) {
        Open(*page);
        // The smallest body of the main window, the design size, a usual and a large one.
        for (auto [width, height] : {std::pair{458, 298}, std::pair{TPageView::DesignWidth, TPageView::DesignHeight},
                                     std::pair{728, 400}, std::pair{1260, 900}}) {
            SCOPED_TRACE(std::string(name) + " at " + std::to_string(width) + " x " + std::to_string(height));
            View->SetBounds(0, 0, width, height);
            Settle(1);
            std::vector<TControl*> shown;
            for (int i = 0; i < View->ControlCount(); ++i)
                if (View->Controls(i)->Visible() && View->Controls(i)->Width() > 0)
                    shown.push_back(View->Controls(i));
            for (TControl* a : shown) {
                const TRect r = a->BoundsRect();
                EXPECT_TRUE(r.left >= 0 && r.top >= 0 && r.right <= width && r.bottom <= height)
                    << a->ClassName() << " " << a->Text() << " at " << r.left << "," << r.top << "," << r.right << ","
                    << r.bottom;
                for (TControl* b : shown) {
                    const TRect q = b->BoundsRect();
                    TRect both{};
                    if (a >= b || !IntersectRect(&both, &r, &q))
                        continue;
                    const auto frames = [](TControl* Outer, TControl* Inner) {
                        TRect o = Outer->BoundsRect(), i = Inner->BoundsRect(), u{};
                        UnionRect(&u, &o, &i);
                        return !dynamic_cast<TWinControl*>(Outer) && dynamic_cast<TWinControl*>(Inner) && EqualRect(&u, &o);
                    };
                    EXPECT_TRUE(frames(a, b) || frames(b, a))
                        << a->ClassName() << " \"" << a->Text() << "\" and " << b->ClassName() << " \"" << b->Text() << "\"";
                }
            }
        }
        Close();
    }
}

// ------------------------------------------------------------------ Clock

TEST_F(Pages, TheClockShowsTheTimeTheLongDateAndTheZone)
{
    Open(ClockPage);
    const TDateTime now = Now();
    const std::vector<KsNumLed*> leds = All<KsNumLed>(View);
    ASSERT_EQ(leds.size(), 3u) << "hours, minutes, seconds";
    for (KsNumLed* led : leds) {
        TDateTime shown;
        ASSERT_TRUE(led->GetValue(shown));
        EXPECT_NEAR(double(shown), double(now), 3.0 / 86400);
    }
    // Two lit dots between each pair of LEDs: a colon, not a decimal point.
    const TRect hours = leds[0]->BoundsRect(), minutes = leds[1]->BoundsRect();
    int dots = 0;
    for (TPanel* panel : All<TPanel>(View))
        dots += panel->Left() >= hours.right && panel->Left() < minutes.left && panel->Width() < 10;
    EXPECT_EQ(dots, 2);

    SYSTEMTIME today{};
    GetLocalTime(&today);
    char weekday[64] = {};
    GetDateFormatA(LOCALE_USER_DEFAULT, 0, &today, "dddd", weekday, sizeof weekday);
    const std::string date = LongDateText(now);
    EXPECT_TRUE(Shows(date)) << ShownText();
    EXPECT_NE(date.find(weekday), std::string::npos) << date;
    EXPECT_NE(date.find(std::to_string(today.wYear)), std::string::npos) << date;
    EXPECT_TRUE(Shows(TimeZone().Name)) << ShownText();
    EXPECT_TRUE(Shows(TimeZone().Offset)) << ShownText();
}

TEST_F(Pages, TheCalendarPagesThroughMonthsByKeysAndButtonsAndComesBackToToday)
{
    Open(ClockPage);
    TCalendar* calendar = All<TCalendar>(View).at(0);
    EXPECT_TRUE(calendar->TabStop());
    EXPECT_TRUE(GetWindowLongA(calendar->Handle(), GWL_STYLE) & WS_TABSTOP);
    SYSTEMTIME today{};
    GetLocalTime(&today);
    EXPECT_EQ(calendar->Month(), today.wMonth);
    EXPECT_EQ(calendar->Day(), today.wDay);

    calendar->SetCalendarDate(EncodeDate(2026, 12, 31));
    Settle(1);
    EXPECT_TRUE(Shows("December 2026")) << ShownText();
    ASSERT_NE(Button("< November"), nullptr);
    ASSERT_NE(Button("January >"), nullptr);

    // Keys act as soon as the calendar has the focus, without a click first.
    Focus(calendar);
    Keys({VK_NEXT});
    EXPECT_TRUE(Shows("January 2027")) << ShownText();
    EXPECT_EQ(calendar->Day(), 31);
    Keys({VK_NEXT});
    EXPECT_TRUE(Shows("February 2027")) << ShownText();
    EXPECT_EQ(calendar->Day(), 28) << "no 29 February in 2027";
    Keys({VK_RIGHT});
    EXPECT_TRUE(Shows("March 2027")) << ShownText();
    EXPECT_EQ(calendar->Day(), 1);
    Keys({VK_PRIOR, VK_PRIOR, VK_PRIOR});
    EXPECT_TRUE(Shows("December 2026")) << ShownText();
    Keys({VK_HOME});
    EXPECT_EQ(calendar->Month(), today.wMonth);
    EXPECT_EQ(calendar->Day(), today.wDay);
    EXPECT_TRUE(calendar->UseCurrentDate());

    // The buttons: into a leap February and back to today.
    calendar->SetCalendarDate(EncodeDate(2028, 1, 31));
    Settle(1);
    Click(Button("February >"));
    EXPECT_TRUE(Shows("February 2028")) << ShownText();
    EXPECT_EQ(calendar->Day(), 29);
    Click(Button("< January"));
    Click(Button("< December"));
    EXPECT_TRUE(Shows("December 2027")) << ShownText();
    Click(Button("Today"));
    EXPECT_EQ(calendar->Year(), today.wYear);
    EXPECT_EQ(calendar->Month(), today.wMonth);
}

TEST_F(Pages, TheClocksCalendarGrowsWithThePage)
{
    Open(ClockPage);
    TCalendar* calendar = All<TCalendar>(View).at(0);
    KsButtonTx* todayButton = Button("Today");
    ASSERT_NE(todayButton, nullptr);
    for (auto [width, height] : {std::pair{760, 480}, std::pair{1200, 900}}) {
        SCOPED_TRACE(width);
        View->SetBounds(0, 0, width, height);
        Settle(1);
        EXPECT_EQ(calendar->Left() + calendar->Width(), width - 16);
        EXPECT_EQ(calendar->Top() + calendar->Height(), height - 16);
        EXPECT_EQ(todayButton->Left(), 16);
        EXPECT_EQ(todayButton->Top() + todayButton->Height(), height - 16);
        EXPECT_EQ(All<KsNumLed>(View).at(0)->Parent()->Left(), 16) << "the time keeps its place";
    }
}

// ------------------------------------------------------------------ System

int LabelNumber(const std::vector<std::string>& Texts, const std::string& Start)
{
    for (const std::string& text : Texts)
        if (text.rfind(Start, 0) == 0)
            return std::atoi(text.c_str() + Start.size());
    return -1;
}

// How many columns of the graph's picture show Colour somewhere.
int ColumnsShowing(TPerformanceGraph* Graph, TColor Colour)
{
    TCanvas* canvas = Graph->Picture()->Canvas();
    int columns = 0;
    for (int x = 0; x < Graph->Picture()->Width(); ++x)
        for (int y = 0; y < Graph->Picture()->Height(); ++y)
            if (static_cast<COLORREF>(canvas->Pixel(x, y)) == ColorToRGB(Colour)) {
                ++columns;
                break;
            }
    return columns;
}

TEST_F(Pages, TheSystemFiguresAndGaugesAgreeAndTheGraphIsReadable)
{
    Open(SystemPage);
    for (int second = 0; second < 2; ++second) {
        const std::vector<std::string> texts = Texts();
        const int processor = LabelNumber(texts, "Processor load: ");
        const int memory = LabelNumber(texts, "Memory load: ");
        ASSERT_GE(processor, 0) << ShownText();
        ASSERT_GE(memory, 0) << ShownText();
        EXPECT_NEAR(memory, MemoryLoad(), 5);
        const std::vector<TGauge*> gauges = All<TGauge>(View);
        ASSERT_EQ(gauges.size(), 2u);
        EXPECT_EQ(gauges[0]->Progress(), processor);
        EXPECT_EQ(gauges[1]->Progress(), memory);
        for (TGauge* gauge : gauges)
            EXPECT_FALSE(gauge->ShowText()) << "the figure stands once, in the label";
        Settle(55);
    }

    TPerformanceGraph* graph = All<TPerformanceGraph>(View).at(0);
    EXPECT_EQ(graph->Scale(), 100);
    EXPECT_GE(graph->Width() / graph->Step(), 60) << "at least a minute in view";
    // Each line stands out from the background, the grid and the other line.
    const auto distance = [](TColor a, TColor b) {
        const COLORREF x = ColorToRGB(a), y = ColorToRGB(b);
        return std::abs(GetRValue(x) - GetRValue(y)) + std::abs(GetGValue(x) - GetGValue(y)) +
               std::abs(GetBValue(x) - GetBValue(y));
    };
    for (int series = 0; series < 2; ++series) {
        const TColor line = graph->SeriesColor(series);
        EXPECT_GT(distance(line, graph->Color()), 300) << series;
        EXPECT_GT(distance(line, graph->GridColor()), 250) << series;
    }
    EXPECT_GT(distance(graph->SeriesColor(0), graph->SeriesColor(1)), 200);
    // Each line has a swatch of its colour beside its figure.
    for (int series = 0; series < 2; ++series) {
        bool swatch = false;
        for (TPanel* panel : All<TPanel>(View))
            swatch |= panel->Color() == graph->SeriesColor(series) && panel->Left() > graph->Left() + graph->Width();
        EXPECT_TRUE(swatch) << series;
    }
}

TEST_F(Pages, TheSystemGraphKeepsItsHistoryWhileTheViewIsHidden)
{
    Open(SystemPage);
    TPerformanceGraph* graph = All<TPerformanceGraph>(View).at(0);
    const TColor memory = graph->SeriesColor(1);
    Settle(5);
    const int before = ColumnsShowing(graph, memory);
    EXPECT_LE(before, 2 * graph->Step() + 1);

    ShowWindow(View->Handle(), SW_HIDE);
    const DWORD until = GetTickCount() + 4200;
    while (GetTickCount() < until)
        Settle(1);
    ShowWindow(View->Handle(), SW_SHOW);
    Settle(2);
    // Four seconds away: the graph shows the samples taken meanwhile.
    EXPECT_GE(ColumnsShowing(graph, memory), 3 * graph->Step() + 1);

    // A wider graph shows as much of the kept past as fits.
    const int wider = ColumnsShowing(graph, memory);
    View->SetBounds(0, 0, 1100, 480);
    Settle(60);
    EXPECT_EQ(graph->Left() + graph->Width(), 1100 - 16 - 180 - 16) << "the figures' column keeps its width";
    EXPECT_GE(ColumnsShowing(graph, memory), wider);
}

// ------------------------------------------------------------------ Disks

TEST_F(Pages, DisksSpellOutUsedAndFreeWithTheVolumesNameAndFileSystem)
{
    Open(DisksPage);
    const std::vector<TDriveInfo> drives = Drives();
    const std::vector<TGauge*> gauges = All<TGauge>(View);
    size_t gauge = 0;
    for (const TDriveInfo& drive : drives) {
        SCOPED_TRACE(drive.Root);
        EXPECT_TRUE(Shows(drive.Label.empty() ? drive.Root : drive.Root + "  " + drive.Label)) << ShownText();
        if (!drive.Ready) {
            EXPECT_TRUE(Shows(drive.Removable ? "No medium in the drive" : "Not ready")) << ShownText();
            continue;
        }
        EXPECT_FALSE(drive.FileSystem.empty());
        EXPECT_TRUE(Shows(std::string(drive.Removable ? "Removable" : "Fixed") + " drive, file system " +
                          drive.FileSystem))
            << ShownText();
        // Free space moves while other programs write: the figures may have
        // moved a little since the page read them.
        const std::vector<std::string> texts = Texts();
        ASSERT_LT(gauge, gauges.size());
        const int used = gauges[gauge]->Progress();
        EXPECT_NEAR(used, drive.UsedPercent(), 1);
        EXPECT_TRUE(Shows(std::to_string(used) + " % used")) << ShownText();
        const std::string ofTotal = " free of " + FormatBytes(drive.Total);
        EXPECT_TRUE(std::any_of(texts.begin(), texts.end(), [&](const std::string& text) {
            return text.find(" used, ") != std::string::npos && text.size() > ofTotal.size() &&
                   text.compare(text.size() - ofTotal.size(), ofTotal.size(), ofTotal) == 0;
        })) << ShownText();
        EXPECT_FALSE(gauges[gauge]->ShowText());
        ++gauge;
    }
    // The gauges stretch with the page.
    View->SetBounds(0, 0, 1000, 480);
    Settle(1);
    for (TGauge* g : gauges)
        EXPECT_EQ(g->Left() + g->Width(), 1000 - 16 - 120);
}

// ------------------------------------------------------------------ Colours

std::string Clipboard()
{
    std::string text;
    if (!OpenClipboard(nullptr))
        return text;
    if (HANDLE data = GetClipboardData(CF_TEXT)) {
        text = static_cast<const char*>(GlobalLock(data));
        GlobalUnlock(data);
    }
    CloseClipboard();
    return text;
}

std::vector<HWND> Choices(TWinControl* View)
{
    std::vector<HWND> choices;
    for (HWND child = GetWindow(View->Handle(), GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        char name[32] = {};
        GetClassNameA(child, name, sizeof name);
        if (std::string(name) == "TRadioChoice")
            choices.push_back(child);
    }
    return choices;
}

TEST_F(Pages, ColoursCopyOneValueInTheChosenFormatAndRememberTheirChoices)
{
    Open(ColoursPage);
    EXPECT_TRUE(Shows("#000000")) << ShownText();
    EXPECT_TRUE(Shows("#FFFFFF")) << ShownText();
    const std::vector<KsButtonTx*> copies = [&] {
        std::vector<KsButtonTx*> found;
        for (KsButtonTx* button : All<KsButtonTx>(View))
            if (button->Text() == "Copy")
                found.push_back(button);
        return found;
    }();
    ASSERT_EQ(copies.size(), 2u);
    Click(copies[0]);
    EXPECT_EQ(Clipboard(), "#000000") << "one value that pastes as a colour";
    EXPECT_TRUE(Shows("Copied: #000000")) << ShownText();

    // The right button on the grid's red cell: the background.
    TColorGrid* grid = All<TColorGrid>(View).at(0);
    const TRect red = grid->CellRect(9);
    SendMessageA(grid->Handle(), WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(red.left + 5, red.top + 5));
    SendMessageA(grid->Handle(), WM_RBUTTONUP, 0, MAKELPARAM(red.left + 5, red.top + 5));
    Settle(1);
    EXPECT_TRUE(Shows("#FF0000")) << ShownText();

    // The formats, chosen as a user does.
    const std::vector<HWND> choices = Choices(View);
    ASSERT_EQ(choices.size(), 3u);
    char caption[64] = {};
    GetWindowTextA(choices[1], caption, sizeof caption);
    EXPECT_STREQ(caption, "rgb(0, 0, 0)");
    EXPECT_EQ(SendMessageA(choices[0], BM_GETCHECK, 0, 0), BST_CHECKED);
    SendMessageA(choices[1], BM_CLICK, 0, 0);
    Settle(1);
    EXPECT_EQ(SendMessageA(choices[0], BM_GETCHECK, 0, 0), BST_UNCHECKED);
    EXPECT_TRUE(Shows("rgb(255, 0, 0)")) << ShownText();
    Click(copies[1]);
    EXPECT_EQ(Clipboard(), "rgb(255, 0, 0)");
    SendMessageA(choices[2], BM_CLICK, 0, 0);
    Settle(1);
    Click(copies[1]);
    EXPECT_EQ(Clipboard(), "255") << "the system's colour value: red in the low byte";

    // The keyboard moves the foreground as soon as the grid has the focus.
    Focus(grid);
    Keys({VK_RIGHT});
    EXPECT_EQ(grid->ForegroundIndex(), 1);
    EXPECT_TRUE(Shows(std::to_string(ColorToRGB(TColorGrid::StandardColor(1))))) << ShownText();

    // All of it back after a restart.
    Close();
    Open(ColoursPage);
    EXPECT_EQ(All<TColorGrid>(View).at(0)->BackgroundIndex(), 9);
    EXPECT_EQ(All<TColorGrid>(View).at(0)->ForegroundIndex(), 1);
    EXPECT_EQ(SendMessageA(Choices(View)[2], BM_GETCHECK, 0, 0), BST_CHECKED);
    EXPECT_TRUE(Shows("255")) << ShownText();

    // A setting damaged by hand gives the usual choices.
    Close();
    WriteSettingText("Colours", "Format", "7");
    WriteSettingText("Colours", "Foreground", "-5");
    Open(ColoursPage);
    EXPECT_EQ(SendMessageA(Choices(View)[0], BM_GETCHECK, 0, 0), BST_CHECKED);
    EXPECT_TRUE(Shows("#000000")) << ShownText();
}

// Answers the colour dialog from another thread the way a user does: types
// red, green and blue and presses OK (or Cancel).
void AnswerColourDialog(COLORREF Colour, bool Ok, std::atomic<bool>& Answered)
{
    HWND dialog = nullptr;
    for (int i = 0; i < 500 && !dialog; ++i) {
        Sleep(20);
        dialog = testsupport::VisibleProcessWindow(GetCurrentProcessId(), "#32770");
    }
    if (!dialog)
        return;
    // The dialog's red, green and blue boxes.
    const int boxes[] = {0x2C2, 0x2C3, 0x2C4};
    const int values[] = {GetRValue(Colour), GetGValue(Colour), GetBValue(Colour)};
    for (int i = 0; i < 3; ++i)
        SetDlgItemInt(dialog, boxes[i], static_cast<UINT>(values[i]), FALSE);
    SendMessageA(dialog, WM_COMMAND, Ok ? IDOK : IDCANCEL, 0);
    Answered = true;
}

TEST_F(Pages, MoreOpensTheSystemsColourDialogForAnyColour)
{
    Open(ColoursPage);
    TColorGrid* grid = All<TColorGrid>(View).at(0);
    std::vector<KsButtonTx*> more;
    for (KsButtonTx* button : All<KsButtonTx>(View))
        if (button->Text() == "More...")
            more.push_back(button);
    ASSERT_EQ(more.size(), 2u);

    std::atomic<bool> answered{false};
    std::thread user(AnswerColourDialog, RGB(10, 20, 30), true, std::ref(answered));
    Click(more[0]);
    user.join();
    ASSERT_TRUE(answered) << "the colour dialog did not open";
    Settle(2);
    EXPECT_TRUE(Shows("#0A141E")) << ShownText();
    EXPECT_FALSE(grid->ForegroundEnabled()) << "none of the sixteen";
    EXPECT_EQ(ReadSetting("Colours", "Foreground", -1), RGB(10, 20, 30));

    // Cancelled, nothing changes; a colour of the grid is marked there.
    std::thread cancel(AnswerColourDialog, RGB(99, 99, 99), false, std::ref(answered));
    Click(more[1]);
    cancel.join();
    Settle(2);
    EXPECT_TRUE(Shows("#FFFFFF")) << ShownText();
    std::thread teal(AnswerColourDialog, RGB(0, 128, 128), true, std::ref(answered));
    Click(more[1]);
    teal.join();
    Settle(2);
    EXPECT_TRUE(grid->BackgroundEnabled());
    EXPECT_EQ(grid->BackgroundIndex(), 6);
    EXPECT_TRUE(Shows("#0A141E")) << "the foreground stays";
}

// ------------------------------------------------------------------ Folders

class FoldersPageTest : public Pages {
protected:
    void SetUp() override
    {
        Pages::SetUp();
        for (const char* folder : {"Big", "Big\\Inner", "Small", "Empty"})
            CreateDirectoryA((Temp.Path() + folder).c_str(), nullptr);
        WriteWholeFile(Temp.Path() + "Big\\a.bin", std::string(200000, 'a'));
        WriteWholeFile(Temp.Path() + "Big\\Inner\\b.bin", std::string(100000, 'b'));
        WriteWholeFile(Temp.Path() + "top.bin", std::string(150000, 't'));
        WriteWholeFile(Temp.Path() + "Small\\c.bin", std::string(10000, 'c'));
        WriteSettingText("Folders", "Folder", Root());
    }
    std::string Root() const { return Temp.Path().substr(0, Temp.Path().size() - 1); }
    bool Counted() const
    {
        const std::vector<std::string> texts = Texts();
        return std::any_of(texts.begin(), texts.end(), [](const std::string& t) { return t.rfind("Size: ", 0) == 0; });
    }
    std::vector<std::string> Rows(TSizeList* List) const
    {
        std::vector<std::string> rows;
        for (int row = 0; row < List->RowCount(); ++row)
            rows.push_back(List->CellText(row, TSizeList::colName) + " " + List->CellText(row, TSizeList::colSize) +
                           " " + List->CellText(row, TSizeList::colShare));
        return rows;
    }

    TempFolder Temp;
};

TEST_F(FoldersPageTest, ListsWhatUsesTheFolderLargestFirstAndGoesInAndOut)
{
    Open(FoldersPage);
    TDirectoryOutline* outline = All<TDirectoryOutline>(View).at(0);
    TSizeList* list = All<TSizeList>(View).at(0);
    EXPECT_EQ(outline->Directory(), Root()) << "the folder kept";
    ASSERT_TRUE(WaitFor([&] { return Counted(); })) << ShownText();
    EXPECT_EQ(Rows(list), (std::vector<std::string>{"Big 293.0 KB 65.2 %", "top.bin 146.5 KB 32.6 %",
                                                    "Small 9.8 KB 2.2 %", "Empty 0 bytes 0.0 %"}));
    EXPECT_TRUE(Shows("Size: 449.2 KB")) << ShownText();
    EXPECT_TRUE(Shows("4 files in 4 folders")) << ShownText();
    EXPECT_TRUE(list->TabStop());
    EXPECT_TRUE(GetWindowLongA(list->Handle(), GWL_STYLE) & WS_TABSTOP);

    // Enter goes into the selected subfolder, Backspace up again.
    Focus(list);
    Keys({VK_DOWN});
    EXPECT_EQ(list->SelectedRow(), 0);
    Keys({VK_RETURN});
    EXPECT_EQ(outline->Directory(), Temp.Path() + "Big");
    ASSERT_TRUE(WaitFor([&] { return Counted() && list->RowCount() == 2; })) << ShownText();
    EXPECT_EQ(Rows(list), (std::vector<std::string>{"a.bin 195.3 KB 66.7 %", "Inner 97.7 KB 33.3 %"}));
    EXPECT_TRUE(Shows("2 files in 1 folder")) << ShownText();
    EXPECT_EQ(ReadSettingText("Folders", "Folder"), Temp.Path() + "Big");
    Focus(list);
    Keys({VK_BACK});
    EXPECT_EQ(outline->Directory(), Root());
    ASSERT_TRUE(WaitFor([&] { return Counted() && list->RowCount() == 4; })) << ShownText();

    // A double click on a folder's row goes into it; one on a file, or
    // Enter there, does nothing: no going in, no counting again.
    const int row = 2; // Small
    ASSERT_EQ(list->CellText(row, TSizeList::colName), "Small");
    Click(list, 40, (row - list->TopRow()) * list->RowHeight() + 3, true);
    EXPECT_EQ(outline->Directory(), Temp.Path() + "Small");
    ASSERT_TRUE(WaitFor([&] { return Counted() && list->RowCount() == 1; })) << ShownText();
    {
        const CountedReads reads(Temp.Path() + "Small\\");
        Click(list, 40, 3, true);
        Focus(list);
        Keys({VK_RETURN});
        EXPECT_EQ(outline->Directory(), Temp.Path() + "Small");
        EXPECT_EQ(CountedReads::Count, 0) << "the folder was counted again";
    }

    // Kept for the next start.
    Close();
    Open(FoldersPage);
    EXPECT_EQ(All<TDirectoryOutline>(View).at(0)->Directory(), Temp.Path() + "Small");
}

// Folders another program holds cannot be read: their rows say so with a
// red mark, "?" for a size and their reason as the hint; a folder with such
// a folder inside says how many and which; a line counts them all.
TEST_F(FoldersPageTest, FoldersThatCannotBeReadAreMarkedWithTheirReasonAndCounted)
{
    const auto hold = [](const std::string& Folder) {
        return CreateFileA(Folder.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS,
                           nullptr);
    };
    HANDLE empty = hold(Temp.Path() + "Empty"), inner = hold(Temp.Path() + "Big\\Inner");
    ASSERT_NE(empty, INVALID_HANDLE_VALUE);
    ASSERT_NE(inner, INVALID_HANDLE_VALUE);
    Open(FoldersPage);
    TSizeList* list = All<TSizeList>(View).at(0);
    const bool counted = WaitFor([&] { return Counted(); });
    CloseHandle(empty);
    CloseHandle(inner);
    ASSERT_TRUE(counted) << ShownText();

    EXPECT_EQ(Rows(list), (std::vector<std::string>{"Big 195.3 KB 55.6 %", "top.bin 146.5 KB 41.7 %",
                                                    "Small 9.8 KB 2.8 %", "Empty ? 0.0 %"}));
    EXPECT_TRUE(Shows("3 files in 4 folders")) << ShownText();
    EXPECT_TRUE(Shows("2 folders could not be read.")) << ShownText();
    EXPECT_EQ(list->RowHint(3), "This folder could not be read. Another program holds it.");
    EXPECT_EQ(list->RowHint(0), "1 folder in it could not be read. The first: Big\\Inner. Another program holds it.");
    EXPECT_EQ(list->RowHint(2), "");
    const std::vector<TLabel*> labels = All<TLabel>(View);
    const auto line = std::find_if(labels.begin(), labels.end(),
                                   [](TLabel* l) { return l->Text() == "2 folders could not be read."; });
    ASSERT_NE(line, labels.end());
    EXPECT_NE((*line)->Hint().find(". Another program holds it."), std::string::npos) << (*line)->Hint();

    // The mark: red on the folder's picture, on those rows alone.
    Settle(2);
    const auto marked = [&](int Row) {
        HDC dc = GetDC(list->Handle());
        const int top = (Row - list->TopRow()) * list->RowHeight();
        bool red = false;
        for (int y = top; y < top + list->RowHeight(); ++y)
            for (int x = 0; x < 30; ++x) {
                const COLORREF c = GetPixel(dc, x, y);
                red = red || (GetRValue(c) > 180 && GetGValue(c) < 80 && GetBValue(c) < 80);
            }
        ReleaseDC(list->Handle(), dc);
        return red;
    };
    EXPECT_TRUE(marked(0));
    EXPECT_FALSE(marked(2));
    EXPECT_TRUE(marked(3));

    // The folder shown may itself be the one that cannot be read.
    Close();
    HANDLE root = hold(Root());
    Open(FoldersPage);
    const bool shown = WaitFor([&] { return Shows("This folder could not be read. Another program holds it."); });
    CloseHandle(root);
    EXPECT_TRUE(shown) << ShownText();
    EXPECT_EQ(All<TSizeList>(View).at(0)->RowCount(), 0);
}

// Leaving the page, or closing it, while the system is slow to read a
// folder calls the count off at once: the window never waits for the
// read, and what the count does after it is ignored.
TEST_F(FoldersPageTest, LeavingThePageDuringASlowReadNeverHoldsTheWindow)
{
    const auto soFar = [&] {
        for (const std::string& text : Texts())
            if (text.rfind("Counting... ", 0) == 0)
                return text.substr(12, text.size() - 12 - 7);
        return std::string("(none)");
    };
    {
        const HeldRead held(Temp.Path() + "Big\\");
        Open(FoldersPage);
        ASSERT_TRUE(WaitFor([] { return HeldRead::AllHeld(); }));
        Settle();
        const std::string found = soFar();
        ASSERT_NE(found, "(none)") << ShownText();
        ShowWindow(View->Handle(), SW_HIDE);
        EXPECT_TRUE(HeldRead::Holding()) << "hiding the page waited for the read";
        EXPECT_TRUE(Shows("Counting was called off at " + found + ".")) << ShownText();
        EXPECT_FALSE(Button("Cancel")->Visible());
        HeldRead::Release();
        ASSERT_TRUE(HeldRead::Ended(10));
        Settle();
        EXPECT_TRUE(Shows("Counting was called off at " + found + ".")) << ShownText();

        // Shown again, the page counts afresh.
        ShowWindow(View->Handle(), SW_SHOW);
        ASSERT_TRUE(WaitFor([&] { return Counted(); })) << ShownText();
        EXPECT_TRUE(Shows("Size: 449.2 KB")) << ShownText();
    }
    Close();
    const HeldRead held(Temp.Path() + "Small\\");
    Open(FoldersPage);
    ASSERT_TRUE(WaitFor([] { return HeldRead::AllHeld(); }));
    Close();
    EXPECT_TRUE(HeldRead::Holding()) << "closing the page waited for the read";
    HeldRead::Release();
    EXPECT_TRUE(HeldRead::Ended(10));
    Settle();
}

TEST_F(FoldersPageTest, TheTreeAndTheListStretchWithThePage)
{
    Open(FoldersPage);
    TDirectoryOutline* outline = All<TDirectoryOutline>(View).at(0);
    TSizeList* list = All<TSizeList>(View).at(0);
    for (auto [width, height] : {std::pair{760, 480}, std::pair{1280, 900}}) {
        SCOPED_TRACE(width);
        View->SetBounds(0, 0, width, height);
        Settle(1);
        EXPECT_EQ(outline->Top() + outline->Height(), height - 16);
        EXPECT_EQ(list->Left() + list->Width(), width - 16);
        EXPECT_EQ(list->Top() + list->Height(), height - 16);
        EXPECT_LT(outline->Left() + outline->Width(), list->Left());
    }
}

// ------------------------------------------------------------------ Settings

const char* const RunKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";

std::string RunValue()
{
    char value[1024] = {};
    DWORD size = sizeof value;
    return RegGetValueA(HKEY_CURRENT_USER, RunKey, "Tessel", RRF_RT_REG_SZ, nullptr, value, &size) == ERROR_SUCCESS
               ? value
               : "(none)";
}

// Language files beside the test program (no language module: its texts
// are English), and the user's start at log-on taken out and put back.
class SettingsPageTest : public Pages {
protected:
    void SetUp() override
    {
        Pages::SetUp();
        FRun = RunValue();
        RegDeleteKeyValueA(HKEY_CURRENT_USER, RunKey, "Tessel");
        CreateDirectoryA(Lang().c_str(), nullptr);
        for (const char* file : {"English.lng", "Japanese.lng"})
            WriteWholeFile(Lang() + file, "# a language file\r\n");
    }
    void TearDown() override
    {
        Pages::TearDown();
        for (const char* file : {"English.lng", "Japanese.lng"})
            DeleteFileA((Lang() + file).c_str());
        RemoveDirectoryA(Lang().c_str());
        RegDeleteKeyValueA(HKEY_CURRENT_USER, RunKey, "Tessel");
        if (FRun != "(none)")
            RegSetKeyValueA(HKEY_CURRENT_USER, RunKey, "Tessel", REG_SZ, FRun.c_str(),
                            static_cast<DWORD>(FRun.size() + 1));
    }
    static std::string Lang() { return testsupport::TestBin() + "Lang\\"; }
    bool Chosen(const char* Caption) const { return static_cast<TSkinButton*>(Button(Caption))->Chosen(); }

    std::string FRun;
};

TEST_F(SettingsPageTest, ALanguageWithoutItsFileIsNotPromisedForTheNextStart)
{
    WriteSettingText("Tessel", "Language", "Thai");
    Open(SettingsPage);
    ASSERT_NE(Button("Japanese"), nullptr);
    EXPECT_EQ(Button("Thai"), nullptr) << "no file, no choice";
    EXPECT_TRUE(Shows("Lang\\Thai.lng is missing: Tessel shows its texts in English.")) << ShownText();
    EXPECT_FALSE(Shows("Tessel shows the new language from its next start.")) << ShownText();
    EXPECT_FALSE(Chosen("Japanese"));

    // A language with its file is shown from the next start.
    Click(Button("Japanese"));
    EXPECT_EQ(ReadSettingText("Tessel", "Language"), "Japanese");
    EXPECT_TRUE(Chosen("Japanese"));
    EXPECT_TRUE(Shows("Tessel shows the new language from its next start.")) << ShownText();
    EXPECT_FALSE(Shows("Lang\\Thai.lng is missing: Tessel shows its texts in English.")) << ShownText();
}

// On and Off write and remove the installer's Run value: the suite's
// Tessel.exe in quotes, started in the tray.
TEST_F(SettingsPageTest, StartAtLogOnWritesTheInstallersRunValue)
{
    Open(SettingsPage);
    EXPECT_TRUE(Chosen("Off"));
    Click(Button("On"));
    EXPECT_EQ(RunValue(), "\"" + testsupport::TestBin() + "Tessel.exe\" -tray");
    EXPECT_TRUE(Chosen("On"));
    EXPECT_FALSE(Chosen("Off"));
    Click(Button("Off"));
    EXPECT_EQ(RunValue(), "(none)");
    EXPECT_TRUE(Chosen("Off"));

    // Shown again, the page reads what others changed meanwhile.
    RegSetKeyValueA(HKEY_CURRENT_USER, RunKey, "Tessel", REG_SZ, "x", 2);
    ShowWindow(View->Handle(), SW_HIDE);
    ShowWindow(View->Handle(), SW_SHOW);
    EXPECT_TRUE(Chosen("On"));
}

} // namespace
