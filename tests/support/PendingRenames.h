// The renames and deletes that the test prefix's Windows carries out at its
// next boot, two lists in the registry that more than one test program
// changes: such tests take turns on them.
#pragma once

#include "platform/Win32.h"

namespace testsupport {

// Held while it lives; every test program of the session waits for it.
class PendingRenamesTurn {
public:
    PendingRenamesTurn() : FMutex(CreateMutexA(nullptr, FALSE, "Tessel tests: pending renames"))
    {
        WaitForSingleObject(FMutex, INFINITE);
    }
    ~PendingRenamesTurn()
    {
        ReleaseMutex(FMutex);
        CloseHandle(FMutex);
    }
    PendingRenamesTurn(const PendingRenamesTurn&) = delete;
    PendingRenamesTurn& operator=(const PendingRenamesTurn&) = delete;

private:
    HANDLE FMutex;
};

} // namespace testsupport
