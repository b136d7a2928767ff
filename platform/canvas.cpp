#include "platform/canvas.h"

namespace platform {

Canvas::~Canvas() = default;

CanvasRect Canvas::ClipBox() const { return kUnboundedClip; }

}  // namespace platform
