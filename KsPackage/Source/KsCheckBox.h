// The skinned check box: three check states, each in the four looks the
// control base drives, so twelve pictures numbered 4 x check state + look
// (look 0 raised, 1 sunken, 2 focused, 3 disabled). A click or the space
// key moves it to the next check state; the program's writes of State and
// Checked raise no click and keep the look on screen. A missing picture
// shows the raised one of its check state, and the unchecked raised one
// when that is missing too. Double clicks are not recognised: a quick
// second press is a second click.
#pragma once

#include "KsPackage/Source/KsControl.h"

#include <cstdint>

enum TCheckBoxState : uint8_t { cbUnchecked, cbChecked, cbGrayed };

class KsCheckBox;

// The twelve pictures by check state. It stores none of them: each group
// hands out and fills the control's own bitmaps.
class KsChkBoxAppearance : public platform::TPersistent {
    PLATFORM_CLASS(KsChkBoxAppearance, platform::TPersistent)
public:
    explicit KsChkBoxAppearance(KsCheckBox* Control);
    ~KsChkBoxAppearance() override;

    KsFourStateAppearance* Uncheck() const { return FUncheck; }
    KsFourStateAppearance* Check() const { return FCheck; }
    KsFourStateAppearance* Gray() const { return FGray; }

protected:
    // Copies Uncheck, Check, then Gray.
    void AssignTo(platform::TPersistent* Dest) override;

private:
    KsFourStateAppearance* FUncheck;
    KsFourStateAppearance* FCheck;
    KsFourStateAppearance* FGray;
};

class KsCheckBox : public KsCustomControl {
    PLATFORM_CLASS(KsCheckBox, KsCustomControl)
public:
    explicit KsCheckBox(platform::TComponent* AOwner);
    ~KsCheckBox() override;

    // True only when checked; a grayed box reads false.
    bool GetChecked() const override;
    void SetChecked(bool Value) override;
    void ShowRaised() override;
    void ShowDisabled() override;
    void ShowFocused() override;
    void ShowSunken() override;
    // The raised picture of the same check state, then the unchecked raised one.
    int Substitute(int Index) override;

    TCheckBoxState State() const { return FState; }
    // Shows the look now on screen in the new state; no click.
    void SetState(TCheckBoxState Value);
    bool AllowGrayed() const { return FAllowGrayed; }
    void SetAllowGrayed(bool Value) { FAllowGrayed = Value; }
    KsChkBoxAppearance* Appearance() const { return FAppearance; }
    // Copies the twelve pictures.
    void SetAppearance(KsChkBoxAppearance* Value) { FAppearance->Assign(Value); }
    // Look 0 to 3 in the current check state.
    void ShowChkboxBmp(int Look);

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
    void KeyPress(char& Key) override;

private:
    void BitmapChanged(platform::TObject* Sender);

    TCheckBoxState FState = cbUnchecked;
    KsChkBoxAppearance* FAppearance;
    bool FAllowGrayed = false;
    platform::TNotifyEvent FOldBitmapChange;
};
