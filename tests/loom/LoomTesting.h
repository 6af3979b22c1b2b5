// Helpers shared by the loom and package tests: intercepted invariant
// reports and pixel-level access to bitmaps.
#pragma once

#include "platform/Assert.h"
#include "platform/Bitmap.h"
#include "tests/platform/InterceptedServices.h"

#include <cstdint>
#include <string>
#include <vector>

// Runs a call that must fail an invariant check, with the report
// intercepted; gives the report without its line number.
template <class F>
std::string FailedCheck(F call)
{
    TInterceptedServices services;
    try {
        call();
    } catch (const platform::EAssertionFailed& e) {
        const std::string& text = e.Message();
        const size_t line = text.rfind(", line ");
        if (services.Boxes.size() != 1 || services.Boxes[0].Text != text || services.ExitCodes != std::vector<UINT>{3})
            return "reported wrongly: " + text;
        return line == std::string::npos ? text : text.substr(0, line);
    }
    return "no check failed";
}

inline std::string Report(const std::string& expression, const std::string& source)
{
    return "Assertion failed: " + expression + ", file " + source;
}

// A 24-bit bitmap of the given size, every pixel one colour (0xBBGGRR).
inline void Fill24(platform::TBitmap& bitmap, int width, int height, platform::TColor color)
{
    bitmap.SetPixelFormat(platform::pf24bit);
    bitmap.SetSize(width, height);
    for (int y = 0; y < height; ++y) {
        uint8_t* row = bitmap.ScanLine(y);
        for (int x = 0; x < width; ++x) {
            row[3 * x] = static_cast<uint8_t>(color >> 16);
            row[3 * x + 1] = static_cast<uint8_t>(color >> 8);
            row[3 * x + 2] = static_cast<uint8_t>(color);
        }
    }
    bitmap.Changed();
}

inline void Put24(platform::TBitmap& bitmap, int x, int y, platform::TColor color)
{
    uint8_t* row = bitmap.ScanLine(y);
    row[3 * x] = static_cast<uint8_t>(color >> 16);
    row[3 * x + 1] = static_cast<uint8_t>(color >> 8);
    row[3 * x + 2] = static_cast<uint8_t>(color);
    bitmap.Changed();
}

// The colour of a pixel as 0xBBGGRR.
inline platform::TColor PixelOf(platform::TCanvas* canvas, int x, int y)
{
    return canvas->Pixel(x, y) & 0xFFFFFF;
}
