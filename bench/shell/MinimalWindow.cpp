// The floor of the start-up benchmark: the least a Win32 program does to
// show one window. It registers a class, shows a window of it, paints it and
// runs its message loop until the window is closed. Given a suite folder, it
// first loads and frees each module of the suite once (<folder>\*.dll and
// <folder>\Page\*.dll), the least a start of that suite loads.
#include "platform/Win32.h"

#include <string>
#include <vector>

namespace {

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_DESTROY) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

// Loads every module of folder into modules.
void LoadEach(const std::string& folder, std::vector<HMODULE>& modules)
{
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((folder + "*.dll").c_str(), &found);
    for (bool more = search != INVALID_HANDLE_VALUE; more; more = FindNextFileA(search, &found))
        if (HMODULE module = LoadLibraryA((folder + found.cFileName).c_str()))
            modules.push_back(module);
    if (search != INVALID_HANDLE_VALUE)
        FindClose(search);
}

} // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int)
{
    if (*commandLine) {
        std::string folder = commandLine;
        folder.erase(0, folder.find_first_not_of("\" "));
        folder.erase(folder.find_last_not_of("\" ") + 1);
        // All held until the last is loaded, as in a start, where the system
        // modules they share stay loaded throughout.
        std::vector<HMODULE> modules;
        LoadEach(folder, modules);
        LoadEach(folder + "Page\\", modules);
        for (HMODULE module : modules)
            FreeLibrary(module);
    }
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = WindowProc;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = "MinimalWindow";
    RegisterClassA(&windowClass);
    HWND window = CreateWindowExA(WS_EX_TOOLWINDOW | WS_EX_TOPMOST, "MinimalWindow", "Minimal", WS_POPUP | WS_BORDER,
                                  1000, 80, 130, 300, nullptr, nullptr, instance, nullptr);
    ShowWindow(window, SW_SHOW);
    UpdateWindow(window);
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return 0;
}
