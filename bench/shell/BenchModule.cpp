// The page module of the benchmarks, copied once per page of the generated
// suites: it takes every command and every forwarded message and does
// nothing, so that the figures are the suite's own.
#include <cstdint>

extern "C" void __stdcall Command(int32_t, void*)
{
}

extern "C" void __stdcall PageMessage(const void*)
{
}
