// The main window's forwarding of a window message to the pages that asked
// for it (PageContainer.dll, code 7) with the shell's message table full:
// 4,096 numbers in Tessel.ini, each routed to two of 9 groups x 9 pages,
// whose modules take the message and do nothing. Timed for the table's
// last number and for a number it does not list; each figure is the median
// of several batches of at least a quarter second.
#include "bench/support/Timing.h"
#include "modules/Suite/SuitePage.h"

#include <cstdio>
#include <fstream>
#include <string>

using namespace tessel;

namespace {

constexpr int Groups = 9, Pages = 9, Entries = 4096, FirstNumber = 20000;

std::string ProgramFolder()
{
    char path[MAX_PATH] = {};
    std::string self(path, GetModuleFileNameA(nullptr, path, MAX_PATH));
    return self.substr(0, self.find_last_of('\\') + 1);
}

void __stdcall IgnoreCommand(TCommandRecord*)
{
}

void Remove(const std::string& folder)
{
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((folder + "*").c_str(), &found);
    for (bool more = search != INVALID_HANDLE_VALUE; more; more = FindNextFileA(search, &found)) {
        const std::string name = found.cFileName;
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
            DeleteFileA((folder + name).c_str());
        else if (name != "." && name != "..")
            Remove(folder + name + "\\");
    }
    if (search != INVALID_HANDLE_VALUE)
        FindClose(search);
    RemoveDirectoryA(folder.c_str());
}

TGroupRecord GroupTable[Groups] = {};
TPageRecord PageRecords[Groups][Pages] = {};

} // namespace

int main()
{
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    const std::string folder = std::string(temp) + "TesselForward-" + std::to_string(GetCurrentProcessId()) + "\\";
    CreateDirectoryA(folder.c_str(), nullptr);
    CreateDirectoryA((folder + "Page").c_str(), nullptr);
    CopyFileA((ProgramFolder() + "..\\bin\\PageContainer.dll").c_str(), (folder + "PageContainer.dll").c_str(), FALSE);

    char line[96];
    std::snprintf(line, sizeof line, "[MESSAGE]\r\ncount=%d\r\n", Entries);
    std::string ini = line;
    for (int k = 1; k <= Entries; ++k) {
        std::snprintf(line, sizeof line, "%d=%d\r\n", k, FirstNumber + k);
        ini += line;
    }
    for (int k = 1; k <= Entries; ++k) {
        std::snprintf(line, sizeof line, "[%d]\r\n1=%d,%d\r\n2=%d,%d\r\n", FirstNumber + k, k % Groups,
                      k / Groups % Pages, (k + 4) % Groups, k % Pages);
        ini += line;
    }
    std::ofstream(folder + "Tessel.ini", std::ios::binary) << ini;
    for (int g = 0; g < Groups; ++g) {
        std::snprintf(GroupTable[g].Name, sizeof GroupTable[g].Name, "Group%d", g + 1);
        GroupTable[g].PageCount = Pages;
        GroupTable[g].Pages = PageRecords[g];
        for (int p = 0; p < Pages; ++p) {
            std::snprintf(PageRecords[g][p].FileName, sizeof PageRecords[g][p].FileName, "G%dP%d.dll", g + 1, p + 1);
            CopyFileA((ProgramFolder() + "BenchModule.dll").c_str(),
                      (folder + "Page\\" + PageRecords[g][p].FileName).c_str(), FALSE);
        }
    }

    HMODULE container = LoadLibraryA((folder + "PageContainer.dll").c_str());
    auto command = reinterpret_cast<void(__stdcall*)(int32_t, void*)>(
        reinterpret_cast<void*>(GetProcAddress(container, "Command")));
    if (!command) {
        std::fprintf(stderr, "cannot load %sPageContainer.dll\n", folder.c_str());
        return 1;
    }
    TModuleRegistration registration{&IgnoreCommand, Groups, GroupTable};
    command(1, &registration);
    TForwardedMessage listed{FirstNumber + Entries, 0, 0}, unlisted{FirstNumber - 1, 0, 0};
    const double toPages = bench::SecondsPerCall([&] { command(7, &listed); });
    const double toNone = bench::SecondsPerCall([&] { command(7, &unlisted); });
    command(6, nullptr);

    std::printf("%-52s %14s\n", "", "per message");
    std::printf("%-52s %11.4f ms\n", "the table's last number, to its two pages", toPages * 1e3);
    std::printf("%-52s %11.4f ms\n", "a number the table does not list", toNone * 1e3);
    std::printf("goal: at most 0.1 ms per forwarded message\n");
    FreeLibrary(container);
    Remove(folder);
    return 0;
}
