// A directory outline: the folder tree of one drive as an expandable outline.
// Folders are listed when their parent is expanded, never ahead, and
// whether a folder has subfolders of its own (the box before its name) is
// looked at only when its row is shown; a folder that cannot be read shows
// no subfolders and raises no error.
#pragma once

#include "components/RowList.h"

#include <chrono>
#include <memory>
#include <string>
#include <vector>

namespace components {

enum TTextCase { tcAsIs, tcUpperCase, tcLowerCase };

class TDirectoryOutline : public TRowList {
    PLATFORM_CLASS(TDirectoryOutline, TRowList)
public:
    explicit TDirectoryOutline(platform::TComponent* AOwner);
    ~TDirectoryOutline() override;

    // The selected folder as a full path ("C:\Work\Notes", the root as "C:\"),
    // names spelled as stored. Setting it opens the outline down to that
    // folder; a folder that does not exist raises EInvalidOperation and
    // changes nothing. A form file that names a missing folder leaves the
    // outline at the current directory.
    std::string Directory() const;
    void SetDirectory(const std::string& Value);
    // The drive letter (upper case); setting it selects that drive's root.
    char Drive() const;
    void SetDrive(char Value);
    // How names are shown: as stored, in capitals or in small letters.
    TTextCase TextCase() const { return FTextCase; }
    void SetTextCase(TTextCase Value);

    // The outline as shown: the rows from the top (the drive's root first),
    // each indented by its depth, and the expansion of a shown folder.
    int RowCount() const override { return static_cast<int>(FRows.size()); }
    std::string RowText(int Row) const;
    int RowLevel(int Row) const;
    int SelectedRow() const;
    void Expand(int Row);
    void Collapse(int Row);
    bool Expanded(int Row) const;

    // Raised when the selected folder changes.
    platform::TNotifyEvent OnChange;

protected:
    void PaintRow(int Row, const platform::TRect& Bounds) override;
    void Loaded() override;
    void MouseDown(platform::TMouseButton Button, platform::TShiftState Shift, int X, int Y) override;
    void KeyDown(WORD& Key, platform::TShiftState Shift) override;
    void KeyPress(char& Key) override;
    void DoEnter() override;
    void DoExit() override;
    void Dispatch(platform::TMessage& Message) override;
    virtual void Change();

private:
    struct TNode;
    static std::string Path(const TNode* Node);
    void Scan(TNode* Node);
    // Whether the folder has subfolders: known once it was listed, looked
    // at (up to its first subfolder) the first time it is asked otherwise.
    bool HasSubfolders(TNode* Node);
    void SetExpanded(TNode* Node, bool Value);
    void Select(TNode* Node);
    void SelectRow(int Row);
    void BuildRows();
    std::string ShownName(const TNode* Node) const;
    TNode* RowNode(int Row) const;

    std::unique_ptr<TNode> FRoot;
    TNode* FSelected = nullptr;
    std::vector<TNode*> FRows;
    TTextCase FTextCase = tcAsIs;
    std::string FStoredDirectory; // as a form file names it; empty: the current directory
    std::string FSearch;          // type-ahead text
    std::chrono::steady_clock::time_point FLastKey;
};

} // namespace components
