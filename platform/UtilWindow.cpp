#include "platform/UtilWindow.h"
#include "platform/Application.h"
#include "platform/SystemServices.h"

#include <memory>

extern "C" IMAGE_DOS_HEADER __ImageBase;

namespace platform {

namespace {

const char UtilWindowClass[] = "TesselUtilWindow";

// The window's user data points at one of these. The window procedure holds
// its own reference while the method runs, so DeallocateHWnd from inside the
// method frees nothing that is still executing.
using TMethodHolder = std::shared_ptr<TWndMethod>;

TMethodHolder* HolderOf(HWND wnd)
{
    return reinterpret_cast<TMethodHolder*>(GetWindowLongPtrA(wnd, GWLP_USERDATA));
}

LRESULT CALLBACK UtilWindowProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    TMethodHolder* holder = HolderOf(wnd);
    if (!holder) // creation messages, and whatever arrives after DeallocateHWnd
        return DefWindowProcA(wnd, msg, wParam, lParam);
    const TMethodHolder method = *holder;
    TMessage message{msg, wParam, lParam, 0};
    try {
        (*method)(message);
    } catch (...) {
        HandleWindowException(nullptr);
        return 0;
    }
    return message.Result;
}

HINSTANCE ModuleInstance()
{
    return reinterpret_cast<HINSTANCE>(&__ImageBase);
}

void RegisterUtilWindowClass()
{
    WNDCLASSA existing{};
    if (GetClassInfoA(ModuleInstance(), UtilWindowClass, &existing))
        return;
    WNDCLASSA wc{};
    wc.lpfnWndProc = UtilWindowProc;
    wc.hInstance = ModuleInstance();
    wc.lpszClassName = UtilWindowClass;
    if (!RegisterClassA(&wc))
        throw EOutOfResources(Format("Cannot register the window class %s (error %lu)", UtilWindowClass,
                                     GetLastError()));
}

} // namespace

HWND AllocateHWnd(TWndMethod Method)
{
    RegisterUtilWindowClass();
    // Top level rather than message-only, so that broadcasts such as
    // WM_QUERYENDSESSION reach it.
    HWND wnd = CreateWindowExA(WS_EX_TOOLWINDOW, UtilWindowClass, "", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                               ModuleInstance(), nullptr);
    if (!wnd)
        throw EOutOfResources(Format("Cannot create a hidden window (error %lu)", GetLastError()));
    SetWindowLongPtrA(wnd, GWLP_USERDATA,
                      reinterpret_cast<LONG_PTR>(new TMethodHolder(std::make_shared<TWndMethod>(std::move(Method)))));
    return wnd;
}

void DeallocateHWnd(HWND Wnd)
{
    if (!Wnd || !IsWindow(Wnd))
        return;
    char className[sizeof UtilWindowClass + 1] = {};
    GetClassNameA(Wnd, className, sizeof className);
    if (lstrcmpA(className, UtilWindowClass) != 0)
        return; // not one of ours: its user data is not a holder
    TMethodHolder* holder = HolderOf(Wnd);
    // Detached before the window goes, so WM_DESTROY and WM_NCDESTROY no
    // longer reach a method whose object is being destroyed.
    SetWindowLongPtrA(Wnd, GWLP_USERDATA, 0);
    DestroyWindow(Wnd);
    delete holder;
}

void HandleWindowException(TObject* Sender)
{
    try {
        if (Application) {
            Application->HandleException(Sender);
            return;
        }
        try {
            throw;
        } catch (const std::exception& e) {
            SystemServices().ShowMessageBox(nullptr, e.what(), "Error", MB_OK | MB_ICONERROR);
        }
    } catch (...) {
        // Nothing may leave a window procedure.
    }
}

} // namespace platform
