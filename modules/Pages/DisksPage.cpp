// Page\Disks.dll: every fixed and removable drive with its volume name, its
// kind and file system, a gauge of its used space and the used and free
// bytes spelt out; a drive that comes or goes (WM_DEVICECHANGE, listed in
// Disks.ini) refreshes the list. Its tip names a drive more than 90 % full.
#include "modules/Pages/DriveData.h"
#include "modules/Suite/PageModule.h"
#include "modules/Suite/SuiteText.h"

#include "components/Gauge.h"
#include "platform/ClassBuilder.h"

#include <algorithm>
#include <cstdio>

using namespace platform;
using namespace components;

namespace tessel {

namespace {

// The gauge and the texts of a drive stretch with the page; the share used
// keeps its place at the right end.
constexpr int GaugeLeft = 16, ShareWidth = 120, RowHeight = 62;

} // namespace

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
        // The rows are made anew, at the view's present size: drives come and go.
        while (ControlCount() > 0)
            Controls(ControlCount() - 1)->Free();
        const int width = Width();
        int top = 16;
        for (const TDriveInfo& drive : Drives()) {
            TLabel* title = AddLabel(GaugeLeft, top, drive.Label.empty() ? drive.Root : drive.Root + "  " + drive.Label);
            title->Font()->SetStyle({fsBold});
            const std::string kind = Tr(drive.Removable ? "Removable drive" : "Fixed drive");
            AddLabel(title->Left() + title->Width() + 12, top,
                     drive.FileSystem.empty() ? kind : Tr("%1, file system %2", {kind, drive.FileSystem}));
            if (!drive.Ready) {
                AddLabel(GaugeLeft, top + 22, Tr(drive.Removable ? "No medium in the drive" : "Not ready"));
                top += RowHeight;
                continue;
            }
            auto* gauge = New<TGauge>(this);
            gauge->SetParent(this);
            gauge->SetBounds(GaugeLeft, top + 20, std::max(width - 2 * GaugeLeft - ShareWidth, 0), 18);
            gauge->SetAnchors({akLeft, akTop, akRight});
            gauge->SetShowText(false);
            gauge->SetForeColor(drive.UsedPercent() > 90 ? RGB(200, 60, 50) : RGB(46, 110, 190));
            gauge->SetProgress(drive.UsedPercent());
            TLabel* share = AddLabel(width - GaugeLeft - ShareWidth + 8, top + 22,
                                     Tr("%1 % used", {std::to_string(drive.UsedPercent())}));
            share->SetAnchors({akTop, akRight});
            AddLabel(GaugeLeft, top + 40,
                     Tr("%1 used, %2 free of %3",
                        {FormatBytes(drive.Total - drive.Free), FormatBytes(drive.Free), FormatBytes(drive.Total)}));
            top += RowHeight;
        }
    }
};

const TClassInfo& TDisksView::StaticClassInfo()
{
    static const TClassInfo& info = TClassBuilder<TDisksView, TPageView>("TDisksView").Build();
    return info;
}

extern const TPageDefinition DisksPage{
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
