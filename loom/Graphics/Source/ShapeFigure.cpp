#include "loom/Graphics/Figure/ShapeFigure.h"

namespace loom {

// Every shape figure over the program's one painter.
template class ShapeFigureAdapter<Polygon, ImagePainter>;
template class ShapeFigureAdapter<Rectangle, ImagePainter>;
template class ShapeFigureAdapter<Ellipse, ImagePainter>;
template class ShapeFigureAdapter<RoundRect, ImagePainter>;
template class ShapeFigureAdapter<Circle, ImagePainter>;
template class ShapeFigureAdapter<Square, ImagePainter>;
template class PolygonFigure<ImagePainter>;
template class RectangleFigure<ImagePainter>;
template class EllipseFigure<ImagePainter>;
template class RoundRectFigure<ImagePainter>;
template class CircleFigure<ImagePainter>;
template class SquareFigure<ImagePainter>;

} // namespace loom
