#include "ModuleHarness.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <vector>

using namespace moduletest;

namespace {

const char* const Languages[] = {"English", "Japanese", "Russian", "Thai"};

// Every text Tessel passes through the language module.
const char* const ShellTexts[] = {
    "Switch to Quick Bar", "Switch to Main Window", "Exit", "Start at Quick Bar", "Start at ToolBar",
    "Are you sure to exit?", "Yes", "No",
    "System needs to reboot for using the application. Do you want to reboot now?",
    "Please uninstall \"Bellwether\" because it will conflict with Tessel.",
    "Please uninstall \"Bellwether2\" because it will conflict with Tessel.",
    "Please uninstall \"Corbel\" because it will conflict with Tessel.",
    "Please uninstall \"Dunmore\" because it will conflict with Tessel.",
    "Please uninstall \"Fathom\" because it will conflict with Tessel.",
    "Please uninstall \"Fathom II\" because it will conflict with Tessel.",
    "Press \"OK\" to close this application.",
};

// The module reads the Tessel.ini and the Lang folder beside itself, so each
// test installs copies of the built DLL and language files in its own folder.
class KsMultiLangTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        CreateDirectoryA(Lang().c_str(), nullptr);
        for (const char* language : Languages) {
            std::string file = std::string("Lang\\") + language + ".lng";
            ASSERT_TRUE(CopyFileA((SuiteBin() + file).c_str(), (FSuite.Path() + file).c_str(), FALSE)) << file;
        }
        std::string dll = FSuite.Path() + "KsMultiLang.dll";
        ASSERT_TRUE(CopyFileA((SuiteBin() + "KsMultiLang.dll").c_str(), dll.c_str(), FALSE));
        FModule = std::make_unique<LoadedModule>(dll);
        GetLangNameAndPath = FModule->Entry<int(__cdecl*)(int, char*, char*)>("KsGetLangNameAndPath");
        Translate = FModule->Entry<int(__cdecl*)(int, const char*, char*, int, const char*)>("KsTranslateStr2");
        ASSERT_TRUE(GetLangNameAndPath && Translate);
    }

    std::string Lang() const { return FSuite.Path() + "Lang\\"; }
    void SetLanguage(const std::string& line) const
    {
        WriteWholeFile(FSuite.Path() + "Tessel.ini", "[Tessel]\r\nObjectStyle=0\r\n" + line + "\r\n");
    }

    // Asks with buffers of Tessel's sizes that start out full of garbage:
    // "name|path" on success, "failed|name|path" otherwise.
    std::string AskLanguage() const
    {
        char name[32], path[260];
        std::memset(name, 'x', sizeof name);
        std::memset(path, 'x', sizeof path);
        int result = GetLangNameAndPath(0, name, path);
        if (!std::memchr(name, 0, sizeof name) || !std::memchr(path, 0, sizeof path))
            return "unterminated";
        return (result ? "" : "failed|") + std::string(name) + "|" + path;
    }

    std::string TranslateIn(const std::string& file, const char* english) const
    {
        char out[1024];
        int n = Translate(0, english, out, sizeof out, file.c_str());
        return n == static_cast<int>(std::strlen(out)) ? out : "wrong count";
    }

    TempFolder FSuite;
    std::unique_ptr<LoadedModule> FModule;
    int(__cdecl* GetLangNameAndPath)(int, char*, char*) = nullptr;
    int(__cdecl* Translate)(int, const char*, char*, int, const char*) = nullptr;
};

} // namespace

TEST_F(KsMultiLangTest, NamesTheLanguageOfTesselIni)
{
    SetLanguage("Language=English");
    EXPECT_EQ(AskLanguage(), "English|" + Lang() + "English.lng");
    SetLanguage("Language=japanese");
    EXPECT_EQ(AskLanguage(), "Japanese|" + Lang() + "Japanese.lng");
    SetLanguage("Language=RUSSIAN");
    EXPECT_EQ(AskLanguage(), "Russian|" + Lang() + "Russian.lng");
    SetLanguage("Language=Thai");
    EXPECT_EQ(AskLanguage(), "Thai|" + Lang() + "Thai.lng");

    SetLanguage("Language=German");
    EXPECT_EQ(AskLanguage(), "failed||") << "a language without a file";
    DeleteFileA((Lang() + "Thai.lng").c_str());
    SetLanguage("Language=Thai");
    EXPECT_EQ(AskLanguage(), "failed||") << "Thai's file gone";
}

// ctest runs this once in the session's locale and once per language in a
// process started in that language's locale, naming the expected answer in
// TESSEL_EXPECTED_USER_LANGUAGE.
TEST_F(KsMultiLangTest, FallsBackToTheUserLanguage)
{
    const char* told = std::getenv("TESSEL_EXPECTED_USER_LANGUAGE");
    LANGID user = PRIMARYLANGID(GetUserDefaultUILanguage());
    std::string expected = told                      ? told
                           : user == LANG_JAPANESE ? "Japanese"
                           : user == LANG_RUSSIAN  ? "Russian"
                           : user == LANG_THAI     ? "Thai"
                                                   : "English";
    EXPECT_EQ(AskLanguage(), expected + "|" + Lang() + expected + ".lng") << "no Tessel.ini";
    SetLanguage("Language=");
    EXPECT_EQ(AskLanguage(), expected + "|" + Lang() + expected + ".lng") << "no language named";
}

TEST_F(KsMultiLangTest, TranslatesEveryTextIntoEachCodePage)
{
    struct {
        const char* language;
        const char* english;
        const char* bytes;
    } cases[] = {
        {"Japanese", "Exit", "\x8FI\x97\xB9"}, // 終了
        {"Japanese", "No", "\x82\xA2\x82\xA2\x82\xA6"}, // いいえ
        {"Japanese", "Press \"OK\" to close this application.", // 「OK」を押すと、このアプリケーションを終了します。
         "\x81uOK\x81v\x82\xF0\x89\x9F\x82\xB7\x82\xC6\x81" "A\x82\xB1\x82\xCC\x83" "A\x83v\x83\x8A\x83P\x81[\x83V"
         "\x83\x87\x83\x93\x82\xF0\x8FI\x97\xB9\x82\xB5\x82\xDC\x82\xB7\x81" "B"},
        {"Russian", "Exit", "\xC2\xFB\xF5\xEE\xE4"}, // Выход
        {"Russian", "Press \"OK\" to close this application.", // Нажмите «OK», чтобы закрыть это приложение.
         "\xCD\xE0\xE6\xEC\xE8\xF2\xE5 \xABOK\xBB, \xF7\xF2\xEE\xE1\xFB \xE7\xE0\xEA\xF0\xFB\xF2\xFC \xFD\xF2\xEE "
         "\xEF\xF0\xE8\xEB\xEE\xE6\xE5\xED\xE8\xE5."},
        {"Thai", "No", "\xE4\xC1\xE8\xE3\xAA\xE8"}, // ไม่ใช่
        {"Thai", "Please uninstall \"Fathom II\" because it will conflict with Tessel.",
         // โปรดถอนการติดตั้ง “Fathom II” เนื่องจากจะขัดแย้งกับ Tessel
         "\xE2\xBB\xC3\xB4\xB6\xCD\xB9\xA1\xD2\xC3\xB5\xD4\xB4\xB5\xD1\xE9\xA7 \x93" "Fathom II\x94 \xE0\xB9\xD7\xE8"
         "\xCD\xA7\xA8\xD2\xA1\xA8\xD0\xA2\xD1\xB4\xE1\xC2\xE9\xA7\xA1\xD1\xBA Tessel"},
    };
    for (const auto& c : cases) {
        SetLanguage(std::string("Language=") + c.language);
        std::string path = AskLanguage();
        path = path.substr(path.find('|') + 1);
        EXPECT_EQ(TranslateIn(path, c.english), c.bytes) << c.language << ": " << c.english;
    }

    // Each text has a translation of its own in each language, which keeps
    // the product's name; English gives every text back as it is.
    for (const char* language : Languages) {
        std::string file = Lang() + language + ".lng";
        bool english = std::strcmp(language, "English") == 0;
        std::vector<std::string> seen;
        for (const char* text : ShellTexts) {
            std::string translation = TranslateIn(file, text);
            EXPECT_EQ(translation == text, english) << language << ": " << text;
            EXPECT_EQ(std::count(seen.begin(), seen.end(), translation), 0) << language << ": " << text;
            seen.push_back(translation);
        }
        for (const char* product : {"Bellwether", "Bellwether2", "Corbel", "Dunmore", "Fathom", "Fathom II"}) {
            std::string text = std::string("Please uninstall \"") + product + "\" because it will conflict with Tessel.";
            EXPECT_NE(TranslateIn(file, text.c_str()).find(product), std::string::npos) << language << ": " << product;
        }
    }
}

TEST_F(KsMultiLangTest, GivesUnknownTextsBackUnchanged)
{
    std::string japanese = Lang() + "Japanese.lng";
    for (const char* text : {"exit", "Exi", "Exit now", "", "Please uninstall \"Fathom III\" because it will "
                                                            "conflict with Tessel."})
        EXPECT_EQ(TranslateIn(japanese, text), text);
    EXPECT_EQ(TranslateIn(Lang() + "Klingon.lng", "Exit"), "Exit") << "missing file";
    EXPECT_EQ(TranslateIn("", "Exit"), "Exit") << "no file";

    // The format's corners: comments, LF and CR LF, an empty translation, a
    // text listed twice, TABs an editor turned into blanks, a last line
    // without its line end.
    std::string custom = FSuite.Path() + "Custom.lng";
    WriteWholeFile(custom, "# Yes\tcommented out\r\n#No\tNein\r\n\r\nYes\tJa\nNo\t\r\nExit\tEnde\r\n"
                           "Exit\tSchluss\r\nStart at ToolBar    Leiste\r\nLast\tLetzte");
    EXPECT_EQ(TranslateIn(custom, "Yes"), "Ja");
    EXPECT_EQ(TranslateIn(custom, "# Yes"), "# Yes") << "a comment line lists nothing";
    EXPECT_EQ(TranslateIn(custom, "#No"), "#No") << "a comment line lists nothing";
    EXPECT_EQ(TranslateIn(custom, "No"), "No") << "an empty translation is none";
    EXPECT_EQ(TranslateIn(custom, "Exit"), "Ende") << "the first line counts";
    EXPECT_EQ(TranslateIn(custom, "Start at ToolBar"), "Start at ToolBar");
    EXPECT_EQ(TranslateIn(custom, "Start at ToolBar    Leiste"), "Start at ToolBar    Leiste");
    EXPECT_EQ(TranslateIn(custom, "Last"), "Letzte");

    // The file is read once, and again when it changes on disk.
    WriteWholeFile(custom, "Yes\tOui\r\nLast\tDernier\r\n");
    EXPECT_EQ(TranslateIn(custom, "Yes"), "Oui");
    EXPECT_EQ(TranslateIn(custom, "Exit"), "Exit");
    EXPECT_EQ(TranslateIn(japanese, "Exit"), "\x8FI\x97\xB9") << "another file after it";
}

TEST_F(KsMultiLangTest, HonoursTheBufferSizeExactly)
{
    std::string japanese = Lang() + "Japanese.lng";
    const std::string exit = "\x8FI\x97\xB9"; // 終了, four bytes
    for (int size : {16, 5, 4, 2, 1, 0, -1}) {
        char out[20];
        std::memset(out, '#', sizeof out);
        int expected = size <= 0 ? 0 : std::min(size - 1, 4);
        EXPECT_EQ(Translate(0, "Exit", out, size, japanese.c_str()), expected) << size;
        if (size > 0)
            EXPECT_EQ(std::string(out, expected + 2), exit.substr(0, expected) + '\0' + '#') << size;
        else
            EXPECT_EQ(out[0], '#') << size;
    }
    EXPECT_EQ(Translate(0, "Exit", nullptr, 16, japanese.c_str()), 0);

    // Tessel asks again with 256 more while the answer fills the buffer.
    std::string custom = FSuite.Path() + "Long.lng";
    WriteWholeFile(custom, "Long\t" + std::string(300, 'w') + "\r\n");
    std::vector<char> out(512);
    EXPECT_EQ(Translate(0, "Long", out.data(), 256, custom.c_str()), 255);
    EXPECT_EQ(Translate(0, "Long", out.data(), 512, custom.c_str()), 300);
    EXPECT_EQ(out.data(), std::string(300, 'w'));
}

// A translation places the arguments (%1 ... %9) of its English text as its
// grammar needs, but each exactly once and no other: a lost or invented one
// would drop or garble a number the user reads.
TEST_F(KsMultiLangTest, TranslationsKeepTheArgumentsOfTheirTexts)
{
    auto arguments = [](const std::string& text) {
        std::string found;
        for (size_t i = 0; i + 1 < text.size(); ++i)
            if (text[i] == '%' && text[i + 1] >= '1' && text[i + 1] <= '9')
                found += text[i + 1];
        std::sort(found.begin(), found.end());
        return found;
    };
    int withArguments = 0;
    for (const char* language : {"Japanese", "Russian", "Thai"}) {
        std::istringstream lines(ReadWholeFile(Lang() + language + ".lng"));
        for (std::string line; std::getline(lines, line);) {
            if (!line.empty() && line.back() == '\r')
                line.pop_back();
            const size_t tab = line.find('\t');
            if (line.empty() || line[0] == '#' || tab == std::string::npos)
                continue;
            const std::string english = line.substr(0, tab), translation = line.substr(tab + 1);
            withArguments += !arguments(english).empty();
            // Each form of a counted text ("%1 file|%1 files") keeps them.
            const std::string wanted = arguments(english.substr(0, english.find('|')));
            std::istringstream forms(translation);
            for (std::string form; std::getline(forms, form, '|');)
                EXPECT_EQ(arguments(form), wanted) << language << ": " << english;
        }
    }
    EXPECT_GE(withArguments, 3 * 10) << "the suite's pages have texts with arguments in every language";
}
