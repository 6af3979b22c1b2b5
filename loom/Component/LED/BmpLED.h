// An LED whose states are bitmaps: it owns one bitmap per state and shows
// the current one through a bitmap figure.
#pragma once

#include "loom/Component/LED.h"
#include "loom/Graphics/Figure/BmpFigure.h"
#include "platform/Bitmap.h"

#include <cstdint>
#include <memory>
#include <vector>

namespace loom {

namespace detail {

// The current state and the figure showing it. The bitmaps belong to the LED.
template <class FigureT, class SeqT>
class BitmapLEDHelper {
public:
    BitmapLEDHelper(typename FigureT::PainterType* painter, SeqT* bitmaps)
        : m_state(-1), m_figure(painter), m_pBitmaps(bitmaps)
    {
    }

    int StateCount() const
    {
        PLATFORM_ASSERT(m_pBitmaps, "loom/Component/LED/BmpLED");
        return static_cast<int>(m_pBitmaps->size());
    }
    int State() const { return m_state; }
    // A new state copies its picture into the figure; the figure's flag
    // tells whether it did (0) or the state was already current (1).
    void SetState(int state)
    {
        PLATFORM_ASSERT(state >= 0 && state < StateCount(), "loom/Component/LED/BmpLED");
        if (state != m_state) {
            m_state = state;
            m_figure.SetPicture((*m_pBitmaps)[static_cast<size_t>(state)]);
            m_figure.SetFlag(0);
        } else {
            m_figure.SetFlag(1);
        }
    }
    // Copies the current state's picture into the figure again.
    void Update()
    {
        PLATFORM_ASSERT(m_state >= 0 && m_state < StateCount(), "loom/Component/LED/BmpLED");
        m_figure.SetPicture((*m_pBitmaps)[static_cast<size_t>(m_state)]);
    }
    FigureT& GetFigure() { return m_figure; }

private:
    int32_t m_state;
    FigureT m_figure;
    SeqT* m_pBitmaps;
};

} // namespace detail

template <class Painter>
class TBitmapLED : public LED {
public:
    typedef TBitmapFigure<Painter> FigureType;
    typedef std::vector<platform::TBitmap*> BitmapSequence;

    // One new bitmap per entry, each a copy of the entry (an empty picture
    // for none); the LED then shows state 0.
    TBitmapLED(int x, int y, const BitmapSequence& bitmaps, Painter* painter)
        : LED(x, y), m_helper(painter, &m_bitmaps)
    {
        try {
            for (platform::TBitmap* entry : bitmaps) {
                // Held here until the sequence has taken it: growing the
                // sequence may run out of memory too.
                auto bitmap = std::make_unique<platform::TBitmap>();
                m_bitmaps.push_back(bitmap.get());
                bitmap.release()->Assign(entry);
            }
            SetState(0);
        } catch (...) {
            DeleteBitmaps();
            throw;
        }
    }
    ~TBitmapLED() override { DeleteBitmaps(); }

    int StateCount() const override { return m_helper.StateCount(); }
    int State() const override { return m_helper.State(); }
    void SetState(int state) override { m_helper.SetState(state); }
    void Update() override { m_helper.Update(); }
    int Width() override { return m_helper.GetFigure().Width(); }
    int Height() override { return m_helper.GetFigure().Height(); }
    FigureType* RawFigure() override { return &m_helper.GetFigure(); }

    // The live state bitmap.
    platform::TBitmap* Bitmap(int index) const
    {
        PLATFORM_ASSERT(index >= 0, "loom/Component/LED/BmpLED");
        PLATFORM_ASSERT(index < (int) m_bitmaps.size(), "loom/Component/LED/BmpLED");
        return m_bitmaps[static_cast<size_t>(index)];
    }

private:
    // Last index first, each bitmap freed and taken out of the sequence.
    void DeleteBitmaps()
    {
        for (int index = static_cast<int>(m_bitmaps.size()) - 1; index >= 0; --index)
            RemoveBitmap(index);
    }
    void RemoveBitmap(int index)
    {
        PLATFORM_ASSERT(index <= (int) m_bitmaps.size(), "loom/Component/LED/BmpLED");
        if (index < 0 || index >= (int) m_bitmaps.size())
            return;
        delete m_bitmaps[static_cast<size_t>(index)];
        m_bitmaps.erase(m_bitmaps.begin() + index);
    }

    BitmapSequence m_bitmaps;
    detail::BitmapLEDHelper<FigureType, BitmapSequence> m_helper;
};

extern template class TBitmapLED<ImagePainter>;

} // namespace loom
