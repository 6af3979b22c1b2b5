#include "modules/Suite/SuiteText.h"
#include "modules/Suite/SuitePage.h"
#include "modules/Suite/SuiteSettings.h"

#include "platform/Graphics.h"
#include "platform/Win32.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <vector>

namespace tessel {

namespace {

using TGetLangNameAndPath = int32_t(__cdecl*)(int32_t Which, char* Name, char* Path);
using TTranslateStr2 = int32_t(__cdecl*)(int32_t Zero, const char* English, char* Out, int32_t Size,
                                         const char* LangFile);

// Loaded once per module and never released: a module's static objects go
// while the loader unloads it, where unloading another module is unsafe.
struct TLanguage {
    HMODULE Module = nullptr;
    TTranslateStr2 TranslateStr2 = nullptr;
    char Name[32] = {};
    char File[MAX_PATH] = {};

    TLanguage()
    {
        Module = LoadLibraryA((SuiteFolder() + "KsMultiLang.dll").c_str());
        if (!Module)
            return;
        auto names = reinterpret_cast<TGetLangNameAndPath>(reinterpret_cast<void*>(GetProcAddress(Module, "KsGetLangNameAndPath")));
        TranslateStr2 = reinterpret_cast<TTranslateStr2>(reinterpret_cast<void*>(GetProcAddress(Module, "KsTranslateStr2")));
        if (!names || !names(0, Name, File))
            TranslateStr2 = nullptr;
    }
};

// Longer translations are not the language's: its English text is shown.
constexpr int32_t MaxTextSize = 4096;

TLanguage& Language()
{
    static TLanguage language;
    return language;
}

} // namespace

std::string Tr(const char* English)
{
    TLanguage& language = Language();
    if (!language.TranslateStr2)
        return English;
    // A result that fills the buffer may have been cut: ask again with more
    // room, up to what a window takes for its caption.
    for (int32_t size = 256; size <= MaxTextSize; size *= 4) {
        std::vector<char> out(static_cast<size_t>(size));
        int32_t n = language.TranslateStr2(0, English, out.data(), size, language.File);
        if (n < size - 1)
            return n > 0 ? std::string(out.data(), static_cast<size_t>(n)) : std::string(English);
    }
    return English;
}

std::string Tr(const char* English, std::initializer_list<std::string> Args)
{
    return Substitute(Tr(English), Args);
}

std::string Substitute(const std::string& Pattern, std::initializer_list<std::string> Args)
{
    std::string text;
    for (size_t i = 0; i < Pattern.size(); ++i) {
        const char next = i + 1 < Pattern.size() ? Pattern[i + 1] : '\0';
        if (Pattern[i] == '%' && next >= '1' && next <= '9') {
            const size_t n = static_cast<size_t>(next - '1');
            if (n < Args.size())
                text += Args.begin()[n];
            ++i;
        } else {
            text += Pattern[i];
        }
    }
    return text;
}

std::string LanguageInUse()
{
    return Language().TranslateStr2 ? Language().Name : "";
}

TNumberStyle TNumberStyle::FromSample(const std::string& Sample)
{
    const size_t group = Sample.find("234");
    const size_t point = group == std::string::npos ? group : group + 3;
    if (Sample.size() < 6 || Sample[0] != '1' || group == std::string::npos || Sample.back() != '5' ||
        point >= Sample.size() - 1)
        return {};
    TNumberStyle style;
    style.Group = Sample.substr(1, group - 1);
    style.Point = Sample.substr(point, Sample.size() - 1 - point);
    const auto isDigit = [](char c) { return c >= '0' && c <= '9'; };
    if (std::any_of(style.Group.begin(), style.Group.end(), isDigit) ||
        std::any_of(style.Point.begin(), style.Point.end(), isDigit))
        return {};
    return style;
}

const TNumberStyle& TNumberStyle::Current()
{
    static const TNumberStyle style = FromSample(Tr("1,234.5"));
    return style;
}

std::string TNumberStyle::Whole(uint64_t Number) const
{
    const std::string digits = std::to_string(Number);
    std::string text;
    for (size_t i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0)
            text += Group;
        text += digits[i];
    }
    return text;
}

std::string TNumberStyle::Fixed(double Number, int Decimals) const
{
    char text[64];
    std::snprintf(text, sizeof text, "%.*f", std::max(Decimals, 0), std::max(Number, 0.0));
    const std::string fixed = text;
    const size_t point = fixed.find('.');
    const std::string whole = fixed.substr(0, point);
    // Numbers beyond 64 bits keep their digits ungrouped.
    std::string result = whole.size() < 20 ? Whole(std::stoull(whole)) : whole;
    if (point != std::string::npos)
        result += Point + fixed.substr(point + 1);
    return result;
}

std::string PluralForm(const std::string& Forms, uint64_t Count)
{
    std::vector<std::string> forms;
    for (size_t start = 0;;) {
        const size_t bar = Forms.find('|', start);
        forms.push_back(Forms.substr(start, bar == std::string::npos ? bar : bar - start));
        if (bar == std::string::npos)
            break;
        start = bar + 1;
    }
    size_t form = 0;
    if (forms.size() == 2) {
        form = Count == 1 ? 0 : 1;
    } else if (forms.size() >= 3) {
        const uint64_t ones = Count % 10, tens = Count % 100;
        form = ones == 1 && tens != 11 ? 0 : ones >= 2 && ones <= 4 && (tens < 12 || tens > 14) ? 1 : 2;
    }
    return forms[form];
}

std::string TrCount(const char* English, uint64_t Count)
{
    return Substitute(PluralForm(Tr(English), Count), {TNumberStyle::Current().Whole(Count)});
}

void ApplyLanguageFont(platform::TFont* Font)
{
    const char* name = Language().Name;
    if (lstrcmpiA(name, "Japanese") == 0)
        Font->SetCharset(SHIFTJIS_CHARSET);
    else if (lstrcmpiA(name, "Russian") == 0)
        Font->SetCharset(RUSSIAN_CHARSET);
    else if (lstrcmpiA(name, "Thai") == 0)
        Font->SetCharset(THAI_CHARSET);
}

std::string UnavailableText(TPageState State)
{
    switch (State) {
    case pageLeftOutEnded:
        return Tr("Tessel ended while this page was working, so it is left out. Turn it on again on the "
                  "Settings page.");
    case pageLeftOutHung:
        return Tr("This page stopped responding and Tessel started again without it. Turn it on again on the "
                  "Settings page.");
    default:
        return Tr("This page could not be loaded.");
    }
}

} // namespace tessel
