// Every allocation of the package's test program passes through a counting
// operator new (Allocations.cpp), so that a test can count what is still
// allocated and make one chosen allocation fail.
#pragma once

#include <functional>

extern long LiveAllocations;
extern long AllocationsBeforeFailure; // -1: none fails

// Makes each allocation of Make in turn fail (after a first, complete call
// that makes whatever is made once on first use) and reports the first one
// after which less is freed than was allocated, or -1 when none is.
long FirstLeakingFailure(const std::function<void()>& Make);
