// The drawing front-end of the library: every operation is one complete
// canvas transaction on a layer (lock, set pen and brush from the painter's
// colour, draw through the canvas helpers, unlock). The painter never owns
// its layer; whoever owns both destroys the painter first.
#pragma once

#include "loom/Graphics/GraphicUtility.h"
#include "loom/Graphics/ImageLayer.h"
#include "loom/Graphics/Shape.h"
#include "platform/Assert.h"

#include <memory>
#include <new>

namespace loom {

template <class Layer>
class SimplePainter {
public:
    typedef Layer LayerType;
    typedef typename Layer::CanvasPointer CanvasPtr;

    explicit SimplePainter(Layer* layer) : m_layerPtr(layer), m_color(LedColor::FromValue(0xFFFFFFFFu)) {}
    SimplePainter(const SimplePainter&) = delete;
    SimplePainter& operator=(const SimplePainter&) = delete;

    Layer* GetLayer() const { return m_layerPtr; }
    LedColor Color() const { return m_color; }
    // Used by the calls that follow; draws nothing.
    void SetColor(LedColor color) { m_color = color; }

    void FillRect(const platform::TRect& rect)
    {
        Transaction t(*this);
        if (t.canvas)
            FillRectangle(t.canvas, m_layerPtr->MapRect(rect));
    }
    void FrameRect(const platform::TRect& rect)
    {
        Transaction t(*this);
        if (t.canvas)
            DrawRectangle(t.canvas, m_layerPtr->MapRect(rect));
    }
    void FillEllipse(const platform::TRect& rect)
    {
        Transaction t(*this);
        if (t.canvas)
            FillEllipseShape(t.canvas, m_layerPtr->MapRect(rect));
    }
    void FrameEllipse(const platform::TRect& rect)
    {
        Transaction t(*this);
        if (t.canvas)
            DrawEllipse(t.canvas, m_layerPtr->MapRect(rect));
    }
    void FillRoundRect(const platform::TRect& rect, int cornerWidth, int cornerHeight)
    {
        Transaction t(*this);
        if (t.canvas)
            FillRoundRectangle(t.canvas, m_layerPtr->MapRect(rect), cornerWidth, cornerHeight);
    }
    void FillPolygon(const Point* points, int n) { PolygonCall(points, n, &FillPolygonShape); }
    void FramePolygon(const Point* points, int n) { PolygonCall(points, n, &DrawPolygonShape); }

    // Copies sourceRect of the picture behind handle to (x, y). The handle
    // is only borrowed: a temporary framework bitmap wraps it for the copy
    // and gives it back before it goes.
    void DrawBitmap(HBITMAP handle, const platform::TRect& sourceRect, int x, int y)
    {
        Transaction t(*this);
        if (!t.canvas || !handle)
            return;
        platform::TBitmap borrowed;
        borrowed.SetHandle(handle);
        try {
            CopyBitmapRect(t.canvas, x, y, &borrowed, sourceRect);
        } catch (...) {
            borrowed.ReleaseHandle();
            throw;
        }
        borrowed.ReleaseHandle();
    }
    void EraseRect(const platform::TRect& rect) { m_layerPtr->EraseRect(rect); }

private:
    // Pen and brush keep the painter's colour and solid styles afterwards;
    // only the lock is undone.
    struct Transaction {
        explicit Transaction(SimplePainter& painter) : layer(painter.m_layerPtr)
        {
            layer->Lock();
            canvas = layer->Canvas();
            if (!canvas)
                return;
            const platform::TColor color = ToColorRef(painter.m_color);
            canvas->Brush()->SetStyle(platform::bsSolid);
            canvas->Pen()->SetStyle(platform::psSolid);
            canvas->Pen()->SetMode(platform::pmCopy);
            canvas->Pen()->SetColor(color);
            canvas->Brush()->SetColor(color);
        }
        ~Transaction() { layer->Unlock(); }
        Transaction(const Transaction&) = delete;
        Transaction& operator=(const Transaction&) = delete;

        Layer* layer;
        CanvasPtr canvas = nullptr;
    };

    template <class Draw>
    void PolygonCall(const Point* points, int n, Draw draw)
    {
        if (n <= 0)
            return;
        Transaction t(*this);
        if (!t.canvas)
            return;
        platform::TPoint* pointAry = new (std::nothrow) platform::TPoint[n];
        PLATFORM_ASSERT(pointAry != NULL, "loom/Graphics/SimplePainter");
        const std::unique_ptr<platform::TPoint[]> ownPoints(pointAry);
        for (int i = 0; i < n; ++i)
            pointAry[i] = platform::TPoint{points[i].x, points[i].y};
        platform::TPoint* p = new (std::nothrow) platform::TPoint[n];
        PLATFORM_ASSERT(p != NULL, "loom/Graphics/SimplePainter");
        const std::unique_ptr<platform::TPoint[]> ownMapped(p);
        for (int i = 0; i < n; ++i)
            p[i] = m_layerPtr->MapPoint(pointAry[i]);
        draw(t.canvas, p, n);
    }

    Layer* m_layerPtr;
    LedColor m_color;
};

// The program's one layer and one painter.
typedef ImageLayer<NullSaver, platform::TCanvas*> ImageLayerType;
typedef SimplePainter<ImageLayerType> ImagePainter;

extern template class SimplePainter<ImageLayerType>;

} // namespace loom
