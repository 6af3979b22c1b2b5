// Skinned controls linked to actions: captions, pictures and check marks
// follow the action, and a user's click goes back to it.
#include "KsPackageTesting.h"
#include "KsPackage/Source/KsCheckBoxTx.h"
#include "KsPackage/Source/KsRadioButton.h"
#include "platform/Action.h"

using namespace platform;

namespace {

void Click(TWinControl& Control)
{
    Send(Control, WM_LBUTTONDOWN, MK_LBUTTON, 5, 5);
    Send(Control, WM_LBUTTONUP, 0, 5, 5);
}

class KsActionTest : public KsFormTest {
protected:
    void SetUp() override
    {
        KsFormTest::SetUp();
        Sound = new TAction(Form);
        Sound->SetCaption("Sound");
        Sound->SetChecked(true);
        Play = new TAction(Form);
        Play->SetCaption("Play");
        Play->OnExecute = [this](TObject*) { ++Played; };
    }
    TAction* Sound = nullptr;
    TAction* Play = nullptr;
    int Played = 0;
};

} // namespace

TEST_F(KsActionTest, CheckMarksFollowTheActionAndAClickHandsTheNewMarkBack)
{
    auto* captioned = Place<KsCheckBoxTx>(10, 10);
    auto* plain = Place<KsCheckBox>(10, 40);
    auto* radio = Place<KsRadioButton>(10, 70);
    for (KsCustomControl* control : std::initializer_list<KsCustomControl*>{captioned, plain, radio})
        Skin(*control, 16, 16);
    captioned->SetAction(Sound);
    plain->SetAction(Sound);
    EXPECT_EQ(captioned->Caption(), "Sound");
    EXPECT_EQ(captioned->State(), cbChecked);
    EXPECT_EQ(plain->State(), cbChecked);

    Sound->SetChecked(false);
    EXPECT_EQ(captioned->State(), cbUnchecked);
    EXPECT_EQ(plain->State(), cbUnchecked);
    // The user checks one box: the action and the other box follow, and the
    // box's own OnClick still runs for an action without a handler.
    int clicks = 0;
    plain->OnClick = [&](TObject*) { ++clicks; };
    Click(*plain);
    EXPECT_EQ(plain->State(), cbChecked);
    EXPECT_TRUE(Sound->Checked());
    EXPECT_EQ(captioned->State(), cbChecked);
    EXPECT_EQ(clicks, 1);
    // A grayed box stays grayed for an action that is not checked.
    captioned->SetAllowGrayed(true);
    Click(*captioned);
    EXPECT_EQ(captioned->State(), cbUnchecked);
    Click(*captioned);
    EXPECT_EQ(captioned->State(), cbGrayed);
    EXPECT_FALSE(Sound->Checked());
    EXPECT_EQ(plain->State(), cbUnchecked);

    radio->SetAction(Sound);
    EXPECT_FALSE(radio->GetChecked());
    Click(*radio);
    EXPECT_TRUE(Sound->Checked());
    EXPECT_EQ(plain->State(), cbChecked);

    // Freed, the action leaves its controls as they are.
    Sound->Free();
    EXPECT_EQ(plain->Action(), nullptr);
    EXPECT_EQ(plain->State(), cbChecked);
    Click(*plain);
    EXPECT_EQ(plain->State(), cbUnchecked);
}

TEST_F(KsActionTest, ButtonsRunTheirActionAndShowItsEnabling)
{
    auto* button = Place<KsButtonTx>(10, 10);
    Skin(*button, 60, 20);
    auto* other = Place<KsButtonTx>(10, 40);
    Skin(*other, 60, 20);
    button->SetAction(Play);
    other->SetAction(Play);
    EXPECT_EQ(button->Caption(), "Play");
    Click(*button);
    Click(*other);
    EXPECT_EQ(Played, 2);
    // The space key clicks too.
    button->SetFocus();
    KeyDown(*button, VK_SPACE);
    KeyUp(*button, VK_SPACE);
    EXPECT_EQ(Played, 3);

    Play->SetEnabled(false);
    EXPECT_EQ(Shown(*button), "disabled");
    EXPECT_EQ(Shown(*other), "disabled");
    Click(*button);
    EXPECT_EQ(Played, 3);
    Play->SetEnabled(true);
    EXPECT_EQ(Shown(*other), "raised");
    Play->SetCaption("Stop");
    EXPECT_EQ(other->Caption(), "Stop");
    Play->SetVisible(false);
    EXPECT_FALSE(IsWindowVisible(button->Handle()));
}
