// The suite's message dialog unit. For now it holds the language service:
// the language module KsMultiLang.dll, which names the user's language and
// translates every text the shell shows, and the font rules of the
// languages whose scripts need another character set. The dialog class
// TfrmMsg joins this unit later; frmMsg is declared here for it.
#pragma once

#include <cstddef>
#include <cstdint>

namespace platform {
class TFont;
}

namespace tessel {

class TfrmMsg;
// The hidden dialog instance made at start-up (once the dialog class exists).
extern TfrmMsg* frmMsg;

// LoadLanguage results.
constexpr int32_t langLoaded = 0, langNoModule = 1, langNotNamed = 2;
// A translation is fetched into a buffer that grows by 256 bytes while the
// module fills it completely; past this size the text is taken as it is, so a
// module that always fills its buffer cannot make a translation run forever.
constexpr size_t MaxTranslationSize = 64 * 1024;

// Loads KsMultiLang.dll from the program's folder and asks it for the
// language (Which is passed through; the shell uses 0).
int32_t LoadLanguage(int32_t Which);
// Null while the module has not loaded; empty when it failed to name a language.
const char* LanguageName();
// The translation of an English text, valid until the next Translate or
// FreeLanguage; the English text itself without a working language module.
const char* Translate(const char* Text);
void FreeLanguage();

// Japanese, Russian and Thai (in any letter case) need their character sets,
// Thai also its face; every other language keeps the font as it is.
void ApplyLanguageFont(platform::TFont* Font);

} // namespace tessel
