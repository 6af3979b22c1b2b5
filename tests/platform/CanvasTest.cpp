#include "platform/Bitmap.h"

#include <gtest/gtest.h>

using namespace platform;

namespace {

// A 24-bit bitmap filled with one colour, drawn on through its canvas.
struct TSurface {
    TBitmap Bitmap;
    explicit TSurface(int width = 10, int height = 10, TColor fill = clWhite)
    {
        Bitmap.SetPixelFormat(pf24bit);
        Bitmap.SetSize(width, height);
        Fill(fill);
    }
    void Fill(TColor color)
    {
        const TColor old = Canvas()->Brush()->Color();
        Canvas()->Brush()->SetColor(color);
        Canvas()->FillRect(Rect(0, 0, Bitmap.Width(), Bitmap.Height()));
        Canvas()->Brush()->SetColor(old);
    }
    TCanvas* Canvas() { return Bitmap.Canvas(); }
    TColor At(int x, int y) { return Canvas()->Pixel(x, y); }
    bool Contains(TColor color, const TRect& r)
    {
        for (int y = r.top; y < r.bottom; ++y)
            for (int x = r.left; x < r.right; ++x)
                if (At(x, y) == color)
                    return true;
        return false;
    }
};

} // namespace

TEST(Canvas, OutlineShapesLeaveTheInsideAndSolidShapesFillIt)
{
    TSurface s;
    TCanvas* c = s.Canvas();
    c->Pen()->SetColor(clRed);
    c->Brush()->SetStyle(bsClear);
    c->Rectangle(1, 1, 9, 9);
    EXPECT_EQ(s.At(1, 5), clRed);
    EXPECT_EQ(s.At(8, 5), clRed);
    EXPECT_EQ(s.At(9, 5), clWhite); // right and bottom are exclusive
    EXPECT_EQ(s.At(4, 4), clWhite);
    c->Brush()->SetStyle(bsSolid);
    c->Brush()->SetColor(clBlue);
    c->Rectangle(1, 1, 9, 9);
    EXPECT_EQ(s.At(4, 4), clBlue);
    EXPECT_EQ(s.At(1, 1), clRed);

    s.Fill(clWhite);
    c->Brush()->SetStyle(bsClear);
    c->Ellipse(0, 0, 10, 10);
    EXPECT_EQ(s.At(5, 5), clWhite);
    EXPECT_EQ(s.At(0, 0), clWhite); // outside the curve
    EXPECT_TRUE(s.Contains(clRed, Rect(0, 4, 2, 6)));
    c->Brush()->SetStyle(bsSolid);
    c->Ellipse(0, 0, 10, 10);
    EXPECT_EQ(s.At(5, 5), clBlue);
    EXPECT_EQ(s.At(0, 0), clWhite);

    // A polygon is closed: the last point joins the first.
    s.Fill(clWhite);
    const TPoint triangle[] = {Point(1, 1), Point(8, 1), Point(1, 8)};
    c->Brush()->SetStyle(bsClear);
    c->Polygon(triangle, 3);
    EXPECT_EQ(s.At(1, 5), clRed);
    EXPECT_EQ(s.At(4, 1), clRed);
    EXPECT_EQ(s.At(3, 3), clWhite);
    c->Brush()->SetStyle(bsSolid);
    c->Polygon(triangle, 3);
    EXPECT_EQ(s.At(3, 3), clBlue);
    EXPECT_EQ(s.At(7, 7), clWhite);

    s.Fill(clWhite);
    c->RoundRect(0, 0, 10, 10, 6, 6);
    EXPECT_EQ(s.At(0, 0), clWhite); // the corner is cut
    EXPECT_EQ(s.At(5, 0), clRed);
    EXPECT_EQ(s.At(5, 5), clBlue);

    c->Brush()->SetColor(clLime);
    c->FrameRect(Rect(2, 2, 8, 8));
    EXPECT_EQ(s.At(2, 5), clLime);
    EXPECT_EQ(s.At(7, 5), clLime);
    EXPECT_EQ(s.At(3, 5), clBlue);
}

TEST(Canvas, NewToolsAreSelectedForTheNextCall)
{
    TSurface s(40, 40);
    TCanvas* c = s.Canvas();
    c->Pen()->SetColor(clRed);
    c->MoveTo(0, 2);
    c->LineTo(20, 2);
    c->Pen()->SetColor(clBlue);
    c->Pen()->SetWidth(3);
    c->MoveTo(0, 10);
    c->LineTo(20, 10);
    EXPECT_EQ(s.At(5, 2), clRed);
    EXPECT_EQ(s.At(5, 9), clBlue);
    EXPECT_EQ(s.At(5, 11), clBlue);
    TPen pen;
    pen.SetColor(clLime);
    c->SetPen(&pen);
    c->MoveTo(0, 15);
    c->LineTo(20, 15);
    EXPECT_EQ(s.At(5, 15), clLime);

    c->Brush()->SetColor(clRed);
    c->FillRect(Rect(0, 0, 5, 5));
    c->Brush()->SetColor(clLime);
    c->FillRect(Rect(5, 0, 10, 5));
    EXPECT_EQ(s.At(1, 1), clRed);
    EXPECT_EQ(s.At(6, 1), clLime);

    s.Fill(clWhite);
    c->Brush()->SetStyle(bsClear);
    c->Font()->SetHeight(-14);
    c->Font()->SetColor(clRed);
    c->TextOut(0, 0, "WWW");
    c->Font()->SetColor(clBlue);
    c->TextOut(0, 20, "WWW");
    EXPECT_TRUE(s.Contains(clRed, Rect(0, 0, 40, 20)));
    EXPECT_TRUE(s.Contains(clBlue, Rect(0, 20, 40, 40)));
    EXPECT_FALSE(s.Contains(clRed, Rect(0, 20, 40, 40)));
    EXPECT_FALSE(s.Contains(clBlue, Rect(0, 0, 40, 20)));
    EXPECT_GT(c->TextWidth("WWW"), c->TextWidth("W"));
}

TEST(Canvas, CopyModesCombineSourceAndDestination)
{
    TSurface source(4, 4, clBlue), dest(4, 4, clLime);
    TCanvas* c = dest.Canvas();
    EXPECT_EQ(c->CopyMode(), DWORD(SRCCOPY));
    c->SetCopyMode(SRCINVERT);
    c->CopyRect(Rect(0, 0, 2, 2), source.Canvas(), Rect(0, 0, 2, 2));
    EXPECT_EQ(dest.At(1, 1), clAqua);
    EXPECT_EQ(dest.At(3, 3), clLime);
    c->CopyRect(Rect(0, 0, 2, 2), source.Canvas(), Rect(0, 0, 2, 2));
    EXPECT_EQ(dest.At(1, 1), clLime); // inverting twice restores it
    c->SetCopyMode(SRCCOPY);
    c->CopyRect(Rect(2, 2, 4, 4), source.Canvas(), Rect(0, 0, 2, 2));
    EXPECT_EQ(dest.At(3, 3), clBlue);

    // Draw follows the copy mode of the destination as well.
    c->SetCopyMode(SRCINVERT);
    c->Draw(0, 0, &source.Bitmap);
    EXPECT_EQ(dest.At(0, 0), clAqua);
    EXPECT_EQ(dest.At(3, 3), clBlack);
}

TEST(Canvas, TransparentPicturesLeaveTheirKeyColourOut)
{
    // A 4 x 4 picture: fuchsia border (the bottom-left pixel), red middle.
    TSurface picture(4, 4, clFuchsia);
    picture.Canvas()->Brush()->SetColor(clRed);
    picture.Canvas()->FillRect(Rect(1, 1, 3, 3));
    TSurface dest(8, 8, clWhite);
    {
        int changes = 0;
        dest.Bitmap.OnChange = [&](TObject*) { ++changes; };
        dest.Canvas()->Draw(0, 0, &picture.Bitmap);
        EXPECT_EQ(changes, 1);
    }
    EXPECT_EQ(dest.At(0, 0), clFuchsia);
    EXPECT_EQ(dest.At(1, 1), clRed);

    dest.Fill(clWhite);
    picture.Bitmap.SetTransparent(true);
    dest.Canvas()->Draw(0, 0, &picture.Bitmap);
    EXPECT_EQ(dest.At(0, 0), clWhite);
    EXPECT_EQ(dest.At(3, 3), clWhite);
    EXPECT_EQ(dest.At(1, 1), clRed);
    EXPECT_EQ(dest.At(2, 2), clRed);

    // A fixed colour leaves that colour out instead.
    dest.Fill(clWhite);
    picture.Bitmap.SetTransparentColor(clRed);
    dest.Canvas()->Draw(4, 4, &picture.Bitmap);
    EXPECT_EQ(dest.At(4, 4), clFuchsia);
    EXPECT_EQ(dest.At(5, 5), clWhite);

    // Stretched and from a palette picture alike.
    dest.Fill(clWhite);
    picture.Bitmap.SetTransparentMode(tmAuto);
    picture.Bitmap.SetPixelFormat(pf8bit);
    dest.Canvas()->StretchDraw(Rect(0, 0, 8, 8), &picture.Bitmap);
    EXPECT_EQ(dest.At(0, 0), clWhite);
    EXPECT_EQ(dest.At(7, 7), clWhite);
    EXPECT_EQ(dest.At(3, 3), clRed);
    EXPECT_EQ(dest.At(4, 4), clRed);
    EXPECT_EQ(dest.At(1, 1), clWhite);

    // An empty picture draws nothing and changes nothing.
    TBitmap empty;
    int changes = 0;
    dest.Bitmap.OnChange = [&](TObject*) { ++changes; };
    dest.Canvas()->Draw(0, 0, &empty);
    EXPECT_EQ(changes, 0);
}
