#include "FormFixture.h"
#include "support/Files.h"

#include "components/DirOutline.h"
#include "components/RowList.h"

#include <cstdio>

using namespace platform;
using namespace components;
using testsupport::TempFolder;

namespace {

// A list of numbered rows, as many as asked for.
class TNumberList : public TRowList {
    PLATFORM_CLASS(TNumberList, TRowList)
public:
    using TRowList::TRowList;
    int RowCount() const override { return Count; }
    int Count = 100000;

protected:
    void PaintRow(int Row, const TRect& Bounds) override { Canvas()->TextOut(4, Bounds.top, std::to_string(Row)); }
};

} // namespace

const TClassInfo& TNumberList::StaticClassInfo()
{
    static const TClassInfo& info = TClassBuilder<TNumberList, TRowList>("TNumberList").Build();
    return info;
}

namespace {

SCROLLINFO Bar(TWinControl* Control)
{
    SCROLLINFO info{sizeof info, SIF_ALL, 0, 0, 0, 0, 0};
    GetScrollInfo(Control->Handle(), SB_VERT, &info);
    return info;
}

class RowList : public FormFixture {};

// The thumb stands where the list does at every moment, also beyond the
// 65,535 rows that a scroll message can name.
TEST_F(RowList, TheScrollBarAlwaysShowsWhereTheListStands)
{
    auto* list = Place<TNumberList>(10, 10, 200, 200);
    const auto expectThumb = [&](const char* when) {
        const SCROLLINFO info = Bar(list);
        EXPECT_EQ(info.nMin, 0) << when;
        EXPECT_EQ(info.nMax, list->RowCount() - 1) << when;
        EXPECT_EQ(static_cast<int>(info.nPage), list->VisibleRows()) << when;
        EXPECT_EQ(info.nPos, list->TopRow()) << when;
    };
    expectThumb("open");
    SendMessageA(list->Handle(), WM_MOUSEWHEEL, MAKEWPARAM(0, -2 * WHEEL_DELTA), 0);
    EXPECT_EQ(list->TopRow(), 6);
    expectThumb("wheel");
    SendMessageA(list->Handle(), WM_VSCROLL, SB_BOTTOM, 0);
    EXPECT_EQ(list->TopRow(), 100000 - list->VisibleRows());
    expectThumb("bottom");
    list->SetBounds(10, 10, 200, 120);
    Application->ProcessMessages();
    expectThumb("smaller");
    list->SetBounds(10, 10, 200, 240);
    Application->ProcessMessages();
    EXPECT_EQ(list->TopRow(), 100000 - list->VisibleRows()) << "no empty space below the last row";
    expectThumb("larger");
    list->Count = 50;
    list->SetBounds(10, 10, 200, 200);
    Application->ProcessMessages();
    EXPECT_EQ(list->TopRow(), 50 - list->VisibleRows());
    expectThumb("fewer rows");

    // The thumb dragged by the mouse down the track.
    list->Count = 100000;
    list->SetBounds(10, 10, 200, 201);
    SendMessageA(list->Handle(), WM_VSCROLL, SB_TOP, 0);
    SCROLLBARINFO bar{};
    bar.cbSize = sizeof bar;
    ASSERT_TRUE(GetScrollBarInfo(list->Handle(), OBJID_VSCROLL, &bar));
    const int x = (bar.rcScrollBar.left + bar.rcScrollBar.right) / 2;
    const int thumb = bar.rcScrollBar.top + (bar.xyThumbTop + bar.xyThumbBottom) / 2;
    // Four fifths down the track: past what 16 bits can name.
    const int lower = bar.rcScrollBar.top + (bar.rcScrollBar.bottom - bar.rcScrollBar.top) * 4 / 5;
    // The real mouse, on a form above any other program's windows.
    SetWindowPos(Form->Handle(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    SetForegroundWindow(Form->Handle());
    const auto mouse = [](DWORD Flags, int X, int Y) {
        INPUT input{};
        input.type = INPUT_MOUSE;
        input.mi.dx = X * 65536 / GetSystemMetrics(SM_CXSCREEN) + 1;
        input.mi.dy = Y * 65536 / GetSystemMetrics(SM_CYSCREEN) + 1;
        input.mi.dwFlags = Flags | MOUSEEVENTF_ABSOLUTE | MOUSEEVENTF_MOVE;
        SendInput(1, &input, sizeof input);
    };
    // The pointer goes back where it was: left over a test form's window,
    // it would move over the next test's controls.
    POINT pointer;
    GetCursorPos(&pointer);
    mouse(0, x, thumb);
    mouse(MOUSEEVENTF_LEFTDOWN, x, thumb);
    mouse(0, x, lower);
    mouse(MOUSEEVENTF_LEFTUP, x, lower);
    for (int i = 0; i < 10; ++i) {
        Application->ProcessMessages();
        Sleep(10);
    }
    SetCursorPos(pointer.x, pointer.y);
    EXPECT_GT(list->TopRow(), 70000);
    EXPECT_LT(list->TopRow(), 90000);
    expectThumb("dragged");
}

class OutlineScrolling : public FormFixture {
protected:
    void SetUp() override
    {
        FormFixture::SetUp();
        char name[32];
        for (int i = 0; i < 60; ++i) {
            std::snprintf(name, sizeof name, "Folder %02d", i);
            CreateDirectoryA((Temp.Path() + name).c_str(), nullptr);
        }
    }
    TempFolder Temp{"OutlineScroll"};
};

// Opened on a folder far down its tree, the outline shows that folder and
// its thumb stands there too.
TEST_F(OutlineScrolling, TheThumbMatchesTheRowsFromTheStart)
{
    auto* outline = new TDirectoryOutline(Form);
    outline->SetBounds(10, 10, 300, 200);
    outline->SetDirectory(Temp.Path() + "Folder 59");
    outline->SetParent(Form);
    Application->ProcessMessages();
    ASSERT_GT(outline->TopRow(), 0);
    EXPECT_GE(outline->SelectedRow(), outline->TopRow());
    EXPECT_LT(outline->SelectedRow(), outline->TopRow() + outline->VisibleRows());
    SCROLLINFO info = Bar(outline);
    EXPECT_EQ(info.nPos, outline->TopRow());
    EXPECT_EQ(info.nMax, outline->RowCount() - 1);

    // Collapsing, keys and the wheel keep them together.
    FocusedKeys(outline, {VK_HOME});
    EXPECT_EQ(outline->TopRow(), 0);
    EXPECT_EQ(Bar(outline).nPos, 0);
    SendMessageA(outline->Handle(), WM_MOUSEWHEEL, MAKEWPARAM(0, -WHEEL_DELTA), 0);
    EXPECT_EQ(Bar(outline).nPos, outline->TopRow());
    outline->Collapse(0);
    EXPECT_EQ(outline->RowCount(), 1);
    info = Bar(outline);
    EXPECT_EQ(info.nPos, 0);
    EXPECT_EQ(info.nMax, 0);
}

// A folder's box tells whether it has subfolders as they are when its row
// comes into view, not as they were when its parent was opened.
TEST_F(OutlineScrolling, SubfoldersAreLookedForWhenARowIsShown)
{
    auto* outline = Place<TDirectoryOutline>(10, 10, 300, 200);
    outline->SetDirectory(Temp.Path().substr(0, Temp.Path().size() - 1));
    const int parent = outline->SelectedRow();
    outline->Expand(parent);
    Application->ProcessMessages();
    UpdateWindow(outline->Handle());
    CreateDirectoryA((Temp.Path() + "Folder 59\\Inner").c_str(), nullptr);

    outline->SetDirectory(Temp.Path() + "Folder 59");
    UpdateWindow(outline->Handle());
    FocusedKeys(outline, {VK_RIGHT});
    ASSERT_TRUE(outline->Expanded(outline->SelectedRow()));
    EXPECT_EQ(outline->RowText(outline->SelectedRow() + 1), "Inner");
    FocusedKeys(outline, {VK_RIGHT});
    EXPECT_EQ(outline->Directory(), Temp.Path() + "Folder 59\\Inner");
    FocusedKeys(outline, {VK_RIGHT});
    EXPECT_FALSE(outline->Expanded(outline->SelectedRow())) << "no subfolders, nothing to open";
}

} // namespace
