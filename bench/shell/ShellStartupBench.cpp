// Tessel.exe from launch to its quick bar on the screen, against the least a
// Win32 program does to show one window (MinimalWindow.exe), both measured
// the same way in the same run: from just before CreateProcess until a
// visible window of the program's own class answers a message, that is,
// until the program shows its face and waits for the user.
//
// The suites, each started once to lay out Tessel.ini and then measured on
// later starts:
//  - the suite as shipped, with its six pages (Suite\ beside this program,
//    made by scripts/bench.sh; else the build's bin\);
//  - 9 groups x 9 pages, each page listing 1,024 window-message numbers of
//    which 15 are shared by every page: the table fills to the 4,096 entries
//    the shell keeps and the rest are turned away;
//  - the same 81 pages listing 30 numbers each, 15 of them shared;
//  - the same 81 pages listing none: start-up without tables.
// The generated suites' page modules do nothing (BenchModule.dll); every
// other module is the suite's own.
#include "bench/support/Timing.h"
#include "tests/support/ProcessWindows.h"
#include "platform/Win32.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

namespace {

struct TLayout {
    const char* Name;
    int Groups, Pages, MessagesPerPage, SharedMessages;
};
constexpr TLayout LargeTables{"81 pages x 1,024 messages", 9, 9, 1024, 15};
constexpr TLayout FullSuite{"81 pages x 30 messages", 9, 9, 30, 15};
constexpr TLayout NoMessages{"81 pages, no messages", 9, 9, 0, 0};
constexpr DWORD Deadline = 120000;

std::string ProgramFolder()
{
    char path[MAX_PATH] = {};
    std::string self(path, GetModuleFileNameA(nullptr, path, MAX_PATH));
    return self.substr(0, self.find_last_of('\\') + 1);
}

std::string FullPath(const std::string& path)
{
    char full[MAX_PATH];
    return std::string(full, GetFullPathNameA(path.c_str(), MAX_PATH, full, nullptr));
}

bool IsFolder(const std::string& path)
{
    const DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

void Write(const std::string& path, const std::string& text)
{
    std::ofstream(path, std::ios::binary) << text;
}

// Calls visit(name, isFolder) for every entry of folder.
template <class Visit>
void ForEachEntry(const std::string& folder, Visit visit)
{
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((folder + "*").c_str(), &found);
    for (bool more = search != INVALID_HANDLE_VALUE; more; more = FindNextFileA(search, &found)) {
        const std::string name = found.cFileName;
        if (name != "." && name != "..")
            visit(name, (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0);
    }
    if (search != INVALID_HANDLE_VALUE)
        FindClose(search);
}

// Copies the tree under from into to, leaving out every *.ini (the settings
// of whoever ran the suite there) and, when asked, the pages.
void CopyTree(const std::string& from, const std::string& to, bool pages)
{
    CreateDirectoryA(to.c_str(), nullptr);
    ForEachEntry(from, [&](const std::string& name, bool folder) {
        if (folder) {
            if (pages || name != "Page")
                CopyTree(from + name + "\\", to + name + "\\", pages);
            else
                CreateDirectoryA((to + name).c_str(), nullptr);
        } else if (name.size() < 4 || _stricmp(name.c_str() + name.size() - 4, ".ini") != 0 ||
                   from.find("\\Page\\") != std::string::npos) {
            if (!CopyFileA((from + name).c_str(), (to + name).c_str(), FALSE))
                std::fprintf(stderr, "cannot copy %s%s\n", from.c_str(), name.c_str());
        }
    });
}

void Remove(const std::string& folder)
{
    ForEachEntry(folder, [&](const std::string& name, bool isFolder) {
        if (isFolder)
            Remove(folder + name + "\\");
        else
            DeleteFileA((folder + name).c_str());
    });
    RemoveDirectoryA(folder.c_str());
}

std::string TempFolder(const std::string& name)
{
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    return std::string(temp) + name + "-" + std::to_string(GetCurrentProcessId()) + "\\";
}

// A suite folder starting at the quick bar: the shipped suite, or its
// modules with the generated pages of layout.
std::string MakeSuite(const std::string& shipped, const std::string& name, const TLayout* layout)
{
    const std::string folder = TempFolder(name);
    CopyTree(shipped, folder, !layout);
    if (!layout) {
        Write(folder + "Tessel.ini", "[Tessel]\r\nObjectStyle=0\r\n");
        return folder;
    }
    const auto [Name, Groups, Pages, MessagesPerPage, SharedMessages] = *layout;
    std::string ini = "[Tessel]\r\nObjectStyle=0\r\n[Group]\r\ngroupcount=" + std::to_string(Groups) + "\r\n";
    for (int g = 1; g <= Groups; ++g)
        ini += std::to_string(g) + "=Group" + std::to_string(g) + "\r\n";
    int page = 0;
    for (int g = 1; g <= Groups; ++g) {
        ini += "[Group" + std::to_string(g) + "]\r\ngroupid=" + std::to_string(g) + "\r\nstyle=0\r\npagecount=" +
               std::to_string(Pages) + "\r\n";
        for (int p = 1; p <= Pages; ++p, ++page) {
            char module[16];
            std::snprintf(module, sizeof module, "G%dP%d", g, p);
            ini += std::to_string(p) + "=" + std::string(module) + ".dll\r\n";
            CopyFileA((ProgramFolder() + "BenchModule.dll").c_str(), (folder + "Page\\" + std::string(module) + ".dll").c_str(),
                      FALSE);
            std::string pageIni = "[MESSAGE]\r\nmessagecount=" + std::to_string(MessagesPerPage) + "\r\n";
            for (int n = 1; n <= MessagesPerPage; ++n) {
                const int number = n <= SharedMessages ? 1024 + n : 20000 + page * MessagesPerPage + n;
                pageIni += std::to_string(n) + "=" + std::to_string(number) + "\r\n";
            }
            Write(folder + "Page\\" + std::string(module) + ".ini", pageIni);
        }
    }
    Write(folder + "Tessel.ini", ini);
    return folder;
}

// One start of program in folder: milliseconds from launch until a visible
// window of windowClass answers, or -1.
double RunOnce(const std::string& folder, const char* program, const char* windowClass,
               const std::string& arguments = "-tray")
{
    std::string command = "\"" + folder + program + "\" " + arguments;
    std::vector<char> line(command.begin(), command.end());
    line.push_back('\0');
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    LARGE_INTEGER frequency, start, shown;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&start);
    if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(), &startup, &info)) {
        std::fprintf(stderr, "cannot start %s%s\n", folder.c_str(), program);
        return -1;
    }
    CloseHandle(info.hThread);

    double ms = -1;
    for (const DWORD begin = GetTickCount(); GetTickCount() - begin < Deadline; Sleep(1)) {
        if (HWND face = testsupport::VisibleProcessWindow(info.dwProcessId, windowClass)) {
            DWORD_PTR result = 0;
            if (SendMessageTimeoutA(face, WM_NULL, 0, 0, SMTO_NORMAL, Deadline, &result)) {
                QueryPerformanceCounter(&shown);
                ms = static_cast<double>(shown.QuadPart - start.QuadPart) * 1000.0 /
                     static_cast<double>(frequency.QuadPart);
            }
            break;
        }
        if (WaitForSingleObject(info.hProcess, 0) == WAIT_OBJECT_0)
            break;
    }

    // Ended through its own close path, so the next start finds no mutex.
    if (HWND main = testsupport::ProcessWindow(info.dwProcessId, "TForm1"))
        PostMessageA(main, WM_SYSCOMMAND, SC_CLOSE, 0);
    else if (HWND face = testsupport::ProcessWindow(info.dwProcessId, windowClass))
        PostMessageA(face, WM_CLOSE, 0, 0);
    if (WaitForSingleObject(info.hProcess, 30000) != WAIT_OBJECT_0) {
        TerminateProcess(info.hProcess, 99);
        WaitForSingleObject(info.hProcess, 5000);
    }
    CloseHandle(info.hProcess);
    return ms;
}

struct TStats {
    double Median = -1, Min = -1, Max = -1;
};

TStats Stats(std::vector<double> values)
{
    values.erase(std::remove_if(values.begin(), values.end(), [](double v) { return v < 0; }), values.end());
    TStats s;
    if (values.empty())
        return s;
    std::sort(values.begin(), values.end());
    s.Median = values[values.size() / 2];
    s.Min = values.front();
    s.Max = values.back();
    return s;
}

void Row(const std::string& what, const TStats& s, double floor)
{
    if (s.Median < 0) {
        std::printf("%-48s %10s\n", what.c_str(), "failed");
        return;
    }
    std::printf("%-48s %10.1f %10.1f %10.1f %9.2fx\n", what.c_str(), s.Median, s.Min, s.Max, s.Median / floor);
}

} // namespace

int main(int argc, char** argv)
{
    // The number of measured starts of each kind (default 5).
    const int Runs = argc > 1 && std::atoi(argv[1]) > 0 ? std::atoi(argv[1]) : 5;
    const std::string shipped =
        IsFolder(ProgramFolder() + "Suite") ? ProgramFolder() + "Suite\\" : FullPath(ProgramFolder() + "..\\bin\\");
    const std::string minimal = TempFolder("TesselBenchMinimal");
    CreateDirectoryA(minimal.c_str(), nullptr);
    CopyFileA((ProgramFolder() + "MinimalWindow.exe").c_str(), (minimal + "MinimalWindow.exe").c_str(), FALSE);

    struct TSuite {
        std::string Name;
        std::string Folder;
        std::vector<double> Ms;
    };
    std::vector<TSuite> suites;
    suites.push_back({"the suite as shipped, six pages", MakeSuite(shipped, "TesselBenchShipped", nullptr), {}});
    for (const TLayout* layout : {&LargeTables, &FullSuite, &NoMessages})
        suites.push_back({layout->Name, MakeSuite(shipped, std::string("TesselBench") + std::to_string(suites.size()),
                                                  layout),
                          {}});

    for (TSuite& suite : suites)
        RunOnce(suite.Folder, "Tessel.exe", "TFormBar");
    RunOnce(minimal, "MinimalWindow.exe", "MinimalWindow", "");
    // Start-up loads every page module at least once: the minimal program
    // loading the same modules is what no start of that suite can go below.
    std::vector<double> floorMs, loadingMs, loadingLargeMs;
    for (int i = 0; i < Runs; ++i) {
        floorMs.push_back(RunOnce(minimal, "MinimalWindow.exe", "MinimalWindow", ""));
        loadingMs.push_back(
            RunOnce(minimal, "MinimalWindow.exe", "MinimalWindow", "\"" + suites[0].Folder + "\""));
        loadingLargeMs.push_back(
            RunOnce(minimal, "MinimalWindow.exe", "MinimalWindow", "\"" + suites[1].Folder + "\""));
        for (TSuite& suite : suites)
            suite.Ms.push_back(RunOnce(suite.Folder, "Tessel.exe", "TFormBar"));
    }

    const TStats floor = Stats(floorMs);
    std::printf("Launch to the quick bar on the screen, %d starts each after a first one (milliseconds)\n\n", Runs);
    std::printf("%-48s %10s %10s %10s %10s\n", "", "median", "min", "max", "vs floor");
    Row("minimal program showing one window (floor)", floor, floor.Median);
    Row("  the same, first loading each shipped module once", Stats(loadingMs), floor.Median);
    Row("  the same, first loading each module of 81 pages", Stats(loadingLargeMs), floor.Median);
    std::vector<TStats> stats;
    for (const TSuite& suite : suites) {
        stats.push_back(Stats(suite.Ms));
        Row(suite.Name, stats.back(), floor.Median);
    }
    std::printf("\n");
    const bool measured = floor.Median > 0 && std::all_of(stats.begin(), stats.end(), [](const TStats& s) {
        return s.Median > 0;
    });
    if (measured) {
        bench::Goal("suite to quick bar vs minimal program", stats[0].Median / floor.Median, 1.5);
        bench::Goal("81 pages x 1024 messages vs minimal program", stats[1].Median / floor.Median, 4);
        bench::Goal("9x9x30 suite vs same suite without messages", stats[2].Median / stats[3].Median, 1.2);
    }
    for (const TSuite& suite : suites)
        Remove(suite.Folder);
    Remove(minimal);
    return measured ? 0 : 1;
}
