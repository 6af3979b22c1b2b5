#include "shell/Toolfunction.h"
#include "shell/MsgFrm.h"

#include "KsPackage/Source/KsButtonTx.h"

#include "loom/Graphics/WinRegion.h"

#include "platform/Exceptions.h"
#include "platform/GdiScope.h"
#include "platform/Image.h"
#include "platform/Label.h"
#include "platform/SystemServices.h"

#include <algorithm>
#include <climits>
#include <cstdint>
#include <cstdio>
#include <cstring>

namespace tessel {

namespace {

bool FileExists(const std::string& Path)
{
    const DWORD attributes = GetFileAttributesA(Path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// Region data in a movable global block, built up a rectangle at a time and
// turned into a region every MaxRects rectangles, so that no single region
// request grows without bound.
class TRegionBuilder {
public:
    static constexpr DWORD GrowBy = 100, MaxRects = 2000;

    TRegionBuilder() : FBlock(GlobalAlloc(GMEM_MOVEABLE, Size(GrowBy)))
    {
        if (FBlock && (FData = static_cast<RGNDATA*>(GlobalLock(FBlock))) != nullptr) {
            FCapacity = GrowBy;
            Reset();
        }
    }
    ~TRegionBuilder()
    {
        if (FData)
            GlobalUnlock(FBlock);
        if (FBlock)
            GlobalFree(FBlock);
        if (FResult)
            DeleteObject(FResult);
    }
    TRegionBuilder(const TRegionBuilder&) = delete;
    TRegionBuilder& operator=(const TRegionBuilder&) = delete;

    bool Ready() const { return FData != nullptr; }

    bool Add(int Left, int Top, int Right, int Bottom)
    {
        RGNDATAHEADER& header = FData->rdh;
        if (header.nCount == FCapacity && !Grow())
            return false;
        RECT* rects = reinterpret_cast<RECT*>(FData->Buffer);
        rects[header.nCount] = {Left, Top, Right, Bottom};
        RECT& bounds = header.rcBound;
        bounds.left = std::min<LONG>(bounds.left, Left);
        bounds.top = std::min<LONG>(bounds.top, Top);
        bounds.right = std::max<LONG>(bounds.right, Right);
        bounds.bottom = std::max<LONG>(bounds.bottom, Bottom);
        return ++header.nCount < MaxRects || Flush();
    }

    // Merges the rectangles gathered so far into the result, even when there are none.
    bool Flush()
    {
        HRGN part = ExtCreateRegion(nullptr, Size(FCapacity), FData);
        if (!part)
            return false;
        bool merged = true;
        if (FResult) {
            merged = CombineRgn(FResult, FResult, part, RGN_OR) != ERROR;
            DeleteObject(part);
        } else {
            FResult = part;
        }
        Reset();
        return merged;
    }

    HRGN Release()
    {
        HRGN result = FResult;
        FResult = nullptr;
        return result;
    }

private:
    static DWORD Size(DWORD Rects) { return sizeof(RGNDATAHEADER) + Rects * sizeof(RECT); }

    void Reset()
    {
        FData->rdh = {sizeof(RGNDATAHEADER), RDH_RECTANGLES, 0, 0, {LONG_MAX, LONG_MAX, 0, 0}};
    }

    bool Grow()
    {
        GlobalUnlock(FBlock);
        FData = nullptr;
        HGLOBAL grown = GlobalReAlloc(FBlock, Size(FCapacity + GrowBy), GMEM_MOVEABLE);
        if (grown)
            FBlock = grown;
        FData = static_cast<RGNDATA*>(GlobalLock(FBlock));
        if (!grown || !FData)
            return false;
        FCapacity += GrowBy;
        return true;
    }

    HGLOBAL FBlock;
    RGNDATA* FData = nullptr;
    DWORD FCapacity = 0;
    HRGN FResult = nullptr;
};

bool SetPrivilege(const std::string& Name, DWORD Attributes)
{
    HANDLE token = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, &token))
        return false;
    LUID luid{};
    bool changed = false;
    if (LookupPrivilegeValueA(nullptr, Name.c_str(), &luid))
        changed = platform::SystemServices().AdjustPrivilege(token, luid, Attributes) == 0;
    CloseHandle(token);
    return changed;
}

} // namespace

void LoadImageFile(platform::TImage* Image, const std::string& FileName)
{
    if (!Image || !FileExists(FileName))
        return;
    // A damaged skin file is treated as a missing one: the picture is only
    // replaced once the whole file has been read.
    try {
        Image->Picture()->LoadFromFile(FileName);
    } catch (const platform::Exception&) {
    }
}

void PlaceControl(platform::TControl* Control, int Left, int Top, int Width, int Height)
{
    if (!Control)
        return;
    const char* language = LanguageName();
    const bool japanese = language && std::strcmp(language, "Japanese") == 0;
    const int offset = japanese && Control->InheritsFrom(platform::TLabel::StaticClassInfo()) ? 3 : 0;
    Control->SetLeft(Left);
    Control->SetTop(Top + offset);
    Control->SetWidth(Width);
    Control->SetHeight(Height);
}

HRGN BitmapToRegion(HBITMAP Bitmap, COLORREF Key, COLORREF Tolerance)
{
    if (!Bitmap)
        return nullptr;
    const platform::TMemoryDC memory;
    if (!memory)
        return nullptr;
    BITMAP source{};
    GetObjectA(Bitmap, sizeof source, &source);
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), source.bmWidth, source.bmHeight, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    const platform::TGdiObject<HBITMAP> dib(CreateDIBSection(memory.Get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!dib)
        return nullptr;
    const platform::TSelectedObject dibSelected(memory.Get(), dib.Get());
    const platform::TMemoryDC copy(memory.Get());
    if (!dibSelected || !copy)
        return nullptr;
    const platform::TSelectedObject sourceSelected(copy.Get(), Bitmap);
    BitBlt(memory.Get(), 0, 0, source.bmWidth, source.bmHeight, copy.Get(), 0, 0, SRCCOPY);
    GdiFlush();

    BITMAP scanned{};
    GetObjectA(dib.Get(), sizeof scanned, &scanned);
    // Rows of the DIB are whole multiples of 4 bytes, the top row of the image last.
    const LONG stride = (scanned.bmWidthBytes + 3) & ~3;
    const loom::KeyRange key(Key, Tolerance);
    TRegionBuilder builder;
    bool built = builder.Ready();
    for (int y = 0; built && y < source.bmHeight; ++y) {
        const uint8_t* line = static_cast<const uint8_t*>(bits) + (source.bmHeight - 1 - y) * stride;
        const uint8_t* end = line + 4 * source.bmWidth;
        for (const uint8_t* cursor = line; built && cursor != end;) {
            const uint8_t* opaque = cursor;
            const uint8_t* keyRun = loom::NextRun<4>(cursor, end, key);
            if (keyRun != opaque)
                built = builder.Add(static_cast<int>((opaque - line) / 4), y, static_cast<int>((keyRun - line) / 4),
                                    y + 1);
        }
    }
    return built && builder.Flush() ? builder.Release() : nullptr;
}

void LoadButtonSkin(KsButtonTx* Button, const std::string& Folder, const std::string& Base)
{
    // One name per state, raised, sunken, focused, disabled; kept from call
    // to call, cleared at the start of each.
    static char names[4][MAX_PATH];
    static const char* const suffixes[4] = {"_n.bmp", "_d.bmp", "_o.bmp", "_un.bmp"};
    std::memset(names, 0, sizeof names);
    for (int state = 0; state < 4; ++state) {
        if (FileExists(Folder + Base + suffixes[state]))
            std::snprintf(names[state], MAX_PATH, "%s%s", Base.c_str(), suffixes[state]);
    }
    // The button takes all four or none: a damaged file leaves every picture
    // as it was, as missing files do.
    try {
        Button->LoadBitmap(Folder, names[0], names[1], names[2], names[3]);
    } catch (const platform::Exception&) {
    }
}

bool EnablePrivilege(const std::string& Name)
{
    return SetPrivilege(Name, SE_PRIVILEGE_ENABLED);
}

bool DisablePrivilege(const std::string& Name)
{
    return SetPrivilege(Name, 0);
}

void RebootSystem()
{
    if (EnablePrivilege("SeShutdownPrivilege"))
        platform::SystemServices().RequestRestart(EWX_REBOOT | EWX_FORCE, 0);
    DisablePrivilege("SeShutdownPrivilege");
}

} // namespace tessel
