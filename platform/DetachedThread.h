// Threads that nobody waits for: work that may outlive whoever started it
// (a count the user left while the system is slow to read a folder).
#pragma once

#include <functional>

namespace platform {

// Starts Work on a thread of its own; the module that holds Code stays
// loaded until Work has returned. Raises EOutOfResources when no thread
// can be started.
void StartDetachedThread(const void* Code, std::function<void()> Work);

// Runs Work on a thread of its own and returns at once. The module of the
// caller's code (this template is made in it) stays loaded until Work has
// returned, so unloading it meanwhile never takes code from under Work.
template <class F>
void RunDetached(F Work)
{
    StartDetachedThread(reinterpret_cast<const void*>(&RunDetached<F>), std::function<void()>(std::move(Work)));
}

} // namespace platform
