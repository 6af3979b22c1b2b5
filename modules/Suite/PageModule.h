// The common body of the suite's page modules: each defines ThisPage and its
// view class; this unit supplies the exported entries (Command and the view
// entries of SuitePage.h, listed in Page.def).
#pragma once

#include "modules/Suite/SuitePage.h"

#include "platform/Label.h"

namespace tessel {

// A page's view: a panel that fills the host's body and keeps its contents
// up to date while it exists.
class TPageView : public platform::TPanel {
    PLATFORM_CLASS(TPageView, platform::TPanel)
public:
    explicit TPageView(platform::TComponent* AOwner);
    // A window message the page asked for (see its INI file).
    virtual void PageMessage(const TForwardedMessage&) {}

protected:
    // A caption line of the page at (Left, Top), in the language's font.
    platform::TLabel* AddLabel(int Left, int Top, const std::string& Text);
};

struct TPageDefinition {
    const char* Caption;      // English; shown translated
    const char* ShortCaption; // English; shown translated
    // Writes the page's current tip (the record's tip starts empty); null
    // for a page that never has one.
    void (*WriteTip)(TPageTip& Tip);
    TPageView* (*CreateView)();
};

// Defined by each page module.
extern const TPageDefinition ThisPage;

// The view while it exists (tests look at it).
TPageView* CurrentPageView();

} // namespace tessel
