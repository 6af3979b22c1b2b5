// Everything behind the numeric LED control: a row of character LEDs built
// from a format text, the number, time or date they show, the on/off flag of
// each character and the colours, painted into an image layer that sits on
// the parent window in the control's place.
//
// Format characters: 8 a digit of a number, H/h hours, M/m minutes or month,
// S/s seconds, D/d day, Y/y year (each a digit), '.' a decimal point (the
// first one splits integer and fraction digits), '^' a degree sign, 'C' the
// letter C, '&' the letters RPM. Any other character rejects the format.
#pragma once

#include "KsPackage/Source/KsNumLedCache.h"
#include "loom/Component/LED/ShapeLED.h"
#include "platform/DateTime.h"

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace loom {

enum KsNumLedType : uint8_t { nledFloat, nledTime, nledDate };
enum KsNumLedStyle : uint8_t { nledRectangle7_s };

class KsNumLed_imp {
public:
    typedef ImageLayerType LayerType;
    typedef ImagePainter PainterType;

    // The layer's image belongs to owner and sits on parent (which may be
    // none yet). The display starts with the format "8888" showing 0.
    KsNumLed_imp(platform::TComponent* owner, platform::TWinControl* parent, int width, int height);
    ~KsNumLed_imp() = default;
    KsNumLed_imp(const KsNumLed_imp&) = delete;
    KsNumLed_imp& operator=(const KsNumLed_imp&) = delete;

    // A rejected format leaves the previous format, LEDs and states as they were.
    void SetFormat(const std::string& text);
    const std::string& GetFormat() const { return Format; }
    // Unknown values leave the display unchanged.
    void SetType(KsNumLedType type);
    KsNumLedType GetType() const { return Type; }
    void SetStyle(KsNumLedStyle style);
    KsNumLedStyle GetStyle() const { return Style; }
    void SetZeroLeading(bool value);
    bool GetZeroLeading() const { return ZeroLeading; }
    // Stored only; the control re-applies its bounds.
    void SetKeepRatio(bool value) { KeepRatio = value; }
    bool GetKeepRatio() const { return KeepRatio; }

    // Ignored unless Type is nledFloat; a NaN counts as equal to anything.
    void SetValue(double value);
    // Ignored unless Type is nledTime or nledDate, and for a value that has
    // no calendar date.
    void SetValue(platform::TDateTime value);
    bool GetValue(double& value) const;
    bool GetValue(platform::TDateTime& value) const;

    // 0: every character; 1 to the character count: that character from the left.
    void On(unsigned index);
    void Off(unsigned index);

    // Light and dark are taken as plain RGB (a system colour is not looked
    // up); background and transparent colours are resolved to RGB.
    void SetLightColor(platform::TColor color);
    platform::TColor GetLightColor() const { return ToColorRef(SegmentColors[1]); }
    void SetDarkColor(platform::TColor color);
    platform::TColor GetDarkColor() const { return ToColorRef(SegmentColors[0]); }
    void SetBackgroundColor(platform::TColor color);
    platform::TColor GetBackgroundColor() const;
    // Repaints nothing.
    void SetTransparentColor(platform::TColor color);
    platform::TColor GetTransparentColor() const { return ToColorRef(Layer->TransparentColor()); }
    void SetTransparent(bool value) { Layer->SetTransparent(value); }
    bool GetTransparent() const { return Layer->Transparent(); }

    void Repaint();
    // With KeepRatio one side may shrink so the design proportions hold.
    void Resize(int width, int height);
    void Move(int left, int top) { Layer->MoveBy(left - Layer->Left(), top - Layer->Top()); }
    void SetParent(platform::TWinControl* parent) { Layer->SetParent(parent); }

    LayerType* GetLayer() const { return Layer.get(); }
    int LEDCount() const { return LEDs.LEDCount(); }
    // The state the character at index shows now.
    int CharacterState(int index) const;
    bool IsLit(int index) const { return LitFlags[static_cast<size_t>(index)]; }
    CompositeScalableFig* Figure() { return LEDs.Figure(); }

private:
    bool BuildFormat(const std::string& text);
    void ApplyStates();
    void RefreshValue();
    void ShowNumber(double value);
    void ShowTime();
    void ShowDate();
    // Each character naming a field (its letter in either case) takes the
    // next digit of that field's value, counted from the right.
    void ShowFields(const std::array<std::pair<char, int>, 3>& Fields);
    // Brings the layer to the characters' states through the cache.
    void Draw();
    void Clear();

    // The collector only lists the character LEDs; this one also owns them.
    class OwnedLEDs : public BasicLED_Collector {
    public:
        OwnedLEDs() = default;
        ~OwnedLEDs() override { DeleteAll(); }
        OwnedLEDs(const OwnedLEDs&) = delete;
        OwnedLEDs& operator=(const OwnedLEDs&) = delete;
        // The list has room before the LED is handed over, so from then on
        // the collector holds it whatever Add raises.
        void Adopt(std::unique_ptr<LED> led)
        {
            m_LEDs.reserve(m_LEDs.size() + 1);
            Add(led.release());
        }
        void DeleteAll()
        {
            while (LEDCount() > 0)
                delete Detach(LEDCount() - 1);
        }
    };

    // Owned, and freed in the reverse order on every way out, a constructor
    // that throws included: the LEDs, then the painter, then the layer.
    std::unique_ptr<LayerType> Layer;
    std::unique_ptr<PainterType> Painter;
    OwnedLEDs LEDs;
    LedColor SegmentColors[2];
    std::string Format;
    KsNumLedType Type;
    KsNumLedStyle Style;
    bool ZeroLeading;
    bool KeepRatio;
    // One character per LED: the format with every digit character as '8'.
    std::string Kinds;
    std::vector<int32_t> ValueStates;
    std::vector<bool> LitFlags;
    double FloatValue;
    platform::TDateTime DateTimeValue;
    KsNumLedCache Cache;
};

} // namespace loom
