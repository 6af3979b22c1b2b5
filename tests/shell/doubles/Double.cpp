// A test double of every sibling module of the shell. Copied under a
// module's file name it plays that module: its part is its own file name
// less ".dll" (KsIO, KsTuneProfile, KsMultiLang, PageContainer, Bar, or a
// page module's name).
//
// Every call is appended as one line to calls.log, with the data behind its
// pointers (the group table is read through its byte offsets, not through
// the shell's declarations). What it answers comes from doubles.ini, section
// = its part. Both files live in the folder named by TESSEL_DOUBLE_DIR or,
// without it, in the folder of the program that loaded the double.
//
//   [KsIO]           Reboot=1              KSIO_CheckReboot answers true
//   [KsTuneProfile]  CheckSuite=1, CheckFathom=1
//   [KsMultiLang]    Fail=1                KsGetLangNameAndPath answers 0
//                    Name=Japanese         the language's name (default English)
//                    Prefix=[ja]           translations are Prefix + text
//                    Fill=1                every translation fills the whole buffer
//   [<view or page>] On<code>=<code>,<target>[,pair];...
//                    calls the shell's callback with these records after
//                    receiving <code>; "pair" passes a pointer to {77, 88}
//   [<page>]         Caption=...  written into the page record on code 2
//                    Tip=..., Badge=...  written into it on every code 8
//                    (at the offsets the suite's own pages use)
//                    Fault=<call>  writes to address 0 in that call, after
//                    logging it: 2, 8, PageCreate, PageMessage or PageDestroy
//                    Hang=<call>   never returns from that call; Load: its
//                                  DllMain never returns
//                    Exit=<call>   calls ExitProcess(42) in that call
//                    Throw=<call>  lets a C++ exception escape that call
//                    EndThread=<call>  ends the calling thread in that call
//                    Overflow=<call>   overflows the stack in that call
//                    Fault=WM_CREATE  PageCreate makes a window that
//                                  writes to address 0 in its WM_CREATE
//                    View=Popup    PageCreate returns a top-level window
//                    Late=8        writes "late" as its tip six seconds into
//                                  code 8, then logs "late"
//
// As a page module it also carries the view entries the suite's main window
// calls (PageCreate, PageDestroy, PageMessage) and logs each call.
//
// Main-window and quick-bar doubles open, at registration, a hidden window
// of class "TesselDouble<part>" on which a test posts WM_APP + 1 (data null)
// or WM_APP + 2 (data pair) with wParam = code and lParam = target to make
// the module call back. The PageContainer double also opens the container
// window ("TFormContainer", "Tessel") and logs the switch notice it receives.
// The PageContainer, Bar and KsMultiLang doubles log "unloaded" when they are
// unloaded before the process ends.
#include "platform/Win32.h"

#include <cstdint>
#include <cstdio>
#include <stdexcept>
#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

extern "C" IMAGE_DOS_HEADER __ImageBase;

namespace {

struct CommandRecord {
    int32_t Code;
    int32_t Target;
    void* Data;
};
using Callback = void(__stdcall*)(CommandRecord*);

constexpr UINT WM_REQUEST = WM_APP + 1;
constexpr UINT WM_REQUEST_PAIR = WM_APP + 2;
constexpr UINT WM_CONTAINER_SWITCH = WM_USER + 2000;

int32_t Pair[2] = {77, 88};
Callback ShellCallback = nullptr;
HWND RequestWindow = nullptr;
HWND ContainerWindow = nullptr;
int Depth = 0;

HINSTANCE Self()
{
    return reinterpret_cast<HINSTANCE>(&__ImageBase);
}

std::string Part()
{
    char path[MAX_PATH] = {};
    GetModuleFileNameA(Self(), path, MAX_PATH);
    std::string name = path;
    name = name.substr(name.find_last_of('\\') + 1);
    return name.substr(0, name.rfind('.'));
}

std::string Folder()
{
    char dir[MAX_PATH] = {};
    DWORD n = GetEnvironmentVariableA("TESSEL_DOUBLE_DIR", dir, MAX_PATH);
    std::string folder;
    if (n > 0 && n < MAX_PATH) {
        folder = dir;
    } else {
        char path[MAX_PATH] = {};
        GetModuleFileNameA(nullptr, path, MAX_PATH);
        folder = path;
        folder = folder.substr(0, folder.find_last_of('\\'));
    }
    if (folder.empty() || folder.back() != '\\')
        folder += '\\';
    return folder;
}

std::string Setting(const char* key)
{
    char value[512] = {};
    GetPrivateProfileStringA(Part().c_str(), key, "", value, sizeof value, (Folder() + "doubles.ini").c_str());
    return value;
}

void Log(const std::string& line)
{
    const std::string text = Part() + " " + line + "\r\n";
    HANDLE file = CreateFileA((Folder() + "calls.log").c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE,
                              nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return;
    DWORD written = 0;
    WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
    CloseHandle(file);
}

std::string Address(const void* p)
{
    char text[32];
    std::snprintf(text, sizeof text, "@%p", p);
    return text;
}

void CallShell(int32_t code, int32_t target, void* data)
{
    if (!ShellCallback || Depth > 4)
        return;
    ++Depth;
    std::string line = "request " + std::to_string(code) + "," + std::to_string(target);
    if (data)
        line.append(" ").append(Address(data));
    Log(line);
    CommandRecord record{code, target, data};
    ShellCallback(&record);
    Log("request done " + std::to_string(code) + "," + std::to_string(target));
    --Depth;
}

// "3,103,pair;6,104" -> the callbacks to make.
void React(int32_t received)
{
    std::string plan = Setting(("On" + std::to_string(received)).c_str());
    size_t start = 0;
    while (start < plan.size()) {
        size_t end = plan.find(';', start);
        if (end == std::string::npos)
            end = plan.size();
        const std::string item = plan.substr(start, end - start);
        int code = 0, target = 0;
        char extra[16] = {};
        if (std::sscanf(item.c_str(), "%d,%d,%15s", &code, &target, extra) >= 2)
            CallShell(code, target, std::strcmp(extra, "pair") == 0 ? Pair : nullptr);
        start = end + 1;
    }
}

int32_t ReadInt(const void* base, size_t offset)
{
    int32_t value;
    std::memcpy(&value, static_cast<const char*>(base) + offset, sizeof value);
    return value;
}

const void* ReadPointer(const void* base, size_t offset)
{
    const void* value;
    std::memcpy(&value, static_cast<const char*>(base) + offset, sizeof value);
    return value;
}

void WriteToAddressZero()
{
    volatile int* volatile address = nullptr;
    *address = 1;
}

volatile bool StopDescent = false;

__attribute__((noinline)) int Descend(int Depth)
{
    volatile char frame[256];
    frame[0] = static_cast<char>(Depth);
    if (StopDescent)
        return 0;
    return Descend(Depth + 1) + frame[0];
}

__attribute__((noinline)) void Throw()
{
    throw std::runtime_error("escapes the module");
}

// What a misbehaving page module does in the call named Call.
void Misbehave(const std::string& Call)
{
    if (Setting("Fault") == Call)
        WriteToAddressZero();
    if (Setting("Hang") == Call)
        for (;;)
            Sleep(INFINITE);
    if (Setting("Exit") == Call)
        ExitProcess(42);
    if (Setting("Throw") == Call)
        Throw();
    if (Setting("EndThread") == Call)
        ExitThread(0);
    if (Setting("Overflow") == Call)
        Descend(0);
}

LRESULT CALLBACK FaultOnCreate(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == WM_CREATE)
        WriteToAddressZero();
    return DefWindowProcA(wnd, msg, wParam, lParam);
}

// "[name|id|pagecount|style|file,file]" per group, read through the shared
// offsets; a page marked unavailable (byte 272 + page) carries a "!".
std::string DescribeGroups(const void* groups, int32_t count)
{
    std::string text;
    for (int32_t i = 0; i < count && i < 256; ++i) {
        const char* group = static_cast<const char*>(groups) + 784 * i;
        const int32_t pageCount = ReadInt(group, 260);
        text += " [" + std::string(group, strnlen(group, 256)) + "|" + std::to_string(ReadInt(group, 256)) + "|" +
                std::to_string(pageCount) + "|" + std::to_string(ReadInt(group, 264)) + "|";
        const char* pages = static_cast<const char*>(ReadPointer(group, 268));
        for (int32_t j = 0; pages && j < pageCount; ++j) {
            if (j)
                text += ",";
            text.append(pages + 3596 * j + 256, strnlen(pages + 3596 * j + 256, 260));
            if (j < 16 && group[272 + j])
                text += "!";
        }
        text += "]";
    }
    return text;
}

LRESULT CALLBACK WindowProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (wnd == RequestWindow && (msg == WM_REQUEST || msg == WM_REQUEST_PAIR)) {
        CallShell(static_cast<int32_t>(wParam), static_cast<int32_t>(lParam), msg == WM_REQUEST_PAIR ? Pair : nullptr);
        return 0;
    }
    if (wnd == ContainerWindow && msg == WM_CONTAINER_SWITCH) {
        Log("container-switch");
        return 0;
    }
    return DefWindowProcA(wnd, msg, wParam, lParam);
}

HWND OpenWindow(const std::string& className, const char* title)
{
    WNDCLASSA wc{};
    wc.lpfnWndProc = WindowProc;
    wc.hInstance = Self();
    wc.lpszClassName = className.c_str();
    RegisterClassA(&wc);
    return CreateWindowExA(WS_EX_TOOLWINDOW, className.c_str(), title, WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, Self(),
                           nullptr);
}

void CloseWindows()
{
    if (RequestWindow)
        DestroyWindow(RequestWindow);
    if (ContainerWindow)
        DestroyWindow(ContainerWindow);
    RequestWindow = ContainerWindow = nullptr;
    UnregisterClassA(("TesselDouble" + Part()).c_str(), Self());
    UnregisterClassA("TFormContainer", Self());
    UnregisterClassA("TesselDoubleFaulty", Self());
}

} // namespace

BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID reserved)
{
    if (reason == DLL_PROCESS_ATTACH)
        Misbehave("Load");
    // Unloaded by FreeLibrary (not at process end): no window may outlive the
    // code. The modules the shell keeps loaded say when they go.
    if (reason == DLL_PROCESS_DETACH && !reserved) {
        CloseWindows();
        const std::string part = Part();
        if (part == "PageContainer" || part == "Bar" || part == "KsMultiLang")
            Log("unloaded");
    }
    return TRUE;
}

extern "C" bool KSIO_CheckReboot()
{
    Log("KSIO_CheckReboot");
    return Setting("Reboot") == "1";
}

extern "C" void __stdcall MakeNewIni(const char* ini, bool* checkSuite, bool* checkFathom)
{
    Log(std::string("MakeNewIni ") + (ini ? ini : "(null)") + " suite=" + (checkSuite && *checkSuite ? "1" : "0") +
        " fathom=" + (checkFathom && *checkFathom ? "1" : "0"));
    if (checkSuite)
        *checkSuite = Setting("CheckSuite") == "1";
    if (checkFathom)
        *checkFathom = Setting("CheckFathom") == "1";
}

extern "C" int __cdecl KsGetLangNameAndPath(int which, char* name, char* path)
{
    Log("KsGetLangNameAndPath " + std::to_string(which));
    if (Setting("Fail") == "1")
        return 0;
    std::string language = Setting("Name");
    if (language.empty())
        language = "English";
    std::strncpy(name, language.c_str(), 31);
    std::strncpy(path, (Folder() + language + ".lng").c_str(), 259);
    return 1;
}

extern "C" int __cdecl KsTranslateStr2(int, const char* english, char* out, int size, const char* langFile)
{
    Log("KsTranslateStr2 " + std::to_string(size) + " " + english + " (" + langFile + ")");
    if (size <= 0)
        return 0;
    std::string text = Setting("Fill") == "1" ? std::string(static_cast<size_t>(size), 'x') : Setting("Prefix") + english;
    const size_t n = std::min(text.size(), static_cast<size_t>(size - 1));
    std::memcpy(out, text.data(), n);
    out[n] = '\0';
    return static_cast<int>(n);
}

extern "C" void __stdcall Command(int32_t code, void* data)
{
    std::string line = "Command " + std::to_string(code);
    switch (code) {
    case 1: {
        ShellCallback = reinterpret_cast<Callback>(const_cast<void*>(ReadPointer(data, 0)));
        const int32_t groupCount = ReadInt(data, 4);
        line += std::string(ShellCallback ? " callback" : " nocallback") + " groups=" + std::to_string(groupCount);
        line += DescribeGroups(ReadPointer(data, 8), groupCount);
        if (!RequestWindow)
            RequestWindow = OpenWindow("TesselDouble" + Part(), Part().c_str());
        if (Part() == "PageContainer" && !ContainerWindow)
            ContainerWindow = OpenWindow("TFormContainer", "Tessel");
        break;
    }
    case 2:
    case 8:
        line += " file=" + std::string(static_cast<const char*>(data) + 256);
        // Caption at 0 (64 bytes); tip at 516 (256 bytes) and badge after it (16).
        if (code == 2)
            std::snprintf(static_cast<char*>(data), 64, "%s", Setting("Caption").c_str());
        else {
            std::snprintf(static_cast<char*>(data) + 516, 256, "%s", Setting("Tip").c_str());
            std::snprintf(static_cast<char*>(data) + 516 + 256, 16, "%s", Setting("Badge").c_str());
            if (Setting("Late") == "8") {
                Sleep(6000);
                std::snprintf(static_cast<char*>(data) + 516, 256, "late");
                Log("late");
            }
        }
        break;
    case 7:
        line += " msg=" + std::to_string(ReadInt(data, 0)) + " lparam=" + std::to_string(ReadInt(data, 4)) +
                " wparam=" + std::to_string(ReadInt(data, 8));
        break;
    default:
        if (!data)
            line += " null";
        else if (Part() == "PageContainer")
            line += " pair=" + std::to_string(ReadInt(data, 0)) + "," + std::to_string(ReadInt(data, 4)) + " " +
                    Address(data);
        else
            line += data == Pair ? " pair" : " data";
        break;
    }
    Log(line);
    React(code);
    Misbehave(std::to_string(code));
}

extern "C" HWND __stdcall PageCreate(HWND parent)
{
    Log("PageCreate");
    Misbehave("PageCreate");
    if (Setting("View") == "Popup")
        return CreateWindowExA(WS_EX_TOOLWINDOW, "STATIC", Part().c_str(), WS_POPUP | WS_VISIBLE, 0, 0, 100, 100,
                               nullptr, nullptr, Self(), nullptr);
    const char* windowClass = "STATIC";
    if (Setting("Fault") == "WM_CREATE") {
        WNDCLASSA wc{};
        wc.lpfnWndProc = FaultOnCreate;
        wc.hInstance = Self();
        wc.lpszClassName = windowClass = "TesselDoubleFaulty";
        RegisterClassA(&wc);
    }
    return CreateWindowExA(0, windowClass, Part().c_str(), WS_CHILD, 0, 0, 100, 100, parent, nullptr, Self(),
                           nullptr);
}

extern "C" void __stdcall PageDestroy()
{
    Log("PageDestroy");
    Misbehave("PageDestroy");
}

extern "C" void __stdcall PageMessage(const void* message)
{
    Log("PageMessage msg=" + std::to_string(ReadInt(message, 0)) + " lparam=" + std::to_string(ReadInt(message, 4)) +
        " wparam=" + std::to_string(ReadInt(message, 8)));
    Misbehave("PageMessage");
}
