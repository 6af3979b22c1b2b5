// The texts of the suite's own modules: written in English in the code and
// shown through the language module KsMultiLang.dll of the suite's folder,
// like the shell's. Without that module, for a text its language file
// lacks, or for a translation longer than a window takes for its caption
// (4,095 characters), the English text is shown.
#pragma once

#include <initializer_list>
#include <string>

namespace platform {
class TFont;
}

namespace tessel {

std::string Tr(const char* English);
// The translation with %1 ... %9 replaced by the arguments. Translations
// place them as their grammar needs; nothing else in them is a format, so a
// damaged language file cannot make a text read past its arguments.
std::string Tr(const char* English, std::initializer_list<std::string> Args);
// The character set the language's script needs (Japanese, Russian, Thai),
// set on the font; other languages keep the font as it is.
void ApplyLanguageFont(platform::TFont* Font);

} // namespace tessel
