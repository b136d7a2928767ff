#include "platform/canvas.h"

namespace platform {

Canvas::~Canvas() = default;

}  // namespace platform
