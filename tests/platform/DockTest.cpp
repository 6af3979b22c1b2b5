// Docking with the pointer: a dockable panel dragged out of its dock site
// into a floating window and back, the frame that shows where it lands,
// cancelling, refusals, and the dock properties in form files.
#include "platform/Application.h"
#include "platform/Dock.h"
#include "platform/FormFile.h"
#include "platform/Label.h"
#include "InterceptedServices.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace platform;

namespace {

std::vector<std::string> Journal;

std::string Who(TObject* O)
{
    if (auto* drag = dynamic_cast<TDragDockObject*>(O))
        return drag->Control() ? drag->Control()->Name() : "?";
    auto* component = dynamic_cast<TComponent*>(O);
    return component ? component->Name() : "nothing";
}

std::string At(int X, int Y)
{
    return std::to_string(X) + "," + std::to_string(Y);
}

class TDockForm : public TForm {
    PLATFORM_CLASS(TDockForm, TForm)
public:
    explicit TDockForm(TComponent* AOwner) : TForm(AOwner) {}

    void StartDock(TObject* Sender, TDragObject*&) { Journal.push_back(Who(Sender) + " start"); }
    void EndDock(TObject* Sender, TObject* Target, int, int)
    {
        Journal.push_back(Who(Sender) + " end " + Who(Target));
    }
    void DockOver(TObject* Sender, TDragDockObject* Source, int X, int Y, TDragState State, bool& Accept)
    {
        Journal.push_back(Who(Sender) + " over " + Who(Source) + " " + At(X, Y) + " " + std::to_string(State));
        Accept = AcceptDock;
    }
    void DockDrop(TObject* Sender, TDragDockObject* Source, int X, int Y)
    {
        Journal.push_back(Who(Sender) + " drop " + Who(Source) + " " + At(X, Y));
    }
    void UnDock(TObject* Sender, TControl* Client, TWinControl* NewTarget, bool& Allow)
    {
        Journal.push_back(Who(Sender) + " undock " + Who(Client) + " to " + Who(NewTarget));
        Allow = AllowUnDock;
    }

    TPanel* Site = nullptr;
    TPanel* Tools = nullptr;
    TPanel* Colours = nullptr;
    bool AcceptDock = true;
    bool AllowUnDock = true;
};

const TClassInfo& TDockForm::StaticClassInfo()
{
    static const TClassInfo& info = TClassBuilder<TDockForm, TForm>("TDockForm")
        .Field("Site", &TDockForm::Site)
        .Field("Tools", &TDockForm::Tools)
        .Field("Colours", &TDockForm::Colours)
        .Method("StartDock", &TDockForm::StartDock)
        .Method("EndDock", &TDockForm::EndDock)
        .Method("DockOver", &TDockForm::DockOver)
        .Method("DockDrop", &TDockForm::DockDrop)
        .Method("UnDock", &TDockForm::UnDock)
        .Build();
    return info;
}

// A dock site along the bottom of the form with two dockable panels in it.
const char* const DockFormText = "object Docking: TDockForm\r\n"
                                 "  Left = 380\r\n"
                                 "  Top = 770\r\n"
                                 "  Width = 340\r\n"
                                 "  Height = 240\r\n"
                                 "  Color = clBtnFace\r\n"
                                 "  BorderStyle = bsNone\r\n"
                                 "  ClientWidth = 340\r\n"
                                 "  ClientHeight = 240\r\n"
                                 "  object Site: TPanel\r\n"
                                 "    Left = 0\r\n"
                                 "    Top = 80\r\n"
                                 "    Width = 340\r\n"
                                 "    Height = 160\r\n"
                                 "    Align = alBottom\r\n"
                                 "    Color = clBtnFace\r\n"
                                 "    DockSite = True\r\n"
                                 "    TabOrder = 0\r\n"
                                 "    OnDockDrop = DockDrop\r\n"
                                 "    OnDockOver = DockOver\r\n"
                                 "    OnUnDock = UnDock\r\n"
                                 "    BevelOuter = bvNone\r\n"
                                 "    object Tools: TPanel\r\n"
                                 "      Left = 0\r\n"
                                 "      Top = 0\r\n"
                                 "      Width = 340\r\n"
                                 "      Height = 30\r\n"
                                 "      Align = alTop\r\n"
                                 "      Caption = 'Tools'\r\n"
                                 "      Color = clBtnFace\r\n"
                                 "      DragKind = dkDock\r\n"
                                 "      DragMode = dmAutomatic\r\n"
                                 "      TabOrder = 0\r\n"
                                 "      OnEndDock = EndDock\r\n"
                                 "      OnStartDock = StartDock\r\n"
                                 "    end\r\n"
                                 "    object Colours: TPanel\r\n"
                                 "      Left = 0\r\n"
                                 "      Top = 30\r\n"
                                 "      Width = 60\r\n"
                                 "      Height = 130\r\n"
                                 "      Align = alLeft\r\n"
                                 "      Caption = 'Colours'\r\n"
                                 "      Color = clBtnFace\r\n"
                                 "      DragKind = dkDock\r\n"
                                 "      DragMode = dmAutomatic\r\n"
                                 "      TabOrder = 1\r\n"
                                 "    end\r\n"
                                 "  end\r\n"
                                 "end\r\n";

using V = std::vector<long>;

V ScreenRect(HWND Wnd)
{
    RECT r;
    GetWindowRect(Wnd, &r);
    return V{r.left, r.top, r.right, r.bottom};
}

V ScreenRect(TControl* Control)
{
    const TPoint origin = Control->ClientToScreen(Point(0, 0));
    return V{origin.x, origin.y, origin.x + Control->Width(), origin.y + Control->Height()};
}

// A shown window of this process of the class, if there is one.
HWND Shown(const char* ClassName)
{
    for (HWND wnd = FindWindowA(ClassName, nullptr); wnd; wnd = FindWindowExA(nullptr, wnd, ClassName, nullptr)) {
        DWORD process = 0;
        GetWindowThreadProcessId(wnd, &process);
        if (process == GetCurrentProcessId() && IsWindowVisible(wnd))
            return wnd;
    }
    return nullptr;
}

// The frame that shows where the control would land, if it is up.
HWND ShownFrame()
{
    return Shown("TDockFrame");
}

class DockTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        Journal.clear();
        Application->Initialize();
        Form = New<TDockForm>(nullptr);
        ReadComponentText(Form, DockFormText);
        Form->Show();
        // Drops go to the window under the pointer: keep other tests' windows from covering this one.
        SetWindowPos(Form->Handle(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        Application->ProcessMessages();
    }
    void TearDown() override { Form->Free(); }

    // Pointer messages go where the capture sends them, as the system's would.
    void MoveTo(TPoint Screen, UINT Msg = WM_MOUSEMOVE)
    {
        Services.Cursor = Screen;
        HWND target = GetCapture() ? GetCapture() : WindowFromPoint(Screen);
        POINT p = Screen;
        ScreenToClient(target, &p);
        PostMessageA(target, Msg, Msg == WM_MOUSEMOVE ? MK_LBUTTON : 0, MAKELPARAM(p.x, p.y));
        Application->ProcessMessages();
    }
    void Press(TWinControl* Control, int X, int Y)
    {
        Services.Cursor = Control->ClientToScreen(Point(X, Y));
        PostMessageA(Control->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(X, Y));
        Application->ProcessMessages();
    }
    TPoint OnForm(int X, int Y) { return Form->ClientToScreen(Point(X, Y)); }
    TPoint OnSite(int X, int Y) { return Form->Site->ClientToScreen(Point(X, Y)); }

    TInterceptedServices Services;
    TDockForm* Form = nullptr;
};

} // namespace

TEST_F(DockTest, APanelFloatsInAWindowOfItsOwnAndDocksAgain)
{
    TPanel* tools = Form->Tools;
    TPanel* site = Form->Site;

    // Held 5 pixels in, dragged out onto the form where no site is: the
    // frame shows the panel's own size under the pointer, and the drop makes
    // a floating tool window with the panel in the same place.
    Press(tools, 5, 5);
    EXPECT_TRUE(tools->Dragging());
    const TPoint out = OnForm(200, 40);
    MoveTo(out);
    ASSERT_NE(ShownFrame(), nullptr);
    const V landing{out.x - 5, out.y - 5, out.x - 5 + 340, out.y - 5 + 30};
    EXPECT_EQ(ScreenRect(ShownFrame()), landing);
    MoveTo(out, WM_LBUTTONUP);
    EXPECT_EQ(ShownFrame(), nullptr);
    // It starts over its own site, which it then leaves.
    EXPECT_EQ(Journal, (std::vector<std::string>{"Tools start", "Site over Tools 5,5 0", "Site over Tools 200,-40 1",
                                                 "Site undock Tools to nothing", "Tools end nothing"}));
    auto* host = dynamic_cast<TToolDockForm*>(tools->Parent());
    ASSERT_NE(host, nullptr);
    EXPECT_TRUE(IsWindowVisible(host->Handle()));
    EXPECT_TRUE(GetWindowLongA(host->Handle(), GWL_EXSTYLE) & WS_EX_TOOLWINDOW);
    EXPECT_EQ(GetParent(tools->Handle()), host->Handle());
    EXPECT_EQ(ScreenRect(tools), landing);
    char title[64] = {};
    GetWindowTextA(host->Handle(), title, sizeof title);
    EXPECT_STREQ(title, "Tools");
    // The site lays out what is left.
    EXPECT_EQ(ScreenRect(Form->Colours), (V{OnSite(0, 0).x, OnSite(0, 0).y, OnSite(60, 0).x, OnSite(0, 160).y}));
    SetWindowPos(host->Handle(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);

    // Dragged from its window back onto the site: the site is asked, the
    // frame shows the top strip the panel will take, and the drop puts it
    // there; the floating window goes.
    Journal.clear();
    Press(tools, 5, 5);
    MoveTo(OnSite(150, 80));
    EXPECT_EQ(ScreenRect(ShownFrame()), (V{OnSite(0, 0).x, OnSite(0, 0).y, OnSite(340, 0).x, OnSite(0, 30).y}));
    MoveTo(OnSite(152, 82));
    MoveTo(OnSite(152, 82), WM_LBUTTONUP);
    EXPECT_EQ(Journal,
              (std::vector<std::string>{"Tools start", "Site over Tools 150,80 0", "Site over Tools 152,82 2",
                                        "Site over Tools 152,82 2", "Site drop Tools 152,82", "Tools end Site"}));
    EXPECT_EQ(tools->Parent(), site);
    EXPECT_EQ(GetParent(tools->Handle()), site->Handle());
    EXPECT_EQ(tools->BoundsRect().top, 0);
    EXPECT_EQ(tools->Width(), 340);
    EXPECT_EQ(Form->Colours->Top(), 30);
    Application->ProcessMessages();
    EXPECT_EQ(Shown("TToolDockForm"), nullptr) << "the empty floating window is gone";
}

TEST_F(DockTest, EscapeCancelsAndSitesMayRefuseTheDropOrKeepTheirControl)
{
    TPanel* tools = Form->Tools;
    // Escape: nothing moves, the frame goes.
    Press(tools, 5, 5);
    MoveTo(OnForm(200, 40));
    ASSERT_NE(ShownFrame(), nullptr);
    PostMessageA(tools->Handle(), WM_KEYDOWN, VK_ESCAPE, 0);
    Application->ProcessMessages();
    EXPECT_EQ(ShownFrame(), nullptr);
    EXPECT_EQ(Journal, (std::vector<std::string>{"Tools start", "Site over Tools 5,5 0", "Site over Tools 200,-40 1",
                                                 "Tools end nothing"}));
    EXPECT_EQ(tools->Parent(), Form->Site);
    EXPECT_FALSE(tools->Dragging());
    EXPECT_EQ(GetCapture(), nullptr);

    // A site that refuses is left (the drop floats the panel).
    Journal.clear();
    Form->AcceptDock = false;
    Press(tools, 5, 5);
    MoveTo(OnSite(150, 100));
    EXPECT_EQ(ScreenRect(ShownFrame()), (V{OnSite(145, 95).x, OnSite(145, 95).y, OnSite(485, 125).x, OnSite(0, 125).y}))
        << "the panel's own size: the site will not take it";
    MoveTo(OnSite(150, 100), WM_LBUTTONUP);
    EXPECT_EQ(Journal, (std::vector<std::string>{"Tools start", "Site over Tools 5,5 0", "Site over Tools 150,100 2",
                                                 "Site over Tools 150,100 2", "Site over Tools 150,100 1",
                                                 "Site undock Tools to nothing", "Tools end nothing"}));
    EXPECT_NE(dynamic_cast<TToolDockForm*>(tools->Parent()), nullptr);
    Form->AcceptDock = true;

    // A site that keeps its control: the other panel stays put.
    Journal.clear();
    Form->AllowUnDock = false;
    Press(Form->Colours, 5, 5);
    MoveTo(OnForm(200, 40));
    MoveTo(OnForm(200, 40), WM_LBUTTONUP);
    EXPECT_EQ(Journal, (std::vector<std::string>{"Site over Colours 5,5 0", "Site over Colours 200,-40 1",
                                                 "Site undock Colours to nothing"}));
    EXPECT_EQ(Form->Colours->Parent(), Form->Site);

    // Freed while floating, the panel takes its window with it.
    ASSERT_NE(Shown("TToolDockForm"), nullptr);
    Form->Tools->Free();
    Form->Tools = nullptr;
    Application->ProcessMessages();
    EXPECT_EQ(Shown("TToolDockForm"), nullptr);
}

TEST_F(DockTest, DockPropertiesRoundTripThroughFormText)
{
    TDockForm* read = New<TDockForm>(nullptr);
    ReadComponentText(read, DockFormText);
    EXPECT_EQ(WriteComponentText(read), DockFormText);
    EXPECT_TRUE(read->Site->DockSite());
    EXPECT_EQ(read->Tools->DragKind(), dkDock);
    EXPECT_TRUE(read->Site->OnUnDock);
    read->Free();
}
