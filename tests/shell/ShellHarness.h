// Temporary suite folders for the shell's tests: Tessel.ini, page INI files,
// copies of the module doubles under their modules' names, and the doubles'
// call log.
#pragma once

#include "platform/Win32.h"

#include <fstream>
#include <initializer_list>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

namespace shelltest {

// The folder of the test program (with a backslash): the doubles are built there.
inline std::string TestBin()
{
    char path[MAX_PATH] = {};
    std::string self(path, GetModuleFileNameA(nullptr, path, MAX_PATH));
    return self.substr(0, self.find_last_of('\\') + 1);
}

// build/bin\ beside the test folder, where Tessel.exe is built.
inline std::string SuiteBin()
{
    char full[MAX_PATH];
    std::string bin = TestBin() + "..\\bin\\";
    return std::string(full, GetFullPathNameA(bin.c_str(), MAX_PATH, full, nullptr));
}

inline std::string ReadWholeFile(const std::string& path)
{
    std::ostringstream bytes;
    bytes << std::ifstream(path, std::ios::binary).rdbuf();
    return bytes.str();
}

inline void WriteWholeFile(const std::string& path, const std::string& bytes)
{
    std::ofstream(path, std::ios::binary) << bytes;
}

inline std::vector<std::string> Lines(const std::string& text)
{
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        lines.push_back(line);
    }
    return lines;
}

// A fresh folder (Path() ends with a backslash), removed with its contents.
class TSuiteFolder {
public:
    TSuiteFolder()
    {
        char temp[MAX_PATH];
        GetTempPathA(MAX_PATH, temp);
        static unsigned counter = 0;
        do
            FPath = std::string(temp) + "TesselShell-" + std::to_string(GetCurrentProcessId()) + "-" +
                    std::to_string(++counter);
        while (!CreateDirectoryA(FPath.c_str(), nullptr));
        FPath += "\\";
        CreateDirectoryA((FPath + "Page").c_str(), nullptr);
    }
    ~TSuiteFolder() { Remove(FPath); }
    TSuiteFolder(const TSuiteFolder&) = delete;
    TSuiteFolder& operator=(const TSuiteFolder&) = delete;

    const std::string& Path() const { return FPath; }
    std::string Ini() const { return FPath + "Tessel.ini"; }

    // Copies the module double (or Empty.dll) to Name (relative, e.g. "Page\\Sub\\A.dll").
    void AddModule(const std::string& Name, const std::string& Double = "Double.dll") const
    {
        std::string target = FPath + Name;
        for (size_t at = FPath.size(); (at = target.find('\\', at)) != std::string::npos; ++at)
            CreateDirectoryA(target.substr(0, at).c_str(), nullptr);
        CopyFileA((TestBin() + Double).c_str(), target.c_str(), FALSE);
    }
    // The whole set of sibling modules.
    void AddSiblings() const
    {
        for (const char* name : {"KsIO.dll", "KsTuneProfile.dll", "KsMultiLang.dll", "PageContainer.dll", "Bar.dll"})
            AddModule(name);
    }

    void Write(const std::string& Name, const std::string& Text) const { WriteWholeFile(FPath + Name, Text); }
    std::string Read(const std::string& Name) const { return ReadWholeFile(FPath + Name); }

    // An INI value of any file of the folder.
    std::string Value(const std::string& File, const std::string& Section, const std::string& Key) const
    {
        char value[1024] = {};
        GetPrivateProfileStringA(Section.c_str(), Key.c_str(), "", value, sizeof value, (FPath + File).c_str());
        return value;
    }
    void SetValue(const std::string& File, const std::string& Section, const std::string& Key,
                  const std::string& Value) const
    {
        WritePrivateProfileStringA(Section.c_str(), Key.c_str(), Value.c_str(), (FPath + File).c_str());
    }
    // The key names of a section, in file order.
    std::vector<std::string> Keys(const std::string& File, const std::string& Section) const
    {
        std::vector<char> buffer(1 << 16);
        GetPrivateProfileStringA(Section.c_str(), nullptr, "", buffer.data(), static_cast<DWORD>(buffer.size()),
                                 (FPath + File).c_str());
        std::vector<std::string> keys;
        for (const char* p = buffer.data(); *p; p += std::string(p).size() + 1)
            keys.emplace_back(p);
        return keys;
    }
    std::vector<std::string> Sections(const std::string& File) const
    {
        std::vector<char> buffer(1 << 16);
        GetPrivateProfileSectionNamesA(buffer.data(), static_cast<DWORD>(buffer.size()), (FPath + File).c_str());
        std::vector<std::string> names;
        for (const char* p = buffer.data(); *p; p += std::string(p).size() + 1)
            names.emplace_back(p);
        return names;
    }
    // "key=value" lines of a section, in file order.
    std::vector<std::string> Section(const std::string& File, const std::string& Name) const
    {
        std::vector<std::string> pairs;
        for (const std::string& key : Keys(File, Name))
            pairs.push_back(key + "=" + Value(File, Name, key));
        return pairs;
    }

    // Settings of the module doubles.
    void Double(const std::string& Part, const std::string& Key, const std::string& Value) const
    {
        SetValue("doubles.ini", Part, Key, Value);
    }
    std::vector<std::string> Calls() const { return Lines(Read("calls.log")); }
    void ClearCalls() const { DeleteFileA((FPath + "calls.log").c_str()); }

private:
    static void Remove(const std::string& folder)
    {
        WIN32_FIND_DATAA found;
        HANDLE search = FindFirstFileA((folder + "*").c_str(), &found);
        for (bool more = search != INVALID_HANDLE_VALUE; more; more = FindNextFileA(search, &found)) {
            std::string name = found.cFileName;
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                if (name != "." && name != "..")
                    Remove(folder + name + "\\");
            } else {
                DeleteFileA((folder + name).c_str());
            }
        }
        if (search != INVALID_HANDLE_VALUE)
            FindClose(search);
        RemoveDirectoryA(folder.c_str());
    }

    std::string FPath;
};

// The calls of the log that start with Prefix (for example "Bar Command").
inline std::vector<std::string> Matching(const std::vector<std::string>& Calls, const std::string& Prefix)
{
    std::vector<std::string> found;
    for (const std::string& call : Calls)
        if (call.compare(0, Prefix.size(), Prefix) == 0)
            found.push_back(call);
    return found;
}

} // namespace shelltest
