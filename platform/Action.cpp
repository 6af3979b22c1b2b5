#include "platform/Action.h"
#include "platform/ClassBuilder.h"
#include "platform/Form.h"

#include <algorithm>

namespace platform {

namespace {

// Every action alive, in order of making, for the idle updates and the shortcuts.
std::vector<TAction*>& AllActions()
{
    static std::vector<TAction*>& actions = *new std::vector<TAction*>;
    return actions;
}

TForm* OwnerForm(const TComponent* Component)
{
    for (TComponent* c = Component->Owner(); c; c = c->Owner())
        if (auto* form = dynamic_cast<TForm*>(c))
            return form;
    return nullptr;
}

} // namespace

TShortCut ShortCut(WORD Key, TShiftState Shift)
{
    TShortCut result = Key & 0xFF;
    if (Shift.Contains(ssShift))
        result |= scShift;
    if (Shift.Contains(ssCtrl))
        result |= scCtrl;
    if (Shift.Contains(ssAlt))
        result |= scAlt;
    return result;
}

// ---------------------------------------------------------------- TAction

const TClassInfo& TAction::StaticClassInfo()
{
    static const TClassInfo& info = TClassBuilder<TAction, TComponent>("TAction")
        .Str("Caption", &TAction::Caption, &TAction::SetCaption)
        .Bool("Checked", &TAction::Checked, &TAction::SetChecked, false)
        .Bool("Enabled", &TAction::Enabled, &TAction::SetEnabled, true)
        .Str("Hint", &TAction::Hint, &TAction::SetHint)
        .Bool("Visible", &TAction::Visible, &TAction::SetVisible, true)
        .Int("ShortCut", &TAction::ShortCut, &TAction::SetShortCut, 0)
        .Event("OnExecute", &TAction::OnExecute)
        .Event("OnUpdate", &TAction::OnUpdate)
        .Build();
    return info;
}

TAction::TAction(TComponent* AOwner) : TComponent(AOwner)
{
    AllActions().push_back(this);
}

TAction::~TAction()
{
    SetActionList(nullptr);
    auto& all = AllActions();
    all.erase(std::remove(all.begin(), all.end(), this), all.end());
}

void TAction::SetActionList(TActionList* Value)
{
    if (Value == FActionList)
        return;
    if (FActionList) {
        auto& list = FActionList->FActions;
        list.erase(std::remove(list.begin(), list.end(), this), list.end());
    }
    FActionList = Value;
    if (Value)
        Value->FActions.push_back(this);
}

TComponent* TAction::GetParentComponent() const
{
    return FActionList;
}

void TAction::SetParentComponent(TComponent* Value)
{
    SetActionList(dynamic_cast<TActionList*>(Value));
}

void TAction::SetCaption(const std::string& Value)
{
    if (Value == FCaption)
        return;
    FCaption = Value;
    Change();
}

void TAction::SetChecked(bool Value)
{
    if (Value == FChecked)
        return;
    FChecked = Value;
    Change();
}

void TAction::SetEnabled(bool Value)
{
    if (Value == FEnabled)
        return;
    FEnabled = Value;
    Change();
}

void TAction::SetHint(const std::string& Value)
{
    if (Value == FHint)
        return;
    FHint = Value;
    Change();
}

void TAction::SetVisible(bool Value)
{
    if (Value == FVisible)
        return;
    FVisible = Value;
    Change();
}

void TAction::Change()
{
    // A client may unlink itself or others while it follows the change.
    for (TControl* client : std::vector<TControl*>(FClients))
        if (std::find(FClients.begin(), FClients.end(), client) != FClients.end())
            client->ActionChange(this);
}

bool TAction::Execute()
{
    Update();
    if (!FEnabled || !OnExecute)
        return false;
    OnExecute(this);
    return true;
}

bool TAction::Update()
{
    if (!OnUpdate)
        return false;
    OnUpdate(this);
    return true;
}

void TAction::Notification(TComponent* AComponent, TOperation Operation)
{
    TComponent::Notification(AComponent, Operation);
    if (Operation == opRemove)
        FClients.erase(std::remove(FClients.begin(), FClients.end(), AComponent), FClients.end());
}

// ---------------------------------------------------------------- TControl

void TControl::SetAction(TAction* Value)
{
    if (Value == FAction)
        return;
    if (FAction) {
        auto& clients = FAction->FClients;
        clients.erase(std::remove(clients.begin(), clients.end(), this), clients.end());
        FAction->RemoveFreeNotification(this);
    }
    FAction = Value;
    if (Value) {
        Value->FreeNotification(this);
        Value->FClients.push_back(this);
        ActionChange(Value);
    }
}

void TControl::ActionChange(TAction* Sender)
{
    SetCaption(Sender->Caption());
    SetEnabled(Sender->Enabled());
    SetHint(Sender->Hint());
    SetVisible(Sender->Visible());
}

// ---------------------------------------------------------------- TActionList

const TClassInfo& TActionList::StaticClassInfo()
{
    static const TClassInfo& info = TClassBuilder<TActionList, TComponent>("TActionList").Build();
    return info;
}

TActionList::~TActionList()
{
    for (TAction* action : FActions)
        action->FActionList = nullptr;
}

TAction* TActionList::Actions(int Index) const
{
    if (Index < 0 || Index >= ActionCount())
        throw EListError(Format("List index out of bounds (%d)", Index));
    return FActions[static_cast<size_t>(Index)];
}

void TActionList::GetChildren(const std::function<void(TComponent*)>& Proc, TComponent* Root)
{
    for (TAction* action : std::vector<TAction*>(FActions))
        if (action->Owner() == Root)
            Proc(action);
}

// ---------------------------------------------------------------- the application's part

void UpdateActions()
{
    // An OnUpdate handler may free actions: walk a copy and skip the gone.
    const std::vector<TAction*> actions = AllActions();
    for (TAction* action : actions)
        if (std::find(AllActions().begin(), AllActions().end(), action) != AllActions().end())
            action->Update();
}

bool IsActionShortCut(const MSG& Msg)
{
    if (Msg.message != WM_KEYDOWN && Msg.message != WM_SYSKEYDOWN)
        return false;
    TForm* form = GetParentForm(FindControl(Msg.hwnd));
    if (!form)
        return false;
    const TShortCut shortCut = ShortCut(static_cast<WORD>(Msg.wParam), KeyboardShiftState());
    // A disabled action passes its shortcut on to the next one that has it;
    // an OnUpdate on the way may free actions.
    const std::vector<TAction*> actions = AllActions();
    for (TAction* action : actions)
        if (std::find(AllActions().begin(), AllActions().end(), action) != AllActions().end() &&
            action->ShortCut() == shortCut && OwnerForm(action) == form && action->Execute())
            return true;
    return false;
}

} // namespace platform
