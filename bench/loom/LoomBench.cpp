// Times the two hot paths of the graphics library against the cheapest thing
// each could possibly do:
//  - WinRegion::FromBitmap against one plain pass that reads every pixel of
//    the same bitmap once;
//  - a numeric LED value update (a changed number, drawn) against one BitBlt
//    of the display's area.
// Each figure is the best of several batches of at least a quarter second.
#include "KsPackage/Source/KsNumLed_imp.h"
#include "loom/Graphics/WinRegion.h"
#include "bench/support/Timing.h"
#include "platform/Control.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <string>

using namespace platform;
using bench::SecondsPerCall;

namespace {

const TColor Key = 0xFF00FF;

void Put(TBitmap& bitmap, int x, int y, TColor color)
{
    uint8_t* p = bitmap.ScanLine(y) + 3 * x;
    p[0] = static_cast<uint8_t>(color >> 16);
    p[1] = static_cast<uint8_t>(color >> 8);
    p[2] = static_cast<uint8_t>(color);
}

// A 24-bit picture whose outside (a border and rounded corners) is the key
// colour; the inside is varied content that never equals the key.
void MakePicture(TBitmap& bitmap, int width, int height, int border, int radius)
{
    bitmap.SetPixelFormat(pf24bit);
    bitmap.SetSize(width, height);
    uint32_t seed = 12345;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const int left = x - border, top = y - border;
            const int right = width - 1 - border - x, bottom = height - 1 - border - y;
            bool outside = left < 0 || top < 0 || right < 0 || bottom < 0;
            const int cx = std::min(left, right), cy = std::min(top, bottom);
            if (!outside && cx < radius && cy < radius) {
                const int dx = radius - cx, dy = radius - cy;
                outside = dx * dx + dy * dy > radius * radius;
            }
            seed = seed * 1664525u + 1013904223u;
            Put(bitmap, x, y, outside ? Key : static_cast<TColor>((seed >> 8) & 0x7FFF7F));
        }
    bitmap.Changed();
}

volatile uint32_t Sink;

// The floor: every pixel read once.
void PlainPass(TBitmap& bitmap)
{
    uint32_t keys = 0;
    const int width = bitmap.Width();
    for (int y = 0; y < bitmap.Height(); ++y) {
        const uint8_t* p = bitmap.ScanLine(y);
        for (int x = 0; x < width; ++x, p += 3)
            keys += p[0] == 0xFF && p[1] == 0x00 && p[2] == 0xFF;
    }
    Sink = keys;
}

void RegionRow(const char* name, int width, int height, int border, int radius)
{
    TBitmap picture;
    MakePicture(picture, width, height, border, radius);
    loom::WinRegion region;
    const double build = SecondsPerCall([&] { region.FromBitmap(&picture, Key); });
    const double floor = SecondsPerCall([&] { PlainPass(picture); });
    std::printf("%-44s %12.1f us %12.2f us %10.1fx\n", name, build * 1e6, floor * 1e6, build / floor);
}

void LedRow(TWinControl* parent, const char* format, double scale)
{
    loom::KsNumLed_imp led(parent, parent, 0, 0);
    led.SetFormat(format);
    const int width = static_cast<int>(led.Figure()->OriginalWidth() * scale);
    const int height = static_cast<int>(led.Figure()->OriginalHeight() * scale);
    led.Resize(width, height);
    const double divisor = std::string(format).find('.') == std::string::npos ? 1.0 : 100.0;
    long counter = 0;
    const double update = SecondsPerCall([&] { led.SetValue(static_cast<double>(++counter % 10000) / divisor); });

    TBitmap source, dest;
    for (TBitmap* b : {&source, &dest}) {
        b->SetPixelFormat(pf24bit);
        b->SetSize(width, height);
    }
    HDC from = source.Canvas()->Handle(), to = dest.Canvas()->Handle();
    const double blit = SecondsPerCall([&] {
        BitBlt(to, 0, 0, width, height, from, 0, 0, SRCCOPY);
        GdiFlush();
    });
    char name[64];
    std::snprintf(name, sizeof name, "\"%s\" %dx%d (%.0fx), %.0f updates/s", format, width, height, scale, 1 / update);
    std::printf("%-44s %12.1f us %12.2f us %10.1fx\n", name, update * 1e6, blit * 1e6, update / blit);
}

} // namespace

int main()
{
    std::printf("%-44s %15s %15s %11s\n", "", "per call", "floor", "ratio");
    std::printf("WinRegion::FromBitmap (floor: one plain pass over every pixel)\n");
    RegionRow("553 x 366, transparent border", 553, 366, 12, 24);
    RegionRow("97 x 23 button", 97, 23, 0, 5);
    std::printf("KsNumLed_imp value update, drawn (floor: one BitBlt of the area)\n");
    auto* parent = new TWinControl(nullptr);
    for (const char* format : {"8888", "88.88^C"})
        for (double scale : {1.0, 4.0})
            LedRow(parent, format, scale);
    parent->Free();
    return 0;
}
