#include "platform/FaultGuard.h"
#include "platform/Win32.h"

#include <atomic>
#include <exception>
#include <memory>
#include <mutex>
#include <utility>
#include <vector>

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
    uint32_t Mark;                        // GuardMark: tells a guard among the chain's frames
    DWORD Fault;                          // the code of the fault met inside the call, or 0
    void* Resume[5];                      // __builtin_setjmp's buffer
};

// Every copy of this unit (each module links its own) marks its frames
// alike, so that any copy finds the innermost guard of the thread.
constexpr uint32_t GuardMark = 0x64724747;

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
    frame->Fault = Exception->ExceptionCode;
    RtlUnwind(Frame, nullptr, Exception, nullptr);
    __builtin_longjmp(frame->Resume, 1);
}

// Wine catches an exception raised inside a callback of the system's into
// the program (a window procedure that faults in WM_CREATE while
// CreateWindowEx runs, say) and lets the system call return as if the
// callback had returned: the guard's frame never hears of it. A handler
// that sees every exception first notes such a fault on the innermost guard
// of its thread: one raised by the processor (not a software exception,
// which the called code may raise and catch as its way of working), outside
// the system's own modules, which probe memory and catch their own faults.
bool InSystemModule(const void* Address)
{
    static const auto modules = [] {
        std::vector<std::pair<const char*, const char*>> ranges;
        for (const char* name : {"ntdll.dll", "kernelbase.dll", "kernel32.dll", "user32.dll", "win32u.dll",
                                 "gdi32.dll"}) {
            const auto* base = reinterpret_cast<const char*>(GetModuleHandleA(name));
            if (!base)
                continue;
            const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
            const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
            ranges.emplace_back(base, base + nt->OptionalHeader.SizeOfImage);
        }
        return ranges;
    }();
    const auto* at = static_cast<const char*>(Address);
    for (const auto& [begin, end] : modules)
        if (at >= begin && at < end)
            return true;
    return false;
}

bool ProcessorFault(DWORD Code)
{
    switch (Code) {
    case EXCEPTION_ACCESS_VIOLATION:
    case EXCEPTION_STACK_OVERFLOW:
    case EXCEPTION_ILLEGAL_INSTRUCTION:
    case EXCEPTION_PRIV_INSTRUCTION:
    case EXCEPTION_INT_DIVIDE_BY_ZERO:
    case EXCEPTION_IN_PAGE_ERROR:
        return true;
    default:
        return false;
    }
}

LONG NTAPI NoteFault(EXCEPTION_POINTERS* Pointers)
{
    const EXCEPTION_RECORD& exception = *Pointers->ExceptionRecord;
    if (!ProcessorFault(exception.ExceptionCode) || InSystemModule(exception.ExceptionAddress))
        return EXCEPTION_CONTINUE_SEARCH;
    for (EXCEPTION_REGISTRATION_RECORD* record = ChainHead();
         record && record != reinterpret_cast<EXCEPTION_REGISTRATION_RECORD*>(-1); record = record->Next) {
        auto* frame = reinterpret_cast<TGuardFrame*>(record);
        if (frame->Mark == GuardMark) {
            if (!frame->Fault)
                frame->Fault = exception.ExceptionCode;
            break;
        }
    }
    return EXCEPTION_CONTINUE_SEARCH;
}

// A stack overflow used up the thread's guard page, the page below the
// stack's committed part whose touch the system reports as an overflow;
// without it the next overflow ends the thread or the process unreported.
// Puts it back on the lowest committed page of the stack, as long as that
// lies well below the stack's current end; false when it does not.
bool RestoreStackGuard()
{
    volatile char here = 0;
    MEMORY_BASIC_INFORMATION region{};
    if (!VirtualQuery(const_cast<char*>(&here), &region, sizeof region))
        return false;
    SYSTEM_INFO system{};
    GetSystemInfo(&system);
    const DWORD page = system.dwPageSize;
    // From the bottom of the stack's reservation up to its first page that
    // can be used: the guard belongs there.
    char* const top = const_cast<char*>(&here);
    for (char* at = static_cast<char*>(region.AllocationBase);;
         at = static_cast<char*>(region.BaseAddress) + region.RegionSize) {
        if (at > top || !VirtualQuery(at, &region, sizeof region))
            return false;
        if (region.State == MEM_COMMIT && (region.Protect & (PAGE_NOACCESS | PAGE_GUARD)) != PAGE_NOACCESS)
            break;
    }
    if (region.Protect & PAGE_GUARD)
        return true;
    char* guard = static_cast<char*>(region.BaseAddress);
    if (guard + 4 * page > top)
        return false;
    DWORD old = 0;
    return VirtualProtect(guard, page, PAGE_READWRITE | PAGE_GUARD, &old);
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

// The guarded call itself: the code of the fault it met, or 0 when it
// returned without one.
__attribute__((noinline)) DWORD CallInFrame(const std::function<void()>& Call, std::exception_ptr& Error)
{
    TGuardFrame frame{};
    frame.Record.Next = ChainHead();
    frame.Record.Handler = GuardHandler;
    frame.Mark = GuardMark;
    if (__builtin_setjmp(frame.Resume) == 0) {
        SetChainHead(&frame.Record);
        CallCatching(Call, Error);
        SetChainHead(frame.Record.Next);
        return frame.Fault;
    }
    // Resumed by the handler: the unwinding left the guard at the head of the chain.
    SetChainHead(frame.Record.Next);
    TGuardFrame* volatile resumed = &frame;
    return resumed->Fault;
}

// The thread that holds the process's loader lock, or 0: the lock is a
// critical section whose address the process environment block keeps (at
// 0xA0 in a 32-bit process), and its owner's field holds a thread id.
DWORD LoaderLockOwner()
{
    const char* environment;
    __asm__ __volatile__("movl %%fs:0x30, %0" : "=r"(environment));
    const auto* lock = *reinterpret_cast<RTL_CRITICAL_SECTION* const*>(environment + 0xA0);
    return lock ? static_cast<DWORD>(reinterpret_cast<uintptr_t>(lock->OwningThread)) : 0;
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
    // Registered for the call alone: the module this code is in may be
    // unloaded while the process goes on.
    void* const noting = AddVectoredExceptionHandler(1, NoteFault);
    std::exception_ptr error;
    const DWORD fault = CallInFrame(Call, error);
    if (noting)
        RemoveVectoredExceptionHandler(noting);
    if (fault == EXCEPTION_STACK_OVERFLOW && !RestoreStackGuard())
        // A thread without its guard page is not safe to go on with.
        ExitThread(EXCEPTION_STACK_OVERFLOW);
    if (error)
        std::rethrow_exception(error);
    return fault ? TCallResult::Faulted : TCallResult::Returned;
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
            return LoaderLockOwner() == GetThreadId(worker->Thread) ? TCallResult::HoldsLoader
                                                                   : TCallResult::TimedOut;
        WaitForSingleObject(worker->Done, INFINITE);
    }
    const TCallResult result = worker->Result;
    if (result == TCallResult::Returned)
        IdleWorker.Put(std::move(worker));
    return result;
}

} // namespace platform
