#include "KsPackage/Source/KsCheckable.h"
#include "platform/Action.h"

using namespace platform;

const TClassInfo& KsCheckable::StaticClassInfo()
{
    static const TClassInfo& info = TClassBuilder<KsCheckable, KsCustomControl>("KsCheckable").Build();
    return info;
}

KsCheckable::KsCheckable(TComponent* AOwner, int CheckStateCount)
    : KsCustomControl(AOwner, false, CheckStateCount * LookCount)
{
}

int KsCheckable::Substitute(int Index)
{
    const int look = Index % LookCount;
    return look == 0 ? 0 : Index - look;
}

void KsCheckable::SetCheckState(TCheckBoxState Value)
{
    FCheckState = Value;
    ShowCheckLook(BitmapIndex() % LookCount);
}

void KsCheckable::KeyPress(char& Key)
{
    inherited::KeyPress(Key);
    if (Key == ' ')
        Click();
}

// A grayed check box is neither checked nor unchecked: it stays grayed for
// an action that is not checked.
void KsCheckable::ActionChange(TAction* Sender)
{
    inherited::ActionChange(Sender);
    if (Sender->Checked() != GetChecked())
        SetChecked(Sender->Checked());
}
