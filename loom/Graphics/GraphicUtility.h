// Canvas helpers shared by the painter, the bitmap figure and the image layer.
// Each shape function changes one piece of canvas state for the one canvas
// call it makes and puts it back, so a caller can set pen and brush once and
// mix outline and solid drawing freely.
#pragma once

#include "loom/Graphics/LedColor.h"
#include "platform/Bitmap.h"

namespace loom {

// Outline in the pen; the interior is left as it was (brush cleared for the call).
void DrawRectangle(platform::TCanvas* canvas, const platform::TRect& rect);
void DrawEllipse(platform::TCanvas* canvas, const platform::TRect& rect);
// The closed outline through all count points.
void DrawPolygonShape(platform::TCanvas* canvas, const platform::TPoint* points, int count);

// Filled with the brush, the border drawn in the brush colour (pen colour
// set to the brush colour for the call).
void FillRectangle(platform::TCanvas* canvas, const platform::TRect& rect);
void FillEllipseShape(platform::TCanvas* canvas, const platform::TRect& rect);
void FillRoundRectangle(platform::TCanvas* canvas, const platform::TRect& rect, int cornerWidth, int cornerHeight);
void FillPolygonShape(platform::TCanvas* canvas, const platform::TPoint* points, int count);

inline int RectWidth(const platform::TRect& rect) { return rect.right - rect.left; }
inline int RectHeight(const platform::TRect& rect) { return rect.bottom - rect.top; }
inline platform::TRect MakeRect(int left, int top, int right, int bottom)
{
    return platform::TRect{left, top, right, bottom};
}
inline void MakeRect(platform::TRect& rect, int left, int top, int right, int bottom)
{
    rect = MakeRect(left, top, right, bottom);
}

// Copies sourceRect of the bitmap unscaled so that its top-left corner lands
// at (x, y), with plain source copy whatever the canvas's copy mode is.
void CopyBitmapRect(platform::TCanvas* dest, int x, int y, platform::TBitmap* source,
                    const platform::TRect& sourceRect);

// The low 24 bits as a platform colour; the alpha byte is dropped.
inline platform::TColor ToColorRef(LedColor color)
{
    return static_cast<platform::TColor>(color.Value() & 0xFFFFFFu);
}

} // namespace loom
