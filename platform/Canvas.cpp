#include "platform/Canvas.h"

#include <memory>

namespace platform {

const TClassInfo& TGraphic::StaticClassInfo()
{
    static const TClassInfo& info = TClassBuilder<TGraphic, TPersistent>("TGraphic").Build();
    return info;
}

void TGraphic::SetTransparent(bool Value)
{
    if (Value == FTransparent)
        return;
    FTransparent = Value;
    Changed();
}

void TGraphic::Changed()
{
    if (OnChange)
        OnChange(this);
}

const TClassInfo& TCanvas::StaticClassInfo()
{
    static const TClassInfo& info = TClassBuilder<TCanvas, TPersistent>("TCanvas").Build();
    return info;
}

TCanvas::TCanvas() : FFont(nullptr), FPen(nullptr), FBrush(nullptr)
{
    // All three or none: running out of memory for one frees the others.
    auto font = std::make_unique<TFont>();
    auto pen = std::make_unique<TPen>();
    auto brush = std::make_unique<TBrush>();
    FFont = font.release();
    FPen = pen.release();
    FBrush = brush.release();
    FFont->OnChange = [this](TObject*) {
        if (FState & FontValid) {
            FState &= ~FontValid;
            SelectObject(FHandle, FStockFont);
        }
    };
    FPen->OnChange = [this](TObject*) {
        if (FState & PenValid) {
            FState &= ~PenValid;
            SelectObject(FHandle, FStockPen);
        }
    };
    FBrush->OnChange = [this](TObject*) {
        if (FState & BrushValid) {
            FState &= ~BrushValid;
            SelectObject(FHandle, FStockBrush);
        }
    };
}

TCanvas::~TCanvas()
{
    SetHandle(nullptr);
    delete FFont;
    delete FPen;
    delete FBrush;
}

HDC TCanvas::Handle()
{
    if (!FHandle)
        CreateHandle();
    if (!FHandle)
        throw EInvalidOperation("Canvas does not allow drawing");
    return FHandle;
}

void TCanvas::SetHandle(HDC Value)
{
    if (Value == FHandle)
        return;
    if (FHandle)
        DeselectHandles();
    FHandle = Value;
    FState = Value ? HandleValid : 0;
    if (Value) {
        // Remember what the context had selected, to put it back before our tools go.
        FStockPen = GetCurrentObject(Value, OBJ_PEN);
        FStockBrush = GetCurrentObject(Value, OBJ_BRUSH);
        FStockFont = GetCurrentObject(Value, OBJ_FONT);
    }
}

void TCanvas::DeselectHandles()
{
    if (FState & (PenValid | BrushValid | FontValid)) {
        SelectObject(FHandle, FStockPen);
        SelectObject(FHandle, FStockBrush);
        SelectObject(FHandle, FStockFont);
    }
    FState &= ~(PenValid | BrushValid | FontValid);
}

void TCanvas::RequiredState(unsigned State)
{
    Handle();
    if ((State & FontValid) && !(FState & FontValid)) {
        SelectObject(FHandle, FFont->Handle());
        SetTextColor(FHandle, ColorToRGB(FFont->Color()));
        FState |= FontValid;
    }
    if ((State & PenValid) && !(FState & PenValid)) {
        static constexpr int Rops[] = {R2_BLACK, R2_WHITE, R2_NOP, R2_NOT, R2_COPYPEN, R2_NOTCOPYPEN,
                                       R2_MERGEPENNOT, R2_MASKPENNOT, R2_MERGENOTPEN, R2_MASKNOTPEN,
                                       R2_MERGEPEN, R2_NOTMERGEPEN, R2_MASKPEN, R2_NOTMASKPEN,
                                       R2_XORPEN, R2_NOTXORPEN};
        SelectObject(FHandle, FPen->Handle());
        SetROP2(FHandle, Rops[FPen->Mode()]);
        FState |= PenValid;
    }
    if ((State & BrushValid) && !(FState & BrushValid)) {
        SelectObject(FHandle, FBrush->Handle());
        SetBkColor(FHandle, ColorToRGB(FBrush->Color()));
        SetBkMode(FHandle, FBrush->Style() == bsSolid ? OPAQUE : TRANSPARENT);
        FState |= BrushValid;
    }
}

void TCanvas::Changing()
{
    if (OnChanging)
        OnChanging(this);
}

void TCanvas::Changed()
{
    if (OnChange)
        OnChange(this);
}

TPoint TCanvas::PenPos()
{
    TPoint p{0, 0};
    GetCurrentPositionEx(Handle(), &p);
    return p;
}

void TCanvas::MoveTo(int X, int Y)
{
    RequiredState(HandleValid);
    MoveToEx(FHandle, X, Y, nullptr);
}

void TCanvas::LineTo(int X, int Y)
{
    Changing();
    RequiredState(PenValid | BrushValid);
    ::LineTo(FHandle, X, Y);
    Changed();
}

void TCanvas::Rectangle(int X1, int Y1, int X2, int Y2)
{
    Changing();
    RequiredState(PenValid | BrushValid);
    ::Rectangle(FHandle, X1, Y1, X2, Y2);
    Changed();
}

void TCanvas::Ellipse(int X1, int Y1, int X2, int Y2)
{
    Changing();
    RequiredState(PenValid | BrushValid);
    ::Ellipse(FHandle, X1, Y1, X2, Y2);
    Changed();
}

void TCanvas::RoundRect(int X1, int Y1, int X2, int Y2, int X3, int Y3)
{
    Changing();
    RequiredState(PenValid | BrushValid);
    ::RoundRect(FHandle, X1, Y1, X2, Y2, X3, Y3);
    Changed();
}

void TCanvas::Polygon(const TPoint* Points, int Count)
{
    Changing();
    RequiredState(PenValid | BrushValid);
    ::Polygon(FHandle, Points, Count);
    Changed();
}

void TCanvas::FillRect(const TRect& R)
{
    Changing();
    RequiredState(BrushValid);
    ::FillRect(FHandle, &R, FBrush->Handle());
    Changed();
}

void TCanvas::FrameRect(const TRect& R)
{
    Changing();
    RequiredState(BrushValid);
    ::FrameRect(FHandle, &R, FBrush->Handle());
    Changed();
}

void TCanvas::CopyRect(const TRect& Dest, TCanvas* Source, const TRect& SourceRect)
{
    Changing();
    RequiredState(BrushValid);
    HDC source = Source->Handle();
    StretchBlt(FHandle, Dest.left, Dest.top, Dest.right - Dest.left, Dest.bottom - Dest.top, source,
               SourceRect.left, SourceRect.top, SourceRect.right - SourceRect.left,
               SourceRect.bottom - SourceRect.top, FCopyMode);
    Changed();
}

void TCanvas::Draw(int X, int Y, TGraphic* Graphic)
{
    if (!Graphic || Graphic->Empty())
        return;
    StretchDraw(Rect(X, Y, X + Graphic->Width(), Y + Graphic->Height()), Graphic);
}

void TCanvas::StretchDraw(const TRect& R, TGraphic* Graphic)
{
    if (!Graphic || Graphic->Empty())
        return;
    Changing();
    RequiredState(HandleValid);
    Graphic->Draw(this, R);
    Changed();
}

TColor TCanvas::Pixel(int X, int Y)
{
    RequiredState(HandleValid);
    return static_cast<TColor>(GetPixel(FHandle, X, Y));
}

void TCanvas::SetPixel(int X, int Y, TColor Color)
{
    Changing();
    RequiredState(HandleValid);
    ::SetPixel(FHandle, X, Y, ColorToRGB(Color));
    Changed();
}

void TCanvas::TextOut(int X, int Y, const std::string& Text)
{
    Changing();
    RequiredState(FontValid | BrushValid);
    ::TextOutA(FHandle, X, Y, Text.data(), static_cast<int>(Text.size()));
    Changed();
}

void TCanvas::TextRect(const TRect& R, int X, int Y, const std::string& Text)
{
    Changing();
    RequiredState(FontValid | BrushValid);
    const UINT options = ETO_CLIPPED | (FBrush->Style() == bsSolid ? ETO_OPAQUE : 0);
    ExtTextOutA(FHandle, X, Y, options, &R, Text.data(), static_cast<UINT>(Text.size()), nullptr);
    Changed();
}

SIZE TCanvas::TextExtent(const std::string& Text)
{
    RequiredState(FontValid);
    SIZE size{0, 0};
    GetTextExtentPoint32A(FHandle, Text.data(), static_cast<int>(Text.size()), &size);
    return size;
}

} // namespace platform
