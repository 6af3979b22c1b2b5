// A colour grid: the sixteen standard colours in a chosen arrangement, with
// a foreground selection (left button) and a background selection (right
// button) marked "FG" and "BG" ("FB" where they share a cell).
#pragma once

#include "platform/Control.h"

namespace components {

// Columns by rows.
enum TGridOrdering { go16x1, go8x2, go4x4, go2x8, go1x16 };

class TColorGrid : public platform::TCustomControl {
    PLATFORM_CLASS(TColorGrid, platform::TCustomControl)
public:
    explicit TColorGrid(platform::TComponent* AOwner);

    static constexpr int ColorCount = 16;
    // The standard colour at Index (0 black ... 15 white); ERangeError outside 0 .. 15.
    static platform::TColor StandardColor(int Index);

    TGridOrdering GridOrdering() const { return FGridOrdering; }
    void SetGridOrdering(TGridOrdering Value);
    // Indexes into the standard colours; ERangeError outside 0 .. 15.
    int ForegroundIndex() const { return FForegroundIndex; }
    void SetForegroundIndex(int Value);
    int BackgroundIndex() const { return FBackgroundIndex; }
    void SetBackgroundIndex(int Value);
    platform::TColor ForegroundColor() const { return StandardColor(FForegroundIndex); }
    platform::TColor BackgroundColor() const { return StandardColor(FBackgroundIndex); }
    // A disabled selection is neither shown nor changed by the user.
    bool ForegroundEnabled() const { return FForegroundEnabled; }
    void SetForegroundEnabled(bool Value);
    bool BackgroundEnabled() const { return FBackgroundEnabled; }
    void SetBackgroundEnabled(bool Value);
    // Whether a click with a disabled selection's button enables it (and selects).
    bool ClickEnablesColor() const { return FClickEnablesColor; }
    void SetClickEnablesColor(bool Value) { FClickEnablesColor = Value; }

    int Columns() const;
    int Rows() const { return ColorCount / Columns(); }
    // The cell of a colour index in client coordinates, and the index at a point (-1 for none).
    platform::TRect CellRect(int Index) const;
    int IndexAt(int X, int Y) const;

    // Raised when either selection or its enabled state changes.
    platform::TNotifyEvent OnChange;

protected:
    void Paint() override;
    void MouseDown(platform::TMouseButton Button, platform::TShiftState Shift, int X, int Y) override;
    void KeyDown(WORD& Key, platform::TShiftState Shift) override;
    void DoEnter() override;
    void DoExit() override;
    void Dispatch(platform::TMessage& Message) override;
    virtual void Change();

private:
    // Selects Index as the foreground or background colour, enabling the selection when asked.
    void Choose(bool Background, int Index, bool Enable);

    TGridOrdering FGridOrdering = go4x4;
    int FForegroundIndex = 0, FBackgroundIndex = 15;
    bool FForegroundEnabled = true, FBackgroundEnabled = true;
    bool FClickEnablesColor = false;
};

} // namespace components
