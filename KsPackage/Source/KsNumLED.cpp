#include "KsPackage/Source/KsNumLED.h"
#include "platform/Align.h"

using namespace platform;

// ---------------------------------------------------------------- KsLedColors

const TClassInfo& KsLedColors::StaticClassInfo()
{
    using C = KsLedColors;
    static const TClassInfo& info = TClassBuilder<C, TPersistent>("KsLedColors")
        .Int("LightColor", &C::LightColor, &C::SetLightColor, 0, &ColorIdents())
        .Int("DarkColor", &C::DarkColor, &C::SetDarkColor, 0, &ColorIdents())
        .Int("BackgroundColor", &C::BackgroundColor, &C::SetBackgroundColor, 0, &ColorIdents())
        .Int("TransparentColor", &C::TransparentColor, &C::SetTransparentColor, 0, &ColorIdents())
        .Build();
    return info;
}

TColor KsLedColors::LightColor() const
{
    return FOwner->Imp()->GetLightColor();
}

void KsLedColors::SetLightColor(TColor Value)
{
    FOwner->Imp()->SetLightColor(Value);
}

TColor KsLedColors::DarkColor() const
{
    return FOwner->Imp()->GetDarkColor();
}

void KsLedColors::SetDarkColor(TColor Value)
{
    FOwner->Imp()->SetDarkColor(Value);
}

TColor KsLedColors::BackgroundColor() const
{
    return FOwner->Imp()->GetBackgroundColor();
}

void KsLedColors::SetBackgroundColor(TColor Value)
{
    FOwner->Imp()->SetBackgroundColor(Value);
}

TColor KsLedColors::TransparentColor() const
{
    return FOwner->Imp()->GetTransparentColor();
}

void KsLedColors::SetTransparentColor(TColor Value)
{
    FOwner->Imp()->SetTransparentColor(Value);
}

void KsLedColors::AssignTo(TPersistent* Dest)
{
    auto* dest = dynamic_cast<KsLedColors*>(Dest);
    if (!dest)
        throw EInvalidCast("Invalid class typecast");
    dest->SetLightColor(LightColor());
    dest->SetDarkColor(DarkColor());
    dest->SetBackgroundColor(BackgroundColor());
    dest->SetTransparentColor(TransparentColor());
}

// ---------------------------------------------------------------- KsNumLed

const TClassInfo& KsNumLed::StaticClassInfo()
{
    static const TClassInfo& info = TClassBuilder<KsNumLed, TControl>("KsNumLed")
        .Enum("Type", {"nledFloat", "nledTime", "nledDate"}, &KsNumLed::GetType, &KsNumLed::SetType,
              loom::nledFloat)
        .Enum("Style", {"nledRectangle7_s"}, &KsNumLed::GetStyle, &KsNumLed::SetStyle, loom::nledRectangle7_s)
        .Bool("ZeroLeading", &KsNumLed::GetZeroLeading, &KsNumLed::SetZeroLeading, false)
        .Str("Format", &KsNumLed::GetFormat, &KsNumLed::SetFormat, std::nullopt)
        .Object("LedColors", &KsNumLed::LedColors, &KsNumLed::SetLedColors)
        .Bool("Transparent", &KsNumLed::GetTransparent, &KsNumLed::SetTransparent, false)
        .Bool("KeepRatio", &KsNumLed::GetKeepRatio, &KsNumLed::SetKeepRatio, false)
        .Publish({"Align", "Anchors", "Constraints", "DragCursor", "DragKind", "DragMode", "Enabled", "ParentShowHint",
                  "PopupMenu", "ShowHint", "Visible", "OnClick", "OnContextPopup", "OnDblClick", "OnDragDrop", "OnDragOver",
                  "OnEndDock", "OnEndDrag", "OnMouseDown", "OnMouseMove", "OnMouseUp", "OnStartDock",
                  "OnStartDrag"})
        .Build();
    return info;
}

KsNumLed::KsNumLed(TComponent* AOwner)
    : TControl(AOwner), FImp(new loom::KsNumLed_imp(this, Parent(), Width(), Height())),
      FLedColors(new KsLedColors(this))
{
}

KsNumLed::~KsNumLed()
{
    delete FImp;
    FImp = nullptr;
    delete FLedColors;
}

void KsNumLed::SetBounds(int ALeft, int ATop, int AWidth, int AHeight)
{
    if (FImp) {
        Constraints()->Constrain(AWidth, AHeight);
        FImp->Move(ALeft, ATop);
        FImp->Resize(AWidth, AHeight);
        AWidth = FImp->GetLayer()->Width();
        AHeight = FImp->GetLayer()->Height();
    }
    inherited::SetBounds(ALeft, ATop, AWidth, AHeight);
}

void KsNumLed::SetParent(TWinControl* AParent)
{
    if (FImp)
        FImp->SetParent(AParent);
    inherited::SetParent(AParent);
}

void KsNumLed::SetKeepRatio(bool Value)
{
    FImp->SetKeepRatio(Value);
    SetBounds(Left(), Top(), Width(), Height());
}

void KsNumLed::Repaint()
{
    FImp->Repaint();
    inherited::Repaint();
}
