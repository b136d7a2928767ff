#include "platform/canvas.h"

namespace platform {

Canvas::~Canvas() = default;

void Canvas::LineRun(std::span<const CanvasPoint> points) {
  if (points.empty()) return;
  MoveTo(points[0].x, points[0].y);
  for (const CanvasPoint& p : points.subspan(1)) LineTo(p.x, p.y);
}

CanvasRect Canvas::ClipBox() const { return kUnboundedClip; }

}  // namespace platform
