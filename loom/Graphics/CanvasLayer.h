// The drawing surface the painter locks and draws on: a canvas, the size the
// layer believes it has, and the colour its background is erased with.
#pragma once

#include "loom/Graphics/GraphicUtility.h"

#include <cstdint>

namespace loom {

// A saver with no state: locking and unlocking a layer keep nothing.
struct NullSaver {
    template <class CanvasPtr>
    void Save(CanvasPtr) {}
    template <class CanvasPtr>
    void Restore(CanvasPtr) {}
};

template <class Saver, class CanvasPtr>
class CanvasLayer {
public:
    // The canvas is not owned.
    CanvasLayer(CanvasPtr canvas, int width, int height) : m_canvas(canvas), m_width(width), m_height(height) {}
    CanvasLayer(const CanvasLayer&) = delete;
    CanvasLayer& operator=(const CanvasLayer&) = delete;

    CanvasPtr Canvas() const { return m_canvas; }
    // The canvas went away with its owner; drawing from now on does nothing.
    void DetachCanvas() { m_canvas = nullptr; }

    void Lock() { m_saver.Save(m_canvas); }
    void Unlock() { m_saver.Restore(m_canvas); }

    platform::TColor BackgroundColor() const { return m_backgroundColor; }
    void SetBackgroundColor(platform::TColor color) { m_backgroundColor = color; }
    int Width() const { return m_width; }
    int Height() const { return m_height; }

    // Fills rect in the background colour; the brush is left as it was.
    void EraseRect(const platform::TRect& rect)
    {
        if (!m_canvas)
            return;
        platform::TBrush* brush = m_canvas->Brush();
        const platform::TBrushStyle style = brush->Style();
        const platform::TColor color = brush->Color();
        brush->SetStyle(platform::bsSolid);
        brush->SetColor(m_backgroundColor);
        m_canvas->FillRect(rect);
        brush->SetStyle(style);
        brush->SetColor(color);
    }

    // Paints only what the new size exposes: the strip right of the old
    // width over the full new height, then the strip below the old height.
    void Resize(int width, int height)
    {
        const int oldWidth = m_width;
        const int oldHeight = m_height;
        m_width = width;
        m_height = height;
        if (width > oldWidth)
            EraseRect(MakeRect(oldWidth, 0, width, height));
        if (height > oldHeight)
            EraseRect(MakeRect(0, oldHeight, oldWidth, height));
    }

    // The layer draws in the canvas's own coordinates.
    platform::TRect MapRect(const platform::TRect& rect) const { return rect; }
    platform::TPoint MapPoint(const platform::TPoint& point) const { return point; }

private:
    CanvasPtr m_canvas;
    platform::TColor m_backgroundColor = 0xFFFFFF;
    int m_width;
    int m_height;
    Saver m_saver;
    uint8_t m_flag = 0;
};

} // namespace loom
