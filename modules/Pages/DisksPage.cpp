// Page\Disks.dll: every fixed and removable drive with a gauge of its used
// space and its free bytes; a drive that comes or goes (WM_DEVICECHANGE,
// listed in Disks.ini) refreshes the list. Its tip names a drive more than
// 90 % full.
#include "modules/Pages/DriveData.h"
#include "modules/Suite/PageModule.h"
#include "modules/Suite/SuiteText.h"

#include "components/Gauge.h"
#include "platform/ClassBuilder.h"

#include <cstdio>

using namespace platform;
using namespace components;

namespace tessel {

class TDisksView : public TPageView {
    PLATFORM_CLASS(TDisksView, TPageView)
public:
    explicit TDisksView(TComponent* AOwner) : TPageView(AOwner) { Refresh(); }

    void PageMessage(const TForwardedMessage& Message) override
    {
        if (Message.Msg == WM_DEVICECHANGE)
            Refresh();
    }

private:
    void Refresh()
    {
        // The rows are made anew: drives come and go.
        while (ControlCount() > 0)
            Controls(ControlCount() - 1)->Free();
        int top = 16;
        for (const TDriveInfo& drive : Drives()) {
            const std::string kind = Tr(drive.Removable ? "Removable drive" : "Fixed drive");
            AddLabel(16, top + 4, drive.Root + "  " + kind);
            auto* gauge = New<TGauge>(this);
            gauge->SetParent(this);
            gauge->SetBounds(200, top, 220, 22);
            gauge->SetForeColor(drive.UsedPercent() > 90 ? RGB(200, 60, 50) : RGB(46, 110, 190));
            gauge->SetProgress(drive.UsedPercent());
            std::string free = Tr("not ready");
            if (drive.Ready)
                free = Tr("%1 free of %2", {FormatBytes(drive.Free), FormatBytes(drive.Total)});
            AddLabel(436, top + 4, free);
            top += 34;
        }
    }
};

const TClassInfo& TDisksView::StaticClassInfo()
{
    static const TClassInfo& info = TClassBuilder<TDisksView, TPageView>("TDisksView").Build();
    return info;
}

const TPageDefinition ThisPage{
    "Disks", "Disks",
    [](TPageTip& Tip) {
        const std::vector<TDriveInfo> drives = Drives();
        const TDriveInfo* full = NearlyFullDrive(drives);
        if (!full)
            return;
        std::snprintf(Tip.Tip, sizeof Tip.Tip, "%s",
                      Tr("Drive %1 is %2 % full", {full->Root, std::to_string(full->UsedPercent())}).c_str());
        std::snprintf(Tip.Badge, sizeof Tip.Badge, "%d%%", full->UsedPercent());
    },
    [] { return static_cast<TPageView*>(New<TDisksView>(nullptr)); }};

} // namespace tessel
