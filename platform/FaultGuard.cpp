#include "platform/FaultGuard.h"
#include "platform/Win32.h"

#include <atomic>
#include <exception>
#include <memory>
#include <mutex>

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

// A thread that runs guarded calls one after another. Starting a thread
// costs more than most calls into a module (every loaded module hears of
// it), so one that returned its last call in time waits for the next.
struct TWorker {
    HANDLE Thread = nullptr;
    HANDLE Wake = nullptr; // set when Call is given, or to end the thread
    HANDLE Done = nullptr; // set when Call has run
    std::function<void()> Call;
    TCallResult Result = TCallResult::Faulted;
    // Set by whichever comes first of the call's end and the waiting
    // side's giving up: a worker that finds its call given up on ends.
    std::atomic<bool> Settled{false};

    ~TWorker()
    {
        for (HANDLE handle : {Thread, Wake, Done})
            if (handle)
                CloseHandle(handle);
    }
};

DWORD WINAPI RunWorker(void* Parameter)
{
    // The thread's own share of the worker, whoever lets go of it last.
    std::unique_ptr<std::shared_ptr<TWorker>> owned(static_cast<std::shared_ptr<TWorker>*>(Parameter));
    TWorker& worker = **owned;
    for (;;) {
        WaitForSingleObject(worker.Wake, INFINITE);
        if (!worker.Call)
            return 0;
        TCallResult result = TCallResult::Faulted;
        try {
            result = RunGuarded(worker.Call);
        } catch (...) {
        }
        worker.Call = nullptr;
        worker.Result = result;
        const bool givenUp = worker.Settled.exchange(true);
        SetEvent(worker.Done);
        // A thread whose call faulted may have lost its stack's guard page;
        // one given up on is nobody's any more.
        if (result != TCallResult::Returned || givenUp)
            return 0;
    }
}

std::shared_ptr<TWorker> StartWorker()
{
    auto worker = std::make_shared<TWorker>();
    worker->Wake = CreateEventA(nullptr, FALSE, FALSE, nullptr);
    worker->Done = CreateEventA(nullptr, FALSE, FALSE, nullptr);
    if (!worker->Wake || !worker->Done)
        return nullptr;
    auto* share = new std::shared_ptr<TWorker>(worker);
    worker->Thread = CreateThread(nullptr, 0, RunWorker, share, 0, nullptr);
    if (!worker->Thread) {
        delete share;
        return nullptr;
    }
    return worker;
}

// The worker waiting for a call, if any; taken by one call at a time.
class TIdleWorker {
public:
    std::shared_ptr<TWorker> Take()
    {
        std::lock_guard<std::mutex> lock(FMutex);
        return std::move(FWorker);
    }

    void Put(std::shared_ptr<TWorker> Worker)
    {
        std::lock_guard<std::mutex> lock(FMutex);
        if (!FWorker)
            FWorker = std::move(Worker);
        else
            End(*Worker);
    }

    ~TIdleWorker()
    {
        if (FWorker)
            End(*FWorker);
    }

private:
    static void End(TWorker& Worker) { SetEvent(Worker.Wake); }

    std::mutex FMutex;
    std::shared_ptr<TWorker> FWorker;
};

TIdleWorker IdleWorker;

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
    std::shared_ptr<TWorker> worker = IdleWorker.Take();
    if (!worker)
        worker = StartWorker();
    if (!worker)
        return RunGuarded(Call);
    worker->Settled = false;
    worker->Call = std::move(Call);
    SetEvent(worker->Wake);
    const DWORD start = GetTickCount();
    DWORD wait;
    for (;;) {
        const DWORD spent = GetTickCount() - start;
        wait = MsgWaitForMultipleObjects(1, &worker->Done, FALSE, spent < Milliseconds ? Milliseconds - spent : 0,
                                         QS_SENDMESSAGE);
        if (wait != WAIT_OBJECT_0 + 1)
            break;
        // Handles the messages sent to this thread's windows, and only those.
        MSG message;
        PeekMessageA(&message, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
    }
    if (wait != WAIT_OBJECT_0) {
        // Given up on, unless the call ended in the meantime: then its end
        // is signalled or about to be.
        if (!worker->Settled.exchange(true))
            return TCallResult::TimedOut;
        WaitForSingleObject(worker->Done, INFINITE);
    }
    const TCallResult result = worker->Result;
    if (result == TCallResult::Returned)
        IdleWorker.Put(std::move(worker));
    return result;
}

} // namespace platform
