// The caption colour records of the skinned controls: a colour per look
// (-1: not set), and a word to their owner on every change.
#pragma once

#include "platform/Graphics.h"

#include <array>

// The four looks of a skinned control, also the states of its caption colours.
enum KsFontColorState { fcRaised, fcSunken, fcFocused, fcDisabled };

class KsCtrlFontColor : public platform::TPersistent {
    PLATFORM_CLASS(KsCtrlFontColor, platform::TPersistent)
public:
    KsCtrlFontColor() = default;
    ~KsCtrlFontColor() override { OnChange = nullptr; }

    // -1 when not set; the control reading the record decides what that means.
    platform::TColor GetColor(KsFontColorState State) const { return FColors[State]; }
    // Raises OnChange once, and nothing when the value is already there.
    void SetColor(KsFontColorState State, platform::TColor Value);
    void Changed();
    // The caption colour of a look as a plain RGB value: the look's own
    // colour; unset, the raised one for the sunken and focused looks (a
    // record without a Raised property has none), clGrayText for the
    // disabled look, and at last FontColor.
    platform::TColor CaptionColor(KsFontColorState Look, platform::TColor FontColor) const;

    platform::TNotifyEvent OnChange;

protected:
    // Copies every colour into a record of the same class; one OnChange there.
    void AssignTo(platform::TPersistent* Dest) override;

private:
    std::array<platform::TColor, 4> FColors{-1, -1, -1, -1};
};

class KsTwoStateFontColor : public KsCtrlFontColor {
    PLATFORM_CLASS(KsTwoStateFontColor, KsCtrlFontColor)
};

class KsThreeStateFontColor : public KsCtrlFontColor {
    PLATFORM_CLASS(KsThreeStateFontColor, KsCtrlFontColor)
};

class KsFourStateFontColor : public KsCtrlFontColor {
    PLATFORM_CLASS(KsFourStateFontColor, KsCtrlFontColor)
};
