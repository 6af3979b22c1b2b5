// The running suite's state in one object: the program's folder and the
// paths made from it, the group table the modules hold the address of, the
// loaded faces, the message table and the current view. The process entry
// makes one before the forms and keeps it for the process's life; the main
// form, the dispatcher and the message dialog work on it.
#pragma once

#include "platform/IniSnapshot.h"
#include "platform/Win32.h"
#include "shell/PageCalls.h"
#include "shell/SuiteRecords.h"

#include <atomic>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace tessel {

// The group table's keys are one character long, so the file describes at
// most nine groups of at most nine pages.
constexpr int MaxGroups = 9;
constexpr int MaxPages = 9;
constexpr int GroupTableSize = 256;

// The face last brought up; None until the first switch.
enum class TView : int32_t { None = 0, QuickBar = 1, MainWindow = 2 };

// "Tessel"/"ObjectStyle": the face a start brings up. The file may hold any
// number; one that is neither of these brings up nothing and marks neither
// menu item.
enum class TStartStyle : int32_t { QuickBar = 0, TrayIcon = 3 };

class TSuiteState {
public:
    // Folder: the program's folder, with or without its trailing backslash.
    // The new state is the one the process runs on until it is destroyed.
    TSuiteState(const std::string& Folder, bool SkipRebootCheck);
    // Frees the page records. Only for a state no module holds any more.
    ~TSuiteState();
    TSuiteState(const TSuiteState&) = delete;
    TSuiteState& operator=(const TSuiteState&) = delete;

    // The state made last and not yet destroyed.
    static TSuiteState& Running();

    const std::string ProgramFolder; // with its trailing backslash
    const std::string IniPath;       // ProgramFolder + "Tessel.ini"
    const std::string PagePath;      // ProgramFolder + "Page\"
    const bool SkipRebootCheck;      // the command line "-tray"

    // The calls into page modules under way (ProgramFolder + "Tessel.run"),
    // and what the last process left there.
    TPageCalls PageCalls;
    // The hidden main form's window, once it exists: the window thread's.
    std::atomic<HWND> ShellWindow{nullptr};

    // Cut short by a process end that did not happen (only a test's system
    // services return from ExitProcess): the rest of start-up is skipped.
    bool Abandoned = false;
    // Set by the profile module: which conflict checks run.
    bool CheckSuite = false;
    bool CheckFathom = false;
    // Tessel.ini as start-up reads it, made again after each call of the
    // profile module.
    std::optional<platform::TIniSnapshot> StartupIni;

    TGroupRecord GroupTable[GroupTableSize] = {};
    int32_t GroupCount = 0;

    // The forwarded message numbers, in table order; forwarding runs while
    // Ready is 1 and the session is not ending.
    std::vector<int32_t> MessageIds;
    int32_t Ready = 0;
    bool SessionEnding = false;
    TForwardedMessage ForwardedMessage{};

    HMODULE PageContainerModule = nullptr;
    HMODULE BarModule = nullptr;
    // One per module: the modules keep its address.
    TModuleRegistration PageContainerRegistration{};
    TModuleRegistration BarRegistration{};

    TView CurrentView = TView::None;
};

} // namespace tessel
