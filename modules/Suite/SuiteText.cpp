#include "modules/Suite/SuiteText.h"
#include "modules/Suite/SuiteSettings.h"

#include "platform/Graphics.h"
#include "platform/Win32.h"

#include <cstdint>
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
    const std::string pattern = Tr(English);
    std::string text;
    for (size_t i = 0; i < pattern.size(); ++i) {
        const char next = i + 1 < pattern.size() ? pattern[i + 1] : '\0';
        if (pattern[i] == '%' && next >= '1' && next <= '9') {
            const size_t n = static_cast<size_t>(next - '1');
            if (n < Args.size())
                text += Args.begin()[n];
            ++i;
        } else {
            text += pattern[i];
        }
    }
    return text;
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

} // namespace tessel
