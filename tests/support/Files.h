// Files and folders for tests that work on real files: where the built suite
// lies, whole-file reads and writes, and temporary folders.
#pragma once

#include "platform/Win32.h"

#include <fstream>
#include <sstream>
#include <string>

namespace testsupport {

// The folder of the test program (with a backslash).
inline std::string TestBin()
{
    char path[MAX_PATH] = {};
    std::string self(path, GetModuleFileNameA(nullptr, path, MAX_PATH));
    return self.substr(0, self.find_last_of('\\') + 1);
}

// build/bin\ beside the test programs' folder, where the suite is built.
inline std::string SuiteBin()
{
    char full[MAX_PATH];
    const std::string bin = TestBin() + "..\\bin\\";
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

// A fresh folder under the temporary folder (Path() ends with a backslash),
// removed with its contents.
class TempFolder {
public:
    explicit TempFolder(const std::string& prefix = "Tessel")
    {
        char temp[MAX_PATH];
        GetTempPathA(MAX_PATH, temp);
        static unsigned counter = 0;
        do
            FPath = std::string(temp) + prefix + "-" + std::to_string(GetCurrentProcessId()) + "-" +
                    std::to_string(++counter);
        while (!CreateDirectoryA(FPath.c_str(), nullptr));
        FPath += "\\";
    }
    ~TempFolder() { Remove(FPath); }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::string& Path() const { return FPath; }

private:
    // Through the wide functions in the long form: tests make trees too
    // deep or long for the others.
    static void Remove(const std::string& folder)
    {
        wchar_t wide[MAX_PATH] = {};
        MultiByteToWideChar(CP_ACP, 0, folder.c_str(), -1, wide, MAX_PATH);
        RemoveTree(std::wstring(L"\\\\?\\") + wide);
    }
    static void RemoveTree(const std::wstring& folder)
    {
        WIN32_FIND_DATAW found;
        HANDLE search = FindFirstFileW((folder + L"*").c_str(), &found);
        for (bool more = search != INVALID_HANDLE_VALUE; more; more = FindNextFileW(search, &found)) {
            const std::wstring name = found.cFileName;
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                if (name != L"." && name != L"..")
                    RemoveTree(folder + name + L"\\");
            } else {
                DeleteFileW((folder + name).c_str());
            }
        }
        if (search != INVALID_HANDLE_VALUE)
            FindClose(search);
        RemoveDirectoryW(folder.c_str());
    }

    std::string FPath;
};

} // namespace testsupport
