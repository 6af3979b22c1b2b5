// An INI file held in memory and edited there, by the rules the system's
// profile functions apply to the file, so that reading a file into it, making
// the same reads, key writes and section removals and writing it out again
// leaves the bytes those functions leave:
// - sections and keys are found by name without regard to ASCII letter case,
//   blanks around the name given ignored (but not by a section's removal);
//   of duplicate sections or keys the first wins, and a removal takes the
//   first section of that name only;
// - a line is cut at CR or LF; blanks (space, tab, CR, LF, VT, FF, ^Z) around
//   a line, a section name, a key name and a value are dropped, blank lines
//   too; a line "[name]" starts a section (text after the last ']' is
//   dropped), any other line is a key, with a value when it holds '=';
//   lines without '=' and comments are keys without a value, kept where
//   they stand; of consecutive lines with an empty key name only the first
//   is kept; keys before the first section belong to a section without a
//   name (found by the name ""), and keys under "[]" to one that no name
//   finds;
// - a value read is cut to the buffer size less one and loses a pair of
//   surrounding quotes (' or "); a key without a value reads as empty;
// - a write replaces the value of the first key of that name, or adds the
//   key at the end of its section, or the section at the end of the file,
//   named as given less leading blanks; the value loses its leading blanks;
//   removing the section without a name removes the keys before the first
//   section line;
// - a NUL byte is text like any other to the lines (only CR and LF end
//   one), but a section name, a key name or a value ends at it once the
//   blanks around it are dropped; a key line whose name holds nothing
//   before a NUL counts as a line with a name for the rule above, and as
//   one without a name for the line after it;
// - the text written is every section as "[name]" and every key as
//   "name=value" or "name", each line ended by CR LF; a UTF-8 byte-order mark
//   is kept, and written too when the first line starts with its bytes. A file whose text the functions would read as UTF-16 (it starts
//   with FF FE or FE FF) is not one of these.
// Where the functions lose bytes, this model does not: a line that holds a
// NUL byte is written back as it was read (less the blanks around it) until
// a write replaces it or a removal takes its section, so whatever it held
// after the NUL (a section line the profile functions read as part of a
// value, after a power loss left NULs in the file) is still there for the
// user or a repair. Its reads are those of the text it writes.
// The profile functions write the file at each change and read it again at
// the next call; what that reading changes (blanks left at the end of what
// was written go, keys under "[]" join the section before them) is applied
// here before the next read, write or removal, not to the text of the last.
//
// Plain C++ on bytes with no system calls, so the same unit builds natively.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace platform {

// Values are read into 260-byte buffers (at most 259 characters).
constexpr int IniValueSize = 260;

class TIniFile {
public:
    // An empty or missing file.
    TIniFile();
    explicit TIniFile(std::string_view Text);

    // True when Text starts as a UTF-16 file does.
    static bool IsUtf16(std::string_view Text);

    // The value of Key, as a BufferSize-byte read returns it; empty when the
    // section or the key is missing, or the key has no value.
    std::string Read(std::string_view Section, std::string_view Key, int BufferSize = IniValueSize);
    void Write(std::string_view Section, std::string_view Key, std::string_view Value);
    void EraseSection(std::string_view Section);

    // True once a write or a removal changed something.
    bool Changed() const { return FChanged; }
    // The text the functions write at a change: the file as the last change left it.
    std::string Text() const;

private:
    // Names and values as the functions compare and read them (cut at a
    // NUL); Line holds the whole line of the file when it holds a NUL, and
    // is what is written for it.
    struct TKey {
        std::string Name;
        std::string Value;
        bool HasValue;
        std::string Line;
    };
    struct TSection {
        std::string Name;
        std::string Line;
        std::vector<TKey> Keys;
        std::unordered_map<std::string, size_t> Index; // folded name -> first key of that name
        bool Erased = false;
    };

    TSection* Find(std::string_view Section);
    // Line: the section line as read, when it holds a NUL.
    TSection& AddSection(std::string Name, std::string Line = {});
    static void AddKey(TSection& Section, TKey Key);
    // Whether a key line stands after the last key of Section, by the rule
    // for lines without a key name.
    static bool Kept(const TSection& Section, const TKey& Key);
    void MarkChanged();
    // Brings the model to what reading the file written after a change gives.
    void Reread();

    bool FUtf8Mark = false;
    bool FChanged = false;
    bool FRereadPending = false;
    std::optional<std::string> FWritten; // the text written at the last change, once reread
    // The key last written, and its section.
    size_t FLastSection = SIZE_MAX;
    size_t FLastKey = SIZE_MAX;
    // Sections in file order; the first is the one without a name that
    // holds the keys before any section line.
    std::vector<TSection> FSections;
    // Folded name -> the sections of that name still in the file, in order.
    std::unordered_map<std::string, std::vector<size_t>> FIndex;
};

} // namespace platform
