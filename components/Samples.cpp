#include "components/Samples.h"
#include "components/Calendar.h"
#include "components/ColorGrid.h"
#include "components/DirOutline.h"
#include "components/Gauge.h"
#include "components/PerfGraph.h"
#include "components/Spin.h"

using namespace platform;

namespace components {

void RegisterSamples()
{
    RegisterComponents(SamplesPage, {&TCalendar::StaticClassInfo(), &TDirectoryOutline::StaticClassInfo(),
                                     &TGauge::StaticClassInfo(), &TColorGrid::StaticClassInfo(),
                                     &TSpinButton::StaticClassInfo(), &TSpinEdit::StaticClassInfo(),
                                     &TPerformanceGraph::StaticClassInfo()});
}

} // namespace components
