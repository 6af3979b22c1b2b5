#include "loom/Graphics/Figure/ShapeFigure.h"
#include "loom/Graphics/GraphicUtility.h"
#include "loom/Graphics/ImageLayer.h"
#include "loom/Graphics/SimplePainter.h"
#include "LoomTesting.h"
#include "platform/Control.h"

#include <gtest/gtest.h>

#include <functional>

using namespace platform;
// Inside the library's namespace its shape names win over the platform's
// drawing functions of the same names.
namespace loom {

namespace {

const TColor Red = 0x0000FF, Blue = 0xFF0000, Green = 0x00FF00, White = 0xFFFFFF, Black = 0;

// A white 24-bit drawing surface.
struct Surface {
    explicit Surface(int w, int h) { Fill24(bitmap, w, h, White); }
    TCanvas* Canvas() { return bitmap.Canvas(); }
    TBitmap bitmap;
};

} // namespace

TEST(GraphicUtility, SolidShapesTakeTheBrushColourForTheirBorderOnly)
{
    Surface s(20, 20);
    TCanvas* c = s.Canvas();
    c->Pen()->SetColor(Red);
    c->Brush()->SetColor(Blue);
    FillRectangle(c, MakeRect(2, 2, 10, 10));
    EXPECT_EQ(PixelOf(c, 2, 2), Blue);   // border
    EXPECT_EQ(PixelOf(c, 9, 9), Blue);
    EXPECT_EQ(PixelOf(c, 5, 5), Blue);   // interior
    EXPECT_EQ(PixelOf(c, 10, 10), White); // right and bottom exclusive
    EXPECT_EQ(c->Pen()->Color(), Red);

    // Outline ellipse over the filled square: interior kept, brush style kept.
    c->Brush()->SetStyle(bsSolid);
    DrawEllipse(c, MakeRect(0, 0, 12, 12));
    EXPECT_EQ(PixelOf(c, 6, 6), Blue);
    EXPECT_EQ(PixelOf(c, 0, 6), Red);
    EXPECT_EQ(c->Brush()->Style(), bsSolid);
    EXPECT_EQ(c->Brush()->Color(), Blue);

    FillRoundRectangle(c, MakeRect(12, 12, 20, 20), 4, 4);
    EXPECT_EQ(PixelOf(c, 12, 16), Blue);
    EXPECT_EQ(PixelOf(c, 12, 12), White); // the rounded corner
    FillEllipseShape(c, MakeRect(12, 0, 20, 8));
    EXPECT_EQ(PixelOf(c, 12, 4), Blue);
    EXPECT_EQ(c->Pen()->Color(), Red);

    DrawRectangle(c, MakeRect(0, 12, 8, 20));
    EXPECT_EQ(PixelOf(c, 0, 12), Red);
    EXPECT_EQ(PixelOf(c, 4, 16), White);
}

TEST(GraphicUtility, PolygonsAreClosed)
{
    Surface s(20, 20);
    TCanvas* c = s.Canvas();
    c->Pen()->SetColor(Red);
    c->Brush()->SetColor(Blue);
    const TPoint triangle[] = {{2, 2}, {16, 2}, {2, 16}};
    DrawPolygonShape(c, triangle, 3);
    EXPECT_EQ(PixelOf(c, 9, 2), Red);
    EXPECT_EQ(PixelOf(c, 2, 9), Red);  // the edge back to the first point
    EXPECT_EQ(PixelOf(c, 9, 9), Red);
    EXPECT_EQ(PixelOf(c, 5, 5), White);
    EXPECT_EQ(c->Brush()->Style(), bsSolid);

    FillPolygonShape(c, triangle, 3);
    EXPECT_EQ(PixelOf(c, 5, 5), Blue);
    EXPECT_EQ(PixelOf(c, 2, 9), Blue);
    EXPECT_EQ(c->Pen()->Color(), Red);
}

TEST(GraphicUtility, CopiesABitmapRectangleUnscaledWithSourceCopy)
{
    TBitmap source;
    Fill24(source, 12, 8, Green);
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 12; ++x)
            if (x >= 2 && x < 10 && y >= 2 && y < 6)
                Put24(source, x, y, static_cast<TColor>(0x010000 * x + 0x100 * y + 0x40));
    // Over a destination where the caller's own copy mode would show: ANDed
    // onto grey, the copied pixels would lose their top bits.
    const TColor Grey = 0x808080;
    Surface s(12, 8);
    Fill24(s.bitmap, 12, 8, Grey);
    TCanvas* c = s.Canvas();
    c->SetCopyMode(SRCAND);
    CopyBitmapRect(c, 0, 0, &source, MakeRect(2, 2, 10, 6));
    EXPECT_EQ(c->CopyMode(), static_cast<DWORD>(SRCAND));
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 12; ++x)
            EXPECT_EQ(PixelOf(c, x, y), x < 8 && y < 4 ? 0x010000 * (x + 2) + 0x100 * (y + 2) + 0x40 : Grey)
                << x << "," << y;

    EXPECT_EQ(ToColorRef(LedColor(0x12, 0x34, 0x56, 255)), 0x563412);
    EXPECT_EQ(LedColor(0x12, 0x34, 0x56).Value(), 0xFF563412u);
    EXPECT_EQ(LedColor::FromRGB(clBtnFace).alpha, 255);
    EXPECT_EQ(LedColor::FromColor(clBtnFace), LedColor::FromRGB(static_cast<TColor>(ColorToRGB(clBtnFace))));
    EXPECT_EQ(RectWidth(MakeRect(3, 4, 10, 20)), 7);
    EXPECT_EQ(RectHeight(MakeRect(3, 4, 10, 20)), 16);
}

TEST(ImageLayer, StartsAsAnEmptyDisabledImageAndGrowsInTheBackgroundColour)
{
    const TOwned<TWinControl> parent(new TWinControl(nullptr));
    {
        ImageLayerType layer(parent.get(), parent.get());
        TImage* image = layer.Image();
        ASSERT_NE(image, nullptr);
        EXPECT_EQ(image->Owner(), parent.get());
        EXPECT_EQ(image->Parent(), parent.get());
        EXPECT_FALSE(image->Enabled());
        EXPECT_EQ(image->BoundsRect().left, 0);
        EXPECT_EQ(image->BoundsRect().top, 0);
        EXPECT_EQ(image->Width(), 0);
        EXPECT_EQ(image->Height(), 0);
        EXPECT_EQ(layer.Width(), 0);
        EXPECT_EQ(layer.Height(), 0);
        EXPECT_EQ(image->Picture()->Bitmap()->PixelFormat(), pf24bit);
        EXPECT_EQ(image->Picture()->Bitmap()->TransparentMode(), tmFixed);
        EXPECT_EQ(layer.GetCanvasLayer()->BackgroundColor(), White);
        EXPECT_EQ(layer.BackgroundColor(), LedColor(255, 255, 255));

        layer.SetImageSize(10, 10);
        EXPECT_EQ(image->Width(), 10);
        EXPECT_EQ(layer.Height(), 10);
        TCanvas* c = layer.Canvas();
        c->Brush()->SetColor(Red);
        c->FillRect(MakeRect(0, 0, 10, 10));
        layer.GetCanvasLayer()->SetBackgroundColor(Green);
        layer.SetImageSize(20, 15);
        EXPECT_EQ(image->Width(), 20);
        EXPECT_EQ(image->Height(), 15);
        EXPECT_EQ(layer.GetCanvasLayer()->Width(), 20);
        for (int y = 0; y < 15; ++y)
            for (int x = 0; x < 20; ++x)
                ASSERT_EQ(PixelOf(c, x, y), x < 10 && y < 10 ? Red : Green) << x << "," << y;
        EXPECT_EQ(c->Brush()->Color(), Red); // the erase puts the brush back

        // Shrinking paints nothing; growing again paints only the new parts.
        c->Brush()->SetColor(Blue);
        c->FillRect(MakeRect(0, 0, 20, 15));
        layer.GetCanvasLayer()->SetBackgroundColor(Black);
        layer.SetImageSize(6, 5);
        EXPECT_EQ(PixelOf(c, 5, 4), Blue);
        layer.SetImageSize(8, 5);
        EXPECT_EQ(PixelOf(c, 5, 4), Blue);
        EXPECT_EQ(PixelOf(c, 6, 4), Black);
        EXPECT_EQ(PixelOf(c, 7, 0), Black);

        layer.MoveBy(3, 4);
        layer.MoveBy(1, 1);
        EXPECT_EQ(layer.Left(), 4);
        EXPECT_EQ(layer.Top(), 5);
        EXPECT_EQ(image->Width(), 8);

        layer.SetTransparentColor(LedColor(0x12, 0x34, 0x56));
        EXPECT_EQ(image->Picture()->Bitmap()->TransparentColor(), 0x563412);
        EXPECT_EQ(layer.TransparentColor(), LedColor(0x12, 0x34, 0x56, 255));
        EXPECT_FALSE(layer.Transparent());
        layer.SetTransparent(true);
        EXPECT_TRUE(image->Transparent());
        EXPECT_TRUE(layer.Transparent());
    }
    EXPECT_EQ(parent->ComponentCount(), 0); // the layer freed its image
    EXPECT_EQ(parent->ControlCount(), 0);
}

namespace {

// Owns a layer over an image it also owns, and deletes the layer in its own
// destructor: by then Free has marked the image as being destroyed.
class TLayerHost : public TWinControl {
public:
    TLayerHost() : TWinControl(nullptr), Layer(new ImageLayerType(this, this)) {}
    ~TLayerHost() override { delete Layer; }
    ImageLayerType* Layer;
};

} // namespace

TEST(ImageLayer, NeverTouchesAnImageItsOwnerOrParentAlreadyFreed)
{
    // The owner goes first.
    auto* owner = new TComponent(nullptr);
    auto* parent = new TWinControl(nullptr);
    auto* layer = new ImageLayerType(owner, parent);
    layer->SetImageSize(4, 4);
    ImagePainter painter(layer);
    owner->Free();
    EXPECT_EQ(layer->Image(), nullptr);
    EXPECT_EQ(layer->Canvas(), nullptr);
    EXPECT_EQ(parent->ControlCount(), 0);
    // Drawing, sizing and moving on a layer without image do nothing.
    painter.FillRect(MakeRect(0, 0, 2, 2));
    const Point points[] = {{0, 0}, {2, 0}, {2, 2}};
    painter.FillPolygon(points, 3);
    layer->SetImageSize(8, 8);
    layer->MoveBy(1, 1);
    layer->SetTransparent(true);
    layer->Repaint();
    EXPECT_EQ(layer->Width(), 0);
    EXPECT_FALSE(layer->Transparent());
    delete layer;
    parent->Free();

    // The parent frees its child controls, the image among them.
    owner = new TComponent(nullptr);
    parent = new TWinControl(nullptr);
    layer = new ImageLayerType(owner, parent);
    parent->Free();
    EXPECT_EQ(layer->Image(), nullptr);
    EXPECT_EQ(owner->ComponentCount(), 0);
    delete layer;
    owner->Free();

    // The layer goes first: it frees the image.
    owner = new TComponent(nullptr);
    parent = new TWinControl(nullptr);
    layer = new ImageLayerType(owner, parent);
    delete layer;
    EXPECT_EQ(owner->ComponentCount(), 0);
    EXPECT_EQ(parent->ControlCount(), 0);
    owner->Free();
    parent->Free();

    // The owner marks the image as being destroyed, deletes the layer, then
    // frees the image itself; and the same owner deleted without Free.
    auto* host = new TLayerHost;
    host->Layer->SetImageSize(3, 3);
    host->Free();
    host = new TLayerHost;
    delete host;
}

TEST(SimplePainter, DrawsFilledAndOutlinedShapesInItsColour)
{
    auto* parent = new TWinControl(nullptr);
    ImageLayerType layer(parent, parent);
    layer.SetImageSize(30, 30);
    ImagePainter painter(&layer);
    EXPECT_EQ(painter.Color(), LedColor::FromValue(0xFFFFFFFF));
    TCanvas* c = layer.Canvas();
    painter.SetColor(LedColor(255, 0, 0));
    painter.FillRect(MakeRect(0, 0, 10, 10));
    EXPECT_EQ(PixelOf(c, 0, 0), Red);
    EXPECT_EQ(PixelOf(c, 9, 9), Red);
    EXPECT_EQ(PixelOf(c, 10, 10), White);
    // The pen and brush keep the painter's colour afterwards.
    EXPECT_EQ(c->Pen()->Color(), Red);
    EXPECT_EQ(c->Brush()->Color(), Red);
    EXPECT_EQ(c->Brush()->Style(), bsSolid);

    painter.SetColor(LedColor(0, 0, 255));
    painter.FrameRect(MakeRect(0, 0, 10, 10));
    EXPECT_EQ(PixelOf(c, 0, 0), Blue);
    EXPECT_EQ(PixelOf(c, 5, 5), Red);

    const Point triangle[] = {{12, 0}, {28, 0}, {12, 16}};
    painter.SetColor(LedColor(0, 255, 0));
    painter.FillPolygon(triangle, 3);
    EXPECT_EQ(PixelOf(c, 15, 3), Green);
    painter.SetColor(LedColor(0, 0, 0));
    painter.FramePolygon(triangle, 3);
    EXPECT_EQ(PixelOf(c, 15, 3), Green);
    EXPECT_EQ(PixelOf(c, 12, 8), Black);

    painter.FillEllipse(MakeRect(0, 20, 10, 30));
    EXPECT_EQ(PixelOf(c, 5, 25), Black);
    painter.SetColor(LedColor(255, 0, 0));
    painter.FrameEllipse(MakeRect(0, 20, 10, 30));
    EXPECT_EQ(PixelOf(c, 5, 25), Black);
    EXPECT_EQ(PixelOf(c, 0, 25), Red);

    painter.EraseRect(MakeRect(0, 0, 30, 30));
    EXPECT_EQ(PixelOf(c, 5, 25), White);

    // A rounded rectangle figure shows entirely in its outline colour.
    RoundRectFigure<ImagePainter> figure(RoundRect(2, 2, 22, 12, 6, 6), &painter);
    figure.SetFillColor(LedColor(255, 0, 0));
    figure.SetFrameColor(LedColor(0, 0, 255));
    figure.Draw();
    for (int y = 2; y < 12; ++y)
        for (int x = 2; x < 22; ++x) {
            const TColor pixel = PixelOf(c, x, y);
            EXPECT_TRUE(pixel == Blue || pixel == White) << x << "," << y;
        }
    EXPECT_EQ(PixelOf(c, 12, 7), Blue);
    figure.Erase();
    EXPECT_EQ(PixelOf(c, 12, 7), White);
    parent->Free();
}

TEST(SimplePainter, DrawsTheSameWhateverStateItFindsTheCanvasIn)
{
    const TOwned<TWinControl> parent(new TWinControl(nullptr));
    ImageLayerType layer(parent.get(), parent.get());
    layer.SetImageSize(40, 40);
    ImagePainter painter(&layer);
    TCanvas* c = layer.Canvas();
    // What a caption drawer may leave behind: a clear brush, an XOR pen, a dashed pen.
    auto leaveOddState = [c] {
        c->Brush()->SetStyle(bsClear);
        c->Brush()->SetColor(Blue);
        c->Pen()->SetMode(pmXor);
        c->Pen()->SetStyle(psDash);
        c->Pen()->SetColor(Blue);
    };
    auto expectArea = [c](int left, int top, int right, int bottom, const std::function<TColor(int, int)>& colour,
                          const char* what) {
        for (int y = top; y < bottom; ++y)
            for (int x = left; x < right; ++x)
                ASSERT_EQ(PixelOf(c, x, y), colour(x, y)) << what << " at " << x << "," << y;
    };

    leaveOddState();
    painter.SetColor(LedColor(255, 0, 0));
    painter.FillRect(MakeRect(0, 0, 10, 10));
    expectArea(0, 0, 12, 12, [](int x, int y) { return x < 10 && y < 10 ? Red : White; }, "filled rectangle");

    leaveOddState();
    painter.SetColor(LedColor(0, 255, 0));
    painter.FrameRect(MakeRect(20, 0, 36, 16));
    expectArea(20, 0, 36, 16,
               [](int x, int y) { return x == 20 || x == 35 || y == 0 || y == 15 ? Green : White; }, "outline");

    leaveOddState();
    const Point block[] = {{0, 20}, {15, 20}, {15, 35}, {0, 35}};
    painter.SetColor(LedColor(0, 0, 0));
    painter.FillPolygon(block, 4);
    expectArea(0, 20, 16, 36, [](int, int) { return Black; }, "filled polygon");
    leaveOddState();
    painter.SetColor(LedColor(0, 0, 255));
    painter.FramePolygon(block, 4);
    expectArea(0, 20, 16, 36, [](int x, int y) { return x == 0 || x == 15 || y == 20 || y == 35 ? Blue : Black; },
               "polygon outline");

    // Erasing fills in the background colour whatever the brush was, and
    // puts the caller's brush back.
    leaveOddState();
    layer.GetCanvasLayer()->SetBackgroundColor(Green);
    painter.EraseRect(MakeRect(0, 0, 40, 40));
    expectArea(0, 0, 40, 40, [](int, int) { return Green; }, "erased");
    EXPECT_EQ(c->Brush()->Style(), bsClear);
    EXPECT_EQ(c->Brush()->Color(), Blue);
    leaveOddState();
    layer.GetCanvasLayer()->SetBackgroundColor(Red);
    layer.SetImageSize(44, 40);
    expectArea(36, 0, 44, 40, [](int x, int) { return x < 40 ? Green : Red; }, "grown");
}

} // namespace loom
