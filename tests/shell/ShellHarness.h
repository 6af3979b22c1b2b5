// Temporary suite folders for the shell's tests: Tessel.ini, page INI files,
// copies of the module doubles under their modules' names, and the doubles'
// call log.
#pragma once

#include "shell/MsgFrm.h"
#include "shell/SuiteState.h"

#include "platform/Win32.h"
#include "support/Files.h"

#include <gtest/gtest.h>

#include <fstream>
#include <initializer_list>
#include <optional>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

namespace shelltest {

using testsupport::ReadWholeFile;
using testsupport::SuiteBin;
using testsupport::TestBin;
using testsupport::WriteWholeFile;

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

// Keys made under HKEY_LOCAL_MACHINE for one test, removed again (the
// deepest first) when it ends.
class TMachineKeys {
public:
    TMachineKeys() = default;
    ~TMachineKeys()
    {
        for (const std::string& key : FCreated)
            RegDeleteKeyA(HKEY_LOCAL_MACHINE, key.c_str());
    }
    TMachineKeys(const TMachineKeys&) = delete;
    TMachineKeys& operator=(const TMachineKeys&) = delete;

    bool Create(const std::string& Key)
    {
        HKEY key = nullptr;
        if (RegCreateKeyExA(HKEY_LOCAL_MACHINE, Key.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key,
                            nullptr) != ERROR_SUCCESS)
            return false;
        RegCloseKey(key);
        FCreated.insert(FCreated.begin(), Key);
        return true;
    }

private:
    std::vector<std::string> FCreated;
};

// A fresh suite folder with its Page\ subfolder (Path() ends with a backslash),
// removed with its contents.
class TSuiteFolder {
public:
    TSuiteFolder() : FFolder("TesselShell"), FPath(FFolder.Path())
    {
        CreateDirectoryA((FPath + "Page").c_str(), nullptr);
    }

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

    // The suite's skin files, as the build draws them, under ContainerImages\.
    void AddSkin() const
    {
        CreateDirectoryA((FPath + "ContainerImages").c_str(), nullptr);
        for (const char* name : {"popup_bg_s.bmp", "button_n.bmp", "button_d.bmp", "button_o.bmp", "button_un.bmp",
                                  "button_s.bmp", "button_so.bmp"})
            CopyFileA((SuiteBin() + "ContainerImages\\" + name).c_str(),
                      (FPath + "ContainerImages\\" + name).c_str(), FALSE);
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
    testsupport::TempFolder FFolder;
    const std::string FPath;
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

// A test of the shell's units in a fresh suite folder: the running suite
// state is made over it, as the program makes its own over its folder, and
// the module doubles log their calls there.
class TSuiteTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        Restart();
        SetEnvironmentVariableA("TESSEL_DOUBLE_DIR", Suite.Path().c_str());
    }
    void TearDown() override
    {
        tessel::FreeLanguage();
        State.reset();
        SetEnvironmentVariableA("TESSEL_DOUBLE_DIR", nullptr);
    }
    // A fresh state over the folder, as a new start of the program has.
    void Restart() { State.emplace(Suite.Path(), false); }

    TSuiteFolder Suite;
    std::optional<tessel::TSuiteState> State;
};

} // namespace shelltest
