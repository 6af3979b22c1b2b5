#include "loom/Graphics/SimplePainter.h"

namespace loom {

template class SimplePainter<ImageLayerType>;

} // namespace loom
