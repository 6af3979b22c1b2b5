// The in-memory INI model on any bytes, as Tessel.ini and the page INI files
// may hold them (NUL bytes included): reading, writing and removing never
// crash; every read of a file just read is the profile functions' read, as
// their rules give it taken literally; a value written reads back; the text
// written reads back and writes again to the same bytes; and whatever read
// as a value before start-up's rebuild of the message tables reads the same
// from the text written after it, but in the sections the rebuild owns.
#include "platform/IniFile.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

using platform::TIniFile;

namespace {

void Check(bool condition, const char* what)
{
    if (!condition) {
        std::fprintf(stderr, "IniFuzz: %s\n", what);
        std::abort();
    }
}

bool IsBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f' || c == '\x1A';
}

std::string_view Trim(std::string_view Text)
{
    while (!Text.empty() && IsBlank(Text.front()))
        Text.remove_prefix(1);
    while (!Text.empty() && IsBlank(Text.back()))
        Text.remove_suffix(1);
    return Text;
}

std::string_view Cut(std::string_view Text)
{
    return Text.substr(0, Text.find('\0'));
}

bool SameName(std::string_view A, std::string_view B)
{
    const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
    return A.size() == B.size() && std::equal(A.begin(), A.end(), B.begin(), [&](char a, char b) {
               return lower(a) == lower(b);
           });
}

// The lines of a file, trimmed, blank ones left out.
std::vector<std::string_view> Lines(std::string_view Text)
{
    if (Text.substr(0, 3) == "\xEF\xBB\xBF")
        Text.remove_prefix(3);
    std::vector<std::string_view> lines;
    while (!Text.empty()) {
        const size_t end = std::min(Text.find_first_of("\r\n"), Text.size());
        if (const std::string_view line = Trim(Text.substr(0, end)); !line.empty())
            lines.push_back(line);
        Text.remove_prefix(std::min(end + 1, Text.size()));
    }
    return lines;
}

// The section name of a section line; none for a key line.
bool SectionLine(std::string_view Line, std::string_view& Name)
{
    const size_t close = Line.rfind(']');
    if (Line.front() != '[' || close == std::string_view::npos)
        return false;
    Name = Cut(Trim(Line.substr(1, close - 1)));
    return true;
}

// A read of a file just read, literally by the rules: the first section of
// that name (the keys before any section line are the section ""; a section
// whose name is empty is found by none), its first key of that name, the
// value cut at the buffer, a pair of quotes taken off.
std::string LiteralRead(const std::vector<std::string_view>& Lines, std::string_view Section, std::string_view Key,
                        int Size)
{
    Section = Trim(Section);
    Key = Trim(Key);
    bool inSection = Section.empty(), seen = false;
    for (std::string_view line : Lines) {
        std::string_view name;
        if (SectionLine(line, name)) {
            if (inSection)
                seen = true;
            inSection = !seen && !name.empty() && SameName(name, Section);
            continue;
        }
        if (!inSection)
            continue;
        const size_t equals = line.find('=');
        if (!SameName(Cut(Trim(line.substr(0, equals))), Key))
            continue;
        std::string_view value = equals == std::string_view::npos ? std::string_view() : Cut(Trim(line.substr(equals + 1)));
        const bool quoted = value.size() > 1 && (value.front() == '"' || value.front() == '\'') &&
                            value.back() == value.front();
        if (quoted)
            value.remove_prefix(1);
        std::string text(value.substr(0, static_cast<size_t>(Size - 1)));
        if (quoted && static_cast<size_t>(Size) >= value.size() && !text.empty())
            text.pop_back();
        return text;
    }
    return {};
}

bool IsNumber(std::string_view Text)
{
    return !Text.empty() && std::all_of(Text.begin(), Text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size)
{
    const std::string text(reinterpret_cast<const char*>(Data), Size);
    if (TIniFile::IsUtf16(text))
        return 0;

    // The names the file itself uses, and those start-up reads.
    std::vector<std::string> sections = {"", "Tessel", "Group", "MESSAGE", "1"};
    std::vector<std::string> keys = {"ObjectStyle", "groupcount", "pagecount", "count", "1", ""};
    const std::vector<std::string_view> lines = Lines(text);
    for (std::string_view line : lines) {
        std::string_view name;
        std::vector<std::string>& names = SectionLine(line, name) ? sections : keys;
        if (names.size() < 14)
            names.emplace_back(SectionLine(line, name) ? name : Cut(Trim(line.substr(0, line.find('=')))));
    }

    TIniFile file(text);
    std::vector<std::string> before;
    for (const std::string& section : sections)
        for (const std::string& key : keys) {
            before.push_back(LiteralRead(lines, section, key, platform::IniValueSize));
            Check(file.Read(section, key) == before.back(), "a read differs from the profile functions' read");
            Check(file.Read(section, key, 3) == LiteralRead(lines, section, key, 3), "a short read differs");
        }
    Check(!file.Changed(), "reading changed the file");

    // Start-up's rebuild, in short: the old routing sections and the table go, a new table comes.
    for (int k = 1; k < 20; ++k) {
        const std::string number = file.Read("MESSAGE", std::to_string(k));
        if (IsNumber(number))
            file.EraseSection(number);
    }
    file.EraseSection("MESSAGE");
    file.Write("MESSAGE", "count", "1");
    file.Write("MESSAGE", "1", "1024");
    file.Write("1024", "1", "0,0");
    const std::string written = file.Text();
    const std::vector<std::string_view> writtenLines = Lines(written);
    for (size_t n = 0, i = 0; i < sections.size(); ++i)
        for (size_t j = 0; j < keys.size(); ++j, ++n) {
            const std::string_view section = Trim(sections[i]);
            if (before[n].empty() || IsNumber(section) || SameName(section, "MESSAGE"))
                continue;
            Check(LiteralRead(writtenLines, sections[i], keys[j], platform::IniValueSize) == before[n],
                  "a value read before the rebuild reads otherwise after it");
        }

    file.Write("FuzzSection", "FuzzKey", "value 1");
    Check(file.Read("FuzzSection", "FuzzKey") == "value 1", "a value written does not read back");
    const std::string rewrittenOnce = file.Text();

    // Written text is the file's normal form, but for a first line that the
    // next reading takes for a byte-order mark: from the second writing on,
    // the same writes give the same bytes.
    std::string rewritten;
    for (int generation = 0; generation < 2; ++generation) {
        TIniFile again(generation == 0 ? rewrittenOnce : rewritten);
        Check(again.Read("FuzzSection", "FuzzKey") == "value 1", "the written file does not read back");
        again.Write("FuzzSection", "FuzzKey", "value 2");
        again.Write("FuzzSection", "FuzzKey", "value 1");
        Check(generation == 0 || again.Text() == rewritten, "the written file does not write back to the same bytes");
        rewritten = again.Text();
    }

    TIniFile again(rewritten);
    again.EraseSection("1");
    again.EraseSection("Group");
    (void)again.Text();
    return 0;
}
