// The record of page calls under way, as the next start reads it: a process
// that did not close leaves the calls it was in the middle of, one that
// closed leaves none, and a damaged entry names no page.
#include "ShellHarness.h"
#include "TesselProcess.h"

#include "shell/PageCalls.h"
#include "shell/SuiteModules.h"

#include "platform/Win32.h"
#include "support/Files.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>

using tessel::TPageCalls;

namespace {

class PageCallsTest : public ::testing::Test {
protected:
    // What a new start finds, after the record of the process before it
    // was left as it stood.
    std::vector<std::string> NextStart(std::unique_ptr<TPageCalls>& Calls, bool* Hung = nullptr)
    {
        Calls.reset();
        Calls = std::make_unique<TPageCalls>(Path());
        std::vector<std::string> pages;
        for (const TPageCalls::TLeftCall& left : Calls->LeftCalls()) {
            pages.push_back(left.Page);
            if (Hung)
                *Hung = left.Hung;
        }
        return pages;
    }
    std::string Path() const { return Folder.Path() + "Tessel.run"; }

    testsupport::TempFolder Folder;
};

using Pages = std::vector<std::string>;

TEST_F(PageCallsTest, TheNextStartFindsTheCallsThatWereUnderWay)
{
    auto calls = std::make_unique<TPageCalls>(Path());
    EXPECT_TRUE(calls->LeftCalls().empty()) << "a new record";

    // Ended calls leave nothing; the one under way is found, once.
    calls->End(calls->Begin("Clock.dll"));
    calls->BeginView("Display.dll");
    calls->EndView();
    const int slot = calls->Begin("Sub\\Disks.dll");
    EXPECT_GT(slot, 0);
    bool hung = true;
    EXPECT_EQ(NextStart(calls, &hung), Pages{"Sub\\Disks.dll"});
    EXPECT_FALSE(hung);
    EXPECT_TRUE(NextStart(calls).empty()) << "read once, then cleared";

    // A view call, and one given up on as holding the process.
    calls->BeginView("Display.dll");
    EXPECT_NE(calls->ViewCall(), 0u);
    EXPECT_EQ(NextStart(calls), Pages{"Display.dll"});
    EXPECT_EQ(calls->ViewCall(), 0u);
    calls->MarkHung(calls->Begin("Folders.dll"));
    EXPECT_EQ(NextStart(calls, &hung), Pages{"Folders.dll"});
    EXPECT_TRUE(hung);

    // A process that closed leaves nothing, whatever was under way.
    calls->Begin("Clock.dll");
    calls->BeginView("Display.dll");
    calls->Close();
    EXPECT_TRUE(NextStart(calls).empty());
}

TEST_F(PageCallsTest, CallsLeftRunningKeepTheirEntries)
{
    // Calls given up on stay under way; the others take the entries left.
    auto calls = std::make_unique<TPageCalls>(Path());
    Pages running;
    for (int i = 1; i < TPageCalls::Slots; ++i) {
        running.push_back(std::string("P").append(std::to_string(i)).append(".dll"));
        EXPECT_NE(calls->Begin(running.back()), -1);
    }
    EXPECT_EQ(calls->Begin("More.dll"), -1) << "no entry left";
    calls->BeginView("View.dll");
    running.insert(running.begin(), "View.dll");
    EXPECT_EQ(NextStart(calls), running);
}

TEST_F(PageCallsTest, ADamagedEntryNamesNoPage)
{
    auto calls = std::make_unique<TPageCalls>(Path());
    calls->Begin("Clock.dll");
    calls->Begin("Disks.dll");
    calls.reset();
    // One byte of the first worker entry's name changed, as a write cut
    // short leaves it.
    std::string bytes = testsupport::ReadWholeFile(Path());
    const size_t at = bytes.find("Clock.dll");
    ASSERT_NE(at, std::string::npos);
    bytes[at] = 'K';
    testsupport::WriteWholeFile(Path(), bytes);
    EXPECT_EQ(NextStart(calls), Pages{"Disks.dll"});

    // Whatever else the file holds names nothing.
    calls.reset();
    testsupport::WriteWholeFile(Path(), std::string(8192, 'x'));
    EXPECT_TRUE(NextStart(calls).empty());
}

class PageModuleCalls : public shelltest::TSuiteTest {};

TEST_F(PageModuleCalls, ACallGivenUpOnWritesIntoItsOwnCopyOfTheRecord)
{
    using namespace tessel;
    Suite.AddModule("Page\\Quick.dll");
    Suite.AddModule("Page\\Late.dll");
    Suite.Double("Quick", "Tip", "on time");
    Suite.Double("Late", "Late", "8");
    TPageRecord pages[2] = {};
    TGroupRecord group{};
    group.PageCount = 2;
    group.Pages = pages;
    std::strcpy(pages[0].FileName, "Quick.dll");
    std::strcpy(pages[1].FileName, "Late.dll");

    // What a call that returned wrote is the page's.
    CallPageModule(State->PagePath, State->PageCalls, group, 0, cmdTips);
    EXPECT_FALSE(PageUnavailable(group, 0));
    EXPECT_STREQ(pages[0].ModuleData2, "on time");

    // One given up on writes on into its copy, never into the record the
    // windows read; its page is called no more.
    CallPageModule(State->PagePath, State->PageCalls, group, 1, cmdTips);
    EXPECT_TRUE(PageUnavailable(group, 1));
    ASSERT_TRUE(shelltest::WaitForCall(Suite, "Late late", 15000));
    EXPECT_STREQ(pages[1].ModuleData2, "");
    Suite.ClearCalls();
    CallPageModule(State->PagePath, State->PageCalls, group, 1, cmdTips);
    EXPECT_TRUE(Suite.Calls().empty());
}

} // namespace
