// The skinned check box with a caption, drawn over the picture in a colour
// by check state and look and moved at the first drawing after each press.
#pragma once

#include "KsPackage/Source/KsCaptioned.h"
#include "KsPackage/Source/KsCheckBox.h"

#include <memory>

// Caption colours by check state: the checked and grayed groups have a
// colour for every look, the unchecked one none for raised (the font's).
// Unset colours are -1.
class KsCheckBoxFontColor : public platform::TPersistent {
    PLATFORM_CLASS(KsCheckBoxFontColor, platform::TPersistent)
public:
    KsCheckBoxFontColor();

    KsFourStateFontColor* Check() const { return FCheck.get(); }
    KsThreeStateFontColor* Uncheck() const { return FUncheck.get(); }
    KsFourStateFontColor* Gray() const { return FGray.get(); }
    // One handler for all three groups.
    const platform::TNotifyEvent& OnChange() const { return FUncheck->OnChange; }
    void SetOnChange(const platform::TNotifyEvent& Value);

protected:
    // Copies Uncheck, Check, then Gray (an OnChange for each).
    void AssignTo(platform::TPersistent* Dest) override;

private:
    std::unique_ptr<KsFourStateFontColor> FCheck;
    std::unique_ptr<KsThreeStateFontColor> FUncheck;
    std::unique_ptr<KsFourStateFontColor> FGray;
};

class KsCheckBoxTx : public KsCaptioned<KsCheckBoxTx, KsCheckBox, KsCheckBoxFontColor> {
    PLATFORM_CLASS(KsCheckBoxTx, KsCheckBox)
public:
    using KsCaptioned::KsCaptioned;

    void ShowSunken() override;

    // A plain RGB colour: the check state's group's colour for the look,
    // else the font's.
    platform::TColor GetFontColorOfCurState() const;
};
