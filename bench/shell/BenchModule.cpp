// The page module of the shell benchmark, copied once per page of the
// generated suites: it takes every command and does nothing, so that the
// figures are the suite's own.
#include <cstdint>

extern "C" void __stdcall Command(int32_t, void*)
{
}
