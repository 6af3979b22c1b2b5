// Layout of controls by their parent: alignment (TWinControl::AlignControls
// and the members of TControl that ask for it live in Align.cpp) and the
// size constraints every control carries.
#pragma once

#include "platform/Control.h"

namespace platform {

// The smallest and largest size a control may take; 0 leaves a side free.
// A maximum below the minimum is not kept: setting one moves the other.
// Every change makes the control fit itself into the new limits at once.
class TSizeConstraints : public TPersistent {
    PLATFORM_CLASS(TSizeConstraints, TPersistent)
public:
    explicit TSizeConstraints(TControl* Control) : FControl(Control) {}

    int MinWidth() const { return FMinWidth; }
    void SetMinWidth(int Value);
    int MinHeight() const { return FMinHeight; }
    void SetMinHeight(int Value);
    int MaxWidth() const { return FMaxWidth; }
    void SetMaxWidth(int Value);
    int MaxHeight() const { return FMaxHeight; }
    void SetMaxHeight(int Value);

    // Brings a size inside the limits.
    void Constrain(int& Width, int& Height) const;

protected:
    void AssignTo(TPersistent* Dest) override;

private:
    void Change();

    TControl* FControl;
    int FMinWidth = 0, FMinHeight = 0, FMaxWidth = 0, FMaxHeight = 0;
};

} // namespace platform
