#include "FormFixture.h"
#include "platform/MessagePump.h"

#include "components/Spin.h"

#include <climits>

using namespace platform;
using namespace components;

namespace {

class Spin : public FormFixture {};

} // namespace

TEST_F(Spin, ButtonsClickOnceThenRepeatWhileHeldAndFocusTheirControl)
{
    auto* edit = Place<TEdit>(10, 10, 100, 21);
    auto* button = Place<TSpinButton>(120, 10, 20, 30);
    int ups = 0, downs = 0;
    button->OnUpClick = [&](TObject*) { ++ups; };
    button->OnDownClick = [&](TObject*) { ++downs; };
    button->SetFocusControl(edit);

    Click(button, 10, 5);
    EXPECT_EQ(ups, 1);
    EXPECT_EQ(downs, 0);
    EXPECT_TRUE(edit->Focused());
    Click(button, 10, 25);
    EXPECT_EQ(downs, 1);

    // Held: a first pause, then a click every repeat pause.
    Press(button, 10, 25);
    PumpFor(TSpinButton::InitialRepeatPause - 150);
    EXPECT_EQ(downs, 2);
    // Timers come late on a busy machine: the repeats are waited for, not timed.
    EXPECT_TRUE(PumpUntil([&] { return downs >= 5; }, 150 + 5 * TSpinButton::RepeatPause + 3000));
    // Off the button the repeat pauses; released, it stops.
    SendMessageA(button->Handle(), WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(60, 60));
    int held = downs;
    PumpFor(3 * TSpinButton::RepeatPause);
    EXPECT_EQ(downs, held);
    SendMessageA(button->Handle(), WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(10, 25));
    PumpFor(3 * TSpinButton::RepeatPause);
    EXPECT_GT(downs, held);
    Release(button, 10, 25);
    held = downs;
    PumpFor(3 * TSpinButton::RepeatPause);
    EXPECT_EQ(downs, held);
    EXPECT_EQ(ups, 1);

    // Horizontal: down on the left, up on the right.
    button->SetOrientation(soHorizontal);
    Click(button, 15, 15);
    EXPECT_EQ(ups, 2);

    // A focus control that goes away is forgotten.
    edit->Free();
    EXPECT_EQ(button->FocusControl(), nullptr);
    Click(button, 15, 15);
    EXPECT_EQ(ups, 3);
}

TEST_F(Spin, ButtonsDrawTheirGlyphsGreyWhenDisabled)
{
    auto* button = Place<TSpinButton>(10, 10, 20, 30);
    const TRect up = Rect(0, 0, 20, 15), down = Rect(0, 15, 20, 30);
    EXPECT_GT(CountPixels(button, up, clBtnText), 3);
    EXPECT_GT(CountPixels(button, down, clBtnText), 3);
    // The up triangle is widest at its bottom, the down one at its top.
    EXPECT_GT(CountPixels(button, Rect(0, 9, 20, 10), clBtnText), CountPixels(button, Rect(0, 5, 20, 6), clBtnText));
    button->SetEnabled(false);
    EXPECT_EQ(CountPixels(button, up, clBtnText), 0);
    EXPECT_GT(CountPixels(button, up, clGrayText), 3);
    EXPECT_FALSE(IsWindowEnabled(button->Handle()));
}

TEST_F(Spin, EditTakesTypedNumbersKeysAndButtonsWithinItsRange)
{
    auto* spin = Place<TSpinEdit>(10, 10, 100, 22);
    int changes = 0;
    spin->OnChange = [&](TObject*) { ++changes; };
    EXPECT_EQ(spin->Text(), "0");

    spin->SetFocus();
    spin->SelectAll();
    Type(spin, "4x2");
    EXPECT_EQ(spin->Text(), "42");
    EXPECT_EQ(spin->Value(), 42);
    EXPECT_EQ(changes, 2); // 4, then 42

    Key(spin, VK_UP);
    EXPECT_EQ(spin->Value(), 43);
    spin->SetIncrement(5);
    Key(spin, VK_PRIOR);
    EXPECT_EQ(spin->Value(), 93);
    Key(spin, VK_PRIOR);
    EXPECT_EQ(spin->Value(), 100);
    EXPECT_EQ(spin->Text(), "100");
    Key(spin, VK_NEXT);
    Key(spin, VK_DOWN);
    EXPECT_EQ(spin->Value(), 45);

    // The buttons sit inside the box on the right.
    TSpinButton* button = spin->Button();
    EXPECT_EQ(button->Left() + button->Width(), spin->ClientWidth());
    Click(button, 7, 3);
    EXPECT_EQ(spin->Value(), 50);
    Click(button, 7, button->Height() - 3);
    Click(button, 7, button->Height() - 3);
    EXPECT_EQ(spin->Value(), 40);
    EXPECT_TRUE(spin->Focused());

    spin->SetValue(-7);
    EXPECT_EQ(spin->Value(), 0);
    EXPECT_EQ(spin->Text(), "0");
    changes = 0;
    spin->SetValue(0);
    EXPECT_EQ(changes, 0);
}

// Steps that go past the ends of a whole number stop at the range's end.
TEST_F(Spin, EditStepsStopAtTheRangeEndsForHugeIncrements)
{
    auto* spin = Place<TSpinEdit>(10, 10, 140, 22);
    spin->SetMinValue(INT_MIN);
    spin->SetMaxValue(INT_MAX);
    spin->SetIncrement(300000000);
    spin->SetFocus();
    Key(spin, VK_PRIOR);
    EXPECT_EQ(spin->Value(), INT_MAX);
    EXPECT_EQ(spin->Text(), "2147483647");
    Key(spin, VK_UP);
    EXPECT_EQ(spin->Value(), INT_MAX);
    spin->SetValue(0);
    Key(spin, VK_NEXT);
    EXPECT_EQ(spin->Value(), INT_MIN);
    EXPECT_EQ(spin->Text(), "-2147483648");
}

// A spin edit disabled while its button is held stops counting.
TEST_F(Spin, DisablingTheEditLetsGoOfAHeldButton)
{
    auto* spin = Place<TSpinEdit>(10, 10, 100, 22);
    TSpinButton* button = spin->Button();
    Press(button, 7, 3);
    EXPECT_EQ(spin->Value(), 1);
    spin->SetEnabled(false);
    PumpFor(TSpinButton::InitialRepeatPause + 3 * TSpinButton::RepeatPause);
    EXPECT_EQ(spin->Value(), 1);
    Release(button, 7, 3);
    spin->SetEnabled(true);
    PumpFor(3 * TSpinButton::RepeatPause);
    EXPECT_EQ(spin->Value(), 1);
}

TEST_F(Spin, EditRevertsTextThatIsNotANumberAndClampsOnLeaving)
{
    auto* spin = Place<TSpinEdit>(10, 10, 100, 22);
    auto* other = Place<TEdit>(10, 50, 100, 22);
    spin->SetValue(12);
    spin->SetFocus();
    spin->SetText("-");
    EXPECT_EQ(spin->Value(), 12);
    other->SetFocus();
    EXPECT_EQ(spin->Text(), "12");

    spin->SetFocus();
    spin->SelectAll();
    Type(spin, "500");
    EXPECT_EQ(spin->Value(), 50); // 5 and 50 were in range
    other->SetFocus();
    EXPECT_EQ(spin->Value(), 100);
    EXPECT_EQ(spin->Text(), "100");

    EXPECT_THROW(spin->SetMinValue(101), ERangeError);
    EXPECT_THROW(spin->SetIncrement(0), ERangeError);
    EXPECT_EQ(spin->MinValue(), 0);
    EXPECT_EQ(spin->Increment(), 1);
    spin->SetMaxValue(20);
    EXPECT_EQ(spin->Value(), 20);
}

TEST_F(Spin, EditorDisabledStillSpinsAndReadOnlyChangesNothing)
{
    auto* spin = Place<TSpinEdit>(10, 10, 100, 22);
    spin->SetValue(10);
    spin->SetEditorEnabled(false);
    spin->SetFocus();
    spin->SelectAll();
    Type(spin, "7");
    EXPECT_EQ(spin->Text(), "10");
    Key(spin, VK_UP);
    EXPECT_EQ(spin->Value(), 11);

    spin->SetEditorEnabled(true);
    spin->SetReadOnly(true);
    Key(spin, VK_UP);
    Click(spin->Button(), 7, 3);
    spin->SelectAll();
    Type(spin, "7");
    EXPECT_EQ(spin->Value(), 11);
    EXPECT_EQ(spin->Text(), "11");
}

// A number typed exactly at either end of the range is taken as typed.
TEST_F(Spin, NumbersTypedAtTheEndsOfTheRangeAreTaken)
{
    auto* spin = Place<TSpinEdit>(10, 10, 100, 22);
    spin->SetMinValue(10);
    spin->SetMaxValue(250);
    spin->SetFocus();
    spin->SelectAll();
    Type(spin, "250");
    EXPECT_EQ(spin->Value(), 250);
    spin->SelectAll();
    Type(spin, "10");
    EXPECT_EQ(spin->Value(), 10);
    EXPECT_EQ(spin->Text(), "10");

    // A range below zero takes a minus sign, and still no letters.
    spin->SetMinValue(-50);
    spin->SelectAll();
    Type(spin, "-a3b5");
    EXPECT_EQ(spin->Text(), "-35");
    EXPECT_EQ(spin->Value(), -35);
}
