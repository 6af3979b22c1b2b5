// A gauge: a value between a minimum and a maximum shown as a bar, a pie, a
// needle or plain text, with the percentage done as optional text.
#pragma once

#include "platform/Control.h"

namespace components {

enum TGaugeKind { gkText, gkHorizontalBar, gkVerticalBar, gkPie, gkNeedle };
enum TGaugeBorderStyle { gbsNone, gbsSingle };

class TGauge : public platform::TGraphicControl {
    PLATFORM_CLASS(TGauge, platform::TGraphicControl)
public:
    explicit TGauge(platform::TComponent* AOwner);

    TGaugeKind Kind() const { return FKind; }
    void SetKind(TGaugeKind Value);
    // MinValue must stay below MaxValue: a value that breaks this raises
    // ERangeError and changes nothing (checked once a form file has been read).
    int MinValue() const { return FMinValue; }
    void SetMinValue(int Value);
    int MaxValue() const { return FMaxValue; }
    void SetMaxValue(int Value);
    // Clamped to MinValue .. MaxValue.
    int Progress() const { return FProgress; }
    void SetProgress(int Value);
    void AddProgress(int Value);
    // 0 to 100, rounded down.
    int PercentDone() const;

    platform::TColor ForeColor() const { return FForeColor; }
    void SetForeColor(platform::TColor Value);
    platform::TColor BackColor() const { return FBackColor; }
    void SetBackColor(platform::TColor Value);
    TGaugeBorderStyle BorderStyle() const { return FBorderStyle; }
    void SetBorderStyle(TGaugeBorderStyle Value);
    bool ShowText() const { return FShowText; }
    void SetShowText(bool Value);

protected:
    void Paint() override;
    void Loaded() override;

private:
    void SetRange(int Min, int Max);
    platform::TRect Face() const;
    // The face's filled part for a progress value (bars only).
    platform::TRect Filled(int Value) const;
    // Marks what a change of progress from Old to FProgress redraws.
    void ProgressChanged(int Old);
    void PaintPie(const platform::TRect& R, bool Needle, platform::TColor Fore);

    TGaugeKind FKind = gkHorizontalBar;
    int FMinValue = 0, FMaxValue = 100, FProgress = 0;
    platform::TColor FForeColor = platform::clHighlight;
    platform::TColor FBackColor = platform::clWindow;
    TGaugeBorderStyle FBorderStyle = gbsSingle;
    bool FShowText = true;
};

} // namespace components
