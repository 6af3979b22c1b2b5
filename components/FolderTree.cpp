#include "components/FolderTree.h"

#include "platform/FileSearch.h"
#include "platform/Win32.h"

#include <algorithm>
#include <cctype>

namespace components {

namespace {

// Capitals, byte by byte: a strict order for sorting, which the system's
// word sort (ignoring hyphens) is not.
std::string Upper(std::string Name)
{
    CharUpperBuffA(Name.data(), static_cast<DWORD>(Name.size()));
    return Name;
}

// Calls Found with the name of every subfolder of Folder (a path ending in
// a backslash) until it returns false; a folder that cannot be read has none.
template <class F>
void ForEachSubfolder(const std::string& Folder, F Found)
{
    platform::ListFolder(Folder, [&](const platform::TFoundItem& Item) { return !Item.Folder || Found(Item.Name); });
}

std::unique_ptr<TFolderTree::TNode> NewChild(TFolderTree::TNode* Parent, const std::string& Name)
{
    auto child = std::make_unique<TFolderTree::TNode>();
    child->Name = Name;
    child->Key = Upper(Name);
    child->Parent = Parent;
    child->Level = Parent->Level + 1;
    return child;
}

} // namespace

bool TFolderTree::IsFolder(const std::string& Path)
{
    const DWORD attributes = platform::PathAttributes(Path);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool TFolderTree::SameName(const std::string& A, const std::string& B)
{
    return Upper(A) == Upper(B);
}

std::string TFolderTree::Path(const TNode* Node)
{
    std::string path;
    for (; Node; Node = Node->Parent)
        path = Node->Name + "\\" + path;
    return path;
}

std::string TFolderTree::FolderPath(const std::string& Value)
{
    const std::string full = platform::FullPath(Value);
    // A folder on a drive letter: "C:\\" at the least.
    if (full.size() < 3 || full[1] != ':' || !IsFolder(full))
        return {};
    // A short name (PROGRA~1) would not match the listing's long one and
    // show the folder twice.
    std::string path = platform::LongNamePath(full);
    if (path.back() != '\\')
        path += '\\';
    return path;
}

bool TFolderTree::OnDrive(const std::string& Path) const
{
    return FRoot && SameName(FRoot->Name, Path.substr(0, 2));
}

TFolderTree::TNode* TFolderTree::Open(const std::string& Path)
{
    if (!OnDrive(Path)) {
        auto root = std::make_unique<TNode>();
        root->Name = std::string(1, static_cast<char>(std::toupper(static_cast<unsigned char>(Path[0])))) + ":";
        FRoot = std::move(root);
    }
    TNode* node = FRoot.get();
    for (size_t start = 3, end; (end = Path.find('\\', start)) != std::string::npos; start = end + 1) {
        const std::string name = Path.substr(start, end - start);
        Scan(node);
        node->Expanded = true;
        auto found = std::find_if(node->Children.begin(), node->Children.end(),
                                  [&](const std::unique_ptr<TNode>& c) { return SameName(c->Name, name); });
        if (found == node->Children.end()) {
            // A folder that the listing left out (one made since) is added as named.
            node->Children.push_back(NewChild(node, name));
            found = node->Children.end() - 1;
        }
        node = found->get();
    }
    return node;
}

void TFolderTree::Scan(TNode* Node)
{
    if (Node->Scanned)
        return;
    Node->Scanned = true;
    Node->Children.clear();
    ForEachSubfolder(Path(Node), [&](const std::string& name) {
        Node->Children.push_back(NewChild(Node, name));
        return true;
    });
    std::sort(Node->Children.begin(), Node->Children.end(),
              [](const std::unique_ptr<TNode>& a, const std::unique_ptr<TNode>& b) {
                  return a->Key != b->Key ? a->Key < b->Key : a->Name < b->Name;
              });
}

bool TFolderTree::HasSubfolders(TNode* Node)
{
    if (Node->Scanned)
        return !Node->Children.empty();
    if (!Node->Probed) {
        Node->Probed = true;
        ForEachSubfolder(Path(Node), [&](const std::string&) { return !(Node->HasChildren = true); });
    }
    return Node->HasChildren;
}

void TFolderTree::SetExpanded(TNode* Node, bool Value)
{
    if (Value) {
        Node->Scanned = false;
        Scan(Node);
    }
    Node->Expanded = Value;
}

std::vector<TFolderTree::TNode*> TFolderTree::Shown() const
{
    std::vector<TNode*> shown;
    std::vector<TNode*> pending{FRoot.get()};
    while (!pending.empty()) {
        TNode* node = pending.back();
        pending.pop_back();
        shown.push_back(node);
        if (node->Expanded)
            for (auto c = node->Children.rbegin(); c != node->Children.rend(); ++c)
                pending.push_back(c->get());
    }
    return shown;
}

} // namespace components
