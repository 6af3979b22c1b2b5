// Colours and the three drawing tools: font, pen and brush. Each tool raises
// OnChange on every real change; OnChange is a plain replaceable callable, so
// a control can save the old handler, install its own and call the old one.
#pragma once

#include "platform/ClassBuilder.h"
#include "platform/Win32.h"

#include <cstdint>
#include <string>

namespace platform {

// Red in bits 0-7, green 8-15, blue 16-23; with the top bit set, a system
// colour: 0x80000000 plus the system colour index.
using TColor = int32_t;

constexpr TColor clBlack = 0x000000, clMaroon = 0x000080, clGreen = 0x008000, clOlive = 0x008080,
                 clNavy = 0x800000, clPurple = 0x800080, clTeal = 0x808000, clGray = 0x808080,
                 clSilver = 0xC0C0C0, clRed = 0x0000FF, clLime = 0x00FF00, clYellow = 0x00FFFF,
                 clBlue = 0xFF0000, clFuchsia = 0xFF00FF, clAqua = 0xFFFF00, clWhite = 0xFFFFFF;

constexpr TColor SystemColor(int index) { return static_cast<TColor>(0x80000000u | static_cast<uint32_t>(index)); }
constexpr TColor clScrollBar = SystemColor(COLOR_SCROLLBAR), clBackground = SystemColor(COLOR_BACKGROUND),
                 clActiveCaption = SystemColor(COLOR_ACTIVECAPTION), clInactiveCaption = SystemColor(COLOR_INACTIVECAPTION),
                 clMenu = SystemColor(COLOR_MENU), clWindow = SystemColor(COLOR_WINDOW),
                 clWindowFrame = SystemColor(COLOR_WINDOWFRAME), clMenuText = SystemColor(COLOR_MENUTEXT),
                 clWindowText = SystemColor(COLOR_WINDOWTEXT), clCaptionText = SystemColor(COLOR_CAPTIONTEXT),
                 clActiveBorder = SystemColor(COLOR_ACTIVEBORDER), clInactiveBorder = SystemColor(COLOR_INACTIVEBORDER),
                 clAppWorkSpace = SystemColor(COLOR_APPWORKSPACE), clHighlight = SystemColor(COLOR_HIGHLIGHT),
                 clHighlightText = SystemColor(COLOR_HIGHLIGHTTEXT), clBtnFace = SystemColor(COLOR_BTNFACE),
                 clBtnShadow = SystemColor(COLOR_BTNSHADOW), clGrayText = SystemColor(COLOR_GRAYTEXT),
                 clBtnText = SystemColor(COLOR_BTNTEXT), clInactiveCaptionText = SystemColor(COLOR_INACTIVECAPTIONTEXT),
                 clBtnHighlight = SystemColor(COLOR_BTNHIGHLIGHT), cl3DDkShadow = SystemColor(COLOR_3DDKSHADOW),
                 cl3DLight = SystemColor(COLOR_3DLIGHT), clInfoText = SystemColor(COLOR_INFOTEXT),
                 clInfoBk = SystemColor(COLOR_INFOBK);
constexpr TColor clNone = 0x1FFFFFFF, clDefault = 0x20000000;

// The plain RGB value of a colour; system colours take their current value.
COLORREF ColorToRGB(TColor Color);
// Form-file names of colours and character sets.
const TIdentMap& ColorIdents();
const TIdentMap& CharsetIdents();

enum TFontStyle { fsBold, fsItalic, fsUnderline, fsStrikeOut };
using TFontStyles = TSet<TFontStyle>;
enum TPenStyle { psSolid, psDash, psDot, psDashDot, psDashDotDot, psClear, psInsideFrame };
enum TPenMode { pmBlack, pmWhite, pmNop, pmNot, pmCopy, pmNotCopy, pmMergePenNot, pmMaskPenNot,
                pmMergeNotPen, pmMaskNotPen, pmMerge, pmNotMerge, pmMask, pmNotMask, pmXor, pmNotXor };
enum TBrushStyle { bsSolid, bsClear, bsHorizontal, bsVertical, bsFDiagonal, bsBDiagonal, bsCross, bsDiagCross };

class TGraphicsObject : public TPersistent {
    PLATFORM_CLASS(TGraphicsObject, TPersistent)
public:
    ~TGraphicsObject() override;
    TNotifyEvent OnChange;

protected:
    // Tells OnChange, then deletes the cached handle: a canvas that has the old
    // handle selected puts its stock object back before the handle goes.
    void Changed();
    HGDIOBJ FHandle = nullptr;
};

class TFont : public TGraphicsObject {
    PLATFORM_CLASS(TFont, TGraphicsObject)
public:
    TFont();
    void Assign(TPersistent* Source) override;

    HFONT Handle();
    const std::string& Name() const { return FName; }
    void SetName(const std::string& Value);
    // Pixels; negative is the character height without internal leading.
    int Height() const { return FHeight; }
    void SetHeight(int Value);
    // Points at 96 pixels per inch.
    int Size() const;
    void SetSize(int Value);
    TColor Color() const { return FColor; }
    void SetColor(TColor Value);
    int Charset() const { return FCharset; }
    void SetCharset(int Value);
    TFontStyles Style() const { return FStyle; }
    void SetStyle(TFontStyles Value);

    static constexpr int PixelsPerInch = 96;

private:
    std::string FName = "MS Sans Serif";
    int FHeight = -11;
    TColor FColor = clWindowText;
    int FCharset = DEFAULT_CHARSET;
    TFontStyles FStyle;
};

class TPen : public TGraphicsObject {
    PLATFORM_CLASS(TPen, TGraphicsObject)
public:
    void Assign(TPersistent* Source) override;

    HPEN Handle();
    TColor Color() const { return FColor; }
    void SetColor(TColor Value);
    TPenStyle Style() const { return FStyle; }
    void SetStyle(TPenStyle Value);
    TPenMode Mode() const { return FMode; }
    void SetMode(TPenMode Value);
    int Width() const { return FWidth; }
    void SetWidth(int Value);

private:
    TColor FColor = clBlack;
    TPenStyle FStyle = psSolid;
    TPenMode FMode = pmCopy;
    int FWidth = 1;
};

class TBrush : public TGraphicsObject {
    PLATFORM_CLASS(TBrush, TGraphicsObject)
public:
    void Assign(TPersistent* Source) override;

    HBRUSH Handle();
    TColor Color() const { return FColor; }
    void SetColor(TColor Value);
    TBrushStyle Style() const { return FStyle; }
    void SetStyle(TBrushStyle Value);

private:
    TColor FColor = clWhite;
    TBrushStyle FStyle = bsSolid;
};

} // namespace platform
