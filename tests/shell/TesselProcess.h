// Tessel.exe started as a process of its own in a suite folder, and what a
// person or another program sees of it: its hidden main form, its message
// boxes, its hidden utility windows and its exit code. Every wait has a
// deadline; a process still running at the end is killed.
#pragma once

#include "ShellHarness.h"
#include "support/ProcessWindows.h"

#include <functional>
#include <string>
#include <vector>

namespace shelltest {

// Polls Condition until it holds or Milliseconds have passed.
inline bool WaitFor(const std::function<bool()>& Condition, DWORD Milliseconds)
{
    const DWORD start = GetTickCount();
    for (;;) {
        if (Condition())
            return true;
        if (GetTickCount() - start > Milliseconds)
            return false;
        Sleep(20);
    }
}

class TTesselProcess {
public:
    explicit TTesselProcess(const TSuiteFolder& Suite) : FSuite(Suite)
    {
        CopyFileA((SuiteBin() + "Tessel.exe").c_str(), (Suite.Path() + "Tessel.exe").c_str(), FALSE);
    }
    ~TTesselProcess() { Kill(); }
    TTesselProcess(const TTesselProcess&) = delete;
    TTesselProcess& operator=(const TTesselProcess&) = delete;

    // Arguments are appended after one blank, exactly as given.
    bool Start(const std::string& Arguments = "", bool WithArguments = false)
    {
        Kill();
        std::string command = "\"" + FSuite.Path() + "Tessel.exe\"";
        if (WithArguments || !Arguments.empty())
            command += " " + Arguments;
        STARTUPINFOA startup{};
        startup.cb = sizeof startup;
        PROCESS_INFORMATION info{};
        std::vector<char> line(command.begin(), command.end());
        line.push_back('\0');
        if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, FSuite.Path().c_str(),
                            &startup, &info))
            return false;
        CloseHandle(info.hThread);
        FProcess = info.hProcess;
        FId = info.dwProcessId;
        return true;
    }

    DWORD Id() const { return FId; }

    // Follows the suite to the process that started in this one's place
    // (the one that ended this process first): waits for the hidden main
    // form of another Tessel.exe of this folder and takes it as this process.
    bool FollowNewStart(DWORD Milliseconds = 30000)
    {
        HANDLE process = nullptr;
        DWORD id = 0;
        WaitFor(
            [&] {
                HWND form = FindWindowA("TForm1", "Tessel");
                if (!form || !GetWindowThreadProcessId(form, &id) || id == FId)
                    return false;
                process = OpenProcess(SYNCHRONIZE | PROCESS_TERMINATE | PROCESS_QUERY_LIMITED_INFORMATION, FALSE, id);
                char path[MAX_PATH] = {};
                DWORD size = MAX_PATH;
                if (process && QueryFullProcessImageNameA(process, 0, path, &size) &&
                    lstrcmpiA(path, (FSuite.Path() + "Tessel.exe").c_str()) == 0)
                    return true;
                if (process)
                    CloseHandle(process);
                process = nullptr;
                return false;
            },
            Milliseconds);
        if (!process)
            return false;
        Kill();
        FProcess = process;
        FId = id;
        return true;
    }
    bool Running() const { return FProcess && WaitForSingleObject(FProcess, 0) == WAIT_TIMEOUT; }

    // The exit code, or -1 when the process did not end in time (it is killed then).
    long WaitExit(DWORD Milliseconds = 15000)
    {
        if (!FProcess)
            return -1;
        if (WaitForSingleObject(FProcess, Milliseconds) != WAIT_OBJECT_0) {
            Kill();
            return -1;
        }
        DWORD code = 0;
        GetExitCodeProcess(FProcess, &code);
        CloseHandle(FProcess);
        FProcess = nullptr;
        return static_cast<long>(code);
    }

    void Kill()
    {
        if (!FProcess)
            return;
        if (WaitForSingleObject(FProcess, 0) == WAIT_TIMEOUT) {
            TerminateProcess(FProcess, 99);
            WaitForSingleObject(FProcess, 5000);
        }
        CloseHandle(FProcess);
        FProcess = nullptr;
    }

    // Top-level windows of the process with this class (and title, when given).
    std::vector<HWND> Windows(const std::string& Class, const char* Title = nullptr) const
    {
        return testsupport::ProcessWindows(FId, Class.c_str(), Title);
    }
    HWND Window(const std::string& Class, const char* Title = nullptr) const
    {
        return testsupport::ProcessWindow(FId, Class.c_str(), Title);
    }

    // The hidden main form; it exists once start-up has finished.
    HWND WaitMainForm(DWORD Milliseconds = 15000) const
    {
        HWND form = nullptr;
        WaitFor([&] { return (form = Window("TForm1", "Tessel")) != nullptr || !Running(); }, Milliseconds);
        return form;
    }

    // A visible system message box of the process titled "Tessel".
    HWND WaitMessageBox(DWORD Milliseconds = 15000) const
    {
        HWND box = nullptr;
        WaitFor(
            [&] {
                box = nullptr;
                for (HWND wnd : Windows("#32770", "Tessel"))
                    if (IsWindowVisible(wnd))
                        box = wnd;
                return box != nullptr || !Running();
            },
            Milliseconds);
        return box;
    }
    static std::string BoxText(HWND Box)
    {
        char text[1024] = {};
        GetDlgItemTextA(Box, 0xFFFF, text, sizeof text);
        return text;
    }
    // Presses the box's button Id, as a click would.
    static void Press(HWND Box, int Id) { PostMessageA(Box, WM_COMMAND, static_cast<WPARAM>(Id), 0); }
    static void PressEnter(HWND Box)
    {
        PostMessageA(Box, WM_KEYDOWN, VK_RETURN, 1);
        PostMessageA(Box, WM_KEYUP, VK_RETURN, 0xC0000001);
    }

    // The shell's notification for the tray icon, delivered to the process's
    // hidden utility windows (the tray icon's among them; the timers' ignore it).
    void TrayNotify(UINT MouseMessage) const
    {
        for (HWND wnd : Windows("TesselUtilWindow"))
            PostMessageA(wnd, WM_USER + 1, 0, static_cast<LPARAM>(MouseMessage));
    }

    // Makes the module double Part call the shell back with (Code, Target).
    bool Request(const std::string& Part, int Code, int Target, bool WithPair = false) const
    {
        HWND wnd = Window("TesselDouble" + Part);
        return wnd && PostMessageA(wnd, WithPair ? WM_APP + 2 : WM_APP + 1, static_cast<WPARAM>(Code),
                                   static_cast<LPARAM>(Target));
    }

private:
    const TSuiteFolder& FSuite;
    HANDLE FProcess = nullptr;
    DWORD FId = 0;
};

// Waits until the doubles' log holds a line equal to Line (or starting with it).
inline bool WaitForCall(const TSuiteFolder& Suite, const std::string& Line, DWORD Milliseconds = 10000,
                        size_t Times = 1)
{
    return WaitFor(
        [&] {
            size_t n = 0;
            for (const std::string& call : Suite.Calls())
                if (call.compare(0, Line.size(), Line) == 0)
                    ++n;
            return n >= Times;
        },
        Milliseconds);
}

} // namespace shelltest
