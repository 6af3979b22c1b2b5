// What the suite's pages show, checked against what the test prefix really
// has (its drives, its memory, its clock, its screen), and the page modules'
// Command entry as the shell calls it.
#include "FolderTrees.h"
#include "ModuleHarness.h"

#include "modules/Pages/ClockData.h"
#include "modules/Pages/ColoursData.h"
#include "modules/Pages/DisplayData.h"
#include "modules/Pages/DriveData.h"
#include "modules/Pages/FolderData.h"
#include "modules/Pages/SystemData.h"
#include "modules/Suite/SuitePage.h"
#include "modules/Suite/SuiteText.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <cwchar>
#include <iterator>
#include <memory>
#include <thread>

using namespace moduletest;
using namespace tessel;
using namespace foldertest;

namespace {

using TCommand = void(__stdcall*)(int32_t, void*);

TEST(PageData, DrivesAreTheFixedAndRemovableOnesWithTheirRealSpace)
{
    const std::vector<TDriveInfo> drives = Drives();
    ASSERT_FALSE(drives.empty());
    EXPECT_EQ(drives.front().Root, "C:\\") << "the prefix's system drive comes first";
    for (const TDriveInfo& drive : drives) {
        const UINT type = GetDriveTypeA(drive.Root.c_str());
        EXPECT_TRUE(type == DRIVE_FIXED || type == DRIVE_REMOVABLE) << drive.Root;
        EXPECT_EQ(drive.Removable, type == DRIVE_REMOVABLE) << drive.Root;
        if (!drive.Ready)
            continue;
        ULARGE_INTEGER available{}, total{}, free{};
        ASSERT_TRUE(GetDiskFreeSpaceExA(drive.Root.c_str(), &available, &total, &free));
        EXPECT_EQ(drive.Total, total.QuadPart) << drive.Root;
        // Free space moves while other tests write files.
        EXPECT_LE(drive.Free, drive.Total) << drive.Root;
        EXPECT_NEAR(drive.UsedPercent(), static_cast<int>((total.QuadPart - free.QuadPart) * 100 / total.QuadPart), 1);
        char label[MAX_PATH] = {}, fileSystem[MAX_PATH] = {};
        ASSERT_TRUE(GetVolumeInformationA(drive.Root.c_str(), label, MAX_PATH, nullptr, nullptr, nullptr, fileSystem,
                                          MAX_PATH));
        EXPECT_EQ(drive.Label, label) << drive.Root;
        EXPECT_EQ(drive.FileSystem, fileSystem) << drive.Root;
        EXPECT_FALSE(drive.FileSystem.empty()) << drive.Root;
    }
    // Network and CD drives are no disks of this page.
    for (const TDriveInfo& drive : drives)
        EXPECT_NE(GetDriveTypeA(drive.Root.c_str()), static_cast<UINT>(DRIVE_CDROM));
}

TEST(PageData, ADriveIsNearlyFullAboveNinetyPercent)
{
    TDriveInfo ninety{"D:\\", false, true, 1000, 100, "", ""};
    TDriveInfo over{"E:\\", false, true, 1000, 89, "", ""};
    TDriveInfo empty{"F:\\", true, false, 0, 0, "", ""};
    EXPECT_EQ(ninety.UsedPercent(), 90);
    EXPECT_EQ(over.UsedPercent(), 91);
    EXPECT_EQ(empty.UsedPercent(), 0) << "a drive without a medium";
    EXPECT_EQ(NearlyFullDrive({ninety, empty}), nullptr);
    std::vector<TDriveInfo> drives{ninety, over};
    ASSERT_NE(NearlyFullDrive(drives), nullptr);
    EXPECT_EQ(NearlyFullDrive(drives)->Root, "E:\\");

    EXPECT_EQ(FormatBytes(0), "0 bytes");
    EXPECT_EQ(FormatBytes(1), "1 byte");
    EXPECT_EQ(FormatBytes(2), "2 bytes");
    EXPECT_EQ(FormatBytes(1023), "1,023 bytes");
    EXPECT_EQ(FormatBytes(1536), "1.5 KB");
    EXPECT_EQ(FormatBytes(5ull << 30), "5.0 GB");
    // Just below a unit reads as one of it, never as 1024.0 of the one below.
    EXPECT_EQ(FormatBytes((1ull << 20) - 1), "1.0 MB");
    EXPECT_EQ(FormatBytes((1ull << 30) - (1ull << 10)), "1.0 GB");
    EXPECT_EQ(FormatBytes(1048524), "1,023.9 KB");
    EXPECT_EQ(FormatBytes(~0ull), "16,384.0 PB");
}

TEST(PageData, LoadIsTheSystemsAndTheMemoryTipNeedsTwoPollsInARow)
{
    MEMORYSTATUSEX status{};
    status.dwLength = sizeof status;
    ASSERT_TRUE(GlobalMemoryStatusEx(&status));
    EXPECT_NEAR(MemoryLoad(), static_cast<int>(status.dwMemoryLoad), 5);

    TProcessorMeter meter;
    EXPECT_EQ(meter.Sample(), 0) << "nothing to compare the first sample with";
    const auto spinFor = [](DWORD Milliseconds) {
        const DWORD until = GetTickCount() + Milliseconds;
        volatile unsigned spin = 0;
        while (GetTickCount() < until)
            spin = spin + 1;
    };
    spinFor(30);
    EXPECT_EQ(meter.Sample(), 0) << "too short a span to tell the load by";
    spinFor(300);
    const int busy = meter.Sample();
    EXPECT_GT(busy, 0) << "this thread kept a processor busy";
    EXPECT_LE(busy, 100);

    int32_t streak = 0;
    EXPECT_FALSE(MemoryTipDue(95, streak));
    EXPECT_TRUE(MemoryTipDue(93, streak));
    EXPECT_TRUE(MemoryTipDue(91, streak));
    EXPECT_FALSE(MemoryTipDue(90, streak)) << "90 % is not above 90 %";
    EXPECT_FALSE(MemoryTipDue(99, streak)) << "one poll above is not staying above";
    streak = -7; // a record the shell zeroed or a page never wrote
    EXPECT_FALSE(MemoryTipDue(99, streak));
    EXPECT_TRUE(MemoryTipDue(99, streak));
}

TEST(PageData, TheTimeZoneIsTheSystems)
{
    TIME_ZONE_INFORMATION zone{};
    const DWORD which = GetTimeZoneInformation(&zone);
    const TTimeZone shown = TimeZone();
    const TTimeZone described = DescribeTimeZone(zone, which);
    EXPECT_EQ(shown.Name, described.Name);
    EXPECT_EQ(shown.Offset, described.Offset);
}

// The zone's name and offset as the page shows them, for zones as the system
// describes them: Bias is the minutes from local time to UTC, DaylightBias
// what daylight saving time adds to it.
TEST(PageData, TheTimeZoneShowsItsOffsetFromUtcInHoursAndMinutes)
{
    const struct {
        const wchar_t *Standard, *Daylight;
        LONG Bias, DaylightBias;
        DWORD Which;
        const char *Name, *Offset;
    } rows[] = {
        {L"Coordinated Universal Time", L"", 0, 0, TIME_ZONE_ID_UNKNOWN, "Coordinated Universal Time", "UTC+00:00"},
        {L"", L"", 0, 0, TIME_ZONE_ID_UNKNOWN, "UTC", "UTC+00:00"},
        {L"Tokyo Standard Time", L"", -540, 0, TIME_ZONE_ID_UNKNOWN, "Tokyo Standard Time", "UTC+09:00"},
        {L"India Standard Time", L"", -330, 0, TIME_ZONE_ID_UNKNOWN, "India Standard Time", "UTC+05:30"},
        {L"Nepal Standard Time", L"", -345, 0, TIME_ZONE_ID_UNKNOWN, "Nepal Standard Time", "UTC+05:45"},
        {L"Line Islands Standard Time", L"", -840, 0, TIME_ZONE_ID_UNKNOWN, "Line Islands Standard Time",
         "UTC+14:00"},
        {L"Dateline Standard Time", L"", 720, 0, TIME_ZONE_ID_UNKNOWN, "Dateline Standard Time", "UTC-12:00"},
        {L"Marquesas Standard Time", L"", 570, 0, TIME_ZONE_ID_UNKNOWN, "Marquesas Standard Time", "UTC-09:30"},
        // Less than an hour either way keeps its sign.
        {L"West", L"", 30, 0, TIME_ZONE_ID_UNKNOWN, "West", "UTC-00:30"},
        {L"East", L"", -30, 0, TIME_ZONE_ID_UNKNOWN, "East", "UTC+00:30"},
        // Daylight saving time counts only while it is in force, and brings its own name.
        {L"Pacific Standard Time", L"Pacific Daylight Time", 480, -60, TIME_ZONE_ID_STANDARD,
         "Pacific Standard Time", "UTC-08:00"},
        {L"Pacific Standard Time", L"Pacific Daylight Time", 480, -60, TIME_ZONE_ID_DAYLIGHT,
         "Pacific Daylight Time", "UTC-07:00"},
        {L"Newfoundland Standard Time", L"Newfoundland Daylight Time", 210, -60, TIME_ZONE_ID_STANDARD,
         "Newfoundland Standard Time", "UTC-03:30"},
        {L"Newfoundland Standard Time", L"Newfoundland Daylight Time", 210, -60, TIME_ZONE_ID_DAYLIGHT,
         "Newfoundland Daylight Time", "UTC-02:30"},
        {L"Chatham Islands Standard Time", L"Chatham Islands Daylight Time", -765, -60, TIME_ZONE_ID_STANDARD,
         "Chatham Islands Standard Time", "UTC+12:45"},
        {L"Chatham Islands Standard Time", L"Chatham Islands Daylight Time", -765, -60, TIME_ZONE_ID_DAYLIGHT,
         "Chatham Islands Daylight Time", "UTC+13:45"},
        // A half-hour shift in summer.
        {L"Lord Howe Standard Time", L"Lord Howe Daylight Time", -630, -30, TIME_ZONE_ID_STANDARD,
         "Lord Howe Standard Time", "UTC+10:30"},
        {L"Lord Howe Standard Time", L"Lord Howe Daylight Time", -630, -30, TIME_ZONE_ID_DAYLIGHT,
         "Lord Howe Daylight Time", "UTC+11:00"},
        // Daylight saving time that takes the zone across UTC.
        {L"Azores Standard Time", L"Azores Daylight Time", 60, -60, TIME_ZONE_ID_DAYLIGHT, "Azores Daylight Time",
         "UTC+00:00"},
        // The system could not tell: the standard time.
        {L"Pacific Standard Time", L"Pacific Daylight Time", 480, -60, TIME_ZONE_ID_INVALID,
         "Pacific Standard Time", "UTC-08:00"},
    };
    for (const auto& row : rows) {
        TIME_ZONE_INFORMATION zone{};
        zone.Bias = row.Bias;
        zone.DaylightBias = row.DaylightBias;
        std::wcsncpy(zone.StandardName, row.Standard, std::size(zone.StandardName));
        std::wcsncpy(zone.DaylightName, row.Daylight, std::size(zone.DaylightName));
        const TTimeZone shown = DescribeTimeZone(zone, row.Which);
        EXPECT_EQ(shown.Name, row.Name) << row.Offset;
        EXPECT_EQ(shown.Offset, row.Offset) << row.Name;
    }

    // A name that fills its whole field ends there.
    TIME_ZONE_INFORMATION full{};
    std::wmemset(full.StandardName, L'Z', std::size(full.StandardName));
    full.StandardDate.wYear = 'X';
    EXPECT_EQ(DescribeTimeZone(full, TIME_ZONE_ID_STANDARD).Name, std::string(32, 'Z'));
}

TEST(PageData, TheLongDateNamesTheWeekdayInTheLocalesOwnForm)
{
    const platform::TDateTime monday = platform::EncodeDate(2026, 12, 7);
    EXPECT_EQ(LongDateText(monday, MAKELCID(0x0409, SORT_DEFAULT)), "Monday, December 7, 2026");
    // Russian and Japanese long forms name no weekday of their own: it comes first.
    const std::string russian = LongDateText(monday, MAKELCID(0x0419, SORT_DEFAULT));
    EXPECT_EQ(russian.find("\xEF\xEE\xED\xE5\xE4\xE5\xEB\xFC\xED\xE8\xEA"), 0u) << russian; // понедельник
    EXPECT_NE(russian.find("2026"), std::string::npos) << russian;
    const std::string japanese = LongDateText(monday, MAKELCID(0x0411, SORT_DEFAULT));
    EXPECT_NE(japanese.find("2026\x94" "N" "12\x8C\x8E" "7\x93\xFA"), std::string::npos) << japanese; // 2026年12月7日
    EXPECT_NE(japanese.find("\x8C\x8E\x97\x6A\x93\xFA"), std::string::npos) << japanese;       // 月曜日
    // The first day of the week is the locale's too.
    EXPECT_EQ(FirstDayOfWeek(MAKELCID(0x0409, SORT_DEFAULT)), 0) << "Sunday";
    EXPECT_EQ(FirstDayOfWeek(MAKELCID(0x0419, SORT_DEFAULT)), 1) << "Monday";
    // The calendar's heading, English without a language module.
    EXPECT_EQ(MonthTitle(2026, 12), "December 2026");
    EXPECT_EQ(MonthTitle(2027, 1), "January 2027");
    EXPECT_EQ(MonthName(13), "");
}

TEST(PageData, MonitorsAreTheScreensOwn)
{
    const std::vector<TMonitorInfo> monitors = Monitors();
    ASSERT_FALSE(monitors.empty());
    int primaries = 0;
    for (const TMonitorInfo& monitor : monitors) {
        if (!monitor.Primary)
            continue;
        ++primaries;
        EXPECT_EQ(monitor.Width, GetSystemMetrics(SM_CXSCREEN));
        EXPECT_EQ(monitor.Height, GetSystemMetrics(SM_CYSCREEN));
        HDC screen = GetDC(nullptr);
        EXPECT_EQ(monitor.BitsPerPixel, GetDeviceCaps(screen, BITSPIXEL));
        ReleaseDC(nullptr, screen);
    }
    EXPECT_EQ(primaries, 1);
}

TEST(PageData, AColourIsWrittenInOneFormatAndGoesToTheClipboardAsText)
{
    EXPECT_EQ(ColourText(RGB(30, 144, 255), cfHex), "#1E90FF");
    EXPECT_EQ(ColourText(RGB(30, 144, 255), cfRgb), "rgb(30, 144, 255)");
    EXPECT_EQ(ColourText(RGB(30, 144, 255), cfDecimal), "16748574") << "red in the low byte";
    EXPECT_EQ(ColourText(RGB(255, 255, 255), cfDecimal), "16777215");
    EXPECT_EQ(ColourText(RGB(0, 0, 0), cfRgb), "rgb(0, 0, 0)");
    const COLORREF face = GetSysColor(COLOR_BTNFACE);
    char expected[48];
    std::snprintf(expected, sizeof expected, "#%02X%02X%02X", GetRValue(face), GetGValue(face), GetBValue(face));
    EXPECT_EQ(ColourText(platform::clBtnFace, cfHex), expected) << "a system colour is resolved";

    ASSERT_TRUE(CopyToClipboard("rgb(30, 144, 255)"));
    ASSERT_TRUE(OpenClipboard(nullptr));
    HANDLE data = GetClipboardData(CF_TEXT);
    ASSERT_NE(data, nullptr);
    EXPECT_STREQ(static_cast<const char*>(GlobalLock(data)), "rgb(30, 144, 255)");
    GlobalUnlock(data);
    CloseClipboard();

    // Held open by another program, the clipboard takes nothing, and says so.
    HANDLE opened = CreateEventA(nullptr, TRUE, FALSE, nullptr), done = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    std::thread holder([&] {
        HWND owner = CreateWindowA("STATIC", "holder", 0, 0, 0, 0, 0, nullptr, nullptr, nullptr, nullptr);
        const bool held = OpenClipboard(owner);
        SetEvent(opened);
        WaitForSingleObject(done, 10000);
        if (held)
            CloseClipboard();
        DestroyWindow(owner);
    });
    WaitForSingleObject(opened, 10000);
    EXPECT_FALSE(CopyToClipboard("#000000"));
    SetEvent(done);
    holder.join();
    CloseHandle(opened);
    CloseHandle(done);
    ASSERT_TRUE(OpenClipboard(nullptr));
    data = GetClipboardData(CF_TEXT);
    ASSERT_NE(data, nullptr);
    EXPECT_STREQ(static_cast<const char*>(GlobalLock(data)), "rgb(30, 144, 255)");
    GlobalUnlock(data);
    CloseClipboard();
}

TEST(PageData, AFolderCountsItsFilesBelowItAndStopsWhenCalledOff)
{
    TempFolder folder;
    CreateDirectoryA((folder.Path() + "sub").c_str(), nullptr);
    CreateDirectoryA((folder.Path() + "sub\\deeper").c_str(), nullptr);
    WriteWholeFile(folder.Path() + "a.txt", std::string(10, 'a'));
    WriteWholeFile(folder.Path() + "sub\\b.txt", std::string(2000, 'b'));
    WriteWholeFile(folder.Path() + "sub\\deeper\\c.txt", std::string(30, 'c'));

    std::atomic<bool> cancel{false};
    for (std::string path : {folder.Path(), folder.Path().substr(0, folder.Path().size() - 1)}) {
        const TFolderSize size = CountFolder(path, cancel);
        EXPECT_EQ(size.Bytes, 2040u) << path;
        EXPECT_EQ(size.Files, 3u) << path;
        EXPECT_EQ(size.Folders, 2u) << path;
        EXPECT_FALSE(size.Cancelled) << path;
    }
    const TFolderSize missing = CountFolder(folder.Path() + "missing", cancel);
    EXPECT_EQ(missing.Files, 0u);
    EXPECT_EQ(missing.Unread, 1u) << "not there: not read, never empty";

    cancel = true;
    const TFolderSize stopped = CountFolder(folder.Path(), cancel);
    EXPECT_TRUE(stopped.Cancelled);
    EXPECT_LT(stopped.Files, 3u);
}

TEST(PageData, AFolderCounterListsTheEntriesAndFillsTheirSizesIn)
{
    TempFolder folder;
    CreateDirectoryA((folder.Path() + "sub").c_str(), nullptr);
    CreateDirectoryA((folder.Path() + "sub\\deeper").c_str(), nullptr);
    CreateDirectoryA((folder.Path() + "empty").c_str(), nullptr);
    WriteWholeFile(folder.Path() + "a.txt", std::string(10, 'a'));
    WriteWholeFile(folder.Path() + "sub\\b.txt", std::string(2000, 'b'));
    WriteWholeFile(folder.Path() + "sub\\deeper\\c.txt", std::string(30, 'c'));

    std::vector<uint64_t> totals;
    std::atomic<TFolderCounter*> running{nullptr};
    TFolderCounter counter(folder.Path(), [&] {
        while (!running)
            Sleep(1);
        totals.push_back(running.load()->Snapshot().Bytes);
    });
    running = &counter;
    while (!counter.Snapshot().Done)
        Sleep(5);
    TFolderListing listing = counter.Stop();
    EXPECT_TRUE(listing.Done);
    EXPECT_FALSE(listing.Cancelled);
    EXPECT_EQ(listing.Bytes, 2040u);
    EXPECT_EQ(listing.Files, 3u);
    EXPECT_EQ(listing.Folders, 3u);
    SortBySize(listing.Entries);
    ASSERT_EQ(listing.Entries.size(), 3u);
    EXPECT_EQ(listing.Entries[0].Name, "sub");
    EXPECT_EQ(listing.Entries[0].Bytes, 2030u);
    EXPECT_TRUE(listing.Entries[0].Folder);
    EXPECT_EQ(listing.Entries[1].Name, "a.txt");
    EXPECT_EQ(listing.Entries[2].Name, "empty");
    for (const TFolderEntry& entry : listing.Entries)
        EXPECT_TRUE(entry.Counted) << entry.Name;
    EXPECT_TRUE(std::is_sorted(totals.begin(), totals.end())) << "the running total only grows";

    // Called off as soon as the entries are listed: the files are there,
    // the subfolders not counted.
    std::atomic<TFolderCounter*> stopping{nullptr};
    std::atomic<bool> called{false};
    TFolderCounter early(folder.Path(), [&] {
        while (!stopping)
            Sleep(1);
        if (!called.exchange(true))
            stopping.load()->Cancel();
    });
    stopping = &early;
    while (!early.Snapshot().Done)
        Sleep(5);
    const TFolderListing partial = early.Stop();
    EXPECT_TRUE(partial.Done);
    EXPECT_TRUE(partial.Cancelled);
    EXPECT_EQ(partial.Bytes, 10u);
    for (const TFolderEntry& entry : partial.Entries)
        EXPECT_EQ(entry.Counted, !entry.Folder) << entry.Name;

    // A folder that is not there is not taken for an empty one.
    TFolderCounter missing(folder.Path() + "missing", {});
    while (!missing.Snapshot().Done)
        Sleep(5);
    EXPECT_TRUE(missing.Snapshot().Entries.empty());
    EXPECT_EQ(missing.Snapshot().Unread, 1u);
    EXPECT_EQ(missing.Snapshot().FirstUnread.Path, "");
    EXPECT_EQ(UnreadReason(missing.Snapshot().FirstUnread.Error), "It was removed during the count.");

    // Shares, and equal sizes by name.
    EXPECT_EQ(ShareText(1, 3), "33.3 %");
    EXPECT_EQ(ShareText(0, 0), "0.0 %");
    EXPECT_EQ(ShareText(5, 5), "100.0 %");
    std::vector<TFolderEntry> entries{{"b", false, 5, true, 0, {}}, {"A", true, 5, true, 0, {}}, {"c", false, 9, true, 0, {}}};
    SortBySize(entries);
    EXPECT_EQ(entries[0].Name + entries[1].Name + entries[2].Name, "cAb");
}

TFolderListing CountedWhole(const std::string& Folder)
{
    TFolderCounter counter(Folder, {});
    while (!counter.Snapshot().Done)
        Sleep(5);
    return counter.Snapshot();
}

const TFolderEntry& EntryNamed(const TFolderListing& Listing, const std::string& Name)
{
    static const TFolderEntry none;
    const auto found = std::find_if(Listing.Entries.begin(), Listing.Entries.end(),
                                    [&](const TFolderEntry& e) { return e.Name == Name; });
    return found == Listing.Entries.end() ? none : *found;
}

// Paths far past MAX_PATH are counted like any other: a deep tree (the
// system here makes each level slow, so 400 rather than thousands) and
// long names.
TEST(PageData, DeepTreesAndLongNamesAreCountedWhole)
{
    TempFolder folder;
    std::wstring deep = LongForm(folder.Path()) + L"deep";
    ASSERT_TRUE(MakeFolder(deep));
    for (int level = 0; level < 400; ++level) {
        deep += L"\\d";
        ASSERT_TRUE(MakeFolder(deep)) << level;
    }
    ASSERT_TRUE(MakeFile(deep + L"\\bottom.bin", 7));
    std::wstring longer = LongForm(folder.Path()) + L"long";
    ASSERT_TRUE(MakeFolder(longer));
    for (wchar_t c : {L'a', L'b', L'c'}) {
        longer += L"\\" + std::wstring(121, c);
        ASSERT_TRUE(MakeFolder(longer));
        ASSERT_TRUE(MakeFile(longer + L"\\f.bin", 100));
    }
    ASSERT_GT(longer.size() - 4, 300u);

    const std::atomic<bool> cancel{false};
    const TFolderSize deepSize = CountFolder(folder.Path() + "deep", cancel);
    EXPECT_EQ(deepSize.Files, 1u);
    EXPECT_EQ(deepSize.Bytes, 7u);
    EXPECT_EQ(deepSize.Folders, 400u);
    EXPECT_EQ(deepSize.Unread, 0u);
    const TFolderSize longSize = CountFolder(folder.Path() + "long\\", cancel);
    EXPECT_EQ(longSize.Files, 3u);
    EXPECT_EQ(longSize.Bytes, 300u);
    EXPECT_EQ(longSize.Folders, 3u);
    EXPECT_EQ(longSize.Unread, 0u);

    const TFolderListing listing = CountedWhole(folder.Path());
    EXPECT_EQ(listing.Files, 4u);
    EXPECT_EQ(listing.Folders, 405u);
    EXPECT_EQ(listing.Unread, 0u);
    EXPECT_EQ(EntryNamed(listing, "deep").Bytes, 7u);
    EXPECT_EQ(EntryNamed(listing, "long").Bytes, 300u);
}

// Takes a folder away just before the count reads it.
std::string Vanishing;
uint32_t VanishingReader(const std::string& Folder, const std::function<bool(const platform::TFoundItem&)>& Found)
{
    if (Folder == Vanishing) {
        DeleteFileA((Folder + "v.bin").c_str());
        RemoveDirectoryA(Folder.c_str());
    }
    return platform::ListFolder(Folder, Found);
}

// A folder held by another program, one removed during the count and one
// whose path grew too long to open are each counted as not read, with
// their reason, never as empty; what could be read is counted.
TEST(PageData, FoldersThatCannotBeReadAreCountedWithTheirReason)
{
    TempFolder folder;
    const std::wstring root = LongForm(folder.Path());
    ASSERT_TRUE(MakeFile(root + L"a.bin", 10));
    for (const wchar_t* name : {L"held", L"going", L"deep", L"deep\\sub"})
        ASSERT_TRUE(MakeFolder(root + name));
    ASSERT_TRUE(MakeFile(root + L"held\\h.bin", 20));
    ASSERT_TRUE(MakeFile(root + L"going\\v.bin", 40));
    ASSERT_TRUE(MakeFile(root + L"deep\\sub\\s.bin", 80));

    // Names of the longest kind, one below the other until the system will
    // make no more, and the longest name that still fits at the bottom:
    // with its top folder's name one letter longer, the last folder of the
    // chain is too long to open, and only that one.
    const std::wstring name(255, L'n');
    ASSERT_TRUE(MakeFolder(root + L"chain"));
    std::wstring last = root + L"chain";
    std::string below = "chain";
    int levels = 0;
    while (MakeFolder(last + L"\\" + name)) {
        last += L"\\" + name;
        below.append(1, '\\').append(255, 'n');
        ++levels;
    }
    ASSERT_GT(levels, 2);
    size_t fits = 0;
    for (size_t low = 1, high = 254; low <= high;) {
        const size_t length = (low + high) / 2;
        const std::wstring trial = last + L"\\" + std::wstring(length, L'm');
        if (MakeFolder(trial)) {
            RemoveDirectoryW(trial.c_str());
            fits = length;
            low = length + 1;
        } else {
            high = length - 1;
        }
    }
    if (fits > 0) {
        last += L"\\" + std::wstring(fits, L'm');
        below.append(1, '\\').append(fits, 'm');
        ASSERT_TRUE(MakeFolder(last));
        ++levels;
    }
    ASSERT_TRUE(MoveFileW((root + L"chain").c_str(), (root + L"chains").c_str()));
    below.insert(below.begin() + 5, 's');
    const std::wstring bottom = root + L"chains" + last.substr(root.size() + 5);
    ASSERT_FALSE(MakeFile(bottom + L"\\c.bin", 160)) << "the bottom is out of reach";

    HANDLE held = CreateFileW((root + L"held").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                              FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    Vanishing = folder.Path() + "going\\";
    TFolderListing listing;
    {
        const ReaderInPlace reader(VanishingReader);
        listing = CountedWhole(folder.Path());
    }
    CloseHandle(held);
    ASSERT_TRUE(MoveFileW((root + L"chains").c_str(), (root + L"chain").c_str())) << "back, to be removed";

    EXPECT_EQ(listing.Files, 2u) << "a.bin and s.bin";
    EXPECT_EQ(listing.Bytes, 90u);
    EXPECT_EQ(listing.Folders, 5u + levels) << "held, going, deep, sub, chains and the chain below";
    EXPECT_EQ(listing.Unread, 3u);
    EXPECT_NE(listing.FirstUnread.Error, 0u);
    const TFolderEntry& heldEntry = EntryNamed(listing, "held");
    EXPECT_EQ(heldEntry.Unread, 1u);
    EXPECT_EQ(heldEntry.FirstUnread.Path, "held");
    EXPECT_EQ(UnreadReason(heldEntry.FirstUnread.Error), "Another program holds it.");
    const TFolderEntry& going = EntryNamed(listing, "going");
    EXPECT_EQ(going.Unread, 1u);
    EXPECT_EQ(UnreadReason(going.FirstUnread.Error), "It was removed during the count.");
    EXPECT_EQ(EntryNamed(listing, "deep").Bytes, 80u);
    EXPECT_EQ(EntryNamed(listing, "deep").Unread, 0u);
    const TFolderEntry& chains = EntryNamed(listing, "chains");
    EXPECT_EQ(chains.Unread, 1u);
    EXPECT_EQ(chains.FirstUnread.Path, below);
    EXPECT_EQ(UnreadReason(chains.FirstUnread.Error), "Its path is too long to open.") << chains.FirstUnread.Error;
    EXPECT_TRUE(EntryNamed(listing, "a.bin").Counted);

    // The folder counted may itself be the one that cannot be read.
    held = CreateFileW((root + L"held").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS,
                       nullptr);
    const TFolderListing itself = CountedWhole(folder.Path() + "held");
    CloseHandle(held);
    EXPECT_TRUE(itself.Entries.empty());
    EXPECT_EQ(itself.Unread, 1u);
    EXPECT_EQ(itself.FirstUnread.Path, "");
    EXPECT_EQ(UnreadReason(itself.FirstUnread.Error), "Another program holds it.");
    EXPECT_EQ(FirstUnreadText({"a\\b", ERROR_ACCESS_DENIED}), "The first: a\\b. Access is denied.");
    EXPECT_EQ(UnreadReason(1234), "The system reported error 1234.");
}

// Stopping a count returns at once while the system is slow to read a
// folder; the count's thread ends by itself once the read returns, and
// nobody hears from it after the stop.
TEST(PageData, StoppingACountNeverWaitsForASlowRead)
{
    TempFolder folder;
    const std::wstring root = LongForm(folder.Path());
    ASSERT_TRUE(MakeFolder(root + L"slow"));
    ASSERT_TRUE(MakeFile(root + L"slow\\s.bin", 5));
    ASSERT_TRUE(MakeFile(root + L"top.bin", 3));
    HeldRead hold(folder.Path() + "slow\\");
    std::atomic<int> reports{0};
    auto counter = std::make_unique<TFolderCounter>(folder.Path(), [&] { ++reports; });
    for (int tries = 0; tries < 1000 && !HeldRead::AllHeld(); ++tries)
        Sleep(10);
    ASSERT_TRUE(HeldRead::AllHeld());

    const TFolderListing last = counter->Stop();
    EXPECT_TRUE(HeldRead::Holding()) << "Stop waited for the read";
    EXPECT_TRUE(last.Done);
    EXPECT_TRUE(last.Cancelled);
    EXPECT_EQ(last.Bytes, 3u) << "what was found before the stop";
    EXPECT_EQ(EntryNamed(last, "slow").Counted, false);
    const int heard = reports;

    counter.reset();
    HeldRead::Release();
    ASSERT_TRUE(HeldRead::Ended(10)) << "the count ends on its own";
    EXPECT_EQ(reports, heard) << "no news after the stop";
}

// Digit grouping and plural forms as the real language files give them.
TEST(PageData, NumbersAndCountsFollowEachLanguagesFile)
{
    LoadedModule module(SuiteBin() + "KsMultiLang.dll");
    auto translate = module.Entry<int32_t(__cdecl*)(int32_t, const char*, char*, int32_t, const char*)>("KsTranslateStr2");
    ASSERT_NE(translate, nullptr);
    const auto in = [&](const char* Language, const char* English) {
        char out[256] = {};
        translate(0, English, out, sizeof out, (SuiteBin() + "Lang\\" + Language + ".lng").c_str());
        return std::string(out);
    };
    const auto count = [&](const char* Language, const char* English, uint64_t N) {
        const TNumberStyle style = TNumberStyle::FromSample(in(Language, "1,234.5"));
        return Substitute(PluralForm(in(Language, English), N), {style.Whole(N)});
    };

    const TNumberStyle russian = TNumberStyle::FromSample(in("Russian", "1,234.5"));
    EXPECT_EQ(russian.Whole(147297), "147\xA0" "297");
    EXPECT_EQ(russian.Fixed(1536.26, 1), "1\xA0" "536,3");
    const std::string file = "\xF4\xE0\xE9\xEB"; // файл
    for (auto [n, form] : {std::pair<uint64_t, std::string>{1, file}, {2, file + "\xE0"}, {4, file + "\xE0"},
                           {5, file + "\xEE\xE2"}, {11, file + "\xEE\xE2"}, {12, file + "\xEE\xE2"},
                           {21, file}, {22, file + "\xE0"}, {111, file + "\xEE\xE2"}, {0, file + "\xEE\xE2"},
                           {13, file + "\xEE\xE2"}, {14, file + "\xEE\xE2"}, {114, file + "\xEE\xE2"},
                           {24, file + "\xE0"}, {104, file + "\xE0"}, {15, file + "\xEE\xE2"}})
        EXPECT_EQ(count("Russian", "%1 file|%1 files", n), russian.Whole(n) + " " + form) << n;

    EXPECT_EQ(count("English", "%1 file|%1 files", 1), "1 file");
    EXPECT_EQ(count("English", "%1 file|%1 files", 0), "0 files");
    EXPECT_EQ(count("English", "%1 file|%1 files", 147297), "147,297 files");
    // One form for every count in Japanese and Thai.
    for (const char* language : {"Japanese", "Thai"}) {
        EXPECT_EQ(in(language, "%1 file|%1 files").find('|'), std::string::npos) << language;
        EXPECT_EQ(count(language, "%1 file|%1 files", 1).substr(1), count(language, "%1 file|%1 files", 5).substr(1))
            << language;
        EXPECT_EQ(count(language, "%1 file|%1 files", 12345).substr(0, 6), "12,345") << language;
    }

    // Samples that are no number leave English's way.
    for (const char* sample : {"", "1,234", "one,234.5", "1,2345", "1x234y6", "1,234.56"})
        EXPECT_EQ(TNumberStyle::FromSample(sample).Whole(1234567), "1,234,567") << sample;
    EXPECT_EQ(TNumberStyle::FromSample("1'234.5").Whole(1234567), "1'234'567");
    EXPECT_EQ(TNumberStyle::FromSample("1234,5").Whole(1234567), "1234567") << "no grouping";
    EXPECT_EQ(TNumberStyle{}.Fixed(-3, 1), "0.0");
    EXPECT_EQ(PluralForm("only", 7), "only");
}

TEST(PageData, TranslatedTextsTakeTheirArgumentsByNumberOnly)
{
    // No language module beside the test program: the English text.
    EXPECT_EQ(Tr("%1 free of %2", {"3.0 GB", "40.0 GB"}), "3.0 GB free of 40.0 GB");
    EXPECT_EQ(Tr("Drive %1 is %2 % full", {"C:\\", "93"}), "Drive C:\\ is 93 % full");
    EXPECT_EQ(Tr("%2 before %1", {"a", "b"}), "b before a");
    EXPECT_EQ(Tr("%3 %s %d %", {"a"}), " %s %d %") << "missing arguments and C formats stay harmless";
}

// The page modules as the shell calls them: code 2 names the page, code 8
// writes its tip, and both leave the shell's file name alone.
TEST(PageData, PageModulesFillTheirOwnBytesOfTheRecord)
{
    for (const char* name : {"Clock", "System", "Disks", "Display", "Colours", "Folders"}) {
        LoadedModule module(SuiteBin() + "Page\\" + name + ".dll");
        auto command = module.Entry<TCommand>("Command");
        ASSERT_NE(command, nullptr) << name;
        EXPECT_NE(module.Entry<TPageCreate>("PageCreate"), nullptr) << name;
        EXPECT_NE(module.Entry<TPageDestroy>("PageDestroy"), nullptr) << name;
        EXPECT_NE(module.Entry<TPageMessage>("PageMessage"), nullptr) << name;

        TPageRecord record{};
        std::memset(&record, 0x5A, sizeof record);
        std::snprintf(record.FileName, sizeof record.FileName, "%s.dll", name);
        command(cmdPageStart, &record);
        EXPECT_EQ(FieldText(PageInfo(record).Caption), name);
        EXPECT_EQ(FieldText(PageTip(record).Tip), "");
        command(cmdTips, &record);
        EXPECT_EQ(std::string(record.FileName), std::string(name) + ".dll");
        command(cmdTips, nullptr);
    }

    // Disks: a tip exactly when a drive of the prefix is more than 90 % full.
    LoadedModule disks(SuiteBin() + "Page\\Disks.dll");
    TPageRecord record{};
    disks.Entry<TCommand>("Command")(cmdPageStart, &record);
    disks.Entry<TCommand>("Command")(cmdTips, &record);
    const std::vector<TDriveInfo> drives = Drives();
    const TDriveInfo* full = NearlyFullDrive(drives);
    EXPECT_EQ(FieldText(PageTip(record).Tip).empty(), full == nullptr) << FieldText(PageTip(record).Tip);
    // A stale tip goes at the next poll.
    std::snprintf(PageTip(record).Tip, sizeof PageTip(record).Tip, "old");
    disks.Entry<TCommand>("Command")(cmdTips, &record);
    EXPECT_NE(FieldText(PageTip(record).Tip), "old");

    // System: the streak lives in the record between polls of a freshly loaded module.
    TPageRecord system{};
    for (int poll = 0; poll < 2; ++poll) {
        LoadedModule module(SuiteBin() + "Page\\System.dll");
        if (poll == 0)
            module.Entry<TCommand>("Command")(cmdPageStart, &system);
        module.Entry<TCommand>("Command")(cmdTips, &system);
    }
    const bool high = MemoryLoad() > 90;
    EXPECT_EQ(PageTip(system).PollState >= 2, high);
    EXPECT_EQ(FieldText(PageTip(system).Tip).empty(), !high);
}

} // namespace
