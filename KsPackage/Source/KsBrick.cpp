#include "KsPackage/Source/KsBrick.h"

using namespace platform;

// ---------------------------------------------------------------- KsThreeStateAppearance

const TClassInfo& KsThreeStateAppearance::StaticClassInfo()
{
    using A = KsThreeStateAppearance;
    static const TClassInfo& info = TClassBuilder<A, KsCtrlAppearance>("KsThreeStateAppearance")
        .Object("NormalBmp", &A::NormalBmp, &A::SetNormalBmp)
        .Object("FocusedBmp", &A::FocusedBmp, &A::SetFocusedBmp)
        .Object("DisabledBmp", &A::DisabledBmp, &A::SetDisabledBmp)
        .Build();
    return info;
}

bool KsThreeStateAppearance::LoadFromFiles(const std::string& Directory, const std::string& Normal,
                                           const std::string& Focused, const std::string& Disabled)
{
    const std::string names[ksBrickStateCount] = {Normal, Focused, Disabled};
    LoadBitmapFiles(Directory, names, ksBrickStateCount, FBaseIndex);
    return true;
}

void KsThreeStateAppearance::AssignTo(TPersistent* Dest)
{
    auto* dest = dynamic_cast<KsThreeStateAppearance*>(Dest);
    if (!dest) {
        inherited::AssignTo(Dest);
        return;
    }
    dest->SetNormalBmp(NormalBmp());
    dest->SetFocusedBmp(FocusedBmp());
    dest->SetDisabledBmp(DisabledBmp());
}

// ---------------------------------------------------------------- KsBrick

const TClassInfo& KsBrick::StaticClassInfo()
{
    static const TClassInfo& info = TClassBuilder<KsBrick, KsCustomControl>("KsBrick")
        .Object("Appearance", &KsBrick::Appearance, &KsBrick::SetAppearance)
        .Publish({"ShowMouseOver", "Action", "Anchors", "DragCursor", "DragKind", "DragMode", "Enabled",
                  "HelpContext", "ParentShowHint", "PopupMenu", "ShowHint", "TabOrder", "TabStop", "Visible",
                  "OnClick", "OnContextPopup", "OnDblClick", "OnDragDrop", "OnDragOver", "OnEndDock", "OnEndDrag",
                  "OnEnter", "OnExit", "OnKeyDown", "OnKeyPress", "OnKeyUp", "OnMouseDown", "OnMouseMove",
                  "OnMouseUp", "OnStartDock", "OnStartDrag"})
        .Build();
    return info;
}

KsBrick::KsBrick(TComponent* AOwner)
    : KsCustomControl(AOwner, true, ksBrickStateCount), FAppearance(new KsThreeStateAppearance(this, 0))
{
}

KsBrick::~KsBrick()
{
    delete FAppearance;
}

void KsBrick::ShowRaised()
{
    ShowBitmap(ksBrickNormal);
}

void KsBrick::ShowFocused()
{
    ShowBitmap(ksBrickFocused);
}

void KsBrick::ShowDisabled()
{
    ShowBitmap(ksBrickDisabled);
}

bool KsBrick::LoadBitmap(const std::string& Folder, const std::string& Normal, const std::string& Focused,
                          const std::string& Disabled)
{
    return FAppearance->LoadFromFiles(Folder, Normal, Focused, Disabled);
}
