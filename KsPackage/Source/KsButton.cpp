#include "KsPackage/Source/KsButton.h"
#include "platform/Form.h"

using namespace platform;

const TClassInfo& KsButton::StaticClassInfo()
{
    static const TClassInfo& info = TClassBuilder<KsButton, KsCustomControl>("KsButton")
        .Object("Appearance", &KsButton::Appearance, &KsButton::SetAppearance)
        .Int("ModalResult", &KsButton::ModalResult, &KsButton::SetModalResult, 0)
        .Publish({"ShowMouseOver", "Action", "Anchors", "DragCursor", "DragKind", "DragMode", "Enabled",
                  "ParentShowHint", "PopupMenu", "ShowHint", "TabOrder", "TabStop", "Visible", "OnClick",
                  "OnContextPopup", "OnDragDrop", "OnDragOver", "OnEndDock", "OnEndDrag", "OnEnter", "OnExit",
                  "OnKeyDown", "OnKeyPress", "OnKeyUp", "OnMouseDown", "OnMouseMove", "OnMouseUp", "OnStartDock",
                  "OnStartDrag"})
        .Build();
    return info;
}

KsButton::KsButton(TComponent* AOwner)
    : KsCustomControl(AOwner, false, ksStateCount), FAppearance(new KsFourStateAppearance(this, ksRaised))
{
    FControlStyle.Exclude(csDoubleClicks);
}

KsButton::~KsButton()
{
    delete FAppearance;
}

void KsButton::ShowSunken()
{
    ShowBitmap(ksSunken);
}

void KsButton::ShowFocused()
{
    ShowBitmap(ksFocused);
}

void KsButton::ShowDisabled()
{
    ShowBitmap(ksDisabled);
}

// A result of 0 is handed over too: such a button leaves a modal form open.
void KsButton::Click()
{
    if (TForm* form = GetParentForm(this))
        form->SetModalResult(FModalResult);
    inherited::Click();
}

void KsButton::WndProc(TMessage& Message)
{
    switch (Message.Msg) {
    case WM_GETDLGCODE:
        inherited::WndProc(Message);
        Message.Result |= DLGC_UNDEFPUSHBUTTON;
        return;
    case BM_CLICK:
        if (EffectivelyEnabled())
            Click();
        return;
    }
    inherited::WndProc(Message);
}

void KsButton::KeyPress(char& Key)
{
    inherited::KeyPress(Key);
    if (Key == ' ')
        Click();
}

bool KsButton::LoadBitmapA(const std::string& Directory, const std::string& Raised, const std::string& Sunken,
                           const std::string& Focused, const std::string& Disabled)
{
    return FAppearance->LoadFromFiles(Directory, Raised, Sunken, Focused, Disabled);
}
