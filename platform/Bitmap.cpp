#include "platform/Bitmap.h"
#include "platform/BmpFile.h"
#include "platform/GdiScope.h"

#include <algorithm>
#include <cstring>
#include <new>

namespace platform {

namespace {

[[noreturn]] void InvalidBitmap()
{
    throw EInvalidGraphic("Bitmap image is not valid");
}

[[noreturn]] void OutOfResources()
{
    throw EOutOfResources("Out of system resources");
}

// Selects two bitmaps into fresh memory contexts for one block transfer.
void BlitImage(HBITMAP Dest, HBITMAP Source, int Width, int Height)
{
    TBitmapCanvas::DeselectBitmap(Source);
    TBitmapCanvas::DeselectBitmap(Dest);
    bool ok;
    {
        const TMemoryDC source, dest;
        const TSelectedObject sourceBitmap(source.Get(), Source), destBitmap(dest.Get(), Dest);
        ok = sourceBitmap && destBitmap && BitBlt(dest.Get(), 0, 0, Width, Height, source.Get(), 0, 0, SRCCOPY);
    }
    if (!ok)
        OutOfResources();
}

// A DIB section copy of Source with the same layout (a device-dependent
// bitmap becomes a 32-bit one).
TDib CopyImage(const TDib& Source)
{
    if (!Source.Bits) {
        TDib image = CreateImage(Source.Width, Source.Height, 32, Masks888, {});
        TGdiObject<HBITMAP> owned(image.Handle);
        BlitImage(image.Handle, Source.Handle, Source.Width, Source.Height);
        owned.Release();
        return image;
    }
    GdiFlush();
    TDib image = CreateImage(Source.Width, Source.Height, Source.BitCount, Source.Masks, Source.Palette);
    for (int y = 0; y < Source.Height; ++y)
        std::memcpy(image.Row(y), Source.Row(y), static_cast<size_t>(image.Stride));
    return image;
}

std::vector<TBitmapCanvas*>& BitmapCanvases()
{
    static std::vector<TBitmapCanvas*>& canvases = *new std::vector<TBitmapCanvas*>;
    return canvases;
}

} // namespace

// ---------------------------------------------------------------- TBitmapCanvas

const TClassInfo& TBitmapCanvas::StaticClassInfo()
{
    static const TClassInfo& info = TClassBuilder<TBitmapCanvas, TCanvas>("TBitmapCanvas").Build();
    return info;
}

TBitmapCanvas::~TBitmapCanvas()
{
    FreeContext();
}

void TBitmapCanvas::CreateHandle()
{
    HDC dc = CreateCompatibleDC(nullptr);
    if (!dc)
        OutOfResources();
    if (HBITMAP handle = FBitmap->FImage.Handle) {
        DeselectBitmap(handle);
        FOldBitmap = SelectObject(dc, handle);
        if (!FOldBitmap) {
            DeleteDC(dc);
            OutOfResources();
        }
        FSelected = handle;
    }
    SetHandle(dc);
    BitmapCanvases().push_back(this);
}

void TBitmapCanvas::FreeContext()
{
    if (!HandleAllocated())
        return;
    HDC dc = Handle();
    SetHandle(nullptr);
    if (FOldBitmap)
        SelectObject(dc, FOldBitmap);
    DeleteDC(dc);
    FSelected = nullptr;
    FOldBitmap = nullptr;
    auto& canvases = BitmapCanvases();
    canvases.erase(std::remove(canvases.begin(), canvases.end(), this), canvases.end());
}

void TBitmapCanvas::DeselectBitmap(HBITMAP Handle)
{
    if (!Handle)
        return;
    const std::vector<TBitmapCanvas*> canvases = BitmapCanvases();
    for (TBitmapCanvas* canvas : canvases)
        if (canvas->FSelected == Handle)
            canvas->FreeContext();
}

void TBitmapCanvas::Changed()
{
    inherited::Changed();
    FBitmap->Changed();
}

// ---------------------------------------------------------------- TBitmap

const TClassInfo& TBitmap::StaticClassInfo()
{
    static const TClassInfo& info = TClassBuilder<TBitmap, TGraphic>("TBitmap")
        .Binary("Data", &TBitmap::Data, &TBitmap::SetData)
        .Build();
    return info;
}

TBitmap::TBitmap() = default;

TBitmap::~TBitmap()
{
    if (FCanvas) {
        FCanvas->FreeContext();
        delete FCanvas;
    }
    if (FImage.Handle)
        DeleteObject(FImage.Handle);
}

void TBitmap::Changed()
{
    inherited::Changed();
}

void TBitmap::ReplaceImage(TDib&& Image, TPixelFormat Format)
{
    if (FCanvas)
        FCanvas->FreeContext();
    if (FImage.Handle && FImage.Handle != Image.Handle)
        DeleteObject(FImage.Handle);
    FImage = std::move(Image);
    FPixelFormat = Format;
}

void TBitmap::DIBNeeded()
{
    if (FImage.Handle && !FImage.Bits)
        ReplaceImage(CopyImage(FImage), FPixelFormat);
}

void TBitmap::Assign(TPersistent* Source)
{
    if (Source == this)
        return;
    if (!Source) {
        ReplaceImage(TDib(), FPixelFormat);
        FWidth = FHeight = 0;
        Changed();
        return;
    }
    auto* bitmap = dynamic_cast<TBitmap*>(Source);
    if (!bitmap) {
        inherited::Assign(Source);
        return;
    }
    TDib copy = bitmap->FImage.Handle ? CopyImage(bitmap->FImage) : TDib();
    ReplaceImage(std::move(copy), bitmap->FPixelFormat);
    FWidth = bitmap->FWidth;
    FHeight = bitmap->FHeight;
    FTransparentColor = bitmap->FTransparentColor;
    FTransparentMode = bitmap->FTransparentMode;
    Changed();
}

void TBitmap::SetWidth(int Value)
{
    SetSize(Value, FHeight);
}

void TBitmap::SetHeight(int Value)
{
    SetSize(FWidth, Value);
}

void TBitmap::SetSize(int AWidth, int AHeight)
{
    AWidth = std::max(AWidth, 0);
    AHeight = std::max(AHeight, 0);
    if (AWidth == FWidth && AHeight == FHeight)
        return;
    if (AWidth == 0 || AHeight == 0) {
        ReplaceImage(TDib(), FPixelFormat);
    } else {
        DIBNeeded();
        ReplaceImage(ResizeImage(FImage, AWidth, AHeight, FPixelFormat), FPixelFormat);
    }
    FWidth = AWidth;
    FHeight = AHeight;
    Changed();
}

void TBitmap::SetPixelFormat(TPixelFormat Value)
{
    if (Value == FPixelFormat)
        return;
    if (Value == pfCustom)
        throw EInvalidGraphicOperation("Cannot convert a bitmap to a custom pixel format");
    if (FImage.Handle) {
        DIBNeeded();
        ReplaceImage(ConvertImage(FImage, Value), Value);
    }
    FPixelFormat = Value;
    Changed();
}

uint8_t* TBitmap::ScanLine(int Row)
{
    if (Row < 0 || Row >= FHeight || Empty())
        throw ERangeError("Scan line index out of range");
    DIBNeeded();
    GdiFlush();
    return FImage.Row(Row);
}

TColor TBitmap::TransparentColor() const
{
    if (FTransparentMode == tmFixed)
        return FTransparentColor;
    if (Empty())
        return clDefault;
    if (!FImage.Bits)
        return static_cast<TColor>(GetPixel(const_cast<TBitmap*>(this)->Canvas()->Handle(), 0, FHeight - 1) & 0xFFFFFF);
    GdiFlush();
    return static_cast<TColor>(PixelColor(FImage, 0, FHeight - 1));
}

void TBitmap::SetTransparentColor(TColor Value)
{
    if (FTransparentMode == tmFixed && Value == FTransparentColor)
        return;
    FTransparentColor = Value;
    FTransparentMode = tmFixed;
    Changed();
}

void TBitmap::SetTransparentMode(TTransparentMode Value)
{
    if (Value == FTransparentMode)
        return;
    if (Value == tmFixed)
        FTransparentColor = TransparentColor();
    FTransparentMode = Value;
    Changed();
}

HBITMAP TBitmap::Handle()
{
    if (FCanvas)
        FCanvas->FreeContext();
    return FImage.Handle;
}

void TBitmap::SetHandle(HBITMAP Value)
{
    if (Value == FImage.Handle)
        return;
    if (!Value) {
        ReplaceImage(TDib(), FPixelFormat);
        FWidth = FHeight = 0;
        Changed();
        return;
    }
    TBitmapCanvas::DeselectBitmap(Value);
    TDib image = DescribeHandle(Value);
    const TPixelFormat format = image.Bits ? FormatOf(image) : pfDevice;
    FWidth = image.Width;
    FHeight = image.Height;
    ReplaceImage(std::move(image), format);
    Changed();
}

HBITMAP TBitmap::ReleaseHandle()
{
    if (FCanvas)
        FCanvas->FreeContext();
    HBITMAP handle = FImage.Handle;
    const bool wasEmpty = Empty() && !handle;
    FImage = TDib();
    FWidth = FHeight = 0;
    if (!wasEmpty)
        Changed();
    return handle;
}

TCanvas* TBitmap::Canvas()
{
    if (!FCanvas)
        FCanvas = new TBitmapCanvas(this);
    return FCanvas;
}

void TBitmap::Draw(TCanvas* ACanvas, const TRect& Rect)
{
    if (Empty())
        return;
    HDC source = Canvas()->Handle();
    HDC dest = ACanvas->Handle();
    const int w = Rect.right - Rect.left, h = Rect.bottom - Rect.top;
    if (Transparent()) {
        TransparentBlt(dest, Rect.left, Rect.top, w, h, source, 0, 0, FWidth, FHeight,
                       ColorToRGB(TransparentColor()));
    } else {
        const int oldMode = SetStretchBltMode(dest, COLORONCOLOR);
        StretchBlt(dest, Rect.left, Rect.top, w, h, source, 0, 0, FWidth, FHeight, ACanvas->CopyMode());
        SetStretchBltMode(dest, oldMode);
    }
}

void TBitmap::LoadFromFile(const std::string& FileName)
{
    TFileStream stream(FileName, fmOpenRead);
    LoadFromStream(&stream);
}

void TBitmap::SaveToFile(const std::string& FileName) const
{
    TFileStream stream(FileName, fmCreate);
    SaveToStream(&stream);
}

void TBitmap::LoadFromStream(TStream* Stream)
{
    TPixelFormat format = pfDevice;
    TDib image;
    try {
        image = CreateImage(ReadBmp(Stream), format);
    } catch (const EStreamError&) {
        InvalidBitmap();
    } catch (const EReadError&) {
        InvalidBitmap();
    } catch (const EOutOfResources&) {
        InvalidBitmap();
    } catch (const std::bad_alloc&) {
        InvalidBitmap();
    }
    FWidth = image.Width;
    FHeight = image.Height;
    ReplaceImage(std::move(image), format);
    Changed();
}

void TBitmap::SaveToStream(TStream* Stream) const
{
    if (Empty())
        return;
    if (!FImage.Bits) {
        TDib copy = CopyImage(FImage);
        TBmpImage picture;
        {
            const TGdiObject<HBITMAP> owned(copy.Handle);
            picture = DescribeImage(copy);
        }
        WriteBmp(picture, Stream);
        return;
    }
    GdiFlush();
    WriteBmp(DescribeImage(FImage), Stream);
}

std::vector<uint8_t> TBitmap::Data() const
{
    if (Empty())
        return {};
    TMemoryStream stream;
    stream.SetSize(4);
    stream.SetPosition(4);
    SaveToStream(&stream);
    std::vector<uint8_t> bytes = stream.Bytes();
    PutLE32(bytes.data(), static_cast<uint32_t>(bytes.size() - 4));
    return bytes;
}

void TBitmap::SetData(const std::vector<uint8_t>& Value)
{
    if (Value.size() < 4)
        InvalidBitmap();
    const uint32_t length = GetLE32(Value.data());
    if (length > Value.size() - 4)
        InvalidBitmap();
    if (length == 0) {
        Assign(nullptr);
        return;
    }
    TMemoryStream stream(std::vector<uint8_t>(Value.begin() + 4, Value.begin() + 4 + length));
    LoadFromStream(&stream);
}

} // namespace platform
