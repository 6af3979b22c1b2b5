// The texts of the suite's own modules: written in English in the code and
// shown through the language module KsMultiLang.dll of the suite's folder,
// like the shell's. Without that module, for a text its language file
// lacks, or for a translation longer than a window takes for its caption
// (4,095 characters), the English text is shown.
#pragma once

#include <cstdint>
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
// The name of the language the texts are shown in ("English", "Japanese"...),
// empty without the language module.
std::string LanguageInUse();
// The Pattern (a translation) with %1 ... %9 replaced by the arguments.
std::string Substitute(const std::string& Pattern, std::initializer_list<std::string> Args);

// How the language writes numbers: the separator between groups of three
// digits and the decimal point. A language file shows its way as its
// translation of the sample "1,234.5" (Russian: "1 234,5").
struct TNumberStyle {
    std::string Group = ",";
    std::string Point = ".";

    // The style of a translated sample; a sample that is not "1", a
    // separator, "234", a point and "5" gives English's.
    static TNumberStyle FromSample(const std::string& Sample);
    // The style of the suite's language.
    static const TNumberStyle& Current();

    // "147,297"
    std::string Whole(uint64_t Number) const;
    // "1,536.0" with Decimals digits after the point, rounded; a number
    // below 0 counts as 0.
    std::string Fixed(double Number, int Decimals) const;
};

// A text about a count lists its forms split by "|": English the singular
// and the plural ("%1 file|%1 files"); a translation as many forms as its
// language has, and the number of forms names the rule that picks one:
// one form for every count (Japanese, Thai); two forms, the first for 1
// alone (English); three forms, the first for 1, 21, 31 ... but not 11, the
// second for 2 to 4, 22 to 24 ... but not 12 to 14, the third for the rest
// (Russian). Returns the form for Count, its %1 still in place.
std::string PluralForm(const std::string& Forms, uint64_t Count);
// The translated form for Count with %1 replaced by the count in the
// language's digits: TrCount("%1 file|%1 files", 147297) is "147,297 files".
std::string TrCount(const char* English, uint64_t Count);
// The character set the language's script needs (Japanese, Russian, Thai),
// set on the font; other languages keep the font as it is.
void ApplyLanguageFont(platform::TFont* Font);

} // namespace tessel
