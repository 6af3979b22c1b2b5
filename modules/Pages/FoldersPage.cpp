// Page\Folders.dll: what uses the disk. The folder tree of a chosen drive,
// and the chosen folder's subfolders and files by size, largest first, each
// with its share of the folder. The sizes are counted on a thread of their
// own and fill the list in as the count goes on, with the running total; the
// user may call the count off, and choosing another folder or leaving the
// page calls it off too, without waiting for a slow read to return. Folders
// that could not be read are counted in a line of their own and marked in
// the list, each with its reason. Enter or a double click in the list goes into a
// subfolder, Backspace up. The last folder is kept in Tessel.ini, section
// "Folders".
#include "modules/Pages/DriveData.h"
#include "modules/Pages/FolderData.h"
#include "modules/Pages/SizeList.h"
#include "modules/Suite/PageModule.h"
#include "modules/Suite/SuiteSettings.h"
#include "modules/Suite/SuiteSkin.h"
#include "modules/Suite/SuiteText.h"

#include "components/DirOutline.h"
#include "platform/ClassBuilder.h"
#include "platform/Exceptions.h"

#include <memory>

using namespace platform;
using namespace components;

namespace tessel {

namespace {

constexpr UINT WM_COUNTED = WM_APP + 1;
const char* const Section = "Folders";
constexpr int Margin = 16, TreeWidth = 170, ListLeft = Margin + TreeWidth + Margin, ListTop = 146;
const TColor WarningColour = RGB(190, 30, 30);

// Where the page may open, best first: the folder kept, the user's own
// folder, the first drive's root.
std::vector<std::string> StartFolders()
{
    std::vector<std::string> folders{ReadSettingText(Section, "Folder")};
    char profile[MAX_PATH] = {};
    const DWORD length = GetEnvironmentVariableA("USERPROFILE", profile, MAX_PATH);
    if (length > 0 && length < MAX_PATH)
        folders.push_back(profile);
    for (const TDriveInfo& drive : Drives())
        if (drive.Ready)
            folders.push_back(drive.Root);
    return folders;
}

} // namespace

class TFoldersView : public TPageView {
    PLATFORM_CLASS(TFoldersView, TPageView)
public:
    explicit TFoldersView(TComponent* AOwner) : TPageView(AOwner)
    {
        int left = Margin;
        for (const TDriveInfo& drive : Drives()) {
            if (!drive.Ready)
                continue;
            auto* button = MakeSkinButton(this, drive.Root, left, 12);
            const char letter = drive.Root[0];
            button->OnClick = [this, letter](TObject*) { FOutline->SetDrive(letter); };
            left += button->Width() + 4;
        }
        FOutline = New<TDirectoryOutline>(this);
        FOutline->SetParent(this);
        FOutline->SetBounds(Margin, 44, TreeWidth, DesignHeight - 44 - Margin);
        FOutline->SetAnchors({akLeft, akTop, akBottom});
        for (const std::string& folder : StartFolders()) {
            try {
                FOutline->SetDirectory(folder);
                break;
            } catch (const EInvalidOperation&) {
                // Gone, or never kept: the next one.
            }
        }
        FOutline->OnChange = [this](TObject*) { FolderChosen(); };

        const int right = DesignWidth - Margin;
        FCancel = MakeSkinButton(this, Tr("Cancel"), 0, 44);
        FCancel->SetLeft(right - FCancel->Width());
        FCancel->SetAnchors({akTop, akRight});
        FFolder = AddLabel(ListLeft, 46, "");
        FFolder->SetAutoSize(false);
        FFolder->SetBounds(ListLeft, 46, FCancel->Left() - 8 - ListLeft, 18);
        FFolder->SetAnchors({akLeft, akTop, akRight});
        FFolder->Font()->SetStyle({fsBold});
        FSize = AddLabel(ListLeft, 68, "");
        FCount = AddLabel(ListLeft, 88, "");
        FUnread = AddLabel(ListLeft, 108, "");
        FUnread->Font()->SetColor(WarningColour);
        FUnread->SetShowHint(true);
        FCancel->OnClick = [this](TObject*) {
            if (FCounter)
                FCounter->Cancel();
        };

        AddLabel(ListLeft + 4, ListTop - 18, Tr("Name"));
        // Over their columns: the list's client area ends at its edge and scroll bar.
        const int shareLeft = right - 2 - GetSystemMetrics(SM_CXVSCROLL) - TSizeList::ShareWidth;
        TLabel* size = AddLabel(0, ListTop - 18, Tr("Size"));
        size->SetLeft(shareLeft - 8 - size->Width());
        size->SetAnchors({akTop, akRight});
        AddLabel(shareLeft, ListTop - 18, Tr("Share"))->SetAnchors({akTop, akRight});
        FList = New<TSizeList>(this);
        FList->SetParent(this);
        FList->SetBounds(ListLeft, ListTop, right - ListLeft, DesignHeight - ListTop - Margin);
        FList->SetAnchors({akLeft, akTop, akRight, akBottom});
        FList->OnOpen = [this](TObject*) {
            const std::string folder = FOutline->Directory();
            GoTo((folder.back() == '\\' ? folder : folder + "\\") + FList->Entry(FList->SelectedRow()).Name);
        };
        FList->OnUp = [this](TObject*) {
            const std::string folder = FOutline->Directory();
            if (folder.size() > 3)
                GoTo(folder.substr(0, folder.find_last_of('\\')));
        };
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
            if (FCounter && static_cast<unsigned>(Message.WParam) == FCountNumber)
                ShowCount();
            return;
        }
        // Leaving the page hides the view: the count is of no use any more.
        if (Message.Msg == WM_SHOWWINDOW && !Message.WParam && FCounter && !FCounter->Snapshot().Done)
            StopCount();
        else if (Message.Msg == WM_SHOWWINDOW && Message.WParam && !FCounter)
            StartCount();
        TPageView::WndProc(Message);
    }

private:
    void GoTo(const std::string& Folder)
    {
        try {
            FOutline->SetDirectory(Folder);
        } catch (const EInvalidOperation&) {
            // Gone since it was listed: the list of the folder shown is counted again.
            StartCount();
        }
    }

    void FolderChosen()
    {
        WriteSettingText(Section, "Folder", FOutline->Directory());
        StartCount();
    }

    void StartCount()
    {
        StopCount();
        FFolder->SetText(FOutline->Directory());
        FList->SetEntries({}, 0);
        HWND window = Handle();
        const unsigned number = ++FCountNumber;
        FCounter = std::make_unique<TFolderCounter>(FOutline->Directory(),
                                                    [window, number] { PostMessageA(window, WM_COUNTED, number, 0); });
        ShowCount();
    }

    // Calls the count off and forgets it; what it found stays on the screen.
    void StopCount()
    {
        if (!FCounter)
            return;
        const TFolderListing last = FCounter->Stop();
        FCounter.reset();
        Show(last);
    }

    void ShowCount() { Show(FCounter->Snapshot()); }

    void Show(TFolderListing listing)
    {
        SortBySize(listing.Entries);
        FList->SetEntries(std::move(listing.Entries), listing.Bytes);
        const std::string bytes = FormatBytes(listing.Bytes);
        const std::string items = TrCount("%1 item|%1 items", listing.Files + listing.Folders);
        const TUnreadFolder& first = listing.FirstUnread;
        const bool itself = listing.Unread > 0 && first.Path.empty();
        FUnread->SetText(listing.Unread == 0 || itself
                             ? std::string()
                             : TrCount("%1 folder could not be read.|%1 folders could not be read.", listing.Unread));
        FUnread->SetHint(FUnread->Text().empty() ? std::string() : FirstUnreadText(first));
        FCancel->SetVisible(!listing.Done);
        if (itself) {
            FSize->SetText(Tr("This folder could not be read. %1", {UnreadReason(first.Error)}));
            FCount->SetText("");
        } else if (!listing.Done) {
            FSize->SetText(Tr("Counting... %1 so far", {bytes}));
            FCount->SetText(Tr("%1 counted", {items}));
        } else if (listing.Cancelled) {
            FSize->SetText(Tr("Counting was called off at %1.", {bytes}));
            FCount->SetText(Tr("%1 counted", {items}));
        } else {
            FSize->SetText(Tr("Size: %1", {bytes}));
            FCount->SetText(Tr("%1 in %2", {TrCount("%1 file|%1 files", listing.Files),
                                            TrCount("%1 folder|%1 folders", listing.Folders)}));
        }
    }

    TDirectoryOutline* FOutline;
    TLabel* FFolder;
    TLabel* FSize;
    TLabel* FCount;
    TLabel* FUnread;
    KsButtonTx* FCancel;
    TSizeList* FList;
    std::unique_ptr<TFolderCounter> FCounter;
    unsigned FCountNumber = 0;
};

const TClassInfo& TFoldersView::StaticClassInfo()
{
    static const TClassInfo& info = TClassBuilder<TFoldersView, TPageView>("TFoldersView").Build();
    return info;
}

extern const TPageDefinition FoldersPage{"Folders", "Folders", nullptr,
                                         [] { return static_cast<TPageView*>(New<TFoldersView>(nullptr)); }};

} // namespace tessel
