#include "loom/Graphics/Figure/ShapeFigure.h"
#include "loom/Graphics/FigureBase.h"
#include "loom/Graphics/Shape.h"
#include "LoomFigures.h"
#include "LoomTesting.h"
#include "loom/Graphics/SimplePainter.h"
#include "platform/Control.h"

#include <gtest/gtest.h>

#include <array>
#include <initializer_list>
#include <memory>
#include <vector>

// Inside the library's namespace its shape names win over the platform's
// drawing functions of the same names.
namespace loom {

namespace {

Polygon MakePolygon(std::initializer_list<Point> points)
{
    Polygon polygon;
    unsigned i = 0;
    for (const Point& p : points) {
        if (i < polygon.ControlPointCount())
            polygon.SetControlPoint(i, p.x, p.y);
        else
            polygon.InsertControlPoint(i, p.x, p.y);
        ++i;
    }
    return polygon;
}

std::vector<Point> PointsOf(const Polygon& polygon)
{
    return std::vector<Point>(polygon.Points(), polygon.Points() + polygon.ControlPointCount());
}

} // namespace

TEST(Shape, PolygonBoundsAndScaling)
{
    Polygon bar = MakePolygon({{4, 2}, {12, 2}, {12, 3}, {4, 3}});
    EXPECT_EQ(bar.Left(), 4);
    EXPECT_EQ(bar.Top(), 2);
    EXPECT_EQ(bar.Width(), 8);
    EXPECT_EQ(bar.Height(), 1);
    bar.Scale(16, 2);
    EXPECT_EQ(PointsOf(bar), (std::vector<Point>{{4, 2}, {20, 2}, {20, 4}, {4, 4}}));

    // A vertical line: the first point is nudged one unit right, then stretched.
    Polygon line = MakePolygon({{5, 1}, {5, 4}, {5, 9}});
    line.Scale(3, 16);
    EXPECT_EQ(PointsOf(line), (std::vector<Point>{{8, 1}, {5, 7}, {5, 17}}));
    EXPECT_EQ(line.Width(), 3);
    EXPECT_EQ(line.Height(), 16);

    // Half-way offsets round up, below half down.
    Polygon half = MakePolygon({{0, 0}, {1, 0}, {4, 5}});
    half.Scale(10, 12); // factors 2.5 and 2.4
    EXPECT_EQ(PointsOf(half), (std::vector<Point>{{0, 0}, {3, 0}, {10, 12}}));
    Polygon low = MakePolygon({{0, 0}, {0, 1}, {5, 5}});
    low.Scale(12, 5);
    EXPECT_EQ(PointsOf(low)[2], (Point{12, 5}));
    low = MakePolygon({{0, 0}, {1, 1}, {5, 5}});
    low.Scale(12, 12); // 1 * 2.4
    EXPECT_EQ(PointsOf(low)[1], (Point{2, 2}));

    // Bounds of an outline whose extremes come late.
    Polygon zigzag = MakePolygon({{3, 3}, {1, 5}, {6, 0}, {2, 7}});
    int minX, minY, maxX, maxY;
    zigzag.Bounds(minX, minY, maxX, maxY);
    EXPECT_EQ(minX, 1);
    EXPECT_EQ(minY, 0);
    EXPECT_EQ(maxX, 6);
    EXPECT_EQ(maxY, 7);
}

TEST(Shape, TwoPointShapes)
{
    Rectangle r(2, 3, 10, 7);
    EXPECT_EQ(r.Width(), 8);
    EXPECT_EQ(r.Height(), 4);
    r.Offset(1, -1);
    EXPECT_EQ(r.Left(), 3);
    EXPECT_EQ(r.Top(), 2);
    r.SetSize(5, 6);
    int x, y;
    r.GetControlPoint(1, x, y);
    EXPECT_EQ(x, 8);
    EXPECT_EQ(y, 8);
    r.SetControlPoint(1, 1, 1);
    EXPECT_EQ(r.Width(), -2); // no absolute value

    RoundRect rr(0, 0, 10, 10, 4, 3);
    rr.Offset(5, 5);
    rr.SetSize(20, 20);
    EXPECT_EQ(rr.CornerWidth(), 4);
    EXPECT_EQ(rr.CornerHeight(), 3);

    Square square(1, 1, 5, 5);
    square.SetSize(7, 7);
    EXPECT_EQ(square.Width(), 7);
    square.SetControlPoint(1, 10, 10);
    EXPECT_EQ(square.Height(), 9);
}

TEST(ShapeFigure, DesignAndCurrentSize)
{
    SquareFigure<ImagePainter> square(Square(0, 0, 8, 8), nullptr);
    square.Resize(10, 6);
    EXPECT_EQ(square.Width(), 6);
    EXPECT_EQ(square.Height(), 6);
    EXPECT_EQ(square.OriginalWidth(), 8);
    EXPECT_TRUE(square.KeepsSquare());

    RectangleFigure<ImagePainter> rectangle(Rectangle(1, 1, 9, 5), nullptr);
    EXPECT_FALSE(rectangle.KeepsSquare());
    rectangle.Resize(16, 8);
    EXPECT_EQ(rectangle.Width(), 8); // reports its design extent
    EXPECT_EQ(rectangle.ScaledCopy().Width(), 16);

    // Control points are given and read in drawn coordinates.
    std::unique_ptr<PolygonFigure<ImagePainter>> bar(Bar(4, 2, 12, 3));
    EXPECT_EQ(bar->ControlPointCount(), 4u);
    EXPECT_EQ(bar->Width(), 8);
    EXPECT_EQ(bar->Height(), 1);
    bar->Resize(16, 2);
    int x, y;
    bar->GetControlPoint(2, x, y);
    EXPECT_EQ(x, 20);
    EXPECT_EQ(y, 4);
    bar->SetControlPoint(24, 4, 2);
    EXPECT_EQ(bar->OriginalWidth(), 20);
    EXPECT_EQ(bar->Width(), 20);
    bar->GetControlPoint(1, x, y);
    EXPECT_EQ(x, 20);
    bar->Offset(-4, -2);
    EXPECT_EQ(bar->Left(), 0);
    EXPECT_EQ(bar->Top(), 0);

    // Normalize bakes the current size into the design.
    bar->Resize(10, 1);
    bar->Normalize();
    EXPECT_EQ(bar->OriginalWidth(), 10);
    EXPECT_EQ(bar->OriginalHeight(), 1);
}

TEST(CompositeScalableFig, ResizesChildrenInProportionAndRestoresThem)
{
    std::unique_ptr<PolygonFigure<ImagePainter>> a(Bar(4, 2, 12, 3)), b(Bar(14, 4, 15, 9));
    CompositeScalableFig composite(MakeRect(0, 0, 18, 22));
    composite.AddFigure(a.get());
    composite.AddFigure(b.get());
    EXPECT_EQ(composite.Offsets(), (std::vector<Point>{{4, 2}, {14, 4}}));

    composite.Resize(36, 44);
    EXPECT_EQ(composite.Width(), 36);
    EXPECT_EQ(composite.OriginalWidth(), 18);
    EXPECT_EQ(a->Left(), 8);
    EXPECT_EQ(a->Top(), 4);
    EXPECT_EQ(a->Width(), 16);
    EXPECT_EQ(a->Height(), 2);
    EXPECT_EQ(b->Left(), 28);
    EXPECT_EQ(b->Height(), 10);

    // Truncation: a child never grows past its share.
    composite.Resize(27, 33);
    EXPECT_EQ(b->Left(), 21);
    EXPECT_EQ(b->Width(), 1);
    EXPECT_EQ(b->Height(), 7);

    composite.Resize(0, 0);
    for (auto* child : {a.get(), b.get()}) {
        EXPECT_EQ(child->Left(), 0);
        EXPECT_EQ(child->Top(), 0);
        EXPECT_EQ(child->Width(), 0);
        EXPECT_EQ(child->Height(), 0);
    }
    composite.Resize(18, 22);
    EXPECT_EQ(a->Left(), 4);
    EXPECT_EQ(a->Top(), 2);
    EXPECT_EQ(a->Width(), 8);
    EXPECT_EQ(b->Left(), 14);
    EXPECT_EQ(b->Height(), 5);

    // Offsetting the composite carries its children.
    composite.Offset(18, 0);
    EXPECT_EQ(composite.Left(), 18);
    EXPECT_EQ(a->Left(), 22);
    composite.Resize(36, 22);
    EXPECT_EQ(a->Left(), 26);
    EXPECT_EQ(a->Width(), 16);

    // Removing a child leaves the other where it is.
    composite.Resize(18, 22);
    composite.RemoveFigure(a.get());
    composite.RemoveFigure(a.get());
    EXPECT_EQ(composite.FigureCount(), 1);
    EXPECT_EQ(composite.Offsets(), (std::vector<Point>{{14, 4}}));

    // A new design size moves the origin only.
    composite.SetDesignRect(MakeRect(18, 0, 40, 30));
    EXPECT_EQ(composite.OriginalWidth(), 22);
    EXPECT_EQ(composite.OriginalHeight(), 30);
    EXPECT_EQ(composite.Width(), 18);
}

TEST(CompositeScalableFig, DrawsScaledChildrenAtTheirTruncatedOffsets)
{
    auto* parent = new platform::TWinControl(nullptr);
    ImageLayerType layer(parent, parent);
    layer.SetImageSize(40, 40);
    ImagePainter painter(&layer);
    auto bar = [&](int left, int top, int right, int bottom) {
        std::unique_ptr<PolygonFigure<ImagePainter>> figure(Bar(left, top, right, bottom, &painter));
        figure->SetFillColor(LedColor(255, 0, 0));
        figure->SetFrameColor(LedColor(255, 0, 0));
        return figure;
    };
    // Offsets whose scaled values fall on and past a half pixel, and a child
    // flush with the composite's right and bottom edges.
    auto a = bar(5, 3, 9, 4), b = bar(13, 17, 17, 21);
    CompositeScalableFig composite(MakeRect(0, 0, 18, 22));
    composite.AddFigure(a.get());
    composite.AddFigure(b.get());
    platform::TCanvas* c = layer.Canvas();
    for (const auto& size : {std::array<int, 2>{27, 33}, {25, 30}, {31, 37}, {18, 22}}) {
        const float sx = static_cast<float>(size[0]) / 18, sy = static_cast<float>(size[1]) / 22;
        composite.Resize(size[0], size[1]);
        layer.EraseRect(MakeRect(0, 0, 40, 40));
        composite.Draw();
        for (const auto& child : {std::array<int, 4>{5, 3, 4, 1}, {13, 17, 4, 4}}) {
            // Left and top rounded down, then the child's own scaled size.
            const int left = static_cast<int>(child[0] * sx), top = static_cast<int>(child[1] * sy);
            const int right = left + static_cast<int>(child[2] * sx), bottom = top + static_cast<int>(child[3] * sy);
            EXPECT_EQ(PixelOf(c, left, top), 0x0000FFu) << size[0] << "x" << size[1] << " child " << child[0];
            EXPECT_EQ(PixelOf(c, right, bottom), 0x0000FFu) << size[0] << "x" << size[1] << " child " << child[0];
            EXPECT_EQ(PixelOf(c, left - 1, top), 0xFFFFFFu) << size[0] << "x" << size[1] << " child " << child[0];
            EXPECT_EQ(PixelOf(c, left, top - 1), 0xFFFFFFu) << size[0] << "x" << size[1] << " child " << child[0];
        }
    }
    parent->Free();
}

} // namespace loom
