// Text controls: a label drawn with the platform's text call, and a panel
// that holds other controls under a caption and bevels.
#pragma once

#include "platform/Control.h"

namespace platform {

enum TAlignment { taLeftJustify, taRightJustify, taCenter };
const std::vector<std::string>& AlignmentNames();

class TLabel : public TGraphicControl {
    PLATFORM_CLASS(TLabel, TGraphicControl)
public:
    explicit TLabel(TComponent* AOwner);

    TAlignment Alignment() const { return FAlignment; }
    void SetAlignment(TAlignment Value);
    // Sizes the label to its text whenever the text, font or wrapping changes.
    bool AutoSize() const { return FAutoSize; }
    void SetAutoSize(bool Value);
    bool WordWrap() const { return FWordWrap; }
    void SetWordWrap(bool Value);
    // Leaves the background to the parent instead of filling it with Color.
    bool Transparent() const { return FTransparent; }
    void SetTransparent(bool Value);
    void SetText(const std::string& Value) override;

protected:
    void Paint() override;
    void Loaded() override;
    void FontChanged(TObject* Sender) override;

private:
    UINT DrawFlags() const;
    void AdjustBounds();

    TAlignment FAlignment = taLeftJustify;
    bool FAutoSize = true;
    bool FWordWrap = false;
    bool FTransparent = false;
};

enum TBevelCut { bvNone, bvLowered, bvRaised, bvSpace };

class TPanel : public TCustomControl {
    PLATFORM_CLASS(TPanel, TCustomControl)
public:
    explicit TPanel(TComponent* AOwner);

    TAlignment Alignment() const { return FAlignment; }
    void SetAlignment(TAlignment Value);
    TBevelCut BevelInner() const { return FBevelInner; }
    void SetBevelInner(TBevelCut Value);
    TBevelCut BevelOuter() const { return FBevelOuter; }
    void SetBevelOuter(TBevelCut Value);
    int BevelWidth() const { return FBevelWidth; }
    void SetBevelWidth(int Value);
    int BorderWidth() const { return FBorderWidth; }
    void SetBorderWidth(int Value);

protected:
    void Paint() override;
    void AdjustClientRect(TRect& Rect) const override;

private:
    TAlignment FAlignment = taCenter;
    TBevelCut FBevelInner = bvNone;
    TBevelCut FBevelOuter = bvRaised;
    int FBevelWidth = 1;
    int FBorderWidth = 0;
};

} // namespace platform
