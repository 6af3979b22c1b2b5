// The library's one kind of surface: a hidden, disabled child image control
// inside a windowed control, whose 24-bit picture receives the drawing, and a
// canvas layer over the picture's canvas.
//
// The image control belongs to the owner component given at construction,
// and a windowed parent frees its child controls too, so the image may go
// before the layer does. The layer learns of it through the framework's free
// notification and from then on neither frees nor touches the image; its
// drawing operations then do nothing.
#pragma once

#include "loom/Graphics/CanvasLayer.h"
#include "platform/Image.h"

#include <functional>

namespace loom {

// Tells its owner when the watched component is freed.
class ImageLayerGuard : public platform::TComponent {
    PLATFORM_CLASS(ImageLayerGuard, platform::TComponent)
public:
    ImageLayerGuard(platform::TComponent* watched, std::function<void()> gone);
    void Notification(platform::TComponent* AComponent, platform::TOperation Operation) override;

private:
    platform::TComponent* m_watched;
    std::function<void()> m_gone;
};

template <class Saver, class CanvasPtr>
class ImageLayer {
public:
    typedef CanvasLayer<Saver, CanvasPtr> CanvasLayerType;
    typedef CanvasPtr CanvasPointer;

    ImageLayer(platform::TComponent* owner, platform::TWinControl* parent);
    virtual ~ImageLayer();
    ImageLayer(const ImageLayer&) = delete;
    ImageLayer& operator=(const ImageLayer&) = delete;

    // Null once the image's owner has freed it.
    platform::TImage* Image() const { return m_image; }
    CanvasLayerType* GetCanvasLayer() const { return m_canvasLayer; }

    CanvasPtr Canvas() const { return m_canvasLayer->Canvas(); }
    void Lock() { m_canvasLayer->Lock(); }
    void Unlock() { m_canvasLayer->Unlock(); }
    void EraseRect(const platform::TRect& rect) { m_canvasLayer->EraseRect(rect); }
    LedColor BackgroundColor() const { return LedColor::FromColor(m_canvasLayer->BackgroundColor()); }
    platform::TRect MapRect(const platform::TRect& rect) const { return m_canvasLayer->MapRect(rect); }
    platform::TPoint MapPoint(const platform::TPoint& point) const { return m_canvasLayer->MapPoint(point); }

    // The image control's position inside its parent.
    int Left() const { return m_image ? m_image->Left() : 0; }
    int Top() const { return m_image ? m_image->Top() : 0; }
    void MoveBy(int dx, int dy);
    void SetParent(platform::TWinControl* parent);

    // The picture's size.
    int Width() const { return m_image ? m_image->Picture()->Width() : 0; }
    int Height() const { return m_image ? m_image->Picture()->Height() : 0; }
    // Picture and image control take the size (negative counts as 0); what
    // the picture gains is painted in the background colour.
    void SetImageSize(int width, int height);

    LedColor TransparentColor() const;
    void SetTransparentColor(LedColor color);
    bool Transparent() const { return m_image && m_image->Transparent(); }
    void SetTransparent(bool value);
    void Repaint();

private:
    void ImageGone();

    platform::TImage* m_image;
    CanvasLayerType* m_canvasLayer;
    ImageLayerGuard* m_guard;
};

extern template class CanvasLayer<NullSaver, platform::TCanvas*>;
extern template class ImageLayer<NullSaver, platform::TCanvas*>;

} // namespace loom
