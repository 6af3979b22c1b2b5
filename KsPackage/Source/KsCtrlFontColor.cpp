#include "KsPackage/Source/KsCtrlFontColor.h"

#include <utility>

using namespace platform;

void KsCtrlFontColor::SetColor(KsFontColorState State, TColor Value)
{
    if (FColors[State] == Value)
        return;
    FColors[State] = Value;
    Changed();
}

void KsCtrlFontColor::Changed()
{
    if (OnChange)
        OnChange(this);
}

TColor KsCtrlFontColor::CaptionColor(KsFontColorState Look, TColor FontColor) const
{
    TColor color = GetColor(Look);
    if (color == -1)
        color = Look == fcDisabled ? clGrayText : GetColor(fcRaised);
    if (color == -1)
        color = FontColor;
    return static_cast<TColor>(ColorToRGB(color));
}

void KsCtrlFontColor::AssignTo(TPersistent* Dest)
{
    auto* dest = dynamic_cast<KsCtrlFontColor*>(Dest);
    if (!dest || &dest->ClassInfo() != &ClassInfo()) {
        inherited::AssignTo(Dest);
        return;
    }
    dest->FColors = FColors;
    dest->Changed();
}

namespace {

// The colour properties of a record class, each -1 by default.
template <class C>
const TClassInfo& ColorRecordInfo(const char* Name, std::initializer_list<std::pair<const char*, KsFontColorState>> Colors)
{
    TClassBuilder<C, KsCtrlFontColor> builder(Name);
    for (const auto& [property, state] : Colors)
        builder.Int(
            property, [state](const C& c) { return c.GetColor(state); },
            [state](C& c, TColor value) { c.SetColor(state, value); }, -1, &ColorIdents());
    return builder.Build();
}

} // namespace

const TClassInfo& KsCtrlFontColor::StaticClassInfo()
{
    static const TClassInfo& info = TClassBuilder<KsCtrlFontColor, TPersistent>("KsCtrlFontColor").Build();
    return info;
}

const TClassInfo& KsTwoStateFontColor::StaticClassInfo()
{
    static const TClassInfo& info =
        ColorRecordInfo<KsTwoStateFontColor>("KsTwoStateFontColor", {{"Focused", fcFocused}, {"Disabled", fcDisabled}});
    return info;
}

const TClassInfo& KsThreeStateFontColor::StaticClassInfo()
{
    static const TClassInfo& info = ColorRecordInfo<KsThreeStateFontColor>(
        "KsThreeStateFontColor", {{"Sunken", fcSunken}, {"Focused", fcFocused}, {"Disabled", fcDisabled}});
    return info;
}

const TClassInfo& KsFourStateFontColor::StaticClassInfo()
{
    static const TClassInfo& info = ColorRecordInfo<KsFourStateFontColor>(
        "KsFourStateFontColor",
        {{"Raised", fcRaised}, {"Sunken", fcSunken}, {"Focused", fcFocused}, {"Disabled", fcDisabled}});
    return info;
}
