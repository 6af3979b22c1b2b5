// The library's invariant reports, one row per check: the call that breaks
// it, and the expression and source the report must quote.
#include "loom/Component/LED.h"
#include "loom/Component/LED/ShapeLED.h"
#include "loom/Component/TBmpLEDCtrl.h"
#include "loom/Graphics/FigureBase.h"
#include "loom/Graphics/Figure/ShapeFigure.h"
#include "loom/Graphics/Shape.h"
#include "LoomFigures.h"
#include "LoomTesting.h"
#include "platform/Control.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>

// Inside the library's namespace its shape names win over the platform's
// drawing functions of the same names.
namespace loom {

namespace {

// A control with a three-state picture LED.
struct Host {
    Host() : control(new platform::TWinControl(nullptr)), led(new TBmpLEDCtrl(control, control, 3)) {}
    ~Host()
    {
        delete led;
        control->Free();
    }
    platform::TWinControl* control;
    TBmpLEDCtrl* led;
};

} // namespace

TEST(Invariants, EachBrokenCheckReportsItsExpressionAndSource)
{
    const std::string shape = "loom/Graphics/Shape", figure = "loom/Graphics/FigureBase",
                      led = "loom/Component/LED", bmpLed = "loom/Component/LED/BmpLED",
                      shapeLed = "loom/Component/LED/ShapeLED";
    Host host;
    const struct {
        std::function<void()> Break;
        std::string Expression, Source;
    } rows[] = {
        {[] { Square(0, 0, 4, 4).SetControlPoint(1, 5, 4); }, "m_data.Width() == m_data.Height()", shape},
        {[] { Circle(0, 0, 4, 4).SetSize(3, 4); }, "width == height", shape},
        {[] { Polygon().SetControlPoint(2, 0, 0); }, "index < ControlPointCount()", shape},
        {[] { Polygon().InsertControlPoint(3, 0, 0); }, "index <= m_controlPoints.size()", shape},
        {[] { Rectangle().SetControlPoint(2, 0, 0); }, "index < CONTROL_POINT_COUNT", shape},
        {[] { CompositeFigure(MakeRect(0, 0, 18, 22)).AddFigure(Bar(4, 2, 20, 3).get()); },
         "figurePtr->Left() >= m_left && figurePtr->Top() >= m_top && figurePtr->Left() + figurePtr->Width() <= "
         "m_left + m_width && figurePtr->Top() + figurePtr->Height() <= m_top + m_height",
         figure},
        {[] {
             auto bar = Bar(4, 2, 12, 3);
             CompositeFigure composite(MakeRect(0, 0, 18, 22));
             composite.AddFigure(bar.get());
             composite.SetBounds(MakeRect(5, 0, 18, 22));
         },
         "(*first)->Left() >= rect.left && (*first)->Top() >= rect.top && (*first)->Width() + (*first)->Left() <= "
         "rect.right && (*first)->Height() + (*first)->Top() <= rect.bottom",
         figure},
        {[] { CompositeFigure(MakeRect(0, 0, -1, 2)); }, "m_width >=0 && m_height >=0", figure},
        {[] { CompositeFigure(MakeRect(0, 0, 4, 4)).SetBounds(MakeRect(0, 0, 4, -4)); },
         "m_width >=0 && m_height >=0", figure},
        {[] { CompositeScalableFig(MakeRect(0, 0, 0, 10)).Resize(5, 5); },
         "m_originalWidth > 0 && m_originalHeight > 0", figure},
        {[] { BuildCharacter(DigitTable, SevenSegTbl::Instance())->SetState(12); },
         "state >= 0 && state < StateCount()", "loom/Component/Source/LED"},
        {[] { BuildCharacter(DigitTable, SevenSegTbl::Instance())->GetLED(0)->SetState(2); },
         "state >= 0 && state < StateCount()", shapeLed},
        {[] {
             const int unknown[] = {1, 0, 0, 10, 10, 6, 0, 0, 1, 1};
             BuildCharacter(unknown, SingleSegTbl::Instance());
         },
         "false", shapeLed},
        {[] { BasicLED_Collector().Detach(0); }, "index < LEDCount()", led},
        {[] { BasicLED_Collector().SetState(0, 1); }, "indexOfLED < m_LEDs.size()", led},
        {[] { BasicLED_Collector().Insert(1, nullptr); }, "index <= LEDCount()", led},
        {[] { TBmpLEDCtrl(nullptr, nullptr, 0); }, "stateCount > 0", "loom/Component/Source/TBmpLEDCtrl"},
        {[&] { host.led->Bitmap(3); }, "index < (int) m_bitmaps.size()", bmpLed},
        {[&] { host.led->Bitmap(-1); }, "index >= 0", bmpLed},
        {[&] { host.led->SetState(3); }, "state >= 0 && state < StateCount()", bmpLed},
    };
    for (const auto& row : rows)
        EXPECT_EQ(FailedCheck(row.Break), Report(row.Expression, row.Source));
}

} // namespace loom
