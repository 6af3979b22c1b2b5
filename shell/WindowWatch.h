// The window thread watched from a thread of its own, so that a page's view
// can neither leave the process without its window thread nor hold it:
// - the window thread ends while the process runs (a view called
//   ExitThread, or the system ended the thread at a stack overflow): the
//   process ends, and the record of page calls names the page that was
//   being called, so that the next start leaves it out and comes up;
// - a call into a view has run for PageCallTimeout ms and the window thread
//   answers no message (a view that never returns, or one whose module
//   hangs in its start-up code): the call is recorded as holding the
//   process, and the suite starts again without the page.
#pragma once

#include "shell/SuiteState.h"

namespace tessel {

// The exit code of a process whose window thread ended.
constexpr UINT WindowThreadEndedExitCode = 0x5B;

// Starts watching the calling thread as the window thread of State.
void WatchWindowThread(TSuiteState& State);

} // namespace tessel
