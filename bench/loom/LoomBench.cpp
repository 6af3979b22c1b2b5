// Times the two hot paths of the graphics library against the cheapest thing
// each could possibly do:
//  - WinRegion::FromBitmap against one plain pass that reads every pixel of
//    the same bitmap once;
//  - a numeric LED value update (a changed number, drawn) against one BitBlt
//    of the display's area, alone and on a shown form with its repaint.
// Each figure is the median of several batches of at least a quarter second.
#include "KsPackage/Source/KsNumLed_imp.h"
#include "loom/Graphics/WinRegion.h"
#include "bench/support/Timing.h"
#include "platform/Application.h"
#include "platform/Form.h"

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

double RegionRow(const char* name, int width, int height, int border, int radius)
{
    TBitmap picture;
    MakePicture(picture, width, height, border, radius);
    loom::WinRegion region;
    const double build = SecondsPerCall([&] { region.FromBitmap(&picture, Key); });
    const double floor = SecondsPerCall([&] { PlainPass(picture); });
    std::printf("%-44s %12.1f us %12.2f us %10.1fx\n", name, build * 1e6, floor * 1e6, build / floor);
    return build / floor;
}

// An update that changes the number, and so one or more of its characters.
struct TCounter {
    double Divisor;
    long Count = 0;
    double Next() { return static_cast<double>(++Count % 10000) / Divisor; }
};

// The floor of a display's update: one BitBlt of its area between two
// memory bitmaps.
double BlitSeconds(int width, int height)
{
    TBitmap source, dest;
    for (TBitmap* b : {&source, &dest}) {
        b->SetPixelFormat(pf24bit);
        b->SetSize(width, height);
    }
    HDC from = source.Canvas()->Handle(), to = dest.Canvas()->Handle();
    return SecondsPerCall([&] {
        BitBlt(to, 0, 0, width, height, from, 0, 0, SRCCOPY);
        GdiFlush();
    });
}

void Size(loom::KsNumLed_imp& led, double scale)
{
    led.Resize(static_cast<int>(led.Figure()->OriginalWidth() * scale),
               static_cast<int>(led.Figure()->OriginalHeight() * scale));
}

// The ratio of an update to its floor.
double LedRow(TWinControl* parent, const char* format, double scale)
{
    loom::KsNumLed_imp led(parent, parent, 0, 0);
    led.SetFormat(format);
    Size(led, scale);
    TCounter counter{std::string(format).find('.') == std::string::npos ? 1.0 : 100.0};
    const double update = SecondsPerCall([&] { led.SetValue(counter.Next()); });
    const int width = led.GetLayer()->Width(), height = led.GetLayer()->Height();
    const double blit = BlitSeconds(width, height);
    char name[64];
    std::snprintf(name, sizeof name, "\"%s\" %dx%d (%.0fx), %.0f updates/s", format, width, height, scale, 1 / update);
    std::printf("%-44s %12.1f us %12.2f us %10.1fx\n", name, update * 1e6, blit * 1e6, update / blit);
    return update / blit;
}

void Pump()
{
    MSG msg;
    for (const DWORD start = GetTickCount(); GetTickCount() - start < 200; Sleep(5))
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
}

// A window of the system's own whose repaint copies one memory picture to
// the screen with one BitBlt, or does nothing at all: what any repaint of
// the display's area costs on this system, whatever draws it.
struct TPlainWindow {
    HDC Picture = nullptr;
    RECT Area{};
};
TPlainWindow Plain;

LRESULT CALLBACK PlainPaint(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_ERASEBKGND)
        return 1;
    if (message != WM_PAINT)
        return DefWindowProcA(window, message, wParam, lParam);
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(window, &paint);
    if (Plain.Picture)
        BitBlt(dc, Plain.Area.left, Plain.Area.top, Plain.Area.right - Plain.Area.left,
               Plain.Area.bottom - Plain.Area.top, Plain.Picture, 0, 0, SRCCOPY);
    EndPaint(window, &paint);
    return 0;
}

void PlainRows(int width, int height, double blit)
{
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = PlainPaint;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = "PlainPaint";
    RegisterClassA(&windowClass);
    HWND window = CreateWindowExA(0, "PlainPaint", "", WS_POPUP | WS_VISIBLE, 60, 60, width + 80, height + 80,
                                  nullptr, nullptr, windowClass.hInstance, nullptr);
    Pump();
    TBitmap picture;
    picture.SetPixelFormat(pf24bit);
    picture.SetSize(width, height);
    Plain.Area = RECT{20, 20, 20 + width, 20 + height};
    auto repaint = [&] {
        InvalidateRect(window, &Plain.Area, FALSE);
        UpdateWindow(window);
        GdiFlush();
    };
    const double empty = SecondsPerCall(repaint);
    Plain.Picture = picture.Canvas()->Handle();
    const double copied = SecondsPerCall(repaint);
    Plain.Picture = nullptr;
    DestroyWindow(window);
    std::printf("%-44s %12.1f us %12.2f us %10.1fx\n", "  a system window's repaint that copies it", copied * 1e6,
                blit * 1e6, copied / blit);
    std::printf("%-44s %12.1f us %12.2f us %10.1fx\n", "  a system window's repaint that draws nothing", empty * 1e6,
                blit * 1e6, empty / blit);
}

// "8888" at four times its size on a shown form: each update is repainted
// on the screen at once. Returns the ratio of update and repaint to one
// BitBlt of the display's area.
double ShownLedRows()
{
    Application->Initialize();
    auto* form = New<TForm>(nullptr);
    loom::KsNumLed_imp led(form, form, 0, 0);
    Size(led, 4);
    const int width = led.GetLayer()->Width(), height = led.GetLayer()->Height();
    led.Move(20, 20);
    form->SetBounds(40, 40, width + 80, height + 80);
    form->Show();
    Pump();
    HWND window = form->Handle();
    TCounter counter{1.0};
    const double shown = SecondsPerCall([&] {
        led.SetValue(counter.Next());
        UpdateWindow(window);
        GdiFlush();
    });
    // The repaint alone: the same picture drawn on the screen again.
    RECT area{20, 20, 20 + width, 20 + height};
    const double repaint = SecondsPerCall([&] {
        InvalidateRect(window, &area, FALSE);
        UpdateWindow(window);
        GdiFlush();
    });
    const double blit = BlitSeconds(width, height);
    std::printf("%-44s %12.1f us %12.2f us %10.1fx\n", "\"8888\" (4x), update and its repaint", shown * 1e6,
                blit * 1e6, shown / blit);
    std::printf("%-44s %12.1f us %12.2f us %10.1fx\n", "  a repaint of the whole display", repaint * 1e6,
                blit * 1e6, repaint / blit);
    form->Free();
    PlainRows(width, height, blit);
    return shown / blit;
}

} // namespace

int main()
{
    std::printf("%-44s %15s %15s %11s\n", "", "per call", "floor", "ratio");
    std::printf("WinRegion::FromBitmap (floor: one plain pass over every pixel)\n");
    const double region = RegionRow("553 x 366, transparent border", 553, 366, 12, 24);
    RegionRow("97 x 23 button", 97, 23, 0, 5);
    std::printf("KsNumLed_imp value update, drawn (floor: one BitBlt of the area)\n");
    auto* parent = new TWinControl(nullptr);
    double led = 0;
    for (const char* format : {"8888", "88.88^C"})
        for (double scale : {1.0, 4.0}) {
            const double ratio = LedRow(parent, format, scale);
            if (std::string(format) == "8888" && scale == 4.0)
                led = ratio;
        }
    parent->Free();
    std::printf("KsNumLed_imp on a shown form (floor: one BitBlt of the area)\n");
    const double shown = ShownLedRows();
    std::printf("\n");
    bench::Goal("LED 4x update vs one BitBlt", led, 3);
    bench::Goal("LED 4x update on a shown form vs one BitBlt", shown, 10);
    bench::Goal("region build vs one pass", region, 2);
    return 0;
}
