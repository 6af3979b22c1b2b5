#include "platform/DetachedThread.h"
#include "platform/Exceptions.h"

#include "platform/Win32.h"

#include <memory>

namespace platform {

namespace {

struct TDetachedWork {
    HMODULE Module;
    std::function<void()> Work;
};

DWORD WINAPI RunDetachedWork(void* Parameter)
{
    HMODULE module;
    {
        const std::unique_ptr<TDetachedWork> work(static_cast<TDetachedWork*>(Parameter));
        module = work->Module;
        work->Work();
    }
    // The work's own objects are gone: let its module go without returning
    // into it (this code may be the module's own).
    FreeLibraryAndExitThread(module, 0);
}

} // namespace

void StartDetachedThread(const void* Code, std::function<void()> Work)
{
    HMODULE module = nullptr;
    if (!GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS, static_cast<LPCWSTR>(Code), &module))
        throw EOutOfResources("The module of a thread's work is not loaded");
    auto work = std::make_unique<TDetachedWork>(TDetachedWork{module, std::move(Work)});
    HANDLE thread = CreateThread(nullptr, 0, RunDetachedWork, work.get(), 0, nullptr);
    if (!thread) {
        FreeLibrary(module);
        throw EOutOfResources("A thread could not be started");
    }
    work.release();
    CloseHandle(thread);
}

} // namespace platform
