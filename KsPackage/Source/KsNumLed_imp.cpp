#include "KsPackage/Source/KsNumLed_imp.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <memory>

namespace loom {

using platform::TColor;
using platform::TDateTime;

namespace {

// Builds one character LED of a style at x (y 0); each returns a new
// composite the caller owns.
class Builder {
public:
    virtual ~Builder() = default;
    virtual CompositeScalableLED* BuildDigit(int x, ImagePainter* painter, const LedColor* colors, int count) = 0;
    virtual CompositeScalableLED* BuildDot(int x, ImagePainter* painter, const LedColor* colors, int count) = 0;
    virtual CompositeScalableLED* BuildDegree(int x, ImagePainter* painter, const LedColor* colors, int count) = 0;
    virtual CompositeScalableLED* BuildCelsius(int x, ImagePainter* painter, const LedColor* colors, int count) = 0;
    virtual CompositeScalableLED* BuildRpm(int x, ImagePainter* painter, const LedColor* colors, int count) = 0;
};

// Seven-segment rectangles.
class Builder_r7_s : public Builder {
public:
    CompositeScalableLED* BuildDigit(int x, ImagePainter* painter, const LedColor* colors, int count) override
    {
        return Build(DigitTable, SevenSegTbl::Instance(), x, painter, colors, count);
    }
    CompositeScalableLED* BuildDot(int x, ImagePainter* painter, const LedColor* colors, int count) override
    {
        return Build(DecimalPointTable, SingleSegTbl::Instance(), x, painter, colors, count);
    }
    CompositeScalableLED* BuildDegree(int x, ImagePainter* painter, const LedColor* colors, int count) override
    {
        return Build(DegreeTable, FourSegBinStateTbl::Instance(), x, painter, colors, count);
    }
    CompositeScalableLED* BuildCelsius(int x, ImagePainter* painter, const LedColor* colors, int count) override
    {
        return Build(CelsiusTable, FourSegBinStateTbl::Instance(), x, painter, colors, count);
    }
    CompositeScalableLED* BuildRpm(int x, ImagePainter* painter, const LedColor* colors, int count) override
    {
        return Build(RpmTable, ThirteenSegBinStateTbl::Instance(), x, painter, colors, count);
    }

private:
    CompositeScalableLED* Build(const int* table, const LED_Director& director, int x, ImagePainter* painter,
                                const LedColor* colors, int count)
    {
        CompositeScalableLED* led = m_factory.Build(table, director, painter, colors, count);
        led->SetX(x);
        return led;
    }

    ShapeLedFatory<ImagePainter> m_factory;
};

std::unique_ptr<Builder> MakeBuilder(KsNumLedStyle style)
{
    switch (style) {
    case nledRectangle7_s:
        return std::make_unique<Builder_r7_s>();
    }
    return nullptr;
}

bool IsDigitCharacter(char c)
{
    switch (c) {
    case '8':
    case 'H': case 'h':
    case 'M': case 'm':
    case 'S': case 's':
    case 'D': case 'd':
    case 'Y': case 'y':
        return true;
    default:
        return false;
    }
}

// The character LED of one format character at x, or none for a character
// that is not in the format's alphabet.
std::unique_ptr<CompositeScalableLED> BuildCharacter(Builder& builder, char c, int x, ImagePainter* painter,
                                                     const LedColor* colors)
{
    CompositeScalableLED* led = nullptr;
    if (IsDigitCharacter(c))
        led = builder.BuildDigit(x, painter, colors, 2);
    else if (c == '.')
        led = builder.BuildDot(x, painter, colors, 2);
    else if (c == '^')
        led = builder.BuildDegree(x, painter, colors, 2);
    else if (c == 'C')
        led = builder.BuildCelsius(x, painter, colors, 2);
    else if (c == '&')
        led = builder.BuildRpm(x, painter, colors, 2);
    return std::unique_ptr<CompositeScalableLED>(led);
}

// The magnitude of value * 10^decimals rounded half up, as the low 32 bits of
// the rounded integer would give it: numbers beyond the 32-bit range show
// their low-order digits, and the smallest 32-bit value has a magnitude of
// its own instead of a negative one.
uint32_t ScaledMagnitude(double value, int decimals)
{
    double scale = 1.0;
    for (int i = 0; i < decimals; ++i)
        scale *= 10.0;
    // The x87 unit keeps intermediate results wider than a double, which
    // leaves a typed half-way value such as 0.15 just below 1.5 and rounds
    // it down. Each step stored as a double scales it to exactly 1.5.
    volatile double scaled = value * scale;
    scaled = scaled + 0.5;
    const double rounded = std::floor(scaled);
    if (!std::isfinite(rounded))
        return 0;
    constexpr double Modulus = 4294967296.0;
    double wrapped = std::fmod(rounded, Modulus);
    if (wrapped < 0)
        wrapped += Modulus;
    const auto low = static_cast<int32_t>(static_cast<uint32_t>(wrapped));
    return low < 0 ? 0u - static_cast<uint32_t>(low) : static_cast<uint32_t>(low);
}

} // namespace

KsNumLed_imp::KsNumLed_imp(platform::TComponent* owner, platform::TWinControl* parent, int width, int height)
    : Layer(std::make_unique<LayerType>(owner, parent)), SegmentColors{LedColor(14, 38, 62), LedColor(10, 240, 10)},
      Type(nledFloat), Style(nledRectangle7_s), ZeroLeading(false), KeepRatio(false), FloatValue(0.0),
      DateTimeValue(platform::Now()),
      Cache([this](char kind, ImagePainter* painter) {
          return BuildCharacter(*MakeBuilder(Style), kind, 0, painter, SegmentColors);
      })
{
    Layer->GetCanvasLayer()->SetBackgroundColor(platform::clBlack);
    Clear();
    Layer->SetImageSize(width, height);
    Painter = std::make_unique<PainterType>(Layer.get());
    SetFormat("8888");
}

void KsNumLed_imp::SetFormat(const std::string& text)
{
    if (text == Format)
        return;
    if (!BuildFormat(text))
        return;
    Clear();
    RefreshValue();
}

void KsNumLed_imp::SetType(KsNumLedType type)
{
    if (type != nledFloat && type != nledTime && type != nledDate)
        return;
    if (type == Type)
        return;
    Type = type;
    RefreshValue();
}

void KsNumLed_imp::SetStyle(KsNumLedStyle style)
{
    if (style == Style || !MakeBuilder(style))
        return;
    Style = style;
    BuildFormat(Format);
    RefreshValue();
}

void KsNumLed_imp::SetZeroLeading(bool value)
{
    ZeroLeading = value;
    RefreshValue();
}

void KsNumLed_imp::SetValue(double value)
{
    if (Type != nledFloat)
        return;
    if (!(value < FloatValue || value > FloatValue))
        return;
    ShowNumber(value);
}

void KsNumLed_imp::SetValue(TDateTime value)
{
    if (Type != nledTime && Type != nledDate)
        return;
    if (!(static_cast<double>(value) < DateTimeValue || static_cast<double>(value) > DateTimeValue))
        return;
    // A value outside the calendar would fail every later redraw as well.
    try {
        int year, month, day;
        platform::DecodeDate(value, year, month, day);
    } catch (const platform::EConvertError&) {
        return;
    }
    DateTimeValue = value;
    if (Type == nledTime)
        ShowTime();
    else
        ShowDate();
    ApplyStates();
    Draw();
}

bool KsNumLed_imp::GetValue(double& value) const
{
    if (Type != nledFloat)
        return false;
    value = FloatValue;
    return true;
}

bool KsNumLed_imp::GetValue(TDateTime& value) const
{
    if (Type != nledTime && Type != nledDate)
        return false;
    value = DateTimeValue;
    return true;
}

void KsNumLed_imp::On(unsigned index)
{
    const auto count = static_cast<unsigned>(LEDs.LEDCount());
    if (index == 0) {
        // Every segment of every character, whatever the value; the value's
        // states come back with the next ApplyStates.
        for (unsigned i = 0; i < count; ++i) {
            LitFlags[i] = true;
            LEDs.SetState(i, LEDs.StateCount(i) - 1);
        }
    } else if (index <= count) {
        LitFlags[index - 1] = true;
        LEDs.SetState(index - 1, ValueStates[index - 1]);
    }
    Draw();
}

void KsNumLed_imp::Off(unsigned index)
{
    const auto count = static_cast<unsigned>(LEDs.LEDCount());
    if (index == 0) {
        for (unsigned i = 0; i < count; ++i) {
            LitFlags[i] = false;
            LEDs.SetState(i, 0);
        }
    } else if (index <= count) {
        LitFlags[index - 1] = false;
        LEDs.SetState(index - 1, 0);
    }
    Draw();
}

void KsNumLed_imp::SetLightColor(TColor color)
{
    SegmentColors[1] = LedColor::FromRGB(color);
    LEDs.UpdateAll();
    Draw();
}

void KsNumLed_imp::SetDarkColor(TColor color)
{
    SegmentColors[0] = LedColor::FromRGB(color);
    LEDs.UpdateAll();
    Draw();
}

void KsNumLed_imp::SetBackgroundColor(TColor color)
{
    Layer->GetCanvasLayer()->SetBackgroundColor(static_cast<TColor>(platform::ColorToRGB(color)));
    Repaint();
}

TColor KsNumLed_imp::GetBackgroundColor() const
{
    return Layer->GetCanvasLayer()->BackgroundColor() & 0xFFFFFF;
}

void KsNumLed_imp::SetTransparentColor(TColor color)
{
    Layer->SetTransparentColor(LedColor::FromColor(color));
}

void KsNumLed_imp::Repaint()
{
    Clear();
    ApplyStates();
    LEDs.UpdateAll();
    Draw();
}

void KsNumLed_imp::Resize(int width, int height)
{
    width = std::max(width, 0);
    height = std::max(height, 0);
    if (KeepRatio) {
        PLATFORM_ASSERT(Figure()->OriginalWidth() > 0 && Figure()->OriginalHeight() > 0,
                        "KsPackage/Source/KsNumLed_imp");
        // The smaller of the two factors, in exact integer arithmetic, so
        // the limiting side keeps exactly the size asked for: the same product
        // in floating point (22 * (15 / 22.0)) can truncate one pixel short.
        // A size that already keeps the proportions (one side is what the
        // other makes of it) stays as it is: shrinking it again would cut a
        // pixel off at every move and every reading of a form file.
        const int64_t originalWidth = Figure()->OriginalWidth();
        const int64_t originalHeight = Figure()->OriginalHeight();
        const bool kept = originalHeight * width / originalWidth == height ||
                          originalWidth * height / originalHeight == width;
        if (!kept && int64_t(width) * originalHeight <= int64_t(height) * originalWidth)
            height = static_cast<int>(originalHeight * width / originalWidth);
        else if (!kept)
            width = static_cast<int>(originalWidth * height / originalHeight);
    }
    Layer->SetImageSize(width, height);
    Figure()->Resize(width, height);
    Clear();
    Draw();
}

int KsNumLed_imp::CharacterState(int index) const
{
    return LEDs.GetLED(static_cast<size_t>(index))->State();
}

bool KsNumLed_imp::BuildFormat(const std::string& text)
{
    std::unique_ptr<Builder> builder = MakeBuilder(Style);
    if (!builder)
        return false;
    int x = 0;
    int maxHeight = 0;
    std::vector<std::unique_ptr<CompositeScalableLED>> built;
    for (char c : text) {
        std::unique_ptr<CompositeScalableLED> led = BuildCharacter(*builder, c, x, Painter.get(), SegmentColors);
        if (!led)
            continue;
        maxHeight = std::max(maxHeight, led->Height());
        x += led->Width();
        built.push_back(std::move(led));
    }
    builder.reset();
    if (built.size() != text.size() || built.empty())
        return false;

    LEDs.DeleteAll();
    LEDs.SetWidth(x);
    LEDs.SetHeight(maxHeight);
    for (auto& led : built)
        LEDs.Adopt(std::move(led));
    Format = text;
    Kinds = text;
    for (char& c : Kinds)
        c = IsDigitCharacter(c) ? '8' : c;
    const size_t count = built.size();
    ValueStates.resize(count);
    LitFlags.resize(count, true);
    for (size_t i = 0; i < count; ++i)
        ValueStates[i] = LEDs.StateCount(i) - 1;
    ApplyStates();
    Figure()->Resize(Layer->Width(), Layer->Height());
    return true;
}

void KsNumLed_imp::ApplyStates()
{
    for (size_t i = 0; i < ValueStates.size(); ++i)
        LEDs.SetState(i, LitFlags[i] ? ValueStates[i] : 0);
}

void KsNumLed_imp::RefreshValue()
{
    switch (Type) {
    case nledFloat:
        ShowNumber(FloatValue);
        break;
    case nledTime:
        ShowTime();
        ApplyStates();
        Draw();
        break;
    case nledDate:
        ShowDate();
        ApplyStates();
        Draw();
        break;
    }
}

void KsNumLed_imp::ShowNumber(double value)
{
    FloatValue = value;
    const int length = static_cast<int>(Format.size());
    const size_t dot = Format.find('.');
    const int p = dot == std::string::npos ? length + 1 : static_cast<int>(dot) + 1;
    const int n = static_cast<int>(std::count(Format.begin() + std::min(p, length), Format.end(), '8'));
    uint32_t m = ScaledMagnitude(value, n);
    bool placed = false;
    for (int b = length; b >= 1; --b) {
        if (Format[static_cast<size_t>(b - 1)] != '8')
            continue;
        const uint32_t digit = m % 10;
        const uint32_t rest = m / 10;
        if (b > p || digit != 0 || rest != 0 || ZeroLeading || !placed)
            ValueStates[static_cast<size_t>(b - 1)] = static_cast<int32_t>(digit) + 1;
        else
            ValueStates[static_cast<size_t>(b - 1)] = 0;
        if (b < p)
            placed = true;
        m = rest;
    }
    ApplyStates();
    Draw();
}

void KsNumLed_imp::ShowTime()
{
    int hours = 0, minutes = 0, seconds = 0, milliseconds = 0;
    platform::DecodeTime(DateTimeValue, hours, minutes, seconds, milliseconds);
    ShowFields({{{'H', hours}, {'M', minutes}, {'S', seconds}}});
}

void KsNumLed_imp::ShowDate()
{
    int year = 0, month = 0, day = 0;
    platform::DecodeDate(DateTimeValue, year, month, day);
    ShowFields({{{'Y', year}, {'M', month}, {'D', day}}});
}

void KsNumLed_imp::ShowFields(const std::array<std::pair<char, int>, 3>& Fields)
{
    std::array<int, 3> rest{Fields[0].second, Fields[1].second, Fields[2].second};
    for (size_t b = Format.size(); b >= 1; --b) {
        const char letter = static_cast<char>(std::toupper(static_cast<unsigned char>(Format[b - 1])));
        for (size_t i = 0; i < Fields.size(); ++i)
            if (Fields[i].first == letter) {
                ValueStates[b - 1] = rest[i] % 10 + 1;
                rest[i] /= 10;
                break;
            }
    }
}

void KsNumLed_imp::Draw()
{
    Cache.Draw(*Layer, LEDs, Kinds, Style, SegmentColors);
}

void KsNumLed_imp::Clear()
{
    const auto* canvasLayer = Layer->GetCanvasLayer();
    Layer->EraseRect(MakeRect(0, 0, canvasLayer->Width(), canvasLayer->Height()));
    Cache.Forget();
}

} // namespace loom
