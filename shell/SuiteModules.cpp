#include "shell/SuiteModules.h"

#include "platform/FaultGuard.h"
#include "platform/FilePath.h"
#include "platform/SystemServices.h"

#include <cstring>
#include <memory>

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

void CallPageModule(const std::string& PagePath, TPageCalls& Calls, TGroupRecord& Group, int32_t Page, int32_t Code)
{
    if (PageUnavailable(Group, Page))
        return;
    TPageRecord& record = Group.Pages[Page];
    // A name that leads out of Page\ is no page of the suite's.
    const std::string path = platform::PathWithin(PagePath, record.FileName);
    if (path.empty())
        return;
    // The module writes into a copy, taken in when the call returned: one
    // given up on may go on writing into its own long after, while the
    // windows read the record.
    auto copy = std::make_shared<TPageRecord>(record);
    const int slot = Calls.Begin(std::string(record.FileName, strnlen(record.FileName, sizeof record.FileName)));
    const platform::TCallResult result = platform::RunGuardedWithin(PageCallTimeout, [path, copy, Code] {
        HMODULE module = LoadLibraryA(path.c_str());
        if (!module)
            return;
        SendCommand(module, Code, copy.get());
        // Not reached when the call faults: that module stays loaded.
        FreeLibrary(module);
    });
    switch (result) {
    case platform::TCallResult::Returned:
        record = *copy;
        Calls.End(slot);
        return;
    case platform::TCallResult::Faulted:
        Calls.End(slot);
        break;
    case platform::TCallResult::TimedOut:
        // Still under way, and so its entry.
        break;
    case platform::TCallResult::HoldsLoader:
        // Nothing more can be loaded, nor can the process end by itself:
        // the suite starts again, and leaves the page out.
        Calls.MarkHung(slot);
        platform::SystemServices().StartAgain();
        break;
    }
    MarkPageUnavailable(Group, Page);
}

} // namespace tessel
