#include "components/Gauge.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdlib>
#include <vector>

using namespace platform;

namespace components {

const TClassInfo& TGauge::StaticClassInfo()
{
    static const TClassInfo& info = TClassBuilder<TGauge, TGraphicControl>("TGauge")
        .Publish({"Anchors", "Enabled", "ParentFont", "Font", "ParentShowHint", "ShowHint", "Visible", "OnClick",
                  "OnDblClick", "OnMouseDown", "OnMouseMove", "OnMouseUp"})
        .Enum("Kind", {"gkText", "gkHorizontalBar", "gkVerticalBar", "gkPie", "gkNeedle"}, &TGauge::Kind,
              &TGauge::SetKind, gkHorizontalBar)
        .Enum("BorderStyle", {"bsNone", "bsSingle"}, &TGauge::BorderStyle, &TGauge::SetBorderStyle, gbsSingle)
        .Int("ForeColor", &TGauge::ForeColor, &TGauge::SetForeColor, clHighlight, &ColorIdents())
        .Int("BackColor", &TGauge::BackColor, &TGauge::SetBackColor, clWindow, &ColorIdents())
        .Int("MinValue", &TGauge::MinValue, &TGauge::SetMinValue, 0)
        .Int("MaxValue", &TGauge::MaxValue, &TGauge::SetMaxValue, 100)
        .Int("Progress", &TGauge::Progress, &TGauge::SetProgress, 0)
        .Bool("ShowText", &TGauge::ShowText, &TGauge::SetShowText, true)
        .Build();
    return info;
}

TGauge::TGauge(TComponent* AOwner) : TGraphicControl(AOwner)
{
    FControlStyle.Include(csOpaque);
    SetBounds(Left(), Top(), 100, 100);
}

void TGauge::SetKind(TGaugeKind Value)
{
    if (Value == FKind)
        return;
    FKind = Value;
    Invalidate();
}

// While a form file is read the range may pass through a state where the
// minimum is not yet below the maximum; Loaded checks the final one.
void TGauge::SetMinValue(int Value)
{
    if (ComponentState().Contains(csLoading))
        FMinValue = Value;
    else
        SetRange(Value, FMaxValue);
}

void TGauge::SetMaxValue(int Value)
{
    if (ComponentState().Contains(csLoading))
        FMaxValue = Value;
    else
        SetRange(FMinValue, Value);
}

void TGauge::SetRange(int Min, int Max)
{
    if (Min >= Max)
        throw ERangeError(Format("Gauge minimum (%d) must be less than its maximum (%d)", Min, Max));
    if (Min == FMinValue && Max == FMaxValue)
        return;
    FMinValue = Min;
    FMaxValue = Max;
    FProgress = std::clamp(FProgress, Min, Max);
    Invalidate();
}

void TGauge::Loaded()
{
    TGraphicControl::Loaded();
    // The range read goes through SetRange from the defaults, which refuses
    // a bad one and leaves the defaults.
    const int min = FMinValue, max = FMaxValue;
    FMinValue = 0;
    FMaxValue = 100;
    SetRange(min, max);
    FProgress = std::clamp(FProgress, FMinValue, FMaxValue);
}

void TGauge::SetProgress(int Value)
{
    if (ComponentState().Contains(csLoading)) {
        FProgress = Value;
        return;
    }
    Value = std::clamp(Value, FMinValue, FMaxValue);
    if (Value == FProgress)
        return;
    const int old = FProgress;
    FProgress = Value;
    ProgressChanged(old);
}

// The sum may pass the ends of an int; beyond them it is clamped anyway.
void TGauge::AddProgress(int Value)
{
    SetProgress(static_cast<int>(std::clamp<int64_t>(int64_t(FProgress) + Value, INT_MIN, INT_MAX)));
}

int TGauge::PercentDone() const
{
    return static_cast<int>(int64_t(FProgress - int64_t(FMinValue)) * 100 / (int64_t(FMaxValue) - FMinValue));
}

void TGauge::SetForeColor(TColor Value)
{
    if (Value == FForeColor)
        return;
    FForeColor = Value;
    Invalidate();
}

void TGauge::SetBackColor(TColor Value)
{
    if (Value == FBackColor)
        return;
    FBackColor = Value;
    Invalidate();
}

void TGauge::SetBorderStyle(TGaugeBorderStyle Value)
{
    if (Value == FBorderStyle)
        return;
    FBorderStyle = Value;
    Invalidate();
}

void TGauge::SetShowText(bool Value)
{
    if (Value == FShowText)
        return;
    FShowText = Value;
    Invalidate();
}

TRect TGauge::Face() const
{
    TRect r = Rect(0, 0, Width(), Height());
    if (FBorderStyle == gbsSingle)
        InflateRect(&r, -1, -1);
    return r;
}

TRect TGauge::Filled(int Value) const
{
    TRect r = Face();
    const int64_t range = int64_t(FMaxValue) - FMinValue, done = int64_t(Value) - FMinValue;
    if (FKind == gkVerticalBar)
        r.top = r.bottom - static_cast<int>((r.bottom - r.top) * done / range);
    else
        r.right = r.left + static_cast<int>((r.right - r.left) * done / range);
    return r;
}

// Bars redraw the strip between the old and the new end of the filled part,
// and the line of text when the percentage changed; the round kinds redraw
// their face.
void TGauge::ProgressChanged(int Old)
{
    const TRect face = Face();
    if (FKind == gkHorizontalBar || FKind == gkVerticalBar) {
        const TRect before = Filled(Old), after = Filled(FProgress);
        TRect strip = face;
        if (FKind == gkHorizontalBar) {
            strip.left = std::min(before.right, after.right);
            strip.right = std::max(before.right, after.right);
        } else {
            strip.top = std::min(before.top, after.top);
            strip.bottom = std::max(before.top, after.top);
        }
        InvalidateArea(strip);
    } else if (FKind != gkText) {
        InvalidateArea(face);
    }
    const int oldPercent =
        static_cast<int>((int64_t(Old) - FMinValue) * 100 / (int64_t(FMaxValue) - FMinValue));
    if (FShowText && oldPercent != PercentDone()) {
        const int line = std::abs(Font()->Height()) + 6;
        const int middle = (face.top + face.bottom) / 2;
        InvalidateArea(Rect(face.left, middle - line / 2, face.right, middle + line - line / 2));
    }
}

void TGauge::Paint()
{
    TCanvas* canvas = Canvas();
    const TRect face = Face();
    if (FBorderStyle == gbsSingle) {
        canvas->Brush()->SetColor(clWindowFrame);
        canvas->FrameRect(Rect(0, 0, Width(), Height()));
    }
    const TColor fore = EffectivelyEnabled() ? FForeColor : clBtnShadow;
    canvas->Brush()->SetColor(FBackColor);
    canvas->FillRect(face);
    switch (FKind) {
    case gkHorizontalBar:
    case gkVerticalBar:
        canvas->Brush()->SetColor(fore);
        canvas->FillRect(Filled(FProgress));
        break;
    case gkPie:
    case gkNeedle:
        PaintPie(face, FKind == gkNeedle, fore);
        break;
    case gkText:
        break;
    }
    if (FShowText) {
        canvas->SetFont(Font());
        if (!EffectivelyEnabled())
            canvas->Font()->SetColor(clGrayText);
        const std::string text = Format("%d%%", PercentDone());
        const SIZE size = canvas->TextExtent(text);
        canvas->Brush()->SetStyle(bsClear);
        canvas->TextOut((face.left + face.right - size.cx) / 2, (face.top + face.bottom - size.cy) / 2, text);
        canvas->Brush()->SetStyle(bsSolid);
    }
}

// A pie fills clockwise from twelve o'clock; a needle sweeps a half dial
// from nine o'clock to three.
void TGauge::PaintPie(const TRect& R, bool Needle, TColor Fore)
{
    TCanvas* canvas = Canvas();
    const double pi = 3.14159265358979323846;
    const double fraction = double(int64_t(FProgress) - FMinValue) / double(int64_t(FMaxValue) - FMinValue);
    const int w = R.right - R.left, h = R.bottom - R.top;
    const double cx = R.left + w / 2.0;
    const double cy = Needle ? R.bottom - 2 : R.top + h / 2.0;
    const double radius = Needle ? std::min(w / 2.0, double(h - 3)) - 1 : std::min(w, h) / 2.0 - 1;
    if (radius < 1)
        return;
    auto at = [&](double angle) {
        return Point(static_cast<int>(std::lround(cx + radius * std::cos(angle))),
                     static_cast<int>(std::lround(cy - radius * std::sin(angle))));
    };
    std::vector<TPoint> points;
    canvas->Pen()->SetColor(clWindowFrame);
    canvas->Pen()->SetWidth(1);
    if (Needle) {
        points.push_back(Point(static_cast<int>(cx), static_cast<int>(cy)));
        for (int i = 0; i <= 60; ++i)
            points.push_back(at(pi * i / 60));
        canvas->Brush()->SetColor(FBackColor);
        canvas->Polygon(points.data(), static_cast<int>(points.size()));
        canvas->Pen()->SetColor(Fore);
        canvas->Pen()->SetWidth(2);
        canvas->MoveTo(static_cast<int>(cx), static_cast<int>(cy));
        const TPoint tip = at(pi * (1 - fraction));
        canvas->LineTo(tip.x, tip.y);
        canvas->Pen()->SetWidth(1);
        return;
    }
    canvas->Brush()->SetColor(FBackColor);
    canvas->Ellipse(static_cast<int>(cx - radius), static_cast<int>(cy - radius), static_cast<int>(cx + radius) + 1,
                    static_cast<int>(cy + radius) + 1);
    if (fraction <= 0)
        return;
    const int steps = std::max(2, static_cast<int>(fraction * 120));
    points.push_back(Point(static_cast<int>(cx), static_cast<int>(cy)));
    for (int i = 0; i <= steps; ++i)
        points.push_back(at(pi / 2 - 2 * pi * fraction * i / steps));
    canvas->Pen()->SetColor(Fore);
    canvas->Brush()->SetColor(Fore);
    canvas->Polygon(points.data(), static_cast<int>(points.size()));
}

} // namespace components
