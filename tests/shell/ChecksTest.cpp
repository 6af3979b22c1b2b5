// The start-up checks and the privilege functions, with the system services
// replaced: the reboot question and its answers (the restart itself is only
// recorded), the conflict checks against real registry keys of the test
// prefix, and privilege changes on the process's real token.
#include "RecordingServices.h"
#include "ShellHarness.h"

#include "shell/MainFram.h"
#include "shell/MsgFrm.h"
#include "shell/SuiteModules.h"
#include "shell/Toolfunction.h"

#include "platform/Application.h"

#include <gtest/gtest.h>

using namespace tessel;
using namespace shelltest;
using Strings = std::vector<std::string>;

namespace {

const std::string RebootQuestion =
    "box Tessel 65796: System needs to reboot for using the application. Do you want to reboot now?";

class Checks : public TSuiteTest {
protected:
    void CreateKey(const char* Key) { ASSERT_TRUE(Keys.Create(Key)); }

    TRecordingServices Services;
    TMachineKeys Keys;
};

TEST_F(Checks, RebootQuestionAndItsAnswers)
{
    // No KsIO.dll: a reboot counts as needed. No ends the process with 1.
    Services.Answer = IDNO;
    EXPECT_FALSE(CheckRebootNeeded());
    EXPECT_EQ(Services.Log, (Strings{RebootQuestion, "exit 1"}));

    // A module without its entry asks the same.
    Services.Log.clear();
    Suite.AddModule("KsIO.dll", "Empty.dll");
    EXPECT_FALSE(CheckRebootNeeded());
    EXPECT_EQ(Services.Log, (Strings{RebootQuestion, "exit 1"}));

    // The module says no reboot: nothing is shown.
    Services.Log.clear();
    Suite.AddModule("KsIO.dll");
    EXPECT_TRUE(CheckRebootNeeded());
    EXPECT_TRUE(Services.Log.empty());
    EXPECT_EQ(Suite.Calls(), (Strings{"KsIO KSIO_CheckReboot"}));

    // Yes: the restart is asked for under the shutdown privilege, and start-up goes on.
    Suite.Double("KsIO", "Reboot", "1");
    Suite.AddModule("KsMultiLang.dll");
    Suite.Double("KsMultiLang", "Prefix", "[th]");
    LoadLanguage(0);
    Services.Log.clear();
    Services.Answer = IDYES;
    EXPECT_TRUE(CheckRebootNeeded());
    EXPECT_EQ(Services.Log,
              (Strings{"box Tessel 65796: [th]System needs to reboot for using the application. Do you want to "
                       "reboot now?",
                       "privilege SeShutdownPrivilege 2", "restart 6 0", "privilege SeShutdownPrivilege 0"}));

    // The privilege refused: no restart request, and the privilege is still switched off.
    Services.Log.clear();
    Services.PrivilegeError = ERROR_NOT_ALL_ASSIGNED;
    EXPECT_TRUE(CheckRebootNeeded());
    EXPECT_EQ(Services.Log, (Strings{"box Tessel 65796: [th]System needs to reboot for using the application. Do "
                                     "you want to reboot now?",
                                     "privilege SeShutdownPrivilege 2", "privilege SeShutdownPrivilege 0"}));
}

TEST_F(Checks, PrivilegesChangeTheProcessToken)
{
    EXPECT_TRUE(EnablePrivilege("SeShutdownPrivilege"));
    EXPECT_TRUE(DisablePrivilege("SeShutdownPrivilege"));
    EXPECT_EQ(Services.Log, (Strings{"privilege SeShutdownPrivilege 2", "privilege SeShutdownPrivilege 0"}));

    Services.Log.clear();
    EXPECT_FALSE(EnablePrivilege("SeNoSuchPrivilege")) << "an unknown name is refused before the token is touched";
    EXPECT_TRUE(Services.Log.empty());
    Services.PrivilegeError = ERROR_NOT_ALL_ASSIGNED;
    EXPECT_FALSE(EnablePrivilege("SeBackupPrivilege")) << "a privilege the account does not hold";

    // The real adjustment through the system, which answers whether every change was made.
    platform::SetSystemServices(nullptr);
    EXPECT_TRUE(EnablePrivilege("SeShutdownPrivilege"));
    EXPECT_TRUE(DisablePrivilege("SeShutdownPrivilege"));
    platform::SetSystemServices(&Services);
}

TEST_F(Checks, ConflictingProductsEndTheProcessAfterOneMessage)
{
    const std::string secondLine = "\nPress \"OK\" to close this application.";
    EXPECT_FALSE(CheckSuiteConflicts());
    EXPECT_FALSE(CheckFathomConflicts());
    EXPECT_TRUE(Services.Log.empty());
    EXPECT_FALSE(platform::Application->Terminated());

    CreateKey("SOFTWARE\\Korvane");
    CreateKey("SOFTWARE\\Korvane\\Dunmore");
    CreateKey("SOFTWARE\\Korvane\\Bellwether2");
    CreateKey("SOFTWARE\\Korvane\\Fathom II");
    CreateKey("SOFTWARE\\Korvane\\Bellwether2x");
    EXPECT_TRUE(CheckFathomConflicts());
    EXPECT_TRUE(CheckSuiteConflicts());
    EXPECT_EQ(Services.Log,
              (Strings{"box Tessel 0: Please uninstall \"Fathom II\" because it will conflict with Tessel." + secondLine,
                       "box Tessel 0: Please uninstall \"Bellwether2\" because it will conflict with Tessel." +
                           secondLine}))
        << "only the first product of each check is named";
    EXPECT_TRUE(platform::Application->Terminated());
}

} // namespace
