#include "loom/Component/LED/BmpLED.h"

namespace loom {

template class TBitmapLED<ImagePainter>;

} // namespace loom
