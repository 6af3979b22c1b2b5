// The library's invariant reports: each call that breaks an invariant ends in
// one report, from the unit that owns the invariant, pointing at the very
// check that failed.
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
#include <set>
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

TEST(Invariants, EachBrokenInvariantIsReportedAtItsOwnCheck)
{
    const std::string shape = "loom/Graphics/Shape", figure = "loom/Graphics/FigureBase",
                      led = "loom/Component/LED", bmpLed = "loom/Component/LED/BmpLED",
                      shapeLed = "loom/Component/LED/ShapeLED";
    Host host;
    const struct {
        std::function<void()> Break;
        std::string Unit;
    } rows[] = {
        {[] { Square(0, 0, 4, 4).SetControlPoint(1, 5, 4); }, shape},
        {[] { Circle(0, 0, 4, 4).SetSize(3, 4); }, shape},
        {[] { Polygon().SetControlPoint(2, 0, 0); }, shape},
        {[] { Polygon().InsertControlPoint(3, 0, 0); }, shape},
        {[] { Rectangle().SetControlPoint(2, 0, 0); }, shape},
        {[] { CompositeFigure(MakeRect(0, 0, 18, 22)).AddFigure(Bar(4, 2, 20, 3).get()); }, figure},
        {[] {
             auto bar = Bar(4, 2, 12, 3);
             CompositeFigure composite(MakeRect(0, 0, 18, 22));
             composite.AddFigure(bar.get());
             composite.SetBounds(MakeRect(5, 0, 18, 22));
         }, figure},
        {[] { CompositeFigure(MakeRect(0, 0, -1, 2)); }, figure},
        {[] { CompositeFigure(MakeRect(0, 0, 4, 4)).SetBounds(MakeRect(0, 0, 4, -4)); }, figure},
        {[] { CompositeScalableFig(MakeRect(0, 0, 0, 10)).Resize(5, 5); }, figure},
        {[] { BuildCharacter(DigitTable, SevenSegTbl::Instance())->SetState(12); }, "loom/Component/Source/LED"},
        {[] { BuildCharacter(DigitTable, SevenSegTbl::Instance())->GetLED(0)->SetState(2); }, shapeLed},
        {[] {
             const int unknown[] = {1, 0, 0, 10, 10, 6, 0, 0, 1, 1};
             BuildCharacter(unknown, SingleSegTbl::Instance());
         }, shapeLed},
        {[] { BasicLED_Collector().Detach(0); }, led},
        {[] { BasicLED_Collector().SetState(0, 1); }, led},
        {[] { BasicLED_Collector().Insert(1, nullptr); }, led},
        {[] { TBmpLEDCtrl(nullptr, nullptr, 0); }, "loom/Component/Source/TBmpLEDCtrl"},
        {[&] { host.led->Bitmap(3); }, bmpLed},
        {[&] { host.led->Bitmap(-1); }, bmpLed},
        {[&] { host.led->SetState(3); }, bmpLed},
    };
    // Each break is caught by a check of its own: no two reports lead to the same line.
    std::set<std::string> places;
    for (const auto& row : rows) {
        const std::string report = FailedCheck(row.Break);
        EXPECT_TRUE(PointsAtItsCheck(report, row.Unit));
        TCheckReport parsed;
        if (ParseCheckReport(report, parsed)) {
            EXPECT_TRUE(places.insert(parsed.Unit + ":" + std::to_string(parsed.Line)).second) << report;
        }
    }
}

} // namespace loom
