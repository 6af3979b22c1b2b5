// GDI resources that give back what they took at the end of their scope,
// also when an exception passes: an owned object, an object selected into a
// device context, a context's saved state, a memory or screen context, and
// the painting of a window.
#pragma once

#include "platform/Win32.h"

#include <utility>

namespace platform {

// A pen, brush, font, bitmap or region that is deleted with DeleteObject.
template <class THandle>
class TGdiObject {
public:
    TGdiObject() = default;
    explicit TGdiObject(THandle Handle) : FHandle(Handle) {}
    ~TGdiObject() { Reset(); }
    TGdiObject(TGdiObject&& Other) noexcept : FHandle(Other.Release()) {}
    TGdiObject& operator=(TGdiObject&& Other) noexcept
    {
        Reset(Other.Release());
        return *this;
    }

    THandle Get() const { return FHandle; }
    explicit operator bool() const { return FHandle != nullptr; }
    // Gives the handle away; the caller deletes it.
    THandle Release() { return std::exchange(FHandle, nullptr); }
    void Reset(THandle Handle = nullptr)
    {
        if (FHandle)
            DeleteObject(FHandle);
        FHandle = Handle;
    }

private:
    THandle FHandle = nullptr;
};

// An object selected into a context; the one it replaced goes back in.
class TSelectedObject {
public:
    TSelectedObject(HDC DC, HGDIOBJ Object) : FDC(DC), FOld(DC ? SelectObject(DC, Object) : nullptr) {}
    ~TSelectedObject()
    {
        if (FOld)
            SelectObject(FDC, FOld);
    }
    TSelectedObject(const TSelectedObject&) = delete;
    TSelectedObject& operator=(const TSelectedObject&) = delete;

    // False when the object could not be selected.
    explicit operator bool() const { return FOld != nullptr; }

private:
    HDC FDC;
    HGDIOBJ FOld;
};

// A context's clipping, origins, selected objects and modes, restored at the end.
class TSavedDC {
public:
    explicit TSavedDC(HDC DC) : FDC(DC), FSaved(SaveDC(DC)) {}
    ~TSavedDC() { RestoreDC(FDC, FSaved); }
    TSavedDC(const TSavedDC&) = delete;
    TSavedDC& operator=(const TSavedDC&) = delete;

private:
    HDC FDC;
    int FSaved;
};

// A memory context compatible with the screen (or with Compatible).
class TMemoryDC {
public:
    explicit TMemoryDC(HDC Compatible = nullptr) : FDC(CreateCompatibleDC(Compatible)) {}
    ~TMemoryDC()
    {
        if (FDC)
            DeleteDC(FDC);
    }
    TMemoryDC(const TMemoryDC&) = delete;
    TMemoryDC& operator=(const TMemoryDC&) = delete;

    HDC Get() const { return FDC; }
    explicit operator bool() const { return FDC != nullptr; }

private:
    HDC FDC;
};

// The screen's context, for measuring.
class TScreenDC {
public:
    TScreenDC() : FDC(GetDC(nullptr)) {}
    ~TScreenDC() { ReleaseDC(nullptr, FDC); }
    TScreenDC(const TScreenDC&) = delete;
    TScreenDC& operator=(const TScreenDC&) = delete;

    HDC Get() const { return FDC; }

private:
    HDC FDC;
};

// BeginPaint to EndPaint of a window.
class TPaintScope {
public:
    explicit TPaintScope(HWND Wnd) : FWnd(Wnd), FDC(BeginPaint(Wnd, &FPaint)) {}
    ~TPaintScope() { EndPaint(FWnd, &FPaint); }
    TPaintScope(const TPaintScope&) = delete;
    TPaintScope& operator=(const TPaintScope&) = delete;

    HDC Get() const { return FDC; }

private:
    HWND FWnd;
    PAINTSTRUCT FPaint{};
    HDC FDC;
};

} // namespace platform
