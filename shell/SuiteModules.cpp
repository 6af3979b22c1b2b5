#include "shell/SuiteModules.h"

#include "platform/FaultGuard.h"
#include "platform/FilePath.h"

namespace tessel {

TGroupRecord GroupTable[GroupTableSize] = {};
int32_t CurrentView = 0;
std::string IniPath;
std::string PagePath;
bool SkipRebootCheck = false;

namespace {
std::string FolderOverride;
}

std::string ProgramFolder()
{
    if (!FolderOverride.empty())
        return FolderOverride;
    char path[MAX_PATH] = {};
    DWORD n = GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string file(path, n < MAX_PATH ? n : 0);
    return file.substr(0, file.find_last_of('\\') + 1);
}

void SetProgramFolder(const std::string& Folder)
{
    FolderOverride = Folder;
    if (!FolderOverride.empty() && FolderOverride.back() != '\\')
        FolderOverride += '\\';
}

void SendCommand(HMODULE Module, int32_t Code, void* Data)
{
    if (!Module)
        return;
    // A module without its entry counts as one that did not load.
    auto entry = reinterpret_cast<TCommandEntry>(reinterpret_cast<void*>(GetProcAddress(Module, "Command")));
    if (entry)
        entry(Code, Data);
}

void CallPageModule(TGroupRecord& Group, int32_t Page, int32_t Code)
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

void ClearGroupTable()
{
    for (TGroupRecord& group : GroupTable) {
        delete[] group.Pages;
        group = TGroupRecord{};
    }
}

} // namespace tessel
