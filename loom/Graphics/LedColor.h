// The library's colour: the bytes red, green, blue and alpha in that memory
// order, so that as a 32-bit value red is the lowest byte. The library always
// stores alpha 255; only the low 24 bits ever reach a canvas.
#pragma once

#include "platform/Graphics.h"

#include <cstdint>

namespace loom {

struct LedColor {
    uint8_t red = 0;
    uint8_t green = 0;
    uint8_t blue = 0;
    uint8_t alpha = 255;

    constexpr LedColor() = default;
    constexpr LedColor(uint8_t r, uint8_t g, uint8_t b, uint8_t a = 255) : red(r), green(g), blue(b), alpha(a) {}

    static constexpr LedColor FromValue(uint32_t value)
    {
        return LedColor(static_cast<uint8_t>(value), static_cast<uint8_t>(value >> 8),
                        static_cast<uint8_t>(value >> 16), static_cast<uint8_t>(value >> 24));
    }
    constexpr uint32_t Value() const
    {
        return uint32_t(red) | (uint32_t(green) << 8) | (uint32_t(blue) << 16) | (uint32_t(alpha) << 24);
    }

    // A platform colour taken as plain RGB: a system colour constant is not
    // looked up, only its low 24 bits are kept.
    static constexpr LedColor FromRGB(platform::TColor color)
    {
        return FromValue((static_cast<uint32_t>(color) & 0xFFFFFFu) | 0xFF000000u);
    }
    // A platform colour with system colours resolved to their current value.
    static LedColor FromColor(platform::TColor color)
    {
        return FromRGB(static_cast<platform::TColor>(platform::ColorToRGB(color)));
    }

    friend constexpr bool operator==(const LedColor&, const LedColor&) = default;
};

static_assert(sizeof(LedColor) == 4, "LedColor is four bytes in memory order");

} // namespace loom
