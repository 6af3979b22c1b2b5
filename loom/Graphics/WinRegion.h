// A window region owned by one object: a skinned control's shape and its
// hit test. The handle is the object's for its whole life; windows only ever
// receive copies of it.
#pragma once

#include "platform/Bitmap.h"
#include "platform/Win32.h"

#include <cstdint>

namespace loom {

// The colours a region leaves out: a pixel is a key pixel when its red,
// green and blue each lie in their inclusive range. The range of a key with a
// tolerance runs from the key's channel to that plus the tolerance's channel,
// clamped at 255; tolerance 0 is the key colour alone. Colours are platform
// values (red in bits 0-7, green 8-15, blue 16-23).
class KeyRange {
public:
    explicit KeyRange(uint32_t key, uint32_t tolerance = 0);
    // A pixel stored blue, green, red (the first three bytes of 24- and 32-bit pixels).
    bool Contains(const uint8_t* pixel) const
    {
        return pixel[0] >= m_low[0] && pixel[0] <= m_high[0] && pixel[1] >= m_low[1] && pixel[1] <= m_high[1] &&
               pixel[2] >= m_low[2] && pixel[2] <= m_high[2];
    }

private:
    uint8_t m_low[3];  // blue, green, red
    uint8_t m_high[3];
};

// One step through a row of pixels Step bytes apart: moves cursor past the
// pixels outside the key range and returns where the key run starts; cursor
// then stands past that run. The pixels between the old cursor and the
// returned start are the opaque run before it. Both loops stop at end.
template <int Step>
const uint8_t* NextRun(const uint8_t*& cursor, const uint8_t* end, const KeyRange& key)
{
    while (cursor != end && !key.Contains(cursor))
        cursor += Step;
    const uint8_t* start = cursor;
    while (cursor != end && key.Contains(cursor))
        cursor += Step;
    return start;
}

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
    // 0-7, green 8-15, blue 16-23, the top byte ignored), made in one piece
    // from the rectangles of the other pixels. The bitmap itself is left
    // untouched: one of another pixel format is read through a 24-bit copy.
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
