// Actions seen from the controls linked to them and from the keyboard:
// what the windows show, what a click or a shortcut runs, what is written.
#include "platform/Action.h"
#include "platform/Application.h"
#include "platform/Form.h"
#include "platform/FormFile.h"
#include "platform/Label.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace platform;

namespace {

std::vector<std::string> Journal;

std::string Who(TObject* O)
{
    auto* component = dynamic_cast<TComponent*>(O);
    return component ? component->Name() : "?";
}

class TActionForm : public TForm {
    PLATFORM_CLASS(TActionForm, TForm)
public:
    explicit TActionForm(TComponent* AOwner) : TForm(AOwner) {}

    void Run(TObject* Sender) { Journal.push_back(Who(Sender) + " runs"); }
    void Refresh(TObject* Sender) { Journal.push_back(Who(Sender) + " updates"); }
    void Clicked(TObject* Sender) { Journal.push_back(Who(Sender) + " clicked"); }

    TActionList* List = nullptr;
    TAction* Bold = nullptr;
    TAction* Quiet = nullptr;
    TPanel* First = nullptr;
    TPanel* Second = nullptr;
};

const TClassInfo& TActionForm::StaticClassInfo()
{
    static const TClassInfo& info = TClassBuilder<TActionForm, TForm>("TActionForm")
        .Field("List", &TActionForm::List)
        .Field("Bold", &TActionForm::Bold)
        .Field("Quiet", &TActionForm::Quiet)
        .Field("First", &TActionForm::First)
        .Field("Second", &TActionForm::Second)
        .Method("Run", &TActionForm::Run)
        .Method("Refresh", &TActionForm::Refresh)
        .Method("Clicked", &TActionForm::Clicked)
        .Build();
    return info;
}

// Two panels linked to one action, a second action without a handler.
const char* const ActionFormText = "object Actions: TActionForm\r\n"
                                   "  Left = 80\r\n"
                                   "  Top = 620\r\n"
                                   "  Width = 300\r\n"
                                   "  Height = 150\r\n"
                                   "  Color = clBtnFace\r\n"
                                   "  BorderStyle = bsNone\r\n"
                                   "  ClientWidth = 300\r\n"
                                   "  ClientHeight = 150\r\n"
                                   "  object First: TPanel\r\n"
                                   "    Left = 10\r\n"
                                   "    Top = 10\r\n"
                                   "    Width = 100\r\n"
                                   "    Height = 40\r\n"
                                   "    Hint = 'Bold|Makes the text bold'\r\n"
                                   "    Action = Bold\r\n"
                                   "    Caption = 'Bold'\r\n"
                                   "    Color = clBtnFace\r\n"
                                   "    TabOrder = 0\r\n"
                                   "  end\r\n"
                                   "  object Second: TPanel\r\n"
                                   "    Left = 120\r\n"
                                   "    Top = 10\r\n"
                                   "    Width = 100\r\n"
                                   "    Height = 40\r\n"
                                   "    Hint = 'Bold|Makes the text bold'\r\n"
                                   "    Action = Bold\r\n"
                                   "    Caption = 'Bold'\r\n"
                                   "    Color = clBtnFace\r\n"
                                   "    TabOrder = 1\r\n"
                                   "    OnClick = Clicked\r\n"
                                   "  end\r\n"
                                   "  object List: TActionList\r\n"
                                   "    object Bold: TAction\r\n"
                                   "      Caption = 'Bold'\r\n"
                                   "      Hint = 'Bold|Makes the text bold'\r\n"
                                   "      ShortCut = 16450\r\n"
                                   "      OnExecute = Run\r\n"
                                   "    end\r\n"
                                   "    object Quiet: TAction\r\n"
                                   "      Caption = 'Quiet'\r\n"
                                   "      Checked = True\r\n"
                                   "      Enabled = False\r\n"
                                   "      Visible = False\r\n"
                                   "      OnUpdate = Refresh\r\n"
                                   "    end\r\n"
                                   "  end\r\n"
                                   "end\r\n";

std::string WindowText(TWinControl* Control)
{
    char text[256] = {};
    GetWindowTextA(Control->Handle(), text, sizeof text);
    return text;
}

void Click(TWinControl* Control)
{
    PostMessageA(Control->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    PostMessageA(Control->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    Application->ProcessMessages();
}

// A key typed into Control with Ctrl held.
void CtrlKey(TWinControl* Control, WORD Key)
{
    BYTE keys[256];
    GetKeyboardState(keys);
    const BYTE ctrl = keys[VK_CONTROL];
    keys[VK_CONTROL] = 0x80;
    SetKeyboardState(keys);
    PostMessageA(Control->Handle(), WM_KEYDOWN, Key, 0);
    Application->ProcessMessages();
    keys[VK_CONTROL] = ctrl;
    SetKeyboardState(keys);
}

class ActionTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        Journal.clear();
        Application->Initialize();
        Form = New<TActionForm>(nullptr);
        ReadComponentText(Form, ActionFormText);
        Form->Show();
        Application->ProcessMessages();
    }
    void TearDown() override { FreeAndNil(Form); }
    TActionForm* Form = nullptr;
};

} // namespace

TEST_F(ActionTest, ControlsShowTheirActionAndFollowEveryChangeUntilItGoes)
{
    TPanel* first = Form->First;
    TPanel* second = Form->Second;
    TAction* bold = Form->Bold;
    EXPECT_EQ(Form->List->ActionCount(), 2);
    EXPECT_EQ(bold->ActionList(), Form->List);

    bold->SetCaption("Heavy");
    EXPECT_EQ(WindowText(first), "Heavy");
    EXPECT_EQ(WindowText(second), "Heavy");
    bold->SetHint("Heavy|Heavier text");
    EXPECT_EQ(second->Hint(), "Heavy|Heavier text");
    bold->SetEnabled(false);
    EXPECT_FALSE(IsWindowEnabled(first->Handle()));
    EXPECT_FALSE(IsWindowEnabled(second->Handle()));
    bold->SetEnabled(true);
    EXPECT_TRUE(IsWindowEnabled(first->Handle()));
    bold->SetVisible(false);
    EXPECT_FALSE(IsWindowVisible(first->Handle()));
    bold->SetVisible(true);
    EXPECT_TRUE(IsWindowVisible(second->Handle()));

    // Linked later, a control takes the action's state at once.
    auto* late = New<TPanel>(Form);
    late->SetParent(Form);
    late->SetBounds(10, 60, 100, 40);
    late->SetAction(Form->Quiet);
    EXPECT_EQ(WindowText(late), "Quiet");
    EXPECT_FALSE(IsWindowEnabled(late->Handle()));
    EXPECT_FALSE(IsWindowVisible(late->Handle()));

    // A click runs the action's handler, also on a control with an OnClick
    // of its own; without an action handler the control's own runs.
    Click(first);
    Click(second);
    EXPECT_EQ(Journal, (std::vector<std::string>{"Bold runs", "Bold runs"}));
    Journal.clear();
    bold->OnExecute = nullptr;
    Click(second);
    EXPECT_EQ(Journal, std::vector<std::string>{"Second clicked"});

    // A freed client is forgotten; a freed action leaves its controls as
    // they were, linked to nothing, their clicks their own.
    first->Free();
    Form->First = nullptr;
    bold->SetCaption("Strong");
    EXPECT_EQ(WindowText(second), "Strong");
    bold->Free();
    Form->Bold = nullptr;
    EXPECT_EQ(second->Action(), nullptr);
    EXPECT_EQ(WindowText(second), "Strong");
    Journal.clear();
    Click(second);
    EXPECT_EQ(Journal, std::vector<std::string>{"Second clicked"});
    EXPECT_EQ(WriteComponentText(Form).find("Action = Bold"), std::string::npos);
    // A freed list lets its actions go on alone.
    Form->List->Free();
    EXPECT_EQ(Form->Quiet->ActionList(), nullptr);
    EXPECT_NE(WriteComponentText(Form).find("  object Quiet: TAction\r\n"), std::string::npos);
}

TEST_F(ActionTest, ActionsUpdateWhenIdleAndShortcutsOfTheActiveFormExecuteThem)
{
    // Nothing waiting: the loop lets the actions update before it waits.
    Form->Quiet->OnUpdate = [this](TObject* sender) {
        Form->Refresh(sender);
        Form->Quiet->SetEnabled(true);
    };
    const UINT_PTR timer = SetTimer(nullptr, 0, 50, nullptr);
    Application->ProcessMessages();
    EXPECT_TRUE(Journal.empty());
    Application->HandleMessage();
    KillTimer(nullptr, timer);
    ASSERT_FALSE(Journal.empty());
    EXPECT_EQ(Journal.front(), "Quiet updates");
    Journal.clear();

    // Ctrl+B in the form runs Bold and never reaches the control; other
    // keys and other forms' keys do.
    std::vector<WORD> keys;
    Form->Second->OnKeyDown = [&](TObject*, WORD& key, TShiftState) { keys.push_back(key); };
    Form->Second->SetTabStop(true);
    Form->Second->SetFocus();
    CtrlKey(Form->Second, 'B');
    EXPECT_EQ(Journal, std::vector<std::string>{"Bold runs"});
    EXPECT_TRUE(keys.empty());
    CtrlKey(Form->Second, 'C');
    EXPECT_EQ(keys, std::vector<WORD>{'C'});
    PostMessageA(Form->Second->Handle(), WM_KEYDOWN, 'B', 0);
    Application->ProcessMessages();
    EXPECT_EQ(keys, (std::vector<WORD>{'C', 'B'})) << "B without Ctrl is no shortcut";

    TActionForm* other = New<TActionForm>(nullptr);
    auto* field = New<TPanel>(other);
    field->SetParent(other);
    other->Show();
    Journal.clear();
    CtrlKey(field, 'B');
    EXPECT_TRUE(Journal.empty()) << "Bold belongs to the other form";
    other->Free();

    // A disabled action lets its shortcut through to the control.
    Form->Bold->SetEnabled(false);
    Form->Second->SetEnabled(true);
    keys.clear();
    CtrlKey(Form->Second, 'B');
    EXPECT_TRUE(Journal.empty());
    EXPECT_EQ(keys, std::vector<WORD>{'B'});
    // ... or to an enabled action later in the list with the same shortcut.
    auto* strong = New<TAction>(Form);
    strong->SetName("Strong");
    strong->SetActionList(Form->List);
    strong->SetShortCut(ShortCut('B', {ssCtrl}));
    strong->OnExecute = [this](TObject* sender) { Form->Run(sender); };
    keys.clear();
    CtrlKey(Form->Second, 'B');
    EXPECT_EQ(Journal, std::vector<std::string>{"Strong runs"});
    EXPECT_TRUE(keys.empty());
    strong->Free();
    EXPECT_EQ(ShortCut('B', {ssCtrl}), 16450);
    EXPECT_EQ(ShortCut(VK_F5, {ssShift, ssAlt}), VK_F5 | scShift | scAlt);
}

TEST_F(ActionTest, ActionListsAndLinksRoundTripThroughFormText)
{
    TActionForm* read = New<TActionForm>(nullptr);
    ReadComponentText(read, ActionFormText);
    EXPECT_EQ(WriteComponentText(read), ActionFormText);
    read->Free();
    EXPECT_EQ(Form->Bold->ShortCut(), ShortCut('B', {ssCtrl}));
    EXPECT_TRUE(Form->Quiet->Checked());
    EXPECT_FALSE(Form->Quiet->Enabled());
    EXPECT_FALSE(Form->Quiet->Visible());
    EXPECT_TRUE(Form->Bold->OnExecute);
    EXPECT_TRUE(Form->Quiet->OnUpdate);
    const auto standard = PaletteComponents("Standard");
    EXPECT_NE(std::find(standard.begin(), standard.end(), &TActionList::StaticClassInfo()), standard.end());

    // An action nested in anything but a list cannot be read.
    TActionForm* wrong = New<TActionForm>(nullptr);
    EXPECT_THROW(ReadComponentText(wrong, "object Wrong: TActionForm\r\n"
                                          "  object First: TPanel\r\n"
                                          "    object Bold: TAction\r\n"
                                          "    end\r\n"
                                          "  end\r\n"
                                          "end\r\n"),
                 EReadError);
    wrong->Free();
}
