#include "shell/SuiteModules.h"

#include "platform/FaultGuard.h"
#include "platform/FilePath.h"

namespace tessel {

void SendCommand(HMODULE Module, int32_t Code, void* Data)
{
    if (!Module)
        return;
    // A module without its entry counts as one that did not load.
    auto entry = reinterpret_cast<TCommandEntry>(reinterpret_cast<void*>(GetProcAddress(Module, "Command")));
    if (entry)
        entry(Code, Data);
}

void CallPageModule(const std::string& PagePath, TGroupRecord& Group, int32_t Page, int32_t Code)
{
    if (PageUnavailable(Group, Page))
        return;
    TPageRecord* record = &Group.Pages[Page];
    // A name that leads out of Page\ is no page of the suite's.
    const std::string path = platform::PathWithin(PagePath, record->FileName);
    if (path.empty())
        return;
    const platform::TCallResult result = platform::RunGuardedWithin(PageCallTimeout, [path, record, Code] {
        HMODULE module = LoadLibraryA(path.c_str());
        if (!module)
            return;
        SendCommand(module, Code, record);
        // Not reached when the call faults: that module stays loaded.
        FreeLibrary(module);
    });
    if (result != platform::TCallResult::Returned)
        MarkPageUnavailable(Group, Page);
}

} // namespace tessel
