#include "shell/MsgFrm.h"
#include "shell/SuiteModules.h"

#include "platform/ClassBuilder.h"
#include "platform/Graphics.h"

#include <cstring>
#include <vector>

namespace tessel {

TfrmMsg* frmMsg = nullptr;

namespace {

using TGetLangNameAndPath = int32_t(__cdecl*)(int32_t Which, char* Name, char* Path);
using TTranslateStr2 = int32_t(__cdecl*)(int32_t Zero, const char* English, char* Out, int32_t Size,
                                         const char* LangFile);

constexpr size_t NameSize = 32;
constexpr size_t LangFileSize = 260;
constexpr size_t TranslationStep = 256;

HMODULE LangModule = nullptr;
TGetLangNameAndPath GetLangNameAndPath = nullptr;
TTranslateStr2 TranslateStr2 = nullptr;
std::vector<char> NameBuffer;
std::vector<char> LangFileBuffer;
std::vector<char> TranslationBuffer;
// Set once the module has named a language; without one the texts stay English.
bool LanguageNamed = false;

template <class F>
F Entry(HMODULE Module, const char* Name)
{
    return reinterpret_cast<F>(reinterpret_cast<void*>(GetProcAddress(Module, Name)));
}

} // namespace

int32_t LoadLanguage(int32_t Which)
{
    FreeLanguage();
    const std::string path = ProgramFolder() + "KsMultiLang.dll";
    LangModule = LoadLibraryA(path.c_str());
    if (!LangModule)
        return langNoModule;
    GetLangNameAndPath = Entry<TGetLangNameAndPath>(LangModule, "KsGetLangNameAndPath");
    TranslateStr2 = Entry<TTranslateStr2>(LangModule, "KsTranslateStr2");
    LangFileBuffer.assign(LangFileSize, '\0');
    NameBuffer.assign(NameSize, '\0');
    if (!GetLangNameAndPath || GetLangNameAndPath(Which, NameBuffer.data(), LangFileBuffer.data()) == 0) {
        NameBuffer.assign(NameSize, '\0');
        return langNotNamed;
    }
    // The module owns neither buffer's terminator: keep both readable as text.
    NameBuffer.back() = '\0';
    LangFileBuffer.back() = '\0';
    LanguageNamed = true;
    return langLoaded;
}

const char* LanguageName()
{
    return LangModule ? NameBuffer.data() : nullptr;
}

const char* Translate(const char* Text)
{
    if (!Text)
        Text = "";
    if (!LanguageNamed || !TranslateStr2) {
        TranslationBuffer.assign(Text, Text + std::strlen(Text) + 1);
        return TranslationBuffer.data();
    }
    for (size_t size = TranslationStep;; size += TranslationStep) {
        TranslationBuffer.assign(size, '\0');
        const int32_t written = TranslateStr2(0, Text, TranslationBuffer.data(), static_cast<int32_t>(size),
                                              LangFileBuffer.data());
        TranslationBuffer.back() = '\0';
        // A result of size - 1 means the text may have been cut.
        if (written != static_cast<int32_t>(size - 1) || size >= MaxTranslationSize)
            return TranslationBuffer.data();
    }
}

void FreeLanguage()
{
    TranslationBuffer.clear();
    TranslationBuffer.shrink_to_fit();
    LangFileBuffer.clear();
    NameBuffer.clear();
    GetLangNameAndPath = nullptr;
    TranslateStr2 = nullptr;
    LanguageNamed = false;
    if (LangModule) {
        FreeLibrary(LangModule);
        LangModule = nullptr;
    }
}

void ApplyLanguageFont(platform::TFont* Font)
{
    const char* name = LanguageName();
    if (!Font || !name)
        return;
    if (platform::SameText(name, "Japanese")) {
        Font->SetCharset(SHIFTJIS_CHARSET);
    } else if (platform::SameText(name, "Russian")) {
        Font->SetCharset(RUSSIAN_CHARSET);
    } else if (platform::SameText(name, "Thai")) {
        Font->SetCharset(THAI_CHARSET);
        Font->SetName("MS Sans Serif");
    }
}

} // namespace tessel
