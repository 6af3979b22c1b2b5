// Page\Folders.dll: the folder tree of a chosen drive, and the size of the
// chosen folder, counted on a thread of its own so the window never waits.
// Choosing another folder, leaving the page or closing it calls a count off.
#include "modules/Pages/DriveData.h"
#include "modules/Pages/FolderData.h"
#include "modules/Suite/PageModule.h"
#include "modules/Suite/SuiteSkin.h"
#include "modules/Suite/SuiteText.h"

#include "components/DirOutline.h"
#include "platform/ClassBuilder.h"

#include <memory>
#include <thread>

using namespace platform;
using namespace components;

namespace tessel {

namespace {

constexpr UINT WM_COUNTED = WM_APP + 1;

} // namespace

class TFoldersView : public TPageView {
    PLATFORM_CLASS(TFoldersView, TPageView)
public:
    explicit TFoldersView(TComponent* AOwner) : TPageView(AOwner)
    {
        // Laid out at this size: the tree's anchored bottom keeps the margin
        // it has here whatever size the host gives the page.
        SetBounds(0, 0, 640, 360);
        int left = 16;
        for (const TDriveInfo& drive : Drives()) {
            if (!drive.Ready)
                continue;
            auto* button = MakeSkinButton(this, drive.Root, left, 12);
            const char letter = drive.Root[0];
            button->OnClick = [this, letter](TObject*) { FOutline->SetDrive(letter); };
            left += SkinButtonWidth + 4;
        }
        FOutline = New<TDirectoryOutline>(this);
        FOutline->SetParent(this);
        FOutline->SetBounds(16, 44, 340, 300);
        FOutline->SetAnchors({akLeft, akTop, akBottom});
        FOutline->OnChange = [this](TObject*) { StartCount(); };

        FFolder = AddLabel(376, 48, "");
        FFolder->Font()->SetStyle({fsBold});
        FSize = AddLabel(376, 72, "");
        FCount = AddLabel(376, 92, "");
    }

    ~TFoldersView() override { StopCount(); }

protected:
    // The count needs the window it reports to.
    void CreateHandle() override
    {
        TPageView::CreateHandle();
        StartCount();
    }

    void WndProc(TMessage& Message) override
    {
        if (Message.Msg == WM_COUNTED) {
            ShowCount(static_cast<unsigned>(Message.WParam));
            return;
        }
        // Leaving the page hides the view: the count is of no use any more.
        if (Message.Msg == WM_SHOWWINDOW && !Message.WParam && FJob) {
            StopCount();
            FSize->SetText(Tr("Counting was called off."));
        } else if (Message.Msg == WM_SHOWWINDOW && Message.WParam && !FJob) {
            StartCount();
        }
        TPageView::WndProc(Message);
    }

private:
    // One count: the worker writes Result and posts WM_COUNTED with its
    // number; the window reads it only after the worker ended.
    struct TJob {
        std::atomic<bool> Cancel{false};
        TFolderSize Result;
        std::thread Worker;
    };

    void StartCount()
    {
        StopCount();
        const std::string folder = FOutline->Directory();
        FFolder->SetText(folder);
        FSize->SetText(Tr("Counting..."));
        FCount->SetText("");
        FJob = std::make_unique<TJob>();
        TJob* job = FJob.get();
        const unsigned number = ++FJobNumber;
        HWND window = Handle();
        job->Worker = std::thread([job, folder, window, number] {
            job->Result = CountFolder(folder, job->Cancel);
            PostMessageA(window, WM_COUNTED, number, 0);
        });
    }

    void StopCount()
    {
        if (!FJob)
            return;
        FJob->Cancel = true;
        FJob->Worker.join();
        FJob.reset();
    }

    void ShowCount(unsigned Number)
    {
        // A message of a count already called off finds another job or none.
        if (!FJob || Number != FJobNumber)
            return;
        FJob->Worker.join();
        const TFolderSize size = FJob->Result;
        FJob.reset();
        FSize->SetText(Tr("Size: %1", {FormatBytes(size.Bytes)}));
        FCount->SetText(Tr("%1 files in %2 folders", {std::to_string(size.Files), std::to_string(size.Folders)}));
    }

    TDirectoryOutline* FOutline;
    TLabel* FFolder;
    TLabel* FSize;
    TLabel* FCount;
    std::unique_ptr<TJob> FJob;
    unsigned FJobNumber = 0;
};

const TClassInfo& TFoldersView::StaticClassInfo()
{
    static const TClassInfo& info = TClassBuilder<TFoldersView, TPageView>("TFoldersView").Build();
    return info;
}

const TPageDefinition ThisPage{"Folders", "Folders", nullptr,
                               [] { return static_cast<TPageView*>(New<TFoldersView>(nullptr)); }};

} // namespace tessel
