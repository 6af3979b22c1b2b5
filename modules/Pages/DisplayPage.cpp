// Page\Display.dll: every monitor's resolution, colour depth and refresh
// rate; a change of the display's settings (WM_DISPLAYCHANGE, listed in
// Display.ini) refreshes them.
#include "modules/Pages/DisplayData.h"
#include "modules/Suite/PageModule.h"
#include "modules/Suite/SuiteText.h"

#include "platform/ClassBuilder.h"

using namespace platform;

namespace tessel {

class TDisplayView : public TPageView {
    PLATFORM_CLASS(TDisplayView, TPageView)
public:
    explicit TDisplayView(TComponent* AOwner) : TPageView(AOwner) { Refresh(); }

    void PageMessage(const TForwardedMessage& Message) override
    {
        if (Message.Msg == WM_DISPLAYCHANGE)
            Refresh();
    }

private:
    void Refresh()
    {
        while (ControlCount() > 0)
            Controls(ControlCount() - 1)->Free();
        int top = 16, number = 1;
        for (const TMonitorInfo& monitor : Monitors()) {
            TLabel* title = AddLabel(16, top, Tr("Monitor %1", {std::to_string(number++)}) +
                                                  (monitor.Primary ? "  (" + Tr("primary") + ")" : std::string()));
            title->Font()->SetStyle({fsBold});
            AddLabel(32, top + 20, Tr("Resolution: %1 x %2 pixels",
                                      {std::to_string(monitor.Width), std::to_string(monitor.Height)}));
            AddLabel(32, top + 38, Tr("Colour depth: %1 bits per pixel", {std::to_string(monitor.BitsPerPixel)}));
            if (monitor.Frequency > 1)
                AddLabel(32, top + 56, Tr("Refresh rate: %1 Hz", {std::to_string(monitor.Frequency)}));
            top += 84;
        }
    }
};

const TClassInfo& TDisplayView::StaticClassInfo()
{
    static const TClassInfo& info = TClassBuilder<TDisplayView, TPageView>("TDisplayView").Build();
    return info;
}

extern const TPageDefinition DisplayPage{"Display", "Display", nullptr,
                               [] { return static_cast<TPageView*>(New<TDisplayView>(nullptr)); }};

} // namespace tessel
