#include "components/ColorGrid.h"

using namespace platform;

namespace components {

namespace {

void CheckIndex(int Index)
{
    if (Index < 0 || Index >= TColorGrid::ColorCount)
        throw ERangeError(Format("Colour index %d is outside 0 to 15", Index));
}

} // namespace

const TClassInfo& TColorGrid::StaticClassInfo()
{
    static const TClassInfo& info = TClassBuilder<TColorGrid, TCustomControl>("TColorGrid")
        .Publish({"Anchors", "Enabled", "ParentFont", "Font", "ParentShowHint", "ShowHint", "Visible", "TabOrder",
                  "TabStop", "OnClick", "OnDblClick", "OnMouseDown", "OnMouseMove", "OnMouseUp", "OnEnter", "OnExit",
                  "OnKeyDown", "OnKeyPress", "OnKeyUp"})
        .Enum("GridOrdering", {"go16x1", "go8x2", "go4x4", "go2x8", "go1x16"}, &TColorGrid::GridOrdering,
              &TColorGrid::SetGridOrdering, go4x4)
        .Int("ForegroundIndex", &TColorGrid::ForegroundIndex, &TColorGrid::SetForegroundIndex, 0)
        .Int("BackgroundIndex", &TColorGrid::BackgroundIndex, &TColorGrid::SetBackgroundIndex, 15)
        .Bool("ForegroundEnabled", &TColorGrid::ForegroundEnabled, &TColorGrid::SetForegroundEnabled, true)
        .Bool("BackgroundEnabled", &TColorGrid::BackgroundEnabled, &TColorGrid::SetBackgroundEnabled, true)
        .Bool("ClickEnablesColor", &TColorGrid::ClickEnablesColor, &TColorGrid::SetClickEnablesColor, false)
        .Event("OnChange", &TColorGrid::OnChange)
        .Build();
    return info;
}

TColorGrid::TColorGrid(TComponent* AOwner) : TCustomControl(AOwner)
{
    FControlStyle.Include(csOpaque);
    SetTabStop(true);
    SetBounds(Left(), Top(), 100, 100);
}

TColor TColorGrid::StandardColor(int Index)
{
    static const TColor colors[ColorCount] = {clBlack, clMaroon, clGreen,  clOlive,   clNavy, clPurple,
                                              clTeal,  clGray,   clSilver, clRed,     clLime, clYellow,
                                              clBlue,  clFuchsia, clAqua,  clWhite};
    CheckIndex(Index);
    return colors[Index];
}

int TColorGrid::Columns() const
{
    static const int columns[] = {16, 8, 4, 2, 1};
    return columns[FGridOrdering];
}

TRect TColorGrid::CellRect(int Index) const
{
    CheckIndex(Index);
    const TRect client = ClientRect();
    const int columns = Columns(), rows = Rows();
    const int column = Index % columns, row = Index / columns;
    return Rect(client.right * column / columns, client.bottom * row / rows, client.right * (column + 1) / columns,
                client.bottom * (row + 1) / rows);
}

int TColorGrid::IndexAt(int X, int Y) const
{
    const TRect client = ClientRect();
    if (X < 0 || Y < 0 || X >= client.right || Y >= client.bottom)
        return -1;
    const int columns = Columns(), rows = Rows();
    const int column = X * columns / client.right, row = Y * rows / client.bottom;
    return row * columns + column;
}

void TColorGrid::SetGridOrdering(TGridOrdering Value)
{
    if (Value == FGridOrdering)
        return;
    FGridOrdering = Value;
    Invalidate();
}

void TColorGrid::SetForegroundIndex(int Value)
{
    CheckIndex(Value);
    if (Value == FForegroundIndex)
        return;
    FForegroundIndex = Value;
    Invalidate();
    Change();
}

void TColorGrid::SetBackgroundIndex(int Value)
{
    CheckIndex(Value);
    if (Value == FBackgroundIndex)
        return;
    FBackgroundIndex = Value;
    Invalidate();
    Change();
}

void TColorGrid::SetForegroundEnabled(bool Value)
{
    if (Value == FForegroundEnabled)
        return;
    FForegroundEnabled = Value;
    Invalidate();
    Change();
}

void TColorGrid::SetBackgroundEnabled(bool Value)
{
    if (Value == FBackgroundEnabled)
        return;
    FBackgroundEnabled = Value;
    Invalidate();
    Change();
}

void TColorGrid::Change()
{
    if (OnChange && !ComponentState().Contains(csLoading))
        OnChange(this);
}

void TColorGrid::Choose(bool Background, int Index, bool Enable)
{
    bool& enabled = Background ? FBackgroundEnabled : FForegroundEnabled;
    int& selected = Background ? FBackgroundIndex : FForegroundIndex;
    if (!enabled && !Enable)
        return;
    if (enabled && selected == Index)
        return;
    enabled = true;
    selected = Index;
    Invalidate();
    Change();
}

void TColorGrid::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    if (TabStop() && CanFocus())
        SetFocus();
    const int index = IndexAt(X, Y);
    if (index >= 0 && (Button == mbLeft || Button == mbRight))
        Choose(Button == mbRight, index, FClickEnablesColor);
    TCustomControl::MouseDown(Button, Shift, X, Y);
}

// The arrows move the foreground selection through the grid, with Shift the
// background one; Home and End go to the first and the last colour.
void TColorGrid::KeyDown(WORD& Key, TShiftState Shift)
{
    TCustomControl::KeyDown(Key, Shift);
    const bool background = Shift.Contains(ssShift);
    const int current = background ? FBackgroundIndex : FForegroundIndex;
    const int columns = Columns();
    int next = current;
    switch (Key) {
    case VK_LEFT: next = current % columns > 0 ? current - 1 : current; break;
    case VK_RIGHT: next = current % columns < columns - 1 ? current + 1 : current; break;
    case VK_UP: next = current >= columns ? current - columns : current; break;
    case VK_DOWN: next = current + columns < ColorCount ? current + columns : current; break;
    case VK_HOME: next = 0; break;
    case VK_END: next = ColorCount - 1; break;
    default: return;
    }
    Choose(background, next, false);
    Key = 0;
}

void TColorGrid::DoEnter()
{
    Invalidate();
    TCustomControl::DoEnter();
}

void TColorGrid::DoExit()
{
    Invalidate();
    TCustomControl::DoExit();
}

void TColorGrid::Dispatch(TMessage& Message)
{
    if (Message.Msg == WM_GETDLGCODE) {
        Message.Result = DLGC_WANTARROWS;
        return;
    }
    TCustomControl::Dispatch(Message);
}

void TColorGrid::Paint()
{
    TCanvas* canvas = Canvas();
    for (int i = 0; i < ColorCount; ++i) {
        const TRect cell = CellRect(i);
        canvas->Brush()->SetColor(StandardColor(i));
        canvas->FillRect(cell);
        const bool fore = FForegroundEnabled && i == FForegroundIndex;
        const bool back = FBackgroundEnabled && i == FBackgroundIndex;
        if (!fore && !back)
            continue;
        // Markers in black on light colours, in white on dark ones; grey while disabled.
        const COLORREF rgb = ColorToRGB(StandardColor(i));
        const int light = GetRValue(rgb) * 30 + GetGValue(rgb) * 59 + GetBValue(rgb) * 11;
        canvas->Font()->SetColor(!EffectivelyEnabled() ? clGrayText : light > 12800 ? clBlack : clWhite);
        canvas->Brush()->SetStyle(bsClear);
        const std::string text = fore && back ? "FB" : fore ? "FG" : "BG";
        const SIZE size = canvas->TextExtent(text);
        canvas->TextOut((cell.left + cell.right - size.cx) / 2, (cell.top + cell.bottom - size.cy) / 2, text);
        canvas->Brush()->SetStyle(bsSolid);
    }
    if (Focused() && FForegroundEnabled) {
        TRect focus = CellRect(FForegroundIndex);
        InflateRect(&focus, -2, -2);
        DrawFocusRect(canvas->Handle(), &focus);
    }
}

} // namespace components
