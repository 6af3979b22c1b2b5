// Spin buttons (an up and a down button in one control, repeating while
// held) and the spin edit built on them: an edit box for a whole number.
#pragma once

#include "platform/Edit.h"
#include "platform/Timer.h"

#include <cstdint>

namespace components {

enum TSpinOrientation { soVertical, soHorizontal };

class TSpinButton : public platform::TCustomControl {
    PLATFORM_CLASS(TSpinButton, platform::TCustomControl)
public:
    explicit TSpinButton(platform::TComponent* AOwner);

    // Vertical: up above down; horizontal: down on the left, up on the right.
    TSpinOrientation Orientation() const { return FOrientation; }
    void SetOrientation(TSpinOrientation Value);
    // The control that receives the focus when a button is pressed (the spin
    // buttons themselves when there is none and they are a tab stop).
    platform::TWinControl* FocusControl() const { return FFocusControl; }
    void SetFocusControl(platform::TWinControl* Value);

    // A held button repeats its click after InitialRepeatPause, then every RepeatPause.
    static constexpr int InitialRepeatPause = 400;
    static constexpr int RepeatPause = 100;

    platform::TNotifyEvent OnUpClick;
    platform::TNotifyEvent OnDownClick;

protected:
    void Paint() override;
    // Disabling (the buttons or a parent) lets go of a held button.
    void EnabledChanged() override;
    void MouseDown(platform::TMouseButton Button, platform::TShiftState Shift, int X, int Y) override;
    void MouseMove(platform::TShiftState Shift, int X, int Y) override;
    void MouseUp(platform::TMouseButton Button, platform::TShiftState Shift, int X, int Y) override;
    void KeyDown(WORD& Key, platform::TShiftState Shift) override;
    void Dispatch(platform::TMessage& Message) override;
    void Notification(platform::TComponent* AComponent, platform::TOperation Operation) override;
    virtual void UpClick();
    virtual void DownClick();

private:
    enum TPart { spNone, spUp, spDown };
    TPart PartAt(int X, int Y) const;
    platform::TRect PartRect(TPart Part) const;
    void Release();
    void RepeatTimer(platform::TObject*);
    void PaintPart(TPart Part);

    TSpinOrientation FOrientation = soVertical;
    platform::TWinControl* FFocusControl = nullptr;
    platform::TOwned<platform::TTimer> FRepeatTimer;
    TPart FPressed = spNone; // the part held with the left button
    bool FOverPressed = false; // the pointer is still over it
};

class TSpinEdit : public platform::TCustomEdit {
    PLATFORM_CLASS(TSpinEdit, platform::TCustomEdit)
public:
    explicit TSpinEdit(platform::TComponent* AOwner);

    // MinValue may not exceed MaxValue: a value that breaks this raises
    // ERangeError and changes nothing (checked once a form file has been read).
    int MinValue() const { return FMinValue; }
    void SetMinValue(int Value);
    int MaxValue() const { return FMaxValue; }
    void SetMaxValue(int Value);
    // The step of the arrows and the buttons; Page Up and Page Down step ten
    // times as far. Must be above 0 (ERangeError).
    int Increment() const { return FIncrement; }
    void SetIncrement(int Value);
    // Clamped to MinValue .. MaxValue. Text the user types counts once it is
    // a number in range; anything else reverts when the edit loses the focus.
    int Value() const { return FValue; }
    void SetValue(int Value);
    // Whether the text can be typed in; the buttons and keys work either way.
    bool EditorEnabled() const { return FEditorEnabled; }
    void SetEditorEnabled(bool Value);
    // Read-only: neither typing nor the buttons and keys change the value.
    void SetReadOnly(bool Value) override;

    TSpinButton* Button() const { return FButton; }

    // OnChange (inherited) is raised when Value changes.

protected:
    void CreateHandle() override;
    void Resize() override;
    void Loaded() override;
    void KeyDown(WORD& Key, platform::TShiftState Shift) override;
    void KeyPress(char& Key) override;
    void DoExit() override;
    void Change() override;

private:
    void SetRange(int Min, int Max);
    void Step(int64_t Delta);
    void ApplyReadOnly();
    void PlaceButton();
    // Puts FValue in the text without raising OnChange.
    void ShowValue();
    void ValueChanged();

    int FMinValue = 0, FMaxValue = 100, FIncrement = 1, FValue = 0;
    bool FEditorEnabled = true;
    TSpinButton* FButton;
};

} // namespace components
