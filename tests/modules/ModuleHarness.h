// The built suite's modules, loaded as Tessel loads them, and temporary
// suite folders for the tests to work in.
#pragma once

#include "platform/Win32.h"
#include "support/Files.h"

#include <fstream>
#include <sstream>
#include <string>

namespace moduletest {

using testsupport::ReadWholeFile;
using testsupport::SuiteBin;
using testsupport::WriteWholeFile;

// A fresh suite folder for a test (Path() ends with a backslash).
class TempFolder : public testsupport::TempFolder {
public:
    TempFolder() : testsupport::TempFolder("TesselModules") {}
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
