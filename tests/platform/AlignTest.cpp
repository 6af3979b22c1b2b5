// Layout by the parent: aligned children against the edges of what the
// others leave free, and the size constraints every control keeps to,
// read from the real windows.
#include "platform/Align.h"
#include "platform/Application.h"
#include "platform/Form.h"
#include "platform/FormFile.h"
#include "platform/Label.h"
#include "MessagePump.h"

#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <vector>

using namespace platform;

namespace {

// A graphic control with nothing of its own, so its bounds are what it was given.
class TAlignMark : public TGraphicControl {
    PLATFORM_CLASS(TAlignMark, TGraphicControl)
public:
    explicit TAlignMark(TComponent* AOwner) : TGraphicControl(AOwner) {}
};

const TClassInfo& TAlignMark::StaticClassInfo()
{
    static const TClassInfo& info = TClassBuilder<TAlignMark, TGraphicControl>("TAlignMark")
        .Publish({"Align", "Anchors", "Constraints", "Visible"})
        .Build();
    return info;
}

class TAlignForm : public TForm {
    PLATFORM_CLASS(TAlignForm, TForm)
public:
    explicit TAlignForm(TComponent* AOwner) : TForm(AOwner) {}
};

const TClassInfo& TAlignForm::StaticClassInfo()
{
    static const TClassInfo& info = TClassBuilder<TAlignForm, TForm>("TAlignForm").Build();
    return info;
}

using V = std::vector<long>;

// Where a control really is in its parent's client area: its window's
// rectangle for a windowed one, its bounds for a graphic one.
V Placed(TControl* Control)
{
    if (auto* windowed = dynamic_cast<TWinControl*>(Control)) {
        RECT r;
        GetWindowRect(windowed->Handle(), &r);
        MapWindowPoints(HWND_DESKTOP, GetParent(windowed->Handle()), reinterpret_cast<POINT*>(&r), 2);
        return V{r.left, r.top, r.right - r.left, r.bottom - r.top};
    }
    return V{Control->Left(), Control->Top(), Control->Width(), Control->Height()};
}

V WindowSize(TForm* Form)
{
    RECT r;
    GetWindowRect(Form->Handle(), &r);
    return V{r.right - r.left, r.bottom - r.top};
}

class AlignTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        Application->Initialize();
        Form = New<TAlignForm>(nullptr);
        Form->SetBorderStyle(bsNone);
        Form->SetBounds(60, 500, 300, 200);
        Form->Show();
    }
    void TearDown() override { Form->Free(); }

    template <class T>
    T* Add(TWinControl* Parent, TAlign Align, int Left, int Top, int Width, int Height)
    {
        T* control = New<T>(Form);
        control->SetBounds(Left, Top, Width, Height);
        control->SetAlign(Align);
        control->SetParent(Parent);
        return control;
    }
    TPanel* Panel(TAlign Align, int Left, int Top, int Width, int Height)
    {
        return Add<TPanel>(Form, Align, Left, Top, Width, Height);
    }

    TAlignForm* Form = nullptr;
};

} // namespace

TEST_F(AlignTest, GroupsAreLaidOutTopBottomLeftRightClientInTheOrderOfTheirPositions)
{
    // Read in an order unlike their places: each group goes by the positions.
    RegisterClasses({&TAlignMark::StaticClassInfo()});
    TAlignForm* form = New<TAlignForm>(nullptr);
    ReadComponentText(form, "object Laid: TAlignForm\r\n"
                            "  BorderStyle = bsNone\r\n"
                            "  ClientWidth = 300\r\n"
                            "  ClientHeight = 200\r\n"
                            "  object Top1: TPanel\r\n    Top = 50\r\n    Height = 20\r\n    Align = alTop\r\n  end\r\n"
                            "  object Client: TPanel\r\n    Align = alClient\r\n  end\r\n"
                            "  object Bottom1: TPanel\r\n    Top = 150\r\n    Height = 20\r\n"
                            "    Align = alBottom\r\n  end\r\n"
                            "  object Top2: TPanel\r\n    Top = 10\r\n    Height = 30\r\n    Align = alTop\r\n  end\r\n"
                            "  object Hidden: TPanel\r\n    Top = 35\r\n    Height = 25\r\n    Align = alTop\r\n"
                            "    Visible = False\r\n  end\r\n"
                            "  object Bottom2: TPanel\r\n    Top = 170\r\n    Height = 10\r\n"
                            "    Align = alBottom\r\n  end\r\n"
                            "  object Left1: TPanel\r\n    Width = 40\r\n    Align = alLeft\r\n  end\r\n"
                            "  object Right1: TAlignMark\r\n    Width = 30\r\n    Align = alRight\r\n  end\r\n"
                            "  object Corner: TPanel\r\n    Left = 250\r\n    Top = 100\r\n    Width = 20\r\n"
                            "    Height = 20\r\n    Anchors = [akRight, akBottom]\r\n  end\r\n"
                            "end\r\n");
    form->SetBounds(60, 500, 300, 200);
    form->Show();
    auto control = [&](const char* name) { return static_cast<TControl*>(form->FindComponent(name)); };
    TControl *top1 = control("Top1"), *top2 = control("Top2"), *hidden = control("Hidden"),
             *bottom1 = control("Bottom1"), *bottom2 = control("Bottom2"), *left = control("Left1"),
             *right = control("Right1"), *client = control("Client"), *corner = control("Corner");

    EXPECT_EQ(Placed(top2), (V{0, 0, 300, 30}));
    EXPECT_EQ(Placed(top1), (V{0, 30, 300, 20})) << "a hidden control takes no room";
    EXPECT_EQ(Placed(bottom2), (V{0, 190, 300, 10}));
    EXPECT_EQ(Placed(bottom1), (V{0, 170, 300, 20}));
    EXPECT_EQ(Placed(left), (V{0, 50, 40, 120}));
    EXPECT_EQ(Placed(right), (V{270, 50, 30, 120}));
    EXPECT_EQ(Placed(client), (V{40, 50, 230, 120}));
    EXPECT_EQ(Placed(corner), (V{250, 100, 20, 20}));

    // The user sizes the window: everything follows, the anchored control
    // keeps its distances to the right and bottom edges.
    SetWindowPos(form->Handle(), nullptr, 0, 0, 400, 300, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    EXPECT_EQ(Placed(top2), (V{0, 0, 400, 30}));
    EXPECT_EQ(Placed(bottom2), (V{0, 290, 400, 10}));
    EXPECT_EQ(Placed(right), (V{370, 50, 30, 220}));
    EXPECT_EQ(Placed(client), (V{40, 50, 330, 220}));
    EXPECT_EQ(Placed(corner), (V{350, 200, 20, 20}));

    // Showing the hidden one makes room for it where its position puts it.
    hidden->Show();
    EXPECT_EQ(Placed(top1), (V{0, 30, 400, 20}));
    EXPECT_EQ(Placed(hidden), (V{0, 50, 400, 25}));
    EXPECT_EQ(Placed(client), (V{40, 75, 330, 195}));

    // Moved past the others, a control changes places with them; a new
    // height pushes the rest.
    top1->SetTop(500);
    EXPECT_EQ(Placed(hidden), (V{0, 30, 400, 25}));
    EXPECT_EQ(Placed(top1), (V{0, 55, 400, 20}));
    top1->SetHeight(40);
    EXPECT_EQ(Placed(top1), (V{0, 55, 400, 40}));
    EXPECT_EQ(Placed(left), (V{0, 95, 40, 175}));
    bottom2->SetBounds(0, 0, 10, 30);
    EXPECT_EQ(Placed(bottom1), (V{0, 280, 400, 20})) << "now the nearer to the bottom edge";
    EXPECT_EQ(Placed(bottom2), (V{0, 250, 400, 30}));

    // Taking a control out of the layout leaves it where it is and gives its room away.
    top1->SetAlign(alNone);
    EXPECT_EQ(Placed(top1), (V{0, 55, 400, 40}));
    EXPECT_EQ(Placed(client), (V{40, 55, 330, 195}));
    left->Hide();
    EXPECT_EQ(Placed(client), (V{0, 55, 370, 195}));
    right->SetAlign(alLeft);
    EXPECT_EQ(Placed(right), (V{0, 55, 30, 195}));
    EXPECT_EQ(Placed(client), (V{30, 55, 370, 195}));
    // Controls coming and going take and give room too; equal positions keep
    // the order in which the controls came.
    hidden->Free();
    EXPECT_EQ(Placed(client), (V{30, 30, 370, 220}));
    auto* later = New<TPanel>(form);
    later->SetBounds(0, 0, 25, 10);
    later->SetAlign(alLeft);
    later->SetParent(form);
    EXPECT_EQ(Placed(right), (V{0, 30, 30, 220}));
    EXPECT_EQ(Placed(later), (V{30, 30, 25, 220}));
    EXPECT_EQ(Placed(client), (V{55, 30, 345, 220}));
    form->Free();
}

TEST_F(AlignTest, PanelsLayOutTheirOwnChildrenInsideTheirBevelsWhenTheyAreAlignedThemselves)
{
    TPanel* side = Panel(alLeft, 0, 0, 100, 10);
    side->SetBevelOuter(bvRaised);
    side->SetBorderWidth(3);
    TPanel* head = Add<TPanel>(side, alTop, 0, 0, 10, 20);
    TPanel* rest = Add<TPanel>(side, alClient, 0, 0, 10, 10);
    // Inside the bevel (1) and the border (3).
    EXPECT_EQ(Placed(head), (V{4, 4, 92, 20}));
    EXPECT_EQ(Placed(rest), (V{4, 24, 92, 172}));
    Form->SetBounds(60, 500, 300, 250);
    EXPECT_EQ(Placed(side), (V{0, 0, 100, 250}));
    EXPECT_EQ(Placed(rest), (V{4, 24, 92, 222}));
    side->SetBevelOuter(bvNone);
    EXPECT_EQ(Placed(head), (V{3, 3, 94, 20}));
    // A parent too small for its aligned children leaves them no room, never less.
    side->SetWidth(5);
    EXPECT_EQ(Placed(rest), (V{3, 23, 0, 224}));
}

TEST_F(AlignTest, ConstraintsLimitEverySizeTheControlTakes)
{
    TPanel* panel = Panel(alNone, 10, 10, 100, 50);
    TSizeConstraints* limits = panel->Constraints();
    limits->SetMinWidth(50);
    limits->SetMinHeight(30);
    limits->SetMaxWidth(200);
    limits->SetMaxHeight(100);
    panel->SetBounds(10, 10, 10, 10);
    EXPECT_EQ(Placed(panel), (V{10, 10, 50, 30}));
    panel->SetBounds(20, 20, 500, 500);
    EXPECT_EQ(Placed(panel), (V{20, 20, 200, 100}));

    // A new limit applies at once; a maximum below the minimum moves the
    // minimum down with it, and the other way round.
    limits->SetMaxWidth(120);
    EXPECT_EQ(Placed(panel), (V{20, 20, 120, 100}));
    limits->SetMaxWidth(40);
    EXPECT_EQ(limits->MinWidth(), 40);
    EXPECT_EQ(Placed(panel), (V{20, 20, 40, 100}));
    limits->SetMinHeight(150);
    EXPECT_EQ(limits->MaxHeight(), 150);
    EXPECT_EQ(Placed(panel), (V{20, 20, 40, 150}));
    limits->SetMaxWidth(0);
    limits->SetMinWidth(-5);
    EXPECT_EQ(limits->MinWidth(), 0);
    panel->SetWidth(300);
    EXPECT_EQ(Placed(panel), (V{20, 20, 300, 150}));

    // Alignment asks for sizes like anybody else.
    TPanel* client = Panel(alClient, 0, 0, 10, 10);
    client->Constraints()->SetMaxWidth(120);
    client->Constraints()->SetMaxHeight(90);
    EXPECT_EQ(Placed(client), (V{0, 0, 120, 90}));
    auto* bottom = Add<TAlignMark>(Form, alBottom, 0, 0, 10, 10);
    bottom->Constraints()->SetMinHeight(35);
    EXPECT_EQ(Placed(bottom), (V{0, 165, 300, 35}));

    // Copying constraints copies all four.
    TSizeConstraints copy(client);
    copy.Assign(limits);
    EXPECT_EQ(copy.MinHeight(), 150);
    EXPECT_EQ(copy.MaxWidth(), 0);
}

TEST_F(AlignTest, FormsKeepTheirConstraintsForProgramSystemMaximiseAndFrameDrag)
{
    TAlignForm* form = New<TAlignForm>(nullptr);
    form->SetBounds(120, 120, 300, 240);
    TSizeConstraints* limits = form->Constraints();
    limits->SetMinWidth(250);
    limits->SetMinHeight(200);
    limits->SetMaxWidth(500);
    limits->SetMaxHeight(400);
    TPanel* client = Add<TPanel>(form, alClient, 0, 0, 10, 10);
    form->Show();

    form->SetBounds(120, 120, 100, 100);
    EXPECT_EQ(WindowSize(form), (V{250, 200}));
    EXPECT_EQ(form->Width(), 250);
    // Sized by the system, as by another program.
    SetWindowPos(form->Handle(), nullptr, 0, 0, 900, 900, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    EXPECT_EQ(WindowSize(form), (V{500, 400}));
    EXPECT_EQ(form->Height(), 400);
    EXPECT_EQ(Placed(client), (V{0, 0, form->ClientWidth(), form->ClientHeight()}));

    MINMAXINFO info{};
    info.ptMaxSize = {2000, 2000};
    info.ptMaxTrackSize = {3000, 3000};
    SendMessageA(form->Handle(), WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info));
    EXPECT_EQ(info.ptMinTrackSize.x, 250);
    EXPECT_EQ(info.ptMinTrackSize.y, 200);
    EXPECT_EQ(info.ptMaxTrackSize.x, 500);
    EXPECT_EQ(info.ptMaxTrackSize.y, 400);

    ShowWindow(form->Handle(), SW_MAXIMIZE);
    EXPECT_EQ(WindowSize(form), (V{500, 400}));
    EXPECT_EQ(Placed(client), (V{0, 0, form->ClientWidth(), form->ClientHeight()}));
    ShowWindow(form->Handle(), SW_RESTORE);
    // Where no other test puts a window: the sizing loop moves the real
    // pointer along the right edge, and its moves go to the window under it.
    form->SetBounds(980, 380, 300, 240);
    SetWindowPos(form->Handle(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);

    // The user sizes the frame with the keyboard, in the system's own sizing
    // loop (which moves the pointer along): the right edge stops at the
    // minimum width. The keys come one by one from another thread while the
    // loop runs, as typed keys would.
    POINT pointer;
    GetCursorPos(&pointer);
    const HWND window = form->Handle();
    std::thread typist([window] {
        for (int i = 0; i < 14; ++i) {
            Sleep(60);
            PostMessageA(window, WM_KEYDOWN, i == 0 ? VK_RIGHT : i == 13 ? VK_RETURN : VK_LEFT, 0);
        }
    });
    SendMessageA(window, WM_SYSCOMMAND, SC_SIZE, 0);
    typist.join();
    SetCursorPos(pointer.x, pointer.y);
    EXPECT_EQ(WindowSize(form), (V{250, 240}));
    EXPECT_EQ(form->Width(), 250);
    form->Free();
}

TEST_F(AlignTest, AlignAndConstraintsRoundTripThroughFormText)
{
    const std::string text = "object Laid: TAlignForm\r\n"
                             "  Left = 0\r\n"
                             "  Top = 0\r\n"
                             "  Width = 308\r\n"
                             "  Height = 227\r\n"
                             "  Color = clBtnFace\r\n"
                             "  Constraints.MinWidth = 200\r\n"
                             "  Constraints.MaxHeight = 600\r\n"
                             "  ClientWidth = 300\r\n"
                             "  ClientHeight = 200\r\n"
                             "  object Head: TPanel\r\n"
                             "    Left = 0\r\n"
                             "    Top = 0\r\n"
                             "    Width = 300\r\n"
                             "    Height = 40\r\n"
                             "    Align = alTop\r\n"
                             "    Constraints.MinHeight = 40\r\n"
                             "    Constraints.MaxWidth = 900\r\n"
                             "    Color = clBtnFace\r\n"
                             "    TabOrder = 0\r\n"
                             "    object Title: TLabel\r\n"
                             "      Left = 1\r\n"
                             "      Top = 1\r\n"
                             "      Width = 298\r\n"
                             "      Height = 38\r\n"
                             "      Align = alClient\r\n"
                             "      Color = clBtnFace\r\n"
                             "    end\r\n"
                             "  end\r\n"
                             "  object Mark: TAlignMark\r\n"
                             "    Left = 260\r\n"
                             "    Top = 40\r\n"
                             "    Width = 40\r\n"
                             "    Height = 160\r\n"
                             "    Align = alRight\r\n"
                             "  end\r\n"
                             "end\r\n";
    RegisterClasses({&TAlignMark::StaticClassInfo()});
    TAlignForm* form = New<TAlignForm>(nullptr);
    ReadComponentText(form, text);
    EXPECT_EQ(WriteComponentText(form), text);
    auto* head = static_cast<TPanel*>(form->FindComponent("Head"));
    EXPECT_EQ(head->Align(), alTop);
    EXPECT_EQ(head->Constraints()->MaxWidth(), 900);
    EXPECT_EQ(form->Constraints()->MinWidth(), 200);
    // Read whole, the form lays itself out; the label fills its panel's
    // inside, as the file has it.
    auto* title = static_cast<TControl*>(form->FindComponent("Title"));
    EXPECT_EQ(Placed(title), (V{1, 1, 298, 38}));
    form->Free();

    // A file without either reads as before: nothing aligned, no limits.
    TAlignForm* old = New<TAlignForm>(nullptr);
    ReadComponentText(old, "object Old: TAlignForm\r\n"
                           "  ClientWidth = 100\r\n"
                           "  ClientHeight = 80\r\n"
                           "  object Plain: TPanel\r\n"
                           "    Left = 5\r\n"
                           "    Top = 6\r\n"
                           "    Width = 50\r\n"
                           "    Height = 20\r\n"
                           "  end\r\n"
                           "end\r\n");
    auto* plain = static_cast<TPanel*>(old->FindComponent("Plain"));
    EXPECT_EQ(plain->Align(), alNone);
    EXPECT_EQ(Placed(plain), (V{5, 6, 50, 20}));
    EXPECT_EQ(WriteComponentText(old).find("Constraints"), std::string::npos);
    old->Free();
}
