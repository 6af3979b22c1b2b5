// Times the directory outline opening a folder of 20,000 subfolders (some
// of them with subfolders of their own) on a form on the screen, from the
// click to the rows painted, against one listing of that folder
// (FindFirstFile and FindNextFile over its entries), measured in the same
// run. The goal is at most twice the listing: the outline lists the folder
// once and looks into the subfolders only for the rows it shows.
#include "bench/support/Timing.h"
#include "components/DirOutline.h"
#include "platform/Application.h"
#include "platform/Form.h"

#include <cstdio>
#include <string>

using namespace platform;
using namespace components;
using bench::SecondsPerCall;

namespace {

constexpr int Subfolders = 20000;

std::string MakeFolder()
{
    char temp[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, temp);
    const std::string root = std::string(temp) + "TesselOutlineBench\\";
    CreateDirectoryA(root.c_str(), nullptr);
    char name[32];
    for (int i = 0; i < Subfolders; ++i) {
        std::snprintf(name, sizeof name, "Folder %05d", i);
        const std::string folder = root + name;
        if (CreateDirectoryA(folder.c_str(), nullptr) && i % 10 == 0)
            CreateDirectoryA((folder + "\\Inner").c_str(), nullptr);
    }
    return root;
}

void RemoveFolder(const std::string& Root)
{
    char name[32];
    for (int i = 0; i < Subfolders; ++i) {
        std::snprintf(name, sizeof name, "Folder %05d", i);
        RemoveDirectoryA((Root + name + "\\Inner").c_str());
        RemoveDirectoryA((Root + name).c_str());
    }
    RemoveDirectoryA(Root.c_str());
}

int ListOnce(const std::string& Root)
{
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((Root + "*").c_str(), &found);
    int count = 0;
    for (bool more = search != INVALID_HANDLE_VALUE; more; more = FindNextFileA(search, &found))
        count += (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    if (search != INVALID_HANDLE_VALUE)
        FindClose(search);
    return count;
}

} // namespace

int main()
{
    std::printf("Directory outline: opening a folder of %d subfolders\n", Subfolders);
    const std::string root = MakeFolder();

    TForm* form = New<TForm>(nullptr);
    form->SetBorderStyle(bsNone);
    form->SetBounds(20, 20, 340, 420);
    auto* outline = new TDirectoryOutline(form);
    outline->SetParent(form);
    outline->SetBounds(0, 0, 340, 420);
    outline->SetDirectory(root.substr(0, root.size() - 1));
    form->Show();
    Application->ProcessMessages();
    const int row = outline->SelectedRow();
    HWND window = outline->Handle();

    volatile int listed = 0;
    const double listing = SecondsPerCall([&] { listed = ListOnce(root); });
    const double opening = SecondsPerCall([&] {
        outline->Collapse(row);
        outline->Expand(row);
        UpdateWindow(window);
    });
    std::printf("%-52s %10.1f ms\n", "one listing of the folder (the floor)", listing * 1e3);
    std::printf("%-52s %10.1f ms\n", "open it in the outline, rows painted", opening * 1e3);
    std::printf("%-52s %10.2f (goal: 2 or less)\n", "ratio", opening / listing);
    std::printf("(%d subfolders listed, %d rows in the outline)\n", int(listed), outline->RowCount());

    form->Free();
    RemoveFolder(root);
    return 0;
}
