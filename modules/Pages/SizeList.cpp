#include "modules/Pages/SizeList.h"
#include "modules/Pages/DriveData.h"

#include "modules/Suite/SuiteText.h"

#include "platform/Application.h"
#include "platform/ClassBuilder.h"

#include <algorithm>

using namespace platform;

namespace tessel {

namespace {

const TColor BarColour = RGB(46, 110, 190), FolderColour = RGB(230, 180, 60), MarkColour = RGB(210, 30, 30);
constexpr int Gap = 8, BarWidth = 44, Glyph = 14, Mark = 8;

bool WhollyUnread(const TFolderEntry& Entry)
{
    return Entry.Unread > 0 && Entry.FirstUnread.Path == Entry.Name;
}

} // namespace

const TClassInfo& TSizeList::StaticClassInfo()
{
    static const TClassInfo& info = TClassBuilder<TSizeList, components::TRowList>("TSizeList").Build();
    return info;
}

TSizeList::TSizeList(TComponent* AOwner) : TRowList(AOwner)
{
    SetShowHint(true);
}

void TSizeList::SetEntries(std::vector<TFolderEntry> Entries, uint64_t Total)
{
    const std::string selected = FSelected >= 0 ? FEntries[static_cast<size_t>(FSelected)].Name : std::string();
    FEntries = std::move(Entries);
    FTotal = Total;
    FSelected = -1;
    for (size_t i = 0; i < FEntries.size() && !selected.empty(); ++i)
        if (FEntries[i].Name == selected)
            FSelected = static_cast<int>(i);
    RowsChanged();
}

const TFolderEntry& TSizeList::Entry(int Row) const
{
    if (Row < 0 || Row >= RowCount())
        throw EListError(Format("Row index out of bounds (%d)", Row));
    return FEntries[static_cast<size_t>(Row)];
}

std::string TSizeList::CellText(int Row, TColumn Column) const
{
    const TFolderEntry& entry = Entry(Row);
    switch (Column) {
    case colName: return entry.Name;
    case colSize: return WhollyUnread(entry) ? "?" : FormatBytes(entry.Bytes) + (entry.Counted ? "" : "...");
    default: return ShareText(entry.Bytes, FTotal);
    }
}

std::string TSizeList::RowHint(int Row) const
{
    const TFolderEntry& entry = Entry(Row);
    if (entry.Unread == 0)
        return {};
    if (WhollyUnread(entry))
        return Tr("This folder could not be read. %1", {UnreadReason(entry.FirstUnread.Error)});
    return TrCount("%1 folder in it could not be read.|%1 folders in it could not be read.", entry.Unread) + " " +
           FirstUnreadText(entry.FirstUnread);
}

void TSizeList::SetSelectedRow(int Row)
{
    Row = RowCount() == 0 ? -1 : std::clamp(Row, 0, RowCount() - 1);
    if (Row == FSelected)
        return;
    FSelected = Row;
    Invalidate();
    if (Row >= 0)
        ScrollIntoView(Row);
}

void TSizeList::Open()
{
    if (FSelected >= 0 && FEntries[static_cast<size_t>(FSelected)].Folder && OnOpen)
        OnOpen(this);
}

void TSizeList::PaintRow(int Row, const TRect& Bounds)
{
    TCanvas* canvas = Canvas();
    const TFolderEntry& entry = FEntries[static_cast<size_t>(Row)];
    const int height = Bounds.bottom - Bounds.top;
    const bool selected = Row == FSelected;
    const bool enabled = EffectivelyEnabled();
    if (selected) {
        canvas->Brush()->SetColor(Focused() ? clHighlight : clBtnFace);
        canvas->FillRect(Bounds);
    }
    canvas->Font()->SetColor(!enabled ? clGrayText : selected && Focused() ? clHighlightText : Font()->Color());
    canvas->Brush()->SetStyle(bsClear);

    // A folder wears a small folder of its own drawing before its name.
    const int shareLeft = Bounds.right - ShareWidth, sizeLeft = shareLeft - SizeWidth;
    if (entry.Folder) {
        const int top = Bounds.top + (height - Glyph + 4) / 2;
        canvas->Brush()->SetStyle(bsSolid);
        canvas->Brush()->SetColor(enabled ? FolderColour : clBtnFace);
        canvas->Pen()->SetColor(enabled ? RGB(150, 110, 20) : clGrayText);
        canvas->Rectangle(Gap / 2, top, Gap / 2 + Glyph, top + Glyph - 4);
        canvas->Rectangle(Gap / 2, top - 2, Gap / 2 + Glyph / 2, top + 1);
        if (entry.Unread > 0) {
            const int left = Gap / 2 + Glyph - Mark / 2, markTop = top + Glyph - 4 - Mark / 2 - 1;
            canvas->Brush()->SetColor(enabled ? MarkColour : clGrayText);
            canvas->Pen()->SetColor(enabled ? MarkColour : clGrayText);
            canvas->Ellipse(left, markTop, left + Mark, markTop + Mark);
        }
        canvas->Brush()->SetStyle(bsClear);
    }
    const auto text = [&](const std::string& s, int Left, int Right, bool RightAligned) {
        const SIZE size = canvas->TextExtent(s);
        const int x = RightAligned ? Right - size.cx : Left;
        canvas->TextRect(Rect(Left, Bounds.top, Right, Bounds.bottom), x, Bounds.top + (height - size.cy) / 2, s);
    };
    text(CellText(Row, colName), Gap / 2 + Glyph + Gap, sizeLeft - Gap, false);
    text(CellText(Row, colSize), sizeLeft, shareLeft - Gap, true);
    const int barLeft = shareLeft, barTop = Bounds.top + 3, barBottom = Bounds.bottom - 3;
    canvas->Brush()->SetStyle(bsSolid);
    canvas->Brush()->SetColor(enabled ? clWindow : clBtnFace);
    canvas->Pen()->SetColor(clBtnShadow);
    canvas->Rectangle(barLeft, barTop, barLeft + BarWidth, barBottom);
    const int filled = FTotal == 0 ? 0 : static_cast<int>(static_cast<double>(entry.Bytes) * (BarWidth - 2) /
                                                          static_cast<double>(FTotal));
    if (filled > 0) {
        canvas->Brush()->SetColor(enabled ? BarColour : clGrayText);
        canvas->FillRect(Rect(barLeft + 1, barTop + 1, barLeft + 1 + filled, barBottom - 1));
    }
    canvas->Brush()->SetStyle(bsClear);
    text(CellText(Row, colShare), barLeft + BarWidth, Bounds.right - Gap / 2, true);
    canvas->Brush()->SetStyle(bsSolid);
    if (selected && Focused()) {
        TRect focus = Bounds;
        DrawFocusRect(canvas->Handle(), &focus);
    }
}

void TSizeList::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    if (TabStop() && CanFocus())
        SetFocus();
    const int row = RowAt(Y);
    if (Button == mbLeft && row >= 0) {
        SetSelectedRow(row);
        if (Shift.Contains(ssDouble))
            Open();
    }
    TRowList::MouseDown(Button, Shift, X, Y);
}

void TSizeList::MouseMove(TShiftState Shift, int X, int Y)
{
    // Each row has its hint: a new row under the pointer starts its own.
    const int row = RowAt(Y);
    const std::string hint = row >= 0 ? RowHint(row) : std::string();
    if (hint != Hint()) {
        SetHint(hint);
        Application->CancelHint();
    }
    TRowList::MouseMove(Shift, X, Y);
}

void TSizeList::KeyDown(WORD& Key, TShiftState Shift)
{
    TRowList::KeyDown(Key, Shift);
    if (const int row = RowForKey(Key, FSelected); row >= 0 && RowCount() > 0) {
        SetSelectedRow(row);
    } else if (Key == VK_RETURN) {
        Open();
    } else if (Key == VK_BACK) {
        if (OnUp)
            OnUp(this);
    } else {
        return;
    }
    Key = 0;
}

void TSizeList::DoEnter()
{
    Invalidate();
    TRowList::DoEnter();
}

void TSizeList::DoExit()
{
    Invalidate();
    TRowList::DoExit();
}

void TSizeList::Dispatch(TMessage& Message)
{
    if (Message.Msg == WM_GETDLGCODE) {
        Message.Result = DLGC_WANTARROWS;
        return;
    }
    TRowList::Dispatch(Message);
}

} // namespace tessel
