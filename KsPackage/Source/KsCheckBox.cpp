#include "KsPackage/Source/KsCheckBox.h"
#include "platform/Action.h"

using namespace platform;

namespace {

constexpr int CheckStateCount = 3, LookCount = 4;

} // namespace

// ---------------------------------------------------------------- KsChkBoxAppearance

const TClassInfo& KsChkBoxAppearance::StaticClassInfo()
{
    using A = KsChkBoxAppearance;
    static const TClassInfo& info = TClassBuilder<A, TPersistent>("KsChkBoxAppearance")
        .Object("Check", &A::Check)
        .Object("Uncheck", &A::Uncheck)
        .Object("Gray", &A::Gray)
        .Build();
    return info;
}

KsChkBoxAppearance::KsChkBoxAppearance(KsCheckBox* Control)
    : FUncheck(new KsFourStateAppearance(Control, LookCount * cbUnchecked)),
      FCheck(new KsFourStateAppearance(Control, LookCount * cbChecked)),
      FGray(new KsFourStateAppearance(Control, LookCount * cbGrayed))
{
}

KsChkBoxAppearance::~KsChkBoxAppearance()
{
    delete FGray;
    delete FCheck;
    delete FUncheck;
}

void KsChkBoxAppearance::AssignTo(TPersistent* Dest)
{
    auto* dest = dynamic_cast<KsChkBoxAppearance*>(Dest);
    if (!dest) {
        inherited::AssignTo(Dest);
        return;
    }
    dest->FUncheck->Assign(FUncheck);
    dest->FCheck->Assign(FCheck);
    dest->FGray->Assign(FGray);
}

// ---------------------------------------------------------------- KsCheckBox

const TClassInfo& KsCheckBox::StaticClassInfo()
{
    static const TClassInfo& info = TClassBuilder<KsCheckBox, KsCustomControl>("KsCheckBox")
        .Bool("Checked", &KsCheckBox::GetChecked, &KsCheckBox::SetChecked, false)
        .Bool("AllowGrayed", &KsCheckBox::AllowGrayed, &KsCheckBox::SetAllowGrayed, false)
        .Enum("State", {"cbUnchecked", "cbChecked", "cbGrayed"}, &KsCheckBox::State, &KsCheckBox::SetState,
              cbUnchecked)
        .Object("Appearance", &KsCheckBox::Appearance)
        .Publish({"ShowMouseOver", "ClicksDisabled", "Action", "Anchors", "DragCursor", "DragKind", "DragMode",
                  "Enabled", "HelpContext", "ParentShowHint", "PopupMenu", "ShowHint", "TabOrder", "TabStop",
                  "Visible", "OnClick", "OnContextPopup", "OnDragDrop", "OnDragOver", "OnEndDock", "OnEndDrag",
                  "OnEnter", "OnExit", "OnKeyDown", "OnKeyPress", "OnKeyUp", "OnMouseDown", "OnMouseMove",
                  "OnMouseUp", "OnStartDock", "OnStartDrag"})
        .Build();
    return info;
}

KsCheckBox::KsCheckBox(TComponent* AOwner)
    : KsCustomControl(AOwner, false, CheckStateCount * LookCount), FAppearance(new KsChkBoxAppearance(this)),
      FOldBitmapChange(GetBitmap(0)->OnChange)
{
    FControlStyle.Exclude(csDoubleClicks);
    for (int i = 0; i < BitmapCount(); ++i)
        GetBitmap(i)->OnChange = [this](TObject* Sender) { BitmapChanged(Sender); };
}

KsCheckBox::~KsCheckBox()
{
    delete FAppearance;
}

bool KsCheckBox::GetChecked() const
{
    return FState == cbChecked;
}

void KsCheckBox::SetChecked(bool Value)
{
    SetState(Value ? cbChecked : cbUnchecked);
}

void KsCheckBox::SetState(TCheckBoxState Value)
{
    FState = Value;
    ShowChkboxBmp(BitmapIndex() % LookCount);
}

void KsCheckBox::ShowChkboxBmp(int Look)
{
    ShowBitmap(LookCount * FState + Look);
}

void KsCheckBox::ShowRaised()
{
    ShowChkboxBmp(0);
}

void KsCheckBox::ShowSunken()
{
    ShowChkboxBmp(1);
}

void KsCheckBox::ShowFocused()
{
    ShowChkboxBmp(2);
}

void KsCheckBox::ShowDisabled()
{
    ShowChkboxBmp(3);
}

int KsCheckBox::Substitute(int Index)
{
    const int look = Index % LookCount;
    return look == 0 ? 0 : Index - look;
}

void KsCheckBox::Click()
{
    switch (FState) {
    case cbUnchecked: SetState(FAllowGrayed ? cbGrayed : cbChecked); break;
    case cbChecked: SetState(cbUnchecked); break;
    case cbGrayed: SetState(cbChecked); break;
    }
    // The new mark goes to the linked action, and so to its other controls.
    if (Action())
        Action()->SetChecked(GetChecked());
    inherited::Click();
}

void KsCheckBox::KeyPress(char& Key)
{
    inherited::KeyPress(Key);
    if (Key == ' ')
        Click();
}

void KsCheckBox::BitmapChanged(TObject* Sender)
{
    ReshowFallback(Sender);
    if (FOldBitmapChange)
        FOldBitmapChange(Sender);
}

bool KsCheckBox::LoadChecked(const std::string& Folder, const std::string& Raised, const std::string& Sunken,
                             const std::string& Focused, const std::string& Disabled)
{
    return FAppearance->Check()->LoadFromFiles(Folder, Raised, Sunken, Focused, Disabled);
}

bool KsCheckBox::LoadUnchecked(const std::string& Folder, const std::string& Raised, const std::string& Sunken,
                               const std::string& Focused, const std::string& Disabled)
{
    return FAppearance->Uncheck()->LoadFromFiles(Folder, Raised, Sunken, Focused, Disabled);
}

bool KsCheckBox::LoadGrayed(const std::string& Folder, const std::string& Raised, const std::string& Sunken,
                            const std::string& Focused, const std::string& Disabled)
{
    return FAppearance->Gray()->LoadFromFiles(Folder, Raised, Sunken, Focused, Disabled);
}
