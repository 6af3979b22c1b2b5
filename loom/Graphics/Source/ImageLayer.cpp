#include "loom/Graphics/ImageLayer.h"

#include <algorithm>

namespace loom {

using namespace platform;

const TClassInfo& ImageLayerGuard::StaticClassInfo()
{
    static const TClassInfo& info = TClassBuilder<ImageLayerGuard, TComponent>("ImageLayerGuard").Build();
    return info;
}

ImageLayerGuard::ImageLayerGuard(TComponent* watched, std::function<void()> gone)
    : TComponent(nullptr), m_watched(watched), m_gone(std::move(gone))
{
    FreeNotification(watched);
}

void ImageLayerGuard::Notification(TComponent* AComponent, TOperation Operation)
{
    inherited::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == m_watched && m_watched) {
        m_watched = nullptr;
        m_gone();
    }
}

template <class Saver, class CanvasPtr>
ImageLayer<Saver, CanvasPtr>::ImageLayer(TComponent* owner, TWinControl* parent)
    : m_image(new TImage(owner)), m_canvasLayer(nullptr), m_guard(nullptr)
{
    try {
        m_image->SetParent(parent);
        TBitmap* picture = m_image->Picture()->Bitmap();
        picture->SetSize(0, 0);
        m_image->SetBounds(m_image->Left(), m_image->Top(), 0, 0);
        picture->SetPixelFormat(pf24bit);
        m_image->SetBounds(0, 0, 0, 0);
        // The transparent colour stays what it is set to instead of
        // following the bottom-left pixel.
        picture->SetTransparentMode(tmFixed);
        m_canvasLayer = new CanvasLayerType(picture->Canvas(), m_image->Width(), m_image->Height());
        m_guard = new ImageLayerGuard(m_image, [this] { ImageGone(); });
        // Mouse input over the image goes to the parent control.
        m_image->SetEnabled(false);
    } catch (...) {
        delete m_guard;
        delete m_canvasLayer;
        m_image->Free();
        throw;
    }
}

template <class Saver, class CanvasPtr>
ImageLayer<Saver, CanvasPtr>::~ImageLayer()
{
    // An image whose owner is already tearing it down is left to the owner.
    if (m_image && !m_image->ComponentState().Contains(csDestroying)) {
        TImage* image = m_image;
        image->Free(); // the guard clears m_image
    }
    delete m_canvasLayer;
    m_canvasLayer = nullptr;
    delete m_guard;
}

template <class Saver, class CanvasPtr>
void ImageLayer<Saver, CanvasPtr>::ImageGone()
{
    m_image = nullptr;
    if (m_canvasLayer)
        m_canvasLayer->DetachCanvas();
}

template <class Saver, class CanvasPtr>
void ImageLayer<Saver, CanvasPtr>::MoveBy(int dx, int dy)
{
    if (m_image)
        m_image->SetBounds(m_image->Left() + dx, m_image->Top() + dy, m_image->Width(), m_image->Height());
}

template <class Saver, class CanvasPtr>
void ImageLayer<Saver, CanvasPtr>::SetParent(TWinControl* parent)
{
    if (m_image)
        m_image->SetParent(parent);
}

template <class Saver, class CanvasPtr>
void ImageLayer<Saver, CanvasPtr>::SetImageSize(int width, int height)
{
    width = std::max(width, 0);
    height = std::max(height, 0);
    if (m_image) {
        m_image->Picture()->Bitmap()->SetSize(width, height);
        m_image->SetBounds(m_image->Left(), m_image->Top(), width, height);
    }
    m_canvasLayer->Resize(width, height);
}

template <class Saver, class CanvasPtr>
LedColor ImageLayer<Saver, CanvasPtr>::TransparentColor() const
{
    if (!m_image)
        return LedColor();
    return LedColor::FromColor(m_image->Picture()->Bitmap()->TransparentColor());
}

template <class Saver, class CanvasPtr>
void ImageLayer<Saver, CanvasPtr>::SetTransparentColor(LedColor color)
{
    if (m_image)
        m_image->Picture()->Bitmap()->SetTransparentColor(ToColorRef(color));
}

template <class Saver, class CanvasPtr>
void ImageLayer<Saver, CanvasPtr>::SetTransparent(bool value)
{
    if (m_image)
        m_image->SetTransparent(value);
}

template <class Saver, class CanvasPtr>
void ImageLayer<Saver, CanvasPtr>::Repaint()
{
    if (m_image)
        m_image->Repaint();
}

// The one surface the program uses.
template class CanvasLayer<NullSaver, TCanvas*>;
template class ImageLayer<NullSaver, TCanvas*>;

} // namespace loom
