// Segment LEDs drawn from vector outlines: the solid shape LED (one shape,
// one colour per state) and the factory that builds a character LED from an
// integer geometry table.
//
// Geometry table: N, the bounds left, top, right, bottom, then N records of a
// type tag and its data: 0 polygon (n, then n pairs x, y), 1 rectangle,
// 2 ellipse (x0, y0, x1, y1), 3 rounded rectangle (x0, y0, x1, y1, corner
// width, corner height), 4 circle and 5 square (left, top, size).
#pragma once

#include "loom/Component/LED.h"
#include "loom/Graphics/Figure/ShapeFigure.h"

#include <memory>

namespace loom {

template <class FigureT>
class SolidShapeLED : public ScalableLED {
public:
    // Copies the figure (shape, colours, size and painter); the colour
    // table, one colour per state, stays its owner's. A new LED shows colour 0.
    SolidShapeLED(int x, int y, const FigureT& figure, const LedColor* colors, int count)
        : ScalableLED(x, y), m_colors(colors), m_count(count), m_state(-1), m_figure(figure)
    {
        SetState(0);
    }

    int StateCount() const override { return m_count; }
    int State() const override { return m_state; }
    void SetState(int state) override
    {
        PLATFORM_ASSERT(state >= 0 && state < StateCount(), "loom/Component/LED/ShapeLED");
        if (state == m_state)
            return;
        m_state = state;
        Update();
    }
    // Both colours of the figure from the table entry of the current state.
    void Update() override
    {
        m_figure.SetFrameColor(m_colors[m_state]);
        m_figure.SetFillColor(m_colors[m_state]);
    }
    FigureT* RawFigure() override { return &m_figure; }

private:
    const LedColor* m_colors;
    int m_count;
    int m_state;
    FigureT m_figure;
};

template <class Painter>
class ShapeLedFactory {
public:
    // A composite at (0, 0) in state -1 with every segment in state 0; the
    // caller owns it.
    CompositeScalableLED* Build(const int* table, const LED_Director& director, Painter* painter,
                                const LedColor* colors, int count) const;

private:
    template <class FigureT>
    static void AddSegment(CompositeScalableLED& led, FigureT& figure, const LedColor* colors, int count)
    {
        figure.Resize(figure.OriginalWidth(), figure.OriginalHeight());
        auto segment = std::make_unique<SolidShapeLED<FigureT>>(0, 0, figure, colors, count);
        segment->SetX(figure.Left());
        segment->SetY(figure.Top());
        led.AddLED(segment.release());
    }
};

template <class Painter>
CompositeScalableLED* ShapeLedFactory<Painter>::Build(const int* table, const LED_Director& director,
                                                     Painter* painter, const LedColor* colors, int count) const
{
    const int* p = table;
    const int n = *p++;
    const int left = p[0], top = p[1], right = p[2], bottom = p[3];
    p += 4;
    auto led = std::make_unique<CompositeScalableLED>(left, top, right, bottom, &director);
    for (int record = 0; record < n; ++record) {
        const int tag = *p++;
        switch (tag) {
        case 0: {
            PolygonFigure<Painter> figure(painter);
            const int points = *p++;
            for (int k = 0; k < points; ++k, p += 2) {
                if (static_cast<unsigned>(k) < figure.ControlPointCount())
                    figure.SetControlPoint(p[0], p[1], static_cast<unsigned>(k));
                else
                    figure.InsertControlPoint(p[0], p[1], static_cast<unsigned>(k));
            }
            AddSegment(*led, figure, colors, count);
            break;
        }
        case 1: {
            RectangleFigure<Painter> figure(painter);
            figure.SetControlPoint(p[0], p[1], 0);
            figure.SetControlPoint(p[2], p[3], 1);
            p += 4;
            AddSegment(*led, figure, colors, count);
            break;
        }
        case 2: {
            EllipseFigure<Painter> figure(painter);
            figure.SetControlPoint(p[0], p[1], 0);
            figure.SetControlPoint(p[2], p[3], 1);
            p += 4;
            AddSegment(*led, figure, colors, count);
            break;
        }
        case 3: {
            RoundRectFigure<Painter> figure(painter);
            figure.SetControlPoint(p[0], p[1], 0);
            figure.SetControlPoint(p[2], p[3], 1);
            figure.SetCorner(p[4], p[5]);
            p += 6;
            AddSegment(*led, figure, colors, count);
            break;
        }
        case 4: {
            CircleFigure<Painter> figure(Circle(p[0], p[1], p[0] + p[2], p[1] + p[2]), painter);
            p += 3;
            AddSegment(*led, figure, colors, count);
            break;
        }
        case 5: {
            SquareFigure<Painter> figure(Square(p[0], p[1], p[0] + p[2], p[1] + p[2]), painter);
            p += 3;
            AddSegment(*led, figure, colors, count);
            break;
        }
        default:
            PLATFORM_ASSERT(false, "loom/Component/LED/ShapeLED");
        }
    }
    return led.release();
}

// The numeric display's characters, in design pixels.
extern const int DigitTable[];        // 18 x 22, seven segments a to g
extern const int DecimalPointTable[]; // 6 x 27
extern const int DegreeTable[];       // 9 x 27
extern const int CelsiusTable[];      // 19 x 27, the letter C
extern const int RpmTable[];          // 47 x 27, the letters RPM

extern template class ShapeLedFactory<ImagePainter>;
extern template class SolidShapeLED<PolygonFigure<ImagePainter>>;
extern template class SolidShapeLED<RectangleFigure<ImagePainter>>;
extern template class SolidShapeLED<EllipseFigure<ImagePainter>>;
extern template class SolidShapeLED<RoundRectFigure<ImagePainter>>;
extern template class SolidShapeLED<CircleFigure<ImagePainter>>;
extern template class SolidShapeLED<SquareFigure<ImagePainter>>;

} // namespace loom
