#include "KsPackage/Source/KsCheckBoxTx.h"

using namespace platform;

// ---------------------------------------------------------------- KsCheckBoxFontColor

const TClassInfo& KsCheckBoxFontColor::StaticClassInfo()
{
    using C = KsCheckBoxFontColor;
    static const TClassInfo& info = TClassBuilder<C, TPersistent>("KsCheckBoxFontColor")
        .Object("Check", &C::Check)
        .Object("Uncheck", &C::Uncheck)
        .Object("Gray", &C::Gray)
        .Event("OnChange", &C::OnChange, &C::SetOnChange)
        .Build();
    return info;
}

KsCheckBoxFontColor::KsCheckBoxFontColor()
    : FCheck(new KsFourStateFontColor), FUncheck(new KsThreeStateFontColor), FGray(new KsFourStateFontColor)
{
}

void KsCheckBoxFontColor::SetOnChange(const TNotifyEvent& Value)
{
    FUncheck->OnChange = Value;
    FCheck->OnChange = Value;
    FGray->OnChange = Value;
}

void KsCheckBoxFontColor::AssignTo(TPersistent* Dest)
{
    auto* dest = dynamic_cast<KsCheckBoxFontColor*>(Dest);
    if (!dest) {
        inherited::AssignTo(Dest);
        return;
    }
    dest->FUncheck->Assign(FUncheck.get());
    dest->FCheck->Assign(FCheck.get());
    dest->FGray->Assign(FGray.get());
}

// ---------------------------------------------------------------- KsCheckBoxTx

const TClassInfo& KsCheckBoxTx::StaticClassInfo()
{
    static const TClassInfo& info = TClassBuilder<KsCheckBoxTx, KsCheckBox>("KsCheckBoxTx")
        .Publish({"Font", "Caption"})
        .Object("FontColors", &KsCheckBoxTx::FontColors, &KsCheckBoxTx::SetFontColors)
        .Build();
    return info;
}

void KsCheckBoxTx::ShowSunken()
{
    FShiftText = true;
    inherited::ShowSunken();
}

TColor KsCheckBoxTx::GetFontColorOfCurState() const
{
    const KsCtrlFontColor* group = FFontColors->Uncheck();
    if (State() == cbChecked)
        group = FFontColors->Check();
    else if (State() == cbGrayed)
        group = FFontColors->Gray();
    const int look = BitmapIndex() % LookCount;
    return group->CaptionColor(look > 0 ? static_cast<KsFontColorState>(look) : fcRaised, Font()->Color());
}
