#include "modules/Pages/FolderData.h"

#include "platform/Win32.h"

#include <vector>

namespace tessel {

TFolderSize CountFolder(const std::string& Folder, const std::atomic<bool>& Cancel)
{
    TFolderSize size;
    // Depth first without recursion: a deep tree cannot exhaust the thread's stack.
    std::vector<std::string> pending{Folder.empty() || Folder.back() == '\\' ? Folder : Folder + "\\"};
    while (!pending.empty()) {
        if (Cancel) {
            size.Cancelled = true;
            return size;
        }
        const std::string folder = pending.back();
        pending.pop_back();
        WIN32_FIND_DATAA found;
        HANDLE search = FindFirstFileA((folder + "*").c_str(), &found);
        if (search == INVALID_HANDLE_VALUE)
            continue;
        do {
            const std::string name = found.cFileName;
            if (name == "." || name == "..")
                continue;
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                if (!(found.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT)) {
                    ++size.Folders;
                    pending.push_back(folder + name + "\\");
                }
            } else {
                ++size.Files;
                size.Bytes += (static_cast<uint64_t>(found.nFileSizeHigh) << 32) | found.nFileSizeLow;
            }
        } while (!Cancel && FindNextFileA(search, &found));
        FindClose(search);
    }
    size.Cancelled = Cancel;
    return size;
}

} // namespace tessel
