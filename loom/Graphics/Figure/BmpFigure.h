// A figure that draws one bitmap, unscaled, through the painter.
#pragma once

#include "loom/Graphics/FigureBase.h"
#include "loom/Graphics/SimplePainter.h"
#include "platform/Bitmap.h"

namespace loom {

class BitmapFigure : public Figure {
public:
    void Offset(int dx, int dy) override
    {
        m_left += dx;
        m_top += dy;
    }
    int Left() const override { return m_left; }
    int Top() const override { return m_top; }

protected:
    BitmapFigure() = default;

private:
    int m_left = 0;
    int m_top = 0;
};

template <class Painter>
class TBitmapFigure : public BitmapFigure {
public:
    typedef Painter PainterType;

    explicit TBitmapFigure(Painter* painter = nullptr) : m_bitmap(nullptr), m_painterPtr(painter) {}
    ~TBitmapFigure() override { delete m_bitmap; }
    TBitmapFigure(const TBitmapFigure&) = delete;
    TBitmapFigure& operator=(const TBitmapFigure&) = delete;

    // Copies the whole picture to the figure's position.
    void Draw() override
    {
        PLATFORM_ASSERT(m_painterPtr, "loom/Graphics/Figure/BmpFigure");
        if (!m_bitmap)
            return;
        if (HBITMAP handle = m_bitmap->Handle())
            m_painterPtr->DrawBitmap(handle, MakeRect(0, 0, m_bitmap->Width(), m_bitmap->Height()), Left(), Top());
    }
    void Erase() override
    {
        PLATFORM_ASSERT(m_painterPtr, "loom/Graphics/Figure/BmpFigure");
        if (m_bitmap)
            m_painterPtr->EraseRect(MakeRect(Left(), Top(), Left() + Width(), Top() + Height()));
    }
    int Width() const override { return m_bitmap ? m_bitmap->Width() : 0; }
    int Height() const override { return m_bitmap ? m_bitmap->Height() : 0; }

    // A copy of the picture, kept at 24 bits per pixel.
    void SetPicture(platform::TBitmap* picture)
    {
        if (!m_bitmap) {
            m_bitmap = new platform::TBitmap;
            m_bitmap->SetPixelFormat(platform::pf24bit);
        }
        m_bitmap->Assign(picture);
        m_bitmap->SetPixelFormat(platform::pf24bit);
    }
    platform::TBitmap* Picture() const { return m_bitmap; }
    void SetPainter(Painter* painter) { m_painterPtr = painter; }

private:
    platform::TBitmap* m_bitmap;
    Painter* m_painterPtr;
};

extern template class TBitmapFigure<ImagePainter>;

} // namespace loom
