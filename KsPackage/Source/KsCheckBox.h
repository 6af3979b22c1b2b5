// The skinned check box: three check states, each in the four looks the
// control base drives, so twelve pictures (KsCheckable numbers them). A
// click or the space key moves it to the next check state; the program's
// writes of State and Checked raise no click. Double clicks are not
// recognised: a quick second press is a second click.
#pragma once

#include "KsPackage/Source/KsCheckable.h"
#include "KsPackage/Source/KsCtrlAppearance.h"

#include <memory>

class KsCheckBox;

// The twelve pictures by check state. It stores none of them: each group
// hands out and fills the control's own bitmaps.
class KsChkBoxAppearance : public platform::TPersistent {
    PLATFORM_CLASS(KsChkBoxAppearance, platform::TPersistent)
public:
    explicit KsChkBoxAppearance(KsCheckBox* Control);

    KsFourStateAppearance* Uncheck() const { return FUncheck.get(); }
    KsFourStateAppearance* Check() const { return FCheck.get(); }
    KsFourStateAppearance* Gray() const { return FGray.get(); }

protected:
    // Copies Uncheck, Check, then Gray.
    void AssignTo(platform::TPersistent* Dest) override;

private:
    std::unique_ptr<KsFourStateAppearance> FUncheck;
    std::unique_ptr<KsFourStateAppearance> FCheck;
    std::unique_ptr<KsFourStateAppearance> FGray;
};

class KsCheckBox : public KsCheckable {
    PLATFORM_CLASS(KsCheckBox, KsCheckable)
public:
    explicit KsCheckBox(platform::TComponent* AOwner);
    ~KsCheckBox() override;

    void SetChecked(bool Value) override;

    TCheckBoxState State() const { return CheckState(); }
    // Shows the look now on screen in the new state; no click.
    void SetState(TCheckBoxState Value) { SetCheckState(Value); }
    bool AllowGrayed() const { return FAllowGrayed; }
    void SetAllowGrayed(bool Value) { FAllowGrayed = Value; }
    KsChkBoxAppearance* Appearance() const { return FAppearance; }
    // Copies the twelve pictures.
    void SetAppearance(KsChkBoxAppearance* Value) { FAppearance->Assign(Value); }
    // Look 0 to 3 in the current check state.
    void ShowChkboxBmp(int Look) { ShowCheckLook(Look); }

    // Load the four pictures of one check state from files in Folder; empty
    // names keep their picture, and a file that cannot be read raises the
    // loading error with every picture kept.
    bool LoadChecked(const std::string& Folder, const std::string& Raised, const std::string& Sunken,
                     const std::string& Focused, const std::string& Disabled);
    bool LoadUnchecked(const std::string& Folder, const std::string& Raised, const std::string& Sunken,
                       const std::string& Focused, const std::string& Disabled);
    bool LoadGrayed(const std::string& Folder, const std::string& Raised, const std::string& Sunken,
                    const std::string& Focused, const std::string& Disabled);

protected:
    void Click() override;

private:
    KsChkBoxAppearance* FAppearance;
    bool FAllowGrayed = false;
};
