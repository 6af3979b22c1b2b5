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

KsCheckBoxFontColor::~KsCheckBoxFontColor()
{
    delete FGray;
    delete FUncheck;
    delete FCheck;
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
    dest->FUncheck->Assign(FUncheck);
    dest->FCheck->Assign(FCheck);
    dest->FGray->Assign(FGray);
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
    TColor color = -1;
    switch (State()) {
    case cbUnchecked: color = GetFontColorFromThreeState(*FFontColors->Uncheck()); break;
    case cbChecked: color = GetFontColorFromFourState(*FFontColors->Check()); break;
    case cbGrayed: color = GetFontColorFromFourState(*FFontColors->Gray()); break;
    }
    if (color == -1)
        color = Font()->Color();
    return static_cast<TColor>(ColorToRGB(color));
}

TColor KsCheckBoxTx::GetFontColorFromFourState(const KsFourStateFontColor& Group) const
{
    const TColor raised = Group.GetColor(fcRaised);
    switch (BitmapIndex() % 4) {
    case 1: return Group.GetColor(fcSunken) != -1 ? Group.GetColor(fcSunken) : raised;
    case 2: return Group.GetColor(fcFocused) != -1 ? Group.GetColor(fcFocused) : raised;
    case 3: return Group.GetColor(fcDisabled) != -1 ? Group.GetColor(fcDisabled) : clGrayText;
    default: return raised;
    }
}

TColor KsCheckBoxTx::GetFontColorFromThreeState(const KsThreeStateFontColor& Group) const
{
    switch (BitmapIndex() % 4) {
    case 1: return Group.GetColor(fcSunken);
    case 2: return Group.GetColor(fcFocused);
    case 3: return Group.GetColor(fcDisabled) != -1 ? Group.GetColor(fcDisabled) : clGrayText;
    default: return -1;
    }
}
