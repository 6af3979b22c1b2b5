// Check boxes and radio buttons: the picture each check state and look
// shows, clicks, keys and double clicks as real window messages, radio
// exclusivity and the check box caption colours.
#include "Allocations.h"
#include "KsPackageTesting.h"
#include "KsPackage/Source/KsCheckBoxTx.h"
#include "KsPackage/Source/KsRadioButton.h"
#include "platform/Label.h"

using namespace platform;

namespace {

// A colour per state picture, so the picture shown names its index.
TColor StateColor(int Index)
{
    return static_cast<TColor>(0x3C0000 + 0x001400 * Index + 0x0A + Index);
}

// The index of the picture shown, or -1.
int ShownIndex(KsCustomControl& Control)
{
    const TColor shown = ShownAt(Control);
    for (int i = 0; i < Control.BitmapCount(); ++i)
        if (StateColor(i) == shown)
            return i;
    return -1;
}

// Pictures for the given states only.
void SkinStates(KsCustomControl& Control, std::initializer_list<int> States)
{
    for (int i : States)
        Control.SetBitmap(SolidBitmap(16, 16, StateColor(i)).get(), i);
}

void SkinAll(KsCustomControl& Control)
{
    for (int i = 0; i < Control.BitmapCount(); ++i)
        Control.SetBitmap(SolidBitmap(16, 16, StateColor(i)).get(), i);
}

void Click(TWinControl& Control)
{
    Send(Control, WM_LBUTTONDOWN, MK_LBUTTON, 5, 5);
    Send(Control, WM_LBUTTONUP, 0, 5, 5);
}

} // namespace

TEST_F(KsFormTest, CheckBoxClicksCycleTheCheckStatesAndShowTheirPictures)
{
    auto* box = Place<KsCheckBox>(10, 10);
    SkinAll(*box);
    box->SetTabStop(true);
    int clicks = 0;
    box->OnClick = [&](TObject*) { ++clicks; };
    EXPECT_EQ(ShownIndex(*box), 0);

    // Pressed: the sunken picture of the state; released over it: focused.
    Send(*box, WM_LBUTTONDOWN, MK_LBUTTON, 5, 5);
    EXPECT_EQ(ShownIndex(*box), 1);
    Send(*box, WM_LBUTTONUP, 0, 5, 5);
    EXPECT_EQ(box->State(), cbChecked);
    EXPECT_TRUE(box->GetChecked());
    EXPECT_EQ(ShownIndex(*box), 6) << "checked, focused";
    Click(*box);
    EXPECT_EQ(box->State(), cbUnchecked);
    EXPECT_EQ(clicks, 2);

    // No double clicks: the second press of a double click is a second click.
    Click(*box);
    Send(*box, WM_LBUTTONDBLCLK, MK_LBUTTON, 5, 5);
    Send(*box, WM_LBUTTONUP, 0, 5, 5);
    EXPECT_EQ(box->State(), cbUnchecked);
    EXPECT_EQ(clicks, 4);

    box->SetAllowGrayed(true);
    std::vector<TCheckBoxState> seen;
    for (int i = 0; i < 3; ++i) {
        Click(*box);
        seen.push_back(box->State());
    }
    EXPECT_EQ(seen, (std::vector<TCheckBoxState>{cbGrayed, cbChecked, cbUnchecked}));
    Click(*box);
    EXPECT_FALSE(box->GetChecked()) << "a grayed box reads unchecked";
    EXPECT_EQ(ShownIndex(*box), 10) << "grayed, focused";

    // Grayed by the program while AllowGrayed is off: the next click checks.
    box->SetAllowGrayed(false);
    box->SetState(cbUnchecked);
    box->SetState(cbGrayed);
    Click(*box);
    EXPECT_EQ(box->State(), cbChecked);

    // The program's writes raise no click and keep the look on screen.
    clicks = 0;
    box->SetChecked(false);
    EXPECT_EQ(ShownIndex(*box), 2) << "still focused";
    box->SetState(cbGrayed);
    EXPECT_EQ(ShownIndex(*box), 10);
    box->SetEnabled(false);
    EXPECT_EQ(ShownIndex(*box), 11);
    box->SetState(cbChecked);
    EXPECT_EQ(ShownIndex(*box), 7) << "a disabled box stays disabled";
    box->SetChecked(false);
    EXPECT_EQ(ShownIndex(*box), 3);
    EXPECT_EQ(clicks, 0);
    box->SetEnabled(true);
    EXPECT_EQ(ShownIndex(*box), 0);
}

TEST_F(KsFormTest, CheckBoxKeysToggleOnSpaceOnly)
{
    auto* box = Place<KsCheckBox>(10, 10);
    SkinAll(*box);
    box->SetTabStop(true);
    box->SetFocus();
    int clicks = 0;
    box->OnClick = [&](TObject*) { ++clicks; };

    KeyDown(*box, VK_SPACE);
    EXPECT_EQ(box->State(), cbChecked);
    EXPECT_EQ(ShownIndex(*box), 5) << "pressed in the new state";
    KeyUp(*box, VK_SPACE);
    EXPECT_EQ(ShownIndex(*box), 6);

    KeyDown(*box, VK_RETURN);
    EXPECT_EQ(ShownIndex(*box), 5) << "Enter shows the press";
    KeyUp(*box, VK_RETURN);
    EXPECT_EQ(box->State(), cbChecked) << "but does not toggle";
    EXPECT_EQ(clicks, 1);

    box->OnKeyPress = [](TObject*, char& Key) { Key = 0; };
    KeyDown(*box, VK_SPACE);
    KeyUp(*box, VK_SPACE);
    EXPECT_EQ(box->State(), cbChecked);
    EXPECT_EQ(clicks, 1);
}

TEST_F(KsFormTest, MissingPicturesFallBackToTheRaisedOneOfTheirCheckState)
{
    auto* box = Place<KsCheckBox>(10, 10);
    SkinStates(*box, {0, 4, 8});
    box->SetEnabled(false);
    for (TCheckBoxState state : {cbUnchecked, cbChecked, cbGrayed}) {
        box->SetState(state);
        EXPECT_EQ(ShownIndex(*box), 4 * state) << "disabled in state " << state;
        EXPECT_EQ(box->BitmapIndex(), 4 * state + 3);
    }
    box->SetEnabled(true);
    box->SetState(cbChecked);
    box->ShowFocused();
    EXPECT_EQ(ShownIndex(*box), 4);

    // Checked-focused falls to checked-raised, then to unchecked-raised:
    // a raised picture names the unchecked raised one at once.
    EXPECT_EQ(box->Substitute(6), 4);
    EXPECT_EQ(box->Substitute(4), 0);
    EXPECT_EQ(box->Substitute(9), 8);
    EXPECT_EQ(box->Substitute(8), 0);
    box->SetBitmap(nullptr, 4);
    EXPECT_EQ(ShownIndex(*box), 0);
    // A replaced fallback shows at once, and so does the state's own picture.
    box->SetBitmap(SolidBitmap(16, 16, StateColor(4)).get(), 4);
    EXPECT_EQ(ShownIndex(*box), 4);
    box->SetBitmap(SolidBitmap(16, 16, StateColor(6)).get(), 6);
    EXPECT_EQ(ShownIndex(*box), 6);
    box->SetBitmap(SolidBitmap(16, 16, clRed).get(), 6);
    EXPECT_EQ(ShownAt(*box), clRed);

    // The appearance groups hand out the numbered pictures.
    EXPECT_EQ(box->Appearance()->Gray()->RaisedBmp(), box->GetBitmap(8));
    EXPECT_EQ(box->Appearance()->Check()->DisabledBmp(), box->GetBitmap(7));
    auto* other = Place<KsCheckBox>(40, 10);
    SkinAll(*other);
    box->SetAppearance(other->Appearance());
    EXPECT_EQ(PixelOf(box->GetBitmap(11)->Canvas(), 2, 2), StateColor(11));
    EXPECT_NE(box->GetBitmap(11), other->GetBitmap(11)) << "copied, not shared";
}

namespace {

constexpr TColor Paper = 0x202020, Ink = 0xF0F0F0;

class KsCheckCaptionTest : public KsFormTest {
protected:
    void SetUp() override
    {
        KsFormTest::SetUp();
        Box = Place<KsCheckBoxTx>(10, 10);
        for (int i = 0; i < Box->BitmapCount(); ++i)
            Box->SetBitmap(SolidBitmap(97, 23, Paper).get(), i);
        Box->Font()->SetColor(Ink);
        Box->Font()->SetHeight(-12);
        Box->SetCaption("Check");
        Box->SetTabStop(true);
    }
    TColor InkColor() { return InkOf(*Box, Paper).Color; }
    // The caption's colour in each look of the current check state.
    std::vector<TColor> Looks()
    {
        std::vector<TColor> colors;
        for (int look = 0; look < 4; ++look) {
            Box->ShowChkboxBmp(look);
            colors.push_back(InkColor());
        }
        return colors;
    }
    KsCheckBoxTx* Box = nullptr;
};

bool AllNear(const std::vector<TColor>& A, const std::vector<TColor>& B)
{
    for (size_t i = 0; i < A.size(); ++i)
        if (!Near(A[i], B[i]))
            return false;
    return A.size() == B.size();
}

} // namespace

TEST_F(KsCheckCaptionTest, CaptionColoursFollowTheCheckStateAndLook)
{
    const TColor grey = static_cast<TColor>(ColorToRGB(clGrayText));
    for (TCheckBoxState state : {cbUnchecked, cbChecked, cbGrayed}) {
        Box->SetState(state);
        EXPECT_PRED2(AllNear, Looks(), (std::vector<TColor>{Ink, Ink, Ink, grey})) << "all unset, state " << state;
    }

    // Four-state groups: sunken and focused fall back to Raised.
    Box->FontColors()->Check()->SetColor(fcRaised, clRed);
    Box->SetState(cbChecked);
    EXPECT_PRED2(AllNear, Looks(), (std::vector<TColor>{clRed, clRed, clRed, grey}));
    Box->FontColors()->Check()->SetColor(fcSunken, clLime);
    Box->FontColors()->Check()->SetColor(fcFocused, clBlue);
    Box->FontColors()->Check()->SetColor(fcDisabled, clYellow);
    EXPECT_PRED2(AllNear, Looks(), (std::vector<TColor>{clRed, clLime, clBlue, clYellow}));
    Box->SetState(cbGrayed);
    EXPECT_PRED2(AllNear, Looks(), (std::vector<TColor>{Ink, Ink, Ink, grey})) << "the gray group is its own";
    Box->FontColors()->Gray()->SetColor(fcFocused, clAqua);
    EXPECT_PRED2(AllNear, Looks(), (std::vector<TColor>{Ink, Ink, clAqua, grey}));

    // Three-state group: raised is always the font's, no fall-back to it.
    Box->FontColors()->Uncheck()->SetColor(fcSunken, clFuchsia);
    Box->SetState(cbUnchecked);
    EXPECT_PRED2(AllNear, Looks(), (std::vector<TColor>{Ink, clFuchsia, Ink, grey}));

    // A change of colour redraws the look on screen at once.
    Box->ShowChkboxBmp(2);
    Box->FontColors()->Uncheck()->SetColor(fcFocused, clRed);
    EXPECT_PRED2(Near, InkColor(), clRed);

    // The whole record is copied, group by group.
    auto* other = Place<KsCheckBoxTx>(10, 60);
    int changes = 0;
    other->FontColors()->SetOnChange([&](TObject*) { ++changes; });
    SetObjectProp(*other, "FontColors", Box->FontColors());
    EXPECT_EQ(changes, 3);
    EXPECT_EQ(other->FontColors()->Uncheck()->GetColor(fcFocused), clRed);
    EXPECT_EQ(other->FontColors()->Check()->GetColor(fcDisabled), clYellow);
    EXPECT_EQ(other->FontColors()->Gray()->GetColor(fcFocused), clAqua);
}

TEST_F(KsCheckCaptionTest, TheCaptionShiftsOnceWhenPressedAndAResizeResetsItsRectangle)
{
    const TInk centred = InkOf(*Box, Paper);
    ASSERT_FALSE(centred.Empty());
    EXPECT_LE(std::abs(centred.Box.left - (97 - centred.Box.right)), 1);
    Send(*Box, WM_LBUTTONDOWN, MK_LBUTTON, 40, 10);
    EXPECT_EQ(InkOf(*Box, Paper).Box.left, centred.Box.left + 1);
    EXPECT_EQ(InkOf(*Box, Paper).Box.top, centred.Box.top + 1);
    Box->Repaint();
    EXPECT_EQ(InkOf(*Box, Paper).Box.left, centred.Box.left) << "only the drawing of the press is shifted";
    Send(*Box, WM_LBUTTONUP, 0, 40, 10);
    EXPECT_EQ(Box->State(), cbChecked);
    EXPECT_EQ(InkOf(*Box, Paper).Box.left, centred.Box.left);

    Box->SetTextBounds(0, 0, 40, 23);
    EXPECT_LT(InkOf(*Box, Paper).Box.right, 45);
    Box->SetTop(30);
    EXPECT_EQ(InkOf(*Box, Paper).Box.left, centred.Box.left) << "a move resets the text rectangle";
}

// ---------------------------------------------------------------- radio buttons

namespace {

// A radio button of another class: its siblings leave it alone.
class KsOtherRadio : public KsRadioButton {
    PLATFORM_CLASS(KsOtherRadio, KsRadioButton)
public:
    using KsRadioButton::KsRadioButton;
};

// One that joins the group of plain radio buttons.
class KsJoiningRadio : public KsRadioButton {
    PLATFORM_CLASS(KsJoiningRadio, KsRadioButton)
public:
    using KsRadioButton::KsRadioButton;
    bool IsExclusiveType(TControl* Control) override { return Control->InheritsFrom(KsRadioButton::StaticClassInfo()); }
};

} // namespace

const TClassInfo& KsOtherRadio::StaticClassInfo()
{
    static const TClassInfo& info = TClassBuilder<KsOtherRadio, KsRadioButton>("KsOtherRadio").Build();
    return info;
}

const TClassInfo& KsJoiningRadio::StaticClassInfo()
{
    static const TClassInfo& info = TClassBuilder<KsJoiningRadio, KsRadioButton>("KsJoiningRadio").Build();
    return info;
}

namespace {

class KsRadioTest : public KsFormTest {
protected:
    template <class C = KsRadioButton>
    C* Radio(TWinControl* Parent, int Left)
    {
        C* radio = new C(Form);
        radio->SetParent(Parent);
        radio->SetLeft(Left);
        SkinAll(*radio);
        return radio;
    }
    TPanel* Panel(int Top)
    {
        auto* panel = new TPanel(Form);
        panel->SetParent(Form);
        panel->SetBounds(10, Top, 200, 40);
        return panel;
    }
};

} // namespace

TEST_F(KsRadioTest, CheckingOneUnchecksItsSiblingsOfTheSameClassOnly)
{
    TPanel* panel = Panel(10);
    KsRadioButton* r[3] = {Radio(panel, 10), Radio(panel, 40), Radio(panel, 70)};
    auto* label = new TLabel(Form);
    label->SetParent(panel);
    int clicks = 0;
    r[1]->OnClick = [&](TObject*) { ++clicks; };
    r[0]->SetChecked(true);
    r[2]->SetChecked(true);
    EXPECT_FALSE(r[0]->GetChecked()) << "checking by program unchecks too";

    Click(*r[1]);
    EXPECT_EQ(clicks, 1);
    EXPECT_FALSE(r[0]->GetChecked());
    EXPECT_TRUE(r[1]->GetChecked());
    EXPECT_FALSE(r[2]->GetChecked());
    EXPECT_EQ(ShownIndex(*r[1]), 4) << "checked, raised";
    EXPECT_EQ(ShownIndex(*r[2]), 0) << "the sibling was redrawn unchecked";
    Click(*r[1]);
    EXPECT_TRUE(r[1]->GetChecked()) << "a click never unchecks";
    EXPECT_EQ(clicks, 2);

    // Another parent is another group.
    TPanel* other = Panel(60);
    KsRadioButton* apart = Radio(other, 10);
    apart->SetChecked(true);
    EXPECT_TRUE(r[1]->GetChecked());
    EXPECT_TRUE(apart->GetChecked());

    // A derived class stays apart unless it says otherwise.
    auto* derived = Radio<KsOtherRadio>(panel, 100);
    derived->SetChecked(true);
    EXPECT_FALSE(r[1]->GetChecked()) << "the derived button still unchecks plain ones";
    r[0]->SetChecked(true);
    EXPECT_TRUE(derived->GetChecked());
    auto* joining = Radio<KsJoiningRadio>(panel, 130);
    joining->SetChecked(true);
    EXPECT_FALSE(derived->GetChecked());
    EXPECT_FALSE(r[0]->GetChecked());

    // Without a parent it is checked and unchecked freely.
    auto* alone = new KsRadioButton(Form);
    alone->SetChecked(true);
    EXPECT_TRUE(alone->GetChecked());
    alone->SetChecked(false);
    EXPECT_FALSE(alone->GetChecked());
}

TEST_F(KsRadioTest, ADoubleClickIsAClickThenADoubleClickAndKeysCheck)
{
    TPanel* panel = Panel(10);
    KsRadioButton* a = Radio(panel, 10);
    KsRadioButton* b = Radio(panel, 40);
    a->SetChecked(true);
    std::vector<std::string> events;
    b->OnClick = [&](TObject*) { events.push_back("click"); };
    b->OnDblClick = [&](TObject*) { events.push_back("double"); };
    Click(*b);
    b->SetChecked(false);
    Send(*b, WM_LBUTTONDBLCLK, MK_LBUTTON, 5, 5);
    Send(*b, WM_LBUTTONUP, 0, 5, 5);
    EXPECT_EQ(events, (std::vector<std::string>{"click", "double"}));
    EXPECT_TRUE(b->GetChecked()) << "the double click checks";

    a->SetTabStop(true);
    a->SetFocus();
    KeyDown(*a, VK_SPACE);
    KeyUp(*a, VK_SPACE);
    EXPECT_TRUE(a->GetChecked());
    EXPECT_FALSE(b->GetChecked());
    EXPECT_EQ(ShownIndex(*a), 6);

    // Only the raised pictures: every look shows the raised one of its state.
    auto* sparse = new KsRadioButton(Form);
    sparse->SetParent(Form);
    SkinStates(*sparse, {0, 4});
    sparse->SetEnabled(false);
    EXPECT_EQ(ShownIndex(*sparse), 0);
    sparse->SetChecked(true);
    EXPECT_EQ(ShownIndex(*sparse), 4);
    EXPECT_EQ(sparse->BitmapIndex(), 7);
    EXPECT_EQ(sparse->Substitute(5), 4);
    EXPECT_EQ(sparse->Substitute(4), 0);
}

// Running out of memory at any point of making a check box, a check box
// with a caption, a radio button, a check box's picture groups or its caption
// colours frees everything made so far.
TEST(KsCheckBoxConstruction, RunningOutOfMemoryFreesWhatWasMade)
{
    EXPECT_EQ(FirstLeakingFailure([] { (new KsCheckBox(nullptr))->Free(); }), -1);
    EXPECT_EQ(FirstLeakingFailure([] { (new KsCheckBoxTx(nullptr))->Free(); }), -1);
    EXPECT_EQ(FirstLeakingFailure([] { (new KsRadioButton(nullptr))->Free(); }), -1);
    auto* box = new KsCheckBox(nullptr);
    EXPECT_EQ(FirstLeakingFailure([box] { delete new KsChkBoxAppearance(box); }), -1);
    EXPECT_EQ(FirstLeakingFailure([] { delete new KsCheckBoxFontColor; }), -1);
    box->Free();
}
