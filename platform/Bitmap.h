// Bitmaps: a picture kept in a DIB section, with a canvas on it, scan lines,
// transparency, BMP files and the form-file Data form.
//
// Device contexts. A DIB section can be selected into one device context at
// a time. A bitmap's canvas selects the handle into its own memory context
// only while it draws, in this sense: the context stays until someone else
// needs the handle, and every path by which someone can need it takes it
// back first. Handle() frees the owner's context before it returns (the
// caller may select the handle anywhere), and a canvas about to select a
// handle first frees any other bitmap canvas that has the same handle
// selected (a temporary TBitmap that borrowed the handle with SetHandle).
// The canvas object itself, with its pen, brush, font and copy mode, lives
// as long as the bitmap; only its context comes and goes.
//
// Change notification. OnChange is raised exactly once for every change a
// caller makes: size, pixel format, each drawing call on the canvas,
// assignment, loading, a new or released handle, the transparent colour
// and mode, and Transparent. Nothing is raised for a request that changes
// nothing, or for a failed load (which leaves the bitmap exactly as it was).
// Scan lines are raw memory: after writing through them, call Changed().
#pragma once

#include "platform/Canvas.h"
#include "platform/Dib.h"
#include "platform/Stream.h"

#include <cstdint>
#include <string>
#include <vector>

namespace platform {

enum TTransparentMode { tmAuto, tmFixed };

class TBitmap;

class TBitmapCanvas : public TCanvas {
    PLATFORM_CLASS(TBitmapCanvas, TCanvas)
public:
    explicit TBitmapCanvas(TBitmap* Bitmap) : FBitmap(Bitmap) {}
    ~TBitmapCanvas() override;

    // Gives the handle back: deselects the bitmap and deletes the context.
    void FreeContext();
    // Frees the context of every bitmap canvas that has Handle selected.
    static void DeselectBitmap(HBITMAP Handle);

protected:
    void CreateHandle() override;
    void Changed() override;

private:
    TBitmap* FBitmap;
    HBITMAP FSelected = nullptr;
    HGDIOBJ FOldBitmap = nullptr;
};

class TBitmap : public TGraphic {
    PLATFORM_CLASS(TBitmap, TGraphic)
public:
    TBitmap();
    ~TBitmap() override;

    // A deep copy. None gives an empty picture; a TBitmap gives its size,
    // format, pixels, transparent colour and mode. One notification, always.
    void Assign(TPersistent* Source) override;

    int Width() const override { return FWidth; }
    int Height() const override { return FHeight; }
    // The overlapping part of the old picture is kept (anchored at the top
    // left); new pixels are white. Negative sizes count as 0.
    void SetWidth(int Value) override;
    void SetHeight(int Value) override;
    void SetSize(int AWidth, int AHeight);
    bool Empty() const override { return FWidth == 0 || FHeight == 0; }

    // pfDevice is kept as 32 bits per pixel, the screen's own layout.
    // Converting keeps every pixel that the new format can represent; to a
    // palette format, a picture with few enough colours keeps them all.
    TPixelFormat PixelFormat() const { return FPixelFormat; }
    void SetPixelFormat(TPixelFormat Value);

    // Row 0 is the top row; raises ERangeError outside 0 .. Height - 1.
    uint8_t* ScanLine(int Row);

    // tmAuto: the RGB of the bottom-left pixel (clDefault for an empty
    // picture); tmFixed: the stored colour. Setting a colour fixes it;
    // switching to tmFixed keeps the colour reported at that moment.
    TColor TransparentColor() const;
    void SetTransparentColor(TColor Value);
    TTransparentMode TransparentMode() const { return FTransparentMode; }
    void SetTransparentMode(TTransparentMode Value);

    // The DIB section (null for an empty picture). The bitmap keeps it; the
    // canvas has released it, so the caller may select it elsewhere.
    HBITMAP Handle();
    bool HandleAllocated() const { return FImage.Handle != nullptr; }
    // Takes over a bitmap handle (null: an empty picture). A handle that is
    // not a DIB section is used as it is until pixels are needed, then
    // replaced by a DIB section copy.
    void SetHandle(HBITMAP Value);
    // Gives the handle away; the bitmap becomes empty.
    HBITMAP ReleaseHandle();

    TCanvas* Canvas();

    void LoadFromFile(const std::string& FileName);
    void SaveToFile(const std::string& FileName) const;
    // Reads one BMP file from the stream's position. A file that is not a
    // readable BMP, holds more than 64 MiB of pixels or finds no memory for
    // them raises EInvalidGraphic and changes nothing.
    void LoadFromStream(TStream* Stream);
    // Writes a BMP file in the bitmap's own format; an empty picture writes nothing.
    void SaveToStream(TStream* Stream) const;

    // The form-file form: a 4-byte little-endian length, then the BMP file.
    std::vector<uint8_t> Data() const;
    void SetData(const std::vector<uint8_t>& Value);

    void Changed() override;

protected:
    void Draw(TCanvas* ACanvas, const TRect& Rect) override;

private:
    friend class TBitmapCanvas;
    // Frees the canvas context, deletes the old handle and takes Image.
    void ReplaceImage(TDib&& Image, TPixelFormat Format);
    void DIBNeeded();

    TDib FImage;
    int FWidth = 0, FHeight = 0;
    TPixelFormat FPixelFormat = pfDevice;
    TTransparentMode FTransparentMode = tmAuto;
    TColor FTransparentColor = clDefault;
    TBitmapCanvas* FCanvas = nullptr;
};

} // namespace platform
