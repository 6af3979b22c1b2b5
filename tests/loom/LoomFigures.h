// Figures and characters that several loom tests build.
#pragma once

#include "loom/Component/LED.h"
#include "loom/Component/LED/ShapeLED.h"
#include "loom/Graphics/Figure/ShapeFigure.h"
#include "loom/Graphics/SimplePainter.h"

#include <memory>

// Inside the library's namespace its shape names win over the platform's
// drawing functions of the same names.
namespace loom {

// One character built by the factory from a geometry table, lit in one colour
// and dark in another.
inline std::unique_ptr<CompositeScalableLED> BuildCharacter(const int* table, const LED_Director& director)
{
    static const LedColor colors[2] = {LedColor(1, 2, 3), LedColor(200, 100, 50)};
    ShapeLedFactory<ImagePainter> factory;
    return std::unique_ptr<CompositeScalableLED>(factory.Build(table, director, nullptr, colors, 2));
}

// A polygon figure with the outline of a rectangle, built in drawn
// coordinates the way the character factory builds its segments.
inline std::unique_ptr<PolygonFigure<ImagePainter>> Bar(int left, int top, int right, int bottom,
                                                         ImagePainter* painter = nullptr)
{
    auto figure = std::make_unique<PolygonFigure<ImagePainter>>(painter);
    figure->SetControlPoint(left, top, 0);
    figure->SetControlPoint(right, top, 1);
    figure->InsertControlPoint(right, bottom, 2);
    figure->InsertControlPoint(left, bottom, 3);
    figure->Resize(figure->OriginalWidth(), figure->OriginalHeight());
    return figure;
}

} // namespace loom
