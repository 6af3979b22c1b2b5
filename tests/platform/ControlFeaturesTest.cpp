// The framework features every published control carries: hints, the context
// menu, anchors, drag and drop, and the streaming of their properties.
#include "platform/Action.h"
#include "platform/Application.h"
#include "platform/Form.h"
#include "platform/FormFile.h"
#include "platform/Menu.h"
#include "InterceptedServices.h"
#include "MenuDriver.h"
#include "MessagePump.h"
#include "support/ProcessWindows.h"

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
    using TCustomControl::DragOver;
};

// A graphic control with a context menu of its own.
class TTestMark : public TGraphicControl {
    PLATFORM_CLASS(TTestMark, TGraphicControl)
public:
    explicit TTestMark(TComponent* AOwner) : TGraphicControl(AOwner) {}
};

const TClassInfo& TTestMark::StaticClassInfo()
{
    static const TClassInfo& info = TClassBuilder<TTestMark, TGraphicControl>("TTestMark").Build();
    return info;
}

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
    void BeginDragOnPress(TObject* Sender, TMouseButton, TShiftState, int, int)
    {
        static_cast<TControl*>(Sender)->BeginDrag(false);
    }
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
    TAction* Action1 = nullptr;
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
        .Method("BeginDragOnPress", &TPadForm::BeginDragOnPress)
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
                             "  object Action1: TAction\r\n"
                             "    Enabled = False\r\n"
                             "    Hint = 'Pad one'\r\n"
                             "    Visible = False\r\n"
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

namespace {

void Post(HWND Wnd, UINT Msg, WPARAM W, int X, int Y)
{
    PostMessageA(Wnd, Msg, W, MAKELPARAM(X, Y));
    Application->ProcessMessages();
}

// A borderless form placed away from the real pointer (which rests at the
// middle of the display) and from the windows of the other tests.
class ControlFeaturesTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        Journal.clear();
        Application->Initialize();
        Form = New<TPadForm>(nullptr);
        Form->SetName("PadForm");
        Form->SetBorderStyle(bsNone);
        Form->SetBounds(700, 560, 300, 200);
        Form->Pad1 = AddPad("Pad1", 10, 20, 60, 40);
        Form->Pad2 = AddPad("Pad2", 100, 20, 60, 40);
        Form->Show();
        Application->ProcessMessages();
    }
    void TearDown() override
    {
        Form->Free();
        Application->SetShowHint(true);
    }
    TTestPad* AddPad(const std::string& Name, int Left, int Top, int Width, int Height)
    {
        TTestPad* pad = New<TTestPad>(Form);
        pad->SetName(Name);
        pad->SetBounds(Left, Top, Width, Height);
        pad->SetParent(Form);
        return pad;
    }
    // Puts the pointer at (X, Y) of Control and tells the window under it.
    void MoveTo(TWinControl* Control, int X, int Y)
    {
        Services.Cursor = Control->ClientToScreen(Point(X, Y));
        Post(Control->Handle(), WM_MOUSEMOVE, 0, X, Y);
    }
    TInterceptedServices Services;
    TPadForm* Form = nullptr;
};

HWND ShownHintWindow()
{
    return testsupport::VisibleProcessWindow(GetCurrentProcessId(), "THintWindow");
}

std::string WindowText(HWND Wnd)
{
    char text[256] = {};
    GetWindowTextA(Wnd, text, sizeof text);
    return text;
}

} // namespace

TEST_F(ControlFeaturesTest, HintWindowAppearsAfterThePauseAndGoesOnLeaveOrKey)
{
    TTestPad* pad = Form->Pad1;
    pad->SetHint("Pad one says hello");
    pad->SetShowHint(true);
    Application->SetHintPause(300);
    Application->SetHintHidePause(5000);

    // Nothing before the pause, then a real window beneath the pointer,
    // painted in the hint colours with the text on it.
    const DWORD start = GetTickCount();
    MoveTo(pad, 5, 6);
    PumpFor(150);
    EXPECT_EQ(ShownHintWindow(), nullptr);
    ASSERT_TRUE(PumpUntil([] { return ShownHintWindow() != nullptr; }, 3000));
    EXPECT_GE(GetTickCount() - start, 300u);
    HWND hint = ShownHintWindow();
    EXPECT_EQ(WindowText(hint), "Pad one says hello");
    EXPECT_TRUE(GetWindowLongA(hint, GWL_EXSTYLE) & WS_EX_TOPMOST);
    EXPECT_NE(GetActiveWindow(), hint);
    RECT r;
    GetWindowRect(hint, &r);
    EXPECT_EQ(r.left, 700 + 10 + 5);
    EXPECT_GT(r.top, 560 + 20 + 6);
    EXPECT_LT(r.top, 560 + 20 + 6 + 40);
    PumpFor(100);
    HDC dc = GetDC(hint);
    const COLORREF background = ColorToRGB(clInfoBk), text = ColorToRGB(clInfoText);
    EXPECT_EQ(GetPixel(dc, 2, 2), background);
    int textPixels = 0;
    for (int y = 0; y < r.bottom - r.top; ++y)
        for (int x = 0; x < r.right - r.left; ++x)
            textPixels += GetPixel(dc, x, y) == text;
    ReleaseDC(hint, dc);
    EXPECT_GT(textPixels, 30);

    // A key hides it, and it stays away while the pointer stays on the pad.
    Post(pad->Handle(), WM_KEYDOWN, 'A', 0, 0);
    EXPECT_EQ(ShownHintWindow(), nullptr);
    MoveTo(pad, 8, 8);
    PumpFor(500);
    EXPECT_EQ(ShownHintWindow(), nullptr);
    // A key during the pause keeps it from coming at all.
    MoveTo(Form->Pad2, 5, 5);
    MoveTo(pad, 5, 5);
    Post(pad->Handle(), WM_KEYDOWN, 'A', 0, 0);
    PumpFor(600);
    EXPECT_EQ(ShownHintWindow(), nullptr);

    // Over a control without a hint and back: it shows again; the pointer
    // leaving the program's windows takes it away.
    MoveTo(Form->Pad2, 5, 5);
    MoveTo(pad, 5, 5);
    ASSERT_TRUE(PumpUntil([] { return ShownHintWindow() != nullptr; }, 3000));
    Services.Cursor = Point(20, 20);
    EXPECT_TRUE(PumpUntil([] { return ShownHintWindow() == nullptr; }, 2000));

    // Moving to another control hides it at once; a mouse button too.
    MoveTo(pad, 5, 5);
    ASSERT_TRUE(PumpUntil([] { return ShownHintWindow() != nullptr; }, 3000));
    MoveTo(Form->Pad2, 5, 5);
    EXPECT_EQ(ShownHintWindow(), nullptr);
    MoveTo(pad, 5, 5);
    ASSERT_TRUE(PumpUntil([] { return ShownHintWindow() != nullptr; }, 3000));
    Post(pad->Handle(), WM_RBUTTONDOWN, MK_RBUTTON, 5, 5);
    EXPECT_EQ(ShownHintWindow(), nullptr);
    Post(pad->Handle(), WM_RBUTTONUP, 0, 5, 5);

    // It goes by itself after the hide pause.
    Application->SetHintHidePause(300);
    MoveTo(Form->Pad2, 5, 5);
    MoveTo(pad, 5, 5);
    ASSERT_TRUE(PumpUntil([] { return ShownHintWindow() != nullptr; }, 3000));
    EXPECT_TRUE(PumpUntil([] { return ShownHintWindow() == nullptr; }, 3000));
}

TEST_F(ControlFeaturesTest, ADisabledControlShowsItsHintThroughItsParent)
{
    // The system hands the pointer over a disabled window to its parent;
    // the hint is still the disabled control's, which often says why.
    Application->SetHintPause(100);
    TTestPad* pad = Form->Pad1;
    pad->SetHint("Why it is off");
    pad->SetShowHint(true);
    pad->SetEnabled(false);
    MoveTo(Form, pad->Left() + 5, pad->Top() + 5);
    ASSERT_TRUE(PumpUntil([] { return ShownHintWindow() != nullptr; }, 3000));
    EXPECT_EQ(WindowText(ShownHintWindow()), "Why it is off");
    Application->CancelHint();
    // Beside it, the form's own (none).
    MoveTo(Form, pad->Left() + pad->Width() + 5, pad->Top() + 5);
    PumpFor(400);
    EXPECT_EQ(ShownHintWindow(), nullptr);
}

TEST_F(ControlFeaturesTest, HintsFollowShowHintOfTheControlItsParentsAndTheApplication)
{
    Application->SetHintPause(100);
    TTestPad* pad = Form->Pad2;
    pad->SetHint("Second");
    auto hintFor = [&](TTestPad* over) {
        MoveTo(Form->Pad1 == over ? Form->Pad2 : Form->Pad1, 1, 1);
        MoveTo(over, 5, 5);
        PumpUntil([] { return ShownHintWindow() != nullptr; }, 1500);
        const std::string text = ShownHintWindow() ? WindowText(ShownHintWindow()) : "";
        Application->CancelHint();
        return text;
    };
    // The pad follows its form, which shows no hints.
    EXPECT_EQ(hintFor(pad), "");
    Form->SetShowHint(true);
    EXPECT_EQ(hintFor(pad), "Second");
    // A pad that shows hints but has no text shows its parent's.
    Form->SetHint("The form");
    EXPECT_EQ(hintFor(Form->Pad1), "The form");
    pad->SetShowHint(false);
    EXPECT_FALSE(pad->ParentShowHint());
    EXPECT_EQ(hintFor(pad), "The form");
    Form->SetShowHint(false);
    pad->SetShowHint(true);
    Application->SetShowHint(false);
    EXPECT_EQ(hintFor(pad), "");
    Application->SetShowHint(true);
    EXPECT_EQ(hintFor(pad), "Second");

    // A control freed under a pending hint leaves nothing behind.
    MoveTo(pad, 5, 5);
    pad->Free();
    Form->Pad2 = nullptr;
    PumpFor(300);
    EXPECT_EQ(ShownHintWindow(), nullptr);
}

TEST_F(ControlFeaturesTest, ContextPopupOpensThePopupMenuOnRightClickAndKeys)
{
    TPopupMenu* menu = New<TPopupMenu>(Form);
    for (const char* caption : {"First", "Second"}) {
        TMenuItem* item = New<TMenuItem>(Form);
        item->SetCaption(caption);
        item->SetOnClick([](TObject* sender) { Journal.push_back(std::string("click ") + static_cast<TMenuItem*>(sender)->Caption()); });
        menu->Items()->Add(item);
    }
    menu->SetOnPopup([](TObject*) { Journal.push_back("popup"); });
    TTestPad* pad = Form->Pad1;
    pad->SetPopupMenu(menu);
    pad->OnContextPopup = [&](TObject* sender, TPoint p, bool& handled) { Form->ContextPopup(sender, p, handled); };
    std::vector<std::string> shown;

    // Right click: OnContextPopup with the pointer's place, then the menu
    // at the pointer; the item chosen is clicked.
    TMenuDriver driver{.Target = 1, .Log = &shown};
    driver.Run([&] {
        Post(pad->Handle(), WM_RBUTTONDOWN, MK_RBUTTON, 7, 9);
        Post(pad->Handle(), WM_RBUTTONUP, 0, 7, 9);
    });
    EXPECT_EQ(Journal, (std::vector<std::string>{"Pad1 context 7,9", "popup", "click Second"}));
    EXPECT_EQ(shown, std::vector<std::string>{"shown"});
    EXPECT_EQ(driver.Shown.left, 700 + 10 + 7);
    EXPECT_EQ(driver.Shown.top, 560 + 20 + 9);
    EXPECT_EQ(menu->PopupComponent(), pad);

    // A handler that marks the request handled keeps the menu shut.
    Journal.clear();
    Form->HandleContext = true;
    Post(pad->Handle(), WM_RBUTTONDOWN, MK_RBUTTON, 7, 9);
    Post(pad->Handle(), WM_RBUTTONUP, 0, 7, 9);
    EXPECT_EQ(Journal, std::vector<std::string>{"Pad1 context 7,9"});
    Form->HandleContext = false;

    // Shift+F10 and the menu key open it at the control's corner, with the
    // position (-1, -1) for the handler.
    pad->SetFocus();
    BYTE keys[256];
    GetKeyboardState(keys);
    const BYTE shiftState = keys[VK_SHIFT];
    keys[VK_SHIFT] = 0x80;
    SetKeyboardState(keys);
    Journal.clear();
    shown.clear();
    driver = TMenuDriver{.Target = 0, .Log = &shown};
    driver.Run([&] { Post(pad->Handle(), WM_SYSKEYDOWN, VK_F10, 0, 0); });
    keys[VK_SHIFT] = shiftState;
    SetKeyboardState(keys);
    Post(pad->Handle(), WM_SYSKEYUP, VK_F10, 0, 0);
    EXPECT_EQ(Journal, (std::vector<std::string>{"Pad1 context -1,-1", "popup", "click First"}));
    EXPECT_EQ(driver.Shown.left, 700 + 10);
    EXPECT_EQ(driver.Shown.top, 560 + 20);
    Journal.clear();
    shown.clear();
    driver = TMenuDriver{.Target = -1, .Log = &shown};
    driver.Run([&] {
        Post(pad->Handle(), WM_KEYDOWN, VK_APPS, 0, 0);
        EXPECT_TRUE(Journal.empty()) << "the menu key opens the menu when released";
        Post(pad->Handle(), WM_KEYUP, VK_APPS, 0, 0);
    });
    EXPECT_EQ(Journal, (std::vector<std::string>{"Pad1 context -1,-1", "popup"}));

    // A control without a menu passes the request on to its parent; a
    // graphic control gets its own.
    TPopupMenu* formMenu = New<TPopupMenu>(Form);
    formMenu->SetOnPopup([](TObject*) { Journal.push_back("form menu"); });
    Form->SetPopupMenu(formMenu);
    TTestMark* mark = New<TTestMark>(Form);
    mark->SetBounds(200, 100, 40, 40);
    mark->SetParent(Form);
    mark->SetPopupMenu(menu);
    Journal.clear();
    shown.clear();
    driver = TMenuDriver{.Target = -1, .Log = &shown};
    driver.Run([&] {
        Post(Form->Pad2->Handle(), WM_RBUTTONDOWN, MK_RBUTTON, 5, 5);
        Post(Form->Pad2->Handle(), WM_RBUTTONUP, 0, 5, 5);
    });
    EXPECT_EQ(Journal, std::vector<std::string>{"form menu"});
    EXPECT_EQ(formMenu->PopupComponent(), Form);
    Journal.clear();
    shown.clear();
    driver = TMenuDriver{.Target = -1, .Log = &shown};
    driver.Run([&] {
        Post(Form->Handle(), WM_RBUTTONDOWN, MK_RBUTTON, 210, 110);
        Post(Form->Handle(), WM_RBUTTONUP, 0, 210, 110);
    });
    EXPECT_EQ(Journal, std::vector<std::string>{"popup"});
    EXPECT_EQ(menu->PopupComponent(), mark);
    EXPECT_EQ(driver.Shown.left, 700 + 210);

    // The pad still hears of its menu going after the menu served another control.
    menu->Free();
    EXPECT_EQ(pad->PopupMenu(), nullptr);
    EXPECT_EQ(mark->PopupMenu(), nullptr);
}

TEST_F(ControlFeaturesTest, AnchorsKeepTheDistancesToTheAnchoredEdges)
{
    TTestPad* fixed = Form->Pad1; // left and top: stays put
    TTestPad* right = AddPad("Right", 240, 20, 50, 30);
    right->SetAnchors({akTop, akRight});
    TTestPad* wide = AddPad("Wide", 10, 70, 280, 20);
    wide->SetAnchors({akLeft, akTop, akRight});
    TTestPad* bottom = AddPad("Bottom", 10, 170, 30, 20);
    bottom->SetAnchors({akLeft, akBottom});
    TTestPad* all = AddPad("All", 100, 100, 100, 50);
    all->SetAnchors({akLeft, akTop, akRight, akBottom});
    TTestPad* floating = AddPad("Floating", 125, 130, 50, 20);
    floating->SetAnchors({});
    TTestMark* mark = New<TTestMark>(Form);
    mark->SetBounds(250, 150, 20, 20);
    mark->SetAnchors({akRight, akBottom});
    mark->SetParent(Form);

    // Where the window really is, in the form's client area.
    auto placed = [&](TWinControl* c) {
        RECT r;
        GetWindowRect(c->Handle(), &r);
        MapWindowPoints(HWND_DESKTOP, Form->Handle(), reinterpret_cast<POINT*>(&r), 2);
        return std::vector<LONG>{r.left, r.top, r.right - r.left, r.bottom - r.top};
    };
    using V = std::vector<LONG>;
    Form->SetBounds(700, 560, 400, 260);
    EXPECT_EQ(placed(fixed), (V{10, 20, 60, 40}));
    EXPECT_EQ(placed(right), (V{340, 20, 50, 30}));
    EXPECT_EQ(placed(wide), (V{10, 70, 380, 20}));
    EXPECT_EQ(placed(bottom), (V{10, 230, 30, 20}));
    EXPECT_EQ(placed(all), (V{100, 100, 200, 110}));
    EXPECT_EQ(placed(floating), (V{175, 172, 50, 20})) << "its centre keeps its share of the client area";
    EXPECT_EQ(mark->BoundsRect().left, 350);
    EXPECT_EQ(mark->BoundsRect().top, 210);

    // Resized by the system, as by the user dragging the border, and back:
    // everything returns to where it was, even past a size smaller than a control.
    SetWindowPos(Form->Handle(), nullptr, 0, 0, 200, 100, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    EXPECT_EQ(placed(wide), (V{10, 70, 180, 20}));
    EXPECT_EQ(placed(all), (V{100, 100, 0, 0}));
    SetWindowPos(Form->Handle(), nullptr, 0, 0, 300, 200, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    EXPECT_EQ(placed(right), (V{240, 20, 50, 30}));
    EXPECT_EQ(placed(all), (V{100, 100, 100, 50}));
    EXPECT_EQ(placed(floating), (V{125, 130, 50, 20}));
    EXPECT_EQ(mark->BoundsRect().left, 250);

    // A control moved by the program keeps its new distance.
    right->SetLeft(200);
    Form->SetBounds(700, 560, 350, 200);
    EXPECT_EQ(placed(right), (V{250, 20, 50, 30}));

    // A form read from its text anchors from the sizes it was read with.
    TPadForm* read = New<TPadForm>(nullptr);
    ReadComponentText(read, "object Read: TPadForm\r\n"
                            "  BorderStyle = bsNone\r\n"
                            "  ClientWidth = 200\r\n"
                            "  ClientHeight = 100\r\n"
                            "  object Pad1: TTestPad\r\n"
                            "    Left = 150\r\n"
                            "    Top = 70\r\n"
                            "    Width = 40\r\n"
                            "    Height = 20\r\n"
                            "    Anchors = [akRight, akBottom]\r\n"
                            "  end\r\n"
                            "end\r\n");
    read->SetClientSize(260, 130);
    EXPECT_EQ(read->Pad1->Left(), 210);
    EXPECT_EQ(read->Pad1->Top(), 100);
    read->Free();
}

TEST_F(ControlFeaturesTest, DragAndDropBetweenControls)
{
    TTestPad* source = Form->Pad1;
    TTestPad* target = Form->Pad2;
    source->OnMouseDown = [&](TObject* s, TMouseButton b, TShiftState sh, int x, int y) { Form->BeginDragOnPress(s, b, sh, x, y); };
    source->OnClick = [](TObject*) { Journal.push_back("Pad1 click"); };
    source->OnStartDrag = [&](TObject* s, TDragObject*& o) { Form->StartDrag(s, o); };
    source->OnEndDrag = [&](TObject* s, TObject* t, int x, int y) { Form->EndDrag(s, t, x, y); };
    target->OnDragOver = [&](TObject* s, TObject* src, int x, int y, TDragState st, bool& a) { Form->DragOver(s, src, x, y, st, a); };
    target->OnDragDrop = [&](TObject* s, TObject* src, int x, int y) { Form->DragDrop(s, src, x, y); };
    // Drops go to the window under the pointer: keep other tests' windows from covering this one.
    Form->SetBounds(960, 100, 300, 200);
    SetWindowPos(Form->Handle(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    source->SetFocus();
    // Pointer messages go where the capture sends them, as the system's would.
    auto moveTo = [&](TWinControl* over, int x, int y, UINT msg = WM_MOUSEMOVE) {
        Services.Cursor = over->ClientToScreen(Point(x, y));
        HWND capture = GetCapture() ? GetCapture() : over->Handle();
        POINT p = Services.Cursor;
        ScreenToClient(capture, &p);
        Post(capture, msg, msg == WM_MOUSEMOVE ? MK_LBUTTON : 0, p.x, p.y);
    };
    auto press = [&](TWinControl* over, int x, int y) { moveTo(over, x, y, WM_LBUTTONDOWN); };

    // A press and release without moving far is a click and no drag.
    press(source, 5, 5);
    moveTo(source, 7, 6);
    moveTo(source, 7, 6, WM_LBUTTONUP);
    EXPECT_EQ(Journal, std::vector<std::string>{"Pad1 click"});
    EXPECT_FALSE(source->Dragging());

    // Dragged past the threshold onto a control that accepts it: the
    // pointer shows the drag cursor there and the no-drop cursor elsewhere.
    Journal.clear();
    press(source, 5, 5);
    moveTo(source, 30, 5);
    EXPECT_TRUE(source->Dragging());
    EXPECT_EQ(FindControl(GetCapture()), nullptr) << "a window of the drag's own holds the capture";
    EXPECT_EQ(GetCursor(), CursorHandle(crNoDrop));
    moveTo(target, 4, 5);
    EXPECT_EQ(GetCursor(), CursorHandle(crDrag));
    moveTo(target, 6, 7);
    source->SetDragCursor(crHandPoint);
    moveTo(target, 8, 9, WM_LBUTTONUP);
    EXPECT_EQ(Journal, (std::vector<std::string>{"Pad1 start", "Pad2 over Pad1 4,5 0", "Pad2 over Pad1 6,7 2",
                                                 "Pad2 over Pad1 8,9 2", "Pad2 drop Pad1 8,9", "Pad1 end Pad2"}));
    EXPECT_FALSE(source->Dragging());
    EXPECT_EQ(GetCapture(), nullptr);
    source->SetDragCursor(crDrag);

    // Refused: no drop, and the target hears the drag leave.
    Journal.clear();
    Form->AcceptDrop = false;
    press(source, 5, 5);
    moveTo(source, 30, 5);
    moveTo(target, 4, 5);
    EXPECT_EQ(GetCursor(), CursorHandle(crNoDrop));
    moveTo(target, 4, 5, WM_LBUTTONUP);
    EXPECT_EQ(Journal, (std::vector<std::string>{"Pad1 start", "Pad2 over Pad1 4,5 0", "Pad2 over Pad1 4,5 2",
                                                 "Pad2 over Pad1 4,5 1", "Pad1 end nothing"}));
    Form->AcceptDrop = true;

    // Escape cancels; so does another window taking the capture.
    Journal.clear();
    press(source, 5, 5);
    moveTo(source, 30, 5);
    moveTo(target, 4, 5);
    Post(source->Handle(), WM_KEYDOWN, VK_ESCAPE, 0, 0);
    EXPECT_EQ(Journal, (std::vector<std::string>{"Pad1 start", "Pad2 over Pad1 4,5 0", "Pad2 over Pad1 4,5 1",
                                                 "Pad1 end nothing"}));
    EXPECT_FALSE(source->Dragging());
    EXPECT_EQ(GetCapture(), nullptr);
    Journal.clear();
    press(source, 5, 5);
    moveTo(source, 30, 5);
    SetCapture(Form->Handle());
    ReleaseCapture();
    EXPECT_EQ(Journal, (std::vector<std::string>{"Pad1 start", "Pad1 end nothing"}));

    // An automatic drag starts with the press and needs no handler; the
    // program may also end a drag itself.
    Journal.clear();
    source->OnMouseDown = nullptr;
    source->SetDragMode(dmAutomatic);
    press(source, 5, 5);
    EXPECT_TRUE(source->Dragging());
    moveTo(target, 10, 10);
    source->EndDrag(true);
    EXPECT_EQ(Journal, (std::vector<std::string>{"Pad1 start", "Pad2 over Pad1 10,10 0", "Pad2 drop Pad1 10,10",
                                                 "Pad1 end Pad2"}));
    EXPECT_EQ(GetCapture(), nullptr);

    // A target freed under the drag is forgotten.
    Journal.clear();
    press(source, 5, 5);
    moveTo(target, 10, 10);
    target->Free();
    Form->Pad2 = nullptr;
    moveTo(Form, 150, 150, WM_LBUTTONUP);
    EXPECT_EQ(Journal, (std::vector<std::string>{"Pad1 start", "Pad2 over Pad1 10,10 0", "Pad1 end nothing"}));
}

TEST_F(ControlFeaturesTest, HintsShowTheirShortPartAndTellTheProgramTheLongOne)
{
    Application->SetHintPause(100);
    Form->SetShowHint(true);
    std::vector<std::string> told;
    Application->OnHint = [&](TObject*) { told.push_back(Application->Hint()); };
    TTestPad* pad = Form->Pad1;
    TTestPad* plain = Form->Pad2;
    auto shownText = [] {
        PumpUntil([] { return ShownHintWindow() != nullptr; }, 1500);
        const std::string text = ShownHintWindow() ? WindowText(ShownHintWindow()) : "";
        Application->CancelHint();
        return text;
    };

    pad->SetHint("Open|Opens a file from the disk");
    MoveTo(pad, 5, 5);
    EXPECT_EQ(Application->Hint(), "Opens a file from the disk");
    EXPECT_EQ(shownText(), "Open");
    MoveTo(pad, 8, 8);
    // Over a control with no hint on a form with none, the program hears of
    // nothing to say; a control without a hint of its own gives its parent's.
    MoveTo(plain, 5, 5);
    EXPECT_EQ(Application->Hint(), "");
    Form->SetHint("Form|All about the form");
    MoveTo(plain, 6, 6);
    EXPECT_EQ(Application->Hint(), "All about the form");
    EXPECT_EQ(shownText(), "Form");

    // Where no hint window shows (ShowHint off, or a hint with a long part
    // only), the program still gets the long part.
    Form->SetShowHint(false);
    MoveTo(pad, 5, 5);
    EXPECT_EQ(Application->Hint(), "Opens a file from the disk");
    EXPECT_EQ(shownText(), "");
    Form->SetShowHint(true);
    pad->SetHint("|Only for the status line");
    MoveTo(plain, 5, 5);
    MoveTo(pad, 5, 5);
    EXPECT_EQ(Application->Hint(), "Only for the status line");
    EXPECT_EQ(shownText(), "");
    // Without a bar the whole text is both.
    pad->SetHint("Plain words");
    MoveTo(plain, 5, 5);
    MoveTo(pad, 5, 5);
    EXPECT_EQ(Application->Hint(), "Plain words");
    EXPECT_EQ(shownText(), "Plain words");
    EXPECT_EQ(told, (std::vector<std::string>{"Opens a file from the disk", "", "All about the form",
                                              "Opens a file from the disk", "All about the form",
                                              "Only for the status line", "All about the form", "Plain words"}));
    Application->OnHint = nullptr;
    Application->SetHint("");
}

TEST_F(ControlFeaturesTest, HelpGoesToTheApplicationWithTheNearestHelpContext)
{
    std::vector<int> asked;
    Application->OnHelp = [&](int context) { asked.push_back(context); };
    TTestPad* outer = Form->Pad2;
    outer->SetHelpContext(20);
    TTestPad* inner = AddPad("Inner", 0, 0, 20, 20);
    inner->SetParent(outer);
    for (TTestPad* pad : {Form->Pad1, outer, inner})
        pad->SetTabStop(true);
    auto f1 = [](TWinControl* focused) {
        ::SetFocus(focused->Handle());
        PostMessageA(focused->Handle(), WM_KEYDOWN, VK_F1, 0x003B0001);
        PostMessageA(focused->Handle(), WM_KEYUP, VK_F1, 0xC03B0001);
        Application->ProcessMessages();
    };

    f1(inner);
    EXPECT_EQ(asked, std::vector<int>{20}) << "the parent's";
    inner->SetHelpContext(30);
    f1(inner);
    f1(Form->Pad1);
    Form->SetHelpContext(10);
    f1(Form->Pad1);
    f1(Form);
    EXPECT_EQ(asked, (std::vector<int>{20, 30, 10, 10}));

    // The system's own request names the control; sent up to the form it
    // still finds that control's context.
    asked.clear();
    HELPINFO info{sizeof info, HELPINFO_WINDOW, 0, inner->Handle(), 0, {0, 0}};
    SendMessageA(inner->Handle(), WM_HELP, 0, reinterpret_cast<LPARAM>(&info));
    SendMessageA(Form->Handle(), WM_HELP, 0, reinterpret_cast<LPARAM>(&info));
    EXPECT_EQ(asked, (std::vector<int>{30, 30}));

    // No context anywhere, or no handler: nothing happens.
    asked.clear();
    Form->SetHelpContext(0);
    f1(Form->Pad1);
    EXPECT_TRUE(asked.empty());
    Application->OnHelp = nullptr;
    f1(inner);
}
