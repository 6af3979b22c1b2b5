// The state pictures of a skinned control: one bitmap per state, the current
// one painted onto a hidden image that fills the control. The control passes
// itself as owner and parent; this object owns its image layer, painter and
// bitmap LED, and the LED owns the state bitmaps.
#pragma once

#include "loom/Component/LED/BmpLED.h"
#include "loom/Component/LEDCtrl.h"
#include "loom/Graphics/WinRegion.h"

namespace loom {

class TBmpLEDCtrl : public LEDCtrl {
public:
    typedef ImageLayerType LayerType;
    typedef ImagePainter PainterType;
    typedef TBitmapLED<ImagePainter> BitmapLEDType;

    // stateCount empty (0 x 0) state bitmaps; state 0 shown.
    TBmpLEDCtrl(platform::TComponent* owner, platform::TWinControl* parent, int stateCount);
    ~TBmpLEDCtrl() override;
    TBmpLEDCtrl(const TBmpLEDCtrl&) = delete;
    TBmpLEDCtrl& operator=(const TBmpLEDCtrl&) = delete;

    int StateCount() const override { return m_led->StateCount(); }
    int State() const override { return m_led->State(); }
    // Copies state s's picture onto the image; the current state costs nothing.
    void SetState(int s) override;
    // Copies the current state's picture again (wiping anything drawn over
    // it) and repaints the image.
    void Refresh() override;
    void MoveBy(int dx, int dy) override { m_layer->MoveBy(dx, dy); }
    // The image control's position and its picture's size.
    int Left() const override { return m_layer->Left(); }
    int Top() const override { return m_layer->Top(); }
    int Width() const override { return m_layer->Width(); }
    int Height() const override { return m_layer->Height(); }

    // The live state bitmap: changing it changes that state's picture.
    platform::TBitmap* Bitmap(int index) const { return m_led->Bitmap(index); }
    // Copies bitmap (none: an empty picture) into state index, which raises
    // that bitmap's change notification.
    void SetBitmap(platform::TBitmap* bitmap, int index) { Bitmap(index)->Assign(bitmap); }

    LedColor TransparentColor() const { return m_layer->TransparentColor(); }
    // System colours are stored as their current RGB value.
    void SetTransparentColor(platform::TColor color) { m_layer->SetTransparentColor(LedColor::FromColor(color)); }
    bool Transparent() const { return m_layer->Transparent(); }
    void SetTransparent(bool value) { m_layer->SetTransparent(value); }

    // The bitmap of state index minus every pixel of the transparent colour.
    void MakeRegion(WinRegion& region, int index) { region.FromBitmap(Bitmap(index), ToColorRef(TransparentColor())); }
    void SetImageSize(int width, int height) { m_layer->SetImageSize(width, height); }
    // Where callers draw over the state picture (captions).
    platform::TCanvas* Canvas() const { return m_layer->Canvas(); }
    LayerType* Layer() const { return m_layer; }

    // The change handler of every state bitmap: a change to the current
    // state's bitmap redraws it; others show when their state is next set.
    void BitmapChanged(platform::TObject* sender);

private:
    LayerType* m_layer;
    PainterType* m_painter;
    BitmapLEDType* m_led;
};

} // namespace loom
