#include "loom/Graphics/Shape.h"

namespace loom {

// The only coordinate type the library uses.
template class BasicPolygon<int>;
template class detail::TwoPointShape<int>;
template class BasicRoundRect<int>;
template class detail::EqualSidedShape<int, BasicRectangle<int>>;
template class detail::EqualSidedShape<int, BasicEllipse<int>>;

} // namespace loom
