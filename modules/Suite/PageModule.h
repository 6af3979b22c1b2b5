// The common body of the suite's page modules. Each page defines its view
// class and a TPageDefinition named after the page (ClockPage for Clock.dll);
// the module's build names that definition (TESSEL_PAGE), and this unit
// supplies the exported entries (Command and the view entries of
// SuitePage.h, listed in Page.def).
#pragma once

#include "modules/Suite/PageView.h"

namespace tessel {

struct TPageDefinition {
    const char* Caption;      // English; shown translated
    const char* ShortCaption; // English; shown translated
    // Writes the page's current tip (the record's tip starts empty); null
    // for a page that never has one.
    void (*WriteTip)(TPageTip& Tip);
    TPageView* (*CreateView)();
};

} // namespace tessel
