// Page\Settings.dll: the suite's own settings, each a row of choices whose
// chosen one is held down, changed at a click:
//
//   Language         the languages of Lang\ (one <Language>.lng each);
//                    Tessel.ini [Tessel] Language, which KsMultiLang.dll
//                    reads at the next start, as the page says.
//   Start view       the quick bar or the tray icon alone: Tessel.ini
//                    [Tessel] ObjectStyle, 0 or 3, the value the tray menu's
//                    "Start at Quick Bar" and "Start at ToolBar" set.
//   Start at log-on  the value "Tessel" of the current user's Run key
//                    (Software\Microsoft\Windows\CurrentVersion\Run) that
//                    the installer writes: the program with "-tray", so that
//                    no question holds up the log-on.
//
// The page reads all three again whenever it is shown: the tray menu and
// the installer change them too.
//
// Below them, while there are any, the pages that the suite left out
// because one took it down (Tessel.ini [LeftOut]), each with its reason and
// a button that turns it on again from the next start.
#include "modules/Suite/PageModule.h"
#include "modules/Suite/SuiteSettings.h"
#include "modules/Suite/SuiteSkin.h"
#include "modules/Suite/SuiteText.h"

#include "platform/ClassBuilder.h"
#include "platform/IniStore.h"

#include <algorithm>
#include <cstring>
#include <vector>

using namespace platform;

namespace tessel {

namespace {

const char* const RunKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
constexpr int LabelLeft = 16, RowHeight = 56;

// The stems of Lang\*.lng, English first, the others in alphabetical order.
std::vector<std::string> LanguagesPresent()
{
    std::vector<std::string> names;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((SuiteFolder() + "Lang\\*.lng").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return names;
    do {
        const std::string name = found.cFileName;
        // The pattern also matches longer extensions through short aliases.
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && name.size() > 4 &&
            lstrcmpiA(name.c_str() + name.size() - 4, ".lng") == 0)
            names.push_back(name.substr(0, name.size() - 4));
    } while (FindNextFileA(search, &found));
    FindClose(search);
    std::sort(names.begin(), names.end(), [](const std::string& a, const std::string& b) {
        const bool englishA = lstrcmpiA(a.c_str(), "English") == 0, englishB = lstrcmpiA(b.c_str(), "English") == 0;
        return englishA != englishB ? englishA : lstrcmpiA(a.c_str(), b.c_str()) < 0;
    });
    return names;
}

struct TLeftOutPage {
    std::string File;   // as its group section lists it
    std::string Reason; // LeftOutEnded or LeftOutHung
};

std::vector<TLeftOutPage> LeftOutPages()
{
    std::vector<TLeftOutPage> pages;
    std::vector<char> keys(32 * 1024);
    const std::string ini = SuiteIni();
    GetPrivateProfileStringA(LeftOutSection, nullptr, "", keys.data(), static_cast<DWORD>(keys.size()), ini.c_str());
    for (const char* key = keys.data(); *key; key += std::strlen(key) + 1)
        pages.push_back({key, ReadSettingText(LeftOutSection, key)});
    return pages;
}

// Takes File off the list; the others stay as they are. False when
// Tessel.ini could not be written.
bool TurnOn(const std::string& File)
{
    const std::vector<TLeftOutPage> pages = LeftOutPages();
    return EditIniFile(SuiteIni(), [&](TIniFile& Ini) {
        Ini.EraseSection(LeftOutSection);
        for (const TLeftOutPage& page : pages)
            if (lstrcmpiA(page.File.c_str(), File.c_str()) != 0)
                Ini.Write(LeftOutSection, page.File, page.Reason);
    });
}

std::string StartCommand()
{
    std::string command(1, '"');
    command.append(SuiteFolder()).append("Tessel.exe\" -tray");
    return command;
}

bool StartsAtLogOn()
{
    char value[MAX_PATH * 2] = {};
    DWORD size = sizeof value;
    return RegGetValueA(HKEY_CURRENT_USER, RunKey, "Tessel", RRF_RT_REG_SZ, nullptr, value, &size) == ERROR_SUCCESS &&
           value[0] != '\0';
}

void SetStartAtLogOn(bool On)
{
    if (!On) {
        RegDeleteKeyValueA(HKEY_CURRENT_USER, RunKey, "Tessel");
        return;
    }
    HKEY key = nullptr;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, RunKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr) !=
        ERROR_SUCCESS)
        return;
    const std::string command = StartCommand();
    RegSetValueExA(key, "Tessel", 0, REG_SZ, reinterpret_cast<const BYTE*>(command.c_str()),
                   static_cast<DWORD>(command.size() + 1));
    RegCloseKey(key);
}

} // namespace

class TSettingsView : public TPageView {
    PLATFORM_CLASS(TSettingsView, TPageView)
public:
    explicit TSettingsView(TComponent* AOwner) : TPageView(AOwner)
    {
        // The choices start right of the longest row name: translations run longer.
        const std::vector<TLeftOutPage> leftOut = LeftOutPages();
        int choiceLeft = 170;
        int top = 16;
        std::vector<const char*> rows = {"Language", "Start view", "Start at log-on"};
        if (!leftOut.empty())
            rows.push_back("Pages left out");
        for (const char* name : rows) {
            const TLabel* label = AddLabel(LabelLeft, top + 4, Tr(name));
            choiceLeft = std::max(choiceLeft, label->Left() + label->Width() + 16);
            top += RowHeight;
        }

        top = 16;
        int left = choiceLeft;
        for (const std::string& name : LanguagesPresent()) {
            auto* button = MakeSkinButton(this, Tr(name.c_str()), left, top);
            button->OnClick = [this, name](TObject*) {
                WriteSettingText("Tessel", "Language", name);
                Refresh();
            };
            left += button->Width() + 4;
            FLanguages.push_back({name, button});
        }
        FLanguageNote = AddLabel(choiceLeft, top + 28, "");

        top += RowHeight;
        FAtQuickBar = MakeSkinButton(this, Tr("Start at Quick Bar"), choiceLeft, top);
        FAtQuickBar->OnClick = [this](TObject*) {
            WriteSettings("Tessel", {{"ObjectStyle", 0}});
            Refresh();
        };
        FAtTray = MakeSkinButton(this, Tr("Start at ToolBar"), choiceLeft + FAtQuickBar->Width() + 4, top);
        FAtTray->OnClick = [this](TObject*) {
            WriteSettings("Tessel", {{"ObjectStyle", 3}});
            Refresh();
        };
        AddLabel(choiceLeft, top + 28, Tr("Used from the next start; the tray menu sets it too."));

        top += RowHeight;
        FLogOnOn = MakeSkinButton(this, Tr("On"), choiceLeft, top);
        FLogOnOn->OnClick = [this](TObject*) {
            SetStartAtLogOn(true);
            Refresh();
        };
        FLogOnOff = MakeSkinButton(this, Tr("Off"), choiceLeft + FLogOnOn->Width() + 4, top);
        FLogOnOff->OnClick = [this](TObject*) {
            SetStartAtLogOn(false);
            Refresh();
        };
        AddLabel(choiceLeft, top + 28, Tr("Tessel starts in the tray when you log on to Windows."));

        for (const TLeftOutPage& page : leftOut) {
            top += RowHeight;
            auto* button = MakeSkinButton(this, Tr("Turn on %1", {PageFileStem(page.File)}), choiceLeft, top);
            TLabel* note = AddLabel(choiceLeft, top + 28,
                                    Tr(page.Reason == LeftOutHung ? "It stopped responding."
                                                                  : "Tessel ended while it was working."));
            button->OnClick = [button, note, file = page.File](TObject*) {
                // Left as it was when the file keeps it: another click tries again.
                if (!TurnOn(file))
                    return;
                button->SetEnabled(false);
                note->SetText(Tr("Used again from the next start."));
            };
        }
        Refresh();
    }

protected:
    void WndProc(TMessage& Message) override
    {
        if (Message.Msg == WM_SHOWWINDOW && Message.WParam)
            Refresh();
        inherited::WndProc(Message);
    }

private:
    struct TLanguageChoice {
        std::string Name;
        TSkinButton* Button;
    };

    void Refresh()
    {
        // The language named in Tessel.ini, or the one the language module
        // chose by itself when none is named. One named without its file
        // is not shown at the next start either: the language module then
        // shows English, and the language in use stays held down.
        std::string named = ReadSettingText("Tessel", "Language");
        if (named.empty())
            named = LanguageInUse();
        const bool present = std::any_of(FLanguages.begin(), FLanguages.end(), [&](const TLanguageChoice& c) {
            return lstrcmpiA(c.Name.c_str(), named.c_str()) == 0;
        });
        const std::string chosen = present ? named : LanguageInUse();
        for (TLanguageChoice& choice : FLanguages)
            choice.Button->SetChosen(lstrcmpiA(choice.Name.c_str(), chosen.c_str()) == 0);
        if (!present && !named.empty())
            FLanguageNote->SetText(Tr("Lang\\%1.lng is missing: Tessel shows its texts in English.", {named}));
        else if (lstrcmpiA(chosen.c_str(), LanguageInUse().c_str()) != 0)
            FLanguageNote->SetText(Tr("Tessel shows the new language from its next start."));
        else
            FLanguageNote->SetText("");

        const int style = ReadSetting("Tessel", "ObjectStyle", 0);
        FAtQuickBar->SetChosen(style == 0);
        FAtTray->SetChosen(style == 3);
        const bool atLogOn = StartsAtLogOn();
        FLogOnOn->SetChosen(atLogOn);
        FLogOnOff->SetChosen(!atLogOn);
    }

    std::vector<TLanguageChoice> FLanguages;
    TLabel* FLanguageNote;
    TSkinButton* FAtQuickBar;
    TSkinButton* FAtTray;
    TSkinButton* FLogOnOn;
    TSkinButton* FLogOnOff;
};

const TClassInfo& TSettingsView::StaticClassInfo()
{
    static const TClassInfo& info = TClassBuilder<TSettingsView, TPageView>("TSettingsView").Build();
    return info;
}

extern const TPageDefinition SettingsPage{"Settings", "Settings", nullptr,
                                          [] { return static_cast<TPageView*>(New<TSettingsView>(nullptr)); }};

} // namespace tessel
