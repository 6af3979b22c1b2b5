// The language service against a language-module double: loading, the
// translation buffer's growth and its bound, the English fallback and the
// font rules.
#include "RecordingServices.h"
#include "ShellHarness.h"

#include "shell/MsgFrm.h"
#include "shell/SuiteModules.h"

#include "platform/Graphics.h"

#include <gtest/gtest.h>

#include <memory>

using namespace tessel;
using namespace shelltest;
using Strings = std::vector<std::string>;

namespace {

class Language : public TSuiteTest {
protected:
    // The charset and face a fresh font gets under the loaded language.
    std::string FontUnder()
    {
        std::unique_ptr<platform::TFont> font(new platform::TFont);
        font->SetName("Tahoma");
        ApplyLanguageFont(font.get());
        return std::to_string(font->Charset()) + " " + font->Name();
    }

};

TEST_F(Language, TranslatesThroughTheModuleWithAGrowingBuffer)
{
    Suite.AddModule("KsMultiLang.dll");
    Suite.Double("KsMultiLang", "Name", "Japanese");
    Suite.Double("KsMultiLang", "Prefix", "[ja]");

    ASSERT_EQ(LoadLanguage(0), langLoaded);
    EXPECT_STREQ(LanguageName(), "Japanese");
    EXPECT_STREQ(Translate("Exit"), "[ja]Exit");
    const std::string langFile = Suite.Path() + "Japanese.lng";
    EXPECT_EQ(Suite.Calls(), (Strings{"KsMultiLang KsGetLangNameAndPath 0",
                                      "KsMultiLang KsTranslateStr2 256 Exit (" + langFile + ")"}));

    // 251 characters and the prefix make 255: the first buffer is full, so the text is fetched again.
    Suite.ClearCalls();
    const std::string text(251, 'a');
    EXPECT_EQ(std::string(Translate(text.c_str())), "[ja]" + text);
    EXPECT_EQ(Suite.Calls(), (Strings{"KsMultiLang KsTranslateStr2 256 " + text + " (" + langFile + ")",
                                      "KsMultiLang KsTranslateStr2 512 " + text + " (" + langFile + ")"}));

    // A module that always fills the buffer is asked up to the bound, and its text is kept.
    Suite.Double("KsMultiLang", "Fill", "1");
    Suite.ClearCalls();
    const std::string filled = Translate("Yes");
    EXPECT_EQ(filled, std::string(MaxTranslationSize - 1, 'x'));
    EXPECT_EQ(Suite.Calls().size(), MaxTranslationSize / 256);

    EXPECT_EQ(FontUnder(), "128 Tahoma");
    FreeLanguage();
    EXPECT_EQ(LanguageName(), nullptr);
}

TEST_F(Language, FallsBackToEnglishAndTheStoredFonts)
{
    // No module at all.
    EXPECT_EQ(LoadLanguage(0), langNoModule);
    EXPECT_EQ(LanguageName(), nullptr);
    EXPECT_STREQ(Translate("Switch to Quick Bar"), "Switch to Quick Bar");
    EXPECT_EQ(FontUnder(), std::to_string(DEFAULT_CHARSET) + " Tahoma");

    // A module without its entries.
    Suite.AddModule("KsMultiLang.dll", "Empty.dll");
    EXPECT_EQ(LoadLanguage(0), langNotNamed);
    EXPECT_STREQ(LanguageName(), "");
    EXPECT_STREQ(Translate("Exit"), "Exit");

    // A module that cannot name the language is not asked to translate.
    FreeLanguage();
    Suite.AddModule("KsMultiLang.dll");
    Suite.Double("KsMultiLang", "Fail", "1");
    Suite.Double("KsMultiLang", "Prefix", "[ru]");
    EXPECT_EQ(LoadLanguage(0), langNotNamed);
    EXPECT_STREQ(LanguageName(), "");
    EXPECT_STREQ(Translate("Exit"), "Exit");
    EXPECT_EQ(Suite.Calls(), (Strings{"KsMultiLang KsGetLangNameAndPath 0"}));
    EXPECT_EQ(FontUnder(), std::to_string(DEFAULT_CHARSET) + " Tahoma");
}

TEST_F(Language, FontRulesFollowTheLanguageNameInAnyCase)
{
    Suite.AddModule("KsMultiLang.dll");
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"JAPANESE", "128 Tahoma"},
        {"russian", "204 Tahoma"},
        {"Thai", "222 MS Sans Serif"},
        {"German", std::to_string(DEFAULT_CHARSET) + " Tahoma"},
    };
    for (const auto& [name, expected] : cases) {
        Suite.Double("KsMultiLang", "Name", name);
        ASSERT_EQ(LoadLanguage(0), langLoaded);
        EXPECT_EQ(FontUnder(), expected) << name;
        FreeLanguage();
    }
}

} // namespace
