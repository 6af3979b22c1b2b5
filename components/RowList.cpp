#include "components/RowList.h"

#include <algorithm>
#include <cstdlib>

using namespace platform;

namespace components {

const TClassInfo& TRowList::StaticClassInfo()
{
    static const TClassInfo& info = TClassBuilder<TRowList, TCustomControl>("TRowList").Build();
    return info;
}

TRowList::TRowList(TComponent* AOwner) : TCustomControl(AOwner)
{
    FControlStyle.Include(csOpaque);
    SetColor(clWindow);
    SetTabStop(true);
}

int TRowList::RowHeight() const
{
    return std::abs(Font()->Height()) * 4 / 3 + 3;
}

int TRowList::VisibleRows() const
{
    return std::max(1, ClientHeight() / RowHeight());
}

int TRowList::RowAt(int Y) const
{
    if (Y < 0)
        return -1;
    const int row = FTopRow + Y / RowHeight();
    return row < RowCount() ? row : -1;
}

void TRowList::ScrollTo(int Top)
{
    Top = std::clamp(Top, 0, std::max(0, RowCount() - VisibleRows()));
    if (Top != FTopRow) {
        FTopRow = Top;
        Invalidate();
    }
    // The thumb follows even when the top stayed: a drag may have left it elsewhere.
    UpdateScrollBar();
}

void TRowList::ScrollIntoView(int Row)
{
    if (Row < FTopRow)
        ScrollTo(Row);
    else if (Row >= FTopRow + VisibleRows())
        ScrollTo(Row - VisibleRows() + 1);
    else
        ScrollTo(FTopRow);
}

void TRowList::RowsChanged()
{
    Invalidate();
    ScrollTo(FTopRow);
}

int TRowList::RowForKey(WORD Key, int Row) const
{
    const int last = RowCount() - 1;
    switch (Key) {
    case VK_UP: return std::clamp(Row - 1, 0, std::max(last, 0));
    case VK_DOWN: return std::clamp(Row + 1, 0, std::max(last, 0));
    case VK_PRIOR: return std::clamp(Row - VisibleRows() + 1, 0, std::max(last, 0));
    case VK_NEXT: return std::clamp(Row + VisibleRows() - 1, 0, std::max(last, 0));
    case VK_HOME: return 0;
    case VK_END: return std::max(last, 0);
    default: return -1;
    }
}

void TRowList::UpdateScrollBar()
{
    if (!HandleAllocated())
        return;
    // The bar stays, disabled while every row is in view, so that the rows
    // keep their width.
    SCROLLINFO info{sizeof info, SIF_RANGE | SIF_PAGE | SIF_POS | SIF_DISABLENOSCROLL, 0, std::max(RowCount() - 1, 0),
                    static_cast<UINT>(VisibleRows()), FTopRow, 0};
    SetScrollInfo(Handle(), SB_VERT, &info, TRUE);
}

void TRowList::CreateParams(TCreateParams& Params)
{
    TCustomControl::CreateParams(Params);
    Params.Style |= WS_VSCROLL;
    Params.ExStyle |= WS_EX_CLIENTEDGE;
}

void TRowList::CreateHandle()
{
    TCustomControl::CreateHandle();
    RowsChanged();
}

void TRowList::Resize()
{
    RowsChanged();
    TCustomControl::Resize();
}

void TRowList::Paint()
{
    TCanvas* canvas = Canvas();
    canvas->Brush()->SetColor(Color());
    canvas->FillRect(ClientRect());
    const int height = RowHeight();
    for (int row = FTopRow; row < RowCount() && (row - FTopRow) * height < ClientHeight(); ++row) {
        const int y = (row - FTopRow) * height;
        PaintRow(row, Rect(0, y, ClientWidth(), y + height));
    }
}

void TRowList::Dispatch(TMessage& Message)
{
    switch (Message.Msg) {
    case WM_VSCROLL: {
        const int page = VisibleRows();
        switch (LOWORD(Message.WParam)) {
        case SB_LINEUP: ScrollTo(FTopRow - 1); break;
        case SB_LINEDOWN: ScrollTo(FTopRow + 1); break;
        case SB_PAGEUP: ScrollTo(FTopRow - page); break;
        case SB_PAGEDOWN: ScrollTo(FTopRow + page); break;
        case SB_TOP: ScrollTo(0); break;
        case SB_BOTTOM: ScrollTo(RowCount()); break;
        case SB_THUMBTRACK:
        case SB_THUMBPOSITION: {
            // The message carries 16 bits of the position; the bar knows all 32.
            SCROLLINFO info{sizeof info, SIF_TRACKPOS, 0, 0, 0, 0, 0};
            GetScrollInfo(Handle(), SB_VERT, &info);
            ScrollTo(info.nTrackPos);
            break;
        }
        }
        return;
    }
    case WM_MOUSEWHEEL: {
        FWheel += GET_WHEEL_DELTA_WPARAM(Message.WParam);
        const int notches = FWheel / WHEEL_DELTA;
        FWheel -= notches * WHEEL_DELTA;
        ScrollTo(FTopRow - 3 * notches);
        return;
    }
    }
    TCustomControl::Dispatch(Message);
}

} // namespace components
