// The framework features every published control carries: hints, the context
// menu, anchors, drag and drop, and the streaming of their properties.
#include "platform/Application.h"
#include "platform/Form.h"
#include "platform/FormFile.h"
#include "platform/Menu.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace platform;

namespace {

std::vector<std::string> Journal;

// A windowed control publishing the framework's usual properties and events.
class TTestPad : public TCustomControl {
    PLATFORM_CLASS(TTestPad, TCustomControl)
public:
    explicit TTestPad(TComponent* AOwner) : TCustomControl(AOwner) {}
};

const TClassInfo& TTestPad::StaticClassInfo()
{
    static const TClassInfo& info = TClassBuilder<TTestPad, TCustomControl>("TTestPad")
        .Publish({"Action", "Anchors", "DragCursor", "DragKind", "DragMode", "Enabled", "ParentShowHint",
                  "PopupMenu", "ShowHint", "TabOrder", "TabStop", "Visible", "OnClick", "OnContextPopup",
                  "OnDragDrop", "OnDragOver", "OnEndDock", "OnEndDrag", "OnEnter", "OnExit", "OnKeyDown",
                  "OnKeyPress", "OnKeyUp", "OnMouseDown", "OnMouseMove", "OnMouseUp", "OnStartDock",
                  "OnStartDrag"})
        .Build();
    return info;
}

// Stands for an action a designer links to a control.
class TTestAction : public TComponent {
    PLATFORM_CLASS(TTestAction, TComponent)
public:
    explicit TTestAction(TComponent* AOwner) : TComponent(AOwner) {}
};

const TClassInfo& TTestAction::StaticClassInfo()
{
    static const TClassInfo& info = TClassBuilder<TTestAction, TComponent>("TTestAction").Build();
    return info;
}

class TPadForm : public TForm {
    PLATFORM_CLASS(TPadForm, TForm)
public:
    explicit TPadForm(TComponent* AOwner) : TForm(AOwner) {}

    void Notify(TObject* Sender) { Journal.push_back(Who(Sender) + " notify"); }
    void ContextPopup(TObject* Sender, TPoint P, bool& Handled)
    {
        Journal.push_back(Who(Sender) + " context " + std::to_string(P.x) + "," + std::to_string(P.y));
        Handled = HandleContext;
    }
    void DragOver(TObject* Sender, TObject* Source, int X, int Y, TDragState State, bool& Accept)
    {
        Journal.push_back(Who(Sender) + " over " + Who(Source) + " " + std::to_string(X) + "," +
                          std::to_string(Y) + " " + std::to_string(State));
        Accept = AcceptDrop;
    }
    void DragDrop(TObject* Sender, TObject* Source, int X, int Y)
    {
        Journal.push_back(Who(Sender) + " drop " + Who(Source) + " " + std::to_string(X) + "," +
                          std::to_string(Y));
    }
    void EndDrag(TObject* Sender, TObject* Target, int, int)
    {
        Journal.push_back(Who(Sender) + " end " + (Target ? Who(Target) : "nothing"));
    }
    void StartDrag(TObject* Sender, TDragObject*&) { Journal.push_back(Who(Sender) + " start"); }
    void Key(TObject*, WORD&, TShiftState) {}
    void KeyPress(TObject*, char&) {}
    void Mouse(TObject*, TMouseButton, TShiftState, int, int) {}
    void MouseMove(TObject*, TShiftState, int, int) {}

    static std::string Who(TObject* O)
    {
        auto* component = dynamic_cast<TComponent*>(O);
        return component ? component->Name() : "?";
    }

    TPopupMenu* Menu1 = nullptr;
    TTestAction* Action1 = nullptr;
    TTestPad* Pad1 = nullptr;
    TTestPad* Pad2 = nullptr;
    bool HandleContext = false;
    bool AcceptDrop = true;
};

const TClassInfo& TPadForm::StaticClassInfo()
{
    static const TClassInfo& info = TClassBuilder<TPadForm, TForm>("TPadForm")
        .Field("Menu1", &TPadForm::Menu1)
        .Field("Action1", &TPadForm::Action1)
        .Field("Pad1", &TPadForm::Pad1)
        .Field("Pad2", &TPadForm::Pad2)
        .Method("Notify", &TPadForm::Notify)
        .Method("ContextPopup", &TPadForm::ContextPopup)
        .Method("DragOver", &TPadForm::DragOver)
        .Method("DragDrop", &TPadForm::DragDrop)
        .Method("EndDrag", &TPadForm::EndDrag)
        .Method("StartDrag", &TPadForm::StartDrag)
        .Method("Key", &TPadForm::Key)
        .Method("KeyPress", &TPadForm::KeyPress)
        .Method("Mouse", &TPadForm::Mouse)
        .Method("MouseMove", &TPadForm::MouseMove)
        .Build();
    return info;
}

} // namespace

TEST(ControlFeatures, PropertiesStreamWithTheirDefaultsAndRoundTrip)
{
    const std::string text = "object PadForm: TPadForm\r\n"
                             "  Left = 0\r\n"
                             "  Top = 0\r\n"
                             "  Width = 308\r\n"
                             "  Height = 227\r\n"
                             "  Hint = 'Form hint'\r\n"
                             "  Color = clBtnFace\r\n"
                             "  ShowHint = True\r\n"
                             "  ClientWidth = 300\r\n"
                             "  ClientHeight = 200\r\n"
                             "  object Pad1: TTestPad\r\n"
                             "    Left = 10\r\n"
                             "    Top = 20\r\n"
                             "    Width = 30\r\n"
                             "    Height = 40\r\n"
                             "    Cursor = crHandPoint\r\n"
                             "    Hint = 'Pad one'\r\n"
                             "    HelpContext = 17\r\n"
                             "    Action = Action1\r\n"
                             "    Anchors = [akTop, akRight, akBottom]\r\n"
                             "    DragCursor = crNoDrop\r\n"
                             "    DragKind = dkDock\r\n"
                             "    DragMode = dmAutomatic\r\n"
                             "    Enabled = False\r\n"
                             "    ParentShowHint = False\r\n"
                             "    PopupMenu = Menu1\r\n"
                             "    TabOrder = 1\r\n"
                             "    TabStop = True\r\n"
                             "    Visible = False\r\n"
                             "    OnClick = Notify\r\n"
                             "    OnContextPopup = ContextPopup\r\n"
                             "    OnDragDrop = DragDrop\r\n"
                             "    OnDragOver = DragOver\r\n"
                             "    OnEndDock = EndDrag\r\n"
                             "    OnEndDrag = EndDrag\r\n"
                             "    OnEnter = Notify\r\n"
                             "    OnExit = Notify\r\n"
                             "    OnKeyDown = Key\r\n"
                             "    OnKeyPress = KeyPress\r\n"
                             "    OnKeyUp = Key\r\n"
                             "    OnMouseDown = Mouse\r\n"
                             "    OnMouseMove = MouseMove\r\n"
                             "    OnMouseUp = Mouse\r\n"
                             "    OnStartDock = StartDrag\r\n"
                             "    OnStartDrag = StartDrag\r\n"
                             "  end\r\n"
                             "  object Pad2: TTestPad\r\n"
                             "    Left = 50\r\n"
                             "    Top = 20\r\n"
                             "    Width = 30\r\n"
                             "    Height = 40\r\n"
                             "    TabOrder = 0\r\n"
                             "  end\r\n"
                             "  object Menu1: TPopupMenu\r\n"
                             "  end\r\n"
                             "  object Action1: TTestAction\r\n"
                             "  end\r\n"
                             "end\r\n";
    TPadForm* form = New<TPadForm>(nullptr);
    ReadComponentText(form, text);
    EXPECT_EQ(WriteComponentText(form), text);

    TTestPad* pad = form->Pad1;
    EXPECT_EQ(pad->Cursor(), crHandPoint);
    EXPECT_EQ(pad->Hint(), "Pad one");
    EXPECT_EQ(pad->HelpContext(), 17);
    EXPECT_EQ(pad->Action(), form->Action1);
    EXPECT_EQ(pad->Anchors(), (TAnchors{akTop, akRight, akBottom}));
    EXPECT_EQ(pad->DragCursor(), crNoDrop);
    EXPECT_EQ(pad->DragKind(), dkDock);
    EXPECT_EQ(pad->DragMode(), dmAutomatic);
    EXPECT_FALSE(pad->Enabled());
    EXPECT_FALSE(pad->ParentShowHint());
    EXPECT_FALSE(pad->ShowHint()) << "its own setting, not the form's";
    EXPECT_EQ(pad->PopupMenu(), form->Menu1);
    EXPECT_FALSE(pad->Visible());
    EXPECT_EQ(pad->TabOrder(), 1);
    EXPECT_TRUE(pad->TabStop());
    for (bool set : {bool(pad->OnContextPopup), bool(pad->OnDragDrop), bool(pad->OnDragOver),
                     bool(pad->OnEndDock), bool(pad->OnEndDrag), bool(pad->OnStartDock), bool(pad->OnStartDrag),
                     bool(pad->OnEnter), bool(pad->OnKeyPress), bool(pad->OnMouseMove)})
        EXPECT_TRUE(set);

    // The second pad has every default: it follows the form's ShowHint and
    // keeps the drag settings of a fresh control.
    TTestPad* plain = form->Pad2;
    EXPECT_TRUE(plain->ShowHint());
    EXPECT_TRUE(plain->ParentShowHint());
    EXPECT_EQ(plain->DragCursor(), crDrag);
    EXPECT_EQ(plain->DragKind(), dkDrag);
    EXPECT_EQ(plain->DragMode(), dmManual);
    EXPECT_EQ(plain->Anchors(), (TAnchors{akLeft, akTop}));
    EXPECT_EQ(plain->PopupMenu(), nullptr);

    // Freed references are forgotten and no longer written.
    form->Menu1->Free();
    form->Action1->Free();
    EXPECT_EQ(pad->PopupMenu(), nullptr);
    EXPECT_EQ(pad->Action(), nullptr);
    const std::string after = WriteComponentText(form);
    EXPECT_EQ(after.find("PopupMenu ="), std::string::npos);
    EXPECT_EQ(after.find("Action ="), std::string::npos);

    // A reference to a menu of another owner is cleared when it goes too.
    auto* foreign = new TPopupMenu(nullptr);
    plain->SetPopupMenu(foreign);
    foreign->Free();
    EXPECT_EQ(plain->PopupMenu(), nullptr);
    form->Free();
}
