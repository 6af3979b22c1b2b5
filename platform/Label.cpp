#include "platform/Label.h"

namespace platform {

const std::vector<std::string>& AlignmentNames()
{
    static const std::vector<std::string>& names = *new std::vector<std::string>{"taLeftJustify", "taRightJustify", "taCenter"};
    return names;
}

// ---------------------------------------------------------------- TLabel

const TClassInfo& TLabel::StaticClassInfo()
{
    static const TClassInfo& info = TClassBuilder<TLabel, TGraphicControl>("TLabel")
        .Publish({"Align", "Anchors", "Constraints", "Caption", "Color", "Enabled", "ParentFont", "Font",
                  "ParentShowHint", "ShowHint", "Visible", "OnClick", "OnDblClick", "OnMouseDown", "OnMouseMove",
                  "OnMouseUp"})
        .Enum("Alignment", AlignmentNames(), &TLabel::Alignment, &TLabel::SetAlignment, taLeftJustify)
        .Bool("AutoSize", &TLabel::AutoSize, &TLabel::SetAutoSize, true)
        .Bool("Transparent", &TLabel::Transparent, &TLabel::SetTransparent, false)
        .Bool("WordWrap", &TLabel::WordWrap, &TLabel::SetWordWrap, false)
        .Build();
    return info;
}

TLabel::TLabel(TComponent* AOwner) : TGraphicControl(AOwner)
{
    FControlStyle.Include(csOpaque);
    SetColor(clBtnFace);
    SetBounds(Left(), Top(), 65, 17);
}

void TLabel::SetAlignment(TAlignment Value)
{
    if (Value == FAlignment)
        return;
    FAlignment = Value;
    Invalidate();
}

void TLabel::SetAutoSize(bool Value)
{
    if (Value == FAutoSize)
        return;
    FAutoSize = Value;
    AdjustBounds();
}

void TLabel::SetWordWrap(bool Value)
{
    if (Value == FWordWrap)
        return;
    FWordWrap = Value;
    AdjustBounds();
    Invalidate();
}

void TLabel::SetTransparent(bool Value)
{
    if (Value == FTransparent)
        return;
    FTransparent = Value;
    if (Value)
        FControlStyle.Exclude(csOpaque);
    else
        FControlStyle.Include(csOpaque);
    Invalidate();
}

void TLabel::SetText(const std::string& Value)
{
    if (Value == Text())
        return;
    TGraphicControl::SetText(Value);
    AdjustBounds();
}

void TLabel::Loaded()
{
    TGraphicControl::Loaded();
    AdjustBounds();
}

void TLabel::FontChanged(TObject* Sender)
{
    TGraphicControl::FontChanged(Sender);
    AdjustBounds();
}

UINT TLabel::DrawFlags() const
{
    static constexpr UINT Alignments[] = {DT_LEFT, DT_RIGHT, DT_CENTER};
    return DT_EXPANDTABS | Alignments[FAlignment] | (FWordWrap ? DT_WORDBREAK : 0);
}

// Keeps the edge the alignment is anchored to: left, right, or the centre.
void TLabel::AdjustBounds()
{
    if (!FAutoSize || ComponentState().Contains(csLoading))
        return;
    HDC dc = GetDC(nullptr);
    HGDIOBJ old = SelectObject(dc, Font()->Handle());
    RECT r{0, 0, FWordWrap ? Width() : 0, 0};
    const std::string text = Text().empty() ? std::string(" ") : Text();
    DrawTextA(dc, text.c_str(), static_cast<int>(text.size()), &r, DrawFlags() | DT_CALCRECT);
    SelectObject(dc, old);
    ReleaseDC(nullptr, dc);
    int left = Left();
    if (!FWordWrap && FAlignment == taRightJustify)
        left += Width() - r.right;
    else if (!FWordWrap && FAlignment == taCenter)
        left += (Width() - r.right) / 2;
    SetBounds(left, Top(), r.right, r.bottom);
}

void TLabel::Paint()
{
    TCanvas* canvas = TGraphicControl::Canvas();
    if (!FTransparent) {
        canvas->Brush()->SetColor(Color());
        canvas->Brush()->SetStyle(bsSolid);
        canvas->FillRect(ClientRect());
    }
    HDC dc = canvas->Handle();
    HGDIOBJ old = SelectObject(dc, Font()->Handle());
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, ColorToRGB(EffectivelyEnabled() ? Font()->Color() : clGrayText));
    RECT r = ClientRect();
    DrawTextA(dc, Text().c_str(), static_cast<int>(Text().size()), &r, DrawFlags());
    SelectObject(dc, old);
}

// ---------------------------------------------------------------- TPanel

const TClassInfo& TPanel::StaticClassInfo()
{
    static const std::vector<std::string> bevels{"bvNone", "bvLowered", "bvRaised", "bvSpace"};
    static const TClassInfo& info = TClassBuilder<TPanel, TCustomControl>("TPanel")
        .Publish({"Action", "Align", "Anchors", "Constraints", "Caption", "Color", "DockSite", "DragCursor",
                  "DragKind", "DragMode", "Enabled", "ParentFont", "Font", "ParentShowHint", "PopupMenu", "ShowHint",
                  "TabOrder", "TabStop", "Visible", "OnClick", "OnContextPopup", "OnDblClick", "OnDockDrop",
                  "OnDockOver", "OnDragDrop", "OnDragOver", "OnEndDock", "OnEndDrag", "OnEnter", "OnExit",
                  "OnMouseDown", "OnMouseMove", "OnMouseUp", "OnResize", "OnStartDock", "OnStartDrag",
                  "OnUnDock"})
        .Enum("Alignment", AlignmentNames(), &TPanel::Alignment, &TPanel::SetAlignment, taCenter)
        .Enum("BevelInner", bevels, &TPanel::BevelInner, &TPanel::SetBevelInner, bvNone)
        .Enum("BevelOuter", bevels, &TPanel::BevelOuter, &TPanel::SetBevelOuter, bvRaised)
        .Int("BevelWidth", &TPanel::BevelWidth, &TPanel::SetBevelWidth, 1)
        .Int("BorderWidth", &TPanel::BorderWidth, &TPanel::SetBorderWidth, 0)
        .Build();
    return info;
}

TPanel::TPanel(TComponent* AOwner) : TCustomControl(AOwner)
{
    FControlStyle.Include(csAcceptsControls);
    FControlStyle.Include(csOpaque);
    SetBounds(Left(), Top(), 185, 41);
}

void TPanel::SetAlignment(TAlignment Value)
{
    FAlignment = Value;
    Invalidate();
}

void TPanel::SetBevelInner(TBevelCut Value)
{
    FBevelInner = Value;
    Invalidate();
    AlignControls();
}

void TPanel::SetBevelOuter(TBevelCut Value)
{
    FBevelOuter = Value;
    Invalidate();
    AlignControls();
}

void TPanel::SetBevelWidth(int Value)
{
    if (Value < 1)
        Value = 1;
    FBevelWidth = Value;
    Invalidate();
    AlignControls();
}

void TPanel::SetBorderWidth(int Value)
{
    if (Value < 0)
        Value = 0;
    FBorderWidth = Value;
    Invalidate();
    AlignControls();
}

namespace {

// Draws Width rings of a bevel just inside R and moves R inward past them.
void Bevel(HDC DC, RECT& R, TBevelCut Cut, int Width)
{
    if (Cut == bvNone)
        return;
    if (Cut != bvSpace) {
        const COLORREF light = ColorToRGB(Cut == bvRaised ? clBtnHighlight : clBtnShadow);
        const COLORREF dark = ColorToRGB(Cut == bvRaised ? clBtnShadow : clBtnHighlight);
        for (int i = 0; i < Width; ++i) {
            HPEN lightPen = CreatePen(PS_SOLID, 1, light), darkPen = CreatePen(PS_SOLID, 1, dark);
            HGDIOBJ old = SelectObject(DC, lightPen);
            MoveToEx(DC, R.left + i, R.bottom - 1 - i, nullptr);
            LineTo(DC, R.left + i, R.top + i);
            LineTo(DC, R.right - 1 - i, R.top + i);
            SelectObject(DC, darkPen);
            LineTo(DC, R.right - 1 - i, R.bottom - 1 - i);
            LineTo(DC, R.left + i, R.bottom - 1 - i);
            SelectObject(DC, old);
            DeleteObject(lightPen);
            DeleteObject(darkPen);
        }
    }
    InflateRect(&R, -Width, -Width);
}

} // namespace

void TPanel::AdjustClientRect(TRect& Rect) const
{
    // The bevels and the border between them are the panel's own.
    if (FBevelOuter != bvNone)
        InflateRect(&Rect, -FBevelWidth, -FBevelWidth);
    InflateRect(&Rect, -FBorderWidth, -FBorderWidth);
    if (FBevelInner != bvNone)
        InflateRect(&Rect, -FBevelWidth, -FBevelWidth);
}

void TPanel::Paint()
{
    TCanvas* canvas = Canvas();
    RECT r = ClientRect();
    canvas->Brush()->SetColor(Color());
    canvas->Brush()->SetStyle(bsSolid);
    canvas->FillRect(r);
    HDC dc = canvas->Handle();
    Bevel(dc, r, FBevelOuter, FBevelWidth);
    InflateRect(&r, -FBorderWidth, -FBorderWidth);
    Bevel(dc, r, FBevelInner, FBevelWidth);
    static constexpr UINT Alignments[] = {DT_LEFT, DT_RIGHT, DT_CENTER};
    HGDIOBJ old = SelectObject(dc, Font()->Handle());
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, ColorToRGB(EffectivelyEnabled() ? Font()->Color() : clGrayText));
    DrawTextA(dc, Text().c_str(), static_cast<int>(Text().size()), &r,
              Alignments[FAlignment] | DT_VCENTER | DT_SINGLELINE | DT_EXPANDTABS);
    SelectObject(dc, old);
}

} // namespace platform
