#include "FormFixture.h"

#include "components/Calendar.h"
#include "platform/InterceptedServices.h"

using namespace platform;
using namespace components;

namespace {

class Calendar : public FormFixture {
protected:
    void SetUp() override
    {
        FormFixture::SetUp();
        Cal = Place<TCalendar>(10, 10, 280, 140);
        Cal->OnChange = [this](TObject*) { ++Changes; };
    }
    void Set(int Year, int Month, int Day)
    {
        Cal->SetCalendarDate(EncodeDate(Year, Month, Day));
        Changes = 0;
    }
    void ExpectDate(int Year, int Month, int Day)
    {
        EXPECT_EQ(Cal->Year(), Year);
        EXPECT_EQ(Cal->Month(), Month);
        EXPECT_EQ(Cal->Day(), Day);
    }
    void ClickDay(int Day)
    {
        const TRect r = Cal->DayRect(Day);
        Click(Cal, (r.left + r.right) / 2, (r.top + r.bottom) / 2);
    }

    TCalendar* Cal = nullptr;
    int Changes = 0;
};

} // namespace

TEST_F(Calendar, StartsOnTodayAndKeepsTheDateValidThroughLeapYears)
{
    int year, month, day;
    DecodeDate(Now(), year, month, day);
    EXPECT_TRUE(Cal->UseCurrentDate());
    ExpectDate(year, month, day);

    Set(2024, 2, 29);
    EXPECT_FALSE(Cal->UseCurrentDate());
    Cal->SetYear(2025);
    ExpectDate(2025, 2, 28);
    Cal->SetYear(2024);
    Cal->SetDay(31);
    ExpectDate(2024, 2, 29);
    Cal->SetMonth(3);
    Cal->SetDay(31);
    Cal->SetMonth(4);
    ExpectDate(2024, 4, 30);
    Cal->SetYear(1900); // not a leap year
    Cal->SetMonth(2);
    ExpectDate(1900, 2, 28);
    EXPECT_EQ(Changes, 8);

    EXPECT_THROW(Cal->SetDay(0), ERangeError);
    EXPECT_THROW(Cal->SetMonth(13), ERangeError);
    EXPECT_THROW(Cal->SetYear(10000), ERangeError);
    ExpectDate(1900, 2, 28);

    Cal->SetUseCurrentDate(true);
    ExpectDate(year, month, day);
}

TEST_F(Calendar, MonthAndYearStepsArrowsAndPagesMoveTheDate)
{
    Set(2024, 1, 31);
    Cal->NextMonth();
    ExpectDate(2024, 2, 29);
    Cal->PrevYear();
    ExpectDate(2023, 2, 28);
    Cal->NextYear();
    Cal->PrevMonth();
    ExpectDate(2024, 1, 28);
    Set(2024, 12, 31);
    Cal->NextMonth();
    ExpectDate(2025, 1, 31);

    Cal->SetFocus();
    Key(Cal, VK_RIGHT);
    ExpectDate(2025, 2, 1);
    Key(Cal, VK_UP);
    ExpectDate(2025, 1, 25);
    Key(Cal, VK_DOWN);
    Key(Cal, VK_LEFT);
    ExpectDate(2025, 1, 31);
    Key(Cal, VK_NEXT);
    ExpectDate(2025, 2, 28);
    Key(Cal, VK_PRIOR);
    ExpectDate(2025, 1, 28);
    Key(Cal, VK_END);
    ExpectDate(2025, 1, 31);
    Key(Cal, VK_HOME);
    ExpectDate(2025, 1, 1);
    EXPECT_EQ(Changes, 9);
}

// Keys that would leave years 1 to 9999 do nothing, quietly: no error box.
TEST_F(Calendar, KeysStopAtTheFirstAndLastYear)
{
    TInterceptedServices services;
    Cal->SetFocus();
    Set(9999, 12, 29);
    Key(Cal, VK_NEXT);
    Key(Cal, VK_DOWN);
    ExpectDate(9999, 12, 29);
    EXPECT_EQ(Changes, 0);
    Key(Cal, VK_PRIOR);
    ExpectDate(9999, 11, 29);
    Set(1, 1, 3);
    Key(Cal, VK_PRIOR);
    Key(Cal, VK_UP);
    ExpectDate(1, 1, 3);
    Key(Cal, VK_NEXT);
    ExpectDate(1, 2, 3);
    EXPECT_TRUE(services.Boxes.empty());
    EXPECT_EQ(Changes, 1);
}

TEST_F(Calendar, AClickSelectsADayUnlessReadOnly)
{
    Set(2024, 9, 10);
    ClickDay(15);
    ExpectDate(2024, 9, 15);
    EXPECT_EQ(Changes, 1);
    EXPECT_TRUE(Cal->Focused());
    // The weekday row and the cells outside the month choose nothing.
    Click(Cal, 5, 5);
    Click(Cal, 275, 135);
    ExpectDate(2024, 9, 15);

    Cal->SetReadOnly(true);
    ClickDay(3);
    Key(Cal, VK_RIGHT);
    Key(Cal, VK_NEXT);
    ExpectDate(2024, 9, 15);
    EXPECT_EQ(Changes, 1);

    // One that is no tab stop chooses the day but takes no focus.
    Cal->SetReadOnly(false);
    Cal->SetTabStop(false);
    ::SetFocus(nullptr);
    ClickDay(20);
    ExpectDate(2024, 9, 20);
    EXPECT_FALSE(Cal->Focused());
}

TEST_F(Calendar, TheGridStartsOnTheChosenWeekdayAndHighlightsTheSelectedDay)
{
    Set(2024, 9, 1); // a Sunday
    EXPECT_EQ(Cal->DayRect(1).left, 0);
    EXPECT_EQ(Cal->DayRect(8).left, 0);
    Cal->SetStartOfWeek(1); // Monday first: Sunday is the last column
    EXPECT_EQ(Cal->DayRect(1).right, Cal->ClientWidth());
    EXPECT_EQ(Cal->DayRect(2).left, 0);
    EXPECT_EQ(Cal->DayAt(Cal->DayRect(2).left + 1, Cal->DayRect(2).top + 1), 2);
    EXPECT_THROW(Cal->SetStartOfWeek(7), ERangeError);

    Cal->SetDay(18);
    const TRect selected = Cal->DayRect(18), other = Cal->DayRect(19);
    const int area = (selected.right - selected.left) * (selected.bottom - selected.top);
    EXPECT_GT(CountPixels(Cal, selected, clHighlight), area / 2);
    EXPECT_EQ(CountPixels(Cal, other, clHighlight), 0);
    // The day's number is drawn in the font's colour.
    Cal->Font()->SetColor(clRed);
    EXPECT_GT(CountPixels(Cal, other, clRed), 3);
}

// Every fourth year has a 29 February, but of the century years only those
// that 400 divides; and the month's last day is as much a day as any.
TEST_F(Calendar, TheLeapRuleOfTheCenturiesAndTheLastDayOfTheMonth)
{
    Cal->SetFocus();
    for (const auto& [year, last] : {std::pair{2000, 29}, {2400, 29}, {1900, 28}, {2100, 28}, {2024, 29}, {2023, 28}}) {
        Set(year, 2, 1);
        Key(Cal, VK_END);
        ExpectDate(year, 2, last);
        EXPECT_NO_THROW(Cal->DayRect(last)) << year;
    }

    for (const auto& [month, last] : {std::pair{2, 29}, {9, 30}, {12, 31}}) {
        Set(2024, month, 1);
        ClickDay(last);
        ExpectDate(2024, month, last);
        EXPECT_EQ(Changes, 1) << month;
    }
}
