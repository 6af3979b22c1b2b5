#include "support/Files.h"

#include "components/FolderTree.h"

#include <gtest/gtest.h>

using components::TFolderTree;
using testsupport::TempFolder;

namespace {

std::vector<std::string> Names(const std::vector<TFolderTree::TNode*>& Nodes, const TFolderTree::TNode* Below)
{
    std::vector<std::string> names;
    for (const TFolderTree::TNode* node : Nodes)
        if (node->Level > Below->Level && TFolderTree::Path(node).rfind(TFolderTree::Path(Below), 0) == 0)
            names.push_back(std::string(static_cast<size_t>(node->Level - Below->Level - 1), ' ') + node->Name);
    return names;
}

} // namespace

// The tree is read without any window: opened down to a folder, expanded
// afresh from the disk, asked lazily about subfolders.
TEST(FolderTree, ReadsTheDiskOnlyAsFarAsItIsAskedAndAfreshOnEachExpansion)
{
    TempFolder temp("Tree");
    for (const char* folder : {"b", "A", "c", "A\\x"})
        CreateDirectoryA((temp.Path() + folder).c_str(), nullptr);
    testsupport::WriteWholeFile(temp.Path() + "file.txt", "not a folder");

    EXPECT_EQ(TFolderTree::FolderPath(temp.Path() + "file.txt"), "");
    EXPECT_EQ(TFolderTree::FolderPath(temp.Path() + "missing"), "");
    EXPECT_EQ(TFolderTree::FolderPath(""), "");
    const std::string path = TFolderTree::FolderPath(temp.Path() + "A\\..");
    ASSERT_FALSE(path.empty());
    EXPECT_EQ(path.back(), '\\');

    TFolderTree tree;
    EXPECT_FALSE(tree.OnDrive(path));
    TFolderTree::TNode* folder = tree.Open(path);
    EXPECT_TRUE(tree.OnDrive(path));
    EXPECT_TRUE(TFolderTree::SameName(TFolderTree::Path(folder), path));
    EXPECT_EQ(tree.Root()->Name, std::string(1, static_cast<char>(toupper(path[0]))) + ":");
    EXPECT_FALSE(folder->Expanded);
    EXPECT_TRUE(Names(tree.Shown(), folder).empty());

    // A folder that holds subfolders says so before it is listed.
    EXPECT_TRUE(tree.HasSubfolders(folder));
    tree.SetExpanded(folder, true);
    EXPECT_EQ(Names(tree.Shown(), folder), (std::vector<std::string>{"A", "b", "c"}));
    TFolderTree::TNode* a = folder->Children.front().get();
    TFolderTree::TNode* b = folder->Children[1].get();
    EXPECT_TRUE(tree.HasSubfolders(a));
    EXPECT_FALSE(tree.HasSubfolders(b));
    tree.SetExpanded(a, true);
    EXPECT_EQ(Names(tree.Shown(), folder), (std::vector<std::string>{"A", " x", "b", "c"}));

    // Collapsed and expanded again, a folder is listed as the disk now has it.
    CreateDirectoryA((temp.Path() + "B2").c_str(), nullptr);
    tree.SetExpanded(folder, false);
    EXPECT_TRUE(Names(tree.Shown(), folder).empty());
    tree.SetExpanded(folder, true);
    EXPECT_EQ(Names(tree.Shown(), folder), (std::vector<std::string>{"A", "b", "B2", "c"}));

    // Opening a folder made after its parent was listed adds it where it is named.
    CreateDirectoryA((temp.Path() + "d").c_str(), nullptr);
    TFolderTree::TNode* d = tree.Open(path + "d\\");
    EXPECT_EQ(d->Name, "d");
    EXPECT_EQ(d->Parent, folder);
    EXPECT_EQ(Names(tree.Shown(), folder), (std::vector<std::string>{"A", "b", "B2", "c", "d"}));
}
