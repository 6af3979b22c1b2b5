// Folder trees for the Folders page's tests: folders and files made at any
// depth through the wide functions in the long form, and readers that the
// count can be given in place of its own (modules/Pages/FolderData.h): one
// that holds the read of a folder until the test lets it go, one that
// takes a folder away just before it is read.
#pragma once

#include "modules/Pages/FolderData.h"

#include "platform/FileSearch.h"
#include "platform/Win32.h"

#include <atomic>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace foldertest {

inline std::wstring LongForm(const std::string& Path)
{
    wchar_t wide[MAX_PATH] = {};
    MultiByteToWideChar(CP_ACP, 0, Path.c_str(), -1, wide, MAX_PATH);
    return std::wstring(L"\\\\?\\") + wide;
}

inline bool MakeFolder(const std::wstring& Path)
{
    return CreateDirectoryW(Path.c_str(), nullptr) != 0;
}

inline bool MakeFile(const std::wstring& Path, DWORD Bytes)
{
    HANDLE file = CreateFileW(Path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    const std::string data(Bytes, 'x');
    DWORD written = 0;
    WriteFile(file, data.data(), Bytes, &written, nullptr);
    CloseHandle(file);
    return written == Bytes;
}

// Puts a reader in the count's place for the life of the object.
class ReaderInPlace {
public:
    explicit ReaderInPlace(tessel::TFolderReader Reader) : FOld(tessel::FolderReader.exchange(Reader)) {}
    ~ReaderInPlace() { tessel::FolderReader = FOld; }
    ReaderInPlace(const ReaderInPlace&) = delete;
    ReaderInPlace& operator=(const ReaderInPlace&) = delete;

private:
    tessel::TFolderReader FOld;
};

// Holds every read of one folder (named as the count names it, with its
// last backslash) until Release. A watchdog lets the reads go after 20
// seconds, so that a stop that waits for them fails a test (Holding is
// false after it) instead of hanging it.
struct HeldRead {
    static inline std::string Folder;
    static inline HANDLE Released = nullptr;
    static inline std::mutex Lock;
    static inline std::vector<HANDLE> Threads; // of the counts held
    static inline int Counts = 0;               // counts started: reads of Folder's parent

    explicit HeldRead(const std::string& AFolder)
    {
        Folder = AFolder;
        Released = CreateEventA(nullptr, TRUE, FALSE, nullptr);
        Counts = 0;
        FWatchdog = std::thread([] {
            if (WaitForSingleObject(Released, 20000) == WAIT_TIMEOUT)
                SetEvent(Released);
        });
    }
    ~HeldRead()
    {
        Release();
        FWatchdog.join();
        Ended(10);
        for (HANDLE h : Threads)
            CloseHandle(h);
        Threads.clear();
        CloseHandle(Released);
    }
    HeldRead(const HeldRead&) = delete;
    HeldRead& operator=(const HeldRead&) = delete;

    // Whether every count started is held in its read.
    static bool AllHeld()
    {
        std::lock_guard<std::mutex> lock(Lock);
        return Counts > 0 && static_cast<int>(Threads.size()) == Counts;
    }
    static void Release() { SetEvent(Released); }
    static bool Holding() { return WaitForSingleObject(Released, 0) == WAIT_TIMEOUT; }
    // Whether the counting threads held have ended, waiting up to Seconds.
    static bool Ended(double Seconds)
    {
        std::lock_guard<std::mutex> lock(Lock);
        return !Threads.empty() && WaitForMultipleObjects(static_cast<DWORD>(Threads.size()), Threads.data(), TRUE,
                                                          static_cast<DWORD>(Seconds * 1000)) == WAIT_OBJECT_0;
    }

    static uint32_t Read(const std::string& AFolder, const std::function<bool(const platform::TFoundItem&)>& Found)
    {
        if (Folder.rfind(AFolder, 0) == 0 && Folder.find('\\', AFolder.size()) == Folder.size() - 1) {
            std::lock_guard<std::mutex> lock(Lock);
            ++Counts;
        } else if (AFolder == Folder) {
            {
                std::lock_guard<std::mutex> lock(Lock);
                HANDLE thread = nullptr;
                DuplicateHandle(GetCurrentProcess(), GetCurrentThread(), GetCurrentProcess(), &thread, SYNCHRONIZE,
                                FALSE, 0);
                Threads.push_back(thread);
            }
            WaitForSingleObject(Released, INFINITE);
        }
        return platform::ListFolder(AFolder, Found);
    }

private:
    ReaderInPlace FReader{Read};
    std::thread FWatchdog;
};

// Counts the reads of one folder (named as the count names it).
struct CountedReads {
    static inline std::string Folder;
    static inline std::atomic<int> Count{0};

    explicit CountedReads(const std::string& AFolder)
    {
        Folder = AFolder;
        Count = 0;
    }
    static uint32_t Read(const std::string& AFolder, const std::function<bool(const platform::TFoundItem&)>& Found)
    {
        if (AFolder == Folder)
            ++Count;
        return platform::ListFolder(AFolder, Found);
    }

private:
    ReaderInPlace FReader{Read};
};

} // namespace foldertest
