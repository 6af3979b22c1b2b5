#include "loom/Graphics/GraphicUtility.h"

namespace loom {

using platform::TBrushStyle;
using platform::TCanvas;
using platform::TColor;
using platform::TPoint;
using platform::TRect;

namespace {

// Outline variant: the brush is cleared for one call.
template <class Call>
void Outlined(TCanvas* canvas, Call call)
{
    const TBrushStyle style = canvas->Brush()->Style();
    canvas->Brush()->SetStyle(platform::bsClear);
    try {
        call();
    } catch (...) {
        canvas->Brush()->SetStyle(style);
        throw;
    }
    canvas->Brush()->SetStyle(style);
}

// Solid variant: the pen takes the brush colour for one call.
template <class Call>
void Solid(TCanvas* canvas, Call call)
{
    const TColor color = canvas->Pen()->Color();
    canvas->Pen()->SetColor(canvas->Brush()->Color());
    try {
        call();
    } catch (...) {
        canvas->Pen()->SetColor(color);
        throw;
    }
    canvas->Pen()->SetColor(color);
}

} // namespace

void DrawRectangle(TCanvas* canvas, const TRect& rect)
{
    Outlined(canvas, [&] { canvas->Rectangle(rect); });
}

void DrawEllipse(TCanvas* canvas, const TRect& rect)
{
    Outlined(canvas, [&] { canvas->Ellipse(rect); });
}

void DrawPolygonShape(TCanvas* canvas, const TPoint* points, int count)
{
    Outlined(canvas, [&] { canvas->Polygon(points, count); });
}

void FillRectangle(TCanvas* canvas, const TRect& rect)
{
    Solid(canvas, [&] { canvas->Rectangle(rect); });
}

void FillEllipseShape(TCanvas* canvas, const TRect& rect)
{
    Solid(canvas, [&] { canvas->Ellipse(rect); });
}

void FillRoundRectangle(TCanvas* canvas, const TRect& rect, int cornerWidth, int cornerHeight)
{
    Solid(canvas, [&] { canvas->RoundRect(rect.left, rect.top, rect.right, rect.bottom, cornerWidth, cornerHeight); });
}

void FillPolygonShape(TCanvas* canvas, const TPoint* points, int count)
{
    Solid(canvas, [&] { canvas->Polygon(points, count); });
}

void CopyBitmapRect(TCanvas* dest, int x, int y, platform::TBitmap* source, const TRect& sourceRect)
{
    const DWORD mode = dest->CopyMode();
    dest->SetCopyMode(SRCCOPY);
    const TRect destRect = MakeRect(x, y, x + RectWidth(sourceRect), y + RectHeight(sourceRect));
    try {
        dest->CopyRect(destRect, source->Canvas(), sourceRect);
    } catch (...) {
        dest->SetCopyMode(mode);
        throw;
    }
    dest->SetCopyMode(mode);
}

} // namespace loom
