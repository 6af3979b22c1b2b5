// Tessel.exe's start-up and one tips poll over a generated suite of 9 groups
// x 9 pages, each page listing 30 window-message numbers of which 15 are
// shared by every page, and the start-up over 4 pages listing 1,024 numbers
// each that no other page lists (the largest table the shell keeps), against
// the start of the same program with an empty Tessel.ini as the floor, and
// against the same 9 x 9 suite whose pages list no message (its start-up
// loads the same page modules but has no tables to build). The first start
// of a suite builds its tables from nothing; every later one also clears the
// tables the one before it left.
//
// Times are taken on the system-wide performance counter: the start from
// just before CreateProcess to the main-window module's registration (the
// first thing after Ready), and the poll as the time between the quick bar's
// two start-up commands, between which the shell polls every page once.
// Tessel runs with "-tray", which skips only the reboot question; the other
// sibling modules are the suite's real ones.
#include "platform/Win32.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace {

struct TLayout {
    int Groups, Pages, MessagesPerPage, SharedMessages;
};
constexpr TLayout FullSuite{9, 9, 30, 15};
constexpr TLayout LargeTables{1, 4, 1024, 0};
// The full suite's page modules listing no message: start-up without tables.
constexpr TLayout NoMessages{9, 9, 0, 0};
constexpr DWORD Deadline = 300000;

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

void Write(const std::string& path, const std::string& text)
{
    std::ofstream(path, std::ios::binary) << text;
}

std::string Read(const std::string& path)
{
    std::ostringstream text;
    text << std::ifstream(path, std::ios::binary).rdbuf();
    return text.str();
}

bool Copy(const std::string& from, const std::string& to)
{
    if (CopyFileA(from.c_str(), to.c_str(), FALSE))
        return true;
    std::fprintf(stderr, "cannot copy %s to %s\n", from.c_str(), to.c_str());
    return false;
}

// A suite folder with Tessel.exe, the real sibling modules and, for a
// generated suite, the page modules and their INI files.
std::string MakeSuite(const std::string& name, const TLayout* layout)
{
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    const std::string folder = std::string(temp) + name + "-" + std::to_string(GetCurrentProcessId()) + "\\";
    const std::string bin = FullPath(ProgramFolder() + "..\\bin\\");
    CreateDirectoryA(folder.c_str(), nullptr);
    CreateDirectoryA((folder + "Page").c_str(), nullptr);
    CreateDirectoryA((folder + "Lang").c_str(), nullptr);
    for (const char* file : {"Tessel.exe", "KsIO.dll", "KsTuneProfile.dll", "KsMultiLang.dll", "Lang\\English.lng"})
        Copy(bin + file, folder + file);
    for (const char* view : {"PageContainer.dll", "Bar.dll"})
        Copy(ProgramFolder() + "BenchModule.dll", folder + view);
    if (!layout) {
        Write(folder + "Tessel.ini", "");
        return folder;
    }
    const auto [Groups, Pages, MessagesPerPage, SharedMessages] = *layout;

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
            Copy(ProgramFolder() + "BenchModule.dll", folder + "Page\\" + std::string(module) + ".dll");
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

struct TRun {
    double StartMs = -1; // process start to the main-window module's registration
    double PollMs = -1;  // one tips poll over every page
};

struct TSearch {
    DWORD Id;
    HWND Found;
};

BOOL CALLBACK FindForm(HWND wnd, LPARAM data)
{
    auto* search = reinterpret_cast<TSearch*>(data);
    DWORD id = 0;
    GetWindowThreadProcessId(wnd, &id);
    char name[32] = {};
    GetClassNameA(wnd, name, sizeof name);
    if (id == search->Id && std::string(name) == "TForm1")
        search->Found = wnd;
    return TRUE;
}

// The tick of the first bench.log line for Part and Code (and data, if given).
bool Tick(const std::string& log, const std::string& part, int code, const char* data, long long& tick)
{
    std::istringstream lines(log);
    std::string p, d;
    int c = 0;
    long long t = 0;
    while (lines >> p >> c >> d >> t)
        if (p == part && c == code && (!data || d == data)) {
            tick = t;
            return true;
        }
    return false;
}

TRun RunOnce(const std::string& folder)
{
    TRun run;
    DeleteFileA((folder + "bench.log").c_str());
    LARGE_INTEGER frequency, start;
    QueryPerformanceFrequency(&frequency);
    std::string command = "\"" + folder + "Tessel.exe\" -tray";
    std::vector<char> line(command.begin(), command.end());
    line.push_back('\0');
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    QueryPerformanceCounter(&start);
    if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(), &startup, &info)) {
        std::fprintf(stderr, "cannot start Tessel.exe\n");
        return run;
    }
    CloseHandle(info.hThread);

    long long registered = 0, shown = 0, polled = 0;
    const DWORD begin = GetTickCount();
    std::string log;
    while (GetTickCount() - begin < Deadline) {
        log = Read(folder + "bench.log");
        if (Tick(log, "Bar", 3, "data", polled))
            break;
        if (WaitForSingleObject(info.hProcess, 0) == WAIT_OBJECT_0)
            break;
        Sleep(5);
    }
    const double msPerTick = 1000.0 / static_cast<double>(frequency.QuadPart);
    if (Tick(log, "PageContainer", 1, nullptr, registered))
        run.StartMs = static_cast<double>(registered - start.QuadPart) * msPerTick;
    if (Tick(log, "Bar", 3, "null", shown) && polled)
        run.PollMs = static_cast<double>(polled - shown) * msPerTick;

    // Ended through its own close path, so the next start finds no mutex.
    // The hidden main form may get its window only after the quick bar's
    // start-up commands.
    TSearch search{info.dwProcessId, nullptr};
    for (const DWORD asked = GetTickCount(); GetTickCount() - asked < 10000; Sleep(5)) {
        EnumWindows(FindForm, reinterpret_cast<LPARAM>(&search));
        if (search.Found || WaitForSingleObject(info.hProcess, 0) == WAIT_OBJECT_0)
            break;
    }
    if (search.Found)
        PostMessageA(search.Found, WM_SYSCOMMAND, SC_CLOSE, 0);
    if (WaitForSingleObject(info.hProcess, 30000) != WAIT_OBJECT_0) {
        TerminateProcess(info.hProcess, 99);
        WaitForSingleObject(info.hProcess, 5000);
    }
    CloseHandle(info.hProcess);
    return run;
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

void Row(const char* what, const TStats& s, double floor)
{
    if (s.Median < 0) {
        std::printf("%-44s %10s\n", what, "failed");
        return;
    }
    std::printf("%-44s %10.1f %10.1f %10.1f %9.1fx\n", what, s.Median, s.Min, s.Max, s.Median / floor);
}

} // namespace

int main(int argc, char** argv)
{
    // The number of measured starts of each kind (default 5).
    const int Runs = argc > 1 && std::atoi(argv[1]) > 0 ? std::atoi(argv[1]) : 5;
    const std::string empty = MakeSuite("TesselBenchEmpty", nullptr);
    const std::string suite = MakeSuite("TesselBenchSuite", &FullSuite);
    const std::string large = MakeSuite("TesselBenchLarge", &LargeTables);
    const std::string bare = MakeSuite("TesselBenchBare", &NoMessages);

    std::vector<double> floorStart, start, poll, largeStart, bareStart;
    RunOnce(empty);
    const double suiteFirst = RunOnce(suite).StartMs;
    const double largeFirst = RunOnce(large).StartMs;
    for (int i = 0; i < Runs; ++i) {
        floorStart.push_back(RunOnce(empty).StartMs);
        const TRun run = RunOnce(suite);
        start.push_back(run.StartMs);
        poll.push_back(run.PollMs);
        largeStart.push_back(RunOnce(large).StartMs);
        bareStart.push_back(RunOnce(bare).StartMs);
    }

    const TStats floor = Stats(floorStart);
    const TStats suiteStats = Stats(start);
    const TStats largeStats = Stats(largeStart);
    const TStats pollStats = Stats(poll);
    const TStats bareStats = Stats(bareStart);
    std::printf("Tessel.exe start-up and tips polling, %d runs each (milliseconds)\n", Runs);
    std::printf("suite: %d groups x %d pages, %d messages per page, %d of them shared by all pages\n",
                FullSuite.Groups, FullSuite.Pages, FullSuite.MessagesPerPage, FullSuite.SharedMessages);
    std::printf("large tables: %d pages, %d messages each, none shared\n\n", LargeTables.Pages,
                LargeTables.MessagesPerPage);
    std::printf("%-44s %10s %10s %10s %10s\n", "", "median", "min", "max", "vs floor");
    Row("start to Ready, empty Tessel.ini (floor)", floor, floor.Median);
    Row("start to Ready, suite, first start", Stats({suiteFirst}), floor.Median);
    Row("start to Ready, suite", suiteStats, floor.Median);
    Row("start to Ready, large tables, first start", Stats({largeFirst}), floor.Median);
    Row("start to Ready, large tables", largeStats, floor.Median);
    Row("start to Ready, suite, pages list no message", bareStats, floor.Median);
    Row("one tips poll over 81 page modules", pollStats, floor.Median);
    if (floor.Median > 0 && suiteStats.Median > 0 && largeStats.Median > 0 && bareStats.Median > 0) {
        std::printf("\nratio to the floor (goal: at most 2x): suite %.2fx, large tables %.2fx\n",
                    suiteStats.Median / floor.Median, largeStats.Median / floor.Median);
        // Start-up loads every page module once, as a tips poll does; the
        // same suite without messages leaves out only the message tables.
        std::printf("suite against the same suite without messages: %.2fx\n", suiteStats.Median / bareStats.Median);
    }
    Remove(empty);
    Remove(suite);
    Remove(large);
    Remove(bare);
    return floor.Median < 0 ? 1 : 0;
}
