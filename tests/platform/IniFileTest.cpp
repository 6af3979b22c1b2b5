// The in-memory INI model against the system's profile functions on files
// made at random (every letter in either case, every quote form, NUL bytes,
// odd line ends, duplicate sections and keys), and the writer that replaces
// an INI file whole.
#include "platform/IniFile.h"
#include "platform/IniStore.h"
#include "platform/Win32.h"
#include "support/Files.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

using namespace platform;
using testsupport::ReadWholeFile;
using testsupport::TempFolder;
using testsupport::WriteWholeFile;

namespace {

std::string ProfileRead(const std::string& File, const std::string& Section, const std::string& Key, int Size)
{
    std::vector<char> value(static_cast<size_t>(Size));
    const DWORD n = GetPrivateProfileStringA(Section.c_str(), Key.c_str(), "", value.data(), static_cast<DWORD>(Size),
                                             File.c_str());
    return std::string(value.data(), n);
}

// A file put together at random, the names it uses and the spellings in
// which they are read.
struct TGenerated {
    std::string Text;
    std::vector<std::string> Sections;
    std::vector<std::string> Keys;
    std::vector<std::string> SectionReads;
    std::vector<std::string> KeyReads;
};

class TGenerator {
public:
    explicit TGenerator(unsigned Seed) : FRandom(Seed) {}

    TGenerated Next()
    {
        TGenerated file;
        for (int n = 1 + Below(3); n > 0; --n)
            file.Sections.push_back(Name());
        for (int n = 1 + Below(4); n > 0; --n)
            file.Keys.push_back(Name());
        const std::vector<std::string> ends = {"\r\n", "\n", "\r", "\r\r\n", "\n\n", "\r\n\r\n"};
        std::string& text = file.Text;
        if (Below(4) == 0)
            text += Pick(file.Keys) + "=" + Value() + Pick(ends);
        for (int s = Below(6); s > 0; --s) {
            // Duplicates come from names met again, in another letter case.
            text += Blanks() + "[" + Blanks() + Spelling(Pick(file.Sections)) + Blanks() + "]" + Blanks();
            text += Pick(ends);
            for (int k = Below(6); k > 0; --k) {
                switch (Below(12)) {
                case 0: text += "; " + Pick(file.Keys) + "=note"; break;
                case 1: text += Spelling(Pick(file.Keys)); break;
                case 2: text += std::string(1 + Below(6), '\0'); break;
                case 3: text.append("=").append(Value()); break;
                default: text += Blanks() + Spelling(Pick(file.Keys)) + Blanks() + "=" + Blanks() + Value() + Blanks();
                }
                // What a power loss leaves: NULs, sometimes in the middle of a line.
                if (Below(10) == 0)
                    text += std::string(1 + Below(40), '\0');
                text += Pick(ends);
            }
        }
        if (!text.empty() && Below(3) == 0)
            text.pop_back();
        for (const std::string& name : file.Sections)
            Spellings(name, file.SectionReads);
        for (const std::string& name : file.Keys)
            Spellings(name, file.KeyReads);
        return file;
    }

private:
    // A name in capitals, in small letters and in a mixture with blanks
    // around: the same is read by each.
    void Spellings(std::string Name, std::vector<std::string>& Into)
    {
        Name.resize(Name.find('\0') == std::string::npos ? Name.size() : Name.find('\0'));
        std::string upper = Name, lower = Name;
        for (char& c : upper)
            c = static_cast<char>(c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c);
        for (char& c : lower)
            c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
        Into.push_back(upper);
        Into.push_back(lower);
        Into.push_back(std::string(" ").append(Spelling(Name)).append("\t"));
    }

    int Below(int N) { return static_cast<int>(FRandom() % static_cast<unsigned>(N)); }

    template <class T>
    const T& Pick(const std::vector<T>& From)
    {
        return From[static_cast<size_t>(Below(static_cast<int>(From.size())))];
    }
    std::string Name()
    {
        static const std::string letters = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";
        std::string name;
        for (int n = 1 + Below(3); n > 0; --n)
            name += letters[static_cast<size_t>(Below(static_cast<int>(letters.size())))];
        if (Below(4) == 0)
            name += std::to_string(Below(10));
        if (Below(8) == 0)
            name.insert(static_cast<size_t>(Below(static_cast<int>(name.size()))), 1, '\0');
        return name;
    }
    std::string Spelling(std::string Name)
    {
        for (char& c : Name)
            if (Below(2) && ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z')))
                c = static_cast<char>(c ^ 0x20);
        return Name;
    }
    std::string Blanks() { return Pick(std::vector<std::string>{"", "", "", " ", "\t", "  \t", "\x1A"}); }
    std::string Value()
    {
        const std::string word = Name();
        const std::vector<std::string> values = {
            word, "\"" + word + "\"", "'" + word + "'", "\"", "'", "\"\"", "''", "\"" + word, word + "\"",
            "'" + word + "\"", "\"" + word + "'", "", " " + word + " ", word + "=" + word, std::string(300, 'v'),
            "\"" + std::string(258, 'q') + "\"", word + std::string(1, '\0') + word};
        return Pick(values);
    }

    std::mt19937 FRandom;
};

// Every read of the names of File, in every spelling, with a full buffer
// and small ones: "[section]key(size)=value" lines.
template <class Read>
std::string ReadAll(const TGenerated& File, const Read& ReadValue)
{
    std::string all;
    for (const std::string& section : File.SectionReads)
        for (const std::string& key : File.KeyReads)
            for (int size : {260, 3}) {
                const std::string value = ReadValue(section, key, size);
                if (!value.empty())
                    all += "[" + section + "]" + key + "(" + std::to_string(size) + ")=" + value + "\n";
            }
    return all;
}

class IniFile : public ::testing::Test {
protected:
    TempFolder Folder{"TesselIni"};
};

TEST_F(IniFile, ReadsGeneratedFilesAsTheProfileFunctionsAndLosesNothingWrittenBack)
{
    TGenerator generator(26);
    const std::string original = Folder.Path() + "Original.ini", written = Folder.Path() + "Written.ini";
    int withNul = 0;
    for (int round = 0; round < 200; ++round) {
        const TGenerated file = generator.Next();
        withNul += file.Text.find('\0') != std::string::npos;
        SCOPED_TRACE("round " + std::to_string(round));
        WriteWholeFile(original, file.Text);
        TIniFile model(file.Text);
        const std::string reads = ReadAll(file, [&](const std::string& s, const std::string& k, int n) {
            return ProfileRead(original, s, k, n);
        });
        ASSERT_EQ(ReadAll(file, [&](auto& s, auto& k, int n) { return model.Read(s, k, n); }), reads)
            << file.Text;

        // A write elsewhere and the text written back: whatever read as a
        // value before reads the same (NUL bytes and all).
        model.Write("Another section", "key", "value");
        WriteWholeFile(written, model.Text());
        const std::string after = ReadAll(file, [&](const std::string& s, const std::string& k, int n) {
            return ProfileRead(written, s, k, n);
        });
        EXPECT_EQ(after, reads) << file.Text;
        EXPECT_EQ(ReadAll(file, [&](auto& s, auto& k, int n) { return model.Read(s, k, n); }), after);
        EXPECT_EQ(ProfileRead(written, "another SECTION", "KEY", 260), "value");
    }
    EXPECT_GT(withNul, 40);
}

// The file a power loss leaves: a block of NULs where lines were, the
// user's layout after it.
TEST_F(IniFile, NulBytesAreKeptWhereTheyStand)
{
    const std::string path = Folder.Path() + "Tessel.ini";
    const std::string nuls(512, '\0');
    const std::string text = "[Tessel]\r\nObjectStyle=3\r\n" + nuls + "\r\n[Group]\r\ngroupcount=1\r\n1=Tools\r\n"
                             "[Tools]\r\npagecount=1\r\n1=Clock.dll" + nuls + "[Bar]\r\nLeft=5\r\n" + nuls;
    WriteWholeFile(path, text);
    TIniFile model(text);
    for (const auto& [section, key] : {std::pair{"Group", "groupcount"}, {"Tools", "1"}, {"Tools", "Left"},
                                       {"Bar", "Left"}, {"Tessel", "ObjectStyle"}})
        EXPECT_EQ(model.Read(section, key), ProfileRead(path, section, key, 260)) << section << " " << key;
    EXPECT_EQ(model.Read("Tools", "1"), "Clock.dll");
    EXPECT_EQ(model.Read("Tools", "Left"), "5") << "the section line after the NULs is part of a value";

    // Edits elsewhere keep every byte; the line itself goes only when written.
    ASSERT_TRUE(EditIniFile(path, [](TIniFile& Ini) {
        Ini.Write("MESSAGE", "count", "0");
        Ini.Write("Tessel", "ObjectStyle", "0");
    }));
    const std::string kept = ReadWholeFile(path);
    EXPECT_NE(kept.find("\r\n" + nuls + "\r\n[Group]\r\ngroupcount=1\r\n"), std::string::npos);
    EXPECT_NE(kept.find("1=Clock.dll" + nuls + "[Bar]\r\nLeft=5\r\n" + nuls + "\r\n"), std::string::npos);
    EXPECT_EQ(ProfileRead(path, "Tessel", "ObjectStyle", 260), "0");
    EXPECT_EQ(ProfileRead(path, "MESSAGE", "count", 260), "0");
    ASSERT_TRUE(EditIniFile(path, [](TIniFile& Ini) { Ini.Write("Tools", "1", "Clock.dll"); }));
    EXPECT_EQ(ReadWholeFile(path), kept) << "the same value, as it reads, changes nothing";
    ASSERT_TRUE(EditIniFile(path, [](TIniFile& Ini) { Ini.Write("Tools", "1", "System.dll"); }));
    EXPECT_EQ(ReadWholeFile(path).find("[Bar]"), std::string::npos);
    EXPECT_EQ(ProfileRead(path, "Tools", "Left", 260), "5");
}

// A line that starts with a byte-order mark's bytes after a blank first line
// is a key of the section without a name; written out first, it stays one.
TEST_F(IniFile, AMarkInsideTheFileKeepsItsMeaningWhenWrittenFirst)
{
    const std::string path = Folder.Path() + "Tessel.ini";
    WriteWholeFile(path, "\r\n\xEF\xBB\xBF[Group]\r\ngroupcount=5\r\n");
    ASSERT_EQ(ProfileRead(path, "", "groupcount", 260), "5");
    ASSERT_TRUE(EditIniFile(path, [](TIniFile& Ini) { Ini.Write("Tessel", "ObjectStyle", "3"); }));
    EXPECT_EQ(ProfileRead(path, "", "groupcount", 260), "5");
    EXPECT_EQ(ProfileRead(path, "Group", "groupcount", 260), "");
    EXPECT_EQ(ProfileRead(path, "Tessel", "ObjectStyle", 260), "3");
}

TEST_F(IniFile, EditsReplaceTheFileOnlyWhenItChanges)
{
    const std::string path = Folder.Path() + "Settings.ini";
    WriteWholeFile(path, "[Bar]\r\nLeft=10\r\n");
    // Several edits in a row, each read back at once by the profile functions,
    // which keep a file's contents until its write time changes.
    for (int n = 0; n < 30; ++n) {
        ASSERT_TRUE(EditIniFile(path, [&](TIniFile& Ini) { Ini.Write("Bar", "Left", std::to_string(n)); }));
        ASSERT_EQ(ProfileRead(path, "Bar", "Left", 260), std::to_string(n)) << "edit " << n;
    }

    // The replacement's write time is later than the old file's, even when
    // that lies ahead of the clock: a reader that keeps the contents until
    // the time changes sees the change.
    ULARGE_INTEGER ahead{};
    GetSystemTimeAsFileTime(reinterpret_cast<FILETIME*>(&ahead));
    ahead.QuadPart += 24ull * 3600 * 10000000;
    const FILETIME future{ahead.LowPart, ahead.HighPart};
    HANDLE file = CreateFileA(path.c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_TRUE(SetFileTime(file, nullptr, nullptr, &future));
    CloseHandle(file);
    ASSERT_EQ(ProfileRead(path, "Bar", "Left", 260), "29");
    ASSERT_TRUE(EditIniFile(path, [](TIniFile& Ini) { Ini.Write("Bar", "Left", "30"); }));
    WIN32_FILE_ATTRIBUTE_DATA replaced{};
    ASSERT_TRUE(GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &replaced));
    EXPECT_GT(CompareFileTime(&replaced.ftLastWriteTime, &future), 0);
    EXPECT_EQ(ProfileRead(path, "Bar", "Left", 260), "30");
    ASSERT_TRUE(EditIniFile(path, [](TIniFile& Ini) { Ini.Write("Bar", "Left", "29"); }));

    // Nothing changed: the file is not touched (a read-only one either).
    ASSERT_TRUE(SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_READONLY));
    EXPECT_TRUE(EditIniFile(path, [](TIniFile& Ini) { Ini.Write("bar", " LEFT ", "29"); }));
    EXPECT_FALSE(EditIniFile(path, [](TIniFile& Ini) { Ini.Write("Bar", "Left", "1"); }));
    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    EXPECT_EQ(ReadWholeFile(path), "[Bar]\r\nLeft=29\r\n");

    // A missing file is made; a UTF-16 one is not the model's and is left alone.
    const std::string fresh = Folder.Path() + "Fresh.ini";
    EXPECT_TRUE(EditIniFile(fresh, [](TIniFile& Ini) { Ini.Write("Tessel", "ObjectStyle", "3"); }));
    EXPECT_EQ(ReadWholeFile(fresh), "[Tessel]\r\nObjectStyle=3\r\n");
    const std::string wide("\xFF\xFE[\0A\0]\0", 8);
    WriteWholeFile(fresh, wide);
    EXPECT_FALSE(EditIniFile(fresh, [](TIniFile& Ini) { Ini.Write("A", "k", "1"); }));
    EXPECT_EQ(ReadWholeFile(fresh), wide);
    EXPECT_EQ(GetFileAttributesA((fresh + ".new").c_str()), INVALID_FILE_ATTRIBUTES);
}

} // namespace
