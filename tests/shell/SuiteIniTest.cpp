// The suite layout and the message tables, on real INI files in a
// temporary suite folder with page-module doubles.
#include "ShellHarness.h"

#include "shell/SuiteIni.h"
#include "shell/SuiteState.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace tessel;
using namespace shelltest;
using Strings = std::vector<std::string>;

namespace {

class SuiteIni : public TSuiteTest {
protected:
    void SetUp() override
    {
        TSuiteTest::SetUp();
    }
    // Tessel.ini as a start reads it now.
    TIniSnapshot& Startup() { return FStartup.emplace(State->IniPath); }

    std::optional<TIniSnapshot> FStartup;

    // One page INI listing Numbers.
    void PageIni(const std::string& Name, const Strings& Numbers, const std::string& Count = "")
    {
        std::string text = "[MESSAGE]\r\nmessagecount=" + (Count.empty() ? std::to_string(Numbers.size()) : Count) +
                           "\r\n";
        for (size_t n = 0; n < Numbers.size(); ++n)
            text += std::to_string(n + 1) + "=" + Numbers[n] + "\r\n";
        Suite.Write("Page\\" + Name, text);
    }

};

TEST_F(SuiteIni, GroupsAndPagesAreReadAndIntroducedToTheirModules)
{
    Suite.Write("Tessel.ini", "[Group]\r\ngroupcount=2\r\n1=Alpha\r\n2=Beta\r\n"
                              "[Alpha]\r\ngroupid=7\r\npagecount=3\r\nstyle=5\r\n1=A.dll\r\n2=Sub\\B.dll\r\n"
                              "3=Missing.dll\r\n"
                              "[Beta]\r\ngroupid=-2\r\npagecount=1\r\nstyle=x\r\n1=C.dll\r\n");
    Suite.AddModule("Page\\A.dll");
    Suite.AddModule("Page\\Sub\\B.dll");
    Suite.AddModule("Page\\C.dll", "Empty.dll");

    ASSERT_EQ(LoadGroups(*State, Startup()), 2);
    EXPECT_STREQ(State->GroupTable[0].Name, "Alpha");
    EXPECT_EQ(State->GroupTable[0].GroupId, 7);
    EXPECT_EQ(State->GroupTable[0].PageCount, 3);
    EXPECT_EQ(State->GroupTable[0].Style, 5);
    EXPECT_STREQ(State->GroupTable[0].Pages[1].FileName, "Sub\\B.dll");
    EXPECT_STREQ(State->GroupTable[0].Pages[2].FileName, "Missing.dll") << "a module that does not load keeps its name";
    EXPECT_STREQ(State->GroupTable[1].Name, "Beta");
    EXPECT_EQ(State->GroupTable[1].GroupId, -2);
    EXPECT_EQ(State->GroupTable[1].Style, 0);
    EXPECT_STREQ(State->GroupTable[2].Name, "");
    // Each page module gets its own record, in table order; a module without
    // its entry and a missing one are skipped.
    EXPECT_EQ(Suite.Calls(), (Strings{"A Command 2 file=A.dll", "B Command 2 file=Sub\\B.dll"}));

    // Counts outside what one-character keys can name, and an overlong group name.
    Restart();
    const std::string longName(258, 'g');
    Suite.Write("Tessel.ini", "[Group]\r\ngroupcount=12\r\n1=" + longName + "\r\n2=Neg\r\n"
                              "[" + longName + "]\r\npagecount=15\r\n"
                              "[Neg]\r\npagecount=-4\r\n");
    ASSERT_EQ(LoadGroups(*State, Startup()), 9);
    EXPECT_EQ(std::string(State->GroupTable[0].Name), std::string(255, 'g'));
    EXPECT_EQ(State->GroupTable[0].PageCount, 9) << "the section is found by its full name";
    EXPECT_EQ(State->GroupTable[1].PageCount, 0);
    EXPECT_EQ(State->GroupTable[8].PageCount, 0);

    Restart();
    DeleteFileA(Suite.Ini().c_str());
    EXPECT_EQ(LoadGroups(*State, Startup()), 0) << "a missing Tessel.ini has no groups";
    EXPECT_EQ(ReadObjectStyle(Startup()), TStartStyle::QuickBar);
    Suite.Write("Tessel.ini", "[Tessel]\r\nObjectStyle= 3x\r\n");
    EXPECT_EQ(ReadObjectStyle(Startup()), TStartStyle::TrayIcon);
}

TEST_F(SuiteIni, MessageTablesAreRebuiltFromThePages)
{
    Suite.Write("Tessel.ini", "[Group]\r\ngroupcount=2\r\n1=Alpha\r\n2=Beta\r\n"
                              "[Alpha]\r\npagecount=2\r\n1=A.dll\r\n2=Sub\\B.dll\r\n"
                              "[Beta]\r\npagecount=1\r\n1=C.dll\r\n"
                              // A table left from the last start: its sections go, numbers only.
                              "[MESSAGE]\r\ncount=3\r\n1=555\r\n2=Group\r\n3=Tessel\r\n"
                              "[555]\r\n1=0,0\r\n"
                              // A routing section no table listed stays, and is continued.
                              "[400]\r\n1=9,9\r\n"
                              "[Tessel]\r\nObjectStyle=3\r\n");
    PageIni("A.ini", {"1024", "", "300", "1024"});
    PageIni("B.ini", {"01024", "400"});
    PageIni("C.ini", {"300", "Group", "Tessel", "-5", "1024"});
    ASSERT_EQ(LoadGroups(*State, Startup()), 2);

    std::vector<int32_t> ids = RebuildMessageTables(*State, 2);
    EXPECT_EQ(ids, (std::vector<int32_t>{1024, 300, 1024, 400}));
    EXPECT_EQ(Suite.Section("Tessel.ini", "MESSAGE"),
              (Strings{"count=4", "1=1024", "2=300", "3=01024", "4=400"}));
    EXPECT_EQ(Suite.Section("Tessel.ini", "1024"), (Strings{"1=0,0", "2=1,0"})) << "a number listed twice by one page";
    EXPECT_EQ(Suite.Section("Tessel.ini", "300"), (Strings{"1=0,0", "2=1,0"}));
    EXPECT_EQ(Suite.Section("Tessel.ini", "01024"), (Strings{"1=0,1"}));
    EXPECT_EQ(Suite.Section("Tessel.ini", "400"), (Strings{"1=9,9", "2=0,1"}));
    EXPECT_TRUE(Suite.Keys("Tessel.ini", "555").empty()) << "the stale routing section is removed";
    EXPECT_EQ(Suite.Value("Tessel.ini", "Group", "groupcount"), "2") << "a non-number never names a section";
    EXPECT_EQ(Suite.Value("Tessel.ini", "Tessel", "ObjectStyle"), "3");

    // The next start rebuilds the same tables from scratch, whatever pages changed.
    PageIni("A.ini", {"700"});
    EXPECT_EQ(RebuildMessageTables(*State, 2), (std::vector<int32_t>{700, 1024, 400, 300, 1024}));
    EXPECT_EQ(Suite.Section("Tessel.ini", "MESSAGE"),
              (Strings{"count=5", "1=700", "2=01024", "3=400", "4=300", "5=1024"}));
    EXPECT_EQ(Suite.Section("Tessel.ini", "1024"), (Strings{"1=1,0"}));
    EXPECT_EQ(Suite.Section("Tessel.ini", "300"), (Strings{"1=1,0"}));
    EXPECT_EQ(Suite.Section("Tessel.ini", "700"), (Strings{"1=0,0"}));

    // No page messages at all still leaves a table with its count.
    EXPECT_TRUE(RebuildMessageTables(*State, 0).empty());
    EXPECT_EQ(Suite.Section("Tessel.ini", "MESSAGE"), (Strings{"count=0"}));
    EXPECT_TRUE(Suite.Keys("Tessel.ini", "400").empty());
    EXPECT_EQ(Suite.Value("Tessel.ini", "Group", "groupcount"), "2");
}

// The table takes exactly as many numbers as it holds: the last one fits
// with its route, the one after it gets neither.
TEST_F(SuiteIni, TheMessageTableTakesAllTheNumbersItHolds)
{
    std::string ini = "[Group]\r\ngroupcount=1\r\n1=Alpha\r\n[Alpha]\r\npagecount=5\r\n";
    int number = 10000;
    for (char page = '1'; page <= '5'; ++page) {
        ini += std::string{page, '=', 'P', page} + ".dll\r\n";
        Strings numbers;
        for (int n = 0; n < (page < '5' ? MaxPageMessages : 2); ++n)
            numbers.push_back(std::to_string(number++));
        PageIni(std::string{'P', page} + ".ini", numbers);
    }
    Suite.Write("Tessel.ini", ini);
    ASSERT_EQ(LoadGroups(*State, Startup()), 1);
    const std::vector<int32_t> ids = RebuildMessageTables(*State, 1);
    ASSERT_EQ(ids.size(), static_cast<size_t>(MaxMessageEntries));
    EXPECT_EQ(ids.back(), 10000 + MaxMessageEntries - 1);
    const std::string last = std::to_string(10000 + MaxMessageEntries - 1);
    EXPECT_EQ(Suite.Value("Tessel.ini", "MESSAGE", "count"), std::to_string(MaxMessageEntries));
    EXPECT_EQ(Suite.Value("Tessel.ini", "MESSAGE", std::to_string(MaxMessageEntries)), last);
    EXPECT_EQ(Suite.Section("Tessel.ini", last), (Strings{"1=0,3"}));
    const std::string over = std::to_string(10000 + MaxMessageEntries);
    EXPECT_EQ(Suite.Value("Tessel.ini", "MESSAGE", std::to_string(MaxMessageEntries + 1)), "");
    EXPECT_TRUE(Suite.Keys("Tessel.ini", over).empty());
}

TEST_F(SuiteIni, PageIniFilesCannotStallStartUp)
{
    Suite.Write("Tessel.ini", "[Group]\r\ngroupcount=1\r\n1=Alpha\r\n[Alpha]\r\npagecount=1\r\n1=A.dll\r\n");
    PageIni("A.ini", {"1", "2", "3"}, "2000000000");
    ASSERT_EQ(LoadGroups(*State, Startup()), 1);
    EXPECT_EQ(RebuildMessageTables(*State, 1).size(), 3u);
    EXPECT_EQ(PageIniName("Sub\\Foo.dll"), "Foo.ini");
    EXPECT_EQ(PageIniName("x.y"), ".ini");
}

} // namespace
