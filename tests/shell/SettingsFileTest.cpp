// Tessel.ini as the running suite keeps it: the real quick bar writes its
// place there while a test watches the file and kills the process the
// moment a write begins, and a run that changes nothing leaves the file
// untouched.
#include "TesselProcess.h"

#include <gtest/gtest.h>

using namespace shelltest;

namespace {

class SettingsFile : public ::testing::Test {
protected:
    void SetUp() override
    {
        Suite.AddSiblings();
        for (const char* module : {"PageContainer.dll", "Bar.dll"})
            CopyFileA((SuiteBin() + module).c_str(), (Suite.Path() + module).c_str(), FALSE);
        Suite.AddModule("Page\\Alert.dll");
        // A settings file the size of a long-used one, in many sections.
        Layout = "[Tessel]\r\nObjectStyle=0\r\n[Group]\r\ngroupcount=1\r\n1=Monitor\r\n"
                 "[Monitor]\r\ngroupid=1\r\nstyle=0\r\npagecount=1\r\n1=Alert.dll\r\n";
        for (int n = 0; n < 6000; ++n)
            Layout += "[Notes" + std::to_string(n) + "]\r\nnote=" + std::string(90, 'n') + "\r\n";
        Suite.Write("Tessel.ini", Layout + "[MESSAGE]\r\ncount=0\r\n");
    }

    WIN32_FILE_ATTRIBUTE_DATA Attributes(const std::string& Name) const
    {
        WIN32_FILE_ATTRIBUTE_DATA data{};
        if (!GetFileAttributesExA((Suite.Path() + Name).c_str(), GetFileExInfoStandard, &data))
            data.dwFileAttributes = INVALID_FILE_ATTRIBUTES;
        return data;
    }
    HWND Bar() const { return Tessel.Window("TFormBar", "Tessel"); }

    std::string Layout;
    TSuiteFolder Suite;
    TTesselProcess Tessel{Suite};
};

TEST_F(SettingsFile, AKillDuringAModulesWriteLeavesTheSettingsWhole)
{
    for (int round = 0; round < 5; ++round) {
        SCOPED_TRACE("round " + std::to_string(round));
        ASSERT_TRUE(Tessel.Start());
        ASSERT_NE(Tessel.WaitMainForm(), nullptr);
        ASSERT_TRUE(WaitFor([&] { return Bar() && IsWindowVisible(Bar()); }, 8000));
        Sleep(200);

        // The bar keeps each new place; the process is killed as soon as the
        // file or anything beside it changes.
        const WIN32_FILE_ATTRIBUTE_DATA before = Attributes("Tessel.ini");
        SetWindowPos(Bar(), nullptr, 100 + 40 * round, 150, 0, 0,
                     SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_ASYNCWINDOWPOS);
        bool seen = false;
        for (const DWORD start = GetTickCount(); !seen && GetTickCount() - start < 5000;) {
            const WIN32_FILE_ATTRIBUTE_DATA now = Attributes("Tessel.ini");
            seen = Attributes("Tessel.ini.new").dwFileAttributes != INVALID_FILE_ATTRIBUTES ||
                   now.nFileSizeLow != before.nFileSizeLow ||
                   CompareFileTime(&now.ftLastWriteTime, &before.ftLastWriteTime) != 0;
        }
        Tessel.Kill();
        ASSERT_TRUE(seen) << "the bar's move was written";

        // The old file or the new one, whole.
        const std::string text = Suite.Read("Tessel.ini");
        EXPECT_TRUE(text.compare(0, Layout.size(), Layout) == 0) << text.size() << " bytes";
        EXPECT_EQ(Suite.Value("Tessel.ini", "Group", "groupcount"), "1");
        EXPECT_EQ(Suite.Value("Tessel.ini", "Notes5999", "note"), std::string(90, 'n'));
    }

    // The next start reads the last place whole, and goes on writing.
    ASSERT_TRUE(Tessel.Start());
    ASSERT_NE(Tessel.WaitMainForm(), nullptr);
    ASSERT_TRUE(WaitFor([&] { return Bar() && IsWindowVisible(Bar()); }, 8000));
    SetWindowPos(Bar(), nullptr, 333, 222, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    EXPECT_TRUE(WaitFor([&] { return Suite.Value("Tessel.ini", "Bar", "Left") == "333"; }, 5000));
    PostMessageA(Tessel.WaitMainForm(), WM_SYSCOMMAND, SC_CLOSE, 0);
    EXPECT_EQ(Tessel.WaitExit(), 0);
    EXPECT_EQ(Suite.Value("Tessel.ini", "Bar", "Top"), "222");
    EXPECT_EQ(Attributes("Tessel.ini.new").dwFileAttributes, INVALID_FILE_ATTRIBUTES);
}

TEST_F(SettingsFile, ARunThatChangesNothingWritesNothing)
{
    // The first runs settle the places and the message table (which the
    // start-up rebuild moves to the end of the file); the last changes nothing.
    for (int run = 0; run < 3; ++run) {
        const WIN32_FILE_ATTRIBUTE_DATA before = Attributes("Tessel.ini");
        const std::string text = Suite.Read("Tessel.ini");
        ASSERT_TRUE(Tessel.Start());
        HWND form = Tessel.WaitMainForm();
        ASSERT_NE(form, nullptr);
        ASSERT_TRUE(WaitFor([&] { return Bar() && IsWindowVisible(Bar()); }, 8000));
        PostMessageA(form, WM_SYSCOMMAND, SC_CLOSE, 0);
        EXPECT_EQ(Tessel.WaitExit(), 0);
        if (run == 2) {
            const WIN32_FILE_ATTRIBUTE_DATA after = Attributes("Tessel.ini");
            EXPECT_EQ(CompareFileTime(&after.ftLastWriteTime, &before.ftLastWriteTime), 0);
            const std::string now = Suite.Read("Tessel.ini");
            EXPECT_TRUE(now == text) << "now ends: " << now.substr(Layout.size()) << "\nbefore: "
                                     << text.substr(Layout.size());
        }
    }
}

} // namespace
