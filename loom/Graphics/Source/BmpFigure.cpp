#include "loom/Graphics/Figure/BmpFigure.h"

namespace loom {

template class TBitmapFigure<ImagePainter>;

} // namespace loom
