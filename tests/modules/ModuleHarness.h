// The built suite's modules, loaded as Tessel loads them, and temporary
// suite folders for the tests to work in.
#pragma once

#include "platform/Win32.h"

#include <fstream>
#include <sstream>
#include <string>

namespace moduletest {

// build/bin\ beside the test programs' folder, where the modules are built.
inline std::string SuiteBin()
{
    char path[MAX_PATH], full[MAX_PATH];
    std::string self(path, GetModuleFileNameA(nullptr, path, MAX_PATH));
    std::string bin = self.substr(0, self.find_last_of('\\') + 1) + "..\\bin\\";
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

// A fresh folder (Path() ends with a backslash), removed with its contents.
class TempFolder {
public:
    TempFolder()
    {
        char temp[MAX_PATH];
        GetTempPathA(MAX_PATH, temp);
        static unsigned counter = 0;
        do
            FPath = std::string(temp) + "TesselModules-" + std::to_string(GetCurrentProcessId()) + "-" +
                    std::to_string(++counter);
        while (!CreateDirectoryA(FPath.c_str(), nullptr));
        FPath += "\\";
    }
    ~TempFolder() { Remove(FPath); }
    const std::string& Path() const { return FPath; }

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

// A DLL loaded by full path for the life of the object.
class LoadedModule {
public:
    explicit LoadedModule(const std::string& path) : FHandle(LoadLibraryA(path.c_str())) {}
    ~LoadedModule() { if (FHandle) FreeLibrary(FHandle); }
    LoadedModule(const LoadedModule&) = delete;
    LoadedModule& operator=(const LoadedModule&) = delete;

    template <typename F> F Entry(const char* name) const
    {
        return FHandle ? reinterpret_cast<F>(reinterpret_cast<void*>(GetProcAddress(FHandle, name))) : nullptr;
    }

private:
    HMODULE FHandle;
};

} // namespace moduletest
