// Calls guarded against faults, on this thread and on a thread of their own
// with a deadline: real access violations, divisions by zero and raised
// exceptions, also deep inside the system's own code.
#include "platform/FaultGuard.h"
#include "platform/Win32.h"

#include <gtest/gtest.h>

#include <atomic>
#include <stdexcept>

using namespace platform;

namespace {

void WriteToAddressZero()
{
    volatile int* volatile address = nullptr;
    *address = 1;
}

BOOL CALLBACK FaultingEnumeration(HWND, LPARAM)
{
    WriteToAddressZero();
    return TRUE;
}

BOOL CALLBACK CountWindow(HWND, LPARAM Count)
{
    ++*reinterpret_cast<int*>(Count);
    return TRUE;
}

volatile bool StopDescent = false;

// Calls itself until the stack runs out.
__attribute__((noinline)) int Descend(int Depth)
{
    volatile char frame[256];
    frame[0] = static_cast<char>(Depth);
    if (StopDescent)
        return 0;
    return Descend(Depth + 1) + frame[0];
}

LRESULT CALLBACK FaultOnCreate(HWND Window, UINT Message, WPARAM WParam, LPARAM LParam)
{
    if (Message == WM_CREATE)
        WriteToAddressZero();
    return DefWindowProcA(Window, Message, WParam, LParam);
}

LRESULT CALLBACK AnswerWindow(HWND Window, UINT Message, WPARAM WParam, LPARAM LParam)
{
    return Message == WM_APP ? 42 : DefWindowProcA(Window, Message, WParam, LParam);
}

TEST(FaultGuard, AFaultAbandonsTheCallAndTheThreadGoesOn)
{
    bool after = false;
    EXPECT_EQ(RunGuarded([&] {
                  WriteToAddressZero();
                  after = true;
              }),
              TCallResult::Faulted);
    EXPECT_FALSE(after) << "the call is abandoned where it faulted";
    EXPECT_EQ(RunGuarded([&] { after = true; }), TCallResult::Returned);
    EXPECT_TRUE(after);

    // Other faults, and exceptions raised by code of any runtime.
    EXPECT_EQ(RunGuarded([] {
                  volatile int zero = 0;
                  volatile int quotient = 100 / zero;
                  (void)quotient;
              }),
              TCallResult::Faulted);
    EXPECT_EQ(RunGuarded([] { RaiseException(0xE06D7363, 0, 0, nullptr); }), TCallResult::Faulted);

    // A fault under the system's own frames (a callback of an enumeration).
    EXPECT_EQ(RunGuarded([] { EnumWindows(FaultingEnumeration, 0); }), TCallResult::Faulted);
    int windows = 0;
    EnumWindows(CountWindow, reinterpret_cast<LPARAM>(&windows));
    EXPECT_GT(windows, 0) << "the system's state survives";

    // Guards inside guards: the innermost one takes the fault.
    TCallResult inner = TCallResult::TimedOut;
    EXPECT_EQ(RunGuarded([&] { inner = RunGuarded(WriteToAddressZero); }), TCallResult::Returned);
    EXPECT_EQ(inner, TCallResult::Faulted);

    // A C++ exception passes through as without the guard, and leaves it
    // whole for the next fault.
    EXPECT_THROW(RunGuarded([] { throw std::runtime_error("thrown"); }), std::runtime_error);
    EXPECT_EQ(RunGuarded(WriteToAddressZero), TCallResult::Faulted);
    EXPECT_EQ(RunGuarded([] { RunGuarded(WriteToAddressZero); }), TCallResult::Returned);
}

TEST(FaultGuard, AFaultThatTheSystemPassesOverInsideACallbackCounts)
{
    // The window is made all the same (the system takes the callback for
    // returned); the guard says the call faulted.
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = FaultOnCreate;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = "FaultGuardFaultOnCreate";
    RegisterClassA(&windowClass);
    HWND made = nullptr;
    bool after = false;
    EXPECT_EQ(RunGuarded([&] {
                  made = CreateWindowExA(0, windowClass.lpszClassName, "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                         windowClass.hInstance, nullptr);
                  after = true;
              }),
              TCallResult::Faulted);
    if (made)
        DestroyWindow(made);
    EXPECT_EQ(RunGuardedWithin(5000, [&] {
                  made = CreateWindowExA(0, windowClass.lpszClassName, "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                         windowClass.hInstance, nullptr);
                  if (made)
                      DestroyWindow(made);
              }),
              TCallResult::Faulted)
        << "on a worker too";

    // The system's own probing is no fault of the call's, nor is a
    // software exception that the call raises and handles.
    EXPECT_EQ(RunGuarded([] { EXPECT_TRUE(IsBadReadPtr(nullptr, 4)); }), TCallResult::Returned);
    EXPECT_EQ(RunGuarded([] {
                  try {
                      throw std::runtime_error("handled");
                  } catch (const std::runtime_error&) {
                  }
              }),
              TCallResult::Returned);
    EXPECT_EQ(RunGuarded([] {}), TCallResult::Returned) << "a noted fault stays with its own call";
}

DWORD WINAPI OverflowThreeTimes(void* Count)
{
    for (int i = 0; i < 3; ++i)
        if (RunGuarded([] { Descend(0); }) == TCallResult::Faulted)
            ++*static_cast<int*>(Count);
    return 0;
}

TEST(FaultGuard, AThreadSurvivesOneStackOverflowAfterAnother)
{
    // On a thread of its own: without its guard page, the second overflow
    // would end the thread unreported (or the test program).
    int faulted = 0;
    HANDLE thread = CreateThread(nullptr, 256 * 1024, OverflowThreeTimes, &faulted, 0, nullptr);
    ASSERT_NE(thread, nullptr);
    ASSERT_EQ(WaitForSingleObject(thread, 30000), WAIT_OBJECT_0);
    DWORD code = 1;
    GetExitCodeThread(thread, &code);
    CloseHandle(thread);
    EXPECT_EQ(code, 0u) << "the thread ran to its end";
    EXPECT_EQ(faulted, 3);
    EXPECT_EQ(RunGuarded([] { Descend(0); }), TCallResult::Faulted) << "and so does this one";
    EXPECT_EQ(RunGuarded([] { Descend(0); }), TCallResult::Faulted);
}

TEST(FaultGuard, AWorkerCallIsWaitedForAtMostItsTime)
{
    // Returned and faulted calls, and a C++ exception counted as a fault.
    std::atomic<DWORD> thread{0};
    EXPECT_EQ(RunGuardedWithin(5000, [&] { thread = GetCurrentThreadId(); }), TCallResult::Returned);
    EXPECT_NE(thread, GetCurrentThreadId()) << "the call runs on a thread of its own";
    EXPECT_EQ(RunGuardedWithin(5000, WriteToAddressZero), TCallResult::Faulted);
    EXPECT_EQ(RunGuardedWithin(5000, [] { throw std::runtime_error("thrown"); }), TCallResult::Faulted);

    // A call that does not return is given up on at its time, and left to run.
    HANDLE release = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    std::atomic<bool> finished{false};
    const DWORD start = GetTickCount();
    EXPECT_EQ(RunGuardedWithin(300, [release, &finished] {
                  WaitForSingleObject(release, INFINITE);
                  finished = true;
              }),
              TCallResult::TimedOut);
    const DWORD waited = GetTickCount() - start;
    EXPECT_GE(waited, 250u);
    EXPECT_LT(waited, 3000u);
    SetEvent(release);
    for (int n = 0; n < 200 && !finished; ++n)
        Sleep(10);
    EXPECT_TRUE(finished) << "the thread was not ended";
    CloseHandle(release);

    // A call that sends a message to a window of the waiting thread is answered.
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = AnswerWindow;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = "FaultGuardTestWindow";
    RegisterClassA(&windowClass);
    HWND window = CreateWindowExA(0, "FaultGuardTestWindow", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                  windowClass.hInstance, nullptr);
    ASSERT_NE(window, nullptr);
    LRESULT answer = 0;
    EXPECT_EQ(RunGuardedWithin(3000, [&] { answer = SendMessageA(window, WM_APP, 0, 0); }), TCallResult::Returned);
    EXPECT_EQ(answer, 42);
    DestroyWindow(window);
}

TEST(FaultGuard, AWorkerRunsCallsOneAfterAnotherUntilOneGoesWrong)
{
    const auto threadOf = [](auto Call) {
        std::atomic<DWORD> thread{0};
        RunGuardedWithin(2000, [&thread, Call] {
            thread = GetCurrentThreadId();
            Call();
        });
        return DWORD(thread);
    };
    const auto returns = [] {};
    const DWORD first = threadOf(returns);
    EXPECT_EQ(threadOf(returns), first) << "a call that returned leaves its thread for the next";
    EXPECT_EQ(threadOf([] { throw std::runtime_error("thrown"); }), first);
    const DWORD afterThrow = threadOf(returns);
    EXPECT_NE(afterThrow, first) << "a thread whose call went wrong runs no more calls";
    EXPECT_EQ(threadOf(WriteToAddressZero), afterThrow);
    const DWORD afterFault = threadOf(returns);
    EXPECT_NE(afterFault, afterThrow);

    // Given up on, the worker ends once its call returns, and the next call
    // is not kept waiting on it.
    HANDLE release = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    EXPECT_EQ(RunGuardedWithin(200, [release] { WaitForSingleObject(release, INFINITE); }), TCallResult::TimedOut);
    HANDLE stuck = OpenThread(SYNCHRONIZE, FALSE, afterFault);
    ASSERT_NE(stuck, nullptr);
    const DWORD start = GetTickCount();
    EXPECT_NE(threadOf(returns), afterFault);
    EXPECT_LT(GetTickCount() - start, 1000u);
    SetEvent(release);
    EXPECT_EQ(WaitForSingleObject(stuck, 5000), WAIT_OBJECT_0) << "the worker given up on did not end";
    CloseHandle(stuck);
    CloseHandle(release);
}

} // namespace
