#include "modules/PageContainer/Container.h"
#include "modules/Suite/SuiteSettings.h"
#include "modules/Suite/SuiteSkin.h"
#include "modules/Suite/SuiteText.h"

#include "platform/ClassBuilder.h"
#include "platform/FaultGuard.h"
#include "platform/FilePath.h"

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
constexpr int Margin = 8, RowStep = SkinButtonHeight + 6;
constexpr int BodyTop = Margin + 2 * RowStep + 26;

std::string IniText(const std::string& Section, const std::string& Key)
{
    char value[260] = {};
    GetPrivateProfileStringA(Section.c_str(), Key.c_str(), "", value, sizeof value, SuiteIni().c_str());
    return value;
}

template <class T>
T Entry(HMODULE Module, const char* Name)
{
    return reinterpret_cast<T>(reinterpret_cast<void*>(GetProcAddress(Module, Name)));
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
    RestoreBounds(this, Section, true);

    const int groups = std::clamp<int>(Registration.Groups ? Registration.GroupCount : 0, 0, 256);
    for (int i = 0; i < groups; ++i) {
        TGroupRecord& group = Registration.Groups[i];
        auto* tab = MakeSkinButton(this, Tr(group.Name), Margin + i * (SkinButtonWidth + 4), Margin);
        tab->OnClick = [this, i](TObject*) { ChooseGroup(i); };
        FTabs.push_back(tab);

        std::vector<TPageSlot>& slots = FSlots.emplace_back();
        for (int j = 0; j < std::max(group.PageCount, 0) && group.Pages; ++j) {
            TPageSlot& slot = slots.emplace_back();
            slot.Record = &group.Pages[j];
            // A name that leads out of Page\ is no page of the suite's.
            const std::string path = PathWithin(SuiteFolder() + "Page\\", slot.Record->FileName);
            slot.Module = path.empty() ? nullptr : LoadLibraryA(path.c_str());
            if (slot.Module) {
                slot.Create = Entry<TPageCreate>(slot.Module, "PageCreate");
                slot.Destroy = Entry<TPageDestroy>(slot.Module, "PageDestroy");
                slot.Message = Entry<TPageMessage>(slot.Module, "PageMessage");
            }
        }
    }

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

    FTitle = New<TLabel>(this);
    FTitle->SetParent(this);
    FTitle->SetTransparent(true);
    ApplyLanguageFont(FTitle->Font());
    FTitle->Font()->SetHeight(-MulDiv(11, 96, 72));
    FTitle->Font()->SetStyle({fsBold});
    FTitle->SetBounds(Margin, Margin + 2 * RowStep, 400, 20);

    FBody = New<TPanel>(this);
    FBody->SetParent(this);
    FBody->SetBevelOuter(bvLowered);
    FBody->SetColor(RGB(246, 247, 249));
    FBody->OnResize = [this](TObject*) { LayoutBody(); };

    FMissing = New<TLabel>(FBody);
    FMissing->SetParent(FBody);
    FMissing->SetTransparent(true);
    FMissing->SetBounds(16, 16, 300, 16);
    FMissing->SetText(Tr("This page could not be loaded."));
    FMissing->SetVisible(false);

    OnResize = [this](TObject*) {
        const int right = ClientWidth() - Margin;
        FExit->SetLeft(right - SkinButtonWidth);
        FToTray->SetLeft(right - 2 * SkinButtonWidth - 4);
        FToBar->SetLeft(right - 3 * SkinButtonWidth - 8);
        FBody->SetBounds(Margin, BodyTop, std::max(ClientWidth() - 2 * Margin, 0),
                         std::max(ClientHeight() - BodyTop - Margin, 0));
    };
    OnResize(this);
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

void TFormContainer::Ask(int32_t Code, int32_t Target)
{
    TCommandRecord record{Code, Target, nullptr};
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
    ChooseGroup(FGroup);
    Show();
    // Showing leaves a minimized window an icon; the user asked to see it.
    if (IsIconic(Handle()))
        ShowWindow(Handle(), SW_RESTORE);
    SetForegroundWindow(Handle());
}

void TFormContainer::ChooseGroup(int Group)
{
    if (FSlots.empty())
        return;
    const int previous = FGroup;
    FGroup = std::clamp(Group, 0, static_cast<int>(FSlots.size()) - 1);
    for (size_t i = 0; i < FTabs.size(); ++i)
        FTabs[i]->Font()->SetStyle(static_cast<int>(i) == FGroup ? TFontStyles{fsBold} : TFontStyles{});

    for (KsButtonTx* button : FPageButtons)
        button->Free();
    FPageButtons.clear();
    for (int j = 0; j < static_cast<int>(FSlots[FGroup].size()); ++j) {
        auto* button = MakeSkinButton(this, PageCaption(*FSlots[FGroup][j].Record), Margin + j * (SkinButtonWidth + 4),
                                      Margin + RowStep);
        button->OnClick = [this, j](TObject*) { ChoosePage(j); };
        button->SetEnabled(!PageUnavailable(FRegistration.Groups[FGroup], j));
        FPageButtons.push_back(button);
    }
    ChoosePage(FGroup == previous ? FPage : 0);
}

void TFormContainer::ChoosePage(int Page)
{
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
    for (size_t j = 0; j < FPageButtons.size(); ++j)
        FPageButtons[j]->Font()->SetStyle(static_cast<int>(j) == FPage ? TFontStyles{fsBold} : TFontStyles{});
    FTitle->SetText(PageCaption(*slots[FPage].Record));

    TPageSlot& slot = slots[FPage];
    if (!slot.View && slot.Create) {
        HWND view = nullptr;
        if (CallPage(FGroup, FPage, [&] { view = slot.Create(FBody->Handle()); }))
            slot.View = view;
    }
    if (slot.View) {
        LayoutBody();
        ShowWindow(slot.View, SW_SHOW);
    } else {
        FMissing->SetVisible(true);
    }
}

bool TFormContainer::CallPage(int Group, int Page, const std::function<void()>& Call)
{
    TGroupRecord& group = FRegistration.Groups[Group];
    if (PageUnavailable(group, Page))
        return false;
    if (RunGuarded(Call) == TCallResult::Returned)
        return true;
    MarkPageUnavailable(group, Page);
    LeavePage(Group, Page);
    return false;
}

void TFormContainer::LeavePage(int Group, int Page)
{
    // The view's window stays, hidden, for the process's life: destroying
    // it would run the module's code again.
    TPageSlot& slot = FSlots[Group][Page];
    if (const HWND view = slot.View)
        RunGuarded([view] { ShowWindow(view, SW_HIDE); });
    slot.View = nullptr;
    if (Group == FGroup && Page < static_cast<int>(FPageButtons.size()))
        FPageButtons[Page]->SetEnabled(false);
    if (Group == FGroup && Page == FPage)
        FMissing->SetVisible(true);
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
    // The routing sections name group and page pairs; a number listed under
    // two spellings ("1024", "01024") reaches each page once.
    std::set<std::pair<int, int>> pages;
    for (int k = 1;; ++k) {
        const std::string text = IniText("MESSAGE", std::to_string(k));
        if (text.empty())
            break;
        if (static_cast<uint32_t>(std::atol(text.c_str())) != Message.Msg)
            continue;
        for (int n = 1;; ++n) {
            const std::string pair = IniText(text, std::to_string(n));
            int group = -1, page = -1;
            if (pair.empty())
                break;
            if (std::sscanf(pair.c_str(), "%d,%d", &group, &page) == 2)
                pages.insert({group, page});
        }
    }
    for (auto [group, page] : pages) {
        if (group < 0 || page < 0 || group >= static_cast<int>(FSlots.size()) ||
            page >= static_cast<int>(FSlots[group].size()))
            continue;
        if (TPageSlot& slot = FSlots[group][page]; slot.Message)
            CallPage(group, page, [&] { slot.Message(&Message); });
    }
}

void TFormContainer::WndProc(TMessage& Message)
{
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
