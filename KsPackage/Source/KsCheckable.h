// What check boxes and radio buttons share: pictures numbered
// 4 x check state + look (look 0 raised, 1 sunken, 2 focused, 3 disabled),
// a missing picture showing the raised one of its check state and then the
// unchecked raised one, a click for every space character the keyboard
// delivers, and the check mark of a linked action. The program's writes of
// the check state raise no click and keep the look on screen.
#pragma once

#include "KsPackage/Source/KsControl.h"

#include <cstdint>

enum TCheckBoxState : uint8_t { cbUnchecked, cbChecked, cbGrayed };

class KsCheckable : public KsCustomControl {
    PLATFORM_CLASS(KsCheckable, KsCustomControl)
public:
    static constexpr int LookCount = 4;

    // True only when checked; a grayed control reads false.
    bool GetChecked() const override { return FCheckState == cbChecked; }
    void ShowRaised() override { ShowCheckLook(fcRaised); }
    void ShowDisabled() override { ShowCheckLook(fcDisabled); }
    void ShowFocused() override { ShowCheckLook(fcFocused); }
    void ShowSunken() override { ShowCheckLook(fcSunken); }
    // The raised picture of the same check state, then the unchecked raised one.
    int Substitute(int Index) override;

protected:
    KsCheckable(platform::TComponent* AOwner, int CheckStateCount);

    TCheckBoxState CheckState() const { return FCheckState; }
    // Stores the state and shows the look now on screen in it.
    void SetCheckState(TCheckBoxState Value);
    // Look 0 to 3 in the current check state.
    void ShowCheckLook(int Look) { ShowBitmap(LookCount * FCheckState + Look); }

    void KeyPress(char& Key) override;
    void ActionChange(platform::TAction* Sender) override;

private:
    TCheckBoxState FCheckState = cbUnchecked;
};
