#include "shell/IniFile.h"

#include <algorithm>

namespace tessel {

namespace {

constexpr std::string_view Utf8Mark = "\xEF\xBB\xBF";

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

std::string Fold(std::string_view Name)
{
    std::string folded(Name);
    for (char& c : folded)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return folded;
}

} // namespace

TIniFile::TIniFile()
{
    AddSection({});
}

TIniFile::TIniFile(std::string_view Text) : TIniFile()
{
    if (Text.substr(0, Utf8Mark.size()) == Utf8Mark) {
        FUtf8Mark = true;
        Text.remove_prefix(Utf8Mark.size());
    }
    // The functions read the text as a C string.
    Text = Text.substr(0, Text.find('\0'));

    TSection* section = &FSections.front();
    while (!Text.empty()) {
        const size_t end = std::min(Text.find_first_of("\r\n"), Text.size());
        const std::string_view line = Trim(Text.substr(0, end));
        Text.remove_prefix(std::min(end + 1, Text.size()));
        if (line.empty())
            continue;
        const size_t close = line.rfind(']');
        if (line.front() == '[' && close != std::string_view::npos) {
            section = &AddSection(std::string(Trim(line.substr(1, close - 1))));
            continue;
        }
        const size_t equals = line.find('=');
        TKey key{std::string(Trim(line.substr(0, equals))), {}, equals != std::string_view::npos};
        if (key.HasValue)
            key.Value = Trim(line.substr(equals + 1));
        // Of consecutive lines without a key name only the first counts.
        if (!key.Name.empty() || section->Keys.empty() || !section->Keys.back().Name.empty())
            AddKey(*section, std::move(key));
    }
}

bool TIniFile::IsUtf16(std::string_view Text)
{
    return Text.substr(0, 2) == "\xFF\xFE" || Text.substr(0, 2) == "\xFE\xFF";
}

TIniFile::TSection& TIniFile::AddSection(std::string Name)
{
    FIndex[Fold(Name)].push_back(FSections.size());
    FSections.push_back({std::move(Name), {}, {}});
    return FSections.back();
}

void TIniFile::AddKey(TSection& Section, TKey Key)
{
    Section.Index.try_emplace(Fold(Key.Name), Section.Keys.size());
    Section.Keys.push_back(std::move(Key));
}

const TIniFile::TSection* TIniFile::Find(std::string_view Section) const
{
    auto found = FIndex.find(Fold(Trim(Section)));
    if (found == FIndex.end() || found->second.empty())
        return nullptr;
    return &FSections[found->second.front()];
}

TIniFile::TSection* TIniFile::Find(std::string_view Section)
{
    return const_cast<TSection*>(static_cast<const TIniFile*>(this)->Find(Section));
}

std::string TIniFile::Read(std::string_view Section, std::string_view Key, int BufferSize) const
{
    const TSection* section = Find(Section);
    Key = Trim(Key);
    if (!section || Key.empty() || BufferSize < 1)
        return {};
    auto found = section->Index.find(Fold(Key));
    if (found == section->Index.end())
        return {};
    const TKey& key = section->Keys[found->second];
    std::string_view value = key.Value;
    // A pair of quotes goes, but only the opening one when the value is cut;
    // a value exactly as long as the buffer loses its last character as well.
    const bool quoted = value.size() > 1 && (value.front() == '"' || value.front() == '\'') &&
                        value.back() == value.front();
    if (quoted)
        value.remove_prefix(1);
    std::string text(value.substr(0, static_cast<size_t>(BufferSize - 1)));
    if (quoted && static_cast<size_t>(BufferSize) >= value.size() && !text.empty())
        text.pop_back();
    return text;
}

void TIniFile::Write(std::string_view Section, std::string_view Key, std::string_view Value)
{
    Section = Trim(Section);
    Key = Trim(Key);
    Value = Trim(Value);
    TSection* section = Find(Section);
    if (!section)
        section = &AddSection(std::string(Section));
    auto found = section->Index.find(Fold(Key));
    if (found == section->Index.end()) {
        AddKey(*section, {std::string(Key), std::string(Value), true});
    } else {
        TKey& key = section->Keys[found->second];
        if (key.HasValue && key.Value == Value)
            return;
        key.Value = Value;
        key.HasValue = true;
    }
    MarkChanged();
}

void TIniFile::EraseSection(std::string_view Section)
{
    Section = Trim(Section);
    auto found = FIndex.find(Fold(Section));
    if (Section.empty() || found == FIndex.end() || found->second.empty())
        return;
    FSections[found->second.front()].Erased = true;
    found->second.erase(found->second.begin());
    MarkChanged();
}

void TIniFile::MarkChanged()
{
    if (FChanged)
        return;
    FChanged = true;
    // What the functions' reading of the file they just wrote changes: a
    // section without a name has no line of its own, so its keys join the
    // section before it (and of two key lines without a name meeting there,
    // the second goes). The first section is the one before any section line.
    TSection* previous = &FSections.front();
    for (size_t n = 1; n < FSections.size(); ++n) {
        TSection& section = FSections[n];
        if (section.Erased)
            continue;
        if (!section.Name.empty()) {
            previous = &section;
            continue;
        }
        for (TKey& key : section.Keys)
            if (!key.Name.empty() || previous->Keys.empty() || !previous->Keys.back().Name.empty())
                AddKey(*previous, std::move(key));
        section.Erased = true;
        std::vector<size_t>& named = FIndex[std::string()];
        named.erase(std::find(named.begin(), named.end(), n));
    }
}

std::string TIniFile::Text() const
{
    std::string text = FUtf8Mark ? std::string(Utf8Mark) : std::string();
    for (const TSection& section : FSections) {
        if (section.Erased)
            continue;
        if (!section.Name.empty())
            text += "[" + section.Name + "]\r\n";
        for (const TKey& key : section.Keys) {
            text += key.Name;
            if (key.HasValue)
                text += "=" + key.Value;
            text += "\r\n";
        }
    }
    return text;
}

} // namespace tessel
