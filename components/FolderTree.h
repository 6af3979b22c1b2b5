// The folder tree of one drive, read from the file system only as far as it
// is asked: a folder is listed when it is expanded, and whether it has
// subfolders of its own is looked at (up to the first) when someone asks.
// A folder that cannot be read has no subfolders and raises no error.
#pragma once

#include <memory>
#include <string>
#include <vector>

namespace components {

class TFolderTree {
public:
    struct TNode {
        std::string Name; // "C:" for the root
        std::string Key;  // the name in capitals, for sorting
        TNode* Parent = nullptr;
        std::vector<std::unique_ptr<TNode>> Children; // sorted by Key
        bool Scanned = false;
        bool Expanded = false;
        bool Probed = false;      // looked for a first subfolder
        bool HasChildren = false; // what that look found
        int Level = 0;
    };

    static bool IsFolder(const std::string& Path);
    // Names compare in capitals, byte by byte.
    static bool SameName(const std::string& A, const std::string& B);
    // The node's full path, ending in a backslash.
    static std::string Path(const TNode* Node);

    // The full path of an existing folder on a drive letter, spelled with
    // its long names and ending in a backslash; empty when Value names none.
    static std::string FolderPath(const std::string& Value);

    // Opens the tree down to the folder of Path (as FolderPath gives it),
    // listing and expanding each folder on the way, and answers its node. A
    // path on another drive starts the tree afresh at that drive's root, and
    // the nodes of the old tree are gone.
    TNode* Open(const std::string& Path);

    TNode* Root() const { return FRoot.get(); }
    // Whether Path lies on the drive of the tree's root.
    bool OnDrive(const std::string& Path) const;
    // Whether the folder has subfolders: known once it was listed, looked
    // at the first time it is asked otherwise.
    bool HasSubfolders(TNode* Node);
    // Expanding lists the folder afresh; collapsing keeps its listing.
    void SetExpanded(TNode* Node, bool Value);
    // The shown folders from the top: the root, each expanded folder's
    // subfolders after it.
    std::vector<TNode*> Shown() const;

private:
    // One listing of the folder; its subfolders' own subfolders wait until asked.
    void Scan(TNode* Node);

    std::unique_ptr<TNode> FRoot;
};

} // namespace components
