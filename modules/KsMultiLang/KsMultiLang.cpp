// KsMultiLang.dll: the suite's language module. It names the user's language
// and translates English texts through that language's file in Lang\ beside
// the DLL (the file format is described in Lang/README.md).
//
// The language is "Tessel"/"Language" of the Tessel.ini beside the DLL
// ("English", "Japanese", "Russian" or "Thai", in any letter case). When the
// key is missing or empty, the user's display language decides: Japanese,
// Russian and Thai have their own files, every other language gets English.
//
// A language file is read once into a table of its translations, and read
// again only when the shell names another file or the file has changed on
// disk since, so every translation after the first is one table look-up.
#include "platform/Win32.h"

#include <cstring>
#include <string>
#include <unordered_map>

extern "C" IMAGE_DOS_HEADER __ImageBase;

namespace {

constexpr int NameSize = 32;
constexpr int PathSize = 260;
// Our language files are a few kilobytes; anything far larger is not one.
constexpr DWORD MaxLanguageFile = 1 << 20;

const char* const Languages[] = {"English", "Japanese", "Russian", "Thai"};

std::string ModuleFolder()
{
    char path[MAX_PATH];
    DWORD n = GetModuleFileNameA(reinterpret_cast<HMODULE>(&__ImageBase), path, MAX_PATH);
    if (n == 0 || n >= MAX_PATH)
        return {};
    std::string folder(path, n);
    return folder.substr(0, folder.find_last_of('\\') + 1);
}

const char* LanguageOfUser()
{
    switch (PRIMARYLANGID(GetUserDefaultUILanguage())) {
    case LANG_JAPANESE: return "Japanese";
    case LANG_RUSSIAN: return "Russian";
    case LANG_THAI: return "Thai";
    default: return "English";
    }
}

// The language named in Tessel.ini, spelt as we spell it; null for a name we
// have no file for.
const char* LanguageOfIni(const std::string& folder, bool& named)
{
    char value[PathSize] = {};
    GetPrivateProfileStringA("Tessel", "Language", "", value, PathSize, (folder + "Tessel.ini").c_str());
    named = value[0] != '\0';
    for (const char* language : Languages)
        if (lstrcmpiA(value, language) == 0)
            return language;
    return nullptr;
}

bool IsFile(const std::string& path)
{
    DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// The English texts of one language file with their translations. Building
// it looks at every byte of the file a bounded number of times, whatever the
// lines hold, so no file within the size cap can stall the shell's start.
class LanguageTable {
public:
    // The translation of english, or null when the file does not list it.
    const std::string* Find(const char* english) const
    {
        const auto found = FEntries.find(english);
        return found == FEntries.end() ? nullptr : &found->second;
    }

    // Reads path unless the table already holds that file as it is on disk.
    // A file that cannot be read, or is far larger than a language file,
    // gives an empty table.
    void Load(const char* path)
    {
        const std::string name = path ? path : "";
        WIN32_FILE_ATTRIBUTE_DATA stamp{};
        if (name.empty() || !GetFileAttributesExA(name.c_str(), GetFileExInfoStandard, &stamp))
            stamp = {};
        if (FLoaded && FPath == name && SameStamp(stamp))
            return;
        FPath = name;
        FStamp = stamp;
        FLoaded = true;
        FEntries.clear();
        Parse(ReadLanguageFile(name));
    }

private:
    bool SameStamp(const WIN32_FILE_ATTRIBUTE_DATA& stamp) const
    {
        return CompareFileTime(&stamp.ftLastWriteTime, &FStamp.ftLastWriteTime) == 0 &&
               stamp.nFileSizeLow == FStamp.nFileSizeLow && stamp.nFileSizeHigh == FStamp.nFileSizeHigh;
    }

    static std::string ReadLanguageFile(const std::string& path)
    {
        std::string text;
        if (path.empty())
            return text;
        HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file == INVALID_HANDLE_VALUE)
            return text;
        DWORD high = 0;
        DWORD size = GetFileSize(file, &high);
        if (size != INVALID_FILE_SIZE && high == 0 && size <= MaxLanguageFile) {
            text.resize(size);
            DWORD read = 0;
            if (!ReadFile(file, text.data(), size, &read, nullptr))
                read = 0;
            text.resize(read);
        }
        CloseHandle(file);
        return text;
    }

    // Lines "<english><TAB><translation>"; comments start with '#'. An empty
    // translation counts as none, and of a text listed twice the first
    // translation counts (emplace keeps the entry already there).
    void Parse(const std::string& file)
    {
        const char* const end = file.data() + file.size();
        for (const char* line = file.data(); line < end;) {
            const char* next = static_cast<const char*>(std::memchr(line, '\n', static_cast<size_t>(end - line)));
            const char* lineEnd = next ? next : end;
            if (lineEnd > line && lineEnd[-1] == '\r')
                --lineEnd;
            const char* tab = static_cast<const char*>(std::memchr(line, '\t', static_cast<size_t>(lineEnd - line)));
            if (*line != '#' && tab && tab + 1 < lineEnd)
                FEntries.emplace(std::string(line, tab), std::string(tab + 1, lineEnd));
            line = next ? next + 1 : end;
        }
    }

    std::string FPath;
    WIN32_FILE_ATTRIBUTE_DATA FStamp{};
    bool FLoaded = false;
    std::unordered_map<std::string, std::string> FEntries;
};

LanguageTable Table;

void CopyBounded(char* out, int size, const char* text)
{
    if (out && size > 0) {
        lstrcpynA(out, text, size);
    }
}

} // namespace

// Which is reserved: Tessel passes 0 and there is one language per user.
extern "C" int __cdecl KsGetLangNameAndPath(int /*Which*/, char* Name, char* Path)
{
    // Whatever happens, the caller never reads an unterminated buffer.
    CopyBounded(Name, NameSize, "");
    CopyBounded(Path, PathSize, "");

    std::string folder = ModuleFolder();
    if (folder.empty())
        return 0;
    bool named = false;
    const char* language = LanguageOfIni(folder, named);
    if (!named)
        language = LanguageOfUser();
    if (!language)
        return 0;

    std::string file = folder + "Lang\\" + language + ".lng";
    if (file.size() >= PathSize || !IsFile(file))
        return 0;
    CopyBounded(Name, NameSize, language);
    CopyBounded(Path, PathSize, file.c_str());
    return 1;
}

// Returns the number of characters written; when the buffer is too small the
// text is cut after Size - 1 bytes, even inside a double-byte character, so
// that a result of Size - 1 always tells the caller to ask again with a
// larger buffer.
extern "C" int __cdecl KsTranslateStr2(int /*Zero*/, const char* English, char* Out, int Size,
                                       const char* LangFile)
{
    if (!Out || Size <= 0)
        return 0;
    if (!English)
        English = "";

    const char* text = English;
    if (*English) {
        Table.Load(LangFile);
        if (const std::string* translation = Table.Find(English))
            text = translation->c_str();
    }

    size_t length = std::strlen(text);
    size_t written = length < static_cast<size_t>(Size) - 1 ? length : static_cast<size_t>(Size) - 1;
    std::memmove(Out, text, written);
    Out[written] = '\0';
    return static_cast<int>(written);
}
