// The panel every page of the suite shows itself on.
#pragma once

#include "modules/Suite/SuitePage.h"

#include "platform/Label.h"

namespace tessel {

// A page's view: a panel that fills the host's body and keeps its contents
// up to date while it exists. A view is laid out at DesignWidth by
// DesignHeight; its controls' anchors keep the distances they have there to
// the view's edges at whatever size the host gives it.
class TPageView : public platform::TPanel {
    PLATFORM_CLASS(TPageView, platform::TPanel)
public:
    static constexpr int DesignWidth = 640, DesignHeight = 360;

    explicit TPageView(platform::TComponent* AOwner);
    // A window message the page asked for (see its INI file).
    virtual void PageMessage(const TForwardedMessage&) {}

protected:
    // A caption line of the page at (Left, Top), in the language's font.
    platform::TLabel* AddLabel(int Left, int Top, const std::string& Text);
};

} // namespace tessel
