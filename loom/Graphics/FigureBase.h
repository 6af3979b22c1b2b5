// Figures: things that draw themselves at a position and report their
// bounds. Scalable figures remember a design size and are told a current
// size; composites move and resize their children in proportion.
#pragma once

#include "loom/Graphics/GraphicUtility.h"
#include "loom/Graphics/Shape.h"
#include "platform/Assert.h"

#include <cstdint>
#include <vector>

namespace loom {

class Figure {
public:
    virtual ~Figure() = default;
    // Paints with the figure's own colours.
    virtual void Draw() = 0;
    // Paints the same outline in the layer's background colour.
    virtual void Erase() = 0;
    virtual void Offset(int dx, int dy) = 0;
    virtual int Left() const = 0;
    virtual int Top() const = 0;
    virtual int Width() const = 0;
    virtual int Height() const = 0;

    // Set by the bitmap LED (0 for a new picture, 1 for the same state set
    // again); shape and composite figures leave it alone.
    uint8_t Flag() const { return m_flag; }
    void SetFlag(uint8_t value) { m_flag = value; }

protected:
    Figure() = default;
    Figure(const Figure&) = default;
    Figure& operator=(const Figure&) = default;

private:
    uint8_t m_flag = 0;
};

class ScalableFigure : public Figure {
public:
    // Sets the current size; nothing is drawn.
    virtual void Resize(int width, int height) = 0;
    // Bakes the current size into the design (lossy away from design scale).
    virtual void Normalize() = 0;
    virtual int OriginalWidth() const = 0;
    virtual int OriginalHeight() const = 0;

protected:
    ScalableFigure() = default;
    ScalableFigure(const ScalableFigure&) = default;
    ScalableFigure& operator=(const ScalableFigure&) = default;
};

// A row of figures drawn in list order inside fixed bounds. Children are not
// owned: the LEDs that embed them own them.
class CompositeFigure : public Figure {
public:
    explicit CompositeFigure(const platform::TRect& rect)
        : m_left(rect.left), m_top(rect.top), m_width(RectWidth(rect)), m_height(RectHeight(rect))
    {
        PLATFORM_ASSERT(m_width >=0 && m_height >=0, "loom/Graphics/FigureBase");
    }
    CompositeFigure(const CompositeFigure&) = delete;
    CompositeFigure& operator=(const CompositeFigure&) = delete;

    void Draw() override;
    void Erase() override;
    // Children first, then the composite's own origin.
    void Offset(int dx, int dy) override;
    int Left() const override { return m_left; }
    int Top() const override { return m_top; }
    int Width() const override { return m_width; }
    int Height() const override { return m_height; }

    // Appends a child that lies inside the bounds.
    void AddFigure(Figure* figurePtr);
    void RemoveFigureAt(size_t index);
    // New bounds that must still hold every child.
    void SetBounds(const platform::TRect& rect);
    const std::vector<Figure*>& Figures() const { return m_figures; }

private:
    int m_left;
    int m_top;
    int m_width;
    int m_height;
    std::vector<Figure*> m_figures;
};

// A composite that scales: each child keeps its design offset and size in
// proportion to the composite's current size.
class CompositeScalableFig : public ScalableFigure {
public:
    explicit CompositeScalableFig(const platform::TRect& rect);
    CompositeScalableFig(const CompositeScalableFig&) = delete;
    CompositeScalableFig& operator=(const CompositeScalableFig&) = delete;

    void Draw() override { m_composite.Draw(); }
    void Erase() override { m_composite.Erase(); }
    void Offset(int dx, int dy) override { m_composite.Offset(dx, dy); }
    int Left() const override { return m_composite.Left(); }
    int Top() const override { return m_composite.Top(); }
    int Width() const override { return m_composite.Width(); }
    int Height() const override { return m_composite.Height(); }

    void Resize(int width, int height) override;
    void Normalize() override;
    int OriginalWidth() const override { return m_originalWidth; }
    int OriginalHeight() const override { return m_originalHeight; }

    // Normalizes first, so add children only at design scale.
    void AddFigure(ScalableFigure* figurePtr);
    // Nothing happens for a figure that is not a child.
    void RemoveFigure(ScalableFigure* figurePtr);
    // A new design size; only the origin of the current bounds moves.
    void SetDesignRect(const platform::TRect& rect);

    int FigureCount() const { return static_cast<int>(m_composite.Figures().size()); }
    ScalableFigure* GetFigure(int index) const { return static_cast<ScalableFigure*>(m_composite.Figures()[index]); }
    const std::vector<Point>& Offsets() const { return m_offsets; }

private:
    int m_originalWidth;
    int m_originalHeight;
    std::vector<Point> m_offsets;
    CompositeFigure m_composite;
};

} // namespace loom
