// The skinned radio button: unchecked and checked, each in the four looks
// the control base drives, so eight pictures (KsCheckable numbers them).
// Checking a button (by click, double click, space or program) unchecks
// every sibling under the same parent that IsExclusiveType names; a click
// never unchecks.
#pragma once

#include "KsPackage/Source/KsCheckable.h"
#include "KsPackage/Source/KsCtrlAppearance.h"

#include <memory>

class KsRadioButton;

// The eight pictures by check state; it stores none of them.
class KsRadioBtnAppearance : public KsCtrlAppearance {
    PLATFORM_CLASS(KsRadioBtnAppearance, KsCtrlAppearance)
public:
    explicit KsRadioBtnAppearance(KsRadioButton* Control);

    KsFourStateAppearance* Uncheck() const { return FUncheck.get(); }
    KsFourStateAppearance* Check() const { return FCheck.get(); }

protected:
    // Copies Uncheck, then Check.
    void AssignTo(platform::TPersistent* Dest) override;

private:
    std::unique_ptr<KsFourStateAppearance> FUncheck;
    std::unique_ptr<KsFourStateAppearance> FCheck;
};

class KsRadioButton : public KsCheckable {
    PLATFORM_CLASS(KsRadioButton, KsCheckable)
public:
    explicit KsRadioButton(platform::TComponent* AOwner);
    ~KsRadioButton() override;

    // Checking unchecks the siblings first (also when already checked); the
    // look on screen is shown again in the new state; no click.
    void SetChecked(bool Value) override;
    // Whether checking this button unchecks Control: exactly the class name
    // "KsRadioButton", so derived classes stay apart unless they override this.
    virtual bool IsExclusiveType(platform::TControl* Control);

    KsRadioBtnAppearance* Appearance() const { return FAppearance; }
    // Copies the eight pictures.
    void SetAppearance(KsRadioBtnAppearance* Value) { FAppearance->Assign(Value); }
    // Look 0 to 3 in the current check state.
    void ShowRadioBtnBmp(int Look) { ShowCheckLook(Look); }
    // Unchecks, through SetChecked, every exclusive sibling, checked or not.
    void ExcludeOther();

    // Load the four pictures of one check state from files in Folder; empty
    // names keep their picture, and a file that cannot be read raises the
    // loading error with every picture kept.
    bool LoadChecked(const std::string& Folder, const std::string& Raised, const std::string& Sunken,
                     const std::string& Focused, const std::string& Disabled);
    bool LoadUnchecked(const std::string& Folder, const std::string& Raised, const std::string& Sunken,
                       const std::string& Focused, const std::string& Disabled);

protected:
    void Click() override;
    void DblClick() override;

private:
    KsRadioBtnAppearance* FAppearance;
};
