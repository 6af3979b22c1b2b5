// KsMultiLang.dll: the suite's language module. It names the user's language
// and translates English texts through that language's file in Lang\ beside
// the DLL (the file format is described in Lang/README.md).
//
// The language is "Tessel"/"Language" of the Tessel.ini beside the DLL
// ("English", "Japanese", "Russian" or "Thai", in any letter case). When the
// key is missing or empty, the user's display language decides: Japanese,
// Russian and Thai have their own files, every other language gets English.
//
// The module keeps no state between calls: every translation reads the file
// it is given, so the shell may hold the language file's path as long as it
// likes and the DLL may be unloaded at any time.
#include "platform/Win32.h"

#include <cstring>
#include <string>

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

std::string ReadLanguageFile(const char* path)
{
    std::string text;
    if (!path || !*path)
        return text;
    HANDLE file = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
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

// Finds the line "<english><TAB><translation>" and returns the translation;
// an empty translation counts as none.
bool Lookup(const std::string& file, const char* english, std::string& translation)
{
    size_t englishLength = std::strlen(english);
    size_t pos = 0;
    while (pos < file.size()) {
        size_t end = file.find('\n', pos);
        if (end == std::string::npos)
            end = file.size();
        size_t lineEnd = end;
        if (lineEnd > pos && file[lineEnd - 1] == '\r')
            --lineEnd;
        size_t tab = file.find('\t', pos);
        if (file[pos] != '#' && tab < lineEnd && tab - pos == englishLength &&
            file.compare(pos, englishLength, english) == 0 && tab + 1 < lineEnd) {
            translation.assign(file, tab + 1, lineEnd - tab - 1);
            return true;
        }
        pos = end + 1;
    }
    return false;
}

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

    std::string translation;
    const char* text = English;
    if (*English && Lookup(ReadLanguageFile(LangFile), English, translation))
        text = translation.c_str();

    size_t length = std::strlen(text);
    size_t written = length < static_cast<size_t>(Size) - 1 ? length : static_cast<size_t>(Size) - 1;
    std::memmove(Out, text, written);
    Out[written] = '\0';
    return static_cast<int>(written);
}
