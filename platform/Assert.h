// The invariant assertion of the graphics library. It stays active in every
// build: a failure is a programming error that ends the program after
// telling the user where it happened.
#pragma once

#include "platform/Exceptions.h"

namespace platform {

// Raised only when the system-services object lets the program live on
// after the report (a test double does).
class EAssertionFailed : public Exception {
public:
    using Exception::Exception;
};

// Shows "Assertion failed: <Expression>, file <Source>, line <Line>" in a
// message box titled with the program's file name, then ends the process
// with exit code 3.
[[noreturn]] void AssertionFailed(const char* Expression, const char* Source, int Line);

} // namespace platform

// The expression text is reported exactly as written at the call.
#define PLATFORM_ASSERT(expr, source) \
    ((expr) ? static_cast<void>(0) : ::platform::AssertionFailed(#expr, source, __LINE__))
