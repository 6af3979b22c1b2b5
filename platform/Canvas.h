// A drawing surface over a device context, with its own font, pen and brush
// (selected into the context when a drawing call needs them) and copy mode.
#pragma once

#include "platform/Graphics.h"

#include <string>

namespace platform {

using TRect = RECT;
using TPoint = POINT;

inline TRect Rect(int Left, int Top, int Right, int Bottom) { return TRect{Left, Top, Right, Bottom}; }
inline TPoint Point(int X, int Y) { return TPoint{X, Y}; }

class TCanvas;

// A picture that draws itself on a canvas (bitmaps, icons).
class TGraphic : public TPersistent {
    PLATFORM_CLASS(TGraphic, TPersistent)
public:
    // Raised once for every change of the picture.
    TNotifyEvent OnChange;

    virtual int Width() const = 0;
    virtual int Height() const = 0;
    virtual void SetWidth(int Value) = 0;
    virtual void SetHeight(int Value) = 0;
    virtual bool Empty() const = 0;
    // Drawn with its transparent colour left out.
    bool Transparent() const { return FTransparent; }
    virtual void SetTransparent(bool Value);

protected:
    friend class TCanvas;
    virtual void Draw(TCanvas* ACanvas, const TRect& Rect) = 0;
    virtual void Changed();

private:
    bool FTransparent = false;
};

class TCanvas : public TPersistent {
    PLATFORM_CLASS(TCanvas, TPersistent)
public:
    TCanvas();
    ~TCanvas() override;

    // Creates the context on demand where the canvas knows how (a bitmap's, a control's).
    HDC Handle();
    void SetHandle(HDC Value);
    bool HandleAllocated() const { return FHandle != nullptr; }

    TFont* Font() const { return FFont; }
    TPen* Pen() const { return FPen; }
    TBrush* Brush() const { return FBrush; }
    void SetFont(TFont* Value) { FFont->Assign(Value); }
    void SetPen(TPen* Value) { FPen->Assign(Value); }
    void SetBrush(TBrush* Value) { FBrush->Assign(Value); }
    // A raster operation (SRCCOPY by default) used by CopyRect and Draw.
    DWORD CopyMode() const { return FCopyMode; }
    void SetCopyMode(DWORD Value) { FCopyMode = Value; }

    TPoint PenPos();
    void MoveTo(int X, int Y);
    void LineTo(int X, int Y);
    void Rectangle(int X1, int Y1, int X2, int Y2);
    void Rectangle(const TRect& R) { Rectangle(R.left, R.top, R.right, R.bottom); }
    void Ellipse(int X1, int Y1, int X2, int Y2);
    void Ellipse(const TRect& R) { Ellipse(R.left, R.top, R.right, R.bottom); }
    void RoundRect(int X1, int Y1, int X2, int Y2, int X3, int Y3);
    void Polygon(const TPoint* Points, int Count);
    void FillRect(const TRect& R);
    void FrameRect(const TRect& R);
    void CopyRect(const TRect& Dest, TCanvas* Source, const TRect& SourceRect);
    void Draw(int X, int Y, TGraphic* Graphic);
    void StretchDraw(const TRect& R, TGraphic* Graphic);
    TColor Pixel(int X, int Y);
    void SetPixel(int X, int Y, TColor Color);
    void TextOut(int X, int Y, const std::string& Text);
    // Text clipped to R, starting at (X, Y).
    void TextRect(const TRect& R, int X, int Y, const std::string& Text);
    SIZE TextExtent(const std::string& Text);
    int TextWidth(const std::string& Text) { return TextExtent(Text).cx; }
    int TextHeight(const std::string& Text) { return TextExtent(Text).cy; }

    // Raised before and after every drawing call.
    TNotifyEvent OnChanging;
    TNotifyEvent OnChange;

protected:
    virtual void CreateHandle() {}
    virtual void Changing();
    virtual void Changed();
    // Selects the font, pen and brush that the next call needs.
    enum TState { HandleValid = 1, FontValid = 2, PenValid = 4, BrushValid = 8 };
    void RequiredState(unsigned State);
    // Puts the stock objects back so the tools' handles can be freed.
    void DeselectHandles();

private:
    HDC FHandle = nullptr;
    unsigned FState = 0;
    TFont* FFont;
    TPen* FPen;
    TBrush* FBrush;
    DWORD FCopyMode = SRCCOPY;
    HGDIOBJ FStockPen = nullptr, FStockBrush = nullptr, FStockFont = nullptr;
};

} // namespace platform
