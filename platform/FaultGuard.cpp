#include "platform/FaultGuard.h"
#include "platform/Win32.h"

#include <atomic>
#include <exception>
#include <memory>

namespace platform {

namespace {

// The guard is a frame of the thread's chain of structured exception
// handlers, as a compiler with __try would register one: the record on the
// stack, its handler, and where to resume. The handler runs when nothing
// registered inside the call handled the exception; it unwinds those inner
// frames through the system (their own unwind handlers run) and resumes
// after the call, with the stack as the guard left it.
struct TGuardFrame {
    EXCEPTION_REGISTRATION_RECORD Record; // first: the chain points here
    void* Resume[5];                      // __builtin_setjmp's buffer
};

// The head of the thread's chain, the first word of its thread block.
EXCEPTION_REGISTRATION_RECORD* ChainHead()
{
    EXCEPTION_REGISTRATION_RECORD* head;
    __asm__ __volatile__("movl %%fs:0, %0" : "=r"(head));
    return head;
}

void SetChainHead(EXCEPTION_REGISTRATION_RECORD* Head)
{
    __asm__ __volatile__("movl %0, %%fs:0" : : "r"(Head) : "memory");
}

EXCEPTION_DISPOSITION NTAPI GuardHandler(EXCEPTION_RECORD* Exception, void* Frame, CONTEXT*, void*)
{
    // Unwinding passes through; informational codes (a debugger's output,
    // a thread's name) are not faults.
    if ((Exception->ExceptionFlags & (EXCEPTION_UNWINDING | EXCEPTION_EXIT_UNWIND)) ||
        !(Exception->ExceptionCode & 0x80000000u))
        return ExceptionContinueSearch;
    // Kept in memory: the system's unwinding may change the registers that
    // compiled code expects kept across a call.
    TGuardFrame* volatile frame = static_cast<TGuardFrame*>(Frame);
    RtlUnwind(Frame, nullptr, Exception, nullptr);
    __builtin_longjmp(frame->Resume, 1);
}

// Where a C++ exception of Call stops, so that it never unwinds past the
// registered guard; it is thrown again once the guard is gone.
__attribute__((noinline)) void CallCatching(const std::function<void()>& Call, std::exception_ptr& Error) noexcept
{
    try {
        Call();
    } catch (...) {
        Error = std::current_exception();
    }
}

// The guarded call itself: true when Call returned.
__attribute__((noinline)) bool CallInFrame(const std::function<void()>& Call, std::exception_ptr& Error)
{
    TGuardFrame frame{};
    frame.Record.Next = ChainHead();
    frame.Record.Handler = GuardHandler;
    if (__builtin_setjmp(frame.Resume) == 0) {
        SetChainHead(&frame.Record);
        CallCatching(Call, Error);
        SetChainHead(frame.Record.Next);
        return true;
    }
    // Resumed by the handler: the unwinding left the guard at the head of the chain.
    SetChainHead(frame.Record.Next);
    return false;
}

struct TWorkerCall {
    std::function<void()> Call;
    std::atomic<TCallResult> Result{TCallResult::TimedOut};
};

DWORD WINAPI RunWorkerCall(void* Parameter)
{
    // The thread's own share of the call, whoever stops waiting first.
    std::unique_ptr<std::shared_ptr<TWorkerCall>> owned(static_cast<std::shared_ptr<TWorkerCall>*>(Parameter));
    TWorkerCall& work = **owned;
    TCallResult result = TCallResult::Faulted;
    try {
        result = RunGuarded(work.Call);
    } catch (...) {
    }
    work.Result = result;
    return 0;
}

} // namespace

TCallResult RunGuarded(const std::function<void()>& Call)
{
    std::exception_ptr error;
    const bool returned = CallInFrame(Call, error);
    if (error)
        std::rethrow_exception(error);
    return returned ? TCallResult::Returned : TCallResult::Faulted;
}

TCallResult RunGuardedWithin(uint32_t Milliseconds, std::function<void()> Call)
{
    auto work = std::make_shared<TWorkerCall>();
    work->Call = std::move(Call);
    auto* share = new std::shared_ptr<TWorkerCall>(work);
    HANDLE thread = CreateThread(nullptr, 0, RunWorkerCall, share, 0, nullptr);
    if (!thread) {
        delete share;
        return RunGuarded(work->Call);
    }
    const DWORD start = GetTickCount();
    for (;;) {
        const DWORD spent = GetTickCount() - start;
        const DWORD wait = MsgWaitForMultipleObjects(1, &thread, FALSE, spent < Milliseconds ? Milliseconds - spent : 0,
                                                     QS_SENDMESSAGE);
        if (wait != WAIT_OBJECT_0 + 1)
            break;
        // Handles the messages sent to this thread's windows, and only those.
        MSG message;
        PeekMessageA(&message, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
    }
    CloseHandle(thread);
    return work->Result;
}

} // namespace platform
