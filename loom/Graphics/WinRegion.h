// A window region owned by one object: a skinned control's shape and its
// hit test. The handle is the object's for its whole life; windows only ever
// receive copies of it.
#pragma once

#include "platform/Bitmap.h"
#include "platform/Win32.h"

namespace loom {

class WinRegion {
public:
    // Holds a new empty rectangular region.
    WinRegion();
    ~WinRegion();
    WinRegion(const WinRegion&) = delete;
    WinRegion& operator=(const WinRegion&) = delete;

    HRGN Handle() const { return m_hrgn; }

    void SetRect(int left, int top, int right, int bottom);
    void SetEmpty() { SetRect(0, 0, 0, 0); }
    // The platform combination (RGN_AND 1, RGN_OR 2, RGN_XOR 3, RGN_DIFF 4, RGN_COPY 5).
    void Combine(HRGN dest, HRGN source1, HRGN source2, int mode);
    // this := this minus other.
    void Subtract(const WinRegion& other);
    // A new handle with the same area; the caller owns it.
    HRGN Clone();

    // The bitmap's rectangle minus every pixel of the colour (red in bits
    // 0-7, green 8-15, blue 16-23, the top byte ignored), one one-pixel-high
    // rectangle per horizontal run. The bitmap itself is left untouched:
    // one of another pixel format is read through a 24-bit copy.
    void FromBitmap(platform::TBitmap* bitmap, platform::TColor color);

    // Gives the window a copy; the window owns it from then on, unless the
    // platform refuses it, in which case the copy is freed here.
    int ApplyToWindow(HWND window, bool redraw);

    // True only when the platform's point test answers exactly 1.
    bool Contains(int x, int y) const;

private:
    HRGN m_hrgn;
};

} // namespace loom
