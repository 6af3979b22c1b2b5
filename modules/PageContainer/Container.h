// PageContainer.dll's window: the suite's main window. The groups of the
// shell's group table stand as tabs along the top, the pages of the chosen
// group as a row of buttons under them, and the chosen page's view fills the
// body. Its size, position and last page are kept in Tessel.ini, section
// "PageContainer". It has a minimum size, at which the rows of buttons stand
// apart and the page keeps its room, and the body follows any larger one.
// The chosen group and page show the skin's chosen look. Minimised or closed
// by its frame, it goes to the tray.
//
// At the keyboard: Tab moves through the tabs, the buttons on the right, the
// page buttons and on into the page's own controls; Ctrl+Tab and
// Ctrl+Shift+Tab go to the next and previous page (through every group,
// round the end), Ctrl+PgDn and Ctrl+PgUp to the next and previous group.
#pragma once

#include "modules/Suite/SuitePage.h"
#include "modules/Suite/SuiteSkin.h"

#include "KsPackage/Source/KsButtonTx.h"
#include "platform/FaultGuard.h"
#include "platform/Form.h"
#include "platform/Label.h"

#include <functional>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

namespace tessel {

// A page module as the main window holds it: loaded the first time the
// window needs it (to make its view or hand it a message) and kept for the
// process's life, so its view's code stays in place.
struct TPageSlot {
    TPageRecord* Record = nullptr;
    bool Tried = false; // loading was tried; a module that did not load is not tried again
    HMODULE Module = nullptr;
    TPageCreate Create = nullptr;
    TPageDestroy Destroy = nullptr;
    TPageMessage Message = nullptr;
    HWND View = nullptr;
};

class TFormContainer : public platform::TForm {
    PLATFORM_CLASS(TFormContainer, platform::TForm)
public:
    TFormContainer(platform::TComponent* AOwner, const TModuleRegistration& Registration);

    // Shows and activates the window; Pair (1-based group and page, or zeros
    // for the page last shown) chooses the page.
    void ShowPage(const int32_t* Pair);
    // Keeps size, position and page, and frees every page's view.
    void Shutdown();
    void SaveState();
    // Hands Message to the pages its routing names, in one look-up.
    void Forward(const TForwardedMessage& Message);
    // Reads the routing of forwarded messages from Tessel.ini's message
    // table and routing sections, which the shell writes before it
    // registers: done at registration, and again when the shell registers
    // once more.
    void LoadRoutes();

    int Group() const { return FGroup; }
    int Page() const { return FPage; }
    // A group keeps its page while it is shown; another starts at its first.
    void ChooseGroup(int Group);
    void ChoosePage(int Page);

protected:
    void WndProc(platform::TMessage& Message) override;
    bool DialogKey(WORD Key, platform::TShiftState Shift) override;

private:
    void Ask(int32_t Code, int32_t Target, void* Data = nullptr);
    // Loads the module of page Page of Group the first time it is needed,
    // unless the page is unavailable or its path leads out of Page\.
    void LoadPage(int Group, int Page);
    void LayoutBody();
    // Calls into the view of page Page of group Group, guarded
    // (platform/FaultGuard.h): a page that faults is marked unavailable in
    // the group table for the rest of the process, its view hidden and its
    // button disabled (LeavePage). False when the page is unavailable or
    // faulted.
    bool CallPage(int Group, int Page, const std::function<void()>& Call);
    // Calls into the module of page Page of Group, guarded, and tells the
    // shell before and after (cmdPageCall), so that a call that ends the
    // process or holds it names the page.
    platform::TCallResult Guard(int Group, int Page, const std::function<void()>& Call);
    // Has the page make its view. One that faulted, or came back as no
    // child window of the body on this thread, counts as failed: the page
    // is marked unavailable and every window the call made is destroyed.
    void MakeView(int Group, int Page);
    // Shows, in place of the page's view, why there is none.
    void ShowMissing(int Group, int Page);
    // Hides the view of a page marked unavailable, forgets it and disables
    // the page's button.
    void LeavePage(int Group, int Page);
    // Shows page Page of group Group (each brought into range).
    void Choose(int Group, int Page);
    // Steps through the pages of every group in order (Step +1 or -1), round the end.
    void StepPage(int Step);
    // After a switch: a focus that was in a window now hidden (Before) goes
    // to the button of the page shown.
    void KeepFocusVisible(HWND Before);

    TModuleRegistration FRegistration;
    std::vector<std::vector<TPageSlot>> FSlots;
    // Message number -> the (group, page) pairs it goes to.
    std::unordered_map<uint32_t, std::vector<std::pair<int, int>>> FRoutes;
    std::vector<TSkinButton*> FTabs;
    std::vector<std::vector<TSkinButton*>> FPageButtons; // per group; the chosen group's are shown
    TSkinButton* FToBar;
    TSkinButton* FToTray;
    TSkinButton* FExit;
    platform::TLabel* FTitle;
    platform::TPanel* FBody;
    platform::TLabel* FMissing;
    int FGroup = 0;
    int FPage = 0;
    bool FShutDown = false;
};

} // namespace tessel
