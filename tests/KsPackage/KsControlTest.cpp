// The interaction state machine of the skinned controls, driven with real
// window messages to a real button, checked by the picture it shows.
#include "KsPackageTesting.h"
#include "platform/Label.h"

using namespace platform;

namespace {

class KsStateTest : public KsFormTest {
protected:
    void SetUp() override
    {
        KsFormTest::SetUp();
        Button = Place<KsButton>(10, 10);
        Skin(*Button, 40, 20);
        Button->SetTabStop(true);
        Button->OnMouseEnter = [this](TObject*) { Events.push_back("enter"); };
        Button->OnMouseLeave = [this](TObject*) { Events.push_back("leave"); };
        Button->OnClick = [this](TObject*) { Events.push_back("click"); };
        Other = Place<KsButton>(100, 10);
        Skin(*Other, 40, 20);
        Other->SetTabStop(true);
    }

    bool Holds() { return GetCapture() == Button->Handle(); }

    KsButton* Button = nullptr;
    KsButton* Other = nullptr;
    std::vector<std::string> Events;
};

using Strings = std::vector<std::string>;

} // namespace

TEST_F(KsStateTest, HoverShowsTheFocusedPictureAndTheCaptureTracksTheExit)
{
    EXPECT_EQ(Shown(*Button), "raised");
    Send(*Button, WM_MOUSEMOVE, 0, 5, 5);
    EXPECT_EQ(Shown(*Button), "focused");
    EXPECT_TRUE(Holds()) << "the pointer is tracked by the capture";
    Send(*Button, WM_MOUSEMOVE, 0, 8, 6);
    EXPECT_EQ(Events, Strings{"enter"});

    // The capture delivers the move that leaves.
    Send(*Button, WM_MOUSEMOVE, 0, 60, 5);
    EXPECT_EQ(Shown(*Button), "raised");
    EXPECT_FALSE(Holds());
    EXPECT_EQ(Events, (Strings{"enter", "leave"}));

    // A focused control keeps its focused picture when the pointer leaves.
    Button->SetFocus();
    EXPECT_EQ(Shown(*Button), "focused");
    Send(*Button, WM_MOUSEMOVE, 0, 5, 5);
    Send(*Button, WM_MOUSEMOVE, 0, -3, 5);
    EXPECT_EQ(Shown(*Button), "focused");
    Other->SetFocus();
    EXPECT_EQ(Shown(*Button), "raised");
    EXPECT_EQ(Shown(*Other), "focused");
}

TEST_F(KsStateTest, PressingWithTheMouse)
{
    // Pressed and released inside: the framework releases the capture
    // before Click and MouseUp, and the rows still hold.
    Send(*Button, WM_MOUSEMOVE, 0, 5, 5);
    Send(*Button, WM_LBUTTONDOWN, MK_LBUTTON, 5, 5);
    EXPECT_TRUE(Button->Focused()) << "the press takes the focus";
    EXPECT_EQ(Shown(*Button), "sunken");
    EXPECT_EQ(ScreenPixel(Button->Handle(), 3, 3), SunkenColor) << "on the screen too";
    Send(*Button, WM_LBUTTONUP, 0, 5, 5);
    EXPECT_EQ(Shown(*Button), "focused");
    EXPECT_TRUE(Holds()) << "the pointer is still over it and still tracked";
    EXPECT_EQ(Events, (Strings{"enter", "click"}));

    // Dragged out and back while held: no leave for the exit, enter on the way back.
    Events.clear();
    Send(*Button, WM_MOUSEMOVE, 0, 5, 5);
    Send(*Button, WM_LBUTTONDOWN, MK_LBUTTON, 5, 5);
    Send(*Button, WM_MOUSEMOVE, MK_LBUTTON, 50, 5);
    EXPECT_EQ(Shown(*Button), "focused");
    EXPECT_TRUE(Holds()) << "the framework's capture of a pressed control stays";
    Send(*Button, WM_MOUSEMOVE, MK_LBUTTON, 6, 6);
    EXPECT_EQ(Shown(*Button), "sunken");
    EXPECT_EQ(Events, Strings{"enter"});

    // Dragged out and released outside: not pressed, capture released, no click, no leave.
    Events.clear();
    Send(*Button, WM_MOUSEMOVE, MK_LBUTTON, 50, 5);
    Send(*Button, WM_LBUTTONUP, 0, 50, 5);
    EXPECT_EQ(Shown(*Button), "focused");
    EXPECT_FALSE(Holds());
    EXPECT_TRUE(Events.empty()) << Events.size();

    // Without the focus, the same ends raised.
    Button->SetTabStop(false);
    Other->SetFocus();
    Send(*Button, WM_MOUSEMOVE, 0, 5, 5);
    Send(*Button, WM_LBUTTONDOWN, MK_LBUTTON, 5, 5);
    EXPECT_FALSE(Button->Focused());
    EXPECT_EQ(Shown(*Button), "sunken");
    Send(*Button, WM_MOUSEMOVE, MK_LBUTTON, 50, 5);
    EXPECT_EQ(Shown(*Button), "raised");
    Send(*Button, WM_LBUTTONUP, 0, 50, 5);
    EXPECT_EQ(Shown(*Button), "raised");
    EXPECT_EQ(Events, (Strings{"enter"}));

    // A fast second press is an ordinary press and a second click.
    Events.clear();
    Send(*Button, WM_LBUTTONDOWN, MK_LBUTTON, 5, 5);
    Send(*Button, WM_LBUTTONUP, 0, 5, 5);
    Send(*Button, WM_LBUTTONDBLCLK, MK_LBUTTON, 5, 5);
    EXPECT_EQ(Shown(*Button), "sunken");
    Send(*Button, WM_LBUTTONUP, 0, 5, 5);
    EXPECT_EQ(std::count(Events.begin(), Events.end(), "click"), 2);

    // The right button presses nothing.
    Send(*Button, WM_RBUTTONDOWN, MK_RBUTTON, 5, 5);
    EXPECT_NE(Shown(*Button), "sunken");
}

TEST_F(KsStateTest, AClickDoesNotTakeThePointerAway)
{
    // Without the focus only the hover picture shows that the pointer is there.
    Button->SetTabStop(false);
    Send(*Button, WM_MOUSEMOVE, 0, 5, 5);
    Send(*Button, WM_LBUTTONDOWN, MK_LBUTTON, 5, 5);
    Send(*Button, WM_LBUTTONUP, 0, 5, 5);
    EXPECT_FALSE(Button->Focused());
    EXPECT_EQ(Shown(*Button), "focused") << "the pointer is still over it";
    EXPECT_TRUE(Holds());
    Send(*Button, WM_MOUSEMOVE, 0, 6, 6);
    EXPECT_EQ(Events, (Strings{"enter", "click"})) << "no leave, no second enter";
    Send(*Button, WM_MOUSEMOVE, 0, 60, 5);
    EXPECT_EQ(Shown(*Button), "raised");
    EXPECT_FALSE(Holds());
    EXPECT_EQ(Events, (Strings{"enter", "click", "leave"}));

    // Released outside without a move first: the release is the exit.
    Events.clear();
    Send(*Button, WM_MOUSEMOVE, 0, 5, 5);
    Send(*Button, WM_LBUTTONDOWN, MK_LBUTTON, 5, 5);
    Send(*Button, WM_LBUTTONUP, 0, 60, 5);
    EXPECT_EQ(Shown(*Button), "raised");
    EXPECT_FALSE(Holds());
    Send(*Button, WM_MOUSEMOVE, 0, 6, 6);
    EXPECT_EQ(Events, (Strings{"enter", "enter"}));

    // Clicks that show no press keep the hover picture and raise no leave.
    Events.clear();
    Send(*Button, WM_MOUSEMOVE, 0, 60, 5);
    Button->SetClicksDisabled(true);
    Send(*Button, WM_MOUSEMOVE, 0, 5, 5);
    Send(*Button, WM_LBUTTONDOWN, MK_LBUTTON, 5, 5);
    Send(*Button, WM_LBUTTONUP, 0, 5, 5);
    EXPECT_EQ(Shown(*Button), "focused");
    EXPECT_TRUE(Holds());
    EXPECT_EQ(Events, (Strings{"leave", "enter", "click"}));
    Button->SetClicksDisabled(false);

    // A button that hides itself on its click lets the pointer go.
    Events.clear();
    Button->OnClick = [this](TObject*) {
        Events.push_back("click");
        Button->Hide();
    };
    Send(*Button, WM_LBUTTONDOWN, MK_LBUTTON, 5, 5);
    Send(*Button, WM_LBUTTONUP, 0, 5, 5);
    EXPECT_FALSE(Holds());
    EXPECT_EQ(Events, (Strings{"click", "leave"}));
    Button->Show();
    Send(*Button, WM_MOUSEMOVE, 0, 5, 5);
    EXPECT_EQ(Shown(*Button), "focused");
    EXPECT_TRUE(Holds());
    EXPECT_EQ(Events, (Strings{"click", "leave", "enter"}));
}

TEST_F(KsStateTest, PressingWithTheKeyboard)
{
    Button->SetFocus();
    EXPECT_EQ(Shown(*Button), "focused");

    KeyDown(*Button, VK_SPACE);
    EXPECT_EQ(Shown(*Button), "sunken");
    EXPECT_EQ(Events, Strings{"click"});
    KeyDown(*Button, VK_SPACE); // auto-repeat
    EXPECT_EQ(Events, (Strings{"click", "click"})) << "one click per space character delivered";
    KeyUp(*Button, VK_SPACE);
    EXPECT_EQ(Shown(*Button), "focused");

    Events.clear();
    KeyDown(*Button, VK_RETURN);
    EXPECT_EQ(Shown(*Button), "sunken");
    KeyUp(*Button, VK_RETURN);
    EXPECT_EQ(Shown(*Button), "focused");
    EXPECT_TRUE(Events.empty()) << "return gives no click";

    // A key press handler that clears the key stops the click.
    Button->OnKeyPress = [](TObject*, char& Key) { Key = 0; };
    KeyDown(*Button, VK_SPACE);
    KeyUp(*Button, VK_SPACE);
    EXPECT_TRUE(Events.empty());

    // Losing the focus while the key holds the button down lets it up.
    KeyDown(*Button, VK_RETURN);
    Other->SetFocus();
    EXPECT_EQ(Shown(*Button), "raised");
    KeyUp(*Button, VK_RETURN);
    EXPECT_EQ(Shown(*Button), "raised");

    // A key held during a mouse press does not end it.
    Button->SetFocus();
    Send(*Button, WM_LBUTTONDOWN, MK_LBUTTON, 5, 5);
    KeyDown(*Button, VK_RETURN);
    KeyUp(*Button, VK_RETURN);
    EXPECT_EQ(Shown(*Button), "sunken");
    Send(*Button, WM_LBUTTONUP, 0, 5, 5);
    EXPECT_EQ(Shown(*Button), "focused");

    // Held by key and mouse when the focus goes: the key's release goes to
    // the other control, so the mouse's release alone lets the button up.
    Send(*Button, WM_LBUTTONDOWN, MK_LBUTTON, 5, 5);
    KeyDown(*Button, VK_RETURN);
    Other->SetFocus();
    EXPECT_EQ(Shown(*Button), "sunken");
    Send(*Button, WM_LBUTTONUP, 0, 5, 5);
    EXPECT_EQ(Shown(*Button), "raised");
    KeyUp(*Other, VK_RETURN);
    EXPECT_EQ(Shown(*Button), "raised");
}

TEST_F(KsStateTest, LosingTheCaptureToAnotherWindowCountsAsLeaving)
{
    Send(*Button, WM_MOUSEMOVE, 0, 5, 5);
    ASSERT_TRUE(Holds());
    SetCapture(Other->Handle());
    EXPECT_EQ(Shown(*Button), "raised");
    EXPECT_EQ(Events, (Strings{"enter", "leave"}));
    ReleaseCapture();

    // A press that loses the capture is let up, without a leave and without a click.
    Events.clear();
    Send(*Button, WM_LBUTTONDOWN, MK_LBUTTON, 5, 5);
    EXPECT_EQ(Shown(*Button), "sunken");
    SetCapture(Other->Handle());
    EXPECT_EQ(Shown(*Button), "focused");
    EXPECT_TRUE(Events.empty()) << Events.front();
    ReleaseCapture();
}

TEST_F(KsStateTest, DisablingCancelsPressesAndHoverAndShowsTheDisabledPicture)
{
    Button->SetFocus();
    Send(*Button, WM_MOUSEMOVE, 0, 5, 5);
    Send(*Button, WM_LBUTTONDOWN, MK_LBUTTON, 5, 5);
    ASSERT_EQ(Shown(*Button), "sunken");
    Button->SetEnabled(false);
    EXPECT_EQ(Shown(*Button), "disabled") << "also after the disabling took the focus away";
    EXPECT_FALSE(Holds());
    EXPECT_FALSE(Button->Focused());
    EXPECT_EQ(Events, (Strings{"enter", "leave"})) << "no click";

    Button->SetEnabled(true);
    EXPECT_EQ(Shown(*Button), "raised");

    // Without a disabled picture the raised one shows, and a picture given
    // later shows at once.
    Button->SetBitmap(nullptr, ksDisabled);
    Button->SetEnabled(false);
    EXPECT_EQ(Shown(*Button), "raised");
    EXPECT_EQ(Button->BitmapIndex(), ksDisabled);
    Button->SetBitmap(SolidBitmap(40, 20, DisabledColor).get(), ksDisabled);
    EXPECT_EQ(Shown(*Button), "disabled");
}

TEST_F(KsStateTest, AControlInsideADisabledParentShowsItsDisabledPicture)
{
    auto* panel = new TPanel(Form);
    panel->SetParent(Form);
    panel->SetBounds(200, 40, 100, 60);
    Button->SetParent(panel);
    Other->SetParent(panel);
    Other->SetEnabled(false);
    Send(*Button, WM_MOUSEMOVE, 0, 5, 5);
    ASSERT_EQ(Shown(*Button), "focused");

    panel->SetEnabled(false);
    EXPECT_EQ(Shown(*Button), "disabled");
    EXPECT_FALSE(Holds()) << "the hover's capture goes with the enabling";
    EXPECT_TRUE(Button->Enabled()) << "its own setting stays";

    panel->SetEnabled(true);
    EXPECT_EQ(Shown(*Button), "raised");
    EXPECT_EQ(Shown(*Other), "disabled") << "a control disabled by itself stays so";

    // Moved out of a disabled parent, it is enabled in effect again.
    panel->SetEnabled(false);
    Button->SetParent(Form);
    EXPECT_EQ(Shown(*Button), "raised");
}

TEST_F(KsStateTest, ShowMouseOverAndClicksDisabled)
{
    // Without clicks neither the mouse nor the keys press; hovering still shows.
    Button->SetClicksDisabled(true);
    Send(*Button, WM_MOUSEMOVE, 0, 5, 5);
    EXPECT_EQ(Shown(*Button), "focused");
    Send(*Button, WM_LBUTTONDOWN, MK_LBUTTON, 5, 5);
    EXPECT_EQ(Shown(*Button), "focused");
    Send(*Button, WM_MOUSEMOVE, MK_LBUTTON, 60, 5);
    EXPECT_EQ(Shown(*Button), "raised");
    Send(*Button, WM_MOUSEMOVE, MK_LBUTTON, 5, 5);
    EXPECT_EQ(Shown(*Button), "focused") << "dragged out and back: still no press";
    Send(*Button, WM_LBUTTONUP, 0, 5, 5);
    Button->SetFocus();
    KeyDown(*Button, VK_RETURN);
    EXPECT_EQ(Shown(*Button), "focused");
    KeyUp(*Button, VK_RETURN);
    Button->SetClicksDisabled(false);

    // Turning hover off while the pointer is over the control.
    Other->SetFocus();
    Send(*Button, WM_MOUSEMOVE, 0, 5, 5);
    ASSERT_EQ(Shown(*Button), "focused");
    Button->SetShowMouseOver(false);
    EXPECT_EQ(Shown(*Button), "raised");
    EXPECT_FALSE(Holds());
    Send(*Button, WM_MOUSEMOVE, 0, 6, 6);
    EXPECT_EQ(Shown(*Button), "raised");
    Send(*Button, WM_LBUTTONDOWN, MK_LBUTTON, 5, 5);
    EXPECT_EQ(Shown(*Button), "sunken") << "presses still show";
    Send(*Button, WM_LBUTTONUP, 0, 5, 5);

    // A press shown before the clicks were disabled still ends with its release.
    Send(*Button, WM_LBUTTONDOWN, MK_LBUTTON, 5, 5);
    Button->SetClicksDisabled(true);
    Send(*Button, WM_LBUTTONUP, 0, 5, 5);
    EXPECT_EQ(Shown(*Button), "focused");
    Button->SetClicksDisabled(false);
    KeyDown(*Button, VK_RETURN);
    ASSERT_EQ(Shown(*Button), "sunken");
    Button->SetClicksDisabled(true);
    KeyUp(*Button, VK_RETURN);
    EXPECT_EQ(Shown(*Button), "focused");
}

TEST_F(KsStateTest, ClickHandsTheModalResultToTheForm)
{
    Button->SetModalResult(mrYes);
    Form->SetModalResult(mrNone);
    Send(*Button, WM_LBUTTONDOWN, MK_LBUTTON, 5, 5);
    Send(*Button, WM_LBUTTONUP, 0, 5, 5);
    EXPECT_EQ(Form->ModalResult(), mrYes);

    // A result of 0 is handed over too, so a modal form stays open.
    Button->SetModalResult(mrNone);
    Form->SetModalResult(mrNo);
    Button->SetFocus();
    KeyDown(*Button, VK_SPACE);
    KeyUp(*Button, VK_SPACE);
    EXPECT_EQ(Form->ModalResult(), mrNone);

    // On a modal form: a click with a result closes it, one with 0 does not.
    Events.clear();
    Form->Hide();
    PostMessageA(Button->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    PostMessageA(Button->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    PostMessageA(Form->Handle(), WM_CLOSE, 0, 0);
    EXPECT_EQ(Form->ShowModal(), mrCancel) << "closed by WM_CLOSE, not by the click";
    EXPECT_EQ(Events, Strings{"click"});
    Button->SetModalResult(mrOk);
    PostMessageA(Button->Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
    PostMessageA(Button->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    PostMessageA(Button->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    EXPECT_EQ(Form->ShowModal(), mrOk);
    EXPECT_FALSE(Holds()) << "the closed form's button keeps no capture";
    EXPECT_EQ(Shown(*Button), "raised");
}

namespace {

// A subclass whose substitution never ends by itself.
class KsLoopingControl : public KsCustomControl {
    PLATFORM_CLASS(KsLoopingControl, KsCustomControl)
public:
    explicit KsLoopingControl(TComponent* AOwner) : KsCustomControl(AOwner, false, 3) {}
    int Substitute(int Index) override { return Index == 1 ? 2 : 1; }
};

const TClassInfo& KsLoopingControl::StaticClassInfo()
{
    static const TClassInfo& info = TClassBuilder<KsLoopingControl, KsCustomControl>("KsLoopingControl").Build();
    return info;
}

} // namespace

TEST_F(KsFormTest, ASubstitutionThatNeverEndsFallsBackToTheRaisedPicture)
{
    auto* control = Place<KsLoopingControl>(0, 0);
    Skin(*control, 10, 10, {RaisedColor});
    control->ShowBitmap(2);
    EXPECT_EQ(Shown(*control), "raised");
    EXPECT_EQ(control->BitmapIndex(), 2);
    control->SetBitmap(SolidBitmap(10, 10, FocusedColor).get(), 2);
    EXPECT_EQ(Shown(*control), "focused");
}
