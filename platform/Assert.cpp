#include "platform/Assert.h"
#include "platform/SystemServices.h"

#include <vector>

namespace platform {

namespace {

// The running program's file name without its folder.
std::string ProgramFileName()
{
    std::vector<char> path(MAX_PATH);
    for (;;) {
        const DWORD length = GetModuleFileNameA(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0)
            return std::string();
        if (length < path.size()) {
            const std::string full(path.data(), length);
            const size_t slash = full.find_last_of("\\/");
            return slash == std::string::npos ? full : full.substr(slash + 1);
        }
        path.resize(path.size() * 2);
    }
}

// A second failure while the first report is still on screen (a paint
// handler run by the message box's own loop) ends the program without
// stacking up boxes.
bool Reporting = false;

} // namespace

void AssertionFailed(const char* Expression, const char* Source, int Line)
{
    const std::string text = Format("Assertion failed: %s, file %s, line %d", Expression ? Expression : "",
                                    Source ? Source : "", Line);
    if (!Reporting) {
        Reporting = true;
        try {
            SystemServices().ShowMessageBox(nullptr, text, ProgramFileName(), MB_OK | MB_ICONERROR);
        } catch (...) {
        }
        Reporting = false;
    }
    SystemServices().ExitProcess(3);
    throw EAssertionFailed(text);
}

} // namespace platform
