// The components that take keys do so as soon as they have the keyboard
// focus, however it came (Tab from another module's window gives it
// without a click), and they are tab stops for the system's dialog
// navigation.
#include "FormFixture.h"
#include "support/Files.h"

#include "components/Calendar.h"
#include "components/ColorGrid.h"
#include "components/DirOutline.h"
#include "components/Spin.h"

using namespace platform;
using namespace components;

namespace {

class KeysOnFocus : public FormFixture {};

TEST_F(KeysOnFocus, TheKeysWorkWithoutAClickFirst)
{
    auto* calendar = Place<TCalendar>(10, 10, 200, 120);
    auto* grid = Place<TColorGrid>(220, 10, 100, 100);
    auto* spin = Place<TSpinEdit>(330, 10, 80, 21);
    testsupport::TempFolder temp("FocusedKeys");
    CreateDirectoryA((temp.Path() + "Inner").c_str(), nullptr);
    auto* outline = Place<TDirectoryOutline>(10, 140, 300, 110);
    outline->SetDirectory(temp.Path().substr(0, temp.Path().size() - 1));

    for (TWinControl* control : std::initializer_list<TWinControl*>{calendar, grid, spin, outline})
        EXPECT_TRUE(GetWindowLongA(control->Handle(), GWL_STYLE) & WS_TABSTOP) << control->ClassName();

    calendar->SetCalendarDate(EncodeDate(2026, 12, 31));
    FocusedKeys(calendar, {VK_NEXT, VK_RIGHT});
    EXPECT_EQ(calendar->Year(), 2027);
    EXPECT_EQ(calendar->Month(), 2);
    EXPECT_EQ(calendar->Day(), 1);

    FocusedKeys(grid, {VK_DOWN, VK_RIGHT});
    EXPECT_EQ(grid->ForegroundIndex(), 5);

    FocusedKeys(spin, {VK_UP, VK_UP, VK_UP});
    EXPECT_EQ(spin->Value(), 3);

    FocusedKeys(outline, {VK_RIGHT, VK_DOWN});
    EXPECT_EQ(outline->Directory(), temp.Path() + "Inner");
}

} // namespace
