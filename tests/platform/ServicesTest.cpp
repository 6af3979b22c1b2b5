#include "platform/Assert.h"
#include "platform/DateTime.h"
#include "platform/Registry.h"
#include "platform/Resources.h"
#include "InterceptedServices.h"

#include <gtest/gtest.h>
#include <sddl.h>

#include <cmath>
#include <tuple>

using namespace platform;

namespace {

// Each test keeps its keys under a name of its own below the common prefix.
class RegistryKeys : public ::testing::Test {
protected:
    void SetUp() override
    {
        Path = "\\Software\\TesselTest\\" + std::string(testing::UnitTest::GetInstance()->current_test_info()->name()) +
               std::to_string(GetCurrentProcessId());
        TRegistry().DeleteKey(Path);
    }
    void TearDown() override
    {
        TRegistry().DeleteKey(Path);
        RegDeleteKeyA(HKEY_CURRENT_USER, "Software\\TesselTest"); // only once empty
    }
    std::string Path;
};

} // namespace

TEST_F(RegistryKeys, CreateOpenReadWriteDelete)
{
    TRegistry reg;
    EXPECT_EQ(reg.RootKey(), HKEY_CURRENT_USER);
    EXPECT_EQ(reg.Access(), static_cast<REGSAM>(KEY_ALL_ACCESS));
    EXPECT_FALSE(reg.KeyExists(Path));
    EXPECT_FALSE(reg.OpenKey(Path, false));
    ASSERT_TRUE(reg.OpenKey(Path, true));
    EXPECT_EQ(reg.CurrentPath(), Path.substr(1));

    const std::string longText(3000, 'x');
    reg.WriteString("Name", "Tessel");
    reg.WriteString("Empty", "");
    reg.WriteString("Long", longText);
    EXPECT_EQ(reg.ReadString("Name"), "Tessel");
    EXPECT_EQ(reg.ReadString("Long"), longText);
    EXPECT_TRUE(reg.ValueExists("Empty"));
    EXPECT_FALSE(reg.ValueExists("Missing"));
    EXPECT_EQ(reg.ReadString("Missing"), "");
    // Text stored without its terminating zero; a number is no text.
    RegSetValueExA(reg.CurrentKey(), "Raw", 0, REG_SZ, reinterpret_cast<const BYTE*>("abc"), 3);
    EXPECT_EQ(reg.ReadString("Raw"), "abc");
    const DWORD number = 7;
    RegSetValueExA(reg.CurrentKey(), "Number", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&number), 4);
    EXPECT_THROW(reg.ReadString("Number"), ERegistryException);

    // Relative paths continue from the open key; a failed open keeps it.
    ASSERT_TRUE(reg.OpenKey("Child\\Grandchild", true));
    EXPECT_EQ(reg.CurrentPath(), Path.substr(1) + "\\Child\\Grandchild");
    EXPECT_FALSE(reg.OpenKey("NoSuchKey", false));
    EXPECT_EQ(reg.CurrentPath(), Path.substr(1) + "\\Child\\Grandchild");
    EXPECT_TRUE(reg.KeyExists(Path + "\\Child"));
    EXPECT_FALSE(reg.KeyExists("Child"));

    ASSERT_TRUE(reg.OpenKeyReadOnly(Path));
    EXPECT_EQ(reg.ReadString("Name"), "Tessel");
    EXPECT_THROW(reg.WriteString("Name", "x"), ERegistryException);
    reg.CloseKey();
    EXPECT_EQ(reg.CurrentKey(), nullptr);

    // The whole tree goes; an empty path names no key to delete.
    EXPECT_FALSE(reg.DeleteKey("\\"));
    EXPECT_TRUE(reg.DeleteKey(Path));
    EXPECT_FALSE(reg.KeyExists(Path));
}

TEST_F(RegistryKeys, KeyThatMayOnlyBeRead)
{
    const std::string locked = Path + "\\Locked";
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, locked.c_str() + 1, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key,
                              nullptr),
              ERROR_SUCCESS);
    auto setDacl = [](HKEY k, const char* sddl) {
        PSECURITY_DESCRIPTOR sd = nullptr;
        ConvertStringSecurityDescriptorToSecurityDescriptorA(sddl, SDDL_REVISION_1, &sd, nullptr);
        EXPECT_EQ(RegSetKeySecurity(k, DACL_SECURITY_INFORMATION, sd), ERROR_SUCCESS);
        LocalFree(sd);
        RegCloseKey(k);
    };
    setDacl(key, "D:P(A;;KR;;;WD)");

    TRegistry full;
    EXPECT_TRUE(full.KeyExists(locked));
    EXPECT_FALSE(full.OpenKey(locked, false)) << "exists, but not with full access";
    EXPECT_FALSE(full.OpenKey(locked, true));
    EXPECT_TRUE(full.OpenKeyReadOnly(locked));
    EXPECT_TRUE(TRegistry(KEY_READ).OpenKey(locked, false));

    ASSERT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, locked.c_str() + 1, 0, WRITE_DAC, &key), ERROR_SUCCESS);
    setDacl(key, "D:(A;;KA;;;WD)"); // so that it can be deleted
}

TEST(Registry, LocalMachineAsTheStartUpChecksUseIt)
{
    TRegistry reg;
    reg.SetRootKey(HKEY_LOCAL_MACHINE);
    EXPECT_FALSE(reg.OpenKey("SOFTWARE\\TesselNoSuchVendor\\Product", false));
    EXPECT_FALSE(reg.KeyExists("SOFTWARE\\TesselNoSuchVendor\\Product"));
    ASSERT_TRUE(reg.OpenKeyReadOnly("SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion"));
    EXPECT_FALSE(reg.ReadString("CurrentVersion").empty());
    reg.SetRootKey(HKEY_CURRENT_USER);
    EXPECT_EQ(reg.CurrentKey(), nullptr) << "a new root closes the key of the old one";
}

TEST(Resources, LoadStr)
{
    EXPECT_EQ(LoadStr(4096), "First of the block");
    EXPECT_EQ(LoadStr(4101), "Cannot Remove System Shell Notification Icon");
    EXPECT_EQ(LoadStr(4111), "Last of the block");
    const std::string longText = LoadStr(4105);
    ASSERT_EQ(longText.size(), 300u);
    EXPECT_EQ(longText.substr(297), "lmn");
    for (int missing : {4100, 4112, -1, 0x10000})
        EXPECT_EQ(LoadStr(missing), "") << missing;
}

TEST(DateTime, EncodeAndDecode)
{
    EXPECT_EQ(EncodeDate(1899, 12, 30), 0.0);
    EXPECT_EQ(EncodeDate(1900, 1, 1), 2.0);
    EXPECT_EQ(EncodeDate(1899, 12, 29), -1.0);
    EXPECT_EQ(EncodeDate(2009, 3, 17), 39889.0);
    EXPECT_EQ(EncodeDate(1, 1, 1), -693593.0);
    EXPECT_EQ(EncodeDate(9999, 12, 31), 2958465.0);
    EXPECT_EQ(EncodeTime(6, 0, 0, 0), 0.25);

    int y, m, d, h, n, s, ms;
    for (int day = EncodeDate(1896, 1, 1); day <= EncodeDate(1904, 12, 31); ++day) {
        DecodeDate(day, y, m, d);
        ASSERT_EQ(EncodeDate(y, m, d), day);
    }
    DecodeDate(EncodeDate(2000, 2, 29), y, m, d);
    EXPECT_EQ(std::tie(y, m, d), std::make_tuple(2000, 2, 29));

    const TDateTime stamp = EncodeDate(2009, 3, 17) + EncodeTime(9, 5, 30, 250);
    DecodeDate(stamp, y, m, d);
    DecodeTime(stamp, h, n, s, ms);
    EXPECT_EQ(std::tie(y, m, d, h, n, s, ms), std::make_tuple(2009, 3, 17, 9, 5, 30, 250));
    // Before 1899 the fraction still counts forward from midnight.
    DecodeDate(-1.25, y, m, d);
    DecodeTime(-1.25, h, n, s, ms);
    EXPECT_EQ(std::tie(y, m, d, h, n, s, ms), std::make_tuple(1899, 12, 29, 6, 0, 0, 0));
    DecodeDate(EncodeDate(1752, 9, 14), y, m, d);
    EXPECT_EQ(std::tie(y, m, d), std::make_tuple(1752, 9, 14));
    // A time that rounds up to midnight moves the date with it: never 24:00.
    DecodeDate(39889.9999999999, y, m, d);
    DecodeTime(39889.9999999999, h, n, s, ms);
    EXPECT_EQ(std::tie(y, m, d, h, n, s, ms), std::make_tuple(2009, 3, 18, 0, 0, 0, 0));

    EXPECT_THROW(EncodeDate(2009, 2, 29), EConvertError);
    EXPECT_THROW(EncodeDate(1900, 2, 29), EConvertError);
    EXPECT_THROW(EncodeDate(2009, 4, 31), EConvertError);
    EXPECT_THROW(EncodeDate(0, 1, 1), EConvertError);
    EXPECT_THROW(EncodeTime(24, 0, 0, 0), EConvertError);
    EXPECT_THROW(EncodeTime(0, 0, 0, 1000), EConvertError);
    EXPECT_THROW(EncodeTime(-1, 0, 0, 0), EConvertError);
    EXPECT_THROW(DecodeDate(1e300, y, m, d), EConvertError);
    EXPECT_THROW(DecodeTime(std::nan(""), h, n, s, ms), EConvertError);
}

TEST(DateTime, NowIsTheLocalTime)
{
    SYSTEMTIME t{};
    GetLocalTime(&t);
    const double reference = EncodeDate(t.wYear, t.wMonth, t.wDay) +
                             EncodeTime(t.wHour, t.wMinute, t.wSecond, t.wMilliseconds);
    EXPECT_GT(reference, EncodeDate(2020, 1, 1));
    EXPECT_NEAR(Now(), reference, 1.0 / 1440);
}

TEST(Assert, ReportedThroughTheSystemServices)
{
    TInterceptedServices services;
    int evaluated = 0;
    const int m_width = 5, m_height = 2;
    PLATFORM_ASSERT((++evaluated, m_width >=0 && m_height >=0), "loom/Graphics/Source/WinRegion");
    EXPECT_EQ(evaluated, 1);
    EXPECT_TRUE(services.Boxes.empty());

    const int m_depth = -1;
    const int line = __LINE__ + 2;
    try {
        PLATFORM_ASSERT(m_depth >=0 && m_height >=0, "loom/Graphics/Source/WinRegion");
        FAIL() << "the assertion did not fire";
    } catch (const EAssertionFailed& e) {
        const std::string expected = "Assertion failed: m_depth >=0 && m_height >=0, file "
                                     "loom/Graphics/Source/WinRegion, line " + std::to_string(line);
        EXPECT_EQ(e.Message(), expected);
        ASSERT_EQ(services.Boxes.size(), 1u);
        EXPECT_EQ(services.Boxes[0].Text, expected);
        EXPECT_EQ(services.Boxes[0].Caption, "PlatformTests.exe");
        EXPECT_EQ(services.Boxes[0].Owner, nullptr);
        EXPECT_EQ(services.Boxes[0].Flags, static_cast<UINT>(MB_OK | MB_ICONERROR));
        EXPECT_EQ(services.ExitCodes, std::vector<UINT>{3});
    }
}
