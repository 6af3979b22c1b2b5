// The skinned push button: raised, sunken, focused and disabled pictures
// (an empty one shows the raised picture), a modal result handed to its form
// on every click, and a click for every space character the keyboard
// delivers. Double clicks are not recognised: a quick second press is a
// second click. To the dialog keys of its window (platform/DialogKeys.h) it
// is a push button, which Enter clicks while it has the focus.
#pragma once

#include "KsPackage/Source/KsControl.h"

// The button's states, in the order of its pictures.
enum KsButtonState { ksRaised, ksSunken, ksFocused, ksDisabled, ksStateCount };

class KsButton : public KsCustomControl {
    PLATFORM_CLASS(KsButton, KsCustomControl)
public:
    explicit KsButton(platform::TComponent* AOwner);
    ~KsButton() override;

    void ShowSunken() override;
    void ShowFocused() override;
    void ShowDisabled() override;

    // The button's own appearance; assigning another copies its pictures.
    KsFourStateAppearance* Appearance() const { return FAppearance; }
    void SetAppearance(KsFourStateAppearance* Value) { FAppearance->Assign(Value); }
    int ModalResult() const { return FModalResult; }
    void SetModalResult(int Value) { FModalResult = Value; }
    // Loads the four pictures from files in Directory (empty names keep
    // their picture); raises the loading error and keeps every picture when
    // a file cannot be read.
    bool LoadBitmapA(const std::string& Directory, const std::string& Raised, const std::string& Sunken,
                     const std::string& Focused, const std::string& Disabled);

    void WndProc(platform::TMessage& Message) override;

protected:
    void Click() override;
    void KeyPress(char& Key) override;

private:
    KsFourStateAppearance* FAppearance;
    int FModalResult = 0;
};
