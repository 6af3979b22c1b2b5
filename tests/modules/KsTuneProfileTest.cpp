#include "ModuleHarness.h"

#include <gtest/gtest.h>

using namespace moduletest;

namespace {

// A suite folder with Tessel.ini and Page\, and the built KsTuneProfile.dll.
class KsTuneProfileTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_NE(MakeNewIni, nullptr);
        CreateDirectoryA(Pages().c_str(), nullptr);
    }

    std::string Ini() const { return FSuite.Path() + "Tessel.ini"; }
    std::string Pages() const { return FSuite.Path() + "Page\\"; }
    void AddPage(const std::string& name) const { WriteWholeFile(Pages() + name, "MZ"); }
    std::string Read(const std::string& section, const std::string& key) const
    {
        char value[260];
        GetPrivateProfileStringA(section.c_str(), key.c_str(), "", value, sizeof value, Ini().c_str());
        return value;
    }

    // As Tessel starts: two calls, the flags cleared before the first only.
    void Start()
    {
        CheckSuite = CheckFathom = false;
        MakeNewIni(Ini().c_str(), &CheckSuite, &CheckFathom);
        MakeNewIni(Ini().c_str(), &CheckSuite, &CheckFathom);
    }

    TempFolder FSuite;
    LoadedModule FModule{SuiteBin() + "KsTuneProfile.dll"};
    void(__stdcall* MakeNewIni)(const char*, bool*, bool*) =
        FModule.Entry<void(__stdcall*)(const char*, bool*, bool*)>("MakeNewIni");
    bool CheckSuite = false, CheckFathom = false;
};

} // namespace

TEST_F(KsTuneProfileTest, MakesOneGroupOfThePageModulesAndKeepsEverythingElse)
{
    for (const char* name : {"p10.dll", "p04.dll", "P01.DLL", "p12.dll", "p07.dll", "p02.dll", "p09.dll",
                             "p11.dll", "p03.dll", "p05.dll", "p08.dll", "p06.dll", "p00.ini", "a.txt", "a.dllx"})
        AddPage(name);
    CreateDirectoryA((Pages() + "a.dll").c_str(), nullptr);
    // Settings and tables of the user and the shell, and a section that
    // happens to carry the name the new group would take.
    const std::string before = "[Tessel]\r\nObjectStyle=3\r\n[MESSAGE]\r\ncount=1\r\n1=1024\r\n"
                               "[1024]\r\n1=0,0\r\n[Suite]\r\nnote=mine\r\n";
    WriteWholeFile(Ini(), before);

    Start();
    EXPECT_EQ(Read("Group", "groupcount"), "1");
    std::string group = Read("Group", "1");
    EXPECT_EQ(group, "Suite 2");
    EXPECT_EQ(Read(group, "pagecount"), "9");
    EXPECT_EQ(Read(group, "1"), "P01.DLL");
    for (int j = 2; j <= 9; ++j)
        EXPECT_EQ(Read(group, std::to_string(j)), "p0" + std::to_string(j) + ".dll");
    EXPECT_FALSE(Read(group, "groupid").empty());
    EXPECT_FALSE(Read(group, "style").empty());
    EXPECT_EQ(ReadWholeFile(Ini()).substr(0, before.size()), before) << "the old sections are kept as they were";

    // Later starts find the layout and change nothing, even with a new page.
    const std::string made = ReadWholeFile(Ini());
    AddPage("b.dll");
    Start();
    EXPECT_EQ(ReadWholeFile(Ini()), made);
}

TEST_F(KsTuneProfileTest, LeavesAnExistingLayoutAlone)
{
    const std::string layouts[] = {
        "[Group]\r\ngroupcount=1\r\n1=Tools\r\n[Tools]\r\ngroupid=7\r\npagecount=1\r\nstyle=2\r\n1=Old.dll\r\n",
        "[Group]\r\n1=Tools\r\n", // no count yet, but the user's own start of a layout
        "[Group]\r\ngroupcount=0\r\n",
    };
    AddPage("New.dll");
    for (const std::string& layout : layouts) {
        WriteWholeFile(Ini(), layout);
        Start();
        EXPECT_EQ(ReadWholeFile(Ini()), layout);
    }

    // An empty count is no layout, and nothing is lost by writing one.
    WriteWholeFile(Ini(), "[Group]\r\ngroupcount=\r\n");
    Start();
    EXPECT_EQ(Read(Read("Group", "1"), "1"), "New.dll");

    // Without page modules there is nothing to lay out: no file is written.
    DeleteFileA(Ini().c_str());
    DeleteFileA((Pages() + "New.dll").c_str());
    Start();
    EXPECT_EQ(GetFileAttributesA(Ini().c_str()), INVALID_FILE_ATTRIBUTES);
}

TEST_F(KsTuneProfileTest, SetsTheConflictCheckFlagsAndToleratesNulls)
{
    struct {
        const char* tessel;
        bool suite, fathom;
    } cases[] = {
        {"", true, true},
        {"CheckSuite=0\r\n", false, true},
        {"CheckFathom=0\r\n", true, false},
        {"CheckSuite=Off\r\nCheckFathom= no \r\n", false, false},
        {"CheckSuite=1\r\nCheckFathom=\r\n", true, true},
    };
    for (const auto& c : cases) {
        WriteWholeFile(Ini(), std::string("[Tessel]\r\n") + c.tessel);
        Start();
        EXPECT_EQ(CheckSuite, c.suite) << c.tessel;
        EXPECT_EQ(CheckFathom, c.fathom) << c.tessel;
    }

    CheckSuite = CheckFathom = false;
    MakeNewIni(nullptr, &CheckSuite, &CheckFathom);
    EXPECT_TRUE(CheckSuite && CheckFathom) << "no Tessel.ini: both checks run";
    AddPage("Only.dll");
    MakeNewIni(Ini().c_str(), nullptr, nullptr);
    EXPECT_EQ(Read(Read("Group", "1"), "1"), "Only.dll") << "the layout is made without the flags";
}

TEST_F(KsTuneProfileTest, GroupsTheSuitesOwnPagesAndPutsTheRestInAGroupOfTheirOwn)
{
    for (const char* name :
         {"display.dll", "Settings.dll", "Clock.dll", "Folders.dll", "Extra.dll", "Disks.dll", "Another.dll"})
        AddPage(name);
    WriteWholeFile(Ini(), "[Tools]\r\nnote=mine\r\n");

    Start();
    EXPECT_EQ(Read("Group", "groupcount"), "3");
    EXPECT_EQ(Read("Group", "1"), "Monitor");
    EXPECT_EQ(Read("Group", "2"), "Tools 2") << "a section of that name is the user's";
    EXPECT_EQ(Read("Group", "3"), "Suite");
    // In the order the suite shows them, whatever the letter case on disk.
    EXPECT_EQ(Read("Monitor", "pagecount"), "3");
    EXPECT_EQ(Read("Monitor", "1") + "," + Read("Monitor", "2") + "," + Read("Monitor", "3"),
              "Clock.dll,Disks.dll,display.dll");
    EXPECT_EQ(Read("Tools 2", "pagecount"), "2");
    EXPECT_EQ(Read("Tools 2", "1") + "," + Read("Tools 2", "2"), "Folders.dll,Settings.dll");
    EXPECT_EQ(Read("Suite", "1") + "," + Read("Suite", "2"), "Another.dll,Extra.dll");
    EXPECT_EQ(Read("Monitor", "groupid") + Read("Tools 2", "groupid") + Read("Suite", "groupid"), "123");
    EXPECT_EQ(Read("Tools", "note"), "mine");
}
