#include "loom/Graphics/WinRegion.h"
#include "platform/Assert.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <vector>

namespace loom {

namespace {

const char* const Source = "loom/Graphics/Source/WinRegion";

HRGN CreateEmptyRegion()
{
    HRGN hrgn = CreateRectRgn(0, 0, 0, 0);
    PLATFORM_ASSERT(hrgn != NULL, Source);
    return hrgn;
}

} // namespace

KeyRange::KeyRange(uint32_t key, uint32_t tolerance)
{
    for (int channel = 0; channel < 3; ++channel) {
        // Blue is stored first in a pixel and sits highest in a colour value.
        const int shift = 8 * (2 - channel);
        const unsigned low = (key >> shift) & 0xFF;
        m_low[channel] = static_cast<uint8_t>(low);
        m_high[channel] = static_cast<uint8_t>(std::min(low + ((tolerance >> shift) & 0xFF), 255u));
    }
}

WinRegion::WinRegion() : m_hrgn(CreateEmptyRegion())
{
}

WinRegion::~WinRegion()
{
    DeleteObject(m_hrgn);
}

void WinRegion::SetRect(int left, int top, int right, int bottom)
{
    const BOOL result = SetRectRgn(m_hrgn, left, top, right, bottom);
    PLATFORM_ASSERT(result != 0, Source);
}

void WinRegion::Combine(HRGN dest, HRGN source1, HRGN source2, int mode)
{
    const int combineResult = CombineRgn(dest, source1, source2, mode);
    PLATFORM_ASSERT(combineResult != ERROR, Source);
}

void WinRegion::Subtract(const WinRegion& other)
{
    Combine(m_hrgn, m_hrgn, other.m_hrgn, RGN_DIFF);
}

HRGN WinRegion::Clone()
{
    HRGN copy = CreateEmptyRegion();
    Combine(copy, m_hrgn, copy, RGN_COPY);
    return copy;
}

void WinRegion::FromBitmap(platform::TBitmap* bitmap, platform::TColor color)
{
    const KeyRange key(static_cast<uint32_t>(color));
    const int width = bitmap->Width();
    const int height = bitmap->Height();
    SetRect(0, 0, width, height);
    if (bitmap->Empty())
        return;

    // Converting the caller's bitmap would raise its change notification,
    // and a control rebuilds its region on exactly that notification; a
    // 24-bit copy gives the same pixels without touching the original.
    platform::TBitmap copy;
    platform::TBitmap* scanned = bitmap;
    if (bitmap->PixelFormat() != platform::pf24bit) {
        copy.Assign(bitmap);
        copy.SetPixelFormat(platform::pf24bit);
        scanned = &copy;
    }

    // The opaque runs as rectangles, rows from the top and runs from the
    // left, the order of a region's own data. A row whose runs are those of
    // the row above lengthens that band's rectangles instead. One region is
    // made of them all: the same area as the whole rectangle with every key
    // run taken out, without one region operation per run.
    std::vector<RECT> rects;
    size_t band = 0; // the first rectangle of the band above
    for (int y = 0; y < height; ++y) {
        const uint8_t* line = scanned->ScanLine(y);
        const uint8_t* end = line + 3 * width;
        const uint8_t* cursor = line;
        const size_t row = rects.size();
        while (cursor != end) {
            const uint8_t* opaque = cursor;
            const uint8_t* keyStart = NextRun<3>(cursor, end, key);
            if (keyStart != opaque)
                rects.push_back(RECT{static_cast<LONG>((opaque - line) / 3), y, static_cast<LONG>((keyStart - line) / 3),
                                     y + 1});
        }
        const size_t runs = rects.size() - row;
        bool same = runs > 0 && runs == row - band;
        for (size_t k = 0; same && k < runs; ++k)
            same = rects[band + k].left == rects[row + k].left && rects[band + k].right == rects[row + k].right;
        if (same) {
            for (size_t k = 0; k < runs; ++k)
                rects[band + k].bottom = y + 1;
            rects.resize(row);
        } else {
            band = row;
        }
    }
    if (rects.empty()) {
        SetEmpty();
        return;
    }

    std::vector<uint8_t> data(sizeof(RGNDATAHEADER) + rects.size() * sizeof(RECT));
    RGNDATAHEADER header{};
    header.dwSize = sizeof header;
    header.iType = RDH_RECTANGLES;
    header.nCount = static_cast<DWORD>(rects.size());
    header.nRgnSize = static_cast<DWORD>(rects.size() * sizeof(RECT));
    header.rcBound = RECT{0, 0, width, height};
    std::memcpy(data.data(), &header, sizeof header);
    std::memcpy(data.data() + sizeof header, rects.data(), rects.size() * sizeof(RECT));
    HRGN hrgn = ExtCreateRegion(nullptr, static_cast<DWORD>(data.size()), reinterpret_cast<const RGNDATA*>(data.data()));
    PLATFORM_ASSERT(hrgn != NULL, Source);
    // The object keeps its own handle for its whole life.
    Combine(m_hrgn, hrgn, hrgn, RGN_COPY);
    DeleteObject(hrgn);
}

int WinRegion::ApplyToWindow(HWND window, bool redraw)
{
    HRGN copy = Clone();
    const int result = SetWindowRgn(window, copy, redraw ? TRUE : FALSE);
    if (result == 0)
        DeleteObject(copy);
    return result;
}

bool WinRegion::Contains(int x, int y) const
{
    return PtInRegion(m_hrgn, x, y) == 1;
}

} // namespace loom
