// Calls into code the program does not answer for (a page module of any
// maker), contained: a structured exception that the called code raises and
// does not handle itself (an access violation, an illegal instruction, a
// division by zero, an exception of another language's runtime) abandons
// the call where it stands instead of ending the process, and a call that
// does not return can be given up on.
//
// An abandoned call runs none of its own cleanup beyond what the system's
// unwinding does, so the module it was in must not be trusted again: its
// locks may be held and its data half written. The callers leave it loaded
// and call it no more.
#pragma once

#include <cstdint>
#include <functional>

namespace platform {

enum class TCallResult {
    Returned, // the call returned
    Faulted,  // it raised a structured exception and was abandoned
    TimedOut, // it had not returned in time and was left running
    // As TimedOut, and its thread holds the system's loader lock (it is
    // inside a module's start-up or detach code): no module can be loaded
    // or unloaded in the process, nor the process end by itself, until
    // that call returns.
    HoldsLoader,
};

// Runs Call on this thread. A C++ exception that Call throws passes
// through as it would without the guard. A fault that the system caught
// and passed over inside Call (Wine does so for one inside a window
// procedure that the system called, as in WM_CREATE during CreateWindowEx)
// counts as a fault, though Call ran on to its end. After a stack overflow
// the stack's guard page is put back, so that the next overflow is caught
// as the first was; a thread whose stack has no room left for it ends.
TCallResult RunGuarded(const std::function<void()>& Call);

// Runs Call guarded on a worker thread and waits at most Milliseconds for
// it (TimedOut or HoldsLoader), meanwhile answering the messages that other threads send to this
// thread's windows (so a call that sends one does not wait on the waiting
// thread). A call still running then is left to run on by itself: a thread
// is never ended by force, and Call and what it captured live until it
// returns; its thread then ends. A C++ exception thrown by Call counts as a
// fault. A worker whose call returned in time runs the next call; one whose
// call faulted ends.
TCallResult RunGuardedWithin(uint32_t Milliseconds, std::function<void()> Call);

} // namespace platform
