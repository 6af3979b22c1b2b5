// The Folders page's list of a folder's subfolders and files: a row each
// with its name, its size and its share of the folder (a bar and a
// figure), largest first as the page hands them over. A folder with parts
// that could not be read wears a red mark and says which and why in its
// hint. Enter or a double click opens the selected subfolder, Backspace
// goes up.
#pragma once

#include "modules/Pages/FolderData.h"

#include "components/RowList.h"

namespace tessel {

class TSizeList : public components::TRowList {
    PLATFORM_CLASS(TSizeList, components::TRowList)
public:
    enum TColumn { colName, colSize, colShare };
    // The columns' widths from the right: the share, then the size.
    static constexpr int ShareWidth = 104, SizeWidth = 80;

    explicit TSizeList(platform::TComponent* AOwner);

    // New rows, in their order, with Total the whole folder's size; the
    // selected entry stays selected (by name) while it is among them.
    void SetEntries(std::vector<TFolderEntry> Entries, uint64_t Total);
    int RowCount() const override { return static_cast<int>(FEntries.size()); }
    const TFolderEntry& Entry(int Row) const;
    // What a cell shows: "Photos", "1.2 GB" (with "..." while a folder is
    // still being counted, "?" for one that could not be read), "42.5 %".
    std::string CellText(int Row, TColumn Column) const;
    // The hint of a row with folders that could not be read: how many, the
    // first of them and why; empty for the others.
    std::string RowHint(int Row) const;
    // -1 when nothing is selected.
    int SelectedRow() const { return FSelected; }
    void SetSelectedRow(int Row);

    // Raised for the selected row's subfolder (Enter, a double click).
    platform::TNotifyEvent OnOpen;
    // Raised for Backspace.
    platform::TNotifyEvent OnUp;

protected:
    void PaintRow(int Row, const platform::TRect& Bounds) override;
    void MouseDown(platform::TMouseButton Button, platform::TShiftState Shift, int X, int Y) override;
    void MouseMove(platform::TShiftState Shift, int X, int Y) override;
    void KeyDown(WORD& Key, platform::TShiftState Shift) override;
    void DoEnter() override;
    void DoExit() override;
    void Dispatch(platform::TMessage& Message) override;

private:
    void Open();

    std::vector<TFolderEntry> FEntries;
    uint64_t FTotal = 0;
    int FSelected = -1;
};

} // namespace tessel
