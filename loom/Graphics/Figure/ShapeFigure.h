// Shape figures: a design shape, a current size and two colours, drawn
// through the painter as the design shape scaled afresh to the current size.
#pragma once

#include "loom/Graphics/FigureBase.h"
#include "loom/Graphics/SimplePainter.h"

#include <algorithm>

namespace loom {

class ShapeFigure : public ScalableFigure {
public:
    // The current size.
    int Width() const override { return m_width; }
    int Height() const override { return m_height; }
    // Stores the current size; a figure that keeps square takes the smaller side for both.
    void Resize(int width, int height) override
    {
        if (KeepsSquare())
            width = height = std::min(width, height);
        m_width = width;
        m_height = height;
    }

    virtual unsigned ControlPointCount() const = 0;
    // Control points are given and reported in current (drawn) coordinates.
    virtual void SetControlPoint(int x, int y, unsigned index) = 0;
    virtual void GetControlPoint(unsigned index, int& x, int& y) const = 0;
    virtual bool KeepsSquare() const = 0;

    LedColor FrameColor() const { return m_frameColor; }
    void SetFrameColor(LedColor color) { m_frameColor = color; }
    LedColor FillColor() const { return m_fillColor; }
    void SetFillColor(LedColor color) { m_fillColor = color; }

protected:
    ShapeFigure() = default;
    ShapeFigure(const ShapeFigure&) = default;
    ShapeFigure& operator=(const ShapeFigure&) = default;
    // The stored size, whatever Width and Height report in a subclass.
    int CurrentWidth() const { return m_width; }
    int CurrentHeight() const { return m_height; }

private:
    LedColor m_frameColor = LedColor::FromValue(0xFF000000u);
    LedColor m_fillColor = LedColor::FromValue(0xFFFFFFFFu);
    int m_width = 0;
    int m_height = 0;
};

namespace detail {

template <class Shape>
struct ShapeTraits {
    static constexpr bool KeepsSquare = false;
};
template <>
struct ShapeTraits<Square> {
    static constexpr bool KeepsSquare = true;
};
template <>
struct ShapeTraits<Circle> {
    static constexpr bool KeepsSquare = true;
};

template <class Shape>
platform::TRect BoxOf(const Shape& shape)
{
    return MakeRect(shape.Left(), shape.Top(), shape.Left() + shape.Width(), shape.Top() + shape.Height());
}

// The painter calls of each shape: fill first, then outline.
template <class Painter>
void FillShape(Painter& p, const Polygon& s) { p.FillPolygon(s.Points(), static_cast<int>(s.ControlPointCount())); }
template <class Painter>
void FrameShape(Painter& p, const Polygon& s) { p.FramePolygon(s.Points(), static_cast<int>(s.ControlPointCount())); }
template <class Painter>
void FillShape(Painter& p, const Rectangle& s) { p.FillRect(BoxOf(s)); }
template <class Painter>
void FrameShape(Painter& p, const Rectangle& s) { p.FrameRect(BoxOf(s)); }
template <class Painter>
void FillShape(Painter& p, const Square& s) { p.FillRect(BoxOf(s)); }
template <class Painter>
void FrameShape(Painter& p, const Square& s) { p.FrameRect(BoxOf(s)); }
template <class Painter>
void FillShape(Painter& p, const Ellipse& s) { p.FillEllipse(BoxOf(s)); }
template <class Painter>
void FrameShape(Painter& p, const Ellipse& s) { p.FrameEllipse(BoxOf(s)); }
template <class Painter>
void FillShape(Painter& p, const Circle& s) { p.FillEllipse(BoxOf(s)); }
template <class Painter>
void FrameShape(Painter& p, const Circle& s) { p.FrameEllipse(BoxOf(s)); }
// There is no outline-only rounded rectangle: the outline step fills again.
template <class Painter>
void FillShape(Painter& p, const RoundRect& s) { p.FillRoundRect(BoxOf(s), s.CornerWidth(), s.CornerHeight()); }
template <class Painter>
void FrameShape(Painter& p, const RoundRect& s) { p.FillRoundRect(BoxOf(s), s.CornerWidth(), s.CornerHeight()); }

inline void ScaleTo(Polygon& shape, int width, int height) { shape.Scale(width, height); }
template <class Shape>
void ScaleTo(Shape& shape, int width, int height) { shape.SetSize(width, height); }

} // namespace detail

template <class Shape, class Painter>
class ShapeFigureAdapter : public ShapeFigure {
public:
    typedef Shape ShapeType;
    typedef Painter PainterType;

    // A new polygon's two (0, 0) points at a current size of 0 by 0.
    explicit ShapeFigureAdapter(Painter* painter) : m_shape(), m_painterPtr(painter) {}
    // The shape's own extent becomes the current size.
    ShapeFigureAdapter(const Shape& shape, Painter* painter) : m_shape(shape), m_painterPtr(painter)
    {
        Resize(shape.Width(), shape.Height());
    }

    void Draw() override { Paint(FillColor(), FrameColor()); }
    void Erase() override
    {
        const LedColor background = m_painterPtr->GetLayer()->BackgroundColor();
        Paint(background, background);
    }
    void Offset(int dx, int dy) override { m_shape.Offset(dx, dy); }
    int Left() const override { return m_shape.Left(); }
    int Top() const override { return m_shape.Top(); }

    void Normalize() override { m_shape = ScaledCopy(); }
    int OriginalWidth() const override { return m_shape.Width(); }
    int OriginalHeight() const override { return m_shape.Height(); }

    unsigned ControlPointCount() const override { return m_shape.ControlPointCount(); }
    void SetControlPoint(int x, int y, unsigned index) override
    {
        Shape copy = ScaledCopy();
        copy.SetControlPoint(index, x, y);
        int minX, minY, maxX, maxY;
        copy.Bounds(minX, minY, maxX, maxY);
        Resize(maxX - minX, maxY - minY);
        m_shape = copy;
    }
    void GetControlPoint(unsigned index, int& x, int& y) const override { ScaledCopy().GetControlPoint(index, x, y); }
    bool KeepsSquare() const override { return detail::ShapeTraits<Shape>::KeepsSquare; }

    // The design shape, in design coordinates.
    const Shape& GetShape() const { return m_shape; }
    Painter* GetPainter() const { return m_painterPtr; }
    // The design shape stretched to the current size.
    Shape ScaledCopy() const
    {
        Shape copy = m_shape;
        detail::ScaleTo(copy, CurrentWidth(), CurrentHeight());
        return copy;
    }

protected:
    Shape& MutableShape() { return m_shape; }

private:
    void Paint(LedColor fill, LedColor frame) const
    {
        const Shape drawn = ScaledCopy();
        m_painterPtr->SetColor(fill);
        detail::FillShape(*m_painterPtr, drawn);
        m_painterPtr->SetColor(frame);
        detail::FrameShape(*m_painterPtr, drawn);
    }

    Shape m_shape;
    Painter* m_painterPtr;
};

template <class Painter>
class PolygonFigure : public ShapeFigureAdapter<Polygon, Painter> {
public:
    explicit PolygonFigure(Painter* painter) : ShapeFigureAdapter<Polygon, Painter>(painter) {}
    // Inserts into the design outline before position index (appends at the
    // count); the current size is left for the caller to set.
    void InsertControlPoint(int x, int y, unsigned index) { this->MutableShape().InsertControlPoint(index, x, y); }
};

// Rectangles, ellipses and rounded rectangles report their design extent as
// their width and height; they are still drawn at the current size.
template <class Painter>
class RectangleFigure : public ShapeFigureAdapter<Rectangle, Painter> {
public:
    explicit RectangleFigure(Painter* painter) : ShapeFigureAdapter<Rectangle, Painter>(Rectangle(), painter) {}
    RectangleFigure(const Rectangle& shape, Painter* painter) : ShapeFigureAdapter<Rectangle, Painter>(shape, painter) {}
    int Width() const override { return this->GetShape().Width(); }
    int Height() const override { return this->GetShape().Height(); }
};

template <class Painter>
class EllipseFigure : public ShapeFigureAdapter<Ellipse, Painter> {
public:
    explicit EllipseFigure(Painter* painter) : ShapeFigureAdapter<Ellipse, Painter>(Ellipse(), painter) {}
    EllipseFigure(const Ellipse& shape, Painter* painter) : ShapeFigureAdapter<Ellipse, Painter>(shape, painter) {}
    int Width() const override { return this->GetShape().Width(); }
    int Height() const override { return this->GetShape().Height(); }
};

template <class Painter>
class RoundRectFigure : public ShapeFigureAdapter<RoundRect, Painter> {
public:
    explicit RoundRectFigure(Painter* painter) : ShapeFigureAdapter<RoundRect, Painter>(RoundRect(), painter) {}
    RoundRectFigure(const RoundRect& shape, Painter* painter) : ShapeFigureAdapter<RoundRect, Painter>(shape, painter) {}
    int Width() const override { return this->GetShape().Width(); }
    int Height() const override { return this->GetShape().Height(); }
    void SetCorner(int cornerWidth, int cornerHeight) { this->MutableShape().SetCorner(cornerWidth, cornerHeight); }
};

template <class Painter>
class CircleFigure : public ShapeFigureAdapter<Circle, Painter> {
public:
    CircleFigure(const Circle& shape, Painter* painter) : ShapeFigureAdapter<Circle, Painter>(shape, painter) {}
};

template <class Painter>
class SquareFigure : public ShapeFigureAdapter<Square, Painter> {
public:
    SquareFigure(const Square& shape, Painter* painter) : ShapeFigureAdapter<Square, Painter>(shape, painter) {}
};

extern template class ShapeFigureAdapter<Polygon, ImagePainter>;
extern template class ShapeFigureAdapter<Rectangle, ImagePainter>;
extern template class ShapeFigureAdapter<Ellipse, ImagePainter>;
extern template class ShapeFigureAdapter<RoundRect, ImagePainter>;
extern template class ShapeFigureAdapter<Circle, ImagePainter>;
extern template class ShapeFigureAdapter<Square, ImagePainter>;
extern template class PolygonFigure<ImagePainter>;
extern template class RectangleFigure<ImagePainter>;
extern template class EllipseFigure<ImagePainter>;
extern template class RoundRectFigure<ImagePainter>;
extern template class CircleFigure<ImagePainter>;
extern template class SquareFigure<ImagePainter>;

} // namespace loom
