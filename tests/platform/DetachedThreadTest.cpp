// Work left running on a detached thread by a module that is unloaded
// meanwhile: the module stays until the work has returned, then goes.
#include "platform/Win32.h"

#include <gtest/gtest.h>

#include <string>

namespace {

std::string TestBin()
{
    char path[MAX_PATH] = {};
    std::string self(path, GetModuleFileNameA(nullptr, path, MAX_PATH));
    return self.substr(0, self.find_last_of('\\') + 1);
}

TEST(DetachedThread, KeepsItsModuleLoadedUntilTheWorkReturns)
{
    HMODULE module = LoadLibraryA((TestBin() + "DetachedWork.dll").c_str());
    ASSERT_NE(module, nullptr);
    using TStartWork = void(__cdecl*)(HANDLE, HANDLE, HANDLE*);
    auto start = reinterpret_cast<TStartWork>(reinterpret_cast<void*>(GetProcAddress(module, "StartWork")));
    ASSERT_NE(start, nullptr);
    HANDLE started = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    HANDLE release = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    HANDLE thread = nullptr;
    start(started, release, &thread);
    ASSERT_EQ(WaitForSingleObject(started, 10000), WAIT_OBJECT_0);

    // Whoever started the work lets the module go: it stays while the work runs.
    FreeLibrary(module);
    EXPECT_EQ(GetModuleHandleA("DetachedWork.dll"), module);
    EXPECT_EQ(WaitForSingleObject(thread, 0), static_cast<DWORD>(WAIT_TIMEOUT));

    // The work returns into the module's code and ends; the module goes with it.
    SetEvent(release);
    ASSERT_EQ(WaitForSingleObject(thread, 10000), WAIT_OBJECT_0);
    EXPECT_EQ(GetModuleHandleA("DetachedWork.dll"), nullptr);
    for (HANDLE h : {started, release, thread})
        CloseHandle(h);
}

} // namespace
