#include "platform/IniFile.h"

#include <algorithm>
#include <cstdint>

namespace platform {

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

// What the functions compare and read of a name or a value: the text up to a NUL.
std::string_view Cut(std::string_view Text)
{
    return Text.substr(0, Text.find('\0'));
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
    TSection* section = &FSections.front();
    while (!Text.empty()) {
        const size_t end = std::min(Text.find_first_of("\r\n"), Text.size());
        const std::string_view line = Trim(Text.substr(0, end));
        Text.remove_prefix(std::min(end + 1, Text.size()));
        if (line.empty())
            continue;
        std::string kept = line.find('\0') == std::string_view::npos ? std::string() : std::string(line);
        const size_t close = line.rfind(']');
        if (line.front() == '[' && close != std::string_view::npos) {
            section = &AddSection(std::string(Cut(Trim(line.substr(1, close - 1)))), std::move(kept));
            continue;
        }
        const size_t equals = line.find('=');
        TKey key{std::string(Cut(Trim(line.substr(0, equals)))), {}, equals != std::string_view::npos,
                 std::move(kept)};
        if (key.HasValue)
            key.Value = Cut(Trim(line.substr(equals + 1)));
        if (Kept(*section, key))
            AddKey(*section, std::move(key));
    }
}

bool TIniFile::IsUtf16(std::string_view Text)
{
    return Text.substr(0, 2) == "\xFF\xFE" || Text.substr(0, 2) == "\xFE\xFF";
}

TIniFile::TSection& TIniFile::AddSection(std::string Name, std::string Line)
{
    // A section line whose name ends at once at a NUL stays a line of its
    // own, under which no name finds its keys.
    if (!Name.empty() || Line.empty())
        FIndex[Fold(Name)].push_back(FSections.size());
    FSections.push_back({std::move(Name), std::move(Line), {}, {}});
    return FSections.back();
}

bool TIniFile::Kept(const TSection& Section, const TKey& Key)
{
    // Of consecutive lines without a key name only the first counts. A name
    // cut to nothing at a NUL still makes its own line count, but not the
    // next one.
    const std::string_view name = Key.Line.empty() ? std::string_view(Key.Name)
                                                    : Trim(std::string_view(Key.Line).substr(0, Key.Line.find('=')));
    return !name.empty() || Section.Keys.empty() || !Section.Keys.back().Name.empty();
}

void TIniFile::AddKey(TSection& Section, TKey Key)
{
    Section.Index.try_emplace(Fold(Key.Name), Section.Keys.size());
    Section.Keys.push_back(std::move(Key));
}

TIniFile::TSection* TIniFile::Find(std::string_view Section)
{
    auto found = FIndex.find(Fold(Trim(Section)));
    if (found == FIndex.end() || found->second.empty())
        return nullptr;
    return &FSections[found->second.front()];
}

std::string TIniFile::Read(std::string_view Section, std::string_view Key, int BufferSize)
{
    Reread();
    const TSection* section = Find(Section);
    if (!section || BufferSize < 1)
        return {};
    auto found = section->Index.find(Fold(Trim(Key)));
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
    Reread();
    // A new section or key takes the name as given less its leading blanks,
    // and a value loses its leading blanks; the trailing ones go when the
    // file is read again.
    const auto leading = [](std::string_view Text) {
        while (!Text.empty() && IsBlank(Text.front()))
            Text.remove_prefix(1);
        return Text;
    };
    TSection* section = Find(Section);
    if (!section)
        section = &AddSection(std::string(leading(Section)));
    FLastSection = static_cast<size_t>(section - FSections.data());
    auto found = section->Index.find(Fold(Trim(Key)));
    if (found == section->Index.end()) {
        FLastKey = section->Keys.size();
        AddKey(*section, {std::string(leading(Key)), std::string(leading(Value)), true, {}});
    } else {
        FLastKey = found->second;
        TKey& key = section->Keys[found->second];
        // The value as it reads: a line kept for its NUL stays as it is.
        if (key.HasValue && key.Value == leading(Value))
            return;
        key.Value = leading(Value);
        key.HasValue = true;
        key.Line.clear();
    }
    MarkChanged();
}

void TIniFile::EraseSection(std::string_view Section)
{
    Reread();
    // Unlike a read or a write, a removal takes the name exactly as given.
    auto found = FIndex.find(Fold(Section));
    if (found == FIndex.end() || found->second.empty())
        return;
    TSection* section = &FSections[found->second.front()];
    if (section == &FSections.front()) {
        // The keys before the first section line go; reading the file again
        // starts a new section without a name.
        section->Keys.clear();
        section->Index.clear();
    } else {
        section->Erased = true;
        std::vector<size_t>& named = FIndex[Fold(section->Name)];
        named.erase(named.begin());
    }
    MarkChanged();
}

void TIniFile::MarkChanged()
{
    FChanged = true;
    FRereadPending = true;
    FWritten.reset();
}

void TIniFile::Reread()
{
    if (!FRereadPending)
        return;
    FRereadPending = false;
    // Only the last write can have left blanks at the end of a name or a value.
    const size_t sectionAt = FLastSection, keyAt = FLastKey;
    FLastSection = FLastKey = SIZE_MAX;
    TSection* section = sectionAt < FSections.size() && !FSections[sectionAt].Erased ? &FSections[sectionAt] : nullptr;
    TKey* written = section && keyAt < section->Keys.size() ? &section->Keys[keyAt] : nullptr;
    std::vector<size_t>& unnamed = FIndex[std::string()];
    const auto trailing = [](const std::string& Text) { return !Text.empty() && IsBlank(Text.back()); };
    if (!(section && trailing(section->Name)) && !(written && (trailing(written->Name) || trailing(written->Value))) &&
        unnamed.size() < 2)
        return;
    // The file keeps the text last written until the next change, whatever
    // reading it again makes of it.
    FWritten = Text();
    if (section && trailing(section->Name)) {
        std::vector<size_t>& named = FIndex[Fold(section->Name)];
        named.erase(std::find(named.begin(), named.end(), sectionAt));
        section->Name = Trim(section->Name);
        std::vector<size_t>& renamed = FIndex[Fold(section->Name)];
        renamed.insert(std::upper_bound(renamed.begin(), renamed.end(), sectionAt), sectionAt);
    }
    if (written) {
        written->Value = Trim(written->Value);
        if (trailing(written->Name)) {
            auto indexed = section->Index.find(Fold(written->Name));
            if (indexed != section->Index.end() && indexed->second == keyAt)
                section->Index.erase(indexed);
            written->Name = Trim(written->Name);
            size_t& first = section->Index.try_emplace(Fold(written->Name), keyAt).first->second;
            first = std::min(first, keyAt);
        }
    }
    // A section without a name has no line of its own in the text written,
    // so its keys join the section before it (and of two key lines without a
    // name meeting there, the second goes). The first section is the one
    // before any section line.
    for (size_t u = 1; u < unnamed.size(); ++u) {
        const size_t n = unnamed[u];
        TSection* previous = nullptr;
        for (size_t p = n; p-- > 0 && !previous;)
            if (!FSections[p].Erased)
                previous = &FSections[p];
        for (TKey& key : FSections[n].Keys)
            if (Kept(*previous, key))
                AddKey(*previous, std::move(key));
        FSections[n].Erased = true;
    }
    unnamed.resize(1);
}

std::string TIniFile::Text() const
{
    if (FWritten)
        return *FWritten;
    std::string text;
    for (const TSection& section : FSections) {
        if (section.Erased)
            continue;
        if (!section.Line.empty())
            text += section.Line + "\r\n";
        else if (!section.Name.empty())
            text += "[" + section.Name + "]\r\n";
        for (const TKey& key : section.Keys) {
            if (!key.Line.empty())
                text += key.Line;
            else if (key.HasValue)
                text += key.Name + "=" + key.Value;
            else
                text += key.Name;
            text += "\r\n";
        }
    }
    // A first line that starts with the mark's bytes (a blank line stood
    // before it when it was read) would lose them and its meaning to the
    // next reading: the mark is written before it.
    if (FUtf8Mark || text.starts_with(Utf8Mark))
        text.insert(0, Utf8Mark);
    return text;
}

} // namespace platform
