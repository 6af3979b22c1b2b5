// The common body of the lists of rows among the components: rows of one
// height under each other, scrolled a whole row at a time by a vertical
// scroll bar (always there, disabled while every row is in view), the wheel
// and the navigation keys. The scroll bar shows where
// the list stands at every moment (open, change of rows, resize, wheel,
// keys, dragging its thumb), also beyond 65,535 rows.
//
// A descendant says how many rows there are, paints one row, calls
// RowsChanged whenever their number changes, and moves its selection with
// RowForKey and ScrollIntoView.
#pragma once

#include "platform/Control.h"

namespace components {

class TRowList : public platform::TCustomControl {
    PLATFORM_CLASS(TRowList, platform::TCustomControl)
public:
    explicit TRowList(platform::TComponent* AOwner);

    virtual int RowCount() const = 0;
    int RowHeight() const;
    // The first row shown, and how many whole rows fit (at least one).
    int TopRow() const { return FTopRow; }
    int VisibleRows() const;
    // The row at a client Y, or -1 below the last row.
    int RowAt(int Y) const;

protected:
    // Shows Top as the first row, kept within the rows.
    void ScrollTo(int Top);
    // Scrolls as little as needed for Row to be shown whole.
    void ScrollIntoView(int Row);
    // After a change of the rows: keeps the top row within them, sets the
    // scroll bar and repaints.
    void RowsChanged();
    // The row a navigation key leads to from Row (Up, Down, Page Up, Page
    // Down, Home, End; within the rows), or -1 for another key.
    int RowForKey(WORD Key, int Row) const;
    // Paints Row in Bounds (a full-width band of the client area) on the
    // canvas, whose background is already filled with Color.
    virtual void PaintRow(int Row, const platform::TRect& Bounds) = 0;

    void CreateParams(platform::TCreateParams& Params) override;
    void CreateHandle() override;
    void Paint() override;
    void Resize() override;
    void Dispatch(platform::TMessage& Message) override;

private:
    void UpdateScrollBar();

    int FTopRow = 0;
    int FWheel = 0; // wheel movement short of a whole notch
};

} // namespace components
