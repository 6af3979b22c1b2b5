// The numeric LED's character pictures. Every state of every kind of
// character in the row is drawn once, with figures built exactly as the
// row's own, into one offscreen picture; bringing the display up to date
// then copies only the cells whose state changed and marks their union for
// repainting once, instead of drawing every segment and repainting the
// whole display for each.
//
// The pictures are drawn anew only when what they depend on changes: the
// kinds of characters in the row, the style, the row's size, the segment
// colours or the background colour.
#pragma once

#include "loom/Component/LED.h"
#include "loom/Graphics/SimplePainter.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace loom {

class KsNumLedCache {
public:
    // A new character LED of one kind at (0, 0), drawn through painter in
    // the row's segment colours.
    using TBuildCharacter = std::function<std::unique_ptr<CompositeScalableLED>(char kind, ImagePainter* painter)>;

    explicit KsNumLedCache(TBuildCharacter build);
    KsNumLedCache(const KsNumLedCache&) = delete;
    KsNumLedCache& operator=(const KsNumLedCache&) = delete;

    // The layer was cleared: no cell shows a character any more.
    void Forget();

    // Brings the layer's picture to the current state of every character of
    // leds. kinds holds one character per LED; LEDs of one kind are built
    // alike. Characters squeezed so small that their cells overlap are
    // drawn segment by segment instead, in row order, as their figures draw.
    void Draw(ImageLayerType& layer, BasicLED_Collector& leds, const std::string& kinds, int style,
              const LedColor* colors);

private:
    // What the pictures depend on.
    struct TKey {
        std::string Kinds;
        int Style = -1;
        int Width = -1, Height = -1;
        uint32_t Dark = 0, Light = 0;
        platform::TColor Background = 0;
        bool operator==(const TKey&) const = default;
    };
    // One kind of character: where its state pictures lie in m_pictures
    // (state s at Slot + s * cell width, row 0) and its cell, which holds
    // every pixel its segments can touch, relative to its figure's origin.
    struct TKind {
        char Character;
        int States;
        platform::TRect Cell;
        int Slot;
    };

    void Rebuild(ImageLayerType& layer, BasicLED_Collector& leds, const std::string& kinds);

    TBuildCharacter m_build;
    TKey m_key;
    std::unique_ptr<ImageLayerType> m_pictures;
    std::unique_ptr<ImagePainter> m_painter;
    std::vector<TKind> m_kinds;
    std::vector<size_t> m_kindOf;          // per character
    std::vector<platform::TRect> m_cells;  // per character, in the layer
    std::vector<int> m_shown;              // per character: the state its cell shows, -1 none
    bool m_separate = false;               // no two cells overlap
};

} // namespace loom
