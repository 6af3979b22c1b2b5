#include "platform/Application.h"
#include "platform/Form.h"
#include "platform/FormFile.h"
#include "platform/Icon.h"
#include "platform/Label.h"
#include "platform/Menu.h"
#include "platform/SystemServices.h"
#include "platform/Timer.h"
#include "MenuDriver.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace platform;

namespace {

std::vector<std::string> Journal;

// A windowed control that records what reaches it.
class TTestBox : public TCustomControl {
    PLATFORM_CLASS(TTestBox, TCustomControl)
public:
    explicit TTestBox(TComponent* AOwner) : TCustomControl(AOwner) {}
    void Dispatch(TMessage& Message) override
    {
        if (Message.Msg == WM_CAPTURECHANGED)
            Journal.push_back(Name() + " capture lost");
        TCustomControl::Dispatch(Message);
    }
    void DoEnter() override
    {
        Journal.push_back(Name() + " enter");
        TCustomControl::DoEnter();
    }
    void DoExit() override
    {
        Journal.push_back(Name() + " exit");
        TCustomControl::DoExit();
    }
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override
    {
        Journal.push_back(Name() + " up " + std::to_string(X) + "," + std::to_string(Y));
        TCustomControl::MouseUp(Button, Shift, X, Y);
    }
    // Like a control that acts on a key after the published event had its say.
    void KeyPress(char& Key) override
    {
        TCustomControl::KeyPress(Key);
        Journal.push_back(Name() + " key " + std::to_string(static_cast<int>(Key)));
    }
    void KeyDown(WORD& Key, TShiftState Shift) override
    {
        TCustomControl::KeyDown(Key, Shift);
        Journal.push_back(Name() + " down " + std::to_string(Key));
    }
    void Click() override
    {
        Journal.push_back(Name() + " click");
        TCustomControl::Click();
    }
    void DblClick() override
    {
        Journal.push_back(Name() + " dblclick");
        TCustomControl::DblClick();
    }
    using TControl::FControlStyle;
};

const TClassInfo& TTestBox::StaticClassInfo()
{
    static const TClassInfo& info = TClassBuilder<TTestBox, TCustomControl>("TTestBox")
        .Publish({"TabStop", "TabOrder", "OnClick", "OnDblClick", "OnEnter", "OnExit", "OnMouseDown"})
        .Build();
    return info;
}

// A graphic control that records what reaches it.
class TTestSpot : public TGraphicControl {
    PLATFORM_CLASS(TTestSpot, TGraphicControl)
public:
    explicit TTestSpot(TComponent* AOwner) : TGraphicControl(AOwner) {}
    void Dispatch(TMessage& Message) override
    {
        if (Message.Msg == WM_CAPTURECHANGED)
            Journal.push_back(Name() + " capture lost");
        TGraphicControl::Dispatch(Message);
    }
    void Paint() override
    {
        Canvas()->Brush()->SetColor(clRed);
        Canvas()->FillRect(Rect(0, 0, Width(), Height()));
        ++Paints;
    }
    int Paints = 0;
};

const TClassInfo& TTestSpot::StaticClassInfo()
{
    static const TClassInfo& info = TClassBuilder<TTestSpot, TGraphicControl>("TTestSpot")
        .Publish({"Enabled", "OnMouseDown"})
        .Build();
    return info;
}

class TTestDialog : public TForm {
    PLATFORM_CLASS(TTestDialog, TForm)
public:
    explicit TTestDialog(TComponent* AOwner) : TForm(AOwner)
    {
        LoadLayout();
        Journal.push_back(std::string("constructed, box ") + (Box1 ? "bound" : "missing"));
    }
    void FormCreate(TObject*) { Journal.push_back("OnCreate"); }
    void BoxClick(TObject* Sender)
    {
        Journal.push_back(static_cast<TComponent*>(Sender)->Name() + " OnClick");
        if (ResultOnClick != mrNone) {
            OthersWereDisabled = !IsWindowEnabled(Application->Handle()) || OthersDisabledCheck();
            SetModalResult(ResultOnClick);
        }
    }
    void BoxDblClick(TObject*) { Journal.push_back("OnDblClick"); }
    void SpotMouseDown(TObject*, TMouseButton, TShiftState, int X, int Y)
    {
        Journal.push_back("Spot down " + std::to_string(X) + "," + std::to_string(Y));
    }
    bool OthersDisabledCheck() { return Other && !IsWindowEnabled(Other->Handle()); }

    TTestBox* Box1 = nullptr;
    TTestBox* Box2 = nullptr;
    TTestSpot* Spot = nullptr;
    TModalResult ResultOnClick = mrNone;
    bool OthersWereDisabled = false;
    TForm* Other = nullptr;
};

const TClassInfo& TTestDialog::StaticClassInfo()
{
    static const TClassInfo& info = TClassBuilder<TTestDialog, TForm>("TTestDialog")
        .Field("Box1", &TTestDialog::Box1)
        .Field("Box2", &TTestDialog::Box2)
        .Field("Spot", &TTestDialog::Spot)
        .Method("FormCreate", &TTestDialog::FormCreate)
        .Method("BoxClick", &TTestDialog::BoxClick)
        .Method("BoxDblClick", &TTestDialog::BoxDblClick)
        .Method("SpotMouseDown", &TTestDialog::SpotMouseDown)
        .Build();
    return info;
}

void Post(HWND Wnd, UINT Msg, WPARAM W, int X, int Y)
{
    PostMessageA(Wnd, Msg, W, MAKELPARAM(X, Y));
    Application->ProcessMessages();
}

struct TRecordingServices : TSystemServices {
    int ShowMessageBox(HWND, const std::string& Text, const std::string& Caption, UINT) override
    {
        Boxes.push_back(Caption + ": " + Text);
        return IDOK;
    }
    std::vector<std::string> Boxes;
};

class ControlTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        Journal.clear();
        Application->Initialize();
        Application->CreateForm(Dialog);
        Dialog->Show();
        Application->ProcessMessages();
        Journal.clear();
    }
    void TearDown() override { FreeAndNil(Dialog); }
    TTestDialog* Dialog = nullptr;
};

} // namespace

TEST(Form, LayoutIsReadBeforeTheConstructorBodyEndsAndOnCreateRunsAfterIt)
{
    Journal.clear();
    TTestDialog* dialog = nullptr;
    Application->CreateForm(dialog);
    EXPECT_EQ(Journal, (std::vector<std::string>{"constructed, box bound", "OnCreate"}));
    EXPECT_EQ(Application->MainForm(), dialog);
    TTestDialog* second = nullptr;
    Application->CreateForm(second);
    EXPECT_EQ(Application->MainForm(), dialog);
    EXPECT_EQ(second->Name(), "TestDialog_1");

    // The window exists, hidden, with the form's class name and caption.
    EXPECT_EQ(FindWindowA("TTestDialog", "Test dialog"), dialog->Handle());
    EXPECT_FALSE(IsWindowVisible(dialog->Handle()));
    EXPECT_EQ(dialog->ClientWidth(), 200);
    EXPECT_EQ(dialog->Box2->Left(), 60);
    EXPECT_EQ(dialog->Box1->TabOrder(), 0);
    EXPECT_EQ(dialog->Box2->TabOrder(), 1);
    EXPECT_EQ(GetParent(dialog->Box1->Handle()), dialog->Handle());
    EXPECT_EQ(Screen->FormCount(), 2);
    EXPECT_EQ(Screen->Forms(0), dialog);
    EXPECT_EQ(Screen->ActiveForm(), nullptr);
    dialog->Show();
    EXPECT_EQ(Screen->ActiveForm(), dialog);
    dialog->Hide();
    EXPECT_GT(Screen->Width(), 0);
    EXPECT_FALSE(Application->Icon()->Empty());

    // A freed component clears its published field.
    dialog->Box2->Free();
    EXPECT_EQ(dialog->Box2, nullptr);
    EXPECT_EQ(dialog->ControlCount(), 2);
    second->Free();
    dialog->Free();
    EXPECT_EQ(Application->MainForm(), nullptr);
    EXPECT_EQ(Screen->FormCount(), 0);
}

TEST(Form, WrittenFormReadsBackTheSame)
{
    TTestDialog* dialog = nullptr;
    Application->CreateForm(dialog);
    const std::string text = WriteComponentText(dialog);
    EXPECT_NE(text.find("  object Spot: TTestSpot\r\n"), std::string::npos);
    EXPECT_NE(text.find("OnClick = BoxClick"), std::string::npos);

    auto* copy = new TTestDialog(nullptr); // reads the same layout from the resource
    EXPECT_EQ(WriteComponentText(copy), text);
    copy->Free();
    dialog->Free();
}

TEST_F(ControlTest, ClickNeedsPressAndReleaseOverTheControl)
{
    HWND box = Dialog->Box1->Handle();
    Post(box, WM_LBUTTONDOWN, MK_LBUTTON, 5, 5);
    EXPECT_EQ(GetCapture(), box);
    Post(box, WM_LBUTTONUP, 0, 6, 6);
    EXPECT_EQ(GetCapture(), nullptr);
    // The capture goes before the click; MouseUp comes last.
    EXPECT_EQ(Journal, (std::vector<std::string>{"Box1 capture lost", "Box1 click", "Box1 OnClick", "Box1 up 6,6"}));

    Journal.clear();
    Post(box, WM_LBUTTONDOWN, MK_LBUTTON, 5, 5);
    Post(box, WM_LBUTTONUP, 0, -3, 5); // released outside
    Post(box, WM_LBUTTONUP, 0, 5, 5);  // released without a press
    EXPECT_EQ(std::count(Journal.begin(), Journal.end(), "Box1 click"), 0);
}

TEST_F(ControlTest, DoubleClicksOnlyWhereTheStyleAcceptsThem)
{
    HWND box = Dialog->Box1->Handle();
    auto quickPair = [&] {
        Post(box, WM_LBUTTONDOWN, MK_LBUTTON, 5, 5);
        Post(box, WM_LBUTTONUP, 0, 5, 5);
        Post(box, WM_LBUTTONDBLCLK, MK_LBUTTON, 5, 5);
        Post(box, WM_LBUTTONUP, 0, 5, 5);
    };
    quickPair();
    EXPECT_EQ(std::count(Journal.begin(), Journal.end(), "Box1 click"), 1);
    EXPECT_EQ(std::count(Journal.begin(), Journal.end(), "OnDblClick"), 1);

    Journal.clear();
    Dialog->Box1->FControlStyle.Exclude(csDoubleClicks);
    quickPair();
    EXPECT_EQ(std::count(Journal.begin(), Journal.end(), "Box1 click"), 2);
    EXPECT_EQ(std::count(Journal.begin(), Journal.end(), "Box1 dblclick"), 0);
}

TEST_F(ControlTest, LosingTheCaptureIsDeliveredToTheControlHoldingIt)
{
    HWND other = CreateWindowA("STATIC", "", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
    Dialog->Box1->SetMouseCapture(true);
    EXPECT_EQ(CaptureControl(), Dialog->Box1);
    SetCapture(other);
    EXPECT_EQ(Journal, std::vector<std::string>{"Box1 capture lost"});
    EXPECT_EQ(CaptureControl(), nullptr);

    // A graphic control holds the capture through its parent's window.
    Journal.clear();
    Post(Dialog->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, 125, 15);
    EXPECT_EQ(CaptureControl(), Dialog->Spot);
    EXPECT_EQ(GetCapture(), Dialog->Handle());
    SetCapture(other);
    EXPECT_EQ(std::count(Journal.begin(), Journal.end(), "Spot capture lost"), 1);
    EXPECT_EQ(CaptureControl(), nullptr);
    ReleaseCapture();
    DestroyWindow(other);
}

TEST_F(ControlTest, MouseOverAGraphicControlGoesToItUnlessDisabled)
{
    HWND form = Dialog->Handle();
    Post(form, WM_LBUTTONDOWN, MK_LBUTTON, 125, 17);
    Post(form, WM_LBUTTONUP, 0, 125, 17);
    EXPECT_EQ(Journal, (std::vector<std::string>{"Spot down 5,7", "Spot capture lost"}));

    Journal.clear();
    TControl* atFormLevel = nullptr;
    Dialog->OnMouseDown = [&](TObject* Sender, TMouseButton, TShiftState, int, int) {
        atFormLevel = static_cast<TControl*>(Sender);
    };
    Dialog->Spot->SetEnabled(false);
    Post(form, WM_LBUTTONDOWN, MK_LBUTTON, 125, 17);
    Post(form, WM_LBUTTONUP, 0, 125, 17);
    EXPECT_TRUE(Journal.empty());
    EXPECT_EQ(atFormLevel, Dialog);

    // The parent paints its graphic children.
    Dialog->Spot->SetEnabled(true);
    Dialog->Spot->Repaint();
    EXPECT_GT(Dialog->Spot->Paints, 0);
    HDC dc = GetDC(form);
    EXPECT_EQ(GetPixel(dc, 130, 20), RGB(255, 0, 0));
    EXPECT_EQ(GetPixel(dc, 5, 95), ColorToRGB(clBtnFace));
    ReleaseDC(form, dc);
}

TEST_F(ControlTest, FocusEntersAndLeavesAndTabMovesIt)
{
    // Shown and active, the form gave its first tab stop the focus.
    EXPECT_TRUE(Dialog->Box1->Focused());
    Dialog->Box2->SetFocus();
    Application->ProcessMessages();
    EXPECT_EQ(Journal, (std::vector<std::string>{"Box1 exit", "Box2 enter"}));

    Journal.clear();
    Post(Dialog->Box2->Handle(), WM_KEYDOWN, VK_TAB, 0, 0);
    EXPECT_TRUE(Dialog->Box1->Focused());
    EXPECT_EQ(Journal, (std::vector<std::string>{"Box2 exit", "Box1 enter"}));

    // Another window active and this one again: the focus is where it was.
    Dialog->Box2->SetFocus();
    TForm* other = New<TForm>(nullptr);
    other->Show();
    Application->ProcessMessages();
    EXPECT_FALSE(Dialog->Box2->Focused());
    SetForegroundWindow(Dialog->Handle());
    Application->ProcessMessages();
    EXPECT_TRUE(Dialog->Box2->Focused());
    other->Free();
}

// Tab runs through windows that are no controls of this code (a module's
// own copy of the framework makes such windows, as the system's controls
// are): in tab order, into a container's children and out again.
TEST_F(ControlTest, TabCrossesIntoWindowsOfOtherCode)
{
    auto* panel = New<TPanel>(Dialog);
    panel->SetParent(Dialog);
    panel->SetBounds(10, 100, 100, 60);
    panel->SetTabOrder(1);
    HWND foreign = CreateWindowExA(0, "BUTTON", "foreign", WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON, 5, 5,
                                   60, 20, panel->Handle(), nullptr, nullptr, nullptr);
    ASSERT_NE(foreign, nullptr);
    Dialog->Box1->SetFocus();
    std::vector<HWND> order;
    for (int i = 0; i < 3; ++i) {
        Post(GetFocus(), WM_KEYDOWN, VK_TAB, 0, 0);
        order.push_back(GetFocus());
    }
    EXPECT_EQ(order, (std::vector<HWND>{foreign, Dialog->Box2->Handle(), Dialog->Box1->Handle()}))
        << "the panel stands second in the tab order";
    // Shift+Tab goes back the same way; the keyboard state carries the Shift.
    BYTE keys[256] = {};
    GetKeyboardState(keys);
    keys[VK_SHIFT] = 0x80;
    SetKeyboardState(keys);
    Post(GetFocus(), WM_KEYDOWN, VK_TAB, 0, 0);
    EXPECT_EQ(GetFocus(), Dialog->Box2->Handle());
    Post(GetFocus(), WM_KEYDOWN, VK_TAB, 0, 0);
    EXPECT_EQ(GetFocus(), foreign);
    keys[VK_SHIFT] = 0;
    SetKeyboardState(keys);
}

TEST_F(ControlTest, KeyHandlersGetTheKeyByReferenceAndMayClearIt)
{
    HWND box = Dialog->Box1->Handle();
    Dialog->Box1->OnKeyPress = [](TObject*, char& Key) {
        if (Key == 'x')
            Key = 0;
        else if (Key == 'a')
            Key = 'b';
    };
    Dialog->Box1->OnKeyDown = [](TObject*, WORD& Key, TShiftState) {
        if (Key == VK_F2)
            Key = 0;
    };
    Post(box, WM_CHAR, 'x', 0, 0);
    Post(box, WM_CHAR, 'a', 0, 0);
    Post(box, WM_KEYDOWN, VK_F2, 0, 0);
    EXPECT_EQ(Journal, (std::vector<std::string>{"Box1 key 0", "Box1 key 98", "Box1 down 0"}));
}

TEST_F(ControlTest, ModalLoopEndsWithTheResultAndDisablesTheOtherForms)
{
    TTestDialog* modal = New<TTestDialog>(nullptr);
    modal->Other = Dialog;
    modal->ResultOnClick = mrYes;
    PostMessageA(modal->Box1->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(3, 3));
    PostMessageA(modal->Box1->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(3, 3));
    EXPECT_EQ(modal->ShowModal(), mrYes);
    EXPECT_TRUE(modal->OthersWereDisabled);
    EXPECT_TRUE(IsWindowEnabled(Dialog->Handle()));
    EXPECT_FALSE(modal->Visible());

    // Closing the window any other way gives mrCancel.
    PostMessageA(modal->Handle(), WM_CLOSE, 0, 0);
    EXPECT_EQ(modal->ShowModal(), mrCancel);
    modal->Free();
}

TEST_F(ControlTest, ExceptionsFromHandlersGoToTheStandardDisplay)
{
    TRecordingServices services;
    TSystemServices* previous = SetSystemServices(&services);
    Dialog->Box2->OnClick = [](TObject*) { throw EInvalidOperation("Nothing to do"); };
    Post(Dialog->Box2->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, 1, 1);
    Post(Dialog->Box2->Handle(), WM_LBUTTONUP, 0, 1, 1);
    SetSystemServices(previous);
    EXPECT_EQ(services.Boxes, std::vector<std::string>{Application->Title() + ": Nothing to do."});
}

TEST(Application, HooksSeeMessagesToTheApplicationWindowAndMayClaimThem)
{
    Application->Initialize();
    std::vector<UINT> seen;
    int owner = 0;
    Application->HookMainWindow(&owner, [&](TMessage& m) {
        seen.push_back(m.Msg);
        if (m.Msg == WM_USER + 5) {
            m.Result = 77;
            return true;
        }
        return false;
    });
    EXPECT_EQ(SendMessageA(Application->Handle(), WM_USER + 5, 0, 0), 77);
    // A command the hook does not claim still reaches the application.
    SendMessageA(Application->Handle(), WM_SYSCOMMAND, SC_MINIMIZE, 0);
    EXPECT_TRUE(IsIconic(Application->Handle()));
    EXPECT_EQ(seen.front(), static_cast<UINT>(WM_USER + 5));
    EXPECT_NE(std::find(seen.begin(), seen.end(), static_cast<UINT>(WM_SYSCOMMAND)), seen.end());

    Application->UnhookMainWindow(&owner);
    seen.clear();
    SendMessageA(Application->Handle(), WM_USER + 5, 0, 0);
    EXPECT_TRUE(seen.empty());
}

TEST(Application, TerminateEndsRunAndLeavesNoQuitMessageBehind)
{
    Application->Initialize();
    // Asked before the loop runs: Run returns at once.
    Application->Terminate();
    Application->Run();
    MSG msg;
    EXPECT_FALSE(PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_NOREMOVE));
}

TEST(Application, TerminateFromAHandlerEndsTheRunningLoop)
{
    Application->Initialize();
    TTestDialog* dialog = nullptr;
    Application->CreateForm(dialog);
    Application->SetShowMainForm(false);
    dialog->Box1->OnClick = [](TObject*) { Application->Terminate(); };
    PostMessageA(dialog->Box1->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(1, 1));
    PostMessageA(dialog->Box1->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(1, 1));
    Application->Run();
    EXPECT_TRUE(Application->Terminated());
    EXPECT_FALSE(dialog->Visible());
}

// A message box open inside the loop (as a module's dialog would be, with a
// loop of its own) when the end is asked for: the box ends, then the loop,
// and no quit is left for the next box.
TEST(Application, TerminateEndsTheLoopsRunningInsideTheLoop)
{
    Application->Initialize();
    static bool boxEnded = false;
    auto* open = New<TTimer>(nullptr);
    open->SetInterval(50);
    open->SetOnTimer([open](TObject*) {
        open->SetEnabled(false);
        MessageBoxA(nullptr, "Still here?", "TerminateTest", MB_OK);
        boxEnded = true;
    });
    auto* end = New<TTimer>(nullptr);
    end->SetInterval(600);
    end->SetOnTimer([end](TObject*) {
        end->SetEnabled(false);
        Application->Terminate();
    });
    const DWORD start = GetTickCount();
    Application->Run();
    EXPECT_TRUE(boxEnded);
    EXPECT_LT(GetTickCount() - start, 5000u);
    MSG msg;
    EXPECT_FALSE(PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_NOREMOVE));
    open->Free();
    end->Free();
}

// A popup menu open inside the loop when the end is asked for: its loop
// takes the quit and would go on, yet the menu closes without a choice and
// the loop ends. Should the menu stay, it is closed after five seconds.
TEST(Application, TerminateClosesAnOpenMenu)
{
    Application->Initialize();
    auto* menu = New<TPopupMenu>(nullptr);
    auto* exit = New<TMenuItem>(menu);
    exit->SetCaption("Exit");
    menu->Items()->Add(exit);
    bool shown = false, returned = false, clicked = false, leftOpen = false;
    exit->SetOnClick([&](TObject*) { clicked = true; });
    auto* open = New<TTimer>(nullptr);
    open->SetInterval(50);
    open->SetOnTimer([&](TObject*) {
        open->SetEnabled(false);
        menu->Popup(100, 100);
        returned = true;
    });
    auto* end = New<TTimer>(nullptr);
    end->SetInterval(600);
    end->SetOnTimer([&](TObject*) {
        end->SetEnabled(false);
        shown = OpenMenuWindow() != nullptr;
        Application->Terminate();
    });
    auto* rescue = New<TTimer>(nullptr);
    rescue->SetInterval(5000);
    rescue->SetOnTimer([&](TObject*) {
        rescue->SetEnabled(false);
        leftOpen = OpenMenuWindow() != nullptr;
        EndMenu();
    });
    Application->Run();
    EXPECT_TRUE(shown) << "the menu was open when the end was asked for";
    EXPECT_TRUE(returned);
    EXPECT_FALSE(leftOpen) << "the menu stayed open after the end was asked for";
    EXPECT_FALSE(clicked);
    EXPECT_EQ(OpenMenuWindow(), nullptr);
    MSG msg;
    EXPECT_FALSE(PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_NOREMOVE));
    for (TTimer* timer : {open, end, rescue})
        timer->Free();
    menu->Free();
}

// A child's window asked for before its form has one: the form makes its
// children's windows along with its own, and the child must not make a second.
TEST(WinControl, AChildAskedForFirstGetsOneWindowWithItsForm)
{
    const TOwned<TForm> form(New<TForm>(nullptr));
    auto* panel = New<TPanel>(form.get());
    panel->SetParent(form.get());
    auto* inner = New<TPanel>(form.get());
    inner->SetParent(panel);
    HWND handle = inner->Handle();
    ASSERT_TRUE(form->HandleAllocated());
    int windows = 0;
    for (HWND child = GetWindow(panel->Handle(), GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        ++windows;
    EXPECT_EQ(windows, 1);
    EXPECT_EQ(GetParent(handle), panel->Handle());
    EXPECT_EQ(GetWindow(form->Handle(), GW_CHILD), panel->Handle());
    EXPECT_EQ(GetWindow(panel->Handle(), GW_HWNDNEXT), nullptr);
}
