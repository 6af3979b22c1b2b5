#include "shell/SuiteState.h"

namespace tessel {

namespace {

TSuiteState* RunningState = nullptr;

std::string WithBackslash(std::string Folder)
{
    if (!Folder.empty() && Folder.back() != '\\')
        Folder += '\\';
    return Folder;
}

} // namespace

TSuiteState::TSuiteState(const std::string& Folder, bool SkipRebootCheck)
    : ProgramFolder(WithBackslash(Folder)), IniPath(ProgramFolder + "Tessel.ini"),
      PagePath(ProgramFolder + "Page\\"), SkipRebootCheck(SkipRebootCheck), PageCalls(ProgramFolder + "Tessel.run")
{
    RunningState = this;
}

TSuiteState::~TSuiteState()
{
    for (TGroupRecord& group : GroupTable)
        delete[] group.Pages;
    if (RunningState == this)
        RunningState = nullptr;
}

TSuiteState& TSuiteState::Running()
{
    return *RunningState;
}

} // namespace tessel
