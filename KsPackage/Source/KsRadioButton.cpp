#include "KsPackage/Source/KsRadioButton.h"
#include "platform/Action.h"

using namespace platform;

namespace {

constexpr int LookCount = KsCheckable::LookCount;

} // namespace

// ---------------------------------------------------------------- KsRadioBtnAppearance

const TClassInfo& KsRadioBtnAppearance::StaticClassInfo()
{
    using A = KsRadioBtnAppearance;
    static const TClassInfo& info = TClassBuilder<A, KsCtrlAppearance>("KsRadioBtnAppearance")
        .Object("Check", &A::Check)
        .Object("Uncheck", &A::Uncheck)
        .Build();
    return info;
}

KsRadioBtnAppearance::KsRadioBtnAppearance(KsRadioButton* Control)
    : KsCtrlAppearance(Control), FUncheck(new KsFourStateAppearance(Control, 0)),
      FCheck(new KsFourStateAppearance(Control, LookCount))
{
}

void KsRadioBtnAppearance::AssignTo(TPersistent* Dest)
{
    auto* dest = dynamic_cast<KsRadioBtnAppearance*>(Dest);
    if (!dest) {
        inherited::AssignTo(Dest);
        return;
    }
    dest->FUncheck->Assign(FUncheck.get());
    dest->FCheck->Assign(FCheck.get());
}

// ---------------------------------------------------------------- KsRadioButton

const TClassInfo& KsRadioButton::StaticClassInfo()
{
    static const TClassInfo& info = TClassBuilder<KsRadioButton, KsCheckable>("KsRadioButton")
        .Bool("Checked", &KsRadioButton::GetChecked, &KsRadioButton::SetChecked, false)
        .Object("Appearance", &KsRadioButton::Appearance, &KsRadioButton::SetAppearance)
        .Publish({"ShowMouseOver", "ClicksDisabled", "Action", "Anchors", "DragCursor", "DragKind", "DragMode",
                  "Enabled", "HelpContext", "ParentShowHint", "PopupMenu", "ShowHint", "TabOrder", "TabStop",
                  "Visible", "OnClick", "OnContextPopup", "OnDblClick", "OnDragDrop", "OnDragOver", "OnEndDock",
                  "OnEndDrag", "OnEnter", "OnExit", "OnKeyDown", "OnKeyPress", "OnKeyUp", "OnMouseDown",
                  "OnMouseMove", "OnMouseUp", "OnStartDock", "OnStartDrag"})
        .Build();
    return info;
}

KsRadioButton::KsRadioButton(TComponent* AOwner)
    : KsCheckable(AOwner, 2), FAppearance(new KsRadioBtnAppearance(this))
{
}

KsRadioButton::~KsRadioButton()
{
    delete FAppearance;
}

void KsRadioButton::SetChecked(bool Value)
{
    if (Value)
        ExcludeOther();
    SetCheckState(Value ? cbChecked : cbUnchecked);
}

bool KsRadioButton::IsExclusiveType(TControl* Control)
{
    return Control->ClassName() == "KsRadioButton";
}

void KsRadioButton::ExcludeOther()
{
    TWinControl* parent = Parent();
    if (!parent)
        return;
    for (int i = 0; i < parent->ControlCount(); ++i) {
        auto* sibling = dynamic_cast<KsControl*>(parent->Controls(i));
        if (sibling && sibling != this && IsExclusiveType(sibling))
            sibling->SetChecked(false);
    }
}

void KsRadioButton::Click()
{
    SetChecked(true);
    // The mark goes to the linked action, and so to its other controls.
    if (Action())
        Action()->SetChecked(true);
    inherited::Click();
}

void KsRadioButton::DblClick()
{
    SetChecked(true);
    inherited::DblClick();
}

bool KsRadioButton::LoadChecked(const std::string& Folder, const std::string& Raised, const std::string& Sunken,
                                const std::string& Focused, const std::string& Disabled)
{
    return FAppearance->Check()->LoadFromFiles(Folder, Raised, Sunken, Focused, Disabled);
}

bool KsRadioButton::LoadUnchecked(const std::string& Folder, const std::string& Raised, const std::string& Sunken,
                                  const std::string& Focused, const std::string& Disabled)
{
    return FAppearance->Uncheck()->LoadFromFiles(Folder, Raised, Sunken, Focused, Disabled);
}
