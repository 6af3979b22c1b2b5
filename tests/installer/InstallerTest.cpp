// The installer (build/Tessel-Setup-<version>.exe) end to end, as a user of
// the tests' Wine prefix: a silent install into the local programs folder and
// everything it registers, an upgrade over a running Tessel (closed through
// its close path, started again, the settings untouched), the uninstall with
// and without the settings, and installs that cannot be written.
#include "platform/Win32.h"
#include "support/Files.h"
#include "support/PendingRenames.h"

#include <shlobj.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

using testsupport::PendingRenamesTurn;
using testsupport::ReadWholeFile;
using testsupport::SuiteBin;
using testsupport::TempFolder;
using testsupport::TestBin;
using testsupport::WriteWholeFile;
using Strings = std::vector<std::string>;

namespace {

const char* const RunKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
const char* const UninstallKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Tessel";

std::string Quoted(const std::string& Path) { return "\"" + Path + "\""; }

const char* const SessionManager = "SYSTEM\\CurrentControlSet\\Control\\Session Manager";
const char* const PendingLists[] = {"PendingFileRenameOperations", "PendingFileRenameOperations2"};

// What waits for the next boot, both lists: each entry a path and its new
// name (empty: deleted), as the registry holds them ("\\??\\"-prefixed).
Strings PendingAtBoot()
{
    Strings entries;
    for (const char* list : PendingLists) {
        DWORD size = 0;
        if (RegGetValueA(HKEY_LOCAL_MACHINE, SessionManager, list, RRF_RT_REG_MULTI_SZ, nullptr, nullptr, &size) !=
            ERROR_SUCCESS)
            continue;
        std::string data(size + 2, '\0');
        RegGetValueA(HKEY_LOCAL_MACHINE, SessionManager, list, RRF_RT_REG_MULTI_SZ, nullptr, data.data(), &size);
        for (size_t at = 0; data[at];) {
            const std::string path = data.c_str() + at;
            at += path.size() + 1;
            const std::string name = data.c_str() + at;
            at += name.size() + 1;
            entries.push_back(path + " -> " + name);
        }
    }
    return entries;
}

// Another program's rename and delete stand alone in the lists while it
// lives; what was there before comes back after.
class ForeignPendingRenames {
public:
    ForeignPendingRenames()
    {
        for (int i = 0; i < 2; ++i) {
            DWORD size = 0;
            FHad[i] = RegGetValueA(HKEY_LOCAL_MACHINE, SessionManager, PendingLists[i], RRF_RT_REG_MULTI_SZ, nullptr,
                                   nullptr, &size) == ERROR_SUCCESS;
            FSaved[i].resize(size);
            if (FHad[i])
                RegGetValueA(HKEY_LOCAL_MACHINE, SessionManager, PendingLists[i], RRF_RT_REG_MULTI_SZ, nullptr,
                             FSaved[i].data(), &size);
        }
        const char list[] = "\\??\\C:\\other\\new.dll\0!\\??\\C:\\other\\in use.dll\0\\??\\C:\\other\\old.tmp\0\0";
        RegSetKeyValueA(HKEY_LOCAL_MACHINE, SessionManager, PendingLists[0], REG_MULTI_SZ, list, sizeof list);
        RegDeleteKeyValueA(HKEY_LOCAL_MACHINE, SessionManager, PendingLists[1]);
    }
    ~ForeignPendingRenames()
    {
        for (int i = 0; i < 2; ++i)
            if (FHad[i])
                RegSetKeyValueA(HKEY_LOCAL_MACHINE, SessionManager, PendingLists[i], REG_MULTI_SZ, FSaved[i].data(),
                                static_cast<DWORD>(FSaved[i].size()));
            else
                RegDeleteKeyValueA(HKEY_LOCAL_MACHINE, SessionManager, PendingLists[i]);
    }
    ForeignPendingRenames(const ForeignPendingRenames&) = delete;
    ForeignPendingRenames& operator=(const ForeignPendingRenames&) = delete;

    const Strings Entries = {"\\??\\C:\\other\\new.dll -> !\\??\\C:\\other\\in use.dll",
                             "\\??\\C:\\other\\old.tmp -> "};

private:
    bool FHad[2];
    std::string FSaved[2];
};

// The folders that an uninstaller started as it lies runs from, in TEMP.
Strings HandOverFolders()
{
    char temp[MAX_PATH];
    const std::string pattern = std::string(temp, GetTempPathA(MAX_PATH, temp)) + "~nsu*";
    Strings found;
    WIN32_FIND_DATAA entry;
    HANDLE search = FindFirstFileA(pattern.c_str(), &entry);
    for (bool more = search != INVALID_HANDLE_VALUE; more; more = FindNextFileA(search, &entry))
        found.push_back(std::string(temp) + entry.cFileName + "\\");
    if (search != INVALID_HANDLE_VALUE)
        FindClose(search);
    return found;
}

std::string FullPath(const std::string& Path)
{
    char full[MAX_PATH];
    return std::string(full, GetFullPathNameA(Path.c_str(), MAX_PATH, full, nullptr));
}

std::string SetupProgram() { return FullPath(TestBin() + "..\\Tessel-Setup-" TESSEL_VERSION ".exe"); }

// A shell folder of the user, with a backslash.
std::string ShellFolder(int Csidl)
{
    char path[MAX_PATH] = {};
    SHGetFolderPathA(nullptr, Csidl, nullptr, 0, path);
    return std::string(path) + "\\";
}

bool Exists(const std::string& Path) { return GetFileAttributesA(Path.c_str()) != INVALID_FILE_ATTRIBUTES; }

// Everything below Folder, relative and sorted; folders end with a backslash.
Strings Entries(const std::string& Folder, const std::string& Below = "")
{
    Strings found;
    WIN32_FIND_DATAA entry;
    HANDLE search = FindFirstFileA((Folder + Below + "*").c_str(), &entry);
    for (bool more = search != INVALID_HANDLE_VALUE; more; more = FindNextFileA(search, &entry)) {
        const std::string name = entry.cFileName;
        if (name == "." || name == "..")
            continue;
        if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            found.push_back(Below + name + "\\");
            for (const std::string& inner : Entries(Folder, Below + name + "\\"))
                found.push_back(inner);
        } else {
            found.push_back(Below + name);
        }
    }
    if (search != INVALID_HANDLE_VALUE)
        FindClose(search);
    std::sort(found.begin(), found.end());
    return found;
}

// The program files of a suite folder: its files but the settings (*.ini).
Strings ProgramFiles(const std::string& Folder)
{
    Strings files;
    for (const std::string& entry : Entries(Folder))
        if (entry.back() != '\\' && (entry.size() < 4 || lstrcmpiA(entry.c_str() + entry.size() - 4, ".ini") != 0))
            files.push_back(entry);
    return files;
}

bool IsProgram(const std::string& File)
{
    const std::string tail = File.size() < 4 ? File : File.substr(File.size() - 4);
    return lstrcmpiA(tail.c_str(), ".exe") == 0 || lstrcmpiA(tail.c_str(), ".dll") == 0;
}

// What stripping leaves of a program file (its code) and what it takes away
// (the symbol table, and the sections of debug data). A section name longer
// than eight characters stands in the string table after the symbols as "/n".
struct TProgramParts {
    std::string Code;
    DWORD Symbols = 0;
    bool DebugData = false;
};

TProgramParts PartsOf(const std::string& Bytes)
{
    TProgramParts parts;
    if (Bytes.size() < sizeof(IMAGE_DOS_HEADER))
        return parts;
    const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(Bytes.data());
    if (static_cast<size_t>(dos->e_lfanew) + sizeof(IMAGE_NT_HEADERS32) > Bytes.size())
        return parts;
    const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS32*>(Bytes.data() + dos->e_lfanew);
    parts.Symbols = nt->FileHeader.NumberOfSymbols;
    const size_t strings = nt->FileHeader.PointerToSymbolTable + size_t(parts.Symbols) * 18;
    const IMAGE_SECTION_HEADER* section = IMAGE_FIRST_SECTION(nt);
    for (WORD i = 0; i < nt->FileHeader.NumberOfSections; ++i, ++section) {
        std::string name(reinterpret_cast<const char*>(section->Name),
                         strnlen(reinterpret_cast<const char*>(section->Name), IMAGE_SIZEOF_SHORT_NAME));
        if (name.size() > 1 && name[0] == '/' && nt->FileHeader.PointerToSymbolTable) {
            const size_t at = strings + std::strtoul(name.c_str() + 1, nullptr, 10);
            name = at < Bytes.size() ? std::string(Bytes.c_str() + at) : std::string();
        }
        if (name == ".text" && section->PointerToRawData + section->SizeOfRawData <= Bytes.size())
            parts.Code = Bytes.substr(section->PointerToRawData, section->SizeOfRawData);
        parts.DebugData = parts.DebugData || name.rfind(".debug", 0) == 0;
    }
    return parts;
}

// The exit code of a command line, or -1 when it did not end in time. The
// windows of this program are served meanwhile.
long Exec(const std::string& Command, DWORD Milliseconds = 60000)
{
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    std::vector<char> line(Command.begin(), Command.end());
    line.push_back('\0');
    if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info))
        return -1;
    CloseHandle(info.hThread);
    DWORD code = static_cast<DWORD>(-1);
    const DWORD start = GetTickCount();
    for (DWORD waited = 0; waited < Milliseconds; waited = GetTickCount() - start) {
        const DWORD woke = MsgWaitForMultipleObjects(1, &info.hProcess, FALSE, Milliseconds - waited, QS_ALLINPUT);
        if (woke == WAIT_OBJECT_0) {
            GetExitCodeProcess(info.hProcess, &code);
            break;
        }
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
            DispatchMessageA(&msg);
    }
    if (code == static_cast<DWORD>(-1))
        TerminateProcess(info.hProcess, code);
    CloseHandle(info.hProcess);
    return static_cast<long>(code);
}

std::optional<std::string> RegString(const char* Key, const char* Value)
{
    char data[1024];
    DWORD size = sizeof data;
    if (RegGetValueA(HKEY_CURRENT_USER, Key, Value, RRF_RT_REG_SZ, nullptr, data, &size) != ERROR_SUCCESS)
        return std::nullopt;
    return std::string(data);
}

std::optional<DWORD> RegDword(const char* Key, const char* Value)
{
    DWORD data = 0, size = sizeof data;
    if (RegGetValueA(HKEY_CURRENT_USER, Key, Value, RRF_RT_REG_DWORD, nullptr, &data, &size) != ERROR_SUCCESS)
        return std::nullopt;
    return data;
}

// What a shortcut file starts, read as the shell reads it.
std::string ShortcutTarget(const std::string& Link)
{
    char target[MAX_PATH] = {};
    CoInitialize(nullptr);
    IShellLinkA* link = nullptr;
    if (SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                   reinterpret_cast<void**>(&link)))) {
        IPersistFile* file = nullptr;
        if (SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)))) {
            const std::wstring path(Link.begin(), Link.end());
            if (SUCCEEDED(file->Load(path.c_str(), STGM_READ)))
                link->GetPath(target, MAX_PATH, nullptr, 0);
            file->Release();
        }
        link->Release();
    }
    CoUninitialize();
    return target;
}

// A Tessel process seen from outside: its process, its main form and its program file.
struct TTessel {
    DWORD Id = 0;
    HANDLE Process = nullptr;

    ~TTessel()
    {
        if (Process)
            CloseHandle(Process);
    }

    // The Tessel whose main form is up and which is not Other, within the time.
    static std::optional<DWORD> WaitMainForm(DWORD Other = 0, DWORD Milliseconds = 15000)
    {
        for (const DWORD start = GetTickCount(); GetTickCount() - start < Milliseconds; Sleep(50)) {
            DWORD id = 0;
            if (HWND form = FindWindowA("TForm1", "Tessel"))
                GetWindowThreadProcessId(form, &id);
            if (id && id != Other)
                return id;
        }
        return std::nullopt;
    }
    bool Attach(DWORD ProcessId)
    {
        Id = ProcessId;
        Process = OpenProcess(SYNCHRONIZE | PROCESS_QUERY_LIMITED_INFORMATION | PROCESS_TERMINATE, FALSE, Id);
        return Process != nullptr;
    }
    std::string Program() const
    {
        char path[MAX_PATH] = {};
        DWORD size = MAX_PATH;
        QueryFullProcessImageNameA(Process, 0, path, &size);
        return path;
    }
    // The exit code, or -1 when it did not end in time.
    long WaitExit(DWORD Milliseconds = 15000) const
    {
        DWORD code = static_cast<DWORD>(-1);
        if (WaitForSingleObject(Process, Milliseconds) == WAIT_OBJECT_0)
            GetExitCodeProcess(Process, &code);
        return static_cast<long>(code);
    }
};

BOOL CALLBACK FindUninstallerWindow(HWND Window, LPARAM Found)
{
    char title[64] = {}, kind[16] = {};
    GetWindowTextA(Window, title, sizeof title);
    GetClassNameA(Window, kind, sizeof kind);
    if (!IsWindowVisible(Window) || strcmp(kind, "#32770") != 0 || strncmp(title, "Tessel ", 7) != 0)
        return TRUE;
    *reinterpret_cast<HWND*>(Found) = Window;
    return FALSE;
}

// The uninstaller's pages, once they are up: a dialog of its own whose
// title begins with the suite's name.
HWND UninstallerWindow()
{
    for (const DWORD start = GetTickCount(); GetTickCount() - start < 15000; Sleep(50)) {
        HWND found = nullptr;
        EnumWindows(FindUninstallerWindow, reinterpret_cast<LPARAM>(&found));
        if (found)
            return found;
    }
    return nullptr;
}

class Installer : public ::testing::Test {
protected:
    void SetUp() override { Clean(); }
    void TearDown() override { Clean(); }

    // Whatever an earlier, failed run left: a running Tessel, the installed
    // folder, the uninstaller's folders in TEMP, the shortcut and the
    // registry entries.
    void Clean() const
    {
        if (HWND form = FindWindowA("TForm1", "Tessel")) {
            DWORD id = 0;
            GetWindowThreadProcessId(form, &id);
            TTessel tessel;
            if (tessel.Attach(id)) {
                PostMessageA(form, WM_SYSCOMMAND, SC_CLOSE, 0);
                if (tessel.WaitExit(10000) == -1)
                    TerminateProcess(tessel.Process, 99);
            }
        }
        for (const std::string& folder : HandOverFolders())
            Remove(folder);
        if (Exists(InstallDir))
            Remove(InstallDir);
        DeleteFileA(Shortcut.c_str());
        RegDeleteKeyValueA(HKEY_CURRENT_USER, RunKey, "Tessel");
        RegDeleteKeyA(HKEY_CURRENT_USER, UninstallKey);
    }

    // A folder (with its backslash) and all in it.
    static void Remove(const std::string& Folder)
    {
        std::string from = Folder;
        from.back() = '\0';
        from.push_back('\0');
        SHFILEOPSTRUCTA remove{};
        remove.wFunc = FO_DELETE;
        remove.pFrom = from.c_str();
        remove.fFlags = FOF_NOCONFIRMATION | FOF_NOERRORUI | FOF_SILENT;
        SHFileOperationA(&remove);
    }

    // Whether the uninstaller started as it lies, which runs as a copy of
    // itself in TEMP, ended and removed that copy in time.
    static bool HandOverGone()
    {
        for (const DWORD start = GetTickCount(); GetTickCount() - start < 30000; Sleep(100))
            if (HandOverFolders().empty())
                return true;
        return false;
    }

    void ExpectNothingRegistered() const
    {
        EXPECT_FALSE(Exists(Shortcut));
        EXPECT_EQ(RegString(RunKey, "Tessel"), std::nullopt);
        EXPECT_EQ(RegString(UninstallKey, "DisplayName"), std::nullopt);
    }

    const std::string InstallDir = ShellFolder(CSIDL_LOCAL_APPDATA) + "Programs\\Tessel\\";
    const std::string Shortcut = ShellFolder(CSIDL_PROGRAMS) + "Tessel.lnk";
};

TEST_F(Installer, InstallsUpgradesARunningTesselAndUninstallsKeepingTheSettings)
{
    const Strings suite = ProgramFiles(SuiteBin());
    ASSERT_NE(std::find(suite.begin(), suite.end(), "Tessel.exe"), suite.end());
    // Another program's rename and delete wait for the next boot: every run
    // below leaves them and adds none of its own.
    PendingRenamesTurn turn;
    ForeignPendingRenames foreign;

    // A silent first install lays the suite out as the build does and registers it.
    ASSERT_EQ(Exec(Quoted(SetupProgram()) + " /S"), 0);
    EXPECT_EQ(PendingAtBoot(), foreign.Entries);
    EXPECT_EQ(ProgramFiles(InstallDir), [&] {
        Strings files = suite;
        files.push_back("Uninstall.exe");
        std::sort(files.begin(), files.end());
        return files;
    }());
    // Programs and modules ship without the debug data and symbols the build
    // keeps, their code unchanged; every other file ships as it is built.
    unsigned long long bytes = 0;
    for (const std::string& file : suite) {
        const std::string installed = ReadWholeFile(InstallDir + file), built = ReadWholeFile(SuiteBin() + file);
        if (IsProgram(file)) {
            const TProgramParts shipped = PartsOf(installed), debug = PartsOf(built);
            EXPECT_FALSE(shipped.Code.empty()) << file;
            EXPECT_EQ(shipped.Code, debug.Code) << file;
            EXPECT_EQ(shipped.Symbols, 0u) << file;
            EXPECT_FALSE(shipped.DebugData) << file;
            EXPECT_TRUE(debug.Symbols > 0 && debug.DebugData) << file << ": the build keeps them";
        } else {
            EXPECT_EQ(installed, built) << file;
        }
        bytes += installed.size();
    }
    for (const char* folder : {"Page\\", "ContainerImages\\", "Lang\\"})
        EXPECT_TRUE(Exists(InstallDir + folder)) << folder;
    EXPECT_TRUE(Exists(InstallDir + "Tessel.ini"));
    EXPECT_EQ(ShortcutTarget(Shortcut), InstallDir + "Tessel.exe");
    EXPECT_EQ(RegString(RunKey, "Tessel"), Quoted(InstallDir + "Tessel.exe") + " -tray");
    EXPECT_EQ(RegString(UninstallKey, "DisplayName"), "Tessel");
    EXPECT_EQ(RegString(UninstallKey, "DisplayVersion"), TESSEL_VERSION);
    EXPECT_EQ(RegString(UninstallKey, "UninstallString"), Quoted(InstallDir + "Uninstall.exe"));
    const DWORD kilobytes = RegDword(UninstallKey, "EstimatedSize").value_or(0);
    EXPECT_GE(kilobytes, bytes / 1024);
    EXPECT_LE(kilobytes, bytes / 1024 + 1024) << "the suite and the uninstaller, in KB";

    // The user's settings, a stale program file, and Tessel running from the
    // install. The main window keeps its place in its own section and writes
    // it back when Tessel ends: as given here, that write changes nothing.
    const std::string ini = InstallDir + "Tessel.ini", pageIni = InstallDir + "Page\\Mine.ini";
    WriteWholeFile(ini, "[Tessel]\r\nObjectStyle=3\r\nMine=kept\r\n[PageContainer]\r\nLeft=80\r\nTop=60\r\n"
                        "Width=760\r\nHeight=520\r\nGroup=0\r\nPage=0\r\n");
    const std::string pageSettings = "[MESSAGE]\r\nmessagecount=1\r\n1=1200\r\n";
    WriteWholeFile(pageIni, pageSettings);
    WriteWholeFile(InstallDir + "Lang\\English.lng", "stale");
    {
        STARTUPINFOA startup{};
        startup.cb = sizeof startup;
        PROCESS_INFORMATION info{};
        std::string command = Quoted(InstallDir + "Tessel.exe") + " -tray";
        ASSERT_TRUE(CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, InstallDir.c_str(),
                                   &startup, &info));
        CloseHandle(info.hThread);
        CloseHandle(info.hProcess);
    }
    TTessel first;
    ASSERT_TRUE(first.Attach(TTessel::WaitMainForm().value_or(0)));
    const std::string settings = ReadWholeFile(ini); // as Tessel's start-up left it
    ASSERT_NE(settings.find("Mine=kept"), std::string::npos);

    // The upgrade closes it, replaces the program files (at once, not at
    // the next boot), keeps the settings byte for byte and starts Tessel
    // again from the install.
    ASSERT_EQ(Exec(Quoted(SetupProgram()) + " /S"), 0);
    EXPECT_EQ(first.WaitExit(), 0) << "ended through its own close path";
    EXPECT_EQ(PendingAtBoot(), foreign.Entries);
    TTessel second;
    ASSERT_TRUE(second.Attach(TTessel::WaitMainForm(first.Id).value_or(0)));
    EXPECT_EQ(lstrcmpiA(second.Program().c_str(), (InstallDir + "Tessel.exe").c_str()), 0) << second.Program();
    EXPECT_EQ(ReadWholeFile(InstallDir + "Lang\\English.lng"), ReadWholeFile(SuiteBin() + "Lang\\English.lng"));
    EXPECT_EQ(ReadWholeFile(ini), settings);
    EXPECT_EQ(ReadWholeFile(pageIni), pageSettings);
    EXPECT_EQ(RegString(RunKey, "Tessel"), Quoted(InstallDir + "Tessel.exe") + " -tray");

    // A silent uninstall that is waited for (a copy outside the folder, told
    // where the suite is) ends Tessel and removes all it installed, but the settings.
    TempFolder temp;
    const std::string uninstaller = temp.Path() + "Uninstall.exe";
    ASSERT_TRUE(CopyFileA((InstallDir + "Uninstall.exe").c_str(), uninstaller.c_str(), FALSE));
    std::string folder = InstallDir;
    folder.pop_back();
    ASSERT_EQ(Exec(Quoted(uninstaller) + " /S _?=" + folder), 0);
    EXPECT_EQ(second.WaitExit(), 0);
    EXPECT_EQ(Entries(InstallDir), (Strings{"Page\\", "Page\\Mine.ini", "Tessel.ini"}));
    EXPECT_EQ(ReadWholeFile(ini), settings);
    EXPECT_EQ(ReadWholeFile(pageIni), pageSettings);
    ExpectNothingRegistered();
    EXPECT_EQ(PendingAtBoot(), foreign.Entries);

    // Installing again keeps those settings; without log-on start when asked.
    ASSERT_EQ(Exec(Quoted(SetupProgram()) + " /S /NOAUTOSTART"), 0);
    EXPECT_EQ(ReadWholeFile(ini), settings);
    EXPECT_EQ(RegString(RunKey, "Tessel"), std::nullopt);
    EXPECT_EQ(RegString(UninstallKey, "DisplayName"), "Tessel");

    // The programs list's own command shows the uninstaller's pages (as a
    // copy of itself, from TEMP). Closed there, it removes nothing, and
    // leaves neither that copy nor a delete of it waiting for the boot.
    const std::string command = RegString(UninstallKey, "UninstallString").value_or("");
    ASSERT_EQ(command, Quoted(InstallDir + "Uninstall.exe"));
    ASSERT_EQ(Exec(command), 0);
    const HWND pages = UninstallerWindow();
    ASSERT_NE(pages, nullptr);
    PostMessageA(pages, WM_SYSCOMMAND, SC_CLOSE, 0);
    EXPECT_TRUE(HandOverGone());
    EXPECT_EQ(PendingAtBoot(), foreign.Entries);
    EXPECT_TRUE(Exists(InstallDir + "Uninstall.exe"));
    EXPECT_EQ(RegString(UninstallKey, "DisplayName"), "Tessel");

    // The programs list's own quiet command, asked to remove the settings
    // too, leaves nothing. It hands over to a copy of itself and returns.
    const std::string quiet = RegString(UninstallKey, "QuietUninstallString").value_or("");
    ASSERT_EQ(quiet, Quoted(InstallDir + "Uninstall.exe") + " /S");
    ASSERT_EQ(Exec(quiet + " /REMOVESETTINGS"), 0);
    EXPECT_TRUE(HandOverGone());
    EXPECT_FALSE(Exists(InstallDir));
    ExpectNothingRegistered();
    EXPECT_EQ(PendingAtBoot(), foreign.Entries);
}

TEST_F(Installer, FailsWhereItCannotWriteAndLeavesNothingBehind)
{
    TempFolder temp;

    // A folder whose Lang\ cannot be made: the install fails part-way
    // through the files and takes back what it wrote.
    const std::string blocked = temp.Path() + "Tessel\\";
    ASSERT_TRUE(CreateDirectoryA(blocked.c_str(), nullptr));
    WriteWholeFile(blocked + "Lang", "in the way");
    EXPECT_EQ(Exec(Quoted(SetupProgram()) + " /S /D=" + blocked.substr(0, blocked.size() - 1)), 2);
    EXPECT_EQ(Entries(blocked), Strings{"Lang"});

    // A folder below a file cannot be made at all; the installer fails
    // rather than go to its default folder instead.
    WriteWholeFile(temp.Path() + "file", "");
    EXPECT_EQ(Exec(Quoted(SetupProgram()) + " /S /D=" + temp.Path() + "file\\Tessel"), 2);
    EXPECT_EQ(Entries(temp.Path()), (Strings{"Tessel\\", "Tessel\\Lang", "file"}));
    EXPECT_FALSE(Exists(InstallDir));
    ExpectNothingRegistered();
}

LRESULT CALLBACK IgnoreSystemCommands(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam)
{
    return Msg == WM_SYSCOMMAND ? 0 : DefWindowProcA(Wnd, Msg, WParam, LParam);
}

// A Tessel that does not end when told to (here a main form in this test
// program that ignores the close command) fails the install before a single
// file is written.
TEST_F(Installer, FailsWhenTesselDoesNotEnd)
{
    WNDCLASSA form{};
    form.lpfnWndProc = IgnoreSystemCommands;
    form.hInstance = GetModuleHandleA(nullptr);
    form.lpszClassName = "TForm1";
    ASSERT_TRUE(RegisterClassA(&form));
    HWND stuck = CreateWindowExA(0, "TForm1", "Tessel", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, form.hInstance, nullptr);
    ASSERT_NE(stuck, nullptr);

    EXPECT_EQ(Exec(Quoted(SetupProgram()) + " /S"), 2);
    DestroyWindow(stuck);
    UnregisterClassA("TForm1", form.hInstance);
    EXPECT_FALSE(Exists(InstallDir));
    ExpectNothingRegistered();
}

} // namespace
