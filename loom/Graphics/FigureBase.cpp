#include "loom/Graphics/FigureBase.h"

#include <algorithm>

namespace loom {

using platform::TRect;

void CompositeFigure::Draw()
{
    for (Figure* figure : m_figures)
        figure->Draw();
}

void CompositeFigure::Erase()
{
    for (Figure* figure : m_figures)
        figure->Erase();
}

void CompositeFigure::Offset(int dx, int dy)
{
    for (Figure* figure : m_figures)
        figure->Offset(dx, dy);
    m_left += dx;
    m_top += dy;
}

void CompositeFigure::AddFigure(Figure* figurePtr)
{
    PLATFORM_ASSERT(figurePtr->Left() >= m_left && figurePtr->Top() >= m_top && figurePtr->Left() + figurePtr->Width() <= m_left + m_width && figurePtr->Top() + figurePtr->Height() <= m_top + m_height,
                    "loom/Graphics/FigureBase");
    m_figures.push_back(figurePtr);
}

void CompositeFigure::RemoveFigureAt(size_t index)
{
    if (index < m_figures.size())
        m_figures.erase(m_figures.begin() + static_cast<std::ptrdiff_t>(index));
}

void CompositeFigure::SetBounds(const TRect& rect)
{
    for (auto first = m_figures.begin(); first != m_figures.end(); ++first)
        PLATFORM_ASSERT((*first)->Left() >= rect.left && (*first)->Top() >= rect.top && (*first)->Width() + (*first)->Left() <= rect.right && (*first)->Height() + (*first)->Top() <= rect.bottom,
                        "loom/Graphics/FigureBase");
    m_left = rect.left;
    m_top = rect.top;
    m_width = RectWidth(rect);
    m_height = RectHeight(rect);
    PLATFORM_ASSERT(m_width >=0 && m_height >=0, "loom/Graphics/FigureBase");
}

CompositeScalableFig::CompositeScalableFig(const TRect& rect)
    : m_originalWidth(RectWidth(rect)), m_originalHeight(RectHeight(rect)), m_composite(rect)
{
}

void CompositeScalableFig::Resize(int width, int height)
{
    PLATFORM_ASSERT(m_originalWidth > 0 && m_originalHeight > 0, "loom/Graphics/FigureBase");
    // Single precision and truncation, so a child never grows past its
    // scaled share and a factor of 1 reproduces every integer.
    const float sx = static_cast<float>(width) / static_cast<float>(m_originalWidth);
    const float sy = static_cast<float>(height) / static_cast<float>(m_originalHeight);
    const int left = Left();
    const int top = Top();
    const std::vector<Figure*>& children = m_composite.Figures();
    for (size_t i = 0; i < children.size(); ++i) {
        auto* child = static_cast<ScalableFigure*>(children[i]);
        const Point& offset = m_offsets[i];
        const int newLeft = left + static_cast<int>(static_cast<float>(static_cast<float>(offset.x) * sx));
        const int newTop = top + static_cast<int>(static_cast<float>(static_cast<float>(offset.y) * sy));
        child->Offset(newLeft - child->Left(), newTop - child->Top());
        child->Resize(static_cast<int>(static_cast<float>(static_cast<float>(child->OriginalWidth()) * sx)),
                      static_cast<int>(static_cast<float>(static_cast<float>(child->OriginalHeight()) * sy)));
    }
    m_composite.SetBounds(MakeRect(left, top, left + width, top + height));
}

void CompositeScalableFig::Normalize()
{
    // Rewritten in place, so that there is one offset per child before and
    // after, even when a child throws.
    const std::vector<Figure*>& children = m_composite.Figures();
    m_offsets.resize(children.size());
    for (size_t i = 0; i < children.size(); ++i) {
        auto* child = static_cast<ScalableFigure*>(children[i]);
        child->Normalize();
        m_offsets[i] = Point(child->Left() - Left(), child->Top() - Top());
    }
    m_originalWidth = Width();
    m_originalHeight = Height();
}

void CompositeScalableFig::AddFigure(ScalableFigure* figurePtr)
{
    Normalize();
    // Room for the offset first: the child and its offset come in together
    // or not at all.
    m_offsets.reserve(m_offsets.size() + 1);
    m_composite.AddFigure(figurePtr);
    m_offsets.push_back(Point(figurePtr->Left() - Left(), figurePtr->Top() - Top()));
}

void CompositeScalableFig::RemoveFigure(ScalableFigure* figurePtr)
{
    const std::vector<Figure*>& children = m_composite.Figures();
    const auto found = std::find(children.begin(), children.end(), static_cast<Figure*>(figurePtr));
    if (found == children.end())
        return;
    const size_t index = static_cast<size_t>(found - children.begin());
    m_offsets.erase(m_offsets.begin() + static_cast<std::ptrdiff_t>(index));
    m_composite.RemoveFigureAt(index);
    Normalize();
}

void CompositeScalableFig::SetDesignRect(const TRect& rect)
{
    m_originalWidth = RectWidth(rect);
    m_originalHeight = RectHeight(rect);
    m_composite.SetBounds(MakeRect(rect.left, rect.top, Left() + Width(), Top() + Height()));
}

} // namespace loom
