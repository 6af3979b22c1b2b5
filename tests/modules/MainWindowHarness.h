// PageContainer.dll and Bar.dll as the shell drives them, in a suite
// folder of a test's own with the real pages named.
#pragma once

#include "ModuleHarness.h"
#include "support/ProcessWindows.h"

#include "modules/Suite/SuitePage.h"

#include "platform/Application.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

namespace moduletest {

inline void Settle()
{
    for (int i = 0; i < 5; ++i) {
        platform::Application->ProcessMessages();
        Sleep(20);
    }
}

inline std::vector<tessel::TCommandRecord> Requests;
inline void __stdcall RecordRequest(tessel::TCommandRecord* Record)
{
    Requests.push_back(*Record);
}

// PageContainer.dll in a suite folder of its own with the real pages named.
class MainWindow : public ::testing::Test {
protected:
    void SetUp() override
    {
        CreateDirectoryA((Suite.Path() + "Page").c_str(), nullptr);
        for (const char* name : {"PageContainer.dll", "KsMultiLang.dll"})
            CopyFileA((SuiteBin() + name).c_str(), (Suite.Path() + name).c_str(), FALSE);
        Requests.clear();
    }
    void AddPage(const std::string& Name)
    {
        CopyFileA((SuiteBin() + "Page\\" + Name).c_str(), (Suite.Path() + "Page\\" + Name).c_str(), FALSE);
        tessel::TPageRecord& page = Pages.emplace_back();
        std::memset(&page, 0, sizeof page);
        std::snprintf(page.FileName, sizeof page.FileName, "%s", Name.c_str());
    }
    // Registers, the way the shell does, with one group of the pages added.
    void Register()
    {
        std::memset(&Group, 0, sizeof Group);
        std::snprintf(Group.Name, sizeof Group.Name, "Monitor");
        Group.PageCount = static_cast<int32_t>(Pages.size());
        Group.Pages = Pages.data();
        Registration = {RecordRequest, 1, &Group};
        Module = std::make_unique<LoadedModule>(Suite.Path() + "PageContainer.dll");
        Command = Module->Entry<void(__stdcall*)(int32_t, void*)>("Command");
        ASSERT_NE(Command, nullptr);
        Command(tessel::cmdRegister, &Registration);
    }
    // This process's window: another test's Tessel may show one too.
    HWND Window() const
    {
        return testsupport::ProcessWindow(GetCurrentProcessId(), "TFormContainer", "Tessel");
    }
    // Registers Bar with Record and brings it up as the shell's switch to the
    // quick bar does; Shown is this process's quick bar window, on screen.
    static void ShowQuickBar(const LoadedModule& Bar, tessel::TModuleRegistration& Record, HWND& Shown)
    {
        auto command = Bar.Entry<void(__stdcall*)(int32_t, void*)>("Command");
        ASSERT_NE(command, nullptr);
        command(tessel::cmdRegister, &Record);
        char block[1] = {};
        command(tessel::cmdShow, block);
        Settle();
        const std::vector<HWND> bars = testsupport::ProcessWindows(GetCurrentProcessId(), "TFormBar", "Tessel");
        ASSERT_FALSE(bars.empty());
        Shown = bars.back();
        ASSERT_TRUE(IsWindowVisible(Shown));
    }

    TempFolder Suite;
    std::vector<tessel::TPageRecord> Pages;
    tessel::TGroupRecord Group;
    tessel::TModuleRegistration Registration{};
    std::unique_ptr<LoadedModule> Module;
    void(__stdcall* Command)(int32_t, void*) = nullptr;
};

} // namespace moduletest
