// Tessel.exe's process entry: the single-instance guard, the main form and
// the message loop. The main form is never shown.
#include "shell/MainFram.h"
#include "shell/MsgFrm.h"
#include "shell/WindowWatch.h"

#include "components/Samples.h"

#include "platform/Application.h"
#include "platform/SystemServices.h"

#include <string>

using namespace platform;
using namespace tessel;

namespace {

const char MutexName[] = "Tessel_4C1A97E0-2B6D-4f83-A51C-7E09D2B48F16";

// The argument string exactly as given after the program name and the one
// blank that separates them; the C runtime's version skips every leading
// blank, which would let "  -tray" pass for "-tray".
std::string Arguments()
{
    const char* p = GetCommandLineA();
    if (*p == '"') {
        ++p;
        while (*p && *p != '"')
            ++p;
        if (*p == '"')
            ++p;
    } else {
        while (*p && *p != ' ' && *p != '\t')
            ++p;
    }
    if (*p == ' ' || *p == '\t')
        ++p;
    return p;
}

// The folder of the program file, with its trailing backslash.
std::string ProgramFolder()
{
    char path[MAX_PATH] = {};
    DWORD n = GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string file(path, n < MAX_PATH ? n : 0);
    return file.substr(0, file.find_last_of('\\') + 1);
}

} // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    // Started again in place of a copy that a page held: that copy is ended
    // first, which frees the single-instance mutex.
    EndProcessStartedAgain();
    // The handle stays open until the process ends: the name exists as long
    // as this process lives, even after ownership is released.
    HANDLE mutex = CreateMutexA(nullptr, TRUE, MutexName);
    // A copy that runs elevated or as another user owns a mutex this process
    // may not open: the name is taken all the same.
    const DWORD error = GetLastError();
    if (error == ERROR_ALREADY_EXISTS || (!mutex && error == ERROR_ACCESS_DENIED)) {
        // Started again by the user: the running copy shows itself, so that
        // the start is not taken for a failure. It may take the foreground.
        if (HWND running = FindWindowA("TForm1", "Tessel")) {
            DWORD process = 0;
            GetWindowThreadProcessId(running, &process);
            AllowSetForegroundWindow(process);
            PostMessageA(running, ShowFaceMessage(), 0, 0);
        }
        SystemServices().ExitProcess(0);
        return 0;
    }
    // Never destroyed: the modules hold the group table's address until the
    // process ends, and the forms are destroyed after WinMain returns.
    auto* state = new TSuiteState(ProgramFolder(), lstrcmpiA(Arguments().c_str(), "-tray") == 0);
    WatchWindowThread(*state);

    try {
        components::RegisterSamples();
        Application->Initialize();
        Application->CreateForm(Form1);
        Application->CreateForm(frmMsg);
        Application->SetShowMainForm(false);
        Application->Run();
    } catch (...) {
        Application->HandleException(Application);
    }

    // The close path: no page took the process down.
    state->PageCalls.Close();
    // Before the forms are destroyed (at exit), which unloads the modules.
    if (mutex)
        ReleaseMutex(mutex);
    return 0;
}
