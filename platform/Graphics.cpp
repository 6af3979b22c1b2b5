#include "platform/Graphics.h"

#include <cstring>

namespace platform {

COLORREF ColorToRGB(TColor Color)
{
    if (Color < 0)
        return GetSysColor(Color & 0xFF);
    return static_cast<COLORREF>(Color) & 0xFFFFFF;
}

const TIdentMap& ColorIdents()
{
    static const TIdentMap& idents = *new TIdentMap{
        {clBlack, "clBlack"}, {clMaroon, "clMaroon"}, {clGreen, "clGreen"}, {clOlive, "clOlive"},
        {clNavy, "clNavy"}, {clPurple, "clPurple"}, {clTeal, "clTeal"}, {clGray, "clGray"},
        {clSilver, "clSilver"}, {clRed, "clRed"}, {clLime, "clLime"}, {clYellow, "clYellow"},
        {clBlue, "clBlue"}, {clFuchsia, "clFuchsia"}, {clAqua, "clAqua"}, {clWhite, "clWhite"},
        {clScrollBar, "clScrollBar"}, {clBackground, "clBackground"}, {clActiveCaption, "clActiveCaption"},
        {clInactiveCaption, "clInactiveCaption"}, {clMenu, "clMenu"}, {clWindow, "clWindow"},
        {clWindowFrame, "clWindowFrame"}, {clMenuText, "clMenuText"}, {clWindowText, "clWindowText"},
        {clCaptionText, "clCaptionText"}, {clActiveBorder, "clActiveBorder"}, {clInactiveBorder, "clInactiveBorder"},
        {clAppWorkSpace, "clAppWorkSpace"}, {clHighlight, "clHighlight"}, {clHighlightText, "clHighlightText"},
        {clBtnFace, "clBtnFace"}, {clBtnShadow, "clBtnShadow"}, {clGrayText, "clGrayText"},
        {clBtnText, "clBtnText"}, {clInactiveCaptionText, "clInactiveCaptionText"}, {clBtnHighlight, "clBtnHighlight"},
        {cl3DDkShadow, "cl3DDkShadow"}, {cl3DLight, "cl3DLight"}, {clInfoText, "clInfoText"},
        {clInfoBk, "clInfoBk"}, {clNone, "clNone"}, {clDefault, "clDefault"}};
    return idents;
}

const TIdentMap& CharsetIdents()
{
    static const TIdentMap& idents = *new TIdentMap{
        {ANSI_CHARSET, "ANSI_CHARSET"}, {DEFAULT_CHARSET, "DEFAULT_CHARSET"}, {SYMBOL_CHARSET, "SYMBOL_CHARSET"},
        {MAC_CHARSET, "MAC_CHARSET"}, {SHIFTJIS_CHARSET, "SHIFTJIS_CHARSET"}, {HANGEUL_CHARSET, "HANGEUL_CHARSET"},
        {JOHAB_CHARSET, "JOHAB_CHARSET"}, {GB2312_CHARSET, "GB2312_CHARSET"}, {CHINESEBIG5_CHARSET, "CHINESEBIG5_CHARSET"},
        {GREEK_CHARSET, "GREEK_CHARSET"}, {TURKISH_CHARSET, "TURKISH_CHARSET"}, {VIETNAMESE_CHARSET, "VIETNAMESE_CHARSET"},
        {HEBREW_CHARSET, "HEBREW_CHARSET"}, {ARABIC_CHARSET, "ARABIC_CHARSET"}, {BALTIC_CHARSET, "BALTIC_CHARSET"},
        {RUSSIAN_CHARSET, "RUSSIAN_CHARSET"}, {THAI_CHARSET, "THAI_CHARSET"}, {EASTEUROPE_CHARSET, "EASTEUROPE_CHARSET"},
        {OEM_CHARSET, "OEM_CHARSET"}};
    return idents;
}

const TClassInfo& TGraphicsObject::StaticClassInfo()
{
    static const TClassInfo& info = TClassBuilder<TGraphicsObject, TPersistent>("TGraphicsObject").Build();
    return info;
}

TGraphicsObject::~TGraphicsObject()
{
    if (FHandle)
        DeleteObject(FHandle);
}

void TGraphicsObject::Changed()
{
    HGDIOBJ old = FHandle;
    FHandle = nullptr;
    if (OnChange)
        OnChange(this);
    if (old)
        DeleteObject(old);
}

// ---------------------------------------------------------------- TFont

const TClassInfo& TFont::StaticClassInfo()
{
    static const TClassInfo& info = TClassBuilder<TFont, TGraphicsObject>("TFont")
        .Int("Charset", &TFont::Charset, &TFont::SetCharset, DEFAULT_CHARSET, &CharsetIdents())
        .Int("Color", &TFont::Color, &TFont::SetColor, clWindowText, &ColorIdents())
        .Int("Height", &TFont::Height, &TFont::SetHeight, -11)
        .Str("Name", &TFont::Name, &TFont::SetName, std::string("MS Sans Serif"))
        .Set("Style", {"fsBold", "fsItalic", "fsUnderline", "fsStrikeOut"}, &TFont::Style, &TFont::SetStyle,
             TFontStyles())
        .Build();
    return info;
}

TFont::TFont() = default;

void TFont::Assign(TPersistent* Source)
{
    auto* font = dynamic_cast<TFont*>(Source);
    if (!font) {
        TGraphicsObject::Assign(Source);
        return;
    }
    if (FName == font->FName && FHeight == font->FHeight && FColor == font->FColor &&
        FCharset == font->FCharset && FStyle == font->FStyle)
        return;
    FName = font->FName;
    FHeight = font->FHeight;
    FColor = font->FColor;
    FCharset = font->FCharset;
    FStyle = font->FStyle;
    Changed();
}

HFONT TFont::Handle()
{
    if (!FHandle) {
        LOGFONTA lf{};
        lf.lfHeight = FHeight;
        lf.lfWeight = FStyle.Contains(fsBold) ? FW_BOLD : FW_NORMAL;
        lf.lfItalic = FStyle.Contains(fsItalic);
        lf.lfUnderline = FStyle.Contains(fsUnderline);
        lf.lfStrikeOut = FStyle.Contains(fsStrikeOut);
        lf.lfCharSet = static_cast<BYTE>(FCharset);
        lf.lfOutPrecision = OUT_DEFAULT_PRECIS;
        lf.lfClipPrecision = CLIP_DEFAULT_PRECIS;
        lf.lfQuality = DEFAULT_QUALITY;
        lf.lfPitchAndFamily = DEFAULT_PITCH;
        std::strncpy(lf.lfFaceName, FName.c_str(), LF_FACESIZE - 1);
        FHandle = CreateFontIndirectA(&lf);
        if (!FHandle)
            throw EOutOfResources("Out of system resources");
    }
    return static_cast<HFONT>(FHandle);
}

void TFont::SetName(const std::string& Value)
{
    if (Value.empty() || Value == FName)
        return;
    FName = Value;
    Changed();
}

void TFont::SetHeight(int Value)
{
    if (Value == FHeight)
        return;
    FHeight = Value;
    Changed();
}

int TFont::Size() const
{
    return -MulDiv(FHeight, 72, PixelsPerInch);
}

void TFont::SetSize(int Value)
{
    SetHeight(-MulDiv(Value, PixelsPerInch, 72));
}

void TFont::SetColor(TColor Value)
{
    if (Value == FColor)
        return;
    FColor = Value;
    Changed();
}

void TFont::SetCharset(int Value)
{
    if (Value == FCharset)
        return;
    FCharset = Value;
    Changed();
}

void TFont::SetStyle(TFontStyles Value)
{
    if (Value == FStyle)
        return;
    FStyle = Value;
    Changed();
}

// ---------------------------------------------------------------- TPen

const TClassInfo& TPen::StaticClassInfo()
{
    static const TClassInfo& info = TClassBuilder<TPen, TGraphicsObject>("TPen")
        .Int("Color", &TPen::Color, &TPen::SetColor, clBlack, &ColorIdents())
        .Enum("Mode", {"pmBlack", "pmWhite", "pmNop", "pmNot", "pmCopy", "pmNotCopy", "pmMergePenNot",
                       "pmMaskPenNot", "pmMergeNotPen", "pmMaskNotPen", "pmMerge", "pmNotMerge", "pmMask",
                       "pmNotMask", "pmXor", "pmNotXor"},
              &TPen::Mode, &TPen::SetMode, pmCopy)
        .Enum("Style", {"psSolid", "psDash", "psDot", "psDashDot", "psDashDotDot", "psClear", "psInsideFrame"},
              &TPen::Style, &TPen::SetStyle, psSolid)
        .Int("Width", &TPen::Width, &TPen::SetWidth, 1)
        .Build();
    return info;
}

void TPen::Assign(TPersistent* Source)
{
    auto* pen = dynamic_cast<TPen*>(Source);
    if (!pen) {
        TGraphicsObject::Assign(Source);
        return;
    }
    if (FColor == pen->FColor && FStyle == pen->FStyle && FMode == pen->FMode && FWidth == pen->FWidth)
        return;
    FColor = pen->FColor;
    FStyle = pen->FStyle;
    FMode = pen->FMode;
    FWidth = pen->FWidth;
    Changed();
}

HPEN TPen::Handle()
{
    static constexpr int Styles[] = {PS_SOLID, PS_DASH, PS_DOT, PS_DASHDOT, PS_DASHDOTDOT, PS_NULL, PS_INSIDEFRAME};
    if (!FHandle) {
        FHandle = CreatePen(Styles[FStyle], FWidth, ColorToRGB(FColor));
        if (!FHandle)
            throw EOutOfResources("Out of system resources");
    }
    return static_cast<HPEN>(FHandle);
}

void TPen::SetColor(TColor Value)
{
    if (Value == FColor)
        return;
    FColor = Value;
    Changed();
}

void TPen::SetStyle(TPenStyle Value)
{
    if (Value == FStyle)
        return;
    FStyle = Value;
    Changed();
}

void TPen::SetMode(TPenMode Value)
{
    if (Value == FMode)
        return;
    FMode = Value;
    Changed();
}

void TPen::SetWidth(int Value)
{
    if (Value < 0 || Value == FWidth)
        return;
    FWidth = Value;
    Changed();
}

// ---------------------------------------------------------------- TBrush

const TClassInfo& TBrush::StaticClassInfo()
{
    static const TClassInfo& info = TClassBuilder<TBrush, TGraphicsObject>("TBrush")
        .Int("Color", &TBrush::Color, &TBrush::SetColor, clWhite, &ColorIdents())
        .Enum("Style", {"bsSolid", "bsClear", "bsHorizontal", "bsVertical", "bsFDiagonal", "bsBDiagonal",
                        "bsCross", "bsDiagCross"},
              &TBrush::Style, &TBrush::SetStyle, bsSolid)
        .Build();
    return info;
}

void TBrush::Assign(TPersistent* Source)
{
    auto* brush = dynamic_cast<TBrush*>(Source);
    if (!brush) {
        TGraphicsObject::Assign(Source);
        return;
    }
    if (FColor == brush->FColor && FStyle == brush->FStyle)
        return;
    FColor = brush->FColor;
    FStyle = brush->FStyle;
    Changed();
}

HBRUSH TBrush::Handle()
{
    static constexpr int Hatches[] = {0, 0, HS_HORIZONTAL, HS_VERTICAL, HS_FDIAGONAL, HS_BDIAGONAL, HS_CROSS, HS_DIAGCROSS};
    if (!FHandle) {
        if (FStyle == bsSolid)
            FHandle = CreateSolidBrush(ColorToRGB(FColor));
        else if (FStyle == bsClear)
            FHandle = GetStockObject(NULL_BRUSH);
        else
            FHandle = CreateHatchBrush(Hatches[FStyle], ColorToRGB(FColor));
        if (!FHandle)
            throw EOutOfResources("Out of system resources");
    }
    return static_cast<HBRUSH>(FHandle);
}

void TBrush::SetColor(TColor Value)
{
    if (Value == FColor)
        return;
    FColor = Value;
    Changed();
}

void TBrush::SetStyle(TBrushStyle Value)
{
    if (Value == FStyle)
        return;
    FStyle = Value;
    Changed();
}

} // namespace platform
