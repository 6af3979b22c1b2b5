#include "shell/SuiteModules.h"

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

void SendCommandOnce(const std::string& Path, int32_t Code, void* Data)
{
    HMODULE module = LoadLibraryA(Path.c_str());
    if (!module)
        return;
    SendCommand(module, Code, Data);
    FreeLibrary(module);
}

void ClearGroupTable()
{
    for (TGroupRecord& group : GroupTable) {
        delete[] group.Pages;
        group = TGroupRecord{};
    }
}

} // namespace tessel
