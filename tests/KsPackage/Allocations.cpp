#include "Allocations.h"

#include <cstdlib>
#include <new>

long LiveAllocations = 0;
long AllocationsBeforeFailure = -1;

void* operator new(std::size_t size)
{
    if (AllocationsBeforeFailure >= 0 && AllocationsBeforeFailure-- == 0)
        throw std::bad_alloc();
    void* p = std::malloc(size ? size : 1);
    if (!p)
        throw std::bad_alloc();
    ++LiveAllocations;
    return p;
}

// The replacement pair itself takes its memory from malloc.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
void operator delete(void* p) noexcept
{
    if (!p)
        return;
    --LiveAllocations;
    std::free(p);
}
#pragma GCC diagnostic pop

void operator delete(void* p, std::size_t) noexcept
{
    operator delete(p);
}

long FirstLeakingFailure(const std::function<void()>& Make)
{
    Make();
    AllocationsBeforeFailure = 1 << 30;
    Make();
    const long total = (1 << 30) - AllocationsBeforeFailure;
    AllocationsBeforeFailure = -1;
    for (long failing = 0; failing < total; ++failing) {
        const long before = LiveAllocations;
        AllocationsBeforeFailure = failing;
        try {
            Make();
        } catch (...) {
        }
        AllocationsBeforeFailure = -1;
        if (LiveAllocations != before)
            return failing;
    }
    return -1;
}
