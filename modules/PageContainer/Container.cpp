#include "modules/PageContainer/Container.h"
#include "modules/Suite/SuiteSettings.h"
#include "modules/Suite/SuiteSkin.h"
#include "modules/Suite/SuiteText.h"

#include "platform/Align.h"
#include "platform/ClassBuilder.h"
#include "platform/FaultGuard.h"
#include "platform/FilePath.h"
#include "platform/IniSnapshot.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <set>
#include <utility>

using namespace platform;

namespace tessel {

namespace {

const char* const Section = "PageContainer";
constexpr UINT WM_CONTAINER_SWITCH = WM_USER + 2000;
constexpr int Margin = 8, Gap = 4, RowStep = SkinButtonHeight + 6;
constexpr int BodyTop = Margin + 2 * RowStep + 26;
// The room a page's view has at least (the pages are laid out for it).
constexpr int MinBodyWidth = 460, MinBodyHeight = 300;

template <class T>
T Entry(HMODULE Module, const char* Name)
{
    return reinterpret_cast<T>(reinterpret_cast<void*>(GetProcAddress(Module, Name)));
}

// The windows made on the window thread while a view is being made.
std::vector<HWND> MadeWindows;

LRESULT CALLBACK NoteMadeWindow(int Code, WPARAM WParam, LPARAM LParam)
{
    if (Code == HCBT_CREATEWND)
        MadeWindows.push_back(reinterpret_cast<HWND>(WParam));
    return CallNextHookEx(nullptr, Code, WParam, LParam);
}

} // namespace

const TClassInfo& TFormContainer::StaticClassInfo()
{
    static const TClassInfo& info = TClassBuilder<TFormContainer, TForm>("TFormContainer").Build();
    return info;
}

TFormContainer::TFormContainer(TComponent* AOwner, const TModuleRegistration& Registration)
    : TForm(AOwner), FRegistration(Registration)
{
    SetText("Tessel");
    SetColor(RGB(232, 236, 241));
    ApplyLanguageFont(Font());
    SetBounds(80, 60, 760, 520);

    // Laid out once for this size; the anchors keep the buttons on the right
    // at the right edge and the body filling the window at any other.
    const int groups = std::clamp<int>(Registration.Groups ? Registration.GroupCount : 0, 0, 256);
    int tabsRight = Margin;
    for (int i = 0; i < groups; ++i) {
        TGroupRecord& group = Registration.Groups[i];
        auto* tab = MakeSkinButton(this, Tr(group.Name), tabsRight, Margin);
        tab->OnClick = [this, i](TObject*) { ChooseGroup(i); };
        tabsRight += tab->Width() + Gap;
        FTabs.push_back(tab);

        std::vector<TPageSlot>& slots = FSlots.emplace_back();
        for (int j = 0; j < std::max(group.PageCount, 0) && group.Pages; ++j)
            slots.emplace_back().Record = &group.Pages[j];
    }
    LoadRoutes();

    // Created in the order Tab visits them: the tabs, the buttons on their
    // right, the page buttons, then the page.
    FToBar = MakeSkinButton(this, Tr("Quick Bar"), 0, Margin);
    FToBar->OnClick = [this](TObject*) {
        Ask(cmdShow, tgQuickBar);
        Hide();
    };
    FToTray = MakeSkinButton(this, Tr("Tray"), 0, Margin);
    FToTray->OnClick = [this](TObject*) {
        Ask(cmdShow, tgTrayIcon);
        Hide();
    };
    FExit = MakeSkinButton(this, Tr("Exit"), 0, Margin);
    FExit->OnClick = [this](TObject*) {
        if (ConfirmExit())
            Ask(cmdExit, tgMainWindow);
    };
    int right = ClientWidth() - Margin;
    for (TSkinButton* button : {FExit, FToTray, FToBar}) {
        right -= button->Width();
        button->SetLeft(right);
        button->SetAnchors({akTop, akRight});
        right -= Gap;
    }
    const int commandsWidth = ClientWidth() - Margin - right - Gap;

    int pagesRight = Margin;
    for (int i = 0; i < groups; ++i) {
        std::vector<TSkinButton*>& buttons = FPageButtons.emplace_back();
        int left = Margin;
        for (int j = 0; j < static_cast<int>(FSlots[i].size()); ++j) {
            auto* button = MakeSkinButton(this, PageCaption(*FSlots[i][j].Record), left, Margin + RowStep);
            button->SetVisible(false);
            button->OnClick = [this, j](TObject*) { ChoosePage(j); };
            left += button->Width() + Gap;
            buttons.push_back(button);
        }
        pagesRight = std::max(pagesRight, left);
    }

    FTitle = New<TLabel>(this);
    FTitle->SetParent(this);
    FTitle->SetTransparent(true);
    FTitle->SetAutoSize(false);
    ApplyLanguageFont(FTitle->Font());
    FTitle->Font()->SetHeight(-MulDiv(11, 96, 72));
    FTitle->Font()->SetStyle({fsBold});
    FTitle->SetBounds(Margin, Margin + 2 * RowStep, ClientWidth() - 2 * Margin, 20);
    FTitle->SetAnchors({akLeft, akTop, akRight});

    FBody = New<TPanel>(this);
    FBody->SetParent(this);
    FBody->SetBevelOuter(bvLowered);
    FBody->SetColor(RGB(246, 247, 249));
    FBody->SetBounds(Margin, BodyTop, ClientWidth() - 2 * Margin, ClientHeight() - BodyTop - Margin);
    FBody->SetAnchors({akLeft, akTop, akRight, akBottom});
    // The pages' views are windows of other modules: the body sizes them.
    FBody->OnResize = [this](TObject*) { LayoutBody(); };

    FMissing = New<TLabel>(FBody);
    FMissing->SetParent(FBody);
    FMissing->SetTransparent(true);
    FMissing->SetAutoSize(false);
    FMissing->SetWordWrap(true);
    FMissing->SetBounds(16, 16, MinBodyWidth - 32, 64);
    FMissing->SetVisible(false);

    // The smallest window in which the rows of buttons stand apart and the
    // page keeps room to show itself.
    RECT frame{0, 0, std::max({tabsRight + 3 * Gap + commandsWidth + Margin, pagesRight + Margin - Gap,
                               MinBodyWidth + 2 * Margin}),
               BodyTop + MinBodyHeight + Margin};
    AdjustWindowRectEx(&frame, WS_OVERLAPPEDWINDOW, FALSE, 0);
    Constraints()->SetMinWidth(frame.right - frame.left);
    Constraints()->SetMinHeight(frame.bottom - frame.top);
    RestoreBounds(this, Section, true);
    // A window closed by its frame goes to the tray, as tray programs do;
    // Exit is the button's.
    OnClose = [this](TObject*, TCloseAction& Action) {
        Action = caNone;
        Ask(cmdShow, tgTrayIcon);
        Hide();
    };

    FGroup = ReadSetting(Section, "Group", 0);
    FPage = ReadSetting(Section, "Page", 0);
    // The shell finds the window by class and title before it is ever shown.
    HandleNeeded();
}

void TFormContainer::LoadPage(int Group, int Page)
{
    TPageSlot& slot = FSlots[Group][Page];
    if (slot.Tried)
        return;
    slot.Tried = true;
    // A name that leads out of Page\ is no page of the suite's.
    const std::string path = PathWithin(SuiteFolder() + "Page\\", slot.Record->FileName);
    if (path.empty())
        return;
    // Loading runs the module's own start-up code: guarded as any call into it.
    HMODULE module = nullptr;
    if (!CallPage(Group, Page, [&] { module = LoadLibraryA(path.c_str()); }) || !module)
        return;
    slot.Module = module;
    slot.Create = Entry<TPageCreate>(module, "PageCreate");
    slot.Destroy = Entry<TPageDestroy>(module, "PageDestroy");
    slot.Message = Entry<TPageMessage>(module, "PageMessage");
}

void TFormContainer::LoadRoutes()
{
    // The routing sections name group and page pairs; a number listed under
    // two spellings ("1024", "01024") reaches each page once, and the pages
    // of a number are handed it in group and page order.
    TIniSnapshot ini(SuiteIni());
    std::unordered_map<uint32_t, std::set<std::pair<int, int>>> routes;
    for (int k = 1;; ++k) {
        const std::string text = ini.Read("MESSAGE", std::to_string(k));
        if (text.empty())
            break;
        std::set<std::pair<int, int>>& pages = routes[static_cast<uint32_t>(std::atol(text.c_str()))];
        for (int n = 1;; ++n) {
            const std::string pair = ini.Read(text, std::to_string(n));
            if (pair.empty())
                break;
            int group = -1, page = -1;
            if (std::sscanf(pair.c_str(), "%d,%d", &group, &page) == 2 && group >= 0 && page >= 0 &&
                group < static_cast<int>(FSlots.size()) && page < static_cast<int>(FSlots[group].size()))
                pages.insert({group, page});
        }
    }
    FRoutes.clear();
    for (const auto& [number, pages] : routes)
        if (!pages.empty())
            FRoutes[number].assign(pages.begin(), pages.end());
}

void TFormContainer::Ask(int32_t Code, int32_t Target, void* Data)
{
    TCommandRecord record{Code, Target, Data};
    if (FRegistration.Callback)
        FRegistration.Callback(&record);
}

void TFormContainer::ShowPage(const int32_t* Pair)
{
    if (FShutDown)
        return;
    if (Pair && Pair[0] > 0 && Pair[1] > 0) {
        FGroup = Pair[0] - 1;
        FPage = Pair[1] - 1;
    }
    Choose(FGroup, FPage);
    Show();
    // Showing leaves a minimized window an icon; the user asked to see it.
    if (IsIconic(Handle()))
        ShowWindow(Handle(), SW_RESTORE);
    SetForegroundWindow(Handle());
}

void TFormContainer::ChooseGroup(int Group)
{
    Choose(Group, Group == FGroup ? FPage : 0);
}

void TFormContainer::ChoosePage(int Page)
{
    Choose(FGroup, Page);
}

void TFormContainer::Choose(int Group, int Page)
{
    if (FSlots.empty())
        return;
    FGroup = std::clamp(Group, 0, static_cast<int>(FSlots.size()) - 1);
    for (size_t i = 0; i < FTabs.size(); ++i)
        FTabs[i]->SetChosen(static_cast<int>(i) == FGroup);
    // The chosen group's buttons first, so that the focus never falls on a
    // hidden one; a page whose module failed (also in a tips poll) greyed.
    for (size_t j = 0; j < FPageButtons[FGroup].size(); ++j) {
        FPageButtons[FGroup][j]->SetEnabled(!PageUnavailable(FRegistration.Groups[FGroup], static_cast<int>(j)));
        FPageButtons[FGroup][j]->SetVisible(true);
    }
    for (size_t i = 0; i < FPageButtons.size(); ++i)
        if (static_cast<int>(i) != FGroup)
            for (TSkinButton* button : FPageButtons[i])
                button->SetVisible(false);

    std::vector<TPageSlot>& slots = FSlots[FGroup];
    // A page whose module failed since its view was made (in a tips poll)
    // has its view left alone from now on.
    for (size_t i = 0; i < FSlots.size(); ++i)
        for (size_t j = 0; j < FSlots[i].size(); ++j) {
            if (!FSlots[i][j].View)
                continue;
            if (PageUnavailable(FRegistration.Groups[i], static_cast<int>(j)))
                LeavePage(static_cast<int>(i), static_cast<int>(j));
            else
                ShowWindow(FSlots[i][j].View, SW_HIDE);
        }
    FMissing->SetVisible(false);
    if (slots.empty()) {
        FTitle->SetText("");
        return;
    }
    FPage = std::clamp(Page, 0, static_cast<int>(slots.size()) - 1);
    std::vector<TSkinButton*>& buttons = FPageButtons[FGroup];
    for (size_t j = 0; j < buttons.size(); ++j)
        buttons[j]->SetChosen(static_cast<int>(j) == FPage);
    FTitle->SetText(PageCaption(*slots[FPage].Record));

    TPageSlot& slot = slots[FPage];
    LoadPage(FGroup, FPage);
    if (!slot.View && slot.Create)
        MakeView(FGroup, FPage);
    if (slot.View) {
        LayoutBody();
        ShowWindow(slot.View, SW_SHOW);
    } else {
        ShowMissing(FGroup, FPage);
    }
}

void TFormContainer::MakeView(int Group, int Page)
{
    TPageSlot& slot = FSlots[Group][Page];
    HWND view = nullptr;
    MadeWindows.clear();
    HHOOK hook = SetWindowsHookExA(WH_CBT, NoteMadeWindow, nullptr, GetCurrentThreadId());
    const bool returned = CallPage(Group, Page, [&] { view = slot.Create(FBody->Handle()); });
    if (hook)
        UnhookWindowsHookEx(hook);
    const std::vector<HWND> made = std::move(MadeWindows);
    // No view at all is the page's own answer: it has nothing to show now.
    if (returned && (!view || (IsWindow(view) && GetParent(view) == FBody->Handle() &&
                               GetWindowThreadProcessId(view, nullptr) == GetCurrentThreadId() &&
                               (GetWindowLongA(view, GWL_STYLE) & WS_CHILD)))) {
        slot.View = view;
        return;
    }
    if (returned) {
        MarkPageUnavailable(FRegistration.Groups[Group], Page);
        LeavePage(Group, Page);
    }
    // Half made, hidden or not, they would hold what they hold for the
    // process's life.
    Guard(Group, Page, [&made] {
        for (HWND window : made)
            if (IsWindow(window))
                DestroyWindow(window);
    });
}

bool TFormContainer::CallPage(int Group, int Page, const std::function<void()>& Call)
{
    TGroupRecord& group = FRegistration.Groups[Group];
    if (PageUnavailable(group, Page))
        return false;
    if (Guard(Group, Page, Call) == TCallResult::Returned)
        return true;
    MarkPageUnavailable(group, Page);
    LeavePage(Group, Page);
    return false;
}

TCallResult TFormContainer::Guard(int Group, int Page, const std::function<void()>& Call)
{
    Ask(cmdPageCall, tgShell, FSlots[Group][Page].Record);
    const TCallResult result = RunGuarded(Call);
    Ask(cmdPageCall, tgShell, nullptr);
    return result;
}

void TFormContainer::LeavePage(int Group, int Page)
{
    // The view's window stays, hidden, for the process's life: destroying
    // it would run the module's code again.
    TPageSlot& slot = FSlots[Group][Page];
    if (const HWND view = slot.View)
        Guard(Group, Page, [view] { ShowWindow(view, SW_HIDE); });
    slot.View = nullptr;
    FPageButtons[Group][Page]->SetEnabled(false);
    if (Group == FGroup && Page == FPage)
        ShowMissing(Group, Page);
}

void TFormContainer::ShowMissing(int Group, int Page)
{
    FMissing->SetText(UnavailableText(PageStateOf(FRegistration.Groups[Group], Page)));
    FMissing->SetVisible(true);
}

void TFormContainer::StepPage(int Step)
{
    // Every page of every group in one row; a group without pages, and a
    // page whose module failed, is passed by.
    std::vector<std::pair<int, int>> pages;
    for (int i = 0; i < static_cast<int>(FSlots.size()); ++i)
        for (int j = 0; j < static_cast<int>(FSlots[i].size()); ++j)
            if (!PageUnavailable(FRegistration.Groups[i], j) || (i == FGroup && j == FPage))
                pages.emplace_back(i, j);
    if (pages.empty())
        return;
    const auto at = std::find(pages.begin(), pages.end(), std::pair{FGroup, FPage});
    const int count = static_cast<int>(pages.size());
    const int index = at == pages.end() ? 0 : static_cast<int>(at - pages.begin());
    const auto [group, page] = pages[static_cast<size_t>((index + Step + count) % count)];
    Choose(group, page);
}

void TFormContainer::KeepFocusVisible(HWND Before)
{
    // Windows hands the focus of a window it hides to the window's parent.
    if (Before && IsChild(Handle(), Before) && !IsWindowVisible(Before) && !FPageButtons[FGroup].empty())
        FPageButtons[FGroup][FPage]->SetFocus();
}

bool TFormContainer::DialogKey(WORD Key, TShiftState Shift)
{
    if (!Shift.Contains(ssCtrl) || Shift.Contains(ssAlt) || FSlots.empty())
        return inherited::DialogKey(Key, Shift);
    const int groups = static_cast<int>(FSlots.size());
    const HWND focus = GetFocus();
    switch (Key) {
    case VK_TAB:
        StepPage(Shift.Contains(ssShift) ? -1 : 1);
        break;
    case VK_NEXT:
        ChooseGroup((FGroup + 1) % groups);
        break;
    case VK_PRIOR:
        ChooseGroup((FGroup + groups - 1) % groups);
        break;
    default:
        return inherited::DialogKey(Key, Shift);
    }
    KeepFocusVisible(focus);
    return true;
}

void TFormContainer::LayoutBody()
{
    for (std::vector<TPageSlot>& group : FSlots)
        for (TPageSlot& slot : group)
            if (slot.View)
                MoveWindow(slot.View, 0, 0, FBody->ClientWidth(), FBody->ClientHeight(), TRUE);
}

void TFormContainer::SaveState()
{
    if (FShutDown)
        return;
    SaveBounds(this, Section, true);
    WriteSettings(Section, {{"Group", FGroup}, {"Page", FPage}});
}

void TFormContainer::Shutdown()
{
    SaveState();
    FShutDown = true;
    Hide();
    for (size_t i = 0; i < FSlots.size(); ++i)
        for (size_t j = 0; j < FSlots[i].size(); ++j) {
            TPageSlot& slot = FSlots[i][j];
            if (slot.View && slot.Destroy)
                CallPage(static_cast<int>(i), static_cast<int>(j), slot.Destroy);
            slot.View = nullptr;
        }
}

void TFormContainer::Forward(const TForwardedMessage& Message)
{
    const auto found = FRoutes.find(Message.Msg);
    if (found == FRoutes.end())
        return;
    for (auto [group, page] : found->second) {
        LoadPage(group, page);
        if (TPageSlot& slot = FSlots[group][page]; slot.Message)
            CallPage(group, page, [&] { slot.Message(&Message); });
    }
}

void TFormContainer::WndProc(TMessage& Message)
{
    // Owned by the hidden application window, the main window has no taskbar
    // button to come back from: minimised, it goes to the tray.
    if (Message.Msg == WM_SYSCOMMAND && (Message.WParam & 0xFFF0) == SC_MINIMIZE) {
        Ask(cmdShow, tgTrayIcon);
        Hide();
        return;
    }
    if (Message.Msg == WM_CONTAINER_SWITCH) {
        // The shell is about to switch faces from its tray menu: whatever
        // follows, the window's state is kept now.
        SaveState();
        Message.Result = 0;
        return;
    }
    TForm::WndProc(Message);
}

} // namespace tessel
