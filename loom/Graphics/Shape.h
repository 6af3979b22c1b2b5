// Value shapes that hold the vector outlines of the segment LEDs: a point, a
// polygon and five two-point shapes. They know nothing of colours or
// canvases; figures own a shape and decide how it is drawn. Coordinates are
// int only.
#pragma once

#include "platform/Assert.h"

#include <cmath>
#include <cstddef>
#include <vector>

namespace loom {

template <class T>
struct BasicPoint {
    T x{};
    T y{};

    constexpr BasicPoint() = default;
    constexpr BasicPoint(T ax, T ay) : x(ax), y(ay) {}
    constexpr BasicPoint operator+(const BasicPoint& other) const { return BasicPoint(x + other.x, y + other.y); }
    constexpr BasicPoint& operator+=(const BasicPoint& other)
    {
        x += other.x;
        y += other.y;
        return *this;
    }
    friend constexpr bool operator==(const BasicPoint&, const BasicPoint&) = default;
};

typedef BasicPoint<int> Point;

// An ordered outline, closed from the last point back to the first. A new
// polygon holds two points at (0, 0) that a builder overwrites before it
// appends the rest.
template <class T>
class BasicPolygon {
public:
    typedef BasicPoint<T> PointType;

    BasicPolygon() : m_controlPoints(2) {}

    unsigned ControlPointCount() const { return static_cast<unsigned>(m_controlPoints.size()); }
    void SetControlPoint(unsigned index, T x, T y)
    {
        PLATFORM_ASSERT(index < ControlPointCount(), "loom/Graphics/Shape");
        m_controlPoints[index] = PointType(x, y);
    }
    void GetControlPoint(unsigned index, T& x, T& y) const
    {
        PLATFORM_ASSERT(index < ControlPointCount(), "loom/Graphics/Shape");
        x = m_controlPoints[index].x;
        y = m_controlPoints[index].y;
    }
    // Inserts before position index; index equal to the count appends.
    void InsertControlPoint(size_t index, T x, T y)
    {
        PLATFORM_ASSERT(index <= m_controlPoints.size(), "loom/Graphics/Shape");
        m_controlPoints.insert(m_controlPoints.begin() + static_cast<std::ptrdiff_t>(index), PointType(x, y));
    }
    const PointType* Points() const { return m_controlPoints.data(); }

    void Offset(T dx, T dy)
    {
        for (PointType& p : m_controlPoints) {
            p.x += dx;
            p.y += dy;
        }
    }

    void Bounds(T& minX, T& minY, T& maxX, T& maxY) const
    {
        minX = maxX = m_controlPoints.front().x;
        minY = maxY = m_controlPoints.front().y;
        // Both extremes start at the first point, so a point that lowers
        // the minimum cannot also raise the maximum.
        for (size_t i = 1; i < m_controlPoints.size(); ++i) {
            const PointType& p = m_controlPoints[i];
            if (p.x < minX)
                minX = p.x;
            else if (p.x > maxX)
                maxX = p.x;
            if (p.y < minY)
                minY = p.y;
            else if (p.y > maxY)
                maxY = p.y;
        }
    }
    T Left() const
    {
        T minX, minY, maxX, maxY;
        Bounds(minX, minY, maxX, maxY);
        return minX;
    }
    T Top() const
    {
        T minX, minY, maxX, maxY;
        Bounds(minX, minY, maxX, maxY);
        return minY;
    }
    T Width() const
    {
        T minX, minY, maxX, maxY;
        Bounds(minX, minY, maxX, maxY);
        return maxX - minX;
    }
    T Height() const
    {
        T minX, minY, maxX, maxY;
        Bounds(minX, minY, maxX, maxY);
        return maxY - minY;
    }

    // Stretches the outline to exactly width by height, keeping the top-left
    // corner of its bounds; offsets round half up. A flat outline is
    // stretched from its first point, nudged one unit off the edge.
    void Scale(T width, T height)
    {
        T minX, minY, maxX, maxY;
        Bounds(minX, minY, maxX, maxY);
        double factorX, factorY;
        if (maxX == minX) {
            m_controlPoints.front().x = minX + 1;
            factorX = width;
        } else {
            factorX = static_cast<double>(width) / static_cast<double>(maxX - minX);
        }
        if (maxY == minY) {
            m_controlPoints.front().y = minY + 1;
            factorY = height;
        } else {
            factorY = static_cast<double>(height) / static_cast<double>(maxY - minY);
        }
        for (PointType& p : m_controlPoints) {
            p.x = static_cast<T>(std::floor(static_cast<double>(p.x - minX) * factorX + 0.5)) + minX;
            p.y = static_cast<T>(std::floor(static_cast<double>(p.y - minY) * factorY + 0.5)) + minY;
        }
    }

private:
    std::vector<PointType> m_controlPoints;
};

namespace detail {

// Point 0 is the top-left and point 1 the bottom-right corner of the box.
// Width and height are signed: a point 1 left of or above point 0 gives a
// negative extent.
template <class T>
class TwoPointShape {
public:
    typedef BasicPoint<T> PointType;
    static constexpr unsigned CONTROL_POINT_COUNT = 2;

    TwoPointShape() = default;
    TwoPointShape(T left, T top, T right, T bottom) : m_points{PointType(left, top), PointType(right, bottom)} {}

    unsigned ControlPointCount() const { return CONTROL_POINT_COUNT; }
    void SetControlPoint(unsigned index, T x, T y)
    {
        PLATFORM_ASSERT(index < CONTROL_POINT_COUNT, "loom/Graphics/Shape");
        m_points[index] = PointType(x, y);
    }
    void GetControlPoint(unsigned index, T& x, T& y) const
    {
        PLATFORM_ASSERT(index < CONTROL_POINT_COUNT, "loom/Graphics/Shape");
        x = m_points[index].x;
        y = m_points[index].y;
    }
    void Offset(T dx, T dy)
    {
        for (PointType& p : m_points) {
            p.x += dx;
            p.y += dy;
        }
    }
    T Left() const { return m_points[0].x; }
    T Top() const { return m_points[0].y; }
    T Width() const { return m_points[1].x - m_points[0].x; }
    T Height() const { return m_points[1].y - m_points[0].y; }
    void Bounds(T& minX, T& minY, T& maxX, T& maxY) const
    {
        minX = Left();
        minY = Top();
        maxX = Left() + Width();
        maxY = Top() + Height();
    }
    // Point 0 stays; point 1 follows.
    void SetSize(T width, T height) { m_points[1] = m_points[0] + PointType(width, height); }

private:
    PointType m_points[CONTROL_POINT_COUNT];
};

// A box shape whose width must always equal its height.
template <class T, class Box>
class EqualSidedShape {
public:
    typedef BasicPoint<T> PointType;
    static constexpr unsigned CONTROL_POINT_COUNT = Box::CONTROL_POINT_COUNT;

    EqualSidedShape() = default;
    EqualSidedShape(T left, T top, T right, T bottom) : m_data(left, top, right, bottom)
    {
        PLATFORM_ASSERT(m_data.Width() == m_data.Height(), "loom/Graphics/Shape");
    }

    unsigned ControlPointCount() const { return CONTROL_POINT_COUNT; }
    void SetControlPoint(unsigned index, T x, T y)
    {
        m_data.SetControlPoint(index, x, y);
        PLATFORM_ASSERT(m_data.Width() == m_data.Height(), "loom/Graphics/Shape");
    }
    void GetControlPoint(unsigned index, T& x, T& y) const { m_data.GetControlPoint(index, x, y); }
    void Offset(T dx, T dy) { m_data.Offset(dx, dy); }
    T Left() const { return m_data.Left(); }
    T Top() const { return m_data.Top(); }
    T Width() const { return m_data.Width(); }
    T Height() const { return m_data.Height(); }
    void Bounds(T& minX, T& minY, T& maxX, T& maxY) const { m_data.Bounds(minX, minY, maxX, maxY); }
    void SetSize(T width, T height)
    {
        PLATFORM_ASSERT(width == height, "loom/Graphics/Shape");
        m_data.SetSize(width, height);
    }

private:
    Box m_data;
};

} // namespace detail

template <class T>
class BasicRectangle : public detail::TwoPointShape<T> {
public:
    using detail::TwoPointShape<T>::TwoPointShape;
};

// The ellipse inscribed in the box.
template <class T>
class BasicEllipse : public detail::TwoPointShape<T> {
public:
    using detail::TwoPointShape<T>::TwoPointShape;
};

// The corner pair (the corner ellipse's width and height) is not a control
// point: offsets and scaling leave it alone.
template <class T>
class BasicRoundRect : public detail::TwoPointShape<T> {
public:
    BasicRoundRect() = default;
    BasicRoundRect(T left, T top, T right, T bottom, T cornerWidth, T cornerHeight)
        : detail::TwoPointShape<T>(left, top, right, bottom), m_corner(cornerWidth, cornerHeight)
    {
    }
    T CornerWidth() const { return m_corner.x; }
    T CornerHeight() const { return m_corner.y; }
    void SetCorner(T cornerWidth, T cornerHeight) { m_corner = BasicPoint<T>(cornerWidth, cornerHeight); }

private:
    BasicPoint<T> m_corner;
};

template <class T>
class BasicSquare : public detail::EqualSidedShape<T, BasicRectangle<T>> {
public:
    using detail::EqualSidedShape<T, BasicRectangle<T>>::EqualSidedShape;
};

template <class T>
class BasicCircle : public detail::EqualSidedShape<T, BasicEllipse<T>> {
public:
    using detail::EqualSidedShape<T, BasicEllipse<T>>::EqualSidedShape;
};

typedef BasicPolygon<int> Polygon;
typedef BasicRectangle<int> Rectangle;
typedef BasicEllipse<int> Ellipse;
typedef BasicSquare<int> Square;
typedef BasicCircle<int> Circle;
typedef BasicRoundRect<int> RoundRect;

extern template class BasicPolygon<int>;
extern template class detail::TwoPointShape<int>;
extern template class BasicRoundRect<int>;
extern template class detail::EqualSidedShape<int, BasicRectangle<int>>;
extern template class detail::EqualSidedShape<int, BasicEllipse<int>>;

} // namespace loom
