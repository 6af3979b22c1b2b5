// Actions: one command (its caption, check mark, enabling, hint,
// visibility and shortcut, and what it does) shared by every control linked
// to it, and the action lists that hold them on a form.
#pragma once

#include "platform/Component.h"
#include "platform/Control.h"

#include <string>
#include <vector>

namespace platform {

// A key with its modifiers, as stored in form files: the virtual-key code
// in the low byte, plus scShift, scCtrl and scAlt.
using TShortCut = WORD;
constexpr TShortCut scShift = 0x2000, scCtrl = 0x4000, scAlt = 0x8000;
TShortCut ShortCut(WORD Key, TShiftState Shift);

class TActionList;

// Every control whose Action is this one shows its caption, enabling, hint
// and visibility (check boxes and radio buttons its check mark too) and
// follows every change of them; a click on such a control executes it.
// Freed, it leaves its controls as they are, linked to nothing.
class TAction : public TComponent {
    PLATFORM_CLASS(TAction, TComponent)
public:
    explicit TAction(TComponent* AOwner);
    ~TAction() override;

    TActionList* ActionList() const { return FActionList; }
    void SetActionList(TActionList* Value);
    // In a form file an action is written inside its list.
    bool HasParent() const override { return FActionList != nullptr; }
    TComponent* GetParentComponent() const override;
    void SetParentComponent(TComponent* Value) override;

    const std::string& Caption() const { return FCaption; }
    void SetCaption(const std::string& Value);
    bool Checked() const { return FChecked; }
    void SetChecked(bool Value);
    bool Enabled() const { return FEnabled; }
    void SetEnabled(bool Value);
    const std::string& Hint() const { return FHint; }
    void SetHint(const std::string& Value);
    bool Visible() const { return FVisible; }
    void SetVisible(bool Value);
    // Pressed in the active form, the shortcut executes the action; 0 is none.
    TShortCut ShortCut() const { return FShortCut; }
    void SetShortCut(TShortCut Value) { FShortCut = Value; }

    // Lets OnUpdate bring the action up to date, then runs OnExecute if the
    // action is enabled. False when nothing ran.
    bool Execute();
    // Runs OnUpdate; false without one. The application calls it whenever
    // it has no message waiting.
    bool Update();

    void Notification(TComponent* AComponent, TOperation Operation) override;

    TNotifyEvent OnExecute;
    TNotifyEvent OnUpdate;

private:
    friend class TActionList;
    friend class TControl;
    void Change();

    TActionList* FActionList = nullptr;
    std::string FCaption;
    bool FChecked = false;
    bool FEnabled = true;
    std::string FHint;
    bool FVisible = true;
    TShortCut FShortCut = 0;
    std::vector<TControl*> FClients;
};

// Holds the actions of a form, in order; the actions belong to the form.
class TActionList : public TComponent {
    PLATFORM_CLASS(TActionList, TComponent)
public:
    explicit TActionList(TComponent* AOwner) : TComponent(AOwner) {}
    ~TActionList() override;

    int ActionCount() const { return static_cast<int>(FActions.size()); }
    TAction* Actions(int Index) const;

    void GetChildren(const std::function<void(TComponent*)>& Proc, TComponent* Root) override;

private:
    friend class TAction;
    std::vector<TAction*> FActions;
};

// Runs OnUpdate of every action.
void UpdateActions();
// Executes the enabled action with the shortcut of a key message, among the
// actions of the form the key was typed in; true when one ran.
bool IsActionShortCut(const MSG& Msg);

} // namespace platform
