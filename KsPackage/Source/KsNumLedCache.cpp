#include "KsPackage/Source/KsNumLedCache.h"

#include <algorithm>
#include <cstring>

namespace loom {

using platform::TBitmap;
using platform::TRect;

namespace {

// The rows of a 24-bit picture, from two scan-line look-ups: a bitmap's rows
// lie a fixed distance apart, and each look-up flushes the system's drawing.
class TRows {
public:
    explicit TRows(TBitmap& bitmap)
        : m_first(bitmap.ScanLine(0)), m_stride(bitmap.Height() > 1 ? bitmap.ScanLine(1) - m_first : 0)
    {
    }
    uint8_t* operator[](int y) const { return m_first + y * m_stride; }

private:
    uint8_t* m_first;
    std::ptrdiff_t m_stride;
};

bool Overlap(const TRect& a, const TRect& b)
{
    return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

TRect Offset(const TRect& r, int dx, int dy)
{
    return MakeRect(r.left + dx, r.top + dy, r.right + dx, r.bottom + dy);
}

// Every pixel the segments of figure can touch, relative to its origin: an
// outline drawn with a one-pixel pen covers its bounds with their right and
// bottom edges.
TRect CellOf(CompositeScalableFig& figure)
{
    TRect cell = MakeRect(0, 0, 0, 0);
    for (int j = 0; j < figure.FigureCount(); ++j) {
        const ScalableFigure* segment = figure.GetFigure(j);
        const TRect bounds = MakeRect(segment->Left(), segment->Top(), segment->Left() + segment->Width() + 1,
                                      segment->Top() + segment->Height() + 1);
        if (j == 0) {
            cell = bounds;
        } else {
            cell.left = std::min(cell.left, bounds.left);
            cell.top = std::min(cell.top, bounds.top);
            cell.right = std::max(cell.right, bounds.right);
            cell.bottom = std::max(cell.bottom, bounds.bottom);
        }
    }
    return Offset(cell, -figure.Left(), -figure.Top());
}

} // namespace

KsNumLedCache::KsNumLedCache(TBuildCharacter build) : m_build(std::move(build))
{
}

void KsNumLedCache::Forget()
{
    std::fill(m_shown.begin(), m_shown.end(), -1);
}

void KsNumLedCache::Draw(ImageLayerType& layer, BasicLED_Collector& leds, const std::string& kinds, int style,
                         const LedColor* colors)
{
    platform::TImage* image = layer.Image();
    if (!image)
        return;
    const TKey key{kinds,
                   style,
                   leds.Figure()->Width(),
                   leds.Figure()->Height(),
                   colors[0].Value(),
                   colors[1].Value(),
                   layer.GetCanvasLayer()->BackgroundColor()};
    if (!(key == m_key)) {
        // Pictures half drawn by a rebuild that fails are never used.
        m_key = TKey{};
        Rebuild(layer, leds, kinds);
        m_key = key;
    }

    TBitmap& picture = *image->Picture()->Bitmap();
    if (!m_separate || picture.PixelFormat() != platform::pf24bit) {
        leds.Figure()->Draw();
        return;
    }
    const TRect bounds = MakeRect(0, 0, picture.Width(), picture.Height());
    TRect dirty = MakeRect(0, 0, 0, 0);
    for (size_t i = 0; i < m_shown.size(); ++i) {
        const int state = leds.GetLED(i)->State();
        if (state == m_shown[i])
            continue;
        const TKind& kind = m_kinds[m_kindOf[i]];
        const TRect& cell = m_cells[i];
        const TRect target = MakeRect(std::max(cell.left, bounds.left), std::max(cell.top, bounds.top),
                                      std::min(cell.right, bounds.right), std::min(cell.bottom, bounds.bottom));
        if (target.left < target.right && target.top < target.bottom) {
            const TRows to(picture);
            const TRows from(*m_pictures->Image()->Picture()->Bitmap());
            const int sourceX = kind.Slot + state * RectWidth(kind.Cell) + target.left - cell.left;
            const size_t bytes = 3 * static_cast<size_t>(RectWidth(target));
            for (int y = target.top; y < target.bottom; ++y)
                std::memcpy(to[y] + 3 * target.left, from[y - cell.top] + 3 * sourceX, bytes);
            dirty = RectWidth(dirty) == 0 ? target
                                          : MakeRect(std::min(dirty.left, target.left), std::min(dirty.top, target.top),
                                                     std::max(dirty.right, target.right),
                                                     std::max(dirty.bottom, target.bottom));
        }
        m_shown[i] = state;
    }
    // The pixels were written behind the picture's back: one repaint of the
    // part that changed instead of the whole display's.
    if (RectWidth(dirty) > 0)
        image->InvalidateArea(dirty);
}

void KsNumLedCache::Rebuild(ImageLayerType& layer, BasicLED_Collector& leds, const std::string& kinds)
{
    if (!m_pictures) {
        // An image of no owner and no parent: drawing on it repaints nothing.
        m_pictures = std::make_unique<ImageLayerType>(nullptr, nullptr);
        m_painter = std::make_unique<ImagePainter>(m_pictures.get());
    }
    const size_t count = static_cast<size_t>(leds.LEDCount());
    m_kinds.clear();
    m_kindOf.assign(count, 0);
    m_cells.assign(count, MakeRect(0, 0, 0, 0));
    m_shown.assign(count, -1);

    // One model of each kind at the size of the row's characters of that
    // kind, which all have the same size; its segments then lie where theirs
    // do, relative to the character's origin.
    std::vector<std::unique_ptr<CompositeScalableLED>> models;
    int width = 0, height = 0;
    for (size_t i = 0; i < count; ++i) {
        Figure* figure = leds.GetLED(i)->RawFigure();
        auto found = std::find_if(m_kinds.begin(), m_kinds.end(),
                                  [&](const TKind& kind) { return kind.Character == kinds[i]; });
        if (found == m_kinds.end()) {
            std::unique_ptr<CompositeScalableLED> model = m_build(kinds[i], m_painter.get());
            model->RawFigure()->Resize(figure->Width(), figure->Height());
            const TRect cell = CellOf(*model->RawFigure());
            m_kinds.push_back(TKind{kinds[i], model->StateCount(), cell, width});
            width += model->StateCount() * RectWidth(cell);
            height = std::max(height, RectHeight(cell));
            models.push_back(std::move(model));
            found = m_kinds.end() - 1;
        }
        m_kindOf[i] = static_cast<size_t>(found - m_kinds.begin());
        m_cells[i] = Offset(found->Cell, figure->Left(), figure->Top());
    }
    m_separate = true;
    for (size_t i = 0; i < count; ++i)
        for (size_t j = i + 1; j < count; ++j)
            m_separate = m_separate && !Overlap(m_cells[i], m_cells[j]);
    if (!m_separate)
        return;

    m_pictures->GetCanvasLayer()->SetBackgroundColor(layer.GetCanvasLayer()->BackgroundColor());
    m_pictures->SetImageSize(width, height);
    m_pictures->EraseRect(MakeRect(0, 0, width, height));
    for (size_t k = 0; k < m_kinds.size(); ++k) {
        const TKind& kind = m_kinds[k];
        CompositeScalableLED& model = *models[k];
        for (int state = 0; state < kind.States; ++state) {
            model.SetState(state);
            model.SetX(kind.Slot + state * RectWidth(kind.Cell) - kind.Cell.left);
            model.SetY(-kind.Cell.top);
            model.GetFigure()->Draw();
        }
    }
}

} // namespace loom
