// What a language file costs KsMultiLang.dll: for files of 1 MiB (the
// module's size cap) of several kinds of content, the first translation,
// which reads the file, and then Tessel's whole start-up share of
// translations (the five menu captions) from the same file. The floor is the
// same first translation from the real Japanese.lng of a few kilobytes.
//
// Every figure must stay well under a second: the shell translates while it
// holds the single-instance mutex, so a slow file keeps every later start of
// the program waiting for nothing.
#include "platform/Win32.h"

#include <chrono>
#include <cstdio>
#include <fstream>
#include <string>

namespace {

using TTranslate = int(__cdecl*)(int, const char*, char*, int, const char*);

constexpr size_t FileSize = 1 << 20;

const char* const Captions[] = {"Switch to Quick Bar", "Switch to Main Window", "Exit", "Start at Quick Bar",
                                "Start at ToolBar"};

std::string ProgramFolder()
{
    char path[MAX_PATH] = {};
    std::string self(path, GetModuleFileNameA(nullptr, path, MAX_PATH));
    return self.substr(0, self.find_last_of('\\') + 1);
}

// Line repeated up to FileSize bytes (the last copy cut short).
std::string Repeated(const std::string& line)
{
    std::string text;
    text.reserve(FileSize);
    while (text.size() + line.size() <= FileSize)
        text += line;
    text.append(line, 0, FileSize - text.size());
    return text;
}

// Distinct entries "Text<n><TAB>Translation<n>", the table at its largest.
std::string DistinctEntries()
{
    std::string text;
    for (int n = 0; text.size() < FileSize; ++n)
        text += "Text" + std::to_string(n) + "\tTranslation" + std::to_string(n) + "\r\n";
    text.resize(FileSize);
    return text;
}

double Milliseconds(std::chrono::steady_clock::duration d)
{
    return std::chrono::duration<double, std::milli>(d).count();
}

// Loads a fresh copy of the module (so nothing is cached), then times the
// first translation and the captions after it.
void Measure(const std::string& dll, const char* name, const std::string& file)
{
    HMODULE module = LoadLibraryA(dll.c_str());
    auto translate = module ? reinterpret_cast<TTranslate>(reinterpret_cast<void*>(
                                  GetProcAddress(module, "KsTranslateStr2")))
                            : nullptr;
    if (!translate) {
        std::fprintf(stderr, "cannot load %s\n", dll.c_str());
        if (module)
            FreeLibrary(module);
        return;
    }
    char out[256];
    using Clock = std::chrono::steady_clock;
    const Clock::time_point start = Clock::now();
    translate(0, "Are you sure to exit?", out, sizeof out, file.c_str());
    const Clock::time_point first = Clock::now();
    for (const char* caption : Captions)
        translate(0, caption, out, sizeof out, file.c_str());
    const Clock::time_point captions = Clock::now();
    FreeLibrary(module);
    std::printf("%-34s %12.1f %14.2f\n", name, Milliseconds(first - start), Milliseconds(captions - first));
}

} // namespace

int main()
{
    const std::string folder = ProgramFolder();
    const std::string bin = folder + "..\\bin\\";
    const std::string dll = bin + "KsMultiLang.dll";
    const std::string file = folder + "LanguageFileBench.lng";

    std::printf("KsMultiLang.dll, language files of %zu bytes\n", FileSize);
    std::printf("%-34s %12s %14s\n", "file", "first ms", "5 captions ms");
    Measure(dll, "Japanese.lng (floor)", bin + "Lang\\Japanese.lng");

    const struct {
        const char* Name;
        std::string Text;
    } files[] = {
        {"blank lines (LF)", Repeated("\n")},
        {"blank lines (CR LF)", Repeated("\r\n")},
        {"comment lines", Repeated("# a comment line of a language file\r\n")},
        {"TABs turned into blanks", Repeated("Switch to Quick Bar    Schnellleiste\r\n")},
        {"one line without line end", Repeated("x")},
        {"one TAB, then one long line", "Exit\t" + Repeated("y").substr(5)},
        {"distinct entries", DistinctEntries()},
        {"one entry listed again and again", Repeated("Exit\tEnde\r\n")},
    };
    for (const auto& f : files) {
        std::ofstream(file, std::ios::binary | std::ios::trunc) << f.Text;
        Measure(dll, f.Name, file);
    }
    DeleteFileA(file.c_str());
    return 0;
}
