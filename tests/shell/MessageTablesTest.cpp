// The in-memory INI model and start-up's rebuild of the message tables,
// checked against the profile functions themselves: the same files edited
// through GetPrivateProfileStringA and WritePrivateProfileStringA must end
// byte for byte as the model leaves them.
#include "ShellHarness.h"

#include "platform/IniFile.h"
#include "shell/SuiteIni.h"
#include "shell/SuiteState.h"

#include "platform/Exceptions.h"

#include <gtest/gtest.h>

#include <map>
#include <random>
#include <set>

using namespace tessel;
using namespace shelltest;
using platform::Format;

namespace {

std::string ProfileRead(const std::string& File, const std::string& Section, const std::string& Key)
{
    char value[IniValueSize];
    const DWORD n = GetPrivateProfileStringA(Section.c_str(), Key.c_str(), "", value, IniValueSize, File.c_str());
    return std::string(value, n);
}

void ProfileWrite(const std::string& File, const std::string& Section, const std::string& Key,
                  const std::string& Value)
{
    WritePrivateProfileStringA(Section.c_str(), Key.c_str(), Value.c_str(), File.c_str());
}

void ProfileErase(const std::string& File, const std::string& Section)
{
    WritePrivateProfileStringA(Section.c_str(), nullptr, nullptr, File.c_str());
}

// The rebuild as the profile functions do it, one key at a time: every scan
// reads the file from key 1. It keeps the shell's rules (only numbers name
// routing sections, sections "Group" names are left alone, the page and
// table bounds) so that it ends where start-up must end.
class TLiteralTables {
public:
    explicit TLiteralTables(std::string Ini) : FIni(std::move(Ini)) {}

    std::vector<int32_t> Rebuild(const TSuiteState& Loaded, int32_t GroupCount)
    {
        for (int n = 1; n <= MaxGroups; ++n)
            FLayout.insert(ProfileRead(FIni, "Group", std::to_string(n)));
        for (int k = 1;; ++k) {
            const std::string value = ProfileRead(FIni, "MESSAGE", std::to_string(k));
            if (value.empty())
                break;
            if (IsMessageNumber(value) && !FLayout.count(value))
                ProfileErase(FIni, value);
        }
        ProfileErase(FIni, "MESSAGE");
        ProfileWrite(FIni, "MESSAGE", "count", "0");

        for (int32_t i = 0; i < GroupCount; ++i)
            for (int32_t j = 0; j < Loaded.GroupTable[i].PageCount; ++j) {
                const std::string page = Loaded.PagePath + PageIniName(Loaded.GroupTable[i].Pages[j].FileName);
                const int32_t count =
                    ClampCount(IniNumber(ProfileRead(page, "MESSAGE", "messagecount")), MaxPageMessages);
                for (int32_t n = 1; n <= count; ++n) {
                    const std::string value = ProfileRead(page, "MESSAGE", std::to_string(n));
                    if (IsMessageNumber(value))
                        Register(value, i, j);
                }
            }

        std::vector<int32_t> ids;
        for (int32_t k = 1; k <= FCount; ++k)
            ids.push_back(IniNumber(ProfileRead(FIni, "MESSAGE", std::to_string(k))));
        return ids;
    }

private:
    void Register(const std::string& Text, int Group, int Page)
    {
        for (int k = 1; k <= MaxMessageEntries; ++k) {
            const std::string value = ProfileRead(FIni, "MESSAGE", std::to_string(k));
            if (value.empty()) {
                ProfileWrite(FIni, "MESSAGE", std::to_string(k), Text);
                ProfileWrite(FIni, "MESSAGE", "count", std::to_string(++FCount));
            } else if (value != Text) {
                continue;
            }
            if (!FLayout.count(Text))
                Route(Text, std::to_string(Group) + "," + std::to_string(Page));
            return;
        }
    }

    void Route(const std::string& Text, const std::string& Pair)
    {
        for (int k = 1;; ++k) {
            const std::string value = ProfileRead(FIni, Text, std::to_string(k));
            if (value.empty())
                ProfileWrite(FIni, Text, std::to_string(k), Pair);
            if (value.empty() || value == Pair)
                return;
        }
    }

    const std::string FIni;
    std::set<std::string> FLayout;
    int32_t FCount = 0;
};

// What the main-window module reads of a Tessel.ini: every entry of the
// message table with the pairs of its routing section.
std::string Routes(const std::string& File)
{
    std::string routes;
    const int32_t count = IniNumber(ProfileRead(File, "MESSAGE", "count"));
    for (int32_t k = 1; k <= count; ++k) {
        const std::string message = ProfileRead(File, "MESSAGE", std::to_string(k));
        routes += message + ":";
        // Keys past a gap of a few are rare enough to leave to the byte comparison.
        for (int n = 1, missing = 0; missing < 4; ++n) {
            const std::string pair = ProfileRead(File, message, std::to_string(n));
            if (!pair.empty())
                routes += Format(" %d=%s", n, pair.c_str());
            missing = pair.empty() ? missing + 1 : 0;
        }
        routes += "\n";
    }
    return routes;
}

// What start-up reads of the start view and the suite layout, read key by
// key through the profile functions, with start-up's bounds.
std::string LiteralLayout(const std::string& File)
{
    std::string layout = Format("start view %d\n", IniNumber(ProfileRead(File, "Tessel", "ObjectStyle")));
    const int32_t groups = ClampCount(IniNumber(ProfileRead(File, "Group", "groupcount")), MaxGroups);
    for (int32_t i = 0; i < groups; ++i) {
        const std::string name = ProfileRead(File, "Group", std::to_string(i + 1));
        const int32_t pages = ClampCount(IniNumber(ProfileRead(File, name, "pagecount")), MaxPages);
        layout += Format("[%s] id %d style %d:", name.substr(0, 255).c_str(),
                         IniNumber(ProfileRead(File, name, "groupid")), IniNumber(ProfileRead(File, name, "style")));
        for (int32_t j = 0; j < pages; ++j)
            layout.append(" ").append(ProfileRead(File, name, std::to_string(j + 1)));
        layout += "\n";
    }
    return layout;
}

// The same, as start-up left it in the group table.
std::string LoadedLayout(const TSuiteState& Loaded, int32_t StartView, int32_t Groups)
{
    std::string layout = Format("start view %d\n", StartView);
    for (int32_t i = 0; i < Groups; ++i) {
        const TGroupRecord& group = Loaded.GroupTable[i];
        layout += Format("[%s] id %d style %d:", group.Name, group.GroupId, group.Style);
        for (int32_t j = 0; j < group.PageCount; ++j)
            layout += std::string(" ") + group.Pages[j].FileName;
        layout += "\n";
    }
    return layout;
}

struct TCase {
    std::string Name;
    std::string Ini; // Tessel.ini, or "<missing>"
    std::map<std::string, std::string> Pages; // page INI files of Page\, by name
};

// A well-formed suite: Groups x Pages page modules Gg_Pp.dll, each listing
// Messages numbers of which the first Shared are listed by every page.
TCase WellFormed(int Groups, int Pages, int Messages, int Shared)
{
    TCase suite{Format("suite %dx%dx%d", Groups, Pages, Messages),
                Format("[Tessel]\r\nObjectStyle=0\r\n[Group]\r\ngroupcount=%d\r\n", Groups), {}};
    for (int g = 1; g <= Groups; ++g)
        suite.Ini += Format("%d=Group %d\r\n", g, g);
    for (int g = 1, page = 0; g <= Groups; ++g) {
        suite.Ini += Format("[Group %d]\r\ngroupid=%d\r\nstyle=0\r\npagecount=%d\r\n", g, g, Pages);
        for (int p = 1; p <= Pages; ++p, ++page) {
            const std::string name = Format("G%d_P%d", g, p);
            suite.Ini += Format("%d=%s.dll\r\n", p, name.c_str());
            std::string text = Format("[MESSAGE]\r\nmessagecount=%d\r\n", Messages);
            for (int n = 1; n <= Messages; ++n)
                text += Format("%d=%d\r\n", n, n <= Shared ? 1024 + n : 20000 + page * 100 + n);
            suite.Pages[name + ".ini"] = text;
        }
    }
    return suite;
}

// One group "Tools" of pages A, B and C, whose INI files are given.
TCase Odd(const std::string& Name, const std::string& Ini, const std::string& A, const std::string& B = "",
          const std::string& C = "")
{
    return {Name,
            "[Group]\r\ngroupcount=1\r\n1=Tools\r\n[Tools]\r\npagecount=3\r\n1=A.dll\r\n2=Sub\\B.dll\r\n3=C.dll\r\n" +
                Ini,
            {{"A.ini", A}, {"B.ini", B}, {"C.ini", C}}};
}

std::string PageIni(const std::vector<std::string>& Numbers)
{
    std::string text = "[MESSAGE]\r\nmessagecount=" + std::to_string(Numbers.size()) + "\r\n";
    for (size_t n = 0; n < Numbers.size(); ++n)
        text += std::to_string(n + 1) + "=" + Numbers[n] + "\r\n";
    return text;
}

std::vector<TCase> Corpus()
{
    std::vector<TCase> corpus = {WellFormed(1, 1, 1, 0), WellFormed(2, 3, 5, 2), WellFormed(9, 9, 2, 1)};

    // An old table past 4,096 entries, whose last routing sections must go too.
    std::string longTable = "[MESSAGE]\r\ncount=4100\r\n";
    for (int k = 1; k <= 4100; ++k)
        longTable += std::to_string(k) + "=" + std::to_string(50000 + k) + "\r\n";
    longTable += "[50001]\r\n1=0,0\r\n[54099]\r\n1=0,0\r\n[54100]\r\n1=0,1\r\n";

    corpus.push_back({"missing Tessel.ini", "<missing>", {}});
    corpus.push_back({"empty Tessel.ini", "", {}});
    corpus.push_back(Odd("mixed case and duplicate sections and keys",
                         "[message]\r\nCOUNT=2\r\n1=500\r\n2=600\r\n[Message]\r\n1=700\r\n3=800\r\n"
                         "[500]\r\n1=0,0\r\n[500]\r\n1=3,3\r\n2=4,4\r\n[600]\r\n1=1,1\r\n1=2,2\r\n[tools]\r\nx=1\r\n",
                         PageIni({"500", "600", "700", "800", "900"}), PageIni({"700", "500"}),
                         "[message]\r\nMessageCount=2\r\nMESSAGECOUNT=9\r\n1=600\r\n1=999\r\n2=500\r\n"));
    corpus.push_back(Odd("blanks around names and values",
                         "  [ MESSAGE ]  \r\n count = 2 \r\n 1 =  1024 \r\n2\t=\t300\r\n[ 1024 ]\r\n 1 = 0,0 \r\n",
                         "[ MESSAGE ]\r\n messagecount = 3 \r\n1 = 1200 \r\n 2=\t1300\r\n3=  \r\n",
                         " [MESSAGE] \r\nmessagecount=2\r\n 1 = 300\r\n 2 =1024 \r\n"));
    corpus.push_back(Odd("quoted values",
                         "[MESSAGE]\r\n1=\"1024\"\r\n2='300'\r\n3=\"\"\r\n4=\"500\r\n[1024]\r\n1=\"0,0\"\r\n",
                         "[MESSAGE]\r\nmessagecount=\"4\"\r\n1=\"1200\"\r\n2='1300'\r\n3=\"1400\r\n4=\"1024\"\r\n",
                         "[MESSAGE]\r\nmessagecount=1\r\n1=''\r\n"));
    corpus.push_back(Odd("comments and keys without '='",
                         "; the suite\r\n[MESSAGE]\r\n;1=999\r\n1\r\n2=1024\r\n[999]\r\n1=0,0\r\n[300]\r\n1\r\n2=5,5\r\n",
                         "[MESSAGE]\r\n; pages\r\nmessagecount=2\r\n1\r\n2=300\r\n", PageIni({"1024"})));
    corpus.push_back(Odd("no final line end", "[Tessel]\r\nObjectStyle=3",
                         "[MESSAGE]\r\nmessagecount=1\r\n1=1024", PageIni({"1024", "1025"})));
    corpus.push_back(Odd("line ends other than CR LF, tabs and ^Z",
                         "[MESSAGE]\n1=500\r2=600\n\n[500]\r\r1=0,0\n\x1A\n[Tessel]\tx\n\tObjectStyle\t=\t3\t\n",
                         "[MESSAGE]\nmessagecount=2\n1=500\n2=700\n", PageIni({"600"})));
    corpus.push_back(Odd("stale tables of an earlier start, with gaps",
                         "[MESSAGE]\r\ncount=3\r\n1=555\r\n2=Group\r\n3=Tessel\r\n5=777\r\n"
                         "[555]\r\n1=0,0\r\n[777]\r\n1=0,0\r\n[400]\r\n1=9,9\r\n3=5,5\r\n[Tessel]\r\nObjectStyle=3\r\n",
                         PageIni({"400", "777"}), PageIni({"400", "01024", "400"}), PageIni({"777", "1024"})));
    corpus.push_back({"routing sections named like the user's and the layout's sections",
                      "[Group]\r\ngroupcount=2\r\n1=Tools\r\n2=1024\r\n"
                      "[Tools]\r\npagecount=2\r\n1=A.dll\r\n2=B.dll\r\n[1024]\r\npagecount=1\r\n1=C.dll\r\n"
                      "[300]\r\n1=x\r\n2=y\r\n4=z\r\n[MESSAGE]\r\n1=1024\r\n2=300\r\n3=2\r\n[2]\r\n1=0,0\r\n",
                      {{"A.ini", PageIni({"1024", "300", "Group", "Tools", "2"})},
                       {"B.ini", PageIni({"300", "1024"})},
                       {"C.ini", PageIni({"1024"})}}});
    corpus.push_back(Odd("huge counts", longTable, "[MESSAGE]\r\nmessagecount=2000000000\r\n1=1\r\n2=2\r\n3=3\r\n",
                         "[MESSAGE]\r\nmessagecount=-5\r\n1=7\r\n",
                         "[MESSAGE]\r\nmessagecount=99999999999999\r\n1=" + std::string(300, '9') + "\r\n"));
    corpus.push_back(Odd("sections without a name and keys without one",
                         "=top\r\n=again\r\n[MESSAGE]\r\n=x\r\n1=500\r\n[]\r\n=y\r\n2=600\r\n[500]\r\n1=0,0\r\n"
                         "[ ]\r\n2=0,2\r\n[600]\r\n",
                         PageIni({"500", "600"}), PageIni({"600"})));
    corpus.push_back(Odd("odd section lines", "[Tessel] note\r\nObjectStyle=0\r\n[abc\r\n[x]y]\r\n1=2\r\n]\r\n",
                         "\xEF\xBB\xBF[MESSAGE]\r\nmessagecount=1\r\n1=1024\r\n"));
    corpus.push_back({"byte-order mark", "\xEF\xBB\xBF[Tessel]\r\nObjectStyle=0\r\n", {}});
    return corpus;
}

class MessageTables : public TSuiteTest {
protected:
    void SetUp() override
    {
        TSuiteTest::SetUp();
        CreateDirectoryA((State->PagePath + "Sub").c_str(), nullptr);
    }
    // Tessel.ini as a start reads it now.
    TIniSnapshot& Startup() { return FStartup.emplace(State->IniPath); }

    std::optional<TIniSnapshot> FStartup;
};

TEST_F(MessageTables, RebuildEndsAsTheProfileFunctionsEndOverACorpus)
{
    const std::string reference = Suite.Path() + "Reference.ini";
    for (const TCase& test : Corpus()) {
        SCOPED_TRACE(test.Name);
        Restart();
        for (const char* name : {"Tessel.ini", "Reference.ini", "Tessel.ini.new"})
            DeleteFileA((Suite.Path() + name).c_str());
        if (test.Ini != "<missing>") {
            Suite.Write("Tessel.ini", test.Ini);
            Suite.Write("Reference.ini", test.Ini);
        }
        for (const auto& [name, text] : test.Pages)
            Suite.Write("Page\\" + name, text);
        const int32_t groups = LoadGroups(*State, Startup());

        // The first start, and the next one, which clears what the first left.
        for (int start = 1; start <= 2; ++start) {
            SCOPED_TRACE("start " + std::to_string(start));
            const std::vector<int32_t> ids = RebuildMessageTables(*State, groups);
            EXPECT_EQ(ids, TLiteralTables(reference).Rebuild(*State, groups));
            EXPECT_EQ(Routes(State->IniPath), Routes(reference));
            EXPECT_EQ(Suite.Read("Tessel.ini"), Suite.Read("Reference.ini"));
        }
        EXPECT_EQ(GetFileAttributesA((State->IniPath + ".new").c_str()), INVALID_FILE_ATTRIBUTES);
        for (const auto& [name, text] : test.Pages)
            DeleteFileA((State->PagePath + name).c_str());
    }
}

// Start-up reads the start view and the suite layout from the model as the
// profile functions read them: over the corpus, odd names and numbers in the
// layout, and NUL bytes.
TEST_F(MessageTables, StartUpReadsTheLayoutAsTheProfileFunctions)
{
    std::vector<TCase> corpus = Corpus();
    corpus.push_back({"a layout of quoted, blank, duplicate and odd names and numbers",
                      std::string("[group]\r\n GROUPCOUNT = 4 \r\n1=\"Quoted\"\r\n2= Blank \r\n3=Dup\r\n4=")
                              .append(300, 'L')
                              .append("\r\n[Group]\r\n1=Other\r\n"
                          "[quoted]\r\npagecount=2\r\n1='A.dll'\r\n2= Sub\\B.dll \r\n"
                          "[Blank]\r\npagecount=1x\r\nstyle=-7\r\ngroupid= 12x\r\n1=C.dll\r\n"
                          "[DUP]\r\npagecount=1\r\n1=A.dll\r\n[Dup]\r\npagecount=2\r\n"
                          "[Tessel]\r\nObjectStyle=\"3\"\r\n"),
                      {{"A.ini", PageIni({"1024"})}, {"B.ini", PageIni({"300"})}, {"C.ini", PageIni({"1024"})}}});
    corpus.push_back({"NUL bytes before and inside the layout",
                      std::string("[Tessel]\r\nObjectStyle=3\r\n\0\0\0\0\r\n[Group]\r\ngroupcount=2\r\n1=Tools\r\n"
                                  "2=T\0x\r\n[Tools]\r\npagecount=2\r\n1=A.dll\r\n2=B\0.dll\r\n",
                                  111),
                      {{"A.ini", PageIni({"1024"})}}});
    for (const TCase& test : corpus) {
        SCOPED_TRACE(test.Name);
        Restart();
        DeleteFileA(State->IniPath.c_str());
        if (test.Ini != "<missing>")
            Suite.Write("Tessel.ini", test.Ini);
        TIniSnapshot& startup = Startup();
        const int32_t groups = LoadGroups(*State, startup);
        EXPECT_EQ(LoadedLayout(*State, static_cast<int32_t>(ReadObjectStyle(startup)), groups), LiteralLayout(State->IniPath));
    }
}

// Reads, writes and removals of the kinds start-up makes, on odd files
// read into the model and on the same files through the profile functions.
TEST_F(MessageTables, ModelReadsAndEditsAsTheProfileFunctions)
{
    std::vector<std::string> texts;
    for (const TCase& test : Corpus())
        if (test.Ini != "<missing>")
            texts.push_back(test.Ini);
    texts.push_back("[A]\r\nk=\"" + std::string(258, 'q') + "\"\r\nl=\"" + std::string(259, 'r') +
                    "\"\r\nm='" + std::string(300, 's') + "'\r\n");
    texts.push_back("[A]\r\nk=1\r\n[]\r\n=y\r\nk2=2\r\n[B]\r\n=\r\n=z\r\n");

    const std::vector<std::pair<std::string, std::string>> reads = {
        {"MESSAGE", "1"}, {"message", "COUNT"}, {" MESSAGE ", " 2 "}, {"500", "1"}, {"500", "2"},
        {"Tessel", "ObjectStyle"}, {"A", "k"}, {"A", "l"}, {"A", "m"}, {"A", "k2"}, {"", "k"},
        {"", "=top"}, {"B", ""}, {"x]y", "1"}, {"abc", "x"}, {"Group", "2"}, {"1024", "1"}};
    const auto readAll = [&](const auto& read) {
        std::string all;
        for (const auto& [section, key] : reads)
            all += "[" + section + "]" + key + "=" + read(section, key) + "\n";
        return all;
    };
    const std::string file = Suite.Path() + "Model.ini";
    for (const std::string& text : texts) {
        SCOPED_TRACE(text.substr(0, 60));
        WriteWholeFile(file, text);
        TIniFile model(text);
        const auto profileRead = [&](const std::string& s, const std::string& k) { return ProfileRead(file, s, k); };
        const auto modelRead = [&](const std::string& s, const std::string& k) { return model.Read(s, k); };
        EXPECT_EQ(readAll(modelRead), readAll(profileRead));

        for (int step = 0; step < 7; ++step) {
            const auto edit = [&](const auto& write, const auto& erase) {
                switch (step) {
                case 0: write("A", "k", "1"); break;
                case 1: erase("500"); break;
                case 2: write("message", "count", "7"); break;
                case 3: write("  New section ", " k ", " v"); break;
                case 4: erase("MESSAGE"); break;
                case 5: write("MESSAGE", "1", "1024"); break;
                case 6: write("Tessel", "ObjectStyle", "3"); break;
                }
            };
            edit([&](auto s, auto k, auto v) { ProfileWrite(file, s, k, v); }, [&](auto s) { ProfileErase(file, s); });
            edit([&](auto s, auto k, auto v) { model.Write(s, k, v); }, [&](auto s) { model.EraseSection(s); });
            EXPECT_EQ(readAll(modelRead), readAll(profileRead)) << "after step " << step;
        }
        EXPECT_EQ(model.Text(), ReadWholeFile(file));
    }
}

// The same on files and edits put together at random from the pieces that
// the rules treat specially. The profile functions lose what stands after a
// NUL byte in a line when they write; the model keeps it, so on a file with
// one its reads are compared with theirs on the text it writes.
TEST_F(MessageTables, ModelMatchesTheProfileFunctionsOnRandomFilesAndEdits)
{
    const std::vector<std::string> pieces = {"[", "]", "=", ";", "\"", "'", " ", "\t", "\r\n", "\n", "\r", "a", "A",
                                             "1", "MESSAGE", "message", "\x1A", "[]", "[a]", "[ A ]", "x=1", "\xE9",
                                             std::string(1, '\0'), std::string(3, '\0')};
    const std::vector<std::string> names = {"", " a ", "A", "b", "1", "MESSAGE", "message", "x", "[", ";"};
    const std::vector<std::string> values = {"1", "", " v ", "\"q\"", "0,0"};
    std::mt19937 random(12);
    const auto pick = [&](const std::vector<std::string>& from) { return from[random() % from.size()]; };
    const std::string file = Suite.Path() + "Random.ini", written = Suite.Path() + "Written.ini";
    for (int round = 0; round < 400; ++round) {
        std::string text;
        for (int n = random() % 25; n > 0; --n)
            text += pick(pieces);
        const bool nul = text.find('\0') != std::string::npos;
        WriteWholeFile(file, text);
        TIniFile model(text);
        std::string steps;
        for (int step = 0; step < 5; ++step) {
            const std::string section = pick(names), key = pick(names), value = pick(values);
            switch (random() % 3) {
            case 0: {
                const int size = 1 + static_cast<int>(random() % 5);
                char read[8];
                if (nul)
                    WriteWholeFile(written, model.Changed() ? model.Text() : text);
                const DWORD n = GetPrivateProfileStringA(section.c_str(), key.c_str(), "", read, size,
                                                         (nul ? written : file).c_str());
                EXPECT_EQ(model.Read(section, key, size), std::string(read, n))
                    << "[" << section << "] " << key << " (" << size << ") after " << steps << " in " << text;
                steps += "read; ";
                break;
            }
            case 1:
                ProfileWrite(file, section, key, value);
                model.Write(section, key, value);
                steps += "[" + section + "] " + key + " = " + value + "; ";
                break;
            default:
                ProfileErase(file, section);
                model.EraseSection(section);
                steps += "erase [" + section + "]; ";
                break;
            }
        }
        if (!nul) {
            EXPECT_EQ(model.Changed() ? model.Text() : text, ReadWholeFile(file)) << steps << " in " << text;
        }
    }
}

TEST_F(MessageTables, AFailedWriteLeavesTesselIniWholeAndTheTablesForwarded)
{
    const std::string text = "[Group]\r\ngroupcount=1\r\n1=Tools\r\n[Tools]\r\npagecount=1\r\n1=A.dll\r\n"
                             "[MESSAGE]\r\ncount=1\r\n1=555\r\n[555]\r\n1=0,0\r\n";
    Suite.Write("Tessel.ini", text);
    Suite.Write("Page\\A.ini", PageIni({"1200", "536"}));
    const int32_t groups = LoadGroups(*State, Startup());
    const std::vector<int32_t> ids{1200, 536};

    // The file read-only.
    ASSERT_TRUE(SetFileAttributesA(State->IniPath.c_str(), FILE_ATTRIBUTE_READONLY));
    EXPECT_EQ(RebuildMessageTables(*State, groups), ids);
    EXPECT_EQ(Suite.Read("Tessel.ini"), text);
    SetFileAttributesA(State->IniPath.c_str(), FILE_ATTRIBUTE_NORMAL);

    // Nothing can be written beside it (here a folder stands where the new file would go).
    ASSERT_TRUE(CreateDirectoryA((State->IniPath + ".new").c_str(), nullptr));
    EXPECT_EQ(RebuildMessageTables(*State, groups), ids);
    EXPECT_EQ(Suite.Read("Tessel.ini"), text);
    RemoveDirectoryA((State->IniPath + ".new").c_str());

    // The file held open by a process that lets nobody replace it.
    HANDLE held = CreateFileA(State->IniPath.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    EXPECT_EQ(RebuildMessageTables(*State, groups), ids);
    CloseHandle(held);
    EXPECT_EQ(Suite.Read("Tessel.ini"), text);
    EXPECT_EQ(GetFileAttributesA((State->IniPath + ".new").c_str()), INVALID_FILE_ATTRIBUTES) << "nothing is left beside it";

    // Once it can be written, it is.
    EXPECT_EQ(RebuildMessageTables(*State, groups), ids);
    EXPECT_EQ(Suite.Section("Tessel.ini", "MESSAGE"), (std::vector<std::string>{"count=2", "1=1200", "2=536"}));
    EXPECT_TRUE(Suite.Keys("Tessel.ini", "555").empty());
}

TEST_F(MessageTables, LayoutSectionsGapsAndLongOldTables)
{
    // A group section named by a number that a page lists, a hand-edited
    // routing section with a gap, and an old table longer than 4,096 entries.
    std::string text = "[Group]\r\ngroupcount=2\r\n1=Tools\r\n2=1024\r\n"
                       "[Tools]\r\npagecount=2\r\n1=A.dll\r\n2=B.dll\r\n[1024]\r\npagecount=1\r\n1=C.dll\r\n"
                       "[400]\r\n1=9,9\r\n3=5,5\r\n[MESSAGE]\r\n";
    for (int k = 1; k <= 4100; ++k)
        text += Format("%d=%d\r\n", k, k == 4099 ? 1024 : 50000 + k);
    text += "[54100]\r\n1=0,0\r\n";
    Suite.Write("Tessel.ini", text);
    Suite.Write("Page\\A.ini", PageIni({"1024", "400"}));
    Suite.Write("Page\\B.ini", PageIni({"400"}));
    Suite.Write("Page\\C.ini", PageIni({"1024"}));
    const int32_t groups = LoadGroups(*State, Startup());

    for (int start = 1; start <= 2; ++start) {
        EXPECT_EQ(RebuildMessageTables(*State, groups), (std::vector<int32_t>{1024, 400}));
        EXPECT_EQ(Suite.Section("Tessel.ini", "1024"), (std::vector<std::string>{"pagecount=1", "1=C.dll"}))
            << "the layout's section is neither written into nor removed";
        // At the first start the hand-edited section is continued: its first gap takes the
        // next pair and the keys past it stay; the next start rebuilds it as its own.
        EXPECT_EQ(Suite.Section("Tessel.ini", "400"),
                  start == 1 ? (std::vector<std::string>{"1=9,9", "3=5,5", "2=0,0", "4=0,1"})
                             : (std::vector<std::string>{"1=0,0", "2=0,1"}));
        EXPECT_TRUE(Suite.Keys("Tessel.ini", "54100").empty()) << "an entry past 4,096 loses its section too";
    }
    EXPECT_EQ(State->GroupTable[1].PageCount, 1);
}

} // namespace
