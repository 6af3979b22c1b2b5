#include "modules/PageContainer/Container.h"
#include "modules/Suite/SuiteSettings.h"
#include "modules/Suite/SuiteSkin.h"
#include "modules/Suite/SuiteText.h"

#include "platform/ClassBuilder.h"
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
constexpr int Margin = 8, RowStep = SkinButtonHeight + 6;
constexpr int BodyTop = Margin + 2 * RowStep + 26;

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
        for (int j = 0; j < std::max(group.PageCount, 0) && group.Pages; ++j)
            slots.emplace_back().Record = &group.Pages[j];
    }
    LoadRoutes();

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

void TFormContainer::LoadPage(TPageSlot& Slot)
{
    if (Slot.Tried)
        return;
    Slot.Tried = true;
    Slot.Module = LoadLibraryA((SuiteFolder() + "Page\\" + Slot.Record->FileName).c_str());
    if (Slot.Module) {
        Slot.Create = Entry<TPageCreate>(Slot.Module, "PageCreate");
        Slot.Destroy = Entry<TPageDestroy>(Slot.Module, "PageDestroy");
        Slot.Message = Entry<TPageMessage>(Slot.Module, "PageMessage");
    }
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
        FPageButtons.push_back(button);
    }
    ChoosePage(FGroup == previous ? FPage : 0);
}

void TFormContainer::ChoosePage(int Page)
{
    std::vector<TPageSlot>& slots = FSlots[FGroup];
    for (std::vector<TPageSlot>& group : FSlots)
        for (TPageSlot& slot : group)
            if (slot.View)
                ShowWindow(slot.View, SW_HIDE);
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
    LoadPage(slot);
    if (!slot.View && slot.Create)
        slot.View = slot.Create(FBody->Handle());
    if (slot.View) {
        LayoutBody();
        ShowWindow(slot.View, SW_SHOW);
    } else {
        FMissing->SetVisible(true);
    }
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
    for (std::vector<TPageSlot>& group : FSlots)
        for (TPageSlot& slot : group) {
            if (slot.View && slot.Destroy)
                slot.Destroy();
            slot.View = nullptr;
        }
}

void TFormContainer::Forward(const TForwardedMessage& Message)
{
    const auto found = FRoutes.find(Message.Msg);
    if (found == FRoutes.end())
        return;
    for (auto [group, page] : found->second) {
        TPageSlot& slot = FSlots[group][page];
        LoadPage(slot);
        if (slot.Message)
            slot.Message(&Message);
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
