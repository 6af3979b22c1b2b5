#include "modules/Suite/SuiteSettings.h"

#include "platform/Form.h"
#include "platform/IniStore.h"
#include "platform/Win32.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdlib>

extern "C" IMAGE_DOS_HEADER __ImageBase;

namespace tessel {

std::string SuiteFolder()
{
    char path[MAX_PATH] = {};
    DWORD n = GetModuleFileNameA(reinterpret_cast<HMODULE>(&__ImageBase), path, MAX_PATH);
    if (n == 0 || n >= MAX_PATH)
        return {};
    std::string folder(path, n);
    folder.erase(folder.find_last_of('\\') + 1);
    const std::string pages = "\\Page\\";
    if (folder.size() > pages.size() &&
        lstrcmpiA(folder.c_str() + folder.size() - pages.size(), pages.c_str()) == 0)
        folder.erase(folder.size() - pages.size() + 1);
    return folder;
}

std::string SuiteIni()
{
    return SuiteFolder() + "Tessel.ini";
}

int ReadSetting(const std::string& Section, const std::string& Key, int Default)
{
    char value[32] = {};
    GetPrivateProfileStringA(Section.c_str(), Key.c_str(), "", value, sizeof value, SuiteIni().c_str());
    // Anything but a whole number in int's range counts as missing.
    char* end = nullptr;
    errno = 0;
    const long number = std::strtol(value, &end, 10);
    if (end == value || *end || errno == ERANGE || number < INT_MIN || number > INT_MAX)
        return Default;
    return static_cast<int>(number);
}

void WriteSettings(const std::string& Section, std::initializer_list<std::pair<const char*, int>> Values)
{
    platform::EditIniFile(SuiteIni(), [&](platform::TIniFile& Ini) {
        for (const auto& [key, value] : Values)
            Ini.Write(Section, key, std::to_string(value));
    });
}

std::string ReadSettingText(const std::string& Section, const std::string& Key)
{
    char value[260] = {};
    GetPrivateProfileStringA(Section.c_str(), Key.c_str(), "", value, sizeof value, SuiteIni().c_str());
    return value;
}

void WriteSettingText(const std::string& Section, const std::string& Key, const std::string& Value)
{
    platform::EditIniFile(SuiteIni(), [&](platform::TIniFile& Ini) { Ini.Write(Section, Key, Value); });
}

void RestoreBounds(platform::TForm* Form, const std::string& Section, bool Sized)
{
    int width = Form->Width(), height = Form->Height();
    if (Sized) {
        width = std::max(ReadSetting(Section, "Width", width), 200);
        height = std::max(ReadSetting(Section, "Height", height), 150);
    }
    RECT wanted{ReadSetting(Section, "Left", Form->Left()), ReadSetting(Section, "Top", Form->Top()), 0, 0};
    wanted.right = wanted.left + width;
    wanted.bottom = wanted.top + height;

    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    GetMonitorInfoA(MonitorFromRect(&wanted, MONITOR_DEFAULTTONEAREST), &monitor);
    const RECT& area = monitor.rcWork;
    width = std::min<int>(width, area.right - area.left);
    height = std::min<int>(height, area.bottom - area.top);
    const int left = std::clamp<int>(wanted.left, area.left, area.right - width);
    const int top = std::clamp<int>(wanted.top, area.top, area.bottom - height);
    Form->SetBounds(left, top, width, height);
}

void SaveBounds(platform::TForm* Form, const std::string& Section, bool Sized)
{
    RECT bounds{Form->Left(), Form->Top(), Form->Left() + Form->Width(), Form->Top() + Form->Height()};
    // A minimized or maximized window keeps the bounds it returns to, not
    // those of its icon or of the whole screen.
    HWND window = Form->HandleAllocated() ? Form->Handle() : nullptr;
    WINDOWPLACEMENT placement{};
    placement.length = sizeof placement;
    if (window && (IsIconic(window) || IsZoomed(window)) && GetWindowPlacement(window, &placement)) {
        bounds = placement.rcNormalPosition;
        // Those are work-area coordinates for a window with a taskbar button.
        if (!(GetWindowLongA(window, GWL_EXSTYLE) & WS_EX_TOOLWINDOW)) {
            MONITORINFO monitor{};
            monitor.cbSize = sizeof monitor;
            GetMonitorInfoA(MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST), &monitor);
            OffsetRect(&bounds, monitor.rcWork.left - monitor.rcMonitor.left, monitor.rcWork.top - monitor.rcMonitor.top);
        }
    }
    if (Sized)
        WriteSettings(Section, {{"Left", bounds.left},
                                {"Top", bounds.top},
                                {"Width", bounds.right - bounds.left},
                                {"Height", bounds.bottom - bounds.top}});
    else
        WriteSettings(Section, {{"Left", bounds.left}, {"Top", bounds.top}});
}

} // namespace tessel
