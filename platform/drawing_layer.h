#pragma once

// Where a view paints each design. Without a layer the view draws the stitches on its canvas;
// a window may hand the view a layer that keeps each design's drawing and paints it again
// while nothing that decides its pixels has changed.

#include <cstdint>
#include <functional>
#include <span>
#include <string_view>

#include "platform/canvas.h"

namespace platform {

// One design as a view is about to draw it.
struct DesignDrawing {
  const void* identity = nullptr;  // the design's stitch record: one drawing kept for each
  // Everything but the position that decides the pixels: stitch bytes, block colours, zoom,
  // rotation. Equal looks at the same first point draw the same pixels.
  uint64_t look = 0;
  float startX = 0, startY = 0;  // the first point, logical pixels, as the pen starts there
  // Being dragged: the last drawing, moved by whole pixels, stands in until the drag ends
  // (the pen's rounding may differ by a pixel here and there at the new place).
  bool moving = false;
};

// Draws the design on the canvas given, in the view's logical coordinates.
using DesignDraw = std::function<void(Canvas&)>;
// Makes a drawing that owns copies of all it reads, so that it may run on another thread
// while the view goes on editing; empty where a view offers none.
using DetachDesignDraw = std::function<DesignDraw()>;

class DesignLayer {
 public:
  virtual ~DesignLayer() = default;
  virtual void Paint(Canvas& canvas, const DesignDrawing& drawing, const DesignDraw& draw,
                     const DetachDesignDraw& detach) = 0;
};

// Folds bytes into a look.
inline uint64_t FoldLook(uint64_t look, std::span<const uint8_t> bytes) {
  const std::string_view view(reinterpret_cast<const char*>(bytes.data()), bytes.size());
  return (look ^ std::hash<std::string_view>{}(view)) * 0x100000001B3ull + 0x9E3779B97F4A7C15ull;
}
template <class T>
uint64_t FoldLookValue(uint64_t look, const T& value) {
  return FoldLook(look, {reinterpret_cast<const uint8_t*>(&value), sizeof value});
}

// Paints through the layer when there is one, else draws on the canvas.
inline void PaintDesign(DesignLayer* layer, Canvas& canvas, const DesignDrawing& drawing,
                        const DesignDraw& draw, const DetachDesignDraw& detach = {}) {
  if (layer) layer->Paint(canvas, drawing, draw, detach);
  else draw(canvas);
}

}  // namespace platform
